// What the colour popup offers and how its keyboard position moves, apart from its
// window: the small (16) and large (40) colour tables with their names, row by row in
// grid order, and the arrow-key walk over the popup's positions.
// Positions: 0 is the first cell ("Automatic" or "No Fill"), 1 to the grid's size the
// grid's colours, then the recent colours, then "More Colors..." when the popup has it.
#pragma once

#include <windows.h>

// One colour of a table and the string resource of its name.
struct QZ_POPUPCOLOR {
    COLORREF color;
    UINT nNameID;
};

// The grid's cells per row, also the length of the row of recent colours.
constexpr int kQZColorsPerRow = 8;
constexpr int kQZSmallColorCount = 16;
constexpr int kQZLargeColorCount = 40;
extern const QZ_POPUPCOLOR kQZSmallColors[kQZSmallColorCount];
extern const QZ_POPUPCOLOR kQZLargeColors[kQZLargeColorCount];

// The position an arrow key (VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN) leads to from position
// (-1: none) in a popup whose grid has gridCells colours, 8 to a row, and whose highest
// position holding a cell is highest: "More Colors..." when the popup has it, else the
// grid's last colour. Every answer holds a cell; other keys leave the position as it is.
int QZColorKeyPosition(UINT nKey, int position, int gridCells, int highest);
