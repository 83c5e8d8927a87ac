// The start-up test application and its document, frame, view and command bar.
#include "start_up_app.h"

#include "test_stores.h"

#include "app/CommandLineInfoEx.h"
#include "lib/src/FilePaths.h"
#include "lib/src/Win2/Wnd/iSingleDocTemplate.h"

namespace app_test {

StartUpRecord g_startUp;

namespace {

constexpr const char* kDocStrings = "Sorvanta Start-up Test\n\n\n\n\nSorvanta.Document\nSorvanta Document";
constexpr int kCommandBarHeightPx = 24;

// Keeps what the routing told it instead of changing a window.
class RecordingCmdUI : public CCmdUI {
public:
    CommandState state;
    void Enable(BOOL bOn) override
    {
        state.isEnabled = bOn != FALSE;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { state.check = nCheck; }
};

} // namespace

IMPLEMENT_DYNCREATE(StartUpDocument, CDocument)

StartUpDocument::StartUpDocument()
{
    ++g_startUp.documentsMade;
}

StartUpDocument::~StartUpDocument()
{
    ++g_startUp.documentsGone;
}

IMPLEMENT_DYNCREATE(StartUpView, CView)

BEGIN_MESSAGE_MAP(StartUpView, CView)
    ON_COMMAND(ID_TEST_COUNT, OnCount)
    ON_COMMAND(ID_TEST_TOGGLE, OnToggle)
    ON_UPDATE_COMMAND_UI(ID_TEST_TOGGLE, OnUpdateToggle)
    ON_COMMAND(ID_APP_BANNER_HISTORY, OnBannerHistory)
END_MESSAGE_MAP()

StartUpView::StartUpView()
{
    ++g_startUp.viewsMade;
}

StartUpView::~StartUpView()
{
    ++g_startUp.viewsGone;
}

void StartUpView::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(255, 255, 255));
    pDC->SetBkMode(TRANSPARENT);
    CString text;
    text.Format("Counted %d, switch %s", g_startUp.counts, g_startUp.isToggled ? "on" : "off");
    pDC->DrawText(text, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void StartUpView::OnInitialUpdate()
{
    ++g_startUp.initialUpdates;
    CView::OnInitialUpdate();
}

void StartUpView::OnCount()
{
    ++g_startUp.counts;
    Invalidate();
}

void StartUpView::OnToggle()
{
    g_startUp.isToggled = !g_startUp.isToggled;
    Invalidate();
}

void StartUpView::OnUpdateToggle(CCmdUI* pCmdUI)
{
    pCmdUI->SetCheck(g_startUp.isToggled ? 1 : 0);
}

void StartUpView::OnBannerHistory()
{
    ++g_startUp.bannerHistoryInView;
}

BOOL StartUpCommandBar::Create(CWnd* pParentWnd)
{
    m_dwStyle = CBRS_TOP;
    return CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParentWnd, AFX_IDW_TOOLBAR);
}

CSize StartUpCommandBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
    size.cy = kCommandBarHeightPx;
    return size;
}

void StartUpCommandBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    std::vector<CommandState> pass;
    for (UINT id : kCommands) {
        RecordingCmdUI cmdUI;
        cmdUI.m_nID = id;
        cmdUI.m_pOther = this;
        cmdUI.DoUpdate(pTarget, bDisableIfNoHndler);
        pass.push_back(cmdUI.state);
    }
    m_updates.push_back(pass);
}

IMPLEMENT_DYNCREATE(StartUpFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(StartUpFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    // As the program's main frame: help index through the frame's own handler.
    ON_COMMAND(ID_HELP_INDEX, CFrameWnd::OnHelpIndex)
    ON_COMMAND(ID_HELP, CFrameWnd::OnHelp)
END_MESSAGE_MAP()

StartUpFrame::StartUpFrame()
{
    ++g_startUp.framesMade;
}

StartUpFrame::~StartUpFrame()
{
    ++g_startUp.framesGone;
}

int StartUpFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (g_startUp.failFrameCreation || CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_wndCommandBar.Create(this) || !m_wndStatusBar.Create(this))
        return -1;
    return 0;
}

void StartUpFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kCloseTimer) {
        CFrameWnd::OnTimer(nIDEvent);
        return;
    }
    KillTimer(kCloseTimer);
    PostMessage(WM_CLOSE);
}

StartUpApp::StartUpApp()
{
    g_startUp = StartUpRecord();
}

StartUpApp::~StartUpApp() = default;

BOOL StartUpApp::InitInstance()
{
    Enable3dControlsStatic();
    SetHelpFilePath(GetModuleDirectory() + "\\Halvexa.hlp");
    g_pOption = new TestOption;
    g_pSetup = new TestSetup;
    g_pUsage = new TestUsage;
    g_pOption->LoadFromRegistry();
    g_pSetup->LoadFromRegistry();
    g_pUsage->LoadFromRegistry();
    m_wereStoresLoaded = true;
    SetRegistryKey(kTestCompany);
    SetProfileName("SorvantaStd");
    LoadStdProfileSettings(4);
    AddDocTemplate(new iSingleDocTemplate(kDocStrings, IDR_START_UP_FRAME, RUNTIME_CLASS(StartUpDocument),
                                          RUNTIME_CLASS(StartUpFrame), RUNTIME_CLASS(StartUpView)));
    CommandLineInfoEx commandLine;
    ParseCommandLine(commandLine);
    if (!ProcessShellCommand(commandLine))
        return FALSE;
    m_isSplashWanted = commandLine.IsSplashEnabled();
    SetHelpFilePath("http://www.tamrow.example/help/");
    if (m_closeAfterMs)
        m_pMainWnd->SetTimer(StartUpFrame::kCloseTimer, m_closeAfterMs, nullptr);
    return TRUE;
}

int StartUpApp::ExitInstance()
{
    ++m_exitInstanceRuns;
    // Saved in the reverse order of their creation, then deleted in the same order.
    for (SettingsStore* store : {static_cast<SettingsStore*>(g_pUsage), static_cast<SettingsStore*>(g_pSetup),
                                 static_cast<SettingsStore*>(g_pOption)}) {
        if (store)
            store->SaveToRegistry();
    }
    delete g_pUsage;
    g_pUsage = nullptr;
    delete g_pSetup;
    g_pSetup = nullptr;
    delete g_pOption;
    g_pOption = nullptr;
    return GlobalWinApp::ExitInstance();
}

BOOL StartUpApp::OnIdle(LONG lCount)
{
    if (GlobalWinApp::OnIdle(lCount))
        return TRUE;
    if (m_nextStep < m_script.size()) {
        m_script[m_nextStep++](*this);
        // Something must arrive for the loop to become idle again and run the next step.
        if (m_pMainWnd && m_pMainWnd->m_hWnd)
            m_pMainWnd->PostMessage(WM_NULL);
    }
    return FALSE;
}

} // namespace app_test
