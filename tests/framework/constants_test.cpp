// The framework numbers that resources, message maps and other areas use as plain
// numbers: a changed value would break them silently.
#include "framework/FrameworkConstants.h"

#include <gtest/gtest.h>

TEST(FrameworkConstants, KeepTheNumbersOtherCodeRelies)
{
    struct Case { const char* name; unsigned long value; unsigned long expected; };
    const Case cases[] = {
        {"WM_REFLECT_BASE + WM_COMMAND", WM_REFLECT_BASE + WM_COMMAND, 0xBD11},
        {"WM_REFLECT_BASE + WM_NOTIFY", WM_REFLECT_BASE + WM_NOTIFY, 0xBC4E},
        {"WM_REFLECT_BASE + WM_CTLCOLOR", WM_REFLECT_BASE + WM_CTLCOLOR, 0xBC19},
        {"WM_SETMESSAGESTRING", WM_SETMESSAGESTRING, 0x0362},
        {"WM_IDLEUPDATECMDUI", WM_IDLEUPDATECMDUI, 0x0363},
        {"WM_INITIALUPDATE", WM_INITIALUPDATE, 0x0364},
        {"WM_RECALCPARENT", WM_RECALCPARENT, 0x0368},
        {"WM_POPMESSAGESTRING", WM_POPMESSAGESTRING, 0x0375},
        {"AFX_IDW_TOOLBAR", AFX_IDW_TOOLBAR, 0xE800},
        {"AFX_IDW_STATUS_BAR", AFX_IDW_STATUS_BAR, 0xE801},
        {"AFX_IDW_DOCKBAR_TOP", AFX_IDW_DOCKBAR_TOP, 0xE81B},
        {"AFX_IDW_DOCKBAR_FLOAT", AFX_IDW_DOCKBAR_FLOAT, 0xE81F},
        {"AFX_IDW_PANE_FIRST", AFX_IDW_PANE_FIRST, 0xE900},
        {"AFX_IDS_IDLEMESSAGE", AFX_IDS_IDLEMESSAGE, 0xE001},
        {"ID_FILE_OPEN", ID_FILE_OPEN, 57601},
        {"ID_FILE_PRINT", ID_FILE_PRINT, 57607},
        {"ID_FILE_MRU_FILE1", ID_FILE_MRU_FILE1, 57616},
        {"ID_APP_ABOUT", ID_APP_ABOUT, 57664},
        {"ID_HELP_INDEX", ID_HELP_INDEX, 57666},
        {"ID_DEFAULT_HELP", ID_DEFAULT_HELP, 57671},
        {"ID_EDIT_UNDO", ID_EDIT_UNDO, 0xE12B},
        {"CBRS_BOTTOM with WS_CHILD | WS_VISIBLE", WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0x50008200},
        {"CBRS_ALL", CBRS_ALL, 0x0040FFFF},
        {"CBRS_ORIENT_HORZ", CBRS_ORIENT_HORZ, 0xA000},
        {"LM_COMMIT", LM_COMMIT, 0x40},
        {"WF_CONTINUEMODAL", WF_CONTINUEMODAL, 0x10},
        {"MFS_4THICKFRAME", MFS_4THICKFRAME, 0x200},
        {"FWS_PREFIXTITLE", FWS_PREFIXTITLE, 0x4000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, c.value);
    }
    // The 3-D border has a bit of its own.
    EXPECT_EQ(0u, static_cast<unsigned long>(CBRS_BORDER_3D & (CBRS_FLOAT_MULTI | CBRS_HIDE_INPLACE | CBRS_SIZE_DYNAMIC)));
}
