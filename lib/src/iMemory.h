// Value storage of a typed field: a run of equal-sized elements that is either
// absent, borrowed from its owner (typically a record buffer) or owned by the
// block and freed with it. An owned block always comes from NewBlock.
#pragma once

class iMemory {
public:
    // Storage kinds.
    static constexpr unsigned kNone = 0;
    static constexpr unsigned kBorrowed = 1;
    static constexpr unsigned kOwned = 2;

    iMemory();
    // size 0: no storage; otherwise an owned block of size one-byte elements.
    explicit iMemory(unsigned size);
    // size one-byte elements at data, borrowed.
    iMemory(void* data, unsigned size);
    iMemory(const iMemory&) = delete;
    iMemory& operator=(const iMemory&) = delete;

    // Negative, 0 or positive as this block's raw value sorts before, with or after the other's.
    virtual int Compare(const iMemory& other) const;
    virtual ~iMemory();
    // Every byte of the value 0.
    virtual void Clear();

    // Describes the storage; an owned block that data replaces is freed.
    void Set(unsigned kind, unsigned elementSize, unsigned count, void* data);
    // Takes over (kOwned) or gives up (kBorrowed) the present block. A block taken
    // over must come from NewBlock.
    void SetKind(unsigned kind);
    // Gives a block without storage its own copy of the other's layout, then copies
    // as many bytes as both values have.
    void CopyFrom(const iMemory& other);
    // n bytes from source into the value; n 0 or past the byte size copies the byte size.
    void CopyIn(const void* source, unsigned n);

    unsigned GetKind() const { return m_kind; }
    unsigned GetElementSize() const { return m_elementSize; }
    unsigned GetElementCount() const { return m_count; }
    unsigned GetByteSize() const { return m_elementSize * m_count; }
    void* GetData() const { return m_data; }

    // A zero-filled block of size bytes that an iMemory may own.
    [[nodiscard]] static unsigned char* NewBlock(unsigned size);

protected:
    unsigned m_kind;
    unsigned m_elementSize;
    unsigned m_count;
    void* m_data;

private:
    void FreeOwned();
};
