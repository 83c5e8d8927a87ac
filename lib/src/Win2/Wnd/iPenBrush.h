// Pens and brushes made in one expression and deleted with the object. They differ in
// one point: a pen the system refuses is simply empty (selecting it selects nothing),
// while a brush that cannot be made or attached throws the framework's resource exception.
#pragma once

#include "framework/Framework.h"

class iPen : public CPen {
public:
    // Empty.
    iPen();
    iPen(int style, int width, COLORREF colour);
    // ExtCreatePen with these arguments in this order.
    iPen(int style, int width, const LOGBRUSH* brush, int styleCount, const DWORD* styles);
    ~iPen() override;
};

class iBrush : public CBrush {
public:
    // Empty.
    iBrush();
    explicit iBrush(COLORREF colour);
    iBrush(int hatchIndex, COLORREF colour);
    explicit iBrush(CBitmap* bitmap);
    // Takes the handle over: the object deletes it. A null handle throws.
    explicit iBrush(HBRUSH brush);
    ~iBrush() override;
};
