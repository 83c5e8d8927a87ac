// Text output to a file.
#include "iTextFile.h"

#include "TextRoutines.h"

#include <cstdarg>
#include <cstring>
#include <string>

bool iTextFile::WriteAll(const char* bytes, DWORD n)
{
    DWORD done = 0;
    return Write(bytes, n, &done) && done == n;
}

BOOL iTextFile::WriteChar(char c)
{
    return WriteAll(&c, 1);
}

BOOL iTextFile::WritePadded(const char* text, unsigned width)
{
    unsigned length = StrNLen(text, width);
    if (width == 0)
        width = length;
    if (width <= length)
        return WriteAll(text, width);
    if (!WriteAll(text, length))
        return FALSE;
    char blanks[256];
    memset(blanks, ' ', sizeof blanks);
    for (unsigned left = width - length; left > 0;) {
        unsigned chunk = left < sizeof blanks ? left : static_cast<unsigned>(sizeof blanks);
        if (!WriteAll(blanks, chunk))
            return FALSE;
        left -= chunk;
    }
    return TRUE;
}

int iTextFile::Printf(const char* format, ...)
{
    if (!format)
        return 0;
    // Most texts fit on the stack; a longer one (a downloaded page, say) is
    // formatted again on the heap, so it is written whole, never cut.
    char small[4096];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = vsnprintf(small, sizeof small, format, args);
    va_end(args);
    const char* text = small;
    std::string large;
    if (length >= static_cast<int>(sizeof small)) {
        large.resize(static_cast<size_t>(length) + 1);
        vsnprintf(&large[0], large.size(), format, again);
        text = large.data();
    }
    va_end(again);
    if (length < 0)
        return -1;
    return WriteAll(text, static_cast<DWORD>(length)) ? length : -1;
}
