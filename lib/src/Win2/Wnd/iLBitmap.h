// Owns one bitmap of the imaging library: the only way the program touches bitmap data.
// Loads, saves, frees, measures as the user sees it, resizes, sharpens, copies and paints.
#pragma once

#include "imaging/ImagingApi.h"

#include <climits>

class iLFileInfo;

// Status 1 while a bitmap is loaded and owned; kNotLoaded when empty; after a failed
// load, that load's result, which also counts as not loaded.
class iLBitmap {
public:
    // 0x80000000: the status of an empty bitmap, and what Save, Resize and Sharpen answer then.
    static constexpr int kNotLoaded = INT_MIN;

    iLBitmap();
    virtual ~iLBitmap();
    iLBitmap(const iLBitmap&) = delete;
    iLBitmap& operator=(const iLBitmap&) = delete;

    // Loads the file; a bitmap loaded bottom-up is turned top-down at once. Answers the
    // library's result, which becomes the status.
    int Load(const char* fileName, int bitsPerPixel, int colorOrder, const imaging::LoadOptions* options,
             iLFileInfo* fileInfo);
    int Save(const char* fileName, int format, int bitsPerPixel, int qualityFactor,
             const imaging::SaveOptions* options);
    void Free();
    bool IsLoaded() const { return m_status == imaging::kSuccess; }
    // 1 while loaded, kNotLoaded when empty, or the failed load's result: why it failed.
    int GetStatus() const { return m_status; }

    // Size as seen: views 4, 5, 7 and 8 exchange the stored width and height. 0 when empty.
    unsigned GetWidth() const;
    unsigned GetHeight() const;
    // 8 for grey levels, 24 for colour; 0 when empty.
    int GetBitsPerPixel() const { return m_handle.bitsPerPixel; }
    // The mean of the X and Y resolution, truncated.
    int GetResolution() const;
    void SetResolution(int resolution);

    int Paint(HDC dc, const RECT* source, const RECT* sourceClip, const RECT* destination,
              const RECT* destinationClip, DWORD rasterOperation);
    // A palette for painting into `dc`, or null; the caller deletes it.
    HPALETTE CreatePaintPalette(HDC dc);
    int Resize(int width, int height, int flags);
    int Sharpen(int amount);
    // Frees this bitmap, then copies the source's; on failure this one stays empty.
    int Copy(const iLBitmap& source);

protected:
    bool IsViewTransposed() const;

    imaging::BitmapHandle m_handle;
    int m_status;
};
