// Scalar fields: null and default values, the padded text in a radix, parsing,
// limits per value type, typed comparison, and the boolean kind.
#include "lib/src/iTypeCollection.h"
#include "lib/src/iTypeScalar.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>

namespace {

// A long field whose pad width a test can choose.
class PaddedLong : public iType::TType<long> {
public:
    PaddedLong(int radix, int padWidth)
    {
        m_radix = radix;
        m_padWidth = padWidth;
    }
};

} // namespace

TEST(iTypeScalar, NewFieldShowsNothingUntilItLeavesTheNullValue)
{
    iType::TType<long> field(nullptr, "n", "N");
    EXPECT_EQ(0, field.Value());
    EXPECT_STREQ("", field.GetText());
    field.Value() = 5;
    EXPECT_STREQ("5", field.GetText());
    field.Value() = 0;
    field.SetTextFlags(iType::Base::kTextShowNull);
    EXPECT_STREQ("0", field.GetText());
}

TEST(iTypeScalar, TextIsPaddedAfterTheSignInTheRadix)
{
    struct Case {
        const char* why;
        int radix;
        int padWidth;
        long value;
        const char* expected;
    };
    const Case cases[] = {
        {"hexadecimal padded to four", 16, 4, 255, "00FF"},
        {"negative decimal padded after the sign", 10, 4, -5, "-005"},
        {"longer than the pad width", 10, 2, 12345, "12345"},
        {"binary", 2, 0, 5, "101"},
        {"lowest long", 10, 0, LONG_MIN, "-2147483648"},
        {"negative in radix 16 is the bit pattern", 16, 0, -1, "FFFFFFFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PaddedLong field(c.radix, c.padWidth);
        field.Value() = c.value;
        EXPECT_STREQ(c.expected, field.GetText());
    }
}

TEST(iTypeScalar, SetTextParsesUpToTheFirstNonDigit)
{
    struct Case {
        const char* why;
        int radix;
        const char* text;
        long expected;
    };
    const Case cases[] = {
        {"digits then letters", 10, "12abc", 12},
        {"empty text", 10, "", 0},
        {"null text", 10, nullptr, 0},
        {"leading blanks and a sign", 10, "  -42", -42},
        {"hexadecimal digits", 16, "fF", 255},
        {"no digit at all", 10, "abc", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::TType<long> field;
        field.Value() = 99;
        field.SetRadix(c.radix);
        EXPECT_EQ(1, field.SetText(c.text));
        EXPECT_EQ(c.expected, field.Value());
    }
}

TEST(iTypeScalar, SixtyFourBitTextsParseUnsigned)
{
    iType::TType<long long> wide;
    EXPECT_EQ(1, wide.SetText("123456789012"));
    EXPECT_EQ(123456789012LL, wide.Value());
    EXPECT_STREQ("123456789012", wide.GetText());
    EXPECT_EQ(1, wide.SetText(" -5"));
    EXPECT_EQ(0, wide.Value());

    iType::TType<unsigned long long> unsignedWide;
    EXPECT_EQ(1, unsignedWide.SetText("18446744073709551615"));
    EXPECT_EQ(ULLONG_MAX, unsignedWide.Value());
    EXPECT_STREQ("18446744073709551615", unsignedWide.GetText());

    iType::TType<unsigned long> dword;
    EXPECT_EQ(1, dword.SetText("4294967295"));
    EXPECT_STREQ("4294967295", dword.GetText());
}

TEST(iTypeScalar, LimitsFollowTheValueType)
{
    iType::TType<int> i;
    EXPECT_EQ(1, i.SetMinimum());
    EXPECT_EQ(INT_MIN, i.Value());
    EXPECT_EQ(1, i.SetMaximum());
    EXPECT_EQ(INT_MAX, i.Value());

    iType::TType<short> s;
    EXPECT_EQ(1, s.SetMaximum());
    EXPECT_EQ(32767, s.Value());
    EXPECT_EQ(1, s.SetMinimum());
    EXPECT_EQ(-32768, s.Value());

    iType::TType<char> c;
    EXPECT_EQ(1, c.SetMinimum());
    EXPECT_EQ(-128, c.Value());

    iType::TType<unsigned char> uc;
    EXPECT_EQ(1, uc.SetMaximum());
    EXPECT_EQ(255, uc.Value());

    iType::TType<unsigned long> ul;
    EXPECT_EQ(1, ul.SetMaximum());
    EXPECT_EQ(4294967295UL, ul.Value());
    EXPECT_EQ(1, ul.SetMinimum());
    EXPECT_EQ(0UL, ul.Value());

    iType::TType<long long> ll;
    EXPECT_EQ(1, ll.SetMinimum());
    EXPECT_EQ(LLONG_MIN, ll.Value());
}

TEST(iTypeScalar, OtherValueTypesHaveNoTextAndNoLimits)
{
    iType::TType<double> d;
    d.Value() = 2.5;
    EXPECT_STREQ("", d.GetText());
    EXPECT_EQ(0, d.SetText("3"));
    EXPECT_EQ(0, d.SetMinimum());
    EXPECT_EQ(0, d.SetMaximum());
    EXPECT_EQ(2.5, d.Value());
    EXPECT_STREQ("2.50", d.GetTextFormat("%.2f"));
}

TEST(iTypeScalar, ClearAndSetDefaultUseTheirValues)
{
    iType::TType<long> field;
    field.SetNullValue(3);
    field.SetDefaultValue(4);
    field.Clear();
    EXPECT_EQ(3, field.Value());
    EXPECT_STREQ("", field.GetText());  // the null value shows nothing
    field.SetDefault();
    EXPECT_EQ(4, field.Value());
    EXPECT_STREQ("4", field.GetText());
}

TEST(iTypeScalar, BorrowedFormsLieOverTheBufferAndStartAtZero)
{
    unsigned char record[12];
    memset(record, 0xAB, sizeof record);
    iType::Collection parent("r", nullptr);
    iType::TType<long> atData(&parent, record, "a", nullptr);
    iType::TType<long> atOffset(&parent, record, 8, "b", nullptr);
    EXPECT_EQ(record, atData.GetData());
    EXPECT_EQ(record + 8, atOffset.GetData());
    EXPECT_EQ(4u, atOffset.GetByteSize());
    EXPECT_EQ(4u, atOffset.GetElementSize());
    EXPECT_EQ(iMemory::kBorrowed, atOffset.GetKind());
    EXPECT_EQ(0, atOffset.Value());
    EXPECT_EQ(0xAB, record[4]);  // untouched between the two fields
    atOffset.Value() = 0x01020304;
    EXPECT_EQ(0x04, record[8]);
    EXPECT_EQ(2, parent.GetCount());

    iType::TType<long> loose(record, 4, "c", nullptr);
    EXPECT_EQ(record + 4, loose.GetData());
    EXPECT_EQ(nullptr, loose.GetParent());
}

TEST(iTypeScalar, CloneCarriesNullAndDefaultNotTheValue)
{
    iType::TType<long> field(nullptr, "f", nullptr);
    field.Value() = 9;
    field.SetNullValue(3);
    field.SetDefaultValue(4);
    field.SetRadix(16);
    std::unique_ptr<iType::Base> clone(field.Clone());
    auto* copy = dynamic_cast<iType::TType<long>*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(0, copy->Value());
    EXPECT_EQ(3, copy->GetNullValue());
    EXPECT_EQ(4, copy->GetDefaultValue());
    EXPECT_EQ(10, copy->GetRadix());  // the radix is not an attribute Assign copies
    EXPECT_EQ(2u, copy->GetAttributes());
}

TEST(iTypeScalar, CompareToAnswersMinusOneZeroOrOne)
{
    iType::TType<long> low(-1L);
    iType::TType<long> high(1L);
    EXPECT_EQ(-1, low.CompareTo(high));
    EXPECT_EQ(1, high.CompareTo(low));
    EXPECT_EQ(0, low.CompareTo(iType::TType<long>(-1L)));
    EXPECT_EQ(0, high.CompareValue(1));
    EXPECT_EQ(-1, high.CompareValue(7));
    EXPECT_EQ(-1, high.Match(iType::TType<long>(2L)));

    // Unsigned values compare unsigned: the largest is not -1.
    iType::TType<unsigned long> big(4294967295UL);
    iType::TType<unsigned long> one(1UL);
    EXPECT_EQ(1, big.CompareTo(one));
}

TEST(iTypeScalar, GetTextFormatPrintsTheValue)
{
    iType::TType<long> field(42L);
    EXPECT_STREQ("00042", field.GetTextFormat("%05ld"));
    EXPECT_STREQ("42", field.GetTextFormat(nullptr));
}

TEST(iTypeScalar, CopiesAndAssignmentsTakeTheValueOnly)
{
    iType::TType<long> source(nullptr, "source", nullptr);
    source.Value() = 8;
    source.SetNullValue(5);
    iType::TType<long> copy(source);
    EXPECT_EQ(8, copy.Value());
    EXPECT_EQ(nullptr, copy.GetName());
    EXPECT_EQ(0, copy.GetNullValue());
    EXPECT_EQ(iMemory::kOwned, copy.GetKind());

    iType::TType<long> target(nullptr, "target", nullptr);
    target = source;
    EXPECT_EQ(8, target.Value());
    EXPECT_STREQ("target", target.GetName());
    EXPECT_EQ(0, target.GetNullValue());
    target = 11L;
    EXPECT_EQ(11, target.Value());
}

TEST(iTypeBool, ShowsXWhenSetAndCannotBeSetFromText)
{
    iType::Bool flag(nullptr, "flag", nullptr);
    EXPECT_EQ(0u, flag.GetAttributes());
    EXPECT_STREQ("", flag.GetText());
    flag = 1;
    EXPECT_STREQ("X", flag.GetText());
    flag = -7;
    EXPECT_STREQ("X", flag.GetText());
    EXPECT_EQ(0, flag.SetText("0"));
    EXPECT_EQ(-7, flag.Value());
    EXPECT_EQ(1, flag.IsValid());
}

TEST(iTypeBool, ClearWithNullValueOneReadsSet)
{
    iType::Bool flag(nullptr, "Confirm", nullptr);
    flag.SetNullValue(1);
    flag.Clear();
    EXPECT_EQ(1, flag.Value());
    EXPECT_STREQ("X", flag.GetText());
}

TEST(iTypeBool, AssignmentFromATemporaryKeepsNullAndDefault)
{
    // The dialog exchange assigns a checked state through a temporary boolean.
    iType::Bool flag(nullptr, "Confirm", nullptr);
    flag.SetNullValue(1);
    flag.SetDefaultValue(1);
    flag = iType::Bool(0);
    EXPECT_EQ(0, flag.Value());
    EXPECT_EQ(1, flag.GetNullValue());
    EXPECT_EQ(1, flag.GetDefaultValue());

    iType::Bool copy(flag);
    EXPECT_EQ(0, copy.Value());
    EXPECT_EQ(0, copy.GetNullValue());
    EXPECT_EQ(nullptr, copy.GetName());
}

TEST(iTypeBool, CreateMakesABooleanOfTheSameName)
{
    iType::Bool flag(nullptr, "flag", "Flag");
    flag = 1;
    flag.SetNullValue(1);
    std::unique_ptr<iType::Base> clone(flag.Clone());
    auto* copy = dynamic_cast<iType::Bool*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_STREQ("flag", copy->GetName());
    EXPECT_EQ(0, copy->Value());
    EXPECT_EQ(1, copy->GetNullValue());
}
