// One owned bitmap of the imaging library. Invariant: the library's storage is owned
// exactly while the status is 1, and only Free releases it.
#include "lib/src/Win2/Wnd/iLBitmap.h"

#include "lib/src/Win2/Wnd/iLFileInfo.h"

iLBitmap::iLBitmap() : m_handle{}, m_status(kNotLoaded) {}

iLBitmap::~iLBitmap() { Free(); }

int iLBitmap::Load(const char* fileName, int bitsPerPixel, int colorOrder, const imaging::LoadOptions* options,
                   iLFileInfo* fileInfo)
{
    // Loaded aside: a bitmap still held (callers free first) is released rather than
    // left behind unowned, whether this load succeeds or not.
    imaging::BitmapHandle loaded{};
    const int result = L_LoadBitmap(fileName, &loaded, bitsPerPixel, colorOrder, options,
                                    fileInfo != nullptr ? &fileInfo->m_info : nullptr);
    Free();
    m_status = result;
    if (result != imaging::kSuccess)
        return m_status;
    m_handle = loaded;
    if (m_handle.viewPerspective == imaging::kViewBottomUp)
        L_ChangeBitmapViewPerspective(nullptr, &m_handle, imaging::kViewTopDown);
    return m_status;
}

int iLBitmap::Save(const char* fileName, int format, int bitsPerPixel, int qualityFactor,
                   const imaging::SaveOptions* options)
{
    if (!IsLoaded())
        return kNotLoaded;
    return L_SaveBitmap(fileName, &m_handle, format, bitsPerPixel, qualityFactor, options);
}

void iLBitmap::Free()
{
    if (IsLoaded())
        L_FreeBitmap(&m_handle);
    m_status = kNotLoaded;
}

bool iLBitmap::IsViewTransposed() const
{
    switch (m_handle.viewPerspective) {
    case 4: case 5: case 7: case 8: return true;
    default: return false;
    }
}

unsigned iLBitmap::GetWidth() const
{
    if (!IsLoaded())
        return 0;
    return static_cast<unsigned>(IsViewTransposed() ? m_handle.height : m_handle.width);
}

unsigned iLBitmap::GetHeight() const
{
    if (!IsLoaded())
        return 0;
    return static_cast<unsigned>(IsViewTransposed() ? m_handle.width : m_handle.height);
}

int iLBitmap::GetResolution() const
{
    return static_cast<int>((static_cast<long long>(m_handle.xResolution) + m_handle.yResolution) / 2);
}

void iLBitmap::SetResolution(int resolution)
{
    m_handle.xResolution = resolution;
    m_handle.yResolution = resolution;
}

int iLBitmap::Paint(HDC dc, const RECT* source, const RECT* sourceClip, const RECT* destination,
                    const RECT* destinationClip, DWORD rasterOperation)
{
    return L_PaintDC(dc, &m_handle, source, sourceClip, destination, destinationClip, rasterOperation);
}

HPALETTE iLBitmap::CreatePaintPalette(HDC dc) { return L_CreatePaintPalette(dc, &m_handle); }

int iLBitmap::Resize(int width, int height, int flags)
{
    if (!IsLoaded())
        return kNotLoaded;
    return L_SizeBitmap(&m_handle, width, height, flags);
}

int iLBitmap::Sharpen(int amount)
{
    if (!IsLoaded())
        return kNotLoaded;
    return L_SharpenBitmap(&m_handle, amount);
}

int iLBitmap::Copy(const iLBitmap& source)
{
    // Copying a loaded bitmap onto itself would free the very pixels it copies.
    if (&source == this && IsLoaded())
        return imaging::kSuccess;
    Free();
    const int result = L_CopyBitmap(&m_handle, &source.m_handle);
    if (result == imaging::kSuccess)
        m_status = source.m_status;
    return result;
}
