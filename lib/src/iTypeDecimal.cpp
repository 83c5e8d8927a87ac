// The decimal field's constructors, formats and text.
#include "iTypeDecimal.h"

#include <algorithm>
#include <cstring>

namespace iType {

namespace {

const char kDefaultFormat[] = "%.2f";

} // namespace

void Double::Init()
{
    m_null = 0.0;
    m_default = 0.0;
    Clear();
}

Double::Double()
{
    Init();
}

Double::Double(Collection* parent, const char* name, const char* description) : TType(parent, name, description)
{
    Init();
}

Double::Double(std::nullptr_t, const char* name, const char* description)
    : Double(static_cast<Collection*>(nullptr), name, description)
{
}

Double::Double(Collection* parent, void* data, const char* name, const char* description)
    : TType(parent, data, name, description)
{
    Init();
}

Double::Double(Collection* parent, void* base, int offset, const char* name, const char* description)
    : TType(parent, base, offset, name, description)
{
    Init();
}

Double::Double(void* data, const char* name, const char* description) : TType(data, name, description)
{
    Init();
}

Double::Double(void* base, int offset, const char* name, const char* description)
    : TType(base, offset, name, description)
{
    Init();
}

Double::Double(const Double& other) : TType()
{
    Init();
    Value() = other.Value();
}

Double::Double(double value)
{
    Init();
    Value() = value;
}

Double::~Double() = default;

Double& Double::operator=(const Double& other)
{
    Value() = other.Value();
    ReplaceText(m_format, other.m_format.get());
    return *this;
}

Double& Double::operator=(double value)
{
    Value() = value;
    return *this;
}

void Double::SetNumberFormat(const NumberFormat* f)
{
    if (!f) {
        m_numberFormat.reset();
        return;
    }
    if (!m_numberFormat)
        m_numberFormat.reset(new NumberFormat);
    *m_numberFormat = *f;
    // Terminated whatever f held, so the platform never reads past the record.
    m_numberFormat->decimalSeparator[sizeof m_numberFormat->decimalSeparator - 1] = '\0';
    m_numberFormat->thousandSeparator[sizeof m_numberFormat->thousandSeparator - 1] = '\0';
    m_numberFormat->lpDecimalSep = m_numberFormat->decimalSeparator;
    m_numberFormat->lpThousandSep = m_numberFormat->thousandSeparator;
}

const char* Double::GetText() const
{
    if (!IsValid())
        return "";
    const char* printed = Rules::Format(m_format ? m_format.get() : kDefaultFormat, Value());
    if (!m_numberFormat)
        return printed;
    // Room for the longest text the format can make of this number (every digit
    // followed by a separator of up to 7 characters, the decimals, a sign in
    // brackets), so a long number keeps its text instead of failing in a short
    // buffer. Sized here, not by asking the platform: Wine answers that question wrongly.
    size_t printedLength = strlen(printed);
    size_t decimals = std::min<size_t>(m_numberFormat->NumDigits, 64);
    unsigned size = static_cast<unsigned>(std::max<size_t>(80, printedLength * 8 + decimals + 16));
    char* text = g_RevolveString->Get(size);
    if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, printed, m_numberFormat.get(), text, static_cast<int>(size)) <= 0)
        return "";
    return text;
}

void Double::Assign(const Base& other)
{
    TType::Assign(other);
    if (const auto* decimal = dynamic_cast<const Double*>(&other)) {
        ReplaceText(m_format, decimal->m_format.get());
        SetNumberFormat(decimal->m_numberFormat.get());
    }
}

Base* Double::Create() const
{
    return NamedAsThis(new Double);
}

} // namespace iType
