// The calling thread's handle map of one kind of wrapper, made on first use and torn
// down with the thread. Wrappers may outlive their thread's maps (a global font
// deleted at process exit), so once the maps are gone the accessor answers null and
// the wrapper just releases its handle. Lookups that only forget a handle pass
// create = false, so that no map is made while the thread is ending.
#pragma once

#include "HandleMap.h"

// Traits: Object, Handle, static Object* NewObject(), static void SetHandles(Object*, Handle).
template <class Traits>
CHandleMap<typename Traits::Object, typename Traits::Handle>* AfxThreadHandleMap(bool create = true)
{
    using Map = CHandleMap<typename Traits::Object, typename Traits::Handle>;
    // Trivially destructible, so they can still be read after the holder below is gone.
    thread_local bool isMade = false;
    thread_local bool isGone = false;
    struct Holder {
        Map map{&Traits::NewObject, &Traits::SetHandles};
        Holder() { isMade = true; }
        ~Holder() { isGone = true; }
    };
    if (isGone || (!isMade && !create))
        return nullptr;
    thread_local Holder holder;
    return &holder.map;
}
