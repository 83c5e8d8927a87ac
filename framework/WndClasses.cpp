// Window classes registered by the framework: one class per combination of style,
// cursor, brush and icon, under a name built from them, so asking twice gives the
// same class and the same name.
#include "Wnd.h"

#include "ResourceException.h"
#include "ResourceModule.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

namespace {
std::mutex g_classesLock;
// Node-based: the names handed out stay valid for the life of the process.
std::set<std::string> g_classNames;
}

LPCSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    char name[128];
    std::snprintf(name, sizeof name, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(instance), nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    std::lock_guard<std::mutex> lock(g_classesLock);
    auto known = g_classNames.find(name);
    if (known != g_classNames.end())
        return known->c_str();
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(instance, name, &wc)) {
        wc.style = nClassStyle;
        // Windows are subclassed to the framework procedure as they are created.
        wc.lpfnWndProc = &::DefWindowProcA;
        wc.hInstance = instance;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = name;
        if (!::RegisterClassA(&wc))
            AfxThrowResourceException();
    }
    return g_classNames.insert(name).first->c_str();
}

LPCSTR AfxWndClassName()
{
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
}

LPCSTR AfxFrameOrViewClassName()
{
    return AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)),
                               ::LoadIconA(nullptr, IDI_APPLICATION));
}

LPCSTR AfxControlBarClassName()
{
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
}
