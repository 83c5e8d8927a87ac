// What the tab control does as things happen to it: the selection changing (the owner
// told before and after, the frame's active view kept in step), the deferred set-up and
// initial update, moves and hiding, destruction, the tab keys and the context menu.
#include "toolkit/controls/QZTabCtrlBaseEx.h"

#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "framework/MiniFrameWnd.h"
#include "framework/View.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/menus/QZMenuTrack.h"

CView* CQZTabCtrlBaseEx::GetPrevFrameView() const
{
    if (!m_hWndPrevFrameView || !::IsWindow(m_hWndPrevFrameView))
        return nullptr;
    CWnd* wnd = CWnd::FromHandlePermanent(m_hWndPrevFrameView);
    return wnd && wnd->IsKindOf(RUNTIME_CLASS(CView)) ? static_cast<CView*>(wnd) : nullptr;
}

void CQZTabCtrlBaseEx::RestorePrevFrameView(CFrameWnd* pFrame)
{
    // Only the handle was kept: the view may have been destroyed, and deleted itself, since.
    if (CView* previous = GetPrevFrameView())
        pFrame->SetActiveView(previous, TRUE);
    else
        pFrame->SetActiveView(nullptr, FALSE);
    m_hWndPrevFrameView = nullptr;
}

void CQZTabCtrlBaseEx::ReleaseFrameView(CWnd* pWnd)
{
    if (m_pFrame && pWnd && m_pFrame->GetActiveView() == pWnd)
        RestorePrevFrameView(m_pFrame);
}

void CQZTabCtrlBaseEx::NotifyOwner(UINT message)
{
    CWnd* owner = m_pTabCtrl->GetOwner();
    if (owner)
        owner->SendMessage(message, static_cast<WPARAM>(m_pTabCtrl->GetDlgCtrlID()),
                           reinterpret_cast<LPARAM>(m_pTabCtrl));
}

void CQZTabCtrlBaseEx::OnSelChanging()
{
    // Nothing shows the tab control half-changed: drawing waits for the change's end.
    m_pTabCtrl->SetRedraw(FALSE);
    OnTabChanging();
}

void CQZTabCtrlBaseEx::OnSelChange()
{
    OnTabChanged();
    m_pTabCtrl->SetRedraw(TRUE);
    m_pTabCtrl->Invalidate(TRUE);
    m_pTabCtrl->UpdateWindow();
}

void CQZTabCtrlBaseEx::OnTabChanging()
{
    m_nOldSel = static_cast<int>(m_pTabCtrl->SendMessage(TCM_GETCURSEL));
    if (m_nOldSel != -1)
        NotifyOwner(WM_QZ_TABCHANGING);
}

void CQZTabCtrlBaseEx::OnTabChanged()
{
    const int selected = static_cast<int>(m_pTabCtrl->SendMessage(TCM_GETCURSEL));
    if (selected == -1)
        return;
    if (m_nOldSel != -1) {
        if (CWnd* old = GetTabWindow(m_nOldSel)) {
            old->ShowWindow(SW_HIDE);
            old->EnableWindow(FALSE);
            ReleaseFrameView(old);
        }
    }
    if (CWnd* wnd = GetTabWindow(selected)) {
        if (wnd->IsKindOf(RUNTIME_CLASS(CView)) && m_pFrame && m_pFrame->IsChild(wnd)) {
            CView* active = m_pFrame->GetActiveView();
            if (active && active->GetParent() != m_pTabCtrl)
                m_hWndPrevFrameView = active->m_hWnd;
            m_pFrame->SetActiveView(static_cast<CView*>(wnd), TRUE);
        }
        ShowTabWindow(wnd);
    }
    NotifyOwner(WM_QZ_TABCHANGED);
}

void CQZTabCtrlBaseEx::PostSetup()
{
    ++m_nSetupCount;
    m_pTabCtrl->PostMessage(WM_QZ_INITCONTROL, 0, m_nSetupCount);
    m_bSetupPending = TRUE;
}

void CQZTabCtrlBaseEx::OnSetup(LPARAM lParam)
{
    if (lParam != m_nSetupCount)
        return;
    if (m_bInitViews)
        m_pTabCtrl->SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    OnInitialUpdate();
}

void CQZTabCtrlBaseEx::OnInitialUpdate()
{
    // A set-up message still on its way now finds another count and does nothing.
    ++m_nSetupCount;
    m_bSetupPending = FALSE;
    ApplyTabFont();
    m_pViewOwner = m_pTabCtrl->GetParent();
    m_pFrame = m_pTabCtrl->GetParentFrame();
    // Floating, the bar's frame is the floating frame: the views belong to the main frame.
    if (m_pFrame && m_pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        m_pFrame = m_pFrame->GetParentFrame();
    for (POSITION pos = m_listTabs.GetHeadPosition(); pos;)
        PlaceTabWindow(m_listTabs.GetNext(pos)->pTabWnd);
    if (m_bCondense)
        CondenseTabTexts();
}

void CQZTabCtrlBaseEx::OnBeforeWindowPosChanged(const WINDOWPOS* lpwndpos)
{
    const bool hides = (lpwndpos->flags & SWP_HIDEWINDOW) != 0;
    for (POSITION pos = m_listTabs.GetHeadPosition(); pos;) {
        CWnd* wnd = m_listTabs.GetNext(pos)->pTabWnd;
        if (hides)
            ReleaseFrameView(wnd);
        else
            PlaceTabWindow(wnd);
    }
}

void CQZTabCtrlBaseEx::OnAfterWindowPosChanged()
{
    if (m_bCondense)
        CondenseTabTexts();
}

void CQZTabCtrlBaseEx::OnDestroyTabs()
{
    // The tab windows are the control's children and go with it; each is asked to close
    // first, as its own window would be.
    while (!m_listTabs.IsEmpty()) {
        QZ_TCB_ITEM* record = m_listTabs.RemoveHead();
        if (record->pTabWnd && ::IsWindow(record->pTabWnd->m_hWnd))
            record->pTabWnd->PostMessage(WM_CLOSE);
        delete record;
    }
}

void CQZTabCtrlBaseEx::ShowTabMenu(CPoint point)
{
    if (!m_nMenuRes)
        return;
    m_pTabCtrl->ClientToScreen(&point);
    CMenu menu;
    if (!menu.LoadMenu(m_nMenuRes))
        return;
    if (CMenu* popup = menu.GetSubMenu(m_nMenuPopup))
        QZTrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, m_pFrame);
    menu.DestroyMenu();
}

BOOL CQZTabCtrlBaseEx::PreTranslateTabKeys(const MSG* pMsg)
{
    if (pMsg->message != WM_KEYDOWN)
        return FALSE;
    const bool isCtrlTab = pMsg->wParam == VK_TAB && ::GetKeyState(VK_CONTROL) < 0;
    if (!isCtrlTab && pMsg->wParam != VK_F6)
        return FALSE;
    const int count = m_listTabs.GetCount();
    if (count > 0) {
        const int selected = static_cast<int>(m_pTabCtrl->SendMessage(TCM_GETCURSEL));
        const bool backwards = ::GetKeyState(VK_SHIFT) < 0;
        SelectTab(backwards ? (selected <= 0 ? count - 1 : selected - 1) : (selected + 1) % count);
    }
    m_pTabCtrl->SetFocus();
    return TRUE;
}
