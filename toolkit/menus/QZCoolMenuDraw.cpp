// Image menus: drawing one owner-drawn item in the classic or the XP look, its text with
// the accelerator aligned right, and check marks.
#include "toolkit/menus/QZCoolMenu.h"

#include "framework/DC.h"
#include "framework/Menu.h"
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZMenuItemInfo.h"
#include "toolkit/foundation/QZString.h"
#include "toolkit/foundation/QZVersion.h"
#include "toolkit/menus/QZPopupMenu.h"
#include "toolkit/res/ToolkitResources.h"

namespace {

// A one-pixel solid line in a colour, the pen put back afterwards.
void DrawItemEdgeLine(CDC* pDC, int x1, int y, int x2, COLORREF color)
{
    HPEN pen = ::CreatePen(PS_SOLID, 1, color);
    HGDIOBJ old = ::SelectObject(pDC->m_hDC, pen);
    ::MoveToEx(pDC->m_hDC, x1, y, nullptr);
    ::LineTo(pDC->m_hDC, x2, y);
    ::SelectObject(pDC->m_hDC, old);
    ::DeleteObject(pen);
}

bool IsWindows2000OrLater()
{
    const OSVERSIONINFOA* version = QZGetOSVersionInfo();
    return version->dwPlatformId == VER_PLATFORM_WIN32_NT && version->dwMajorVersion >= 5;
}

// The cell of an item with an image or a check: one pixel more at the top, right and bottom.
void GrowCell(CRect& cell)
{
    cell.top -= 1;
    cell.right += 1;
    cell.bottom += 1;
}

} // namespace

