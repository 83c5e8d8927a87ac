// The shell helper's identifier lists, on hand-built byte lists and on lists the shell
// parsed from a scratch path, and its display names read from every STRRET kind: bounded,
// terminated, a failure for a name that does not fit, the shell's wide text freed.
#include "lib/src/Win2/Wnd/iShell.h"

#include "shell_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using shell_test::AllocationCount;
using shell_test::ScratchTree;

// A list of elements with the given payload sizes: each element is its 16-bit count
// (payload + 2) and payload bytes holding the element's number from 1, then the terminator.
std::vector<BYTE> ListOf(const std::vector<int>& payloads)
{
    std::vector<BYTE> bytes;
    BYTE number = 0;
    for (int payload : payloads) {
        const USHORT count = static_cast<USHORT>(payload + 2);
        bytes.push_back(static_cast<BYTE>(count & 0xFF));
        bytes.push_back(static_cast<BYTE>(count >> 8));
        bytes.insert(bytes.end(), static_cast<size_t>(payload), ++number);
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

LPCITEMIDLIST AsList(const std::vector<BYTE>& bytes)
{
    return reinterpret_cast<LPCITEMIDLIST>(bytes.data());
}

std::vector<BYTE> BytesOf(iShell& shell, LPCITEMIDLIST list)
{
    const BYTE* start = reinterpret_cast<const BYTE*>(list);
    return std::vector<BYTE>(start, start + shell.GetIDListSize(list));
}

// Frees what the helper allocated with the task allocator.
struct TaskMemory {
    ~TaskMemory()
    {
        for (void* block : blocks)
            ::CoTaskMemFree(block);
    }
    template <class T>
    T* Keep(T* block)
    {
        blocks.push_back(block);
        return block;
    }
    std::vector<void*> blocks;
};

class ShellIDListTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(::SHGetMalloc(&m_allocator)); }
    void TearDown() override { m_allocator->Release(); }

    iShell m_shell;
    IMalloc* m_allocator = nullptr;
    TaskMemory m_memory;
};

