// Folder browsing: what the browser is asked for, the path of the chosen folder, and
// that a cancel or a choice without a file path leaves the caller's text alone. One test
// drives the shell's own browser from a timer.
#include "lib/src/Win2/Wnd/iFolderBrowse.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace {

// What the replaced browser saw and what it answers.
struct FakeBrowser {
    static BROWSEINFOA seen;
    static std::string seenTitle;
    static int calls;
    static PIDLIST_ABSOLUTE answer;

    static PIDLIST_ABSOLUTE WINAPI Browse(LPBROWSEINFOA info)
    {
        ++calls;
        seen = *info;
        seenTitle = info->lpszTitle ? info->lpszTitle : "";
        // The display name the shell would write: the buffer must take a whole path.
        if (info->pszDisplayName) {
            std::string name(MAX_PATH - 1, 'n');
            lstrcpynA(info->pszDisplayName, name.c_str(), MAX_PATH);
        }
        PIDLIST_ABSOLUTE result = answer;
        answer = nullptr;
        return result;
    }
};
BROWSEINFOA FakeBrowser::seen;
std::string FakeBrowser::seenTitle;
int FakeBrowser::calls;
PIDLIST_ABSOLUTE FakeBrowser::answer;

class FolderBrowse : public ::testing::Test {
protected:
    void SetUp() override
    {
        FakeBrowser::calls = 0;
        FakeBrowser::answer = nullptr;
        previous = SetBrowseForFolderFunction(&FakeBrowser::Browse);
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        folder = std::string(base) + "folder_browse_test";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        SetBrowseForFolderFunction(previous);
        RemoveDirectoryA(folder.c_str());
    }

    BrowseForFolderFunction previous = nullptr;
    std::string folder;
};

TEST_F(FolderBrowse, AsksForFileSystemFoldersTitledDirectory)
{
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    iString path = "unchanged";
    EXPECT_FALSE(BrowseForFolder(owner, path));
    ASSERT_EQ(1, FakeBrowser::calls);
    EXPECT_EQ(owner, FakeBrowser::seen.hwndOwner);
    EXPECT_EQ(nullptr, FakeBrowser::seen.pidlRoot);
    EXPECT_EQ("Directory", FakeBrowser::seenTitle);
    EXPECT_EQ(static_cast<UINT>(BIF_RETURNONLYFSDIRS), FakeBrowser::seen.ulFlags);
    EXPECT_EQ(nullptr, FakeBrowser::seen.lpfn);
    EXPECT_EQ(0, FakeBrowser::seen.lParam);
    EXPECT_NE(nullptr, FakeBrowser::seen.pszDisplayName);
    DestroyWindow(owner);
}

TEST_F(FolderBrowse, CancelLeavesThePathAlone)
{
    iString path = "C:\\kept";
    EXPECT_FALSE(BrowseForFolder(nullptr, path));
    EXPECT_STREQ("C:\\kept", path);
}

TEST_F(FolderBrowse, ChosenFolderGivesItsFullPath)
{
    FakeBrowser::answer = ILCreateFromPathA(folder.c_str());
    ASSERT_NE(nullptr, FakeBrowser::answer);
    iString path = "C:\\old";
    EXPECT_TRUE(BrowseForFolder(nullptr, path));
    EXPECT_STRCASEEQ(folder.c_str(), path);
}

// The path buffer takes a whole path: a folder path close to the limit comes back whole.
TEST_F(FolderBrowse, LongFolderPathComesBackWhole)
{
    std::string deep = folder + "\\";
    deep += std::string(247 - deep.size(), 'd');
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
    FakeBrowser::answer = ILCreateFromPathA(deep.c_str());
    ASSERT_NE(nullptr, FakeBrowser::answer);
    iString path;
    EXPECT_TRUE(BrowseForFolder(nullptr, path));
    EXPECT_STRCASEEQ(deep.c_str(), path);
    RemoveDirectoryA(deep.c_str());
}

// "My Computer" has no file path: nothing may be written.
TEST_F(FolderBrowse, VirtualFolderWritesNothing)
{
    PIDLIST_ABSOLUTE computer = nullptr;
    ASSERT_HRESULT_SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer));
    FakeBrowser::answer = computer;
    iString path = "C:\\kept";
    EXPECT_FALSE(BrowseForFolder(nullptr, path));
    EXPECT_STREQ("C:\\kept", path);
}

// The shell's own browser: a timer finds it, checks it shows "Directory" and presses
// Cancel or OK (on the folder the browser starts at).
struct RealBrowser {
    static bool pressOk;
    static bool sawTitle;
    static bool found;

    static BOOL CALLBACK FindTitle(HWND child, LPARAM)
    {
        char text[64] = {};
        GetWindowTextA(child, text, sizeof text);
        if (std::string(text) == "Directory")
            sawTitle = true;
        return TRUE;
    }
    static BOOL CALLBACK FindDialog(HWND window, LPARAM)
    {
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::string(className) != "#32770" || !IsWindowVisible(window))
            return TRUE;
        found = true;
        EnumChildWindows(window, FindTitle, 0);
        PostMessageA(window, WM_COMMAND, pressOk ? IDOK : IDCANCEL, 0);
        return FALSE;
    }
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD)
    {
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, 0);
        if (found)
            KillTimer(nullptr, id);
    }
};
bool RealBrowser::pressOk;
bool RealBrowser::sawTitle;
bool RealBrowser::found;

TEST_F(FolderBrowse, ShellBrowserAnsweredFromATimer)
{
    SetBrowseForFolderFunction(nullptr);
    ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

    RealBrowser::pressOk = false;
    RealBrowser::sawTitle = RealBrowser::found = false;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, &RealBrowser::OnTimer);
    iString path = "C:\\kept";
    EXPECT_FALSE(BrowseForFolder(nullptr, path));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(RealBrowser::found);
    EXPECT_TRUE(RealBrowser::sawTitle);
    EXPECT_STREQ("C:\\kept", path);

    RealBrowser::pressOk = true;
    RealBrowser::found = false;
    timer = SetTimer(nullptr, 0, 100, &RealBrowser::OnTimer);
    EXPECT_TRUE(BrowseForFolder(nullptr, path));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(RealBrowser::found);
    const DWORD attributes = GetFileAttributesA(path);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes) << path;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << path;

    CoUninitialize();
}

} // namespace
