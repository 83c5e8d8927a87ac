// The flat button's images, colours, deferred set-up and mouse tracking.
#include "toolkit/controls/QZButton.h"

#include "framework/AfxGlobalData.h"
#include "framework/PaintDC.h"
#include "framework/ResourceModule.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/foundation/QZString.h"
#include "toolkit/foundation/QZSysColorBitmap.h"

IMPLEMENT_DYNAMIC(CQZButton, CButton)

BEGIN_MESSAGE_MAP(CQZButton, CButton)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_MESSAGE(WM_QZ_INITCONTROL, OnInitControl)
END_MESSAGE_MAP()

namespace {
constexpr UINT_PTR kHoverTimerId = 1;
constexpr UINT kHoverPeriodMs = 10;
} // namespace

CQZButton::CQZButton()
    : m_clrText(::GetSysColor(COLOR_BTNTEXT)), m_clrFace(::GetSysColor(COLOR_BTNFACE)),
      m_clrHilite(::GetSysColor(COLOR_BTNHIGHLIGHT)), m_clrShadow(::GetSysColor(COLOR_BTNSHADOW))
{
}

CQZButton::~CQZButton()
{
    FreeImages();
}

void CQZButton::SetButtonColors(COLORREF clrFace, COLORREF clrHilite, COLORREF clrShadow, COLORREF clrText)
{
    SetFaceColor(clrFace);
    SetHiliteColor(clrHilite);
    SetShadowColor(clrShadow);
    SetTextColor(clrText);
    m_bOwnColors = TRUE;
}

void CQZButton::SetFaceColor(COLORREF clrFace)
{
    m_clrFace = clrFace;
}

COLORREF CQZButton::GetFaceColor() const
{
    return m_clrFace;
}

void CQZButton::SetHiliteColor(COLORREF clrHilite)
{
    m_clrHilite = clrHilite;
}

void CQZButton::SetShadowColor(COLORREF clrShadow)
{
    m_clrShadow = clrShadow;
}

void CQZButton::SetTextColor(COLORREF clrText)
{
    m_clrText = clrText;
}

void CQZButton::SetColors(COLORREF clrBorder, COLORREF clrHot, COLORREF clrPressed)
{
    m_clrXPBorder = clrBorder;
    m_clrXPHot = clrHot;
    m_clrXPPressed = clrPressed;
    m_bOwnXPColors = TRUE;
}

BOOL CQZButton::SetIcon(int cx, int cy, LPCSTR lpszIcon, LPCSTR lpszPressedIcon, BOOL bRedraw)
{
    FreeImages();
    HINSTANCE module = AfxGetResourceHandle();
    m_hIcon = static_cast<HICON>(::LoadImageA(module, lpszIcon, IMAGE_ICON, cx, cy, 0));
    if (!m_hIcon)
        return FALSE;
    if (lpszPressedIcon) {
        m_hIconPressed = static_cast<HICON>(::LoadImageA(module, lpszPressedIcon, IMAGE_ICON, cx, cy, 0));
        if (!m_hIconPressed) {
            FreeImages();
            return FALSE;
        }
    }
    return FinishSetImage(cx, cy, bRedraw);
}

BOOL CQZButton::SetIcon(int cx, int cy, UINT nIcon, UINT nPressedIcon)
{
    return SetIcon(cx, cy, MAKEINTRESOURCEA(LOWORD(nIcon)), nPressedIcon ? MAKEINTRESOURCEA(LOWORD(nPressedIcon)) : nullptr,
                   TRUE);
}

BOOL CQZButton::SetIcon(int cx, int cy, HICON hIcon, HICON hPressedIcon, BOOL bRedraw)
{
    // The images held before go, so that repeated calls leak nothing; handles passed
    // again stay, being the new images too.
    for (HICON* held : {&m_hIcon, &m_hIconPressed}) {
        if (*held && *held != hIcon && *held != hPressedIcon)
            ::DestroyIcon(*held);
        *held = nullptr;
    }
    for (HBITMAP* held : {&m_hBitmap, &m_hBitmapDisabled}) {
        if (*held)
            ::DeleteObject(*held);
        *held = nullptr;
    }
    m_hIcon = hIcon;
    m_hIconPressed = hPressedIcon;
    return FinishSetImage(cx, cy, bRedraw);
}

BOOL CQZButton::SetBitmap(int cx, int cy, UINT nBitmap, BOOL bRedraw)
{
    FreeImages();
    LPCSTR name = MAKEINTRESOURCEA(LOWORD(nBitmap));
    HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
    HRSRC resource = ::FindResourceA(module, name, RT_BITMAP);
    if (!resource)
        return FALSE;
    m_hBitmap = QZLoadSysColorBitmap(module, resource, FALSE);
    // Disabled: every mapped colour white but the text colour's black.
    m_hBitmapDisabled = QZLoadSysColorBitmap(module, resource, TRUE);
    if (!m_hBitmap || !m_hBitmapDisabled) {
        FreeImages();
        return FALSE;
    }
    return FinishSetImage(cx, cy, bRedraw);
}

