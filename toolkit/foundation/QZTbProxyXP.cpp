// The XP toolbar proxy: each button, separator and drop-down decoration drawn in the XP
// look during the toolbar's custom draw. Every state is worked out and every image
// extracted anew on each paint; nothing is cached.
#include "toolkit/foundation/QZSkinProxies.h"

#include "framework/DC.h"
#include "framework/GdiObjects.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZShadow.h"

namespace {

// The right part of a button with a drop-down arrow.
constexpr int kArrowWidth = 14;
constexpr int kShadowReach = 4;

QZToolbarIconSource g_iconSource = &ImageList_GetIcon;

enum class ButtonState { Normal, Hot, Pressed, DropDownOpen };

// Colours and offsets of one button, from its kind and state.
struct ButtonLook {
    COLORREF back;
    COLORREF text;
    COLORREF borderColour;
    bool hasBorder = false;
    int imageOffset = 0;
};

ButtonLook LookOf(bool checked, bool indeterminate, bool disabled, ButtonState state, COLORREF back)
{
    const QZ_AUX_DATA& data = qzAfxData;
    ButtonLook look{back, data.colorMenuText, data.colorSelection};
    const bool pressed = state == ButtonState::Pressed;
    const bool hot = state == ButtonState::Hot;
    if (checked) {
        look.imageOffset = -1;
        look.hasBorder = true;
        if (disabled) {
            look.back = data.colorFace;
            look.borderColour = data.colorXPBorder;
        } else if (pressed || hot) {
            look.back = data.colorXPPushed;
            look.text = data.colorXPPushedText;
        } else {
            look.back = data.colorXPChecked;
        }
    } else if (indeterminate) {
        if (disabled) {
            look.back = data.colorFaceLight;
        } else if (pressed) {
            look.back = data.colorXPPushed;
            look.text = data.colorXPPushedText;
        } else if (hot) {
            look.back = data.colorXPHot;
        }
    } else if (!disabled) {
        if (pressed) {
            look.back = data.colorXPPushed;
            look.text = data.colorXPPushedText;
            look.hasBorder = true;
            look.imageOffset = 1;
        } else if (hot) {
            look.back = data.colorXPHot;
            look.hasBorder = true;
            look.imageOffset = -1;
        }
    }
    return look;
}

CRect ItemRect(CQZToolBar* pBar, int nIndex)
{
    CRect rect;
    if (!pBar->SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rect)))
        rect.SetRectEmpty();
    return rect;
}

void FrameIn(CDC* pDC, const CRect& rect, COLORREF colour)
{
    CBrush brush(colour);
    pDC->FrameRect(&rect, &brush);
}

// The button's state as the control and the mouse show it.
ButtonState StateOf(CQZToolBar* pBar, int nIndex, const TBBUTTON& button, IQZProxySite* site)
{
    ButtonState state = ButtonState::Normal;
    if (static_cast<int>(pBar->SendMessage(TB_GETHOTITEM)) == nIndex)
        state = ButtonState::Hot;
    else if (button.fsState & TBSTATE_PRESSED)
        state = ButtonState::Pressed;
    POINT cursor;
    if (::GetCursorPos(&cursor)) {
        pBar->ScreenToClient(&cursor);
        const int hit = static_cast<int>(pBar->SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&cursor)));
        if (hit == nIndex) {
            if (::GetKeyState(VK_LBUTTON) < 0 && !site->IsDragMode())
                state = ButtonState::Pressed;
        } else if (state == ButtonState::Hot) {
            state = ButtonState::Normal;
        }
    }
    if (pBar->m_nDropDownIndex == nIndex)
        state = ButtonState::DropDownOpen;
    return state;
}

HIMAGELIST ImageListOf(CQZToolBar* pBar, UINT message)
{
    return reinterpret_cast<HIMAGELIST>(pBar->SendMessage(message));
}

void DrawIconState(CDC* pDC, HICON icon, CPoint at, CSize size, UINT flags, HBRUSH brush)
{
    ::DrawStateA(pDC->m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, at.x, at.y, size.cx, size.cy,
                 DST_ICON | flags);
}

// What the text callback of DrawState needs.
struct ButtonTextJob {
    LPCSTR text;
    UINT format;
};

BOOL CALLBACK DrawButtonTextJob(HDC dc, LPARAM data, WPARAM, int cx, int cy)
{
    const auto* job = reinterpret_cast<const ButtonTextJob*>(data);
    RECT rect = {0, 0, cx, cy};
    ::DrawTextA(dc, job->text, lstrlenA(job->text), &rect, job->format);
    return TRUE;
}

} // namespace

