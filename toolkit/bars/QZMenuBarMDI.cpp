// The menu bar in an MDI frame: while the active child is maximized, the child's icon
// (its system menu) before the entries and its minimize, restore and close buttons after
// them, with tips; and the list of children in the frame's "window" popup.
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/bars/QZMenuBarVisibleItems.h"

#include "framework/DC.h"
#include "framework/FrameWnd.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/res/ToolkitResources.h"

namespace {

// The glyph of each caption button in the button images.
int ButtonGlyph(UINT nFrameControl)
{
    switch (nFrameControl) {
    case DFCS_CAPTIONMIN:
        return 0;
    case DFCS_CAPTIONRESTORE:
        return 1;
    default:
        return 2;
    }
}

// The entries of a window list: at most nine children, then "More Windows...".
constexpr int kListedChildren = 9;
constexpr UINT kMoreWindowsCommand = AFX_IDM_FIRST_MDICHILD + 9;

} // namespace

void CQZMenuBar::SyncMDIMaximized(BOOL bRecalc)
{
    BOOL maximized = FALSE;
    if (m_hWndMDIClient) {
        HWND active = reinterpret_cast<HWND>(
            ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        // A child without a system menu shows no icon and no buttons.
        if (!active || !(GetActiveChildStyle() & WS_SYSMENU))
            maximized = FALSE;
    }
    if (maximized == m_bChildMaximized)
        return;
    m_bChildMaximized = maximized;
    if (bRecalc)
        RecalcAndRedraw();
}

DWORD CQZMenuBar::GetActiveChildStyle()
{
    if (!m_hWndMDIClient)
        return 0;
    HWND active = reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
    return active ? static_cast<DWORD>(::GetWindowLongPtrA(active, GWL_STYLE)) : 0;
}

CFrameWnd* CQZMenuBar::GetActiveFrame()
{
    CFrameWnd* top = GetTopLevelFrame();
    return top ? top->GetActiveFrame() : nullptr;
}

void CQZMenuBar::DrawSysMenuItem(CDC* pDC, CQZSysMenuBarItem* pItem)
{
    HWND child = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0))
                                 : nullptr;
    HICON icon = child ? reinterpret_cast<HICON>(::SendMessageA(child, WM_GETICON, ICON_SMALL, 0)) : nullptr;
    // The full pointer-sized handle: a 32-bit class read would cut a 64-bit handle.
    if (!icon && child)
        icon = reinterpret_cast<HICON>(::GetClassLongPtrA(child, GCLP_HICONSM));
    if (!icon)
        icon = ::LoadIconA(nullptr, IDI_WINLOGO);
    const CSize size = pItem->GetSize();
    const CRect rect(pItem->m_ptOrigin, size);
    int x = (rect.left + rect.right - qzAfxData.smallIconWidth) / 2;
    int y = (rect.top + rect.bottom - qzAfxData.smallIconHeight) / 2;
    if (x < 0)
        x = 0;
    if (y < 0)
        y = 0;
    ::DrawIconEx(pDC->m_hDC, x, y, icon, qzAfxData.smallIconWidth, qzAfxData.smallIconHeight, 0, nullptr, DI_NORMAL);
}

void CQZMenuBar::TrackSystemMenu(CQZSysMenuBarItem* pItem)
{
    CFrameWnd* active = GetActiveFrame();
    HMENU systemMenu = active ? ::GetSystemMenu(active->m_hWnd, FALSE) : nullptr;
    if (!systemMenu)
        return;
    CPoint origin = pItem->m_ptOrigin;
    ClientToScreen(&origin);
    const CRect rect(origin, pItem->GetSize());
    TPMPARAMS params = {};
    CPoint point;
    CalcPopupPoint(&point, rect, &params);
    // The system menu stays plain: the image menus leave its popup alone.
    CQZCoolMenu::SkipNextInitMenuPopup();
    ::TrackPopupMenuEx(systemMenu, TPM_VERTICAL, point.x, point.y, OwnerWindow(), &params);
}

