// The library's file button: a push button that asks for a file name with the
// framework's file dialog and writes the chosen path into the window before it (the
// edit it serves) or into its own caption.
#pragma once

#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iFilePickerOptions.h"

// With IBS_LINKED the path goes to the window before the button, else to its caption.
class iFileButton : public iPushButton, public iFilePickerOptions {
public:
    // Made as any push button; open dialog, no default extension, no flags, every file.
    using iPushButton::iPushButton;

protected:
    // The click asks for a file; it reaches neither the click connector nor the parent.
    afx_msg BOOL OnChooseFile();
    DECLARE_MESSAGE_MAP()
};
