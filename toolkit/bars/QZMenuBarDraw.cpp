// The menu bar's painting: the face colour, each visible item through its own handler, the
// entries in the classic and the XP look with their texts across or down the bar and
// their mnemonic underlines, and the shadow of the open entry in the XP look.
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/bars/QZMenuBarVisibleItems.h"

#include "framework/DC.h"
#include "framework/PaintDC.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZShadow.h"
#include "toolkit/foundation/QZString.h"

#include <algorithm>

void CQZMenuBar::OnPaint()
{
    const bool shadow = m_nCurrentItem >= 0 && m_nCurrentItem < m_arrItems.GetSize() && m_hPopupMenu &&
                        qzAfxData.xpLook && qzAfxData.popupShadows;
    CRect shadowRect;
    if (shadow) {
        GetItemRect(&shadowRect, m_arrItems[m_nCurrentItem]);
        shadowRect.right += 4;
        shadowRect.bottom += 4;
        InvalidateRect(shadowRect, TRUE);
    }
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, GetBackColor());
    const CQZVisibleMenuBarItems visible(this, QZ_MBI_ALL);
    for (int index : visible)
        m_arrItems[index]->Draw(&memDC);
    if (shadow)
        QZDrawShadowRect(&memDC, shadowRect, 100);
}

UINT CQZMenuBar::GetDockSide()
{
    if (m_dwStyle & CBRS_FLOATING)
        return CBRS_ALIGN_TOP;
    return m_dwStyle & CBRS_ALIGN_ANY;
}

CFont* CQZMenuBar::GetItemFont()
{
    if (IsUndocked() || IsHorzDocked())
        return &qzAfxData.fontNormal;
    return &qzAfxData.fontVertRev;
}

void CQZMenuBar::DrawSubMenuItem(CDC* pDC, CQZSubMenuBarItem* pItem)
{
    const BOOL horz = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM | CBRS_FLOATING)) != 0;
    const int oldMode = ::SetGraphicsMode(pDC->m_hDC, GM_ADVANCED);
    CRect rect;
    GetItemRect(&rect, pItem);
    const bool hot = m_nHotItem >= 0 && m_nHotItem < m_arrItems.GetSize() && m_arrItems[m_nHotItem] == pItem;
    const bool open = m_hPopupMenu != nullptr;
    CRect clip;
    pDC->GetClipBox(&clip);
    rect.right = std::min(rect.right, clip.right);
    rect.bottom = std::min(rect.bottom, clip.bottom);
    if (hot && m_bFrameActive) {
        if (qzAfxData.xpLook && !open) {
            pDC->FillSolidRect(rect, qzAfxData.colorXPHot);
            pDC->Draw3dRect(rect, qzAfxData.colorSelection, qzAfxData.colorSelection);
        } else if (qzAfxData.xpLook) {
            // The edge that faces the popup stays in the frame colour: the popup joins there.
            pDC->Draw3dRect(rect, qzAfxData.colorXPBorder, qzAfxData.colorXPBorder);
            const int w = rect.Width();
            const int h = rect.Height();
            switch (GetDockSide()) {
            case CBRS_ALIGN_BOTTOM:
                pDC->FillSolidRect(rect.left + 1, rect.top, w - 2, h - 1, qzAfxData.colorXPBarFace);
                break;
            case CBRS_ALIGN_LEFT:
                pDC->FillSolidRect(rect.left + 1, rect.top + 1, w - 1, h - 2, qzAfxData.colorXPBarFace);
                break;
            case CBRS_ALIGN_RIGHT:
                pDC->FillSolidRect(rect.left, rect.top + 1, w - 1, h - 2, qzAfxData.colorXPBarFace);
                break;
            default:
                pDC->FillSolidRect(rect.left + 1, rect.top + 1, w - 2, h - 1, qzAfxData.colorXPBarFace);
                break;
            }
        } else if (!open) {
            pDC->Draw3dRect(rect, qzAfxData.colorHilite, qzAfxData.colorShadow);
        } else {
            pDC->Draw3dRect(rect, qzAfxData.colorShadow, qzAfxData.colorHilite);
            rect.OffsetRect(1, 1);
        }
    }
    DrawItemText(pDC, rect, pItem, horz);
    ::SetGraphicsMode(pDC->m_hDC, oldMode);
}

void CQZMenuBar::DrawItemText(CDC* pDC, CRect rect, CQZSubMenuBarItem* pItem, BOOL bHorz)
{
    const int savedDC = pDC->SaveDC();
    const COLORREF color = m_bFrameActive ? qzAfxData.colorMenuText : qzAfxData.colorGrayText;
    pDC->SetTextColor(color);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SelectObject(GetItemFont());
    if (bHorz) {
        // Horizontal text stays in the item's own place, also while the item looks pressed.
        CRect own;
        GetItemRect(&own, pItem);
        DrawItemTextHorz(pDC, own, pItem);
    } else {
        DrawItemTextVert(pDC, rect, pItem, color);
    }
    pDC->RestoreDC(savedDC);
}

void CQZMenuBar::DrawItemTextHorz(CDC* pDC, CRect rect, CQZSubMenuBarItem* pItem)
{
    CString text = pItem->m_strText;
    // With the markers left in, the system underlines the mnemonic.
    if (!m_bShowUnderlines && !m_bKeyboardCues)
        QZStripMnemonic(text);
    pDC->DrawText(text, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CQZMenuBar::DrawItemTextVert(CDC* pDC, CRect rect, CQZSubMenuBarItem* pItem, COLORREF color)
{
    CString text = pItem->m_strText;
    const int mnemonicIndex = text.Find('&');
    QZStripMnemonic(text);
    ::SetGraphicsMode(pDC->m_hDC, GM_ADVANCED);
    SIZE extent = {};
    ::GetTextExtentPoint32A(pDC->m_hAttribDC, text, text.GetLength(), &extent);
    // Turned, the text is extent.cy wide and extent.cx high.
    int dx = rect.Width() - extent.cy;
    int dy = rect.Height() - extent.cx;
    if (dx < 0)
        dx = 2;
    if (dy < 0)
        dy = 2;
    CRect textRect = rect;
    textRect.OffsetRect(rect.Width() - dx / 2, 0);
    textRect.left += dx / 2;
    textRect.right -= dx / 2;
    textRect.top += dy / 2;
    textRect.bottom -= dy / 2;
    pDC->DrawText(text, textRect, DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);

    if (mnemonicIndex < 0 || mnemonicIndex >= text.GetLength() || !(m_bShowUnderlines || m_bKeyboardCues))
        return;
    LPCSTR chars = text;
    SIZE underline = {};
    ::GetTextExtentPoint32A(pDC->m_hAttribDC, chars + mnemonicIndex, 1, &underline);
    textRect.OffsetRect(1 - extent.cy, 0);
    for (int i = 0; i < mnemonicIndex; ++i) {
        SIZE one = {};
        ::GetTextExtentPoint32A(pDC->m_hAttribDC, chars + i, 1, &one);
        textRect.top += one.cx;
    }
    HPEN pen = ::CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldPen = ::SelectObject(pDC->m_hDC, pen);
    ::MoveToEx(pDC->m_hDC, textRect.left, textRect.top, nullptr);
    ::LineTo(pDC->m_hDC, textRect.left, textRect.top + underline.cx);
    ::SelectObject(pDC->m_hDC, oldPen);
    ::DeleteObject(pen);
}
