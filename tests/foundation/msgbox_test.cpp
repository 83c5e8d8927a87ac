// Message boxes: the formatted text, the kind, the caller's buttons, the caption
// and the owner reach the show function, and its answer comes back.
#include "lib/src/MsgBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Shown {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT style = 0;
    int count = 0;
};
Shown g_shown;
int g_answer = IDOK;

int Record(HWND owner, const char* text, const char* caption, UINT style)
{
    g_shown.owner = owner;
    g_shown.text = text;
    g_shown.caption = caption ? caption : "";
    g_shown.style = style;
    ++g_shown.count;
    return g_answer;
}

class MsgBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_shown = Shown();
        g_answer = IDOK;
        m_previous = SetMsgBoxShowFunction(Record);
    }
    void TearDown() override { SetMsgBoxShowFunction(m_previous); }

private:
    MsgBoxShowFunction m_previous = nullptr;
};

} // namespace

TEST_F(MsgBoxTest, EachKindShowsItsIconWithTheCallersButtons)
{
    HWND owner = reinterpret_cast<HWND>(0x1234);
    MsgBox(0, "Plain", owner, "%d files", 3);
    EXPECT_EQ(0u, g_shown.style);
    EXPECT_EQ("3 files", g_shown.text);
    EXPECT_EQ("Plain", g_shown.caption);
    EXPECT_EQ(owner, g_shown.owner);

    MsgBoxExclamation(MB_OKCANCEL, "Error", nullptr, "Error loading file %s", "a.bmp");
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION | MB_OKCANCEL), g_shown.style);
    EXPECT_EQ("Error loading file a.bmp", g_shown.text);

    MsgBoxQuestion(MB_YESNO, "Question", nullptr, "Overwrite original?");
    EXPECT_EQ(static_cast<UINT>(MB_ICONQUESTION | MB_YESNO), g_shown.style);

    MsgBoxStop(0, "Error", nullptr, "%s: %lu", "engine", 42ul);
    EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), g_shown.style);
    EXPECT_EQ("engine: 42", g_shown.text);
    EXPECT_EQ(4, g_shown.count);
}

TEST_F(MsgBoxTest, ReturnsTheButtonPressed)
{
    g_answer = IDYES;
    EXPECT_EQ(IDYES, MsgBoxQuestion(MB_YESNO, "Question", nullptr, "Save?"));
    g_answer = IDNO;
    EXPECT_EQ(IDNO, MsgBoxQuestion(MB_YESNO, "Question", nullptr, "Save?"));
}

TEST_F(MsgBoxTest, LongTextIsCutAt2047Characters)
{
    std::string longText(5000, 'x');
    MsgBox(0, "Long", nullptr, "%s", longText.c_str());
    EXPECT_EQ(std::string(2047, 'x'), g_shown.text);
    std::string fits(2047, 'y');
    MsgBox(0, "Fits", nullptr, "%s", fits.c_str());
    EXPECT_EQ(fits, g_shown.text);
}

TEST_F(MsgBoxTest, NullFormatShowsAnEmptyText)
{
    const char* noFormat = nullptr;
    MsgBoxStop(0, "Error", nullptr, noFormat);
    EXPECT_EQ(1, g_shown.count);
    EXPECT_EQ("", g_shown.text);
    EXPECT_EQ("Error", g_shown.caption);
}

TEST_F(MsgBoxTest, PercentSignsInArgumentsAreNotFormattedAgain)
{
    MsgBox(0, "t", nullptr, "%s", "100%s done %d");
    EXPECT_EQ("100%s done %d", g_shown.text);
}
