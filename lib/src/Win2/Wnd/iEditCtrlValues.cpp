// The edit's typed text access: numbers read with the standard conversions, written in a
// radix, doubles formatted within a bound.
#include "lib/src/Win2/Wnd/iEditCtrl.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Converts the window text; an empty text gives the default.
template <class Value, class Convert>
Value ReadNumber(const iEditCtrl& edit, Value defaultValue, Convert convert)
{
    const iString text = edit.GetText();
    if (text.GetLength() == 0)
        return defaultValue;
    return convert(static_cast<const char*>(text));
}

} // namespace

iString iEditCtrl::GetText() const
{
    iString text;
    GetWindowText(text);
    return text;
}

int iEditCtrl::GetInt(int defaultValue, int radix) const
{
    return ReadNumber(*this, defaultValue,
                      [radix](const char* text) { return static_cast<int>(std::strtol(text, nullptr, radix)); });
}

unsigned int iEditCtrl::GetUInt(unsigned int defaultValue, int radix) const
{
    return ReadNumber(*this, defaultValue, [radix](const char* text) {
        return static_cast<unsigned int>(std::strtoul(text, nullptr, radix));
    });
}

short iEditCtrl::GetShort(short defaultValue, int radix) const
{
    return ReadNumber(*this, defaultValue,
                      [radix](const char* text) { return static_cast<short>(std::strtol(text, nullptr, radix)); });
}

unsigned short iEditCtrl::GetUShort(unsigned short defaultValue, int radix) const
{
    return ReadNumber(*this, defaultValue, [radix](const char* text) {
        return static_cast<unsigned short>(std::strtoul(text, nullptr, radix));
    });
}

long iEditCtrl::GetLong(long defaultValue, int radix) const
{
    return ReadNumber(*this, defaultValue, [radix](const char* text) { return std::strtol(text, nullptr, radix); });
}

unsigned long iEditCtrl::GetULong(unsigned long defaultValue, int radix) const
{
    return ReadNumber(*this, defaultValue, [radix](const char* text) { return std::strtoul(text, nullptr, radix); });
}

__int64 iEditCtrl::GetInt64(__int64 defaultValue, int radix) const
{
    return ReadNumber(*this, defaultValue,
                      [radix](const char* text) { return static_cast<__int64>(std::strtoll(text, nullptr, radix)); });
}

unsigned __int64 iEditCtrl::GetUInt64(unsigned __int64 defaultValue, int radix) const
{
    return ReadNumber(*this, defaultValue, [radix](const char* text) {
        return static_cast<unsigned __int64>(std::strtoull(text, nullptr, radix));
    });
}

float& iEditCtrl::GetFloat(float& value, float defaultValue) const
{
    value = ReadNumber(*this, defaultValue,
                       [](const char* text) { return static_cast<float>(std::strtod(text, nullptr)); });
    return value;
}

double& iEditCtrl::GetDouble(double& value, double defaultValue) const
{
    value = ReadNumber(*this, defaultValue, [](const char* text) { return std::strtod(text, nullptr); });
    return value;
}

void iEditCtrl::SetInt(int value, int radix)
{
    iString text;
    SetWindowText(text.SetInt(value, radix));
}

void iEditCtrl::SetLong(long value, int radix)
{
    SetInt(static_cast<int>(value), radix);
}

void iEditCtrl::SetShort(short value, int radix)
{
    SetInt(value, radix);
}

void iEditCtrl::SetUInt(unsigned int value, int radix)
{
    iString text;
    SetWindowText(text.SetUInt64(value, radix));
}

void iEditCtrl::SetULong(unsigned long value, int radix)
{
    SetUInt(static_cast<unsigned int>(value), radix);
}

void iEditCtrl::SetUShort(unsigned short value, int radix)
{
    SetUInt(value, radix);
}

void iEditCtrl::SetInt64(__int64 value, int radix)
{
    iString text;
    SetWindowText(text.SetInt64(value, radix));
}

void iEditCtrl::SetUInt64(unsigned __int64 value, int radix)
{
    iString text;
    SetWindowText(text.SetUInt64(value, radix));
}

void iEditCtrl::SetDouble(double value, const char* format)
{
    // Bounded: a wide format or a huge value is cut, never written past the buffer.
    char text[kMaxDoubleText + 1];
    const int written = std::snprintf(text, sizeof text, format ? format : "%f", value);
    if (written < 0)
        text[0] = '\0';
    SetWindowText(text);
}

void iEditCtrl::SetText(const char* text, int maxLength)
{
    if (!text)
        text = "";
    const size_t length = maxLength < 0 ? std::strlen(text) : strnlen(text, static_cast<size_t>(maxLength));
    SetWindowText(iString(text, static_cast<int>(length)));
}
