// The platform's menu-item record, zeroed and sized for this build, for the toolkit's
// GetMenuItemInfo and SetMenuItemInfo calls.
#pragma once

#include <windows.h>

struct QZ_MENUITEMINFO : MENUITEMINFOA {
    // The size of this build's record: a 64-bit program's is larger than the 44 bytes
    // of the 32-bit one, which its menu calls would refuse.
    QZ_MENUITEMINFO() : MENUITEMINFOA() { cbSize = sizeof(MENUITEMINFOA); }
};
