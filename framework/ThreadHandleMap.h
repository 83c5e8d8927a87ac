// The calling thread's handle map of one kind of wrapper, made on first use and torn
// down with the thread. Wrappers may outlive their thread's maps (a global font
// deleted at process exit), so once the maps are gone the accessor answers null and
// the wrapper just releases its handle.
#pragma once

#include "HandleMap.h"

// Traits: Object, Handle, static Object* NewObject(), static void SetHandles(Object*, Handle).
template <class Traits>
CHandleMap<typename Traits::Object, typename Traits::Handle>* AfxThreadHandleMap()
{
    using Map = CHandleMap<typename Traits::Object, typename Traits::Handle>;
    // Trivially destructible, so it can still be read after the holder below is gone.
    thread_local bool isGone = false;
    struct Holder {
        Map map{&Traits::NewObject, &Traits::SetHandles};
        ~Holder() { isGone = true; }
    };
    if (isGone)
        return nullptr;
    thread_local Holder holder;
    return &holder.map;
}
