// The toolkit's global data: one process-wide record of the colours, fonts, cursors,
// metrics and look switches every toolkit drawing routine reads, built during static
// initialisation so that it is ready before the first toolkit window. Building it also
// checks that the common controls are recent enough (4.72); an older library gets a
// message box and ends the program's message loop before it starts.
// Beside the record: the system colours' XP blends, the text colour for a fill, and
// replaceable sources (fonts, the common controls' version) for tests.
#pragma once

#include "framework/CString.h"
#include "framework/GdiObjects.h"

#include <windows.h>

#include <shlwapi.h>

class QZ_AUX_DATA {
public:
    QZ_AUX_DATA();
    virtual ~QZ_AUX_DATA();

    // Everything from the system, then the version check; a null module means the program's.
    void Initialize(HINSTANCE hInstance);
    // The system colours and their XP blends; the frame calls it when they change.
    void UpdateSysColors();
    // The XP colours from the system colours held in the record.
    void DeriveXPColors();
    void UpdateSysMetrics();
    void UpdateFonts();
    void DeleteFonts();
    // The caption and vertical fonts from a copy of the menu font.
    void CreateCaptionFonts(LOGFONTA& logFont);
    void LoadCursors();
    void FreeCursors();
    // The common controls' version as (major << 16) | minor, read once; 0 when unknown.
    int GetComCtlVersion();
    // colorMenuText on a light fill, colorSelectionText on a dark one.
    COLORREF ContrastTextColor(COLORREF fill) const;

    // System colours.
    COLORREF colorFace = 0;
    COLORREF colorShadow = 0;
    COLORREF colorDarkShadow = 0;
    COLORREF colorHilite = 0;
    COLORREF colorFaceLight = 0;
    COLORREF colorButtonText = 0;
    COLORREF colorGrayText = 0;
    COLORREF colorSelection = 0;
    COLORREF colorSelectionText = 0;
    COLORREF colorMenu = 0;
    COLORREF colorMenuText = 0;
    COLORREF colorWindow = 0;
    COLORREF colorWindowFrame = 0;
    COLORREF colorWindowText = 0;
    COLORREF colorCaption = 0;
    COLORREF colorCaptionInactive = 0;
    COLORREF colorCaptionGradient = 0;
    COLORREF colorCaptionGradientInactive = 0;
    COLORREF colorCaptionText = 0;
    COLORREF colorCaptionTextInactive = 0;

    // XP colours, blended from the system colours.
    COLORREF colorXPBarFace = 0;      // bar background, image column of menus
    COLORREF colorXPBarFaceDark = 0;  // image column of commands shown only in full menus
    COLORREF colorXPBorder = 0;       // frame of menus, popups and hot items
    COLORREF colorXPMenuBack = 0;     // menu background
    COLORREF colorXPSeparator = 0;
    COLORREF colorXPGripper = 0;
    COLORREF colorFaceLighter = 0;    // tab backgrounds
    COLORREF colorXPHot = 0;
    COLORREF colorXPPushed = 0;
    COLORREF colorXPChecked = 0;
    COLORREF colorXPPushedText = 0;   // text on colorXPPushed

    // Cursors; the two splitter cursors are owned, the size-all one is the system's.
    HCURSOR cursorSplitHorz = nullptr;
    HCURSOR cursorSplitVert = nullptr;
    HCURSOR cursorSizeAll = nullptr;

    // Metrics in pixels.
    int smallIconWidth = 0;
    int smallIconHeight = 0;
    int thumbWidth = 0;
    int menuHeight = 0;

    // Fonts: the menu font's face (or "Tahoma"); the caption and vertical fonts in
    // "Tahoma" or "Arial". Vertical text reads bottom to top, reversed top to bottom.
    CFont fontNormal;
    CFont fontBold;
    CFont fontCaption;
    CFont fontVert;
    CFont fontVertBold;
    CFont fontVertRev;
    CFont fontVertRevBold;

    // The system, from the toolkit's version record.
    int isWin95 = 0;
    int isWin98 = 0;
    int isWinXP = 0;

    // Switches.
    int coolMenusInstalled = 0;
    int xpLook = 0;
    int popupShadows = 1;
    int toolkitDrag = 1;
    int barMenuOnRightClick = 1;
    int dockBarMenuOnRightClick = 1;

    // (major << 16) | minor of the common controls; -1 until read.
    int comCtlVersion = -1;
    // When set, the toolkit settings store writes this profile file instead of the registry.
    CString iniFileName;
    // The module the toolkit loads its cursors and images from.
    HINSTANCE resourceInstance = nullptr;

private:
    QZ_AUX_DATA(const QZ_AUX_DATA&) = delete;
    QZ_AUX_DATA& operator=(const QZ_AUX_DATA&) = delete;
};

extern QZ_AUX_DATA qzAfxData;

// The text colour for a fill, by the global record's menu and selection text colours.
COLORREF QZContrastTextColor(COLORREF fill);

// Where the fonts come from. Tests replace them to reach every branch of the font choice.
using QZMenuFontReader = BOOL (*)(LOGFONTA* menuFont);
using QZFaceFinder = BOOL (*)(LPCSTR faceName);
// The system's menu font (null: the non-client metrics); returns the previous reader.
QZMenuFontReader QZSetMenuFontReader(QZMenuFontReader reader);
// Whether the screen has a font family of that face (null: the screen's enumeration).
QZFaceFinder QZSetFaceFinder(QZFaceFinder finder);

// Reads the common controls' version; FALSE when the library has no DllGetVersion.
using QZComCtlVersionReader = BOOL (*)(DLLVERSIONINFO* info, HRESULT* result);
// null: the library's own DllGetVersion; returns the previous reader.
QZComCtlVersionReader QZSetComCtlVersionReader(QZComCtlVersionReader reader);
