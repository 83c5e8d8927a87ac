// How the toolkit floating frame looks: its borders and caption band in the XP or the
// classic look, the bar's name, and the caption buttons, painted off screen in one blit
// with the client area left out, so live drags that move the frame do not flicker.
#include "toolkit/docking/QZMiniDockFrameWnd.h"

#include "framework/PaintDC.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZResourceSwitch.h"
#include "toolkit/res/ToolkitResources.h"

namespace {

// Images of the caption glyphs.
constexpr int kCloseGlyph = 2;
constexpr int kOptionsGlyph = 3;
constexpr int kGlyphSize = 10;

// Caption colours from the active caption to its gradient colour in 64 strips.
void FillGradient(CDC* pDC, const CRect& band, COLORREF start, COLORREF end)
{
    const int width = band.Width();
    for (int i = 0; i < 64; ++i) {
        const int left = band.left + ((width * i) >> 6);
        const int right = band.left + ((width * (i + 1)) >> 6);
        if (right <= left)
            continue;
        auto mix = [i](int from, int to) { return static_cast<BYTE>(((64 - i) * from + i * to) / 64); };
        const COLORREF colour = RGB(mix(GetRValue(start), GetRValue(end)), mix(GetGValue(start), GetGValue(end)),
                                    mix(GetBValue(start), GetBValue(end)));
        pDC->FillSolidRect(left, band.top, right - left, band.Height(), colour);
    }
}

} // namespace

CRect QZ_CAPTIONBUTTON::GetRect(LPCRECT lpRectWindow)
{
    CRect window;
    if (lpRectWindow)
        window = *lpRectWindow;
    else if (pFrame)
        pFrame->GetWindowRect(&window);
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    const int cxSm = qzAfxData.smallIconWidth;
    const int cySm = qzAfxData.smallIconHeight;
    const bool isClassic = CQZMiniDockFrameWnd::GetLook() == 2;
    CRect rect;
    rect.right = window.right - cxEdge;
    // In the XP look the options button touches the close button; the classic look leaves 2 pixels.
    if (nKind == options)
        rect.right -= cxSm + (isClassic ? 2 : 0);
    rect.top = window.top + cyEdge;
    rect.bottom = rect.top + cySm - 1;
    rect.left = rect.right - cxSm;
    if (isClassic)
        rect.DeflateRect(2, 2);
    bHidden = rect.left < window.left + 2 * cxEdge;
    return rect;
}

