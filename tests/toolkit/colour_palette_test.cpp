// The standard page's honeycomb: 144 cells, each at its place and in its colour, that
// tile without sharing a pixel and are drawn so; the arrow keys' neighbours; picking by
// point (nothing between cells); the two white cells marked together; a colour off the
// palette; and a drag that ends when the button comes up outside or the capture is lost.
#include "toolkit/colour/QZColorPageStandard.h"

#include "colour_test_support.h"
#include "toolkit/colour/QZColorHexPalette.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit_test_support.h"

#include <set>
#include <sstream>
#include <string>
#include <utility>

using colour_test::Received;
using colour_test::RecordingWnd;
using toolkit_test::PaperCanvas;
using toolkit_test::PumpPending;

namespace {

constexpr COLORREF kPaletteWhite = RGB(255, 255, 255);
constexpr COLORREF kPaletteBlack = RGB(0, 0, 0);

CPoint OriginOf(int cell)
{
    return CPoint(QZGetHexCells()[cell].origin);
}

// The honeycomb on a plain window that records what the control tells it.
class HoneycombTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(page.Make(50, 50, 260, 260));
        ASSERT_TRUE(hex.Create("", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME, CRect(0, 0, 200, 210), &page, 5552));
        hex.UpdateWindow();
        PumpPending();
        ASSERT_EQ(kQZHexCellCount, hex.m_listCells.GetCount()) << "built at the first paint";
        page.received.clear();
    }
    void TearDown() override
    {
        hex.DestroyWindow();
        page.DestroyWindow();
        PumpPending();
    }
    void Key(UINT key)
    {
        MSG msg = {hex.m_hWnd, WM_KEYDOWN, key, 1};
        hex.PreTranslateMessage(&msg);
    }
    void Mouse(UINT message, UINT flags, CPoint point)
    {
        hex.SendMessage(message, flags, MAKELPARAM(point.x, point.y));
    }
    std::vector<COLORREF> Told() const
    {
        std::vector<COLORREF> colours;
        for (const Received& r : page.received)
            if (r.message == WM_QZ_SETCOLOR)
                colours.push_back(static_cast<COLORREF>(r.wParam));
        return colours;
    }

    RecordingWnd page;
    CQZColorHex hex;
};

} // namespace

TEST(ColourPalette, CellsTileWithoutSharingAPixel)
{
    std::set<std::pair<LONG, LONG>> seen;
    int small = 0;
    int large = 0;
    std::vector<POINT> pixels(kQZLargeHexPixels);
    for (int i = 0; i < kQZHexCellCount; ++i) {
        const QZ_HEXCELLDEF& cell = QZGetHexCells()[i];
        const int count = QZGetHexCellPixels(cell.bHexagon, cell.origin, pixels.data());
        EXPECT_EQ(cell.bHexagon ? 168 : 691, count) << "cell " << i;
        EXPECT_EQ(cell.origin.x, pixels[0].x) << "the origin comes first";
        EXPECT_EQ(cell.origin.y, pixels[0].y);
        (cell.bHexagon ? small : large) += 1;
        for (int p = 0; p < count; ++p)
            EXPECT_TRUE(seen.insert({pixels[p].x, pixels[p].y}).second)
                << "cell " << i << " shares (" << pixels[p].x << ", " << pixels[p].y << ")";
    }
    EXPECT_EQ(142, small);
    EXPECT_EQ(2, large);
    EXPECT_EQ(142u * 168 + 2 * 691, seen.size());
}

