// Personalised image menus: the commands the owner hides until used, the recent list in
// the toolkit's settings store, taking hidden items out of a popup as it opens and putting
// them back, the chevron item that shows the full popup, and its expansion timer.
#include "toolkit/menus/QZCoolMenu.h"

#include "framework/DC.h"
#include "framework/Menu.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMenuItemInfo.h"
#include "toolkit/foundation/QZRegistryManager.h"
#include "toolkit/menus/QZPopupMenu.h"
#include "toolkit/res/ToolkitResources.h"

#include <vector>

namespace {

CString RecentSection()
{
    CString section;
    section.LoadString(IDS_QZ_RECENT_ITEM_LIST);
    return section;
}

CString RecentEntry(int index)
{
    CString format;
    format.LoadString(IDS_QZ_RECENT_ITEM);
    CString entry;
    entry.Format(format, index);
    return entry;
}

CQZItemData* RecordOfItem(HMENU hMenu, int index)
{
    QZ_MENUITEMINFO info;
    info.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(index), TRUE, &info))
        return nullptr;
    return CQZItemData::FromItemData(info.dwItemData);
}

bool IsHiddenRecord(const CQZItemData* record)
{
    return record && (record->m_nPersonal & QZ_PERSONAL_HIDDEN);
}

bool IsMenuOrNull(HMENU hMenu)
{
    return hMenu && ::IsMenu(hMenu);
}

} // namespace

BOOL CQZCoolMenu::AddHiddenCommand(UINT nCommand)
{
    m_bPersonalized = TRUE;
    m_arrHiddenCommands.Add(nCommand);
    return TRUE;
}

BOOL CQZCoolMenu::AddHiddenCommands(const UINT* pCommands, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        if (!AddHiddenCommand(pCommands[i]))
            return FALSE;
    }
    return TRUE;
}

BOOL CQZCoolMenu::IsCommandHidden(UINT nCommand)
{
    for (int i = 0; i < m_arrHiddenCommands.GetSize(); ++i) {
        if (m_arrHiddenCommands[i] == nCommand)
            return !IsRecentCommand(nCommand);
    }
    return FALSE;
}

BOOL CQZCoolMenu::IsRecentCommand(UINT nCommand)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    const CString section = RecentSection();
    for (int i = 1; i <= m_nRecentCount; ++i) {
        if (static_cast<UINT>(store.GetProfileInt(section, RecentEntry(i), 0)) == nCommand)
            return TRUE;
    }
    return FALSE;
}

BOOL CQZCoolMenu::AddRecentCommand(UINT nCommand)
{
    if (!IsCommandHidden(nCommand) && !IsRecentCommand(nCommand))
        return FALSE;
    CQZRegistryManager store(HKEY_CURRENT_USER);
    const CString section = RecentSection();
    std::vector<UINT> recent;
    for (int i = 1; i <= m_nRecentCount; ++i)
        recent.push_back(static_cast<UINT>(store.GetProfileInt(section, RecentEntry(i), 0)));
    for (auto it = recent.begin(); it != recent.end(); ++it) {
        if (*it == nCommand) {
            recent.erase(it);
            break;
        }
    }
    recent.insert(recent.begin(), nCommand);
    for (int i = 0; i < m_nRecentCount && i < static_cast<int>(recent.size()); ++i)
        store.WriteProfileInt(section, RecentEntry(i + 1), static_cast<int>(recent[static_cast<size_t>(i)]));
    return TRUE;
}

void CQZCoolMenu::ResetRecentCommands()
{
    // The whole section goes: deleting "Item1", "Item2", ... up to the first gap would
    // leave an entry after the gap, which would still count as recent.
    CQZRegistryManager store(HKEY_CURRENT_USER);
    store.WriteProfileString(RecentSection(), nullptr, nullptr);
}

void CQZCoolMenu::SetMaxRecentCommands(int nCount)
{
    m_nRecentCount = nCount;
}

BOOL CQZCoolMenu::IsPrevItemHidden(CMenu* pMenu, int nIndex)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!IsMenuOrNull(hMenu))
        return FALSE;
    if (nIndex <= 0)
        return TRUE;
    return IsHiddenRecord(RecordOfItem(hMenu, nIndex - 1));
}

BOOL CQZCoolMenu::IsNextItemHidden(CMenu* pMenu, int nIndex)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!IsMenuOrNull(hMenu))
        return FALSE;
    if (nIndex >= ::GetMenuItemCount(hMenu) - 1)
        return TRUE;
    return IsHiddenRecord(RecordOfItem(hMenu, nIndex + 1));
}

BOOL CQZCoolMenu::HasHiddenItems(CMenu* pMenu)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!IsMenuOrNull(hMenu) || m_arrHiddenCommands.GetSize() == 0)
        return FALSE;
    const int count = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_ID | MIIM_DATA;
        if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        CQZItemData* record = CQZItemData::FromItemData(info.dwItemData);
        if (record && info.wID != ID_QZ_FULL_MENUS && !IsRecentCommand(info.wID) && IsHiddenRecord(record))
            return TRUE;
    }
    return FALSE;
}

