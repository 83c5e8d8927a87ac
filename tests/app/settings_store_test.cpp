// The Option, Setup and Usage stores against Wine's real registry, below a company key
// of the tests' own: first-run values, the stored value types, values edited by hand
// (wrong type, wrong size, out of range), and values that must survive a run unchanged.
#include "test_stores.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace settings_store_test {

using namespace app_test;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteTestKeys(); }
    void TearDown() override { DeleteTestKeys(); }
};

// The user's pictures folder as the shell gives it, asked independently of the store.
std::string PicturesFolder()
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
        return "C:\\";
    return path;
}

} // namespace

TEST_F(SettingsStoreTest, FirstRunGivesTheDocumentedValuesAndExitWritesThemAll)
{
    TestOption option;
    option.LoadFromRegistry();
    const Option::Common& common = option.m_common;
    EXPECT_EQ(PicturesFolder(), common.m_defaultOpenIn.GetText());
    EXPECT_EQ(PicturesFolder(), common.m_defaultSaveIn.GetText());
    EXPECT_EQ(0, common.m_displayGraphicsOnly.Value());
    EXPECT_EQ(0, common.m_displayFullPathInTitle.Value());
    EXPECT_EQ(Option::kDisplayComplete, common.m_displaySize.Value());
    EXPECT_EQ(0, common.m_automaticPreviewDisplay.Value());
    EXPECT_EQ(0, common.m_alwaysBackupCopy.Value());
    EXPECT_EQ(1, common.m_confirmOverwrite.Value());
    for (int bit = 0; bit < 1024; ++bit) {
        const bool isSaveFormat = bit == 2 || bit == 20 || bit == 31 || bit == 39 || bit == 41;
        ASSERT_EQ(isSaveFormat ? 1 : 0, option.m_fileType.m_fileType.TestBit(bit)) << "bit " << bit;
    }

    option.SaveToRegistry();
    struct Expected { const char* name; DWORD type; DWORD dword; };
    const Expected flags[] = {
        {"Display Graphics Only", REG_DWORD, 0}, {"Display Full Path In Title", REG_DWORD, 0},
        {"Automatic Preview Display", REG_DWORD, 0}, {"Always Backup Copy", REG_DWORD, 0},
        {"Confirm Overwrite", REG_DWORD, 1}, {"Display Size", REG_BINARY, 0},
    };
    for (const Expected& e : flags) {
        SCOPED_TRACE(e.name);
        StoredValue value = ReadValue("Option\\Common", e.name);
        ASSERT_TRUE(value.exists);
        EXPECT_EQ(e.type, value.type);
        EXPECT_EQ(4u, value.bytes.size());
        EXPECT_EQ(e.dword, value.Dword());
    }
    StoredValue openIn = ReadValue("Option\\Common", "Default Open In");
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), openIn.type);
    EXPECT_EQ(PicturesFolder(), openIn.Text());

    // Bit n is bit n mod 8 of byte n div 8: 2 -> byte 0, 20 -> byte 2, 31 -> byte 3, 39 -> byte 4, 41 -> byte 5.
    StoredValue types = ReadValue("Option\\FileType", "File Type");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), types.type);
    ASSERT_EQ(128u, types.bytes.size());
    std::vector<unsigned char> expected(128, 0);
    expected[0] = 0x04;
    expected[2] = 0x10;
    expected[3] = 0x80;
    expected[4] = 0x80;
    expected[5] = 0x02;
    EXPECT_EQ(expected, types.bytes);
}

