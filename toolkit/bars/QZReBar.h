// The toolkit's rebar: a bar holding other bars as bands. The bar menu never lists it
// and it keeps the classic border colours in the XP look.
#pragma once

#include "toolkit/bars/QZControlBar.h"

class CQZReBar : public CQZControlBar {
    DECLARE_DYNAMIC(CQZReBar)
};