BOOL CQZCoolMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    // The newest menu window shows the items drawn now: it learns who draws them.
    if (CQZPopupMenu* newest = CQZPopupMenu::GetNewest())
        newest->m_pOwner = this;
    if (!lpDrawItemStruct || lpDrawItemStruct->CtlType != ODT_MENU)
        return FALSE;
    CQZItemData* record = CQZItemData::FromItemData(lpDrawItemStruct->itemData);
    if (!record)
        return FALSE;

    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    const int savedDC = pDC->SaveDC();
    HMENU hMenu = reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem);
    CMenu* menu = CMenu::FromHandle(hMenu);
    const int position = record->m_nPosition;
    const BOOL disabled = (lpDrawItemStruct->itemState & ODS_GRAYED) != 0;
    const BOOL checked = (lpDrawItemStruct->itemState & ODS_CHECKED) != 0;
    const BOOL selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    const bool shownHidden = (record->m_nPersonal & QZ_PERSONAL_HIDDEN) && m_bShowFullMenus;
    const BOOL last = IsLastItem(record->m_hMenu, position, record->m_nCommand);
    const BOOL first = IsFirstItem(record->m_hMenu, position);
    const bool xp = qzAfxData.xpLook != 0;
    CRect rc = lpDrawItemStruct->rcItem;

    COLORREF back = xp ? qzAfxData.colorXPMenuBack : (shownHidden ? qzAfxData.colorFaceLight : qzAfxData.colorMenu);
    if (xp) {
        // The menu window has no frame in the XP look: the items draw the border.
        rc.right += 2 * m_sizeFrame.cx;
        if (last)
            rc.bottom += 2 * m_sizeFrame.cy;
        pDC->Draw3dRect(rc, qzAfxData.colorXPBorder, qzAfxData.colorXPBorder);
        const int jointWidth = m_rcOpener.Width() - 2;
        const int jointHeight = m_rcOpener.Height() - 2;
        switch (record->m_nSide) {
        case CBRS_ALIGN_TOP:
            pDC->FillSolidRect(rc.left + 1, rc.top, jointWidth, 1, qzAfxData.colorXPBarFace);
            break;
        case CBRS_ALIGN_BOTTOM:
            pDC->FillSolidRect(rc.left + 1, rc.bottom - 1, jointWidth, 1, qzAfxData.colorXPBarFace);
            break;
        case CBRS_ALIGN_RIGHT:
            pDC->FillSolidRect(rc.right - 1, 1, 1, jointHeight, qzAfxData.colorXPBarFace);
            break;
        case CBRS_ALIGN_LEFT:
            pDC->FillSolidRect(rc.left, 1, 1, jointHeight, qzAfxData.colorXPBarFace);
            break;
        default:
            break;
        }
        rc.DeflateRect(1, 0);
        if (last)
            rc.bottom -= 1;
        if (first)
            rc.top += 1;
    }

    CRect fill = rc;
    if (!xp && !shownHidden)
        fill.top += 1;
    pDC->FillSolidRect(fill, back);
    pDC->SetBkMode(TRANSPARENT);

    const bool separator = (record->m_nType & MFT_SEPARATOR) != 0;
    if (xp) {
        if (first)
            rc.top += 1;
        if (last)
            rc.bottom -= 1;
        const bool darkColumn =
            shownHidden || (separator && IsNextItemHidden(menu, position) && IsPrevItemHidden(menu, position));
        pDC->FillSolidRect(rc.left, rc.top, 24, rc.Height(),
                           darkColumn ? qzAfxData.colorXPBarFaceDark : qzAfxData.colorXPBarFace);
        if (selected && !disabled) {
            CRect hot = rc;
            hot.DeflateRect(1, 0);
            pDC->FillSolidRect(hot, qzAfxData.colorXPHot);
            pDC->Draw3dRect(hot, qzAfxData.colorSelection, qzAfxData.colorSelection);
        }
    }

    if (lpDrawItemStruct->itemID == ID_QZ_FULL_MENUS || record->m_strText == QZ_CHEVRON_TEXT) {
        DrawChevron(pDC, rc, selected);
        m_bChevronSelected = selected != FALSE;
        pDC->RestoreDC(savedDC);
        return TRUE;
    }

    if (separator) {
        if (xp) {
            const int x = rc.left + 26;
            pDC->FillSolidRect(x, rc.top + rc.Height() / 2, rc.right - x - 1, 1, qzAfxData.colorXPSeparator);
        } else {
            if (m_bShowFullMenus && IsPrevItemHidden(menu, position) && IsNextItemHidden(menu, position)) {
                fill.top -= 1;
                pDC->FillSolidRect(fill, qzAfxData.colorFaceLight);
            }
            CRect line(rc.left + 12, rc.top + rc.Height() / 2, rc.right - 12, rc.bottom);
            pDC->DrawEdge(line, EDGE_ETCHED, BF_TOP);
        }
    } else {
        CRect cell(rc.left, rc.top, rc.left + m_sizeButton.cx, rc.top + m_sizeButton.cy);
        cell.OffsetRect(0, (rc.Height() - m_sizeButton.cy) >> 1);
        bool imageDrawn = false;
        if (record->m_nImage < 0) {
            QZ_MENUITEMINFO marks;
            marks.fMask = MIIM_CHECKMARKS;
            ::GetMenuItemInfoA(hMenu, record->m_nCommand, FALSE, &marks);
            if (checked || marks.hbmpUnchecked) {
                GrowCell(cell);
                DrawCheck(pDC, cell, selected, disabled, checked ? marks.hbmpChecked : marks.hbmpUnchecked);
                imageDrawn = true;
            }
        } else {
            GrowCell(cell);
            const CPoint at(cell.left + ((cell.Width() - m_sizeImage.cx) >> 1),
                            cell.top + ((cell.Height() - m_sizeImage.cy) >> 1));
            CImageList* images = GetDrawingImages();
            HICON icon = images ? images->ExtractIcon(record->m_nImage) : nullptr;
            if (xp) {
                HBRUSH shadow = ::CreateSolidBrush(qzAfxData.colorShadow);
                if (checked) {
                    CRect box(cell.left + 2, cell.top + 2, cell.right - 3, cell.bottom - 2);
                    const COLORREF frame = disabled ? qzAfxData.colorXPBorder : qzAfxData.colorSelection;
                    pDC->Draw3dRect(box, frame, frame);
                    box.DeflateRect(1, 1);
                    if (!disabled)
                        pDC->FillSolidRect(box, selected ? qzAfxData.colorXPPushed : qzAfxData.colorXPChecked);
                }
                if (icon) {
                    if (disabled) {
                        pDC->DrawState(at, m_sizeImage, icon, DST_ICON | DSS_MONO, shadow);
                    } else if (selected && !checked) {
                        // A shadow under the image, and the image lifted above it.
                        pDC->DrawState(CPoint(at.x + 1, at.y + 1), m_sizeImage, icon, DST_ICON | DSS_MONO, shadow);
                        pDC->DrawState(CPoint(at.x - 1, at.y - 1), m_sizeImage, icon, DST_ICON | DSS_NORMAL,
                                       static_cast<HBRUSH>(nullptr));
                    } else {
                        pDC->DrawState(at, m_sizeImage, icon, DST_ICON | DSS_NORMAL, static_cast<HBRUSH>(nullptr));
                    }
                }
                ::DeleteObject(shadow);
            } else {
                if (!shownHidden)
                    cell.top += 1;
                pDC->FillSolidRect(cell, back);
                if (disabled) {
                    if (icon)
                        pDC->DrawState(at, m_sizeImage, icon, DST_ICON | DSS_DISABLED, static_cast<HBRUSH>(nullptr));
                } else {
                    if (checked) {
                        pDC->DrawEdge(cell, BDR_SUNKENOUTER, BF_RECT);
                        if (!selected) {
                            CRect inside = cell;
                            inside.DeflateRect(1, 1);
                            QZDrawDitheredRect(pDC, inside);
                        }
                    } else if (selected) {
                        CRect raised = cell;
                        if (record->m_nPersonal & QZ_PERSONAL_PREV_SHOWN)
                            raised.top += 1;
                        pDC->DrawEdge(raised, BDR_RAISEDINNER, BF_RECT);
                    }
                    if (images)
                        ::ImageList_Draw(images->m_hImageList, record->m_nImage, pDC->m_hDC, at.x, at.y,
                                         ILD_TRANSPARENT);
                }
            }
            if (icon)
                ::DestroyIcon(icon);
            imageDrawn = true;
        }

        if (!xp && selected) {
            if (imageDrawn)
                fill.left += m_sizeButton.cx + 2;
            back = qzAfxData.colorSelection;
            pDC->FillSolidRect(fill, back);
        }

        CRect textRect = rc;
        textRect.left += m_sizeButton.cx + (xp ? 8 : 7);
        COLORREF textColor;
        if (xp)
            textColor = disabled ? qzAfxData.colorGrayText : qzAfxData.colorButtonText;
        else if (disabled)
            textColor = selected ? qzAfxData.colorFace : qzAfxData.colorGrayText;
        else
            textColor = selected ? qzAfxData.colorSelectionText : qzAfxData.colorMenuText;

        QZ_MENUITEMINFO stateInfo;
        stateInfo.fMask = MIIM_STATE;
        ::GetMenuItemInfoA(hMenu, record->m_nCommand, FALSE, &stateInfo);

        CString text = record->m_strText;
        if (IsWindows2000OrLater()) {
            BOOL cues = FALSE;
            if (::SystemParametersInfoA(SPI_GETMENUUNDERLINES, 0, &cues, 0))
                m_bKeyboardCues = cues;
            // Underlines only while the system shows them or the user works the menus by keyboard.
            if (!m_bKeyboardCues && !CQZMenuBar::m_bKeyboardCues)
                QZStripMnemonic(text);
        }
        pDC->SelectObject((stateInfo.fState & MFS_DEFAULT) ? &qzAfxData.fontBold : &qzAfxData.fontNormal);
        if (!xp && disabled && (!selected || textColor == back)) {
            CRect embossed = textRect;
            embossed.OffsetRect(1, 1);
            DrawMenuText(pDC, embossed, text, qzAfxData.colorHilite);
        }
        DrawMenuText(pDC, textRect, text, textColor);
    }

    if (!xp && shownHidden) {
        // The edges of a run of hidden items; a separator inside the run continues it.
        if ((record->m_nPersonal & QZ_PERSONAL_PREV_SHOWN) &&
            !(IsSeparatorAt(menu, position - 1) && IsPrevItemHidden(menu, position - 1)))
            DrawItemEdgeLine(pDC, rc.left, rc.top, rc.right, qzAfxData.colorShadow);
        if ((record->m_nPersonal & QZ_PERSONAL_NEXT_SHOWN) &&
            !(IsSeparatorAt(menu, position + 1) && IsNextItemHidden(menu, position + 1)))
            DrawItemEdgeLine(pDC, rc.left, rc.bottom, rc.right, qzAfxData.colorHilite);
    }
    pDC->RestoreDC(savedDC);
    return TRUE;
}

