// The duration fields' constructors, carried words and texts.
#include "iTypeDuration.h"

#include "DateTime.h"

#include <cstring>

namespace iType {

void DeltaTime::Init()
{
    m_null = 0;
    Clear();
}

DeltaTime::DeltaTime()
{
    Init();
}

DeltaTime::DeltaTime(Collection* parent, const char* name, const char* description)
    : TType(parent, name, description)
{
    Init();
}

DeltaTime::DeltaTime(std::nullptr_t, const char* name, const char* description)
    : DeltaTime(static_cast<Collection*>(nullptr), name, description)
{
}

DeltaTime::DeltaTime(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

DeltaTime::DeltaTime(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

DeltaTime::DeltaTime(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

DeltaTime::DeltaTime(void* base, int offset, const char* name, const char* description)
    : TType(base, offset, name, description)
{
    Init();
}

DeltaTime::DeltaTime(const DeltaTime& other) : TType()
{
    Init();
    Value() = other.Value();
}

DeltaTime::DeltaTime(long seconds)
{
    Init();
    Value() = seconds;
}

DeltaTime::~DeltaTime() = default;

DeltaTime& DeltaTime::operator=(const DeltaTime& other)
{
    Value() = other.Value();
    return *this;
}

DeltaTime& DeltaTime::operator=(long seconds)
{
    Value() = seconds;
    return *this;
}

const char* DeltaTime::GetText() const
{
    const char* picture = m_picture ? m_picture.get() : "HHH:MM";
    char* text = g_RevolveString->Get(static_cast<unsigned>(strlen(picture)));
    return FormatSecondsByPicture(text, picture, Value(), 1);
}

void DeltaTime::Assign(const Base& other)
{
    TType::Assign(other);
    if (const auto* duration = dynamic_cast<const DeltaTime*>(&other)) {
        m_carried1 = duration->m_carried1;
        m_carried3 = duration->m_carried3;
        m_carried4 = duration->m_carried4;
        m_carried5 = duration->m_carried5;
        m_carried6 = duration->m_carried6;
        ReplaceText(m_picture, duration->m_picture.get());
    }
}

Base* DeltaTime::Create() const
{
    auto* field = new DeltaTime;
    field->SetName(GetName());
    field->SetDescription(GetDescription());
    return field;
}

int DeltaTime::IsValid() const
{
    return 1;
}

int DeltaTime::SetText(const char*)
{
    return 0;
}

int DeltaTime::SetMinimum()
{
    return 0;
}

int DeltaTime::SetMaximum()
{
    return 0;
}

void DeltaTimeBCD::Init()
{
    m_null = 0;
    Clear();
}

DeltaTimeBCD::DeltaTimeBCD()
{
    Init();
}

DeltaTimeBCD::DeltaTimeBCD(Collection* parent, const char* name, const char* description)
    : TType(parent, name, description)
{
    Init();
}

DeltaTimeBCD::DeltaTimeBCD(std::nullptr_t, const char* name, const char* description)
    : DeltaTimeBCD(static_cast<Collection*>(nullptr), name, description)
{
}

DeltaTimeBCD::DeltaTimeBCD(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

DeltaTimeBCD::DeltaTimeBCD(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

DeltaTimeBCD::DeltaTimeBCD(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

DeltaTimeBCD::DeltaTimeBCD(void* base, int offset, const char* name, const char* description)
    : TType(base, offset, name, description)
{
    Init();
}

DeltaTimeBCD::DeltaTimeBCD(const DeltaTimeBCD& other) : TType()
{
    Init();
    Value() = other.Value();
    m_formatFlags = other.m_formatFlags;
}

DeltaTimeBCD::DeltaTimeBCD(long value, long formatFlags)
{
    Init();
    Value() = value;
    m_formatFlags = formatFlags;
}

DeltaTimeBCD::~DeltaTimeBCD() = default;

DeltaTimeBCD& DeltaTimeBCD::operator=(const DeltaTimeBCD& other)
{
    Value() = other.Value();
    return *this;
}

DeltaTimeBCD& DeltaTimeBCD::operator=(long value)
{
    Value() = value;
    return *this;
}

const char* DeltaTimeBCD::GetText() const
{
    if (!IsValid())
        return "";
    const char* picture = m_picture ? m_picture.get() : (m_formatFlags & kNoSeconds) ? "HH:MM" : "HH:MM:SS";
    return FormatSecondsByPicture(nullptr, picture, BCDToSeconds(Value()), (m_formatFlags & kSuppressZeros) ? 1 : 0);
}

void DeltaTimeBCD::Assign(const Base& other)
{
    TType::Assign(other);
    if (const auto* duration = dynamic_cast<const DeltaTimeBCD*>(&other)) {
        m_carried1 = duration->m_carried1;
        m_formatFlags = duration->m_formatFlags;
        m_carried3 = duration->m_carried3;
        m_carried4 = duration->m_carried4;
        m_carried5 = duration->m_carried5;
        ReplaceText(m_picture, duration->m_picture.get());
    }
}

Base* DeltaTimeBCD::Create() const
{
    auto* field = new DeltaTimeBCD;
    field->SetName(GetName());
    field->SetDescription(GetDescription());
    return field;
}

int DeltaTimeBCD::IsValid() const
{
    return 1;
}

int DeltaTimeBCD::SetText(const char*)
{
    return 0;
}

int DeltaTimeBCD::SetMinimum()
{
    return 0;
}

int DeltaTimeBCD::SetMaximum()
{
    return 0;
}

} // namespace iType
