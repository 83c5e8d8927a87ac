// The shadow window behind a popup and the object that ties it to the popup.
#include "toolkit/foundation/QZShadow.h"

#include "framework/GdiObjects.h"
#include "framework/PaintDC.h"
#include "toolkit/foundation/QZMemDC.h"

namespace {
constexpr int kShadowSize = 4;
constexpr UINT kBehindOwner = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
} // namespace

BEGIN_MESSAGE_MAP(_CQZShadowWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

_CQZShadowWnd::_CQZShadowWnd() = default;

_CQZShadowWnd::~_CQZShadowWnd()
{
    delete m_pImage;
}

BOOL _CQZShadowWnd::Create(HWND hWndOwner)
{
    CRect rect;
    ::GetWindowRect(hWndOwner, &rect);
    rect.right += kShadowSize;
    rect.bottom += kShadowSize;
    m_hWndPopup = hWndOwner;
    m_bPopup = (::GetWindowLongPtrA(hWndOwner, GWL_STYLE) & WS_POPUP) != 0;
    HWND parent = ::GetParent(hWndOwner);
    if (!m_bPopup && parent)
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    LPCSTR windowClass = AfxRegisterWndClass(CS_CLASSDC);
    if (!CreateEx(WS_EX_TOOLWINDOW, windowClass, "Shadow", m_bPopup ? WS_POPUP : WS_CHILD, rect.left, rect.top,
                  rect.Width(), rect.Height(), parent, nullptr))
        return FALSE;
    ::SetWindowPos(m_hWnd, hWndOwner, 0, 0, 0, 0, kBehindOwner);
    CRect client;
    GetClientRect(&client);
    Shape(client.Width(), client.Height());
    return TRUE;
}

void _CQZShadowWnd::Shape(int width, int height)
{
    CRgn shape;
    CRgn bottom;
    if (!shape.CreateRectRgn(width - kShadowSize, kShadowSize, width, height) ||
        !bottom.CreateRectRgn(kShadowSize, height - kShadowSize, width - kShadowSize, height))
        return;
    shape.CombineRgn(&shape, &bottom, RGN_OR);
    // The window owns its region from here on.
    ::SetWindowRgn(m_hWnd, static_cast<HRGN>(shape.Detach()), FALSE);
    m_bRendered = FALSE;
}

void _CQZShadowWnd::Update(HWND hWndOwner)
{
    m_hWndPopup = hWndOwner;
    CRect rect;
    ::GetWindowRect(hWndOwner, &rect);
    Reposition(rect, m_nPercent);
}

void _CQZShadowWnd::Reposition(const CRect& rect, int nPercent)
{
    CRect shadow = rect;
    shadow.right += kShadowSize;
    shadow.bottom += kShadowSize;
    CRect current;
    GetWindowRect(&current);
    if (shadow == current) {
        // In place already: only a new darkness matters, shown once rendered again.
        if (nPercent != m_nPercent) {
            m_nPercent = nPercent;
            ShowWindow(SW_HIDE);
        }
        return;
    }
    m_nPercent = nPercent;
    HWND parent = ::GetParent(m_hWnd);
    if (!m_bPopup && parent)
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&shadow), 2);
    SetWindowPos(nullptr, shadow.left, shadow.top, shadow.Width(), shadow.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
}

void _CQZShadowWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect window;
    GetWindowRect(&window);
    const int width = window.Width();
    const int height = window.Height();
    if (!m_bRendered || !m_pImage) {
        // What the screen shows under the shadow now, darkened.
        delete m_pImage;
        CWindowDC screen(nullptr);
        m_pImage = new CQZMemDC(&screen, CRect(0, 0, width, height), 0xFFFFFFFF);
        m_pImage->m_bValid = 0;
        m_pImage->BitBlt(0, 0, width, height, &screen, window.left, window.top, SRCCOPY);
        QZDrawShadow(m_pImage, CRect(0, 0, width, height), m_nPercent);
        m_rectImage = window;
        m_bRendered = TRUE;
    }
    dc.BitBlt(width - kShadowSize, kShadowSize, kShadowSize, height - kShadowSize, m_pImage, width - kShadowSize,
              kShadowSize, SRCCOPY);
    dc.BitBlt(kShadowSize, height - kShadowSize, width - 2 * kShadowSize, kShadowSize, m_pImage, kShadowSize,
              height - kShadowSize, SRCCOPY);
}

