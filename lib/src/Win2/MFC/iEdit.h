// The edits the application creates: iEdit is the library's edit with a sunken client
// edge; iFolderEdit is an iEdit that opens the shell's folder browser on Ctrl+double-click
// and takes the chosen folder as its text.
#pragma once

#include "lib/src/Win2/MFC/iEditCtrl.h"

class iEdit : public iEditCtrl {
public:
    iEdit();
    // Both forms create the window while the object is already an iEdit, so that its
    // client edge applies.
    iEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iEdit() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    DECLARE_MESSAGE_MAP()
};

class iFolderEdit : public iEdit {
public:
    // iEdit's dialog-item form: the window is made as an iEdit's, so it carries iEdit's
    // client edge only. Its own styles apply to a window created later for this object.
    iFolderEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    ~iFolderEdit() override;

    // Scrolls sideways, has a client edge instead of a border.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    // A plain double-click selects a word; with Ctrl it browses for a folder.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};
