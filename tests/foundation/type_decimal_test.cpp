// The decimal field: printf-style text (two decimals unless the field has its own
// format), the locale number format (checked against the platform's own number
// formatting in the test's locale), owned copies of both formats, and comparison
// with values that are not numbers.
#include "lib/src/iTypeDecimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace {

// A decimal field whose format a test can choose, and whose number format it can read.
class FormattedDouble : public iType::Double {
public:
    using Double::Double;
    using Double::operator=;
    void SetFormat(const char* format) { ReplaceText(m_format, format); }
    const iType::NumberFormat* Numbers() const { return m_numberFormat.get(); }
};

// Two decimals, leading zero, groups of three, "," before the decimals and "." between groups.
iType::NumberFormat GermanStyle()
{
    iType::NumberFormat f = {};
    f.NumDigits = 2;
    f.LeadingZero = 1;
    f.Grouping = 3;
    strcpy(f.decimalSeparator, ",");
    strcpy(f.thousandSeparator, ".");
    f.lpDecimalSep = f.decimalSeparator;
    f.lpThousandSep = f.thousandSeparator;
    f.NegativeOrder = 1;
    return f;
}

std::string PlatformNumber(const char* printed, const iType::NumberFormat& f)
{
    NUMBERFMTA numbers = f;
    numbers.lpDecimalSep = const_cast<char*>(f.decimalSeparator);
    numbers.lpThousandSep = const_cast<char*>(f.thousandSeparator);
    char text[512] = {};
    return GetNumberFormatA(LOCALE_USER_DEFAULT, 0, printed, &numbers, text, sizeof text) > 0 ? text : "";
}

