// The scratch text ring and the per-thread ring every field writes its text into.
#include "iRevolveString.h"

#include "framework/Exceptions.h"

#include <algorithm>
#include <climits>
#include <cstring>

CThreadLocal<iRevolveString> g_RevolveString([]() { return new iRevolveString(4, 2048, 32); });

namespace {

// The smallest multiple of 8 not below bytes; a size that cannot be had is out of memory.
unsigned RoundUp8(unsigned bytes)
{
    if (bytes > UINT_MAX - 7)
        AfxThrowMemoryException();
    return (bytes + 7) & ~7u;
}

} // namespace

iRevolveString::iRevolveString(int count, unsigned size, int maximum)
    : m_index(0), m_used(std::max(count, 1)), m_maximum(std::max(m_used, maximum)),
      m_sizes(new unsigned[static_cast<size_t>(m_maximum)]()),
      m_buffers(new std::unique_ptr<char[]>[static_cast<size_t>(m_maximum)])
{
    if (size > UINT_MAX - 8)
        AfxThrowMemoryException();
    unsigned bytes = (size + 8) & ~7u;
    for (int i = 0; i < m_used; ++i) {
        m_buffers[i].reset(new char[bytes]());
        m_sizes[i] = bytes;
    }
}

iRevolveString::~iRevolveString() = default;

void iRevolveString::MoveOn()
{
    if (++m_index >= m_used)
        m_index = 0;
}

char* iRevolveString::Get(unsigned n)
{
    if (n == UINT_MAX)
        AfxThrowMemoryException();
    unsigned needed = n + 1;
    MoveOn();
    if (m_sizes[m_index] >= needed) {
        memset(m_buffers[m_index].get(), 0, needed);
        return m_buffers[m_index].get();
    }
    unsigned bytes = RoundUp8(needed);
    // Allocate before changing anything: on failure the ring stays as it was.
    std::unique_ptr<char[]> fresh(new char[bytes]());
    if (m_used < m_maximum)
        m_index = m_used++;  // a new slot at the end; the small buffer keeps its place
    m_buffers[m_index] = std::move(fresh);
    m_sizes[m_index] = bytes;
    return m_buffers[m_index].get();
}

char* iRevolveString::Dup(const char* text, unsigned n)
{
    if (!text)
        text = "";
    if (n == 0)
        n = static_cast<unsigned>(strlen(text));
    // Zero-filled: a text shorter than n is copied whole and not read past.
    char* buffer = Get(n);
    memcpy(buffer, text, strnlen(text, n));
    return buffer;
}

char* iRevolveString::Dup(const char* text)
{
    return Dup(text, 0);
}

char* iRevolveString::Next()
{
    MoveOn();
    memset(m_buffers[m_index].get(), 0, m_sizes[m_index]);
    return m_buffers[m_index].get();
}
