// Splitting a module path into drive, directory, name, extension and folder, with
// every part bounded by its fixed field.
#include "lib/src/Win2/Wnd/iPathParts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct Case {
    const char* why;
    const char* path;
    const char* drive;
    const char* directory;
    const char* name;
    const char* extension;
    const char* folder;
};

const Case kCases[] = {
    {"program in a nested folder", "C:\\Tools\\App\\prog.exe", "C", "\\Tools\\App", "prog", "exe", "C:\\Tools\\App"},
    {"program at the root keeps the root separator", "C:\\prog.exe", "C", "\\", "prog", "exe", "C:\\"},
    {"no dot: no extension, the whole last part is the name", "C:\\Tools\\prog", "C", "\\Tools", "prog", "",
     "C:\\Tools"},
    {"a dot in a folder is not an extension", "C:\\my.dir\\prog", "C", "\\my.dir", "prog", "", "C:\\my.dir"},
    {"forward slashes separate too", "D:/bin/tool.com", "D", "/bin", "tool", "com", "D:/bin"},
    {"the last dot starts the extension", "C:\\a\\archive.tar.gz", "C", "\\a", "archive.tar", "gz", "C:\\a"},
    {"network path without drive", "\\\\server\\share\\prog.exe", "", "\\\\server\\share", "prog", "exe",
     "\\\\server\\share"},
    {"bare name: no drive, directory or folder", "prog.exe", "", "", "prog", "exe", ""},
    {"drive-relative name keeps its colon in the folder", "C:prog.exe", "C", "", "prog", "exe", "C:"},
    {"one-letter folder is not the root", "C:\\a\\prog.exe", "C", "\\a", "prog", "exe", "C:\\a"},
    {"empty path", "", "", "", "", "", ""},
};

void ExpectParts(const Case& c, const iPathParts& parts)
{
    EXPECT_STREQ(c.drive, parts.m_drive);
    EXPECT_STREQ(c.directory, parts.m_directory);
    EXPECT_STREQ(c.name, parts.m_name);
    EXPECT_STREQ(c.extension, parts.m_extension);
    EXPECT_STREQ(c.folder, parts.m_folder);
}

} // namespace

TEST(PathParts, SplitsPathsIntoTheirParts)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        iPathParts parts;
        parts.Fill(c.path);
        EXPECT_STREQ(c.path, parts.m_fullPath);
        ExpectParts(c, parts);
    }
}

TEST(PathParts, RefillLeavesNothingOfTheLongerPathBefore)
{
    iPathParts parts;
    parts.Fill("C:\\Program Files\\Very Long Folder\\application.extension");
    parts.Fill("C:\\prog.exe");
    ExpectParts(kCases[1], parts);
    EXPECT_STREQ("C:\\prog.exe", parts.m_fullPath);
    // Every byte after each part's terminating zero is zero again.
    for (size_t i = std::strlen(parts.m_extension); i < sizeof parts.m_extension; ++i)
        ASSERT_EQ('\0', parts.m_extension[i]) << "byte " << i;
}

TEST(PathParts, LongPartsAreCutToTheirFields)
{
    const std::string longExtension(200, 'x');
    iPathParts parts;
    parts.Fill(("C:\\a\\b." + longExtension).c_str());
    EXPECT_EQ(std::string(iPathParts::kExtensionSize - 1, 'x'), parts.m_extension);
    EXPECT_STREQ("b", parts.m_name);

    // A colon far into the first component makes a drive longer than its field.
    parts.Fill("abcdefghijkl:\\prog.exe");
    EXPECT_STREQ("abcdefg", parts.m_drive);
    EXPECT_STREQ("prog", parts.m_name);

    // A path longer than the full-path field is cut to it before it is split.
    const std::string longPath = "C:\\" + std::string(300, 'n') + ".exe";
    parts.Fill(longPath.c_str());
    EXPECT_EQ(static_cast<size_t>(iPathParts::kPathSize - 1), std::strlen(parts.m_fullPath));
    EXPECT_STREQ("", parts.m_extension);
    EXPECT_EQ(static_cast<size_t>(iPathParts::kPathSize - 4), std::strlen(parts.m_name));
}

TEST(PathParts, NullPathLeavesEveryFieldEmpty)
{
    iPathParts parts;
    parts.Fill("C:\\x\\y.z");
    parts.Fill(nullptr);
    EXPECT_STREQ("", parts.m_fullPath);
    ExpectParts(kCases[10], parts);
}
