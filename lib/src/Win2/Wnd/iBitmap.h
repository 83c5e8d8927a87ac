// A bitmap made in one constructor call: loaded from the current resource module, or
// created compatible with a DC, or from sizes and bits. A bitmap the system refuses
// leaves the object without one (IsAttached answers FALSE). The destructor deletes it.
#pragma once

#include "framework/Framework.h"

class iBitmap : public CBitmap {
public:
    iBitmap();
    explicit iBitmap(UINT resourceId);
    explicit iBitmap(LPCSTR resourceName);
    // Compatible with dc's output DC; no bitmap without a DC.
    iBitmap(CDC* dc, const SIZE& size);
    iBitmap(CDC* dc, int cx, int cy);
    iBitmap(const SIZE& size, UINT planes, UINT bitsPerPixel, const void* bits);
    iBitmap(int cx, int cy, UINT planes, UINT bitsPerPixel, const void* bits);
    ~iBitmap() override;

    BOOL IsAttached() const { return m_bAttached; }
    // Width and height; (0, 0) without a bitmap.
    CSize GetSize() const;

private:
    BOOL m_bAttached = FALSE;
};
