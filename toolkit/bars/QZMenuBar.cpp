// The menu bar's items, its creation over the frame (which loses its own menu), loading a
// menu into items, the geometry the other menu-bar parts share, and settings changes.
#include "toolkit/bars/QZMenuBar.h"

#include "framework/DC.h"
#include "framework/FrameWnd.h"
#include "framework/MDIFrameWnd.h"
#include "framework/Menu.h"
#include "framework/MiniFrameWnd.h"
#include "framework/PaintDC.h"
#include "framework/ResourceModule.h"
#include "framework/WinApp.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZString.h"
#include "toolkit/foundation/QZVersion.h"
#include "toolkit/res/ToolkitResources.h"

IMPLEMENT_DYNAMIC(CQZMenuBar, CQZControlBar)

BEGIN_MESSAGE_MAP(CQZMenuBar, CQZControlBar)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_SETCURSOR()
    ON_WM_NCCALCSIZE()
    ON_WM_NCHITTEST()
    ON_WM_SETTINGCHANGE()
    ON_MESSAGE(WM_QZ_SELECTOPENITEM, OnSelectOpenItem)
END_MESSAGE_MAP()

bool CQZMenuBar::m_bKeyboardCues = false;
bool CQZMenuBar::m_bFullMenus = false;
CQZMenuBar* CQZMenuBar::m_pTrackingBar = nullptr;
HHOOK CQZMenuBar::m_hMsgHook = nullptr;
int CQZMenuBar::m_nHookCount = 0;

namespace {

// The size of the MDI child's icon and buttons.
CSize MdiItemSize()
{
    if (qzAfxData.xpLook)
        return CSize(16, 15);
    return CSize(qzAfxData.smallIconWidth, qzAfxData.smallIconHeight - 1);
}

bool IsWindows2000OrLaterSystem()
{
    const OSVERSIONINFOA* version = QZGetOSVersionInfo();
    return version->dwPlatformId == VER_PLATFORM_WIN32_NT && version->dwMajorVersion >= 5;
}

// The longest top-level entry text the bar shows.
constexpr int kEntryTextBuffer = 64;

} // namespace

BOOL CQZMenuBarItem::IsHidden() const
{
    return FALSE;
}

BOOL CQZMenuBarItem::GetHotKey(char&) const
{
    return FALSE;
}

BOOL CQZMenuBarItem::CanWrap() const
{
    return TRUE;
}

int CQZMenuBarItem::GetExtraSpace() const
{
    return 0;
}

void CQZMenuBarItem::Track()
{
}

void CQZMenuBarItem::OnDblClick()
{
}

CQZSysMenuBarItem::CQZSysMenuBarItem(CQZMenuBar* pBar, DrawHandler draw, TrackHandler track, DblClkHandler dblClk)
    : m_pfnDraw(draw), m_pfnTrack(track), m_pfnDblClk(dblClk)
{
    m_pBar = pBar;
}

BOOL CQZSysMenuBarItem::IsHidden() const
{
    return !(m_pBar->m_bChildMaximized && m_pBar->m_bShowMDIItems);
}

void CQZSysMenuBarItem::Draw(CDC* pDC)
{
    (m_pBar->*m_pfnDraw)(pDC, this);
}

CSize CQZSysMenuBarItem::GetSize() const
{
    return MdiItemSize();
}

int CQZSysMenuBarItem::GetExtraSpace() const
{
    return 2;
}

void CQZSysMenuBarItem::Track()
{
    (m_pBar->*m_pfnTrack)(this);
}

void CQZSysMenuBarItem::OnDblClick()
{
    (m_pBar->*m_pfnDblClk)(this);
}

CQZSubMenuBarItem::CQZSubMenuBarItem(CQZMenuBar* pBar, DrawHandler draw, TrackHandler track, int nPosition,
                                     const CString& text, CSize size, char mnemonic)
    : m_pfnDraw(draw), m_pfnTrack(track), m_nPosition(nPosition), m_strText(text), m_size(size),
      m_chMnemonic(mnemonic)
{
    m_pBar = pBar;
}

void CQZSubMenuBarItem::Draw(CDC* pDC)
{
    (m_pBar->*m_pfnDraw)(pDC, this);
}

BOOL CQZSubMenuBarItem::GetHotKey(char& ch) const
{
    ch = m_chMnemonic;
    return ch != 0;
}

CSize CQZSubMenuBarItem::GetSize() const
{
    return m_size;
}