TEST(ColourPalette, ArrowKeysLeadToTheirNeighbours)
{
    struct Case {
        const char* why;
        int cell;
        int left, up, right, down;
    };
    const Case cases[] = {
        {"the first cell", 0, -1, -1, 1, 8},
        {"the first cell of row 2: up to the end of row 0", 15, 14, 6, 16, 25},
        {"the middle of the widest row", 63, 62, 50, 64, 76},
        {"the first cell of row 7", 70, 69, 57, 71, 82},
        {"the last cell of row 11: down to the large white", 119, 118, 110, 120, 142},
        {"the last hexagon: right and down to the large white", 126, 125, 118, 142, 142},
        {"the large white: on to the lightest grey", 142, 126, 126, 127, 127},
        {"the greys alternate between their rows", 127, 142, 142, 135, 135},
        {"the darkest grey: on to black", 134, 141, 141, 143, 143},
        {"black ends the chain", 143, 134, 134, -1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const QZ_HEXCELLDEF& cell = QZGetHexCells()[c.cell];
        EXPECT_EQ(c.left, cell.left);
        EXPECT_EQ(c.up, cell.up);
        EXPECT_EQ(c.right, cell.right);
        EXPECT_EQ(c.down, cell.down);
    }
}

TEST_F(HoneycombTest, PaletteIsDrawnPixelByPixelInTheCellsColours)
{
    int index = 0;
    std::vector<POINT> pixels(kQZLargeHexPixels);
    for (POSITION pos = hex.m_listCells.GetHeadPosition(); pos; ++index) {
        const QZ_COLORCELL* cell = hex.m_listCells.GetNext(pos);
        EXPECT_EQ(QZGetHexCells()[index].color, cell->color);
        const int count = QZHexCellPixelCount(cell->bHexagon);
        for (int p = 0; p < count; p += 7)
            ASSERT_EQ(cell->color, hex.m_dcPalette.GetPixel(cell->pPixels[p])) << "cell " << index;
    }
    EXPECT_EQ(qzAfxData.colorFace, hex.m_dcPalette.GetPixel(5, 5)) << "face between the cells";
}

// The palette as it is described, row by row in the order the cells are numbered: the
// row's y, the x of its first cell (the next ones 14 pixels apart) and its colours left to
// right, as COLORREF values (blue first: 663300 is red 0x00, green 0x33, blue 0x66).
struct PaletteRow {
    int y;
    int firstX;
    const char* colours;
};
const PaletteRow kPaletteRows[] = {
    {7, 58, "663300 996633 CC6633 993300 990000 CC0000 660000"},
    {19, 51, "666600 996600 CC9900 CC6600 CC3300 FF0000 FF3333 993333"},
    {31, 44, "808000 999900 CCCC33 FFCC00 FF9900 FF6600 FF6633 CC3333 996666"},
    {43, 37, "669933 99CC00 CCFF00 FFFF00 FFCC33 FF9933 FF9966 FF6666 FF0066 CC0066"},
    {55, 30, "339933 66CC00 99FF00 CCFF66 FFFF66 FFCC66 FFCC99 FF9999 FF6699 FF3399 FF0099"},
    {67, 23, "006600 00CC00 00FF00 99FF66 CCFF99 FFFFCC FFECCC FFCCCC FF99CC FF66CC FF00CC CC0099"},
    {79, 16, "003300 008000 33CC33 66FF66 99FF99 CCFFCC FFFFFF FFCCFF FF99FF FF66FF FF00FF CC00CC 660066"},
    {91, 23, "006633 009900 33FF66 66FF99 99FFCC CCFFFF CCCCFF CC99FF CC66FF CC33FF 9900CC 800080"},
    {103, 30, "003333 009966 33FF99 66FFCC 99FFFF 99CCFF 9999FF 9966FF 9933FF 9933CC 990099"},
    {115, 37, "336666 00CC99 33FFCC 66FFFF 66CCFF 6699FF 807CFF 6600FF 9300D6 663399"},
    {127, 44, "008080 00CCCC 00FFFF 00CCFF 3399FF 0066FF 5050FF 6600CC 330066"},
    {139, 51, "336699 0099CC 0099FF 0066CC 0033FF 0000FF 0000CC 330099"},
    {151, 58, "003366 006699 0033CC 003399 000099 000080 2100A5"},
    {176, 51, "F8F8F8 DDDDDD B2B2B2 808080 5F5F5F 333333 1C1C1C 080808"},
    {188, 58, "EAEAEA C0C0C0 969696 777777 4D4D4D 292929 111111"},
    {176, 16, "FFFFFF"},
    {176, 169, "000000"},
};

TEST_F(HoneycombTest, EveryCellHasItsPlaceAndColourInTheOrderOfItsNumber)
{
    int cell = 0;
    for (const PaletteRow& row : kPaletteRows) {
        std::istringstream colours(row.colours);
        std::string colour;
        for (int x = row.firstX; colours >> colour; x += 14, ++cell) {
            SCOPED_TRACE("cell " + std::to_string(cell) + ", " + colour);
            ASSERT_LT(cell, kQZHexCellCount);
            const COLORREF expected = static_cast<COLORREF>(std::stoul(colour, nullptr, 16));
            EXPECT_EQ(CPoint(x, row.y), OriginOf(cell));
            EXPECT_EQ(expected, QZGetHexCells()[cell].color);
            EXPECT_EQ(expected, hex.m_dcPalette.GetPixel(x, row.y)) << "drawn there";
        }
    }
    EXPECT_EQ(kQZHexCellCount, cell);
    EXPECT_FALSE(QZGetHexCells()[142].bHexagon) << "white is a large cell";
    EXPECT_FALSE(QZGetHexCells()[143].bHexagon) << "black is a large cell";
}

TEST_F(HoneycombTest, PointsBetweenCellsSelectNothing)
{
    hex.SetColor(RGB(1, 2, 3));
    for (CPoint point : {CPoint(5, 5), CPoint(2, 200), CPoint(OriginOf(0).x - 1, OriginOf(0).y)}) {
        EXPECT_EQ(static_cast<COLORREF>(-1), hex.HitTest(point));
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, point);
        Mouse(WM_LBUTTONUP, 0, point);
    }
    EXPECT_TRUE(Told().empty());
    EXPECT_EQ(RGB(1, 2, 3), hex.GetColor());
}

