// Popup menu windows: the thread's WH_CBT hook that puts a popup hook on every menu window,
// the handshake that tells a menu window its menu, and the popup hook's frame, shadow and
// saved screen.
#include "toolkit/menus/QZPopupMenu.h"

#include "framework/Menu.h"
#include "framework/Wnd.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMenuItemInfo.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/foundation/QZShadow.h"
#include "toolkit/foundation/QZVersion.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/res/ToolkitResources.h"

CList<CQZPopupMenu*, CQZPopupMenu*&> CQZPopupMenu::m_listPopups(10);
int CQZPopupMenu::m_nLivePopups = 0;
HMENU CQZPopupMenu::m_hMenuPending = nullptr;
CQZPopupMenu* CQZPopupMenu::m_pWaitingPopup = nullptr;
BOOL CQZPopupMenu::m_bSavedAnimation = FALSE;
BOOL CQZPopupMenu::m_bSavedShadow = FALSE;
bool CQZPopupMenu::m_bSystemShadows = false;

namespace {

// Nested hook calls (a window made while the hook handles another) are only passed on.
int g_cbtDepth = 0;

// The styles a menu window loses in the XP look: its items draw the border themselves.
constexpr DWORD kMenuFrameStyles = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME;
constexpr DWORD kMenuFrameExStyles = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE;
constexpr UINT kFrameChanged = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

// Messages of the system's menu windows that the popup hook reacts to by number.
constexpr UINT kMenuRefreshMessage = 0x00AF;
constexpr UINT kMenuPaintMessage = 0x01E2;
constexpr UINT kFirstMenuMouseMessage = 0x01EB;
constexpr UINT kLastMenuMouseMessage = 0x01F0;

bool SystemDrawsMenuShadows()
{
    const OSVERSIONINFOA* version = QZGetOSVersionInfo();
    return version->dwPlatformId >= VER_PLATFORM_WIN32_NT &&
           (version->dwMajorVersion > 5 || (version->dwMajorVersion == 5 && version->dwMinorVersion >= 1));
}

BOOL ReadSystemSetting(UINT action)
{
    BOOL value = FALSE;
    ::SystemParametersInfoA(action, 0, &value, 0);
    return value;
}

// Changed for this session only: neither written to the user's profile nor broadcast.
void WriteSystemSetting(UINT action, BOOL value)
{
    ::SystemParametersInfoA(action, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(value)), 0);
}

bool IsMenuMouseMessage(UINT msg)
{
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP || (msg >= kFirstMenuMouseMessage && msg <= kLastMenuMouseMessage);
}

} // namespace

BOOL QZIsMenuWindow(HWND hWnd)
{
    char className[128] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    return lstrcmpA(className, "#32768") == 0;
}

void QZRemoveMenuFrame(HWND hWnd)
{
    if (!qzAfxData.xpLook)
        return;
    (void)CWnd::ModifyStyle(hWnd, kMenuFrameStyles, 0, kFrameChanged);
    (void)CWnd::ModifyStyleEx(hWnd, kMenuFrameExStyles, 0, kFrameChanged);
}

void CQZCoolMenu::InstallHook()
{
    if (!m_hCbtHook)
        m_hCbtHook = ::SetWindowsHookExA(WH_CBT, &CQZCoolMenu::CbtHookProc, nullptr, ::GetCurrentThreadId());
}

void CQZCoolMenu::RemoveHook()
{
    if (m_hCbtHook) {
        ::UnhookWindowsHookEx(m_hCbtHook);
        m_hCbtHook = nullptr;
    }
}