void CQZSubMenuBarItem::Track()
{
    // The popup may outlive this item (a settings change rebuilds the items meanwhile):
    // nothing of it is read once the popup has closed.
    CQZMenuBar* bar = m_pBar;
    const TrackHandler track = m_pfnTrack;
    const int savedShadows = qzAfxData.popupShadows;
    // A toolkit shadow would fall on the bar itself when it sits at the right or bottom.
    if (bar->IsRightDocked() || bar->IsBottomDocked())
        qzAfxData.popupShadows = 0;
    (bar->*track)(this);
    qzAfxData.popupShadows = savedShadows;
}

CQZControlMenuBarItem::CQZControlMenuBarItem(CQZMenuBar* pBar, DrawHandler draw, UINT nFrameControl, UINT nCommand,
                                             int nExtraSpace)
    : m_pfnDraw(draw), m_nFrameControl(nFrameControl), m_nCommand(nCommand), m_nExtraSpace(nExtraSpace)
{
    m_pBar = pBar;
}

BOOL CQZControlMenuBarItem::IsHidden() const
{
    return !(m_pBar->m_bChildMaximized && m_pBar->m_bShowMDIItems);
}

void CQZControlMenuBarItem::Draw(CDC* pDC)
{
    (m_pBar->*m_pfnDraw)(pDC, this);
}

CSize CQZControlMenuBarItem::GetSize() const
{
    return MdiItemSize();
}

BOOL CQZControlMenuBarItem::CanWrap() const
{
    return m_nFrameControl == DFCS_CAPTIONRESTORE;
}

int CQZControlMenuBarItem::GetExtraSpace() const
{
    return m_nExtraSpace;
}

CQZMenuBar::CQZMenuBar()
{
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
    if (IsWindows2000OrLaterSystem()) {
        BOOL underlines = TRUE;
        if (::SystemParametersInfoA(SPI_GETMENUUNDERLINES, 0, &underlines, 0))
            m_bShowUnderlines = underlines;
    }
    m_ilButtons.Create(IDB_QZ_CAPTION_GLYPHS, 10, 1, RGB(255, 0, 255));
    ResetTracking();
}

CQZMenuBar::~CQZMenuBar()
{
    DeleteItems();
    // Only the menu the bar loaded is its own; a menu an MDI frame set stays its owner's.
    if (m_hDefaultMenu && ::IsMenu(m_hDefaultMenu))
        ::DestroyMenu(m_hDefaultMenu);
    m_mapServerItems.RemoveAll();
    delete m_pFrameHook;
    delete m_pMDIHook;
    if (m_pTrackingBar == this)
        m_pTrackingBar = nullptr;
}

void CQZMenuBar::DeleteItems()
{
    for (int i = 0; i < m_arrItems.GetSize(); ++i)
        delete m_arrItems[i];
    m_arrItems.RemoveAll();
}

HWND CQZMenuBar::OwnerWindow() const
{
    return m_hWndOwner ? m_hWndOwner : ::GetParent(m_hWnd);
}

BOOL CQZMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, GetBorders(), nID);
}

BOOL CQZMenuBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    if (!CreateToolBarWindow(pParentWnd, dwCtrlStyle, dwStyle, rcBorders, nID))
        return FALSE;

    // The bar shows the menu from now on: the frame has none of its own.
    HWND parent = pParentWnd->GetSafeHwnd();
    HMENU frameMenu = ::GetMenu(parent);
    ::SetMenu(parent, nullptr);
    if (frameMenu && ::IsMenu(frameMenu))
        ::DestroyMenu(frameMenu);

    m_pFrameHook = new CQZMBarWndHook;
    m_pFrameHook->Install(this, parent);
    if (pParentWnd->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
        m_hWndMDIClient = static_cast<CMDIFrameWnd*>(pParentWnd)->m_hWndMDIClient;
        if (m_hWndMDIClient) {
            m_pMDIHook = new CQZMBarMDIWndHook;
            m_pMDIHook->Install(this, m_hWndMDIClient);
        }
    }

    CString text;
    if (text.LoadString(IDS_QZ_MENU_BAR))
        SetWindowText(text);
    CWinApp* app = AfxGetApp();
    if (app && app->m_pszRegistryKey && app->m_pszProfileName) {
        CString format;
        if (format.LoadString(IDS_QZ_BAR_VALUE_NAME))
            m_strValueName.Format(format, app->m_pszProfileName, static_cast<int>(nID & 0xFFFF));
        if (format.LoadString(IDS_QZ_SETTINGS_KEY))
            m_strKeyName.Format(format, app->m_pszRegistryKey, app->m_pszProfileName);
    }
    m_wndToolTip.Create(this, 0);
    return TRUE;
}

