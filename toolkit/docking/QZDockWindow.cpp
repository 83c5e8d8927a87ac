// The docking window's run-time class.
#include "toolkit/docking/QZDockWindow.h"

IMPLEMENT_DYNAMIC(CQZDockWindow, CQZControlBar)
