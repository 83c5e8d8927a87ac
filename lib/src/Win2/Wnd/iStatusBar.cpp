// The window-set status bar.
#include "lib/src/Win2/Wnd/iStatusBar.h"

iStatusBar::iStatusBar() = default;

iStatusBar::iStatusBar(CWnd* parent)
{
    Create(parent, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR);
    static_cast<void>(m_access.Attach(this));
}

iStatusBar::~iStatusBar() = default;
