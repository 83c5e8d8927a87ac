// Radio, colour and code fields: their texts, null values, hierarchical matching
// (a pattern of 0 included) and clones that share the code map.
#include "lib/src/iTypeInteger.h"

#include <gtest/gtest.h>

#include <memory>

TEST(iTypeRadio, ShowsTheStateLikeABoolean)
{
    struct Case {
        const char* why;
        unsigned long state;
        const char* text;
    };
    const Case cases[] = {
        {"checked", 1, "X"},
        {"unchecked", 0, ""},
        {"indeterminate", 2, "X"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::Radio radio(nullptr, "r", nullptr);
        radio = c.state;
        EXPECT_STREQ(c.text, radio.GetText());
    }
    iType::Radio radio;
    EXPECT_EQ(0u, radio.GetAttributes());
    EXPECT_EQ(0, radio.SetText("1"));
    EXPECT_EQ(0UL, radio.Value());
}

TEST(iTypeRadio, AssignmentFromATemporaryTakesTheValueOnly)
{
    iType::Radio radio(nullptr, "r", nullptr);
    radio.SetDefaultValue(2);
    radio = iType::Radio(1UL);
    EXPECT_EQ(1UL, radio.Value());
    EXPECT_EQ(2UL, radio.GetDefaultValue());
    EXPECT_STREQ("r", radio.GetName());
    std::unique_ptr<iType::Base> clone(radio.Clone());
    auto* copy = dynamic_cast<iType::Radio*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(0UL, copy->Value());
    EXPECT_EQ(2UL, copy->GetDefaultValue());
}

TEST(iTypeColorRef, WhiteIsTheNullValue)
{
    unsigned char record[4] = {1, 2, 3, 4};
    iType::ColorRef colour(record, "c", nullptr);
    EXPECT_EQ(0xFFFFFFUL, colour.Value());  // written into the borrowed bytes too
    EXPECT_EQ(0xFF, record[0]);
    EXPECT_EQ(0, record[3]);
    EXPECT_STREQ("", colour.GetText());
    colour = 255UL;
    EXPECT_STREQ("255", colour.GetText());
    EXPECT_EQ(1, colour.SetText("65280"));
    EXPECT_EQ(static_cast<unsigned long>(RGB(0, 255, 0)), colour.Value());
    colour.SetDefault();
    EXPECT_EQ(0xFFFFFFUL, colour.Value());
    EXPECT_EQ(2u, colour.GetAttributes());
    colour = 5UL;
    std::unique_ptr<iType::Base> clone(colour.Clone());
    auto* copy = dynamic_cast<iType::ColorRef*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(0xFFFFFFUL, copy->Value());
}

TEST(iTypeCode, TextComesFromTheMapOrIsTheNumber)
{
    iType::Code code(nullptr, "c", nullptr);
    code = -42L;
    EXPECT_STREQ("-42", code.GetText());
    code = 0L;
    EXPECT_STREQ("0", code.GetText());  // the text flags take no part
    EXPECT_EQ(0, code.IsValid());

    iStringMap directions;
    directions.Insert(1, "North");
    directions.Insert(2, "South");
    code.SetStringMap(&directions);
    code = 1L;
    EXPECT_STREQ("North", code.GetText());
    EXPECT_EQ(1, code.IsValid());
    code = 3L;
    EXPECT_STREQ("", code.GetText());
    EXPECT_EQ(0, code.SetText("South"));
    EXPECT_EQ(3, code.Value());
}

TEST(iTypeCode, HierarchicalMatchDropsThePatternsTrailingZeros)
{
    struct Case {
        long pattern;
        long candidate;
        int expected;
    };
    const Case cases[] = {
        {1200, 1234, 0},   {1200, 1300, -1},  {1200, 1199, 1},  {1234, 1234, 0},
        {1234, 1235, -1},  {-1200, -1234, 0}, {1000, 1999, 0},  {1000, 2000, -1},
        {0, 0, 0},         {0, 5, -1},        {0, -5, 1},       {2000000000, 2099999999, 0},
        {1000000000, 1999999999, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pattern << " against " << c.candidate);
        iType::Code pattern(c.pattern);
        pattern.SetHierarchical(1);
        EXPECT_EQ(c.expected, pattern.Match(iType::Code(c.candidate)));
    }
}

TEST(iTypeCode, PlainMatchIsTheComparison)
{
    iType::Code pattern(1200L);
    EXPECT_EQ(-1, pattern.Match(iType::Code(1234L)));
    EXPECT_EQ(0, pattern.Match(iType::Code(1200L)));
}

TEST(iTypeCode, LimitsLeaveTheValue)
{
    iType::Code code(17L);
    EXPECT_EQ(1, code.SetMinimum());
    EXPECT_EQ(1, code.SetMaximum());
    EXPECT_EQ(17, code.Value());
    EXPECT_EQ(0u, code.GetAttributes());
}

TEST(iTypeCode, CloneSharesTheMapAndTheHierarchicalFlag)
{
    iStringMap names;
    names.Insert(5, "Five");
    iType::Code code(nullptr, "code", nullptr);
    code.SetStringMap(&names);
    code.SetHierarchical(1);
    code.SetNullValue(9);
    code = 5L;
    std::unique_ptr<iType::Base> clone(code.Clone());
    auto* copy = dynamic_cast<iType::Code*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(0, copy->Value());
    EXPECT_EQ(&names, copy->GetStringMap());
    EXPECT_EQ(1, copy->IsHierarchical());
    EXPECT_EQ(9, copy->GetNullValue());
    copy->Value() = 5;
    EXPECT_STREQ("Five", copy->GetText());

    iType::Code plain(nullptr, "plain", nullptr);
    plain.Assign(code);  // attributes only: not the map, not the flag
    EXPECT_EQ(nullptr, plain.GetStringMap());
    EXPECT_EQ(0, plain.IsHierarchical());
}
