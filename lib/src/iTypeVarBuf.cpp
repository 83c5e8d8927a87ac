// Variable-length fields: the clamped length word, comparison and the text kind.
#include "iTypeVarBuf.h"

#include "TextRoutines.h"
#include "iRevolveString.h"

#include <cstdint>
#include <cstring>

namespace iType {

template <unsigned PrefixBytes>
unsigned LengthPrefixed<PrefixBytes>::GetLength() const
{
    if (GetCapacity() < kPrefixBytes)
        return 0;
    uint32_t length = 0;
    if constexpr (PrefixBytes == 2) {
        uint16_t word;
        memcpy(&word, m_data, sizeof word);
        length = word;
    } else {
        memcpy(&length, m_data, sizeof length);
    }
    // Checked, not trusted: the word may come from a corrupt value or record.
    return length < GetRoom() ? length : GetRoom();
}

template <unsigned PrefixBytes>
void LengthPrefixed<PrefixBytes>::SetLength(unsigned length)
{
    if (GetCapacity() < kPrefixBytes)
        return;
    if (length > GetRoom())
        length = GetRoom();
    if constexpr (PrefixBytes == 2) {
        uint16_t word = static_cast<uint16_t>(length);
        memcpy(m_data, &word, sizeof word);
    } else {
        uint32_t word = length;
        memcpy(m_data, &word, sizeof word);
    }
}

template <unsigned PrefixBytes>
int LengthPrefixed<PrefixBytes>::CompareTo(const Base& other) const
{
    unsigned otherCapacity = other.GetData() ? other.GetByteSize() : 0;
    if (GetCapacity() != otherCapacity)
        return static_cast<int>(GetCapacity()) - static_cast<int>(otherCapacity);
    unsigned n = GetLength();
    if (n == 0)
        return 0;
    return memcmp(GetPayload(), static_cast<const unsigned char*>(other.GetData()) + kPrefixBytes, n);
}

template class LengthPrefixed<2>;
template class LengthPrefixed<4>;

VarBuf::~VarBuf() = default;

Base* VarBuf::Create() const
{
    return NamedAsThis(new VarBuf(GetCapacity()));
}

VarBuf32::~VarBuf32() = default;

Base* VarBuf32::Create() const
{
    return NamedAsThis(new VarBuf32(GetCapacity()));
}

VarBufString::VarBufString()
{
    m_attributes &= ~32u;
}

VarBufString::VarBufString(void* data, unsigned capacity, const char* name, const char* description)
    : VarBuf(data, capacity, name, description)
{
    m_attributes &= ~32u;
}

VarBufString::VarBufString(Collection* parent, void* data, unsigned capacity, const char* name,
                           const char* description)
    : VarBuf(parent, data, capacity, name, description)
{
    m_attributes &= ~32u;
}

VarBufString::VarBufString(void* data, const char* name, const char* description, unsigned capacity)
    : VarBuf(data, name, description, capacity)
{
    m_attributes &= ~32u;
}

VarBufString::VarBufString(Collection* parent, void* data, const char* name, const char* description,
                           unsigned capacity)
    : VarBuf(parent, data, name, description, capacity)
{
    m_attributes &= ~32u;
}

VarBufString::VarBufString(unsigned capacity) : VarBuf(capacity)
{
    m_attributes &= ~32u;
}

VarBufString::~VarBufString() = default;

const char* VarBufString::GetText() const
{
    const char* payload = reinterpret_cast<const char*>(GetPayload());
    if (!payload)
        return "";
    unsigned length = GetLength();
    if (length < GetRoom() && payload[length] == '\0')
        return payload;
    if (length == 0)
        return "";
    return g_RevolveString->Dup(payload, length);
}

Base* VarBufString::Create() const
{
    return NamedAsThis(new VarBufString(GetCapacity()));
}

int VarBufString::SetText(const char* text)
{
    SetTextN(text, GetRoom());
    return 1;
}

void VarBufString::SetTextN(const char* text, unsigned n)
{
    Clear();
    unsigned room = n < GetRoom() ? n : GetRoom();
    if (room == 0 || !text)
        return;
    unsigned length = StrNLen(text, room);
    memcpy(GetPayload(), text, length);
    SetLength(length);
}

BLOb::~BLOb() = default;

void BLOb::Assign(const Base&)
{
}

int BLOb::IsValid() const
{
    return 1;
}

int BLOb::CompareTo(const Base&) const
{
    return -1;
}

} // namespace iType
