// HTTP reply fields: status line, content type and length, each read defensively:
// the lines come from the network.
#include "net/HttpReplyFields.h"

#include "net/SocketClient.h"

#include <cstring>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

bool SameNoCase(const char* text, const char* prefix, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        char a = text[i];
        char b = prefix[i];
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b - 'A' + 'a');
        if (a != b)
            return false;
    }
    return true;
}

} // namespace

bool ReadStatusCode(const char* statusLine, int* code)
{
    if (!statusLine || strncmp(statusLine, "HTTP/", 5) != 0)
        return false;
    const char* p = statusLine + 5;
    // The version: digits, a dot, digits.
    if (!IsDigit(*p))
        return false;
    while (IsDigit(*p))
        ++p;
    if (*p++ != '.' || !IsDigit(*p))
        return false;
    while (IsDigit(*p))
        ++p;
    if (*p != ' ')
        return false;
    while (*p == ' ')
        ++p;
    if (!IsDigit(p[0]) || !IsDigit(p[1]) || !IsDigit(p[2]) || (p[3] != '\0' && p[3] != ' '))
        return false;
    *code = (p[0] - '0') * 100 + (p[1] - '0') * 10 + (p[2] - '0');
    return true;
}

bool HasHeaderName(const char* line, const char* name)
{
    // The name is field 0 of the line split at colons and blanks, at most 63 characters.
    char field[64];
    return line && CPJ_WSClient::ParseString(line, ": ", 0, field, sizeof(field)) == 0 && strlen(field) == strlen(name) &&
           SameNoCase(field, name, strlen(name));
}

bool IsTextContentType(const char* line)
{
    const char* colon = line ? strchr(line, ':') : nullptr;
    if (!colon)
        return false;
    const char* type = SkipBlanks(colon + 1);
    static const char* const kAccepted[] = {"text/html", "text/plain", "text/xml"};
    for (const char* accepted : kAccepted) {
        size_t length = strlen(accepted);
        if (strnlen(type, length) == length && SameNoCase(type, accepted, length)) {
            char after = type[length];
            if (after == '\0' || after == ';' || after == ' ' || after == '\t')
                return true;
        }
    }
    return false;
}

bool ReadContentLength(const char* line, unsigned long long* length)
{
    const char* colon = line ? strchr(line, ':') : nullptr;
    if (!colon)
        return false;
    const char* p = SkipBlanks(colon + 1);
    if (!IsDigit(*p))
        return false;
    unsigned long long value = 0;
    for (; IsDigit(*p); ++p) {
        // Past any reply this client would take; kept from wrapping round.
        if (value > 1000000000000000ULL)
            return false;
        value = value * 10 + static_cast<unsigned>(*p - '0');
    }
    if (*SkipBlanks(p) != '\0')
        return false;
    *length = value;
    return true;
}

bool IsIdentityEncoding(const char* line)
{
    const char* colon = line ? strchr(line, ':') : nullptr;
    if (!colon)
        return false;
    const char* value = SkipBlanks(colon + 1);
    static const char kIdentity[] = "identity";
    const size_t length = sizeof(kIdentity) - 1;
    return strnlen(value, length) == length && SameNoCase(value, kIdentity, length) && *SkipBlanks(value + length) == '\0';
}
