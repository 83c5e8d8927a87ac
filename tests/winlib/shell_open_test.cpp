// Opening with the shell and its browser fallback (the command line it builds, refused
// addresses, no handle kept), the registry look-up behind it, and the shell context menus:
// dismissed, a harmless verb chosen, failures reported, and the refresh their owner gets.
#include "lib/src/Win2/Wnd/iShell.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "shell_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using shell_test::ShellSeams;

constexpr char kClassesKey[] = "Software\\Sorvanta Shell Test\\Classes";
constexpr char kBrowserClass[] = "SorvantaTest.Page";

// A classes root of the test's own under the current user, removed afterwards.
class TestClassesRoot {
public:
    TestClassesRoot()
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kClassesKey);
        EXPECT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, kClassesKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                   nullptr, &m_root, nullptr));
    }
    ~TestClassesRoot()
    {
        ::RegCloseKey(m_root);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Sorvanta Shell Test");
    }
    TestClassesRoot(const TestClassesRoot&) = delete;
    TestClassesRoot& operator=(const TestClassesRoot&) = delete;

    HKEY get() const { return m_root; }
    // The default value of subKey: size bytes of text (-1: the text and its terminator).
    void SetDefault(const std::string& subKey, const std::string& text, int size = -1) const
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegCreateKeyExA(m_root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        const DWORD bytes = size < 0 ? static_cast<DWORD>(text.size() + 1) : static_cast<DWORD>(size);
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes));
        ::RegCloseKey(key);
    }
    void MakeKey(const std::string& subKey) const
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  ::RegCreateKeyExA(m_root, subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
        ::RegCloseKey(key);
    }
    void SetBrowser(const std::string& command) const
    {
        SetDefault(".htm", kBrowserClass);
        SetDefault(std::string(kBrowserClass) + "\\shell\\open\\command", command);
    }

private:
    HKEY m_root = nullptr;
};

DWORD HandleCount()
{
    DWORD count = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &count);
    return count;
}

