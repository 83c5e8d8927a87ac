// The internet clients' line lists: CPJStringList, a singly linked list of owned texts
// (the HTTP client's request headers, reply headers and body lines), and CPJTagList,
// a list the HTTP client owns and only ever empties.
#pragma once

#include <cstddef>

// Owns copies of the texts appended to it. Nodes live in large blocks, so a body of
// hundreds of thousands of lines costs few allocations; appends go through a tail
// pointer and reading the lines in order is linear, however long the list.
class CPJStringList {
public:
    CPJStringList();
    virtual ~CPJStringList();
    CPJStringList(const CPJStringList&) = delete;
    CPJStringList& operator=(const CPJStringList&) = delete;

    // Appends a copy of the text; a null text is appended as an empty one. Returns 1,
    // or 0 when memory is exhausted (nothing is appended then).
    int AddString(const char* text);
    // Appends exactly `length` bytes, NUL bytes included (a line as received); 1 or 0 as above.
    int AddString(const char* bytes, int length);
    // Frees every node and text. Returns 1.
    int ClearList();
    // Drops the last text appended; 0 when the list is empty, else 1.
    int RemoveLast();

    int GetCount() const { return m_count; }
    // The text of node `index` (from 0), or null out of range. The list keeps it.
    const char* GetString(int index);
    // The number of bytes of text `index` (NUL bytes within it included), or -1 out of range.
    int GetLength(int index);
    // Bytes of every text together, and all of them written back to back into `out`
    // (which must hold GetTotalLength() bytes): the lines joined as they were received.
    size_t GetTotalLength() const { return m_totalLength; }
    void CopyAll(char* out) const;

private:
    struct Node;
    struct Block;

    static size_t NodeBytes(size_t length);
    Node* NodeAt(int index);
    char* Allocate(size_t bytes);

    Node* m_head;
    Node* m_tail;
    int m_count;
    size_t m_totalLength;
    Block* m_blocks;
    // Where the last GetString stopped, so that reading in order does not walk from the head.
    Node* m_cursorNode;
    int m_cursorIndex;
};

// A list of nodes that own nothing else. Nothing adds to it; the HTTP client owns one.
class CPJTagList {
public:
    CPJTagList();
    virtual ~CPJTagList();
    CPJTagList(const CPJTagList&) = delete;
    CPJTagList& operator=(const CPJTagList&) = delete;

    // Frees every node. Returns 1.
    int ClearList();

private:
    struct Node {
        Node* next;
    };
    Node* m_head;
};
