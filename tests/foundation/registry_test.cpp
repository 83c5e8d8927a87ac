// The registry wrapper against Wine's real registry, under a key of the tests'
// own that is removed before and after every test.
#include "lib/src/iRegistry.h"
#include "lib/src/iTempBufferRing.h"

#include "registry_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace {

using foundation_test::KeyExists;

const char kTestRoot[] = "Software\\SorvantaFoundationTests";
const char kTestCompany[] = "SorvantaFoundationTests";

// The raw type and bytes of a value, read straight from the registry.
bool ReadRaw(const char* path, const char* name, DWORD& type, std::string& bytes)
{
    char buffer[4096];
    DWORD size = sizeof buffer;
    if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_ANY | RRF_NOEXPAND, &type, buffer, &size) != ERROR_SUCCESS)
        return false;
    bytes.assign(buffer, size);
    return true;
}

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
        // As the program sets them at start-up, with the tests' own company.
        ASSERT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", kTestCompany, "SorvantaStd"));
    }
    void TearDown() override
    {
        ASSERT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", "Orvel++ Software Development", "Default"));
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
        EXPECT_FALSE(KeyExists(kTestRoot)) << "the tests left their key behind";
    }
};

} // namespace

TEST_F(RegistryTest, DefaultsBuildThePathAndMissingLevelsAreCreated)
{
    for (REGSAM access : {KEY_READ, KEY_ALL_ACCESS}) {
        SCOPED_TRACE(access);
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
        iRegistry key(HKEY_CURRENT_USER, "Window Hierarchy", access);
        EXPECT_EQ(0, key.GetStatus());
        EXPECT_STREQ("Software\\SorvantaFoundationTests\\SorvantaStd\\Window Hierarchy", key.GetPath());
        EXPECT_TRUE(KeyExists("Software\\SorvantaFoundationTests\\SorvantaStd\\Window Hierarchy"));
    }
    iRegistry byDefaultRoot("Other", KEY_ALL_ACCESS);
    EXPECT_STREQ("Software\\SorvantaFoundationTests\\SorvantaStd\\Other", byDefaultRoot.GetPath());
    EXPECT_EQ(0, byDefaultRoot.SetDWord("v", 1));
    EXPECT_TRUE(KeyExists("Software\\SorvantaFoundationTests\\SorvantaStd\\Other"));
}

TEST_F(RegistryTest, EmptyPartsAreLeftOutOfThePath)
{
    iRegistry key(HKEY_CURRENT_USER, kTestRoot, "", "", KEY_ALL_ACCESS, "X");
    EXPECT_STREQ("Software\\SorvantaFoundationTests\\X", key.GetPath());
    EXPECT_TRUE(KeyExists("Software\\SorvantaFoundationTests\\X"));
    iRegistry parts("Software", kTestCompany, "App", KEY_ALL_ACCESS, "");
    EXPECT_STREQ("Software\\SorvantaFoundationTests\\App", parts.GetPath());
}

TEST_F(RegistryTest, AllPartsEmptyOpensTheRootItself)
{
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kTestRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &root, nullptr));
    {
        iRegistry key(root, "", "", "", KEY_ALL_ACCESS, "");
        EXPECT_STREQ("", key.GetPath());
        EXPECT_EQ(0, key.SetDWord("AtRoot", 7));
    }
    RegCloseKey(root);
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRaw(kTestRoot, "AtRoot", type, bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
}