TEST_F(HoneycombTest, EitherWhiteMarksBothWhiteCells)
{
    const CPoint smallWhite = OriginOf(63);
    const CPoint largeWhite = OriginOf(kQZLargeWhiteCell);
    for (CPoint click : {CPoint(smallWhite.x + 6, smallWhite.y + 4), CPoint(largeWhite.x + 14, largeWhite.y + 8)}) {
        SCOPED_TRACE(click.x);
        hex.SetColor(RGB(0, 0, 128));
        page.received.clear();
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, click);
        Mouse(WM_LBUTTONUP, 0, click);
        EXPECT_EQ(std::vector<COLORREF>{kPaletteWhite}, Told());
        PaperCanvas canvas(200, 210);
        hex.DrawSelection(&canvas.m_dc);
        // The top of each marker: black five pixels above a small cell's origin and eight
        // above a large one's, from the third column of the marker.
        EXPECT_EQ(kPaletteBlack, canvas.At(smallWhite.x - 2 + 7, smallWhite.y - 5));
        EXPECT_EQ(kPaletteBlack, canvas.At(largeWhite.x - 2 + 14, largeWhite.y - 8));
        EXPECT_EQ(kPaletteWhite, canvas.At(smallWhite.x - 2 + 1, smallWhite.y)) << "white inside the small frame";
    }
}

TEST_F(HoneycombTest, ColourOffThePaletteShowsNoMarkerAndKeysStartFromBlack)
{
    hex.SetColor(RGB(1, 2, 3));
    PaperCanvas canvas(200, 210);
    hex.DrawSelection(&canvas.m_dc);
    EXPECT_EQ(200 * 210, canvas.Count(CRect(0, 0, 200, 210), test_support::kPaper));
    Key(VK_LEFT);
    EXPECT_EQ(std::vector<COLORREF>{QZGetHexCells()[134].color}, Told()) << "left of black is the darkest grey";
}

TEST_F(HoneycombTest, KeysWalkFromTheLastHexagonAlongTheGreysToBlack)
{
    hex.SetColor(QZGetHexCells()[126].color);
    for (int step = 0; step < 20; ++step)
        Key(VK_RIGHT);
    std::vector<COLORREF> expected = {kPaletteWhite};
    for (COLORREF grey : {0xF8F8F8, 0xEAEAEA, 0xDDDDDD, 0xC0C0C0, 0xB2B2B2, 0x969696, 0x808080, 0x777777, 0x5F5F5F,
                          0x4D4D4D, 0x333333, 0x292929, 0x1C1C1C, 0x111111, 0x080808})
        expected.push_back(grey);
    expected.push_back(kPaletteBlack);
    EXPECT_EQ(expected, Told()) << "and right from black does nothing";

    page.received.clear();
    hex.SetColor(QZGetHexCells()[119].color);
    Key(VK_DOWN);
    hex.SetColor(QZGetHexCells()[15].color);
    Key(VK_UP);
    EXPECT_EQ((std::vector<COLORREF>{kPaletteWhite, QZGetHexCells()[6].color}), Told());
}

TEST_F(HoneycombTest, DragSelectsOnlyWhileTheButtonIsHeld)
{
    const CPoint first = OriginOf(10);
    const CPoint second = OriginOf(40);
    const CPoint third = OriginOf(80);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, first);
    EXPECT_EQ(hex.m_hWnd, ::GetCapture()) << "held while dragging";
    Mouse(WM_MOUSEMOVE, MK_LBUTTON, second);
    // Released outside the control: with the capture the control still hears of it.
    Mouse(WM_LBUTTONUP, 0, CPoint(-30, 400));
    EXPECT_EQ(nullptr, ::GetCapture());
    Mouse(WM_MOUSEMOVE, 0, third);
    EXPECT_EQ((std::vector<COLORREF>{QZGetHexCells()[10].color, QZGetHexCells()[40].color}), Told());

    // A button-up that never arrives: moving without the button selects nothing.
    page.received.clear();
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, first);
    Mouse(WM_MOUSEMOVE, 0, third);
    EXPECT_EQ(std::vector<COLORREF>{QZGetHexCells()[10].color}, Told());

    // Another window takes the capture: the drag is over.
    ::SetCapture(page.m_hWnd);
    EXPECT_FALSE(hex.m_bTracking);
    ::ReleaseCapture();
}

TEST(ColourStandardPage, ArrowKeysInTheSheetStepFromCellToCell)
{
    const COLORREF start = QZGetHexCells()[30].color;
    CQZColorDialog sheet(start, start, 0, nullptr);
    colour_test::SheetScript script([](CQZColorDialog& shown) {
        CQZColorHex& hex = shown.GetStandardPage()->m_wndColorHex;
        hex.SetFocus();
        // Through the sheet's message loop, as typed keys arrive.
        for (int i = 0; i < 3; ++i)
            hex.PostMessage(WM_KEYDOWN, VK_RIGHT, 1);
        hex.PostMessage(WM_KEYDOWN, VK_DOWN, 1);
        colour_test::PressSheetButton(shown, IDOK);
    });
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_EQ(QZGetHexCells()[QZGetHexCells()[33].down].color, sheet.GetColor());
}
