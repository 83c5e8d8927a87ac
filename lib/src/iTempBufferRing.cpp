// The scratch buffer pool and the per-thread ring the library borrows from.
#include "iTempBufferRing.h"

#include "framework/Exceptions.h"

#include <algorithm>
#include <climits>

CThreadLocal<iTempBufferRing> g_TempBufferRing([]() { return new iTempBufferRing(16, 1024, 32); });

iTempBufferRing::iTempBufferRing(int count, unsigned size, int capacity)
    : m_index(0), m_used(std::max(count, 1)), m_capacity(std::max(m_used, capacity)),
      m_sizes(new unsigned[static_cast<size_t>(m_capacity)]()),
      m_buffers(new std::unique_ptr<char[]>[static_cast<size_t>(m_capacity)])
{
    for (int i = 0; i < m_used; ++i) {
        m_buffers[i].reset(new char[size]);
        m_sizes[i] = size;
    }
}

iTempBufferRing::~iTempBufferRing() = default;

int iTempBufferRing::FindSlot(unsigned n) const
{
    // After the slot handed out last, then from the start; that slot itself never.
    for (int i = m_index + 1; i < m_used; ++i) {
        if (m_sizes[i] >= n)
            return i;
    }
    for (int i = 0; i < m_index; ++i) {
        if (m_sizes[i] >= n)
            return i;
    }
    return -1;
}

void iTempBufferRing::Grow()
{
    if (m_capacity > INT_MAX / 2)
        AfxThrowMemoryException();
    int capacity = m_capacity * 2;
    std::unique_ptr<unsigned[]> sizes(new unsigned[static_cast<size_t>(capacity)]());
    std::unique_ptr<std::unique_ptr<char[]>[]> buffers(new std::unique_ptr<char[]>[static_cast<size_t>(capacity)]);
    for (int i = 0; i < m_used; ++i) {
        sizes[i] = m_sizes[i];
        buffers[i] = std::move(m_buffers[i]);
    }
    m_sizes = std::move(sizes);
    m_buffers = std::move(buffers);
    m_capacity = capacity;
}

char* iTempBufferRing::Get(unsigned n)
{
    int slot = FindSlot(n);
    if (slot == -1) {
        if (n > UINT_MAX - 7)
            AfxThrowMemoryException();
        unsigned bytes = (n + 7) & ~7u;
        std::unique_ptr<char[]> fresh(new char[bytes]);
        if (m_used == m_capacity)
            Grow();
        slot = m_used++;
        m_buffers[slot] = std::move(fresh);
        m_sizes[slot] = bytes;
    }
    m_index = slot;
    return m_buffers[slot].get();
}

char* TempBuffer(unsigned n)
{
    return g_TempBufferRing->Get(n);
}
