// The time-stamp field: 4 stored bytes against the runtime's 64-bit time_t (a
// moment beyond 32 bits becomes the null value), the clear and default modes,
// "now", and the text of short date and 24-hour time, checked against the
// platform's formatting in the test's locale; a moment without a local date has
// an empty text.
#include "lib/src/iTypeTimeT.h"

#include "time_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

namespace {

using foundation_test::LocalMoment;
using foundation_test::MakeSystemTime;

std::string LocaleItem(LCTYPE item)
{
    char text[128] = {};
    return GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text) > 0 ? text : "";
}

// The field's text as the platform writes it: the user's short date, a blank and
// the time, each through the user's own picture.
std::string PlatformText(time_t moment, DWORD dateFlags, DWORD timeFlags)
{
    tm local = {};
    if (localtime_s(&local, &moment) != 0)
        return "";
    SYSTEMTIME st = MakeSystemTime(static_cast<WORD>(local.tm_year + 1900), static_cast<WORD>(local.tm_mon + 1),
                                   static_cast<WORD>(local.tm_mday), static_cast<WORD>(local.tm_hour),
                                   static_cast<WORD>(local.tm_min), static_cast<WORD>(local.tm_sec));
    char date[128] = {};
    char time[128] = {};
    const std::string datePicture = LocaleItem(LOCALE_SSHORTDATE);
    const std::string timePicture = LocaleItem(LOCALE_STIMEFORMAT);
    if (GetDateFormatA(LOCALE_USER_DEFAULT, dateFlags, &st, datePicture.c_str(), date, sizeof date) <= 0 ||
        GetTimeFormatA(LOCALE_USER_DEFAULT, timeFlags, &st, timePicture.c_str(), time, sizeof time) <= 0)
        return "";
    return std::string(date) + " " + time;
}

class DerivedTime_T : public iType::Time_T {
public:
    using Time_T::Time_T;
    using Time_T::operator=;
};

} // namespace

TEST(iTypeTime_T, NewFieldHoldsMinusOneAndShowsNothing)
{
    iType::Time_T field(nullptr, "stamp", "Stamp");
    EXPECT_EQ(-1, field.Value());
    EXPECT_FALSE(field.IsValid());
    EXPECT_STREQ("", field.GetText());
    EXPECT_EQ(0u, field.GetAttributes());
    EXPECT_EQ(0u, field.GetDateFormatFlags());
    EXPECT_EQ(static_cast<DWORD>(TIME_FORCE24HOURFORMAT), field.GetTimeFormatFlags());
}

TEST(iTypeTime_T, ShowsShortDateBlankAnd24HourTime)
{
    const SYSTEMTIME st = MakeSystemTime(2006, 7, 15, 21, 45, 30);
    const time_t moment = LocalMoment(st);
    iType::Time_T field;
    field.SetFromSystemTime(st);
    EXPECT_EQ(moment, static_cast<time_t>(field.Value()));
    const std::string expected = PlatformText(moment, 0, TIME_FORCE24HOURFORMAT);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, field.GetText());

    // The owner's format flags reach the platform.
    field.SetTimeFormatFlags(TIME_FORCE24HOURFORMAT | TIME_NOSECONDS);
    EXPECT_EQ(PlatformText(moment, 0, TIME_FORCE24HOURFORMAT | TIME_NOSECONDS), field.GetText());
}

