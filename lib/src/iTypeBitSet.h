// Bit-set fields: a set of small non-negative numbers kept as bits of a byte
// buffer, bit i being bit i mod 8 of byte i div 8. BitSet adds a valid bit range,
// default bits that Clear restores, bit operations, and the text "NONE", "SOME"
// or "ALL". Two sets match when they share a bit.
#pragma once

#include "iTypeBase.h"

#include <memory>

namespace iType {

// The valid bit range of a set over a byte buffer.
class Set : public Base {
public:
    Set();
    Set(Collection* parent, void* data, unsigned capacity, const char* name, const char* description);
    Set(void* data, unsigned capacity, const char* name, const char* description);
    explicit Set(unsigned capacity);
    ~Set() override;

    // The base attributes and the bit range.
    void Assign(const Base& other) override;

    unsigned GetCapacity() const { return m_data ? GetByteSize() : 0; }
    int GetLowBit() const { return m_lowBit; }
    int GetHighBit() const { return m_highBit; }
    // Within the range and within the buffer.
    [[nodiscard]] bool IsValidBit(int i) const;

protected:
    int m_lowBit = 0;
    int m_highBit = 0;
};

// Owns its default bits (one byte per byte of the buffer).
class BitSet : public Set {
public:
    BitSet();
    // Borrowed: the buffer is left as it is.
    BitSet(Collection* parent, void* data, unsigned capacity, const char* name, const char* description);
    BitSet(void* data, unsigned capacity, const char* name, const char* description);
    // Owned, zero-filled.
    explicit BitSet(unsigned capacity);
    ~BitSet() override;

    // The default bits into the value.
    void Clear() override;
    const char* GetText() const override;
    // The range, then the other's default bits over the bytes both have.
    void Assign(const Base& other) override;
    Base* Create() const override;
    int IsValid() const override;
    // The larger capacity sorts after; equal capacities compare their bytes.
    int CompareTo(const Base& other) const override;
    // 0 when the two sets share a bit, -1 otherwise.
    int Match(const Base& other) const override;

    // Each answers 1, or 0 (changing nothing) for a bit outside the valid range.
    virtual int SetBit(int i);
    virtual int ClearBit(int i);
    // 1 when bit i is set; 0 when clear or outside the range.
    virtual int TestBit(int i) const;
    // Set bits from the low bit to the high bit.
    virtual int CountBits() const;
    virtual int ClearAll();
    virtual int SetAll();

    // 1, or 0 when there are no default bits or i is outside the range.
    int SetDefaultBit(int i);

private:
    void InitRange();

    std::unique_ptr<unsigned char[]> m_defaultBits;
};

} // namespace iType
