// The application base: the named mutex and its lifetime, help sent to the browser
// once the help path is a web address, the application's command table, and the
// shell interface ids filled at start-up.
#include "app/GlobalWinApp.h"

#include "framework/Framework.h"
#include "lib/src/MsgBox.h"
#include "lib/src/Win2/Wnd/iSplash.h"

#include "shell_test_support.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using app_test::g_opened;
using app_test::RecordOpen;

// Replaces the browser for the test's lifetime.
class GlobalWinAppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_opened.clear();
        m_previous = SetShellOpenFunction(&RecordOpen);
    }
    void TearDown() override { SetShellOpenFunction(m_previous); }

private:
    ShellOpenFunction m_previous = nullptr;
};

bool MutexExists()
{
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "Sorvanta");
    if (!mutex)
        return false;
    CloseHandle(mutex);
    return true;
}

} // namespace

TEST_F(GlobalWinAppTest, HoldsTheNamedMutexForItsLifetimeAndASecondCopyStillStarts)
{
    ASSERT_FALSE(MutexExists());
    {
        auto first = std::make_unique<GlobalWinApp>();
        EXPECT_TRUE(MutexExists());
        GlobalWinApp second;
        first.reset();
        EXPECT_TRUE(MutexExists()) << "the second copy keeps its own hold";
    }
    EXPECT_FALSE(MutexExists());
}

TEST_F(GlobalWinAppTest, WebHelpPathsOpenInTheBrowserWhateverTheRequest)
{
    GlobalWinApp app;
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, AfxFrameOrViewClassName(), "Main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100),
                                 nullptr, 0));
    app.m_pMainWnd = &mainWnd;
    struct Case { const char* why; const char* path; UINT command; bool opens; };
    const Case cases[] = {
        {"the product's web help", "http://www.tamrow.example/help/", HELP_INDEX, true},
        {"the scheme in capitals", "HTTP://WWW.TAMROW.EXAMPLE/help/", HELP_CONTENTS, true},
        {"a request of any kind", "http://www.tamrow.example/help/", HELP_CONTEXT, true},
        // HELP_QUIT keeps the system's help program from starting when the base runs.
        {"a help file goes to the framework's help", "C:\\Program\\Halvexa.hlp", HELP_QUIT, false},
        {"a scheme cut short is no web address", "http:/www.tamrow.example", HELP_QUIT, false},
        {"another scheme", "https://www.tamrow.example/help/", HELP_QUIT, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        g_opened.clear();
        app.SetHelpFilePath(c.path);
        app.WinHelp(7, c.command);
        ASSERT_EQ(c.opens ? 1u : 0u, g_opened.size());
        if (c.opens) {
            EXPECT_EQ(mainWnd.m_hWnd, g_opened[0].owner);
            EXPECT_EQ("open", g_opened[0].verb);
            EXPECT_EQ(c.path, g_opened[0].file);
            EXPECT_FALSE(g_opened[0].hasParameters);
            EXPECT_FALSE(g_opened[0].hasDirectory);
            EXPECT_EQ(SW_SHOWNORMAL, g_opened[0].show);
        }
    }
    app.m_pMainWnd = nullptr;
    mainWnd.DestroyWindow();

    // Without a main window the browser opens without an owner.
    g_opened.clear();
    app.SetHelpFilePath("http://www.tamrow.example/help/");
    app.WinHelp(0, HELP_INDEX);
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ(nullptr, g_opened[0].owner);
}

TEST_F(GlobalWinAppTest, HelpCommandsReachingTheApplicationAllOpenTheWebHelp)
{
    GlobalWinApp app;
    app.SetHelpFilePath("http://www.tamrow.example/help/");
    for (UINT id : {ID_HELP_INDEX, ID_HELP, ID_CONTEXT_HELP}) {
        SCOPED_TRACE(id);
        g_opened.clear();
        EXPECT_TRUE(app.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr));
        ASSERT_EQ(1u, g_opened.size());
        EXPECT_EQ("http://www.tamrow.example/help/", g_opened[0].file);
    }
}

