// The menu bar's run-time class.
#include "toolkit/bars/QZMenuBar.h"

IMPLEMENT_DYNAMIC(CQZMenuBar, CQZControlBar)
