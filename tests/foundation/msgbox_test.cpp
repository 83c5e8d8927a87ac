// Message boxes: the formatted text, the kind, the caller's buttons, the caption
// and the owner reach the show function, and its answer comes back.
#include "lib/src/MsgBox.h"

#include "msgbox_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every test's boxes are kept and answered with IDOK unless it says otherwise.
class MsgBoxTest : public ::testing::Test {
protected:
    foundation_test::ShownBox Last() const { return m_boxes.Last(); }
    size_t Count() const { return m_boxes.Boxes().size(); }

    foundation_test::CapturedBoxes m_boxes;
};

} // namespace

TEST_F(MsgBoxTest, EachKindShowsItsIconWithTheCallersButtons)
{
    HWND owner = reinterpret_cast<HWND>(0x1234);
    MsgBox(0, "Plain", owner, "%d files", 3);
    EXPECT_EQ(0u, Last().style);
    EXPECT_EQ("3 files", Last().text);
    EXPECT_EQ("Plain", Last().caption);
    EXPECT_EQ(owner, Last().owner);

    MsgBoxExclamation(MB_OKCANCEL, "Error", nullptr, "Error loading file %s", "a.bmp");
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION | MB_OKCANCEL), Last().style);
    EXPECT_EQ("Error loading file a.bmp", Last().text);

    MsgBoxQuestion(MB_YESNO, "Question", nullptr, "Overwrite original?");
    EXPECT_EQ(static_cast<UINT>(MB_ICONQUESTION | MB_YESNO), Last().style);

    MsgBoxStop(0, "Error", nullptr, "%s: %lu", "engine", 42ul);
    EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), Last().style);
    EXPECT_EQ("engine: 42", Last().text);
    EXPECT_EQ(4u, Count());
}

TEST_F(MsgBoxTest, ReturnsTheButtonPressed)
{
    m_boxes.SetAnswer(IDYES);
    EXPECT_EQ(IDYES, MsgBoxQuestion(MB_YESNO, "Question", nullptr, "Save?"));
    m_boxes.SetAnswer(IDNO);
    EXPECT_EQ(IDNO, MsgBoxQuestion(MB_YESNO, "Question", nullptr, "Save?"));
}

TEST_F(MsgBoxTest, LongTextIsCutAt2047Characters)
{
    std::string longText(5000, 'x');
    MsgBox(0, "Long", nullptr, "%s", longText.c_str());
    EXPECT_EQ(std::string(2047, 'x'), Last().text);
    std::string fits(2047, 'y');
    MsgBox(0, "Fits", nullptr, "%s", fits.c_str());
    EXPECT_EQ(fits, Last().text);
}

TEST_F(MsgBoxTest, NullFormatShowsAnEmptyText)
{
    const char* noFormat = nullptr;
    MsgBoxStop(0, "Error", nullptr, noFormat);
    EXPECT_EQ(1u, Count());
    EXPECT_EQ("", Last().text);
    EXPECT_EQ("Error", Last().caption);
}

TEST_F(MsgBoxTest, PercentSignsInArgumentsAreNotFormattedAgain)
{
    MsgBox(0, "t", nullptr, "%s", "100%s done %d");
    EXPECT_EQ("100%s done %d", Last().text);
}
