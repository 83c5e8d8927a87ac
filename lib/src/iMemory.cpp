// Value storage: ownership of the block, raw copies and the raw comparison.
#include "iMemory.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// An element of 1, 2, 4 or 8 bytes read as a signed integer of that width.
long long SignedElement(const unsigned char* p, unsigned size)
{
    switch (size) {
    case 1: return static_cast<int8_t>(*p);
    case 2: { int16_t v; memcpy(&v, p, sizeof v); return v; }
    case 4: { int32_t v; memcpy(&v, p, sizeof v); return v; }
    default: { int64_t v; memcpy(&v, p, sizeof v); return v; }
    }
}

} // namespace

iMemory::iMemory() : m_kind(kNone), m_elementSize(0), m_count(0), m_data(nullptr)
{
}

iMemory::iMemory(unsigned size) : iMemory()
{
    if (size != 0)
        Set(kOwned, 1, size, NewBlock(size));
}

iMemory::iMemory(void* data, unsigned size) : m_kind(kBorrowed), m_elementSize(1), m_count(size), m_data(data)
{
}

iMemory::~iMemory()
{
    FreeOwned();
}

unsigned char* iMemory::NewBlock(unsigned size)
{
    return new unsigned char[size == 0 ? 1 : size]();
}

void iMemory::FreeOwned()
{
    if (m_kind == kOwned && m_data) {
        delete[] static_cast<unsigned char*>(m_data);
        m_data = nullptr;
    }
}

void iMemory::Set(unsigned kind, unsigned elementSize, unsigned count, void* data)
{
    if (data != m_data)
        FreeOwned();
    m_kind = kind;
    m_elementSize = elementSize;
    m_count = count;
    m_data = data;
}

void iMemory::SetKind(unsigned kind)
{
    m_kind = kind;
}

void iMemory::Clear()
{
    if (m_data)
        memset(m_data, 0, GetByteSize());
}

void iMemory::CopyFrom(const iMemory& other)
{
    if (m_kind == kNone && other.m_kind != kNone) {
        unsigned bytes = other.GetByteSize();
        Set(kOwned, other.m_elementSize, other.m_count, NewBlock(bytes));
    }
    if (m_data && other.m_data && m_data != other.m_data)
        memcpy(m_data, other.m_data, std::min(GetByteSize(), other.GetByteSize()));
}

void iMemory::CopyIn(const void* source, unsigned n)
{
    if (!m_data || !source)
        return;
    unsigned bytes = GetByteSize();
    if (n == 0 || n > bytes)
        n = bytes;
    memmove(m_data, source, n);
}

int iMemory::Compare(const iMemory& other) const
{
    // A block without data has no elements to compare, whatever its sizes say.
    unsigned count = m_data ? m_count : 0;
    unsigned otherCount = other.m_data ? other.m_count : 0;
    auto* a = static_cast<const unsigned char*>(m_data);
    auto* b = static_cast<const unsigned char*>(other.m_data);

    if (a && b && m_elementSize == 1 && other.m_elementSize == 1 && count == otherCount)
        return memcmp(a, b, count);

    if (m_elementSize == other.m_elementSize) {
        unsigned size = m_elementSize;
        unsigned n = std::min(count, otherCount);
        for (unsigned i = 0; size != 0 && i < n; ++i) {
            const unsigned char* x = a + static_cast<size_t>(i) * size;
            const unsigned char* y = b + static_cast<size_t>(i) * size;
            if (size == 1 || size == 2 || size == 4 || size == 8) {
                long long vx = SignedElement(x, size);
                long long vy = SignedElement(y, size);
                if (vx != vy)
                    return vx < vy ? -1 : 1;
            } else if (int result = memcmp(x, y, size)) {
                return result;
            }
        }
        if (count == otherCount)
            return 0;
        return count < otherCount ? -1 : 1;
    }

    unsigned la = m_elementSize * count;
    unsigned lb = other.m_elementSize * otherCount;
    int result = (la && lb) ? memcmp(a, b, std::min(la, lb)) : 0;
    if (la == lb || result != 0)
        return result;
    return la > lb ? 1 : -1;
}