QZToolbarIconSource QZSetToolbarIconSource(QZToolbarIconSource source)
{
    QZToolbarIconSource previous = g_iconSource;
    g_iconSource = source ? source : &ImageList_GetIcon;
    return previous;
}

void CQZTbProxyXP::FillButtonBackground(CDC* pDC, CQZToolBar* pBar, int nIndex)
{
    pDC->FillSolidRect(ItemRect(pBar, nIndex), pBar->GetBackColor());
}

BOOL CQZTbProxyXP::DrawButton(CDC* pDC, CQZToolBar* pBar, int nIndex)
{
    CFont* previousFont = pDC->SelectObject(CFont::FromHandle(reinterpret_cast<HFONT>(pBar->SendMessage(WM_GETFONT))));
    const int previousMode = pDC->SetBkMode(TRANSPARENT);

    CRect item = ItemRect(pBar, nIndex);
    TBBUTTON button = {};
    pBar->GetButton(nIndex, &button);
    const ButtonState state = StateOf(pBar, nIndex, button, m_pSite);
    const bool checked = (button.fsState & TBSTATE_CHECKED) != 0;
    const bool indeterminate = (button.fsState & TBSTATE_INDETERMINATE) != 0;
    const bool disabled = (button.fsState & QZ_TBSTATE_DISABLED) != 0;
    const COLORREF barBack = pBar->m_bInReBar ? qzAfxData.colorFace : pBar->GetBackColor();
    const ButtonLook look = LookOf(checked, indeterminate, disabled, state, barBack);

    pDC->FillSolidRect(&item, look.back);
    const bool hasArrow = (pBar->SendMessage(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS) &&
                          (button.fsStyle & BTNS_DROPDOWN);
    const CRect arrow(item.right - kArrowWidth, item.top, item.right, item.bottom);
    if (state == ButtonState::DropDownOpen) {
        // Open toward the menu below: no line along the bottom.
        CPen pen(PS_SOLID, 1, qzAfxData.colorXPBorder);
        CPen* previousPen = pDC->SelectObject(&pen);
        pDC->MoveTo(item.left, item.top);
        pDC->LineTo(item.right - 1, item.top);
        pDC->LineTo(item.right - 1, item.bottom);
        pDC->MoveTo(item.left, item.bottom);
        pDC->LineTo(item.left, item.top);
        pDC->SelectObject(previousPen);
    } else if (look.hasBorder) {
        FrameIn(pDC, item, look.borderColour);
        if (hasArrow)
            FrameIn(pDC, arrow, look.borderColour);
    }

    const int saved = pDC->SaveDC();
    const QZ_DROPDOWNBUTTON* dropDown = pBar->FindDropDownButton(static_cast<UINT>(button.idCommand));
    if (dropDown && dropDown->bShowColor && dropDown->bColorPopup) {
        // The current colour under the image; the image must not cover it.
        const CRect colourBar(item.left + 4, item.bottom - 7, item.left + pBar->m_sizeButton.cx - 4, item.bottom - 4);
        pDC->FillSolidRect(&colourBar, disabled ? qzAfxData.colorShadow : dropDown->clrCurrent);
        pDC->ExcludeClipRect(&colourBar);
    }
    const COLORREF previousText = pDC->SetTextColor(look.text);
    const COLORREF previousBack = pDC->SetBkColor(look.back);
    if (hasArrow)
        QZDrawDropArrow(pDC, arrow);

    const CSize image = pBar->m_sizeImage;
    const int buttonWidth = pBar->m_sizeButton.cx;
    const bool isList = (pBar->GetStyle() & TBSTYLE_LIST) != 0;
    CPoint at;
    if (button.iString < 0) {
        at.x = item.left + (item.Width() - (image.cx + (hasArrow ? 16 : 0))) / 2;
        at.y = isList ? (item.top + item.bottom - image.cy) / 2 : item.top + 3;
    } else if (isList) {
        at.y = (item.top + item.bottom - image.cy) / 2;
        at.x = item.left + (buttonWidth - image.cx) / 2 + 2;
        const int textX = at.x + image.cx + 3;
        DrawButtonText(pDC, pBar, textX, item.top + 1, item.right - textX - (hasArrow ? 17 : 0), item.Height() - 2,
                       pBar->GetButtonText(nIndex), DT_SINGLELINE | DT_VCENTER, disabled);
    } else {
        at.x = item.left + (item.Width() - (image.cx + (hasArrow ? kArrowWidth : 0))) / 2 - 1;
        at.y = item.top + 3;
        DrawButtonText(pDC, pBar, item.left + 3, item.top + image.cy + 5,
                       item.Width() - 6 - (hasArrow ? kArrowWidth : 0), image.cy, pBar->GetButtonText(nIndex),
                       DT_CENTER, disabled);
    }

    if (button.iBitmap >= 0) {
        HIMAGELIST disabledList = ImageListOf(pBar, TB_GETDISABLEDIMAGELIST);
        HIMAGELIST list = nullptr;
        if (disabled)
            list = disabledList;
        else if (state == ButtonState::Hot)
            list = ImageListOf(pBar, TB_GETHOTIMAGELIST);
        if (!list)
            list = ImageListOf(pBar, TB_GETIMAGELIST);
        HICON icon = list ? g_iconSource(list, button.iBitmap, ILD_NORMAL) : nullptr;
        if (icon) {
            at.Offset(look.imageOffset, look.imageOffset);
            CBrush shadowBrush(qzAfxData.colorShadow);
            if (disabled && !disabledList) {
                DrawIconState(pDC, icon, at, image, DSS_MONO, static_cast<HBRUSH>(shadowBrush.m_hObject));
            } else {
                if (state == ButtonState::Hot && !checked) {
                    // The hot image floats over its shadow.
                    const CPoint shadowAt(at.x + 2, at.y + 2);
                    HICON shadowIcon = disabledList ? g_iconSource(disabledList, button.iBitmap, ILD_NORMAL) : nullptr;
                    if (shadowIcon) {
                        DrawIconState(pDC, shadowIcon, shadowAt, image, DSS_NORMAL, nullptr);
                        ::DestroyIcon(shadowIcon);
                    } else {
                        DrawIconState(pDC, icon, shadowAt, image, DSS_MONO,
                                      static_cast<HBRUSH>(shadowBrush.m_hObject));
                    }
                }
                DrawIconState(pDC, icon, at, image, DSS_NORMAL, nullptr);
            }
            ::DestroyIcon(icon);
        }
    }

    pDC->SetTextColor(previousText);
    pDC->SetBkColor(previousBack);
    pDC->RestoreDC(saved);
    pDC->SetBkMode(previousMode);
    pDC->SelectObject(previousFont);
    return TRUE;
}

void CQZTbProxyXP::DrawButtonText(CDC* pDC, CQZToolBar* pBar, int x, int y, int cx, int cy, LPCSTR lpszText,
                                  UINT nFormat, BOOL bDisabled)
{
    if (!lpszText || !*lpszText || cx <= 0 || cy <= 0)
        return;
    ButtonTextJob job = {lpszText, pBar->ApplyDrawTextFlags(nFormat)};
    CBrush shadowBrush(qzAfxData.colorShadow);
    ::DrawStateA(pDC->m_hDC, bDisabled ? static_cast<HBRUSH>(shadowBrush.m_hObject) : nullptr, &DrawButtonTextJob,
                 reinterpret_cast<LPARAM>(&job), 0, x, y, cx, cy, DST_COMPLEX | (bDisabled ? DSS_MONO : 0));
}

void CQZTbProxyXP::DrawSeparator(CDC* pDC, CQZToolBar* pBar, int nIndex)
{
    CRect rect = ItemRect(pBar, nIndex);
    TBBUTTON button = {};
    pBar->GetButton(nIndex, &button);
    CPen pen(PS_SOLID, 1, qzAfxData.colorXPSeparator);
    CPen* previousPen = pDC->SelectObject(&pen);
    if (button.fsState & TBSTATE_WRAP) {
        // A wrapped row's separator lies across the whole toolbar.
        CRect client;
        pBar->GetClientRect(&client);
        const int width = rect.Width();
        rect.SetRect(rect.left, rect.bottom - width, client.Width(), rect.bottom);
        pDC->FillSolidRect(&rect, pBar->GetBackColor());
        const int y = (rect.top + rect.bottom) / 2 - 1;
        pDC->MoveTo(rect.left, y);
        pDC->LineTo(rect.right, y);
    } else {
        pDC->FillSolidRect(&rect, pBar->GetBackColor());
        pDC->MoveTo(rect.left + 3, rect.top + 2);
        pDC->LineTo(rect.left + 3, rect.bottom - 2);
    }
    pDC->SelectObject(previousPen);
}

void CQZTbProxyXP::DrawDropDownShadow(CDC* pDC, CQZToolBar* pBar, int nIndex)
{
    if (!qzAfxData.popupShadows)
        return;
    CRect rect = ItemRect(pBar, nIndex);
    rect.right += kShadowReach;
    rect.bottom += kShadowReach;
    QZDrawShadowRect(pDC, rect, 100);
}

void CQZTbProxyXP::InvalidateDropDown(CQZToolBar* pBar, int nIndex)
{
    CRect rect = ItemRect(pBar, nIndex);
    rect.right += kShadowReach;
    rect.bottom += kShadowReach;
    pBar->InvalidateRect(&rect, TRUE);
}
