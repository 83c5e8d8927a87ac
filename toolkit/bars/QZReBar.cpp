// The rebar's run-time class.
#include "toolkit/bars/QZReBar.h"

IMPLEMENT_DYNAMIC(CQZReBar, CQZControlBar)
