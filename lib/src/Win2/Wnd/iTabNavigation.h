// Keyboard navigation as in a dialog, for a window that is not one (a view holding
// controls): Tab and Shift+Tab move the focus through the controls the window names, in
// its order, passing over disabled and hidden ones, and an edit reached that way has its
// whole text selected, so that typing replaces it. Arrow keys, Return and the rest stay
// with the control that has the focus. The window names its controls rather than leaving
// the order to WS_TABSTOP: controls it hosts for others (an embedded browser) mark
// themselves as tab stops too.
#pragma once

#include "framework/Framework.h"

#include <vector>

// Takes a Tab key pressed in container or in one of its windows and moves the focus to
// the next control of order (the previous with Shift); TRUE when the key was taken. Tab
// with Ctrl or Alt, and Tab in a control that asks for it (DLGC_WANTTAB), are left alone.
BOOL HandleTabKey(CWnd* container, const MSG* msg, const std::vector<CWnd*>& order);
// Gives the control the focus as Tab does: an edit's whole text is selected.
void FocusTabItem(HWND control);
// The first control of order that can take the focus; null when none is enabled and visible.
HWND FirstTabItem(const std::vector<CWnd*>& order);
