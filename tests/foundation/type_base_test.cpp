// Value storage and the field base: storage forms, raw copies and comparison,
// joining a collection, names, attribute copies and clones.
#include "lib/src/iTypeCollection.h"
#include "lib/src/iTypeScalar.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// The smallest concrete field: raw storage compared raw, value 0 when cleared.
class RawField : public iType::Base {
public:
    using Base::Base;
    const char* GetText() const override { return "raw"; }
    Base* Create() const override
    {
        auto* field = new RawField(GetByteSize(), GetName(), GetDescription());
        field->Clear();
        return field;
    }
    int IsValid() const override { return 1; }
    int CompareTo(const Base& other) const override { return Compare(other); }
};

// A block of 32-bit elements over the caller's array.
class Int32Block : public iMemory {
public:
    Int32Block(int32_t* values, unsigned count) { Set(kBorrowed, 4, count, values); }
};

} // namespace

TEST(iMemory, ConstructorsDescribeTheirStorage)
{
    iMemory none;
    EXPECT_EQ(iMemory::kNone, none.GetKind());
    EXPECT_EQ(nullptr, none.GetData());

    iMemory empty(0u);
    EXPECT_EQ(iMemory::kNone, empty.GetKind());
    EXPECT_EQ(0u, empty.GetByteSize());

    iMemory owned(10u);
    EXPECT_EQ(iMemory::kOwned, owned.GetKind());
    EXPECT_EQ(1u, owned.GetElementSize());
    EXPECT_EQ(10u, owned.GetElementCount());
    EXPECT_NE(nullptr, owned.GetData());

    char buffer[6];
    iMemory borrowed(buffer, sizeof buffer);
    EXPECT_EQ(iMemory::kBorrowed, borrowed.GetKind());
    EXPECT_EQ(buffer, borrowed.GetData());
    EXPECT_EQ(6u, borrowed.GetByteSize());
}

TEST(iMemory, CopyFromGivesAnEmptyBlockItsOwnCopy)
{
    iMemory source(10u);
    memcpy(source.GetData(), "0123456789", 10);
    iMemory target;
    target.CopyFrom(source);
    EXPECT_EQ(iMemory::kOwned, target.GetKind());
    EXPECT_EQ(10u, target.GetByteSize());
    EXPECT_NE(source.GetData(), target.GetData());
    EXPECT_EQ(0, memcmp(target.GetData(), "0123456789", 10));
}

TEST(iMemory, CopyFromCopiesOnlyWhatBothBlocksHold)
{
    char small[4] = {'a', 'b', 'c', 'd'};
    char large[8] = {'1', '2', '3', '4', '5', '6', '7', '8'};
    iMemory smallBlock(small, sizeof small);
    iMemory largeBlock(large, sizeof large);
    largeBlock.CopyFrom(smallBlock);
    EXPECT_EQ(0, memcmp(large, "abcd5678", 8));
    memcpy(large, "wxyz5678", 8);
    smallBlock.CopyFrom(largeBlock);
    EXPECT_EQ(0, memcmp(small, "wxyz", 4));
}

