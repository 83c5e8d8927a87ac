// The library's file edit: an edit box that asks for a file name with the framework's
// file dialog on Ctrl + double-click and takes the chosen path as its text.
#pragma once

#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iFilePickerOptions.h"

class iFileEdit : public iPickerEdit, public iFilePickerOptions {
public:
    // iEdit's dialog-item form, with the picker edit's own styles; open dialog, no default
    // extension, no flags, every file.
    iFileEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    ~iFileEdit() override;

protected:
    // Asks for a file, starting on the text.
    BOOL AskForText(iString& chosen) override;
};
