// Check and combo fields: their name maps and texts.
#include "iTypeCombo.h"

#include "iRevolveString.h"

#include <cstdio>

namespace iType {

NameMapField::NameMapField() : Base(nullptr, nullptr)
{
}

NameMapField::NameMapField(Collection* parent, const char* name, const char* description)
    : Base(parent, name, description)
{
}

NameMapField::NameMapField(Collection* parent, void* data, unsigned size, const char* name, const char* description)
    : Base(parent, data, size, name, description)
{
}

NameMapField::NameMapField(Collection* parent, void* data, const char* name, const char* description, unsigned size)
    : Base(parent, data, name, description, size)
{
}

NameMapField::NameMapField(void* data, unsigned size, const char* name, const char* description)
    : Base(data, size, name, description)
{
}

NameMapField::~NameMapField()
{
    if (m_owned)
        delete m_map;
}

int NameMapField::AddName(long code, const char* name)
{
    if (!m_map) {
        m_map = new iStringMap;
        m_owned = 1;
    }
    return m_map->Insert(code, name);
}

void NameMapField::BorrowMap(const NameMapField& other)
{
    // Already sharing this map (the other borrowed it from us): keeping it keeps it alive.
    if (&other == this || !other.m_map || other.m_map == m_map)
        return;
    if (m_owned)
        delete m_map;
    m_owned = 0;
    m_map = other.m_map;
}

_TCheck::~_TCheck() = default;

int _TCheck::AddBitName(int bit, const char* name)
{
    if (bit < 0 || bit >= GetBitCount())
        return 0;
    return AddName(bit, name);
}

const char* _TCheck::GetText() const
{
    unsigned long value = GetValue();
    int bits = GetBitCount();
    const iStringMap* map = GetMap();
    if (!map) {
        char* buffer = g_RevolveString->Get(32);
        snprintf(buffer, 32, "0x%0*lX", bits / 4, value);
        return buffer;
    }
    iString text;
    bool isFirst = true;
    for (int i = 0; i < bits && i < 64; ++i) {
        if (!((static_cast<unsigned long long>(value) >> i) & 1))
            continue;
        if (!isFirst)
            text += " & ";
        text += map->Find(i);
        isFirst = false;
    }
    return g_RevolveString->Dup(text);
}

void _TCheck::Assign(const Base& other)
{
    Base::Assign(other);
    if (const auto* check = dynamic_cast<const _TCheck*>(&other))
        BorrowMap(*check);
}

_TCombo::~_TCombo() = default;

int _TCombo::AddItem(long code, const char* name)
{
    return AddName(code, name);
}

const char* _TCombo::GetText() const
{
    if (!GetMap())
        return "*No String Map!*";
    return GetMap()->Find(GetValue());
}

bool _TCombo::FindItem(const char* text, long& code) const
{
    const iStringMap* map = GetMap();
    if (!map || !text)
        return false;
    long found = map->FindCode(text);
    // -1 is also how the map says "no such name": a real code -1 must carry the text.
    if (found == -1 && (*text == '\0' || map->Find(-1) != text))
        return false;
    code = found;
    return true;
}

void _TCombo::Assign(const Base& other)
{
    Base::Assign(other);
    if (const auto* combo = dynamic_cast<const _TCombo*>(&other))
        BorrowMap(*combo);
}

} // namespace iType
