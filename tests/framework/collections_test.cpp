// Arrays, lists and hash maps: growth, insertion and removal at the edges, walks,
// lookups and removal, element lifetimes, and indexes that are not there.
#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// An element that counts its live copies, to show that removal runs destructors.
struct CountedElement {
    static int alive;
    int id = 0;
    CountedElement() { ++alive; }
    explicit CountedElement(int value) : id(value) { ++alive; }
    CountedElement(const CountedElement& other) : id(other.id) { ++alive; }
    CountedElement& operator=(const CountedElement&) = default;
    ~CountedElement() { --alive; }
    bool operator==(const CountedElement& other) const { return id == other.id; }
};
int CountedElement::alive = 0;

std::string Contents(const CUIntArray& array)
{
    std::string text;
    for (int i = 0; i < array.GetSize(); ++i)
        text += std::to_string(array[i]) + " ";
    return text;
}

template <class List>
std::string Walk(const List& list)
{
    std::string text;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        text += std::to_string(list.GetNext(pos)) + " ";
    return text;
}

} // namespace

TEST(CArray, GrowsInsertsAndRemovesAtTheEdges)
{
    CUIntArray array;
    EXPECT_TRUE(array.IsKindOf(RUNTIME_CLASS(CUIntArray)));
    EXPECT_TRUE(array.IsEmpty());
    EXPECT_EQ(-1, array.GetUpperBound());
    for (UINT i = 0; i < 5; ++i)
        EXPECT_EQ(int(i), array.Add(i * 10));
    EXPECT_EQ("0 10 20 30 40 ", Contents(array));

    array.InsertAt(0, 99);
    array.InsertAt(6, 77);
    array.InsertAt(2, 5, 2);
    EXPECT_EQ("99 0 5 5 10 20 30 40 77 ", Contents(array));
    array.InsertAt(11, 1);
    EXPECT_EQ("99 0 5 5 10 20 30 40 77 0 0 1 ", Contents(array)) << "past the end grows with zeros";

    array.RemoveAt(0);
    array.RemoveAt(8, 10);
    EXPECT_EQ("0 5 5 10 20 30 40 77 ", Contents(array)) << "a count past the end stops at the end";
    array.RemoveAt(-1, 2);
    EXPECT_EQ("5 5 10 20 30 40 77 ", Contents(array)) << "only the part in range goes";
    array.RemoveAt(99);
    array.RemoveAt(2, 0);
    EXPECT_EQ(7, array.GetSize());

    array.SetSize(3);
    EXPECT_EQ("5 5 10 ", Contents(array));
    array.SetAtGrow(5, 8);
    EXPECT_EQ("5 5 10 0 0 8 ", Contents(array));
    array.SetSize(0, 16);
    EXPECT_TRUE(array.IsEmpty());
}

TEST(CArray, IndexesOutOfRangeTouchNothing)
{
    CArray<int, int> array;
    array.Add(1);
    EXPECT_EQ(0, array.GetAt(-1));
    EXPECT_EQ(0, array.GetAt(1));
    array.SetAt(1, 5);
    array.SetAt(-1, 5);
    EXPECT_EQ(1, array.GetSize());
    array[7] = 42;  // written into a stand-in element, not past the end
    EXPECT_EQ(0, array.ElementAt(7)) << "the stand-in is reset at every use";
    EXPECT_EQ(1, array[0]);
    array.SetAtGrow(-3, 9);
    EXPECT_EQ(1, array.GetSize());
}

TEST(CArray, InsertingAnElementOfTheSameArrayCopiesItFirst)
{
    CArray<CString, const CString&> array;
    array.Add("first");
    array.Add("second");
    // Growing may move the elements that the argument refers to.
    for (int i = 0; i < 20; ++i)
        array.InsertAt(0, array[array.GetUpperBound()]);
    EXPECT_EQ(22, array.GetSize());
    EXPECT_STREQ("second", array[0]);
    EXPECT_STREQ("first", array[20]);

    CArray<CString, const CString&> other;
    other.Add("x");
    EXPECT_EQ(1, other.Append(array)) << "index of the first appended element";
    other.InsertAt(1, &array);
    EXPECT_EQ(45, other.GetSize());
    EXPECT_STREQ("second", other[1]);
    other.Copy(array);
    EXPECT_EQ(22, other.GetSize());
}

