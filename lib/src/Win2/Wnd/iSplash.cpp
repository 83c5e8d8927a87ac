// The splash window: creation and fitting to the picture, running, closing, painting.
#include "lib/src/Win2/Wnd/iSplash.h"

#include "lib/src/Win2/Wnd/iDC.h"
#include "lib/src/Win2/Wnd/iFont.h"

#include <mmsystem.h>

namespace {

// MCIWNDM_NOTIFYMODE: an MCI window reports its new mode (lParam).
constexpr UINT kMciWndNotifyMode = WM_USER + 200;
constexpr UINT_PTR kCloseTimer = 1;
constexpr int kTextMarginPx = 4;

const COLORREF kPlaceholderBack = RGB(246, 217, 1);
const COLORREF kPlaceholderText = RGB(65, 68, 145);

// Display times from whole seconds; a negative count means no timer.
UINT MillisecondsOf(int seconds)
{
    return seconds > 0 ? static_cast<UINT>(seconds) * 1000u : 0u;
}

} // namespace

BEGIN_MESSAGE_MAP(iSplash, iWnd)
    ON_WM_PAINT()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_MBUTTONDOWN()
    ON_WM_RBUTTONDOWN()
    ON_WM_TIMER()
    ON_MESSAGE(kMciWndNotifyMode, OnNotifyMode)
END_MESSAGE_MAP()

BOOL iSplash::Show(CWnd* parent, UINT flags, LPCSTR name, int seconds)
{
    (new iSplash(parent, flags, name, MillisecondsOf(seconds)))->Run();
    return TRUE;
}

BOOL iSplash::ShowWithText(CWnd* parent, UINT flags, LPCSTR name, int seconds, LPCSTR text, const RECT* textBox,
                           UINT format, COLORREF colour)
{
    (new iSplash(parent, flags, name, MillisecondsOf(seconds), text, textBox, format, colour))->Run();
    return TRUE;
}

iSplash::iSplash(CWnd* parent, UINT flags, LPCSTR name, UINT milliseconds)
    : iWnd(parent, CRect(0, 0, 100, 100), WS_POPUP | WS_BORDER, nullptr, 0, WS_EX_TOPMOST, nullptr)
{
    Initialize(flags, name, milliseconds, nullptr, nullptr, 0, 0);
}

iSplash::iSplash(CWnd* parent, UINT flags, LPCSTR name, UINT milliseconds, LPCSTR text, const RECT* textBox,
                 UINT format, COLORREF colour)
    : iWnd(parent, CRect(0, 0, 100, 100), WS_POPUP | WS_BORDER, nullptr, 0, WS_EX_TOPMOST, nullptr)
{
    Initialize(flags, name, milliseconds, text, textBox, format, colour);
}

iSplash::~iSplash()
{
    delete m_picture;
}

void iSplash::Initialize(UINT flags, LPCSTR name, UINT milliseconds, LPCSTR text, const RECT* textBox, UINT format,
                         COLORREF colour)
{
    m_flags = flags;
    m_name = name ? name : "";
    m_displayTimeMs = milliseconds;
    m_text = text ? text : "";
    if (textBox)
        m_textBox = *textBox;
    m_textFormat = format;
    m_textColour = colour;
    m_timerActive = FALSE;
    m_pictureFileName = m_name + ".BMP";
    m_soundFileName = m_name + ".WAV";
    m_picture = (m_flags & SPLASH_RESOURCE) ? new iPicture(nullptr, m_name, nullptr)
                                            : new iPicture(m_pictureFileName);
    if (!m_picture->IsValid()) {
        delete m_picture;
        m_picture = nullptr;
        return;
    }
    FitToPicture();
}

void iSplash::FitToPicture()
{
    if (!HasWindow())
        return;
    SIZE pixels;
    {
        iClientDC dc(this);
        pixels = m_picture->GetSizeInPixels(dc.m_hDC);
    }
    // The picture is drawn from the client area's corner: the client area gets the
    // picture's size and the border goes around it, so no row or column is cut off.
    CRect outer(0, 0, pixels.cx, pixels.cy);
    ::AdjustWindowRectEx(&outer, GetStyle(), FALSE, GetExStyle());
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - outer.Width()) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - outer.Height()) / 2;
    SetWindowPos(&wndTopMost, x, y, outer.Width(), outer.Height(), 0);
}

