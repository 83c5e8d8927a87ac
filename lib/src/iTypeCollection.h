// Field collections: named groups of fields kept in the order they were added,
// found by name or position, that forward the field operations to every member.
// A collection is itself a field, so collections nest (a settings store is a
// collection of collections). Compound and Combined also take their text apart
// at the separator, one piece per member.
#pragma once

#include "iTypeBase.h"

#include <memory>

namespace iType {

// Owns its member array and separator, not its members.
class Collection : public Base {
public:
    Collection(const char* name, const char* description);
    Collection(Collection* parent, const char* name, const char* description);
    // Members lie over size bytes at data.
    Collection(Collection* parent, void* data, unsigned size, const char* name, const char* description);
    Collection(unsigned size, const char* name, const char* description);
    Collection(void* data, unsigned size, const char* name, const char* description);
    ~Collection() override;

    void Clear() override;
    // The texts of the members flagged kFlagInText, joined by the separator.
    const char* GetText() const override;
    // Member i is assigned from the other's member i, as far as both have members.
    void Assign(const Base& other) override;
    // An empty collection of this name and description.
    Base* Create() const override;
    void SetDefault() override;
    int IsValid() const override;
    int SetText(const char* text) override;
    // Members paired by position; when every pair is equal, the one with fewer members sorts first.
    int CompareTo(const Base& other) const override;
    // Each forwards to the members in order while they answer non-zero.
    int SetMinimum() override;
    int SetMaximum() override;
    int Reserved1() override;
    int Reserved2() override;

    // The first member of that name (case-sensitive); null when none.
    virtual Base* Find(const char* name);
    virtual const Base* Find(const char* name) const;
    // The member at position; null outside 0 to count - 1.
    virtual Base* GetAt(int position);
    virtual const Base* GetAt(int position) const;
    Base* operator[](const char* name) { return Find(name); }
    const Base* operator[](const char* name) const { return Find(name); }
    Base* operator[](int position) { return GetAt(position); }
    const Base* operator[](int position) const { return GetAt(position); }

    // Appends member (null is ignored); it takes this collection as parent when it has none.
    void Add(Base* member);
    int GetCount() const { return m_count; }
    void SetSeparator(const char* text);
    const char* GetSeparator() const { return m_separator.get(); }
    // Destroys every member; for the kinds that own theirs.
    void DeleteMembers();

protected:
    // Forwards op to the members in order while they answer non-zero.
    [[nodiscard]] int ForwardWhileNonZero(int (Base::*op)());

    int m_count = 0;
    int m_capacity = 0;
    std::unique_ptr<Base*[]> m_members;
    std::unique_ptr<char[]> m_separator;
};

// A collection whose text can be set: split at the separator, one piece per member.
class Compound : public Collection {
public:
    using Collection::Collection;
    ~Compound() override;
    int SetText(const char* text) override;
};

// Behaves as Compound in every respect.
class Combined : public Collection {
public:
    using Collection::Collection;
    ~Combined() override;
    int SetText(const char* text) override;
};

} // namespace iType
