// The banner description reader.
#include "banner/InfoXML.h"

#include <cstdint>
#include <cstring>

InfoXML::InfoXML() = default;

InfoXML::~InfoXML() = default;

namespace {

// Tested directly, not through the C library's classes: the bytes come from the network
// and may be above 127.
bool IsDescriptionSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

int32_t ReadDescriptionNumber(const char* text)
{
    if (!text)
        return 0;
    while (IsDescriptionSpace(*text))
        ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    // Counted in 64 bits and held at the limit, so that no digit string overflows.
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t value = 0;
    for (; IsDecimalDigit(*text); ++text) {
        value = value * 10 + (*text - '0');
        if (value > limit)
            value = limit;
    }
    return static_cast<int32_t>(negative ? -value : value);
}

void InfoXML::StartElement(const char* name, const char** attributes)
{
    struct Setting {
        const char* element;
        int32_t BannerSettings::*field;
    };
    static const Setting kSettings[] = {
        {"Page", &BannerSettings::page},
        {"Duration", &BannerSettings::duration},
        {"Promotion", &BannerSettings::promotion},
        {"Refresh", &BannerSettings::refresh},
    };
    // Only the first attribute is looked at, and only when it is named "value".
    const bool hasValue = attributes && attributes[0] && attributes[1] && std::strcmp(attributes[0], "value") == 0;
    for (const Setting& setting : kSettings) {
        if (hasValue && std::strcmp(name, setting.element) == 0)
            m_settings.*setting.field = ReadDescriptionNumber(attributes[1]);
    }
    iXML::StartElement(name, attributes);
}

void InfoXML::EndElement(const char* name)
{
    iXML::EndElement(name);
}
