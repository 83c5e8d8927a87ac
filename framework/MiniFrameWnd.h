// Stands in for the framework's small-caption frames. CMiniFrameWnd is an owned tool-window
// popup with the system's small caption and sizing border (MFS_4THICKFRAME: the sides size
// it, the corners do not). CMiniDockFrameWnd is the floating frame of docked bars: it holds
// one floating dock bar, sizes itself to it, passes caption drags, border resizes and
// caption double clicks to the bar's drag context, hides its bars when closed, and is
// destroyed by its dock bar when the last bar leaves.
#pragma once

#include "DockBar.h"
#include "FrameWnd.h"

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();

    // Grows a client rectangle to the window rectangle of a small tool-window frame.
    static void CalcBorders(LPRECT lpClientRect, DWORD dwStyle = WS_THICKFRAME | WS_CAPTION, DWORD dwExStyle = 0);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    DECLARE_MESSAGE_MAP()
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    // The frame, owned by pParent, then its floating dock bar with dwBarStyle's CBRS_ bits.
    // When it fails the object is gone.
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    // The frame takes the size of its dock bar's rows.
    void RecalcLayout(BOOL bNotify = TRUE) override;
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = 0) override;

    CDockBar m_wndDockBar;

protected:
    afx_msg void OnClose();
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    // The first bar the frame holds, or null.
    CControlBar* FirstBar() const;
};
