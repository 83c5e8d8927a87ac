// The colour sheet ("Colors"): a modal property sheet with a Standard page (a honeycomb
// of colours) and a Custom page (hue, saturation and luminance), OK and Cancel stacked at
// the right and under them the New and Current swatches; optionally the new colour as
// read-only hexadecimal text, and the swatches in a 3-D frame. The colour popup's "More
// Colors..." opens it; the colours chosen through it are kept for the popup's recent row.
#pragma once

#include "framework/ControlsButtons.h"
#include "framework/Geometry.h"
#include "framework/PropertySheet.h"
#include "toolkit/foundation/QZResourceSwitch.h"

class CDC;
class CQZColorPageCustom;
class CQZColorPageStandard;

// Sheet style bits.
#define QZ_CDS_HEXTEXT 0x20   // the new colour as hexadecimal text under the buttons
#define QZ_CDS_3DFRAME 0x40   // the swatches in a raised and sunken frame

// Owns its two pages. The toolkit's resource module is held from before the sheet base
// is built until after it is gone.
class CQZColorDialog : public QZResourceSwitchScope, public CPropertySheet {
    DECLARE_DYNAMIC(CQZColorDialog)
public:
    CQZColorDialog(COLORREF clrNew, COLORREF clrCurrent, DWORD dwStyle, CWnd* pParentWnd);
    ~CQZColorDialog() override;

    BOOL OnInitDialog() override;

    // Stores the colour; while the sheet shows, paints the New swatch and the hex text at
    // once; with bNotify, tells every page's window.
    void SetNewColor(COLORREF color, BOOL bNotify);
    void SetCurrentColor(COLORREF color);
    // The chosen colour after IDOK.
    COLORREF GetColor() const { return m_clrNew; }
    // "Hex: " and the red, green and blue bytes as two upper-case hexadecimal digits each.
    static CString FormatHex(COLORREF color);
    // The text as the clipboard's text; FALSE when the clipboard cannot be opened, the text
    // cannot be copied or the clipboard refuses it (the clipboard is closed again and
    // nothing is left allocated).
    BOOL CopyToClipboard(LPCSTR lpszText);
    // The swatches with their labels and frame, in client coordinates; remembers where
    // the New and Current rectangles are.
    void DrawSwatches(CDC* pDC);

    CQZColorPageStandard* GetStandardPage() const { return m_pStandardPage; }
    CQZColorPageCustom* GetCustomPage() const { return m_pCustomPage; }

    DWORD m_dwStyle;
    CEdit m_editHex;
    CRect m_rectNew;
    CRect m_rectCurrent;
    COLORREF m_clrNew;
    COLORREF m_clrCurrent;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CQZColorPageStandard* m_pStandardPage;
    CQZColorPageCustom* m_pCustomPage;
};

// Ends the colour sheet that the control's page sits on with IDOK (a double-click, Return
// or Space on a colour); nothing when the control is not on a sheet's page.
void QZEndColorSheet(CWnd* pControl);
