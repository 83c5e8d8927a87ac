// The framework's string list and string array: order, positions, insertion and
// removal at every place, searches, and safe answers for elements that are absent.
#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The list read head to tail and tail to head, joined by ",".
std::string Forward(const CStringList& list)
{
    std::string out;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        if (!out.empty())
            out += ',';
        out += list.GetNext(pos);
    }
    return out;
}

std::string Backward(const CStringList& list)
{
    std::string out;
    for (POSITION pos = list.GetTailPosition(); pos;) {
        if (!out.empty())
            out += ',';
        out += list.GetPrev(pos);
    }
    return out;
}

std::string Items(const CStringArray& array)
{
    std::string out;
    for (int i = 0; i < array.GetSize(); ++i)
        out += std::string(i ? "," : "") + static_cast<LPCSTR>(array.GetAt(i));
    return out;
}

} // namespace

TEST(CStringList, AddsAtBothEndsAndWalksBothWays)
{
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    list.AddTail(CString("c"));
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ("a,b,c", Forward(list));
    EXPECT_EQ("c,b,a", Backward(list));
    EXPECT_STREQ("a", list.GetHead());
    EXPECT_STREQ("c", list.GetTail());

    POSITION pos = list.GetTailPosition();
    list.GetNext(pos);
    EXPECT_EQ(nullptr, pos);  // past the tail
    pos = list.GetHeadPosition();
    list.GetPrev(pos);
    EXPECT_EQ(nullptr, pos);  // before the head
}

TEST(CStringList, InsertsBeforeAndAfterAnyPosition)
{
    CStringList list;
    POSITION b = list.AddTail("b");
    list.InsertBefore(b, "a");          // new head
    list.InsertAfter(b, "d");           // new tail
    list.InsertAfter(b, "c");           // middle
    list.InsertBefore(nullptr, "0");    // null: at the head
    list.InsertAfter(nullptr, "z");     // null: at the tail
    EXPECT_EQ("0,a,b,c,d,z", Forward(list));
    EXPECT_EQ("z,d,c,b,a,0", Backward(list));
    EXPECT_EQ(6, list.GetCount());
}

TEST(CStringList, RemovesHeadTailAndMiddleKeepingLinks)
{
    CStringList list;
    for (const char* s : {"a", "b", "c", "d", "e"})
        list.AddTail(s);
    EXPECT_STREQ("a", list.RemoveHead());
    EXPECT_STREQ("e", list.RemoveTail());
    list.RemoveAt(list.Find("c"));
    EXPECT_EQ("b,d", Forward(list));
    EXPECT_EQ("d,b", Backward(list));
    list.RemoveAt(list.GetHeadPosition());
    list.RemoveAt(list.GetTailPosition());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.GetTailPosition());
    // Usable again after emptying (its blocks were released).
    list.AddTail("x");
    EXPECT_EQ("x", Forward(list));
}

TEST(CStringList, EmptyListAnswersWithEmptyStrings)
{
    CStringList list;
    EXPECT_STREQ("", list.RemoveHead());
    EXPECT_STREQ("", list.RemoveTail());
    EXPECT_STREQ("", list.GetHead());
    // A write into the stand-in answer does not show up in the next one.
    list.GetTail() = "junk";
    EXPECT_STREQ("", list.GetHead());
    POSITION none = nullptr;
    EXPECT_STREQ("", list.GetNext(none));
    EXPECT_EQ(nullptr, none);
    list.RemoveAt(nullptr);
    EXPECT_EQ(0, list.GetCount());
}

