// The library's application base: the framework application plus the running
// program's module path split into its parts, and setters that replace the
// framework's help-file path and profile name with heap copies the application owns.
#pragma once

#include "framework/WinApp.h"
#include "lib/src/Win2/Wnd/iPathParts.h"

class iWinApp : public CWinApp {
public:
    // lpszAppName null: the framework takes the name from the module at start-up.
    explicit iWinApp(LPCSTR lpszAppName = nullptr);
    ~iWinApp() override;

    // Frees the present help-file path and keeps a heap copy of path (null: none);
    // returns the new copy.
    LPCSTR SetHelpFilePath(LPCSTR path);
    // The same for the profile name: the key under the registry key, or the INI file's name.
    LPCSTR SetProfileName(LPCSTR name);

    // Filled once, when the application object is made.
    const iPathParts& GetModulePath() const { return m_modulePath; }

protected:
    iPathParts m_modulePath;
};
