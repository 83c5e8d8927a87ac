// Skins: how the toolkit's bars and controls look. The classic skin offers no drawing
// proxies, so every caller draws in its own classic way; the XP skin offers the XP
// proxies. Drawing code asks for the current skin each time it draws, then for the
// proxy it needs, and draws classically when the answer is null.
#pragma once

#include <windows.h>

class CDC;
class CQZToolBar;
class CRect;
class CWnd;

// What a proxy asks of the skin that owns it.
class IQZProxySite {
public:
    // While a bar is being dragged, proxies show no hot and no pressed state.
    virtual bool IsDragMode() = 0;

protected:
    ~IQZProxySite() = default;
};

// Draws a combo box as a flat field with a flat drop button.
class IQZFlatComboProxy {
public:
    virtual void DrawFlatCombo(CWnd* pCombo, CDC* pDC, BOOL bHot) = 0;

protected:
    ~IQZFlatComboProxy() = default;
};

// Draws a toolbar's buttons, separators and drop-down decorations during its custom draw.
class IQZToolbarProxy {
public:
    // The placeholder of a child control, in the toolbar's back colour.
    virtual void FillButtonBackground(CDC* pDC, CQZToolBar* pBar, int nIndex) = 0;
    // One button; TRUE: it is fully drawn and the control's own drawing is skipped.
    virtual BOOL DrawButton(CDC* pDC, CQZToolBar* pBar, int nIndex) = 0;
    virtual void DrawSeparator(CDC* pDC, CQZToolBar* pBar, int nIndex) = 0;
    // The shadow of the button whose drop-down is open.
    virtual void DrawDropDownShadow(CDC* pDC, CQZToolBar* pBar, int nIndex) = 0;
    // After a drop-down closes: its button and shadow are drawn again.
    virtual void InvalidateDropDown(CQZToolBar* pBar, int nIndex) = 0;

protected:
    ~IQZToolbarProxy() = default;
};

class IQZSkin {
public:
    virtual IQZFlatComboProxy* GetFlatComboProxy() = 0;
    virtual IQZToolbarProxy* GetToolbarProxy() = 0;
    // TRUE while a bar drag is being tracked.
    virtual void SetDragMode(BOOL bDragMode) = 0;

protected:
    ~IQZSkin() = default;
};

// The XP skin while the XP look is on, else the classic skin; never null.
IQZSkin* QZGetCurrentSkin();

// A down-pointing arrow of 5, 3 and 1 pixels in the DC's text colour, centred in rect.
void QZDrawDropArrow(CDC* pDC, const CRect& rect);
