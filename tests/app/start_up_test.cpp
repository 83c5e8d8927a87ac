// The program's start-up spine, run headless through the framework's entry: the shell
// command "new file" makes the document, the frame with its menu, bars and title, and
// the view; commands, accelerators, menus and idle updates reach the right targets;
// closing the frame ends the loop, ExitInstance saves the settings, and every object
// made with new is gone.
#include "shell_test_support.h"
#include "start_up_app.h"
#include "test_stores.h"

#include <gtest/gtest.h>

#include <string>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace start_up_test {

using namespace app_test;

namespace {

// What the script saw while the program ran.
struct Seen {
    std::string title;
    bool hasMenu = false;
    bool isFrameVisible = false;
    bool isViewActive = false;
    std::string statusText;
    CRect statusRect;
    CRect viewRect;
    CRect clientRect;
    UINT countMenuState = 0;
    UINT toggleMenuState = 0;
    UINT unhandledMenuState = 0;
    UINT sendToFriendMenuState = 0;
    UINT bannerHistoryMenuState = 0;
    int countsAfterAccelerator = -1;
    // The command bar's idle passes, up to the first step and up to the close.
    std::vector<std::vector<CommandState>> updatesBeforeToggle;
    std::vector<std::vector<CommandState>> updatesAtClose;
};

std::string WindowText(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteTestKeys();
        g_opened.clear();
        m_previousOpen = SetShellOpenFunction(&RecordOpen);
    }
    void TearDown() override
    {
        SetShellOpenFunction(m_previousOpen);
        DeleteTestKeys();
    }

    int Run(StartUpApp& app, const char* commandLine)
    {
        std::string line = commandLine;
        return AfxWinMain(GetModuleHandleA(nullptr), nullptr, line.data(), SW_SHOWNORMAL);
    }

private:
    ShellOpenFunction m_previousOpen = nullptr;
};

// The state of menu item id within the frame's menu as the user would find it on opening its popup.
UINT MenuStateAfterOpening(CFrameWnd* frame, int popupIndex, UINT id)
{
    HMENU menu = GetMenu(frame->m_hWnd);
    HMENU popup = popupIndex >= 0 ? GetSubMenu(menu, popupIndex) : menu;
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(popupIndex, FALSE));
    return GetMenuState(popup, id, MF_BYCOMMAND);
}

} // namespace

