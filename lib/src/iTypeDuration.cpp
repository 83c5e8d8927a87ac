// The duration fields' constructors, carried words and texts.
#include "iTypeDuration.h"

#include "DateTime.h"

#include <cstring>

namespace iType {

void DurationField::Init()
{
    m_null = 0;
    Clear();
}

DurationField::DurationField()
{
    Init();
}

DurationField::DurationField(Collection* parent, const char* name, const char* description)
    : TType(parent, name, description)
{
    Init();
}

DurationField::DurationField(std::nullptr_t, const char* name, const char* description)
    : DurationField(static_cast<Collection*>(nullptr), name, description)
{
}

DurationField::DurationField(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

DurationField::DurationField(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

DurationField::DurationField(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

DurationField::DurationField(void* base, int offset, const char* name, const char* description)
    : TType(base, offset, name, description)
{
    Init();
}

DurationField::~DurationField() = default;

int DurationField::IsValid() const
{
    return 1;
}

int DurationField::SetText(const char*)
{
    return 0;
}

int DurationField::SetMinimum()
{
    return 0;
}

int DurationField::SetMaximum()
{
    return 0;
}

DeltaTime::DeltaTime(const DeltaTime& other) : DurationField()
{
    Value() = other.Value();
}

DeltaTime::DeltaTime(long seconds)
{
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
    DurationField::Assign(other);
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
    return NamedAsThis(new DeltaTime);
}

DeltaTimeBCD::DeltaTimeBCD(const DeltaTimeBCD& other) : DurationField()
{
    Value() = other.Value();
    m_formatFlags = other.m_formatFlags;
}

DeltaTimeBCD::DeltaTimeBCD(long value, long formatFlags)
{
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
    DurationField::Assign(other);
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
    return NamedAsThis(new DeltaTimeBCD);
}

} // namespace iType
