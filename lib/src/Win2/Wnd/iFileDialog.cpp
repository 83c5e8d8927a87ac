// The file dialog with its own initial folder, and the pickers' question for a name.
#include "lib/src/Win2/Wnd/iFileDialog.h"

iFileDialog::iFileDialog(BOOL openMode, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parent)
    : CFileDialog(openMode, defaultExtension, fileName, flags, filter, parent)
{
}

iFileDialog::iFileDialog(CWnd* parent, BOOL openMode, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags,
                         LPCSTR filter)
    : CFileDialog(openMode, defaultExtension, fileName, flags, filter, parent)
{
}

iFileDialog::~iFileDialog() = default;

void iFileDialog::SetInitialDir(LPCSTR path)
{
    m_initialDir = path;
    m_ofn.lpstrInitialDir = m_initialDir;
}

BOOL AskForFileName(CWnd* parent, BOOL openMode, LPCSTR defaultExtension, LPCSTR fileName, DWORD flags,
                    LPCSTR filter, LPCSTR initialDir, CString& chosen)
{
    iFileDialog dialog(openMode, defaultExtension && *defaultExtension ? defaultExtension : nullptr, fileName, flags,
                       filter, parent);
    if (initialDir && *initialDir)
        dialog.SetInitialDir(initialDir);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    chosen = dialog.GetPathName();
    return TRUE;
}
