// Bit sets: the valid range, bit operations, default bits, text and matching.
#include "iTypeBitSet.h"

#include "LibraryText.h"
#include "iRevolveString.h"

#include <algorithm>
#include <cstring>

namespace iType {

namespace {

unsigned char* Bytes(void* data)
{
    return static_cast<unsigned char*>(data);
}

} // namespace

Set::Set() : Base(nullptr, nullptr)
{
}

Set::Set(Collection* parent, void* data, unsigned capacity, const char* name, const char* description)
    : Base(parent, data, capacity, name, description)
{
}

Set::Set(void* data, unsigned capacity, const char* name, const char* description)
    : Base(data, capacity, name, description)
{
}

Set::Set(unsigned capacity) : Base(capacity, nullptr, nullptr)
{
}

Set::~Set() = default;

void Set::Assign(const Base& other)
{
    Base::Assign(other);
    if (const auto* set = dynamic_cast<const Set*>(&other)) {
        m_lowBit = set->m_lowBit;
        m_highBit = set->m_highBit;
    }
}

bool Set::IsValidBit(int i) const
{
    // A range taken over from a larger set never reaches past this buffer.
    long long bits = static_cast<long long>(GetCapacity()) * 8;
    return i >= m_lowBit && i <= m_highBit && i >= 0 && i < bits;
}

BitSet::BitSet()
{
    InitRange();
}

BitSet::BitSet(Collection* parent, void* data, unsigned capacity, const char* name, const char* description)
    : Set(parent, data, capacity, name, description)
{
    InitRange();
}

BitSet::BitSet(void* data, unsigned capacity, const char* name, const char* description)
    : Set(data, capacity, name, description)
{
    InitRange();
}

BitSet::BitSet(unsigned capacity) : Set(capacity)
{
    InitRange();
}

BitSet::~BitSet() = default;

void BitSet::InitRange()
{
    unsigned capacity = GetCapacity();
    if (capacity)
        m_defaultBits.reset(new unsigned char[capacity]());
    m_lowBit = 0;
    m_highBit = capacity ? static_cast<int>(std::min(capacity * 8ull - 1, 0x7FFFFFFFull)) : 0;
}

void BitSet::Clear()
{
    if (m_data && m_defaultBits)
        memcpy(m_data, m_defaultBits.get(), GetCapacity());
}

const char* BitSet::GetText() const
{
    int n = CountBits();
    unsigned id = n == 0 ? 3 : (n <= m_highBit ? 4 : 5);
    return g_RevolveString->Dup(LibraryText(id));
}

void BitSet::Assign(const Base& other)
{
    Set::Assign(other);
    const auto* set = dynamic_cast<const BitSet*>(&other);
    if (set && set != this && m_defaultBits && set->m_defaultBits)
        memcpy(m_defaultBits.get(), set->m_defaultBits.get(), std::min(GetCapacity(), set->GetCapacity()));
}

Base* BitSet::Create() const
{
    return NamedAsThis(new BitSet(GetCapacity()));
}

int BitSet::IsValid() const
{
    return 1;
}

int BitSet::CompareTo(const Base& other) const
{
    unsigned otherCapacity = other.GetData() ? other.GetByteSize() : 0;
    if (GetCapacity() != otherCapacity)
        return GetCapacity() > otherCapacity ? 1 : -1;
    return GetCapacity() ? memcmp(m_data, other.GetData(), GetCapacity()) : 0;
}

int BitSet::Match(const Base& other) const
{
    unsigned common = std::min(GetCapacity(), other.GetData() ? other.GetByteSize() : 0u);
    const unsigned char* a = Bytes(m_data);
    const unsigned char* b = static_cast<const unsigned char*>(other.GetData());
    for (unsigned i = 0; i < common; ++i) {
        if (a[i] & b[i])
            return 0;
    }
    return -1;
}

int BitSet::SetBit(int i)
{
    if (!IsValidBit(i))
        return 0;
    Bytes(m_data)[i / 8] |= static_cast<unsigned char>(1u << (i % 8));
    return 1;
}

int BitSet::ClearBit(int i)
{
    if (!IsValidBit(i))
        return 0;
    Bytes(m_data)[i / 8] &= static_cast<unsigned char>(~(1u << (i % 8)));
    return 1;
}

int BitSet::TestBit(int i) const
{
    if (!IsValidBit(i))
        return 0;
    return (Bytes(m_data)[i / 8] >> (i % 8)) & 1;
}

int BitSet::CountBits() const
{
    int count = 0;
    for (int i = std::max(m_lowBit, 0); IsValidBit(i); ++i)
        count += TestBit(i);
    return count;
}

int BitSet::ClearAll()
{
    if (m_data)
        memset(m_data, 0, GetCapacity());
    return 1;
}

int BitSet::SetAll()
{
    if (m_data)
        memset(m_data, 255, GetCapacity());
    return 1;
}

int BitSet::SetDefaultBit(int i)
{
    if (!m_defaultBits || !IsValidBit(i))
        return 0;
    m_defaultBits[i / 8] |= static_cast<unsigned char>(1u << (i % 8));
    return 1;
}

} // namespace iType
