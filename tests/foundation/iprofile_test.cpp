// Profile settings: typed reads and writes against a temporary INI file of the
// test's own (checked with the platform's own profile calls), the four profile
// modes, the default mode, and reading the mode setting from the program's INI file.
#include "lib/src/iProfile.h"
#include "lib/src/LibraryText.h"

#include "msgbox_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

// A name no other test process uses.
std::string UniqueName(const char* stem)
{
    static int serial = 0;
    return std::string(stem) + "_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
}

std::string RawRead(const char* file, const char* section, const char* key)
{
    char text[4096];
    GetPrivateProfileStringA(section, key, "<missing>", text, sizeof text, file);
    return text;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A profile over an INI file in the temporary directory, deleted afterwards.
class ProfileFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char directory[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof directory, directory), 0u);
        m_path = std::string(directory) + UniqueName("sorvanta_profile") + ".ini";
        m_profile = std::make_unique<iProfile>(kProfileNamed, m_path.c_str());
        m_profile->SetSection("Settings");
    }
    void TearDown() override { DeleteFileA(m_path.c_str()); }

    // Puts text under key in Settings with the platform's own call.
    void Put(const char* key, const char* text) { WritePrivateProfileStringA("Settings", key, text, m_path.c_str()); }
    std::string Stored(const char* key, const char* section = "Settings")
    {
        return RawRead(m_path.c_str(), section, key);
    }

    std::string m_path;
    std::unique_ptr<iProfile> m_profile;
};

} // namespace

TEST_F(ProfileFile, NamedModeUsesTheGivenPathUnchanged)
{
    EXPECT_EQ(kProfileNamed, m_profile->GetMode());
    EXPECT_EQ(m_path, std::string(m_profile->GetFile()));
    EXPECT_STREQ("Settings", m_profile->GetSection());
}

TEST_F(ProfileFile, GetStringReadsTheTextAndCountsIt)
{
    Put("Name", "Sorvanta Std");
    iString value("previous");
    EXPECT_EQ(12, m_profile->GetString(nullptr, "Name", value));
    EXPECT_STREQ("Sorvanta Std", value);
    EXPECT_EQ(0, m_profile->GetString(nullptr, "Missing", value));
    EXPECT_STREQ("", value);
}

TEST_F(ProfileFile, SectionNullMeansTheObjectsSection)
{
    ASSERT_TRUE(m_profile->Set("Width", 640));
    ASSERT_TRUE(m_profile->Set("Width", 800, "Other"));
    ASSERT_TRUE(m_profile->Set("Third", "Height", 480));
    EXPECT_EQ("640", Stored("Width"));
    EXPECT_EQ("800", Stored("Width", "Other"));
    EXPECT_EQ("480", Stored("Height", "Third"));
    int width = 0;
    EXPECT_EQ(3, m_profile->Get("Other", "Width", width));
    EXPECT_EQ(800, width);
    EXPECT_EQ(3, m_profile->Get("Width", width));
    EXPECT_EQ(640, width);
}

