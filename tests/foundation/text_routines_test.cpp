// Text routines: bounded lengths and searches (never past the given bounds or the
// terminating zero), filling and copying, and the four width-aware comparisons.
#include "lib/src/TextRoutines.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace {

// A text placed at the very end of a committed page, followed by an inaccessible
// one: reading one byte past its terminating zero faults.
class EdgeText {
public:
    explicit EdgeText(const char* text)
    {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        m_page = info.dwPageSize;
        m_base = static_cast<char*>(VirtualAlloc(nullptr, 2 * m_page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + m_page, m_page, PAGE_NOACCESS, &old);
        size_t size = strlen(text) + 1;
        m_text = m_base + m_page - size;
        memcpy(m_text, text, size);
    }
    ~EdgeText() { VirtualFree(m_base, 0, MEM_RELEASE); }
    EdgeText(const EdgeText&) = delete;
    EdgeText& operator=(const EdgeText&) = delete;
    const char* get() const { return m_text; }

private:
    DWORD m_page = 0;
    char* m_base = nullptr;
    char* m_text = nullptr;
};

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

} // namespace

TEST(TextRoutines, StrNLenBoundsAndNull)
{
    EXPECT_EQ(5u, StrNLen("hello", 0));
    EXPECT_EQ(3u, StrNLen("hello", 3));
    EXPECT_EQ(5u, StrNLen("hello", 100));
    EXPECT_EQ(0u, StrNLen(nullptr, 4));
}

TEST(TextRoutines, StrNChrAndStrNRChr)
{
    const char* s = "abcabc";
    EXPECT_EQ(s + 1, StrNChr(s, 'b', 0));
    EXPECT_EQ(nullptr, StrNChr(s, 'c', 2));
    EXPECT_EQ(s + 2, StrNChr(s, 'c', 3));
    EXPECT_EQ(nullptr, StrNChr(nullptr, 'c', 0));
    EXPECT_EQ(s + 4, StrNRChr(s, 'b', 0));
    EXPECT_EQ(s + 1, StrNRChr(s, 'b', 4));
    EXPECT_EQ(nullptr, StrNRChr(s, 'x', 0));
    EXPECT_EQ(nullptr, StrNRChr(nullptr, 'b', 0));
}

TEST(TextRoutines, StrNRPBrkFindsTheLastOfTheFirstN)
{
    const char* s = "a/b\\c.d";
    EXPECT_EQ(s + 3, StrNRPBrk(s, "/\\", 7));
    EXPECT_EQ(s + 1, StrNRPBrk(s, "/\\", 3));
    EXPECT_EQ(nullptr, StrNRPBrk(s, "/\\", 1));
    EXPECT_EQ(nullptr, StrNRPBrk(s, "/\\", 0));
    EXPECT_EQ(nullptr, StrNRPBrk(s, nullptr, 7));
}

TEST(TextRoutines, StrNRPBrkNeverReadsPastTheText)
{
    // A count far beyond the text, on a text that ends at a page boundary.
    EdgeText edge("x/yz");
    EXPECT_EQ(edge.get() + 1, StrNRPBrk(edge.get(), "/", 1000));
}

TEST(TextRoutines, StrFillAndStrReplaceChar)
{
    char buffer[6] = "abcde";
    EXPECT_EQ(buffer, StrFill(buffer, '*', 3));
    EXPECT_STREQ("***de", buffer);
    EXPECT_EQ(nullptr, StrFill(nullptr, '*', 3));

    char path[] = "a/b/c/d";
    StrReplaceChar(path, 0, '/', '\\');
    EXPECT_STREQ("a\\b\\c\\d", path);
    char part[] = "a/b/c/d";
    StrReplaceChar(part, 3, '/', '\\');
    EXPECT_STREQ("a\\b/c/d", part);
    EXPECT_EQ(nullptr, StrReplaceChar(nullptr, 0, 'a', 'b'));
}

