// The shell helper's size and date texts and its path parts: sizes past 4 GB, dates
// before 1970 and after 2038, and paths whose parts do not fit their fields.
#include "lib/src/Win2/Wnd/iShell.h"

#include "shell_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(ShellFileSizeText, KilobytesOfAThousandBytesTruncatedWithOneForSmallFiles)
{
    struct Case {
        const char* size;
        const char* text;
    };
    const Case cases[] = {
        {"0", "0KB"},
        {"1", "1KB"},
        {"999", "1KB"},
        {"1000", "1KB"},
        {"1999", "1KB"},
        {"2000", "2KB"},
        {"123456", "123KB"},
        {"1500000", "1500KB"},
        {"3000000000", "3000000KB"},
        {"5000000000", "5000000KB"},  // past 32 bits
        {"-1294967296", "3000000KB"},  // 3,000,000,000 as a signed 32-bit text reads back unsigned
    };
    iShell shell;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_STREQ(c.text, shell.FileSizeText(c.size));
    }
    EXPECT_STREQ("0KB", shell.FileSizeText(nullptr));
}

TEST(ShellFileDateText, LocalShortDateAndTimeWithoutSecondsForEveryYearAFileCanCarry)
{
    iShell shell;
    for (WORD year : {1969, 1980, 2004, 2040, 2100}) {
        SCOPED_TRACE(year);
        const FILETIME time = shell_test::FileTimeOf(year, 7, 14, 15, 42);
        const std::string expected = shell_test::LocaleDateTime(time);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(expected, std::string(shell.FileTimeText(&time)));
    }
    EXPECT_STREQ("", shell.FileTimeText(nullptr));
}

TEST(ShellFileDateText, TimeValueFormGivesTheSameTextAndNothingForNoTime)
{
    iShell shell;
    const FILETIME time = shell_test::FileTimeOf(2004, 3, 9, 8, 5);
    const CTime value(time);
    EXPECT_EQ(shell_test::LocaleDateTime(time), std::string(shell.FileDateText(&value)));
    EXPECT_STREQ("", shell.FileDateText(nullptr));
    const CTime beforeTheEpoch(static_cast<time_t>(-86400));  // no local time in the runtime
    EXPECT_STREQ("", shell.FileDateText(&beforeTheEpoch));
}

TEST(ShellPathParts, PartsOfAPathAndOfTheLastPathGiven)
{
    iShell shell;
    EXPECT_STREQ("C:\\Photos\\", shell.GetFolder("C:\\Photos\\cat.jpg"));
    EXPECT_STREQ("cat.jpg", shell.GetFileName("C:\\Photos\\cat.jpg"));
    EXPECT_STREQ(".jpg", shell.GetExtension("C:\\Photos\\cat.jpg"));
    EXPECT_STREQ("cat", shell.GetFileTitle("C:\\Photos\\cat.jpg"));
    EXPECT_STREQ("C:", shell.GetDrive("C:\\Photos\\cat.jpg"));
    // Without a path the parts of the last one given answer.
    shell.GetDrive("D:\\Scans\\2004\\page.one.tif");
    EXPECT_STREQ("D:\\Scans\\2004\\", shell.GetFolder());
    EXPECT_STREQ("page.one", shell.GetFileTitle());
    EXPECT_STREQ(".tif", shell.GetExtension());

    iShell constructed("\\\\server\\share\\notes");
    EXPECT_STREQ("", constructed.GetDrive());
    EXPECT_STREQ("\\\\server\\share\\", constructed.GetFolder());
    EXPECT_STREQ("notes", constructed.GetFileName());
    EXPECT_STREQ("", iShell().GetFileName());
}

TEST(ShellPathParts, APartThatDoesNotFitLeavesEveryPartEmptyAndNothingWrittenPastThem)
{
    const std::string longName(_MAX_FNAME, 't');
    const std::string longExtension(_MAX_EXT, 'e');
    const std::string longDirectory(_MAX_DIR, 'd');
    struct Case {
        const char* why;
        std::string path;
        bool fits;
    };
    const Case cases[] = {
        {"every part one short of its field", "C:\\" + std::string(_MAX_DIR - 3, 'd') + "\\" +
                                                  std::string(_MAX_FNAME - 1, 't') + "." +
                                                  std::string(_MAX_EXT - 2, 'e'), true},
        {"a directory longer than its field", "C:" + longDirectory + "\\cat.jpg", false},
        {"a title as long as its field", "C:\\Photos\\" + longName + ".jpg", false},
        {"an extension as long as its field", "C:\\Photos\\cat." + longExtension, false},
    };
    iShell shell;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        constexpr size_t kCanary = 8;
        std::string drive(_MAX_DRIVE + kCanary, '#'), directory(_MAX_DIR + kCanary, '#');
        std::string title(_MAX_FNAME + kCanary, '#'), extension(_MAX_EXT + kCanary, '#');
        shell.SplitPath(c.path.c_str(), &drive[0], &directory[0], &title[0], &extension[0]);
        for (const std::string* part : {&drive, &directory, &title, &extension})
            EXPECT_EQ(std::string(kCanary, '#'), part->substr(part->size() - kCanary));
        const std::string joined = std::string(drive.c_str()) + directory.c_str() + title.c_str() + extension.c_str();
        EXPECT_EQ(c.fits ? c.path : std::string(), joined);
        // The members are split the same way: a failed split leaves them empty too.
        const std::string folder(shell.GetFolder(c.path.c_str()));
        EXPECT_EQ(c.fits ? c.path : std::string(), folder + std::string(shell.GetFileName()));
    }
}

} // namespace
