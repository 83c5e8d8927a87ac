// The application object: the program's entry sequence, names and help.
#include "WinApp.h"

#include "Exceptions.h"
#include "OccManager.h"
#include "RecentFileList.h"
#include "ResourceModule.h"
#include "Wnd.h"

#include <objbase.h>

#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_app = nullptr;

// The user-interface thread is a single-threaded COM apartment from start to exit: the
// shell's folders and the folder browser need one. A later OleInitialize on the same
// thread (control containment) finds it and only counts up; it is undone before this is.
class ScopedApartment {
public:
    ScopedApartment() : m_isInitialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ScopedApartment()
    {
        if (m_isInitialised)
            CoUninitialize();
    }
    ScopedApartment(const ScopedApartment&) = delete;
    ScopedApartment& operator=(const ScopedApartment&) = delete;

private:
    bool m_isInitialised;
};

[[nodiscard]] LPCSTR HeapCopy(LPCSTR text)
{
    if (!text)
        return nullptr;
    char* copy = static_cast<char*>(std::malloc(std::strlen(text) + 1));
    if (!copy)
        AfxThrowMemoryException();
    std::strcpy(copy, text);
    return copy;
}
} // namespace

CWinApp* AfxGetApp()
{
    return g_app;
}

CWinApp::CWinApp(LPCSTR lpszAppName)
{
    m_pszAppName = HeapCopy(lpszAppName);
    // The application object is the main thread's thread object.
    m_bAutoDelete = FALSE;
    m_nThreadID = GetCurrentThreadId();
    AttachToCurrentThread();
    g_app = this;
}

CWinApp::~CWinApp()
{
    DeleteDocTemplates();
    delete m_pRecentFileList;
    ReplaceString(m_pszAppName, nullptr);
    ReplaceString(m_pszExeName, nullptr);
    ReplaceString(m_pszRegistryKey, nullptr);
    ReplaceString(m_pszProfileName, nullptr);
    ReplaceString(m_pszHelpFilePath, nullptr);
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::ReplaceString(LPCSTR& target, LPCSTR value)
{
    LPCSTR copy = HeapCopy(value);
    std::free(const_cast<char*>(target));
    target = copy;
}

void CWinApp::InitFromModule(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow)
{
    m_hInstance = hInstance;
    m_lpCmdLine = lpCmdLine;
    m_nCmdShow = nCmdShow;
    char path[MAX_PATH] = {};
    GetModuleFileNameA(hInstance, path, MAX_PATH - 1);
    char* name = std::strrchr(path, '\\');
    name = name ? name + 1 : path;
    char* extension = std::strrchr(name, '.');
    if (extension)
        *extension = '\0';
    if (!m_pszExeName)
        ReplaceString(m_pszExeName, name);
    if (!m_pszAppName) {
        CString title;
        ReplaceString(m_pszAppName, title.LoadString(AFX_IDS_APP_TITLE) ? static_cast<LPCSTR>(title) : name);
    }
    if (!m_pszHelpFilePath) {
        if (extension)
            std::strcpy(extension, ".HLP");
        ReplaceString(m_pszHelpFilePath, path);
    }
    if (!m_pszProfileName) {
        CString profile = m_pszExeName;
        profile += ".INI";
        ReplaceString(m_pszProfileName, profile);
    }
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    int exitCode = -1;
    ScopedApartment apartment;
    try {
        app->InitFromModule(hInstance, lpCmdLine, nCmdShow);
        if (app->InitApplication() && app->InitInstance()) {
            exitCode = app->Run();
            AfxTermControlContainer();
            return exitCode;
        }
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    // A failed start still tears down what it built and runs the clean-up.
    try {
        if (CWnd* mainWnd = app->m_pMainWnd; mainWnd && mainWnd->m_hWnd)
            mainWnd->DestroyWindow();
        // Destroying the main window asked the loop to end; no loop runs now.
        MSG quit;
        PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        exitCode = app->ExitInstance();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    AfxTermControlContainer();
    return exitCode;
}

BOOL CWinApp::InitApplication()
{
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    if (!m_pMainWnd)
        PostQuitMessage(0);
    return CWinThread::Run();
}

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList)
        m_pRecentFileList->WriteList();
    return CWinThread::ExitInstance();
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    CWnd* mainWnd = AfxGetMainWnd();
    ::WinHelpA(mainWnd ? mainWnd->m_hWnd : nullptr, m_pszHelpFilePath, nCmd, dwData);
}

void CWinApp::OnHelp()
{
    WinHelp(0, HELP_CONTENTS);
}

void CWinApp::OnHelpIndex()
{
    WinHelp(0, HELP_INDEX);
}

void CWinApp::OnHelpUsing()
{
    WinHelp(0, HELP_HELPONHELP);
}

// The program has no help mode with a pointer to click: context help opens the contents.
void CWinApp::OnContextHelp()
{
    WinHelp(0, HELP_CONTENTS);
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd && m_pMainWnd->m_hWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey)
{
    ReplaceString(m_pszRegistryKey, lpszRegistryKey);
    ReplaceString(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU)
{
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0)
        return;
    m_pRecentFileList = new CRecentFileList(0, "Recent File List", "File%d", static_cast<int>(nMaxMRU));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName)
{
    if (m_pRecentFileList)
        m_pRecentFileList->Add(lpszPathName);
}
