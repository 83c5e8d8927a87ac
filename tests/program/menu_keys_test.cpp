// The program's menus worked from the keyboard, in process with the real main frame and
// workspace: each way into the Extra menu (Alt+E, F10 then Right and Down, Alt alone then
// Right and Down) opens its popup with "Options..." selected, and Return then opens the
// Options sheet.
#include "program_test_support.h"

#include "app/AppCommands.h"
#include "app/OptionPropertySheet.h"

#include <string>
#include <vector>

namespace menu_keys_test {

using namespace program_test;

namespace {

constexpr LPARAM kAltHeld = 1 << 29;
constexpr LPARAM kKeyUp = static_cast<LPARAM>(0xC0000001u);

// One key message as the system queues it for the main window.
struct Key {
    UINT message;
    UINT vk;
    LPARAM flags;
};

// What the watcher saw, filled from a thread timer while the menu and the sheet are up.
struct Watch {
    HWND mainWindow = nullptr;
    UINT selectedCommand = 0;  // the command of the open popup's selected item
    bool sawPopup = false;
    bool sawSheet = false;
    int ticks = 0;
};
Watch g_watch;

// The last visible window of this thread that the test accepts, or null.
HWND LastVisibleThreadWindow(bool (*accepts)(HWND))
{
    struct Search {
        bool (*accepts)(HWND);
        HWND found;
    } search = {accepts, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (IsWindowVisible(window) && s->accepts(window))
                s->found = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND NewestMenuWindow()
{
    return LastVisibleThreadWindow([](HWND window) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        return lstrcmpA(name, "#32768") == 0;
    });
}

HWND OptionsSheetWindow()
{
    return LastVisibleThreadWindow(
        [](HWND window) { return dynamic_cast<OptionPropertySheet*>(CWnd::FromHandlePermanent(window)) != nullptr; });
}

UINT SelectedCommand(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            return GetMenuItemID(menu, i);
    }
    return 0;
}

// Reads the popup's selection once the keys that select it have run, then presses Return;
// cancels the sheet that opens; then closes the program. A generous watchdog ends a stuck run.
void CALLBACK WatchMenuAndSheet(HWND, UINT, UINT_PTR timer, DWORD)
{
    ++g_watch.ticks;
    if (HWND sheet = OptionsSheetWindow()) {
        g_watch.sawSheet = true;
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return;
    }
    if (HWND menu = NewestMenuWindow()) {
        // The selection arrives as keys queued into the menu loop: wait until it shows.
        HMENU popup = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
        const UINT selected = SelectedCommand(popup);
        if (selected == 0 && g_watch.ticks < 100)
            return;
        g_watch.sawPopup = true;
        g_watch.selectedCommand = selected;
        PostMessageA(g_watch.mainWindow, WM_KEYDOWN, VK_RETURN, 1);
        if (g_watch.ticks >= 100)
            EndMenu();
        return;
    }
    if (g_watch.sawSheet || g_watch.ticks > 400) {
        KillTimer(nullptr, timer);
        PostMessageA(g_watch.mainWindow, WM_CLOSE, 0, 0);
    }
}

TEST_F(ProgramTest, ExtraMenuFromTheKeyboardSelectsOptionsAndReturnOpensTheSheet)
{
    struct Case {
        const char* why;
        std::vector<Key> keys;
    };
    const Case cases[] = {
        {"Alt+E", {{WM_SYSKEYDOWN, 'E', kAltHeld | 1}}},
        {"F10, Right, Down",
         {{WM_SYSKEYDOWN, VK_F10, 1}, {WM_SYSKEYUP, VK_F10, kKeyUp}, {WM_KEYDOWN, VK_RIGHT, 1},
          {WM_KEYDOWN, VK_DOWN, 1}}},
        {"Alt alone, Right, Down",
         {{WM_SYSKEYDOWN, VK_MENU, kAltHeld | 1}, {WM_SYSKEYUP, VK_MENU, kKeyUp}, {WM_KEYDOWN, VK_RIGHT, 1},
          {WM_KEYDOWN, VK_DOWN, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        g_watch = Watch();
        ScriptedMain app;
        UINT_PTR timer = 0;
        app.m_script = {[&c, &timer](ScriptedMain& running) {
            g_watch.mainWindow = running.m_pMainWnd->m_hWnd;
            timer = SetTimer(nullptr, 0, 40, &WatchMenuAndSheet);
            for (const Key& key : c.keys)
                PostMessageA(g_watch.mainWindow, key.message, key.vk, key.flags);
        }};
        EXPECT_EQ(0, Run(app, "/NoSplash"));
        KillTimer(nullptr, timer);
        EXPECT_TRUE(g_watch.sawPopup);
        EXPECT_EQ(static_cast<UINT>(ID_EXTRA_OPTIONS), g_watch.selectedCommand) << "\"Options...\" is selected";
        EXPECT_TRUE(g_watch.sawSheet) << "Return ran it";
    }
}

} // namespace
} // namespace menu_keys_test
