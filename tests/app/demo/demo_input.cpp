// Works Sorvanta.exe from outside for the banner demonstration, as a person would through
// its menus and buttons, by messages to its windows (not a test):
//   demo_input post <window title> <command id>      a menu command to a top-level window
//   demo_input click <window title> <button text>    presses a button of a top-level window
//   demo_input close <window title>                  closes a top-level window as its close box does
//   demo_input move <window title> <x> <y>           moves a top-level window, keeping its size
//   demo_input texts <window title>                  prints the texts of its child windows
//   demo_input windows <window title>                prints class, size and place in the window's
//                                                    client area of each descendant window
//   demo_input wait <window title> <seconds>         waits until such a window is visible
//   demo_input gone <window title> <seconds>         waits until no such window is left
// Exit code 0 on success, 1 when the window or button was not found in time, 2 on misuse.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string TextOf(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The visible top-level window with the title, or null.
HWND FindVisible(const std::string& title)
{
    struct Search {
        const std::string* title;
        HWND found;
    } search = {&title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (IsWindowVisible(window) && TextOf(window) == *s->title) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

bool WaitFor(const std::string& title, int seconds, bool present)
{
    for (int tenth = 0; tenth <= seconds * 10; ++tenth) {
        if ((FindVisible(title) != nullptr) == present)
            return true;
        Sleep(100);
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: demo_input post|click|close|move|texts|windows|wait|gone <window title> [argument]\n");
        return 2;
    }
    const std::string verb = argv[1];
    const std::string title = argv[2];
    if (verb == "wait" || verb == "gone")
        return WaitFor(title, argc > 3 ? atoi(argv[3]) : 10, verb == "wait") ? 0 : 1;
    HWND window = FindVisible(title);
    if (!window) {
        fprintf(stderr, "demo_input: no visible window \"%s\"\n", title.c_str());
        return 1;
    }
    if (verb == "post" && argc > 3) {
        // Posted: a command that opens a modal window must not hold this program up.
        return PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(atoi(argv[3])), 0) ? 0 : 1;
    }
    if (verb == "click" && argc > 3) {
        for (HWND child : Children(window)) {
            if (TextOf(child) == argv[3])
                return PostMessageA(child, BM_CLICK, 0, 0) ? 0 : 1;
        }
        fprintf(stderr, "demo_input: no button \"%s\" in \"%s\"\n", argv[3], title.c_str());
        return 1;
    }
    if (verb == "move" && argc > 4) {
        return SetWindowPos(window, nullptr, atoi(argv[3]), atoi(argv[4]), 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    }
    if (verb == "close")
        return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
    if (verb == "windows") {
        for (HWND child : Children(window)) {
            char className[128] = {};
            GetClassNameA(child, className, sizeof className);
            RECT rect;
            GetWindowRect(child, &rect);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
            printf("%s %ldx%ld at %ld,%ld\n", className, rect.right - rect.left, rect.bottom - rect.top, rect.left,
                   rect.top);
        }
        return 0;
    }
    if (verb == "texts") {
        for (HWND child : Children(window)) {
            const std::string text = TextOf(child);
            if (!text.empty())
                printf("%s\n", text.c_str());
        }
        return 0;
    }
    fprintf(stderr, "usage: demo_input post|click|close|move|texts|windows|wait|gone <window title> [argument]\n");
    return 2;
}