void CQZCoolMenu::DrawMenuText(CDC* pDC, CRect rect, CString text, COLORREF color)
{
    const int tab = text.Find('\t');
    const CString label = tab >= 0 ? text.Left(tab) : text;
    pDC->SetTextColor(color);
    pDC->DrawText(label, rect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    // A text that starts with a tab shows no accelerator.
    if (tab > 0) {
        rect.right -= qzAfxData.xpLook ? 20 : m_sizeButton.cx;
        pDC->DrawText(text.Mid(tab + 1), rect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
}

void CQZCoolMenu::DrawCheck(CDC* pDC, const RECT* pCell, BOOL bSelected, BOOL bDisabled, HBITMAP hbmCheck)
{
    CRect rc = *pCell;
    COLORREF glyph = qzAfxData.colorDarkShadow;
    const bool xp = qzAfxData.xpLook != 0;
    if (xp) {
        CRect box(rc.left + 2, rc.top + 2, rc.right - 3, rc.bottom - 2);
        const COLORREF frame = bDisabled ? qzAfxData.colorXPBorder : qzAfxData.colorSelection;
        pDC->Draw3dRect(box, frame, frame);
        box.DeflateRect(1, 1);
        rc.OffsetRect(2, 2);
        if (bDisabled)
            glyph = qzAfxData.colorXPBorder;
        else
            pDC->FillSolidRect(box, bSelected ? qzAfxData.colorXPPushed : qzAfxData.colorXPChecked);
    } else {
        if (bSelected)
            pDC->FillSolidRect(rc, qzAfxData.colorMenu);
        else
            QZDrawDitheredRect(pDC, rc);
        pDC->DrawEdge(rc, BDR_SUNKENOUTER, BF_RECT);
    }
    const int x = rc.left + 6;
    const int y = rc.top + 8;
    if (!hbmCheck) {
        static const POINT tick[] = {{0, 1}, {0, 2}, {1, 2}, {1, 3}, {2, 3}, {2, 4}, {3, 3},
                                     {3, 2}, {4, 2}, {4, 1}, {5, 1}, {5, 0}, {6, 0}, {6, -1}};
        for (const POINT& p : tick)
            pDC->SetPixel(x + p.x, y + p.y, glyph);
        if (!xp && bSelected) {
            static const POINT light[] = {{-1, 1}, {-1, 2}, {0, 3}, {1, 4}, {2, 5}, {3, 4},
                                          {4, 3},  {5, 2},  {6, 1}, {7, 0}, {7, -1}};
            for (const POINT& p : light)
                pDC->SetPixel(x + p.x, y + p.y, qzAfxData.colorHilite);
        }
        return;
    }
    // A round dot in five strokes with the current pen; a stroke's end point is not drawn.
    const int left = x + 1;
    struct Stroke {
        int dy, from, to;
    };
    static const Stroke dot[] = {{0, 1, 4}, {1, 0, 5}, {2, 0, 5}, {3, 0, 5}, {4, 1, 4}};
    for (const Stroke& s : dot) {
        pDC->MoveTo(left + s.from, y + s.dy);
        pDC->LineTo(left + s.to, y + s.dy);
    }
}

BOOL CQZCoolMenu::IsSeparatorAt(CMenu* pMenu, int nIndex)
{
    HMENU hMenu = pMenu->GetSafeHmenu();
    if (!hMenu || !::IsMenu(hMenu))
        return FALSE;
    if (nIndex >= ::GetMenuItemCount(hMenu) - 1)
        return TRUE;
    QZ_MENUITEMINFO info;
    info.fMask = MIIM_DATA;
    if (nIndex < 0 || !::GetMenuItemInfoA(hMenu, static_cast<UINT>(nIndex), TRUE, &info))
        return FALSE;
    CQZItemData* record = CQZItemData::FromItemData(info.dwItemData);
    return record && (record->m_nType & MFT_SEPARATOR);
}
