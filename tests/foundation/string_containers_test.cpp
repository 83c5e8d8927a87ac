// The string containers: the list's iterator, the ordered set of texts and the
// code-to-text map, with exact (case-sensitive) comparison throughout.
#include "lib/src/iStringList.h"
#include "lib/src/iStringMap.h"
#include "lib/src/iStringSet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

TEST(iStringList, IteratorStepsAndReturnsWhereItWas)
{
    iStringList list(4);
    list.AddTail("a");
    list.AddTail("b");
    iStringList::Iterator it(list, list.GetHeadPosition());
    iStringList::Iterator before = it++;
    EXPECT_STREQ("a", list.GetAt(before.GetPosition()));
    EXPECT_STREQ("b", list.GetAt(it.GetPosition()));
    it++;
    EXPECT_EQ(nullptr, it.GetPosition());  // past the tail

    iStringList::Iterator back(list, list.GetTailPosition());
    back--;
    EXPECT_STREQ("a", list.GetAt(back.GetPosition()));
    iStringList::Iterator copy(back);
    back--;
    EXPECT_EQ(nullptr, back.GetPosition());  // before the head
    EXPECT_STREQ("a", list.GetAt(copy.GetPosition()));
}

TEST(iStringList, NullIteratorStaysNull)
{
    iStringList list;
    list.AddTail("x");
    iStringList::Iterator it(list, nullptr);
    it++;
    EXPECT_EQ(nullptr, it.GetPosition());
    it--;
    EXPECT_EQ(nullptr, it.GetPosition());
}

TEST(iStringSet, InsertRemoveContainsAreExact)
{
    iStringSet set;
    EXPECT_EQ(1, set.Insert("a"));
    EXPECT_EQ(1, set.Insert("a"));  // equal element stays, one copy
    EXPECT_EQ(1u, set.size());
    EXPECT_EQ(1, set.Contains("a"));
    EXPECT_EQ(0, set.Contains("A"));
    EXPECT_EQ(1, set.Remove("a"));
    EXPECT_EQ(0, set.Remove("a"));
    EXPECT_TRUE(set.empty());
}

TEST(iStringSet, OrdersBytewiseAndOwnsItsCopies)
{
    iStringSet set;
    char text[] = "jpg";
    for (const char* s : {"tif", "BMP", "\xe9t", "bmp"})
        set.Insert(s);
    set.Insert(text);
    text[0] = 'x';  // the set kept its own copy
    EXPECT_EQ(1, set.Contains("jpg"));
    std::string order;
    for (const iString& s : set)
        order += std::string(s) + " ";
    EXPECT_EQ("BMP bmp jpg tif \xe9t ", order);
}

TEST(iStringSet, DeletesThroughItsBase)
{
    std::unique_ptr<iSTL_set<iString>> base(new iStringSet);
    static_cast<iStringSet*>(base.get())->Insert("x");
    EXPECT_EQ(1u, base->size());
}

TEST(iStringMap, FindAndInsertKeepTheFirstEntry)
{
    iStringMap map;
    EXPECT_EQ(1, map.Insert(5, "A"));
    EXPECT_EQ(1, map.Insert(5, "B"));
    EXPECT_STREQ("A", map.Find(5));
    EXPECT_STREQ("", map.Find(6));
    EXPECT_TRUE(map.Find(-1).IsEmpty());
}

TEST(iStringMap, FindCodeGivesTheLowestCodeWithThatExactText)
{
    iStringMap map;
    map.Insert(2, "On");
    map.Insert(1, "On");
    map.Insert(-7, "Off");
    EXPECT_EQ(1, map.FindCode("On"));
    EXPECT_EQ(-1, map.FindCode("on"));
    EXPECT_EQ(-7, map.FindCode("Off"));
    EXPECT_EQ(-1, map.FindCode(""));
}
