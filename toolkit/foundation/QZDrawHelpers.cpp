// Embossed images, dithered faces, font changes, child search, popup-owner gaps and the
// non-client clip.
#include "toolkit/foundation/QZDrawHelpers.h"

#include "framework/DC.h"
#include "framework/ImageList.h"
#include "framework/PaintDC.h"
#include "framework/Wnd.h"
#include "toolkit/foundation/QZAuxData.h"

#include <algorithm>
#include <cstring>

namespace {

// Where the mask is black the brush is painted; elsewhere the target stays (PSDPxax).
constexpr DWORD kPaintWhereSourceIsBlack = 0x00B8074A;

struct FontMetrics {
    int width;
    int height;
};

// The width is the one dialog units are made of, the mean of the 52 letters rounded, not
// the font's stated average: a TrueType face states whatever its maker computed (Wine's
// Tahoma says 7 pixels at 8 points where its letters average 6, as those of the bitmap
// "MS Sans Serif" do), and that ratio would stretch a dialog whose text got no wider.
FontMetrics MeasureFont(HDC dc, HFONT font)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HGDIOBJ previous = ::SelectObject(dc, font ? font : ::GetStockObject(SYSTEM_FONT));
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc, &metrics);
    SIZE letters = {};
    const bool measured = ::GetTextExtentPoint32A(dc, kLetters, sizeof kLetters - 1, &letters) && letters.cx > 0;
    ::SelectObject(dc, previous);
    const int width = measured ? (letters.cx / 26 + 1) / 2 : metrics.tmAveCharWidth;
    return {width, metrics.tmHeight + metrics.tmExternalLeading};
}

bool IsComboBox(HWND window)
{
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    ::CharUpperA(className);
    return std::strcmp(className, "COMBOBOX") == 0;
}

} // namespace

void QZDrawEmbossedImage(CDC* pDC, CImageList* pImageList, int nIndex, int x, int y, BOOL bColor)
{
    IMAGEINFO info = {};
    if (!ImageList_GetImageInfo(pImageList->GetSafeHandle(), 0, &info))
        return;
    const int width = info.rcImage.right - info.rcImage.left;
    const int height = info.rcImage.bottom - info.rcImage.top;
    HDC memory = ::CreateCompatibleDC(pDC->m_hDC);
    HBITMAP mask = bColor ? ::CreateCompatibleBitmap(pDC->m_hDC, width, height)
                          : ::CreateBitmap(width, height, 1, 1, nullptr);
    if (!memory || !mask) {
        if (mask)
            ::DeleteObject(mask);
        if (memory)
            ::DeleteDC(memory);
        return;
    }
    HGDIOBJ previousMask = ::SelectObject(memory, mask);
    ::PatBlt(memory, 0, 0, width, height, WHITENESS);
    ImageList_Draw(pImageList->GetSafeHandle(), nIndex, memory, 0, 0, ILD_TRANSPARENT);
    // A monochrome mask takes the target's text and background colours on the way: keep
    // them black and white so that the image's pixels stay black.
    const COLORREF text = ::SetTextColor(pDC->m_hDC, RGB(0, 0, 0));
    const COLORREF back = ::SetBkColor(pDC->m_hDC, RGB(255, 255, 255));
    HBRUSH hilite = ::CreateSolidBrush(qzAfxData.colorHilite);
    HBRUSH shadow = ::CreateSolidBrush(qzAfxData.colorShadow);
    HGDIOBJ previousBrush = ::SelectObject(pDC->m_hDC, hilite);
    ::BitBlt(pDC->m_hDC, x + 1, y + 1, width, height, memory, 0, 0, kPaintWhereSourceIsBlack);
    ::SelectObject(pDC->m_hDC, shadow);
    ::BitBlt(pDC->m_hDC, x, y, width, height, memory, 0, 0, kPaintWhereSourceIsBlack);
    ::SelectObject(pDC->m_hDC, previousBrush);
    ::SetTextColor(pDC->m_hDC, text);
    ::SetBkColor(pDC->m_hDC, back);
    ::DeleteObject(hilite);
    ::DeleteObject(shadow);
    ::SelectObject(memory, previousMask);
    ::DeleteObject(mask);
    ::DeleteDC(memory);
}

void QZDrawDitheredRect(CDC* pDC, const CRect& rect)
{
    // Rows alternate 0x55 and 0xAA; each row of a monochrome bitmap is a whole word.
    const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP pattern = ::CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = pattern ? ::CreatePatternBrush(pattern) : nullptr;
    if (brush) {
        HGDIOBJ previousBrush = ::SelectObject(pDC->m_hDC, brush);
        const COLORREF back = ::SetBkColor(pDC->m_hDC, qzAfxData.colorFace);
        const COLORREF text = ::SetTextColor(pDC->m_hDC, qzAfxData.colorHilite);
        ::PatBlt(pDC->m_hDC, rect.left, rect.top, rect.Width(), rect.Height(), PATCOPY);
        ::SetBkColor(pDC->m_hDC, back);
        ::SetTextColor(pDC->m_hDC, text);
        ::SelectObject(pDC->m_hDC, previousBrush);
        ::DeleteObject(brush);
    }
    if (pattern)
        ::DeleteObject(pattern);
}

