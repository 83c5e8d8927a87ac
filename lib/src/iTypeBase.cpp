// The field base: construction into a collection, names, attribute copies and the
// base behaviour of the field operations.
#include "iTypeBase.h"

#include "iTypeCollection.h"

#include <cstring>

namespace iType {

Base::Base(const char* name, const char* description)
{
    Join(nullptr, name, description);
}

Base::Base(Collection* parent, const char* name, const char* description)
{
    Join(parent, name, description);
}

Base::Base(Collection* parent, void* data, const char* name, const char* description)
{
    Set(kBorrowed, 0, 0, data);
    Join(parent, name, description);
}

Base::Base(Collection* parent, void* data, unsigned size, const char* name, const char* description)
    : iMemory(data, size)
{
    Join(parent, name, description);
}

Base::Base(Collection* parent, void* data, const char* name, const char* description, unsigned size)
    : iMemory(data, size)
{
    Join(parent, name, description);
}

Base::Base(Collection* parent, const char* name, const char* description, unsigned size) : iMemory(size)
{
    Join(parent, name, description);
}

Base::Base(void* data, unsigned size, const char* name, const char* description) : iMemory(data, size)
{
    Join(nullptr, name, description);
}

Base::Base(unsigned size, const char* name, const char* description) : iMemory(size)
{
    Join(nullptr, name, description);
}

Base::~Base() = default;

void Base::Join(Collection* parent, const char* name, const char* description)
{
    SetName(name);
    SetDescription(description);
    if (parent)
        parent->Add(this);
}

Base* Base::NamedAsThis(Base* field) const
{
    field->SetName(GetName());
    field->SetDescription(GetDescription());
    return field;
}

void Base::ReplaceText(std::unique_ptr<char[]>& slot, const char* text)
{
    if (!text) {
        slot.reset();
        return;
    }
    if (slot && strcmp(slot.get(), text) == 0)
        return;
    size_t length = strlen(text);
    std::unique_ptr<char[]> copy(new char[length + 1]);
    memcpy(copy.get(), text, length + 1);
    slot = std::move(copy);
}

void Base::SetName(const char* name)
{
    ReplaceText(m_name, name);
}

void Base::SetDescription(const char* description)
{
    ReplaceText(m_description, description);
}

void Base::SetParent(Collection* parent)
{
    if (!m_parent)
        m_parent = parent;
}

iString& Base::GetFullName(iString& out, const char* separator) const
{
    if (!separator)
        separator = ".";
    out = GetName() ? GetName() : "";
    for (const Base* p = m_parent; p; p = p->m_parent) {
        iString front = p->GetName() ? p->GetName() : "";
        if (!out.IsEmpty())
            front += separator;
        out = front + out;
    }
    return out;
}

void Base::Assign(const Base& other)
{
    if (&other == this)
        return;
    m_index = other.m_index;
    SetName(other.GetName());
    SetDescription(other.GetDescription());
    m_attributes = other.m_attributes;
    m_flags = other.m_flags;
    m_inputRule = other.m_inputRule;
    m_textFlags = other.m_textFlags;
}

Base* Base::Clone() const
{
    Base* copy = Create();
    if (copy)
        copy->Assign(*this);
    return copy;
}

void Base::SetDefault()
{
    Clear();
}

const char* Base::GetTextFormat(const char*) const
{
    return GetText();
}

Base& Base::CopyValue(const Base& other)
{
    CopyFrom(other);
    return *this;
}

int Base::SetText(const char*)
{
    return 0;
}

int Base::Match(const Base& other) const
{
    return CompareTo(other);
}

int Base::SetMinimum()
{
    return 0;
}

int Base::SetMaximum()
{
    return 0;
}

int Base::Reserved1()
{
    return 0;
}

int Base::Reserved2()
{
    return 0;
}

} // namespace iType
