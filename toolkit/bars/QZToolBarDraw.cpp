// The toolbar's painting: the control draws into an off-screen image on the bar's own
// background; through custom draw the toolbar adds separators, child controls, colour
// bars and embossed images in the classic look, and hands buttons and separators to the
// skin's drawing proxy in the XP look.
#include "toolkit/bars/QZToolBar.h"

#include "framework/ImageList.h"
#include "framework/PaintDC.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZSkin.h"

namespace {

[[nodiscard]] IQZToolbarProxy* ToolbarProxy()
{
    return QZGetCurrentSkin()->GetToolbarProxy();
}

[[nodiscard]] CRect ItemRectOf(const CWnd* bar, int index)
{
    CRect rect;
    if (!bar->SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)))
        rect.SetRectEmpty();
    return rect;
}

// The colour bar under a colour drop-down's image: 3 pixels high, 4 above the bottom.
[[nodiscard]] CRect ColourBarRect(const CRect& item, const CSize& buttonSize, bool isDown)
{
    CRect bar(item.left + 4, item.bottom - 7, item.left + 4 + buttonSize.cx - 8, item.bottom - 4);
    if (isDown)
        bar.OffsetRect(1, 1);
    return bar;
}

} // namespace

BOOL CQZToolBar::HasOwnBackground()
{
    return qzAfxData.xpLook && !m_bInReBar;
}

void CQZToolBar::OnPaint()
{
    if (m_bLayoutPending)
        Layout();
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
    if (!memDC.m_bValid)
        return;
    if (HasOwnBackground())
        memDC.FillSolidRect(&client, GetBackColor());
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);
}

void CQZToolBar::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (!(GetStyle() & TBSTYLE_FLAT) || m_bPaintingThrough)
        return;
    auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(pNMHDR);
    CDC* pDC = CDC::FromHandle(draw->hdc);
    switch (draw->dwDrawStage) {
    case CDDS_PREPAINT:
        *pResult |= CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        break;
    case CDDS_ITEMPREPAINT:
        if (DrawButton(pDC, draw))
            *pResult |= CDRF_SKIPDEFAULT;
        break;
    case CDDS_POSTPAINT:
        EraseWrapGaps(pDC);
        DrawSeparators(pDC);
        if (m_nDropDownIndex >= 0) {
            if (IQZToolbarProxy* proxy = ToolbarProxy())
                proxy->DrawDropDownShadow(pDC, this, m_nDropDownIndex);
        }
        break;
    default:
        break;
    }
}

BOOL CQZToolBar::DrawButton(CDC* pDC, NMCUSTOMDRAW* pnmcd)
{
    if (m_bPaintingThrough)
        return TRUE;
    const UINT command = static_cast<UINT>(pnmcd->dwItemSpec);
    const int index = CommandToIndex(command);
    if (IQZToolbarProxy* proxy = ToolbarProxy())
        return proxy->DrawButton(pDC, this, index);

    TBBUTTON button = {};
    if (!GetButton(index, &button) || button.iBitmap < 0)
        return FALSE;
    const QZ_DROPDOWNBUTTON* dropDown = FindDropDownButton(command);
    const bool checked = (button.fsState & TBSTATE_CHECKED) != 0;
    const bool disabled = (button.fsState & QZ_TBSTATE_DISABLED) != 0;
    const bool pressed = (button.fsState & TBSTATE_PRESSED) != 0;

    pDC->SetBkMode(TRANSPARENT);
    const CRect item = ItemRectOf(this, index);
    if (dropDown && dropDown->bShowColor && dropDown->bColorPopup) {
        const CRect colourBar = ColourBarRect(item, m_sizeButton, pressed || checked);
        pDC->FillSolidRect(&colourBar, disabled ? qzAfxData.colorShadow : dropDown->clrCurrent);
        // The control must not paint over it.
        pDC->ExcludeClipRect(&colourBar);
    }
    if (m_bInReBar) {
        // The band's background shows behind the button: that part is painted through.
        CRect clip;
        pDC->GetClipBox(&clip);
        CRect behind;
        if (behind.IntersectRect(&clip, &item)) {
            m_bPaintingThrough = TRUE;
            InvalidateRect(&behind, TRUE);
            UpdateWindow();
            m_bPaintingThrough = FALSE;
        }
    } else {
        pDC->FillSolidRect(&item, GetBackColor());
    }

    if (checked)
        return FALSE;
    const bool colourPopupOpen = dropDown && dropDown->bColorPopup && IsColorPopupOpen(command);
    if (!(disabled && m_bEmbossDisabled) && !colourPopupOpen)
        return FALSE;
    const DWORD extendedStyle = static_cast<DWORD>(SendMessage(TB_GETEXTENDEDSTYLE));
    if (((extendedStyle & TBSTYLE_EX_DRAWDDARROWS) && (button.fsStyle & BTNS_DROPDOWN)) ||
        !GetButtonText(index).IsEmpty())
        return FALSE;

    auto* images = CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(SendMessage(TB_GETIMAGELIST)));
    const int image = static_cast<int>(SendMessage(TB_GETBITMAP, command));
    const int x = item.left + (m_sizeButton.cx - m_sizeImage.cx) / 2 + 1;
    const int y = item.top + (m_sizeButton.cy - m_sizeImage.cy) / 2 + 1;
    QZDrawEmbossedImage(pDC, images, image, x, y, TRUE);
    return TRUE;
}

