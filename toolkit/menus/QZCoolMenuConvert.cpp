// Image menus: converting a popup's items to owner-drawn items with records and back,
// preparing a popup as it opens, the end of a menu loop, mnemonics of owner-drawn items
// and the measuring of items.
#include "toolkit/menus/QZCoolMenu.h"

#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMenuItemInfo.h"
#include "toolkit/menus/QZPopupMenu.h"
#include "toolkit/res/ToolkitResources.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

// One item of a menu with its whole text: the text's length is asked for first, so a
// text of any length is kept (a fixed buffer would cut long texts for good when the item
// is given its text back).
struct MenuItemRead {
    QZ_MENUITEMINFO info;
    CString text;
};

BOOL ReadMenuItemWithText(HMENU hMenu, int index, MenuItemRead& item)
{
    item.info = QZ_MENUITEMINFO();
    item.info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(index), TRUE, &item.info))
        return FALSE;
    item.text.Empty();
    const UINT length = item.info.cch;
    if (length > 0 && !(item.info.fType & (MFT_SEPARATOR | MFT_BITMAP))) {
        QZ_MENUITEMINFO textInfo;
        textInfo.fMask = MIIM_STRING;
        textInfo.dwTypeData = item.text.GetBuffer(static_cast<int>(length) + 1);
        textInfo.cch = length + 1;
        const BOOL read = ::GetMenuItemInfoA(hMenu, static_cast<UINT>(index), TRUE, &textInfo);
        item.text.ReleaseBuffer(read ? static_cast<int>(std::min(textInfo.cch, length)) : 0);
    }
    return TRUE;
}

CQZItemData* RecordAt(HMENU hMenu, int index)
{
    QZ_MENUITEMINFO info;
    info.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(index), TRUE, &info))
        return nullptr;
    return CQZItemData::FromItemData(info.dwItemData);
}

bool IsMenuHandle(HMENU hMenu)
{
    return hMenu && ::IsMenu(hMenu);
}

} // namespace

void CQZCoolMenu::ConvertMenu(CMenu* pMenu, BOOL bToOwnerDraw)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!IsMenuHandle(hMenu))
        return;
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        MenuItemRead item;
        if (!ReadMenuItemWithText(hMenu, i, item))
            continue;
        CQZItemData* record = CQZItemData::FromItemData(item.info.dwItemData);
        if (item.info.dwItemData && !record)
            continue;  // someone else's item

        QZ_MENUITEMINFO change;
        if (bToOwnerDraw) {
            if (!(item.info.fType & MFT_OWNERDRAW)) {
                change.fMask |= MIIM_FTYPE;
                change.fType = item.info.fType | MFT_OWNERDRAW;
                if (!record) {
                    record = new CQZItemData;
                    record->m_strText = item.text;
                    record->m_hMenu = hMenu;
                    record->m_hSubMenu = item.info.hSubMenu;
                    record->m_nPosition = i;
                    record->m_nImage = GetCommandImage(item.info.wID);
                    record->m_nCommand = item.info.wID;
                    record->m_nType = change.fType;
                    record->m_nState = item.info.fState;
                    if (IsCommandHidden(item.info.wID) && m_bPersonalized && IsToolkitMenuActive())
                        record->m_nPersonal = QZ_PERSONAL_HIDDEN;
                    m_listItemData.AddTail(record);
                    change.fMask |= MIIM_DATA;
                    change.dwItemData = reinterpret_cast<ULONG_PTR>(record);
                }
            }
            if (!m_listConvertedMenus.Find(hMenu))
                m_listConvertedMenus.AddHead(hMenu);
        } else {
            if ((item.info.fType & MFT_OWNERDRAW) && record) {
                change.fMask |= MIIM_FTYPE;
                change.fType = item.info.fType & ~MFT_OWNERDRAW;
                if (!(change.fType & (MFT_SEPARATOR | MFT_BITMAP))) {
                    change.fMask |= MIIM_STRING;
                    change.dwTypeData = const_cast<LPSTR>(static_cast<LPCSTR>(record->m_strText));
                }
            }
            if (record) {
                change.fMask |= MIIM_DATA;
                change.dwItemData = 0;
            }
        }
        if (change.fMask)
            ::SetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &change);
        if (!bToOwnerDraw && record)
            DeleteItemData(record);
    }
}

