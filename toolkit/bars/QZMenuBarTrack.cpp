// The menu bar's tracking: the hot item under the mouse, popups opened below, above or
// beside the bar and switched as the mouse or the arrows move along it, keyboard mode
// (Alt, arrows, Enter, Escape, mnemonics), the message-filter hook that watches the open
// popup's input, the full-menus timer, the idle update, and the routing of an in-place
// OLE server's menu messages.
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/bars/QZMenuBarVisibleItems.h"

#include "framework/Document.h"
#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/OleDocument.h"
#include "framework/View.h"
#include "toolkit/foundation/QZMenuItemInfo.h"
#include "toolkit/foundation/QZVersion.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/menus/QZMenu.h"

#include <cctype>
#include <vector>

namespace {

bool IsWindows2000OrLaterVersion()
{
    const OSVERSIONINFOA* version = QZGetOSVersionInfo();
    return version->dwPlatformId == VER_PLATFORM_WIN32_NT && version->dwMajorVersion >= 5;
}

constexpr LPARAM kAltContextBit = 1 << 29;
constexpr UINT kRedrawNow = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;

// F10 pressed without Shift, Ctrl or Alt, which works the bar as Alt does.
bool IsPlainF10(const MSG* pMsg)
{
    return LOBYTE(pMsg->wParam) == VK_F10 && !(pMsg->lParam & kAltContextBit) &&
           !(::GetKeyState(VK_SHIFT) & 0x8000) && !(::GetKeyState(VK_CONTROL) & 0x8000);
}

// The window of the item active in place in the frame's document, or null. The program
// embeds no OLE documents, so a document is never one and the answer is null.
HWND InPlaceWindow(CFrameWnd* pFrame, CWnd* pViewOrFrame, COleDocument** ppDocument)
{
    CDocument* document = pFrame ? pFrame->GetActiveDocument() : nullptr;
    if (!document || !document->IsKindOf(RUNTIME_CLASS(COleDocument)))
        return nullptr;
    auto* oleDocument = static_cast<COleDocument*>(document);
    COleClientItem* item = oleDocument->GetInPlaceActiveItem(pViewOrFrame);
    CWnd* window = item ? item->GetInPlaceWindow() : nullptr;
    if (ppDocument)
        *ppDocument = oleDocument;
    return window ? window->m_hWnd : nullptr;
}

// Whether the two popups hold the same items (counts, texts and ids, compared from the end).
bool SamePopup(HMENU a, HMENU b)
{
    const int count = ::GetMenuItemCount(a);
    if (count != ::GetMenuItemCount(b))
        return false;
    for (int i = count - 1; i >= 0; --i) {
        char textA[64] = {};
        char textB[64] = {};
        const int lengthA = ::GetMenuStringA(a, static_cast<UINT>(i), textA, sizeof textA, MF_BYPOSITION);
        const int lengthB = ::GetMenuStringA(b, static_cast<UINT>(i), textB, sizeof textB, MF_BYPOSITION);
        if (lengthA > 0 && lengthB > 0 &&
            (lstrcmpA(textA, textB) != 0 || ::GetMenuItemID(a, i) != ::GetMenuItemID(b, i)))
            return false;
    }
    return true;
}

// How many presses of Down (first) or Up (last) select the first or last enabled item of
// a popup that has no selection yet. The system's arrows stop on every item but a
// separator, disabled ones included; a popup without an enabled item gets one press, as
// the system's own menu bar gives it.
int PressesToSelect(HMENU menu, int which)
{
    std::vector<bool> enabled;  // one entry per item the arrows stop on
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_SEPARATOR))
            continue;
        enabled.push_back(!(info.fState & MFS_DISABLED));
    }
    const int stops = static_cast<int>(enabled.size());
    for (int k = 0; k < stops; ++k) {
        const int index = which == QZ_MBS_LAST ? stops - 1 - k : k;
        if (enabled[index])
            return k + 1;
    }
    return 1;
}

} // namespace

