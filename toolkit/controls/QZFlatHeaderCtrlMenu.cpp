// The flat header's right-click menu: the built-in sort and alignment menu as an image
// menu with the clicked column's state checked, or a menu of the program's own.
#include "toolkit/controls/QZHeaderCtrl.h"

#include "framework/Menu.h"
#include "toolkit/foundation/QZResourceSwitch.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/menus/QZMenu.h"

void CQZFlatHeaderCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    m_ptLastRClick = point;
    CPoint screenPoint = point;
    ClientToScreen(&screenPoint);
    if (!IsListSortable() || !m_bRClickMenu) {
        CQZHeaderCtrl::OnRButtonDown(nFlags, point);
        return;
    }
    if (m_nMenuRes == 0)
        ShowBuiltInMenu(screenPoint);
    else
        ShowCustomMenu(screenPoint);
}

void CQZFlatHeaderCtrl::ShowBuiltInMenu(CPoint screenPoint)
{
    const int item = ItemFromPoint(m_ptLastRClick);
    if (item < 0)
        return;
    CQZCoolMenu coolMenu;
    coolMenu.HookWindow(this);
    CQZMenu menu;
    {
        QZResourceSwitch resources;
        resources.Enter();
        coolMenu.LoadToolbar(IDR_QZ_HEADER_MENU_IMAGES);
        menu.LoadMenu(IDR_QZ_HEADER_MENU);
        resources.Leave();
    }
    CMenu* popup = menu.GetSubMenu(QZ_HEADER_MENU_POPUP);
    if (!popup)
        return;
    const bool sorted = item == m_nSortColumn;
    popup->CheckMenuItem(ID_QZ_HEADER_SORT_ASCENDING,
                         MF_BYCOMMAND | (sorted && m_nSortDirection == 1 ? MF_CHECKED : MF_UNCHECKED));
    popup->CheckMenuItem(ID_QZ_HEADER_SORT_DESCENDING,
                         MF_BYCOMMAND | (sorted && m_nSortDirection == 0 ? MF_CHECKED : MF_UNCHECKED));
    if (CWnd* list = GetListWnd()) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT;
        if (list->SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&column))) {
            const int justify = column.fmt & LVCFMT_JUSTIFYMASK;
            popup->CheckMenuItem(ID_QZ_HEADER_ALIGN_LEFT,
                                 MF_BYCOMMAND | (justify == LVCFMT_LEFT ? MF_CHECKED : MF_UNCHECKED));
            popup->CheckMenuItem(ID_QZ_HEADER_ALIGN_CENTER,
                                 MF_BYCOMMAND | (justify == LVCFMT_CENTER ? MF_CHECKED : MF_UNCHECKED));
            popup->CheckMenuItem(ID_QZ_HEADER_ALIGN_RIGHT,
                                 MF_BYCOMMAND | (justify == LVCFMT_RIGHT ? MF_CHECKED : MF_UNCHECKED));
        }
    }
    // The chosen command comes back to the header as WM_COMMAND.
    CQZMenu::TrackPopupMenuEx(popup->m_hMenu, TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, this, nullptr, TRUE);
}

void CQZFlatHeaderCtrl::ShowCustomMenu(CPoint screenPoint)
{
    CMenu menu;
    if (!menu.LoadMenu(m_nMenuRes))
        return;
    if (CMenu* popup = menu.GetSubMenu(m_nMenuPopup)) {
        CWnd* owner = GetOwner();
        popup->TrackPopupMenu(TPM_RIGHTBUTTON, screenPoint.x, screenPoint.y, owner);
    }
    menu.DestroyMenu();
}