TEST(TextRoutines, CaseInsensitiveSearches)
{
    const char* hay = "hello hello";
    struct Case { const char* why; const char* needle; unsigned hayMax; unsigned needleMax; int first; int last; };
    const Case cases[] = {
        {"plain", "LO", 11, 0, 3, 9},
        {"whole haystack", "HELLO", 11, 0, 0, 6},
        {"hayMax 0 finds nothing", "LO", 0, 0, -1, -1},
        {"needleMax 1 looks for the first letter alone", "LX", 11, 1, 2, 9},
        {"haystack cut before the second match", "LO", 5, 0, 3, 3},
        {"needle longer than the haystack", "hello hello!", 11, 0, -1, -1},
        {"empty needle", "", 11, 0, -1, -1},
        {"absent", "xyz", 11, 0, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const char* first = StrNIStr(hay, c.needle, c.hayMax, c.needleMax);
        const char* last = StrNIRStr(hay, c.needle, c.hayMax, c.needleMax);
        EXPECT_EQ(c.first, first ? first - hay : -1);
        EXPECT_EQ(c.last, last ? last - hay : -1);
    }
    const char* hello = "hello";
    EXPECT_EQ(hello + 2, StrIStr(hello, "LLO"));
    EXPECT_EQ(nullptr, StrIStr(nullptr, "a"));
    EXPECT_EQ(nullptr, StrIStr("a", nullptr));
    EXPECT_EQ(nullptr, StrIStr("", "a"));
}

TEST(TextRoutines, StrMoveHandlesOverlapBothWays)
{
    char right[16] = "abcdef";
    StrMove(right + 2, right);
    EXPECT_STREQ("ababcdef", right);
    char left[16] = "abcdef";
    StrMove(left, left + 2);
    EXPECT_STREQ("cdef", left);
}

TEST(TextRoutines, StrRightCopyAlignsRight)
{
    char field[6] = "-----";
    StrRightCopy(field, "abc", 5);
    EXPECT_STREQ("--abc", field);
    char narrow[6] = "-----";
    StrRightCopy(narrow, "abcdefgh", 3);  // keeps the last three, rest unchanged
    EXPECT_STREQ("fgh--", narrow);
}

TEST(TextRoutines, IsSignChar)
{
    EXPECT_EQ(1, IsSignChar('-'));
    EXPECT_EQ(1, IsSignChar('+'));
    EXPECT_EQ(0, IsSignChar('0'));
}

TEST(TextRoutines, ForwardComparisons)
{
    struct Case { const char* why; const char* a; int na; const char* b; int nb; int sign; int nocaseSign; };
    const Case cases[] = {
        {"equal widths, equal", "abc", 3, "abc", 3, 0, 0},
        {"equal widths, case differs", "ABC", 3, "abc", 3, -1, 0},
        {"equal widths stop at a zero", "ab\0x", 4, "ab\0y", 4, 0, 0},
        {"narrower a is a prefix", "ab", 2, "abc", 3, -1, -1},
        {"wider a is longer", "abc", 3, "ab", 2, 1, 1},
        {"first difference decides", "abd", 3, "abcz", 4, 1, 1},
        {"bytes above 127 are negative", "\xe9", 1, "a!", 2, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.sign, Sign(StrNCmp2(c.a, c.na, c.b, c.nb)));
        EXPECT_EQ(c.nocaseSign, Sign(StrNICmp2(c.a, c.na, c.b, c.nb)));
    }
    // The wider text's next byte is the result.
    EXPECT_EQ(0 - 'c', StrNCmp2("ab", 2, "abc", 3));
    EXPECT_EQ('c', StrNCmp2("abc", 3, "ab", 2));
}

TEST(TextRoutines, ComparisonsFromTheEnd)
{
    struct Case { const char* why; const char* a; int na; const char* b; int nb; int sign; int nocaseSign; };
    const Case cases[] = {
        {"a is the end of b", "abc", 3, "xabc", 4, 0, 0},
        {"last characters differ", "abc", 3, "abd", 3, -1, -1},
        {"case differs", "ABC", 3, "xabc", 4, -1, 0},
        {"width cuts the text", "abcz", 3, "abc", 0, 0, 0},
        {"earlier difference", "zbc", 3, "abc", 3, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.sign, Sign(StrNRCmp2(c.a, c.na, c.b, c.nb)));
        EXPECT_EQ(c.nocaseSign, Sign(StrNRICmp2(c.a, c.na, c.b, c.nb)));
    }
}
