// The scratch text ring: rotation, zero-filled hand-outs, growth by appending a
// slot and then by replacing one, copies of texts, and one ring per thread.
#include "lib/src/iRevolveString.h"

#include "framework/Exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

class Ring : public iRevolveString {
public:
    using iRevolveString::iRevolveString;
    int Index() const { return m_index; }
    int Used() const { return m_used; }
    unsigned Size(int slot) const { return m_sizes[slot]; }
    const char* Buffer(int slot) const { return m_buffers[slot].get(); }
};

bool AllZero(const char* p, unsigned n)
{
    for (unsigned i = 0; i < n; ++i) {
        if (p[i] != 0)
            return false;
    }
    return true;
}

// Runs body on a thread of its own, which starts with a fresh g_RevolveString.
template <class Body>
void OnFreshThread(Body body)
{
    std::thread worker(body);
    worker.join();
}

} // namespace

TEST(iRevolveString, ConstructorRoundsSizesUpPastAMultipleOfEight)
{
    Ring ring(4, 2048, 32);
    EXPECT_EQ(4, ring.Used());
    EXPECT_EQ(0, ring.Index());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(2056u, ring.Size(i));
    Ring small(2, 5, 1);  // maximum is at least count
    EXPECT_EQ(8u, small.Size(0));
    EXPECT_EQ(2, small.Used());
}

TEST(iRevolveString, NextRotatesThroughTheRingZeroFilled)
{
    OnFreshThread([] {
        std::vector<char*> seen;
        for (int i = 0; i < 5; ++i) {
            char* p = g_RevolveString->Next();
            EXPECT_TRUE(AllZero(p, 2056)) << "hand-out " << i;
            memset(p, 'x', 2056);  // dirty it for the next round
            seen.push_back(p);
        }
        EXPECT_EQ(4u, std::set<char*>(seen.begin(), seen.begin() + 4).size());
        EXPECT_EQ(seen[0], seen[4]);
    });
}

TEST(iRevolveString, TextSurvivesWhileOtherBuffersAreHandedOut)
{
    OnFreshThread([] {
        char* kept = g_RevolveString->Get(10);
        strcpy(kept, "field text");
        char* other = g_RevolveString->Next();
        g_RevolveString->Get(3);
        g_RevolveString->Dup("abc");
        EXPECT_NE(kept, other);
        EXPECT_STREQ("field text", kept);
    });
}

TEST(iRevolveString, GetZeroFillsWhatItPromises)
{
    Ring ring(2, 16, 2);
    char* a = ring.Get(16);  // slot 1 is too small: replaced, whole buffer zero
    memset(a, 'x', ring.Size(1));
    ring.Get(1);
    char* again = ring.Get(16);
    EXPECT_EQ(a, again);
    EXPECT_TRUE(AllZero(again, 17));
}

TEST(iRevolveString, TooSmallBufferAppendsASlotAndWrapsAfterIt)
{
    Ring ring(4, 2048, 32);
    const char* first = ring.Buffer(1);
    char* p = ring.Get(2056);  // needs 2057 bytes, slot 1 holds 2056
    EXPECT_EQ(5, ring.Used());
    EXPECT_EQ(4, ring.Index());
    EXPECT_EQ(2064u, ring.Size(4));
    EXPECT_EQ(p, ring.Buffer(4));
    EXPECT_EQ(first, ring.Buffer(1));  // the small buffer keeps its place
    EXPECT_TRUE(AllZero(p, 2064));
    ring.Next();
    EXPECT_EQ(0, ring.Index());
}

TEST(iRevolveString, FullRingReplacesTheCurrentSlot)
{
    Ring ring(32, 2048, 32);
    ring.Get(5000);
    EXPECT_EQ(32, ring.Used());
    EXPECT_EQ(1, ring.Index());
    EXPECT_EQ(5008u, ring.Size(1));
    EXPECT_EQ(2056u, ring.Size(2));
}

TEST(iRevolveString, DupCopiesTheFirstNBytes)
{
    Ring ring(4, 64, 4);
    EXPECT_STREQ("abc", ring.Dup("abc", 0));
    EXPECT_STREQ("ab", ring.Dup("abc", 2));
    EXPECT_STREQ("abc", ring.Dup("abc"));
    EXPECT_STREQ("short", ring.Dup("short", 40));  // n past the text: not read beyond it
    EXPECT_STREQ("", ring.Dup(nullptr));
}

TEST(iRevolveString, EachThreadHasItsOwnRing)
{
    char* mine = g_RevolveString->Next();
    strcpy(mine, "user interface");
    std::set<char*> theirs;
    OnFreshThread([&] {
        for (int i = 0; i < 8; ++i) {
            char* p = g_RevolveString->Next();
            strcpy(p, "worker");
            theirs.insert(p);
        }
    });
    EXPECT_EQ(0u, theirs.count(mine));
    EXPECT_STREQ("user interface", mine);
}

TEST(iRevolveString, ImpossibleSizeIsOutOfMemoryAndChangesNothing)
{
    Ring ring(2, 16, 2);
    bool isOutOfMemory = false;
    try {
        ring.Get(0xFFFFFFFFu);
    } catch (CMemoryException* e) {
        isOutOfMemory = true;
        e->Delete();
    }
    EXPECT_TRUE(isOutOfMemory);
    EXPECT_EQ(24u, ring.Size(0));
    EXPECT_EQ(24u, ring.Size(1));
    EXPECT_STREQ("ok", ring.Dup("ok"));
}