bool IsOpenHandle(HANDLE handle)
{
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(ShellOpenURL, ASuccessfulShellOpenIsAnsweredAsItCame)
{
    ShellSeams seams;
    seams.openAnswer = 42;
    iShell shell;
    EXPECT_EQ(42, shell.OpenURL("C:\\Photos\\cat.jpg", SW_SHOW));
    EXPECT_EQ(std::vector<std::string>{"C:\\Photos\\cat.jpg"}, seams.seen.opened);
    EXPECT_TRUE(seams.seen.started.empty());
}

TEST(ShellOpenURL, FallbackStartsTheBrowserWithTheAddressQuotedInPlaceOfItsPlaceholder)
{
    const std::string longAddress = "http://example.invalid/" + std::string(33000, 'a');
    struct Case {
        const char* why;
        std::string handler;
        std::string address;
        std::string commandLine;  // empty: nothing may start
    };
    const Case cases[] = {
        {"quoted placeholder", "\"C:\\b\\browser.exe\" \"%1\"", "C:\\My Photos\\cat one.jpg",
         "\"C:\\b\\browser.exe\"  \"C:\\My Photos\\cat one.jpg\""},
        {"bare placeholder with an argument after it", "C:\\b\\browser.exe %1 -new", "http://example.invalid/a b",
         "C:\\b\\browser.exe  \"http://example.invalid/a b\""},
        {"no placeholder", "browser.exe", "http://example.invalid/", "browser.exe \"http://example.invalid/\""},
        {"an address that would end the quotes and add arguments", "browser.exe \"%1\"",
         "x\" --remote-debugging-port=1 \"y", ""},
        {"a command line longer than a process can be given", "browser.exe \"%1\"", longAddress, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TestClassesRoot classes;
        classes.SetBrowser(c.handler);
        ShellSeams seams;
        seams.openAnswer = SE_ERR_NOASSOC;
        iShell shell;
        const DWORD handlesBefore = HandleCount();
        const INT_PTR answer = shell.OpenURL(c.address.c_str(), SW_SHOW, classes.get());
        if (c.commandLine.empty()) {
            EXPECT_EQ(0, answer);
            EXPECT_TRUE(seams.seen.started.empty());
            continue;
        }
        ASSERT_EQ(1u, seams.seen.started.size());
        EXPECT_EQ(c.commandLine, seams.seen.started[0]);
        EXPECT_EQ(iShell::kOpenedByFallback, answer);
        EXPECT_GT(answer, 32);
        // Both handles the start handed out are closed again.
        EXPECT_FALSE(IsOpenHandle(seams.seen.startedProcess));
        EXPECT_FALSE(IsOpenHandle(seams.seen.startedThread));
        EXPECT_EQ(handlesBefore, HandleCount());
    }
}

TEST(ShellOpenURL, FallbackFailuresAnswerTheShellsValueOrZero)
{
    iShell shell;
    {
        SCOPED_TRACE("no browser class registered");
        TestClassesRoot classes;
        ShellSeams seams;
        seams.openAnswer = SE_ERR_NOASSOC;
        EXPECT_EQ(SE_ERR_NOASSOC, shell.OpenURL("C:\\a.xyz", SW_SHOW, classes.get()));
        EXPECT_TRUE(seams.seen.started.empty());
    }
    {
        SCOPED_TRACE("a browser class without an open command");
        TestClassesRoot classes;
        classes.SetDefault(".htm", kBrowserClass);
        ShellSeams seams;
        seams.openAnswer = SE_ERR_FNF;
        EXPECT_EQ(SE_ERR_FNF, shell.OpenURL("C:\\a.xyz", SW_SHOW, classes.get()));
        EXPECT_TRUE(seams.seen.started.empty());
    }
    {
        SCOPED_TRACE("the browser does not start");
        TestClassesRoot classes;
        classes.SetBrowser("browser.exe %1");
        ShellSeams seams;
        seams.openAnswer = SE_ERR_NOASSOC;
        seams.startSucceeds = false;
        EXPECT_EQ(0, shell.OpenURL("C:\\a.xyz", SW_SHOW, classes.get()));
        EXPECT_EQ(1u, seams.seen.started.size());
    }
}

TEST(ShellQueryRegKey, CopiesOnlyAValueReadWholeAndAlwaysTerminated)
{
    TestClassesRoot classes;
    classes.SetDefault("plain", "TestBrowser.Page");
    classes.SetDefault("unterminated", "NoEnd", 5);
    classes.MakeKey("no value");
    classes.SetDefault("too long", std::string(MAX_PATH, 'v'));
    classes.SetDefault("just fits", std::string(MAX_PATH - 1, 'f'));
    struct Case {
        const char* key;
        bool read;
        std::string value;
    };
    const Case cases[] = {
        {"plain", true, "TestBrowser.Page"},
        {"unterminated", true, "NoEnd"},
        {"just fits", true, std::string(MAX_PATH - 1, 'f')},
        {"no value", false, ""},
        {"too long", false, ""},
        {"missing", false, ""},
    };
    iShell shell;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        std::vector<char> buffer(MAX_PATH + 8, '#');
        const LONG result = shell.QueryRegKey(classes.get(), c.key, buffer.data());
        if (c.read) {
            EXPECT_EQ(ERROR_SUCCESS, result);
            EXPECT_EQ(c.value, std::string(buffer.data()));
        } else {
            EXPECT_NE(ERROR_SUCCESS, result);
            EXPECT_EQ(std::vector<char>(MAX_PATH + 8, '#'), buffer);  // nothing copied
        }
        EXPECT_EQ(std::string(8, '#'), std::string(buffer.data() + MAX_PATH, 8));
    }
}

// An owner that counts the refresh messages it gets.
class MenuOwner : public iWnd {
public:
    MenuOwner() : iWnd(nullptr, CRect(0, 0, 200, 100), WS_POPUP, "menu owner", 0, 0, nullptr) {}
    std::vector<WPARAM> refreshes;

protected:
    LRESULT OnShellRefresh(WPARAM wParam, LPARAM)
    {
        refreshes.push_back(wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MenuOwner, iWnd)
    ON_REGISTERED_MESSAGE(g_shellRefreshMessage, OnShellRefresh)
END_MESSAGE_MAP()

class ShellContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_scratch.File("menu item.txt", 10);
        m_parent = shell_test::ParentFolderOf(m_scratch.Path("menu item.txt"), &m_absolute, &m_relative);
        ASSERT_NE(nullptr, m_parent);
        m_copyCommand = shell_test::CommandOfVerb(m_parent, m_relative, "copy");
    }
    void TearDown() override
    {
        if (m_parent)
            m_parent->Release();
        ::CoTaskMemFree(m_absolute);
    }

    shell_test::OleForTest m_ole;
    shell_test::ScratchTree m_scratch;
    ShellSeams m_seams;
    iShell m_shell;
    IShellFolder* m_parent = nullptr;
    LPITEMIDLIST m_absolute = nullptr;
    LPCITEMIDLIST m_relative = nullptr;
    UINT m_copyCommand = 0;
};

TEST_F(ShellContextMenuTest, ADismissedMenuAnswersTrueAndTellsTheOwnerNothing)
{
    MenuOwner owner;
    m_seams.menuAnswer = 0;
    EXPECT_TRUE(m_shell.DoContextMenu(owner.m_hWnd, m_parent, m_relative, POINT{10, 10}));
    EXPECT_EQ(1, m_seams.seen.menusTracked);
    EXPECT_TRUE(owner.refreshes.empty());
    EXPECT_TRUE(m_seams.seen.boxTexts.empty());
}

TEST_F(ShellContextMenuTest, AChosenVerbRunsAndTheOwnerIsToldToRefresh)
{
    ASSERT_NE(0u, m_copyCommand) << "the shell offers no copy verb";
    MenuOwner owner;
    m_seams.menuAnswer = m_copyCommand;
    EXPECT_TRUE(m_shell.DoContextMenu(owner.m_hWnd, m_parent, m_relative, POINT{10, 10}));
    EXPECT_TRUE(m_seams.seen.boxTexts.empty());
    EXPECT_EQ(std::vector<WPARAM>{1}, owner.refreshes);
}

// A dialog with no controls, from a template built here.
HWND MakeEmptyDialog()
{
    struct {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } empty = {};
    empty.dialog.style = WS_POPUP;
    empty.dialog.cx = 100;
    empty.dialog.cy = 50;
    return ::CreateDialogIndirectParamA(nullptr, &empty.dialog, nullptr,
                                        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
}

TEST_F(ShellContextMenuTest, ADialogOwnersDefaultButtonStaysAsItWas)
{
    ASSERT_NE(0u, m_copyCommand);
    HWND dialog = MakeEmptyDialog();
    ASSERT_NE(nullptr, dialog);
    constexpr WORD kDefaultButton = 2;
    ::SendMessageA(dialog, DM_SETDEFID, kDefaultButton, 0);
    m_seams.menuAnswer = m_copyCommand;
    EXPECT_TRUE(m_shell.DoContextMenu(dialog, m_parent, m_relative, POINT{10, 10}));
    EXPECT_EQ(MAKELRESULT(kDefaultButton, DC_HASDEFID), ::SendMessageA(dialog, DM_GETDEFID, 0, 0));
    ::DestroyWindow(dialog);
}

TEST_F(ShellContextMenuTest, MenuForAPathRunsTheChosenCommandOnly)
{
    ASSERT_NE(0u, m_copyCommand);
    MenuOwner owner;
    const std::string path = m_scratch.Path("menu item.txt");
    m_seams.menuAnswer = 0;
    EXPECT_FALSE(m_shell.DoContextMenuForPath(owner.m_hWnd, path.c_str(), 5, 5));
    EXPECT_EQ(1, m_seams.seen.menusTracked);
    m_seams.menuAnswer = m_copyCommand;
    EXPECT_TRUE(m_shell.DoContextMenuForPath(owner.m_hWnd, path.c_str(), 5, 5));
    EXPECT_EQ(2, m_seams.seen.menusTracked);
    // The path's menu tells nobody: its caller decides what to refresh.
    EXPECT_TRUE(owner.refreshes.empty());
    EXPECT_TRUE(m_seams.seen.boxTexts.empty());
}

TEST_F(ShellContextMenuTest, MenuForAPathLongerThanAPathIsRefusedBeforeAnyMenu)
{
    MenuOwner owner;
    const std::string overlong = m_scratch.Path(std::string(MAX_PATH, 'p') + ".txt");
    EXPECT_FALSE(m_shell.DoContextMenuForPath(owner.m_hWnd, overlong.c_str(), 5, 5));
    EXPECT_FALSE(m_shell.DoContextMenuForPath(owner.m_hWnd, m_scratch.Path("missing.txt").c_str(), 5, 5));
    EXPECT_EQ(0, m_seams.seen.menusTracked);
}

// A menu whose command fails, from a folder whose menus are that one or none at all.
class FailingMenu : public IContextMenu {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT, UINT first, UINT, UINT) override
    {
        ::AppendMenuA(menu, MF_STRING, first, "fails");
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
    }
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO*) override { return E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR, UINT, UINT*, LPSTR, UINT) override { return E_NOTIMPL; }
};

