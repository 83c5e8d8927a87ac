// The flat header's painting: the control paints off screen into the face colour, then
// flat borders and dividers go over it; the sort column draws itself with its arrow.
#include "toolkit/controls/QZHeaderCtrl.h"

#include "framework/DC.h"
#include "framework/GdiObjects.h"
#include "framework/PaintDC.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"

#include <vector>

namespace {

// DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX | DT_END_ELLIPSIS.
constexpr UINT kHeaderTextFormat = 0x8924;

// One pen's polyline of points.
void DrawLines(CDC* pDC, COLORREF colour, std::initializer_list<POINT> points)
{
    CPen pen(PS_SOLID, 1, colour);
    CPen* old = pDC->SelectObject(&pen);
    auto it = points.begin();
    pDC->MoveTo(it->x, it->y);
    for (++it; it != points.end(); ++it)
        pDC->LineTo(it->x, it->y);
    pDC->SelectObject(old);
}

} // namespace

BOOL CQZFlatHeaderCtrl::OnEraseBkgnd(CDC*)
{
    return FALSE;
}

void CQZFlatHeaderCtrl::OnPaint()
{
    CPaintDC paintDC(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&paintDC, client, qzAfxData.colorFace);
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);
    DrawFlatBorders(&memDC, client);
}

void CQZFlatHeaderCtrl::DrawFlatBorders(CDC* pDC, CRect& rect)
{
    const int saved = pDC->SaveDC();
    CRect frame = rect;
    frame.right += 1;
    pDC->Draw3dRect(&frame, qzAfxData.colorHilite, qzAfxData.colorShadow);
    frame.DeflateRect(1, 1, 0, 1);
    pDC->Draw3dRect(&frame, qzAfxData.colorFace, qzAfxData.colorFace);

    // The dividers, at each item's right edge in display order.
    const int count = GetItemCount();
    std::vector<int> order(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) {
        HDITEMA item = {};
        item.mask = HDI_ORDER;
        CHeaderCtrl::GetItem(i, &item);
        order[i] = i;
        if (item.iOrder >= 0 && item.iOrder < count)
            order[item.iOrder] = i;
    }
    int x = 0;
    for (int index : order) {
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        CHeaderCtrl::GetItem(index, &item);
        x += item.cxy;
        const int top = 2;
        const int bottom = rect.bottom - 2;
        DrawLines(pDC, qzAfxData.colorShadow, {{x, top}, {x, bottom}});
        DrawLines(pDC, qzAfxData.colorHilite, {{x + 1, top}, {x + 1, bottom}});
        DrawLines(pDC, qzAfxData.colorFace, {{x - 1, top}, {x - 1, bottom}});
        DrawLines(pDC, qzAfxData.colorFace, {{x - 2, top}, {x - 2, bottom}});
    }
    if (!m_bLButtonDown)
        DrawLines(pDC, qzAfxData.colorShadow, {{rect.right - 1, rect.top}, {rect.right - 1, rect.bottom}});
    pDC->RestoreDC(saved);
}

void CQZFlatHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const CRect rcItem(lpDrawItemStruct->rcItem);
    const int item = static_cast<int>(lpDrawItemStruct->itemID);
    const int m = m_nMargin;
    const int saved = pDC->SaveDC();
    pDC->FillSolidRect(&rcItem, qzAfxData.colorFace);
    pDC->SetBkMode(TRANSPARENT);
    pDC->IntersectClipRect(&rcItem);

    char text[256] = {};
    HDITEMA hdi = {};
    hdi.mask = HDI_TEXT | HDI_FORMAT;
    hdi.pszText = text;
    hdi.cchTextMax = sizeof text;
    CHeaderCtrl::GetItem(item, &hdi);
    UINT format = kHeaderTextFormat;
    if (hdi.fmt & HDF_CENTER)
        format |= DT_CENTER;
    else if (hdi.fmt & HDF_RIGHT)
        format |= DT_RIGHT;

    const bool sortable = IsListSortable();
    const bool arrow = item == m_nSortColumn && m_bShowSortArrow;
    CRect rcText = rcItem;
    if (lpDrawItemStruct->itemState == ODS_SELECTED && sortable) {
        rcText.OffsetRect(1, 0);
        rcText.top += 2;
    }
    if (arrow)
        rcText.right -= 3 * m;
    rcText.DeflateRect(m, 0);
    if (!rcText.IsRectEmpty()) {
        HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        HGDIOBJ oldFont = font ? ::SelectObject(pDC->m_hDC, font) : nullptr;
        pDC->DrawText(text, -1, &rcText, format);
        if (oldFont)
            ::SelectObject(pDC->m_hDC, oldFont);
    }

    if (arrow && sortable) {
        const int R = rcItem.right;
        const int B = rcItem.bottom;
        if (m_nSortDirection != 0) {
            DrawLines(pDC, qzAfxData.colorHilite, {{R - 2 * m, m - 1}, {R - 3 * m / 2, B - m}, {R - 5 * m / 2 - 2, B - m}});
            DrawLines(pDC, qzAfxData.colorShadow, {{R - 5 * m / 2 - 1, B - m - 1}, {R - 2 * m, m - 2}});
        } else {
            DrawLines(pDC, qzAfxData.colorHilite, {{R - 3 * m / 2, m - 1}, {R - 2 * m - 1, B - m + 1}});
            DrawLines(pDC, qzAfxData.colorShadow, {{R - 2 * m - 1, B - m}, {R - 5 * m / 2 - 1, m - 1}, {R - 3 * m / 2, m - 1}});
        }
    }
    pDC->RestoreDC(saved);
}
