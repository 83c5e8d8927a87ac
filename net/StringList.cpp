// Line lists: texts stored in blocks of nodes, appended at the tail.
#include "net/StringList.h"

#include <cstdlib>
#include <cstring>

struct CPJStringList::Node {
    Node* next;
    int length;
    char text[1]; // length bytes and a NUL
};

struct CPJStringList::Block {
    Block* next;
    size_t used;
    size_t size;
    // The node storage follows the header.
    char* data() { return reinterpret_cast<char*>(this + 1); }
};

namespace {

// 256 KB blocks: a 32 MB body needs about 130 of them, and the slack at a block's end
// stays below a 16 KB piece.
constexpr size_t kBlockBytes = 256 * 1024;
constexpr size_t kNodeAlign = alignof(void*);

} // namespace

size_t CPJStringList::NodeBytes(size_t length)
{
    size_t bytes = offsetof(Node, text) + length + 1;
    return (bytes + kNodeAlign - 1) & ~(kNodeAlign - 1);
}

CPJStringList::CPJStringList()
    : m_head(nullptr), m_tail(nullptr), m_count(0), m_totalLength(0), m_blocks(nullptr), m_cursorNode(nullptr),
      m_cursorIndex(0)
{
}

CPJStringList::~CPJStringList()
{
    ClearList();
}

char* CPJStringList::Allocate(size_t bytes)
{
    if (!m_blocks || m_blocks->size - m_blocks->used < bytes) {
        size_t size = bytes > kBlockBytes ? bytes : kBlockBytes;
        Block* block = static_cast<Block*>(malloc(sizeof(Block) + size));
        if (!block)
            return nullptr;
        block->next = m_blocks;
        block->used = 0;
        block->size = size;
        m_blocks = block;
    }
    char* at = m_blocks->data() + m_blocks->used;
    m_blocks->used += bytes;
    return at;
}

int CPJStringList::AddString(const char* text)
{
    return AddString(text, text ? static_cast<int>(strlen(text)) : 0);
}

int CPJStringList::AddString(const char* bytes, int length)
{
    if (!bytes || length < 0)
        length = 0;
    Node* node = reinterpret_cast<Node*>(Allocate(NodeBytes(static_cast<size_t>(length))));
    if (!node)
        return 0;
    node->next = nullptr;
    node->length = length;
    if (length > 0)
        memcpy(node->text, bytes, static_cast<size_t>(length));
    node->text[length] = '\0';
    if (m_tail)
        m_tail->next = node;
    else
        m_head = node;
    m_tail = node;
    ++m_count;
    m_totalLength += static_cast<size_t>(length);
    return 1;
}

int CPJStringList::ClearList()
{
    while (m_blocks) {
        Block* next = m_blocks->next;
        free(m_blocks);
        m_blocks = next;
    }
    m_head = m_tail = nullptr;
    m_count = 0;
    m_totalLength = 0;
    m_cursorNode = nullptr;
    m_cursorIndex = 0;
    return 1;
}

int CPJStringList::RemoveLast()
{
    if (!m_tail)
        return 0;
    Node* last = m_tail;
    Node* before = nullptr;
    for (Node* node = m_head; node != last; node = node->next)
        before = node;
    if (before)
        before->next = nullptr;
    else
        m_head = nullptr;
    m_tail = before;
    --m_count;
    m_totalLength -= static_cast<size_t>(last->length);
    if (m_cursorNode == last) {
        m_cursorNode = nullptr;
        m_cursorIndex = 0;
    }
    // The node was the last thing carved from the newest block: give its room back,
    // so that adding and removing one header per request does not grow the list.
    size_t bytes = NodeBytes(static_cast<size_t>(last->length));
    if (m_blocks && reinterpret_cast<char*>(last) + bytes == m_blocks->data() + m_blocks->used)
        m_blocks->used -= bytes;
    return 1;
}

const char* CPJStringList::GetString(int index)
{
    Node* node = NodeAt(index);
    return node ? node->text : nullptr;
}

int CPJStringList::GetLength(int index)
{
    Node* node = NodeAt(index);
    return node ? node->length : -1;
}

CPJStringList::Node* CPJStringList::NodeAt(int index)
{
    if (index < 0 || index >= m_count)
        return nullptr;
    Node* node = m_head;
    int at = 0;
    if (m_cursorNode && m_cursorIndex <= index) {
        node = m_cursorNode;
        at = m_cursorIndex;
    }
    for (; at < index; ++at)
        node = node->next;
    m_cursorNode = node;
    m_cursorIndex = index;
    return node;
}

void CPJStringList::CopyAll(char* out) const
{
    for (const Node* node = m_head; node; node = node->next) {
        memcpy(out, node->text, static_cast<size_t>(node->length));
        out += node->length;
    }
}

CPJTagList::CPJTagList() : m_head(nullptr)
{
}

CPJTagList::~CPJTagList()
{
    ClearList();
}

int CPJTagList::ClearList()
{
    while (m_head) {
        Node* next = m_head->next;
        delete m_head;
        m_head = next;
    }
    return 1;
}