void CQZMiniDockFrameWnd::OnNcPaint()
{
    if (!PaintsOwnCaption()) {
        Default();
        return;
    }
    CControlBar* bar = GetControlBar();
    const bool isToolBar = IsToolBar(bar) != FALSE;
    CWindowDC dc(this);
    QZExcludeClientArea(&dc, this);
    CRect window;
    GetWindowRect(&window);
    CRect outline(0, 0, window.Width(), window.Height());
    const bool isXP = GetLook() == 1;
    CQZMemDC memDC(&dc, outline, isXP ? qzAfxData.colorXPBarFace : qzAfxData.colorFace);
    const int saved = memDC.SaveDC();
    CString text;
    bar->GetWindowText(text);
    if (text.IsEmpty()) {
        QZResourceSwitch resources;
        resources.Enter();
        text.LoadString(IDS_QZ_TOOLBAR);
        resources.Leave();
    }
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    const int cxSm = qzAfxData.smallIconWidth;
    const int cySm = qzAfxData.smallIconHeight;
    const COLORREF shadow = qzAfxData.colorShadow;
    CRect band;
    CRect buttonsWindow = outline;
    if (isXP) {
        memDC.Draw3dRect(&outline, shadow, shadow);
        CRect inner = outline;
        inner.DeflateRect(1, 1);
        memDC.Draw3dRect(&inner, shadow, shadow);
        outline.DeflateRect(2, 2);
        memDC.SetPixelV(outline.left, outline.top, shadow);
        memDC.SetPixelV(outline.left, outline.bottom - 1, shadow);
        memDC.SetPixelV(outline.right - 1, outline.top, shadow);
        memDC.SetPixelV(outline.right - 1, outline.bottom - 1, shadow);
        band = outline;
        band.DeflateRect(cyEdge - 1, cyEdge - 1);
        band.bottom = band.top + cySm + cyEdge - 2;
        memDC.FillSolidRect(&band, shadow);
        buttonsWindow = outline;
    } else {
        memDC.DrawEdge(&outline, EDGE_RAISED, BF_RECT);
        band = outline;
        band.DeflateRect(cyEdge + 1, cyEdge + 1);
        band.bottom = band.top + cySm - (cyEdge + 1);
        BOOL gradient = FALSE;
        ::SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
        // The active colours whether or not the frame is active.
        if (gradient)
            FillGradient(&memDC, band, qzAfxData.colorCaption, qzAfxData.colorCaptionGradient);
        else
            memDC.FillSolidRect(&band, qzAfxData.colorCaption);
    }
    CRect textRect = band;
    textRect.left += cxEdge;
    if (isToolBar) {
        for (POSITION pos = m_listButtons.GetHeadPosition(); pos;) {
            auto* button = static_cast<QZ_CAPTIONBUTTON*>(m_listButtons.GetNext(pos));
            const CRect rect = button->GetRect();
            if (!button->bHidden)
                textRect.right -= rect.Width() + cxEdge;
        }
    }
    if (textRect.Width() >= cxSm) {
        memDC.SelectObject(&qzAfxData.fontBold);
        memDC.SetTextColor(qzAfxData.colorCaptionText);
        memDC.SetBkMode(TRANSPARENT);
        memDC.DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    if (isToolBar) {
        for (POSITION pos = m_listButtons.GetHeadPosition(); pos;)
            DrawCaptionButton(&memDC, buttonsWindow, static_cast<QZ_CAPTIONBUTTON*>(m_listButtons.GetNext(pos)));
    }
    memDC.RestoreDC(saved);
}

void CQZMiniDockFrameWnd::DrawCaptionButton(CDC* pDC, const CRect& rectWindow, QZ_CAPTIONBUTTON* pButton)
{
    const CRect rect = pButton->GetRect(&rectWindow);
    if (pButton->bHidden)
        return;
    const int saved = pDC->SaveDC();
    const bool isXP = GetLook() == 1;
    const bool isOpen = pButton->nKind == QZ_CAPTIONBUTTON::options && m_pDropDown;
    COLORREF fill = isXP ? qzAfxData.colorShadow : qzAfxData.colorFace;
    COLORREF glyph = isXP ? qzAfxData.colorSelectionText : qzAfxData.colorMenuText;
    pButton->bHighlighted = FALSE;
    if (isXP && pButton->bHot) {
        if (pButton->bPressed) {
            fill = qzAfxData.colorXPPushed;
            glyph = qzAfxData.colorXPPushedText;
        } else {
            fill = qzAfxData.colorXPHot;
            glyph = qzAfxData.colorMenuText;
        }
        if (isOpen) {
            fill = qzAfxData.colorXPBarFace;
            glyph = qzAfxData.colorMenuText;
        }
    }
    pDC->FillSolidRect(&rect, fill);
    if (isXP) {
        if (pButton->bHot) {
            const COLORREF frame = isOpen ? qzAfxData.colorXPBorder : qzAfxData.colorSelection;
            pDC->Draw3dRect(&rect, frame, frame);
            pButton->bHighlighted = TRUE;
        }
    } else {
        // Classic: sunk while pressed or open, raised otherwise; hovering alone changes nothing.
        CRect outer = rect;
        outer.InflateRect(1, 1);
        if (isOpen || pButton->bPressed) {
            pDC->Draw3dRect(&outer, qzAfxData.colorWindowFrame, qzAfxData.colorFace);
            pDC->Draw3dRect(&rect, qzAfxData.colorShadow, qzAfxData.colorHilite);
            pButton->bHighlighted = TRUE;
        } else {
            pDC->Draw3dRect(&outer, qzAfxData.colorFace, qzAfxData.colorWindowFrame);
            pDC->Draw3dRect(&rect, qzAfxData.colorHilite, qzAfxData.colorShadow);
        }
    }
    const int x = rect.Width() <= kGlyphSize ? rect.left : rect.left + (rect.Width() - kGlyphSize) / 2;
    const int y = rect.Height() <= kGlyphSize ? rect.top : rect.top + (rect.Height() - kGlyphSize) / 2;
    const int image = pButton->nKind == QZ_CAPTIONBUTTON::close ? kCloseGlyph : kOptionsGlyph;
    // The glyph as a one-colour icon; the icon goes at once, or every caption paint of a
    // live drag would leave one behind.
    HICON icon = ::ImageList_GetIcon(m_imageList.m_hImageList, image, ILD_NORMAL);
    CBrush brush;
    if (icon && brush.CreateSolidBrush(glyph))
        pDC->DrawState(CPoint(x, y), rect.Size(), icon, DST_ICON | DSS_MONO, &brush);
    if (icon)
        ::DestroyIcon(icon);
    pDC->RestoreDC(saved);
}
