// The framework's fixed numbers: private messages, standard window and command ids,
// control-bar style bits, layout modes and window flags. Resources, message maps and
// the toolkit use these values as numbers, so they never change; where the program's
// design gives no value, the one chosen here is used by every area.
#pragma once

#include <windows.h>

// Private window messages.
#define WM_SIZEPARENT 0x0361          // lParam: AFX_SIZEPARENTPARAMS*; a child takes its room from the parent
#define WM_SETMESSAGESTRING 0x0362    // wParam: string id, or lParam: text; status text of a frame
#define WM_IDLEUPDATECMDUI 0x0363     // wParam: disable items without a handler
#define WM_INITIALUPDATE 0x0364       // sent to views (and their children) once the frame is built
#define WM_RECALCPARENT 0x0368        // a child asks its frame to lay out again
#define WM_POPMESSAGESTRING 0x0375    // as WM_SETMESSAGESTRING, then the previous id comes back

// The system timer that blinks the caret (no SDK name): a sign that a message loop has
// gone quiet, never activity that restarts idle work.
#define WM_SYSTIMER 0x0118

// The framework's one colour message: every WM_CTLCOLORxxx reaches handlers as this.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// Reflected messages arrive at the child as WM_REFLECT_BASE + the parent's message number.
#define WM_REFLECT_BASE 0xBC00

// Command notification codes handed to OnCmdMsg.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (static_cast<UINT>(-1))

// Standard window ids.
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801
#define AFX_IDW_REBAR 0xE804
#define AFX_IDW_DOCKBAR_TOP 0xE81B
#define AFX_IDW_DOCKBAR_LEFT 0xE81C
#define AFX_IDW_DOCKBAR_RIGHT 0xE81D
#define AFX_IDW_DOCKBAR_BOTTOM 0xE81E
#define AFX_IDW_DOCKBAR_FLOAT 0xE81F
#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_PANE_LAST 0xE9FF
#define AFX_IDM_FIRST_MDICHILD 0xFF00
#define AFX_IDC_TAB_CONTROL 0x3020
#define ID_APPLY_NOW 0x3021

// Standard string ids.
#define AFX_IDS_IDLEMESSAGE 0xE001

// Standard commands: file range 57600-57631 with the recent-file entries at its end.
#define ID_FILE_NEW 0xE100
#define ID_FILE_OPEN 0xE101
#define ID_FILE_CLOSE 0xE102
#define ID_FILE_SAVE 0xE103
#define ID_FILE_SAVE_AS 0xE104
#define ID_FILE_PRINT 0xE107
#define ID_FILE_MRU_FILE1 0xE110
#define ID_FILE_MRU_LAST 0xE11F

// Window commands of an MDI frame's "window" popup.
#define ID_WINDOW_NEW 0xE130
#define ID_WINDOW_ARRANGE 0xE131
#define ID_WINDOW_CASCADE 0xE132
#define ID_WINDOW_TILE_HORZ 0xE133
#define ID_WINDOW_TILE_VERT 0xE134

#define ID_EDIT_CLEAR 0xE120
#define ID_EDIT_COPY 0xE122
#define ID_EDIT_CUT 0xE123
#define ID_EDIT_PASTE 0xE125
#define ID_EDIT_SELECT_ALL 0xE12A
#define ID_EDIT_UNDO 0xE12B

#define ID_APP_ABOUT 0xE140
#define ID_APP_EXIT 0xE141
#define ID_HELP_INDEX 0xE142
#define ID_HELP_USING 0xE144
#define ID_CONTEXT_HELP 0xE145
#define ID_HELP 0xE146
#define ID_DEFAULT_HELP 0xE147

// Bar toggles: the command id is the bar's control id.
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801

// Control-bar style bits (CControlBar::m_dwStyle).
#define CBRS_NOALIGN 0x00000000L
#define CBRS_FLOATING 0x00000001L
#define CBRS_SIZE_FIXED 0x00000002L
#define CBRS_SIZE_DYNAMIC 0x00000004L
#define CBRS_HIDE_INPLACE 0x00000008L
#define CBRS_TOOLTIPS 0x00000010L
#define CBRS_FLYBY 0x00000020L
#define CBRS_FLOAT_MULTI 0x00000040L
#define CBRS_BORDER_3D 0x00000080L  // its own bit: it must not alias CBRS_FLOAT_MULTI
#define CBRS_BORDER_LEFT 0x00000100L
#define CBRS_BORDER_TOP 0x00000200L
#define CBRS_BORDER_RIGHT 0x00000400L
#define CBRS_BORDER_BOTTOM 0x00000800L
#define CBRS_BORDER_ANY 0x00000F00L
#define CBRS_ALIGN_LEFT 0x00001000L
#define CBRS_ALIGN_TOP 0x00002000L
#define CBRS_ALIGN_RIGHT 0x00004000L
#define CBRS_ALIGN_BOTTOM 0x00008000L
#define CBRS_ALIGN_ANY 0x0000F000L
#define CBRS_GRIPPER 0x00400000L
#define CBRS_ALL 0x0040FFFFL
#define CBRS_ORIENT_HORZ (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)
#define CBRS_ORIENT_VERT (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)
#define CBRS_ORIENT_ANY (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)
#define CBRS_LEFT (CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT)
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM)
#define CBRS_RIGHT (CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP)

// Layout modes of CControlBar::CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

// CWnd::m_nFlags.
#define WF_TOOLTIPS 0x0001
#define WF_TEMPHIDE 0x0002
#define WF_STAYDISABLED 0x0004
#define WF_MODALLOOP 0x0008
#define WF_CONTINUEMODAL 0x0010
#define WF_STAYACTIVE 0x0020
#define WF_NOPOPMSG 0x0040
#define WF_KEEPMINIACTIVE 0x0200

// Modal loop flags.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

// Mini-frame styles.
#define MFS_SYNCACTIVE 0x00000100L
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L

// Frame window styles: the document title joins the frame's title.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
