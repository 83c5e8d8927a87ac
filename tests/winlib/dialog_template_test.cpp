// In-memory dialog templates: the layout word by word, menus, titles, padding, and that
// the system makes a dialog from one with the caption and font it names.
#include "lib/src/Win2/Wnd/iDialogTemplate.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// The template as words, so a test reads it the way the system does.
std::vector<WORD> Words(const iDialogTemplate& dialogTemplate)
{
    const WORD* words = reinterpret_cast<const WORD*>(dialogTemplate.GetTemplate());
    return std::vector<WORD>(words, words + dialogTemplate.GetSize() / sizeof(WORD));
}

std::wstring TextAt(const std::vector<WORD>& words, size_t index)
{
    std::wstring text;
    while (index < words.size() && words[index] != 0)
        text += static_cast<wchar_t>(words[index++]);
    return text;
}

TEST(DialogTemplate, HeaderWordsInTheirOrder)
{
    const RECT rect = {10, 20, 410, 260};
    iDialogTemplate dialogTemplate(&rect, 0x80C80000, "Send", 0x00000008, 0);
    std::vector<WORD> w = Words(dialogTemplate);
    ASSERT_GE(w.size(), 11u);
    struct Field { const char* meaning; size_t index; WORD value; };
    const Field kFields[] = {
        {"style low", 0, 0x0000},       {"style high", 1, 0x80C8},
        {"ex style low", 2, 0x0008},    {"ex style high", 3, 0x0000},
        {"item count", 4, 0},           {"x", 5, 10},
        {"y", 6, 20},                   {"cx", 7, 400},
        {"cy", 8, 240},                 {"no menu", 9, 0},
        {"dialog class", 10, 0},
    };
    for (const Field& f : kFields) {
        SCOPED_TRACE(f.meaning);
        EXPECT_EQ(f.value, w[f.index]);
    }
    EXPECT_EQ(L"Send", TextAt(w, 11));
    EXPECT_EQ(8, w[11 + 5]);  // point size after "Send" and its terminator
    EXPECT_EQ(L"MS Sans Serif", TextAt(w, 11 + 6));
    // Exactly the items, padded to a double word.
    const size_t used = (11 + 5 + 1 + 14) * sizeof(WORD);
    EXPECT_EQ(0u, dialogTemplate.GetSize() % 4);
    EXPECT_GE(dialogTemplate.GetSize(), used);
    EXPECT_LT(dialogTemplate.GetSize(), used + 4);
}

TEST(DialogTemplate, MenuItemIsOneZeroWordOrAnId)
{
    struct Case { const char* why; int menu; std::vector<WORD> words; };
    const Case kCases[] = {
        {"no menu", 0, {0, 0}},
        {"-1 also means none", -1, {0, 0}},
        {"resource id", 101, {0xFFFF, 101, 0}},
        {"only the low word of the id", 0x10065, {0xFFFF, 0x65, 0}},
    };
    const RECT rect = {0, 0, 100, 50};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        iDialogTemplate dialogTemplate(&rect, WS_POPUP, "T", 0, c.menu);
        std::vector<WORD> w = Words(dialogTemplate);
        // menu word(s), then the class word 0, then the title.
        for (size_t i = 0; i < c.words.size(); ++i)
            EXPECT_EQ(c.words[i], w[9 + i]) << i;
        EXPECT_EQ(L"T", TextAt(w, 9 + c.words.size()));
    }
}

TEST(DialogTemplate, NullCaptionIsOneZeroWord)
{
    const RECT rect = {0, 0, 100, 50};
    iDialogTemplate dialogTemplate(&rect, WS_POPUP, nullptr, 0, 0);
    std::vector<WORD> w = Words(dialogTemplate);
    EXPECT_EQ(0, w[11]);
    EXPECT_EQ(8, w[12]);
    EXPECT_EQ(L"MS Sans Serif", TextAt(w, 13));
}

TEST(DialogTemplate, NegativePositionKeptAsShort)
{
    const RECT rect = {-5, -7, 95, 43};
    iDialogTemplate dialogTemplate(&rect, WS_POPUP, "", 0, 0);
    std::vector<WORD> w = Words(dialogTemplate);
    EXPECT_EQ(-5, static_cast<short>(w[5]));
    EXPECT_EQ(-7, static_cast<short>(w[6]));
    EXPECT_EQ(100, w[7]);
    EXPECT_EQ(50, w[8]);
}

TEST(DialogTemplate, EmptyUntilBuiltAndRebuildReplaces)
{
    iDialogTemplate dialogTemplate;
    EXPECT_EQ(nullptr, dialogTemplate.GetTemplate());
    EXPECT_EQ(0u, dialogTemplate.GetSize());

    const RECT rect = {0, 0, 100, 50};
    dialogTemplate.Build(&rect, WS_POPUP, "A much longer first caption", 0, 0);
    const size_t firstSize = dialogTemplate.GetSize();
    dialogTemplate.Build(&rect, WS_POPUP, "B", 0, 0);
    EXPECT_LT(dialogTemplate.GetSize(), firstSize);
    EXPECT_EQ(L"B", TextAt(Words(dialogTemplate), 11));
}

// The system must accept the template: a dialog made from it carries the caption and,
// with DS_SETFONT, the template's typeface.
TEST(DialogTemplate, SystemCreatesTheDialogItDescribes)
{
    const RECT rect = {0, 0, 200, 100};
    iDialogTemplate dialogTemplate(&rect, WS_POPUP | WS_CAPTION | DS_SETFONT, "Made in memory", 0, 0);
    HWND dialog = ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr), dialogTemplate.GetTemplate(), nullptr,
                                               [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(nullptr, dialog);
    char caption[64] = {};
    ::GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ("Made in memory", caption);
    auto font = reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font);
    LOGFONTA logFont = {};
    ASSERT_NE(0, ::GetObjectA(font, sizeof logFont, &logFont));
    EXPECT_STREQ("MS Sans Serif", logFont.lfFaceName);
    // 200 by 100 dialog units are larger than 200 by 100 pixels with this font.
    RECT client = {};
    ::GetClientRect(dialog, &client);
    EXPECT_GT(client.right, 200);
    ::DestroyWindow(dialog);
}

} // namespace
