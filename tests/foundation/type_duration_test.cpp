// Duration fields: seconds and the decimal form shown through pictures, zero
// suppression by the format flags, pictures copied by Assign, and a picture longer
// than the date and time scratch buffer cut rather than written past it.
#include "lib/src/DateTime.h"
#include "lib/src/iTypeDuration.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Duration kinds whose picture and format flags a test can set and read.
class PicturedDeltaTime : public iType::DeltaTime {
public:
    using DeltaTime::DeltaTime;
    using DeltaTime::operator=;
    void SetPicture(const char* picture) { ReplaceText(m_picture, picture); }
    void SetFormatFlags(long flags) { m_formatFlags = flags; }
    long FormatFlags() const { return m_formatFlags; }
    long Carried4() const { return m_carried4; }
    void SetCarried4(long value) { m_carried4 = value; }
};

class PicturedDeltaTimeBCD : public iType::DeltaTimeBCD {
public:
    using DeltaTimeBCD::DeltaTimeBCD;
    using DeltaTimeBCD::operator=;
    void SetPicture(const char* picture) { ReplaceText(m_picture, picture); }
};

} // namespace

TEST(iTypeDeltaTime, ShowsSecondsAsHoursAndMinutesWithoutLeadingZeros)
{
    struct Case { const char* why; long seconds; const char* expected; };
    const Case cases[] = {
        {"an hour and a half", 5400, "  1:30"},
        {"zero, the null value, still shown", 0, "   :00"},
        {"100 hours", 360000, "100:00"},
        {"1000 hours lose their thousands", 3600000, "   :00"},
        {"negative without a sign position", -90, "   :01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::DeltaTime field(c.seconds);
        EXPECT_STREQ(c.expected, field.GetText());
    }
    iType::DeltaTime field(nullptr, "wait", "Wait");
    EXPECT_EQ(0, field.Value());
    EXPECT_EQ(2u, field.GetAttributes());
}

TEST(iTypeDeltaTime, PictureOfAnyLength)
{
    PicturedDeltaTime field(-3725);
    field.SetPicture("-HHH:MM:SS");
    EXPECT_STREQ("  -1:02:05", field.GetText());

    // The text lives in the scratch text ring, sized to the picture.
    const std::string tail(80, '.');
    field.SetPicture(("HH:MM" + tail).c_str());
    EXPECT_EQ(" 1:02" + tail, field.GetText());
}

TEST(iTypeDeltaTimeBCD, DefaultPictureAndSuppressionFollowTheFlags)
{
    struct Case { const char* why; long value; long flags; const char* expected; };
    const Case cases[] = {
        {"initial flags suppress zeros", 13000, 8, " 1:30:00"},
        {"flag 2 drops the seconds", 13000, 10, " 1:30"},
        {"no flags", 13000, 0, "01:30:00"},
        {"negative without a sign position", -13000, 8, " 1:30:00"},
        {"zero", 0, 8, "  :00:00"},
        {"100 hours cut to the picture", 1000000, 0, "00:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iType::DeltaTimeBCD field(c.value, c.flags);
        EXPECT_STREQ(c.expected, field.GetText());
    }
    iType::DeltaTimeBCD field(nullptr, "pause", "Pause");
    EXPECT_EQ(0, field.Value());
    EXPECT_EQ(iType::DeltaTimeBCD::kSuppressZeros, field.GetFormatFlags());
}

TEST(iTypeDeltaTimeBCD, PictureLongerThanTheScratchBufferIsCut)
{
    std::vector<char*> ring;
    for (int i = 0; i < 8; ++i) {
        ring.push_back(NextDateTimeBuffer());
        strcpy(ring.back(), "kept");
    }
    PicturedDeltaTimeBCD field(-13000, 0);
    const std::string tail(60, '.');
    field.SetPicture(("-HH:MM" + tail).c_str());
    const char* text = field.GetText();
    EXPECT_EQ("-01:30" + tail.substr(0, kDateTimeBufferSize - 1 - 6), text);
    for (char* other : ring) {
        if (other != text) {
            EXPECT_STREQ("kept", other);
        }
    }
}

TEST(iTypeDuration, AssignCopiesPicturesAndTheWordsOfTheKind)
{
    auto bcdSource = std::make_unique<PicturedDeltaTimeBCD>(0, 2);
    bcdSource->SetPicture("+HH:MM");
    iType::DeltaTimeBCD bcdTarget(13000, 8);
    bcdTarget.Assign(*bcdSource);
    bcdSource.reset();  // the target owns its own copy of the picture
    EXPECT_EQ(2, bcdTarget.GetFormatFlags());
    EXPECT_EQ(13000, bcdTarget.Value());
    EXPECT_STREQ("+01:30", bcdTarget.GetText());

    auto source = std::make_unique<PicturedDeltaTime>(0);
    source->SetPicture("-HH:MM:SS");
    source->SetFormatFlags(4);
    source->SetCarried4(3600);
    PicturedDeltaTime target(-3725);
    target.SetFormatFlags(1);
    target.Assign(*source);
    source.reset();
    EXPECT_EQ(1, target.FormatFlags()) << "DeltaTime keeps its own format flags";
    EXPECT_EQ(3600, target.Carried4());
    EXPECT_STREQ(" -1:02:05", target.GetText());

    std::unique_ptr<iType::Base> clone(target.Clone());
    auto* cloned = dynamic_cast<iType::DeltaTime*>(clone.get());
    ASSERT_NE(nullptr, cloned);
    EXPECT_EQ(0, cloned->Value());
    EXPECT_STREQ("   :00:00", cloned->GetText()) << "the clone has the picture";
}

TEST(iTypeDuration, CopiesTakeTheValueAndTheBCDFlags)
{
    iType::DeltaTimeBCD bcd(13000, 2);
    iType::DeltaTimeBCD bcdCopy(bcd);
    EXPECT_EQ(13000, bcdCopy.Value());
    EXPECT_EQ(2, bcdCopy.GetFormatFlags());

    iType::DeltaTimeBCD bcdAssigned(0, 8);
    bcdAssigned = bcd;
    EXPECT_EQ(13000, bcdAssigned.Value());
    EXPECT_EQ(8, bcdAssigned.GetFormatFlags()) << "the value assignment takes the value only";

    iType::DeltaTime seconds(5400);
    iType::DeltaTime secondsCopy(seconds);
    EXPECT_EQ(5400, secondsCopy.Value());

    std::unique_ptr<iType::Base> created(bcd.Create());
    auto* fresh = dynamic_cast<iType::DeltaTimeBCD*>(created.get());
    ASSERT_NE(nullptr, fresh);
    EXPECT_EQ(0, fresh->Value());
    EXPECT_EQ(iType::DeltaTimeBCD::kSuppressZeros, fresh->GetFormatFlags());
}

TEST(iTypeDuration, AlwaysValidNoLimitsNoParsing)
{
    iType::DeltaTime seconds(5400);
    iType::DeltaTimeBCD bcd(13000, 8);
    for (iType::Base* field : {static_cast<iType::Base*>(&seconds), static_cast<iType::Base*>(&bcd)}) {
        EXPECT_TRUE(field->IsValid());
        EXPECT_EQ(0, field->SetText("02:00"));
        EXPECT_EQ(0, field->SetMinimum());
        EXPECT_EQ(0, field->SetMaximum());
    }
    EXPECT_EQ(5400, seconds.Value());
    EXPECT_EQ(13000, bcd.Value());

    iType::DeltaTimeBCD shorter(5959, 8);
    EXPECT_EQ(1, bcd.CompareTo(shorter));
    EXPECT_EQ(-1, shorter.CompareTo(bcd));
}
