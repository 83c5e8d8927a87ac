// The tab control's window: its messages handed to the tab behaviour and painting, its
// keys and its command routing.
#include "toolkit/controls/QZTabCtrl.h"

#include "framework/DC.h"
#include "toolkit/foundation/QZMessages.h"

IMPLEMENT_DYNAMIC(CQZTabCtrl, CTabCtrl)

BEGIN_MESSAGE_MAP(CQZTabCtrl, CTabCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_NOTIFY_REFLECT(TCN_SELCHANGING, OnSelChanging)
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_RBUTTONDOWN()
    ON_WM_PAINT()
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
    ON_WM_ERASEBKGND()
    ON_WM_SETTINGCHANGE()
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
    ON_MESSAGE(WM_QZ_INITCONTROL, OnInitControl)
END_MESSAGE_MAP()

CQZTabCtrl::CQZTabCtrl()
{
    SetTabCtrl(this);
}

CQZTabCtrl::~CQZTabCtrl() = default;

int CQZTabCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CTabCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    PostSetup();
    return 0;
}

void CQZTabCtrl::PreSubclassWindow()
{
    CTabCtrl::PreSubclassWindow();
    PostSetup();
}

void CQZTabCtrl::OnDestroy()
{
    OnDestroyTabs();
    CTabCtrl::OnDestroy();
}

void CQZTabCtrl::OnSelChanging(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    CQZTabCtrlBaseEx::OnSelChanging();
}

void CQZTabCtrl::OnSelChange(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    CQZTabCtrlBaseEx::OnSelChange();
}

void CQZTabCtrl::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    OnBeforeWindowPosChanged(lpwndpos);
    CTabCtrl::OnWindowPosChanged(lpwndpos);
    OnAfterWindowPosChanged();
}

void CQZTabCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    ShowTabMenu(point);
}

void CQZTabCtrl::OnPaint()
{
    CQZTabCtrlBase::OnPaint();
}

LRESULT CQZTabCtrl::OnPrintClient(WPARAM wParam, LPARAM lParam)
{
    CQZTabCtrlBase::OnPrintClient(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
    return 0;
}

BOOL CQZTabCtrl::OnEraseBkgnd(CDC* pDC)
{
    return CQZTabCtrlBase::OnEraseBkgnd(pDC);
}

void CQZTabCtrl::OnSettingChange(UINT uFlags, LPCSTR lpszSection)
{
    CTabCtrl::OnSettingChange(uFlags, lpszSection);
    CQZTabCtrlBase::OnSettingChange(uFlags, lpszSection);
}

void CQZTabCtrl::OnSysColorChange()
{
    CTabCtrl::OnSysColorChange();
    CQZTabCtrlBase::OnSysColorChange();
}

LRESULT CQZTabCtrl::OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam)
{
    OnInitialUpdate();
    return 0;
}

LRESULT CQZTabCtrl::OnInitControl(WPARAM wParam, LPARAM lParam)
{
    OnSetup(lParam);
    return 0;
}

BOOL CQZTabCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (PreTranslateTabKeys(pMsg))
        return TRUE;
    return CTabCtrl::PreTranslateMessage(pMsg);
}

BOOL CQZTabCtrl::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CWnd* selected = GetSelectedWindow();
    if (selected && selected->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CTabCtrl::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
