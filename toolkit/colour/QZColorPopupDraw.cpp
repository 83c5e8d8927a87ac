// The colour popup's painting: the kept picture of its cells, each cell in the classic
// or the XP look, the hot cell over a copy of the picture, and the XP look's frame.
#include "toolkit/colour/QZColorPopup.h"

#include "framework/PaintDC.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/res/ToolkitResources.h"

namespace {

// Where the small table's heading stands.
constexpr int kHeadingX = 6;
constexpr int kHeadingY = 31;

} // namespace

void CQZColorPopup::EnsureCache(CDC* pDC)
{
    if (m_dcCache.m_hDC)
        return;
    CRect client;
    GetClientRect(&client);
    if (!m_dcCache.CreateCompatibleDC(pDC))
        return;
    if (!m_bmpCache.CreateCompatibleBitmap(pDC, client.Width(), client.Height())) {
        m_dcCache.DeleteDC();
        return;
    }
    m_hOldBitmap = ::SelectObject(m_dcCache.m_hDC, m_bmpCache.m_hObject);
    m_dcCache.SetBkMode(TRANSPARENT);
    m_dcCache.FillSolidRect(&client, qzAfxData.xpLook ? qzAfxData.colorXPMenuBack : qzAfxData.colorFace);
    DrawCells(&m_dcCache);
}

void CQZColorPopup::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
    EnsureCache(&dc);
    if (m_dcCache.m_hDC)
        memDC.BitBlt(0, 0, client.Width(), client.Height(), &m_dcCache, 0, 0, SRCCOPY);
}

void CQZColorPopup::DrawCells(CDC* pDC)
{
    pDC->SetBkMode(TRANSPARENT);
    CFont* previousFont = pDC->SelectObject(&qzAfxData.fontNormal);
    if (!(m_dwStyle & QZ_CPS_LARGETABLE)) {
        CString heading;
        heading.LoadString(IDS_QZ_STANDARD_COLORS);
        pDC->SetTextColor(qzAfxData.xpLook ? qzAfxData.colorMenuText : qzAfxData.colorButtonText);
        pDC->TextOut(kHeadingX, kHeadingY, heading);
    }
    for (POSITION pos = m_listCells.GetHeadPosition(); pos;)
        DrawCell(m_listCells.GetNext(pos), pDC, FALSE);
    pDC->SelectObject(previousFont);
}

void CQZColorPopup::DrawCellBorder(CDC* pDC, const CRect& rect)
{
    if (qzAfxData.xpLook)
        pDC->Draw3dRect(&rect, qzAfxData.colorSelection, qzAfxData.colorSelection);
    else
        pDC->Draw3dRect(&rect, qzAfxData.colorShadow, qzAfxData.colorHilite);
}

void CQZColorPopup::DrawCell(QZ_COLOR_CELL* pCell, CDC* pDC, BOOL bHot)
{
    const bool isXP = qzAfxData.xpLook != 0;
    const int saved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    pDC->SelectObject(&qzAfxData.fontNormal);
    pDC->SetTextColor(isXP ? qzAfxData.colorMenuText : qzAfxData.colorButtonText);
    CRect r(pCell->rect);

    if (!bHot && !pCell->bSelected) {
        pDC->FillSolidRect(&r, isXP ? qzAfxData.colorXPMenuBack : qzAfxData.colorFace);
    } else if (!bHot) {
        if (isXP)
            pDC->FillSolidRect(&r, qzAfxData.colorXPChecked);
        else
            QZDrawDitheredRect(pDC, r);
        DrawCellBorder(pDC, r);
    } else if (!pCell->bSelected) {
        pDC->FillSolidRect(&r, isXP ? qzAfxData.colorXPHot : qzAfxData.colorFace);
    } else {
        if (isXP) {
            pDC->SetTextColor(qzAfxData.colorXPPushedText);
            pDC->FillSolidRect(&r, qzAfxData.colorXPPushed);
        } else {
            pDC->FillSolidRect(&r, qzAfxData.colorFace);
        }
        DrawCellBorder(pDC, r);
    }

    if (pCell->szText[0])
        pDC->DrawText(pCell->szText, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    const bool isFirst = pCell->nIndex == 0;
    if (pCell->dwKind != QZ_CELL_MORECOLORS) {
        r.DeflateRect(3, 3);
        if (!(isFirst && isXP))
            pDC->Draw3dRect(&r, qzAfxData.colorShadow, qzAfxData.colorShadow);
        if (pCell->dwKind == QZ_CELL_COLOR) {
            r.DeflateRect(1, 1);
            pDC->FillSolidRect(&r, pCell->color);
        } else if (isFirst && !(m_dwStyle & QZ_CPS_NOFILL)) {
            // A small swatch of the automatic colour before the text.
            r.DeflateRect(3, 3);
            CRect swatch(r.left + 1, r.top, r.left + 1 + 12, r.top + 11);
            pDC->Draw3dRect(&swatch, qzAfxData.colorShadow, qzAfxData.colorShadow);
            swatch.DeflateRect(1, 1);
            pDC->FillSolidRect(&swatch, pCell->color);
        }
    } else if (pCell->bSelected) {
        // The current colour, which no standard cell holds, beside "More Colors...".
        r.DeflateRect(5, 6);
        r.left = r.right - 12;
        pDC->Draw3dRect(&r, qzAfxData.colorShadow, qzAfxData.colorShadow);
        r.DeflateRect(1, 1);
        pDC->FillSolidRect(&r, pCell->color);
    }
    pDC->RestoreDC(saved);
}

void CQZColorPopup::HotTrackCell(QZ_COLOR_CELL* pCell, BOOL bPressed, BOOL bCold)
{
    if (!pCell)
        return;
    m_nCurPos = pCell->nIndex;
    if (!m_hWnd)
        return;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    EnsureCache(&dc);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
    // The copy takes away the look of the cell that was hot before.
    if (m_dcCache.m_hDC)
        memDC.BitBlt(0, 0, client.Width(), client.Height(), &m_dcCache, 0, 0, SRCCOPY);
    const CRect rect(pCell->rect);
    if (pCell->bSelected) {
        DrawCell(pCell, &memDC, !bCold);
    } else if (qzAfxData.xpLook) {
        DrawCell(pCell, &memDC, !bCold);
        DrawCellBorder(&memDC, rect);
    } else if (bCold) {
        memDC.Draw3dRect(&rect, qzAfxData.colorFace, qzAfxData.colorFace);
    } else if (bPressed) {
        memDC.Draw3dRect(&rect, qzAfxData.colorShadow, qzAfxData.colorHilite);
    } else {
        memDC.Draw3dRect(&rect, qzAfxData.colorHilite, qzAfxData.colorShadow);
    }
}

void CQZColorPopup::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    (void)bCalcValidRects;
    if (!qzAfxData.xpLook) {
        Default();
        return;
    }
    // The XP look's frame is one pixel all round.
    ::InflateRect(&lpncsp->rgrc[0], -1, -1);
}

void CQZColorPopup::OnNcPaint()
{
    if (!qzAfxData.xpLook) {
        Default();
        return;
    }
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    CRect frame(0, 0, window.Width(), window.Height());
    dc.Draw3dRect(&frame, qzAfxData.colorXPBorder, qzAfxData.colorXPBorder);
    CRect opener(CQZCoolMenu::m_rcOpener);
    opener.right -= 1;
    DrawPopupOwnerGap(&dc, qzAfxData.colorXPBarFace, &opener, &window);
}