TEST_F(RegistryTest, SetDefaultsAppendsExtrasToTheApplicationPart)
{
    ASSERT_TRUE(
        iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", kTestCompany, "SorvantaStd", "A", "B", nullptr));
    iRegistry key(HKEY_CURRENT_USER, "", KEY_READ);
    EXPECT_STREQ("Software\\SorvantaFoundationTests\\SorvantaStd\\A\\B", key.GetPath());
    // A null extra ends the list even when one follows it.
    ASSERT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", kTestCompany, "SorvantaStd", nullptr, "B"));
    iRegistry plain(HKEY_CURRENT_USER, "", KEY_READ);
    EXPECT_STREQ("Software\\SorvantaFoundationTests\\SorvantaStd", plain.GetPath());
}

TEST_F(RegistryTest, OverLongDefaultsAreRefusedAndTheOldOnesKept)
{
    const std::string max(255, 'p');
    const std::string over(256, 'p');
    struct Case { const char* why; std::string software; std::string application; const char* extra; BOOL accepted; };
    const Case cases[] = {
        {"software part of 255", max, "App", nullptr, TRUE},
        {"software part of 256", over, "App", nullptr, FALSE},
        {"application part of 256", "Software", over, nullptr, FALSE},
        {"extra takes the application part to 255", "Software", std::string(253, 'a'), "b", TRUE},
        {"extra takes the application part to 256", "Software", std::string(254, 'a'), "b", FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", kTestCompany, "Kept"));
        BOOL accepted = iRegistry::SetDefaults(HKEY_CURRENT_USER, c.software.c_str(), kTestCompany,
                                               c.application.c_str(), c.extra);
        EXPECT_EQ(c.accepted, accepted);
        if (!accepted) {
            iRegistry key(HKEY_CURRENT_USER, "S", KEY_READ);
            EXPECT_STREQ("Software\\SorvantaFoundationTests\\Kept\\S", key.GetPath());
        }
    }
    EXPECT_FALSE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", over.c_str(), "App"));
}

TEST_F(RegistryTest, DWordValues)
{
    iRegistry key(HKEY_CURRENT_USER, "Values", KEY_ALL_ACCESS);
    DWORD value = 0;
    EXPECT_EQ(-1, key.QueryDWord("missing", &value));
    EXPECT_EQ(0, key.SetDWord("Zoomed", 0xDEADBEEF));
    EXPECT_EQ(0, key.QueryDWord("Zoomed", &value));
    EXPECT_EQ(0xDEADBEEFu, value);
    EXPECT_EQ(0, key.SetString("Text", "abc"));
    EXPECT_EQ(-1, key.QueryDWord("Text", &value));  // a string is not a DWORD
}

TEST_F(RegistryTest, BinaryValues)
{
    iRegistry key(HKEY_CURRENT_USER, "Values", KEY_ALL_ACCESS);
    const BYTE rect[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(0, key.SetBinary("Rect", rect, sizeof rect));
    BYTE back[32] = {};
    DWORD size = sizeof back;
    EXPECT_EQ(0, key.QueryBinary("Rect", back, &size));
    EXPECT_EQ(16u, size);
    EXPECT_EQ(0, memcmp(rect, back, sizeof rect));

    BYTE small[4] = {};
    size = sizeof small;
    EXPECT_EQ(-1, key.QueryBinary("Rect", small, &size));  // does not fit

    EXPECT_EQ(0, key.SetDWord("Number", 5));
    size = sizeof back;
    EXPECT_EQ(-1, key.QueryBinary("Number", back, &size));
    size = sizeof back;
    EXPECT_EQ(-1, key.QueryBinary("missing", back, &size));
}

TEST_F(RegistryTest, StringValues)
{
    iRegistry key(HKEY_CURRENT_USER, "Values", KEY_ALL_ACCESS);
    EXPECT_EQ(0, key.SetString("Empty", ""));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRaw("Software\\SorvantaFoundationTests\\SorvantaStd\\Values", "Empty", type, bytes));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(std::string(1, '\0'), bytes);  // one zero byte

    iString text("before");
    EXPECT_EQ(0, key.QueryString("Empty", text));
    EXPECT_STREQ("", text);

    std::string longText(3000, 'L');  // larger than any buffer of the scratch pool
    EXPECT_EQ(0, key.SetString("Long", longText.c_str()));
    EXPECT_EQ(0, key.QueryString("Long", text));
    EXPECT_EQ(longText, std::string(text));

    EXPECT_EQ(0, key.SetDWord("Number", 5));
    text = "kept";
    EXPECT_EQ(-1, key.QueryString("Number", text));
    EXPECT_EQ(-1, key.QueryString("missing", text));
    EXPECT_STREQ("kept", text);
}

TEST_F(RegistryTest, StringStoredWithoutItsZeroIsReadWhole)
{
    iRegistry key(HKEY_CURRENT_USER, "Values", KEY_ALL_ACCESS);
    HKEY raw = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\SorvantaFoundationTests\\SorvantaStd\\Values",
                                           0, KEY_ALL_ACCESS, &raw));
    // Dirty the scratch buffers first: leftovers must not show up after the text.
    for (int i = 0; i < 40; ++i)
        memset(TempBuffer(16), 'X', 16);
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(raw, "NoZero", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3));
    RegCloseKey(raw);
    iString text;
    EXPECT_EQ(0, key.QueryString("NoZero", text));
    EXPECT_STREQ("abc", text);
}

