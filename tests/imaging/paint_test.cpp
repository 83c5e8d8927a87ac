// L_PaintDC and L_CreatePaintPalette, drawn into a 32-bit memory bitmap and read back.
#include "ImageFixtures.h"

#include <windows.h>

#include <vector>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace paint_test {

using namespace imaging;
using namespace imaging_test;

namespace {

constexpr COLORREF kBackground = RGB(1, 2, 3);

// A 32-bit top-down memory canvas, filled with kBackground.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_previous = SelectObject(m_dc, m_bitmap);
        for (int i = 0; i < width * height; ++i)
            m_bits[i] = 0x00010203;
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    Colour At(int x, int y) const
    {
        GdiFlush();
        const std::uint32_t pixel = m_bits[y * m_width + x];
        return {static_cast<int>(pixel >> 16 & 0xFF), static_cast<int>(pixel >> 8 & 0xFF), static_cast<int>(pixel & 0xFF)};
    }

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
    std::uint32_t* m_bits = nullptr;
};

const Colour kBackgroundColour{1, 2, 3};

// 2 x 2: red, green on top; blue, white below.
Colour Quad(int x, int y)
{
    static const Colour kColours[2][2] = {{{255, 0, 0}, {0, 255, 0}}, {{0, 0, 255}, {255, 255, 255}}};
    return kColours[y][x];
}

Colour Quad2x2Tiles(int x, int y) { return Quad(x % 2, y % 2); }

TEST(PaintDC, DrawsBothStoredOrdersTheRightWayUp)
{
    for (int perspective : {kViewTopDown, kViewBottomUp}) {
        SCOPED_TRACE(perspective);
        TestBitmap bitmap;
        MakeBitmap(bitmap, 2, 2, 24, Quad, perspective);
        Canvas canvas(4, 4);
        const RECT source{0, 0, 2, 2}, destination{0, 0, 4, 4};
        ASSERT_EQ(kSuccess, L_PaintDC(canvas.dc(), &bitmap.handle, &source, nullptr, &destination, nullptr, SRCCOPY));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                EXPECT_EQ(Quad(x / 2, y / 2), canvas.At(x, y)) << x << "," << y;
    }
}

TEST(PaintDC, StretchesTheSourceRectangleOnly)
{
    for (int perspective : {kViewTopDown, kViewBottomUp}) {
        SCOPED_TRACE(perspective);
        TestBitmap bitmap;
        MakeBitmap(bitmap, 2, 2, 24, Quad, perspective);
        Canvas canvas(4, 4);
        const RECT source{1, 1, 2, 2}, destination{1, 1, 3, 3};
        ASSERT_EQ(kSuccess, L_PaintDC(canvas.dc(), &bitmap.handle, &source, nullptr, &destination, nullptr, SRCCOPY));
        EXPECT_EQ(Quad(1, 1), canvas.At(1, 1));
        EXPECT_EQ(Quad(1, 1), canvas.At(2, 2));
        EXPECT_EQ(kBackgroundColour, canvas.At(0, 0));
        EXPECT_EQ(kBackgroundColour, canvas.At(3, 3));
    }
}

TEST(PaintDC, PaintsGreyLevels)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 2, 1, 8, [](int x, int) { return Colour{x == 0 ? 37 : 201, 0, 0}; });
    Canvas canvas(2, 1);
    ASSERT_EQ(kSuccess, L_PaintDC(canvas.dc(), &bitmap.handle, nullptr, nullptr, nullptr, nullptr, SRCCOPY));
    EXPECT_EQ((Colour{37, 37, 37}), canvas.At(0, 0));
    EXPECT_EQ((Colour{201, 201, 201}), canvas.At(1, 0));
}

TEST(PaintDC, HonoursBothClipRectangles)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 2, 2, 24, Quad);
    const RECT source{0, 0, 2, 2}, destination{0, 0, 4, 4};
    {
        Canvas canvas(4, 4);
        const RECT leftHalf{0, 0, 2, 4};
        ASSERT_EQ(kSuccess, L_PaintDC(canvas.dc(), &bitmap.handle, &source, nullptr, &destination, &leftHalf, SRCCOPY));
        EXPECT_EQ(Quad(0, 0), canvas.At(1, 1));
        EXPECT_EQ(kBackgroundColour, canvas.At(2, 1));
    }
    {
        Canvas canvas(4, 4);
        const RECT bottomRow{0, 1, 2, 2};  // in image pixels: the lower half on the canvas
        ASSERT_EQ(kSuccess, L_PaintDC(canvas.dc(), &bitmap.handle, &source, &bottomRow, &destination, nullptr, SRCCOPY));
        EXPECT_EQ(kBackgroundColour, canvas.At(0, 1));
        EXPECT_EQ(Quad(0, 1), canvas.At(0, 2));
    }
}

