// Bitmaps loaded in the system's button colours: colour-table and true-colour images,
// the two-colour form, the replacement order, and headers of every shape with their
// sizes checked against the resource.
#include "toolkit/foundation/QZSysColorBitmap.h"

#include "sys_color_bitmaps.h"
#include "toolkit_test_support.h"

#include <array>

using toolkit_test::SysColorScope;

namespace {

constexpr COLORREF kText = RGB(10, 20, 30);
constexpr COLORREF kShadow = RGB(40, 50, 60);
constexpr COLORREF kFace = RGB(70, 80, 90);
constexpr COLORREF kHighlight = RGB(100, 110, 120);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

using Row = std::array<COLORREF, 5>;

HBITMAP Load(UINT id, BOOL mono)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    EXPECT_NE(nullptr, resource) << "fixture " << id;
    return resource ? QZLoadSysColorBitmap(module, resource, mono) : nullptr;
}

Row PixelsOf(HBITMAP bitmap)
{
    Row row = {};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    for (int x = 0; x < 5; ++x)
        row[x] = GetPixel(dc, x, 0);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return row;
}

class SysColorBitmapTest : public ::testing::Test {
protected:
    SysColorScope colours{
        {COLOR_BTNTEXT, kText}, {COLOR_BTNSHADOW, kShadow}, {COLOR_BTNFACE, kFace}, {COLOR_BTNHIGHLIGHT, kHighlight}};
};

} // namespace

TEST_F(SysColorBitmapTest, StandardColoursBecomeTheButtonColoursWhateverTheHeader)
{
    struct Case {
        const char* why;
        UINT id;
        Row expected;
    };
    const Row mapped = {kText, kShadow, kFace, kHighlight, kRed};
    const Case cases[] = {
        {"4-bit, full colour table", IDB_FOUR_BIT_FULL_TABLE, mapped},
        {"8-bit with a table of 5 (colours used)", IDB_EIGHT_BIT_SHORT_TABLE, mapped},
        {"24-bit: replaced through masks", IDB_TWENTY_FOUR_BIT, mapped},
        {"32-bit with the three masks after the header", IDB_THIRTY_TWO_BIT_BITFIELDS, mapped},
        {"16-bit 565 with masks: black and white map, red stays", IDB_SIXTEEN_BIT_BITFIELDS,
         {kText, kHighlight, kRed, kText, kHighlight}},
        {"a version 5 header of 124 bytes", IDB_V5_HEADER_SHORT_TABLE, mapped},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        HBITMAP bitmap = Load(c.id, FALSE);
        ASSERT_NE(nullptr, bitmap);
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(5, info.bmWidth);
        EXPECT_EQ(1, info.bmHeight);
        EXPECT_EQ(c.expected, PixelsOf(bitmap));
        DeleteObject(bitmap);
    }
}

TEST_F(SysColorBitmapTest, TwoColourFormKeepsBlackAndWhitensTheOtherThree)
{
    const Row expected = {kBlack, kWhite, kWhite, kWhite, kRed};
    for (UINT id : {IDB_FOUR_BIT_FULL_TABLE, IDB_TWENTY_FOUR_BIT}) {
        SCOPED_TRACE(id);
        HBITMAP bitmap = Load(id, TRUE);
        ASSERT_NE(nullptr, bitmap);
        EXPECT_EQ(expected, PixelsOf(bitmap));
        DeleteObject(bitmap);
    }
}

TEST(SysColorBitmapOrder, TrueColourReplacementsRunInTableOrderOnTheChangedImage)
{
    // Button text in pure white: the black pixels turn white first, then white turns
    // into the highlight colour with the white ones. A table image maps each entry once.
    SysColorScope colours{
        {COLOR_BTNTEXT, kWhite}, {COLOR_BTNSHADOW, kShadow}, {COLOR_BTNFACE, kFace}, {COLOR_BTNHIGHLIGHT, kHighlight}};
    HBITMAP trueColour = Load(IDB_TWENTY_FOUR_BIT, FALSE);
    HBITMAP table = Load(IDB_FOUR_BIT_FULL_TABLE, FALSE);
    ASSERT_TRUE(trueColour && table);
    EXPECT_EQ((Row{kHighlight, kShadow, kFace, kHighlight, kRed}), PixelsOf(trueColour));
    EXPECT_EQ((Row{kWhite, kShadow, kFace, kHighlight, kRed}), PixelsOf(table));
    DeleteObject(trueColour);
    DeleteObject(table);
}

TEST(SysColorBitmapHeaders, ResourcesWhosePartsDoNotFitGiveNull)
{
    EXPECT_EQ(nullptr, Load(IDB_TABLE_PAST_THE_END, FALSE)) << "a full table would run past the resource";
    EXPECT_EQ(nullptr, Load(IDB_MORE_COLOURS_THAN_BITS, FALSE)) << "17 colours for 4 bits";
    HINSTANCE module = GetModuleHandleA(nullptr);
    // A string table block is no bitmap: its first bytes make no header.
    HRSRC strings = FindResourceA(module, MAKEINTRESOURCEA(4556 / 16 + 1), RT_STRING);
    ASSERT_NE(nullptr, strings);
    EXPECT_EQ(nullptr, QZLoadSysColorBitmap(module, strings, FALSE));
}
