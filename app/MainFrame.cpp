// The main frame: title, first-start rectangle, remembered placement, minimum
// tracking size, its bars and the help commands.
#include "MainFrame.h"

#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(MainFrame, iPersistentFrameWnd)

BEGIN_MESSAGE_MAP(MainFrame, iPersistentFrameWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_GETMINMAXINFO()
    ON_COMMAND(ID_HELP_INDEX, CFrameWnd::OnHelpIndex)
    ON_COMMAND(ID_DEFAULT_HELP, CFrameWnd::OnHelpIndex)
    ON_COMMAND(ID_HELP_USING, CFrameWnd::OnHelpUsing)
    ON_COMMAND(ID_HELP, CFrameWnd::OnHelp)
    ON_COMMAND(ID_CONTEXT_HELP, CFrameWnd::OnContextHelp)
END_MESSAGE_MAP()

MainFrame::MainFrame() = default;

MainFrame::~MainFrame() = default;

BOOL MainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    m_strTitle = kTitle;
    cs.lpszName = kTitle;
    cs.x = cs.y = CW_USEDEFAULT;
    cs.cx = kDefaultWidthPx;
    cs.cy = kDefaultHeightPx;
    // Registers the placement record under "Window Hierarchy\<title>" on first use and
    // takes the remembered rectangle and style from it.
    if (!iPersistentFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.lpszName = kTitle;
    cs.style &= ~FWS_PREFIXTITLE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    // The framework shows the new document's frame with the application's show command,
    // so a window closed maximised opens maximised.
    if (!cs.hwndParent) {
        if (CWinApp* app = AfxGetApp())
            app->m_nCmdShow = (cs.style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
                              : (cs.style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                                         : SW_SHOWNORMAL;
    }
    // Nothing remembered: centred on the screen.
    if (cs.x == CW_USEDEFAULT || cs.y == CW_USEDEFAULT) {
        cs.x = (::GetSystemMetrics(SM_CXSCREEN) - cs.cx) / 2;
        cs.y = (::GetSystemMetrics(SM_CYSCREEN) - cs.cy) / 2;
    }
    return TRUE;
}

int MainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (iPersistentFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_statusBar = new StatusBar(this);
    return 0;
}

BOOL MainFrame::OnEraseBkgnd(CDC*)
{
    return FALSE;
}

void MainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    iPersistentFrameWnd::OnGetMinMaxInfo(lpMMI);
    lpMMI->ptMinTrackSize.x = kMinTrackWidthPx;
    lpMMI->ptMinTrackSize.y = kMinTrackHeightPx;
}

void MainFrame::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    CDocument* document = GetActiveDocument();
    const bool hasTitle = document && !document->GetTitle().IsEmpty();
    iPersistentFrameWnd::OnUpdateFrameTitle(hasTitle ? bAddToTitle : FALSE);
}

void MainFrame::SetPassCount(int count)
{
    if (m_statusBar)
        m_statusBar->SetPassCount(count);
}
