// The toolkit's popup menu: the framework's menu with a tracking that fits the image menus.
// Before it shows a popup it closes any toolkit popup still open and lets pending messages
// run; it always asks the system for the chosen command; when the user chooses the chevron
// item of a personalised popup it switches full menus on and shows the same popup again;
// and it can post the chosen command to the owner. While a CQZMenu object exists, image
// menus hide the commands their owner names (personalised menus).
// The tracking is an operation on a menu handle, so that a popup taken from any menu (a
// temporary framework object, a sub-menu handle) is tracked without posing as a CQZMenu.
#pragma once

#include "framework/Menu.h"

class CWnd;

class CQZMenu : public CMenu {
public:
    // An empty menu object; raises m_bActive.
    CQZMenu();
    // Clears m_bActive, then the framework menu's destruction (an attached menu is destroyed).
    ~CQZMenu() override;

    // The chosen command, or 0; with bNotify it is also posted to the owner as WM_COMMAND.
    // The rectangle is not used.
    UINT TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pOwner, LPCRECT lpRect, BOOL bNotify);
    UINT TrackPopupMenuEx(UINT nFlags, int x, int y, CWnd* pOwner, LPTPMPARAMS lpParams, BOOL bNotify);
    static UINT TrackPopupMenuEx(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pOwner, LPTPMPARAMS lpParams,
                                 BOOL bNotify);

    // How many messages the pump before a popup runs at most: a queue that a message keeps
    // filling (a fast timer, a message that posts itself again) must not keep it from opening.
    static const int kMaxPumpedMessages = 256;

    // Set by every construction of a CQZMenu, cleared by every destruction.
    static bool m_bActive;

private:
    CQZMenu(const CQZMenu&) = delete;
    CQZMenu& operator=(const CQZMenu&) = delete;
};
