// File paths: which dot starts an extension, adding and changing extensions, and
// making a relative path absolute.
#include "lib/src/iFileName.h"

#include <gtest/gtest.h>

#include <string>

TEST(iFileName, ExtensionOnlyAfterTheLastSeparator)
{
    struct Case { const char* path; const char* extension; const char* removed; int removes; };
    const Case cases[] = {
        {"c:\\dir\\name.txt", "txt", "c:\\dir\\name", 1},
        {"a.b\\c", "", "a.b\\c", 0},          // the dot belongs to a directory
        {"a.b/c", "", "a.b/c", 0},
        {".ini", "", ".ini", 0},              // a leading dot is not an extension
        {"name.", "", "name", 1},             // ends in a dot: empty extension, dot cut
        {"x.tar.gz", "gz", "x.tar", 1},
        {"noext", "", "noext", 0},
        {"", "", "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        iFileName name(c.path);
        EXPECT_STREQ(c.extension, name.GetExtension());
        EXPECT_EQ(c.removes, name.RemoveExtension());
        EXPECT_STREQ(c.removed, name);
    }
}

TEST(iFileName, AddExtensionPutsOneDot)
{
    struct Case { const char* path; const char* ext; const char* result; };
    const Case cases[] = {
        {"name", "txt", "name.txt"},
        {"name.", "txt", "name.txt"},
        {"name", ".txt", "name.txt"},
        {"", "txt", "txt"},
        {"name", "", "name."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " + " + c.ext);
        iFileName name(c.path);
        EXPECT_EQ(1, name.AddExtension(c.ext));
        EXPECT_STREQ(c.result, name);
    }
}

TEST(iFileName, ChangeExtensionLeavesDirectoryDotsAlone)
{
    iFileName withDirDot("c:\\x.y\\file");
    EXPECT_EQ(1, withDirDot.ChangeExtension("bak"));
    EXPECT_STREQ("c:\\x.y\\file.bak", withDirDot);
    iFileName plain("photo.jpg");
    plain.ChangeExtension("tif");
    EXPECT_STREQ("photo.tif", plain);
}

TEST(iFileName, MakeAbsolute)
{
    iFileName drive("d:file");
    EXPECT_EQ(0, drive.MakeAbsolute("c:\\dir\\"));
    EXPECT_STREQ("d:file", drive);
    iFileName relative("file");
    EXPECT_EQ(1, relative.MakeAbsolute("c:\\dir\\"));
    EXPECT_STREQ("c:\\dir\\file", relative);
    iFileName single("f");  // fewer than two characters counts as relative
    EXPECT_EQ(1, single.MakeAbsolute("c:\\"));
    EXPECT_STREQ("c:\\f", single);
}

TEST(iFileName, BuildsFromTheStringForms)
{
    iString base("dir\\a.txt");
    iFileName fromString(base);
    EXPECT_STREQ("txt", fromString.GetExtension());
    EXPECT_STREQ("dir\\a.txt", base);  // the source is untouched by later edits
    fromString.RemoveExtension();
    EXPECT_STREQ("dir\\a.txt", base);
    EXPECT_STREQ("Resource string id '12345' [0x3039] not found!", iFileName(12345u));
    EXPECT_STREQ("w.b", iFileName(L"w.b"));
}
