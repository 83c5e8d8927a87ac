// The toolkit's resizable docking window; the bar menu lists docking windows first.
#pragma once

#include "toolkit/bars/QZControlBar.h"

class CQZDockWindow : public CQZControlBar {
    DECLARE_DYNAMIC(CQZDockWindow)
};