TEST_F(ShellContextMenuTest, FailuresAreReportedInTheShellsWords)
{
    struct MenuFolder : public shell_test::StubShellFolder {
        HRESULT menuAnswer = S_OK;
        FailingMenu menu;
        HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void** object) override
        {
            *object = SUCCEEDED(menuAnswer) ? &menu : nullptr;
            return menuAnswer;
        }
    };
    MenuOwner owner;
    MenuFolder folder;
    folder.menuAnswer = E_NOINTERFACE;
    EXPECT_FALSE(m_shell.DoContextMenu(owner.m_hWnd, &folder, m_relative, POINT{1, 1}));
    EXPECT_EQ(0, m_seams.seen.menusTracked);
    ASSERT_EQ(1u, m_seams.seen.boxTexts.size());
    EXPECT_EQ("GetUIObjectOf failed! hr=80004002", m_seams.seen.boxTexts[0]);
    EXPECT_EQ(static_cast<UINT>(MB_OK), m_seams.seen.boxStyles[0] & 0xF);

    folder.menuAnswer = S_OK;
    m_seams.menuAnswer = 1;
    EXPECT_TRUE(m_shell.DoContextMenu(owner.m_hWnd, &folder, m_relative, POINT{1, 1}));
    ASSERT_EQ(2u, m_seams.seen.boxTexts.size());
    EXPECT_EQ("InvokeCommand failed. hr=80070005", m_seams.seen.boxTexts[1]);
    EXPECT_TRUE(owner.refreshes.empty());
}

} // namespace
