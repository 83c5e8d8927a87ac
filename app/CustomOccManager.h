// The program's control-site manager: every OLE control the program hosts (the banner's
// and the banner history's browsers) gets the program's own site.
#pragma once

#include "framework/Framework.h"

class CustomOccManager : public COccManager {
public:
    ~CustomOccManager() override;
    // A new CustomControlSite over the container; the framework owns it from then on.
    COleControlSite* CreateSite(COleControlContainer* pCtrlCont) override;
};