void CQZToolBar::DrawSeparators(CDC* pDC)
{
    IQZToolbarProxy* proxy = ToolbarProxy();
    const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    CRect client;
    GetClientRect(&client);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        if (!GetButton(i, &button) || !(button.fsStyle & TBSTYLE_SEP) || (button.fsState & TBSTATE_HIDDEN))
            continue;
        CRect item = ItemRectOf(this, i);
        if (button.idCommand != 0) {
            if (!m_bInReBar) {
                if (proxy)
                    proxy->FillButtonBackground(pDC, this, i);
                else
                    pDC->FillSolidRect(&item, GetBackColor());
            }
            // The memory image knows nothing of child windows: the control paints itself into it.
            if (CWnd* control = ChildWithId(button.idCommand)) {
                CRect window;
                control->GetWindowRect(&window);
                ScreenToClient(&window);
                window.IntersectRect(&window, &client);
                const CPoint previousOrigin = pDC->SetWindowOrg(-window.left, -window.top);
                control->SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(pDC->m_hDC),
                                     PRF_CHECKVISIBLE | PRF_CLIENT | PRF_CHILDREN | PRF_OWNED);
                pDC->SetWindowOrg(previousOrigin);
            }
            continue;
        }
        if (proxy) {
            proxy->DrawSeparator(pDC, this, i);
            continue;
        }
        if (button.fsState & TBSTATE_WRAP) {
            // A row break: a horizontal line.
            CRect strip(item.left, item.bottom - item.Width(), item.left + item.Height(), item.bottom);
            strip.top = (strip.top + strip.bottom) / 2 - 1;
            pDC->FillSolidRect(&strip, GetBackColor());
            pDC->DrawEdge(&strip, EDGE_ETCHED, BF_TOP);
            pDC->SetPixel(strip.right - 1, strip.top, qzAfxData.colorShadow);
        } else {
            pDC->FillSolidRect(&item, GetBackColor());
            item.DeflateRect(2, 0);
            item.right = item.left + 1;
            pDC->DrawEdge(&item, EDGE_ETCHED, BF_LEFT);
            pDC->SetPixel(item.left, item.bottom - 1, qzAfxData.colorShadow);
        }
    }
}

void CQZToolBar::EraseWrapGaps(CDC* pDC)
{
    const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    CBrush back(GetBackColor());
    for (int i = 1; i < count; ++i) {
        TBBUTTON button = {};
        if (!GetButton(i, &button) || !(button.fsStyle & TBSTYLE_SEP) || !(button.fsState & TBSTATE_WRAP))
            continue;
        // What the control draws for the break at the end of its row.
        const CRect previous = ItemRectOf(this, i - 1);
        const CRect separator = ItemRectOf(this, i);
        CRect gap = previous;
        gap.OffsetRect(previous.Width(), 0);
        gap.right = gap.left + separator.Width();
        CBrush* previousBrush = pDC->SelectObject(&back);
        pDC->PatBlt(gap.left, gap.top, gap.Width(), gap.Height(), PATCOPY);
        pDC->SelectObject(previousBrush);
    }
}