BOOL _CQZShadowWnd::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void _CQZShadowWnd::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    const bool movesOrSizes = (lpwndpos->flags & (SWP_NOSIZE | SWP_NOMOVE)) != (SWP_NOSIZE | SWP_NOMOVE);
    if (movesOrSizes && IsWindowVisible() && m_nHideState == 0) {
        // Hidden while it moves: the image of the old place must not travel along.
        ShowWindow(SW_HIDE);
        m_nHideState = 1;
    }
    if (!(lpwndpos->flags & SWP_NOZORDER) && m_hWndPopup)
        lpwndpos->hwndInsertAfter = m_hWndPopup;
    lpwndpos->flags |= SWP_NOCOPYBITS;
    Default();
}

void _CQZShadowWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    Default();
    if (m_nHideState != 1)
        return;
    m_nHideState = 2;
    ShowWindow(SW_SHOWNA);
    ::SetWindowPos(m_hWnd, m_hWndPopup, 0, 0, 0, 0, kBehindOwner);
    m_nHideState = 0;
    CRect client;
    GetClientRect(&client);
    Shape(client.Width(), client.Height());
}

void _CQZShadowWnd::OnSetFocus(CWnd* pOldWnd)
{
    // A shadow never keeps the focus.
    ::SetFocus(pOldWnd->GetSafeHwnd());
}

CQZWndShadow::CQZWndShadow(HWND hWndOwner, BOOL bShow, BOOL bHook)
    : m_hWndOwner(hWndOwner), m_pShadowWnd(new _CQZShadowWnd), m_hook(this), m_bStartHidden(!bShow),
      m_bCreated(FALSE)
{
    if (bHook)
        m_hook.HookWindow(hWndOwner);
    m_bCreated = m_pShadowWnd->Create(hWndOwner) ? TRUE : FALSE;
    if (!m_bStartHidden)
        Show();
}

CQZWndShadow::~CQZWndShadow()
{
    if (m_pShadowWnd->m_hWnd) {
        m_pShadowWnd->ShowWindow(SW_HIDE);
        m_pShadowWnd->DestroyWindow();
    }
    delete m_pShadowWnd;
    m_hook.HookWindow(static_cast<HWND>(nullptr));
}

void CQZWndShadow::Show()
{
    if (m_bCreated && m_pShadowWnd->m_hWnd && !m_pShadowWnd->IsWindowVisible()) {
        m_pShadowWnd->Invalidate(TRUE);
        m_pShadowWnd->ShowWindow(SW_SHOWNA);
    }
}

void CQZWndShadow::Hide()
{
    if (m_bCreated && m_pShadowWnd->m_hWnd)
        m_pShadowWnd->ShowWindow(SW_HIDE);
}

BOOL CQZWndShadow::CMsgHook::HookWindow(HWND hWnd)
{
    CQZWndHook::HookWindow(hWnd);
    return hWnd && ::IsWindow(hWnd);
}

LRESULT CQZWndShadow::CMsgHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    ++m_nDepth;
    LRESULT result = 0;
    switch (msg) {
    case WM_WINDOWPOSCHANGED: {
        result = CQZWndHook::WindowProc(msg, wParam, lParam);
        const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
        _CQZShadowWnd* shadow = m_pShadow->m_pShadowWnd;
        if (shadow->m_hWnd) {
            if ((position->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
                shadow->Update(m_pShadow->m_hWndOwner);
            ::SetWindowPos(shadow->m_hWnd, m_pShadow->m_hWndOwner, 0, 0, 0, 0, kBehindOwner);
        }
        break;
    }
    case WM_SHOWWINDOW:
        if (wParam)
            m_pShadow->Show();
        else
            m_pShadow->Hide();
        result = CQZWndHook::WindowProc(msg, wParam, lParam);
        break;
    case WM_DESTROY:
        m_bDestroyPending = TRUE;
        m_pShadow->Hide();
        result = CQZWndHook::WindowProc(msg, wParam, lParam);
        break;
    default:
        result = CQZWndHook::WindowProc(msg, wParam, lParam);
        break;
    }
    if (--m_nDepth == 0 && m_bDestroyPending) {
        // The shadow goes once the popup's outermost message is done; this hook, a member
        // of it, goes with it, so nothing of it is touched after this.
        delete m_pShadow;
    }
    return result;
}
