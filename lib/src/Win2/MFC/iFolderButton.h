// A push button that opens the shell's folder browser and writes the chosen folder into
// the window before it (the edit it serves) when its link bit is set, else into its own
// caption. Its click connector is never fired: the click is the browse.
#pragma once

#include "lib/src/Win2/MFC/iButton.h"

class iFolderButton : public iPushButton {
public:
    // The style bit, meaningless for push buttons, that links the button to the window
    // before it; the application creates its folder buttons with 0x10010010.
    static constexpr DWORD kLinkedStyle = 0x10;

    iFolderButton();
    iFolderButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iFolderButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iFolderButton() override;

protected:
    // Runs the browse; the parent still sees the click.
    afx_msg BOOL OnBrowseReflect();
    DECLARE_MESSAGE_MAP()
};
