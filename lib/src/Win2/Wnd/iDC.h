// Device contexts that make or adopt their DC in the constructor and delete it in the
// destructor, the off-screen DC the library paints through without flicker, and the
// print-preview DC kept for the library's completeness.
#pragma once

#include "lib/src/Win2/Wnd/iBitmap.h"

// Owns its DC: deletes it on destruction, so it is only given DCs that may be deleted.
class iDC : public CDC {
public:
    // No DC.
    iDC();
    iDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* initData);
    // A memory DC compatible with dc's output DC, or with the screen when dc is null.
    explicit iDC(CDC* dc);
    // Adopts the handle.
    explicit iDC(HDC dc);
    ~iDC() override;
};

// The client area of a window (the screen for null); released on destruction.
class iClientDC : public CClientDC {
public:
    explicit iClientDC(CWnd* window);
    ~iClientDC() override;
};

// A memory DC holding an image of a rectangle of the target. Painting code draws into it
// with (0, 0) at the rectangle's top-left corner, copies it once with BitBlt and lets it
// go, which puts the memory DC's own bitmap back and deletes the DC and an owned bitmap.
// Owns the bitmap it makes; one it is given stays the caller's. The target is borrowed.
class iCDC : public iDC {
public:
    // A new bitmap of this size, compatible with the target. Without a target the bitmap
    // is compatible with the memory DC itself, which makes it monochrome.
    iCDC(CDC* target, const SIZE& size);
    iCDC(CDC* target, const RECT& rect);
    iCDC(CDC* target, int cx, int cy);
    // The given bitmap, covering (0, 0) to its size on the target.
    iCDC(CDC* target, iBitmap* bitmap);
    ~iCDC() override;

    // Copies the whole image to the rectangle on the target; FALSE without a target.
    [[nodiscard]] BOOL BitBlt(DWORD rop);
    using CDC::BitBlt;

    const RECT& GetRect() const { return m_rect; }
    iBitmap* GetBitmap() const { return m_bitmap; }

private:
    void SelectImage();

    CDC* m_target;
    RECT m_rect;
    iBitmap* m_bitmap;
    BOOL m_ownsBitmap;
    // Held as a handle: a temporary wrapper would not outlive the next idle clean-up.
    HGDIOBJ m_previousBitmap = nullptr;
};

// The framework's print-preview DC, owning the DC it is given.
class iPreviewDC : public CPreviewDC {
public:
    iPreviewDC();
    explicit iPreviewDC(HDC dc);
    ~iPreviewDC() override;
};
