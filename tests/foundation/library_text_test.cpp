// The built-in text table: texts by id, the hook, the null mode, and the rotating
// fallback buffers of missing ids, which are kept apart per thread.
#include "lib/src/LibraryText.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

TEST(LibraryText, ReturnsTheTableTexts)
{
    struct Case { unsigned id; const char* text; };
    const Case cases[] = {
        {0, "?"}, {3, "NONE"}, {4, "SOME"}, {5, "ALL"}, {9, "Sorry not implemented yet!"},
        {10, "January"}, {21, "December"}, {23, "Exit"}, {48, "Could not create or open file"},
        {63, ""}, {90, ".INI File"}, {93, ".INI file will be in same directory as program file."},
        {103, "File %s already exists.\nAppend new data?"}, {145, "Delete"}, {167, "Off"},
        {170, "Sunday"}, {176, "Saturday"}, {351, "Fla&g+Id"}, {420, "Device & Port"}, {442, "Date"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const char* text = LibraryText(c.id);
        ASSERT_NE(nullptr, text);
        EXPECT_STREQ(c.text, text);
    }
}

TEST(LibraryText, HoldsExactly208Texts)
{
    // Catches a dropped or misplaced row: only listed ids hold a text.
    int previous = SetLibraryTextMissingNull(1);
    int present = 0;
    for (unsigned id = 0; id < 450; ++id)
        present += LibraryText(id) ? 1 : 0;
    SetLibraryTextMissingNull(previous);
    EXPECT_EQ(208, present);
}

TEST(LibraryText, MissingIdsGiveTheIdInBrackets)
{
    EXPECT_STREQ("[       22 ]", LibraryText(22));
    EXPECT_STREQ("[      450 ]", LibraryText(450));
    EXPECT_STREQ("[ 4294967295 ]", LibraryText(0xFFFFFFFFu));
}

TEST(LibraryText, FallbackTextSurvivesThreeMoreMissingLookups)
{
    const char* first = LibraryText(22);
    std::string kept = first;
    const char* second = LibraryText(1000);
    const char* third = LibraryText(1001);
    const char* fourth = LibraryText(1002);
    EXPECT_EQ(kept, first);
    EXPECT_NE(first, second);
    EXPECT_NE(first, third);
    EXPECT_NE(first, fourth);
    EXPECT_EQ(first, LibraryText(1003));  // the fifth reuses the first buffer
    EXPECT_STREQ("[     1003 ]", first);
}

TEST(LibraryText, ThreadsHaveTheirOwnFallbackBuffers)
{
    const char* mine = LibraryText(22);
    const char* theirs = nullptr;
    std::thread worker([&] {
        for (unsigned id = 2000; id < 2010; ++id)
            theirs = LibraryText(id);
    });
    worker.join();
    EXPECT_STREQ("[       22 ]", mine);
    EXPECT_NE(mine, theirs);
}

namespace {
const char* Hook(unsigned id)
{
    return id == 1 ? "Ja" : nullptr;
}
} // namespace

TEST(LibraryText, HookIsAskedFirstAndNullFallsThrough)
{
    LibraryTextHook previous = SetLibraryTextHook(Hook);
    EXPECT_STREQ("Ja", LibraryText(1));
    EXPECT_STREQ("No", LibraryText(2));
    SetLibraryTextHook(previous);
    EXPECT_STREQ("Yes", LibraryText(1));
}

TEST(LibraryText, NullModeAnswersMissingIdsWithNull)
{
    int previous = SetLibraryTextMissingNull(1);
    EXPECT_EQ(nullptr, LibraryText(22));
    EXPECT_STREQ("", LibraryText(63));  // an empty text is a text
    SetLibraryTextMissingNull(previous);
    EXPECT_NE(nullptr, LibraryText(22));
}
