// A pool of scratch byte buffers lent for short-lived work (the registry's string
// read, dialog code). A buffer is never freed before its ring is, but any later
// borrower may overwrite it; it comes back with whatever it last held. Each thread
// has its own g_TempBufferRing, so threads never write into each other's buffers.
#pragma once

#include "framework/ThreadLocal.h"

#include <memory>

// Owns its buffers. Invariant: 0 <= index < used <= capacity.
class iTempBufferRing {
public:
    // count buffers of size bytes each, in room for capacity (at least count) slots.
    iTempBufferRing(int count, unsigned size, int capacity);
    ~iTempBufferRing();
    iTempBufferRing(const iTempBufferRing&) = delete;
    iTempBufferRing& operator=(const iTempBufferRing&) = delete;

    // A buffer of at least n bytes, never the one handed out last. When no slot is
    // big enough, a new one of n bytes rounded up to a multiple of 8 is added.
    char* Get(unsigned n);

protected:
    int m_index;
    int m_used;
    int m_capacity;
    std::unique_ptr<unsigned[]> m_sizes;
    std::unique_ptr<std::unique_ptr<char[]>[]> m_buffers;

private:
    int FindSlot(unsigned n) const;
    void Grow();
};

extern CThreadLocal<iTempBufferRing> g_TempBufferRing;

// A buffer of at least n bytes from the calling thread's g_TempBufferRing.
char* TempBuffer(unsigned n);