void CQZMenuBar::ResetTracking()
{
    m_nTrackingState = QZ_MBT_IDLE;
    m_nPopupItem = -1;
    m_nNextItem = -1;
    m_nCurrentItem = -1;
    m_nPressedItem = -1;
    m_nHotItem = -1;
    m_nPressedButton = -1;
    m_bBackToKeyboardMode = false;
    m_bLeftToPrev = false;
    m_bRightToNext = false;
    m_bMousePointValid = false;
    m_bPressedInside = false;
    m_ptLastMouse = CPoint(0, 0);
}

void CQZMenuBar::SetTrackingState(int nState, int nItem)
{
    if (nState == m_nTrackingState)
        return;
    if (nState == QZ_MBT_IDLE)
        nItem = -1;
    SetHotItem(nItem);
    if (nState == QZ_MBT_POPUP) {
        m_bBackToKeyboardMode = false;
        m_bLeftToPrev = true;
        m_bRightToNext = true;
        m_nPopupItem = nItem;
    }
    m_nTrackingState = nState;
}

void CQZMenuBar::ToggleKeyboardMode()
{
    if (m_nTrackingState == QZ_MBT_IDLE) {
        SetTrackingState(QZ_MBT_KEYBOARD, m_nHotItem >= 0 ? m_nHotItem : 1);
        m_bMouseSeen = false;
    } else if (m_nTrackingState == QZ_MBT_KEYBOARD) {
        SetTrackingState(QZ_MBT_IDLE, -1);
    }
}

void CQZMenuBar::SetHotItem(int nItem)
{
    if (nItem == m_nHotItem)
        return;
    m_nHotItem = nItem;
    if (m_hWnd)
        Invalidate(TRUE);
}

void CQZMenuBar::SetPressedItem(int nItem)
{
    if (nItem == m_nPressedItem)
        return;
    m_nPressedItem = nItem;
    if (m_hWnd)
        RedrawWindow(nullptr, nullptr, kRedrawNow);
}

int CQZMenuBar::GetNextOrPrevItem(int nItem, BOOL bPrevious)
{
    const CQZVisibleMenuBarItems items(this, QZ_MBI_MENUITEMS);
    const int count = items.size();
    if (count == 0)
        return -1;
    for (int k = 0; k < count; ++k) {
        if (items[k] < nItem)
            continue;
        if (bPrevious)
            return k > 0 ? items[k - 1] : items[count - 1];
        return k + 1 < count ? items[k + 1] : items[0];
    }
    return items[0];
}

void CQZMenuBar::TrackMenu(int nItem)
{
    CQZCoolMenu::m_bMenuBarLoopEnded = false;
    m_bFullMenus = false;
    // While it lives, image menus apply personalised hiding to the bar's popups.
    CQZMenu activeMenu;
    while (nItem >= 0 && nItem < m_arrItems.GetSize()) {
        m_nCurrentItem = nItem;
        m_nNextItem = -1;
        SetPressedItem(nItem);
        SetTrackingState(QZ_MBT_POPUP, nItem);

        m_pTrackingBar = this;
        if (m_nHookCount == 0)
            m_hMsgHook = ::SetWindowsHookExA(WH_MSGFILTER, &CQZMenuBar::MenuInputFilter, nullptr,
                                             ::GetCurrentThreadId());
        ++m_nHookCount;
        m_arrItems[nItem]->Track();
        if (--m_nHookCount == 0) {
            ::UnhookWindowsHookEx(m_hMsgHook);
            m_hMsgHook = nullptr;
            m_pTrackingBar = nullptr;
        }

        SetPressedItem(-1);
        if (m_nHookCount == 0)
            SetTrackingState(m_bBackToKeyboardMode ? QZ_MBT_KEYBOARD : QZ_MBT_IDLE, nItem);
        nItem = m_nNextItem;
        m_nCurrentItem = nItem;
        if (m_hWnd)
            RedrawWindow(nullptr, nullptr, kRedrawNow);
    }
    m_bFullMenus = false;
    m_nCurrentItem = -1;
    m_nSelectOnOpen = QZ_MBS_NONE;
    CQZCoolMenu::m_bMenuBarLoopEnded = true;
}

