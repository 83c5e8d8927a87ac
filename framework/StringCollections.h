// Stands in for the framework's string collections: CStringList, a doubly linked
// list of CString nodes allocated in blocks, and CStringArray, a growable array.
// Reading an element that is not there (the head of an empty list, an index out
// of range) gives an empty string instead of touching memory that is not there.
#pragma once

#include "CString.h"
#include "Object.h"
#include "Position.h"

#include <vector>

class CStringList : public CObject {
    DECLARE_DYNAMIC(CStringList)
public:
    explicit CStringList(int blockSize = 10);
    ~CStringList() override;

    int GetCount() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    CString& GetHead();
    const CString& GetHead() const;
    CString& GetTail();
    const CString& GetTail() const;
    // Removing from an empty list gives an empty string and changes nothing.
    CString RemoveHead();
    CString RemoveTail();

    POSITION AddHead(LPCSTR newElement);
    POSITION AddHead(const CString& newElement);
    POSITION AddTail(LPCSTR newElement);
    POSITION AddTail(const CString& newElement);
    void RemoveAll();

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    // The element at position, then position moves on (null past the end).
    CString& GetNext(POSITION& position);
    const CString& GetNext(POSITION& position) const;
    CString& GetPrev(POSITION& position);
    const CString& GetPrev(POSITION& position) const;

    CString& GetAt(POSITION position);
    const CString& GetAt(POSITION position) const;
    void SetAt(POSITION position, LPCSTR newElement);
    void SetAt(POSITION position, const CString& newElement);
    void RemoveAt(POSITION position);
    // A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, LPCSTR newElement);
    POSITION InsertBefore(POSITION position, const CString& newElement);
    POSITION InsertAfter(POSITION position, LPCSTR newElement);
    POSITION InsertAfter(POSITION position, const CString& newElement);

    // First element equal to value after startAfter (null: from the head), or null.
    POSITION Find(LPCSTR value, POSITION startAfter = nullptr) const;
    // Position of the zero-based index, or null when out of range.
    POSITION FindIndex(int index) const;

private:
    struct Node {
        Node* pNext;
        Node* pPrev;
        CString data;
    };

    Node* NewNode(Node* prev, Node* next, const CString& value);
    void FreeNode(Node* node);
    void FreeBlocks();
    static Node* ToNode(POSITION position) { return reinterpret_cast<Node*>(position); }
    static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }

    Node* m_pNodeHead = nullptr;
    Node* m_pNodeTail = nullptr;
    int m_nCount = 0;
    Node* m_pNodeFree = nullptr;  // unused nodes of the blocks, chained through pNext
    std::vector<void*> m_blocks;  // raw storage of blockSize nodes each
    int m_nBlockSize;
};

class CStringArray : public CObject {
    DECLARE_DYNAMIC(CStringArray)
public:
    CStringArray() = default;
    ~CStringArray() override = default;

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetUpperBound() const { return GetSize() - 1; }
    // New elements are empty; growBy (-1: keep) sets how many slots a growth adds.
    void SetSize(int newSize, int growBy = -1);
    void RemoveAll() { m_data.clear(); }

    CString GetAt(int index) const;
    // Out of range: ignored.
    void SetAt(int index, LPCSTR newElement);
    CString& ElementAt(int index);
    CString operator[](int index) const { return GetAt(index); }
    CString& operator[](int index) { return ElementAt(index); }

    int Add(LPCSTR newElement);
    int Add(const CString& newElement);
    // An index past the end grows the array with empty strings up to it.
    void InsertAt(int index, LPCSTR newElement, int count = 1);
    // Removes what lies in range of [index, index + count).
    void RemoveAt(int index, int count = 1);

private:
    void Grow(int newSize);

    std::vector<CString> m_data;
    int m_nGrowBy = 0;  // 0: grow by the framework's rule of thumb
};
