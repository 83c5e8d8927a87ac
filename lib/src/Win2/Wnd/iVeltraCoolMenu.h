// The library's cool menu: the toolkit's image menus over one window, so that the popup
// menus the window tracks are drawn in the toolkit's menu style with command images.
#pragma once

#include "toolkit/menus/QZCoolMenu.h"

class CWnd;

class iVeltraCoolMenu : public CQZCoolMenu {
public:
    // Hooks no window.
    iVeltraCoolMenu();
    // Hooks pWnd's window (none for a null window or one without a window).
    explicit iVeltraCoolMenu(CWnd* pWnd);
    // The toolkit's image menus go: the hook comes off the window.
    ~iVeltraCoolMenu() override;
};