TEST_F(ProfileFile, IntegerWritesFormatByTypeAndRadix)
{
    struct Case {
        const char* why;
        std::function<BOOL(iProfile&)> write;
        const char* text;
    };
    const Case kCases[] = {
        {"int", [](iProfile& p) { return p.Set("V", -5); }, "-5"},
        {"unsigned above the signed range", [](iProfile& p) { return p.Set("V", 4000000000u); }, "4000000000"},
        {"char as a number", [](iProfile& p) { return p.Set("V", static_cast<char>(-1)); }, "-1"},
        {"unsigned char", [](iProfile& p) { return p.Set("V", static_cast<unsigned char>(255)); }, "255"},
        {"short", [](iProfile& p) { return p.Set("V", static_cast<short>(-32768)); }, "-32768"},
        {"unsigned short", [](iProfile& p) { return p.Set("V", static_cast<unsigned short>(65535)); }, "65535"},
        {"long lowest", [](iProfile& p) { return p.Set("V", -2147483647L - 1); }, "-2147483648"},
        {"unsigned long highest", [](iProfile& p) { return p.Set("V", 4294967295UL); }, "4294967295"},
        {"unsigned 255 in radix 16", [](iProfile& p) { return p.Set("V", 255u, nullptr, 16); }, "FF"},
        {"char -1 in radix 16: the bit pattern",
         [](iProfile& p) { return p.Set("V", static_cast<char>(-1), nullptr, 16); }, "FFFFFFFF"},
        {"int -1 in radix 2", [](iProfile& p) { return p.Set("V", -1, nullptr, 2); },
         "11111111111111111111111111111111"},
        {"long in radix 36", [](iProfile& p) { return p.Set("V", 35L, nullptr, 36); }, "Z"},
        {"section-first short", [](iProfile& p) { return p.Set("Settings", "V", static_cast<short>(7)); }, "7"},
        {"section-first long", [](iProfile& p) { return p.Set("Settings", "V", -70000L); }, "-70000"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_TRUE(c.write(*m_profile));
        EXPECT_EQ(c.text, Stored("V"));
    }
}

TEST_F(ProfileFile, EveryIntegerWrittenReadsBackAsItWas)
{
    // Unsigned values above 2147483647 and signed ones written as bit patterns in
    // another radix both read back unchanged.
    struct Case {
        const char* why;
        std::function<bool(iProfile&)> roundTrip;
    };
    auto same = [](auto written, iProfile& p, int radix) {
        decltype(written) read{};
        if (!p.Set("V", written, nullptr, radix) || p.Get("V", read, nullptr, radix) <= 0)
            return false;
        return read == written;
    };
    const Case kCases[] = {
        {"unsigned highest", [&](iProfile& p) { return same(4294967295u, p, 10); }},
        {"unsigned above signed range", [&](iProfile& p) { return same(3000000000u, p, 10); }},
        {"unsigned long highest", [&](iProfile& p) { return same(4294967295UL, p, 10); }},
        {"unsigned long in radix 16", [&](iProfile& p) { return same(0xDEADBEEFUL, p, 16); }},
        {"int lowest", [&](iProfile& p) { return same(-2147483647 - 1, p, 10); }},
        {"int -1 in radix 16", [&](iProfile& p) { return same(-1, p, 16); }},
        {"long negative in radix 8", [&](iProfile& p) { return same(-123456L, p, 8); }},
        {"short lowest in radix 16", [&](iProfile& p) { return same(static_cast<short>(-32768), p, 16); }},
        {"unsigned short highest", [&](iProfile& p) { return same(static_cast<unsigned short>(65535), p, 10); }},
        {"char -128", [&](iProfile& p) { return same(static_cast<char>(-128), p, 10); }},
        {"unsigned char in radix 2", [&](iProfile& p) { return same(static_cast<unsigned char>(0xA5), p, 2); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_TRUE(c.roundTrip(*m_profile));
    }
}

TEST_F(ProfileFile, IntegerReadsStopAtTheFirstNonDigitAndKeepTheVariableWhenMissing)
{
    Put("Mixed", "12abc");
    Put("Letters", "abc");
    Put("Wide", "70000");
    Put("Hex", "ff");
    int value = 99;
    EXPECT_EQ(0, m_profile->Get("Missing", value));
    EXPECT_EQ(99, value);
    EXPECT_EQ(5, m_profile->Get("Mixed", value));
    EXPECT_EQ(12, value);
    EXPECT_EQ(3, m_profile->Get("Letters", value));
    EXPECT_EQ(0, value);
    short narrow = 0;
    EXPECT_EQ(5, m_profile->Get("Wide", narrow));
    EXPECT_EQ(static_cast<short>(70000), narrow);
    unsigned hex = 0;
    EXPECT_EQ(2, m_profile->Get("Hex", hex, nullptr, 16));
    EXPECT_EQ(255u, hex);
    Put("Empty", "");
    long kept = 5;
    EXPECT_EQ(0, m_profile->Get("Settings", "Empty", kept));
    EXPECT_EQ(5, kept);
}

TEST_F(ProfileFile, RadixOutsideTheRangeIsRefused)
{
    Put("V", "17");
    int value = 3;
    EXPECT_EQ(0, m_profile->Get("V", value, nullptr, 1));
    EXPECT_EQ(0, m_profile->Get("V", value, nullptr, 37));
    EXPECT_EQ(3, value);
    EXPECT_FALSE(m_profile->Set("V", 5, nullptr, 1));
    EXPECT_FALSE(m_profile->Set("V", 5u, nullptr, 37));
    EXPECT_EQ("17", Stored("V"));
    // Radix 0 reads the number's own prefix.
    Put("V", "0x1F");
    EXPECT_EQ(4, m_profile->Get("V", value, nullptr, 0));
    EXPECT_EQ(31, value);
}

TEST_F(ProfileFile, BoolIsTrueOnlyForExactlyTRUE)
{
    struct Case {
        const char* text;
        BOOL value;
    };
    const Case kCases[] = {{"TRUE", TRUE}, {"true", FALSE}, {"1", FALSE}, {"TRUE ", TRUE}, {"FALSE", FALSE}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        Put("Flag", c.text);
        BOOL value = 7;
        EXPECT_LT(0, m_profile->GetBool(nullptr, "Flag", value));
        EXPECT_EQ(c.value, value);
    }
    BOOL kept = 7;
    EXPECT_EQ(0, m_profile->GetBool(nullptr, "Missing", kept));
    EXPECT_EQ(7, kept);
    EXPECT_TRUE(m_profile->SetBool(nullptr, "Flag", 5));
    EXPECT_EQ("TRUE", Stored("Flag"));
    EXPECT_TRUE(m_profile->SetBool("Settings", "Flag", FALSE));
    EXPECT_EQ("FALSE", Stored("Flag"));
}

TEST_F(ProfileFile, DoublesWriteWithSixDecimalsAndLargeValuesWhole)
{
    ASSERT_TRUE(m_profile->Set("D", 1.5));
    EXPECT_EQ("1.500000", Stored("D"));
    // "%f" of 1e300 is 308 characters: more than the 64 bytes a fixed buffer gives.
    ASSERT_TRUE(m_profile->Set("D", 1e300));
    EXPECT_EQ(308u, Stored("D").size());
    double value = 0;
    EXPECT_EQ(308, m_profile->Get("D", value));
    EXPECT_DOUBLE_EQ(1e300, value);
    Put("D", "2.25xyz");
    EXPECT_EQ(7, m_profile->Get("D", value));
    EXPECT_DOUBLE_EQ(2.25, value);
    double kept = 4.0;
    EXPECT_EQ(0, m_profile->Get("Missing", kept));
    EXPECT_DOUBLE_EQ(4.0, kept);
}

TEST_F(ProfileFile, TextReadsIntoAStringOrA2048ByteBuffer)
{
    ASSERT_TRUE(m_profile->Set("Text", iString("C:\\Images\\a b.bmp")));
    iString text("previous");
    EXPECT_EQ(17, m_profile->Get("Text", text));
    EXPECT_STREQ("C:\\Images\\a b.bmp", text);
    iString kept("kept");
    EXPECT_EQ(0, m_profile->Get("Missing", kept));
    EXPECT_STREQ("kept", kept);

    char buffer[2048 + 8];
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(17, m_profile->Get("Text", buffer));
    EXPECT_STREQ("C:\\Images\\a b.bmp", buffer);
    memcpy(buffer, "kept", 5);
    EXPECT_EQ(0, m_profile->Get("Missing", buffer));
    EXPECT_STREQ("kept", buffer);
}

TEST_F(ProfileFile, LongValuesReadBackCutTo2047Characters)
{
    const std::string longText(3000, 'x');
    ASSERT_TRUE(m_profile->Set("Long", iString(longText.c_str())));
    char buffer[2048 + 8];
    memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(2047, m_profile->Get("Long", buffer));
    EXPECT_EQ(std::string(2047, 'x'), std::string(buffer));
    for (size_t i = 2048; i < sizeof buffer; ++i)
        EXPECT_EQ('#', buffer[i]) << "byte " << i << " written past the 2048-byte buffer";
}

TEST_F(ProfileFile, PrintfWritesUnderTheObjectsSectionAndRefusesTextsThatDoNotFit)
{
    EXPECT_EQ(9, m_profile->Printf("Size", "%d x %d", 640, 480));
    EXPECT_EQ("640 x 480", Stored("Size"));
    const std::string fits(1023, 'f');
    EXPECT_EQ(1023, m_profile->Printf("Size", "%s", fits.c_str()));
    EXPECT_EQ(fits, Stored("Size"));
    const std::string tooLong(1024, 'l');
    EXPECT_EQ(-1, m_profile->Printf("Size", "%s", tooLong.c_str()));
    EXPECT_EQ(fits, Stored("Size"));
}

TEST_F(ProfileFile, ScanfReadsFieldsAndAnswersMinusOneForAMissingKey)
{
    Put("Pair", "12 abc");
    int number = 0;
    char word[8] = "";
    EXPECT_EQ(2, m_profile->Scanf("Pair", "%d %7s", &number, word));
    EXPECT_EQ(12, number);
    EXPECT_STREQ("abc", word);
    number = 5;
    EXPECT_EQ(-1, m_profile->Scanf("Missing", "%d", &number));
    Put("Empty", "");
    EXPECT_EQ(-1, m_profile->Scanf("Empty", "%d", &number));
    EXPECT_EQ(5, number);
}

TEST(Profile, WritesThatFailAreReportedAsFailures)
{
    iProfile profile(kProfileNamed, "Q:\\no such folder\\anywhere\\x.ini");
    profile.SetSection("S");
    EXPECT_FALSE(profile.Set("Key", 1));
    EXPECT_FALSE(profile.Set("Key", iString("text")));
    EXPECT_EQ(-1, profile.Printf("Key", "%d", 1));
}

TEST(Profile, ModeZeroTakesTheProcessWideDefault)
{
    const int saved = iProfile::GetDefaultMode();
    iProfile::SetDefaultMode(kProfilePrivate);
    iProfile privateProfile(0, "user");
    EXPECT_EQ(kProfilePrivate, privateProfile.GetMode());
    iString expected;
    MakeProfileFileName(kProfilePrivate, expected, "user", nullptr);
    EXPECT_STREQ(expected, privateProfile.GetFile());

    iProfile::SetDefaultMode(kProfilePublic);
    iProfile publicProfile;
    EXPECT_EQ(kProfilePublic, publicProfile.GetMode());
    EXPECT_TRUE(publicProfile.GetFile().IsEmpty());
    iProfile::SetDefaultMode(saved);
}

// Each mode puts its file where the platform or the program says; every file and
// section made here is removed again.
TEST(Profile, FourModesWriteWhereTheyShould)
{
    const std::string name = UniqueName("sorvanta_mode");
    const std::string section = UniqueName("SorvantaTest");

    iProfile publicProfile(kProfilePublic);
    ASSERT_TRUE(publicProfile.Set(section.c_str(), "Key", 1));
    char text[64];
    GetProfileStringA(section.c_str(), "Key", "", text, sizeof text);
    EXPECT_STREQ("1", text);
    int value = 0;
    EXPECT_EQ(1, publicProfile.Get(section.c_str(), "Key", value));
    EXPECT_EQ(1, value);
    WriteProfileStringA(section.c_str(), nullptr, nullptr);
    GetProfileStringA(section.c_str(), "Key", "<gone>", text, sizeof text);
    EXPECT_STREQ("<gone>", text);

    char windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, sizeof windows), 0u);
    char program[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, program, sizeof program), 0u);
    std::string programDirectory(program);
    programDirectory.erase(programDirectory.rfind('\\') + 1);
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);

    struct Case {
        const char* why;
        int mode;
        std::string name;
        std::string file;
        std::string path;
    };
    const Case kCases[] = {
        {"protected: bare name in the Windows directory", kProfileProtected, name, name + ".INI",
         std::string(windows) + "\\" + name + ".INI"},
        {"private: beside the program", kProfilePrivate, name, programDirectory + name + ".INI",
         programDirectory + name + ".INI"},
        {"named: the path given", kProfileNamed, std::string(temp) + name + ".ini",
         std::string(temp) + name + ".ini", std::string(temp) + name + ".ini"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ASSERT_FALSE(FileExists(c.path));
        {
            iProfile profile(c.mode, c.name.c_str());
            EXPECT_EQ(c.file, std::string(profile.GetFile()));
            profile.SetSection("S");
            EXPECT_TRUE(profile.Set("Key", 42));
        }
        EXPECT_TRUE(FileExists(c.path));
        EXPECT_EQ("42", RawRead(c.path.c_str(), "S", "Key"));
        EXPECT_TRUE(DeleteFileA(c.path.c_str()));
    }
}

