// The shell helper's folder browser (run through the library's replaceable browser): its
// title, flags and starting selection, the chosen folder's path, a cancel, and a root it
// cannot find; and its existence test and file information beside the shell's answers.
#include "lib/src/Win2/Wnd/iFolderBrowse.h"
#include "lib/src/Win2/Wnd/iShell.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "shell_test_support.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>

namespace {

// Answers the browser as a person would: checks what it was shown, lets the dialog's
// start-up callback run against a window that records the selection it is sent, and
// chooses a folder (empty: cancel).
struct BrowserAnswer {
    static inline std::string choice;
    static inline std::string title;
    static inline UINT flags = 0;
    static inline int shown = 0;
    static inline std::string selectionSent;
    static inline bool rootGiven = false;

    static PIDLIST_ABSOLUTE WINAPI Browse(LPBROWSEINFOA info)
    {
        ++shown;
        title = info->lpszTitle ? info->lpszTitle : "";
        flags = info->ulFlags;
        rootGiven = info->pidlRoot != nullptr;
        if (info->lpfn) {
            HWND recorder = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
            ::SetWindowLongPtrA(recorder, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordSelection));
            EXPECT_EQ(0, info->lpfn(recorder, BFFM_INITIALIZED, 0, info->lParam));
            ::DestroyWindow(recorder);
        }
        return choice.empty() ? nullptr : ILCreateFromPathA(choice.c_str());
    }
    static LRESULT CALLBACK RecordSelection(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == BFFM_SETSELECTIONA && wParam == TRUE)
            selectionSent = reinterpret_cast<LPCSTR>(lParam);
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
};

class ShellBrowseTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = SetBrowseForFolderFunction(&BrowserAnswer::Browse);
        BrowserAnswer::shown = 0;
        BrowserAnswer::selectionSent.clear();
        m_scratch.Folder("chosen one");
    }
    void TearDown() override { SetBrowseForFolderFunction(m_previous); }

    BrowseForFolderFunction m_previous = nullptr;
    shell_test::ScratchTree m_scratch;
    iShell m_shell;
};

TEST_F(ShellBrowseTest, AChosenFolderIsKeptWithItsPath)
{
    BrowserAnswer::choice = m_scratch.Path("chosen one");
    EXPECT_TRUE(m_shell.BrowseForFolder(nullptr));
    EXPECT_EQ(1, BrowserAnswer::shown);
    EXPECT_EQ("Open", BrowserAnswer::title);
    EXPECT_EQ(static_cast<UINT>(BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS), BrowserAnswer::flags);
    EXPECT_FALSE(BrowserAnswer::rootGiven);
    EXPECT_TRUE(BrowserAnswer::selectionSent.empty());  // no selection asked for
    EXPECT_EQ(BrowserAnswer::choice, std::string(m_shell.m_browseResult));
}

TEST_F(ShellBrowseTest, TitleRootAndSelectionAreHandedToTheBrowser)
{
    m_shell.m_browseTitle = "Pick the photos";
    m_shell.m_browseRoot = m_scratch.Root().c_str();
    m_shell.m_browseSelection = m_scratch.Path("chosen one").c_str();
    BrowserAnswer::choice = m_scratch.Path("chosen one");
    EXPECT_TRUE(m_shell.BrowseForFolder(nullptr));
    EXPECT_EQ("Pick the photos", BrowserAnswer::title);
    EXPECT_TRUE(BrowserAnswer::rootGiven);
    EXPECT_EQ(m_scratch.Path("chosen one"), BrowserAnswer::selectionSent);
}

TEST_F(ShellBrowseTest, CancelAndAnUnknownRootAnswerFalse)
{
    m_shell.m_browseResult = "before";
    BrowserAnswer::choice.clear();
    EXPECT_FALSE(m_shell.BrowseForFolder(nullptr));
    EXPECT_STREQ("before", m_shell.m_browseResult);

    m_shell.m_browseRoot = m_scratch.Path("no such folder").c_str();
    BrowserAnswer::choice = m_scratch.Path("chosen one");
    EXPECT_FALSE(m_shell.BrowseForFolder(nullptr));
    EXPECT_EQ(1, BrowserAnswer::shown);  // the cancel's: the unknown root shows nothing
}

TEST(ShellFileInformation, ExistenceAndTheShellsAnswersForAPath)
{
    shell_test::ScratchTree scratch;
    scratch.File("notes.txt", 3);
    iShell shell;
    struct Case {
        std::string path;
        BOOL exists;
    };
    const Case cases[] = {
        {scratch.Path("notes.txt"), TRUE},
        {scratch.Root(), TRUE},
        {scratch.Path("missing.txt"), FALSE},
        {"C:\\", FALSE},  // a drive root is not found this way
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.exists, shell.Exists(c.path.c_str()));
    }
    const std::string path = scratch.Path("notes.txt");
    EXPECT_EQ(shell_test::ShellDisplayName(path), std::string(shell.GetDisplayName(path.c_str())));
    EXPECT_EQ(shell_test::ShellTypeName(path), std::string(shell.GetTypeName(path.c_str())));
    EXPECT_EQ(shell_test::ShellSmallIconIndex(path), shell.GetIconIndex(path.c_str(), SHGFI_SMALLICON));

    CImageList smallList, largeList;
    shell.GetSystemImageLists(&smallList, &largeList);
    SHFILEINFOA info = {};
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SHGetFileInfoA("C:\\", 0, &info, sizeof info,
                                                            SHGFI_SYSICONINDEX | SHGFI_SMALLICON)),
              smallList.GetSafeHandle());
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(::SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX)),
              largeList.GetSafeHandle());
    EXPECT_NE(smallList.GetSafeHandle(), largeList.GetSafeHandle());
    // The shell's lists are not ours to destroy.
    smallList.Detach();
    largeList.Detach();
}

} // namespace
