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

// The command of a toolbar's chevron and customise items, and the customise item's text.
#define ID_QZ_CUSTOMIZE_TOOLBAR 52782
#define IDS_QZ_CUSTOMIZE 4550
// The customise dialog's Reset asks this first.
#define IDS_QZ_RESET_TOOLBAR 4652

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

// The colour popup: the names of its colours (the forty of the large table in its order,
// then those only the small table has), its cell texts and tips, and the small table's heading.
#define IDS_QZ_COLOR_BLACK 4700
#define IDS_QZ_COLOR_BROWN 4701
#define IDS_QZ_COLOR_OLIVE_GREEN 4702
#define IDS_QZ_COLOR_DARK_GREEN 4703
#define IDS_QZ_COLOR_DARK_TEAL 4704
#define IDS_QZ_COLOR_DARK_BLUE 4705
#define IDS_QZ_COLOR_INDIGO 4706
#define IDS_QZ_COLOR_GRAY_80 4707
#define IDS_QZ_COLOR_DARK_RED 4708
#define IDS_QZ_COLOR_ORANGE 4709
#define IDS_QZ_COLOR_DARK_YELLOW 4710
#define IDS_QZ_COLOR_GREEN 4711
#define IDS_QZ_COLOR_TEAL 4712
#define IDS_QZ_COLOR_BLUE 4713
#define IDS_QZ_COLOR_BLUE_GRAY 4714
#define IDS_QZ_COLOR_GRAY_50 4715
#define IDS_QZ_COLOR_RED 4716
#define IDS_QZ_COLOR_LIGHT_ORANGE 4717
#define IDS_QZ_COLOR_LIME 4718
#define IDS_QZ_COLOR_SEA_GREEN 4719
#define IDS_QZ_COLOR_AQUA 4720
#define IDS_QZ_COLOR_LIGHT_BLUE 4721
#define IDS_QZ_COLOR_VIOLET 4722
#define IDS_QZ_COLOR_GRAY_40 4723
#define IDS_QZ_COLOR_PINK 4724
#define IDS_QZ_COLOR_GOLD 4725
#define IDS_QZ_COLOR_YELLOW 4726
#define IDS_QZ_COLOR_BRIGHT_GREEN 4727
#define IDS_QZ_COLOR_TURQUIOSE 4728
#define IDS_QZ_COLOR_SKY_BLUE 4729
#define IDS_QZ_COLOR_PLUM 4730
#define IDS_QZ_COLOR_GRAY_25 4731
#define IDS_QZ_COLOR_ROSE 4732
#define IDS_QZ_COLOR_TAN 4733
#define IDS_QZ_COLOR_LIGHT_YELLOW 4734
#define IDS_QZ_COLOR_LIGHT_GREEN 4735
#define IDS_QZ_COLOR_LIGHT_TURQUOISE 4736
#define IDS_QZ_COLOR_PALE_BLUE 4737
#define IDS_QZ_COLOR_LAVENDER 4738
#define IDS_QZ_COLOR_WHITE 4739
#define IDS_QZ_COLOR_GRAY 4740
#define IDS_QZ_COLOR_MAROON 4741
#define IDS_QZ_COLOR_OLIVE 4742
#define IDS_QZ_COLOR_NAVY 4743
#define IDS_QZ_COLOR_PURPLE 4744
#define IDS_QZ_COLOR_SILVER 4745
#define IDS_QZ_COLOR_FUCHSIA 4746
#define IDS_QZ_NO_FILL 4750
#define IDS_QZ_NO_COLOR 4751
#define IDS_QZ_AUTOMATIC 4752
#define IDS_QZ_AUTOMATIC_COLOR 4753
#define IDS_QZ_MORE_COLORS_CELL 4754
#define IDS_QZ_MORE_COLORS 4755
#define IDS_QZ_STANDARD_COLORS 4756

