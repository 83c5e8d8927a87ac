// What the library's file pickers (file button, file edit, file-name button) ask their
// dialog with, and the click they share as buttons: start on the linked edit's text or
// their own caption, and write the chosen name back there.
#pragma once

#include "lib/src/Win2/Wnd/iFileDialog.h"

#include "lib/src/iFileName.h"

#include "framework/Framework.h"

// Mixed into a picker window: open or save, default extension, flags, a filter in the
// bar form and the folder the dialog starts in.
class iFilePickerOptions {
public:
    virtual ~iFilePickerOptions();

    // A null extension gives none, a null filter (bar form, ending "||") every file.
    void SetOptions(BOOL openMode, LPCSTR defaultExtension, DWORD flags, LPCSTR filter);
    void SetInitialDir(LPCSTR path);

protected:
    // Open dialog, no default extension, no flags, every file.
    iFilePickerOptions();

    // Asks with the framework's file dialog owned by parent, starting on fileName; TRUE with
    // the path in chosen when the user confirmed a name.
    virtual BOOL AskForName(CWnd* parent, LPCSTR fileName, CString& chosen);
    // The click of a picker button: it starts on the text of the window it fills in (a file
    // edit there is handed these options but the folder) and writes the chosen name there.
    void ChooseForButton(CWnd& button);

    BOOL m_openMode = TRUE;
    iString m_defaultExtension;
    DWORD m_flags = 0;
    iString m_filter;
    iFileName m_initialDir;
};
