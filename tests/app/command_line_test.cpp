// The program's command line: the twelve switches (exact, case-sensitive), the one
// value "Database" announces, and a file name that opens nothing.
#include "app/CommandLineInfoEx.h"

#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Parses line as the framework does at start-up.
void Parse(const char* line, CommandLineInfoEx& info)
{
    CWinApp app("CommandLineTest");
    std::string text = line;
    app.m_lpCmdLine = text.data();
    app.ParseCommandLine(info);
}

struct Flags {
    bool splash = true, tipOfTheDay = true, language = false, log = false, bypass = true, design = false,
         install = false, setup = false, showHelpData = false, webUpdate = true;
};

// The flags of an empty command line with one of them changed.
Flags With(bool Flags::*flag, bool value)
{
    Flags f;
    f.*flag = value;
    return f;
}

Flags FlagsOf(const CommandLineInfoEx& info)
{
    Flags f;
    f.splash = info.m_bSplash;
    f.tipOfTheDay = info.m_bTipOfTheDay;
    f.language = info.m_bLanguage;
    f.log = info.m_bLog;
    f.bypass = info.m_bBypass;
    f.design = info.m_bDesign;
    f.install = info.m_bInstall;
    f.setup = info.m_bSetup;
    f.showHelpData = info.m_bShowHelpData;
    f.webUpdate = info.m_bWebUpdate;
    return f;
}

bool operator==(const Flags& a, const Flags& b)
{
    return a.splash == b.splash && a.tipOfTheDay == b.tipOfTheDay && a.language == b.language && a.log == b.log &&
           a.bypass == b.bypass && a.design == b.design && a.install == b.install && a.setup == b.setup &&
           a.showHelpData == b.showHelpData && a.webUpdate == b.webUpdate;
}

} // namespace

TEST(CommandLine, EachSwitchSetsItsOwnFlagOnly)
{
    struct Case { const char* line; Flags expected; };
    const Flags noSplash = With(&Flags::splash, false);
    const Flags noTip = With(&Flags::tipOfTheDay, false);
    const Case cases[] = {
        {"/NoSplash", noSplash}, {"-NoSplash", noSplash}, {"/NoTipOfTheDay", noTip}, {"-NoTOTD", noTip},
        {"/Language", With(&Flags::language, true)},
        {"/Log", With(&Flags::log, true)},
        {"/Bypass", With(&Flags::bypass, false)},
        {"/Design", With(&Flags::design, true)},
        {"/Install", With(&Flags::install, true)},
        {"/Setup", With(&Flags::setup, true)},
        {"/ShowHelpData", With(&Flags::showHelpData, true)},
        {"/NoWebUpdate", With(&Flags::webUpdate, false)},
        {"/nosplash", Flags()},  // case-sensitive
        {"NoSplash", Flags()},   // a plain parameter is no switch
        {"/NoSplashes", Flags()},
        {"", Flags()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        CommandLineInfoEx info;
        Parse(c.line, info);
        EXPECT_TRUE(FlagsOf(info) == c.expected);
        EXPECT_EQ(c.expected.splash ? TRUE : FALSE, info.IsSplashEnabled());
    }
}

TEST(CommandLine, DatabaseTakesTheFirstPlainParameterOnly)
{
    struct Case { const char* why; const char* line; const char* database; };
    const Case cases[] = {
        {"the first plain parameter after the switch", "/Database first second", "first"},
        {"another switch ends the wait", "/Database /Log third", ""},
        {"a plain parameter before the switch is ignored", "before /Database after", "after"},
        {"quoted names keep their blanks", "-Database \"My Pictures.db\"", "My Pictures.db"},
        {"a second announcement cannot replace a taken name", "/Database one /Database two", "one"},
        {"nothing follows", "/Database", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CommandLineInfoEx info;
        Parse(c.line, info);
        EXPECT_STREQ(c.database, info.m_strDatabase);
    }
}

TEST(CommandLine, FileNamesOpenNothing)
{
    CommandLineInfoEx info;
    Parse("C:\\Pictures\\photo.jpg /NoSplash /p other.tif", info);
    EXPECT_EQ(CCommandLineInfo::FileNew, info.m_nShellCommand);
    EXPECT_TRUE(info.m_strFileName.IsEmpty());
    EXPECT_TRUE(info.m_strDatabase.IsEmpty());
    EXPECT_FALSE(info.IsSplashEnabled());
    EXPECT_EQ(4, info.GetParamCount());
}
