// The system's open and save dialogs over one OPENFILENAME record: the caller's texts
// are copied into buffers of the object's own, the filter matching the initial name's
// extension is preselected, and a hook swaps the extension in the name box when the
// user picks another file type.
#pragma once

#include "lib/src/iString.h"

#include <windows.h>
#include <commdlg.h>

#include <memory>

// Built on the caller's stack, shown once, read, destroyed. The filter, initial folder,
// title and default extension are not copied: the caller keeps them alive meanwhile.
class iFileNameDialog {
public:
    // Room for any path the system hands back, the terminating null included.
    static constexpr DWORD kFileBufferSize = MAX_PATH;
    // The name box of the system's file dialogs: an edit (edt1) in the older layout, a
    // combo box with a history (cmb13) in the newer one.
    static constexpr int kFileNameEditId = 1152;
    static constexpr int kFileNameComboId = 1148;

    // filter and customFilter are pairs of description and pattern, each ending in a
    // null character, the list ending in a second null. A filter index of 0 with a
    // file name and a filter (and no custom filter) preselects the name's type.
    // A longer name or title than the buffers hold is cut to fit.
    iFileNameDialog(HWND owner, LPCSTR filter, LPCSTR customFilter, DWORD filterIndex, LPCSTR fileName,
                    LPCSTR fileTitle, LPCSTR initialDir, LPCSTR title, DWORD flags, LPCSTR defaultExtension);
    virtual ~iFileNameDialog();
    iFileNameDialog(const iFileNameDialog&) = delete;
    iFileNameDialog& operator=(const iFileNameDialog&) = delete;

    // TRUE when the user confirmed a name; the buffers are unchanged otherwise.
    BOOL DoOpen();
    BOOL DoSave();

    // After a confirmed dialog, makes the chosen path end in the chosen type's
    // extension. FALSE, the path unchanged, when the type has no plain extension (its
    // pattern does not begin "*.", or names no single one) or the result would not fit.
    [[nodiscard]] BOOL AppendFilterExtension();

    // Zero-based index of the first filter whose pattern lists the name's extension, or -1.
    int FindFilterIndex(LPCSTR fileName) const;
    // The first extension of the filter at the zero-based index ("*" for "*.*"), or empty.
    iString GetFilterExtension(int index) const;

    // Swaps the name box's extension when the file type changes; answers 0 to every message.
    static UINT_PTR CALLBACK HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    OPENFILENAMEA m_ofn;
    std::unique_ptr<char[]> m_customFilter;  // null without a custom filter
    DWORD m_customFilterSize = 0;
    char m_fileBuffer[kFileBufferSize];  // the initial and, after the dialog, the chosen path
    std::unique_ptr<char[]> m_fileTitle;  // null without a title buffer
    DWORD m_fileTitleSize = 0;
};
