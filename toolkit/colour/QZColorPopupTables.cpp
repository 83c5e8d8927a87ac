// The colour popup's tables and its keyboard walk.
#include "toolkit/colour/QZColorPopupTables.h"

#include "toolkit/res/ToolkitResources.h"

const QZ_POPUPCOLOR kQZSmallColors[kQZSmallColorCount] = {
    {RGB(0, 0, 0), IDS_QZ_COLOR_BLACK},         {RGB(128, 128, 128), IDS_QZ_COLOR_GRAY},
    {RGB(128, 0, 0), IDS_QZ_COLOR_MAROON},      {RGB(128, 128, 0), IDS_QZ_COLOR_OLIVE},
    {RGB(0, 128, 0), IDS_QZ_COLOR_GREEN},       {RGB(0, 128, 128), IDS_QZ_COLOR_TEAL},
    {RGB(0, 0, 128), IDS_QZ_COLOR_NAVY},        {RGB(128, 0, 128), IDS_QZ_COLOR_PURPLE},
    {RGB(255, 255, 255), IDS_QZ_COLOR_WHITE},   {RGB(192, 192, 192), IDS_QZ_COLOR_SILVER},
    {RGB(255, 0, 0), IDS_QZ_COLOR_RED},         {RGB(255, 255, 0), IDS_QZ_COLOR_YELLOW},
    {RGB(0, 255, 0), IDS_QZ_COLOR_LIME},        {RGB(0, 255, 255), IDS_QZ_COLOR_AQUA},
    {RGB(0, 0, 255), IDS_QZ_COLOR_BLUE},        {RGB(255, 0, 255), IDS_QZ_COLOR_FUCHSIA},
};

const QZ_POPUPCOLOR kQZLargeColors[kQZLargeColorCount] = {
    {RGB(0, 0, 0), IDS_QZ_COLOR_BLACK},
    {RGB(153, 51, 0), IDS_QZ_COLOR_BROWN},
    {RGB(51, 51, 0), IDS_QZ_COLOR_OLIVE_GREEN},
    {RGB(0, 51, 0), IDS_QZ_COLOR_DARK_GREEN},
    {RGB(0, 51, 102), IDS_QZ_COLOR_DARK_TEAL},
    {RGB(0, 0, 128), IDS_QZ_COLOR_DARK_BLUE},
    {RGB(51, 51, 153), IDS_QZ_COLOR_INDIGO},
    {RGB(51, 51, 51), IDS_QZ_COLOR_GRAY_80},

    {RGB(128, 0, 0), IDS_QZ_COLOR_DARK_RED},
    {RGB(255, 102, 0), IDS_QZ_COLOR_ORANGE},
    {RGB(128, 128, 0), IDS_QZ_COLOR_DARK_YELLOW},
    {RGB(0, 128, 0), IDS_QZ_COLOR_GREEN},
    {RGB(0, 128, 128), IDS_QZ_COLOR_TEAL},
    {RGB(0, 0, 255), IDS_QZ_COLOR_BLUE},
    {RGB(102, 102, 153), IDS_QZ_COLOR_BLUE_GRAY},
    {RGB(128, 128, 128), IDS_QZ_COLOR_GRAY_50},

    {RGB(255, 0, 0), IDS_QZ_COLOR_RED},
    {RGB(255, 153, 0), IDS_QZ_COLOR_LIGHT_ORANGE},
    {RGB(153, 204, 0), IDS_QZ_COLOR_LIME},
    {RGB(51, 153, 102), IDS_QZ_COLOR_SEA_GREEN},
    {RGB(51, 204, 204), IDS_QZ_COLOR_AQUA},
    {RGB(51, 102, 255), IDS_QZ_COLOR_LIGHT_BLUE},
    {RGB(128, 0, 128), IDS_QZ_COLOR_VIOLET},
    {RGB(153, 153, 153), IDS_QZ_COLOR_GRAY_40},

    {RGB(255, 0, 255), IDS_QZ_COLOR_PINK},
    {RGB(255, 204, 0), IDS_QZ_COLOR_GOLD},
    {RGB(255, 255, 0), IDS_QZ_COLOR_YELLOW},
    {RGB(0, 255, 0), IDS_QZ_COLOR_BRIGHT_GREEN},
    {RGB(0, 255, 255), IDS_QZ_COLOR_TURQUIOSE},
    {RGB(0, 204, 255), IDS_QZ_COLOR_SKY_BLUE},
    {RGB(153, 51, 102), IDS_QZ_COLOR_PLUM},
    {RGB(192, 192, 192), IDS_QZ_COLOR_GRAY_25},

    {RGB(255, 153, 204), IDS_QZ_COLOR_ROSE},
    {RGB(255, 204, 153), IDS_QZ_COLOR_TAN},
    {RGB(255, 255, 153), IDS_QZ_COLOR_LIGHT_YELLOW},
    {RGB(204, 255, 204), IDS_QZ_COLOR_LIGHT_GREEN},
    {RGB(204, 255, 255), IDS_QZ_COLOR_LIGHT_TURQUOISE},
    {RGB(153, 204, 255), IDS_QZ_COLOR_PALE_BLUE},
    {RGB(204, 153, 255), IDS_QZ_COLOR_LAVENDER},
    {RGB(255, 255, 255), IDS_QZ_COLOR_WHITE},
};

int QZColorKeyPosition(UINT nKey, int position, int gridCells, int highest)
{
    // A popup without "More Colors..." ends at its last colour: the walk wraps there,
    // so that no key reaches a position without a cell (from which Return would open
    // the colour sheet the popup does not offer).
    const bool hasMoreColors = highest > gridCells;
    const int lastRowStart = gridCells - kQZColorsPerRow;
    int p = position;
    switch (nKey) {
    case VK_DOWN:
        if (p < 0 || p > lastRowStart)
            p = hasMoreColors && lastRowStart < p && p < highest ? highest : 0;
        else
            p += kQZColorsPerRow;
        break;
    case VK_UP:
        if (p < 1 || p > kQZColorsPerRow)
            p = kQZColorsPerRow < p && p <= highest ? p - kQZColorsPerRow : highest;
        else
            p = 0;
        break;
    case VK_RIGHT:
        p = p + 1 > highest ? 0 : p + 1;
        break;
    case VK_LEFT:
        p = p - 1 < 0 ? highest : p - 1;
        break;
    default:
        break;
    }
    return p;
}
