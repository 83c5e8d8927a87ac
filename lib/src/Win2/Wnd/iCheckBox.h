// The library's check box: an automatic check box that marks its property page modified
// on every click before reporting the click like any library button.
#pragma once

#include "lib/src/Win2/Wnd/iButton.h"

class iCheckBox : public iButton {
public:
    // Both forms OR BS_AUTOCHECKBOX into the style: a style of another button type keeps
    // its bits, ORed with those.
    iCheckBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iCheckBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iCheckBox() override;

protected:
    // Marks the page, then fires the click connector; the parent still sees the click.
    afx_msg BOOL OnCheckClicked();
    DECLARE_MESSAGE_MAP()
};
