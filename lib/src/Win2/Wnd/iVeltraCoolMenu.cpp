// The library's cool menu.
#include "lib/src/Win2/Wnd/iVeltraCoolMenu.h"

#include "framework/Wnd.h"

iVeltraCoolMenu::iVeltraCoolMenu() = default;

iVeltraCoolMenu::iVeltraCoolMenu(CWnd* pWnd)
{
    if (HWND window = pWnd->GetSafeHwnd())
        HookWindow(window);
}

iVeltraCoolMenu::~iVeltraCoolMenu() = default;
