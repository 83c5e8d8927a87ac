// The colour picker's owner drawing: a push frame, the drop-down arrow behind a
// separator, the swatch of the picked colour and the caption in its contrast colour.
#include "toolkit/colour/QZColorPicker.h"

#include "framework/DC.h"
#include "toolkit/foundation/QZAuxData.h"

void CQZColorPicker::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    UINT state = lpDrawItemStruct->itemState;
    // An open popup keeps the button pushed and focused.
    if (m_bPopupOpen)
        state |= ODS_SELECTED | ODS_FOCUS;
    const bool isSelected = (state & ODS_SELECTED) != 0;
    const bool isDisabled = (state & ODS_DISABLED) != 0;

    const int saved = pDC->SaveDC();
    CRect rect(lpDrawItemStruct->rcItem);
    pDC->DrawFrameControl(&rect, DFC_BUTTON,
                          DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (isSelected ? DFCS_PUSHED : 0) |
                              (isDisabled ? DFCS_INACTIVE : 0));

    CRect arrow(rect);
    arrow.left = rect.Width() - qzAfxData.thumbWidth;
    if (isSelected)
        arrow.OffsetRect(1, 1);
    pDC->DrawFrameControl(&arrow, DFC_SCROLL, DFCS_SCROLLDOWN | (isDisabled ? DFCS_INACTIVE : 0));
    // Only the glyph stays: the scroll button's own frame goes under the face colour.
    pDC->Draw3dRect(&arrow, qzAfxData.colorFace, qzAfxData.colorFace);
    CRect arrowInside(arrow);
    arrowInside.DeflateRect(1, 1);
    pDC->Draw3dRect(&arrowInside, qzAfxData.colorFace, qzAfxData.colorFace);

    if (state & ODS_FOCUS)
        pDC->DrawFocusRect(&rect);

    CRect separator(arrow.left - 1, arrow.top + 2, arrow.left + 1, arrow.bottom - 2);
    pDC->Draw3dRect(&separator, qzAfxData.colorShadow, qzAfxData.colorHilite);

    if (isSelected || SendMessage(BM_GETCHECK) == BST_CHECKED)
        rect.OffsetRect(1, 1);
    rect.DeflateRect(2, 2);
    rect.right = arrow.left - 4;
    HBRUSH brush = ::CreateSolidBrush(isDisabled ? qzAfxData.colorFace : GetEffectiveColor());
    HPEN pen = ::CreatePen(PS_SOLID, 1, isDisabled ? qzAfxData.colorShadow : RGB(0, 0, 0));
    HGDIOBJ previousBrush = ::SelectObject(pDC->m_hDC, brush);
    HGDIOBJ previousPen = ::SelectObject(pDC->m_hDC, pen);
    pDC->Rectangle(&rect);
    ::SelectObject(pDC->m_hDC, previousPen);
    ::SelectObject(pDC->m_hDC, previousBrush);
    ::DeleteObject(pen);
    ::DeleteObject(brush);

    CString text;
    GetWindowText(text);
    if (!text.IsEmpty()) {
        pDC->SetTextColor(isDisabled ? qzAfxData.colorShadow : m_clrText);
        pDC->SetBkMode(TRANSPARENT);
        if (HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)))
            ::SelectObject(pDC->m_hDC, font);
        pDC->DrawText(text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    // Puts back the font, colours and mode the DC came with.
    pDC->RestoreDC(saved);
}
