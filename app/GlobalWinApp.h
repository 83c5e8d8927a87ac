// The application's own base: what every run carries whatever its start-up does. It
// holds the named mutex "Sorvanta" for as long as it lives (never tested, so a second
// copy starts normally), the about text with its box and colour, the application's
// command handlers, and the help entry that opens the help path in the user's browser
// once the path is a web address.
#pragma once

#include "AppCommands.h"

#include "framework/NamedMutex.h"
#include "lib/src/Win2/Wnd/iWinApp.h"
#include "lib/src/iString.h"

#include <windows.h>

class GlobalWinApp : public iWinApp {
public:
    GlobalWinApp();
    ~GlobalWinApp() override;

    // A web help path (http://, in any case) is opened in the browser whatever the
    // request; any other goes to the framework's help.
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

    // The about text over the splash picture, in a window of its own that closes on the
    // first key or mouse button and frees itself.
    afx_msg void OnAppAbout();
    // The send-to-friend dialog, modal over the main window; freed when it closes.
    afx_msg void OnSendToFriend();

protected:
    // Commands that reach the application and are answered without an action.
    afx_msg void OnIgnoredCommand();

    CMutex m_mutex;
    iString m_aboutText;
    RECT m_aboutRect = {};
    COLORREF m_aboutTextColor = RGB(0, 0, 0);

    DECLARE_MESSAGE_MAP()
};

// Opens a help path: ShellExecuteA by default. Tests put their own in so that no browser starts.
using ShellOpenFunction = HINSTANCE(WINAPI*)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                             LPCSTR directory, INT showCommand);
// Makes open the help opener (null: ShellExecuteA); returns the one it replaces.
ShellOpenFunction SetShellOpenFunction(ShellOpenFunction open);

// The shell interface ids the shell browsing controls pass to the shell, filled from
// their texts during static initialisation.
extern IID g_iidShellFolder;
extern IID g_iidContextMenu;
// Fills id from its text; a text either conversion rejects shows a stop box naming the
// conversion and its result. False when id could not be filled.
[[nodiscard]] bool FillShellInterfaceId(LPCOLESTR text, IID& id);
