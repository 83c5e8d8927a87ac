// Profile file names: each mode's rule for a program path, the extension rule, the
// fallback name, and the names made for this test program itself.
#include "lib/src/ProfileFileName.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

TEST(ProfileFileName, FollowsTheModesRuleForTheProgram)
{
    struct Case {
        const char* why;
        const char* program;
        int mode;
        const char* name;
        const char* ext;
        const char* file;
    };
    const char* tool = "D:\\App\\TOOL.EXE";
    const Case kCases[] = {
        {"2 without a name: bare program name", tool, 2, nullptr, nullptr, "TOOL.INI"},
        {"3 without a name: program path", tool, 3, nullptr, nullptr, "D:\\App\\TOOL.INI"},
        {"3 with a name: program directory", tool, 3, "user", nullptr, "D:\\App\\user.INI"},
        {"4 with ext present in another case", tool, 4, "user.ini", nullptr, "user.ini"},
        {"4 without ext: appended", tool, 4, "user", nullptr, "user.INI"},
        {"2 with a name: the name", tool, 2, "user", nullptr, "user.INI"},
        {"ext anywhere in the name counts", tool, 4, "my.ini.bak", nullptr, "my.ini.bak"},
        {"4 with a path: unchanged", tool, 4, "C:\\cfg\\a.ini", nullptr, "C:\\cfg\\a.ini"},
        {"own ext", tool, 2, nullptr, ".CFG", "TOOL.CFG"},
        {"own ext appended to a name", tool, 3, "user", ".cfg", "D:\\App\\user.cfg"},
        {"empty name counts as none", tool, 2, "", nullptr, "TOOL.INI"},
        {".EXE matched in any case", "d:\\app\\tool.exe", 2, nullptr, nullptr, "tool.INI"},
        {"what follows the last .EXE is replaced", "D:\\App\\TOOL.EXE.OLD", 3, nullptr, nullptr, "D:\\App\\TOOL.INI"},
        {"the last .EXE counts", "D:\\App\\A.EXE.B.EXE", 2, nullptr, nullptr, "A.EXE.B.INI"},
        {"program without .EXE, mode 2", "D:\\App\\tool.com", 2, nullptr, nullptr, "ORVEL.INI"},
        {"program without .EXE, mode 3", "D:\\App\\tool.com", 3, nullptr, nullptr, "ORVEL.INI"},
        {"program without .EXE, named mode 3 needs only the directory", "D:\\App\\tool.com", 3, "u", nullptr,
         "D:\\App\\u.INI"},
        {"no directory, mode 2", "TOOL.EXE", 2, nullptr, nullptr, "ORVEL.INI"},
        {"no directory, mode 3 without a name", "TOOL.EXE", 3, nullptr, nullptr, "TOOL.INI"},
        {"no directory, mode 3 with a name", "TOOL.EXE", 3, "user", nullptr, "ORVEL.INI"},
        {"unknown program path, mode 3", nullptr, 3, nullptr, nullptr, "ORVEL.INI"},
        {"unknown program path, named mode 4", nullptr, 4, "user", nullptr, "user.INI"},
        {"4 without a name", tool, 4, nullptr, nullptr, "ORVEL.INI"},
        {"mode 5", tool, 5, "user", nullptr, "ORVEL.INI"},
        {"mode 0", tool, 0, "user", nullptr, "ORVEL.INI"},
        {"negative mode", tool, -1, nullptr, nullptr, "ORVEL.INI"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        iString file("previous");
        MakeProfileFileNameFor(c.program, c.mode, file, c.name, c.ext);
        EXPECT_STREQ(c.file, file);
    }
}

TEST(ProfileFileName, PublicModeLeavesTheFileAsItWas)
{
    iString file("previous");
    MakeProfileFileNameFor("D:\\App\\TOOL.EXE", 1, file, "user", nullptr);
    EXPECT_STREQ("previous", file);
    iString empty;
    MakeProfileFileName(1, empty, nullptr, nullptr);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(ProfileFileName, LongNameMakesALongPathWhole)
{
    const std::string name(400, 'n');
    iString file;
    MakeProfileFileNameFor("D:\\App\\TOOL.EXE", 3, file, name.c_str(), nullptr);
    EXPECT_EQ("D:\\App\\" + name + ".INI", std::string(file));
}

TEST(ProfileFileName, NamesOfThisProgramComeFromItsModulePath)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    ASSERT_GT(length, 4u);
    const std::string program(path, length);
    // The test program is named ...\foundation_tests.exe.
    const std::string stem = program.substr(0, program.size() - 4);
    const std::string directory = program.substr(0, program.rfind('\\') + 1);

    iString file;
    MakeProfileFileName(3, file, nullptr, nullptr);
    EXPECT_EQ(stem + ".INI", std::string(file));
    MakeProfileFileName(2, file, nullptr, nullptr);
    EXPECT_EQ(stem.substr(directory.size()) + ".INI", std::string(file));
    MakeProfileFileName(3, file, "user", ".cfg");
    EXPECT_EQ(directory + "user.cfg", std::string(file));
}