LRESULT CQZMenuBar::OnSelectOpenItem(WPARAM wParam, LPARAM lParam)
{
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    // Only the popup still open: the user may have closed it before this arrived.
    if (!menu || menu != m_hPopupMenu || !::IsMenu(menu))
        return 0;
    const int which = static_cast<int>(lParam);
    const UINT key = which == QZ_MBS_LAST ? VK_UP : VK_DOWN;
    const LPARAM keyData = 1 | (static_cast<LPARAM>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16);
    // Keys typed ahead (Alt+E and Return in one go) must act on the selection: they are
    // taken out of the queue and queued again behind the keys that make it.
    std::vector<MSG> typedAhead;
    MSG pending;
    while (::PeekMessageA(&pending, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE))
        typedAhead.push_back(pending);
    // The open menu's loop takes the keys from the thread's queue, whatever their window.
    const int presses = PressesToSelect(menu, which);
    for (int i = 0; i < presses; ++i)
        ::PostMessageA(OwnerWindow(), WM_KEYDOWN, key, keyData);
    for (const MSG& typed : typedAhead)
        ::PostMessageA(typed.hwnd, typed.message, typed.wParam, typed.lParam);
    return 0;
}

void CQZMenuBar::TrackPopup(CQZSubMenuBarItem* pItem)
{
    CRect itemRect;
    GetItemRect(&itemRect, pItem);
    CRect screenRect = itemRect;
    ClientToScreen(&screenRect);
    TPMPARAMS params = {};
    CPoint point;
    CalcPopupPoint(&point, screenRect, &params);
    CQZCoolMenu::m_bShowFullMenus = m_bFullMenus;

    QZ_MENUITEMINFO info;
    info.fMask = MIIM_ID | MIIM_SUBMENU;
    const BOOL read = ::GetMenuItemInfoA(m_hMenu, static_cast<UINT>(pItem->m_nPosition), TRUE, &info);
    HWND owner = OwnerWindow();
    if (read && info.hSubMenu && ::IsMenu(info.hSubMenu)) {
        m_hPopupMenu = info.hSubMenu;
        CQZCoolMenu::m_rcOpener = itemRect;
        CQZCoolMenu::m_nPopupSide = GetDockSide();
        RedrawWindow(itemRect, nullptr, kRedrawNow);
        CQZMenu::TrackPopupMenuEx(info.hSubMenu, TPM_VERTICAL, point.x, point.y, CWnd::FromHandle(owner), &params,
                                  TRUE);
        CQZCoolMenu::m_nPopupSide = 0;
    } else if (read) {
        // An entry without a popup is a command.
        ::PostMessageA(owner, WM_COMMAND, info.wID, 0);
    }
    m_hPopupMenu = nullptr;
}

CPoint* CQZMenuBar::CalcPopupPoint(CPoint* pPoint, const CRect& rect, TPMPARAMS* pParams)
{
    pParams->cbSize = sizeof(TPMPARAMS);
    CRect exclude;
    ::GetWindowRect(::GetDesktopWindow(), &exclude);
    switch (GetDockSide()) {
    case CBRS_ALIGN_BOTTOM:
        *pPoint = CPoint(rect.left, rect.top);
        exclude.top = rect.top;
        break;
    case CBRS_ALIGN_LEFT:
        *pPoint = CPoint(rect.right, rect.top);
        exclude.right = rect.right;
        break;
    case CBRS_ALIGN_RIGHT:
        *pPoint = CPoint(rect.left, rect.top);
        exclude.left = rect.left;
        break;
    default:
        *pPoint = CPoint(rect.left, rect.bottom);
        exclude.bottom = rect.bottom;
        break;
    }
    if (pPoint->x < 0)
        pPoint->x = 0;
    if (pPoint->y < 0)
        pPoint->y = 0;
    pParams->rcExclude = exclude;
    return pPoint;
}

void CQZMenuBar::CancelMenuAndTrack(int nItem)
{
    if (nItem == m_nPopupItem)
        return;
    // Ends the menu loop of the open popup; the tracking loop then opens the next one.
    ::PostMessageA(OwnerWindow(), WM_CANCELMODE, 0, 0);
    m_nNextItem = nItem;
}