TEST_F(StartUpTest, StartsThroughTheTemplateAnswersCommandsAndSavesItsSettingsAtExit)
{
    StartUpApp app;
    Seen seen;
    app.m_script = {
        [&seen](StartUpApp& running) {
            auto* frame = dynamic_cast<StartUpFrame*>(running.m_pMainWnd);
            ASSERT_NE(nullptr, frame);
            seen.title = WindowText(frame->m_hWnd);
            seen.hasMenu = GetMenu(frame->m_hWnd) != nullptr;
            seen.isFrameVisible = frame->IsWindowVisible() != FALSE;
            seen.isViewActive = dynamic_cast<StartUpView*>(frame->GetActiveView()) != nullptr;
            seen.statusText = WindowText(frame->m_wndStatusBar.m_hWnd);
            frame->GetClientRect(&seen.clientRect);
            frame->m_wndStatusBar.GetWindowRect(&seen.statusRect);
            frame->ScreenToClient(&seen.statusRect);
            frame->GetActiveView()->GetWindowRect(&seen.viewRect);
            frame->ScreenToClient(&seen.viewRect);
            seen.updatesBeforeToggle = frame->m_wndCommandBar.m_updates;
            frame->SendMessage(WM_COMMAND, ID_TEST_TOGGLE);
        },
        [&seen](StartUpApp& running) {
            auto* frame = static_cast<StartUpFrame*>(running.m_pMainWnd);
            // Through the loop: pre-translation finds the frame's accelerator for F5.
            frame->GetActiveView()->PostMessage(WM_KEYDOWN, VK_F5, 0x003F0001);
            frame->SendMessage(WM_COMMAND, ID_APP_BANNER_HISTORY);
            frame->SendMessage(WM_COMMAND, ID_APP_SPARE);
            frame->SendMessage(WM_COMMAND, ID_HELP_INDEX);
            seen.countMenuState = MenuStateAfterOpening(frame, 0, ID_TEST_COUNT);
            seen.toggleMenuState = MenuStateAfterOpening(frame, 0, ID_TEST_TOGGLE);
            seen.unhandledMenuState = MenuStateAfterOpening(frame, 0, ID_TEST_NO_HANDLER);
            seen.bannerHistoryMenuState = MenuStateAfterOpening(frame, 1, ID_APP_BANNER_HISTORY);
        },
        [&seen](StartUpApp& running) {
            auto* frame = static_cast<StartUpFrame*>(running.m_pMainWnd);
            seen.countsAfterAccelerator = g_startUp.counts;
            seen.updatesAtClose = frame->m_wndCommandBar.m_updates;
            frame->PostMessage(WM_CLOSE);
        },
    };
    EXPECT_EQ(0, Run(app, "C:\\Pictures\\photo.jpg /NoSplash"));

    // Start-up: one document, one frame with menu, bars and title, one view, shown.
    EXPECT_TRUE(app.m_wereStoresLoaded);
    EXPECT_FALSE(app.m_isSplashWanted);
    EXPECT_EQ("Untitled - Sorvanta Start-up Test", seen.title) << "the file named on the command line is not opened";
    EXPECT_TRUE(seen.hasMenu);
    EXPECT_TRUE(seen.isFrameVisible);
    EXPECT_TRUE(seen.isViewActive);
    EXPECT_EQ(1, g_startUp.initialUpdates);
    EXPECT_EQ("Ready", seen.statusText);
    EXPECT_EQ(seen.clientRect.bottom, seen.statusRect.bottom) << "the status bar lies along the bottom";
    EXPECT_EQ(24, seen.viewRect.top) << "the view starts below the command bar";
    EXPECT_EQ(seen.statusRect.top, seen.viewRect.bottom) << "and fills the room down to the status bar";

    // Idle updates routed through the frame to the view: counted and switch enabled, the
    // command without a handler disabled, the switch checked from the pass after the toggle.
    ASSERT_FALSE(seen.updatesBeforeToggle.empty());
    const std::vector<CommandState>& first = seen.updatesBeforeToggle.front();
    ASSERT_EQ(3u, first.size());
    EXPECT_TRUE(first[0].isEnabled);
    EXPECT_TRUE(first[1].isEnabled);
    EXPECT_EQ(0, first[1].check);
    EXPECT_FALSE(first[2].isEnabled);
    ASSERT_GT(seen.updatesAtClose.size(), seen.updatesBeforeToggle.size());
    EXPECT_EQ(1, seen.updatesAtClose.back()[1].check);

    // Commands: the accelerator and the menu reached the view; the view took the banner
    // history before the application; the frame's help index opened the web help.
    EXPECT_EQ(1, seen.countsAfterAccelerator);
    EXPECT_TRUE(g_startUp.isToggled);
    EXPECT_EQ(1, g_startUp.bannerHistoryInView);
    ASSERT_EQ(1u, g_opened.size());
    EXPECT_EQ("open", g_opened[0].verb);
    EXPECT_EQ("http://www.tamrow.example/help/", g_opened[0].file);

    // Menus updated as they open: handled items enabled, the switch checked, no handler disabled.
    EXPECT_EQ(0u, seen.countMenuState & (MF_GRAYED | MF_DISABLED));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), seen.toggleMenuState & MF_CHECKED);
    EXPECT_NE(0u, seen.unhandledMenuState & MF_GRAYED);
    EXPECT_EQ(0u, seen.bannerHistoryMenuState & (MF_GRAYED | MF_DISABLED));

    // Exit: the loop ended, ExitInstance ran once, every object made with new is gone.
    EXPECT_EQ(1, app.m_exitInstanceRuns);
    EXPECT_EQ(1, g_startUp.documentsMade);
    EXPECT_EQ(1, g_startUp.documentsGone);
    EXPECT_EQ(1, g_startUp.framesMade);
    EXPECT_EQ(1, g_startUp.framesGone);
    EXPECT_EQ(1, g_startUp.viewsMade);
    EXPECT_EQ(1, g_startUp.viewsGone);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_EQ(nullptr, g_pOption);
    EXPECT_EQ(nullptr, g_pSetup);
    EXPECT_EQ(nullptr, g_pUsage);

    // The settings were written at exit: every store, with its first-run values.
    EXPECT_EQ(1u, ReadValue("Option\\Common", "Confirm Overwrite").Dword());
    EXPECT_TRUE(ReadValue("Option\\FileType", "File Type").exists);
    EXPECT_TRUE(ReadValue("Setup\\Printer", "Name").exists);
    EXPECT_TRUE(ReadValue("Setup\\Scanner", "TWAIN Source").exists);
    EXPECT_EQ(1u, ReadValue("Usage\\Exit", "Dialog").Dword());
}

TEST_F(StartUpTest, FailedShellCommandStillRunsExitInstanceWhichSavesTheStoresAsLoaded)
{
    ASSERT_TRUE(WriteDword("Option\\Common", "Confirm Overwrite", 0));
    ASSERT_TRUE(WriteDword("Usage\\Exit", "Dialog", 0));
    StartUpApp app;
    g_startUp.failFrameCreation = true;
    Run(app, "");
    EXPECT_EQ(1, app.m_exitInstanceRuns);
    EXPECT_EQ(1, g_startUp.framesMade);
    EXPECT_EQ(1, g_startUp.framesGone) << "the frame that failed deleted itself";
    EXPECT_EQ(g_startUp.documentsMade, g_startUp.documentsGone);
    EXPECT_EQ(nullptr, g_pOption);
    EXPECT_EQ(0u, ReadValue("Option\\Common", "Confirm Overwrite").Dword());
    EXPECT_EQ(0u, ReadValue("Usage\\Exit", "Dialog").Dword());
    EXPECT_TRUE(ReadValue("Setup\\Printer", "Gamma Value").exists);
}

} // namespace start_up_test
