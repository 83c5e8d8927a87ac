// The file object: opening and failing to open, reading and writing, positions,
// truncation, region locks, and reopening without losing a handle.
#include "lib/src/iFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A fresh folder under the temporary directory, removed with what it holds.
class ScratchFolder {
public:
    ScratchFolder()
    {
        char temp[MAX_PATH + 1];
        GetTempPathA(sizeof temp, temp);
        m_path = std::string(temp) + "SorvantaFileTest" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_path.c_str(), nullptr);
    }
    ~ScratchFolder()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((m_path + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((m_path + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(m_path.c_str());
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string File(const char* name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

std::string Contents(const std::string& path)
{
    iFile file(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    char buffer[256];
    DWORD done = 0;
    if (!file.Read(buffer, sizeof buffer, &done))
        return "<unreadable>";
    return std::string(buffer, done);
}

// Counts the calls of Create made through Open.
class CountingFile : public iFile {
public:
    int creates = 0;
    BOOL Create(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags) override
    {
        ++creates;
        return iFile::Create(path, access, share, creation, flags);
    }
};

} // namespace

TEST(iFile, MissingFileStaysClosed)
{
    ScratchFolder folder;
    iFile file(folder.File("missing.bin").c_str(), GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(0, file.Close());
}

TEST(iFile, ClosedFileAnswersWithoutTouchingAnything)
{
    iFile file;
    char buffer[4] = {'k', 'e', 'e', 'p'};
    DWORD done = 99;
    EXPECT_EQ(0, file.Read(buffer, sizeof buffer, &done));
    EXPECT_EQ(0u, done);
    EXPECT_EQ(std::string("keep"), std::string(buffer, 4));
    done = 99;
    EXPECT_EQ(0, file.Write(buffer, sizeof buffer, &done));
    EXPECT_EQ(0u, done);
    EXPECT_EQ(0xFFFFFFFFu, file.Seek(0, FILE_BEGIN, nullptr));
    EXPECT_EQ(INVALID_FILE_SIZE, file.GetSize(nullptr));
    EXPECT_FALSE(file.Flush());
    EXPECT_FALSE(file.Lock(0, 1));
    EXPECT_FALSE(file.SetEndOfFile());
}

TEST(iFile, WriteSeekReadSizeAndTruncate)
{
    ScratchFolder folder;
    std::string path = folder.File("data.bin");
    iFile file(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(file.IsOpen());
    DWORD done = 0;
    ASSERT_TRUE(file.Write("0123456789", 10, &done));
    EXPECT_EQ(10u, done);
    DWORD high = 7;
    EXPECT_EQ(10u, file.GetSize(&high));
    EXPECT_EQ(0u, high);

    EXPECT_EQ(4u, file.Seek(4, FILE_BEGIN, nullptr));
    char buffer[8] = {};
    ASSERT_TRUE(file.Read(buffer, 3, &done));
    EXPECT_EQ(std::string("456"), std::string(buffer, done));
    EXPECT_EQ(9u, file.Seek(-1, FILE_END, nullptr));

    EXPECT_EQ(6u, file.Seek(6, FILE_BEGIN, nullptr));
    EXPECT_TRUE(file.SetEndOfFile());
    EXPECT_TRUE(file.Flush());
    EXPECT_EQ(6u, file.GetSize(nullptr));
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ("012345", Contents(path));
}

TEST(iFile, OpenGoesThroughTheDerivedCreate)
{
    ScratchFolder folder;
    CountingFile file;
    EXPECT_TRUE(file.Open(folder.File("a.bin").c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(1, file.creates);
}

TEST(iFile, ReopeningClosesTheFirstFile)
{
    ScratchFolder folder;
    std::string first = folder.File("first.bin");
    iFile file(first.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(file.IsOpen());
    ASSERT_TRUE(file.Create(folder.File("second.bin").c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL));
    // Opened without sharing: only a closed file can be opened again.
    iFile again(first.c_str(), GENERIC_WRITE, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(again.IsOpen());
}

TEST(iFile, LockedRegionsKeepOthersOut)
{
    ScratchFolder folder;
    std::string path = folder.File("locks.bin");
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE;
    iFile owner(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
    iFile other(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(owner.IsOpen());
    ASSERT_TRUE(other.IsOpen());
    DWORD done = 0;
    ASSERT_TRUE(owner.Write("0123456789", 10, &done));

    const DWORD tryExclusive = LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY;
    ASSERT_TRUE(owner.Lock(0, 4));
    EXPECT_FALSE(other.LockEx(2, 1, tryExclusive));
    EXPECT_TRUE(other.LockEx(4, 2, tryExclusive));  // beside the region
    EXPECT_TRUE(owner.Unlock(0, 4));
    EXPECT_TRUE(other.LockEx(2, 1, tryExclusive));
    EXPECT_TRUE(other.UnlockEx(2, 1));
    EXPECT_TRUE(other.UnlockEx(4, 2));

    // Regions past 4 GB go through the 64-bit halves.
    ASSERT_TRUE(owner.LockEx(0, 1, 16, 0, tryExclusive));
    EXPECT_FALSE(other.Lock(8, 1, 1, 0));
    EXPECT_TRUE(owner.UnlockEx(0, 1, 16, 0));
    EXPECT_TRUE(other.Lock(8, 1, 1, 0));
    EXPECT_TRUE(other.Unlock(8, 1, 1, 0));
}