TEST_F(ShellIDListTest, MeasuresWalksAndCopiesHandBuiltLists)
{
    struct Case {
        const char* why;
        std::vector<int> payloads;
        UINT size;
        int count;
    };
    const Case cases[] = {
        {"the Desktop: only the terminator", {}, 2, 0},
        {"one element", {3}, 7, 1},
        {"two elements: a copy of the first must not take the second's count as its end", {3, 2}, 11, 2},
        {"three elements", {1, 4, 6}, 19, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const std::vector<BYTE> bytes = ListOf(c.payloads);
        LPCITEMIDLIST list = AsList(bytes);
        EXPECT_EQ(c.size, m_shell.GetIDListSize(list));
        EXPECT_EQ(c.count, m_shell.CountItemIDs(list));

        // Walking with GetNextItemID visits every element and ends on null.
        int steps = 0;
        for (LPCITEMIDLIST at = list; at; at = m_shell.GetNextItemID(at))
            ++steps;
        EXPECT_EQ(c.count + 1, steps);

        LPITEMIDLIST item = m_memory.Keep(m_shell.CopyItemID(m_allocator, list));
        LPITEMIDLIST first = m_memory.Keep(m_shell.CopyFirstItemID(m_allocator, list));
        ASSERT_NE(nullptr, item);
        if (c.count == 0) {
            EXPECT_EQ(std::vector<BYTE>({0, 0}), BytesOf(m_shell, item));  // a copy of the terminator
            EXPECT_EQ(nullptr, first);
            continue;
        }
        const int firstCount = c.payloads[0] + 2;
        EXPECT_EQ(reinterpret_cast<const BYTE*>(list) + firstCount, reinterpret_cast<BYTE*>(m_shell.NextItemID(list)));
        std::vector<BYTE> expected(bytes.begin(), bytes.begin() + firstCount);
        expected.push_back(0);
        expected.push_back(0);
        ASSERT_NE(nullptr, first);
        EXPECT_EQ(1, m_shell.CountItemIDs(item));
        EXPECT_EQ(expected, BytesOf(m_shell, item));
        EXPECT_EQ(expected, BytesOf(m_shell, first));
    }
}

TEST_F(ShellIDListTest, ConcatenationCopiesBothPartsAndRefusesAMissingSecond)
{
    const std::vector<BYTE> first = ListOf({3, 2});
    const std::vector<BYTE> second = ListOf({5});

    LPITEMIDLIST joined = m_memory.Keep(m_shell.ConcatIDLists(AsList(first), AsList(second)));
    ASSERT_NE(nullptr, joined);
    std::vector<BYTE> expected(first.begin(), first.end() - 2);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(expected, BytesOf(m_shell, joined));
    EXPECT_EQ(3, m_shell.CountItemIDs(joined));

    LPITEMIDLIST copy = m_memory.Keep(m_shell.ConcatIDLists(nullptr, AsList(second)));
    ASSERT_NE(nullptr, copy);
    EXPECT_NE(AsList(second), copy);
    EXPECT_EQ(second, BytesOf(m_shell, copy));

    EXPECT_EQ(nullptr, m_shell.ConcatIDLists(AsList(first), nullptr));
    EXPECT_EQ(nullptr, m_shell.ConcatIDLists(nullptr, nullptr));
    EXPECT_EQ(0u, m_shell.GetIDListSize(nullptr));

    LPITEMIDLIST zeroes = m_memory.Keep(m_shell.AllocIDList(6));
    ASSERT_NE(nullptr, zeroes);
    EXPECT_EQ(std::vector<BYTE>(6, 0), std::vector<BYTE>(reinterpret_cast<BYTE*>(zeroes),
                                                         reinterpret_cast<BYTE*>(zeroes) + 6));
}

TEST_F(ShellIDListTest, ListsOfARealPathRebuildItFromParentAndItem)
{
    ScratchTree scratch;
    scratch.Folder("outer folder");
    scratch.Folder("outer folder\\inner.dir");
    const std::string inner = scratch.Path("outer folder\\inner.dir");

    LPITEMIDLIST outerList = m_memory.Keep(shell_test::ParsePath(scratch.Path("outer folder")));
    LPITEMIDLIST innerList = m_memory.Keep(shell_test::ParsePath(inner));
    ASSERT_TRUE(outerList && innerList);
    const int depth = m_shell.CountItemIDs(innerList);
    EXPECT_EQ(m_shell.CountItemIDs(outerList) + 1, depth);

    // The last element, copied alone, joined to the parent's list gives the path back.
    LPCITEMIDLIST last = innerList;
    for (int step = 1; step < depth; ++step)
        last = m_shell.GetNextItemID(last);
    LPITEMIDLIST item = m_memory.Keep(m_shell.CopyFirstItemID(m_allocator, last));
    ASSERT_NE(nullptr, item);
    LPITEMIDLIST rebuilt = m_memory.Keep(m_shell.ConcatIDLists(outerList, item));
    EXPECT_EQ(inner, shell_test::PathOfList(rebuilt));
    EXPECT_EQ(depth, m_shell.CountItemIDs(rebuilt));

    // The first element copied from a whole path is a terminated one-element list.
    LPITEMIDLIST firstOnly = m_memory.Keep(m_shell.CopyItemID(m_allocator, innerList));
    EXPECT_EQ(1, m_shell.CountItemIDs(firstOnly));

    // The absolute list of an item relative to its folder.
    LPITEMIDLIST absolute = nullptr;
    LPCITEMIDLIST relative = nullptr;
    IShellFolder* parent = shell_test::ParentFolderOf(inner, &absolute, &relative);
    m_memory.Keep(absolute);
    ASSERT_NE(nullptr, parent);
    LPITEMIDLIST found = m_memory.Keep(m_shell.GetAbsoluteIDList(parent, relative));
    EXPECT_EQ(inner, shell_test::PathOfList(found));
    parent->Release();
}

// A folder that answers GetDisplayNameOf as it is told and nothing else.
class NameOnlyFolder : public shell_test::StubShellFolder {
public:
    UINT kind = STRRET_CSTR;
    std::string text;
    UINT offset = 0;
    HRESULT answer = S_OK;

    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET* name) override
    {
        if (FAILED(answer))
            return answer;
        name->uType = kind;
        if (kind == STRRET_WSTR) {
            std::wstring wide(text.begin(), text.end());
            const size_t bytes = (wide.size() + 1) * sizeof(WCHAR);
            name->pOleStr = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
            memcpy(name->pOleStr, wide.c_str(), bytes);
        } else if (kind == STRRET_OFFSET) {
            name->uOffset = offset;
        } else {
            // The whole field is the given bytes: a text of 260 characters has no terminator.
            memset(name->cStr, 0, sizeof name->cStr);
            memcpy(name->cStr, text.data(), std::min(text.size(), sizeof name->cStr));
        }
        return S_OK;
    }
};