BOOL CQZMenuBar::LoadMenuBar(UINT nIDResource)
{
    m_nMenuID = nIDResource;
    return LoadMenuBar(MAKEINTRESOURCEA(LOWORD(nIDResource)));
}

BOOL CQZMenuBar::LoadMenuBar(LPCSTR lpszResourceName)
{
    HINSTANCE module = AfxGetResourceHandle();
    if (!module)
        return FALSE;
    HMENU menu = ::LoadMenuA(module, lpszResourceName);
    if (!menu)
        return FALSE;
    HMENU previousDefault = m_hDefaultMenu;
    m_hDefaultMenu = menu;
    const BOOL showedNothing = BuildMenuItems(menu, nullptr) == nullptr;
    // The menu loaded before is the bar's own and shown no more.
    if (previousDefault && previousDefault != menu && ::IsMenu(previousDefault))
        ::DestroyMenu(previousDefault);
    return showedNothing;
}

HMENU CQZMenuBar::BuildMenuItems(HMENU hMenu, HMENU hWindowMenu)
{
    if (!hMenu && !hWindowMenu)
        hMenu = m_hDefaultMenu;
    HMENU previous = m_hMenu;
    m_hMenu = hMenu;
    DeleteItems();
    ResetTracking();

    const int count = (hMenu && ::IsMenu(hMenu)) ? ::GetMenuItemCount(hMenu) : 0;
    m_arrItems.SetSize(0, count + 4);
    m_arrItems.Add(new CQZSysMenuBarItem(this, &CQZMenuBar::DrawSysMenuItem, &CQZMenuBar::TrackSystemMenu,
                                         &CQZMenuBar::OnSysMenuDblClk));
    CWindowDC dc(nullptr);
    const int savedDC = dc.SaveDC();
    dc.SelectObject(&qzAfxData.fontNormal);
    CMenu* menu = CMenu::FromHandle(hMenu);
    for (int position = 0; position < count; ++position) {
        char buffer[kEntryTextBuffer] = {};
        const int length = menu->GetMenuString(static_cast<UINT>(position), buffer, kEntryTextBuffer, MF_BYPOSITION);
        // Separators and bitmap entries have no text and get no item.
        if (length <= 0)
            continue;
        const CString text(buffer);
        const CSize size(MeasureItemText(&dc, text), qzAfxData.menuHeight);
        m_arrItems.Add(new CQZSubMenuBarItem(this, &CQZMenuBar::DrawSubMenuItem, &CQZMenuBar::TrackPopup, position,
                                             text, size, FindMnemonic(text)));
    }
    dc.RestoreDC(savedDC);
    m_arrItems.Add(new CQZControlMenuBarItem(this, &CQZMenuBar::DrawControlItem, DFCS_CAPTIONMIN, SC_MINIMIZE, 0));
    m_arrItems.Add(new CQZControlMenuBarItem(this, &CQZMenuBar::DrawControlItem, DFCS_CAPTIONRESTORE, SC_RESTORE, 2));
    m_arrItems.Add(new CQZControlMenuBarItem(this, &CQZMenuBar::DrawControlItem, DFCS_CAPTIONCLOSE, SC_CLOSE, 0));

    MapServerMenus();
    m_hWindowMenu = hWindowMenu;
    SyncMDIMaximized(FALSE);
    LayoutItems((m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM | CBRS_FLOATING)) != 0);
    RecalcAndRedraw();
    return previous;
}

int CQZMenuBar::MeasureItemText(CDC* pDC, const CString& text)
{
    CString plain = text;
    QZStripMnemonic(plain);
    SIZE extent = {};
    ::GetTextExtentPoint32A(pDC->m_hAttribDC, plain, plain.GetLength(), &extent);
    return extent.cx + 14;
}

char CQZMenuBar::FindMnemonic(const CString& text)
{
    const int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        if (text[i] != '&')
            continue;
        if (i + 1 >= length)
            return 0;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return text[i + 1];
    }
    return 0;
}

