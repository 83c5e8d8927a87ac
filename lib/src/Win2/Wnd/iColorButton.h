// A button that shows a colour as a sunken swatch with its caption in the inverse
// colour, lets the user choose another with the system's colour dialog when clicked,
// and tells its parent about a new colour with a WM_COMMAND notification of its own.
#pragma once

#include "lib/src/Win2/Wnd/iButton.h"

class iColorButton : public iButton {
public:
    // The notification code posted to the parent after the user chose a colour.
    static constexpr WORD kColorChanged = 0x0400;

    iColorButton();
    // Both forms make an owner-drawn button.
    iColorButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iColorButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iColorButton() override;

    // A button taken over from a template becomes owner-drawn unless it already has a
    // type (check box, radio button, default push button and the like).
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    COLORREF m_color = RGB(0, 0, 0);
    DWORD m_dialogFlags = CC_ANYCOLOR;  // flags for the colour dialog

protected:
    // The click opens the colour dialog; it reaches neither the click connector nor the parent.
    afx_msg BOOL OnChooseColor();
    DECLARE_MESSAGE_MAP()
};
