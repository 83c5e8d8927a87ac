// The colour sheet's "Standard" page: a honeycomb of 127 colour hexagons, two rows of
// greys and a large white and black hexagon, drawn pixel by pixel into a kept picture.
// A click, a drag with the button held, the arrow keys or a double-click choose a colour,
// which becomes the sheet's new colour at once.
#pragma once

#include "framework/CollectionLists.h"
#include "framework/ControlsButtons.h"
#include "framework/DC.h"
#include "framework/GdiObjects.h"
#include "framework/Geometry.h"
#include "framework/PropertySheet.h"
#include "toolkit/foundation/QZResourceSwitch.h"

class CQZColorDialog;

// One cell of the honeycomb, owned by its control.
struct QZ_COLORCELL {
    int left;   // list index of the cell each arrow key leads to; -1 for none
    int up;
    int right;
    int down;
    BOOL bHexagon;   // a small hexagon, else a large one
    CPoint* pPixels; // every pixel in drawing order, the origin first (owned)
    COLORREF color;
};

// The palette control over the page's frame static. Its set-up runs once the window is
// complete, whether it was created or attached to the template's static.
class CQZColorHex : public CStatic {
public:
    CQZColorHex();
    ~CQZColorHex() override;

    // Selects the colour's cell (the last cell of that colour) without telling anyone or
    // repainting; before the palette exists only the colour is kept.
    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_clrSelected; }
    // The colour of the cell holding the point (client coordinates), which then becomes the
    // marked cell; (COLORREF)-1 and nothing changed when no cell holds it.
    COLORREF HitTest(CPoint point);
    // The colour under the point becomes the selection, the page is told and the control
    // repainted, when it is a colour other than the selected one.
    void SelectAt(CPoint point);
    // The cell at that list index becomes the selection; -1 does nothing.
    void SelectCell(int nIndex);
    // The list index of the first cell of the colour (for white, the large cell while it is
    // the marked one), or -1.
    int FindCell(COLORREF color) const;

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The markers of the selected colour, when it is the sheet's new colour.
    void DrawSelection(CDC* pDC);

    bool m_bInitPending = true;
    // A drag with the button held: the mouse is captured meanwhile.
    BOOL m_bTracking = FALSE;
    BOOL m_bHexagonMarker = TRUE;
    CPoint m_ptMarker;
    COLORREF m_clrSelected = 0xFFFFFFFF;
    CList<QZ_COLORCELL*, QZ_COLORCELL*> m_listCells;
    // The drawn palette, made at the first paint; its bitmap stays selected.
    CDC m_dcPalette;

protected:
    void PreSubclassWindow() override;
    // The 144 cells into the list and their pixels into the palette picture.
    void BuildPalette();
    void DrawMarker(CDC* pDC, CPoint origin, BOOL bHexagon);
    // The palette and the selection on the window at once.
    void Repaint();
    QZ_COLORCELL* GetCell(int nIndex) const;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CBitmap m_bmpPalette;
    HGDIOBJ m_hOldBitmap = nullptr;
};

class CQZColorPageStandard : public QZResourceSwitchScope, public CPropertyPage {
    DECLARE_DYNCREATE(CQZColorPageStandard)
public:
    // Without a sheet (dynamic creation) a chosen colour goes nowhere.
    CQZColorPageStandard();
    explicit CQZColorPageStandard(CQZColorDialog* pDialog);
    ~CQZColorPageStandard() override;

    CQZColorDialog* m_pDialog;
    CQZColorHex m_wndColorHex;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg LRESULT OnSetColor(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
