// The clock-time field's constructors, day split, text and comparison.
#include "iTypeTime.h"

#include "DateTime.h"

namespace iType {

void Time::Init()
{
    m_attributes = 0;
    m_null = -1;
    Clear();
}

Time::Time()
{
    Init();
}

Time::Time(Collection* parent, const char* name, const char* description) : TType(parent, name, description)
{
    Init();
}

Time::Time(std::nullptr_t, const char* name, const char* description)
    : Time(static_cast<Collection*>(nullptr), name, description)
{
}

Time::Time(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

Time::Time(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

Time::Time(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

Time::Time(void* base, int offset, const char* name, const char* description) : TType(base, offset, name, description)
{
    Init();
}

Time::Time(const Time& other) : TType()
{
    Init();
    *this = other;
}

Time::Time(long value, long flags)
{
    Init();
    *this = value;
    m_timeFlags = flags;
}

Time::~Time() = default;

Time& Time::operator=(const Time& other)
{
    Value() = other.Value();
    m_dayCarry = other.m_dayCarry;
    m_timeFlags = other.m_timeFlags;
    return *this;
}

Time& Time::operator=(long value)
{
    if (value < 0) {
        m_dayCarry = 0;
        Value() = value;
        return *this;
    }
    long days = (value / 10000) / 24;
    m_dayCarry = days;
    Value() = value - days * 240000;
    return *this;
}

void Time::Clear()
{
    Value() = m_null;
    m_dayCarry = 0;
}

const char* Time::GetText() const
{
    if (!IsValid())
        return "";
    return g_RevolveString->Dup(FormatTimeText(Value(), TIME_FORCE24HOURFORMAT, LOCALE_USER_DEFAULT));
}

void Time::Assign(const Base& other)
{
    TType::Assign(other);
    if (const auto* time = dynamic_cast<const Time*>(&other)) {
        m_dayCarry = time->m_dayCarry;
        m_timeFlags = time->m_timeFlags;
    }
}

Base* Time::Create() const
{
    return NamedAsThis(new Time);
}

int Time::IsValid() const
{
    return Value() >= 0 && CheckTime(Value()) == 0;
}

int Time::SetText(const char*)
{
    return 0;
}

int Time::CompareTo(const Base& other) const
{
    // A field of another kind has no whole days beside its value.
    const auto* time = dynamic_cast<const Time*>(&other);
    long otherCarry = time ? time->m_dayCarry : 0;
    if (m_dayCarry != otherCarry)
        return m_dayCarry < otherCarry ? -1 : 1;
    return TType::CompareTo(other);
}

int Time::SetMinimum()
{
    return 0;
}

int Time::SetMaximum()
{
    return 0;
}

} // namespace iType
