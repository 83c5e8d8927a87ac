// The typed-field base: a value in iMemory storage plus the field's place in its
// collection, its name and description, its flags and input rule, and the virtual
// operations that every field kind implements (text, default, limits, validity,
// comparison). Texts a field answers live in the scratch text ring and are
// borrowed by the caller.
#pragma once

#include "iMemory.h"
#include "iString.h"

#include <memory>

namespace iType {

class Collection;

// Owns its name, description and two further texts; owns its value only when the
// storage kind is owned. It neither owns nor is owned by its parent.
class Base : public iMemory {
public:
    // Bits of the flags word.
    static constexpr unsigned kFlagInText = 1;  // takes part in the collection's text
    static constexpr unsigned kFlagSecond = 2;  // set by default, read by nothing

    // Bits of the text flags word.
    static constexpr unsigned kTextShowNull = 1;     // the null value gets a text like any other
    static constexpr unsigned kTextShowInvalid = 2;  // a value IsValid rejects still gets a text

    // Input rules of text typed into a text field.
    static constexpr int kInputAny = 0;
    static constexpr int kInputNotEmpty = 1;
    static constexpr int kInputFull = 2;

    Base(const char* name, const char* description);
    Base(Collection* parent, const char* name, const char* description);
    Base(Collection* parent, void* data, const char* name, const char* description);
    Base(Collection* parent, void* data, unsigned size, const char* name, const char* description);
    Base(Collection* parent, void* data, const char* name, const char* description, unsigned size);
    Base(Collection* parent, const char* name, const char* description, unsigned size);
    Base(void* data, unsigned size, const char* name, const char* description);
    Base(unsigned size, const char* name, const char* description);
    ~Base() override;

    // The value as display text.
    virtual const char* GetText() const = 0;
    // Copies the attributes of other, not its value.
    virtual void Assign(const Base& other);
    // A new heap field of the same kind, name and description holding its null value.
    virtual Base* Create() const = 0;
    // Create, then Assign from this field: the attributes, not the value.
    virtual Base* Clone() const;
    virtual void SetDefault();
    virtual int IsValid() const = 0;
    // The value through a printf-style format; the base ignores the format.
    virtual const char* GetTextFormat(const char* format) const;
    virtual Base& CopyValue(const Base& other);
    // 1 when text was taken as the value; 0 when the kind cannot parse text.
    virtual int SetText(const char* text);
    // Negative, 0 or positive as this value sorts before, with or after the other's.
    virtual int CompareTo(const Base& other) const = 0;
    // 0 when this field, as a pattern, matches the other.
    virtual int Match(const Base& other) const;
    // Least and greatest value of the kind; 0 when the kind has none.
    virtual int SetMinimum();
    virtual int SetMaximum();
    virtual int Reserved1();
    virtual int Reserved2();

    Collection* GetParent() const { return m_parent; }
    // Only a field without a parent takes one.
    void SetParent(Collection* parent);
    int GetIndex() const { return m_index; }

    const char* GetName() const { return m_name.get(); }
    void SetName(const char* name);
    const char* GetDescription() const { return m_description.get(); }
    void SetDescription(const char* description);
    // The names from the outermost collection down to this field, joined by separator ("." when null).
    iString& GetFullName(iString& out, const char* separator) const;

    unsigned GetAttributes() const { return m_attributes; }
    unsigned GetFlags() const { return m_flags; }
    void SetFlags(unsigned flags) { m_flags = flags; }
    int GetInputRule() const { return m_inputRule; }
    void SetInputRule(int rule) { m_inputRule = rule; }
    unsigned GetTextFlags() const { return m_textFlags; }
    void SetTextFlags(unsigned flags) { m_textFlags = flags; }

protected:
    // Replaces slot by a heap copy of text; an equal text keeps the old copy, null empties it.
    static void ReplaceText(std::unique_ptr<char[]>& slot, const char* text);
    // field, given this field's name and description: what most kinds' Create answers.
    Base* NamedAsThis(Base* field) const;

    unsigned m_attributes = 32;
    unsigned m_flags = kFlagInText | kFlagSecond;
    int m_inputRule = kInputAny;
    unsigned m_textFlags = 0;

private:
    friend class Collection;  // Add sets the parent and the index

    void Join(Collection* parent, const char* name, const char* description);

    Collection* m_parent = nullptr;
    int m_index = -1;
    std::unique_ptr<char[]> m_name;
    std::unique_ptr<char[]> m_description;
};

} // namespace iType