void QZChangeWindowFont(CWnd* pWnd, CFont* pFont)
{
    HWND window = pWnd->GetSafeHwnd();
    HFONT font = static_cast<HFONT>(pFont->GetSafeHandle());
    if (!window || !font)
        return;
    FontMetrics before = {};
    FontMetrics after = {};
    {
        CClientDC dc(pWnd);
        before = MeasureFont(dc.m_hDC, reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)));
        after = MeasureFont(dc.m_hDC, font);
    }
    // Unmeasurable fonts change the font but no sizes.
    const bool canScale = before.width > 0 && before.height > 0;
    auto scaleX = [&](LONG x) { return canScale ? static_cast<LONG>(x * after.width / before.width) : x; };
    auto scaleY = [&](LONG y) { return canScale ? static_cast<LONG>(y * after.height / before.height) : y; };

    CRect windowRect;
    CRect clientRect;
    ::GetWindowRect(window, &windowRect);
    ::GetClientRect(window, &clientRect);
    const int width = scaleX(clientRect.Width()) + windowRect.Width() - clientRect.Width();
    const int height = scaleY(clientRect.Height()) + windowRect.Height() - clientRect.Height();
    // Grows or shrinks about its centre.
    CPoint topLeft(windowRect.left - (width - windowRect.Width()) / 2,
                   windowRect.top - (height - windowRect.Height()) / 2);
    HWND parent = (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) ? ::GetParent(window) : nullptr;
    if (parent)
        ::ScreenToClient(parent, &topLeft);
    ::MoveWindow(window, topLeft.x, topLeft.y, width, height, TRUE);
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);

    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        CRect rect;
        ::GetWindowRect(child, &rect);
        if (IsComboBox(child)) {
            // A combo box is as tall as its open list.
            CRect dropped;
            ::SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            rect.right = dropped.right;
            rect.bottom = dropped.bottom;
        }
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        rect.SetRect(scaleX(rect.left), scaleY(rect.top), scaleX(rect.right), scaleY(rect.bottom));
        ::MoveWindow(child, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
    }
}

HWND QZChildWindowFromPoint(HWND hWndParent, POINT point)
{
    ::ClientToScreen(hWndParent, &point);
    for (HWND child = ::GetWindow(hWndParent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetDlgCtrlID(child) & 0xFFFF) == 0xFFFF)
            continue;
        if (!(::GetWindowLongPtrA(child, GWL_STYLE) & WS_VISIBLE))
            continue;
        CRect rect;
        ::GetWindowRect(child, &rect);
        if (rect.PtInRect(point))
            return child;
    }
    return nullptr;
}

void DrawPopupOwnerGap(CDC* pDC, COLORREF color, const RECT* lpRectOwner, const RECT* lpRectPopup)
{
    // The overlap in the popup's window coordinates; a shared edge makes it a line.
    const int left = std::max(lpRectOwner->left, lpRectPopup->left) - lpRectPopup->left;
    const int top = std::max(lpRectOwner->top, lpRectPopup->top) - lpRectPopup->top;
    const int right = std::min(lpRectOwner->right, lpRectPopup->right) - lpRectPopup->left;
    const int bottom = std::min(lpRectOwner->bottom, lpRectPopup->bottom) - lpRectPopup->top;
    const bool horizontal = top == bottom && left + 2 < right;
    const bool vertical = left == right && top + 2 < bottom;
    if (!horizontal && !vertical)
        return;
    HPEN pen = ::CreatePen(PS_SOLID, 1, color);
    if (!pen)
        return;
    HGDIOBJ previous = ::SelectObject(pDC->m_hDC, pen);
    if (horizontal) {
        ::MoveToEx(pDC->m_hDC, left + 1, top, nullptr);
        ::LineTo(pDC->m_hDC, right, top);
    } else {
        ::MoveToEx(pDC->m_hDC, left, top + 1, nullptr);
        ::LineTo(pDC->m_hDC, left, bottom);
    }
    ::SelectObject(pDC->m_hDC, previous);
    ::DeleteObject(pen);
}

void QZExcludeClientArea(CDC* pDC, CWnd* pWnd)
{
    CRect window;
    pWnd->GetWindowRect(&window);
    CRect client;
    pWnd->GetClientRect(&client);
    pWnd->ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    pDC->ExcludeClipRect(&client);
}
