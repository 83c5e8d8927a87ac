// The calling thread's list of handle maps, so idle time can clear all their temporaries.
#include "HandleMap.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<CHandleMapBase*>& ThreadMaps()
{
    thread_local std::vector<CHandleMapBase*> maps;
    return maps;
}
}

CHandleMapBase::CHandleMapBase()
{
    ThreadMaps().push_back(this);
}

CHandleMapBase::~CHandleMapBase()
{
    auto& maps = ThreadMaps();
    maps.erase(std::remove(maps.begin(), maps.end(), this), maps.end());
}

void AfxDeleteTempMaps()
{
    // Copy: deleting a temporary wrapper may create or destroy another map.
    std::vector<CHandleMapBase*> maps = ThreadMaps();
    for (CHandleMapBase* map : maps)
        map->DeleteTemp();
}
