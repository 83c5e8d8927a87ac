// Stands in for the framework's hash maps: the CMap template and the named maps from
// pointers, words and strings to pointers. Keys hash as the framework hashes them
// (integers and pointers by their value shifted right by four, strings by the
// times-33 rule) into a table of 17 buckets unless InitHashTable says otherwise; a
// walk visits the buckets in order and, within one, the newest key first. Callers
// that derive from the named maps (a window map over CMapPtrToPtr) keep this order.
#pragma once

#include "CString.h"
#include "Object.h"
#include "Position.h"

#include <windows.h>

#include <cstdint>
#include <type_traits>
#include <vector>

inline UINT AfxHashString(LPCSTR key)
{
    UINT hash = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(key); p && *p; ++p)
        hash = (hash << 5) + hash + *p;
    return hash;
}

template <class ARG_KEY>
UINT HashKey(const ARG_KEY& key)
{
    if constexpr (std::is_convertible_v<const ARG_KEY&, LPCSTR>)
        return AfxHashString(key);
    else if constexpr (std::is_pointer_v<ARG_KEY>)
        return static_cast<UINT>(reinterpret_cast<std::uintptr_t>(key)) >> 4;
    else
        return static_cast<UINT>(key) >> 4;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    // Associations are allocated one at a time; the block size is accepted as callers give it.
    explicit CMap(int blockSize = 10) { (void)blockSize; }
    ~CMap() override { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& value) const
    {
        const Assoc* assoc = Find(key);
        if (!assoc)
            return FALSE;
        value = assoc->value;
        return TRUE;
    }
    // The value of key, made as a default value when key is new.
    VALUE& operator[](ARG_KEY key)
    {
        if (Assoc* assoc = Find(key))
            return assoc->value;
        if (m_buckets.empty())
            InitHashTable(m_nHashTableSize);
        UINT bucket = HashKey(key) % m_nHashTableSize;
        Assoc* assoc = new Assoc{m_buckets[bucket], bucket, KEY(key), VALUE()};
        m_buckets[bucket] = assoc;
        ++m_nCount;
        return assoc->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        for (Assoc** link = &m_buckets[HashKey(key) % m_nHashTableSize]; *link; link = &(*link)->pNext) {
            if ((*link)->key == key) {
                Assoc* doomed = *link;
                *link = doomed->pNext;
                delete doomed;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (Assoc*& head : m_buckets) {
            while (Assoc* assoc = head) {
                head = assoc->pNext;
                delete assoc;
            }
        }
        m_buckets.clear();
        m_nCount = 0;
    }

    // Null when the map is empty.
    POSITION GetStartPosition() const { return ToPosition(FirstFrom(0)); }
    // The association at position; position moves to the next one (null after the last).
    void GetNextAssoc(POSITION& position, KEY& key, VALUE& value) const
    {
        const Assoc* assoc = reinterpret_cast<const Assoc*>(position);
        if (!assoc) {
            position = nullptr;
            return;
        }
        key = assoc->key;
        value = assoc->value;
        const Assoc* next = assoc->pNext;
        if (!next)
            next = FirstFrom(assoc->nBucket + 1);
        position = ToPosition(next);
    }

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Takes effect while the map is empty; a size of 0 is taken as 1.
    void InitHashTable(UINT hashSize)
    {
        if (m_nCount != 0)
            return;
        m_nHashTableSize = hashSize ? hashSize : 1;
        m_buckets.assign(m_nHashTableSize, nullptr);
    }

private:
    struct Assoc {
        Assoc* pNext;
        UINT nBucket;
        KEY key;
        VALUE value;
    };

    const Assoc* Find(ARG_KEY key) const
    {
        if (m_buckets.empty())
            return nullptr;
        for (const Assoc* assoc = m_buckets[HashKey(key) % m_nHashTableSize]; assoc; assoc = assoc->pNext) {
            if (assoc->key == key)
                return assoc;
        }
        return nullptr;
    }
    Assoc* Find(ARG_KEY key) { return const_cast<Assoc*>(static_cast<const CMap*>(this)->Find(key)); }

    const Assoc* FirstFrom(UINT bucket) const
    {
        for (; bucket < m_buckets.size(); ++bucket) {
            if (m_buckets[bucket])
                return m_buckets[bucket];
        }
        return nullptr;
    }
    static POSITION ToPosition(const Assoc* assoc)
    {
        return reinterpret_cast<POSITION>(const_cast<Assoc*>(assoc));
    }

    std::vector<Assoc*> m_buckets;  // empty until the first key arrives
    UINT m_nHashTableSize = 17;
    int m_nCount = 0;
};

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(int blockSize = 10) : CMap(blockSize) {}
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(int blockSize = 10) : CMap(blockSize) {}
};

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(int blockSize = 10) : CMap(blockSize) {}
};
