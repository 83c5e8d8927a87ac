// The toolbar's drop-down buttons: a command given a drop-down record opens, from its
// arrow, the first popup of a menu resource (tracked as an image menu), a colour popup
// (whose choice becomes the button's colour and goes on to the owner), or whatever its
// owner makes of the notification; the hot item stays while the left button is held, and
// a capture taken for the owner's drop-down ends with the button.
#include "toolkit/bars/QZToolBar.h"

#include "toolkit/colour/QZColorPopup.h"

#include "toolkit/foundation/QZSkin.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/menus/QZMenu.h"

void CQZToolBar::EndDropDown()
{
    if (IQZToolbarProxy* proxy = QZGetCurrentSkin()->GetToolbarProxy())
        proxy->InvalidateDropDown(this, m_nDropDownIndex);
    m_nDropDownIndex = -1;
}

QZ_DROPDOWNBUTTON* CQZToolBar::AddDropDownButton(UINT nID, BOOL bArrow)
{
    QZ_DROPDOWNBUTTON* record = FindDropDownButton(nID);
    if (!record) {
        // The record lives with the command's snapshot element: a command the toolbar
        // has no button for gets none, which nothing would ever delete.
        QZ_TBBUTTON* owner = nullptr;
        for (POSITION position = m_listButtons.GetHeadPosition(); position && !owner;) {
            QZ_TBBUTTON& element = m_listButtons.GetNext(position);
            if (element.button.idCommand == static_cast<int>(nID))
                owner = &element;
        }
        if (!owner)
            return nullptr;
        record = new QZ_DROPDOWNBUTTON;
        if (owner->bOwnsDropDown)
            delete owner->pDropDown;
        owner->pDropDown = record;
        owner->bOwnsDropDown = 1;
        owner->button.fsStyle |= BTNS_DROPDOWN;
    }
    const int index = CommandToIndex(nID);
    SetButtonStyle(index, GetButtonStyle(index) | BTNS_DROPDOWN);
    if (bArrow)
        SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    record->nCommand = nID;
    return record;
}

void CQZToolBar::OnDropDown(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* notify = reinterpret_cast<NMTOOLBARA*>(pNMHDR);
    *pResult = TBDDRET_DEFAULT;
    const UINT command = static_cast<UINT>(notify->iItem);
    CRect button;
    if (!SendMessage(TB_GETRECT, command, reinterpret_cast<LPARAM>(&button)))
        button.SetRectEmpty();
    CRect screen = button;
    ClientToScreen(&screen);
    // A second press on a colour button whose popup is open changes nothing.
    if (IsColorPopupOpen(command))
        return;
    CRect around;
    GetClientRect(&around);
    around.InflateRect(4, 4);
    InvalidateRect(&around, TRUE);
    ShowDropDownMenu(notify, command, screen);
}

void CQZToolBar::ShowDropDownMenu(NMTOOLBARA* pnmtb, UINT nID, RECT rcButton)
{
    QZ_DROPDOWNBUTTON* record = FindDropDownButton(static_cast<UINT>(pnmtb->iItem));
    CWnd* owner = GetOwner();
    m_nDropDownIndex = CommandToIndex(nID);
    if (!record) {
        // Nothing opens, so nothing may stay marked as open.
        EndDropDown();
    } else if (record->nMenuID != 0) {
        CQZMenu menu;
        CMenu* popup = menu.LoadMenu(LOWORD(record->nMenuID)) ? menu.GetSubMenu(0) : nullptr;
        if (popup) {
            CRect item;
            GetItemRect(m_nDropDownIndex, &item);
            ClientToScreen(&item);
            CQZCoolMenu::m_rcOpener = item;
            // A menu drops below the button on a vertical bar too.
            UINT side = m_dwStyle & CBRS_ALIGN_ANY;
            if (side == CBRS_ALIGN_LEFT || side == CBRS_ALIGN_RIGHT)
                side = CBRS_ALIGN_TOP;
            CQZCoolMenu::m_nPopupSide = side;
            CQZMenu::TrackPopupMenuEx(popup->m_hMenu, TPM_VERTICAL, rcButton.left, rcButton.bottom, owner, nullptr,
                                      TRUE);
        }
        // A missing menu, or one without a popup, opens nothing: the button is closed at once.
        EndDropDown();
    } else if (record->bColorPopup) {
        // The popup from before goes first; closing it reports and resets the open button.
        delete m_pColorPopup;
        m_pColorPopup = nullptr;
        m_nDropDownIndex = CommandToIndex(nID);
        CRect item;
        GetItemRect(m_nDropDownIndex, &item);
        ClientToScreen(&item);
        CQZCoolMenu::m_rcOpener = item;
        CQZCoolMenu::m_nPopupSide = m_dwStyle & CBRS_ALIGN_ANY;
        m_nColorPopupCommand = static_cast<int>(nID);
        m_pColorPopup = ShowColorPopup(record, rcButton);
        if (!m_pColorPopup) {
            m_nColorPopupCommand = -1;
            EndDropDown();
        }
    } else {
        if (!owner || !owner->SendMessage(WM_QZ_DROPDOWN, reinterpret_cast<WPARAM>(pnmtb),
                                          reinterpret_cast<LPARAM>(&rcButton)))
            EndDropDown();
        // Held down, the button is released over the toolbar: the capture brings it here.
        if (::GetKeyState(VK_LBUTTON) < 0) {
            m_bCaptureAfterDropDown = 1;
            SetCapture();
        }
    }
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CQZToolBar::OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* hot = reinterpret_cast<const NMTBHOTITEM*>(pNMHDR);
    // While the left button is held the hot item stays where the press began.
    *pResult = hot->idOld != hot->idNew && ::GetKeyState(VK_LBUTTON) < 0 ? 1 : 0;
}

void CQZToolBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bCaptureAfterDropDown) {
        ::ReleaseCapture();
        m_bCaptureAfterDropDown = 0;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    Default();
}

CQZColorPopup* CQZToolBar::ShowColorPopup(QZ_DROPDOWNBUTTON* pInfo, RECT rcButton)
{
    // Not self-deleting: the toolbar keeps it until the next colour drop-down or its end.
    auto* popup = new CQZColorPopup(FALSE, m_nColorPopupCommand);
    if (!popup->Create(&rcButton, this, pInfo->dwPopupStyle, pInfo->clrCurrent, pInfo->clrDefault)) {
        delete popup;
        return nullptr;
    }
    return popup;
}

BOOL CQZToolBar::IsColorPopupOpen(UINT nID) const
{
    return m_pColorPopup && ::IsWindow(m_pColorPopup->m_hWnd) && m_nColorPopupCommand == static_cast<int>(nID);
}

LRESULT CQZToolBar::OnColorChanged(WPARAM wParam, LPARAM lParam)
{
    if (QZ_DROPDOWNBUTTON* record = FindDropDownButton(static_cast<UINT>(lParam)))
        record->clrCurrent = static_cast<COLORREF>(wParam);
    Invalidate(TRUE);
    if (CWnd* owner = GetOwner())
        owner->SendMessage(WM_QZ_COLORCHANGED, wParam, lParam);
    return 0;
}

LRESULT CQZToolBar::OnColorPopupClosed(WPARAM wParam, LPARAM lParam)
{
    EndDropDown();
    m_nColorPopupCommand = -1;
    if (CWnd* owner = GetOwner())
        owner->SendMessage(WM_QZ_COLORCLOSEUP, wParam, lParam);
    return 0;
}
