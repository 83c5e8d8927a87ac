// The framework's status bar joined to the window-set scheme: at the bottom of its
// parent with the status-bar id, and deleted with a library container it is created on.
// On any other parent (the toolkit's main frame) it is in no set and its owner keeps it.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSet.h"

class iStatusBar : public CStatusBar {
public:
    // No window yet.
    iStatusBar();
    // WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, id AFX_IDW_STATUS_BAR.
    explicit iStatusBar(CWnd* parent);
    // Leaves the container's set, then destroys the bar.
    ~iStatusBar() override;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

private:
    iWindowSetAccess m_access;
};
