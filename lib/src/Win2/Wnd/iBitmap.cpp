// Bitmaps made in one call.
#include "lib/src/Win2/Wnd/iBitmap.h"

iBitmap::iBitmap() = default;

iBitmap::iBitmap(UINT resourceId) : m_bAttached(LoadBitmap(resourceId)) {}

iBitmap::iBitmap(LPCSTR resourceName) : m_bAttached(LoadBitmap(resourceName)) {}

iBitmap::iBitmap(CDC* dc, const SIZE& size) : iBitmap(dc, size.cx, size.cy) {}

iBitmap::iBitmap(CDC* dc, int cx, int cy) : m_bAttached(CreateCompatibleBitmap(dc, cx, cy)) {}

iBitmap::iBitmap(const SIZE& size, UINT planes, UINT bitsPerPixel, const void* bits)
    : iBitmap(size.cx, size.cy, planes, bitsPerPixel, bits)
{
}

iBitmap::iBitmap(int cx, int cy, UINT planes, UINT bitsPerPixel, const void* bits)
    : m_bAttached(CreateBitmap(cx, cy, planes, bitsPerPixel, bits))
{
}

iBitmap::~iBitmap()
{
    DeleteObject();
}

CSize iBitmap::GetSize() const
{
    BITMAP info = {};
    if (GetObject(sizeof info, &info) == 0)
        return CSize(0, 0);
    return CSize(info.bmWidth, info.bmHeight);
}
