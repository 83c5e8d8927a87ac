// File-name pickers over the system's own open and save dialogs (iFileNameDialog): a
// push button that writes the chosen path into the edit before it (or its own caption),
// an edit box that asks for a name on Ctrl + double-click, and whether a path names a file.
#pragma once

#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iFileExists.h"
#include "lib/src/Win2/Wnd/iFilePickerOptions.h"

#include "lib/src/iFileName.h"

#include <string>

// The filter of a picker nobody gave one, in the dialog's own form.
constexpr char kAllFilesFilterList[] = "All Files (*.*)\0*.*\0";

// With IBS_LINKED the path goes to the window before the button, else to its caption.
// The filter is in the bar form: each description and pattern followed by "|", the list
// ended by a second "|".
class iFileNameButton : public iButton, public iFilePickerOptions {
public:
    // iButton's dialog-item form; open dialog, no default extension, no flags, every file.
    iFileNameButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    ~iFileNameButton() override;

    // Adds one pair given as description, "|", pattern, "|"; the list stays ended by "||".
    void AddFilter(LPCSTR pair);
    void AddFilter(const CString& pair);

    // Asks for a name; the click reaches neither the click connector nor the parent.
    afx_msg void OnClicked();

protected:
    // Asks with the system's dialog.
    BOOL AskForName(CWnd* parent, LPCSTR fileName, CString& chosen) override;
    DECLARE_MESSAGE_MAP()
};

class iFileNameEdit : public iPickerEdit {
public:
    // iEdit's dialog-item form, with the picker edit's own styles; open dialog, no default
    // extension, no flags, every file.
    iFileNameEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    ~iFileNameEdit() override;

    // The filter in the dialog's own form: description and pattern pairs, each ending in
    // a null character, the list in a second one; taken whole. A null filter gives every
    // file, a null extension none.
    void SetOptions(BOOL openMode, LPCSTR defaultExtension, DWORD flags, LPCSTR filter);
    void SetInitialDir(LPCSTR path);

protected:
    // Asks with the system's dialog, starting on the text.
    BOOL AskForText(iString& chosen) override;

    BOOL m_openMode = TRUE;
    iString m_defaultExtension;
    DWORD m_flags = 0;
    std::string m_filter;  // with its inner null characters and the list's final one
    iFileName m_initialDir;
};
