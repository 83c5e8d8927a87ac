// Where a remembered window rectangle may open: no smaller than the window's minimum
// tracking size, and on a monitor with its title bar within reach, so that a place saved
// on a monitor that has gone, or a size the window could never have had, does not hide
// the window from the user.
#pragma once

#include <windows.h>

// True when the title bar (the top captionPx of rect) lies within the work area from top
// to bottom and at least captionPx of it lies within it across.
bool IsTitleBarReachable(const RECT& rect, const RECT& workArea, int captionPx);

// rect made no larger than the work area and centred on it.
RECT CentreOnWorkArea(const RECT& rect, const RECT& workArea);

// rect grown to minSize (its top-left kept); then, when it lies on no monitor or its
// title bar is out of reach, centred on the work area of the monitor nearest to it.
RECT KeepOnMonitor(const RECT& rect, SIZE minSize);
