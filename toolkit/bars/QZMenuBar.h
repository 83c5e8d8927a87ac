// The toolkit's menu bar: a frame's menu shown as a bar of items that drop down image
// menus. Its kind takes part in the bar menu and the docking tests already; the menu
// bar's own work lives with its Parts in this class.
#pragma once

#include "toolkit/bars/QZControlBar.h"

class CQZMenuBar : public CQZControlBar {
    DECLARE_DYNAMIC(CQZMenuBar)
};
