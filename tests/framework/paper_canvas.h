// A memory DC on a top-down DIB section, painted with paper, for drawing tests that read
// back what was drawn pixel by pixel; and a table of expected pixels to check it against.
// Header only: the framework's and the window library's test programs both use it.
#pragma once

#include "framework/Framework.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>

namespace test_support {

constexpr COLORREF kPaper = RGB(255, 255, 255);

// Keeps its bitmap selected while it lives; the DC leaves with the bitmap it came with.
class PaperCanvas {
public:
    PaperCanvas(int cx, int cy, WORD bitsPerPixel = 24)
    {
        m_dc.CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = cx;
        info.bmiHeader.biHeight = -cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = bitsPerPixel;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc.m_hDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_previous = SelectObject(m_dc.m_hDC, m_bitmap);
        m_dc.FillSolidRect(0, 0, cx, cy, kPaper);
    }
    ~PaperCanvas()
    {
        SelectObject(m_dc.m_hDC, m_previous);
        DeleteObject(m_bitmap);
    }
    PaperCanvas(const PaperCanvas&) = delete;
    PaperCanvas& operator=(const PaperCanvas&) = delete;

    HDC get() const { return m_dc.m_hDC; }
    COLORREF At(int x, int y) const { return ::GetPixel(m_dc.m_hDC, x, y); }
    // How many pixels of the area have the colour.
    int Count(const CRect& area, COLORREF colour) const
    {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += At(x, y) == colour ? 1 : 0;
        return count;
    }

    CDC m_dc;

private:
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
};

// One pixel a test expects, and why.
struct PixelCase {
    const char* why;
    int x, y;
    COLORREF expected;
};

// Checks every row against the canvas; a failure names its row.
inline void ExpectPixels(const PaperCanvas& canvas, std::initializer_list<PixelCase> cases)
{
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, canvas.At(c.x, c.y));
    }
}

} // namespace test_support