LRESULT CALLBACK CQZMenuBar::MenuInputFilter(int nCode, WPARAM wParam, LPARAM lParam)
{
    // Menu-mode mouse positions are screen positions.
    if (nCode == MSGF_MENU && m_pTrackingBar && m_pTrackingBar->OnMenuInput(reinterpret_cast<MSG*>(lParam), FALSE))
        return 1;
    return ::CallNextHookEx(m_hMsgHook, nCode, wParam, lParam);
}

BOOL CQZMenuBar::OnMenuInput(MSG* pMsg, BOOL bClientPoint)
{
    switch (pMsg->message) {
    case WM_KEYDOWN: {
        const UINT key = static_cast<UINT>(pMsg->wParam);
        if ((key == VK_LEFT && m_bLeftToPrev) || (key == VK_RIGHT && m_bRightToNext)) {
            SelectOnOpen(QZ_MBS_FIRST);
            CancelMenuAndTrack(GetNextOrPrevItem(m_nPopupItem, key == VK_LEFT));
            return TRUE;
        }
        if (key == VK_ESCAPE)
            m_bBackToKeyboardMode = true;
        return FALSE;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: {
        CPoint point(static_cast<short>(LOWORD(pMsg->lParam)), static_cast<short>(HIWORD(pMsg->lParam)));
        if (bClientPoint)
            ::ClientToScreen(pMsg->hwnd, &point);
        if (::WindowFromPoint(point) != m_hWnd)
            return FALSE;
        ScreenToClient(&point);
        if (pMsg->message == WM_LBUTTONDOWN)
            return FALSE;
        bool overOpenItem = true;
        if (!(m_bMousePointValid && m_ptLastMouse == point)) {
            const CQZVisibleMenuBarItems items(this, QZ_MBI_MENUITEMS);
            const int hit = HitTestItem(point, items.begin(), items.end());
            if (hit >= 0 && hit < m_arrItems.GetSize()) {
                if (hit != m_nPopupItem) {
                    SelectOnOpen(QZ_MBS_NONE);
                    CancelMenuAndTrack(hit);
                    overOpenItem = false;
                }
            } else {
                overOpenItem = false;
            }
            m_ptLastMouse = point;
            m_bMousePointValid = true;
        }
        if (QZIsWindows95OrNT4())
            return FALSE;
        // Resting on the open item asks the image menus for their full popups.
        const bool hasHidden = m_arrHiddenCommands.GetSize() > 0;
        if (overOpenItem && hasHidden && !m_bTimerRunning) {
            ::SetTimer(OwnerWindow(), m_nTimerID, m_nTimerDelay, nullptr);
            m_bTimerRunning = true;
        } else if (!overOpenItem && hasHidden && m_bTimerRunning) {
            ::KillTimer(OwnerWindow(), m_nTimerID);
            m_bTimerRunning = false;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

void CQZMenuBar::OnMenuSelect(HMENU hMenu, UINT nItemID)
{
    if (m_nTrackingState <= QZ_MBT_IDLE)
        return;
    // Right opens a selected entry's submenu instead of moving along the bar.
    m_bRightToNext = !(hMenu && ::IsMenu(::GetSubMenu(hMenu, static_cast<int>(nItemID))));
    m_bLeftToPrev = true;
}

BOOL CQZMenuBar::TranslateFrameMessage(MSG* pMsg)
{
    if (!m_hWnd || !IsWindowVisible())
        return FALSE;
    const UINT message = pMsg->message;
    const bool isKey = message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
    const UINT key = LOBYTE(pMsg->wParam);
    // Function keys pass untouched, except a plain F10, which works the bar as Alt does
    // (as it works a window's own menu).
    const bool plainF10 = isKey && IsPlainF10(pMsg);
    if (isKey && key >= VK_F1 && key <= VK_F11 && !plainF10)
        return FALSE;
    if (message == WM_SYSKEYDOWN && (pMsg->lParam & kAltContextBit))
        SetKeyboardCues(true);
    if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) {
        if (pMsg->hwnd != m_hWnd && m_nTrackingState > QZ_MBT_IDLE)
            SetTrackingState(QZ_MBT_IDLE, -1);
        SetKeyboardCues(false);
        return FALSE;
    }
    if (!isKey)
        return FALSE;

    const bool alt = (pMsg->lParam & kAltContextBit) != 0;
    if (key == VK_MENU || plainF10) {
        if (message == WM_SYSKEYUP)
            ToggleKeyboardMode();
        return TRUE;
    }
    if (message == WM_SYSKEYUP)
        return FALSE;
    if (m_nTrackingState == QZ_MBT_KEYBOARD) {
        switch (key) {
        case VK_LEFT:
        case VK_RIGHT:
            SetHotItem(GetNextOrPrevItem(m_nHotItem, key == VK_LEFT));
            return TRUE;
        case VK_SPACE:
        case VK_RETURN:
        case VK_UP:
        case VK_DOWN:
            // As the system's menu bar does: Up selects the popup's last item, the others its first.
            SelectOnOpen(key == VK_UP ? QZ_MBS_LAST : QZ_MBS_FIRST);
            TrackMenu(m_nHotItem);
            return TRUE;
        case VK_ESCAPE:
            SetTrackingState(QZ_MBT_IDLE, -1);
            SetKeyboardCues(false);
            return TRUE;
        default:
            break;
        }
    }
    if (alt || m_nTrackingState == QZ_MBT_KEYBOARD) {
        if (key >= 0x80 || !std::isalnum(static_cast<int>(key)))
            return FALSE;
        const CQZVisibleMenuBarItems items(this, QZ_MBI_MENUITEMS);
        for (int index : items) {
            char mnemonic = 0;
            if (m_arrItems[index]->GetHotKey(mnemonic) &&
                static_cast<UINT>(std::toupper(static_cast<unsigned char>(mnemonic))) == key) {
                SelectOnOpen(QZ_MBS_FIRST);
                TrackMenu(index);
                return TRUE;
            }
        }
        if (m_nTrackingState == QZ_MBT_KEYBOARD && !alt) {
            ::MessageBeep(0);
            return TRUE;
        }
    }
    return FALSE;
}

void CQZMenuBar::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    // The item whose popup closed may be clicked again from now on.
    if (m_nCurrentItem == -1)
        m_nPopupItem = -1;
    SyncMDIMaximized(TRUE);
    if (m_bMouseSeen && m_nHotItem >= 0 && ::GetCapture() != m_hWnd) {
        POINT cursor;
        if (::GetCursorPos(&cursor)) {
            ScreenToClient(&cursor);
            CRect client;
            GetClientRect(&client);
            if (!client.PtInRect(cursor)) {
                SetHotItem(-1);
                m_bMouseSeen = false;
            }
        }
    }
    if (IsWindows2000OrLaterVersion()) {
        BOOL underlines = m_bShowUnderlines;
        if (::SystemParametersInfoA(SPI_GETMENUUNDERLINES, 0, &underlines, 0) && underlines != m_bShowUnderlines) {
            m_bShowUnderlines = underlines;
            Invalidate(TRUE);
        }
    }
}

void CQZMenuBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!GetParentFrame())
        ResetTracking();
    const CQZVisibleMenuBarItems items(this, QZ_MBI_MENUITEMS);
    const int hit = HitTestItem(point, items.begin(), items.end());
    if (hit >= 0) {
        // The item whose popup has just closed stays put until the next idle update:
        // the click that closed it does not open it again.
        if (hit != m_nPopupItem) {
            SelectOnOpen(QZ_MBS_NONE);
            TrackMenu(hit);
        }
        return;
    }
    if (OnControlButtonMouse(WM_LBUTTONDOWN, nFlags, point) || !m_pDockSite)
        return;
    CControlBar::OnLButtonDown(nFlags, point);
    if (m_pDockSite)
        m_pDockSite->m_nIdleFlags |= CFrameWnd::idleLayout | CFrameWnd::idleNotify;
}

void CQZMenuBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    OnControlButtonMouse(WM_LBUTTONUP, nFlags, point);
}

