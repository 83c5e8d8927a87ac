// The framework's file dialog with an initial folder kept by the object, and the one
// call the library's file pickers make: ask for a name with their five options.
#pragma once

#include "lib/src/iFileName.h"

#include "framework/Framework.h"

// The filter of a picker nobody gave one: every file.
constexpr const char* kAllFilesFilter = "All Files (*.*)|*.*||";

class iFileDialog : public CFileDialog {
public:
    // Both pass their values to CFileDialog in its order; the filter is in the bar form.
    iFileDialog(BOOL openMode, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags, LPCSTR filter,
                CWnd* parent);
    iFileDialog(CWnd* parent, BOOL openMode, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags,
                LPCSTR filter);
    ~iFileDialog() override;

    // Keeps a copy of the path, which the dialog starts in.
    void SetInitialDir(LPCSTR path);

private:
    iFileName m_initialDir;
};

// Runs the open (openMode TRUE) or save dialog owned by parent, starting on fileName and,
// when one is given, in initialDir; TRUE with the chosen path in chosen when the user
// confirmed a name. An empty default extension adds none.
[[nodiscard]] BOOL AskForFileName(CWnd* parent, BOOL openMode, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags,
                                  LPCSTR filter, LPCSTR initialDir, CString& chosen);
