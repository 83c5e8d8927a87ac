// Lookups in the code-to-text map.
#include "iStringMap.h"

const iString& iStringMap::Find(long code) const
{
    auto it = m_map.find(code);
    return it == m_map.end() ? m_empty : it->second;
}

long iStringMap::FindCode(const char* text) const
{
    for (const auto& entry : m_map) {
        if (entry.second == text)
            return entry.first;
    }
    return -1;
}

int iStringMap::Insert(long code, const char* text)
{
    m_map.emplace(code, iString(text));
    return 1;
}