void CQZCoolMenu::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL bSysMenu)
{
    m_bChevronSelected = false;
    m_sizeMargin = qzAfxData.xpLook ? CSize(4, 3) : CSize(1, 1);
    m_sizeButton = CSize(m_sizeImage.cx + 2 * m_sizeMargin.cx, m_sizeImage.cy + 2 * m_sizeMargin.cy);
    if (!bSysMenu)
        bSysMenu = IsSysMenu(pPopupMenu);
    if (bSysMenu) {
        CQZPopupMenu::ForgetWaitingPopup();
        return;
    }
    HMENU hMenu = pPopupMenu->GetSafeHmenu();
    AttachPopupWindow(hMenu);
    ConvertMenu(pPopupMenu, TRUE);
    if (m_bPersonalized && IsToolkitMenuActive())
        RemoveHiddenItems(pPopupMenu);
    if (m_nPopupSide) {
        MarkPopupSide(hMenu, m_nPopupSide);
        m_nPopupSide = 0;
    }
}

void CQZCoolMenu::AttachPopupWindow(HMENU hMenu)
{
    CQZPopupMenu::AttachMenu(hMenu);
}

void CQZCoolMenu::MarkPopupSide(HMENU hMenu, UINT nSide)
{
    if (!IsMenuHandle(hMenu))
        return;
    const int count = ::GetMenuItemCount(hMenu);
    if (count <= 0)
        return;
    int first = 0;
    int last = 0;
    switch (nSide) {
    case CBRS_ALIGN_LEFT:
    case CBRS_ALIGN_RIGHT:
        last = count - 1;
        break;
    case CBRS_ALIGN_BOTTOM:
        first = last = count - 1;
        break;
    default:
        break;
    }
    for (int i = first; i <= last; ++i) {
        if (CQZItemData* record = RecordAt(hMenu, i))
            record->m_nSide = nSide;
    }
}

BOOL CQZCoolMenu::IsSysMenu(CMenu* pMenu)
{
    CWnd* owner = CWnd::FromHandlePermanent(m_hWnd);
    if (!owner || !owner->IsKindOf(RUNTIME_CLASS(CFrameWnd)) || !pMenu)
        return FALSE;
    auto* frame = static_cast<CFrameWnd*>(owner);
    HMENU hMenu = pMenu->m_hMenu;
    if (hMenu && ::GetSystemMenu(frame->m_hWnd, FALSE) == hMenu)
        return TRUE;
    CFrameWnd* active = frame->GetActiveFrame();
    return hMenu && active && active != frame && ::GetSystemMenu(active->m_hWnd, FALSE) == hMenu;
}

void CQZCoolMenu::OnMenuSelect(UINT, UINT nFlags, HMENU hSysMenu)
{
    // WM_MENUSELECT with flags 0xFFFF and no menu means the menu has closed.
    if (hSysMenu || nFlags != 0xFFFF)
        return;
    while (!m_listConvertedMenus.IsEmpty()) {
        CMenu* menu = CMenu::FromHandle(m_listConvertedMenus.RemoveHead());
        ShowHiddenItems(menu);
        ConvertMenu(menu, FALSE);
    }
    m_bShowFullMenus = false;
}

LRESULT CQZCoolMenu::OnMenuChar(UINT nChar, UINT, CMenu* pMenu)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!IsMenuHandle(hMenu))
        return 0;
    const int typed = std::toupper(static_cast<unsigned char>(nChar));
    std::vector<int> candidates;
    int highlighted = -1;
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_DATA;
        if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        if (info.fState & MFS_HILITE)
            highlighted = i;
        CQZItemData* record = CQZItemData::FromItemData(info.dwItemData);
        if (!(info.fType & MFT_OWNERDRAW) || !record)
            continue;
        const int amp = record->m_strText.Find('&');
        if (amp >= 0 && amp + 1 < record->m_strText.GetLength() &&
            std::toupper(static_cast<unsigned char>(record->m_strText[amp + 1])) == typed)
            candidates.push_back(i);
    }
    if (candidates.empty())
        return 0;
    if (candidates.size() == 1)
        return MAKELRESULT(candidates.front(), MNC_EXECUTE);
    // The next candidate after the highlighted item; with none highlighted (-1 taken as
    // the largest number) or none after it, the first.
    int chosen = candidates.front();
    for (int candidate : candidates) {
        if (static_cast<UINT>(candidate) > static_cast<UINT>(highlighted)) {
            chosen = candidate;
            break;
        }
    }
    return MAKELRESULT(chosen, MNC_SELECT);
}

