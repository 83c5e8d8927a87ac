// Bit-set fields: the valid range, the NONE/SOME/ALL text, default bits, matching
// by a shared bit, comparison, and ranges that never reach past the buffer.
#include "lib/src/iTypeBitSet.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

TEST(iTypeBitSet, NewSetHasTheWholeBufferAsItsRange)
{
    iType::BitSet set(2u);
    EXPECT_EQ(0, set.GetLowBit());
    EXPECT_EQ(15, set.GetHighBit());
    EXPECT_EQ(0, set.CountBits());
    EXPECT_STREQ("NONE", set.GetText());
    EXPECT_EQ(1, set.SetBit(3));
    EXPECT_STREQ("SOME", set.GetText());
    EXPECT_EQ(8, static_cast<unsigned char*>(set.GetData())[0]);
    EXPECT_EQ(0, set.SetBit(16));
    EXPECT_EQ(0, set.SetBit(-1));
    EXPECT_EQ(1, set.SetAll());
    EXPECT_STREQ("ALL", set.GetText());
    EXPECT_EQ(16, set.CountBits());
    EXPECT_EQ(1, set.ClearBit(15));
    EXPECT_STREQ("SOME", set.GetText());
    EXPECT_EQ(0, set.ClearBit(16));
}

TEST(iTypeBitSet, BitsMapToBytesLeastSignificantFirst)
{
    unsigned char buffer[6] = {};
    iType::BitSet set(buffer, 6, "b", nullptr);
    EXPECT_EQ(1, set.SetBit(41));
    EXPECT_EQ(2, buffer[5]);
    EXPECT_EQ(1, set.CountBits());
    EXPECT_STREQ("SOME", set.GetText());
    EXPECT_EQ(1, set.TestBit(41));
    EXPECT_EQ(0, set.TestBit(40));
    EXPECT_EQ(0, set.TestBit(-1));
    EXPECT_EQ(0, set.TestBit(48));
}

TEST(iTypeBitSet, BorrowedBufferIsLeftAsItIs)
{
    unsigned char buffer[2] = {0x81, 0x00};
    iType::BitSet set(buffer, 2, "b", nullptr);
    EXPECT_EQ(1, set.TestBit(0));
    EXPECT_EQ(1, set.TestBit(7));
    EXPECT_EQ(2, set.CountBits());
}

TEST(iTypeBitSet, ClearRestoresTheDefaultBits)
{
    iType::BitSet set(4u);
    EXPECT_EQ(1, set.SetDefaultBit(1));
    EXPECT_EQ(1, set.SetDefaultBit(4));
    EXPECT_EQ(0, set.SetDefaultBit(32));
    EXPECT_EQ(0, set.CountBits());  // the value is not touched
    set.SetBit(9);
    set.Clear();
    EXPECT_EQ(2, set.CountBits());
    EXPECT_EQ(1, set.TestBit(1));
    EXPECT_EQ(1, set.TestBit(4));
    set.ClearAll();
    EXPECT_EQ(0, set.CountBits());
    set.SetDefault();
    EXPECT_EQ(0x12, static_cast<unsigned char*>(set.GetData())[0]);
}

TEST(iTypeBitSet, MatchAsksForASharedBit)
{
    struct Case {
        const char* why;
        int otherBit;  // -1: none
        int expected;
    };
    const Case cases[] = {
        {"shares bit 4", 4, 0},
        {"no bit in common", 2, -1},
        {"other set empty", -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::BitSet pattern(2u);
        pattern.SetBit(1);
        pattern.SetBit(4);
        iType::BitSet other(2u);
        if (c.otherBit >= 0)
            other.SetBit(c.otherBit);
        EXPECT_EQ(c.expected, pattern.Match(other));
        EXPECT_EQ(c.expected, other.Match(pattern));
    }
    iType::BitSet emptyA(2u);
    iType::BitSet emptyB(2u);
    EXPECT_EQ(-1, emptyA.Match(emptyB));
}

TEST(iTypeBitSet, CompareToGoesByCapacityThenBytes)
{
    iType::BitSet small(2u);
    iType::BitSet large(4u);
    EXPECT_EQ(-1, small.CompareTo(large));
    EXPECT_EQ(1, large.CompareTo(small));
    iType::BitSet same(2u);
    EXPECT_EQ(0, small.CompareTo(same));
    same.SetBit(15);  // byte 1 is 0x80: compared unsigned
    EXPECT_LT(small.CompareTo(same), 0);
}

TEST(iTypeBitSet, CloneCarriesTheDefaultBitsNotTheValue)
{
    iType::BitSet set(nullptr, 3, nullptr, nullptr);  // no buffer yet: nothing valid
    EXPECT_EQ(0, set.SetBit(0));

    iType::BitSet source(2u);
    source.SetName("Types");
    source.SetBit(1);
    source.SetBit(2);
    source.SetDefaultBit(5);
    std::unique_ptr<iType::Base> clone(source.Clone());
    auto* copy = dynamic_cast<iType::BitSet*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_STREQ("Types", copy->GetName());
    EXPECT_EQ(2u, copy->GetByteSize());
    EXPECT_EQ(0, copy->CountBits());
    copy->Clear();
    EXPECT_EQ(1, copy->CountBits());
    EXPECT_EQ(1, copy->TestBit(5));
}

TEST(iTypeBitSet, RangeTakenFromALargerSetStaysInsideTheBuffer)
{
    unsigned char memory[3] = {0, 0, 0xA5};  // the third byte lies past the small set
    iType::BitSet small(memory, 2, "s", nullptr);
    iType::BitSet large(8u);
    small.Assign(large);
    EXPECT_EQ(63, small.GetHighBit());
    EXPECT_EQ(0, small.SetBit(16));
    EXPECT_EQ(0, small.TestBit(17));
    small.SetAll();
    EXPECT_EQ(16, small.CountBits());
    EXPECT_EQ(0xA5, memory[2]);
}

TEST(iTypeBitSet, NoBufferCountsNothingAndShowsNone)
{
    iType::BitSet set;
    EXPECT_EQ(0, set.CountBits());
    EXPECT_STREQ("NONE", set.GetText());
    EXPECT_EQ(0, set.SetDefaultBit(0));
    EXPECT_EQ(0, set.SetText("ALL"));
    EXPECT_EQ(0, set.SetMinimum());
    EXPECT_EQ(1, set.ClearAll());
}
