// URL encoding for the query part of an HTTP request: letters, digits and
// ". * _ -" stay, every other byte (the blank included) becomes "%" and two
// upper-case hexadecimal digits. There is no "+" form for the blank.
#pragma once

#include "iString.h"

#include <windows.h>

// Nonzero for A-Z, a-z, 0-9, ".", "*", "_" and "-"; 0 for every other byte.
[[nodiscard]] int IsUrlSafeChar(char c);

// buffer null: *size receives the encoded length (without the zero); 1.
// Otherwise encodes as much of text as fits the *size bytes of buffer, stopping
// while five bytes are still free, terminates it and sets *size to the encoded
// length; 1 when the whole text was encoded, 0 when it was cut. Never writes past
// the buffer: a buffer of 0 bytes, a null size or a length too large to count
// answer 0. A null text encodes as the empty text.
[[nodiscard]] int UrlEncodeBuffer(const char* text, char* buffer, DWORD* size);

// The encoded text; the empty text when the encoding cannot be made.
[[nodiscard]] iString UrlEncode(const char* text);
void UrlEncode(iString& out, const char* text);
