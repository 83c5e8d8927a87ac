// The toolkit list control's window: its one-time set-up, coloured rows, off-screen
// painting, scrolling without flicker, and the widths saved when it goes.
#include "toolkit/controls/QZListCtrl.h"

#include "framework/PaintDC.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMessages.h"

IMPLEMENT_DYNAMIC(CQZListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(CQZListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_WM_SETTINGCHANGE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_MESSAGE(WM_QZ_INITCONTROL, OnDeferredSetup)
END_MESSAGE_MAP()

CQZListCtrl::CQZListCtrl() : m_bSetupPending(1)
{
    SetListCtrl(this);
}

void CQZListCtrl::PreSubclassWindow()
{
    CListCtrl::PreSubclassWindow();
    PostMessage(WM_QZ_INITCONTROL);
}

int CQZListCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CListCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_QZ_INITCONTROL);
    return 0;
}

LRESULT CQZListCtrl::OnDeferredSetup(WPARAM, LPARAM)
{
    if (!m_bSetupPending)
        return 0;
    m_bSetupPending = 0;
    if (m_bUseToolkitFont)
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(qzAfxData.fontNormal.GetSafeHandle()), TRUE);
    return 0;
}

BOOL CQZListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (CQZListCtrlBase::OnNotify(wParam, lParam, pResult))
        return TRUE;
    return CListCtrl::OnNotify(wParam, lParam, pResult);
}

void CQZListCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *pResult = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT: {
        // Selected rows, and every row of a disabled list, keep the system's colours.
        const int item = static_cast<int>(draw->nmcd.dwItemSpec);
        if (item >= 0 && IsWindowEnabled() && !GetItemState(item, LVIS_SELECTED)) {
            draw->clrText = m_clrText;
            draw->clrTextBk = m_clrBack;
        }
        *pResult = CDRF_DODEFAULT;
        return;
    }
    default:
        *pResult = 0;
        return;
    }
}

void CQZListCtrl::OnPaint()
{
    CPaintDC paintDC(this);
    if (IsReportView()) {
        if (HWND header = GetHeaderWnd()) {
            CRect rect;
            ::GetWindowRect(header, &rect);
            ScreenToClient(&rect);
            paintDC.ExcludeClipRect(&rect);
        }
    }
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&paintDC, client, m_clrBack);
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);
}

BOOL CQZListCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQZListCtrl::OnDestroy()
{
    if (m_bSaveAtDestroy)
        SaveColumnWidths();
    CListCtrl::OnDestroy();
}

void CQZListCtrl::OnSettingChange(UINT uFlags, LPCSTR lpszSection)
{
    CListCtrl::OnSettingChange(uFlags, lpszSection);
    m_nMaxColWidth = ::GetSystemMetrics(SM_CXFULLSCREEN);
}

void CQZListCtrl::OnHScroll(UINT, UINT, CScrollBar*)
{
    ScrollWithoutFlicker();
}

void CQZListCtrl::OnVScroll(UINT, UINT, CScrollBar*)
{
    ScrollWithoutFlicker();
}

void CQZListCtrl::ScrollWithoutFlicker()
{
    SetRedraw(FALSE);
    Default();
    SetRedraw(TRUE);
    Invalidate(TRUE);
    UpdateWindow();
    SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
}
