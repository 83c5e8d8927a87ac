// Date and time routines over the library's plain 32-bit calendar values: a date
// YYYYMMDD, a clock time HHMMSS, a duration in seconds or in the decimal form
// +-HHMMSS, and the runtime's time_t. Checks, conversions to SYSTEMTIME and time_t,
// the locale's date and time texts, and picture-driven duration text and parsing.
// Scratch buffers and SYSTEMTIME records are per thread: the banner worker uses
// fields beside the user-interface thread.
#pragma once

#include "lib/src/iString.h"

#include <windows.h>

#include <ctime>

// Marks a missing value: the parser's answer for a blank text, and a decimal
// duration that shows as an empty text.
constexpr long kNoDateTimeValue = -999999;

// Each buffer of the ring holds kDateTimeBufferSize bytes; a text written there
// (picture included) is cut to one byte less.
constexpr int kDateTimeBufferSize = 32;

// The next of the calling thread's eight scratch buffers, zero-filled. Its text
// survives seven further hand-outs on that thread.
[[nodiscard]] char* NextDateTimeBuffer();

// 0 when the value is a calendar date (year 0 included) or a clock time, -1 otherwise.
// Digits above the sixth of a time take no part.
[[nodiscard]] int CheckDate(long date);
[[nodiscard]] int CheckTime(long time);

// A local date and time as a time stamp; out-of-range parts are normalised by the
// runtime; -1 when it cannot represent the moment.
[[nodiscard]] time_t MakeTimeT(long date, long time);

// Reads text under a picture of the letters C (century), Y (year in the century),
// M, D, h, m and s; any other picture character skips one text character. 0 with
// *result set, or -1 leaving *result alone. A blank text gives 0 and kNoDateTimeValue.
[[nodiscard]] int ParseDateTimeByPicture(const char* text, const char* picture, time_t* result);

// A duration under a picture of H, M and S digits (either case) and the sign
// positions "-" (blank or minus) and "+" (plus or minus). With out null the text goes
// into NextDateTimeBuffer, cut to fit; otherwise out has room for the picture and
// its zero. suppress 1 blanks the leading zeros and moves the sign up to the digits.
char* FormatSecondsByPicture(char* out, const char* picture, long seconds, int suppress);
// The same for a decimal duration, without suppression; kNoDateTimeValue gives "".
char* FormatBCDByPicture(char* out, const char* picture, long value);

// Decimal digit k (0: units) of a value of 0 or more, as a character.
[[nodiscard]] char DigitAt(long value, short k);
[[nodiscard]] long BCDToSeconds(long value);

// Each fills a record of its own, kept per thread until the next call of the same
// routine on that thread; callers copy it before they go on.
// A clock time on the day 1899-12-30.
[[nodiscard]] SYSTEMTIME* SystemTimeFromTime(long time);
// A date at midnight.
[[nodiscard]] SYSTEMTIME* SystemTimeFromDate(long date);
// The local date and time of a time stamp; all zero when the runtime cannot convert it.
[[nodiscard]] SYSTEMTIME* SystemTimeFromTimeT(time_t t);

// Locale texts; each is empty when the platform call fails.
[[nodiscard]] iString GetLocaleText(LCID locale, LCTYPE item);
[[nodiscard]] iString GetShortDatePicture(LCID locale);
[[nodiscard]] iString GetTimePicture(LCID locale);
// Short-date picture, a quoted blank, time picture.
[[nodiscard]] iString GetDateTimePicture(LCID locale);
[[nodiscard]] iString FormatSystemDate(const SYSTEMTIME* st, DWORD flags, LCID locale);
[[nodiscard]] iString FormatSystemTime(const SYSTEMTIME* st, DWORD flags, LCID locale);
[[nodiscard]] iString FormatDateText(long date, DWORD flags, LCID locale);
[[nodiscard]] iString FormatTimeText(long time, DWORD flags, LCID locale);
