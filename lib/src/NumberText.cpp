// Number-to-text conversion in a radix and zero padding.
#include "NumberText.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsRadix(int radix)
{
    return radix >= 2 && radix <= 36;
}

// Digits from the lowest by repeated unsigned division, then reversed in place
// behind the sign. Negation is done unsigned so that the lowest value survives.
char* ToText(unsigned long long value, char* buffer, int radix, bool isNegative)
{
    if (!buffer)
        return buffer;
    if (!IsRadix(radix)) {
        buffer[0] = '\0';
        return buffer;
    }
    char* p = buffer;
    if (isNegative) {
        *p++ = '-';
        value = 0 - value;
    }
    char* first = p;
    do {
        unsigned digit = static_cast<unsigned>(value % static_cast<unsigned>(radix));
        value /= static_cast<unsigned>(radix);
        *p++ = static_cast<char>(digit < 10 ? '0' + digit : 'A' + (digit - 10));
    } while (value != 0);
    *p = '\0';
    std::reverse(first, p);
    return buffer;
}

char* Padded(char* buffer, int radix, int width)
{
    return IsRadix(radix) ? PadNumberText(buffer, width) : buffer;
}

} // namespace

char* Int64ToText(long long value, char* buffer, int radix)
{
    return ToText(static_cast<unsigned long long>(value), buffer, radix, radix == 10 && value < 0);
}

char* UInt64ToText(unsigned long long value, char* buffer, int radix)
{
    return ToText(value, buffer, radix, false);
}

char* PadNumberText(char* text, int width)
{
    if (!text)
        return text;
    int length = static_cast<int>(strlen(text));
    if (length >= width)
        return text;
    int digitsAt = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    int zeros = width - length;
    memmove(text + digitsAt + zeros, text + digitsAt, static_cast<size_t>(length - digitsAt) + 1);
    memset(text + digitsAt, '0', static_cast<size_t>(zeros));
    return text;
}

char* IntToPaddedText(long value, char* buffer, int radix, int width)
{
    if (radix == 10)
        Int64ToText(value, buffer, radix);
    else
        UInt64ToText(static_cast<unsigned long>(value), buffer, radix);
    return Padded(buffer, radix, width);
}

char* ULongToPaddedText(unsigned long value, char* buffer, int radix, int width)
{
    return Padded(UInt64ToText(value, buffer, radix), radix, width);
}

char* Int64ToPaddedText(long long value, char* buffer, int radix, int width)
{
    return Padded(Int64ToText(value, buffer, radix), radix, width);
}

char* UInt64ToPaddedText(unsigned long long value, char* buffer, int radix, int width)
{
    return Padded(UInt64ToText(value, buffer, radix), radix, width);
}
