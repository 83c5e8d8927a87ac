// The toolkit's private window messages, all sent or posted within the process. The
// numbers are fixed by the toolkit's design: parts built at different times rely on them.
#pragma once

// Colour popup to its notify windows (wParam: the colour, lParam: the popup's user value).
#define WM_QZ_COLORUNCHANGED 0x65A8  // selection ended with the current colour
#define WM_QZ_COLORDROPDOWN 0x65A9   // the popup is open (to its parent only)
#define WM_QZ_COLORCLOSEUP 0x65AA    // the popup is gone (to its parent only)
#define WM_QZ_COLORCHANGED 0x65AB    // a different colour was chosen
#define WM_QZ_COLORCANCEL 0x65AC     // selection cancelled
#define WM_QZ_COLORNOFILL 0x65AD     // "No Fill" chosen (wParam 0xFFFFFFFF)

// A bar to the toolkit frame: remember this toolbar (wParam: CWnd*) for "Customize";
// -1 for a null bar, else 0.
#define WM_QZ_SETCUSTOMIZEBAR 0x65B5
// Toolbar to its owner: a plain drop-down button was pressed (wParam: NMTOOLBAR*,
// lParam: the button's RECT*); nonzero when the owner handled it.
#define WM_QZ_DROPDOWN 0x65B6
// Tab control (or tab bar) to its owner (wParam: the sender's control id, lParam: the
// tab control as CWnd*): the selection has changed with the new tab's window active, and
// the selection is about to change.
#define WM_QZ_TABCHANGED 0x65BB
#define WM_QZ_TABCHANGING 0x65BC
// A toolkit control to itself: deferred set-up once its window exists (lParam: the
// request number, or 0); 0.
#define WM_QZ_INITCONTROL 0x65C1
// Chevron popup to its opener, posted when it is destroyed; 0, 0.
#define WM_QZ_CHEVRONCLOSED 0x65C2
// A rebar to a bar it takes in (wParam: nonzero for a horizontal band, lParam:
// REBARBANDINFO*): the bar marks itself as in a rebar and fills the band.
#define WM_QZ_GETBANDINFO 0x65C3
// Rebar to a band's child bar (wParam: nonzero for a horizontal rebar, lParam:
// QZ_BANDCHILDSIZE*): the band was resized; 0.
#define WM_QZ_BANDCHILDSIZE 0x65C4
// Docking drag to a bar (0, 0): nonzero when the drag runs the toolkit's own loop.
#define WM_QZ_CANTOOLKITDRAG 0x65C5
// Docking drag to a docked bar (0, SIZE* of the floating size): nonzero when the bar
// has adjusted the size.
#define WM_QZ_GETFLOATSIZE 0x65C6
// Docking drag to a bar after it was docked or floated (0, 0): re-hook the dock hooks; 0.
#define WM_QZ_DRAGDONE 0x65C7

// Inside the colour sheet: a colour control to its page, and the sheet to each of its
// pages: this is the new colour (wParam: the colour, 0); 0.
#define WM_QZ_SETCOLOR 0x0800
// Colour picker to itself, posted: open the colour popup now.
#define WM_QZ_SHOWPOPUP 0x8001
// Menu bar to itself, posted while the menu loop of a popup it opened from the keyboard
// runs (wParam: the popup's HMENU, lParam: 1 for its first enabled item, -1 for its
// last): select that item as the system's own menu bar does; 0.
#define WM_QZ_SELECTOPENITEM 0x8009
// Popup menu window to itself, posted: re-apply its items.
#define WM_QZ_POPUPREFRESH 0x800A
// Popup menu window to itself, posted: create or show its drop shadow.
#define WM_QZ_POPUPSHADOW 0x800B
