// The library's property sheet: the framework's sheet made fit for pages built in code.
// Page rectangles are in dialog units unless the sheet's dialog-units flag is cleared;
// a sheet in pixels converts each page's size to dialog units once its base units are
// known, measured with a hidden dialog on first use.
#pragma once

#include "framework/Framework.h"

class iPropertySheet : public CPropertySheet {
public:
    iPropertySheet();
    iPropertySheet(UINT captionId, CWnd* parent, UINT firstPage);
    iPropertySheet(LPCSTR caption, CWnd* parent, UINT firstPage);
    // In-memory form: the rectangle, the style and the first page are not used.
    iPropertySheet(CWnd* parent, const RECT& rect, DWORD style, LPCSTR caption, UINT firstPage);
    ~iPropertySheet() override;

    // A sheet that works in pixels clears it right after construction, before its pages
    // are constructed.
    void SetDialogUnits(int flag) { m_dialogUnits = flag; }
    int GetDialogUnits() const { return m_dialogUnits; }

    // Converts the rectangle's width and height from pixels to dialog units; left and top
    // stay. 1 on success or when the sheet works in dialog units (nothing changes); 0,
    // with the rectangle unchanged, when the base units could not be measured.
    [[nodiscard]] int CalcDialogUnits(RECT* rect);

    BOOL OnInitDialog() override;

    // The measuring dialog's caption and style: "MS Sans Serif" 8 through DS_SETFONT,
    // and never visible.
    static constexpr const char* kMeasureCaption = "Calculate Dialog Units";
    static constexpr DWORD kMeasureStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK;

protected:
    // Measures the base units with the hidden dialog; false when that failed.
    [[nodiscard]] bool MeasureBaseUnits();

    CWnd* m_parent = nullptr;  // owner of the measuring dialog
    int m_dialogUnits = 1;
    int m_baseUnitX = 0;       // pixels for 4 horizontal dialog units; 0 until measured
    int m_baseUnitY = 0;       // pixels for 8 vertical dialog units; 0 until measured
};

// Maps the dialog-unit rectangle 0,0,4,8 on the dialog; on success stores the mapped right
// edge in x and the bottom edge in y (each only when given). The MapDialogRect result.
BOOL MeasureDialogBaseUnits(HWND dialog, int* x, int* y);
