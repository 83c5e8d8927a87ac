// Date and time routines: calendar checks, decimal durations, duration pictures
// (with a picture longer than the scratch buffer), the picture parser, SYSTEMTIME
// and time_t conversions, per-thread scratch state, and locale texts checked
// against the platform's own formatting in the test's locale.
#include "lib/src/DateTime.h"

#include "time_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using foundation_test::LocalMoment;
using foundation_test::MakeSystemTime;

std::string PlatformDate(LCID locale, DWORD flags, const SYSTEMTIME& st, const char* picture)
{
    char text[256] = {};
    return GetDateFormatA(locale, flags, &st, picture, text, sizeof text) > 0 ? text : "";
}

std::string PlatformTime(LCID locale, DWORD flags, const SYSTEMTIME& st, const char* picture)
{
    char text[256] = {};
    return GetTimeFormatA(locale, flags, &st, picture, text, sizeof text) > 0 ? text : "";
}

std::string PlatformLocaleText(LCID locale, LCTYPE item)
{
    char text[256] = {};
    return GetLocaleInfoA(locale, item, text, sizeof text) > 0 ? text : "";
}

constexpr LCID kGerman = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

} // namespace

TEST(DateTime, CheckDateFollowsTheCalendar)
{
    struct Case { const char* why; long date; int expected; };
    const Case cases[] = {
        {"leap day of a year divisible by 400", 20000229, 0},
        {"no leap day in a century year", 19000229, -1},
        {"leap day of an ordinary leap year", 20040229, 0},
        {"no leap day in a common year", 20060229, -1},
        {"30 February", 20040230, -1},
        {"month 13", 20061301, -1},
        {"month 0", 20060001, -1},
        {"day 0", 20060100, -1},
        {"last day of December", 20061231, 0},
        {"31 April", 20060431, -1},
        {"1 January of year 0", 101, 0},
        {"negative value", -20060101, -1},
        {"zero", 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, CheckDate(c.date));
    }
}

TEST(DateTime, CheckTimeLooksAtSixDigitsOnly)
{
    struct Case { const char* why; long time; int expected; };
    const Case cases[] = {
        {"last second of the day", 235959, 0},
        {"midnight", 0, 0},
        {"hour 24", 240000, -1},
        {"minute 60", 236000, -1},
        {"second 60", 235960, -1},
        {"a seventh digit takes no part", 1000000, 0},
        {"negative", -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, CheckTime(c.time));
    }
}

TEST(DateTime, DecimalDurationsToSecondsAndDigits)
{
    EXPECT_EQ(-5400, BCDToSeconds(-13000));
    EXPECT_EQ(360000, BCDToSeconds(1000000));  // 100 hours
    EXPECT_EQ(3661, BCDToSeconds(10101));
    EXPECT_EQ(0, BCDToSeconds(0));
    // The lowest long has no positive counterpart: 214748 h 36 min 48 s, negated.
    EXPECT_EQ(-773095008, BCDToSeconds(LONG_MIN));

    EXPECT_EQ('7', DigitAt(1234567, 0));
    EXPECT_EQ('1', DigitAt(1234567, 6));
    EXPECT_EQ('0', DigitAt(1234567, 7));
    EXPECT_EQ('0', DigitAt(0, 3));
}

