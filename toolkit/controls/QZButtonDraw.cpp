// The flat button's owner drawing: face, frame by style and state, text, icon or bitmap
// in their places, and the focus.
#include "toolkit/controls/QZButton.h"

#include "framework/DC.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"

namespace {

CSize ButtonTextExtent(CDC* pDC, const CString& text)
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(pDC->m_hDC, text, text.GetLength(), &size);
    return size;
}

} // namespace

void CQZButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const UINT state = lpDrawItemStruct->itemState;
    const bool pushed = (state & ODS_SELECTED) != 0;
    const bool hot = m_bHot != FALSE;
    const DWORD style = GetDrawStyle();
    CRect rect(lpDrawItemStruct->rcItem);

    const int saved = pDC->SaveDC();
    const COLORREF previousBack = pDC->GetBkColor();
    const int previousMode = pDC->GetBkMode();
    COLORREF fill = GetFaceColor();
    pDC->FillSolidRect(&rect, fill);
    if ((style & QZ_BTN_DITHERPUSHED) && pushed)
        QZDrawDitheredRect(pDC, rect);

    const COLORREF xpBorder = m_bOwnXPColors ? m_clrXPBorder : qzAfxData.colorSelection;
    if (style & QZ_BTN_FLAT) {
        if (hot || pushed) {
            pDC->Draw3dRect(&rect, pushed ? m_clrShadow : m_clrHilite, pushed ? m_clrHilite : m_clrShadow);
        }
    } else if (style & QZ_BTN_XP) {
        pDC->Draw3dRect(&rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNSHADOW));
        if (hot || pushed) {
            const COLORREF hotFill = m_bOwnXPColors ? m_clrXPHot : qzAfxData.colorXPHot;
            const COLORREF pushedFill = m_bOwnXPColors ? m_clrXPPressed : qzAfxData.colorXPPushed;
            pDC->Draw3dRect(&rect, xpBorder, xpBorder);
            fill = pushed ? pushedFill : hotFill;
            CRect inside = rect;
            inside.DeflateRect(1, 1);
            pDC->FillSolidRect(&inside, fill);
        }
    } else if (style & QZ_BTN_THIN3D) {
        const COLORREF light = qzAfxData.colorHilite;
        const COLORREF dark = qzAfxData.colorShadow;
        pDC->Draw3dRect(&rect, pushed ? dark : light, pushed ? light : dark);
    } else {
        // The full 3-D frame: two rings.
        pDC->Draw3dRect(&rect, pushed ? qzAfxData.colorDarkShadow : m_clrHilite,
                        pushed ? m_clrHilite : qzAfxData.colorDarkShadow);
        rect.DeflateRect(1, 1);
        pDC->Draw3dRect(&rect, pushed ? m_clrShadow : GetFaceColor(), pushed ? GetFaceColor() : m_clrShadow);
    }

    pDC->SetBkMode(TRANSPARENT);
    pDC->SetBkColor(fill);
    DrawText(pDC, state, rect);
    DrawIcon(pDC, state, rect);
    DrawBitmap(pDC, state, rect);

    if ((style & QZ_BTN_FOCUS) && (state & ODS_FOCUS)) {
        if (style & QZ_BTN_XP) {
            if (!hot && !pushed) {
                CRect inside = rect;
                pDC->Draw3dRect(&inside, xpBorder, xpBorder);
                inside.DeflateRect(1, 1);
                pDC->Draw3dRect(&inside, xpBorder, xpBorder);
            }
        } else {
            const COLORREF previousText = pDC->SetTextColor(RGB(0, 0, 0));
            CRect focus = rect;
            focus.DeflateRect(2, 2);
            pDC->DrawFocusRect(&focus);
            pDC->SetTextColor(previousText);
        }
    }
    pDC->RestoreDC(saved);
    pDC->SetBkColor(previousBack);
    pDC->SetBkMode(previousMode);
}

CPoint CQZButton::CenterInClient(int cx, int cy) const
{
    CRect client;
    GetClientRect(&client);
    const int centredY = (client.Height() - cy) / 2;
    if (!(GetDrawStyle() & QZ_BTN_IMAGEABOVE))
        return CPoint(m_nBorderGap, centredY < 0 ? 0 : centredY);
    const int centredX = (client.Width() - cx) / 2;
    return CPoint(centredX < 0 ? 0 : centredX, centredY < 0 ? 0 : centredY);
}