BOOL CQZButton::SetPositions(CPoint ptImage, CPoint ptText, BOOL bRedraw)
{
    m_nImageX = ptImage.x;
    m_nImageY = ptImage.y;
    m_nTextX = ptText.x;
    m_nTextY = ptText.y;
    m_bFixedPositions = TRUE;
    if (bRedraw && m_hWnd)
        Invalidate();
    return TRUE;
}

DWORD CQZButton::GetDrawStyle() const
{
    return m_dwDrawStyle;
}

DWORD CQZButton::SetDrawStyle(DWORD dwStyle, BOOL bRedraw)
{
    const DWORD previous = m_dwDrawStyle;
    m_dwDrawStyle = dwStyle;
    if (m_hWnd && bRedraw)
        Invalidate();
    return previous;
}

void CQZButton::ResetImage()
{
    if (m_nImageWidth == 0 && m_nImageHeight == 0)
        return;
    FreeImages();
    m_nImageWidth = m_nImageHeight = 0;
    m_nImageX = m_nImageY = m_nTextX = m_nTextY = 0;
    if (m_hWnd)
        Invalidate();
}

BOOL CQZButton::FinishSetImage(int cx, int cy, BOOL bRedraw)
{
    m_nImageWidth = cx;
    m_nImageHeight = cy;
    if (bRedraw && m_hWnd)
        Invalidate();
    return TRUE;
}

void CQZButton::FreeImages()
{
    for (HICON* icon : {&m_hIcon, &m_hIconPressed}) {
        if (*icon)
            ::DestroyIcon(*icon);
        *icon = nullptr;
    }
    for (HBITMAP* bitmap : {&m_hBitmap, &m_hBitmapDisabled}) {
        if (*bitmap)
            ::DeleteObject(*bitmap);
        *bitmap = nullptr;
    }
}

CString CQZButton::GetButtonText(BOOL bStripMnemonics) const
{
    CString text;
    GetWindowText(text);
    if (bStripMnemonics)
        QZStripMnemonic(text);
    return text;
}

void CQZButton::SetPressed(BOOL bPressed)
{
    bPressed = bPressed ? TRUE : FALSE;
    if (m_bPressed == bPressed)
        return;
    m_bPressed = bPressed;
    if (m_hWnd)
        Invalidate();
}

void CQZButton::PostInitRequest()
{
    if (m_nInitRequest != 0) {
        ++m_nInitRequest;
        PostMessage(WM_QZ_INITCONTROL, 0, m_nInitRequest);
    }
}

void CQZButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    PostInitRequest();
}

int CQZButton::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (static_cast<int>(Default()) == -1)
        return -1;
    PostInitRequest();
    return 0;
}

LRESULT CQZButton::OnInitControl(WPARAM wParam, LPARAM lParam)
{
    // Of several requests only the latest counts, and the set-up runs once.
    if (lParam != m_nInitRequest || m_nInitRequest == 0)
        return 0;
    m_nInitRequest = 0;
    ModifyStyle(0, BS_OWNERDRAW);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(qzAfxData.fontNormal.m_hObject), TRUE);
    return 0;
}

void CQZButton::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC mem(&dc, client, qzAfxData.colorFace);
    // The control paints into the given DC and asks for its owner drawing there.
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(mem.m_hDC), 0);
}

BOOL CQZButton::OnEraseBkgnd(CDC* pDC)
{
    return FALSE;
}

void CQZButton::OnMouseMove(UINT nFlags, CPoint point)
{
    if (GetDrawStyle() & QZ_BTN_TRACKS_HOT) {
        SetTimer(kHoverTimerId, kHoverPeriodMs, nullptr);
        POINT cursor;
        if (::GetCursorPos(&cursor))
            StepHover(cursor);
    }
    Default();
}

void CQZButton::StepHover(POINT cursor)
{
    CRect window;
    GetWindowRect(&window);
    if (!m_bPressed && window.PtInRect(cursor)) {
        if ((GetDrawStyle() & QZ_BTN_TRACKS_HOT) && !m_bHotDrawn) {
            m_bHot = TRUE;
            Invalidate();
            m_bHotDrawn = TRUE;
        }
        return;
    }
    KillTimer(kHoverTimerId);
    m_bHot = FALSE;
    if (m_bHotDrawn)
        Invalidate();
    m_bHotDrawn = FALSE;
}

void CQZButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kHoverTimerId) {
        Default();
        return;
    }
    POINT cursor;
    if (::GetCursorPos(&cursor))
        StepHover(cursor);
}

void CQZButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetPressed(TRUE);
    Default();
}

void CQZButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    SetPressed(FALSE);
    Default();
}

void CQZButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // A double click acts as a second click.
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(cursor.x, cursor.y));
    Default();
}

BOOL CQZButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    ::SetCursor(afxData.hcurArrow);
    return TRUE;
}

void CQZButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    if (m_bOwnColors)
        return;
    m_clrText = ::GetSysColor(COLOR_BTNTEXT);
    m_clrFace = ::GetSysColor(COLOR_BTNFACE);
    m_clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
}