std::string Printed(const char* format, double value)
{
    char text[512];
    snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

TEST(iTypeDouble, PrintsTwoDecimalsByDefault)
{
    struct Case { const char* why; double value; const char* expected; };
    const Case cases[] = {
        {"the null value is shown too", 0.0, "0.00"},
        {"one decimal padded", 1234.5, "1234.50"},
        {"negative rounding to zero keeps its sign", -0.004, "-0.00"},
        {"rounded", 2.345678, "2.35"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::Double field(c.value);
        EXPECT_STREQ(c.expected, field.GetText());
    }
    iType::Double field(nullptr, "amount", "Amount");
    EXPECT_EQ(0.0, field.Value());
    EXPECT_STREQ("0.00", field.GetText());
    EXPECT_EQ(8u, field.GetElementSize());
    EXPECT_EQ(1u, field.GetElementCount());
    EXPECT_EQ(2u, field.GetAttributes());
}

TEST(iTypeDouble, NumberFormatFollowsThePlatform)
{
    const iType::NumberFormat german = GermanStyle();
    FormattedDouble field(1234.5);
    field.SetNumberFormat(&german);
    const std::string expected = PlatformNumber("1234.50", german);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, field.GetText());
    EXPECT_NE(std::string::npos, expected.find("234,50")) << "the record's separators reach the platform";

    // A number whose grouped text is longer than 80 characters keeps its text.
    field = 1e70;
    const std::string longExpected = PlatformNumber(Printed("%.2f", 1e70).c_str(), german);
    ASSERT_GT(longExpected.size(), 80u);
    EXPECT_EQ(longExpected, field.GetText());

    field = -0.5;
    EXPECT_EQ(PlatformNumber("-0.50", german), field.GetText());
}

TEST(iTypeDouble, NumberFormatReadsTheSeparatorTextsNotThePointers)
{
    iType::NumberFormat f = GermanStyle();
    char elsewhere[] = "X";
    f.lpDecimalSep = elsewhere;
    f.lpThousandSep = elsewhere;
    FormattedDouble field(1234.5);
    field.SetNumberFormat(&f);
    ASSERT_NE(nullptr, field.Numbers());
    EXPECT_EQ(field.Numbers()->decimalSeparator, field.Numbers()->lpDecimalSep);
    EXPECT_EQ(field.Numbers()->thousandSeparator, field.Numbers()->lpThousandSep);
    EXPECT_EQ(PlatformNumber("1234.50", GermanStyle()), field.GetText());

    // Separator texts that fill their buffers are cut to seven characters, never read past.
    memset(f.decimalSeparator, ',', sizeof f.decimalSeparator);
    memset(f.thousandSeparator, '.', sizeof f.thousandSeparator);
    field.SetNumberFormat(&f);
    EXPECT_EQ(7u, strlen(field.Numbers()->decimalSeparator));
    EXPECT_EQ(7u, strlen(field.Numbers()->thousandSeparator));
}

TEST(iTypeDouble, FormatThatIsNoPlainNumberLeavesTheNumberFormattedTextEmpty)
{
    FormattedDouble field(1234.5);
    field.SetFormat("%e");
    EXPECT_EQ(Printed("%e", 1234.5), field.GetText());
    const iType::NumberFormat german = GermanStyle();
    field.SetNumberFormat(&german);
    EXPECT_STREQ("", field.GetText());
    field.SetNumberFormat(nullptr);
    EXPECT_EQ(nullptr, field.Numbers());
    EXPECT_EQ(Printed("%e", 1234.5), field.GetText());

    FormattedDouble plain(3.0);
    plain.SetNumberFormat(nullptr);  // none before, none after
    EXPECT_EQ(nullptr, plain.Numbers());
    EXPECT_STREQ("3.00", plain.GetText());
}

TEST(iTypeDouble, CloneTakesTheFormatsAndCopiesTakeTheValue)
{
    const iType::NumberFormat german = GermanStyle();
    auto source = std::make_unique<FormattedDouble>(nullptr, "price", "Price");
    source->Value() = 3.0;
    source->SetFormat("%.3f");

    std::unique_ptr<iType::Base> clone(source->Clone());
    ASSERT_NE(nullptr, dynamic_cast<iType::Double*>(clone.get()));
    EXPECT_EQ(0.0, static_cast<iType::Double*>(clone.get())->Value());
    EXPECT_STREQ("0.000", clone->GetText());
    EXPECT_STREQ("price", clone->GetName());

    iType::Double copy(*source);
    EXPECT_EQ(3.0, copy.Value());
    EXPECT_STREQ("3.00", copy.GetText()) << "the copy has no format of its own";

    FormattedDouble assigned(1.0);
    assigned.SetNumberFormat(&german);
    assigned = static_cast<const iType::Double&>(*source);
    EXPECT_EQ(3.0, assigned.Value());
    EXPECT_NE(nullptr, assigned.Numbers()) << "the value assignment keeps the number format";
    EXPECT_EQ(PlatformNumber("3.000", german), assigned.GetText());

    // Assign takes the number format too; its copy lives on after the source is gone.
    source->SetNumberFormat(&german);
    FormattedDouble target(1234.5);
    target.Assign(*source);
    source.reset();
    ASSERT_NE(nullptr, target.Numbers());
    EXPECT_EQ(target.Numbers()->decimalSeparator, target.Numbers()->lpDecimalSep);
    EXPECT_EQ(PlatformNumber("1234.500", german), target.GetText());
}

TEST(iTypeDouble, ComparesNumbersAndTreatsNotANumberAsEqual)
{
    const double notANumber = std::numeric_limits<double>::quiet_NaN();
    struct Case { const char* why; double a; double b; int expected; };
    const Case cases[] = {
        {"less", 1.0, 2.0, -1},
        {"greater", 2.0, 1.0, 1},
        {"equal", 2.5, 2.5, 0},
        {"other is not a number", 1.0, notANumber, 0},
        {"this is not a number", notANumber, 1.0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::Double a(c.a);
        iType::Double b(c.b);
        EXPECT_EQ(c.expected, a.CompareTo(b));
        EXPECT_EQ(c.expected, a.CompareValue(c.b));
    }
}

TEST(iTypeDouble, HasNoLimitsAndNoParsing)
{
    iType::Double field(2.5);
    EXPECT_EQ(0, field.SetText("7.25"));
    EXPECT_EQ(0, field.SetMinimum());
    EXPECT_EQ(0, field.SetMaximum());
    EXPECT_EQ(2.5, field.Value());
    EXPECT_TRUE(field.IsValid());
    EXPECT_STREQ("2.500", field.GetTextFormat("%.3f"));

    field.SetDefaultValue(9.5);
    field.SetDefault();
    EXPECT_EQ(9.5, field.Value());
    field.Clear();
    EXPECT_EQ(0.0, field.Value());

    // Laid over a record, the field writes 0.0 into its 8 bytes.
    double record[3] = {1.5, 1.5, 1.5};
    iType::Double over(&record[1], "d", "D");
    EXPECT_EQ(0.0, record[1]);
    EXPECT_EQ(1.5, record[0]);
    EXPECT_EQ(1.5, record[2]);
}
