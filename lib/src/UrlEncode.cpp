// URL encoding: a measuring pass and a bounded encoding pass over one loop rule.
#include "UrlEncode.h"

#include <climits>

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

// Bytes of output for one byte of text.
DWORD EncodedWidth(char c)
{
    return IsUrlSafeChar(c) ? 1 : 3;
}

} // namespace

int IsUrlSafeChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '*' ||
           c == '_' || c == '-';
}

int UrlEncodeBuffer(const char* text, char* buffer, DWORD* size)
{
    if (!size)
        return 0;
    if (!text)
        text = "";
    if (!buffer) {
        // Counted wide so that a huge text is refused instead of wrapping round.
        unsigned long long needed = 0;
        for (const char* p = text; *p; ++p)
            needed += EncodedWidth(*p);
        if (needed > MAXDWORD)
            return 0;
        *size = static_cast<DWORD>(needed);
        return 1;
    }
    // Not even the terminating zero fits.
    if (*size == 0)
        return 0;
    const DWORD room = *size;
    DWORD j = 0;
    const char* p = text;
    // Stopping while five bytes are free leaves room for one encoded byte and the zero.
    for (; *p && j + 4 < room; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (IsUrlSafeChar(*p)) {
            buffer[j++] = *p;
        } else {
            buffer[j++] = '%';
            buffer[j++] = kHexDigits[c >> 4];
            buffer[j++] = kHexDigits[c & 0x0F];
        }
    }
    buffer[j] = '\0';
    *size = j;
    return *p == '\0';
}

iString UrlEncode(const char* text)
{
    DWORD needed = 0;
    if (!UrlEncodeBuffer(text, nullptr, &needed) || needed > INT_MAX - 5)
        return iString();
    iString encoded;
    DWORD size = needed + 4;
    char* buffer = encoded.GetBuffer(static_cast<int>(size));
    int isWhole = UrlEncodeBuffer(text, buffer, &size);
    encoded.ReleaseBuffer(static_cast<int>(size));
    if (!isWhole)
        return iString();
    return encoded;
}

void UrlEncode(iString& out, const char* text)
{
    out = UrlEncode(text);
}
