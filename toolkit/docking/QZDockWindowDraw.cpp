// How a docking window looks: where its caption, grip bars, buttons and child go, its
// border lines and the edge round the child, and the caption in the classic look (grip
// bars, or a title bar, plain or graded) or the XP look (a band that lights up while the
// focus is inside).
#include "toolkit/docking/QZDockWindow.h"

#include "framework/DC.h"
#include "framework/PaintDC.h"
#include "toolkit/foundation/QZAuxData.h"

namespace {

// The caption band runs along the top when docked left or right (its text reads across),
// and down the left edge when docked top or bottom (its text reads upwards).
constexpr int kGradientBands = 64;

COLORREF BlendGradientBand(COLORREF c1, COLORREF c2, int band)
{
    auto channel = [band](int a, int b) { return ((kGradientBands - band) * a + band * b) >> 6; };
    return RGB(channel(GetRValue(c1), GetRValue(c2)), channel(GetGValue(c1), GetGValue(c2)),
               channel(GetBValue(c1), GetBValue(c2)));
}

} // namespace

void CQZDockWindow::GetGripperRect(CRect& rect) const
{
    GetClientRect(&rect);
    const int buttonRoom = HasCaptionButtons() ? 30 : 0;
    if (IsHorzDocked()) {
        rect.DeflateRect(3, 3);
        rect.left += 2;
        rect.right = rect.left + 3;
        rect.bottom -= 1;
        rect.top += buttonRoom ? buttonRoom : 1;
    } else {
        rect.DeflateRect(4, 4);
        rect.top += 4;
        rect.bottom = rect.top + 3;
        rect.right -= buttonRoom ? buttonRoom : 2;
    }
}

void CQZDockWindow::GetButtonRect(CRect& rect) const
{
    CRect client;
    GetClientRect(&client);
    if (IsHorzDocked()) {
        rect.SetRect(3, 3, 15, 15);
        if (qzAfxData.xpLook)
            rect.OffsetRect(0, 2);
    } else {
        rect.SetRect(client.right - 29, 6, client.right - 17, 18);
        if (qzAfxData.xpLook)
            rect.OffsetRect(-2, 0);
    }
}

void CQZDockWindow::GetInsideRect(CRect& rect) const
{
    GetClientRect(&rect);
    if (!IsDocked()) {
        rect.DeflateRect(3, 3);
        return;
    }
    rect.DeflateRect(3, 6);
    const int caption = GetMinExtent();
    if (IsHorzDocked())
        rect.left += caption - 3;
    else
        rect.top += caption - 3;
    if (rect.left > rect.right || rect.top > rect.bottom)
        rect.SetRectEmpty();
    if (rect.IsRectEmpty()) {
        if (IsHorzDocked())
            rect.OffsetRect(caption + 2, 0);
        else
            rect.OffsetRect(0, caption + 2);
    } else if (IsVertDocked()) {
        rect.top -= 5;
    }
    if (qzAfxData.xpLook) {
        if (IsVertDocked())
            rect.InflateRect(4, 0);
        else
            rect.InflateRect(0, 3);
    }
}

void CQZDockWindow::DrawNonClient() {}

void CQZDockWindow::DoPaint(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    DrawBorders(pDC, client);
    CRect inside;
    GetInsideRect(inside);
    if (m_dwStyleEx & QZ_DWS_ETCHED)
        pDC->DrawEdge(&inside, EDGE_ETCHED, BF_RECT);
    else if (m_dwStyleEx & QZ_DWS_SUNKEN)
        pDC->DrawEdge(&inside, BDR_SUNKENOUTER, BF_RECT);
    else if (m_dwStyleEx & QZ_DWS_RAISED)
        pDC->DrawEdge(&inside, EDGE_RAISED, BF_RECT);
}

void CQZDockWindow::DrawBorders(CDC* pDC, CRect& rect)
{
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), qzAfxData.colorShadow);
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, qzAfxData.colorShadow);
    if (m_dwStyle & CBRS_BORDER_TOP)
        pDC->FillSolidRect(rect.left, 0, rect.Width(), 1, qzAfxData.colorHilite);
    if (m_dwStyle & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(0, rect.top, 1, rect.Height(), qzAfxData.colorHilite);
    DrawCaption(pDC);
}