TEST_F(SettingsStoreTest, ConfirmOverwriteFollowsTheRegistryAndReturnsWhenItsValueIsUnusable)
{
    struct Case { const char* why; DWORD type; DWORD value; DWORD size; int expected; };
    const Case cases[] = {
        {"a REG_DWORD 0 turns confirmation off", REG_DWORD, 0, 4, 0},
        {"any non-zero REG_DWORD keeps it on", REG_DWORD, 7, 4, 7},
        {"a REG_BINARY in its place counts as missing", REG_BINARY, 0, 4, 1},
        {"a REG_SZ in its place counts as missing", REG_SZ, 0, 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_TRUE(WriteValue("Option\\Common", "Confirm Overwrite", c.type, &c.value, c.size));
        TestOption option;
        option.LoadFromRegistry();
        EXPECT_EQ(c.expected, option.m_common.m_confirmOverwrite.Value());
    }
    // Deleting the value turns confirmation on again at the next start.
    ASSERT_TRUE(WriteDword("Option\\Common", "Confirm Overwrite", 0));
    TestOption option;
    option.LoadFromRegistry();
    ASSERT_EQ(0, option.m_common.m_confirmOverwrite.Value());
    DeleteValue("Option\\Common", "Confirm Overwrite");
    option.LoadFromRegistry();
    EXPECT_EQ(1, option.m_common.m_confirmOverwrite.Value());
}

TEST_F(SettingsStoreTest, DisplaySizeOutsideItsChoicesLoadsAsComplete)
{
    struct Case { const char* why; LONG stored; long expected; };
    const Case cases[] = {
        {"automatic", 1, Option::kDisplayAutomatic}, {"one half", 2, Option::kDisplayHalf},
        {"one quarter", 4, Option::kDisplayQuarter}, {"one eighth", 8, Option::kDisplayEighth},
        {"3 is between the choices", 3, Option::kDisplayComplete},
        {"16 is past the smallest size", 16, Option::kDisplayComplete},
        {"negative", -1, Option::kDisplayComplete},
        {"a huge value", 0x7FFFFFFF, Option::kDisplayComplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ASSERT_TRUE(WriteValue("Option\\Common", "Display Size", REG_BINARY, &c.stored, sizeof c.stored));
        TestOption option;
        // A usable size held before must not survive a reload of an unusable one.
        option.m_common.m_displaySize = Option::kDisplayHalf;
        option.LoadFromRegistry();
        EXPECT_EQ(c.expected, option.m_common.m_displaySize.Value());
    }
    const unsigned char twoBytes[2] = {4, 0};
    ASSERT_TRUE(WriteValue("Option\\Common", "Display Size", REG_BINARY, twoBytes, sizeof twoBytes));
    TestOption option;
    option.LoadFromRegistry();
    EXPECT_EQ(Option::kDisplayComplete, option.m_common.m_displaySize.Value()) << "a short value counts as missing";
}

TEST_F(SettingsStoreTest, StoredTextsAreCutToTheirFieldWidths)
{
    const std::string longFolder = "D:\\" + std::string(300, 'f');
    ASSERT_TRUE(WriteValue("Option\\Common", "Default Open In", REG_SZ, longFolder.c_str(),
                           static_cast<DWORD>(longFolder.size() + 1)));
    const std::string longMessage(1500, 'm');
    ASSERT_TRUE(WriteValue("Usage\\SendToFriend", "Message", REG_SZ, longMessage.c_str(),
                           static_cast<DWORD>(longMessage.size() + 1)));
    TestOption option;
    option.LoadFromRegistry();
    EXPECT_EQ(longFolder.substr(0, 256), std::string(option.m_common.m_defaultOpenIn.GetText()));
    TestUsage usage;
    usage.LoadFromRegistry();
    EXPECT_EQ(longMessage.substr(0, 1024), std::string(usage.m_sendToFriend.m_message.GetText()));
}

TEST_F(SettingsStoreTest, SetupValuesSurviveARunUnchanged)
{
    const char printerName[] = "Office Laser";
    ASSERT_TRUE(WriteValue("Setup\\Printer", "Name", REG_SZ, printerName, sizeof printerName));
    const struct { const char* name; DWORD value; } numbers[] = {
        {"Top", 10}, {"Bottom", 0xFFFFFFF6}, {"Left", 25}, {"Right", 30}, {"Position", 2},
        {"Proportions", 1}, {"Gamma Correction", 1}, {"Gamma Value", 220},
    };
    for (const auto& n : numbers)
        ASSERT_TRUE(WriteDword("Setup\\Printer", n.name, n.value));
    const LONG format = 3;
    ASSERT_TRUE(WriteValue("Setup\\Printer", "Format", REG_BINARY, &format, sizeof format));
    const LONG source = 2;
    ASSERT_TRUE(WriteValue("Setup\\Scanner", "TWAIN Source", REG_BINARY, &source, sizeof source));

    {
        TestSetup setup;
        setup.LoadFromRegistry();
        EXPECT_STREQ("Office Laser", setup.m_printer.m_name.GetText());
        EXPECT_EQ(-10, setup.m_printer.m_bottom.Value());
        EXPECT_EQ(220, setup.m_printer.m_gammaValue.Value());
        EXPECT_EQ(3, setup.m_printer.m_format.Value());
        EXPECT_EQ(2, setup.m_scanner.m_twainSource.Value());
        // Written back, as at every exit.
        DeleteTestKeys();
        setup.SaveToRegistry();
    }
    EXPECT_EQ("Office Laser", ReadValue("Setup\\Printer", "Name").Text());
    for (const auto& n : numbers) {
        SCOPED_TRACE(n.name);
        StoredValue value = ReadValue("Setup\\Printer", n.name);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value.type);
        EXPECT_EQ(n.value, value.Dword());
    }
    StoredValue storedFormat = ReadValue("Setup\\Printer", "Format");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), storedFormat.type);
    EXPECT_EQ(3u, storedFormat.Dword());
    EXPECT_EQ(2u, ReadValue("Setup\\Scanner", "TWAIN Source").Dword());
}

TEST_F(SettingsStoreTest, ExitDialogFlagIsOnAfterAFirstRunAndThenKeepsTheRegistryValue)
{
    {
        TestUsage usage;
        usage.LoadFromRegistry();
        EXPECT_EQ(1, usage.m_exit.m_dialog.Value());
        EXPECT_EQ(0, usage.m_exit.m_dialog.GetDefaultValue());
        EXPECT_STREQ("", usage.m_sendToFriend.m_from.GetText());
        usage.m_sendToFriend.m_from.SetString("me@example.org");
        usage.SaveToRegistry();
    }
    EXPECT_EQ(1u, ReadValue("Usage\\Exit", "Dialog").Dword());
    EXPECT_EQ("me@example.org", ReadValue("Usage\\SendToFriend", "From").Text());
    ASSERT_TRUE(WriteDword("Usage\\Exit", "Dialog", 0));
    TestUsage usage;
    usage.LoadFromRegistry();
    EXPECT_EQ(0, usage.m_exit.m_dialog.Value());
    EXPECT_STREQ("me@example.org", usage.m_sendToFriend.m_from.GetText());
}

TEST_F(SettingsStoreTest, LoadingFromAMissingKeyCreatesOnlyTheStoreKey)
{
    TestSetup setup;
    setup.m_printer.m_left = 99;
    setup.LoadFromRegistry();
    EXPECT_EQ(0, setup.m_printer.m_left.Value()) << "a missing value clears its field";
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kTestApplicationKey) + "\\Setup").c_str(),
                                           0, KEY_READ, &key));
    DWORD subkeys = 1;
    DWORD values = 1;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(0u, subkeys);
    EXPECT_EQ(0u, values);
}

} // namespace settings_store_test
