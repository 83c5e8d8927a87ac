// The "New Dimensions" panel on the real workspace: the size and resolution typed or
// shown in each unit, kept proportions, emptied edits, zero, and the guards that keep
// the view's own writes from being read back as typing.
#include "workspace_test_support.h"

#include "lib/src/Win2/Wnd/iCheckBox.h"

#include <gtest/gtest.h>

#include <string>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace dimensions_test {
namespace {

using workspace_test::WorkspaceTest;

class Dimensions : public WorkspaceTest {
protected:
    // A 1000 x 500 image at the resolution, selected and opened.
    void OpenThousandByFiveHundred(int resolution = 300)
    {
        OpenImage(MakeImage("wide.bmp", 1000, 500, imaging::kFormatBmp, resolution));
    }
};

TEST_F(Dimensions, ASelectedFileResetsTheInputsToItsOwnSize)
{
    OpenThousandByFiveHundred();
    EXPECT_EQ("100", Text(m_workspace->GetWidthEdit()));
    EXPECT_EQ("100", Text(m_workspace->GetHeightEdit()));
    EXPECT_STREQ("Percent", m_workspace->GetWidthUnit()->GetSelectedText());
    EXPECT_STREQ("Percent", m_workspace->GetHeightUnit()->GetSelectedText());
    EXPECT_EQ("300", Text(m_workspace->GetResolutionEdit()));
    EXPECT_STREQ("Pixels/inch", m_workspace->GetResolutionUnit()->GetSelectedText());
    EXPECT_EQ(1000, m_workspace->GetNewWidth());
    EXPECT_EQ(500, m_workspace->GetNewHeight());
    EXPECT_EQ(300, m_workspace->GetNewResolution());
}

// One row: units chosen, then a value typed into one edit (or a unit switched); what the
// view holds and shows afterwards. R = 300 pixels per inch, 1000 x 500 pixels.
struct ConversionCase {
    const char* why;
    DWORD widthUnit;
    const char* typedWidth;  // null: nothing typed
    DWORD switchWidthTo;     // ~0u: no switch after typing
    double newWidth;
    double newHeight;
    const char* widthShows;
    const char* heightShows;
};

constexpr DWORD kNoSwitch = ~0u;

const ConversionCase kConversions[] = {
    {"50 percent halves both sides; the height follows in its own unit", Workspace::kPercent, "50", kNoSwitch, 500,
     250, "50", "50.00"},
    {"4 inches at 300 pixels per inch", Workspace::kInch, "4", kNoSwitch, 1200, 600, "4", "120.00"},
    {"1500 pixels shown in inches", Workspace::kPixels, "1500", Workspace::kInch, 1500, 750, "5.000", "150.00"},
    {"1500 pixels shown in centimetres", Workspace::kPixels, "1500", Workspace::kCentimetre, 1500, 750, "12.70",
     "150.00"},
    {"1500 pixels shown in points", Workspace::kPixels, "1500", Workspace::kPoints, 1500, 750, "360", "150.00"},
    {"1500 pixels shown in picas", Workspace::kPixels, "1500", Workspace::kPicas, 1500, 750, "30.00", "150.00"},
    {"254 centimetres", Workspace::kCentimetre, "254", kNoSwitch, 30000, 15000, "254", "3000.00"},
    {"60 picas are 10 inches", Workspace::kPicas, "60", kNoSwitch, 3000, 1500, "60", "300.00"},
    {"72 points are an inch", Workspace::kPoints, "72", kNoSwitch, 300, 150, "72", "30.00"},
    {"an emptied percent edit is the original size, not its square / 100", Workspace::kPercent, "", kNoSwitch, 1000,
     500, "", "100.00"},
    {"an emptied pixel edit is the original size", Workspace::kPixels, "", kNoSwitch, 1000, 500, "", "100.00"},
    {"an emptied inch edit is the original size", Workspace::kInch, "", kNoSwitch, 1000, 500, "", "100.00"},
    {"an emptied point edit is the original size", Workspace::kPoints, "", kNoSwitch, 1000, 500, "", "100.00"},
    {"0 typed is 0 pixels (Resize refuses it)", Workspace::kPixels, "0", kNoSwitch, 0, 0, "0", "0.00"},
};

TEST_F(Dimensions, WidthTypedInEachUnitConvertsAndTheHeightFollows)
{
    OpenThousandByFiveHundred();
    for (const ConversionCase& c : kConversions) {
        SCOPED_TRACE(c.why);
        m_workspace->ShowFileInfo();
        Choose(m_workspace->GetWidthUnit(), c.widthUnit);
        Type(m_workspace->GetWidthEdit(), c.typedWidth);
        if (c.switchWidthTo != kNoSwitch)
            Choose(m_workspace->GetWidthUnit(), c.switchWidthTo);
        EXPECT_NEAR(c.newWidth, m_workspace->GetNewWidth(), 1e-9);
        EXPECT_NEAR(c.newHeight, m_workspace->GetNewHeight(), 1e-9);
        EXPECT_EQ(c.widthShows, Text(m_workspace->GetWidthEdit()));
        EXPECT_EQ(c.heightShows, Text(m_workspace->GetHeightEdit()));
    }
}

TEST_F(Dimensions, TheHeightWrittenByTheViewIsNotReadBackAsTyping)
{
    OpenThousandByFiveHundred();
    Choose(m_workspace->GetHeightUnit(), Workspace::kInch);
    // 1234 pixels wide makes 617 pixels high, shown as 2.057 inches; read back as typing
    // it would become 2 inches, 600 pixels, and the width would follow to 1200.
    Choose(m_workspace->GetWidthUnit(), Workspace::kPixels);
    Type(m_workspace->GetWidthEdit(), "1234");
    EXPECT_EQ(1234, m_workspace->GetNewWidth());
    EXPECT_EQ(617, m_workspace->GetNewHeight());
    EXPECT_EQ("2.057", Text(m_workspace->GetHeightEdit()));

    // The same the other way round.
    Type(m_workspace->GetHeightEdit(), "1");
    EXPECT_EQ(300, m_workspace->GetNewHeight());
    EXPECT_EQ(600, m_workspace->GetNewWidth());
    EXPECT_EQ("600", Text(m_workspace->GetWidthEdit()));
}

TEST_F(Dimensions, WithoutProportionsTheOtherSideStaysAsItWas)
{
    OpenThousandByFiveHundred();
    m_workspace->GetProportions()->SetCheck(BST_UNCHECKED);
    Type(m_workspace->GetWidthEdit(), "50");
    EXPECT_EQ(500, m_workspace->GetNewWidth());
    EXPECT_EQ(500, m_workspace->GetNewHeight());
    EXPECT_EQ("100", Text(m_workspace->GetHeightEdit()));
}

// One side typed, then left with Tab: both sides show their numbers in their unit's
// format. R = 300 pixels per inch, 1000 x 500 pixels.
struct LeftCase {
    const char* why;
    DWORD widthUnit;
    DWORD heightUnit;
    bool typesHeight;  // else the width
    const char* typed;
    const char* widthShows;
    const char* heightShows;
};

const LeftCase kLeftCases[] = {
    {"200 percent typed in the width", Workspace::kPercent, Workspace::kPercent, false, "200", "200.00", "200.00"},
    {"50 percent typed in the height", Workspace::kPercent, Workspace::kPercent, true, "50", "50.00", "50.00"},
    {"4 inches wide", Workspace::kInch, Workspace::kInch, false, "4", "4.000", "2.000"},
    {"whole pixels stay whole", Workspace::kPixels, Workspace::kPixels, true, "250", "500", "250"},
    {"leading zeros go", Workspace::kPixels, Workspace::kPercent, false, "0600", "600", "60.00"},
    {"an emptied edit shows the size it stands for", Workspace::kPercent, Workspace::kPercent, false, "", "100.00",
     "100.00"},
};

TEST_F(Dimensions, ATypedSideTakesItsUnitsFormatOnceLeftSoBothSidesShowAlike)
{
    OpenThousandByFiveHundred();
    for (const LeftCase& c : kLeftCases) {
        SCOPED_TRACE(c.why);
        m_workspace->ShowFileInfo();
        Choose(m_workspace->GetWidthUnit(), c.widthUnit);
        Choose(m_workspace->GetHeightUnit(), c.heightUnit);
        iEdit* typedInto = c.typesHeight ? m_workspace->GetHeightEdit() : m_workspace->GetWidthEdit();
        typedInto->SetFocus();
        Type(typedInto, c.typed);
        EXPECT_EQ(c.typed, Text(typedInto)) << "nothing changes under the user's typing";
        const double newWidth = m_workspace->GetNewWidth();
        PressKey(VK_TAB);
        EXPECT_EQ(c.widthShows, Text(m_workspace->GetWidthEdit()));
        EXPECT_EQ(c.heightShows, Text(m_workspace->GetHeightEdit()));
        EXPECT_EQ(newWidth, m_workspace->GetNewWidth()) << "the new text is not read back as typing";
    }
}

TEST_F(Dimensions, AnEditOnlyPassedThroughKeepsItsText)
{
    OpenThousandByFiveHundred();
    m_workspace->GetWidthEdit()->SetFocus();
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    EXPECT_EQ("100", Text(m_workspace->GetWidthEdit()));
    EXPECT_EQ("100", Text(m_workspace->GetHeightEdit()));
    // Typed, then the sizes shown afresh by Reset: the text is the view's again.
    m_workspace->GetWidthEdit()->SetFocus();
    Type(m_workspace->GetWidthEdit(), "200");
    Click(m_workspace->GetResetButton());
    PressKey(VK_TAB);
    EXPECT_EQ("100", Text(m_workspace->GetWidthEdit()));
    EXPECT_EQ("100", Text(m_workspace->GetHeightEdit()));
}

TEST_F(Dimensions, SwitchingAUnitOnlyChangesWhatIsShown)
{
    OpenThousandByFiveHundred();
    Choose(m_workspace->GetHeightUnit(), Workspace::kCentimetre);
    EXPECT_EQ("4.23", Text(m_workspace->GetHeightEdit()));
    EXPECT_EQ(500, m_workspace->GetNewHeight());
    EXPECT_EQ(1000, m_workspace->GetNewWidth());
    EXPECT_EQ("100", Text(m_workspace->GetWidthEdit()));
}

TEST_F(Dimensions, TheResolutionInPixelsPerInchOrPerCentimetre)
{
    OpenThousandByFiveHundred();
    Choose(m_workspace->GetResolutionUnit(), Workspace::kPixelsPerCentimetre);
    EXPECT_EQ("118.110", Text(m_workspace->GetResolutionEdit()));
    EXPECT_EQ(300, m_workspace->GetNewResolution());

    Type(m_workspace->GetResolutionEdit(), "100");
    EXPECT_DOUBLE_EQ(254, m_workspace->GetNewResolution());
    // The sizes keep their pixels and are not rewritten.
    EXPECT_EQ(1000, m_workspace->GetNewWidth());
    EXPECT_EQ("100", Text(m_workspace->GetWidthEdit()));

    // Emptied, it is the file's resolution, not 300 pixels per centimetre.
    Type(m_workspace->GetResolutionEdit(), "");
    EXPECT_EQ(300, m_workspace->GetNewResolution());

    Choose(m_workspace->GetResolutionUnit(), Workspace::kPixelsPerInch);
    EXPECT_EQ("300.000", Text(m_workspace->GetResolutionEdit()));
}

TEST_F(Dimensions, AResolutionBelowOneIsNotTaken)
{
    OpenThousandByFiveHundred();
    Type(m_workspace->GetResolutionEdit(), "150");
    Type(m_workspace->GetResolutionEdit(), "0");
    EXPECT_EQ(150, m_workspace->GetNewResolution());
    // Physical units still convert with the last usable resolution.
    Choose(m_workspace->GetWidthUnit(), Workspace::kInch);
    EXPECT_EQ("6.667", Text(m_workspace->GetWidthEdit()));
}

// The image keeps its resolution as a whole number of pixels per inch: one past the
// largest it can hold is not taken, like one below 1.
TEST_F(Dimensions, AResolutionPastTheLargestTheImageKeepsIsNotTaken)
{
    OpenThousandByFiveHundred();
    Choose(m_workspace->GetResolutionUnit(), Workspace::kPixelsPerCentimetre);
    // 845,466,002 per cm is 2,147,483,645.08 per inch; one more is past 2,147,483,647.
    Type(m_workspace->GetResolutionEdit(), "845466002");
    EXPECT_DOUBLE_EQ(845466002 * 2.54, m_workspace->GetNewResolution());
    Type(m_workspace->GetResolutionEdit(), "845466003");
    EXPECT_DOUBLE_EQ(845466002 * 2.54, m_workspace->GetNewResolution());
    // Past the reader's range: read as its largest number, which is too many per cm.
    Type(m_workspace->GetResolutionEdit(), "99999999999");
    EXPECT_DOUBLE_EQ(845466002 * 2.54, m_workspace->GetNewResolution());

    Choose(m_workspace->GetResolutionUnit(), Workspace::kPixelsPerInch);
    Type(m_workspace->GetResolutionEdit(), "99999999999");
    EXPECT_EQ(2147483647, m_workspace->GetNewResolution()) << "per inch, the reader's largest fits";
}

TEST_F(Dimensions, AFileWithoutAResolutionConvertsWithTheLibrarysDefault)
{
    // A PCX whose resolution fields are 0: the library reports its default for it.
    OpenImage(MakeImage("no_resolution.pcx", 192, 96, imaging::kFormatPcx, 0));
    const int resolution = m_workspace->GetFileInfo().GetInfo().xResolution;
    ASSERT_GT(resolution, 0);
    EXPECT_EQ(std::to_string(resolution), Text(m_workspace->GetResolutionEdit()));
    Choose(m_workspace->GetWidthUnit(), Workspace::kInch);
    EXPECT_NEAR(192.0 / resolution, std::stod(Text(m_workspace->GetWidthEdit())), 0.001);
}

TEST_F(Dimensions, NothingHappensBeforeAFileIsShown)
{
    // No file: the handlers have no original size and leave the view alone.
    Type(m_workspace->GetWidthEdit(), "50");
    EXPECT_EQ(0, m_workspace->GetNewWidth());
    EXPECT_EQ("", Text(m_workspace->GetHeightEdit()));
}

} // namespace
} // namespace dimensions_test
