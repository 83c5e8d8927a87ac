// Resource ids of the toolkit: the numbers are fixed by the toolkit's design (other code
// and stored layouts know them), so they never change.
#pragma once

// Splitter cursors: a left-right arrow across two vertical bars, an up-down arrow across two horizontal bars.
#define IDC_QZ_SPLIT_HORZ 4512
#define IDC_QZ_SPLIT_VERT 4514

// A floating frame's caption glyphs, 10 x 10 each on magenta: minimise, restore, close, options.
#define IDB_QZ_CAPTION_GLYPHS 4656
// Tips of a floating toolbar's caption buttons.
#define IDS_QZ_CLOSE 4585
#define IDS_QZ_TOOLBAR_OPTIONS 4663

// A docking window's caption glyphs, 10 x 10 each on magenta: a cross; triangles pointing
// left, up, right and down, each grey then black; a bar with a triangle (grey and black,
// pointing left and right).
#define IDB_QZ_DOCK_WINDOW_GLYPHS 4500
// A docking window's caption buttons (their ids and commands) with their tips, and the
// value in its bar section that keeps its sizes.
#define ID_QZ_HIDE_DOCK_WINDOW 5511
#define ID_QZ_EXPAND_DOCK_WINDOW 5512
#define IDS_QZ_CONTRACT_DOCK_WINDOW 4545
#define IDS_QZ_BAR_POSITION 4537

// Names of untitled bars in the bar menu.
#define IDS_QZ_DOCK_WINDOW 4556
#define IDS_QZ_TOOLBAR 4558
#define IDS_QZ_STATUS_BAR 4560
#define IDS_QZ_CONTROL_BAR 4645

// Where a toolbar keeps its customised layout: the value name from the profile name and
// the bar's id, the key from the application's registry key and profile name.
#define IDS_QZ_SETTINGS_KEY 4533
#define IDS_QZ_BAR_VALUE_NAME 4541

// The command of a toolbar's chevron and customise items.
#define ID_QZ_CUSTOMIZE_TOOLBAR 52782

// The command of a personalised popup's chevron item: show the full popup.
#define ID_QZ_FULL_MENUS 52783

// The image menus' recent list: its section in the toolkit's settings and the entry format.
#define IDS_QZ_RECENT_ITEM_LIST 4539
#define IDS_QZ_RECENT_ITEM 4540

// The menu bar's window text, the last entry of an MDI window list, and the tips of the
// MDI child's window buttons.
#define IDS_QZ_MENU_BAR 4644
#define IDS_QZ_MORE_WINDOWS 4653
#define IDS_QZ_MINIMIZE_WINDOW 4660
#define IDS_QZ_RESTORE_WINDOW 4661
#define IDS_QZ_CLOSE_WINDOW 4662
