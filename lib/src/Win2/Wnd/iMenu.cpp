// Menus owning their handle.
#include "lib/src/Win2/Wnd/iMenu.h"

_iMenu::_iMenu() = default;

_iMenu::~_iMenu()
{
    // Without a menu (creation refused, or detached) this does nothing.
    DestroyMenu();
}

iMenu::iMenu()
{
    CreateMenu();
}

iMenu::~iMenu() = default;

iPopupMenu::iPopupMenu()
{
    CreatePopupMenu();
}

iPopupMenu::~iPopupMenu() = default;
