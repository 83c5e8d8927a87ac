// URL encoding: which bytes stay and how the others are written, measuring, and
// the encoding buffer's boundaries (the text exactly fits, one byte short, tiny
// buffers), checked with guard bytes so that any write past the end shows.
#include "lib/src/UrlEncode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr char kGuard = '\x5A';

// Encodes into a buffer of room bytes followed by guard bytes; fails the test
// when a guard byte changed.
struct Encoded {
    int result;
    DWORD size;
    std::string text;
};

Encoded EncodeInto(const char* text, DWORD room)
{
    std::vector<char> memory(room + 16, kGuard);
    DWORD size = room;
    int result = UrlEncodeBuffer(text, memory.data(), &size);
    for (size_t i = room; i < memory.size(); ++i)
        EXPECT_EQ(kGuard, memory[i]) << "byte " << i << " written past a buffer of " << room;
    std::string written = room > 0 ? std::string(memory.data(), strnlen(memory.data(), room)) : std::string();
    return {result, size, written};
}

} // namespace

TEST(UrlEncode, SafeCharactersAreExactlyLettersDigitsAndFourMarks)
{
    std::string safe;
    for (int c = 0; c < 256; ++c) {
        if (IsUrlSafeChar(static_cast<char>(c)))
            safe += static_cast<char>(c);
    }
    EXPECT_EQ("*-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz", safe);
}

TEST(UrlEncode, EncodesEachKindOfCharacter)
{
    struct Case {
        const char* why;
        const char* text;
        const char* encoded;
    };
    const Case kCases[] = {
        {"unreserved marks stay", "x.y*z_w-v", "x.y*z_w-v"},
        {"letters and digits stay", "AZaz09", "AZaz09"},
        {"blank and ampersand", "a b&c", "a%20b%26c"},
        {"blank has no plus form", " ", "%20"},
        {"reserved characters", ":/?#[]@!$'()+,;=", "%3A%2F%3F%23%5B%5D%40%21%24%27%28%29%2B%2C%3B%3D"},
        {"tilde and percent are encoded too", "~%", "%7E%25"},
        {"control characters", "\t\r\n\x01\x7F", "%09%0D%0A%01%7F"},
        {"high bytes in upper-case hex", "\xE9\x80\xFF", "%E9%80%FF"},
        {"empty text", "", ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_STREQ(c.encoded, UrlEncode(c.text));
        iString out("previous");
        UrlEncode(out, c.text);
        EXPECT_STREQ(c.encoded, out);
    }
    EXPECT_STREQ("", UrlEncode(nullptr));
}

TEST(UrlEncode, MeasuringGivesTheEncodedLength)
{
    struct Case {
        const char* text;
        DWORD length;
    };
    const Case kCases[] = {{"", 0}, {"abc", 3}, {"   ", 9}, {"a b", 5}, {"\xFF", 3}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        DWORD size = 12345;
        EXPECT_EQ(1, UrlEncodeBuffer(c.text, nullptr, &size));
        EXPECT_EQ(c.length, size);
    }
}

TEST(UrlEncode, BufferBoundaries)
{
    struct Case {
        const char* why;
        const char* text;
        DWORD room;
        int result;
        const char* written;
    };
    const Case kCases[] = {
        {"abc one byte short stops while five are free", "abc", 6, 0, "ab"},
        {"abc exactly fits: length plus four", "abc", 7, 1, "abc"},
        {"encoded byte exactly fits", "a b", 9, 1, "a%20b"},
        {"encoded byte one short is left out whole", "a b", 8, 0, "a%20"},
        {"escape not split at the end", " ", 5, 1, "%20"},
        {"escape not split, one short", " ", 4, 0, ""},
        {"one byte holds only the zero", "abc", 1, 0, ""},
        {"empty text in one byte", "", 1, 1, ""},
        {"high bytes one short", "\xE9\xE9\xE9", 10, 0, "%E9%E9"},
        {"high bytes exactly fit: the last escape starts five before the end", "\xE9\xE9\xE9", 11, 1, "%E9%E9%E9"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        Encoded e = EncodeInto(c.text, c.room);
        EXPECT_EQ(c.result, e.result);
        EXPECT_EQ(c.written, e.text);
        EXPECT_EQ(strlen(c.written), e.size);
    }
}

TEST(UrlEncode, NeverWritesPastTheBufferWhateverTheInput)
{
    // Every byte value, in every buffer size from nothing to more than enough.
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    DWORD needed = 0;
    ASSERT_EQ(1, UrlEncodeBuffer(all.c_str(), nullptr, &needed));
    // The last byte, 0xFF, becomes three bytes and starts with five still free.
    const DWORD wholeRoom = needed - 3 + 5;
    for (DWORD room = 0; room <= needed + 6; ++room) {
        SCOPED_TRACE("room " + std::to_string(room));
        Encoded e = EncodeInto(all.c_str(), room);
        EXPECT_EQ(room >= wholeRoom ? 1 : 0, e.result);
        EXPECT_EQ(0, strncmp(e.text.c_str(), UrlEncode(all.c_str()), e.text.size()));
        if (room > 0) {
            EXPECT_LE(e.size + 1, room);
        }
    }
}

TEST(UrlEncode, ZeroByteBufferIsLeftUntouched)
{
    Encoded empty = EncodeInto("", 0);
    EXPECT_EQ(0, empty.result);
    Encoded text = EncodeInto("abc", 0);
    EXPECT_EQ(0, text.result);
    EXPECT_EQ(0u, text.size);
}

TEST(UrlEncode, NullSizeIsRefused)
{
    char buffer[8] = "unset";
    EXPECT_EQ(0, UrlEncodeBuffer("abc", buffer, nullptr));
    EXPECT_EQ(0, UrlEncodeBuffer("abc", nullptr, nullptr));
    EXPECT_STREQ("unset", buffer);
}

TEST(UrlEncode, LongTextIsEncodedWhole)
{
    std::string text(5000, ' ');
    iString encoded = UrlEncode(text.c_str());
    EXPECT_EQ(15000, encoded.GetLength());
    EXPECT_EQ(0, strncmp("%20%20", encoded, 6));
}
