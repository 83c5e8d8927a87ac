// The calling thread's list of handle maps, so idle time can clear all their temporaries.
#include "HandleMap.h"

#include "ThreadLocal.h"

#include <algorithm>
#include <vector>

namespace {
CThreadLocal<std::vector<CHandleMapBase*>> g_threadMaps;
}

CHandleMapBase::CHandleMapBase()
{
    if (auto* maps = g_threadMaps.GetData())
        maps->push_back(this);
}

CHandleMapBase::~CHandleMapBase()
{
    // The list may already be gone when the thread's maps are torn down.
    if (auto* maps = g_threadMaps.GetDataNA())
        maps->erase(std::remove(maps->begin(), maps->end(), this), maps->end());
}

void AfxDeleteTempMaps()
{
    auto* maps = g_threadMaps.GetDataNA();
    if (!maps)
        return;
    // Copy: deleting a temporary wrapper may create or destroy another map.
    std::vector<CHandleMapBase*> snapshot = *maps;
    for (CHandleMapBase* map : snapshot)
        map->DeleteTemp();
}
