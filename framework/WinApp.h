// Stands in for the framework's application object: the main thread's thread object
// with the program's entry sequence (InitApplication, InitInstance, Run, ExitInstance),
// its names and profile (registry key or INI file), document templates, the recent-file
// list, command-line parsing and the shell command, and the help entry.
// The name strings are heap copies owned by the object, allocated with malloc and
// released with free, so a derived class may replace them the same way.
#pragma once

#include "CString.h"
#include "WinThread.h"

#include <windows.h>

#include <vector>

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CRecentFileList;

#define AFX_IDS_APP_TITLE 0xE000

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;   // set by SetRegistryKey; null means the INI file
    LPCSTR m_pszProfileName = nullptr;   // key under the registry key, or the INI file's name
    LPCSTR m_pszHelpFilePath = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;      // how the first frame is shown
    CRecentFileList* m_pRecentFileList = nullptr;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    // Ends at once when InitInstance made no main window, so the program cannot hang unseen.
    int Run() override;
    // Saves the recent-file list; the result is the exit code.
    int ExitInstance() override;
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    // Profile: the registry key HKEY_CURRENT_USER\Software\<registry key>\<profile name>
    // once SetRegistryKey was called, else the INI file m_pszProfileName.
    void SetRegistryKey(LPCSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    // A null entry removes the section; a null value removes the entry.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    // *ppData is allocated with new[] and released by the caller with delete[]; FALSE
    // leaves *ppData null and *pBytes 0 (missing, wrong type or malformed value).
    BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);
    // Open keys the caller closes; null without a registry key or when the key cannot be opened.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCSTR lpszSection);

    // Creates the recent-file list with nMaxMRU entries and reads it from the profile.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    // The 3-D control library needs no enabling on the systems the program runs on.
    BOOL Enable3dControlsStatic() { return TRUE; }

    // The application owns its templates and deletes them with itself.
    void AddDocTemplate(CDocTemplate* pTemplate);
    const std::vector<CDocTemplate*>& GetDocTemplates() const { return m_templates; }
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // Carries out the parsed shell command; FALSE when it left no main window.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    // Lets each template's documents decline to close (SaveModified); FALSE when one declined.
    BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);

    afx_msg void OnFileNew();
    afx_msg void OnAppExit();
    afx_msg void OnHelp();
    afx_msg void OnHelpIndex();
    afx_msg void OnHelpUsing();
    afx_msg void OnContextHelp();

    // Replaces a heap name string (null frees it).
    static void ReplaceString(LPCSTR& target, LPCSTR value);

    // While a modal dialog runs, the other top-level windows the main window owns
    // (floating bars, modeless dialogs) are disabled: FALSE disables them, TRUE enables
    // again what the outermost FALSE disabled. Calls nest.
    virtual void EnableModeless(BOOL bEnable);

private:
    std::vector<CDocTemplate*> m_templates;
    int m_nModelessDisabled = 0;
    std::vector<HWND> m_modelessDisabled;

    void DeleteDocTemplates();

    friend int AfxWinMain(HINSTANCE, HINSTANCE, LPSTR, int);
    // Names and handles the entry fills before InitApplication.
    void InitFromModule(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
};

// The application object, or null.
CWinApp* AfxGetApp();
// The program's entry: InitApplication, InitInstance and Run, then ExitInstance. When
// InitInstance fails the main window is destroyed and ExitInstance still runs; its
// result is the exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
