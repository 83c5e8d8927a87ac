// The edits the application creates: iEdit is the library's edit with a sunken client
// edge; iPickerEdit asks for its text with a dialog on Ctrl+double-click, and
// iFolderEdit is the picker edit that opens the shell's folder browser.
#pragma once

#include "lib/src/Win2/Wnd/iEditCtrl.h"

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

// The picker edits (folder, file and file-name edits) take the chosen text as their own.
class iPickerEdit : public iEdit {
public:
    // iEdit's forms make the window as an iEdit's; a derived class that wants this class's
    // styles creates from its own constructor.
    using iEdit::iEdit;

    // Scrolls sideways, has a client edge instead of a border.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    // Asks for the new text; TRUE with it in chosen when the user confirmed one.
    virtual BOOL AskForText(iString& chosen) = 0;

    // A plain double-click selects a word; with Ctrl it asks for the text.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()
};

class iFolderEdit : public iPickerEdit {
public:
    // iEdit's dialog-item form: the window is made as an iEdit's, so it carries iEdit's
    // client edge only. Its own styles apply to a window created later for this object.
    iFolderEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    ~iFolderEdit() override;

protected:
    // Browses for a folder.
    BOOL AskForText(iString& chosen) override;
};
