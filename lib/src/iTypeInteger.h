// Integer fields with a meaning of their own: Radio holds the check state of a
// radio button and shows it like a boolean, ColorRef holds a COLORREF with white as
// its null value, and Code holds a signed code shown through an optional string map
// and matched hierarchically (a code ending in zeros stands for its whole group).
#pragma once

#include "iStringMap.h"
#include "iTypeScalar.h"

#include <cstddef>

namespace iType {

// "X" when the state is not 0 (checked or indeterminate), "" when it is 0.
class Radio : public TType<unsigned long> {
public:
    Radio();
    Radio(Collection* parent, const char* name, const char* description);
    Radio(std::nullptr_t, const char* name, const char* description);
    Radio(Collection* parent, void* data, const char* name, const char* description);
    Radio(Collection* parent, void* base, int offset, const char* name, const char* description);
    Radio(void* data, const char* name, const char* description);
    Radio(void* base, int offset, const char* name, const char* description);
    // Owned and nameless, holding the other's value.
    Radio(const Radio& other);
    explicit Radio(unsigned long value);
    ~Radio() override;

    // The value only.
    Radio& operator=(const Radio& other);
    Radio& operator=(unsigned long value);

    const char* GetText() const override;
    Base* Create() const override;
    int IsValid() const override;
    // 0: a radio state is not set from text.
    int SetText(const char* text) override;

private:
    void Init();
};

// Red in the low byte, then green, then blue; null and default are white.
class ColorRef : public TType<unsigned long> {
public:
    static constexpr unsigned long kWhite = 0xFFFFFF;

    ColorRef();
    ColorRef(Collection* parent, const char* name, const char* description);
    ColorRef(std::nullptr_t, const char* name, const char* description);
    ColorRef(Collection* parent, void* data, const char* name, const char* description);
    ColorRef(Collection* parent, void* base, int offset, const char* name, const char* description);
    ColorRef(void* data, const char* name, const char* description);
    ColorRef(void* base, int offset, const char* name, const char* description);
    ColorRef(const ColorRef& other);
    explicit ColorRef(unsigned long value);
    ~ColorRef() override;

    ColorRef& operator=(const ColorRef& other);
    ColorRef& operator=(unsigned long value);

    Base* Create() const override;

private:
    void Init();
};

// A signed code; the string map is the owner's and shared by the fields Create makes.
class Code : public TType<long> {
public:
    Code();
    Code(Collection* parent, const char* name, const char* description);
    Code(std::nullptr_t, const char* name, const char* description);
    Code(Collection* parent, void* data, const char* name, const char* description);
    Code(Collection* parent, void* base, int offset, const char* name, const char* description);
    Code(void* data, const char* name, const char* description);
    Code(void* base, int offset, const char* name, const char* description);
    explicit Code(long value);
    ~Code() override;

    // The value only.
    Code& operator=(const Code& other);
    Code& operator=(long value);

    // The map's text for the code (empty when the code has none), or the code in
    // decimal without a map; the text flags take no part.
    const char* GetText() const override;
    // A new code field sharing this field's map and hierarchical flag.
    Base* Create() const override;
    // Valid when the value differs from the null value.
    int IsValid() const override;
    int SetText(const char* text) override;
    // This field is the pattern: hierarchical, a pattern matches every code that
    // shares its digits before its trailing zeros (0 matches only 0).
    int Match(const Base& other) const override;
    // 1, value unchanged: codes have no limits.
    int SetMinimum() override;
    int SetMaximum() override;

    const iStringMap* GetStringMap() const { return m_map; }
    void SetStringMap(const iStringMap* map) { m_map = map; }
    int IsHierarchical() const { return m_hierarchical; }
    void SetHierarchical(int hierarchical) { m_hierarchical = hierarchical; }

private:
    void Init();

    const iStringMap* m_map = nullptr;
    int m_hierarchical = 0;
};

} // namespace iType
