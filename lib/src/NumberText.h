// Numbers to text in any radix from 2 to 36 (digits above 9 are upper-case
// letters), optionally padded with leading zeros to a width. A minus sign is
// written only in radix 10; other radices write the value's bit pattern unsigned.
// A radix outside 2..36 is refused: the buffer receives an empty text.
#pragma once

// Room for the longest number text: a sign, 64 binary digits and the zero.
constexpr int kNumberTextSize = 66;

// buffer holds at least kNumberTextSize bytes; each returns buffer.
char* Int64ToText(long long value, char* buffer, int radix);
char* UInt64ToText(unsigned long long value, char* buffer, int radix);

// Inserts "0" after a leading sign (or at the front) until the text is width
// characters long; the buffer must hold width + 1 bytes. Returns text.
char* PadNumberText(char* text, int width);

// The value's text, then padded; the buffer holds at least the larger of
// kNumberTextSize and width + 1 bytes. Each returns buffer.
char* IntToPaddedText(long value, char* buffer, int radix, int width);
char* ULongToPaddedText(unsigned long value, char* buffer, int radix, int width);
char* Int64ToPaddedText(long long value, char* buffer, int radix, int width);
char* UInt64ToPaddedText(unsigned long long value, char* buffer, int radix, int width);
