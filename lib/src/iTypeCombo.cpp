// Check and combo fields: their name maps and texts.
#include "iTypeCombo.h"

#include "iRevolveString.h"

#include <cstdio>

namespace iType {

_TCheck::_TCheck() : Base(nullptr, nullptr)
{
}

_TCheck::_TCheck(Collection* parent, const char* name, const char* description) : Base(parent, name, description)
{
}

_TCheck::_TCheck(Collection* parent, void* data, unsigned size, const char* name, const char* description)
    : Base(parent, data, size, name, description)
{
}

_TCheck::_TCheck(Collection* parent, void* data, const char* name, const char* description, unsigned size)
    : Base(parent, data, name, description, size)
{
}

_TCheck::_TCheck(void* data, unsigned size, const char* name, const char* description)
    : Base(data, size, name, description)
{
}

_TCheck::~_TCheck()
{
    if (m_owned)
        delete m_map;
}

int _TCheck::AddBitName(int bit, const char* name)
{
    if (bit < 0 || bit >= GetBitCount())
        return 0;
    if (!m_map) {
        m_map = new iStringMap;
        m_owned = 1;
    }
    return m_map->Insert(bit, name);
}

const char* _TCheck::GetText() const
{
    unsigned long value = GetValue();
    int bits = GetBitCount();
    if (!m_map) {
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
        text += m_map->Find(i);
        isFirst = false;
    }
    return g_RevolveString->Dup(text);
}

void _TCheck::Assign(const Base& other)
{
    Base::Assign(other);
    const auto* check = dynamic_cast<const _TCheck*>(&other);
    if (!check || check == this || !check->m_map)
        return;
    if (m_owned)
        delete m_map;
    m_owned = 0;
    m_map = check->m_map;
}

_TCombo::_TCombo() : Base(nullptr, nullptr)
{
}

_TCombo::_TCombo(Collection* parent, const char* name, const char* description) : Base(parent, name, description)
{
}

_TCombo::_TCombo(Collection* parent, void* data, unsigned size, const char* name, const char* description)
    : Base(parent, data, size, name, description)
{
}

_TCombo::_TCombo(Collection* parent, void* data, const char* name, const char* description, unsigned size)
    : Base(parent, data, name, description, size)
{
}

_TCombo::_TCombo(void* data, unsigned size, const char* name, const char* description)
    : Base(data, size, name, description)
{
}

_TCombo::~_TCombo()
{
    if (m_owned)
        delete m_map;
}

int _TCombo::AddItem(long code, const char* name)
{
    if (!m_map) {
        m_map = new iStringMap;
        m_owned = 1;
    }
    return m_map->Insert(code, name);
}

const char* _TCombo::GetText() const
{
    if (!m_map)
        return "*No String Map!*";
    return m_map->Find(GetValue());
}

bool _TCombo::FindItem(const char* text, long& code) const
{
    if (!m_map || !text)
        return false;
    long found = m_map->FindCode(text);
    // -1 is also how the map says "no such name": a real code -1 must carry the text.
    if (found == -1 && (*text == '\0' || m_map->Find(-1) != text))
        return false;
    code = found;
    return true;
}

void _TCombo::Assign(const Base& other)
{
    Base::Assign(other);
    const auto* combo = dynamic_cast<const _TCombo*>(&other);
    if (!combo || combo == this || !combo->m_map)
        return;
    if (m_owned)
        delete m_map;
    m_owned = 0;
    m_map = combo->m_map;
}

} // namespace iType
