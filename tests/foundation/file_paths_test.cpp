// Module directory, temporary directory and temporary names: the platform's
// answers, and an empty result whenever a path would not fit MAX_PATH.
#include "lib/src/FilePaths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : m_name(name)
    {
        char old[32768];
        DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
        m_had = length > 0 && length < sizeof old;
        if (m_had)
            m_old = old;
        SetEnvironmentVariableA(name, value);
    }
    ~ScopedVariable() { SetEnvironmentVariableA(m_name, m_had ? m_old.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* m_name;
    bool m_had = false;
    std::string m_old;
};

std::string ProgramFile()
{
    char name[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, name, sizeof name);
    return std::string(name, length);
}

} // namespace

TEST(FilePaths, ModuleDirectoryIsTheFileNameCutAtTheLastBackslash)
{
    std::string file = ProgramFile();
    std::string directory = file.substr(0, file.rfind('\\'));
    EXPECT_EQ(directory, std::string(GetModuleDirectory()));
    EXPECT_EQ(directory, std::string(GetModuleDirectory(GetModuleHandleA(nullptr))));

    char buffer[MAX_PATH + 1];
    EXPECT_EQ(directory.size(), GetModuleDirectoryBuffer(nullptr, buffer, sizeof buffer));
    EXPECT_EQ(directory, buffer);
}

TEST(FilePaths, ModuleNameThatDoesNotFitIsAFailure)
{
    std::string file = ProgramFile();
    char buffer[MAX_PATH + 1];
    // Exactly room for the name and its zero: fits.
    EXPECT_LT(0u, GetModuleDirectoryBuffer(nullptr, buffer, static_cast<DWORD>(file.size() + 1)));
    // One byte less: the name would be cut, so there is no directory at all.
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(0u, GetModuleDirectoryBuffer(nullptr, buffer, static_cast<DWORD>(file.size())));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(0u, GetModuleDirectoryBuffer(nullptr, buffer, 0));
}

TEST(FilePaths, TempPathEndsInABackslash)
{
    char expected[MAX_PATH + 1];
    GetTempPathA(sizeof expected, expected);
    iString path = GetTempPathText();
    EXPECT_STREQ(expected, path);
    ASSERT_FALSE(path.IsEmpty());
    EXPECT_EQ('\\', path[path.GetLength() - 1]);
}

TEST(FilePaths, TempPathThatDoesNotFitIsAFailure)
{
    iString path = GetTempPathText();
    ASSERT_FALSE(path.IsEmpty());
    const DWORD length = static_cast<DWORD>(path.GetLength());
    char buffer[MAX_PATH + 1];
    EXPECT_EQ(length, GetTempPathBuffer(buffer, length + 1));
    EXPECT_STREQ(path, buffer);
    // No room for the zero: the platform leaves the buffer alone, which must not pass for a path.
    memset(buffer, 'x', sizeof buffer);
    buffer[MAX_PATH] = '\0';
    EXPECT_EQ(0u, GetTempPathBuffer(buffer, length));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(0u, GetTempPathBuffer(buffer, 0));
}

TEST(FilePaths, TempPathLongerThanMaxPathIsEmpty)
{
    std::string longPath = "C:\\" + std::string(300, 't');
    ScopedVariable tmp("TMP", longPath.c_str());
    ScopedVariable temp("TEMP", longPath.c_str());
    EXPECT_STREQ("", GetTempPathText());

    char buffer[MAX_PATH + 1];
    memset(buffer, 'x', sizeof buffer);
    buffer[MAX_PATH] = '\0';
    EXPECT_EQ(0u, GetTempPathBuffer(buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
}

TEST(FilePaths, TempFileNames)
{
    iString directory = GetTempPathText();
    iString created = GetTempFileNameText(directory, "SVT", 0);
    ASSERT_FALSE(created.IsEmpty());
    EXPECT_EQ(0, created.Find(directory));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(created));  // unique 0 creates the file
    EXPECT_TRUE(DeleteFileA(created));

    iString named = GetTempFileNameText(directory, "SVT", 0x1234);
    EXPECT_STREQ(static_cast<LPCSTR>(directory + "SVT1234.tmp"), named);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(named));  // a given number creates nothing
}

TEST(FilePaths, TempFileNameLongerThanMaxPathIsEmpty)
{
    std::string deep = "C:\\" + std::string(250, 'd');
    EXPECT_STREQ("", GetTempFileNameText(deep.c_str(), "SVT", 7));

    // The platform refuses without writing: the buffer must not pass for a name.
    char buffer[MAX_PATH + 1];
    memset(buffer, 'x', sizeof buffer);
    buffer[MAX_PATH] = '\0';
    EXPECT_EQ(0u, GetTempFileNameBuffer(deep.c_str(), "SVT", 7, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
}

TEST(FilePaths, TempFileNameNeedsRoomForAnyPath)
{
    iString directory = GetTempPathText();
    char buffer[MAX_PATH + 1];
    EXPECT_EQ(0x1234u, GetTempFileNameBuffer(directory, "SVT", 0x1234, buffer, MAX_PATH));
    EXPECT_STREQ(static_cast<LPCSTR>(directory + "SVT1234.tmp"), buffer);
    // The name would fit, but the platform may write MAX_PATH bytes: less room is refused.
    memset(buffer, 'x', sizeof buffer);
    buffer[MAX_PATH] = '\0';
    EXPECT_EQ(0u, GetTempFileNameBuffer(directory, "SVT", 0x1234, buffer, MAX_PATH - 1));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(0u, GetTempFileNameBuffer(directory, "SVT", 0x1234, buffer, 0));
}