TEST(iMemory, CopyInBoundsTheCountByTheByteSize)
{
    struct Case {
        const char* why;
        unsigned n;
        const char* expected;
    };
    const Case cases[] = {
        {"n 0 copies the byte size", 0, "wxyz"},
        {"n 3 copies three bytes", 3, "wxyd"},
        {"n past the byte size copies the byte size", 9, "wxyz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        char value[5] = "abcd";
        const char source[10] = "wxyz#####";
        iMemory block(value, 4);
        block.CopyIn(source, c.n);
        EXPECT_STREQ(c.expected, value);
    }
}

TEST(iMemory, SetFreesAnOwnedBlockItReplaces)
{
    iMemory block(8u);
    char outside[4] = {};
    block.Set(iMemory::kBorrowed, 1, 4, outside);
    EXPECT_EQ(outside, block.GetData());
    block.Clear();  // must touch only the borrowed bytes
    EXPECT_EQ(0, outside[0]);
}

TEST(iMemory, CompareFollowsElementsThenCounts)
{
    int32_t a[] = {1, 5};
    int32_t b[] = {1, 7};
    int32_t c[] = {1, 5, 0};
    int32_t d[] = {-1};
    int32_t e[] = {1};
    EXPECT_LT(Int32Block(a, 2).Compare(Int32Block(b, 2)), 0);
    EXPECT_EQ(-1, Int32Block(a, 2).Compare(Int32Block(c, 3)));
    EXPECT_EQ(1, Int32Block(c, 3).Compare(Int32Block(a, 2)));
    // Elements are signed: -1 sorts before 1 although its bytes are larger.
    EXPECT_LT(Int32Block(d, 1).Compare(Int32Block(e, 1)), 0);

    char x[] = "ab";
    char y[] = "ab";
    EXPECT_EQ(0, iMemory(x, 2).Compare(iMemory(y, 2)));
}

TEST(iMemory, CompareOfDifferentElementSizesGoesByBytes)
{
    int32_t word[] = {0x64636261};  // the bytes abcd
    char bytes[] = "abcd";
    char shorter[] = "abc";
    char larger[] = "abce";
    EXPECT_EQ(0, Int32Block(word, 1).Compare(iMemory(bytes, 4)));
    EXPECT_EQ(1, Int32Block(word, 1).Compare(iMemory(shorter, 3)));
    EXPECT_EQ(-1, iMemory(shorter, 3).Compare(Int32Block(word, 1)));
    EXPECT_LT(Int32Block(word, 1).Compare(iMemory(larger, 4)), 0);
}

TEST(iMemory, CompareOfABlockWithoutDataTreatsItAsEmpty)
{
    iMemory none;
    none.Set(iMemory::kBorrowed, 1, 4, nullptr);
    char bytes[] = "abcd";
    EXPECT_EQ(-1, none.Compare(iMemory(bytes, 4)));
    EXPECT_EQ(0, none.Compare(iMemory()));
}

TEST(iTypeBase, ConstructorFormsSetStorageAndJoinTheParent)
{
    iType::Collection parent("p", nullptr);
    RawField first(&parent, "a", "A");
    RawField owned(&parent, "b", "B", 4u);
    EXPECT_EQ(iMemory::kOwned, owned.GetKind());
    EXPECT_EQ(4u, owned.GetByteSize());
    EXPECT_EQ(&parent, owned.GetParent());
    EXPECT_EQ(1, owned.GetIndex());
    EXPECT_EQ(2, parent.GetCount());

    char buffer[8];
    RawField borrowed(&parent, buffer, 8u, "c", "C");
    EXPECT_EQ(iMemory::kBorrowed, borrowed.GetKind());
    EXPECT_EQ(buffer, borrowed.GetData());
    EXPECT_EQ(8u, borrowed.GetByteSize());
    RawField sizeLast(&parent, buffer, "d", "D", 3u);
    EXPECT_EQ(3u, sizeLast.GetByteSize());
    RawField unsized(&parent, buffer, "e", "E");
    EXPECT_EQ(buffer, unsized.GetData());
    EXPECT_EQ(0u, unsized.GetByteSize());

    RawField loose(5u, "f", "F");
    EXPECT_EQ(nullptr, loose.GetParent());
    EXPECT_EQ(-1, loose.GetIndex());
    EXPECT_STREQ("f", loose.GetName());
    EXPECT_STREQ("F", loose.GetDescription());

    RawField nullParent(nullptr, "g", "G", 4u);
    EXPECT_EQ(nullptr, nullParent.GetParent());
    EXPECT_EQ(5, parent.GetCount());
}

TEST(iTypeBase, InitialAttributes)
{
    RawField field("x", nullptr);
    EXPECT_EQ(32u, field.GetAttributes());
    EXPECT_EQ(3u, field.GetFlags());
    EXPECT_EQ(iType::Base::kInputAny, field.GetInputRule());
    EXPECT_EQ(0u, field.GetTextFlags());
    EXPECT_EQ(nullptr, field.GetDescription());
}

TEST(iTypeBase, SetNameKeepsAnEqualCopyAndNullClears)
{
    RawField field("name", "description");
    const char* before = field.GetName();
    field.SetName("name");
    EXPECT_EQ(before, field.GetName());
    field.SetName("other");
    EXPECT_STREQ("other", field.GetName());
    field.SetName(nullptr);
    EXPECT_EQ(nullptr, field.GetName());
    field.SetDescription(nullptr);
    EXPECT_EQ(nullptr, field.GetDescription());
}

TEST(iTypeBase, SetParentTakesOnlyTheFirst)
{
    iType::Collection first("first", nullptr);
    iType::Collection second("second", nullptr);
    RawField field(&first, "x", nullptr, 4u);
    second.Add(&field);
    EXPECT_EQ(&first, field.GetParent());
    EXPECT_EQ(0, field.GetIndex());  // position in the collection that added it last
    field.SetParent(&second);
    EXPECT_EQ(&first, field.GetParent());
}

TEST(iTypeBase, GetFullNameJoinsTheNamesFromTheOutermost)
{
    iType::Collection r("r", nullptr);
    iType::Collection c(&r, "c", nullptr);
    RawField x(&c, "x", nullptr, 4u);
    iString out;
    EXPECT_STREQ("r/c/x", x.GetFullName(out, "/"));
    EXPECT_STREQ("r.c.x", x.GetFullName(out, nullptr));

    iType::Collection nameless(nullptr, nullptr);
    RawField y(&nameless, "y", nullptr, 4u);
    EXPECT_STREQ(".y", y.GetFullName(out, nullptr));
}

TEST(iTypeBase, AssignCopiesAttributesNotTheValue)
{
    iType::Collection parent("p", nullptr);
    RawField filler(&parent, "filler", nullptr, 4u);
    RawField source(&parent, "source", "Source", 4u);
    source.SetFlags(1);
    source.SetInputRule(iType::Base::kInputFull);
    source.SetTextFlags(iType::Base::kTextShowNull);
    memcpy(source.GetData(), "abcd", 4);

    RawField target(4u, "target", nullptr);
    memcpy(target.GetData(), "wxyz", 4);
    target.Assign(source);
    EXPECT_STREQ("source", target.GetName());
    EXPECT_STREQ("Source", target.GetDescription());
    EXPECT_EQ(1, target.GetIndex());
    EXPECT_EQ(1u, target.GetFlags());
    EXPECT_EQ(iType::Base::kInputFull, target.GetInputRule());
    EXPECT_EQ(iType::Base::kTextShowNull, target.GetTextFlags());
    EXPECT_EQ(nullptr, target.GetParent());
    EXPECT_EQ(0, memcmp(target.GetData(), "wxyz", 4));
}

TEST(iTypeBase, CloneHasTheAttributesAndTheNullValue)
{
    iType::TType<long> field(nullptr, "count", "Count");
    field.Value() = 7;
    field.SetFlags(1);
    field.SetInputRule(iType::Base::kInputNotEmpty);
    std::unique_ptr<iType::Base> clone(field.Clone());
    ASSERT_NE(nullptr, clone);
    EXPECT_STREQ("count", clone->GetName());
    EXPECT_STREQ("Count", clone->GetDescription());
    EXPECT_EQ(1u, clone->GetFlags());
    EXPECT_EQ(iType::Base::kInputNotEmpty, clone->GetInputRule());
    EXPECT_EQ(field.GetAttributes(), clone->GetAttributes());
    EXPECT_EQ(nullptr, clone->GetParent());
    EXPECT_NE(field.GetData(), clone->GetData());
    EXPECT_EQ(0, static_cast<iType::TType<long>*>(clone.get())->Value());
}

TEST(iTypeBase, BaseOperationsAnswerNotSupported)
{
    RawField field(4u, "x", nullptr);
    memcpy(field.GetData(), "abcd", 4);
    EXPECT_EQ(0, field.SetText("1"));
    EXPECT_EQ(0, field.SetMinimum());
    EXPECT_EQ(0, field.SetMaximum());
    EXPECT_STREQ("raw", field.GetTextFormat("%d"));
    field.SetDefault();  // the base default is Clear
    EXPECT_EQ(0, memcmp(field.GetData(), "\0\0\0\0", 4));

    RawField other(4u, "y", nullptr);
    memcpy(other.GetData(), "wxyz", 4);
    EXPECT_EQ(&field, &field.CopyValue(other));
    EXPECT_EQ(0, memcmp(field.GetData(), "wxyz", 4));
    EXPECT_EQ(0, field.Match(other));
}
