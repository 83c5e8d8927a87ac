// Stands in for the framework's file and colour dialogs: the system's common dialogs
// with their records (m_ofn, m_cc) open to the caller before DoModal, run modal over the
// safe owner with the application's modeless windows disabled meanwhile.
#pragma once

#include "CString.h"
#include "Dialog.h"

#include <windows.h>
#include <commdlg.h>

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter is "description|patterns|...|" ending in "||"; lpszFileName is the
    // initial name; a name that does not fit the name buffer starts the dialog empty.
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = nullptr, LPCSTR lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = nullptr,
                         CWnd* pParentWnd = nullptr);

    // The system's record; lpstrInitialDir and the flags may be changed before DoModal.
    OPENFILENAMEA m_ofn;

    // IDOK when a name was chosen, else IDCANCEL.
    INT_PTR DoModal() override;
    CString GetPathName() const;
    // The name with its extension, without the folder.
    CString GetFileName() const;
    // The extension without its dot; empty when the name has none.
    CString GetFileExt() const;

private:
    BOOL m_bOpenFileDialog;
    CString m_strFilter;  // the filter with its separators turned into zeros
    CString m_strDefExt;
    char m_szFileName[MAX_PATH];
};

class CColorDialog : public CDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = nullptr);

    CHOOSECOLORA m_cc;

    INT_PTR DoModal() override;
    // The chosen colour; the initial one until a colour was chosen.
    COLORREF GetColor() const;
    // The sixteen custom colours the dialogs of this process share.
    static COLORREF* GetSavedCustomColors();
};
