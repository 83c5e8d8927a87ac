// iBitmap: each way of making one (resource by name and id, compatible with a DC, from
// sizes and bits), what a refused bitmap leaves, its size, and that it deletes its bitmap.
#include "lib/src/Win2/Wnd/iBitmap.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr UINT kTestBitmapId = 4101;  // as in ibitmap_test.rc

// The colour at (x, y) of a bitmap, read through a memory DC.
COLORREF PixelOf(const CBitmap& bitmap, int x, int y)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, bitmap.m_hObject);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return colour;
}

} // namespace

TEST(IBitmap, DefaultHoldsNothingAndMeasuresZero)
{
    const iBitmap bitmap;
    EXPECT_FALSE(bitmap.IsAttached());
    EXPECT_EQ(nullptr, bitmap.m_hObject);
    EXPECT_EQ(CSize(0, 0), bitmap.GetSize());
}

TEST(IBitmap, LoadsFromTheResourceModuleByNameAndId)
{
    const iBitmap byName("TESTBITMAP");
    const iBitmap byId(kTestBitmapId);
    for (const iBitmap* bitmap : {&byName, &byId}) {
        ASSERT_TRUE(bitmap->IsAttached());
        EXPECT_EQ(CSize(2, 2), bitmap->GetSize());
        EXPECT_EQ(RGB(0, 0, 255), PixelOf(*bitmap, 0, 0));
        EXPECT_EQ(RGB(255, 255, 255), PixelOf(*bitmap, 1, 0));
        EXPECT_EQ(RGB(255, 0, 0), PixelOf(*bitmap, 0, 1));
        EXPECT_EQ(RGB(0, 255, 0), PixelOf(*bitmap, 1, 1));
    }
    const iBitmap missing("NOSUCHBITMAP");
    EXPECT_FALSE(missing.IsAttached());
    EXPECT_EQ(CSize(0, 0), missing.GetSize());
}

TEST(IBitmap, MadeFromSizesAndBits)
{
    // 3 x 2 at 32 bits, top row first: each pixel's blue byte is its index.
    std::uint32_t bits[6];
    for (std::uint32_t i = 0; i < 6; ++i)
        bits[i] = i * 40;
    const iBitmap fromInts(3, 2, 1, 32, bits);
    const iBitmap fromSize(CSize(3, 2), 1, 32, bits);
    for (const iBitmap* bitmap : {&fromInts, &fromSize}) {
        ASSERT_TRUE(bitmap->IsAttached());
        EXPECT_EQ(CSize(3, 2), bitmap->GetSize());
        EXPECT_EQ(RGB(0, 0, 40), PixelOf(*bitmap, 1, 0));
        EXPECT_EQ(RGB(0, 0, 200), PixelOf(*bitmap, 2, 1));
    }
}

TEST(IBitmap, CompatibleWithTheGivenDCOrNothingWithoutOne)
{
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    const iBitmap fromInts(&memory, 7, 5);
    const iBitmap fromSize(&memory, CSize(7, 5));
    for (const iBitmap* bitmap : {&fromInts, &fromSize}) {
        ASSERT_TRUE(bitmap->IsAttached());
        EXPECT_EQ(CSize(7, 5), bitmap->GetSize());
        BITMAP info = {};
        ASSERT_NE(0, bitmap->GetObject(sizeof info, &info));
        EXPECT_EQ(1, info.bmBitsPixel) << "a new memory DC holds a monochrome bitmap";
    }
    const iBitmap withoutDC(static_cast<CDC*>(nullptr), 7, 5);
    EXPECT_FALSE(withoutDC.IsAttached());
}

TEST(IBitmap, RefusedBitmapLeavesTheObjectEmpty)
{
    // 40 GB of pixels.
    const iBitmap refused(100000, 100000, 1, 32, nullptr);
    EXPECT_FALSE(refused.IsAttached());
    EXPECT_EQ(nullptr, refused.m_hObject);
}

TEST(IBitmap, DestructorDeletesTheBitmap)
{
    HGDIOBJ handle = nullptr;
    {
        const iBitmap bitmap(4, 4, 1, 32, nullptr);
        handle = bitmap.m_hObject;
        ASSERT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(handle));
    }
    EXPECT_EQ(0u, GetObjectType(handle));
}