TEST(CTypedPtrArray, HandsOutTypedPointers)
{
    class Item : public CObject {
    public:
        explicit Item(int value) : id(value) {}
        int id;
    };
    Item a(1);
    Item b(2);
    CTypedPtrArray<CObArray, Item*> items;
    items.SetSize(0, 4);
    items.Add(&a);
    items.InsertAt(0, &b);
    EXPECT_EQ(2, items.GetSize());
    EXPECT_EQ(2, items[0]->id);
    EXPECT_EQ(1, items.GetAt(1)->id);
    items[1] = &b;
    EXPECT_EQ(&b, items.GetAt(1));
    EXPECT_EQ(nullptr, items.GetAt(5));
    items.RemoveAll();
    EXPECT_EQ(0, items.GetSize());

    CTypedPtrArray<CPtrArray, HWND*> handles;
    HWND window = reinterpret_cast<HWND>(0x1234);
    handles.Add(&window);
    EXPECT_EQ(&window, handles[0]);
}

TEST(CList, KeepsOrderAndPositionsAcrossInsertions)
{
    CList<int, int> list;
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    list.AddTail(2);
    list.AddTail(3);
    POSITION one = list.AddHead(1);
    list.InsertAfter(one, 15);
    list.InsertBefore(nullptr, 0);
    list.InsertAfter(nullptr, 4);
    EXPECT_EQ("0 1 15 2 3 4 ", Walk(list));
    EXPECT_EQ(6, list.GetCount());

    std::string backwards;
    for (POSITION pos = list.GetTailPosition(); pos;)
        backwards += std::to_string(list.GetPrev(pos)) + " ";
    EXPECT_EQ("4 3 2 15 1 0 ", backwards);

    POSITION fifteen = list.Find(15);
    ASSERT_NE(nullptr, fifteen);
    EXPECT_EQ(fifteen, list.FindIndex(2));
    EXPECT_EQ(nullptr, list.Find(15, fifteen)) << "searching after it";
    EXPECT_EQ(nullptr, list.FindIndex(6));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    list.RemoveAt(fifteen);
    EXPECT_EQ(0, list.RemoveHead());
    EXPECT_EQ(4, list.RemoveTail());
    EXPECT_EQ("1 2 3 ", Walk(list));
    EXPECT_EQ(1, list.GetHead());
    EXPECT_EQ(3, list.GetTail());

    CList<int, int> other;
    other.AddTail(9);
    other.AddHead(&list);
    other.AddTail(&list);
    EXPECT_EQ("1 2 3 9 1 2 3 ", Walk(other));
}

TEST(CList, EmptyListAnswersDefaultsAndElementsAreDestroyedOnRemoval)
{
    CList<CountedElement, CountedElement&> empty;
    // The stand-in element for missing ones is made once per thread; count from there.
    EXPECT_EQ(0, empty.GetHead().id);
    int before = CountedElement::alive;
    {
        CList<CountedElement, CountedElement&> list;
        EXPECT_EQ(0, list.RemoveHead().id);
        EXPECT_EQ(0, list.RemoveTail().id);
        EXPECT_EQ(0, list.GetHead().id);
        POSITION none = nullptr;
        EXPECT_EQ(0, list.GetNext(none).id);
        list.RemoveAt(nullptr);
        EXPECT_EQ(before, CountedElement::alive);

        CountedElement one(1);
        CountedElement two(2);
        list.AddTail(one);
        list.AddTail(two);
        list.AddTail(one);
        EXPECT_EQ(before + 5, CountedElement::alive);
        list.RemoveAt(list.Find(two));
        EXPECT_EQ(before + 4, CountedElement::alive);
        EXPECT_EQ(2, list.GetCount());
    }
    EXPECT_EQ(before, CountedElement::alive) << "the list's own copies go with it";
}

TEST(CPtrList, IsARunTimeClassedListOfPointers)
{
    CPtrList list;
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CPtrList)));
    int a = 1;
    int b = 2;
    list.AddTail(&a);
    list.AddHead(&b);
    EXPECT_EQ(&b, list.GetHead());
    EXPECT_NE(nullptr, list.Find(&a));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(CMap, LooksUpSetsAndRemovesKeys)
{
    CMap<int, int, CString, CString&> texts;
    CString value;
    EXPECT_FALSE(texts.Lookup(1, value)) << "empty map";
    EXPECT_FALSE(texts.RemoveKey(1));
    CString one("one");
    texts.SetAt(1, one);
    texts[2] = "two";
    texts[-7] = "minus seven";
    EXPECT_EQ(3, texts.GetCount());
    ASSERT_TRUE(texts.Lookup(2, value));
    EXPECT_STREQ("two", value);
    ASSERT_TRUE(texts.Lookup(-7, value));
    EXPECT_STREQ("minus seven", value);
    texts[2] = "deux";
    EXPECT_EQ(3, texts.GetCount()) << "a known key is replaced, not added";
    EXPECT_TRUE(texts.RemoveKey(2));
    EXPECT_FALSE(texts.RemoveKey(2));
    EXPECT_FALSE(texts.Lookup(2, value));
    EXPECT_EQ(2, texts.GetCount());
    EXPECT_TRUE(texts[5].IsEmpty()) << "operator[] makes a default value";
    texts.RemoveAll();
    EXPECT_TRUE(texts.IsEmpty());
    EXPECT_EQ(nullptr, texts.GetStartPosition());
}