void CQZMenuBar::OnMouseMove(UINT nFlags, CPoint point)
{
    if (OnControlButtonMouse(WM_MOUSEMOVE, nFlags, point))
        return;
    switch (m_nTrackingState) {
    case QZ_MBT_IDLE: {
        const CQZVisibleMenuBarItems items(this, QZ_MBI_ALL);
        SetHotItem(HitTestItem(point, items.begin(), items.end()));
        break;
    }
    case QZ_MBT_KEYBOARD: {
        const CQZVisibleMenuBarItems items(this, QZ_MBI_ALL);
        const int hit = HitTestItem(point, items.begin(), items.end());
        // The move the system reports when a popup closes does not move the keyboard selection.
        if (hit >= 0 && !(m_bMousePointValid && m_ptLastMouse == point))
            SetHotItem(hit);
        break;
    }
    default:
        m_ptLastMouse = point;
        m_bMousePointValid = true;
        Default();
        break;
    }
}

void CQZMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    const CQZVisibleMenuBarItems items(this, QZ_MBI_MENUITEMS);
    const int hit = HitTestItem(point, items.begin(), items.end());
    if (hit >= 0 && hit != m_nPopupItem) {
        SelectOnOpen(QZ_MBS_NONE);
        TrackMenu(hit);
    } else if (hit >= 0) {
        m_arrItems[hit]->OnDblClick();
    } else if (!OnControlButtonMouse(WM_LBUTTONDBLCLK, nFlags, point)) {
        CControlBar::OnLButtonDblClk(nFlags, point);
    }
}

