// Stands in for the framework's status bar: a control bar over the common status
// control, at the bottom of its frame by default, showing the frame's status texts.
// Panes beyond the first are the business of the classes built on it.
#pragma once

#include "ControlBar.h"

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    // The CBRS_* bits of dwStyle become the bar's style; the rest the window's.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT nID = AFX_IDW_STATUS_BAR);
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);

    // As wide as it may be, as high as its font and borders.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    // The status control paints itself.
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()
};
