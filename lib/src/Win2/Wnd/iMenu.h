// Menus that own their menu handle for the whole life of the object: a menu bar and a
// pop-up menu made empty in the constructor, filled with the framework's item
// operations and destroyed with the object (after TrackPopupMenu has returned).
#pragma once

#include "framework/Framework.h"

// Holds at most one menu and destroys it with the object.
class _iMenu : public CMenu {
public:
    _iMenu();
    ~_iMenu() override;
};

// An empty menu bar; no menu when the system refuses one.
class iMenu : public _iMenu {
public:
    iMenu();
    ~iMenu() override;
};

// An empty pop-up menu; no menu when the system refuses one.
class iPopupMenu : public _iMenu {
public:
    iPopupMenu();
    ~iPopupMenu() override;
};
