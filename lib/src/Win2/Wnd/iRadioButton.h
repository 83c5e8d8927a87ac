// The library's radio buttons: iRadioButton is an automatic radio button;
// iPositionRadioButton is an owner-drawn one that shows a raised or sunken square with a
// dark block at one of nine places, for picking a placement from a group of nine. It
// keeps its own check state and unchecks the rest of its group when it becomes checked,
// so the dialog manager and the radio-field exchange treat it as a standard radio button.
#pragma once

#include "lib/src/Win2/Wnd/iButton.h"

class iRadioButton : public iButton {
public:
    iRadioButton();
    // Both forms OR BS_AUTORADIOBUTTON into the style.
    iRadioButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iRadioButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iRadioButton() override;
};

class iPositionRadioButton : public iRadioButton {
public:
    // Position flags: horizontal left (0), centre or right, vertical top (0), middle or
    // bottom. Where both of a pair are set, centre and middle win.
    static constexpr DWORD kCentre = 0x01;
    static constexpr DWORD kRight = 0x02;
    static constexpr DWORD kMiddle = 0x10;
    static constexpr DWORD kBottom = 0x20;

    // Both forms make an owner-drawn button.
    iPositionRadioButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iPositionRadioButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                         LPVOID param);
    ~iPositionRadioButton() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    DWORD m_position = 0;  // the block's place, set by the owner

protected:
    afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    // Checking unchecks the other checked radio buttons of the group; answers 0.
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg UINT OnGetDlgCode();
    // Checks the button, then fires the click connector; the parent does not see the click.
    afx_msg BOOL OnPositionClicked();
    DECLARE_MESSAGE_MAP()

private:
    int m_checkState = BST_UNCHECKED;
};
