// The shell's context menu of a tree item or of a path: built by the item's folder,
// tracked at a screen point, and the chosen command run by the shell.
#include "lib/src/Win2/Wnd/iShell.h"

namespace {

MenuTrackFunction g_menuTrack = &::TrackPopupMenu;

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;
constexpr UINT kTrackFlags = TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD;

enum class MenuOutcome { NotBuilt, Dismissed, Failed, Ran };

// The shell's error box of a context menu step, through the framework's message box.
void ReportMenuFailure(LPCSTR format, HRESULT result)
{
    char text[128];
    ::wsprintfA(text, format, static_cast<unsigned long>(result));
    AfxMessageBox(text, MB_OK);
}

// Fills a popup from the context menu, tracks it at (x, y) and runs the chosen command.
// report shows a failed command to the user.
MenuOutcome TrackAndInvoke(IContextMenu* menu, HWND owner, int x, int y, bool report)
{
    HMENU popup = ::CreatePopupMenu();
    if (!popup)
        return MenuOutcome::NotBuilt;
    if (FAILED(menu->QueryContextMenu(popup, 0, kFirstCommand, kLastCommand, CMF_EXPLORE))) {
        ::DestroyMenu(popup);
        return MenuOutcome::NotBuilt;
    }
    const UINT command = static_cast<UINT>(g_menuTrack(popup, kTrackFlags, x, y, 0, owner, nullptr));
    MenuOutcome outcome = MenuOutcome::Dismissed;
    if (command != 0) {
        CMINVOKECOMMANDINFO invoke = {};
        invoke.cbSize = sizeof invoke;
        invoke.hwnd = owner;
        invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstCommand);
        invoke.nShow = SW_SHOWNORMAL;
        const HRESULT result = menu->InvokeCommand(&invoke);
        outcome = SUCCEEDED(result) ? MenuOutcome::Ran : MenuOutcome::Failed;
        if (FAILED(result) && report)
            ReportMenuFailure("InvokeCommand failed. hr=%lx", result);
    }
    ::DestroyMenu(popup);
    return outcome;
}

} // namespace

const UINT g_shellRefreshMessage = ::RegisterWindowMessageA("Sorvanta.ShellRefresh");

MenuTrackFunction SetMenuTrackFunction(MenuTrackFunction track)
{
    MenuTrackFunction previous = g_menuTrack;
    g_menuTrack = track ? track : &::TrackPopupMenu;
    return previous;
}

BOOL iShell::DoContextMenu(HWND owner, IShellFolder* folder, LPCITEMIDLIST item, POINT point)
{
    IContextMenu* menu = nullptr;
    const HRESULT result =
        folder->GetUIObjectOf(owner, 1, &item, g_iidContextMenu, nullptr, reinterpret_cast<void**>(&menu));
    if (FAILED(result) || !menu) {
        ReportMenuFailure("GetUIObjectOf failed! hr=%lx", result);
        return FALSE;
    }
    const MenuOutcome outcome = TrackAndInvoke(menu, owner, point.x, point.y, true);
    menu->Release();
    if (outcome == MenuOutcome::NotBuilt)
        return FALSE;
    if (outcome == MenuOutcome::Ran)
        ::SendMessageA(owner, g_shellRefreshMessage, 1, 0);
    return TRUE;
}

BOOL iShell::DoContextMenuForPath(HWND owner, LPCSTR path, int x, int y)
{
    // An answer of 0, or one at least the buffer's size, leaves the buffer undefined.
    char fullPath[MAX_PATH];
    const DWORD length = ::GetFullPathNameA(path, MAX_PATH, fullPath, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return FALSE;
    WCHAR widePath[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, 0, fullPath, -1, widePath, MAX_PATH) == 0)
        return FALSE;

    IMalloc* allocator = nullptr;
    if (FAILED(::SHGetMalloc(&allocator)) || !allocator)
        return FALSE;
    IShellFolder* folder = nullptr;
    if (FAILED(::SHGetDesktopFolder(&folder)) || !folder) {
        allocator->Release();
        return FALSE;
    }
    LPITEMIDLIST parsed = nullptr;
    BOOL ran = FALSE;
    if (SUCCEEDED(folder->ParseDisplayName(owner, nullptr, widePath, nullptr, &parsed, nullptr)) && parsed) {
        const int count = CountItemIDs(parsed);
        // Down to the folder that holds the last element, one element at a time.
        LPCITEMIDLIST element = parsed;
        bool reached = count > 0;
        for (int step = 0; reached && step < count - 1; ++step) {
            LPITEMIDLIST first = CopyFirstItemID(allocator, element);
            IShellFolder* inner = nullptr;
            reached = first && SUCCEEDED(folder->BindToObject(first, nullptr, g_iidShellFolder,
                                                              reinterpret_cast<void**>(&inner))) && inner;
            allocator->Free(first);
            if (reached) {
                folder->Release();
                folder = inner;
                element = GetNextItemID(element);
            }
        }
        IContextMenu* menu = nullptr;
        if (reached && SUCCEEDED(folder->GetUIObjectOf(owner, 1, &element, g_iidContextMenu, nullptr,
                                                       reinterpret_cast<void**>(&menu))) && menu) {
            ran = TrackAndInvoke(menu, owner, x, y, false) == MenuOutcome::Ran;
            menu->Release();
        }
        allocator->Free(parsed);
    }
    folder->Release();
    allocator->Release();
    return ran;
}
