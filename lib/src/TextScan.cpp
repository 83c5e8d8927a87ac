// The text scanner: the runtime's scanf engine reading from a string.
#include "TextScan.h"

#include <cstdio>

int StrScan(const char* text, const char* format, va_list args)
{
    if (!text || !format)
        return EOF;
    return vsscanf(text, format, args);
}