BOOL iSplash::Run()
{
    // No window destruction will ever delete a splash whose window was not made.
    if (!HasWindow()) {
        delete this;
        return TRUE;
    }
    ShowWindow(SW_SHOW);
    UpdateWindow();
    // Never asynchronous: the call returns when the sound has ended. SND_NODEFAULT keeps
    // the system's default sound away when there is none.
    BOOL isPlayed = FALSE;
    if (m_flags & SPLASH_RESOURCE)
        isPlayed = ::PlaySoundA(m_name, nullptr, SND_RESOURCE | SND_NODEFAULT | SND_NOWAIT);
    else if (::GetFileAttributesA(m_soundFileName) != INVALID_FILE_ATTRIBUTES)
        isPlayed = ::PlaySoundA(m_soundFileName, nullptr, SND_FILENAME | SND_NODEFAULT | SND_NOWAIT);
    if (m_flags & SPLASH_SYNC) {
        if (!isPlayed)
            ::Sleep(m_displayTimeMs);
        // Deletes this object: nothing below may touch it.
        DestroyWindow();
        return TRUE;
    }
    if (m_displayTimeMs != 0 && SetTimer(kCloseTimer, m_displayTimeMs, nullptr))
        m_timerActive = TRUE;
    if (m_flags & SPLASH_MOUSE)
        SetCapture();
    return TRUE;
}

void iSplash::Close()
{
    if (m_hWnd && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    if (m_timerActive) {
        KillTimer(kCloseTimer);
        m_timerActive = FALSE;
    }
    // Deletes this object once the window is gone.
    DestroyWindow();
}

// A window the system refused leaves the splash without one.
BOOL iSplash::HasWindow() const
{
    return ::IsWindow(m_hWnd);
}

void iSplash::PostNcDestroy()
{
    iWnd::PostNcDestroy();
    delete this;
}

void iSplash::KeepInside(RECT& box, const RECT& client)
{
    if (box.right > client.right)
        ::OffsetRect(&box, client.right - kTextMarginPx - box.right, 0);
    if (box.bottom > client.bottom)
        ::OffsetRect(&box, 0, client.bottom - kTextMarginPx - box.bottom);
    if (box.left < client.left)
        ::OffsetRect(&box, client.left + kTextMarginPx - box.left, 0);
    if (box.top < client.top)
        ::OffsetRect(&box, 0, client.top + kTextMarginPx - box.top);
}

void iSplash::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    Paint(&dc, client);
}

void iSplash::Paint(CDC* dc, const CRect& client)
{
    if (!m_picture) {
        DrawPlaceholder(dc, client);
        return;
    }
    // A picture that cannot be drawn leaves the area as it is; nothing to tell anyone.
    static_cast<void>(m_picture->Render(dc->m_hDC));
    if (!m_text.IsEmpty())
        DrawOverlayText(dc, client);
}

void iSplash::DrawOverlayText(CDC* dc, const CRect& client)
{
    const int oldMode = dc->GetBkMode();
    iFont font(8, 8, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
               PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    CFont* oldFont = dc->SelectObject(&font);
    // Left Ctrl while the window paints keeps it open against keys (to look at it);
    // left Shift with it outlines the configured text box.
    if (::GetKeyState(VK_LCONTROL) < 0) {
        if (::GetKeyState(VK_LSHIFT) < 0)
            dc->Rectangle(&m_textBox);
        m_flags &= ~SPLASH_KEYBOARD;
    }
    CRect box(m_textBox);
    dc->DrawText(m_text, m_text.GetLength(), &box, m_textFormat | DT_CALCRECT);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(m_textColour);
    KeepInside(box, client);
    dc->DrawText(m_text, m_text.GetLength(), &box, m_textFormat);
    dc->SetBkMode(oldMode);
    if (oldFont)
        dc->SelectObject(oldFont);
}

void iSplash::DrawPlaceholder(CDC* dc, const CRect& client)
{
    iFont font(80, 80, 0, 0, FW_HEAVY, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
               PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    CFont* oldFont = dc->SelectObject(&font);
    dc->FillSolidRect(&client, kPlaceholderBack);
    dc->SetTextColor(kPlaceholderText);
    dc->SetBkColor(kPlaceholderBack);
    CRect box(client);
    dc->DrawText("Tamrow", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (oldFont)
        dc->SelectObject(oldFont);
}

void iSplash::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_flags & SPLASH_KEYBOARD)
        Close();
    else
        iWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void iSplash::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_flags & SPLASH_MOUSE)
        Close();
    else
        iWnd::OnLButtonDown(nFlags, point);
}

void iSplash::OnMButtonDown(UINT nFlags, CPoint point)
{
    if (m_flags & SPLASH_MOUSE)
        Close();
    else
        iWnd::OnMButtonDown(nFlags, point);
}

void iSplash::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (m_flags & SPLASH_MOUSE)
        Close();
    else
        iWnd::OnRButtonDown(nFlags, point);
}

void iSplash::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kCloseTimer)
        Close();
    else
        iWnd::OnTimer(nIDEvent);
}

LRESULT iSplash::OnNotifyMode(WPARAM wParam, LPARAM lParam)
{
    if (lParam == MCI_MODE_STOP)
        Close();
    return 0;
}
