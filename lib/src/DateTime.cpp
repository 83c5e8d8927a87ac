// Calendar values: the scratch ring, date and time checks, conversions to time_t
// and SYSTEMTIME, decimal durations and the picture-driven date-and-time parser.
#include "DateTime.h"

#include <climits>
#include <cstring>

namespace {

constexpr int kRingSize = 8;

// Per thread: a worker formatting a field must not overwrite a text the
// user-interface thread is still reading.
struct DateTimeRing {
    int index = 0;
    char buffers[kRingSize][kDateTimeBufferSize] = {};
};

thread_local DateTimeRing t_ring;
thread_local SYSTEMTIME t_fromTime;
thread_local SYSTEMTIME t_fromDate;
thread_local SYSTEMTIME t_fromTimeT;

const short kMonthDays[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsLeapYear(long year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// The parser's letters, in the order of its working fields.
constexpr char kPictureLetters[] = "CYMDhms";
enum PictureSlot { kCentury, kYear, kMonth, kDay, kHour, kMinute, kSecond, kSlotCount };

int SlotOf(char c)
{
    const char* p = c != '\0' ? strchr(kPictureLetters, c) : nullptr;
    return p ? static_cast<int>(p - kPictureLetters) : -1;
}

// Blank when every text position under a letter is a blank or past the text's end.
bool IsBlankUnderLetters(const char* text, const char* picture)
{
    size_t textLength = strlen(text);
    for (size_t i = 0; picture[i] != '\0'; ++i) {
        if (SlotOf(picture[i]) >= 0 && i < textLength && text[i] != ' ')
            return false;
    }
    return true;
}

// No calendar part needs more: a longer run of digits is refused rather than
// overflowing the working field.
constexpr long long kLargestRunValue = 99999999;

} // namespace

char* NextDateTimeBuffer()
{
    if (t_ring.index < 0 || t_ring.index >= kRingSize)
        t_ring.index = 0;
    t_ring.index = (t_ring.index + 1) % kRingSize;
    char* buffer = t_ring.buffers[t_ring.index];
    memset(buffer, 0, kDateTimeBufferSize);
    return buffer;
}

int CheckDate(long date)
{
    long century = date / 1000000;
    long year = (date % 1000000) / 10000;
    long month = (date % 10000) / 100;
    long day = date % 100;
    if (century < 0 || year < 0 || month < 1 || month > 12 || day < 1)
        return -1;
    if (day <= kMonthDays[month])
        return 0;
    if (month == 2 && day == 29 && IsLeapYear(century * 100 + year))
        return 0;
    return -1;
}

int CheckTime(long time)
{
    long hour = (time % 1000000) / 10000;
    long minute = (time % 10000) / 100;
    long second = time % 100;
    return hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59 ? 0 : -1;
}

time_t MakeTimeT(long date, long time)
{
    tm parts = {};
    parts.tm_sec = time % 100;
    parts.tm_min = (time % 10000) / 100;
    parts.tm_hour = time / 10000;
    parts.tm_mday = date % 100;
    parts.tm_mon = (date % 10000) / 100 - 1;
    parts.tm_year = date / 10000 - 1900;
    parts.tm_isdst = -1;
    return mktime(&parts);
}

int ParseDateTimeByPicture(const char* text, const char* picture, time_t* result)
{
    if (!text || !picture || !result)
        return -1;
    if (IsBlankUnderLetters(text, picture)) {
        *result = kNoDateTimeValue;
        return 0;
    }

    long long fields[kSlotCount];
    for (long long& field : fields)
        field = kNoDateTimeValue;

    const char* t = text;
    const char* p = picture;
    while (*t != '\0' && *p != '\0') {
        int slot = SlotOf(*p);
        if (slot < 0) {
            ++t;
            ++p;
            continue;
        }
        // A run of one letter: one digit per letter, all of them present.
        char letter = *p;
        long long value = 0;
        for (; *p == letter; ++p, ++t) {
            if (*t < '0' || *t > '9')
                return -1;
            value = value * 10 + (*t - '0');
            if (value > kLargestRunValue)
                return -1;
        }
        fields[slot] = value;
    }

    if (fields[kCentury] == kNoDateTimeValue && fields[kYear] != kNoDateTimeValue)
        fields[kCentury] = fields[kYear] > 70 ? 19 : 20;
    for (long long field : fields) {
        if (field == kNoDateTimeValue)
            return -1;
    }

    long long date = fields[kCentury] * 1000000 + fields[kYear] * 10000 + fields[kMonth] * 100 + fields[kDay];
    long long time = fields[kHour] * 10000 + fields[kMinute] * 100 + fields[kSecond];
    if (date > LONG_MAX || time > LONG_MAX)
        return -1;
    if (CheckDate(static_cast<long>(date)) != 0 || CheckTime(static_cast<long>(time)) != 0)
        return -1;
    *result = MakeTimeT(static_cast<long>(date), static_cast<long>(time));
    return 0;
}

char DigitAt(long value, short k)
{
    for (short i = 0; i < k && value != 0; ++i)
        value /= 10;
    return static_cast<char>('0' + value % 10);
}

long BCDToSeconds(long value)
{
    // Widened: the magnitude of the lowest long does not fit a long.
    long long magnitude = value < 0 ? -static_cast<long long>(value) : value;
    long long seconds = (magnitude / 10000) * 3600 + ((magnitude % 10000) / 100) * 60 + magnitude % 100;
    return static_cast<long>(value < 0 ? -seconds : seconds);
}

SYSTEMTIME* SystemTimeFromTime(long time)
{
    t_fromTime = SYSTEMTIME{};
    t_fromTime.wYear = 1899;
    t_fromTime.wMonth = 12;
    t_fromTime.wDay = 30;
    t_fromTime.wHour = static_cast<WORD>(time / 10000);
    t_fromTime.wMinute = static_cast<WORD>((time % 10000) / 100);
    t_fromTime.wSecond = static_cast<WORD>(time % 100);
    return &t_fromTime;
}

SYSTEMTIME* SystemTimeFromDate(long date)
{
    t_fromDate = SYSTEMTIME{};
    t_fromDate.wYear = static_cast<WORD>(date / 10000);
    t_fromDate.wMonth = static_cast<WORD>((date % 10000) / 100);
    t_fromDate.wDay = static_cast<WORD>(date % 100);
    return &t_fromDate;
}

SYSTEMTIME* SystemTimeFromTimeT(time_t t)
{
    t_fromTimeT = SYSTEMTIME{};
    tm local = {};
    if (localtime_s(&local, &t) == 0) {
        t_fromTimeT.wYear = static_cast<WORD>(local.tm_year + 1900);
        t_fromTimeT.wMonth = static_cast<WORD>(local.tm_mon + 1);
        t_fromTimeT.wDay = static_cast<WORD>(local.tm_mday);
        t_fromTimeT.wHour = static_cast<WORD>(local.tm_hour);
        t_fromTimeT.wMinute = static_cast<WORD>(local.tm_min);
        t_fromTimeT.wSecond = static_cast<WORD>(local.tm_sec);
    }
    return &t_fromTimeT;
}