void CQZCoolMenu::RemoveHiddenItems(CMenu* pMenu)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!IsMenuOrNull(hMenu))
        return;
    int count = ::GetMenuItemCount(hMenu);
    // The first and last item of each run of hidden items, for the drawing of its edges.
    for (int i = 0; i < count; ++i) {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_ID | MIIM_DATA;
        if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        CQZItemData* record = CQZItemData::FromItemData(info.dwItemData);
        if (!record || info.wID == ID_QZ_FULL_MENUS || !IsHiddenRecord(record))
            continue;
        if (!IsPrevItemHidden(pMenu, i))
            record->m_nPersonal |= QZ_PERSONAL_PREV_SHOWN;
        if (!IsNextItemHidden(pMenu, i))
            record->m_nPersonal |= QZ_PERSONAL_NEXT_SHOWN;
    }
    UpdateChevron(pMenu, m_bShowFullMenus);
    if (m_bShowFullMenus)
        return;

    bool removedAny = false;
    count = ::GetMenuItemCount(hMenu);
    for (int i = count - 1; i >= 0; --i) {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_DATA;
        if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        CQZItemData* record = CQZItemData::FromItemData(info.dwItemData);
        if (!IsHiddenRecord(record) || record->m_bRemoved)
            continue;
        record->m_nState = info.fState;
        record->m_bRemoved = TRUE;
        // A popup item is taken out without destroying its popup, which the record keeps.
        if (info.hSubMenu && ::IsMenu(info.hSubMenu))
            ::RemoveMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        else
            ::DeleteMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        removedAny = true;
    }
    if (!removedAny)
        return;

    // Separators that the hidden items leave side by side keep only the lowest of them,
    // and none is left at the top of the popup or right above its end (the chevron):
    // each would stand next to nothing.
    bool belowIsSeparator = true;
    count = ::GetMenuItemCount(hMenu);
    for (int i = count - 1; i >= 0; --i) {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_ID | MIIM_DATA;
        if (!::GetMenuItemInfoA(hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        CQZItemData* record = CQZItemData::FromItemData(info.dwItemData);
        if (!record || info.wID == ID_QZ_FULL_MENUS)
            continue;
        const bool isSeparator = (record->m_nType & MFT_SEPARATOR) != 0;
        if (isSeparator && (belowIsSeparator || i == 0)) {
            record->m_bRemoved = TRUE;
            ::DeleteMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
            continue;
        }
        belowIsSeparator = isSeparator;
    }
    // A separator that has become the first item once those above it went.
    while (::GetMenuItemCount(hMenu) > 0) {
        CQZItemData* record = RecordOfItem(hMenu, 0);
        if (!record || !(record->m_nType & MFT_SEPARATOR) || ::GetMenuItemID(hMenu, 0) == ID_QZ_FULL_MENUS)
            break;
        record->m_bRemoved = TRUE;
        ::DeleteMenu(hMenu, 0, MF_BYPOSITION);
    }
}

BOOL CQZCoolMenu::ShowHiddenItems(CMenu* pMenu)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!IsMenuOrNull(hMenu))
        return FALSE;
    BOOL changed = UpdateChevron(pMenu, TRUE);
    // Records stand in the list in the order of their positions, so each insertion puts
    // the items after it back at their places before they are written.
    for (POSITION pos = m_listItemData.GetHeadPosition(); pos;) {
        CQZItemData* record = m_listItemData.GetNext(pos);
        if (record->m_dwTag != QZ_ITEMDATA_TAG || record->m_hMenu != hMenu)
            continue;
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA;
        info.fState = record->m_nState;
        info.fType = record->m_nType;
        info.wID = record->m_nCommand;
        info.hSubMenu = record->m_hSubMenu;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
        if (!(record->m_nType & (MFT_SEPARATOR | MFT_BITMAP))) {
            info.fMask |= MIIM_STRING;
            info.dwTypeData = const_cast<LPSTR>(static_cast<LPCSTR>(record->m_strText));
        }
        const UINT position = static_cast<UINT>(record->m_nPosition);
        if (!record->m_bRemoved) {
            ::SetMenuItemInfoA(hMenu, position, TRUE, &info);
        } else if (::InsertMenuItemA(hMenu, position, TRUE, &info)) {
            record->m_bRemoved = FALSE;
            changed = TRUE;
        }
    }
    return changed;
}

