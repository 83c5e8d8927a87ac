// The application base: the module path record and the name setters.
#include "iWinApp.h"

iWinApp::iWinApp(LPCSTR lpszAppName) : CWinApp(lpszAppName)
{
    // GetModuleFileNameA cuts a longer name to the buffer and still ends it with a zero.
    char moduleName[iPathParts::kPathSize] = {};
    GetModuleFileNameA(nullptr, moduleName, sizeof moduleName);
    m_modulePath.Fill(moduleName);
}

iWinApp::~iWinApp() = default;

LPCSTR iWinApp::SetHelpFilePath(LPCSTR path)
{
    ReplaceString(m_pszHelpFilePath, path);
    return m_pszHelpFilePath;
}

LPCSTR iWinApp::SetProfileName(LPCSTR name)
{
    ReplaceString(m_pszProfileName, name);
    return m_pszProfileName;
}
