// The application base: the named mutex, help through the web, the application's
// command table and the shell interface ids.
#include "GlobalWinApp.h"

#include "SendToFriendDialog.h"

#include "framework/Wnd.h"
#include "lib/src/Win2/Wnd/iSplash.h"
#include "lib/src/MsgBox.h"

#include <objbase.h>
#include <shellapi.h>

#include <cstring>

IID g_iidShellFolder = {};
IID g_iidContextMenu = {};

namespace {

ShellOpenFunction g_shellOpen = &ShellExecuteA;

constexpr char kWebScheme[] = "http://";

[[nodiscard]] bool IsWebAddress(LPCSTR path)
{
    return path && _strnicmp(path, kWebScheme, sizeof kWebScheme - 1) == 0;
}

// Filled before the application object is made; IContextMenu first.
const bool g_shellIdsFilled = FillShellInterfaceId(L"{000214e4-0000-0000-c000-000000000046}", g_iidContextMenu) &
                              FillShellInterfaceId(L"{000214e6-0000-0000-c000-000000000046}", g_iidShellFolder);

} // namespace

bool FillShellInterfaceId(LPCOLESTR text, IID& id)
{
    CLSID scratch;
    HRESULT result = CLSIDFromString(text, &scratch);
    if (FAILED(result))
        MsgBoxStop(0, "IIDFromString", nullptr, "CLSIDFromString %ld", result);
    result = IIDFromString(text, &id);
    if (FAILED(result)) {
        MsgBoxStop(0, "IIDFromString", nullptr, "IIDFromString %ld", result);
        return false;
    }
    return true;
}

ShellOpenFunction SetShellOpenFunction(ShellOpenFunction open)
{
    ShellOpenFunction previous = g_shellOpen;
    g_shellOpen = open ? open : &ShellExecuteA;
    return previous;
}

BEGIN_MESSAGE_MAP(GlobalWinApp, iWinApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    // Closes the main window, which asks about unsaved changes first.
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
    ON_COMMAND(ID_HELP_INDEX, OnHelpIndex)
    ON_COMMAND(ID_CONTEXT_HELP, OnContextHelp)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_APP_SPARE, OnIgnoredCommand)
    ON_COMMAND(ID_APP_SEND_TO_FRIEND, OnSendToFriend)
    ON_COMMAND(ID_APP_BANNER_HISTORY, OnIgnoredCommand)
END_MESSAGE_MAP()

GlobalWinApp::GlobalWinApp() : iWinApp(nullptr), m_mutex(TRUE, "Sorvanta")
{
}

GlobalWinApp::~GlobalWinApp() = default;

void GlobalWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (!IsWebAddress(m_pszHelpFilePath)) {
        iWinApp::WinHelp(dwData, nCmd);
        return;
    }
    // Nothing is reported when no browser opens it.
    CWnd* mainWnd = AfxGetMainWnd();
    g_shellOpen(mainWnd ? mainWnd->m_hWnd : nullptr, "open", m_pszHelpFilePath, nullptr, nullptr, SW_SHOWNORMAL);
}

void GlobalWinApp::OnAppAbout()
{
    // A copy: the window keeps its own text.
    iString text = m_aboutText;
    iSplash::ShowWithText(AfxGetMainWnd(), SPLASH_RESOURCE | SPLASH_MOUSE | SPLASH_KEYBOARD, "Splash", 0, text,
                          &m_aboutRect, DT_WORDBREAK | DT_NOPREFIX, m_aboutTextColor);
}

void GlobalWinApp::OnSendToFriend()
{
    auto* dialog = new SendToFriendDialog(AfxGetMainWnd());
    dialog->DoModal();
    delete dialog;
}

void GlobalWinApp::OnIgnoredCommand()
{
}
