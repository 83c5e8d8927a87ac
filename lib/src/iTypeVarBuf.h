// Variable-length fields: a buffer of fixed capacity that begins with a length
// word and holds that many payload bytes after it. VarBuf and VarBufString have a
// 16-bit word, VarBuf32 and BLOb a 32-bit one (little-endian). The length word
// comes from registry values and database records that may be corrupt, so every
// read clamps it to the room after it.
#pragma once

#include "iTypeBase.h"

#include <cstddef>

namespace iType {

// The length word, the payload and the operations the four kinds share.
template <unsigned PrefixBytes>
class LengthPrefixed : public Base {
public:
    static constexpr unsigned kPrefixBytes = PrefixBytes;

    // No buffer.
    LengthPrefixed() : Base(nullptr, nullptr) {}
    // Borrowed; the buffer is left as it is.
    LengthPrefixed(void* data, unsigned capacity, const char* name, const char* description)
        : Base(data, capacity, name, description)
    {
    }
    LengthPrefixed(Collection* parent, void* data, unsigned capacity, const char* name, const char* description)
        : Base(parent, data, capacity, name, description)
    {
    }
    LengthPrefixed(void* data, const char* name, const char* description, unsigned capacity)
        : Base(data, capacity, name, description)
    {
    }
    LengthPrefixed(Collection* parent, void* data, const char* name, const char* description, unsigned capacity)
        : Base(parent, data, capacity, name, description)
    {
    }
    LengthPrefixed(Collection* parent, const char* name, const char* description, void* data, unsigned capacity)
        : Base(parent, data, capacity, name, description)
    {
    }
    // Owned, zero-filled.
    LengthPrefixed(Collection* parent, const char* name, const char* description, unsigned capacity)
        : Base(parent, name, description, capacity)
    {
    }
    // Owned, in no collection (a bare null parent would also fit the borrowed form).
    LengthPrefixed(std::nullptr_t, const char* name, const char* description, unsigned capacity)
        : Base(capacity, name, description)
    {
    }
    explicit LengthPrefixed(unsigned capacity) : Base(capacity, nullptr, nullptr) {}

    // No display text.
    const char* GetText() const override { return nullptr; }
    int IsValid() const override { return m_data ? 1 : 0; }

    // Capacities differ: this capacity less the other's. Equal: the first
    // GetLength() payload bytes of both, as unsigned bytes.
    int CompareTo(const Base& other) const override;

    unsigned GetCapacity() const { return m_data ? GetByteSize() : 0; }
    // Payload bytes the buffer has room for after the length word.
    unsigned GetRoom() const { return GetCapacity() > kPrefixBytes ? GetCapacity() - kPrefixBytes : 0; }
    // The length word, clamped to the room.
    unsigned GetLength() const;
    // Writes the length word, clamped to the room.
    void SetLength(unsigned length);
    unsigned char* GetPayload() const
    {
        return GetCapacity() >= kPrefixBytes ? static_cast<unsigned char*>(m_data) + kPrefixBytes : nullptr;
    }
};

extern template class LengthPrefixed<2>;
extern template class LengthPrefixed<4>;

// Binary payload after a 16-bit length word.
class VarBuf : public LengthPrefixed<2> {
public:
    using LengthPrefixed::LengthPrefixed;
    ~VarBuf() override;
    Base* Create() const override;
};

// Binary payload after a 32-bit length word.
class VarBuf32 : public LengthPrefixed<4> {
public:
    using LengthPrefixed::LengthPrefixed;
    ~VarBuf32() override;
    Base* Create() const override;
};

// Text after a 16-bit length word, without a terminator; the bytes after it are zero.
class VarBufString : public VarBuf {
public:
    VarBufString();
    VarBufString(void* data, unsigned capacity, const char* name, const char* description);
    VarBufString(Collection* parent, void* data, unsigned capacity, const char* name, const char* description);
    VarBufString(void* data, const char* name, const char* description, unsigned capacity);
    VarBufString(Collection* parent, void* data, const char* name, const char* description, unsigned capacity);
    explicit VarBufString(unsigned capacity);
    ~VarBufString() override;

    // The payload in place while a zero ends it inside the room; otherwise (a text
    // that fills its room, or bytes after the length) a terminated copy in the
    // scratch ring.
    const char* GetText() const override;
    Base* Create() const override;
    // Clear, then text cut to the room; 1.
    int SetText(const char* text) override;
    // Clear, then at most n characters of text, cut to the room.
    void SetTextN(const char* text, unsigned n);
};

// A binary large object: never equal to anything, takes no attributes from others.
class BLOb : public VarBuf32 {
public:
    using VarBuf32::VarBuf32;
    ~BLOb() override;
    void Assign(const Base& other) override;
    int IsValid() const override;
    int CompareTo(const Base& other) const override;
};

} // namespace iType
