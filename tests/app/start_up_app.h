// A test application made of test document, frame and view classes that starts
// exactly as the program does: InitInstance makes and loads the settings stores,
// names the registry key, registers a text-string template, parses the command line
// and carries out the shell command "new file" (document, frame with menu, status bar
// and a command bar, view, title); ExitInstance saves and deletes the stores. The
// stores and the framework's settings live below the tests' own company key.
#pragma once

#include "start_up_resources.h"

#include "app/GlobalWinApp.h"
#include "framework/Framework.h"

#include <functional>
#include <string>
#include <vector>

namespace app_test {

// What the test classes saw; reset by StartUpApp's constructor.
struct StartUpRecord {
    int documentsMade = 0;
    int documentsGone = 0;
    int framesMade = 0;
    int framesGone = 0;
    int viewsMade = 0;
    int viewsGone = 0;
    int initialUpdates = 0;
    int counts = 0;
    int bannerHistoryInView = 0;
    bool isToggled = false;
    // Set to make the frame's creation fail, as a frame whose bars cannot be made does.
    bool failFrameCreation = false;
};
extern StartUpRecord g_startUp;

// How an idle update left one command. An item stays enabled unless an update disables it.
struct CommandState {
    bool isEnabled = true;
    int check = 0;
};

class StartUpDocument : public CDocument {
    DECLARE_DYNCREATE(StartUpDocument)
public:
    StartUpDocument();
    ~StartUpDocument() override;
};

class StartUpView : public CView {
    DECLARE_DYNCREATE(StartUpView)
public:
    StartUpView();
    ~StartUpView() override;
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;

protected:
    afx_msg void OnCount();
    afx_msg void OnToggle();
    afx_msg void OnUpdateToggle(CCmdUI* pCmdUI);
    afx_msg void OnBannerHistory();
    DECLARE_MESSAGE_MAP()
};

// A bar that, at every idle update, asks the frame's routing about three test
// commands and keeps what it was told, as a toolbar updates its buttons.
class StartUpCommandBar : public CControlBar {
public:
    BOOL Create(CWnd* pParentWnd);
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    static constexpr UINT kCommands[] = {ID_TEST_COUNT, ID_TEST_TOGGLE, ID_TEST_NO_HANDLER};
    std::vector<std::vector<CommandState>> m_updates;
};

class StartUpFrame : public CFrameWnd {
    DECLARE_DYNCREATE(StartUpFrame)
public:
    StartUpFrame();
    ~StartUpFrame() override;

    CStatusBar m_wndStatusBar;
    StartUpCommandBar m_wndCommandBar;

    static constexpr UINT_PTR kCloseTimer = 1;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    DECLARE_MESSAGE_MAP()
};

class StartUpApp : public GlobalWinApp {
public:
    StartUpApp();
    ~StartUpApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // After the base's idle work is done, runs the next script step (if any) and
    // keeps the loop turning until the script has run.
    BOOL OnIdle(LONG lCount) override;

    // Steps run one per quiet moment of the message loop, in order.
    std::vector<std::function<void(StartUpApp&)>> m_script;
    // When non-zero, the frame closes itself this long after start-up.
    UINT m_closeAfterMs = 0;

    // Read after start-up.
    bool m_isSplashWanted = true;
    bool m_wereStoresLoaded = false;
    int m_exitInstanceRuns = 0;

private:
    size_t m_nextStep = 0;
};

} // namespace app_test
