// A file written as text: single characters, texts cut or blank-filled to a
// width, and printf-style formatted text of any length.
#pragma once

#include "iFile.h"

#include <cstdio>

class iTextFile : public iFile {
public:
    iTextFile() = default;
    iTextFile(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags)
        : iFile(path, access, share, creation, flags)
    {
    }
    ~iTextFile() override = default;

    BOOL WriteChar(char c);
    // Writes text cut to width, or blank-filled to it (width 0: the whole text).
    // TRUE only when every byte was written.
    BOOL WritePadded(const char* text, unsigned width);
    // Formats and writes the whole text; its length, 0 for a null format, and -1
    // when formatting fails or the text could not be written whole.
    int Printf(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));

private:
    bool WriteAll(const char* bytes, DWORD n);
};
