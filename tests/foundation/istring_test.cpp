// The system's string: its extra constructors, truncation, counted assignment,
// numbers in any radix, and the searches it adds to the framework string.
#include "lib/src/iString.h"

#include "framework/ResourceModule.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

// The text as bytes, embedded zeros included.
std::string Bytes(const iString& s)
{
    return std::string(static_cast<LPCSTR>(s), static_cast<size_t>(s.GetLength()));
}

// Makes a string table of a system module the resource module for one test.
class ResourceFrom {
public:
    explicit ResourceFrom(HMODULE module) : m_previous(AfxGetResourceHandle()) { AfxSetResourceHandle(module); }
    ~ResourceFrom() { AfxSetResourceHandle(m_previous); }
    ResourceFrom(const ResourceFrom&) = delete;
    ResourceFrom& operator=(const ResourceFrom&) = delete;

private:
    HINSTANCE m_previous;
};

} // namespace

TEST(iString, Constructors)
{
    EXPECT_EQ("", Bytes(iString()));
    EXPECT_EQ("", Bytes(iString(static_cast<const char*>(nullptr))));
    EXPECT_EQ("zzz", Bytes(iString('z', 3)));
    EXPECT_EQ("ab", Bytes(iString("abcdef", 2)));
    EXPECT_EQ(std::string("a\0b", 3), Bytes(iString("a\0b", 3)));
    EXPECT_EQ("uc", Bytes(iString(reinterpret_cast<const unsigned char*>("uc"))));
    EXPECT_EQ("wide", Bytes(iString(L"wide")));
    EXPECT_EQ("wi", Bytes(iString(L"wide", 2)));
    EXPECT_EQ("", Bytes(iString(static_cast<const wchar_t*>(nullptr))));
    EXPECT_EQ("", Bytes(iString(L"wide", 0)));
    CString framework("shared");
    iString copy(framework);
    EXPECT_EQ("shared", Bytes(copy));
}

TEST(iString, MissingStringTableIdIsDescribed)
{
    iString s(12345u);
    EXPECT_STREQ("Resource string id '12345' [0x3039] not found!", s);
}

TEST(iString, StringTableIdLoadsTheEntry)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    ASSERT_NE(nullptr, user32);
    // The first entry the module has, read straight from the platform.
    char expected[256] = "";
    UINT id = 0;
    for (; id < 4096; ++id) {
        if (LoadStringA(user32, id, expected, sizeof expected) > 0)
            break;
    }
    ASSERT_LT(id, 4096u) << "user32 has no string table";
    ResourceFrom resources(user32);
    EXPECT_STREQ(expected, iString(id));
}

