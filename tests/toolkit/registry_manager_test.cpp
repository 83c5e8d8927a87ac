// The toolkit's settings store, in the registry of the test prefix and in profile files:
// round trips, the not-registered application, and stored values that are not what the
// store wrote (wrong type, wrong size, no terminator, long names, long texts).
#include "toolkit/foundation/QZRegistryManager.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit_test_support.h"

#include <cstring>
#include <string>

namespace {

constexpr char kCompany[] = "SorvantaToolkitTest";
constexpr char kAppName[] = "StoreTest";
constexpr char kSectionPath[] = "Software\\SorvantaToolkitTest\\StoreTest\\Section";

struct Placement {
    int x;
    int y;
    char name[8];
};

class StoreApp : public CWinApp {
public:
    StoreApp() : CWinApp(kAppName) {}
};

// An application registered under its own key, removed whole afterwards.
class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override { app.SetRegistryKey(kCompany); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaToolkitTest"); }

    HKEY OpenSection()
    {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, kSectionPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        return key;
    }
    void SetRaw(LPCSTR name, DWORD type, const void* data, DWORD size)
    {
        HKEY key = OpenSection();
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
        RegCloseKey(key);
    }
    bool KeyExists(LPCSTR path)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    StoreApp app;
};

} // namespace

TEST_F(RegistryStoreTest, RoundTripsUnderTheApplicationsKey)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    EXPECT_TRUE(store.WriteProfileInt("Section", "Count", -17));
    EXPECT_TRUE(store.WriteProfileString("Section", "Name", "Tool bar"));
    BYTE bytes[] = {0x00, 0xFF, 0x3C, 0x80};
    EXPECT_TRUE(store.WriteProfileBinary("Section", "Bytes", bytes, sizeof bytes));
    Placement placement = {3, 4, "abc"};
    EXPECT_TRUE(store.WriteProfileBinary("Section", "Placement", reinterpret_cast<LPBYTE>(&placement),
                                         sizeof placement));
    ASSERT_TRUE(KeyExists(kSectionPath));

    CQZRegistryManager reader(HKEY_CURRENT_USER);
    EXPECT_EQ(-17, reader.GetProfileInt("Section", "Count", 5));
    EXPECT_STREQ("Tool bar", reader.GetProfileString("Section", "Name"));
    BYTE* read = nullptr;
    UINT size = 0;
    ASSERT_TRUE(reader.GetProfileBinary("Section", "Bytes", &read, &size));
    ASSERT_EQ(sizeof bytes, size);
    EXPECT_EQ(0, std::memcmp(bytes, read, size));
    delete[] read;
    Placement back = {};
    ASSERT_TRUE(reader.GetProfileInfo("Section", "Placement", &back));
    EXPECT_EQ(4, back.y);
    EXPECT_STREQ("abc", back.name);
    // Missing entries give the defaults.
    EXPECT_EQ(5, reader.GetProfileInt("Section", "Missing", 5));
    EXPECT_STREQ("none", reader.GetProfileString("Section", "Missing", "none"));
    EXPECT_STREQ("", reader.GetProfileString("Section", "Missing"));
    EXPECT_FALSE(reader.GetProfileBinary("Section", "Missing", &read, &size));
    EXPECT_EQ(nullptr, read);
}

TEST_F(RegistryStoreTest, StoredValueOfAnotherSizeIsNotReadIntoTheObject)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    BYTE longer[sizeof(Placement) + 8];
    std::memset(longer, 0x5A, sizeof longer);
    ASSERT_TRUE(store.WriteProfileBinary("Section", "Longer", longer, sizeof longer));
    ASSERT_TRUE(store.WriteProfileBinary("Section", "Shorter", longer, 2));
    // The object sits between guards that an overrun would touch.
    struct Guarded {
        BYTE before[8];
        Placement placement;
        BYTE after[16];
    } guarded;
    std::memset(&guarded, 0x11, sizeof guarded);
    EXPECT_FALSE(store.GetProfileInfo("Section", "Longer", &guarded.placement));
    EXPECT_FALSE(store.GetProfileInfo("Section", "Shorter", &guarded.placement));
    for (size_t i = 0; i < sizeof guarded; ++i)
        ASSERT_EQ(0x11, reinterpret_cast<BYTE*>(&guarded)[i]) << "byte " << i << " was written";
}