TEST_F(GlobalWinAppTest, SpareAndBannerHistoryCommandsAreAnsweredWithoutAction)
{
    GlobalWinApp app;
    app.SetHelpFilePath("http://www.tamrow.example/help/");
    for (UINT id : {static_cast<UINT>(ID_APP_SPARE), static_cast<UINT>(ID_APP_BANNER_HISTORY)}) {
        SCOPED_TRACE(id);
        EXPECT_TRUE(app.OnCmdMsg(id, CN_COMMAND, nullptr, nullptr)) << "handled, so a menu item stays enabled";
    }
    EXPECT_TRUE(g_opened.empty());
    EXPECT_FALSE(app.OnCmdMsg(ID_APP_SPARE + 100, CN_COMMAND, nullptr, nullptr));
}

namespace {

// The thread's visible top-most pop-up, or null.
HWND FindAboutWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
            const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
            if ((style & WS_POPUP) && (exStyle & WS_EX_TOPMOST) && IsWindowVisible(window)) {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The about text and box as the program's application object sets them.
class AboutApp : public GlobalWinApp {
public:
    AboutApp()
    {
        m_aboutText = "Sorvanta [Standard]\nVersion 1.0.10";
        m_aboutRect = {10, 280, 310, 380};
    }
};

} // namespace

TEST_F(GlobalWinAppTest, AboutWindowTakesTheMouseClosesOnTheFirstKeyAndCanBeOpenedAgain)
{
    AboutApp app;
    CWnd mainWnd;
    ASSERT_TRUE(mainWnd.CreateEx(0, AfxFrameOrViewClassName(), "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CRect(0, 0, 400, 300), nullptr, 0));
    app.m_pMainWnd = &mainWnd;
    for (const char* round : {"first About", "About again"}) {
        SCOPED_TRACE(round);
        EXPECT_TRUE(app.OnCmdMsg(ID_APP_ABOUT, CN_COMMAND, nullptr, nullptr));
        HWND about = FindAboutWindow();
        ASSERT_NE(nullptr, about);
        EXPECT_EQ(mainWnd.m_hWnd, GetWindow(about, GW_OWNER));
        auto* splash = dynamic_cast<iSplash*>(CWnd::FromHandlePermanent(about));
        ASSERT_NE(nullptr, splash);
        EXPECT_EQ(static_cast<UINT>(SPLASH_RESOURCE | SPLASH_MOUSE | SPLASH_KEYBOARD), splash->GetFlags());
        EXPECT_FALSE(splash->IsTimerActive()) << "no close timer: it stays until the user answers";
        EXPECT_EQ(about, GetCapture());
        SendMessageA(about, WM_KEYDOWN, 'A', 0);
        PumpPending();
        EXPECT_FALSE(IsWindow(about));
        EXPECT_EQ(nullptr, FindAboutWindow());
    }
    app.m_pMainWnd = nullptr;
    mainWnd.DestroyWindow();
}

TEST(ShellInterfaceIds, AreTheShellsOwnIds)
{
    EXPECT_TRUE(IsEqualIID(IID_IShellFolder, g_iidShellFolder));
    EXPECT_TRUE(IsEqualIID(IID_IContextMenu, g_iidContextMenu));
}

namespace {
std::vector<std::string> g_boxes;
int RecordBox(HWND owner, const char* text, const char* caption, UINT style)
{
    g_boxes.push_back(std::string(caption) + ": " + text + ((style & MB_ICONHAND) ? " (stop)" : ""));
    return IDOK;
}
} // namespace

TEST(ShellInterfaceIds, ARejectedTextIsReportedByBothConversions)
{
    MsgBoxShowFunction previous = SetMsgBoxShowFunction(&RecordBox);
    g_boxes.clear();
    IID id = IID_IShellFolder;
    EXPECT_FALSE(FillShellInterfaceId(L"{not-an-interface-id}", id));
    SetMsgBoxShowFunction(previous);
    ASSERT_EQ(2u, g_boxes.size());
    char expected[64];
    snprintf(expected, sizeof expected, "IIDFromString: CLSIDFromString %ld (stop)",
             static_cast<long>(CO_E_CLASSSTRING));
    EXPECT_EQ(expected, g_boxes[0]);
    EXPECT_EQ(0u, g_boxes[1].rfind("IIDFromString: IIDFromString ", 0)) << g_boxes[1];
}
