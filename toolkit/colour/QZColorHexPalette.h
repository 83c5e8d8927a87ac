// The honeycomb of the colour sheet's standard page, apart from its window: where each
// of the 144 cells lies, its colour, its shape pixel by pixel, which cell each arrow key
// leads to, and the selection markers. The palette is drawn at these fixed pixel
// positions whatever the control's size.
// Cells: 0-126 small hexagons in 13 rows (7, 8, ... 13, ... 8, 7 cells), 127-141 the
// grey hexagons in two rows, 142 the large white and 143 the large black hexagon.
// White is the only colour held twice (cell 63, the middle of row 6, and cell 142).
#pragma once

#include <windows.h>

constexpr int kQZHexCellCount = 144;
constexpr int kQZSmallHexPixels = 168;
constexpr int kQZLargeHexPixels = 691;
constexpr int kQZLargeWhiteCell = 142;
constexpr int kQZLargeBlackCell = 143;
// Where a marker on white goes besides the large white cell: the small white cell's origin.
constexpr POINT kQZSmallWhiteOrigin = {100, 79};

// One cell as designed; neighbours are cell indexes, -1 for none.
struct QZ_HEXCELLDEF {
    POINT origin;
    COLORREF color;
    BOOL bHexagon;  // a small hexagon, else a large one
    int left;
    int up;
    int right;
    int down;
};

// The 144 cells in creation order.
const QZ_HEXCELLDEF* QZGetHexCells();

// The cell's pixels, column by column from its origin, each column top to bottom, the
// origin first; pPixels takes kQZSmallHexPixels or kQZLargeHexPixels points. The count.
int QZGetHexCellPixels(BOOL bHexagon, POINT origin, POINT* pPixels);
inline int QZHexCellPixelCount(BOOL bHexagon)
{
    return bHexagon ? kQZSmallHexPixels : kQZLargeHexPixels;
}

// A selection marker: rows of '#' (black), 'W' (white) and '.' (left alone); its top-left
// corner lies at the origin plus the offset.
struct QZ_HEXMARKER {
    const char* const* rows;
    int count;
    POINT offset;
};
const QZ_HEXMARKER& QZGetHexMarker(BOOL bHexagon);
