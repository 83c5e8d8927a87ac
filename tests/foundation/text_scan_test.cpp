// The text scanner: fields are read as the format directs, and the text itself is
// never written, even when the scanner has to step back over a character.
#include "lib/src/TextScan.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

namespace {

int Scan(const char* text, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    int result = StrScan(text, format, args);
    va_end(args);
    return result;
}

} // namespace

TEST(TextScan, ReadsFieldsAndCountsThem)
{
    int a = 0;
    int b = 0;
    char word[16] = "";
    EXPECT_EQ(3, Scan("12,34 name", "%d,%d %15s", &a, &b, word));
    EXPECT_EQ(12, a);
    EXPECT_EQ(34, b);
    EXPECT_STREQ("name", word);
    EXPECT_EQ(1, Scan("7x", "%d,%d", &a, &b));  // stops at the first mismatch
    EXPECT_EQ(7, a);
    EXPECT_EQ(0, Scan("x", "%d", &a));
}

TEST(TextScan, EmptyOrNullTextGivesMinusOne)
{
    int a = 0;
    EXPECT_EQ(-1, Scan("", "%d", &a));
    EXPECT_EQ(-1, Scan(nullptr, "%d", &a));
    EXPECT_EQ(-1, Scan("5", nullptr));
}

TEST(TextScan, NeverWritesItsText)
{
    // The text lies in a read-only page: any store into it would fault. Every
    // number here ends on a character the scanner must look at and give back.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    char* page = static_cast<char*>(VirtualAlloc(nullptr, info.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(nullptr, page);
    strcpy(page, "10;20;0x1Fz 3.5e");
    DWORD old = 0;
    ASSERT_TRUE(VirtualProtect(page, info.dwPageSize, PAGE_READONLY, &old));

    int a = 0;
    int b = 0;
    int c = 0;
    char tail = 0;
    EXPECT_EQ(4, Scan(page, "%d;%d;%i%c", &a, &b, &c, &tail));
    EXPECT_EQ(10, a);
    EXPECT_EQ(20, b);
    EXPECT_EQ(31, c);
    EXPECT_EQ('z', tail);
    EXPECT_STREQ("10;20;0x1Fz 3.5e", page);
    VirtualFree(page, 0, MEM_RELEASE);
}