TEST(iTypeTime_T, ValuesWithoutALocalMomentShowNothing)
{
    struct Case { const char* why; long value; };
    const Case cases[] = {
        {"zero", 0},
        {"the null value", -1},
        {"before 1970: the runtime has no local time for it", -100000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::Time_T field(c.value);
        EXPECT_STREQ("", field.GetText());
    }
    iType::Time_T before1970(-100000);
    EXPECT_TRUE(before1970.IsValid());
    SYSTEMTIME st;
    EXPECT_EQ(&st, before1970.GetSystemTime(st));
    EXPECT_EQ(0, st.wYear + st.wMonth + st.wDay + st.wHour);
}

TEST(iTypeTime_T, MomentsBeyond32BitsBecomeTheNullValue)
{
    // A record with guard bytes around the field's 4 bytes.
    unsigned char record[12];
    memset(record, 0x55, sizeof record);
    iType::Time_T field(record, 4, "Update", "Update");

    struct Case { const char* why; SYSTEMTIME st; bool fits; };
    const Case cases[] = {
        {"2006 fits", MakeSystemTime(2006, 12, 31, 23, 59, 59), true},
        {"early 2038 fits", MakeSystemTime(2038, 1, 1, 0, 0, 0), true},
        {"2100 is beyond 32 bits", MakeSystemTime(2100, 1, 1, 12, 0, 0), false},
        {"2999 is beyond 32 bits", MakeSystemTime(2999, 6, 1, 0, 0, 0), false},
        {"before 1970 the runtime refuses", MakeSystemTime(1960, 1, 1, 0, 0, 0), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        field = 12345;
        field.SetFromSystemTime(c.st);
        long stored;
        memcpy(&stored, record + 4, sizeof stored);
        EXPECT_EQ(stored, field.Value());
        if (c.fits)
            EXPECT_EQ(LocalMoment(c.st), static_cast<time_t>(stored));
        else
            EXPECT_EQ(-1, stored);
        EXPECT_EQ(0x55, record[3]);
        EXPECT_EQ(0x55, record[8]);
    }

    field.SetNullValue(0);
    field.SetFromSystemTime(MakeSystemTime(2100, 1, 1, 12, 0, 0));
    EXPECT_EQ(0, field.Value()) << "the field's own null value";
}

TEST(iTypeTime_T, SetNowTakesTheCurrentLocalTime)
{
    iType::Time_T field;
    time_t before = time(nullptr);
    field.SetNow();
    time_t after = time(nullptr);
    EXPECT_GE(static_cast<time_t>(field.Value()), before);
    EXPECT_LE(static_cast<time_t>(field.Value()), after);
    EXPECT_EQ(PlatformText(field.Value(), 0, TIME_FORCE24HOURFORMAT), field.GetText());
    EXPECT_STRNE("", field.GetText());

    field.Clear();
    EXPECT_EQ(-1, field.Value());
    EXPECT_STREQ("", field.GetText());
}

TEST(iTypeTime_T, ClearAndDefaultModes)
{
    iType::Time_T field;
    field.SetDefaultValue(1000);

    field.SetDefault();
    EXPECT_EQ(-1, field.Value()) << "default mode 0 ends like Clear";

    field.SetClearMode(1);
    time_t before = time(nullptr);
    field.Clear();
    EXPECT_GE(static_cast<time_t>(field.Value()), before);
    field.SetDefault();
    EXPECT_GE(static_cast<time_t>(field.Value()), before) << "ends like Clear, which now sets the time";

    field.SetClearMode(0);
    field.SetDefaultMode(1);
    field = 5;
    field.SetDefault();
    EXPECT_GE(static_cast<time_t>(field.Value()), before);
    field.Clear();
    EXPECT_EQ(-1, field.Value());
}

TEST(iTypeTime_T, AssignTakesTheFormatFlagsButNotTheModes)
{
    iType::Time_T source(nullptr, "Insert", "Insert");
    source.SetDefaultMode(1);
    source.SetClearMode(1);
    source.SetDateFormatFlags(DATE_LONGDATE);
    source.SetTimeFormatFlags(TIME_NOSECONDS);
    source.SetDefaultValue(77);

    iType::Time_T target;
    target = 1000;
    target.Assign(source);
    EXPECT_EQ(1000, target.Value());
    EXPECT_EQ(0, target.GetDefaultMode());
    EXPECT_EQ(0, target.GetClearMode());
    EXPECT_EQ(static_cast<DWORD>(DATE_LONGDATE), target.GetDateFormatFlags());
    EXPECT_EQ(static_cast<DWORD>(TIME_NOSECONDS), target.GetTimeFormatFlags());
    EXPECT_EQ(77, target.GetDefaultValue());

    DerivedTime_T assigned;
    source = 1234567890;
    assigned = static_cast<const iType::Time_T&>(source);
    EXPECT_EQ(1234567890, assigned.Value());
    EXPECT_EQ(static_cast<DWORD>(DATE_LONGDATE), assigned.GetDateFormatFlags());
    EXPECT_EQ(0, assigned.GetDefaultMode());

    iType::Time_T copy(source);
    EXPECT_EQ(1234567890, copy.Value());
    EXPECT_EQ(static_cast<DWORD>(TIME_NOSECONDS), copy.GetTimeFormatFlags());

    std::unique_ptr<iType::Base> clone(source.Clone());
    auto* stamp = dynamic_cast<iType::Time_T*>(clone.get());
    ASSERT_NE(nullptr, stamp);
    EXPECT_EQ(-1, stamp->Value());
    EXPECT_STREQ("Insert", stamp->GetName());
    EXPECT_EQ(static_cast<DWORD>(DATE_LONGDATE), stamp->GetDateFormatFlags());
    EXPECT_EQ(0, stamp->GetClearMode());
}

TEST(iTypeTime_T, LimitsButNoParsing)
{
    iType::Time_T field(1000);
    EXPECT_EQ(0, field.SetText("01.01.2000 00:00:00"));
    EXPECT_EQ(1000, field.Value());
    EXPECT_EQ(1, field.SetMinimum());
    EXPECT_EQ(LONG_MIN, field.Value());
    EXPECT_EQ(1, field.SetMaximum());
    EXPECT_EQ(LONG_MAX, field.Value());
}
