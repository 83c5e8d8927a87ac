// Stands in for the framework's global data: the system colours and metrics its own
// bars draw with and the standard arrow cursor, read once at start-up and again when
// the thread's main window sees WM_SYSCOLORCHANGE or WM_SETTINGCHANGE.
#pragma once

#include <windows.h>

struct AUX_DATA {
    AUX_DATA();

    // Re-read by the main window's WM_SYSCOLORCHANGE and WM_SETTINGCHANGE.
    void UpdateSysColors();
    // Re-read by the main window's WM_SETTINGCHANGE.
    void UpdateSysMetrics();

    // The framework's two-pixel border: twice the system's border width and height.
    int cxBorder2 = 2;
    int cyBorder2 = 2;

    COLORREF clrBtnFace = 0;
    COLORREF clrBtnShadow = 0;
    COLORREF clrBtnHilite = 0;
    COLORREF clrBtnText = 0;
    COLORREF clrWindowFrame = 0;

    // The system's arrow, which framework windows show where they set no cursor of their own.
    HCURSOR hcurArrow = nullptr;
};

extern AUX_DATA afxData;