TEST_F(RegistryTest, CloseTwiceAndValuesAfterClose)
{
    iRegistry key(HKEY_CURRENT_USER, "Values", KEY_ALL_ACCESS);
    EXPECT_EQ(1, key.Close());
    EXPECT_EQ(0, key.Close());
    EXPECT_EQ(-1, key.GetStatus());
    DWORD value = 0;
    iString text;
    BYTE data[4];
    DWORD size = sizeof data;
    EXPECT_EQ(-1, key.SetDWord("v", 1));
    EXPECT_EQ(-1, key.QueryDWord("v", &value));
    EXPECT_EQ(-1, key.SetBinary("v", data, size));
    EXPECT_EQ(-1, key.QueryBinary("v", data, &size));
    EXPECT_EQ(-1, key.SetString("v", "t"));
    EXPECT_EQ(-1, key.QueryString("v", text));
    EXPECT_NE(ERROR_SUCCESS, key.EnumKey(0, text, nullptr));
}

TEST_F(RegistryTest, ChildKeys)
{
    iRegistry parent(HKEY_CURRENT_USER, "Store", KEY_ALL_ACCESS);
    {
        iRegistry child(parent, "Common", 0);  // the parent's rights, which may create
        EXPECT_EQ(0, child.GetStatus());
        EXPECT_STREQ("", child.GetPath());
        EXPECT_EQ(0, child.SetDWord("v", 3));
    }
    EXPECT_TRUE(KeyExists("Software\\SorvantaFoundationTests\\SorvantaStd\\Store\\Common"));

    iRegistry readOnly(parent, "Missing", KEY_READ);  // reading never creates
    EXPECT_EQ(static_cast<LONG>(ERROR_FILE_NOT_FOUND), readOnly.GetStatus());
    DWORD value = 0;
    EXPECT_EQ(-1, readOnly.QueryDWord("v", &value));
    EXPECT_FALSE(KeyExists("Software\\SorvantaFoundationTests\\SorvantaStd\\Store\\Missing"));

    iRegistry existing(parent, "Common", KEY_READ);
    EXPECT_EQ(0, existing.QueryDWord("v", &value));
    EXPECT_EQ(3u, value);

    parent.Close();
    iRegistry orphan(parent, "Common", 0);
    EXPECT_NE(0, orphan.GetStatus());
    EXPECT_EQ(-1, orphan.QueryDWord("v", &value));
}

TEST_F(RegistryTest, EnumeratesSubkeysAndValues)
{
    iRegistry key(HKEY_CURRENT_USER, "Enum", KEY_ALL_ACCESS);
    { iRegistry a(key, "alpha", 0); }
    { iRegistry b(key, "beta", 0); }
    std::set<std::string> names;
    iString name;
    iString className("x");
    FILETIME written = {};
    EXPECT_EQ(ERROR_SUCCESS, key.EnumKey(0, name, &written));
    names.insert(std::string(name));
    EXPECT_EQ(ERROR_SUCCESS, key.EnumKey(1, name, className, nullptr));
    names.insert(std::string(name));
    EXPECT_STREQ("", className);
    EXPECT_EQ(static_cast<LONG>(ERROR_NO_MORE_ITEMS), key.EnumKey(2, name, nullptr));
    EXPECT_EQ((std::set<std::string>{"alpha", "beta"}), names);
    EXPECT_NE(0u, written.dwLowDateTime | written.dwHighDateTime);

    EXPECT_EQ(0, key.SetDWord("Count", 9));
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    EXPECT_EQ(ERROR_SUCCESS, key.EnumValue(0, name, &type, &data, &size));
    EXPECT_STREQ("Count", name);
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(9u, data);
    EXPECT_EQ(static_cast<LONG>(ERROR_NO_MORE_ITEMS), key.EnumValue(1, name, &type, &data, &size));
}
