// Stands in for the framework's lists: the CList template (a doubly linked list whose
// positions are node handles, null past either end) and CPtrList. An element's
// destructor runs when it leaves the list. Asking for an element of an empty list or
// a null position gives a default element instead of touching memory that is not
// there; removing from an empty list changes nothing.
#pragma once

#include "CollectionArrays.h"
#include "Object.h"
#include "Position.h"

#include <windows.h>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
public:
    // Nodes are allocated one at a time; the block size is accepted as callers give it.
    explicit CList(int blockSize = 10) { (void)blockSize; }
    ~CList() override { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pNodeHead ? m_pNodeHead->data : collection_detail::MissingElement<TYPE>(); }
    const TYPE& GetHead() const { return const_cast<CList*>(this)->GetHead(); }
    TYPE& GetTail() { return m_pNodeTail ? m_pNodeTail->data : collection_detail::MissingElement<TYPE>(); }
    const TYPE& GetTail() const { return const_cast<CList*>(this)->GetTail(); }

    TYPE RemoveHead()
    {
        if (!m_pNodeHead)
            return TYPE{};
        TYPE value = m_pNodeHead->data;
        RemoveAt(ToPosition(m_pNodeHead));
        return value;
    }
    TYPE RemoveTail()
    {
        if (!m_pNodeTail)
            return TYPE{};
        TYPE value = m_pNodeTail->data;
        RemoveAt(ToPosition(m_pNodeTail));
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(nullptr, newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(nullptr, newElement); }
    void AddHead(const CList* newList)
    {
        // Walk backwards so that the other list keeps its order at our head.
        for (Node* node = newList ? newList->m_pNodeTail : nullptr; node; node = node->pPrev)
            AddHead(node->data);
    }
    void AddTail(const CList* newList)
    {
        for (Node* node = newList ? newList->m_pNodeHead : nullptr; node; node = node->pNext)
            AddTail(node->data);
    }
    void RemoveAll()
    {
        Node* node = m_pNodeHead;
        m_pNodeHead = m_pNodeTail = nullptr;
        m_nCount = 0;
        while (node) {
            Node* next = node->pNext;
            delete node;
            node = next;
        }
    }

    POSITION GetHeadPosition() const { return ToPosition(m_pNodeHead); }
    POSITION GetTailPosition() const { return ToPosition(m_pNodeTail); }
    // The element at position, then position moves on (null past the end).
    TYPE& GetNext(POSITION& position)
    {
        Node* node = ToNode(position);
        if (!node)
            return collection_detail::MissingElement<TYPE>();
        position = ToPosition(node->pNext);
        return node->data;
    }
    const TYPE& GetNext(POSITION& position) const { return const_cast<CList*>(this)->GetNext(position); }
    TYPE& GetPrev(POSITION& position)
    {
        Node* node = ToNode(position);
        if (!node)
            return collection_detail::MissingElement<TYPE>();
        position = ToPosition(node->pPrev);
        return node->data;
    }
    const TYPE& GetPrev(POSITION& position) const { return const_cast<CList*>(this)->GetPrev(position); }

    TYPE& GetAt(POSITION position)
    {
        Node* node = ToNode(position);
        return node ? node->data : collection_detail::MissingElement<TYPE>();
    }
    const TYPE& GetAt(POSITION position) const { return const_cast<CList*>(this)->GetAt(position); }
    void SetAt(POSITION position, ARG_TYPE newElement)
    {
        if (Node* node = ToNode(position))
            node->data = newElement;
    }
    void RemoveAt(POSITION position)
    {
        Node* node = ToNode(position);
        if (!node)
            return;
        (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
        (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
        --m_nCount;
        delete node;
    }
    // A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        Node* next = position ? ToNode(position) : m_pNodeHead;
        Node* node = new Node{next ? next->pPrev : m_pNodeTail, next, newElement};
        Link(node);
        return ToPosition(node);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        Node* prev = position ? ToNode(position) : m_pNodeTail;
        Node* node = new Node{prev, prev ? prev->pNext : m_pNodeHead, newElement};
        Link(node);
        return ToPosition(node);
    }

    // First element equal to value after startAfter (null: from the head), or null.
    POSITION Find(ARG_TYPE value, POSITION startAfter = nullptr) const
    {
        Node* node = startAfter ? ToNode(startAfter)->pNext : m_pNodeHead;
        for (; node; node = node->pNext) {
            if (node->data == value)
                return ToPosition(node);
        }
        return nullptr;
    }
    // Position of the zero-based index, or null when out of range.
    POSITION FindIndex(int index) const
    {
        if (index < 0 || index >= m_nCount)
            return nullptr;
        Node* node = m_pNodeHead;
        while (index-- > 0)
            node = node->pNext;
        return ToPosition(node);
    }

private:
    struct Node {
        Node* pPrev;
        Node* pNext;
        TYPE data;
    };

    static Node* ToNode(POSITION position) { return reinterpret_cast<Node*>(position); }
    static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }

    // Joins a node whose neighbours are already set into the chain.
    void Link(Node* node)
    {
        (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node;
        (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node;
        ++m_nCount;
    }

    Node* m_pNodeHead = nullptr;
    Node* m_pNodeTail = nullptr;
    int m_nCount = 0;
};

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(int blockSize = 10) : CList(blockSize) {}
};
