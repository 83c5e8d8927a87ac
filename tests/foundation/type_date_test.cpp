// The date field: null value -1, calendar validity after year 0, the user's short
// date (checked against the platform's formatting in the test's locale), carried
// words through Assign and copies, and no parsing from text.
#include "lib/src/iTypeCollection.h"
#include "lib/src/iTypeDate.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace {

// Shows the two words the field carries for its owners.
class CarryingDate : public iType::Date {
public:
    using Date::Date;
    using Date::operator=;
    long DateFlags() const { return m_dateFlags; }
    long PictureItem() const { return m_pictureItem; }
    void SetCarried(long flags, long item)
    {
        m_dateFlags = flags;
        m_pictureItem = item;
    }
};

std::string PlatformShortDate(WORD year, WORD month, WORD day)
{
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    char text[128] = {};
    return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text) > 0 ? text : "";
}

} // namespace

TEST(iTypeDate, NewFieldHoldsMinusOneAndShowsNothing)
{
    iType::Date field(nullptr, "d", "D");
    EXPECT_EQ(-1, field.Value());
    EXPECT_EQ(-1, field.GetNullValue());
    EXPECT_EQ(0, field.GetDefaultValue());
    EXPECT_EQ(0u, field.GetAttributes());
    EXPECT_EQ(4u, field.GetByteSize());
    EXPECT_FALSE(field.IsValid());
    EXPECT_STREQ("", field.GetText());

    // Laid over a record, the field writes its null value into the record's bytes.
    unsigned char record[12];
    memset(record, 0x55, sizeof record);
    iType::Date over(record, 4, "d", "D");
    long stored;
    memcpy(&stored, record + 4, sizeof stored);
    EXPECT_EQ(-1, stored);
    EXPECT_EQ(0x55, record[3]);
    EXPECT_EQ(0x55, record[8]);
}

TEST(iTypeDate, ShowsTheUsersShortDate)
{
    iType::Date field;
    field = 20061231;
    const std::string expected = PlatformShortDate(2006, 12, 31);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(expected, field.GetText());

    field.SetDefault();
    EXPECT_EQ(0, field.Value());
    EXPECT_STREQ("", field.GetText());
}

TEST(iTypeDate, OnlyCalendarDatesAfterYearZeroAreValid)
{
    struct Case { const char* why; long value; bool isValid; };
    const Case cases[] = {
        {"last day of the year", 20061231, true},
        {"leap day", 20000229, true},
        {"30 February", 20060230, false},
        {"month 13", 20061301, false},
        {"zero, the default", 0, false},
        {"negative", -20061231, false},
        {"the null value", -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::Date field(c.value);
        EXPECT_EQ(c.isValid, field.IsValid() != 0);
        if (!c.isValid) {
            EXPECT_STREQ("", field.GetText());
            field.SetTextFlags(iType::Base::kTextShowInvalid | iType::Base::kTextShowNull);
            EXPECT_STREQ("", field.GetText()) << "the text flags take no part";
        }
    }
}

TEST(iTypeDate, CannotBeSetFromText)
{
    iType::Date field(20061231);
    const std::string text = field.GetText();
    EXPECT_EQ(0, field.SetText(text.c_str()));
    EXPECT_EQ(0, field.SetText("20070101"));
    EXPECT_EQ(20061231, field.Value());
}

TEST(iTypeDate, CopiesCarryTheWordsAndAssignTakesNoValue)
{
    CarryingDate source(nullptr, "when", "When");
    source = 20061231;
    source.SetCarried(5, 99);
    source.SetNullValue(19700101);
    source.SetDefaultValue(20000101);

    CarryingDate target(nullptr, "other", "Other");
    target = 20070101;
    target.Assign(source);
    EXPECT_EQ(20070101, target.Value());
    EXPECT_EQ(5, target.DateFlags());
    EXPECT_EQ(99, target.PictureItem());
    EXPECT_EQ(19700101, target.GetNullValue());
    EXPECT_EQ(20000101, target.GetDefaultValue());
    EXPECT_STREQ("when", target.GetName());

    CarryingDate assigned;
    EXPECT_EQ(0, assigned.DateFlags());
    EXPECT_EQ(LOCALE_SSHORTDATE, assigned.PictureItem());
    assigned = static_cast<const iType::Date&>(source);
    EXPECT_EQ(20061231, assigned.Value());
    EXPECT_EQ(5, assigned.DateFlags());
    EXPECT_EQ(99, assigned.PictureItem());
    EXPECT_EQ(-1, assigned.GetNullValue()) << "the value assignment leaves the null value";

    iType::Date copy(source);
    EXPECT_EQ(20061231, copy.Value());
    EXPECT_EQ(nullptr, copy.GetName());
    EXPECT_EQ(iMemory::kOwned, copy.GetKind());
}

TEST(iTypeDate, CreateAndCloneGiveANewDateHoldingTheNullValue)
{
    iType::Collection dates(nullptr, "dates", "Dates");
    iType::Date field(&dates, "when", "When");
    field = 20061231;
    EXPECT_EQ(&dates, field.GetParent());
    EXPECT_EQ(0, field.GetIndex());

    std::unique_ptr<iType::Base> created(field.Create());
    ASSERT_NE(nullptr, dynamic_cast<iType::Date*>(created.get()));
    EXPECT_STREQ("when", created->GetName());
    EXPECT_STREQ("When", created->GetDescription());
    EXPECT_EQ(nullptr, created->GetParent());
    EXPECT_EQ(-1, static_cast<iType::Date*>(created.get())->Value());

    field.SetDefaultValue(20000101);
    std::unique_ptr<iType::Base> clone(field.Clone());
    auto* date = dynamic_cast<iType::Date*>(clone.get());
    ASSERT_NE(nullptr, date);
    EXPECT_EQ(-1, date->Value());
    EXPECT_EQ(20000101, date->GetDefaultValue());
}

TEST(iTypeDate, ComparesAndLimitsAsANumber)
{
    iType::Date earlier(20061231);
    iType::Date later(20070101);
    EXPECT_EQ(-1, earlier.CompareTo(later));
    EXPECT_EQ(1, later.CompareTo(earlier));
    EXPECT_EQ(0, earlier.CompareValue(20061231));
    EXPECT_EQ(1, earlier.SetMinimum());
    EXPECT_EQ(LONG_MIN, earlier.Value());
    EXPECT_EQ(1, earlier.SetMaximum());
    EXPECT_EQ(LONG_MAX, earlier.Value());
}