TEST_F(RegistryStoreTest, TextsAreReadOnlyFromTextValuesAndAlwaysEnd)
{
    // Written with the raw API: three characters without their terminator.
    SetRaw("Unterminated", REG_SZ, "abc", 3);
    const BYTE binary[] = {'x', 'y', 'z', 'w'};
    SetRaw("Binary", REG_BINARY, binary, sizeof binary);
    SetRaw("Expandable", REG_EXPAND_SZ, "%TEMP%\\x", 9);
    const DWORD number = 7;
    SetRaw("Number", REG_DWORD, &number, sizeof number);
    CQZRegistryManager store(HKEY_CURRENT_USER);
    struct Case {
        const char* why;
        const char* entry;
        const char* expected;
    };
    const Case cases[] = {
        {"a text without its terminator ends at its last byte", "Unterminated", "abc"},
        {"bytes under a text's name give the default", "Binary", "default"},
        {"an integer under a text's name gives the default", "Number", "default"},
        {"an expandable text is a text, unexpanded", "Expandable", "%TEMP%\\x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_STREQ(c.expected, store.GetProfileString("Section", c.entry, "default"));
    }
}

TEST_F(RegistryStoreTest, IntegersAreReadOnlyFromDwordValues)
{
    // "12" would read as 0x3231 = 12849 if its bytes were taken as a number.
    SetRaw("Text", REG_SZ, "12", 3);
    const BYTE four[] = {1, 0, 0, 0};
    SetRaw("Bytes", REG_BINARY, four, sizeof four);
    CQZRegistryManager store(HKEY_CURRENT_USER);
    EXPECT_EQ(-1, store.GetProfileInt("Section", "Text", -1));
    EXPECT_EQ(-1, store.GetProfileInt("Section", "Bytes", -1));
    ASSERT_TRUE(store.WriteProfileInt("Section", "Number", 12));
    EXPECT_EQ(12, store.GetProfileInt("Section", "Number", -1));
}

TEST_F(RegistryStoreTest, SectionGoesWithItsSubKeys)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    ASSERT_TRUE(store.WriteProfileInt("Section", "Value", 1));
    ASSERT_TRUE(store.WriteProfileInt("Section\\Bar0", "Value", 2));
    ASSERT_TRUE(store.WriteProfileInt("Section\\Bar0\\Deeper", "Value", 3));
    EXPECT_TRUE(store.WriteProfileString("Section", nullptr, nullptr));
    EXPECT_FALSE(KeyExists(kSectionPath));
    EXPECT_TRUE(KeyExists("Software\\SorvantaToolkitTest\\StoreTest")) << "only the section goes";

    ASSERT_TRUE(store.WriteProfileString("Section", "Entry", "x"));
    EXPECT_TRUE(store.WriteProfileString("Section", "Entry", nullptr));
    EXPECT_STREQ("gone", store.GetProfileString("Section", "Entry", "gone"));
}

TEST_F(RegistryStoreTest, DeletesSubKeysAndValuesAndEnumeratesLongNames)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    ASSERT_TRUE(store.WriteProfileInt("Section\\Child", "v", 1));
    ASSERT_TRUE(store.WriteProfileInt("Section\\Child\\Grandchild", "v", 1));
    ASSERT_TRUE(store.WriteProfileInt("Section\\Other", "v", 1));
    // A value name past 255 characters: a fixed 255-character buffer never gets past it.
    const std::string longName(300, 'n');
    ASSERT_TRUE(store.WriteProfileInt("Section", longName.c_str(), 9));
    ASSERT_TRUE(store.WriteProfileString("Section", "Short", "s"));

    CQZValueTypeMap types;
    CStringArray names;
    EXPECT_EQ(2, store.EnumValues("Section", &types, &names));
    DWORD type = 0;
    EXPECT_TRUE(types.Lookup(longName.c_str(), type));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_TRUE(types.Lookup("Short", type));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(2, names.GetSize());
    EXPECT_EQ(2, store.EnumValues("Section", nullptr, nullptr));

    CStringArray keys;
    EXPECT_EQ(2, store.EnumKeys("Section", keys));
    EXPECT_TRUE(store.DeleteKey("Section", "Child"));
    CStringArray left;
    EXPECT_EQ(1, store.EnumKeys("Section", left));
    EXPECT_STREQ("Other", left.GetAt(0));
    EXPECT_TRUE(store.DeleteValue("Section", "Short"));
    EXPECT_FALSE(store.DeleteValue("Section", "Short"));
    EXPECT_EQ(1, store.EnumValues("Section", nullptr, nullptr));
}

TEST(RegistryStoreNotRegistered, ReadsGiveDefaultsAndWritesTouchNothing)
{
    StoreApp app;
    ASSERT_EQ(nullptr, app.m_pszRegistryKey);
    CQZRegistryManager store(HKEY_CURRENT_USER);
    EXPECT_FALSE(store.WriteProfileInt("Section", "Count", 1));
    EXPECT_FALSE(store.WriteProfileString("Section", "Name", "x"));
    BYTE byte = 1;
    EXPECT_FALSE(store.WriteProfileBinary("Section", "Bytes", &byte, 1));
    EXPECT_EQ(4, store.GetProfileInt("Section", "Count", 4));
    EXPECT_STREQ("default", store.GetProfileString("Section", "Name", "default"));
    BYTE* data = reinterpret_cast<BYTE*>(1);
    UINT size = 9;
    EXPECT_FALSE(store.GetProfileBinary("Section", "Bytes", &data, &size));
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(nullptr, store.GetAppRegistryKey());
}