void CQZButton::DrawText(CDC* pDC, UINT nState, const CRect& rect)
{
    const CString stripped = GetButtonText(TRUE);
    if (stripped.IsEmpty())
        return;
    HGDIOBJ previousFont = ::SelectObject(pDC->m_hDC, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    const CSize extent = ButtonTextExtent(pDC, stripped);
    const DWORD style = GetDrawStyle();
    CPoint point;
    if (m_bFixedPositions) {
        point = CPoint(m_nTextX, m_nTextY);
    } else {
        point = CenterInClient(extent.cx, extent.cy);
        point.x = m_nBorderGap;
        if (style & QZ_BTN_IMAGEABOVE)
            point.y += m_nImageHeight / 2 + m_nImageGap / 2;
        switch (GetStyle() & 0x0300) {
        case BS_LEFT:
            if (!(style & QZ_BTN_IMAGEABOVE))
                point.x += m_nImageWidth + m_nImageGap;
            break;
        case BS_RIGHT:
            point.x = rect.right - m_nBorderGap - extent.cx;
            break;
        default:
            if (!(style & QZ_BTN_IMAGEABOVE))
                point.x += m_nImageWidth;
            point.x += (rect.right - point.x - extent.cx - m_nBorderGap) / 2;
            break;
        }
    }
    const bool pushed = (nState & ODS_SELECTED) != 0;
    const bool isXP = (style & QZ_BTN_XP) != 0;
    if (pushed && !isXP)
        point.Offset(1, 1);
    COLORREF colour = m_clrText;
    if (nState & ODS_DISABLED)
        colour = qzAfxData.colorGrayText;
    else if (pushed && isXP)
        colour = RGB(255, 255, 255);
    const COLORREF previousText = pDC->SetTextColor(colour);
    const UINT previousAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    const CString text = GetButtonText(FALSE);
    ::DrawStateA(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text)),
                 static_cast<WPARAM>(text.GetLength()), point.x, point.y, extent.cx, extent.cy, DST_PREFIXTEXT);
    pDC->SetTextAlign(previousAlign);
    pDC->SetTextColor(previousText);
    ::SelectObject(pDC->m_hDC, previousFont);
}

CPoint CQZButton::GetImagePosition(CDC* pDC, UINT nState, const CRect& rect, BOOL bHasPressedImage)
{
    const CString text = GetButtonText(TRUE);
    CSize extent(0, 0);
    if (!text.IsEmpty()) {
        HGDIOBJ previousFont = ::SelectObject(pDC->m_hDC, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
        extent = ButtonTextExtent(pDC, text);
        ::SelectObject(pDC->m_hDC, previousFont);
    }
    const DWORD style = GetDrawStyle();
    const DWORD windowStyle = GetStyle();
    CPoint point(rect.left, rect.top);
    if (m_bFixedPositions) {
        point = CPoint(m_nImageX, m_nImageY);
    } else {
        point = CenterInClient(m_nImageWidth, m_nImageHeight);
        point.x = m_nBorderGap;
        if (!(style & QZ_BTN_IMAGEABOVE)) {
            if (text.IsEmpty()) {
                if ((windowStyle & BS_CENTER) == BS_CENTER && m_nImageWidth <= rect.Width())
                    point.x = (rect.Width() - m_nImageWidth) / 2;
                if ((windowStyle & BS_VCENTER) == BS_VCENTER && m_nImageHeight <= rect.Height())
                    point.y = (rect.Height() - m_nImageHeight) / 2;
            }
        } else {
            if (!text.IsEmpty())
                point.y -= extent.cy / 2 + m_nImageGap / 2;
            switch (windowStyle & 0x0300) {
            case BS_RIGHT:
                point.x = rect.right - m_nBorderGap - m_nImageWidth;
                break;
            case BS_LEFT:
                break;
            default: {
                const int offset = (rect.Width() - m_nImageWidth) / 2;
                point.x = rect.left + (offset < 0 ? 0 : offset);
                break;
            }
            }
        }
    }
    if ((nState & ODS_SELECTED) && !bHasPressedImage)
        point.Offset(1, 1);
    return point;
}

void CQZButton::DrawIcon(CDC* pDC, UINT nState, const CRect& rect)
{
    if (!m_hIcon)
        return;
    const CPoint point = GetImagePosition(pDC, nState, rect, m_hIconPressed != nullptr);
    HICON icon = (nState & ODS_SELECTED) && m_hIconPressed ? m_hIconPressed : m_hIcon;
    ::DrawStateA(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, point.x, point.y, m_nImageWidth,
                 m_nImageHeight, DST_ICON | ((nState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL));
}

void CQZButton::DrawBitmap(CDC* pDC, UINT nState, const CRect& rect)
{
    HBITMAP bitmap = (nState & ODS_DISABLED) ? m_hBitmapDisabled : m_hBitmap;
    if (!bitmap)
        return;
    const CPoint point = GetImagePosition(pDC, nState, rect, FALSE);
    ::DrawStateA(pDC->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, point.x, point.y, m_nImageWidth,
                 m_nImageHeight, DST_BITMAP | ((nState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL));
}
