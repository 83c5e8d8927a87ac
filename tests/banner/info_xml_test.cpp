// The banner description reader: which texts give which four settings, and how the
// numbers in them are read.
#include "banner/InfoXML.h"

#include <gtest/gtest.h>

#include <string>

namespace {

BannerSettings ReadDescription(const std::string& text)
{
    InfoXML reader;
    static_cast<void>(reader.Parse(text.data(), static_cast<int>(text.size()), 1));
    return reader.m_settings;
}

} // namespace

TEST(InfoXML, DescriptionsGiveTheirSettings)
{
    struct Case {
        const char* why;
        const char* text;
        int32_t page, duration, promotion, refresh;
    };
    const Case cases[] = {
        {"all four", "<Info><Page value=\"5\"/><Duration value=\"3000\"/><Promotion value=\"-1\"/>"
                     "<Refresh value=\"3600\"/></Info>",
         5, 3000, -1, 3600},
        {"Page only: the rest keep their defaults", "<Info><Page value=\"12\"/></Info>", 12, 60000, 0, 360000},
        {"another first attribute, then value", "<Info><Duration other=\"1\" value=\"5\"/></Info>", 35, 60000, 0,
         360000},
        {"digits then letters", "<Info><Page value=\"5abc\"/></Info>", 5, 60000, 0, 360000},
        {"letters only", "<Info><Page value=\"abc\"/></Info>", 0, 60000, 0, 360000},
        {"more digits than 32 bits hold", "<Info><Refresh value=\"99999999999999999999\"/>"
                                          "<Promotion value=\"-99999999999\"/></Info>",
         35, 60000, INT32_MIN, INT32_MAX},
        {"lower-case element names are not the settings", "<Info><page value=\"7\"/></Info>", 35, 60000, 0, 360000},
        {"an element without attributes", "<Info><Page/></Info>", 35, 60000, 0, 360000},
        {"nested anywhere, any root", "<a><b><c><Promotion value=\" +3\"/></c></b></a>", 35, 60000, 3, 360000},
        {"the root itself", "<Page value=\"9\"/>", 9, 60000, 0, 360000},
        {"repeated: the last wins", "<r><Page value=\"1\"/><Page value=\"2\"/></r>", 2, 60000, 0, 360000},
        {"not well-formed after a good element: what came first stays",
         "<r><Duration value=\"1500\"/><Page value=\"4\"></r>", 4, 1500, 0, 360000},
        {"empty body", "", 35, 60000, 0, 360000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const BannerSettings settings = ReadDescription(c.text);
        EXPECT_EQ(c.page, settings.page);
        EXPECT_EQ(c.duration, settings.duration);
        EXPECT_EQ(c.promotion, settings.promotion);
        EXPECT_EQ(c.refresh, settings.refresh);
    }
}

TEST(InfoXML, NumbersAreReadUpToTheFirstNonDigitAndHeldAtTheLimits)
{
    struct Case {
        const char* why;
        const char* text;
        int32_t expected;
    };
    const Case cases[] = {
        {"plain", "42", 42},
        {"leading white space and a plus", " \t\r\n+17", 17},
        {"negative", "-1", -1},
        {"stops at a blank", "12 34", 12},
        {"a sign alone", "-", 0},
        {"the empty text", "", 0},
        {"a byte above 127 is no digit", "\xB2" "5", 0},
        {"largest", "2147483647", INT32_MAX},
        {"one past the largest", "2147483648", INT32_MAX},
        {"smallest", "-2147483648", INT32_MIN},
        {"one past the smallest", "-2147483649", INT32_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, ReadDescriptionNumber(c.text));
    }
    EXPECT_EQ(0, ReadDescriptionNumber(nullptr));
}