namespace {

// Profile-file mode: the global record names a file in a scratch folder of its own.
class ProfileStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "qz_store_test_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        file = folder + "\\settings.ini";
        saved = qzAfxData.iniFileName;
        qzAfxData.iniFileName = file.c_str();
    }
    void TearDown() override
    {
        qzAfxData.iniFileName = saved;
        DeleteFileA(file.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string RawText(LPCSTR entry)
    {
        char text[256] = {};
        GetPrivateProfileStringA("Section", entry, "", text, sizeof text, file.c_str());
        return text;
    }

    std::string folder;
    std::string file;
    CString saved;
};

} // namespace

TEST_F(ProfileStoreTest, BytesAreTwoLettersEachLowHalfFirst)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    BYTE bytes[] = {0x00, 0xFF, 0x3C};
    ASSERT_TRUE(store.WriteProfileBinary("Section", "Bytes", bytes, sizeof bytes));
    EXPECT_EQ("AAPPMD", RawText("Bytes"));
    BYTE* read = nullptr;
    UINT size = 0;
    ASSERT_TRUE(store.GetProfileBinary("Section", "Bytes", &read, &size));
    ASSERT_EQ(3u, size);
    EXPECT_EQ(0, std::memcmp(bytes, read, 3));
    delete[] read;
    // An odd last letter belongs to no byte.
    WritePrivateProfileStringA("Section", "Odd", "AAPPM", file.c_str());
    ASSERT_TRUE(store.GetProfileBinary("Section", "Odd", &read, &size));
    EXPECT_EQ(2u, size);
    delete[] read;
    // Letters outside A..P are no value of this store's.
    WritePrivateProfileStringA("Section", "Foreign", "AAPZ", file.c_str());
    EXPECT_FALSE(store.GetProfileBinary("Section", "Foreign", &read, &size));
    EXPECT_EQ(nullptr, read);
    WritePrivateProfileStringA("Section", "Empty", "", file.c_str());
    EXPECT_FALSE(store.GetProfileBinary("Section", "Empty", &read, &size));
}

TEST_F(ProfileStoreTest, IntegersTextsAndTypedInfoRoundTrip)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    ASSERT_TRUE(store.WriteProfileInt("Section", "Count", -42));
    EXPECT_EQ("-42", RawText("Count"));
    EXPECT_EQ(-42, store.GetProfileInt("Section", "Count", 0));
    ASSERT_TRUE(store.WriteProfileString("Section", "Name", "Main bar"));
    EXPECT_STREQ("Main bar", store.GetProfileString("Section", "Name"));
    EXPECT_STREQ("dflt", store.GetProfileString("Section", "Missing", "dflt"));
    Placement placement = {7, 8, "pos"};
    ASSERT_TRUE(store.WriteProfileBinary("Section", "Placement", reinterpret_cast<LPBYTE>(&placement),
                                         sizeof placement));
    Placement back = {};
    ASSERT_TRUE(store.GetProfileInfo("Section", "Placement", &back));
    EXPECT_EQ(8, back.y);
    short tooSmall = 0;
    EXPECT_FALSE(store.GetProfileInfo("Section", "Placement", &tooSmall));
    EXPECT_EQ(0, tooSmall);
    // A null entry removes the section.
    ASSERT_TRUE(store.WriteProfileString("Section", nullptr, nullptr));
    EXPECT_EQ(5, store.GetProfileInt("Section", "Count", 5));
}

TEST_F(ProfileStoreTest, LongValuesComeBackWhole)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    std::vector<BYTE> bytes(5000);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<BYTE>(i * 7 + 3);
    ASSERT_TRUE(store.WriteProfileBinary("Section", "Large", bytes.data(), static_cast<UINT>(bytes.size())));
    BYTE* read = nullptr;
    UINT size = 0;
    ASSERT_TRUE(store.GetProfileBinary("Section", "Large", &read, &size));
    ASSERT_EQ(5000u, size);
    EXPECT_EQ(0, std::memcmp(bytes.data(), read, size));
    delete[] read;
    std::string text(9000, 'q');
    text.back() = 'Z';
    ASSERT_TRUE(store.WriteProfileString("Section", "Text", text.c_str()));
    EXPECT_EQ(text, std::string(store.GetProfileString("Section", "Text")));
}
