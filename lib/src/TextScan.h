// A scanf-style reader of a text. The text is only read, never written, so a
// constant or shared text can be scanned safely.
#pragma once

#include <cstdarg>

// Reads from text as format directs; the number of fields assigned, or -1 when
// the text ended before the first (or text or format is null).
int StrScan(const char* text, const char* format, va_list args);
