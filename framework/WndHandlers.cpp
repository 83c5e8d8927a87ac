// The default message handlers: derived handlers call these for the window's own
// processing, which is the original window procedure with the current message.
#include "Wnd.h"

#include <windows.h>

int CWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return static_cast<int>(Default());
}

BOOL CWnd::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnNcDestroy()
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnNcPaint()
{
    Default();
}

BOOL CWnd::OnEraseBkgnd(CDC* pDC)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    Default();
}

LRESULT CWnd::OnNcHitTest(CPoint point)
{
    return Default();
}

BOOL CWnd::OnNcActivate(BOOL bActive)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    Default();
}

void CWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnLButtonUp(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnRButtonDown(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnRButtonUp(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnMButtonDown(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnMButtonDblClk(UINT nFlags, CPoint point)
{
    Default();
}

void CWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
}

BOOL CWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    return static_cast<BOOL>(Default());
}

void CWnd::OnSize(UINT nType, int cx, int cy)
{
    Default();
}

void CWnd::OnMove(int x, int y)
{
    Default();
}

void CWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    Default();
}

void CWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    Default();
}

void CWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    Default();
}

void CWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    Default();
}

void CWnd::OnInitMenu(CMenu* pMenu)
{
    Default();
}

void CWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    Default();
}

LRESULT CWnd::OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu)
{
    return Default();
}

void CWnd::OnEnterMenuLoop(BOOL bIsTrackPopupMenu)
{
    Default();
}

void CWnd::OnExitMenuLoop(BOOL bIsTrackPopupMenu)
{
    Default();
}

void CWnd::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    Default();
}

void CWnd::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    Default();
}

void CWnd::OnContextMenu(CWnd* pWnd, CPoint pos)
{
    Default();
}

UINT CWnd::OnGetDlgCode()
{
    return static_cast<UINT>(Default());
}

void CWnd::OnSetFocus(CWnd* pOldWnd)
{
    Default();
}

void CWnd::OnKillFocus(CWnd* pNewWnd)
{
    Default();
}

void CWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    Default();
}

void CWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    Default();
}

void CWnd::OnCancelMode()
{
    Default();
}

void CWnd::OnTimer(UINT_PTR nIDEvent)
{
    Default();
}

void CWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

void CWnd::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    Default();
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnShowWindow(BOOL bShow, UINT nStatus)
{
    Default();
}

void CWnd::OnSysCommand(UINT nID, LPARAM lParam)
{
    Default();
}

void CWnd::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    Default();
}

void CWnd::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    Default();
}
