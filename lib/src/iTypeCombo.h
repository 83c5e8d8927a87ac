// Check and combo fields: a number shown through names. _TCheck holds a word of
// flags and shows the names of its set bits joined by " & "; _TCombo holds one
// choice and shows the name of its code. The names come from an iStringMap the
// field makes and owns on its first name, or borrows from another field through
// Assign. TCheck<T> and TCombo<T> bind them to an integer type.
#pragma once

#include "iStringMap.h"
#include "iTypeScalar.h"

#include <cstddef>

namespace iType {

// The name map that check and combo fields share: made and owned on the first name,
// or borrowed from another field; a borrowed map belongs to a field that outlives this one.
class NameMapField : public Base {
public:
    NameMapField();
    NameMapField(Collection* parent, const char* name, const char* description);
    NameMapField(Collection* parent, void* data, unsigned size, const char* name, const char* description);
    NameMapField(Collection* parent, void* data, const char* name, const char* description, unsigned size);
    NameMapField(void* data, unsigned size, const char* name, const char* description);
    ~NameMapField() override;

    const iStringMap* GetMap() const { return m_map; }

protected:
    // Names code in the map, which is made on the first name. A code that has a name keeps it.
    int AddName(long code, const char* name);
    // The other's map, when it has one, replaces this one's.
    void BorrowMap(const NameMapField& other);

private:
    int m_owned = 0;
    iStringMap* m_map = nullptr;
};

class _TCheck : public NameMapField {
public:
    using NameMapField::NameMapField;
    ~_TCheck() override;

    // The names of the set bits joined by " & "; without a map the value in hexadecimal.
    const char* GetText() const override;
    // The base attributes; then the other's map, when it has one, is borrowed.
    void Assign(const Base& other) override;

    virtual unsigned long GetValue() const = 0;
    virtual int GetBitCount() const = 0;

    // 0 for a bit outside the value type; a bit that has a name keeps it. 1 otherwise.
    int AddBitName(int bit, const char* name);
};

class _TCombo : public NameMapField {
public:
    using NameMapField::NameMapField;
    ~_TCombo() override;

    // The name of the code (borrowed from the map; empty for a code without one),
    // or "*No String Map!*" without a map.
    const char* GetText() const override;
    // The base attributes; then the other's map, when it has one, is borrowed.
    void Assign(const Base& other) override;

    virtual long GetValue() const = 0;

    // A code that has a name keeps it. 1.
    int AddItem(long code, const char* name);

protected:
    // The code named text exactly (the lowest such code); false when none or no map.
    [[nodiscard]] bool FindItem(const char* text, long& code) const;
};

// Lays the value of a check or combo field: one T, owned or at a place in a buffer.
template <class Family, class T>
class NamedScalar : public ScalarValue<Family, T> {
    using Scalar = ScalarValue<Family, T>;

public:
    using typename Scalar::Rules;

    // Owned, nameless.
    NamedScalar() { this->Init(iMemory::NewBlock(sizeof(T)), iMemory::kOwned); }
    NamedScalar(Collection* parent, const char* name, const char* description) : Scalar(parent, name, description)
    {
        this->Init(iMemory::NewBlock(sizeof(T)), iMemory::kOwned);
    }
    NamedScalar(std::nullptr_t, const char* name, const char* description)
        : NamedScalar(static_cast<Collection*>(nullptr), name, description)
    {
    }
    // Borrowed: sizeof(T) bytes at data, which construction sets to the null value.
    NamedScalar(Collection* parent, void* data, const char* name, const char* description)
        : Scalar(parent, data, sizeof(T), name, description)
    {
        this->Init(data, iMemory::kBorrowed);
    }
    NamedScalar(Collection* parent, void* base, int offset, const char* name, const char* description)
        : NamedScalar(parent, static_cast<char*>(base) + offset, name, description)
    {
    }
    NamedScalar(void* data, const char* name, const char* description)
        : NamedScalar(static_cast<Collection*>(nullptr), data, name, description)
    {
    }
    NamedScalar(void* base, int offset, const char* name, const char* description)
        : NamedScalar(static_cast<Collection*>(nullptr), static_cast<char*>(base) + offset, name, description)
    {
    }
    // Owned and nameless, holding the other's value.
    NamedScalar(const NamedScalar& other) : NamedScalar() { this->Value() = other.Value(); }
    explicit NamedScalar(T value) : NamedScalar() { this->Value() = value; }
    ~NamedScalar() override = default;

    NamedScalar& operator=(const NamedScalar& other)
    {
        this->Value() = other.Value();
        return *this;
    }
    NamedScalar& operator=(T value)
    {
        this->Value() = value;
        return *this;
    }

    // The other's value as one T.
    Base& CopyValue(const Base& other) override
    {
        T value{};
        if (Rules::Read(other, value))
            this->Value() = value;
        return *this;
    }
};

// A choice of codes named by a string map.
template <class T>
class TCombo : public NamedScalar<_TCombo, T> {
public:
    using NamedScalar<_TCombo, T>::NamedScalar;
    using NamedScalar<_TCombo, T>::operator=;
    ~TCombo() override = default;

    // A new combo of this name without a map.
    Base* Create() const override { return this->NamedAsThis(new TCombo); }

    // The value becomes the code named text exactly. 0, leaving the value, when no
    // name matches or there is no map.
    int SetText(const char* text) override
    {
        long code = 0;
        if (!this->FindItem(text, code))
            return 0;
        this->Value() = static_cast<T>(code);
        return 1;
    }

    long GetValue() const override { return static_cast<long>(this->Value()); }
};

// A word of flags named bit by bit; T is an unsigned integer type.
template <class T>
class TCheck : public NamedScalar<_TCheck, T> {
public:
    using NamedScalar<_TCheck, T>::NamedScalar;
    using NamedScalar<_TCheck, T>::operator=;
    ~TCheck() override = default;

    Base* Create() const override { return this->NamedAsThis(new TCheck); }

    unsigned long GetValue() const override { return static_cast<unsigned long>(this->Value()); }
    int GetBitCount() const override { return static_cast<int>(8 * sizeof(T)); }
};

} // namespace iType
