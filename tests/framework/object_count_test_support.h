// Counts of what a leak leaves behind, for tests that make and destroy windows many times:
// bytes in use on the process's heaps, live GDI objects and the thread's windows. Wine's
// GetGuiResources answers 0 for both kinds of object, so where it does the objects are
// counted another way, and a check on them can still fail.
#pragma once

#include <windows.h>

#include <cstddef>

namespace test_support {

// Bytes in use on every heap of the process (C++ objects, the runtime's and the system's
// allocations).
inline size_t HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    size_t total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

// The process's live GDI objects. Where the system keeps no count, every slot of the
// 16-bit handle table is asked for its object's type: Wine takes a handle that is only
// the slot's index and answers 0 for a free slot.
inline DWORD LiveGdiObjects()
{
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return counted;
    DWORD live = 0;
    for (UINT_PTR slot = 1; slot <= 0xFFFF; ++slot) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0)
            ++live;
    }
    return live;
}

// The calling thread's windows, top-level ones and all their descendants.
inline DWORD ThreadWindowCount()
{
    struct Counter {
        static BOOL CALLBACK Child(HWND, LPARAM count)
        {
            ++*reinterpret_cast<DWORD*>(count);
            return TRUE;
        }
        static BOOL CALLBACK TopLevel(HWND window, LPARAM count)
        {
            ++*reinterpret_cast<DWORD*>(count);
            EnumChildWindows(window, &Child, count);
            return TRUE;
        }
    };
    DWORD count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &Counter::TopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The process's live USER objects where the system counts them, else the thread's windows
// (menus, icons and cursors then go uncounted).
inline DWORD LiveUserObjects()
{
    if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))
        return counted;
    return ThreadWindowCount();
}

} // namespace test_support
