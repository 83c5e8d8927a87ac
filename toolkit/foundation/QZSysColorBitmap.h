// Bitmaps in the system's button colours. Toolbar, menu and button images are drawn in
// the four colours of a classic button (black text, dark grey shadow, light grey face,
// white highlight); loaded through here they show the system's own colours instead.
#pragma once

#include <windows.h>

// Loads bitmap resource hRsrc of hInstance as a bitmap of the screen's format with the
// four standard colours turned into COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE and
// COLOR_BTNHIGHLIGHT; with bMono, black stays black and the other three become white.
// The caller owns the bitmap. Null when the resource is not a bitmap whose header,
// colour table and pixels lie within it, or a step fails.
HBITMAP QZLoadSysColorBitmap(HINSTANCE hInstance, HRSRC hRsrc, BOOL bMono);