TEST(iString, SetLengthTruncates)
{
    struct Case { const char* why; int n; std::string expected; };
    const std::string text("abc\0ef", 6);
    const Case cases[] = {
        {"shorter", 2, "ab"},
        {"zero", 0, ""},
        {"negative", -3, ""},
        {"equal", 6, text},
        {"larger leaves the text", 50, text},
        {"cut at an embedded zero before n", 5, "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iString s(text.data(), 6);
        iString shared(s);
        s.SetLength(c.n);
        EXPECT_EQ(c.expected, Bytes(s));
        EXPECT_EQ(text, Bytes(shared));  // a copy is not cut with it
    }
}

TEST(iString, AssignCopiesExactlyNBytes)
{
    iString s("old text");
    s.Assign("ab", 4);
    EXPECT_EQ(std::string("ab\0\0", 4), Bytes(s));
    s.Assign("whole", 0);
    EXPECT_EQ("whole", Bytes(s));
    s.Assign("abcdef", 3);
    EXPECT_EQ("abc", Bytes(s));
    s.Assign(nullptr, 0);
    EXPECT_EQ("", Bytes(s));
}

TEST(iString, AssignFromItsOwnCharacters)
{
    iString s("abcdef");
    s.Assign(static_cast<LPCSTR>(s) + 2, 3);
    EXPECT_EQ("cde", Bytes(s));
}

TEST(iString, NumbersInARadix)
{
    iString s;
    EXPECT_STREQ("FFFFFFFF", s.SetInt(-1, 16));
    EXPECT_STREQ("-1", s.SetInt(-1, 10));
    EXPECT_STREQ("-2147483648", s.SetInt(INT_MIN, 10));
    EXPECT_STREQ("10000000000000000000000000000000", s.SetInt(INT_MIN, 2));
    EXPECT_STREQ("FFFFFFFFFFFFFF01", s.SetInt64(-255, 16));
    EXPECT_STREQ("-255", s.SetInt64(-255, 10));
    EXPECT_STREQ("0", s.SetUInt64(0, 2));
    EXPECT_STREQ("3W5E11264SGSF", s.SetUInt64(ULLONG_MAX, 36));
    EXPECT_EQ(&s, &s.SetInt(1, 10));
}

TEST(iString, BinaryTextOfTheWidestValuesFits)
{
    iString s;
    EXPECT_EQ(std::string(64, '1'), Bytes(s.SetUInt64(ULLONG_MAX, 2)));
    EXPECT_EQ(std::string(64, '1'), Bytes(s.SetInt64(-1, 2)));
    EXPECT_EQ(std::string(32, '1'), Bytes(s.SetInt(-1, 2)));
    EXPECT_EQ(std::string(21, '1'), Bytes(s.SetUInt64(ULLONG_MAX >> 43, 2)));
}

TEST(iString, RadixOutsideTwoToThirtySixLeavesItEmpty)
{
    for (int radix : {0, 1, 37, -16}) {
        SCOPED_TRACE(radix);
        iString s("before");
        EXPECT_STREQ("", s.SetInt(5, radix));
        s = "before";
        EXPECT_STREQ("", s.SetInt64(5, radix));
        s = "before";
        EXPECT_STREQ("", s.SetUInt64(5, radix));
    }
}

TEST(iString, FindOneOfFromAnIndex)
{
    iString s("a.b/c.d");
    struct Case { int start; int expected; };
    const Case cases[] = {{0, 1}, {1, 1}, {2, 3}, {4, 5}, {6, -1}, {7, -1}, {100, -1}, {-5, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        EXPECT_EQ(c.expected, s.FindOneOf("./", c.start));
    }
    EXPECT_EQ(1, s.FindOneOf("./"));  // the framework's form is still there
    EXPECT_EQ(-1, s.FindOneOf(nullptr, 0));
}

TEST(iString, ReverseFindOneOfWithinTheFirstN)
{
    iString s("a/b\\c");
    EXPECT_EQ(3, s.ReverseFindOneOf("/\\", 5));
    EXPECT_EQ(1, s.ReverseFindOneOf("/\\", 3));
    EXPECT_EQ(-1, s.ReverseFindOneOf("/\\", 1));
    EXPECT_EQ(-1, s.ReverseFindOneOf("/\\", 0));
    EXPECT_EQ(-1, s.ReverseFindOneOf("/\\", -2));
}

TEST(iString, ReverseFindOneOfIgnoresBytesPastTheText)
{
    // The buffer beyond the text is full of separators; a count past the length
    // must not find them.
    iString s;
    char* buffer = s.GetBuffer(32);
    memset(buffer, '/', 32);
    memcpy(buffer, "abc", 4);
    s.ReleaseBuffer(3);
    EXPECT_EQ(-1, s.ReverseFindOneOf("/", 32));
    EXPECT_EQ(-1, s.ReverseFindOneOf("/", INT_MAX));
}

TEST(iString, FindNoCase)
{
    iString s("xyzabc");
    struct Case { const char* sub; int start; int expected; };
    const Case cases[] = {
        {"ABC", 0, 3}, {"ABC", 3, 3}, {"ABC", 4, -1}, {"ABC", 6, -1}, {"ABC", 7, -1},
        {"Yz", 0, 1}, {"", 0, -1}, {"xyzabcd", 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sub) + " from " + std::to_string(c.start));
        EXPECT_EQ(c.expected, s.FindNoCase(c.sub, c.start));
    }
    EXPECT_EQ(3, s.FindNoCase("aBc"));
    EXPECT_EQ(-1, iString().FindNoCase("a"));
}