BOOL CQZCoolMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (!lpMeasureItemStruct || lpMeasureItemStruct->CtlType != ODT_MENU)
        return FALSE;
    CQZItemData* record = CQZItemData::FromItemData(lpMeasureItemStruct->itemData);
    if (!record)
        return FALSE;
    const int menuHeight = ::GetSystemMetrics(SM_CYMENU);
    const bool xp = qzAfxData.xpLook != 0;
    UINT width = 0;
    UINT height = 0;
    if (record->m_nType & MFT_SEPARATOR) {
        height = static_cast<UINT>(menuHeight / 2);
    } else {
        if (!record->m_strText.IsEmpty()) {
            HDC dc = ::GetWindowDC(m_hWnd);
            CFont* font = &qzAfxData.fontNormal;
            if (IsMenuHandle(record->m_hMenu)) {
                QZ_MENUITEMINFO info;
                info.fMask = MIIM_STATE;
                if (::GetMenuItemInfoA(record->m_hMenu, record->m_nCommand, FALSE, &info) &&
                    (info.fState & MFS_DEFAULT))
                    font = &qzAfxData.fontBold;
            }
            HGDIOBJ oldFont = ::SelectObject(dc, font->m_hObject);
            CString measured = record->m_strText;
            measured.Replace("\t", "XXX");
            SIZE extent = {};
            ::GetTextExtentPoint32A(dc, measured, measured.GetLength(), &extent);
            ::SelectObject(dc, oldFont);
            ::ReleaseDC(m_hWnd, dc);
            const int wanted = xp ? extent.cx + m_sizeImage.cx + 28 : extent.cx + 2 * m_sizeImage.cx + 2;
            width = static_cast<UINT>(std::max(100, wanted));
            height = static_cast<UINT>(m_sizeImage.cy + (xp ? 6 : 4));
        } else {
            height = static_cast<UINT>(menuHeight);
            width = 100;
        }
        if (lpMeasureItemStruct->itemID == ID_QZ_FULL_MENUS)
            height = static_cast<UINT>(xp ? m_sizeImage.cy : menuHeight + 1);
        else
            height = std::max(height, static_cast<UINT>(menuHeight));
    }
    if (xp) {
        if (IsFirstItem(record->m_hMenu, record->m_nPosition))
            height += 2;
        if (IsLastItem(record->m_hMenu, record->m_nPosition, record->m_nCommand))
            height = static_cast<UINT>(static_cast<int>(height) + 2 - 2 * m_sizeFrame.cy);
    }
    lpMeasureItemStruct->itemWidth = width;
    lpMeasureItemStruct->itemHeight = height;
    return TRUE;
}

BOOL CQZCoolMenu::IsFirstItem(HMENU hMenu, int nPosition)
{
    if (!IsMenuHandle(hMenu))
        return FALSE;
    CQZItemData* record = RecordAt(hMenu, 0);
    return record && record->m_nPosition == nPosition;
}

BOOL CQZCoolMenu::IsLastItem(HMENU hMenu, int nPosition, UINT nCommand)
{
    if (nCommand == ID_QZ_FULL_MENUS)
        return TRUE;
    if (!IsMenuHandle(hMenu))
        return FALSE;
    const int count = ::GetMenuItemCount(hMenu);
    if (count > 0 && ::GetMenuItemID(hMenu, count - 1) == ID_QZ_FULL_MENUS)
        return FALSE;
    return nPosition == count - 1;
}

int CQZCoolMenu::GetItemPosition(CMenu* pMenu, UINT nCommand)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!IsMenuHandle(hMenu))
        return -1;
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        if (::GetMenuItemID(hMenu, i) == nCommand)
            return i;
    }
    return -1;
}
