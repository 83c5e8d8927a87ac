// The main frame: title, first-start rectangle, remembered placement, minimum
// tracking size, its bars and the help commands.
#include "MainFrame.h"

#include "res/SorvantaResources.h"

#include "framework/WinApp.h"
#include "lib/src/Win2/Wnd/iVeltraToolBar.h"

IMPLEMENT_DYNCREATE(MainFrame, iPersistentVeltraFrameWnd)

BEGIN_MESSAGE_MAP(MainFrame, iPersistentVeltraFrameWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_GETMINMAXINFO()
    ON_COMMAND(ID_HELP_INDEX, CFrameWnd::OnHelpIndex)
    ON_COMMAND(ID_DEFAULT_HELP, CFrameWnd::OnHelpIndex)
    ON_COMMAND(ID_HELP_USING, CFrameWnd::OnHelpUsing)
    ON_COMMAND(ID_HELP, CFrameWnd::OnHelp)
    ON_COMMAND(ID_CONTEXT_HELP, CFrameWnd::OnContextHelp)
END_MESSAGE_MAP()

namespace {

// Visible child, a toolkit bar bit, docked at the top with a bottom border, flyby prompts,
// tooltips, sized by the dock bar.
constexpr DWORD kMainFrameBarStyle = 0x50402834;
// Both bars dock at the top or the bottom; the frame takes bars on every side.
constexpr DWORD kMainFrameBarSides = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;

} // namespace

MainFrame::MainFrame() = default;

MainFrame::~MainFrame()
{
    delete m_toolBar;
}

BOOL MainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    m_strTitle = kTitle;
    cs.lpszName = kTitle;
    cs.x = cs.y = CW_USEDEFAULT;
    cs.cx = kDefaultWidthPx;
    cs.cy = kDefaultHeightPx;
    // Registers the placement record under "Window Hierarchy\<title>" on first use, takes
    // the remembered rectangle (on a monitor, no smaller than the minimum tracking size) and
    // style from it, and makes the application's show command the remembered one (a window
    // closed maximised opens maximised, one closed minimised opens shown).
    if (!iPersistentVeltraFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszName = kTitle;
    cs.style &= ~FWS_PREFIXTITLE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    // Nothing remembered: centred on the screen.
    if (cs.x == CW_USEDEFAULT || cs.y == CW_USEDEFAULT) {
        cs.x = (::GetSystemMetrics(SM_CXSCREEN) - cs.cx) / 2;
        cs.y = (::GetSystemMetrics(SM_CYSCREEN) - cs.cy) / 2;
    }
    return TRUE;
}

int MainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (iPersistentVeltraFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The menu bar takes over the frame's menu: the window shows no menu of its own.
    CQZMenuBar* menuBar = GetMenuBar();
    if (!menuBar->CreateEx(this, TBSTYLE_FLAT, kMainFrameBarStyle, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR) ||
        !menuBar->LoadMenuBar(IDR_MAINFRAME))
        return -1;
    m_toolBar = new iVeltraToolBar(this, CRect(0, 0, 0, 0), kMainFrameBarStyle, "", AFX_IDW_TOOLBAR, 0, nullptr);
    m_toolBar->LoadToolBar(IDR_MAINFRAME);
    m_statusBar = new StatusBar(this);
    menuBar->EnableDocking(kMainFrameBarSides);
    m_toolBar->EnableDocking(kMainFrameBarSides);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(menuBar);
    DockControlBar(m_toolBar);
    InstallCoolMenus(IDR_MAINFRAME);
    return 0;
}

BOOL MainFrame::OnEraseBkgnd(CDC*)
{
    return FALSE;
}

void MainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    iPersistentVeltraFrameWnd::OnGetMinMaxInfo(lpMMI);
    const SIZE minTrack = GetMinTrackSize();
    lpMMI->ptMinTrackSize.x = minTrack.cx;
    lpMMI->ptMinTrackSize.y = minTrack.cy;
}

SIZE MainFrame::GetMinTrackSize() const
{
    return SIZE{kMinTrackWidthPx, kMinTrackHeightPx};
}

void MainFrame::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* document = GetActiveDocument();
    const bool hasTitle = document && !document->GetTitle().IsEmpty();
    iPersistentVeltraFrameWnd::OnUpdateFrameTitle(hasTitle ? bAddToTitle : FALSE);
}

void MainFrame::SetPassCount(int count)
{
    if (m_statusBar)
        m_statusBar->SetPassCount(count);
}