int* CQZMenuBar::GetVisibleItems(int* pFirst, int* pEnd, UINT nWhich)
{
    const int count = m_arrItems.GetSize();
    int from = 0;
    int to = count;
    if (nWhich == QZ_MBI_MENUITEMS)
        to = count - 3;
    else if (nWhich == QZ_MBI_CONTROLBUTTONS)
        from = count - 3;
    if (count < 3 && nWhich != QZ_MBI_ALL)
        return pFirst;
    int* out = pFirst;
    for (int i = from; i < to && out < pEnd; ++i) {
        if (!m_arrItems[i]->IsHidden())
            *out++ = i;
    }
    return out;
}

CRect* CQZMenuBar::GetItemRect(CRect* pRect, CQZMenuBarItem* pItem)
{
    CSize size = pItem->GetSize();
    // A vertical bar shows its items turned by a quarter.
    if ((m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) && !(m_dwStyle & CBRS_FLOATING))
        size = CSize(size.cy, size.cx);
    pRect->SetRect(pItem->m_ptOrigin.x, pItem->m_ptOrigin.y, pItem->m_ptOrigin.x + size.cx,
                   pItem->m_ptOrigin.y + size.cy);
    return pRect;
}

int CQZMenuBar::HitTestItem(CPoint point, const int* pFirst, const int* pEnd)
{
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point))
        return -1;
    for (const int* index = pFirst; index < pEnd; ++index) {
        CRect rect;
        GetItemRect(&rect, m_arrItems[*index]);
        if (rect.PtInRect(point))
            return *index;
    }
    return -1;
}

void CQZMenuBar::RecalcAndRedraw()
{
    if (m_bInReBar)
        LayoutItems(TRUE);
    if (m_pDockSite) {
        m_pDockSite->RecalcLayout(TRUE);
        CWnd* owner = CWnd::FromHandlePermanent(OwnerWindow());
        if (owner && owner->IsFrameWnd() && owner != m_pDockSite)
            static_cast<CFrameWnd*>(owner)->RecalcLayout(TRUE);
        CFrameWnd* parentFrame = GetParentFrame();
        if (parentFrame && parentFrame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)) && parentFrame != m_pDockSite &&
            parentFrame != owner)
            parentFrame->RecalcLayout(TRUE);
    }
    if (!m_hWnd)
        return;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    if ((m_dwStyle & CBRS_FLOATING) && m_pDockSite)
        m_pDockSite->UpdateWindow();
}

void CQZMenuBar::SetKeyboardCues(bool bCues)
{
    if (bCues == m_bKeyboardCues)
        return;
    m_bKeyboardCues = bCues;
    if (m_hWnd)
        Invalidate(TRUE);
}

BOOL CQZMenuBar::AddHiddenCommand(UINT nCommand)
{
    m_arrHiddenCommands.Add(nCommand);
    return TRUE;
}

BOOL CQZMenuBar::AddHiddenCommands(const UINT* pCommands, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        if (!AddHiddenCommand(pCommands[i]))
            return FALSE;
    }
    return TRUE;
}

int CQZMenuBar::GetTrackingState(int* pItem)
{
    if (pItem)
        *pItem = m_nPopupItem;
    return m_nTrackingState;
}

void CQZMenuBar::OnInitWindowMenu()
{
    RefreshWindowMenu();
}

int CQZMenuBar::OnToolHitTest(CPoint, TOOLINFOA*)
{
    return -1;
}

void CQZMenuBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    if ((dwOldStyle ^ dwNewStyle) & CBRS_FLOATING)
        ResetTracking();
    CQZControlBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
}

BOOL CQZMenuBar::IsHorzDocked() const
{
    return (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
}

BOOL CQZMenuBar::IsUndocked() const
{
    return (m_dwStyle & CBRS_FLOATING) != 0;
}

COLORREF CQZMenuBar::GetBackColor() const
{
    return qzAfxData.colorFace;
}

void CQZMenuBar::OnSettingChange(UINT uFlags, LPCSTR lpszSection)
{
    CWnd::OnSettingChange(uFlags, lpszSection);
    // The texts are measured again in the new fonts.
    BuildMenuItems(m_hMenu, m_hWindowMenu);
    // A size change makes the frame lay out its bars again.
    CFrameWnd* frame = GetTopLevelFrame();
    if (!frame || !frame->m_hWnd)
        return;
    CRect rect;
    frame->GetWindowRect(&rect);
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    frame->SetWindowPos(nullptr, 0, 0, rect.Width() + 1, rect.Height() + 1, flags);
    frame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), flags);
}
