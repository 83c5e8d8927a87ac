// The clock-time field: whole days split off into the day carry, comparison by day
// carry first, the user's 24-hour time (checked against the platform's formatting
// in the test's locale), and no limits and no parsing.
#include "lib/src/iTypeTime.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class FlaggedTime : public iType::Time {
public:
    using Time::Time;
    using Time::operator=;
    long TimeFlags() const { return m_timeFlags; }
};

std::string Platform24HourTime(WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME st = {};
    st.wYear = 1899;
    st.wMonth = 12;
    st.wDay = 30;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    char text[128] = {};
    return GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_FORCE24HOURFORMAT, &st, nullptr, text, sizeof text) > 0 ? text
                                                                                                           : "";
}

} // namespace

TEST(iTypeTime, AssigningANumberSplitsOffWholeDays)
{
    struct Case { const char* why; long assigned; long value; long dayCarry; };
    const Case cases[] = {
        {"within the day", 235959, 235959, 0},
        {"midnight", 0, 0, 0},
        {"exactly one day", 240000, 0, 1},
        {"one day and an hour and a half", 253000, 13000, 1},
        {"two days and two hours", 500000, 20000, 2},
        {"minutes and seconds are kept", 245959, 5959, 1},
        {"negative: no split", -5, -5, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::Time field;
        field = 480000;  // a day carry of 2 that the assignment must replace
        field = c.assigned;
        EXPECT_EQ(c.value, field.Value());
        EXPECT_EQ(c.dayCarry, field.GetDayCarry());
    }
}

TEST(iTypeTime, ShowsTheUsers24HourTime)
{
    iType::Time field;
    EXPECT_EQ(-1, field.Value());
    EXPECT_EQ(0u, field.GetAttributes());
    EXPECT_STREQ("", field.GetText());

    field = 253000;
    const std::string expected = Platform24HourTime(1, 30, 0);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, field.GetText());

    field = 235959;
    EXPECT_EQ(Platform24HourTime(23, 59, 59), field.GetText());

    for (long invalid : {-5L, 236000L, 235960L}) {
        SCOPED_TRACE(invalid);
        field.Value() = invalid;
        EXPECT_FALSE(field.IsValid());
        EXPECT_STREQ("", field.GetText());
    }
}

TEST(iTypeTime, DayCarryComparesBeforeTheValue)
{
    iType::Time nextDay;
    nextDay = 253000;  // 01:30:00 with one day carried
    iType::Time lateToday;
    lateToday = 235959;
    EXPECT_EQ(1, nextDay.CompareTo(lateToday));
    EXPECT_EQ(-1, lateToday.CompareTo(nextDay));

    iType::Time sameDay;
    sameDay = 243000;
    EXPECT_EQ(1, nextDay.CompareTo(sameDay));
    sameDay = 253000;
    EXPECT_EQ(0, nextDay.CompareTo(sameDay));
}

TEST(iTypeTime, ClearDropsTheDayCarry)
{
    iType::Time field;
    field = 253000;
    field.Clear();
    EXPECT_EQ(-1, field.Value());
    EXPECT_EQ(0, field.GetDayCarry());
}

TEST(iTypeTime, HasNoLimitsAndNoParsing)
{
    iType::Time field;
    field = 123000;
    EXPECT_EQ(0, field.SetMinimum());
    EXPECT_EQ(0, field.SetMaximum());
    EXPECT_EQ(0, field.SetText("08:00:00"));
    EXPECT_EQ(123000, field.Value());
}

TEST(iTypeTime, CopiesCarryDaysAndFlags)
{
    FlaggedTime source(253000, 2);
    EXPECT_EQ(13000, source.Value());
    EXPECT_EQ(1, source.GetDayCarry());
    EXPECT_EQ(2, source.TimeFlags());

    FlaggedTime target;
    EXPECT_EQ(TIME_FORCE24HOURFORMAT, target.TimeFlags());
    target = 100;
    target.Assign(source);
    EXPECT_EQ(100, target.Value()) << "Assign takes no value";
    EXPECT_EQ(1, target.GetDayCarry());
    EXPECT_EQ(2, target.TimeFlags());

    FlaggedTime assigned;
    assigned = static_cast<const iType::Time&>(source);
    EXPECT_EQ(13000, assigned.Value());
    EXPECT_EQ(1, assigned.GetDayCarry());
    EXPECT_EQ(2, assigned.TimeFlags());

    iType::Time copy(source);
    EXPECT_EQ(13000, copy.Value());
    EXPECT_EQ(1, copy.GetDayCarry());

    std::unique_ptr<iType::Base> created(source.Create());
    auto* time = dynamic_cast<iType::Time*>(created.get());
    ASSERT_NE(nullptr, time);
    EXPECT_EQ(-1, time->Value());
    EXPECT_EQ(0, time->GetDayCarry());
}
