// The time-stamp field's constructors, modes, conversions and text.
#include "iTypeTimeT.h"

#include "DateTime.h"

#include <climits>
#include <cstring>
#include <ctime>

namespace iType {

void Time_T::Init()
{
    m_attributes = 0;
    m_null = -1;
    Clear();
}

Time_T::Time_T()
{
    Init();
}

Time_T::Time_T(Collection* parent, const char* name, const char* description) : TType(parent, name, description)
{
    Init();
}

Time_T::Time_T(std::nullptr_t, const char* name, const char* description)
    : Time_T(static_cast<Collection*>(nullptr), name, description)
{
}

Time_T::Time_T(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

Time_T::Time_T(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

Time_T::Time_T(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

Time_T::Time_T(void* base, int offset, const char* name, const char* description)
    : TType(base, offset, name, description)
{
    Init();
}

Time_T::Time_T(const Time_T& other) : TType()
{
    Init();
    *this = other;
}

Time_T::Time_T(long value)
{
    Init();
    Value() = value;
}

Time_T::~Time_T() = default;

Time_T& Time_T::operator=(const Time_T& other)
{
    Value() = other.Value();
    m_dateFlags = other.m_dateFlags;
    m_timeFlags = other.m_timeFlags;
    return *this;
}

Time_T& Time_T::operator=(long value)
{
    Value() = value;
    return *this;
}

Time_T& Time_T::SetFromSystemTime(const SYSTEMTIME& st)
{
    tm parts = {};
    parts.tm_sec = st.wSecond;
    parts.tm_min = st.wMinute;
    parts.tm_hour = st.wHour;
    parts.tm_mday = st.wDay;
    parts.tm_mon = st.wMonth - 1;
    parts.tm_year = st.wYear - 1900;
    parts.tm_isdst = -1;
    time_t moment = mktime(&parts);
    // Stored in 32 bits: a moment beyond them (or none at all) is no value, never a wrapped one.
    bool fits = moment != static_cast<time_t>(-1) && moment >= LONG_MIN && moment <= LONG_MAX;
    Value() = fits ? static_cast<long>(moment) : m_null;
    return *this;
}

SYSTEMTIME* Time_T::GetSystemTime(SYSTEMTIME& out) const
{
    out = *SystemTimeFromTimeT(static_cast<time_t>(Value()));
    return &out;
}

void Time_T::SetNow()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    SetFromSystemTime(now);
}

void Time_T::Clear()
{
    Value() = m_null;
    if (m_clearMode == 1)
        SetNow();
}

const char* Time_T::GetText() const
{
    if (!IsValid() || Value() == 0 || Value() == -1)
        return "";
    SYSTEMTIME local;
    GetSystemTime(local);
    const iString datePicture = GetShortDatePicture(LOCALE_USER_DEFAULT);
    const iString timePicture = GetTimePicture(LOCALE_USER_DEFAULT);
    int dateSize = GetDateFormatA(LOCALE_USER_DEFAULT, m_dateFlags, &local, datePicture, nullptr, 0);
    int timeSize = GetTimeFormatA(LOCALE_USER_DEFAULT, m_timeFlags, &local, timePicture, nullptr, 0);
    // A moment the runtime has no local date for comes back all zero, a date the platform
    // will not format: it has no text at all, never a lone blank.
    if (dateSize <= 0 || timeSize <= 0)
        return "";
    // Date, one blank, time; each size counts its own terminating zero.
    char* text = g_RevolveString->Get(static_cast<unsigned>(dateSize + timeSize));
    int dateLength = GetDateFormatA(LOCALE_USER_DEFAULT, m_dateFlags, &local, datePicture, text, dateSize);
    if (dateLength <= 0)
        return "";
    char* time = text + strlen(text);
    *time++ = ' ';
    if (GetTimeFormatA(LOCALE_USER_DEFAULT, m_timeFlags, &local, timePicture, time, timeSize) <= 0)
        return "";
    return text;
}

void Time_T::Assign(const Base& other)
{
    TType::Assign(other);
    if (const auto* stamp = dynamic_cast<const Time_T*>(&other)) {
        m_dateFlags = stamp->m_dateFlags;
        m_timeFlags = stamp->m_timeFlags;
    }
}

Base* Time_T::Create() const
{
    return NamedAsThis(new Time_T);
}

void Time_T::SetDefault()
{
    if (m_defaultMode == 1)
        SetNow();
    else
        Clear();
}

int Time_T::IsValid() const
{
    return Value() != m_null;
}

int Time_T::SetText(const char*)
{
    return 0;
}

} // namespace iType
