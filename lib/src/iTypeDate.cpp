// The date field's constructors, text and validity.
#include "iTypeDate.h"

#include "DateTime.h"

namespace iType {

void Date::Init()
{
    m_attributes = 0;
    m_null = -1;
    Clear();
}

Date::Date()
{
    Init();
}

Date::Date(Collection* parent, const char* name, const char* description) : TType(parent, name, description)
{
    Init();
}

Date::Date(std::nullptr_t, const char* name, const char* description)
    : Date(static_cast<Collection*>(nullptr), name, description)
{
}

Date::Date(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

Date::Date(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

Date::Date(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

Date::Date(void* base, int offset, const char* name, const char* description) : TType(base, offset, name, description)
{
    Init();
}

Date::Date(const Date& other) : TType()
{
    Init();
    *this = other;
}

Date::Date(long value)
{
    Init();
    Value() = value;
}

Date::~Date() = default;

Date& Date::operator=(const Date& other)
{
    Value() = other.Value();
    m_dateFlags = other.m_dateFlags;
    m_pictureItem = other.m_pictureItem;
    return *this;
}

Date& Date::operator=(long value)
{
    Value() = value;
    return *this;
}

const char* Date::GetText() const
{
    if (!IsValid())
        return "";
    return g_RevolveString->Dup(FormatDateText(Value(), DATE_SHORTDATE, LOCALE_USER_DEFAULT));
}

void Date::Assign(const Base& other)
{
    TType::Assign(other);
    if (const auto* date = dynamic_cast<const Date*>(&other)) {
        m_dateFlags = date->m_dateFlags;
        m_pictureItem = date->m_pictureItem;
    }
}

Base* Date::Create() const
{
    return NamedAsThis(new Date);
}

int Date::IsValid() const
{
    return Value() > 0 && CheckDate(Value()) == 0;
}

int Date::SetText(const char*)
{
    return 0;
}

} // namespace iType