LRESULT CALLBACK CQZCoolMenu::CbtHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    struct DepthScope {
        DepthScope() { ++g_cbtDepth; }
        ~DepthScope() { --g_cbtDepth; }
    } depth;
    if (g_cbtDepth != 1)
        return ::CallNextHookEx(m_hCbtHook, nCode, wParam, lParam);

    auto* window = reinterpret_cast<HWND>(wParam);
    if (nCode == HCBT_CREATEWND) {
        const LRESULT result = ::CallNextHookEx(m_hCbtHook, nCode, wParam, lParam);
        if (QZIsMenuWindow(window)) {
            auto* popup = new CQZPopupMenu;
            popup->HookWindow(window);
            CQZPopupMenu::m_listPopups.AddTail(popup);
            CQZPopupMenu::m_pWaitingPopup = popup->m_hMenu ? nullptr : popup;
        }
        return result;
    }
    if (nCode == HCBT_DESTROYWND && !CQZPopupMenu::m_listPopups.IsEmpty() && QZIsMenuWindow(window)) {
        for (POSITION pos = CQZPopupMenu::m_listPopups.GetHeadPosition(); pos;) {
            const POSITION current = pos;
            CQZPopupMenu* popup = CQZPopupMenu::m_listPopups.GetNext(pos);
            if (popup->m_hWnd == window) {
                CQZPopupMenu::m_listPopups.RemoveAt(current);
                popup->Release();
                break;
            }
        }
    }
    return ::CallNextHookEx(m_hCbtHook, nCode, wParam, lParam);
}

CQZPopupMenu::CQZPopupMenu()
    : m_hMenu(nullptr), m_pShadow(nullptr), m_pBackground(nullptr), m_bSkipShadow(false), m_pOwner(nullptr),
      m_dcScreen(nullptr)
{
    if (m_nLivePopups == 0) {
        m_bSavedAnimation = ReadSystemSetting(SPI_GETMENUANIMATION);
        WriteSystemSetting(SPI_SETMENUANIMATION, FALSE);
        m_bSystemShadows = SystemDrawsMenuShadows();
        m_bSavedShadow = ReadSystemSetting(SPI_GETDROPSHADOW);
        if (m_bSystemShadows)
            WriteSystemSetting(SPI_SETDROPSHADOW, qzAfxData.popupShadows);
    }
    ++m_nLivePopups;
    // The pending menu is taken once: a menu window made later, before its own menu was
    // initialised, must wait for that menu instead of taking this one again.
    m_hMenu = m_hMenuPending;
    m_hMenuPending = nullptr;
}

CQZPopupMenu::~CQZPopupMenu()
{
    if (m_pWaitingPopup == this)
        m_pWaitingPopup = nullptr;
    if (--m_nLivePopups == 0) {
        WriteSystemSetting(SPI_SETDROPSHADOW, m_bSavedShadow);
        WriteSystemSetting(SPI_SETMENUANIMATION, m_bSavedAnimation);
    }
    delete m_pBackground;
    delete m_pShadow;
}

void CQZPopupMenu::Release()
{
    // The window may be going while one of its messages is being handled (a WM_CLOSE
    // that destroys it): the hook then goes once that message is done.
    if (m_nDepth > 0)
        m_bDeleteOnExit = true;
    else
        delete this;
}

CQZPopupMenu* CQZPopupMenu::GetNewest()
{
    return m_listPopups.IsEmpty() ? nullptr : m_listPopups.GetTail();
}

void CQZPopupMenu::AttachMenu(HMENU hMenu)
{
    if (m_pWaitingPopup && !::IsWindow(m_pWaitingPopup->m_hWnd))
        m_pWaitingPopup = nullptr;
    if (m_pWaitingPopup) {
        m_pWaitingPopup->m_hMenu = hMenu;
        QZRemoveMenuFrame(m_pWaitingPopup->m_hWnd);
        m_pWaitingPopup = nullptr;
    } else {
        m_hMenuPending = hMenu;
    }
}

void CQZPopupMenu::ForgetWaitingPopup()
{
    m_pWaitingPopup = nullptr;
}

