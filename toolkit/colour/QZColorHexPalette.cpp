// The honeycomb's cells, shapes, neighbours and markers.
#include "toolkit/colour/QZColorHexPalette.h"

#include <array>

namespace {

constexpr int kHexRows = 13;
constexpr int kHexRowTop = 7;
constexpr int kHexRowStep = 12;
constexpr int kHexCellStep = 14;
constexpr int kHexesPerRow[kHexRows] = {7, 8, 9, 10, 11, 12, 13, 12, 11, 10, 9, 8, 7};
constexpr int kHexRowLeft[kHexRows] = {58, 51, 44, 37, 30, 23, 16, 23, 30, 37, 44, 51, 58};

// Row by row, left to right: COLORREF values (blue in the high byte).
constexpr COLORREF kHexColors[127] = {
    0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000,
    0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333,
    0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666,
    0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066,
    0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xFF0099,
    0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF00CC,
    0xCC0099,
    0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF,
    0xCC00CC, 0x660066,
    0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC,
    0x800080,
    0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099,
    0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399,
    0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066,
    0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099,
    0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5,
};

struct GreyHex {
    int x, y;
    COLORREF color;
};
constexpr GreyHex kGreyHexes[15] = {
    {51, 176, 0xF8F8F8},  {65, 176, 0xDDDDDD},  {79, 176, 0xB2B2B2},  {93, 176, 0x808080},  {107, 176, 0x5F5F5F},
    {121, 176, 0x333333}, {135, 176, 0x1C1C1C}, {149, 176, 0x080808}, {58, 188, 0xEAEAEA},  {72, 188, 0xC0C0C0},
    {86, 188, 0x969696},  {100, 188, 0x777777}, {114, 188, 0x4D4D4D}, {128, 188, 0x292929}, {142, 188, 0x111111},
};

// From the last small hexagon through the large white, the grey ramp light to dark
// (alternating between the two grey rows), to the large black.
constexpr int kChain[] = {126, 142, 127, 135, 128, 136, 129, 137, 130, 138, 131, 139, 132, 140, 133, 141, 134, 143};

// Column runs: how many columns, each of n pixels starting t below the origin's row.
struct ColumnRun {
    int columns, n, t;
};
constexpr ColumnRun kSmallShape[] = {{2, 9, 0}, {2, 11, -1}, {2, 13, -2}, {3, 15, -3}, {2, 13, -2}, {2, 11, -1},
                                     {1, 9, 0}};
constexpr ColumnRun kLargeShape[] = {{2, 17, 0},  {2, 19, -1}, {2, 21, -2}, {1, 23, -3}, {2, 25, -4},
                                     {2, 27, -5}, {2, 29, -6}, {3, 31, -7}, {2, 29, -6}, {2, 27, -5},
                                     {2, 25, -4}, {1, 23, -3}, {2, 21, -2}, {2, 19, -1}, {2, 17, 0}};

const char* const kSmallMarkerRows[] = {
    ".......#####.......", ".....##WWWWW##.....", "...##WWWWWWWWW##...", ".##WWWWW###WWWWW##.",
    "#WWWWW##...##WWWWW#", "#WWW##.......##WWW#", "#WW#...........#WW#", "#WW#...........#WW#",
    "#WW#...........#WW#", "#WW#...........#WW#", "#WW#...........#WW#", "#WW#...........#WW#",
    "#WW#...........#WW#", "#WWW##.......##WWW#", "#WWWWW##...##WWWWW#", ".##WWWWW###WWWWW##.",
    "...##WWWWWWWWW##...", ".....##WWWWW##.....", ".......#####.......",
};

const char* const kLargeMarkerRows[] = {
    "..............#####..............", "............##WWWWW##............", "..........##WWWWWWWWW##..........",
    "........##WWWWW###WWWWW##........", "......##WWWWW##...##WWWWW##......", "....##WWWWW##.......##WWWWW##....",
    "..##WWWWW##...........##WWWWW##..", ".#WWWWW##...............##WWWWW#.", "#WWWW##...................##WWWW#",
    "#WWW#.......................#WWW#", "#WWW#.......................#WWW#", "#WWW#.......................#WWW#",
    "#WWW#.......................#WWW#", "#WWW#.......................#WWW#", "#WWW#.......................#WWW#",
    "#WWW#.......................#WWW#", "#WWW#.......................#WWW#", "#WWW#.......................#WWW#",
    "#WWW#.......................#WWW#", "#WWW#.......................#WWW#", "#WWW#.......................#WWW#",
    "#WWW#.......................#WWW#", "#WWW#.......................#WWW#", "#WWW#.......................#WWW#",
    "#WWWW##...................##WWWW#", ".#WWWWW##...............##WWWWW#.", "..##WWWWW##...........##WWWWW##..",
    "....##WWWWW##.......##WWWWW##....", "......##WWWWW##...##WWWWW##......", "........##WWWWW###WWWWW##........",
    "..........##WWWWWWWWW##..........", "............##WWWWW##............", "..............#####..............",
};

std::array<QZ_HEXCELLDEF, kQZHexCellCount> BuildCells()
{
    std::array<QZ_HEXCELLDEF, kQZHexCellCount> cells{};
    int index = 0;
    for (int row = 0; row < kHexRows; ++row) {
        const int count = kHexesPerRow[row];
        for (int column = 0; column < count; ++column, ++index) {
            QZ_HEXCELLDEF& cell = cells[index];
            cell.origin = {kHexRowLeft[row] + column * kHexCellStep, kHexRowTop + row * kHexRowStep};
            cell.color = kHexColors[index];
            cell.bHexagon = TRUE;
            // Index rules: at a row's ends they lead to the neighbouring row's end cells.
            cell.left = index - 1;
            cell.right = index + 1;
            if (row == 0)
                cell.up = -1;
            else
                cell.up = index - kHexesPerRow[row - 1] - (row <= 6 ? 1 : 0);
            if (row <= 5)
                cell.down = index + count + 1;
            else if (row <= 11)
                cell.down = index + count;
            else
                cell.down = index + 1;
        }
    }
    for (const GreyHex& grey : kGreyHexes) {
        cells[index] = {{grey.x, grey.y}, grey.color, TRUE, -1, -1, -1, -1};
        ++index;
    }
    cells[kQZLargeWhiteCell] = {{16, 176}, 0xFFFFFF, FALSE, -1, -1, -1, -1};
    cells[kQZLargeBlackCell] = {{169, 176}, 0x000000, FALSE, -1, -1, -1, -1};
    // The last small hexagon of row 11 and the chain: from each link the previous one is
    // left and up, the next one right and down.
    cells[119].down = kQZLargeWhiteCell;
    const int links = static_cast<int>(sizeof kChain / sizeof kChain[0]);
    for (int i = 0; i < links; ++i) {
        QZ_HEXCELLDEF& cell = cells[kChain[i]];
        const int next = i + 1 < links ? kChain[i + 1] : -1;
        cell.right = next;
        cell.down = next;
        if (i > 0) {
            cell.left = kChain[i - 1];
            cell.up = kChain[i - 1];
        }
    }
    return cells;
}

} // namespace

const QZ_HEXCELLDEF* QZGetHexCells()
{
    static const std::array<QZ_HEXCELLDEF, kQZHexCellCount> s_cells = BuildCells();
    return s_cells.data();
}

int QZGetHexCellPixels(BOOL bHexagon, POINT origin, POINT* pPixels)
{
    int count = 0;
    const ColumnRun* first = bHexagon ? kSmallShape : kLargeShape;
    const ColumnRun* last = first + (bHexagon ? sizeof kSmallShape / sizeof kSmallShape[0]
                                               : sizeof kLargeShape / sizeof kLargeShape[0]);
    int column = 0;
    for (const ColumnRun* run = first; run != last; ++run) {
        for (int c = 0; c < run->columns; ++c, ++column) {
            for (int y = 0; y < run->n; ++y)
                pPixels[count++] = {origin.x + column, origin.y + run->t + y};
        }
    }
    return count;
}

const QZ_HEXMARKER& QZGetHexMarker(BOOL bHexagon)
{
    static const QZ_HEXMARKER s_small = {kSmallMarkerRows, 19, {-2, -5}};
    static const QZ_HEXMARKER s_large = {kLargeMarkerRows, 33, {-2, -8}};
    return bHexagon ? s_small : s_large;
}
