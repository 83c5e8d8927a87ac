// The scratch buffer pool: the slot handed out last is never handed out again at
// once, a request too big for every slot appends one, the slot arrays grow, and
// each thread has its own pool.
#include "lib/src/iTempBufferRing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <thread>
#include <vector>

namespace {

class Pool : public iTempBufferRing {
public:
    using iTempBufferRing::iTempBufferRing;
    int Index() const { return m_index; }
    int Used() const { return m_used; }
    int Capacity() const { return m_capacity; }
    unsigned Size(int slot) const { return m_sizes[slot]; }
    const char* Buffer(int slot) const { return m_buffers[slot].get(); }
};

} // namespace

TEST(iTempBufferRing, SixteenDifferentBuffersThenTheFirstAgain)
{
    // A fresh thread starts with a fresh pool of sixteen 1024-byte buffers.
    std::vector<char*> handed;
    std::thread worker([&] {
        for (int i = 0; i < 17; ++i)
            handed.push_back(TempBuffer(1024));
    });
    worker.join();
    EXPECT_EQ(16u, std::set<char*>(handed.begin(), handed.begin() + 16).size());
    EXPECT_EQ(handed[0], handed[16]);
}

TEST(iTempBufferRing, NeverTheSlotHandedOutLast)
{
    Pool pool(2, 64, 4);
    char* a = pool.Get(10);
    char* b = pool.Get(10);
    char* c = pool.Get(10);
    EXPECT_NE(a, b);
    EXPECT_NE(b, c);
    EXPECT_EQ(a, c);
}

TEST(iTempBufferRing, TooBigRequestAppendsASlotAndLeavesTheOthers)
{
    Pool pool(16, 1024, 32);
    std::vector<const char*> before;
    for (int i = 0; i < 16; ++i)
        before.push_back(pool.Buffer(i));
    char* big = pool.Get(1025);
    EXPECT_EQ(17, pool.Used());
    EXPECT_EQ(16, pool.Index());
    EXPECT_EQ(1032u, pool.Size(16));
    EXPECT_EQ(big, pool.Buffer(16));
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(before[static_cast<size_t>(i)], pool.Buffer(i));
        EXPECT_EQ(1024u, pool.Size(i));
    }
    // The big slot serves a later big request from elsewhere in the ring.
    pool.Get(10);
    EXPECT_EQ(big, pool.Get(1030));
}

TEST(iTempBufferRing, SlotArraysDoubleWhenFullAndKeepTheBuffers)
{
    Pool pool(2, 8, 2);
    char* first = pool.Get(8);
    strcpy(first, "keep");
    pool.Get(100);  // third slot: capacity 2 becomes 4
    EXPECT_EQ(4, pool.Capacity());
    EXPECT_EQ(3, pool.Used());
    EXPECT_EQ(104u, pool.Size(2));
    pool.Get(200);
    pool.Get(300);  // fifth slot: capacity 8
    EXPECT_EQ(8, pool.Capacity());
    EXPECT_EQ(5, pool.Used());
    EXPECT_STREQ("keep", first);
    EXPECT_EQ(first, pool.Buffer(1));
}

TEST(iTempBufferRing, ThreadsBorrowFromTheirOwnPools)
{
    char* mine = TempBuffer(32);
    strcpy(mine, "user interface");
    std::set<char*> theirs;
    std::thread worker([&] {
        for (int i = 0; i < 40; ++i) {
            char* p = TempBuffer(32);
            strcpy(p, "worker");
            theirs.insert(p);
        }
    });
    worker.join();
    EXPECT_EQ(0u, theirs.count(mine));
    EXPECT_STREQ("user interface", mine);
}
