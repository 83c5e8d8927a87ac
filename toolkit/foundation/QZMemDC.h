// Off-screen drawing: a memory DC over one rectangle of a target DC. Callers draw into
// it with the rectangle's top-left corner at (0, 0); when it goes, the whole image is
// copied to the rectangle on the target in one blit, so painting does not flicker.
#pragma once

#include "framework/DC.h"
#include "framework/GdiObjects.h"
#include "framework/Geometry.h"

// Owns its memory DC and bitmap; the target stays the caller's.
class CQZMemDC : public CDC {
    DECLARE_DYNAMIC(CQZMemDC)
public:
    // An empty rectangle means the target's clip box. A background of 0xFFFFFFFF leaves
    // the image unfilled.
    CQZMemDC(CDC* pDC, const CRect& rect, COLORREF background);
    ~CQZMemDC() override;

    CDC* m_pDC;
    // In the target's logical coordinates.
    CRect m_rect;
    CBitmap m_bitmap;
    // The bitmap the memory DC came with, selected back before the DC goes.
    HGDIOBJ m_hOldBitmap;
    // 1 while the memory DC and its bitmap exist; the image is copied back only then.
    // Clearing it keeps the object as a stored image that never copies itself.
    int m_bValid;
};