LRESULT CQZPopupMenu::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    ++m_nDepth;
    // A click on the selected chevron fills the popup in place and goes no further.
    if (IsMenuMouseMessage(msg) && CQZCoolMenu::m_bChevronSelected && !CQZCoolMenu::m_bOldOS && m_pOwner) {
        const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        if (::PtInRect(&client, point)) {
            ::SendMessageA(m_pOwner->m_hWnd, WM_COMMAND, ID_QZ_FULL_MENUS, 0);
            msg = WM_NULL;
        }
    }
    const LRESULT result = CQZWndHook::WindowProc(msg, wParam, lParam);
    if (m_hMenu && !m_bDeleteOnExit) {
        switch (msg) {
        case WM_WINDOWPOSCHANGED:
            OnWindowPosChanged(reinterpret_cast<const WINDOWPOS*>(lParam));
            break;
        case kMenuRefreshMessage:
            if (qzAfxData.xpLook && qzAfxData.isWinXP)
                ::PostMessageA(m_hWnd, WM_QZ_POPUPREFRESH, 0, 0);
            break;
        case WM_NCPAINT:
        case WM_PAINT:
        case kMenuPaintMessage:
            if (qzAfxData.popupShadows && m_pBackground)
                ::PostMessageA(m_hWnd, WM_QZ_POPUPSHADOW, 0, 0);
            break;
        case WM_QZ_POPUPREFRESH:
            RefreshItems();
            break;
        case WM_QZ_POPUPSHADOW:
            if (!m_bSkipShadow)
                UpdateShadow();
            break;
        default:
            break;
        }
    }
    if (--m_nDepth == 0 && m_bDeleteOnExit)
        delete this;
    return result;
}

void CQZPopupMenu::OnWindowPosChanged(const WINDOWPOS* pPos)
{
    QZRemoveMenuFrame(m_hWnd);
    if (m_pBackground || !qzAfxData.popupShadows || m_bSystemShadows || (m_pOwner && !m_pOwner->m_bPopupLoop) ||
        !pPos || ((pPos->flags & SWP_NOSIZE) && (pPos->flags & SWP_NOMOVE)))
        return;
    CRect rect;
    ::GetWindowRect(m_hWnd, &rect);
    if (!(pPos->flags & SWP_NOMOVE))
        rect.OffsetRect(pPos->x - rect.left, pPos->y - rect.top);
    if (!(pPos->flags & SWP_NOSIZE)) {
        rect.right = rect.left + pPos->cx;
        rect.bottom = rect.top + pPos->cy;
    }
    SaveBackground(&rect);
}

void CQZPopupMenu::SaveBackground(const RECT* pRect)
{
    CRect rect;
    if (pRect)
        rect = *pRect;
    else
        ::GetWindowRect(m_hWnd, &rect);
    rect.right += 4;
    rect.bottom += 4;
    delete m_pBackground;
    m_pBackground = new CQZMemDC(&m_dcScreen, rect, 0xFFFFFFFF);
    m_pBackground->BitBlt(0, 0, rect.Width(), rect.Height(), &m_dcScreen, rect.left, rect.top, SRCCOPY);
}

void CQZPopupMenu::RefreshItems()
{
    if (!m_hMenu || !::IsMenu(m_hMenu))
        return;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        if (!::GetMenuItemInfoA(m_hMenu, static_cast<UINT>(i), TRUE, &info))
            continue;
        // Written back only with a text it read whole, so a longer text is never cut.
        if (info.cch >= sizeof text - 1 || (info.fType & (MFT_SEPARATOR | MFT_BITMAP)))
            info.fMask &= ~MIIM_STRING;
        ::SetMenuItemInfoA(m_hMenu, static_cast<UINT>(i), TRUE, &info);
    }
}

void CQZPopupMenu::UpdateShadow()
{
    if (!qzAfxData.popupShadows || m_bSystemShadows || (m_pOwner && !m_pOwner->m_bPopupLoop))
        return;
    if (m_bSkipShadow) {
        m_bSkipShadow = false;
        return;
    }
    if (!m_pShadow)
        m_pShadow = new CQZWndShadow(m_hWnd, TRUE, FALSE);
    else
        m_pShadow->Show();
}

void CQZPopupMenu::RemoveShadow()
{
    if (m_pShadow) {
        m_pShadow->Hide();
        delete m_pShadow;
        m_pShadow = nullptr;
    }
    m_bSkipShadow = true;
}

void CQZPopupMenu::DiscardBackground()
{
    delete m_pBackground;
    m_pBackground = nullptr;
}
