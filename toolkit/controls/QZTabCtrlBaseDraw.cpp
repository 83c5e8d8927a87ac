// The XP look's tabs for each side: the light band behind the tabs, the base line along
// the page, the selected tab raised in the face colour and joined to the page, then every
// item's image and text with a thin separator wherever it cannot touch the raised tab.
#include "toolkit/controls/QZTabCtrlBase.h"

#include "framework/DC.h"
#include "framework/Wnd.h"
#include "toolkit/foundation/QZAuxData.h"

#include <commctrl.h>

namespace {

void DrawTabLine(CDC* pDC, CPen* pen, int x1, int y1, int x2, int y2)
{
    pDC->SelectObject(pen);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
}

} // namespace

void CQZTabCtrlBase::DrawTopTabs(CDC* pDC, CRect rectClient, CRect rectSelected)
{
    const CRect& a = rectClient;
    const CRect& s = rectSelected;
    pDC->SelectObject(&qzAfxData.fontNormal);
    const int baseY = a.top + s.Height();
    pDC->FillSolidRect(a.left, a.top, a.Width(), s.bottom - a.top, qzAfxData.colorFaceLighter);
    DrawTabLine(pDC, &m_penWindow, a.left, baseY, a.right, baseY);
    pDC->FillSolidRect(&s, qzAfxData.colorFace);
    DrawTabLine(pDC, &m_penWindow, s.left, s.top, s.left, baseY);
    DrawTabLine(pDC, &m_penWindow, s.right, s.top, s.left, s.top);
    DrawTabLine(pDC, &m_penWindowFrame, s.right, baseY - 1, s.right, s.top - 1);
    DrawTabLine(pDC, &m_penFace, s.left + 1, baseY, s.right, baseY);
    DrawItems(pDC, FALSE);
}

void CQZTabCtrlBase::DrawBottomTabs(CDC* pDC, CRect rectClient, CRect rectSelected)
{
    const CRect& a = rectClient;
    const CRect& s = rectSelected;
    pDC->SelectObject(&qzAfxData.fontNormal);
    pDC->FillSolidRect(a.left, s.top, a.Width(), a.bottom - s.top, qzAfxData.colorFaceLighter);
    DrawTabLine(pDC, &m_penWindowFrame, a.left, s.top, a.right, s.top);
    pDC->FillSolidRect(&s, qzAfxData.colorFace);
    DrawTabLine(pDC, &m_penWindowFrame, s.right, s.top + 1, s.right, s.bottom - 1);
    DrawTabLine(pDC, &m_penWindowFrame, s.right, s.bottom - 1, s.left, s.bottom - 1);
    DrawTabLine(pDC, &m_penWindow, s.left, s.top, s.left, s.bottom);
    DrawItems(pDC, FALSE);
}

void CQZTabCtrlBase::DrawLeftTabs(CDC* pDC, CRect rectClient, CRect rectSelected)
{
    const CRect& a = rectClient;
    const CRect& s = rectSelected;
    pDC->FillSolidRect(a.left, a.top, s.right - a.left, a.Height(), qzAfxData.colorFaceLighter);
    DrawTabLine(pDC, &m_penWindow, s.right, a.top, s.right, a.bottom);
    pDC->FillSolidRect(&s, qzAfxData.colorFace);
    DrawTabLine(pDC, &m_penWindow, s.left, s.top, s.left, s.bottom);
    DrawTabLine(pDC, &m_penWindow, s.right, s.top, s.left, s.top);
    DrawTabLine(pDC, &m_penWindowFrame, s.left, s.bottom, s.right, s.bottom);
    DrawTabLine(pDC, &m_penFace, s.right, s.top, s.right, s.bottom);
    DrawItems(pDC, TRUE);
}

void CQZTabCtrlBase::DrawRightTabs(CDC* pDC, CRect rectClient, CRect rectSelected)
{
    const CRect& a = rectClient;
    const CRect& s = rectSelected;
    pDC->FillSolidRect(s.left, a.top, a.right - s.left, a.Height(), qzAfxData.colorFaceLighter);
    DrawTabLine(pDC, &m_penWindowFrame, s.left, a.top, s.left, a.bottom);
    pDC->FillSolidRect(&s, qzAfxData.colorFace);
    DrawTabLine(pDC, &m_penWindowFrame, s.right, s.top, s.right, s.bottom + 1);
    DrawTabLine(pDC, &m_penWindowFrame, s.left, s.bottom, s.right, s.bottom);
    DrawTabLine(pDC, &m_penWindow, s.right, s.top, s.left, s.top);
    DrawTabLine(pDC, &m_penFace, s.left, s.top, s.left, s.bottom);
    DrawItems(pDC, TRUE);
}

void CQZTabCtrlBase::DrawItems(CDC* pDC, BOOL bVertical)
{
    if (!m_pTabCtrl)
        return;
    const int count = static_cast<int>(m_pTabCtrl->SendMessage(TCM_GETITEMCOUNT));
    const int selected = static_cast<int>(m_pTabCtrl->SendMessage(TCM_GETCURSEL));
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(m_pTabCtrl->SendMessage(TCM_GETIMAGELIST));
    int imageWidth = 0;
    int imageHeight = 0;
    if (images)
        ::ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    for (int i = 0; i < count; ++i) {
        CRect item(0, 0, 0, 0);
        m_pTabCtrl->SendMessage(TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        char text[64] = {};
        TCITEMA info = {};
        info.mask = TCIF_TEXT | TCIF_IMAGE;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        if (!m_pTabCtrl->SendMessage(TCM_GETITEMA, i, reinterpret_cast<LPARAM>(&info)))
            continue;
        pDC->SetBkMode(TRANSPARENT);
        CRect textRect = item;
        if (images && info.iImage >= 0) {
            if (bVertical) {
                ::ImageList_Draw(images, info.iImage, pDC->m_hDC, item.left + m_cxEdge, item.top + m_cxEdge,
                                 ILD_TRANSPARENT);
                textRect.top += imageHeight + m_cxEdge;
            } else {
                ::ImageList_Draw(images, info.iImage, pDC->m_hDC, item.left + 2 + m_cxEdge, item.top + m_cxEdge,
                                 ILD_TRANSPARENT);
                textRect.left += imageWidth + m_cxEdge;
            }
        }
        const bool isSelected = i == selected;
        const bool isBold = isSelected && m_bBoldSelected;
        pDC->SetTextColor(isSelected ? qzAfxData.colorButtonText : qzAfxData.colorXPBorder);
        // The selected tab and the one before it touch the raised tab's edges: no separator.
        const bool hasSeparator = i != selected && i != selected - 1;
        if (bVertical) {
            pDC->SelectObject(isBold ? &qzAfxData.fontVertBold : &qzAfxData.fontVert);
            const int extent = pDC->GetTextExtent(text, lstrlenA(text)).cx;
            const int y = textRect.bottom - (textRect.Height() - extent) / 2;
            pDC->ExtTextOut(item.left + m_cxEdge, y, ETO_CLIPPED, &textRect, text, lstrlenA(text), nullptr);
            if (hasSeparator)
                DrawTabLine(pDC, &m_penShadowDark, item.left + 2, item.bottom, item.right - 2, item.bottom);
        } else {
            pDC->SelectObject(isBold ? &qzAfxData.fontBold : &qzAfxData.fontNormal);
            pDC->DrawText(text, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            if (hasSeparator)
                DrawTabLine(pDC, &m_penShadowDark, item.right, item.top + 4, item.right, item.bottom - 2);
        }
    }
}