TEST(CStringList, FindAndFindIndex)
{
    CStringList list;
    POSITION first = list.AddTail("x");
    list.AddTail("y");
    POSITION second = list.AddTail("x");
    EXPECT_EQ(first, list.Find("x"));
    EXPECT_EQ(second, list.Find("x", first));
    EXPECT_EQ(nullptr, list.Find("x", second));
    EXPECT_EQ(nullptr, list.Find("X"));  // case counts

    struct Case { const char* why; int index; const char* expected; };
    const Case cases[] = {
        {"first", 0, "x"}, {"last", 2, "x"}, {"middle", 1, "y"},
        {"one past the end", 3, nullptr}, {"negative", -1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        POSITION pos = list.FindIndex(c.index);
        if (!c.expected)
            EXPECT_EQ(nullptr, pos);
        else
            EXPECT_STREQ(c.expected, list.GetAt(pos));
    }
}

TEST(CStringList, ElementsAreOwnCopies)
{
    CString source = "abc";
    CStringList list(2);
    POSITION pos = list.AddTail(source);
    list.GetAt(pos).SetAt(0, 'X');
    EXPECT_STREQ("abc", source);
    EXPECT_STREQ("Xbc", list.GetHead());
    list.SetAt(pos, "new");
    EXPECT_STREQ("new", list.GetAt(pos));
    EXPECT_STREQ("abc", source);
}

TEST(CStringList, SpansManyBlocks)
{
    // Block size 3: 100 elements need many blocks; freed nodes are reused.
    CStringList list(3);
    for (int i = 0; i < 100; ++i) {
        CString s;
        s.Format("%d", i);
        list.AddTail(s);
    }
    for (int i = 0; i < 50; ++i)
        list.RemoveHead();
    for (int i = 0; i < 10; ++i)
        list.AddHead("h");
    EXPECT_EQ(60, list.GetCount());
    EXPECT_STREQ("h", list.GetHead());
    EXPECT_STREQ("50", list.GetAt(list.FindIndex(10)));
    EXPECT_STREQ("99", list.GetTail());
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CObject)));
}

TEST(CStringArray, AddSetAndReadBack)
{
    CStringArray array;
    EXPECT_EQ(-1, array.GetUpperBound());
    EXPECT_EQ(0, array.Add("a"));
    EXPECT_EQ(1, array.Add(CString("b")));
    array.SetAt(1, "B");
    array.ElementAt(0) += "!";
    array[1] += "?";
    EXPECT_EQ("a!,B?", Items(array));
    EXPECT_EQ(1, array.GetUpperBound());
    const CStringArray& constant = array;
    EXPECT_STREQ("B?", constant[1]);
}

TEST(CStringArray, OutOfRangeReadsAndWritesChangeNothing)
{
    CStringArray array;
    array.Add("a");
    EXPECT_STREQ("", array.GetAt(1));
    EXPECT_STREQ("", array.GetAt(-1));
    array.SetAt(1, "x");
    array.ElementAt(5) = "y";
    EXPECT_EQ("a", Items(array));
    EXPECT_STREQ("", array.ElementAt(5));
}

TEST(CStringArray, SetSizeGrowsWithEmptyAndShrinks)
{
    CStringArray array;
    array.Add("a");
    array.SetSize(3, 16);
    EXPECT_EQ("a,,", Items(array));
    array.SetSize(1);
    EXPECT_EQ("a", Items(array));
    array.SetSize(-4);
    EXPECT_EQ(0, array.GetSize());
}

TEST(CStringArray, InsertAndRemoveRanges)
{
    CStringArray array;
    for (const char* s : {"a", "b", "c"})
        array.Add(s);
    array.InsertAt(1, "x", 2);
    EXPECT_EQ("a,x,x,b,c", Items(array));
    array.InsertAt(7, "z");  // past the end: grows with empty strings up to it
    EXPECT_EQ("a,x,x,b,c,,,z", Items(array));
    array.RemoveAt(1, 2);
    EXPECT_EQ("a,b,c,,,z", Items(array));
    array.RemoveAt(3, 100);  // count clamped to the end
    EXPECT_EQ("a,b,c", Items(array));
    array.RemoveAt(3);       // one past the end: nothing
    array.RemoveAt(-1);
    EXPECT_EQ("a,b,c", Items(array));
    array.RemoveAll();
    EXPECT_EQ(0, array.GetSize());
}