BOOL CQZMenuBar::MapServerMenus()
{
    m_mapServerItems.RemoveAll();
    CWnd* owner = CWnd::FromHandlePermanent(OwnerWindow());
    if (!owner || !owner->IsFrameWnd())
        return FALSE;
    auto* frame = static_cast<CFrameWnd*>(owner);
    if (frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        frame = frame->GetActiveFrame();
    COleDocument* document = nullptr;
    if (!InPlaceWindow(frame, frame->GetActiveView(), &document))
        return FALSE;
    CDocTemplate* docTemplate = document->GetDocTemplate();
    HMENU containerMenu = docTemplate ? docTemplate->m_hMenuInPlace : nullptr;
    // Entries the container's own in-place menu does not hold belong to the server.
    const int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
    const int containerCount = containerMenu ? ::GetMenuItemCount(containerMenu) : 0;
    for (int p = 0; p < count; ++p) {
        char text[64] = {};
        ::GetMenuStringA(m_hMenu, static_cast<UINT>(p), text, sizeof text, MF_BYPOSITION);
        bool matched = false;
        for (int q = 0; q < containerCount && text[0] && !matched; ++q) {
            char containerText[64] = {};
            ::GetMenuStringA(containerMenu, static_cast<UINT>(q), containerText, sizeof containerText,
                             MF_BYPOSITION);
            matched = lstrcmpA(text, containerText) == 0 &&
                      SamePopup(::GetSubMenu(m_hMenu, p), ::GetSubMenu(containerMenu, q));
        }
        if (!matched)
            m_mapServerItems.SetAt(p + 1, 1);
    }
    return TRUE;
}

HWND CQZMenuBar::FilterFrameMenuMessage(BOOL* pSend, UINT message, WPARAM, LPARAM)
{
    if (m_mapServerItems.IsEmpty())
        return nullptr;
    CWnd* owner = CWnd::FromHandlePermanent(OwnerWindow());
    if (!owner || !owner->IsFrameWnd())
        return nullptr;
    auto* frame = static_cast<CFrameWnd*>(owner);
    if (frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)))
        frame = frame->GetActiveFrame();
    HWND server = InPlaceWindow(frame, frame, nullptr);
    if (!server)
        return nullptr;
    int value = 0;
    switch (message) {
    case WM_INITMENUPOPUP:
    case WM_INITMENU:
    case WM_MENUSELECT:
        *pSend = TRUE;
        return (m_nTrackingState == QZ_MBT_POPUP && m_mapServerItems.Lookup(m_nCurrentItem, value)) ? server
                                                                                                     : nullptr;
    case WM_COMMAND:
        *pSend = FALSE;
        return m_mapServerItems.Lookup(m_nPopupItem, value) ? server : nullptr;
    default:
        return nullptr;
    }
}