void CQZDockWindow::DrawCaption(CDC* pDC)
{
    if (!IsDocked() || !HasCaption())
        return;
    // The caption runs across the top for a window docked left or right.
    const bool isAcross = IsVertDocked() != FALSE;
    CRect r1;
    GetGripperRect(r1);
    CRect r2 = r1;
    r2.OffsetRect(isAcross ? 0 : 4, isAcross ? 4 : 0);
    CRect band(r1.left, r1.top, r2.right, r2.bottom);
    if (isAcross)
        band.InflateRect(0, 2);
    else
        band.InflateRect(2, 0);
    DrawCaptionTitle(pDC, band);

    if (qzAfxData.xpLook || (m_dwStyleEx & QZ_DWS_TITLEBAR))
        return;
    CString text;
    GetWindowText(text);
    if ((m_dwStyleEx & QZ_DWS_CAPTIONTEXT) && !text.IsEmpty()) {
        CFont* previous = pDC->SelectObject(isAcross ? &m_fontBar : &m_fontVert);
        SIZE extent = {};
        ::GetTextExtentPoint32A(pDC->m_hDC, text, text.GetLength(), &extent);
        pDC->SelectObject(previous);
        const int taken = extent.cx + 5;
        if (isAcross) {
            r1.left += taken;
            r2.left += taken;
        } else {
            r1.bottom -= taken;
            r2.bottom -= taken;
        }
    }
    if (r1.right <= r1.left || r1.bottom <= r1.top)
        return;
    const COLORREF light = qzAfxData.colorHilite;
    const COLORREF dark = qzAfxData.colorShadow;
    if (m_dwStyleEx & QZ_DWS_DOUBLEGRIP) {
        pDC->Draw3dRect(&r1, light, dark);
        pDC->Draw3dRect(&r2, light, dark);
    } else {
        r1.OffsetRect(isAcross ? 0 : 2, isAcross ? 2 : 0);
        pDC->Draw3dRect(&r1, light, dark);
    }
}

void CQZDockWindow::DrawCaptionTitle(CDC* pDC, const CRect& rcBand)
{
    const bool isAcross = IsVertDocked() != FALSE;
    CRect band = rcBand;
    COLORREF textColour = qzAfxData.colorShadow;
    if (qzAfxData.xpLook) {
        const int buttonRoom = HasCaptionButtons() ? 30 : 1;
        if (isAcross) {
            band.InflateRect(3, 0);
            band.top -= 2;
            band.bottom += 2;
            band.right += buttonRoom;
        } else {
            band.left -= 2;
            band.right += 2;
            band.top -= buttonRoom;
        }
        pDC->FillSolidRect(&band, qzAfxData.colorFace);
        if (m_bActive) {
            textColour = qzAfxData.colorCaptionText;
            pDC->FillSolidRect(&band, qzAfxData.colorCaption);
        } else {
            textColour = qzAfxData.colorMenuText;
            pDC->Draw3dRect(&band, qzAfxData.colorShadow, qzAfxData.colorShadow);
            // Rounded corners.
            for (const POINT corner : {POINT{band.left, band.top}, POINT{band.right - 1, band.top},
                                       POINT{band.left, band.bottom - 1}, POINT{band.right - 1, band.bottom - 1}})
                pDC->SetPixel(corner.x, corner.y, qzAfxData.colorFace);
        }
    } else if (m_dwStyleEx & QZ_DWS_TITLEBAR) {
        const COLORREF c1 = m_bActive ? qzAfxData.colorCaption : qzAfxData.colorCaptionInactive;
        const COLORREF c2 = m_bActive ? qzAfxData.colorCaptionGradient : qzAfxData.colorCaptionGradientInactive;
        BOOL gradients = FALSE;
        if (m_dwStyleEx & QZ_DWS_GRADIENT)
            ::SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradients, 0);
        if (gradients) {
            const int width = band.Width();
            const int height = band.Height();
            for (int i = 0; i < kGradientBands; ++i) {
                CRect part = band;
                if (isAcross) {
                    part.left = band.left + ((width * i) >> 6);
                    part.right = band.left + ((width * (i + 1)) >> 6);
                } else {
                    part.top = band.bottom - ((height * (i + 1)) >> 6);
                    part.bottom = band.bottom - ((height * i) >> 6);
                }
                if (!part.IsRectEmpty())
                    pDC->FillSolidRect(&part, BlendGradientBand(c1, c2, i));
            }
        } else {
            pDC->FillSolidRect(&band, c1);
        }
        textColour = m_bActive ? qzAfxData.colorCaptionText : qzAfxData.colorCaptionTextInactive;
    }

    CString text;
    GetWindowText(text);
    if (!HasCaption() || !(m_dwStyleEx & QZ_DWS_CAPTIONTEXT) || text.IsEmpty())
        return;
    CPoint at = isAcross ? CPoint(band.left + 2, 4) : CPoint(qzAfxData.isWin95 ? 2 : 0, band.bottom - 2);
    if (qzAfxData.xpLook) {
        if (isAcross)
            at.x += 2;
        else
            at.y -= 2;
    }
    CFont* previousFont = pDC->SelectObject(isAcross ? &m_fontBar : &m_fontVert);
    const COLORREF previousColour = pDC->SetTextColor(textColour);
    const int previousMode = pDC->SetBkMode(TRANSPARENT);
    ::ExtTextOutA(pDC->m_hDC, at.x, at.y, ETO_CLIPPED, &band, text, static_cast<UINT>(text.GetLength()), nullptr);
    pDC->SetBkMode(previousMode);
    pDC->SetTextColor(previousColour);
    pDC->SelectObject(previousFont);
}
