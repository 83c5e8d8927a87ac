// The framework's string list and string array.
// List invariants: (1) m_nCount counts the nodes between head and tail; (2) every
// node in use holds a constructed CString, every free node none; (3) the blocks
// are released once the list is empty again.
#include "StringCollections.h"

#include "CollectionArrays.h"
#include "Exceptions.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <new>

IMPLEMENT_DYNAMIC(CStringList, CObject)
IMPLEMENT_DYNAMIC(CStringArray, CObject)

namespace {

// Stands where an element is asked for that does not exist: the collections' shared
// per-thread stand-in, emptied at every use.
CString& NoElement()
{
    return collection_detail::MissingElement<CString>();
}

} // namespace

CStringList::CStringList(int blockSize) : m_nBlockSize(blockSize > 0 ? blockSize : 10)
{
}

CStringList::~CStringList()
{
    RemoveAll();
}

CStringList::Node* CStringList::NewNode(Node* prev, Node* next, const CString& value)
{
    if (!m_pNodeFree) {
        m_blocks.reserve(m_blocks.size() + 1);
        void* block = malloc(sizeof(Node) * static_cast<size_t>(m_nBlockSize));
        if (!block)
            AfxThrowMemoryException();
        m_blocks.push_back(block);
        // Chain the new nodes so that the lowest address is handed out first.
        Node* nodes = static_cast<Node*>(block);
        for (int i = m_nBlockSize - 1; i >= 0; --i) {
            nodes[i].pNext = m_pNodeFree;
            m_pNodeFree = &nodes[i];
        }
    }
    Node* node = m_pNodeFree;
    m_pNodeFree = node->pNext;
    node->pPrev = prev;
    node->pNext = next;
    // Copying a CString only shares its buffer: it cannot fail.
    new (&node->data) CString(value);
    ++m_nCount;
    return node;
}

void CStringList::FreeNode(Node* node)
{
    node->data.~CString();
    node->pNext = m_pNodeFree;
    m_pNodeFree = node;
    --m_nCount;
    if (m_nCount == 0)
        RemoveAll();
}

void CStringList::FreeBlocks()
{
    for (void* block : m_blocks)
        free(block);
    m_blocks.clear();
    m_pNodeFree = nullptr;
}

void CStringList::RemoveAll()
{
    for (Node* node = m_pNodeHead; node; node = node->pNext)
        node->data.~CString();
    m_pNodeHead = nullptr;
    m_pNodeTail = nullptr;
    m_nCount = 0;
    FreeBlocks();
}

CString& CStringList::GetHead()
{
    return m_pNodeHead ? m_pNodeHead->data : NoElement();
}

const CString& CStringList::GetHead() const
{
    return m_pNodeHead ? m_pNodeHead->data : NoElement();
}

CString& CStringList::GetTail()
{
    return m_pNodeTail ? m_pNodeTail->data : NoElement();
}

const CString& CStringList::GetTail() const
{
    return m_pNodeTail ? m_pNodeTail->data : NoElement();
}

CString CStringList::RemoveHead()
{
    if (!m_pNodeHead)
        return CString();
    Node* old = m_pNodeHead;
    CString value = old->data;
    m_pNodeHead = old->pNext;
    if (m_pNodeHead)
        m_pNodeHead->pPrev = nullptr;
    else
        m_pNodeTail = nullptr;
    FreeNode(old);
    return value;
}

CString CStringList::RemoveTail()
{
    if (!m_pNodeTail)
        return CString();
    Node* old = m_pNodeTail;
    CString value = old->data;
    m_pNodeTail = old->pPrev;
    if (m_pNodeTail)
        m_pNodeTail->pNext = nullptr;
    else
        m_pNodeHead = nullptr;
    FreeNode(old);
    return value;
}

POSITION CStringList::AddHead(LPCSTR newElement)
{
    return AddHead(CString(newElement));
}

POSITION CStringList::AddHead(const CString& newElement)
{
    Node* node = NewNode(nullptr, m_pNodeHead, newElement);
    if (m_pNodeHead)
        m_pNodeHead->pPrev = node;
    else
        m_pNodeTail = node;
    m_pNodeHead = node;
    return ToPosition(node);
}

POSITION CStringList::AddTail(LPCSTR newElement)
{
    return AddTail(CString(newElement));
}

POSITION CStringList::AddTail(const CString& newElement)
{
    Node* node = NewNode(m_pNodeTail, nullptr, newElement);
    if (m_pNodeTail)
        m_pNodeTail->pNext = node;
    else
        m_pNodeHead = node;
    m_pNodeTail = node;
    return ToPosition(node);
}

POSITION CStringList::GetHeadPosition() const
{
    return ToPosition(m_pNodeHead);
}

POSITION CStringList::GetTailPosition() const
{
    return ToPosition(m_pNodeTail);
}

CString& CStringList::GetNext(POSITION& position)
{
    Node* node = ToNode(position);
    if (!node)
        return NoElement();
    position = ToPosition(node->pNext);
    return node->data;
}

const CString& CStringList::GetNext(POSITION& position) const
{
    return const_cast<CStringList*>(this)->GetNext(position);
}

CString& CStringList::GetPrev(POSITION& position)
{
    Node* node = ToNode(position);
    if (!node)
        return NoElement();
    position = ToPosition(node->pPrev);
    return node->data;
}

