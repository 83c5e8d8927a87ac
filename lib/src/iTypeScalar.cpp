// The scalar base's constructors and the boolean kind.
#include "iTypeScalar.h"

namespace iType {

_TType::_TType(const char* name, const char* description) : Base(name, description)
{
    m_attributes = 2;
}

_TType::_TType(Collection* parent, const char* name, const char* description) : Base(parent, name, description)
{
    m_attributes = 2;
}

_TType::_TType(Collection* parent, void* data, const char* name, const char* description)
    : Base(parent, data, name, description)
{
    m_attributes = 2;
}

_TType::_TType(Collection* parent, void* data, unsigned size, const char* name, const char* description)
    : Base(parent, data, size, name, description)
{
    m_attributes = 2;
}

_TType::_TType(Collection* parent, void* data, const char* name, const char* description, unsigned size)
    : Base(parent, data, name, description, size)
{
    m_attributes = 2;
}

_TType::_TType(Collection* parent, const char* name, const char* description, unsigned size)
    : Base(parent, name, description, size)
{
    m_attributes = 2;
}

_TType::_TType(void* data, unsigned size, const char* name, const char* description)
    : Base(data, size, name, description)
{
    m_attributes = 2;
}

_TType::_TType(unsigned size, const char* name, const char* description) : Base(size, name, description)
{
    m_attributes = 2;
}

_TType::~_TType() = default;

Bool::Bool()
{
    m_attributes = 0;
}

Bool::Bool(Collection* parent, const char* name, const char* description) : TType(parent, name, description)
{
    m_attributes = 0;
}

Bool::Bool(std::nullptr_t, const char* name, const char* description)
    : Bool(static_cast<Collection*>(nullptr), name, description)
{
}

Bool::Bool(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    m_attributes = 0;
}

Bool::Bool(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    m_attributes = 0;
}

Bool::Bool(void* data, const char* name, const char* description) : TType(data, name, description)
{
    m_attributes = 0;
}

Bool::Bool(void* base, int offset, const char* name, const char* description)
    : TType(base, offset, name, description)
{
    m_attributes = 0;
}

Bool::Bool(const Bool& other) : Bool()
{
    Value() = other.Value();
}

Bool::Bool(int value) : Bool()
{
    Value() = value;
}

Bool::~Bool() = default;

Bool& Bool::operator=(const Bool& other)
{
    Value() = other.Value();
    return *this;
}

Bool& Bool::operator=(int value)
{
    Value() = value;
    return *this;
}

const char* Bool::GetText() const
{
    return Value() ? "X" : "";
}

void Bool::Assign(const Base& other)
{
    TType::Assign(other);
}

Base* Bool::Create() const
{
    return NamedAsThis(new Bool);
}

int Bool::IsValid() const
{
    return 1;
}

int Bool::SetText(const char*)
{
    return 0;
}

} // namespace iType