namespace {

// The program's own INI file (this test program's, beside it), made by each test
// and removed afterwards; the default mode is restored.
class ModeSetting : public ::testing::Test {
protected:
    void SetUp() override
    {
        MakeProfileFileName(kProfilePrivate, m_file, nullptr, nullptr);
        ASSERT_FALSE(FileExists(std::string(m_file))) << "left over: " << m_file;
        m_savedMode = iProfile::GetDefaultMode();
        iProfile::SetDefaultMode(kProfileNamed);
    }
    void TearDown() override
    {
        iProfile::SetDefaultMode(m_savedMode);
        DeleteFileA(m_file);
    }

    void PutMode(const char* value) { WritePrivateProfileStringA("Default", "Mode", value, m_file); }
    std::string StoredMode() { return RawRead(m_file, "Default", "Mode"); }
    std::string ExpectedBoxText(unsigned reason)
    {
        return std::string(LibraryText(reason)) + "\n" + LibraryText(93) + "\n[" + std::string(m_file) + "]";
    }

    iString m_file;
    foundation_test::CapturedBoxes m_boxes;

private:
    int m_savedMode = 0;
};

} // namespace

TEST_F(ModeSetting, KnownNamesSetTheirModeInAnyCaseAndWriteNothing)
{
    struct Case {
        const char* value;
        int mode;
    };
    const Case kCases[] = {{"Private", 3}, {"Protected", 2}, {"Public", 1}, {"public", 1}, {"PROTECTED", 2}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.value);
        PutMode(c.value);
        iProfile::ReadModeSetting();
        EXPECT_EQ(c.mode, iProfile::GetDefaultMode());
        EXPECT_EQ(c.value, StoredMode());
    }
    EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(ModeSetting, UnknownNameMakesItPrivateTellsAndRepairs)
{
    PutMode("Shared");
    iProfile::ReadModeSetting();
    EXPECT_EQ(kProfilePrivate, iProfile::GetDefaultMode());
    ASSERT_EQ(1u, m_boxes.Boxes().size());
    EXPECT_EQ(".INI File", m_boxes.Last().caption);
    EXPECT_EQ(ExpectedBoxText(92), m_boxes.Last().text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), m_boxes.Last().style);
    EXPECT_EQ("Private", StoredMode());
}

TEST_F(ModeSetting, MissingOrEmptyKeyMakesItPrivateTellsAndRepairs)
{
    struct Case {
        const char* why;
        const char* value;
    };
    const Case kCases[] = {{"no file at all", nullptr}, {"empty value", ""}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        m_boxes.Forget();
        iProfile::SetDefaultMode(kProfileNamed);
        if (c.value)
            PutMode(c.value);
        iProfile::ReadModeSetting();
        EXPECT_EQ(kProfilePrivate, iProfile::GetDefaultMode());
        EXPECT_EQ(1u, m_boxes.Boxes().size());
        EXPECT_EQ(ExpectedBoxText(91), m_boxes.Last().text);
        EXPECT_EQ("Private", StoredMode());
        DeleteFileA(m_file);
    }
}
