// Stands in for the framework's arrays: the CArray template, the named arrays of
// pointers, objects and integers, and CTypedPtrArray over a pointer array. Indexes
// out of range never touch memory that is not there: reading one gives a default
// element, writing one is ignored (SetAtGrow and InsertAt grow the array instead).
#pragma once

#include "Object.h"

#include <windows.h>

#include "ThreadLocal.h"

#include <algorithm>
#include <vector>

namespace collection_detail {

// Stands where an element is asked for by reference that does not exist; reset at
// every use so that a caller writing into it cannot leak into the next answer.
template <class TYPE>
TYPE& MissingElement()
{
    static CThreadLocal<TYPE> s_none([]() { return new TYPE{}; });
    TYPE& none = *s_none;
    none = TYPE{};
    return none;
}

} // namespace collection_detail

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    ~CArray() override = default;

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    int GetUpperBound() const { return GetSize() - 1; }
    // New elements are default elements; growBy (-1: keep) is how many slots a growth adds.
    void SetSize(int newSize, int growBy = -1)
    {
        if (growBy >= 0)
            m_nGrowBy = growBy;
        if (newSize < 0)
            return;
        Reserve(newSize);
        m_data.resize(static_cast<size_t>(newSize));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    TYPE GetAt(int index) const { return IsIndex(index) ? m_data[static_cast<size_t>(index)] : TYPE{}; }
    void SetAt(int index, ARG_TYPE newElement)
    {
        if (IsIndex(index))
            m_data[static_cast<size_t>(index)] = newElement;
    }
    TYPE& ElementAt(int index)
    {
        return IsIndex(index) ? m_data[static_cast<size_t>(index)] : collection_detail::MissingElement<TYPE>();
    }
    const TYPE& ElementAt(int index) const { return const_cast<CArray*>(this)->ElementAt(index); }
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }
    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    TYPE operator[](int index) const { return GetAt(index); }
    TYPE& operator[](int index) { return ElementAt(index); }

    // Grows the array up to index when needed; a negative index is ignored.
    void SetAtGrow(int index, ARG_TYPE newElement)
    {
        if (index < 0)
            return;
        if (index >= GetSize())
            SetSize(index + 1);
        m_data[static_cast<size_t>(index)] = newElement;
    }
    int Add(ARG_TYPE newElement)
    {
        Reserve(GetSize() + 1);
        m_data.push_back(newElement);
        return GetUpperBound();
    }
    // Answers the index of the first appended element.
    int Append(const CArray& source)
    {
        int first = GetSize();
        Reserve(first + source.GetSize());
        m_data.insert(m_data.end(), source.m_data.begin(), source.m_data.end());
        return first;
    }
    void Copy(const CArray& source)
    {
        if (&source != this)
            m_data = source.m_data;
    }
    // count copies of newElement at index; an index past the end grows the array up to it.
    void InsertAt(int index, ARG_TYPE newElement, int count = 1)
    {
        if (index < 0 || count <= 0)
            return;
        if (index > GetSize())
            SetSize(index);
        // Copy first: newElement may refer into this array, which the insertion moves.
        TYPE value = newElement;
        Reserve(GetSize() + count);
        m_data.insert(m_data.begin() + index, static_cast<size_t>(count), value);
    }
    void InsertAt(int startIndex, const CArray* newArray)
    {
        if (!newArray || startIndex < 0 || newArray->IsEmpty())
            return;
        if (startIndex > GetSize())
            SetSize(startIndex);
        std::vector<TYPE> copy = newArray->m_data;
        Reserve(GetSize() + static_cast<int>(copy.size()));
        m_data.insert(m_data.begin() + startIndex, copy.begin(), copy.end());
    }
    // Removes what lies in range of [index, index + count).
    void RemoveAt(int index, int count = 1)
    {
        int first = std::max(index, 0);
        int last = std::min(GetSize(), index + std::max(count, 0));
        if (first < last)
            m_data.erase(m_data.begin() + first, m_data.begin() + last);
    }

private:
    bool IsIndex(int index) const { return index >= 0 && index < GetSize(); }
    // Grows the capacity by the grow-by step, or by about an eighth (at least 4, at most
    // 1024 elements) when none was given, so that repeated Adds stay cheap.
    void Reserve(int needed)
    {
        size_t want = static_cast<size_t>(needed);
        if (want <= m_data.capacity())
            return;
        size_t step = m_nGrowBy > 0 ? static_cast<size_t>(m_nGrowBy)
                                    : std::min<size_t>(1024, std::max<size_t>(4, m_data.size() / 8));
        m_data.reserve(std::max(want, m_data.size() + step));
    }

    std::vector<TYPE> m_data;
    int m_nGrowBy = 0;
};

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
};

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_DYNAMIC(CObArray)
};

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
};

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_DYNAMIC(CDWordArray)
};

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_DYNAMIC(CWordArray)
};

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_DYNAMIC(CByteArray)
};

// An array of TYPE pointers kept in a CPtrArray or CObArray.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(int index) const { return static_cast<TYPE>(BASE_CLASS::GetAt(index)); }
    TYPE& ElementAt(int index) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(index)); }
    void SetAt(int index, TYPE element) { BASE_CLASS::SetAt(index, element); }
    void SetAtGrow(int index, TYPE element) { BASE_CLASS::SetAtGrow(index, element); }
    int Add(TYPE element) { return BASE_CLASS::Add(element); }
    void InsertAt(int index, TYPE element, int count = 1) { BASE_CLASS::InsertAt(index, element, count); }
    TYPE operator[](int index) const { return GetAt(index); }
    TYPE& operator[](int index) { return ElementAt(index); }
};