// One element whose payload is two bytes of padding and then text (terminated or not),
// followed by the list's terminator.
std::vector<BYTE> ElementHolding(const std::string& text, bool terminated)
{
    const size_t count = 4 + text.size() + (terminated ? 1 : 0);
    std::vector<BYTE> bytes(count + 2, 0);
    bytes[0] = static_cast<BYTE>(count & 0xFF);
    bytes[1] = static_cast<BYTE>(count >> 8);
    bytes[2] = bytes[3] = 0xAB;
    std::copy(text.begin(), text.end(), bytes.begin() + 4);
    return bytes;
}

TEST(ShellDisplayName, EveryAnswerKindIsCopiedBoundedAndTerminated)
{
    const std::string fits(MAX_PATH - 1, 'n');
    const std::string tooLong(MAX_PATH, 'n');
    struct Case {
        const char* why;
        UINT kind;
        std::string text;
        bool terminatedInList;  // STRRET_OFFSET only
        bool succeeds;
    };
    const Case cases[] = {
        {"wide text", STRRET_WSTR, "Holiday Pictures", true, true},
        {"wide text of the buffer's size less its terminator", STRRET_WSTR, fits, true, true},
        {"wide text one character too long", STRRET_WSTR, tooLong, true, false},
        {"text inside the list", STRRET_OFFSET, "in the element", true, true},
        {"text inside the list that does not fit", STRRET_OFFSET, std::string(300, 'o'), true, false},
        {"text inside the list that runs to its end unterminated", STRRET_OFFSET, "no end", false, false},
        {"text in the answer", STRRET_CSTR, "in the answer", true, true},
        {"text that fills the answer with no terminator", STRRET_CSTR, std::string(MAX_PATH, 'c'), true, false},
        {"an answer kind the helper does not know", 7, "", true, false},
    };
    iShell shell;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        NameOnlyFolder folder;
        folder.kind = c.kind;
        folder.text = c.text;
        folder.offset = 4;
        const std::vector<BYTE> item = ElementHolding(c.kind == STRRET_OFFSET ? c.text : "", c.terminatedInList);
        // A canary after the buffer shows any write past it.
        std::vector<char> name(MAX_PATH + 16, '#');
        const BOOL named = shell.GetName(&folder, AsList(item), SHGDN_NORMAL, name.data());
        EXPECT_EQ(c.succeeds, named != FALSE);
        if (c.succeeds) {
            EXPECT_EQ(c.text, std::string(name.data()));
        }
        EXPECT_EQ(std::string(16, '#'), std::string(name.data() + MAX_PATH, 16));
    }
}

TEST(ShellDisplayName, ABoundSmallerThanTheNameFailsWithoutWritingPastIt)
{
    iShell shell;
    const std::vector<BYTE> item = ListOf({2});
    for (UINT kind : {STRRET_WSTR, STRRET_CSTR}) {
        SCOPED_TRACE(kind);
        NameOnlyFolder folder;
        folder.kind = kind;
        folder.text = "eight ch";
        char name[16];
        memset(name, '#', sizeof name);
        EXPECT_FALSE(shell.GetName(&folder, AsList(item), SHGDN_NORMAL, name, 8));
        EXPECT_EQ(std::string(8, '#'), std::string(name + 8, 8));
        EXPECT_TRUE(shell.GetName(&folder, AsList(item), SHGDN_NORMAL, name, 9));
        EXPECT_STREQ("eight ch", name);
    }
    NameOnlyFolder failing;
    failing.answer = E_FAIL;
    char name[MAX_PATH];
    EXPECT_FALSE(shell.GetName(&failing, AsList(item), SHGDN_NORMAL, name));
}

TEST(ShellDisplayName, TheShellsWideTextIsFreedWhetherOrNotItFits)
{
    AllocationCount count;
    if (!count.IsCounting())
        GTEST_SKIP() << "the task allocator takes no spy here";
    void* probe = ::CoTaskMemAlloc(8);
    ASSERT_EQ(1, count.Outstanding());  // the count sees the allocator's blocks
    ::CoTaskMemFree(probe);
    iShell shell;
    const std::vector<BYTE> item = ListOf({2});
    NameOnlyFolder folder;
    folder.kind = STRRET_WSTR;
    char name[MAX_PATH];
    for (const std::string& text : {std::string("short"), std::string(MAX_PATH + 20, 'w')}) {
        folder.text = text;
        static_cast<void>(shell.GetName(&folder, AsList(item), SHGDN_NORMAL, name));
    }
    EXPECT_EQ(0, count.Outstanding());
}

} // namespace
