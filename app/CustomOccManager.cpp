// The program's control-site manager.
#include "CustomOccManager.h"

#include "banner/CustomControlSite.h"

CustomOccManager::~CustomOccManager() = default;

COleControlSite* CustomOccManager::CreateSite(COleControlContainer* pCtrlCont)
{
    return new CustomControlSite(pCtrlCont);
}
