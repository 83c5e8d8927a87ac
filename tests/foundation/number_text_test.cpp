// Numbers to text: every radix, signs only in radix 10, the widest values, zero
// padding behind a sign, and refusal of radices outside 2..36.
#include "lib/src/NumberText.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

TEST(NumberText, Int64AndUInt64InAnyRadix)
{
    struct Case { const char* why; __int64 value; int radix; const char* signedText; const char* unsignedText; };
    const Case cases[] = {
        {"zero", 0, 10, "0", "0"},
        {"zero in binary", 0, 2, "0", "0"},
        {"negative in radix 10", -255, 10, "-255", "18446744073709551361"},
        {"negative in radix 16 has no sign", -255, 16, "FFFFFFFFFFFFFF01", "FFFFFFFFFFFFFF01"},
        {"letters are upper-case", 35, 36, "Z", "Z"},
        {"lowest value", LLONG_MIN, 10, "-9223372036854775808", "9223372036854775808"},
        {"highest value", LLONG_MAX, 16, "7FFFFFFFFFFFFFFF", "7FFFFFFFFFFFFFFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        char buffer[kNumberTextSize];
        EXPECT_STREQ(c.signedText, Int64ToText(c.value, buffer, c.radix));
        EXPECT_STREQ(c.unsignedText, UInt64ToText(static_cast<unsigned __int64>(c.value), buffer, c.radix));
    }
}

TEST(NumberText, WidestTextFitsItsBuffer)
{
    // 64 binary digits and the zero, with a guard byte after the buffer.
    char buffer[kNumberTextSize + 1];
    memset(buffer, '#', sizeof buffer);
    UInt64ToText(ULLONG_MAX, buffer, 2);
    EXPECT_EQ(std::string(64, '1'), buffer);
    EXPECT_EQ('#', buffer[kNumberTextSize]);
    Int64ToText(LLONG_MIN, buffer, 2);
    EXPECT_EQ("1" + std::string(63, '0'), buffer);
}

TEST(NumberText, RadixOutsideTwoToThirtySixIsRefused)
{
    for (int radix : {-10, 0, 1, 37, 100}) {
        SCOPED_TRACE(radix);
        char buffer[kNumberTextSize] = "junk";
        EXPECT_EQ(buffer, Int64ToText(5, buffer, radix));
        EXPECT_STREQ("", buffer);
        strcpy(buffer, "junk");
        EXPECT_STREQ("", UInt64ToPaddedText(5, buffer, radix, 4));  // not padded into a fake number
    }
}

TEST(NumberText, PadNumberTextKeepsTheSignInFront)
{
    struct Case { const char* text; int width; const char* padded; };
    const Case cases[] = {
        {"-5", 4, "-005"}, {"+5", 3, "+05"}, {"5", 3, "005"},
        {"12345", 3, "12345"}, {"123", 3, "123"}, {"", 2, "00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        char buffer[16];
        strcpy(buffer, c.text);
        EXPECT_STREQ(c.padded, PadNumberText(buffer, c.width));
    }
    EXPECT_EQ(nullptr, PadNumberText(nullptr, 5));
}

TEST(NumberText, PaddedForms)
{
    char buffer[kNumberTextSize];
    EXPECT_STREQ("00FF", IntToPaddedText(255, buffer, 16, 4));
    EXPECT_STREQ("-0042", IntToPaddedText(-42, buffer, 10, 5));
    EXPECT_STREQ("FFFFFFFF", IntToPaddedText(-1, buffer, 16, 2));  // the 32-bit pattern
    EXPECT_STREQ("0777", ULongToPaddedText(0777, buffer, 8, 4));
    EXPECT_STREQ("-000000001", Int64ToPaddedText(-1, buffer, 10, 10));
    EXPECT_STREQ("00000101", UInt64ToPaddedText(5, buffer, 2, 8));
}
