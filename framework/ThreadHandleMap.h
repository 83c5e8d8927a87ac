// The calling thread's handle map of one kind of wrapper, made on first use and torn
// down with the thread. Wrappers may outlive their thread's maps (a wrapper deleted
// while its thread ends), so once the map is gone the accessor answers null and the
// wrapper just releases its handle. Lookups that only forget a handle pass
// create = false, so that no map is made for them.
#pragma once

#include "HandleMap.h"
#include "ThreadLocal.h"

// Traits: Object, Handle, static Object* NewObject(), static void SetHandles(Object*, Handle).
template <class Traits>
CHandleMap<typename Traits::Object, typename Traits::Handle>* AfxThreadHandleMap(bool create = true)
{
    using Map = CHandleMap<typename Traits::Object, typename Traits::Handle>;
    static CThreadLocal<Map> s_maps([]() { return new Map(&Traits::NewObject, &Traits::SetHandles); });
    return create ? s_maps.GetData() : s_maps.GetDataNA();
}
