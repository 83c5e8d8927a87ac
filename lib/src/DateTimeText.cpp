// Date and time as text: durations under a picture of hour, minute and second
// digits, and the locale's date and time texts through the platform's formatting.
#include "DateTime.h"

#include <cstring>

namespace {

// The picture into buffer; into a ring buffer (out null) it is cut to fit, since
// the picture may come from a caller and be of any length.
char* CopyPicture(char* out, const char* picture)
{
    if (!picture)
        picture = "";
    char* buffer = out ? out : NextDateTimeBuffer();
    size_t length = strlen(picture);
    if (!out && length > kDateTimeBufferSize - 1)
        length = kDateTimeBufferSize - 1;
    memcpy(buffer, picture, length);
    buffer[length] = '\0';
    return buffer;
}

// Fills the digit letters and sign positions from the right: the rightmost letter
// of a kind takes the units digit, the next one the tens, and so on.
void FillPicture(char* buffer, bool isNegative, long hours, long minutes, long seconds)
{
    short hourDigit = 0;
    short minuteDigit = 0;
    short secondDigit = 0;
    for (size_t i = strlen(buffer); i-- > 0;) {
        switch (buffer[i]) {
        case 'H': case 'h': buffer[i] = DigitAt(hours, hourDigit++); break;
        case 'M': case 'm': buffer[i] = DigitAt(minutes, minuteDigit++); break;
        case 'S': case 's': buffer[i] = DigitAt(seconds, secondDigit++); break;
        case '-': buffer[i] = isNegative ? '-' : ' '; break;
        case '+': buffer[i] = isNegative ? '-' : '+'; break;
        default: break;
        }
    }
}

// Blanks the leading zeros (behind a leading sign position), then moves the sign
// right across the blanks so that it stands next to the first digit shown.
void SuppressLeadingZeros(char* buffer, bool hasSignPosition)
{
    char* p = buffer + (hasSignPosition && buffer[0] != '\0' ? 1 : 0);
    for (; *p == '0'; ++p)
        *p = ' ';
    for (p = buffer; (*p == '+' || *p == '-') && p[1] == ' '; ++p) {
        p[1] = p[0];
        p[0] = ' ';
    }
}

// Splits a magnitude in seconds, widened so that the lowest long has one.
void SplitSeconds(long long magnitude, long& hours, long& minutes, long& seconds)
{
    hours = static_cast<long>(magnitude / 3600);
    minutes = static_cast<long>((magnitude % 3600) / 60);
    seconds = static_cast<long>(magnitude % 60);
}

} // namespace

char* FormatSecondsByPicture(char* out, const char* picture, long seconds, int suppress)
{
    bool hasSignPosition = picture && (picture[0] == '+' || picture[0] == '-');
    char* buffer = CopyPicture(out, picture);
    bool isNegative = seconds < 0;
    long long magnitude = isNegative ? -static_cast<long long>(seconds) : seconds;
    long hours, minutes, secs;
    SplitSeconds(magnitude, hours, minutes, secs);
    FillPicture(buffer, isNegative, hours, minutes, secs);
    if (suppress == 1)
        SuppressLeadingZeros(buffer, hasSignPosition);
    return buffer;
}

char* FormatBCDByPicture(char* out, const char* picture, long value)
{
    if (value == kNoDateTimeValue) {
        char* buffer = out ? out : NextDateTimeBuffer();
        buffer[0] = '\0';
        return buffer;
    }
    char* buffer = CopyPicture(out, picture);
    bool isNegative = value < 0;
    long long magnitude = isNegative ? -static_cast<long long>(value) : value;
    FillPicture(buffer, isNegative, static_cast<long>(magnitude / 10000), static_cast<long>((magnitude % 10000) / 100),
                static_cast<long>(magnitude % 100));
    return buffer;
}

iString GetLocaleText(LCID locale, LCTYPE item)
{
    char text[80];
    if (GetLocaleInfoA(locale, item, text, sizeof text) <= 0)
        return iString();
    text[sizeof text - 1] = '\0';
    return iString(text);
}

iString GetShortDatePicture(LCID locale)
{
    return GetLocaleText(locale, LOCALE_SSHORTDATE);
}

iString GetTimePicture(LCID locale)
{
    return GetLocaleText(locale, LOCALE_STIMEFORMAT);
}

iString GetDateTimePicture(LCID locale)
{
    iString picture = GetShortDatePicture(locale);
    picture += "' '";
    picture += GetTimePicture(locale);
    return picture;
}

namespace {

using FormatCall = int(WINAPI*)(LCID, DWORD, const SYSTEMTIME*, LPCSTR, LPSTR, int);

// Asks for the size first, then formats into a buffer of that size and a little more.
iString FormatThrough(FormatCall format, const SYSTEMTIME* st, DWORD flags, LCID locale)
{
    int size = format(locale, flags, st, nullptr, nullptr, 0);
    if (size <= 0)
        return iString();
    iString text;
    char* buffer = text.GetBuffer(size + 4);
    buffer[0] = '\0';
    int written = format(locale, flags, st, nullptr, buffer, size + 4);
    text.ReleaseBuffer(written > 0 ? -1 : 0);
    return text;
}

} // namespace

iString FormatSystemDate(const SYSTEMTIME* st, DWORD flags, LCID locale)
{
    return FormatThrough(GetDateFormatA, st, flags, locale);
}

iString FormatSystemTime(const SYSTEMTIME* st, DWORD flags, LCID locale)
{
    return FormatThrough(GetTimeFormatA, st, flags, locale);
}

iString FormatDateText(long date, DWORD flags, LCID locale)
{
    return FormatSystemDate(SystemTimeFromDate(date), flags, locale);
}

iString FormatTimeText(long time, DWORD flags, LCID locale)
{
    return FormatSystemTime(SystemTimeFromTime(time), flags, locale);
}
