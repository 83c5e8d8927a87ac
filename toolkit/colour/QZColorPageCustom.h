// The colour sheet's "Custom" page: a field of hue (left to right) and saturation (bottom
// to top) at half luminance with a crosshair, a bar beside it from white at the top to
// black at the bottom for the field's colour with an arrow, and six numbers from 0 to 255
// (hue, saturation, luminance, red, green, blue) with spin buttons. Every change becomes
// the sheet's new colour at once.
#pragma once

#include "framework/ControlsButtons.h"
#include "framework/ControlsCommon.h"
#include "framework/DC.h"
#include "framework/GdiObjects.h"
#include "framework/Geometry.h"
#include "framework/PropertySheet.h"
#include "toolkit/foundation/QZResourceSwitch.h"

class CQZColorDialog;

// Which colour control has the focus: one state for all of them, as only one can.
enum QZColorFocus { kQZColorFocusNone = 0, kQZColorFocusField = 1, kQZColorFocusBar = 2 };

// What the field and the bar share: a colour with its hue, saturation and luminance, a
// picture of the choices, a marker, the mouse, and telling the page (WM_QZ_SETCOLOR).
// Their set-up runs once the window is complete, whether created or attached.
class CQZColorBase : public CStatic {
public:
    CQZColorBase();
    ~CQZColorBase() override;

    // Stores the colour with its hue, saturation and luminance and repaints; with bMove
    // the marker moves to show it.
    virtual void SetColor(COLORREF color, BOOL bMove);
    virtual COLORREF GetColor() const;
    // The colour of the picture at the point becomes the colour (the page is told with
    // bNotify) when the point is on the picture; the marker goes to the point either way.
    virtual void SetMarker(CPoint point, BOOL bNotify);

    // The toolkit's conversions, with the arguments in the order hue, luminance, saturation.
    static COLORREF HSLToColor(double hue, double luminance, double saturation);
    static void ColorToHSL(COLORREF color, double& hue, double& saturation, double& luminance);

    static int s_nFocusState;

    CDC m_dcPicture;
    COLORREF m_clrColor = 0;
    bool m_bInitPending = true;
    double m_dLuminance = 0.0;
    double m_dSaturation = 0.0;
    double m_dHue = 0.0;
    CPoint m_ptMarker;

protected:
    void PreSubclassWindow() override;
    // Lets the picture DC go with the bitmap it came with.
    void ReleasePicture();
    // Tells the page of the colour.
    void NotifyPage(COLORREF color);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CBitmap m_bmpPicture;
    HGDIOBJ m_hOldBitmap = nullptr;
};

// The hue and saturation field; its picture is drawn once, at half luminance.
class CQZColorWnd : public CQZColorBase {
public:
    void SetColor(COLORREF color, BOOL bMove) override;
    void SetMarker(CPoint point, BOOL bNotify) override;
    // Move the marker to the hue (0 to 1) or saturation and take the colour there.
    void SetHue(double hue);
    void SetSaturation(double saturation);
    // Three lines for each arm of a crosshair, 5 to 9 pixels out from the marker, white
    // while the field has the focus.
    void DrawMarker(CDC* pDC);

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    // Draws the picture the first time it is needed.
    void EnsurePicture();
    // Picture and marker on the window at once.
    void Repaint();
    // The focus state, and the crosshair in its colour.
    void ShowFocusState(int nState);

    afx_msg void OnPaint();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()
};

// The luminance bar: row r of its H rows has luminance 1 - r / (H - 1), white at the top
// to black at the bottom, for the colour's hue and saturation; the arrow beside it points
// at the row whose colour was picked. Rows start 4 pixels below the control's top.
class CQZColorLum : public CQZColorBase {
public:
    void SetColor(COLORREF color, BOOL bMove) override;
    // The row at the point's y (client coordinates, clamped to the bar) gives the colour.
    void SetMarker(CPoint point, BOOL bNotify) override;
    // The rows of the bar in client coordinates: 14 pixels wide, 4 in from top and bottom.
    CRect GetBarRect() const;
    // Moves the arrow to the luminance (0 to 1) and takes the colour of that row.
    void SetLuminance(double luminance);
    // A new picture of the rows, copied to the DC.
    void PaintBar(CDC* pDC);
    void DrawArrow(CDC* pDC);
    // The row of a luminance, and the colour of a row.
    int RowOfLuminance(double luminance) const;
    COLORREF RowColor(int row) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The arrow's row.
    int m_nArrowPos = 0;

protected:
    void RedrawArrow();

    afx_msg void OnPaint();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()
};

class CQZColorPageCustom : public QZResourceSwitchScope, public CPropertyPage {
    DECLARE_DYNCREATE(CQZColorPageCustom)
public:
    // Without a sheet (dynamic creation) a chosen colour goes nowhere.
    CQZColorPageCustom();
    explicit CQZColorPageCustom(CQZColorDialog* pDialog);
    ~CQZColorPageCustom() override;

    // The page's three numbers for a colour, each 0 to 255 truncated.
    static void RGBtoHSL(COLORREF color, int& hue, int& saturation, int& luminance);

    BOOL OnSetActive() override;

    CQZColorWnd m_wndColor;
    CQZColorLum m_wndLuminance;
    CStatic m_wndLabels[6];
    CSpinButtonCtrl m_spinHue;
    CSpinButtonCtrl m_spinSaturation;
    CSpinButtonCtrl m_spinLuminance;
    CSpinButtonCtrl m_spinRed;
    CSpinButtonCtrl m_spinGreen;
    CSpinButtonCtrl m_spinBlue;
    CEdit m_editRed;
    CEdit m_editGreen;
    CEdit m_editLuminance;
    CEdit m_editSaturation;
    CEdit m_editHue;
    CEdit m_editBlue;
    int m_nRed = 0;
    int m_nBlue = 0;
    int m_nGreen = 0;
    int m_nHue = 0;
    int m_nLuminance = 0;
    int m_nSaturation = 0;
    CQZColorDialog* m_pDialog;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The six numbers from the colour.
    void SetNumbers(COLORREF color);
    void SetRGBNumbers(COLORREF color);
    // The sheet's new colour, when it differs.
    void PassOn(COLORREF color);
    // After a hue, saturation or luminance edit: the other control and the red, green and
    // blue numbers follow the colour.
    void FollowHLSEdit(CQZColorBase* pOther, COLORREF color);

    afx_msg LRESULT OnSetColor(WPARAM wParam, LPARAM lParam);
    afx_msg void OnRGBChange();
    afx_msg void OnLuminanceChange();
    afx_msg void OnHueChange();
    afx_msg void OnSaturationChange();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
