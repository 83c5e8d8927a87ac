// A push button that opens the shell's folder browser and writes the chosen folder into
// the window before it (the edit it serves) when its link bit is set, else into its own
// caption. Its click connector is never fired: the click is the browse.
#pragma once

#include "lib/src/Win2/Wnd/iButton.h"

class iFolderButton : public iPushButton {
public:
    // The style bit that links the button to the window before it; the application
    // creates its folder buttons with 0x10010010.
    static constexpr DWORD kLinkedStyle = IBS_LINKED;

    // Made as any push button: the folder button adds no style of its own.
    using iPushButton::iPushButton;

protected:
    // Runs the browse; the parent still sees the click.
    afx_msg BOOL OnBrowseReflect();
    DECLARE_MESSAGE_MAP()
};
