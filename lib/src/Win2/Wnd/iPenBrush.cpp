// Pens and brushes made in one expression.
#include "lib/src/Win2/Wnd/iPenBrush.h"

iPen::iPen() = default;

iPen::iPen(int style, int width, COLORREF colour) : CPen(style, width, colour) {}

iPen::iPen(int style, int width, const LOGBRUSH* brush, int styleCount, const DWORD* styles)
    : CPen(style, width, brush, styleCount, styles)
{
}

iPen::~iPen() = default;

iBrush::iBrush() = default;

iBrush::iBrush(COLORREF colour) : CBrush(colour) {}

iBrush::iBrush(int hatchIndex, COLORREF colour) : CBrush(hatchIndex, colour) {}

iBrush::iBrush(CBitmap* bitmap) : CBrush(bitmap) {}

iBrush::iBrush(HBRUSH brush)
{
    if (!Attach(brush))
        AfxThrowResourceException();
}

iBrush::~iBrush() = default;