void CQZMenuBar::OnSysMenuDblClk(CQZSysMenuBarItem*)
{
    if (CFrameWnd* active = GetActiveFrame())
        ::PostMessageA(active->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    m_nPressedButton = -1;
}

void CQZMenuBar::DrawControlItem(CDC* pDC, CQZControlMenuBarItem* pItem)
{
    const bool pressed = m_nPressedButton >= 0 && m_nPressedButton < m_arrItems.GetSize() &&
                         m_arrItems[m_nPressedButton] == pItem && m_bPressedInside;
    const bool hot = m_nPressedButton < 0 && m_nHotItem >= 0 && m_nHotItem < m_arrItems.GetSize() &&
                     m_arrItems[m_nHotItem] == pItem;
    const DWORD style = GetActiveChildStyle();
    CRect rect(pItem->m_ptOrigin, pItem->GetSize());
    if (m_wndToolTip.m_hWnd)
        m_wndToolTip.Pop();
    // A button the child lacks is drawn disabled while its partner exists, else not at all.
    if (pItem->m_nFrameControl == DFCS_CAPTIONMIN && !(style & WS_MINIMIZEBOX)) {
        if (style & WS_MAXIMIZEBOX)
            ::DrawFrameControl(pDC->m_hDC, &rect, DFC_CAPTION, DFCS_CAPTIONMIN | DFCS_INACTIVE);
        return;
    }
    if (pItem->m_nFrameControl == DFCS_CAPTIONRESTORE && !(style & WS_MAXIMIZEBOX)) {
        if (style & WS_MINIMIZEBOX)
            ::DrawFrameControl(pDC->m_hDC, &rect, DFC_CAPTION, DFCS_CAPTIONRESTORE | DFCS_INACTIVE);
        return;
    }
    DrawControlButton(pDC, rect, pItem->m_nFrameControl, hot, pressed);
}

void CQZMenuBar::DrawControlButton(CDC* pDC, CRect rect, UINT nFrameControl, BOOL bHot, BOOL bPressed)
{
    const int savedDC = pDC->SaveDC();
    COLORREF fill = qzAfxData.colorFace;
    COLORREF glyph = m_bFrameActive ? qzAfxData.colorMenuText : qzAfxData.colorGrayText;
    if (bHot)
        fill = qzAfxData.colorXPHot;
    if (bPressed) {
        fill = qzAfxData.colorXPPushed;
        glyph = qzAfxData.colorXPPushedText;
    }
    pDC->FillSolidRect(rect, fill);
    if (bHot || bPressed)
        pDC->Draw3dRect(rect, qzAfxData.colorSelection, qzAfxData.colorSelection);
    if (!qzAfxData.xpLook) {
        ::DrawFrameControl(pDC->m_hDC, &rect, DFC_CAPTION, nFrameControl | (bPressed ? DFCS_PUSHED : 0));
    } else {
        HICON icon = ::ImageList_GetIcon(m_ilButtons.m_hImageList, ButtonGlyph(nFrameControl), ILD_NORMAL);
        HBRUSH brush = ::CreateSolidBrush(glyph);
        const CPoint at(rect.left + (rect.Width() - 10) / 2, rect.top + (rect.Height() - 10) / 2);
        if (icon)
            pDC->DrawState(at, rect.Size(), icon, DST_ICON | DSS_MONO, brush);
        ::DeleteObject(brush);
        if (icon)
            ::DestroyIcon(icon);
    }
    if (bHot)
        ShowControlButtonTip(m_ptLastMouse, static_cast<int>(nFrameControl));
    pDC->RestoreDC(savedDC);
}

void CQZMenuBar::ShowControlButtonTip(CPoint point, int nFrameControl)
{
    if (!(m_dwStyle & CBRS_TOOLTIPS) || !m_wndToolTip.m_hWnd)
        return;
    m_wndToolTip.Pop();
    if (m_wndToolTip.GetToolCount() > 0) {
        m_wndToolTip.DelTool(this, 0);
        m_wndToolTip.Activate(FALSE);
    }
    UINT text = 0;
    switch (nFrameControl) {
    case DFCS_CAPTIONMIN:
        text = IDS_QZ_MINIMIZE_WINDOW;
        break;
    case DFCS_CAPTIONRESTORE:
        text = IDS_QZ_RESTORE_WINDOW;
        break;
    case DFCS_CAPTIONCLOSE:
        text = IDS_QZ_CLOSE_WINDOW;
        break;
    default:
        break;
    }
    if (text) {
        m_wndToolTip.AddTool(this, text, nullptr, 0);
        m_wndToolTip.Activate(TRUE);
    }
    MSG relay = {};
    relay.hwnd = m_hWnd;
    relay.message = WM_MOUSEMOVE;
    relay.lParam = MAKELPARAM(point.x, point.y);
    relay.pt = point;
    m_wndToolTip.RelayEvent(&relay);
}

BOOL CQZMenuBar::OnControlButtonMouse(UINT message, UINT, CPoint point)
{
    m_bMouseSeen = true;
    if (!m_bChildMaximized)
        return FALSE;
    const DWORD style = GetActiveChildStyle();
    if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) {
        const CQZVisibleMenuBarItems buttons(this, QZ_MBI_CONTROLBUTTONS);
        m_nPressedButton = HitTestItem(point, buttons.begin(), buttons.end());
        m_bPressedInside = m_nPressedButton >= 0;
    }
    if (!(style & WS_SYSMENU)) {
        m_nPressedButton = -1;
        return FALSE;
    }
    auto* button = (m_nPressedButton >= 0 && m_nPressedButton < m_arrItems.GetSize())
                       ? static_cast<CQZControlMenuBarItem*>(m_arrItems[m_nPressedButton])
                       : nullptr;
    SetPressedItem(m_bPressedInside ? m_nPressedButton : -1);
    if (!button)
        return FALSE;
    // A disabled button does nothing.
    if ((button->m_nFrameControl == DFCS_CAPTIONMIN && !(style & WS_MINIMIZEBOX)) ||
        (button->m_nFrameControl == DFCS_CAPTIONRESTORE && !(style & WS_MAXIMIZEBOX)))
        return FALSE;
    CFrameWnd* active = GetActiveFrame();
    switch (message) {
    case WM_LBUTTONDBLCLK:
        if (button->m_nFrameControl != DFCS_CAPTIONCLOSE)
            return FALSE;
        if (active)
            ::PostMessageA(active->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        m_nPressedButton = -1;
        m_bPressedInside = false;
        return TRUE;
    case WM_LBUTTONDOWN:
        UpdateWindow();
        m_bPressedInside = true;
        SetCapture();
        return TRUE;
    case WM_MOUSEMOVE: {
        CRect rect;
        GetItemRect(&rect, button);
        m_bPressedInside = rect.PtInRect(point) != FALSE;
        SetPressedItem(m_bPressedInside ? m_nPressedButton : -1);
        return TRUE;
    }
    case WM_LBUTTONUP:
        ::ReleaseCapture();
        if (m_bPressedInside && active)
            ::PostMessageA(active->m_hWnd, WM_SYSCOMMAND, button->m_nCommand, 0);
        m_bPressedInside = false;
        SetPressedItem(-1);
        m_nPressedButton = -1;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CQZMenuBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bChildMaximized) {
        POINT cursor;
        ::GetCursorPos(&cursor);
        ScreenToClient(&cursor);
        const CQZVisibleMenuBarItems items(this, QZ_MBI_ALL);
        if (HitTestItem(cursor, items.begin(), items.end()) >= 0)
            return static_cast<BOOL>(Default());
    }
    return CQZControlBar::OnSetCursor(pWnd, nHitTest, message);
}

void CQZMenuBar::RefreshWindowMenu()
{
    HMENU menu = m_hWindowMenu;
    if (!menu || !::IsMenu(menu) || !m_hWndMDIClient)
        return;
    const int count = ::GetMenuItemCount(menu);
    int start = count;
    bool needsSeparator = true;
    for (int i = 0; i < count; ++i) {
        const UINT id = ::GetMenuItemID(menu, i);
        if (id >= AFX_IDM_FIRST_MDICHILD && id != static_cast<UINT>(-1)) {
            start = i;
            needsSeparator = false;
            break;
        }
    }
    for (int i = count - 1; i >= start; --i)
        ::DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);

    HWND active = reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0));
    HWND slotWindows[kListedChildren] = {};
    UINT slotIds[kListedChildren] = {};
    int activeSlot = -1;
    bool found = false;
    for (HWND child = ::GetWindow(m_hWndMDIClient, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        found = true;
        const int id = ::GetDlgCtrlID(child);
        int slot = id - static_cast<int>(AFX_IDM_FIRST_MDICHILD);
        // The active child is always listed, in the last slot when its own is further on.
        if (child == active && slot >= kListedChildren)
            slot = kListedChildren - 1;
        if (slot < 0 || slot >= kListedChildren)
            continue;
        slotIds[slot] = static_cast<UINT>(id);
        slotWindows[slot] = child;
        if (child == active)
            activeSlot = slot;
    }
    if (!found)
        return;
    if (needsSeparator) {
        ::InsertMenuA(menu, static_cast<UINT>(start), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
        ++start;
    }
    for (int k = 0; k < kListedChildren; ++k) {
        if (!slotWindows[k])
            continue;
        char title[256] = {};
        ::GetWindowTextA(slotWindows[k], title, sizeof title);
        CString text;
        text.Format("&%d  %s", k + 1, title);
        ::InsertMenuA(menu, static_cast<UINT>(start + k), MF_BYPOSITION | MF_STRING, slotIds[k], text);
    }
    if (activeSlot >= 0)
        ::CheckMenuItem(menu, static_cast<UINT>(start + activeSlot), MF_BYPOSITION | MF_CHECKED);
    if (m_bMoreWindows) {
        CString more;
        more.LoadString(IDS_QZ_MORE_WINDOWS);
        ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(menu, MF_STRING, kMoreWindowsCommand, more);
    }
}
