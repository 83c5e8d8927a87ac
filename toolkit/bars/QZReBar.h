// The toolkit's rebar: a control bar around the common-controls rebar, a strip of movable
// bands that each hold a child window, usually a toolbar. It keeps each band's visibility
// in step with its child, tells the frame when its height changes, hands each band's new
// child size to the child as WM_QZ_BANDCHILDSIZE (so a toolkit toolbar fits its buttons to
// the band), and saves and restores the bands' order, widths and styles. The bar menu
// never lists it and it keeps the classic border colours in the XP look.
#pragma once

#include "toolkit/bars/QZControlBar.h"

class CQZReBar : public CQZControlBar {
    DECLARE_DYNAMIC(CQZReBar)
public:
    CQZReBar();
    ~CQZReBar() override;

    // The rebar window as a child of pParentWnd: dwCtrlStyle holds the RBS_ styles,
    // dwStyle the window and CBRS_ bar styles. An owner set before goes to the control as
    // the window its notifications are sent to.
    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT nID = AFX_IDW_REBAR);
    // A band at the end holding pBar, with its control id as the band's identifier and its
    // current size as the band's smallest child size; a toolkit bar is asked for its band
    // (WM_QZ_GETBANDINFO) and knows from then on that it sits in a rebar. FALSE when the
    // control refuses the band.
    BOOL AddBar(CWnd* pBar, LPCSTR lpszText = nullptr, DWORD dwBandStyle = RBBS_GRIPPERALWAYS);

    // Shows or hides the bands as their children are, then measures the visible bands:
    // 32767 along a stretched side.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    // The commands of the bands' controls are updated through the frame's handlers.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // The band child under the point answers, when it has an object of its own.
    int OnToolHitTest(CPoint point, TOOLINFOA* pTI) override;
    // Status texts go on to the owner; the rest as for every toolkit bar.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The bands' identifiers, widths, styles and positions in the toolkit's settings
    // store under lpszSection, and back. A stored layout is restored only into a rebar
    // with as many bands as were saved.
    void SaveState(LPCSTR lpszSection);
    void LoadState(LPCSTR lpszSection);

protected:
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnShowBand(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRecalcParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnChildSize(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // The band's record with the fields of fMask, read from the control.
    REBARBANDINFOA GetBand(UINT nBand, UINT fMask);
    // Whether a band's child counts as shown: a control bar as its IsVisible says (a
    // delayed show or hide included), any other window by WS_VISIBLE.
    static BOOL IsBandChildVisible(HWND hWndChild);
    BOOL IsHorzReBar() const;
};