// The stretch mode in force when the bitmap is drawn, read from a metafile recording.
int RecordedStretchMode(const BitmapHandle& bitmap, const RECT& destination)
{
    HDC recorder = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    const RECT source{0, 0, bitmap.width, bitmap.height};
    EXPECT_EQ(kSuccess, L_PaintDC(recorder, &bitmap, &source, nullptr, &destination, nullptr, SRCCOPY));
    HENHMETAFILE recording = CloseEnhMetaFile(recorder);
    std::vector<BYTE> bytes(GetEnhMetaFileBits(recording, 0, nullptr));
    GetEnhMetaFileBits(recording, static_cast<UINT>(bytes.size()), bytes.data());
    DeleteEnhMetaFile(recording);
    int mode = 0;
    for (std::size_t at = 0; at + sizeof(EMR) <= bytes.size();) {
        const auto* record = reinterpret_cast<const EMR*>(bytes.data() + at);
        if (record->iType == EMR_SETSTRETCHBLTMODE)
            mode = static_cast<int>(reinterpret_cast<const EMRSETSTRETCHBLTMODE*>(record)->iMode);
        if (record->iType == EMR_STRETCHDIBITS)
            return mode;
        if (record->nSize == 0)
            break;
        at += record->nSize;
    }
    return -1;
}

TEST(PaintDC, HalftonesReductionsAndKeepsEnlargementsSharp)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 64, 32, 24, Quad2x2Tiles);
    struct Case { const char* why; RECT destination; int mode; };
    const Case kCases[] = {
        {"an eighth", {0, 0, 8, 4}, HALFTONE},
        {"narrower only", {0, 0, 32, 32}, HALFTONE},
        {"same size", {0, 0, 64, 32}, COLORONCOLOR},
        {"twice", {0, 0, 128, 64}, COLORONCOLOR},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.mode, RecordedStretchMode(bitmap.handle, c.destination));
    }
}

// Reducing a fine checkerboard to an eighth averages it where GDI's halftoning does
// (Windows); Wine picks pixels whatever the mode.
TEST(PaintDC, ReducingAveragesThePixelsItDrops)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 64, 64, 24, [](int x, int y) { return (x + y) % 2 ? Colour{255, 255, 255} : Colour{0, 0, 0}; });
    Canvas canvas(8, 8);
    const RECT source{0, 0, 64, 64}, destination{0, 0, 8, 8};
    ASSERT_EQ(kSuccess, L_PaintDC(canvas.dc(), &bitmap.handle, &source, nullptr, &destination, nullptr, SRCCOPY));
    const Colour centre = canvas.At(4, 4);
    if (centre[1] == 0 || centre[1] == 255)
        GTEST_SKIP() << "this platform's GDI does not average in HALFTONE mode";
    EXPECT_GT(centre[1], 64);
    EXPECT_LT(centre[1], 192);
}

// A fitted view reaches past the image on one side: the image's part is averaged into
// its share of the destination, and the rest is left as it was.
TEST(PaintDC, ReducingAViewPastTheImageAveragesOnlyTheImage)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 64, 64, 24, [](int x, int y) { return (x + y) % 2 ? Colour{255, 255, 255} : Colour{0, 0, 0}; });
    Canvas canvas(8, 10);
    const RECT source{0, 0, 64, 80}, destination{0, 0, 8, 10};
    ASSERT_EQ(kSuccess, L_PaintDC(canvas.dc(), &bitmap.handle, &source, nullptr, &destination, nullptr, SRCCOPY));
    for (int y : {0, 4, 7}) {
        SCOPED_TRACE(y);
        const Colour inside = canvas.At(4, y);
        EXPECT_GT(inside[1], 64);
        EXPECT_LT(inside[1], 192);
    }
    EXPECT_EQ(kBackgroundColour, canvas.At(4, 8));
    EXPECT_EQ(kBackgroundColour, canvas.At(4, 9));
}

TEST(PaintDC, RefusesMissingContextOrBitmap)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 2, 2, 24, Quad);
    Canvas canvas(2, 2);
    const BitmapHandle empty{};
    EXPECT_EQ(kErrorInvalidParameter, L_PaintDC(nullptr, &bitmap.handle, nullptr, nullptr, nullptr, nullptr, SRCCOPY));
    EXPECT_EQ(kErrorNoBitmap, L_PaintDC(canvas.dc(), &empty, nullptr, nullptr, nullptr, nullptr, SRCCOPY));
    EXPECT_EQ(kBackgroundColour, canvas.At(0, 0));
}

TEST(CreatePaintPalette, NoneForATrueColourContext)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 2, 2, 24, Quad);
    Canvas canvas(2, 2);
    EXPECT_EQ(nullptr, L_CreatePaintPalette(canvas.dc(), &bitmap.handle));
}

} // namespace

} // namespace paint_test
