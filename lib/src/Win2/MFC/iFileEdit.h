// The library's file edit: an edit box that asks for a file name with the framework's
// file dialog on Ctrl + double-click and takes the chosen path as its text.
#pragma once

#include "lib/src/Win2/MFC/iEdit.h"

#include "lib/src/iFileName.h"

class iFileEdit : public iEdit {
public:
    // iEdit's dialog-item form, with the file edit's own styles; open dialog, no default
    // extension, no flags, every file.
    iFileEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    ~iFileEdit() override;

    // A null extension gives none, a null filter (bar form, ending "||") every file.
    void SetOptions(BOOL openMode, LPCSTR defaultExtension, DWORD flags, LPCSTR filter);
    void SetInitialDir(LPCSTR path);
    CString GetText() const;

    // Scrolls sideways, has a client edge instead of a border.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    // A plain double-click selects a word; with Ctrl it asks for a file.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    BOOL m_openMode = TRUE;
    iString m_defaultExtension;
    DWORD m_flags = 0;
    iString m_filter;
    iFileName m_initialDir;
};