const CString& CStringList::GetPrev(POSITION& position) const
{
    return const_cast<CStringList*>(this)->GetPrev(position);
}

CString& CStringList::GetAt(POSITION position)
{
    Node* node = ToNode(position);
    return node ? node->data : NoElement();
}

const CString& CStringList::GetAt(POSITION position) const
{
    return const_cast<CStringList*>(this)->GetAt(position);
}

void CStringList::SetAt(POSITION position, LPCSTR newElement)
{
    if (Node* node = ToNode(position))
        node->data = newElement;
}

void CStringList::SetAt(POSITION position, const CString& newElement)
{
    if (Node* node = ToNode(position))
        node->data = newElement;
}

void CStringList::RemoveAt(POSITION position)
{
    Node* node = ToNode(position);
    if (!node)
        return;
    if (node->pPrev)
        node->pPrev->pNext = node->pNext;
    else
        m_pNodeHead = node->pNext;
    if (node->pNext)
        node->pNext->pPrev = node->pPrev;
    else
        m_pNodeTail = node->pPrev;
    FreeNode(node);
}

POSITION CStringList::InsertBefore(POSITION position, LPCSTR newElement)
{
    return InsertBefore(position, CString(newElement));
}

POSITION CStringList::InsertBefore(POSITION position, const CString& newElement)
{
    Node* old = ToNode(position);
    if (!old)
        return AddHead(newElement);
    Node* node = NewNode(old->pPrev, old, newElement);
    if (old->pPrev)
        old->pPrev->pNext = node;
    else
        m_pNodeHead = node;
    old->pPrev = node;
    return ToPosition(node);
}

POSITION CStringList::InsertAfter(POSITION position, LPCSTR newElement)
{
    return InsertAfter(position, CString(newElement));
}

POSITION CStringList::InsertAfter(POSITION position, const CString& newElement)
{
    Node* old = ToNode(position);
    if (!old)
        return AddTail(newElement);
    Node* node = NewNode(old, old->pNext, newElement);
    if (old->pNext)
        old->pNext->pPrev = node;
    else
        m_pNodeTail = node;
    old->pNext = node;
    return ToPosition(node);
}

POSITION CStringList::Find(LPCSTR value, POSITION startAfter) const
{
    Node* node = startAfter ? ToNode(startAfter)->pNext : m_pNodeHead;
    for (; node; node = node->pNext) {
        if (node->data == value)
            return ToPosition(node);
    }
    return nullptr;
}

POSITION CStringList::FindIndex(int index) const
{
    if (index < 0 || index >= m_nCount)
        return nullptr;
    Node* node = m_pNodeHead;
    while (index-- > 0)
        node = node->pNext;
    return ToPosition(node);
}

void CStringArray::Grow(int newSize)
{
    size_t wanted = static_cast<size_t>(newSize);
    if (wanted <= m_data.capacity())
        return;
    // Grow in steps, as the framework does, so that repeated Add stays cheap.
    size_t step = m_nGrowBy > 0 ? static_cast<size_t>(m_nGrowBy)
                                : std::min<size_t>(1024, std::max<size_t>(4, m_data.size() / 8));
    m_data.reserve(std::max(wanted, m_data.size() + step));
}

void CStringArray::SetSize(int newSize, int growBy)
{
    if (growBy >= 0)
        m_nGrowBy = growBy;
    if (newSize < 0)
        newSize = 0;
    Grow(newSize);
    m_data.resize(static_cast<size_t>(newSize));
}

CString CStringArray::GetAt(int index) const
{
    if (index < 0 || index >= GetSize())
        return CString();
    return m_data[static_cast<size_t>(index)];
}

void CStringArray::SetAt(int index, LPCSTR newElement)
{
    if (index >= 0 && index < GetSize())
        m_data[static_cast<size_t>(index)] = newElement;
}

CString& CStringArray::ElementAt(int index)
{
    if (index < 0 || index >= GetSize())
        return NoElement();
    return m_data[static_cast<size_t>(index)];
}

int CStringArray::Add(LPCSTR newElement)
{
    return Add(CString(newElement));
}

int CStringArray::Add(const CString& newElement)
{
    if (GetSize() == INT_MAX)
        AfxThrowMemoryException();
    Grow(GetSize() + 1);
    m_data.push_back(newElement);
    return GetSize() - 1;
}

void CStringArray::InsertAt(int index, LPCSTR newElement, int count)
{
    if (index < 0 || count <= 0)
        return;
    CString value(newElement);
    if (index >= GetSize()) {
        if (index > INT_MAX - count)
            AfxThrowMemoryException();
        SetSize(index + count);
        std::fill(m_data.begin() + index, m_data.end(), value);
        return;
    }
    if (GetSize() > INT_MAX - count)
        AfxThrowMemoryException();
    Grow(GetSize() + count);
    m_data.insert(m_data.begin() + index, static_cast<size_t>(count), value);
}

void CStringArray::RemoveAt(int index, int count)
{
    if (index < 0 || index >= GetSize() || count <= 0)
        return;
    int end = (count > GetSize() - index) ? GetSize() : index + count;
    m_data.erase(m_data.begin() + index, m_data.begin() + end);
}