// A list header's right-click menu (sub-menu 2 of the menu) and the toolbar that holds the
// images of its commands.
#define IDR_QZ_HEADER_MENU 4519
#define IDR_QZ_HEADER_MENU_IMAGES 4520
#define ID_QZ_HEADER_SORT_ASCENDING 52773
#define ID_QZ_HEADER_SORT_DESCENDING 52774
#define ID_QZ_HEADER_ALIGN_LEFT 52775
#define ID_QZ_HEADER_ALIGN_CENTER 52776
#define ID_QZ_HEADER_ALIGN_RIGHT 52777

// Where a list keeps its column widths unless told otherwise: section and entry.
#define IDS_QZ_COLUMN_SECTION 4536
#define IDS_QZ_COLUMN_INFO 4542

// The shortcut sheet: its caption and page templates, the command list's column titles,
// the all-commands category entry and the re-assign question.
#define IDS_QZ_ACCEL_SHEET 4654
#define IDD_QZ_ACCEL_ASSIGNMENTS 4654
#define IDD_QZ_ACCEL_CONFIGURE 4655
#define IDS_QZ_ACCEL_COMMAND 4655
#define IDS_QZ_ACCEL_KEYS 4656
#define IDS_QZ_ACCEL_DESCRIPTION 4657
#define IDS_QZ_ACCEL_ALL_COMMANDS 4658
#define IDS_QZ_ACCEL_REASSIGN 4659
// Controls of the shortcut pages.
#define IDC_QZ_ACCEL_COMMANDS_LABEL 5509
#define IDC_QZ_ACCEL_COMMANDS 5561
#define IDC_QZ_ACCEL_ASSIGNMENTS 5562
#define IDC_QZ_ACCEL_LIST 5563
#define IDC_QZ_ACCEL_KEY 5564
#define IDC_QZ_ACCEL_CATEGORY 5565
#define IDC_QZ_ACCEL_ASSIGN 5566
#define IDC_QZ_ACCEL_RESET_ALL 5567
#define IDC_QZ_ACCEL_REMOVE 5568
#define IDC_QZ_ACCEL_EXPORT 5569
#define IDC_QZ_ACCEL_KEY_LABEL 5570
#define IDC_QZ_ACCEL_ASSIGNMENTS_LABEL 5571
#define IDC_QZ_ACCEL_HEADING 5572
#define IDC_QZ_ACCEL_DESCRIPTION 5573
#define IDC_QZ_ACCEL_DESCRIPTION_LABEL 5574

// The colour sheet: its caption, the labels of its two swatches, and its two pages with
// their controls.
#define IDS_QZ_COLORS 4647
#define IDS_QZ_NEW_COLOR 4648
#define IDS_QZ_CURRENT_COLOR 4649
#define IDD_QZ_COLOR_STANDARD 4531
#define IDD_QZ_COLOR_CUSTOM 4532
#define IDC_QZ_COLOR_HEX_TEXT 101
#define IDC_QZ_COLORS_LABEL 5532
#define IDC_QZ_COLOR_PALETTE 5552
#define IDC_QZ_COLOR_FIELD 5550
#define IDC_QZ_COLOR_LUMINANCE_BAR 5551
#define IDC_QZ_RED_EDIT 5531
#define IDC_QZ_GREEN_EDIT 5533
#define IDC_QZ_BLUE_EDIT 5540
#define IDC_QZ_HUE_EDIT 5537
#define IDC_QZ_SATURATION_EDIT 5536
#define IDC_QZ_LUMINANCE_EDIT 5535
#define IDC_QZ_HUE_SPIN 5534
#define IDC_QZ_SATURATION_SPIN 5538
#define IDC_QZ_LUMINANCE_SPIN 5539
#define IDC_QZ_RED_SPIN 5541
#define IDC_QZ_GREEN_SPIN 5542
#define IDC_QZ_BLUE_SPIN 5543
#define IDC_QZ_HUE_LABEL 5544
#define IDC_QZ_SATURATION_LABEL 5545
#define IDC_QZ_LUMINANCE_LABEL 5546
#define IDC_QZ_RED_LABEL 5547
#define IDC_QZ_GREEN_LABEL 5548
#define IDC_QZ_BLUE_LABEL 5549
