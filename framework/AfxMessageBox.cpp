// Message boxes through a replaceable function, captioned with the application's name.
#include "AfxMessageBox.h"

#include "CString.h"
#include "WinApp.h"

#include <atomic>

namespace {
std::atomic<AFX_MESSAGEBOX_FUNCTION> g_showBox{nullptr};
}

AFX_MESSAGEBOX_FUNCTION AfxSetMessageBoxFunction(AFX_MESSAGEBOX_FUNCTION pfn)
{
    return g_showBox.exchange(pfn);
}

int AfxShowMessageBox(HWND hWndOwner, LPCSTR lpszText, LPCSTR lpszCaption, UINT nType)
{
    AFX_MESSAGEBOX_FUNCTION show = g_showBox.load();
    return show ? show(hWndOwner, lpszText, lpszCaption, nType)
                : ::MessageBoxA(hWndOwner, lpszText, lpszCaption, nType);
}

LPCSTR AfxGetAppName()
{
    CWinApp* app = AfxGetApp();
    return app && app->m_pszAppName ? app->m_pszAppName : "";
}

int AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    CWnd* mainWnd = AfxGetMainWnd();
    HWND owner = mainWnd && mainWnd->m_hWnd ? ::GetLastActivePopup(mainWnd->m_hWnd) : nullptr;
    return AfxShowMessageBox(owner, lpszText, AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp);
}
