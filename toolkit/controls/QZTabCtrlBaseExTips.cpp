// The tab control's settings: a tooltip per tab, the font and style of its orientation,
// the context menu and the initial update of views made for tabs.
#include "toolkit/controls/QZTabCtrlBaseEx.h"

#include "framework/ControlsCommon.h"
#include "toolkit/foundation/QZAuxData.h"

CToolTipCtrl* CQZTabCtrlBaseEx::GetTipCtrl() const
{
    if (!m_pTabCtrl)
        return nullptr;
    HWND tip = reinterpret_cast<HWND>(m_pTabCtrl->SendMessage(TCM_GETTOOLTIPS));
    // As the framework's tab control answers it: the permanent object, else a temporary one.
    return static_cast<CToolTipCtrl*>(CWnd::FromHandle(tip));
}

void CQZTabCtrlBaseEx::SetTipCtrl(CToolTipCtrl* pTip)
{
    if (m_pTabCtrl)
        m_pTabCtrl->SendMessage(TCM_SETTOOLTIPS, reinterpret_cast<WPARAM>(pTip->GetSafeHwnd()));
}

BOOL CQZTabCtrlBaseEx::AddTabTip(UINT nTipID, LPCSTR lpszText)
{
    CToolTipCtrl* tip = GetTipCtrl();
    if (!tip)
        return FALSE;
    // The control keeps the rectangle of each tab's tool on the tab itself.
    const CRect empty(0, 0, 0, 0);
    return tip->AddTool(m_pTabCtrl, lpszText, nTipID == 0 ? nullptr : &empty, nTipID);
}

void CQZTabCtrlBaseEx::SetTabTip(int nTab, LPCSTR lpszText)
{
    POSITION pos = m_listTabs.FindIndex(nTab);
    if (!pos)
        return;
    QZ_TCB_ITEM* record = m_listTabs.GetAt(pos);
    record->strTip = lpszText;
    if (CToolTipCtrl* tip = GetTipCtrl())
        tip->UpdateTipText(record->strTip, m_pTabCtrl, record->nTipID);
}

void CQZTabCtrlBaseEx::SetTabTipOf(CRuntimeClass* pClass, LPCSTR lpszText)
{
    int index = 0;
    for (POSITION pos = m_listTabs.GetHeadPosition(); pos; ++index) {
        const CWnd* wnd = m_listTabs.GetNext(pos)->pTabWnd;
        if (wnd && ::IsWindow(wnd->m_hWnd) && wnd->IsKindOf(pClass)) {
            SetTabTip(index, lpszText);
            return;
        }
    }
}

void CQZTabCtrlBaseEx::RenumberTabTips()
{
    CToolTipCtrl* tip = GetTipCtrl();
    if (!tip)
        return;
    UINT index = 0;
    for (POSITION pos = m_listTabs.GetHeadPosition(); pos; ++index) {
        QZ_TCB_ITEM* record = m_listTabs.GetNext(pos);
        record->nTipID = index;
        tip->UpdateTipText(record->strTip, m_pTabCtrl, record->nTipID);
    }
}

BOOL CQZTabCtrlBaseEx::ActivateTabTips(BOOL bActivate)
{
    CToolTipCtrl* tip = GetTipCtrl();
    if (!tip)
        return FALSE;
    tip->Activate(bActivate);
    return TRUE;
}

void CQZTabCtrlBaseEx::ApplyTabFont()
{
    if (!m_pTabCtrl || !m_pTabCtrl->m_hWnd)
        return;
    const DWORD style = m_pTabCtrl->GetStyle();
    CFont* font = &qzAfxData.fontCaption;
    if (style & TCS_VERTICAL)
        font = (style & TCS_RIGHT) ? &qzAfxData.fontVertRev : &qzAfxData.fontVert;
    const WPARAM handle = reinterpret_cast<WPARAM>(font->m_hObject);
    // On Windows 95 the font is posted.
    if (qzAfxData.isWin95)
        m_pTabCtrl->PostMessage(WM_SETFONT, handle, TRUE);
    else
        m_pTabCtrl->SendMessage(WM_SETFONT, handle, TRUE);
}

BOOL CQZTabCtrlBaseEx::ChangeTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    if (!m_pTabCtrl->ModifyStyle(dwRemove, dwAdd, nFlags))
        return FALSE;
    ApplyTabFont();
    return TRUE;
}

void CQZTabCtrlBaseEx::SetTabMenu(UINT nMenuRes, int nMenuPopup)
{
    m_nMenuRes = nMenuRes;
    m_nMenuPopup = nMenuPopup;
}

UINT CQZTabCtrlBaseEx::GetTabMenu() const
{
    return m_nMenuRes;
}

void CQZTabCtrlBaseEx::SetInitViews(BOOL bInitViews)
{
    m_bInitViews = bInitViews;
}
