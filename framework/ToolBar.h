// Stands in for the framework's toolbar: a control bar over the common toolbar control.
// The program's own toolbars are the toolkit's; this one is made only by the window
// library's toolbar, so it provides creation, its room in the frame's layout and the
// command update of the buttons the control holds.
#pragma once

#include "ControlBar.h"

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    // The CBRS_* bits of dwStyle become the bar's style; the rest the control's.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_TOOLBAR);

    // As long as it may be, as deep as a button and the borders.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Each button that is no separator is enabled and checked by its command's handlers.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

protected:
    // The toolbar control paints itself.
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()
};
