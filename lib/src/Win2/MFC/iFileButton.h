// The library's file button: a push button that asks for a file name with the
// framework's file dialog and writes the chosen path into the window before it (the
// edit it serves) or into its own caption.
#pragma once

#include "lib/src/Win2/MFC/iButton.h"

#include "lib/src/iFileName.h"

// The library's button style bit that links a file button to the window before it (in
// a dialog, the control before it in the tab order); meaningless for push buttons.
constexpr DWORD IBS_LINKED = 0x0010;

class iFileButton : public iPushButton {
public:
    // Open dialog, no default extension, no flags, every file.
    iFileButton();
    iFileButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iFileButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iFileButton() override;

    // A null extension gives none, a null filter (bar form, ending "||") every file.
    void SetOptions(BOOL openMode, LPCSTR defaultExtension, DWORD flags, LPCSTR filter);
    void SetInitialDir(LPCSTR path);

protected:
    // The click asks for a file; it reaches neither the click connector nor the parent.
    afx_msg BOOL OnChooseFile();
    DECLARE_MESSAGE_MAP()

    BOOL m_openMode = TRUE;
    iString m_defaultExtension;
    DWORD m_flags = 0;
    iString m_filter;
    iFileName m_initialDir;
};
