// A toolkit bar's docking set-up and its dock hooks, which follow the frame the bar is
// in when that is not its home frame.
#include "toolkit/bars/QZControlBar.h"

#include "framework/DockBar.h"
#include "framework/DockContext.h"
#include "framework/FrameWnd.h"
#include "toolkit/bars/QZDockContextWndHook.h"
#include "toolkit/docking/QZDockContext.h"

IMPLEMENT_DYNAMIC(CQZDockContextWndHook, CQZWndHook)

void CQZControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (!m_pDockContext)
        m_pDockContext = new CQZDockContext(this);
    if (!m_hWndOwner && m_hWnd)
        m_hWndOwner = ::GetParent(m_hWnd);
}

void CQZControlBar::EnableDockHooks(BOOL bEnable)
{
    m_bDockHooks = bEnable ? TRUE : FALSE;
    DeleteDockHooks();
    if (!bEnable)
        return;
    // The floating-frame hook waits for a drag; the home hook watches the home frame.
    m_pFloatingHook = new CQZDockContextWndHook(this);
    m_pHomeHook = new CQZDockContextWndHook(this);
    if (m_pHomeFrame && m_pHomeFrame->m_hWnd)
        m_pHomeHook->HookWindow(m_pHomeFrame);
}

BOOL CQZControlBar::CanDockInFrame(CFrameWnd* pFrame)
{
    return HasDockHooks();
}

BOOL CQZControlBar::HasDockHooks() const
{
    return m_bDockHooks;
}

void CQZControlBar::UpdateDockHooks()
{
    if (!m_pFloatingHook)
        return;
    m_pFloatingHook->HookWindow(static_cast<HWND>(nullptr));
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame != m_pHomeFrame)
        m_pFloatingHook->HookWindow(frame);
}

void CQZControlBar::DeleteDockHooks()
{
    delete m_pFloatingHook;
    m_pFloatingHook = nullptr;
    delete m_pHomeHook;
    m_pHomeHook = nullptr;
}

CQZDockContextWndHook::~CQZDockContextWndHook() = default;

LRESULT CQZDockContextWndHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != WM_DESTROY)
        return CQZWndHook::WindowProc(msg, wParam, lParam);
    CQZControlBar* bar = m_pBar;
    CFrameWnd* away = bar && ::IsWindow(bar->m_hWnd) ? bar->GetParentFrame() : nullptr;
    const bool isAway = away && away != bar->m_pHomeFrame;
    // A bar docked in a frame that goes would go with it: it docks at home again first.
    // A floating bar's own frame takes care of it.
    CFrameWnd* home = bar ? bar->m_pHomeFrame : nullptr;
    if (isAway && home && ::IsWindow(home->m_hWnd) && !bar->IsUndocked() &&
        (!bar->m_pDockBar || !bar->m_pDockBar->m_bFloating)) {
        away->RemoveControlBar(bar);
        home->DockControlBar(bar, 0U, nullptr);
        home->AddControlBar(bar);
        bar->m_pDockSite = home;
        if (bar->m_pDockContext)
            bar->m_pDockContext->m_pDockSite = home;
    }
    const LRESULT result = CQZWndHook::WindowProc(msg, wParam, lParam);
    // The frame the bar was away in is done: the hook lets go of it.
    if (isAway)
        HookWindow(static_cast<HWND>(nullptr));
    return result;
}