BOOL CQZCoolMenu::UpdateChevron(CMenu* pMenu, BOOL bRemove)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!IsMenuOrNull(hMenu))
        return FALSE;
    BOOL changed = FALSE;
    int chevron = GetItemPosition(pMenu, ID_QZ_FULL_MENUS);
    // A chevron that is not the last item goes, and is appended again below.
    if (chevron >= 0 && chevron != ::GetMenuItemCount(hMenu) - 1)
        bRemove = TRUE;
    if ((m_bShowFullMenus || bRemove) && chevron >= 0) {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_DATA;
        if (::GetMenuItemInfoA(hMenu, ID_QZ_FULL_MENUS, FALSE, &info)) {
            if (CQZItemData* record = CQZItemData::FromItemData(info.dwItemData))
                DeleteItemData(record);
        }
        ::DeleteMenu(hMenu, ID_QZ_FULL_MENUS, MF_BYCOMMAND);
        changed = TRUE;
        if (!m_bShowFullMenus)
            chevron = -1;
    }
    if (!m_bShowFullMenus && chevron < 0 && HasHiddenItems(pMenu)) {
        ::AppendMenuA(hMenu, MF_STRING, ID_QZ_FULL_MENUS, QZ_CHEVRON_TEXT);
        QZ_MENUITEMINFO item;
        item.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_DATA;
        ::GetMenuItemInfoA(hMenu, ID_QZ_FULL_MENUS, FALSE, &item);
        auto* record = new CQZItemData;
        record->m_nType = item.fType;
        record->m_nImage = GetCommandImage(ID_QZ_FULL_MENUS);
        record->m_nCommand = ID_QZ_FULL_MENUS;
        record->m_strText = QZ_CHEVRON_TEXT;
        m_listItemData.AddTail(record);
        QZ_MENUITEMINFO change;
        change.fMask = MIIM_FTYPE | MIIM_DATA;
        change.fType = item.fType | MFT_OWNERDRAW;
        change.dwItemData = reinterpret_cast<ULONG_PTR>(record);
        ::SetMenuItemInfoA(hMenu, ID_QZ_FULL_MENUS, FALSE, &change);
        changed = TRUE;
    }
    return changed;
}

void CQZCoolMenu::DrawChevron(CDC* pDC, CRect rect, BOOL bSelected)
{
    // Resting on the chevron expands the popup, except after the menu bar's tracking ended.
    if (!m_bMenuBarLoopEnded && bSelected) {
        if (!m_bOldOS) {
            ::SetTimer(m_hWnd, m_nExpandTimerID, m_nExpandDelay, nullptr);
            m_bTimerRunning = true;
        }
    } else if (m_bTimerRunning) {
        ::KillTimer(m_hWnd, m_nExpandTimerID);
        m_bTimerRunning = false;
    }
    CRect r = rect;
    r.top = r.bottom - 13;
    if (!qzAfxData.xpLook) {
        if (bSelected) {
            pDC->FillSolidRect(r, qzAfxData.colorFaceLight);
            pDC->Draw3dRect(r, qzAfxData.colorHilite, qzAfxData.colorShadow);
        } else {
            pDC->FillSolidRect(r, qzAfxData.colorMenu);
        }
    }
    const int x = r.left + (r.Width() - 5) / 2;
    const int y = r.top + (r.Height() - 8) / 2;
    QZDrawChevronGlyph(pDC, x, y);
    QZDrawChevronGlyph(pDC, x, y + 4);
}

void QZDrawChevronGlyph(CDC* pDC, int x, int y)
{
    static const POINT glyph[] = {{0, 0}, {0, 1}, {1, 1}, {1, 2}, {2, 2}, {2, 3}, {3, 1}, {3, 2}, {4, 0}, {4, 1}};
    for (const POINT& p : glyph)
        pDC->SetPixel(x + p.x, y + p.y, qzAfxData.colorMenuText);
}

void CQZCoolMenu::OnTimer(UINT nIDEvent)
{
    ::KillTimer(m_hWnd, m_nExpandTimerID);
    if (nIDEvent == m_nExpandTimerID && !m_bMenuBarLoopEnded)
        ::SendMessageA(m_hWnd, WM_COMMAND, ID_QZ_FULL_MENUS, 0);
}

void CQZCoolMenu::OnCommand(WPARAM wParam)
{
    if (wParam != ID_QZ_FULL_MENUS) {
        // The whole wParam: an accelerator's command (high word 1) is never recent.
        m_bShowFullMenus = false;
        AddRecentCommand(static_cast<UINT>(wParam));
        return;
    }
    m_bShowFullMenus = true;
    m_bChevronSelected = false;
    CQZPopupMenu* popup = CQZPopupMenu::GetNewest();
    if (!popup || !popup->m_hMenu || !ShowHiddenItems(CMenu::FromHandle(popup->m_hMenu)))
        return;
    // The open popup is filled in place: hidden, its old shadow and screen dropped, then
    // shown again at its new size.
    HWND window = popup->m_hWnd;
    ::ShowWindow(window, SW_HIDE);
    popup->RemoveShadow();
    popup->DiscardBackground();
    ::InvalidateRect(window, nullptr, TRUE);
    if (!popup->m_pBackground && qzAfxData.popupShadows && !CQZPopupMenu::m_bSystemShadows &&
        (!popup->m_pOwner || popup->m_pOwner->m_bPopupLoop)) {
        CRect windowRect;
        ::GetWindowRect(window, &windowRect);
        popup->SaveBackground(&windowRect);
    }
    popup->UpdateShadow();
    ::ShowWindow(window, SW_SHOWNA);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_FRAME);
}