TEST(DateTime, FormatSecondsByPicture)
{
    struct Case { const char* why; const char* picture; long seconds; int suppress; const char* expected; };
    const Case cases[] = {
        {"plain", "HHH:MM", 3725, 0, "001:02"},
        {"leading zeros blanked", "HHH:MM", 3725, 1, "  1:02"},
        {"suppression stops at the separator", "HHH:MM", 300, 1, "   :05"},
        {"zero", "HHH:MM", 0, 1, "   :00"},
        {"hours beyond the letters are dropped", "HHH:MM", 3600000, 0, "000:00"},
        {"sign moves next to the digit", "-HHH:MM", -3725, 1, "  -1:02"},
        {"blank sign position is suppressed with the zeros", "-HHH:MM", 3725, 1, "   1:02"},
        {"plus sign shown", "+HH:MM:SS", 3725, 0, "+01:02:05"},
        {"plus sign turns minus", "+HH:MM:SS", -3725, 0, "-01:02:05"},
        {"letters of either case", "hh:mm:ss", 45296, 0, "12:34:56"},
        {"other characters copied", "H h, M m", 3660, 0, "0 1, 0 1"},
        {"no sign position: negative shows its magnitude", "HH:MM", -5400, 0, "01:30"},
        {"lowest long", "-HHHHHH:MM:SS", LONG_MIN, 0, "-596523:14:08"},
        {"empty picture", "", 3725, 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_STREQ(c.expected, FormatSecondsByPicture(nullptr, c.picture, c.seconds, c.suppress));
        char out[64];
        memset(out, '#', sizeof out);
        EXPECT_EQ(out, FormatSecondsByPicture(out, c.picture, c.seconds, c.suppress));
        EXPECT_STREQ(c.expected, out);
    }
}

TEST(DateTime, FormatBCDByPicture)
{
    struct Case { const char* why; const char* picture; long value; const char* expected; };
    const Case cases[] = {
        {"sign position shows the minus", "-HH:MM", -13000, "-01:30"},
        {"sign position blank when positive", "-HH:MM", 13000, " 01:30"},
        {"no sign position, no sign", "HH:MM:SS", -13000, "01:30:00"},
        {"hours above 99", "HHH:MM:SS", 1234559, "123:45:59"},
        {"no value", "HH:MM:SS", kNoDateTimeValue, ""},
        {"no zero suppression", "HH:MM", 0, "00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_STREQ(c.expected, FormatBCDByPicture(nullptr, c.picture, c.value));
        char out[64] = "stale text";
        EXPECT_STREQ(c.expected, FormatBCDByPicture(out, c.picture, c.value));
    }
}

TEST(DateTime, PictureLongerThanTheScratchBufferIsCut)
{
    // Fill the whole ring with texts that must survive; each formatting below
    // takes the next buffer and must leave the seven others alone.
    std::vector<char*> ring;
    for (int i = 0; i < 8; ++i) {
        ring.push_back(NextDateTimeBuffer());
        strcpy(ring.back(), "kept");
    }
    const std::string picture = "HH:MM" + std::string(60, 'x');
    const std::string expected = "01:02" + std::string(kDateTimeBufferSize - 1 - 5, 'x');
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        char* seconds = FormatSecondsByPicture(nullptr, picture.c_str(), 3725, 0);
        EXPECT_EQ(expected, seconds);
        for (char* other : ring) {
            if (other != seconds) {
                EXPECT_STREQ("kept", other);
            }
        }
        strcpy(seconds, "kept");
    }
    const std::string bcdPicture = "-HH:MM" + std::string(60, 'x');
    char* bcd = FormatBCDByPicture(nullptr, bcdPicture.c_str(), -13000);
    EXPECT_EQ("-01:30" + std::string(kDateTimeBufferSize - 1 - 6, 'x'), bcd);
    for (char* other : ring) {
        if (other != bcd) {
            EXPECT_STREQ("kept", other);
        }
    }
}

TEST(DateTime, ScratchRingRotatesEightBuffersPerThread)
{
    char* first = NextDateTimeBuffer();
    strcpy(first, "first");
    std::vector<char*> later;
    for (int i = 0; i < 7; ++i)
        later.push_back(NextDateTimeBuffer());
    EXPECT_STREQ("first", first);  // survives seven hand-outs
    for (char* p : later)
        EXPECT_NE(first, p);

    // Another thread's hand-outs are its own.
    std::thread worker([] {
        for (int i = 0; i < 16; ++i)
            strcpy(NextDateTimeBuffer(), "worker");
    });
    worker.join();
    EXPECT_STREQ("first", first);

    char* again = NextDateTimeBuffer();
    EXPECT_EQ(first, again);  // the eighth hand-out comes round
    for (int i = 0; i < kDateTimeBufferSize; ++i)
        ASSERT_EQ(0, again[i]) << "byte " << i;
}

TEST(DateTime, ParseDateTimeByPicture)
{
    const time_t endOf2006 = LocalMoment(2006, 12, 31, 23, 59, 59);
    struct Case { const char* why; const char* text; const char* picture; int status; time_t result; };
    const Case cases[] = {
        {"four-digit year", "31.12.2006 23:59:59", "DD.MM.CCYY hh:mm:ss", 0, endOf2006},
        {"two-digit year up to 70 is this century", "31.12.06 23:59:59", "DD.MM.YY hh:mm:ss", 0, endOf2006},
        {"two-digit year above 70 is the last century", "31.12.71 08:15:00", "DD.MM.YY hh:mm:ss", 0,
         LocalMoment(1971, 12, 31, 8, 15, 0)},
        {"separators need not match", "31/12/2006T23-59-59", "DD.MM.CCYY hh:mm:ss", 0, endOf2006},
        {"other order", "2006-12-31 23:59:59", "CCYY-MM-DD hh:mm:ss", 0, endOf2006},
        {"blank text", "                   ", "DD.MM.CCYY hh:mm:ss", 0, kNoDateTimeValue},
        {"empty text", "", "DD.MM.CCYY hh:mm:ss", 0, kNoDateTimeValue},
        {"no seconds letter", "31.12.2006 23:59", "DD.MM.CCYY hh:mm", -1, 0},
        {"letter in a digit run", "3a.12.2006 23:59:59", "DD.MM.CCYY hh:mm:ss", -1, 0},
        {"no such date", "31.02.2006 10:00:00", "DD.MM.CCYY hh:mm:ss", -1, 0},
        {"no such time", "31.12.2006 24:00:00", "DD.MM.CCYY hh:mm:ss", -1, 0},
        {"text ends inside a run", "31.12.2006 23:59:5", "DD.MM.CCYY hh:mm:ss", -1, 0},
        {"text ends before a run", "31.12.2006 23:59", "DD.MM.CCYY hh:mm:ss", -1, 0},
        {"blank inside a run", "31.12.2006 23:59: 9", "DD.MM.CCYY hh:mm:ss", -1, 0},
        {"no century nor year", "31.12 23:59:59", "DD.MM hh:mm:ss", -1, 0},
        {"more digits than any calendar part", "123456789012345.12.2006 23:59:59",
         "DDDDDDDDDDDDDDD.MM.CCYY hh:mm:ss", -1, 0},
        {"century too large for a date value", "31.12.999906 23:59:59", "DD.MM.CCCCYY hh:mm:ss", -1, 0},
        // 2^64 + 31: a run read without a bound wraps round to day 31.
        {"digit run past 64 bits", "18446744073709551647.12.2006 23:59:59", "DDDDDDDDDDDDDDDDDDDD.MM.CCYY hh:mm:ss",
         -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        time_t result = 12345;
        EXPECT_EQ(c.status, ParseDateTimeByPicture(c.text, c.picture, &result));
        EXPECT_EQ(c.status == 0 ? c.result : 12345, result);  // left alone on failure
    }
}

TEST(DateTime, ParseRefusesMissingArguments)
{
    time_t result = 7;
    EXPECT_EQ(-1, ParseDateTimeByPicture(nullptr, "DD", &result));
    EXPECT_EQ(-1, ParseDateTimeByPicture("31", nullptr, &result));
    EXPECT_EQ(7, result);
    EXPECT_EQ(-1, ParseDateTimeByPicture("31", "DD", nullptr));
}

TEST(DateTime, MakeTimeTReadsLocalTimeAndNormalises)
{
    EXPECT_EQ(LocalMoment(2006, 12, 31, 23, 59, 59), MakeTimeT(20061231, 235959));
    EXPECT_EQ(LocalMoment(2006, 2, 1, 0, 0, 0), MakeTimeT(20060132, 0));  // 32 January
    EXPECT_EQ(LocalMoment(1970, 1, 2, 0, 0, 0), MakeTimeT(19700101, 240000));
}

TEST(DateTime, SystemTimeConversions)
{
    const SYSTEMTIME time = *SystemTimeFromTime(93000);
    EXPECT_EQ(1899, time.wYear);
    EXPECT_EQ(12, time.wMonth);
    EXPECT_EQ(30, time.wDay);
    EXPECT_EQ(9, time.wHour);
    EXPECT_EQ(30, time.wMinute);
    EXPECT_EQ(0, time.wSecond);
    EXPECT_EQ(0, time.wMilliseconds);

    const SYSTEMTIME date = *SystemTimeFromDate(20061231);
    EXPECT_EQ(2006, date.wYear);
    EXPECT_EQ(12, date.wMonth);
    EXPECT_EQ(31, date.wDay);
    EXPECT_EQ(0, date.wHour + date.wMinute + date.wSecond + date.wDayOfWeek);

    const SYSTEMTIME stamp = *SystemTimeFromTimeT(LocalMoment(2006, 7, 15, 13, 45, 30));
    EXPECT_EQ(2006, stamp.wYear);
    EXPECT_EQ(7, stamp.wMonth);
    EXPECT_EQ(15, stamp.wDay);
    EXPECT_EQ(13, stamp.wHour);
    EXPECT_EQ(45, stamp.wMinute);
    EXPECT_EQ(30, stamp.wSecond);
    EXPECT_EQ(0, stamp.wDayOfWeek);

    const SYSTEMTIME zero = {};
    EXPECT_EQ(0, memcmp(&zero, SystemTimeFromTimeT(-1), sizeof zero)) << "a time the runtime cannot convert";
}

TEST(DateTime, SystemTimeRecordsArePerThread)
{
    SYSTEMTIME* mine = SystemTimeFromDate(20061231);
    std::thread worker([] { (void)SystemTimeFromDate(19991111); });
    worker.join();
    EXPECT_EQ(2006, mine->wYear);
    EXPECT_EQ(31, mine->wDay);
    EXPECT_EQ(mine, SystemTimeFromDate(20070101));  // the same record, overwritten by the next call
    EXPECT_EQ(2007, mine->wYear);
}

TEST(DateTime, TimeRecordIsPerThread)
{
    SYSTEMTIME* mine = SystemTimeFromTime(123456);
    std::thread worker([] { (void)SystemTimeFromTime(224455); });
    worker.join();
    EXPECT_EQ(12, mine->wHour);
    EXPECT_EQ(34, mine->wMinute);
    EXPECT_EQ(56, mine->wSecond);
    EXPECT_EQ(mine, SystemTimeFromTime(101010));  // the same record, overwritten by the next call
    EXPECT_EQ(10, mine->wHour);
}

TEST(DateTime, LocaleTextsMatchThePlatform)
{
    for (LCID locale : {static_cast<LCID>(LOCALE_USER_DEFAULT), kGerman}) {
        SCOPED_TRACE(locale);
        const std::string shortDate = PlatformLocaleText(locale, LOCALE_SSHORTDATE);
        const std::string timePicture = PlatformLocaleText(locale, LOCALE_STIMEFORMAT);
        ASSERT_FALSE(shortDate.empty());
        ASSERT_FALSE(timePicture.empty());
        EXPECT_EQ(shortDate, static_cast<const char*>(GetShortDatePicture(locale)));
        EXPECT_EQ(timePicture, static_cast<const char*>(GetTimePicture(locale)));
        EXPECT_EQ(shortDate + "' '" + timePicture, static_cast<const char*>(GetDateTimePicture(locale)));
        EXPECT_EQ(PlatformLocaleText(locale, LOCALE_SMONTHNAME12),
                  static_cast<const char*>(GetLocaleText(locale, LOCALE_SMONTHNAME12)));
    }
    EXPECT_TRUE(GetLocaleText(LOCALE_USER_DEFAULT, 0xFFFFu).IsEmpty()) << "no such locale item";
}

TEST(DateTime, DateAndTimeTextsMatchThePlatform)
{
    const SYSTEMTIME date = MakeSystemTime(2006, 12, 31, 0, 0, 0);
    const SYSTEMTIME time = MakeSystemTime(1899, 12, 30, 9, 5, 7);
    for (LCID locale : {static_cast<LCID>(LOCALE_USER_DEFAULT), kGerman}) {
        SCOPED_TRACE(locale);
        for (DWORD flags : {static_cast<DWORD>(DATE_SHORTDATE), static_cast<DWORD>(DATE_LONGDATE)}) {
            const std::string expected = PlatformDate(locale, flags, date, nullptr);
            ASSERT_FALSE(expected.empty());
            EXPECT_EQ(expected, static_cast<const char*>(FormatDateText(20061231, flags, locale)));
            EXPECT_EQ(expected, static_cast<const char*>(FormatSystemDate(&date, flags, locale)));
        }
        for (DWORD flags : {static_cast<DWORD>(TIME_FORCE24HOURFORMAT), static_cast<DWORD>(TIME_NOSECONDS)}) {
            const std::string expected = PlatformTime(locale, flags, time, nullptr);
            ASSERT_FALSE(expected.empty());
            EXPECT_EQ(expected, static_cast<const char*>(FormatTimeText(90507, flags, locale)));
            EXPECT_EQ(expected, static_cast<const char*>(FormatSystemTime(&time, flags, locale)));
        }
    }
}

TEST(DateTime, DateAndTimeTextsAreEmptyWhenThePlatformRefuses)
{
    const SYSTEMTIME badDate = MakeSystemTime(2006, 13, 1, 0, 0, 0);
    const SYSTEMTIME badTime = MakeSystemTime(1899, 12, 30, 25, 0, 0);
    ASSERT_EQ("", PlatformDate(LOCALE_USER_DEFAULT, DATE_SHORTDATE, badDate, nullptr));
    ASSERT_EQ("", PlatformTime(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT, badTime, nullptr));
    EXPECT_TRUE(FormatSystemDate(&badDate, DATE_SHORTDATE, LOCALE_USER_DEFAULT).IsEmpty());
    EXPECT_TRUE(FormatDateText(20061301, DATE_SHORTDATE, LOCALE_USER_DEFAULT).IsEmpty());
    EXPECT_TRUE(FormatSystemTime(&badTime, TIME_FORCE24HOURFORMAT, LOCALE_USER_DEFAULT).IsEmpty());
    EXPECT_TRUE(FormatTimeText(250000, TIME_FORCE24HOURFORMAT, LOCALE_USER_DEFAULT).IsEmpty());
}
