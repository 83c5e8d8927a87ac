// Radio, colour and code fields.
#include "iTypeInteger.h"

#include "iRevolveString.h"

#include <cstdio>

namespace iType {

Radio::Radio()
{
    Init();
}

Radio::Radio(Collection* parent, const char* name, const char* description) : TType(parent, name, description)
{
    Init();
}

Radio::Radio(std::nullptr_t, const char* name, const char* description)
    : Radio(static_cast<Collection*>(nullptr), name, description)
{
}

Radio::Radio(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

Radio::Radio(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

Radio::Radio(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

Radio::Radio(void* base, int offset, const char* name, const char* description)
    : TType(base, offset, name, description)
{
    Init();
}

Radio::Radio(const Radio& other) : Radio()
{
    Value() = other.Value();
}

Radio::Radio(unsigned long value) : Radio()
{
    Value() = value;
}

Radio::~Radio() = default;

void Radio::Init()
{
    m_attributes = 0;
    m_null = 0;
    m_default = 0;
    Clear();
}

Radio& Radio::operator=(const Radio& other)
{
    Value() = other.Value();
    return *this;
}

Radio& Radio::operator=(unsigned long value)
{
    Value() = value;
    return *this;
}

const char* Radio::GetText() const
{
    return Value() ? "X" : "";
}

Base* Radio::Create() const
{
    return NamedAsThis(new Radio);
}

int Radio::IsValid() const
{
    return 1;
}

int Radio::SetText(const char*)
{
    return 0;
}

ColorRef::ColorRef()
{
    Init();
}

ColorRef::ColorRef(Collection* parent, const char* name, const char* description)
    : TType(parent, name, description)
{
    Init();
}

ColorRef::ColorRef(std::nullptr_t, const char* name, const char* description)
    : ColorRef(static_cast<Collection*>(nullptr), name, description)
{
}

ColorRef::ColorRef(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

ColorRef::ColorRef(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

ColorRef::ColorRef(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

ColorRef::ColorRef(void* base, int offset, const char* name, const char* description)
    : TType(base, offset, name, description)
{
    Init();
}

ColorRef::ColorRef(const ColorRef& other) : ColorRef()
{
    Value() = other.Value();
}

ColorRef::ColorRef(unsigned long value) : ColorRef()
{
    Value() = value;
}

ColorRef::~ColorRef() = default;

void ColorRef::Init()
{
    m_null = kWhite;
    m_default = kWhite;
    Clear();
}

ColorRef& ColorRef::operator=(const ColorRef& other)
{
    Value() = other.Value();
    return *this;
}

ColorRef& ColorRef::operator=(unsigned long value)
{
    Value() = value;
    return *this;
}

Base* ColorRef::Create() const
{
    return NamedAsThis(new ColorRef);
}

Code::Code()
{
    Init();
}

Code::Code(Collection* parent, const char* name, const char* description) : TType(parent, name, description)
{
    Init();
}

Code::Code(std::nullptr_t, const char* name, const char* description)
    : Code(static_cast<Collection*>(nullptr), name, description)
{
}

Code::Code(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

Code::Code(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

Code::Code(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

Code::Code(void* base, int offset, const char* name, const char* description) : TType(base, offset, name, description)
{
    Init();
}

Code::Code(long value) : Code()
{
    Value() = value;
}

Code::~Code() = default;

void Code::Init()
{
    m_attributes = 0;
    m_null = 0;
    m_default = 0;
    Clear();
}

Code& Code::operator=(const Code& other)
{
    Value() = other.Value();
    return *this;
}

Code& Code::operator=(long value)
{
    Value() = value;
    return *this;
}

const char* Code::GetText() const
{
    if (m_map)
        return m_map->Find(Value());
    char* buffer = g_RevolveString->Get(32);
    snprintf(buffer, 32, "%ld", Value());
    return buffer;
}

Base* Code::Create() const
{
    auto* field = new Code;
    field->m_map = m_map;
    field->m_hierarchical = m_hierarchical;
    return NamedAsThis(field);
}

int Code::IsValid() const
{
    return Value() != m_null ? 1 : 0;
}

int Code::SetText(const char*)
{
    return 0;
}

int Code::Match(const Base& other) const
{
    if (!m_hierarchical)
        return CompareTo(other);
    long candidate = 0;
    if (!Rules::Read(other, candidate))
        return CompareTo(other);
    long pattern = Value();
    // A pattern of 0 has no trailing digits to drop: it stands for 0 alone. Past
    // 10^9 a 32-bit code has no further power of ten, so the search ends there.
    long long divisor = 1;
    while (pattern != 0 && divisor < 1000000000LL && pattern % (divisor * 10) == 0)
        divisor *= 10;
    long long a = pattern / divisor;
    long long b = candidate / divisor;
    return a < b ? -1 : (a > b ? 1 : 0);
}

int Code::SetMinimum()
{
    return 1;
}

int Code::SetMaximum()
{
    return 1;
}

} // namespace iType
