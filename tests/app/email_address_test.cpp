// The address check of the send-to-friend form: one table of addresses, the top-level
// domain table at its ends, and lengths that stop short of the zero.
#include "app/EmailAddress.h"

#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <cstring>

TEST(EmailAddress, AddressesAreAcceptedOrRefused)
{
    struct Case {
        const char* why;
        const char* address;
        bool valid;
    };
    const Case cases[] = {
        {"plain", "jane.doe@example.com", true},
        {"letters, digits, hyphen, dot and underscore before the @", "J_o-e.9@mail.example.org", true},
        {"top-level domain in capitals", "joe@EXAMPLE.COM", true},
        {"only the part after the last dot counts", "joe@example.co.uk", true},
        {"a country code", "joe@example.de", true},
        {"the longest generic name", "joe@example.museum", true},
        {"the last country code", "joe@example.zw", true},
        {"gb is not in the table", "joe@example.gb", false},
        {"web is not in the table", "joe@example.web", false},
        {"the @ alone", "@", false},
        {"no @", "joe.example.com", false},
        {"no dot after the @", "joe@localhost", false},
        {"a dot only before the @", "joe.doe@localhost", false},
        {"nothing after the last dot", "joe@example.", false},
        {"nothing before the @", "@example.com", false},
        {"a second @", "joe@ex@ample.com", false},
        {"a plus in the local part", "joe+news@example.com", false},
        {"a blank", "joe doe@example.com", false},
        {"an underscore in the domain", "joe@ex_ample.com", false},
        {"a byte above 127 in the local part", "j\xF6rg@example.com", false},
        {"a byte above 127 in the domain", "joe@m\xFCnchen.de", false},
        {"the domain begins with a dot", "joe@.example.com", true},
        {"two dots in a row in the domain", "joe@example..com", true},
        {"the domain is only the top-level name", "joe@.com", true},
        {"empty", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.valid, IsValidEmailAddress(c.address, 0, 1)) << c.address;
    }
    EXPECT_FALSE(IsValidEmailAddress(nullptr, 0, 1));
}

TEST(EmailAddress, LengthStopsTheAddressShortOfItsEnd)
{
    // The first 15 bytes are an address; what follows is not looked at.
    const char text[] = "joe@example.com!!!!";
    EXPECT_TRUE(IsValidEmailAddress(text, 15, 1));
    EXPECT_FALSE(IsValidEmailAddress(text, 0, 1));
    // Cut inside the top-level name: "co" is a country code, "c" is nothing.
    EXPECT_TRUE(IsValidEmailAddress(text, 14, 1));
    EXPECT_FALSE(IsValidEmailAddress(text, 13, 1));
    // Cut before the "@".
    EXPECT_FALSE(IsValidEmailAddress(text, 3, 1));
}

TEST(EmailAddress, TopLevelDomainsAreLookedUpIgnoringCase)
{
    struct Case {
        const char* why;
        const char* text;
        size_t length;
        bool known;
    };
    const Case cases[] = {
        {"first entry", "com", 0, true},
        {"first country code", "ac", 0, true},
        {"with its dot", ".Org", 0, true},
        {"mixed case", "InFo", 0, true},
        {"a longer text is not a prefix match", "comx", 0, false},
        {"a length picks the prefix", "comx", 3, true},
        {"gb", "gb", 0, false},
        {"empty", "", 0, false},
        {"a dot alone", ".", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.known, IsKnownTopLevelDomain(c.text, c.length));
    }
    EXPECT_FALSE(IsKnownTopLevelDomain(nullptr, 0));
}

TEST(EmailAddress, CharacterClassesAreAsciiOnly)
{
    // In a Western European locale the C runtime counts bytes such as 0xF6 as letters; an
    // address still may not hold them.
    const char* const locales[] = {"C", ".1252"};
    for (const char* locale : locales) {
        SCOPED_TRACE(locale);
        ASSERT_NE(nullptr, std::setlocale(LC_CTYPE, locale));
        if (std::strcmp(locale, "C") != 0) {
            ASSERT_TRUE(std::isalnum(0xF6)) << "the locale classes bytes above 127 as letters";
        }
        for (int code = 0; code < 256; ++code) {
            const char c = static_cast<char>(code);
            const bool alphanumeric = (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
                                      (code >= '0' && code <= '9');
            SCOPED_TRACE(code);
            EXPECT_EQ(alphanumeric || c == '-' || c == '.', IsEmailDomainChar(c));
            EXPECT_EQ(alphanumeric || c == '-' || c == '.' || c == '_', IsEmailLocalChar(c));
        }
    }
    std::setlocale(LC_CTYPE, "C");
}
