// The file and colour dialogs: their records, the modal run over the safe owner, and
// the parts of the chosen path.
#include "CommonDialogs.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CDialog)

namespace {

// Runs a system dialog that disables its owner itself; the application's other
// modeless windows are disabled around it.
template <class Run>
BOOL RunCommonDialog(Run run)
{
    AfxEnableModelessForModal(FALSE);
    BOOL chosen = run();
    AfxEnableModelessForModal(TRUE);
    return chosen;
}

} // namespace

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName, DWORD dwFlags,
                         LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog)
{
    m_pParentWnd = pParentWnd;
    m_ofn = {};
    m_ofn.lStructSize = sizeof m_ofn;
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_szFileName[0] = '\0';
    // A name cut to fit would name another file: one that does not fit is not used.
    if (lpszFileName && std::strlen(lpszFileName) < sizeof m_szFileName)
        std::strcpy(m_szFileName, lpszFileName);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    if (lpszDefExt) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (lpszFilter) {
        m_strFilter = lpszFilter;
        // "desc|pattern||" becomes the system's "desc\0pattern\0\0".
        LPSTR filter = m_strFilter.GetBuffer(m_strFilter.GetLength());
        for (LPSTR at = filter; *at; ++at) {
            if (*at == '|')
                *at = '\0';
        }
        m_strFilter.ReleaseBuffer(m_strFilter.GetLength());
        m_ofn.lpstrFilter = m_strFilter;
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = GetSafeOwner(m_pParentWnd)->GetSafeHwnd();
    m_ofn.hInstance = nullptr;
    BOOL chosen = RunCommonDialog([this] {
        return m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    });
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    return CString(m_ofn.lpstrFile);
}

CString CFileDialog::GetFileName() const
{
    CString path(m_ofn.lpstrFile);
    int slash = path.ReverseFind('\\');
    int otherSlash = path.ReverseFind('/');
    if (otherSlash > slash)
        slash = otherSlash;
    return path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

COLORREF* CColorDialog::GetSavedCustomColors()
{
    static COLORREF customColors[16] = {
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    };
    return customColors;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
{
    m_pParentWnd = pParentWnd;
    m_cc = {};
    m_cc.lStructSize = sizeof m_cc;
    m_cc.rgbResult = clrInit;
    m_cc.Flags = dwFlags | CC_RGBINIT;
    m_cc.lpCustColors = GetSavedCustomColors();
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = GetSafeOwner(m_pParentWnd)->GetSafeHwnd();
    m_cc.hInstance = nullptr;
    // The record keeps the initial colour when the dialog is cancelled.
    CHOOSECOLORA record = m_cc;
    BOOL chosen = RunCommonDialog([&record] { return ::ChooseColorA(&record); });
    if (chosen)
        m_cc.rgbResult = record.rgbResult;
    return chosen ? IDOK : IDCANCEL;
}

COLORREF CColorDialog::GetColor() const
{
    return m_cc.rgbResult;
}
