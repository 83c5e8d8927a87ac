// Stands in for the framework's dock bar as far as the bars docked in it need it: its
// kind (CControlBar::IsDockBar) and whether it is the dock bar of a floating frame
// (CControlBar::IsFloating). The docking layer builds the rest on it.
#pragma once

#include "ControlBar.h"

class CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL bFloating = FALSE);

    // A dock bar has no items of its own to update.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // The dock bar of a floating frame, not one of a frame's sides.
    BOOL m_bFloating;
};
