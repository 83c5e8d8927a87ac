// The line list: owned copies in order, counted bytes, range checks, removal of the
// last text, and the joined copy of every text.
#include "net/StringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(StringList, KeepsCopiesInOrderAndAnswersNullOutOfRange)
{
    CPJStringList list;
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetString(0));
    char text[] = "first";
    EXPECT_EQ(1, list.AddString(text));
    text[0] = 'X';
    EXPECT_EQ(1, list.AddString("second"));
    EXPECT_EQ(1, list.AddString(nullptr));
    EXPECT_EQ(3, list.GetCount());
    EXPECT_STREQ("first", list.GetString(0)) << "the list holds its own copy";
    EXPECT_STREQ("second", list.GetString(1));
    EXPECT_STREQ("", list.GetString(2));
    EXPECT_EQ(nullptr, list.GetString(-1));
    EXPECT_EQ(nullptr, list.GetString(3));
    // Backwards after forwards: the read position does not confuse an earlier index.
    EXPECT_STREQ("first", list.GetString(0));
    EXPECT_EQ(1, list.ClearList());
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetString(0));
    EXPECT_EQ(0u, list.GetTotalLength());
}

TEST(StringList, CountedTextsKeepNulBytesAndJoinAsReceived)
{
    CPJStringList list;
    const std::string withNul("a\0b\r\n", 5);
    list.AddString(withNul.data(), static_cast<int>(withNul.size()));
    list.AddString("tail", 4);
    EXPECT_EQ(5, list.GetLength(0));
    EXPECT_EQ(-1, list.GetLength(2));
    ASSERT_EQ(9u, list.GetTotalLength());
    std::vector<char> joined(list.GetTotalLength());
    list.CopyAll(joined.data());
    EXPECT_EQ(withNul + "tail", std::string(joined.begin(), joined.end()));
}

TEST(StringList, RemoveLastDropsOnlyTheNewestText)
{
    CPJStringList list;
    EXPECT_EQ(0, list.RemoveLast());
    list.AddString("kept");
    list.AddString("dropped");
    EXPECT_STREQ("dropped", list.GetString(1));
    EXPECT_EQ(1, list.RemoveLast());
    EXPECT_EQ(1, list.GetCount());
    EXPECT_EQ(nullptr, list.GetString(1));
    EXPECT_EQ(4u, list.GetTotalLength());
    list.AddString("again");
    EXPECT_STREQ("kept", list.GetString(0));
    EXPECT_STREQ("again", list.GetString(1));
    EXPECT_EQ(1, list.RemoveLast());
    EXPECT_EQ(1, list.RemoveLast());
    EXPECT_EQ(0, list.GetCount());
    list.AddString("fresh");
    EXPECT_STREQ("fresh", list.GetString(0));
}

TEST(StringList, HoldsManyLinesAndTextsLargerThanABlock)
{
    CPJStringList list;
    for (int i = 0; i < 100000; ++i)
        list.AddString(("line " + std::to_string(i) + "\r\n").c_str());
    const std::string big(600 * 1024, 'b');
    list.AddString(big.c_str());
    ASSERT_EQ(100001, list.GetCount());
    for (int i = 0; i < 100000; i += 9999)
        EXPECT_EQ("line " + std::to_string(i) + "\r\n", list.GetString(i));
    EXPECT_EQ(big, list.GetString(100000));
}