TEST(CMap, WalkVisitsEveryKeyOnceInBucketOrder)
{
    // Keys collide in buckets (0..15 share one) and spread over several.
    CMap<long, long, int, int> map;
    std::map<long, int> expected;
    for (long key = 0; key < 300; key += 7) {
        map[key] = static_cast<int>(key * 2);
        expected[key] = static_cast<int>(key * 2);
    }
    std::map<long, int> seen;
    std::vector<long> order;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        long key = 0;
        int value = 0;
        map.GetNextAssoc(pos, key, value);
        EXPECT_TRUE(seen.emplace(key, value).second) << "key " << key << " visited twice";
        order.push_back(key);
    }
    EXPECT_EQ(expected, seen);
    // Bucket 0 of 17 holds the keys 0..15 and 272..287, newest first.
    const std::vector<long> bucketZero = {287, 280, 273, 14, 7, 0};
    ASSERT_GE(order.size(), bucketZero.size());
    EXPECT_EQ(bucketZero, std::vector<long>(order.begin(), order.begin() + 6));

    // Removing the key just visited keeps the walk going.
    int removed = 0;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        long key = 0;
        int value = 0;
        map.GetNextAssoc(pos, key, value);
        if (key % 2 == 0)
            removed += map.RemoveKey(key) ? 1 : 0;
    }
    EXPECT_EQ(static_cast<int>(expected.size()) - removed, map.GetCount());
    int value = 0;
    EXPECT_FALSE(map.Lookup(14, value));
    EXPECT_TRUE(map.Lookup(21, value));
}

TEST(CMap, HashTableSizeIsChosenBeforeTheFirstKey)
{
    CMap<UINT, UINT, CString, LPCSTR> map;
    EXPECT_EQ(17u, map.GetHashTableSize());
    map.InitHashTable(101);
    EXPECT_EQ(101u, map.GetHashTableSize());
    map.SetAt(1600, "x");
    map.InitHashTable(7);
    EXPECT_EQ(101u, map.GetHashTableSize()) << "ignored once keys are in";
    CString value;
    EXPECT_TRUE(map.Lookup(1600, value));
}

TEST(HashKey, FollowsTheFrameworkRules)
{
    EXPECT_EQ(0u, HashKey(15));
    EXPECT_EQ(1u, HashKey(16));
    EXPECT_EQ(0x123u, HashKey(reinterpret_cast<void*>(0x1234)));
    // Times 33 plus each byte: "ab" = (97 * 33) + 98.
    EXPECT_EQ(97u * 33u + 98u, HashKey(static_cast<LPCSTR>("ab")));
    EXPECT_EQ(HashKey(static_cast<LPCSTR>("ab")), HashKey(CString("ab")));
    EXPECT_EQ(0u, HashKey(static_cast<LPCSTR>("")));
}

TEST(NamedMaps, MapPointersWordsAndStrings)
{
    CMapPtrToPtr windows;
    EXPECT_TRUE(windows.IsKindOf(RUNTIME_CLASS(CMapPtrToPtr)));
    int a = 0;
    windows.SetAt(&a, &windows);
    void* found = nullptr;
    ASSERT_TRUE(windows.Lookup(&a, found));
    EXPECT_EQ(&windows, found);
    EXPECT_TRUE(windows.RemoveKey(&a));

    CMapWordToPtr images;
    images.SetAt(static_cast<WORD>(0xE100), reinterpret_cast<void*>(3));
    ASSERT_TRUE(images.Lookup(0xE100, found));
    EXPECT_EQ(reinterpret_cast<void*>(3), found);
    EXPECT_FALSE(images.Lookup(0xE101, found));

    // String keys compare by content, not by pointer.
    CMapStringToPtr pool;
    char key[] = "Open";
    pool.SetAt(key, reinterpret_cast<void*>(1));
    pool.SetAt("Save", reinterpret_cast<void*>(2));
    ASSERT_TRUE(pool.Lookup("Open", found));
    EXPECT_EQ(reinterpret_cast<void*>(1), found);
    EXPECT_FALSE(pool.Lookup("open", found)) << "case matters";
    int walked = 0;
    for (POSITION pos = pool.GetStartPosition(); pos; ++walked) {
        CString name;
        pool.GetNextAssoc(pos, name, found);
        EXPECT_TRUE(name == "Open" || name == "Save");
    }
    EXPECT_EQ(2, walked);
}
