// Ids of the toolkit tests' own resources (toolkit_test_resources.rc).
#pragma once

// A command string: its status prompt, then its tip after the newline.
#define IDS_TEST_PALETTE 7500
#define IDS_TEST_PROMPT_ONLY 7501
// A command string whose tip after the newline is empty.
#define IDS_TEST_EMPTY_TIP 7502
// A context menu: popup 0 holds "First", popup 1 holds "Second".
#define IDR_TEST_CONTEXT_MENU 7510
#define ID_TEST_FIRST 7511
#define ID_TEST_SECOND 7512
// A menu without a popup: one plain item.
#define IDR_TEST_FLAT_MENU 7513
// A 16 x 16 icon (a green square inside a 2-pixel transparent margin), a blue one for the
// pressed state, and a 16 x 16 bitmap in the four standard button colours, frame to centre.
#define IDI_TEST_ICON 7520
#define IDI_TEST_PRESSED_ICON 7521
#define IDB_TEST_BUTTON_BITMAP 7522
// The main frame's toolbar as a resource: Open, Save, a separator, Print, a separator,
// Help Index, with 16 x 16 images (a black-framed square of yellow, blue, green and red on
// the standard button grey) in a bitmap of the same id.
#define IDR_TEST_TOOLBAR 128
// A toolbar resource that claims more items than it holds.
#define IDR_TEST_SHORT_TOOLBAR 7530

// The main frame's menu as a resource: File (with a sub-menu "Recent", separators and
// accelerator texts), Edit, View (with an item whose text is 300 characters long), the
// top-level command "&Send this Program to a Friend", and Help.
#define IDR_TEST_MAIN_MENU 128
#define ID_TEST_RECENT_FIRST 7540
#define ID_TEST_RECENT_SECOND 7541
#define ID_TEST_LONG_TEXT 7542
#define ID_TEST_SEND_TO_FRIEND 7543
// The test MDI frame's menu: File and a "Window" popup with the window commands.
#define IDR_TEST_MDI_MENU 7550
#define ID_TEST_MDI_NEW 7551
// A bitmap strip of three 16 x 16 images (red, green and blue squares on the button face).
#define IDB_TEST_STRIP 7555
// The frame's default shortcuts: Ctrl+O and Ctrl+Alt+O open (0xE101), Ctrl+S saves
// (0xE103), Shift+Ctrl+F5 opens the first recent file, and the character "a" (no virtual
// key) is the long item's.
#define IDR_TEST_ACCEL 7560
// An id with no accelerator resource.
#define IDR_TEST_MISSING_ACCEL 7561
