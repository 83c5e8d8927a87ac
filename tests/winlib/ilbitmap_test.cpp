// iLBitmap: its empty, loaded and failed states, size as seen through the view
// perspective, resolution, and the calls it must not pass on to the library.
#include "lib/src/Win2/Wnd/iLBitmap.h"
#include "lib/src/Win2/Wnd/iLFileInfo.h"

#include "imaging/BitmapStorage.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// Opens the wrapper's record and status to a test, to build fixtures in memory.
struct OpenBitmap : iLBitmap {
    using iLBitmap::m_handle;
    using iLBitmap::m_status;

    // An in-memory bitmap of the given stored size and view perspective, owned as if loaded.
    void Adopt(int width, int height, int viewPerspective)
    {
        imaging::OwnedBitmap built;
        ASSERT_EQ(imaging::kSuccess, built.Allocate(width, height, 24, imaging::kViewTopDown));
        Free();
        m_handle = built.Release();
        m_handle.viewPerspective = viewPerspective;
        m_status = imaging::kSuccess;
    }
};

// Counts the library's progress reports: a library operation that runs reports at least twice.
struct ReportCounter {
    ReportCounter() { previous = L_SetStatusCallBack([](int, void* data) { ++*static_cast<int*>(data); return 1; }, &count); }
    ~ReportCounter() { L_SetStatusCallBack(previous, nullptr); }
    int count = 0;
    imaging::StatusCallback previous;
};

class LBitmap : public ::testing::Test {
protected:
    void SetUp() override
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        folder = std::string(base) + "ilbitmap_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder.c_str(), nullptr);
        // 6 x 4, red growing to the right, blue growing down, 300 by 300 dpi, saved as BMP
        // (bottom-up) and as PCX (top-down).
        imaging::OwnedBitmap image;
        ASSERT_EQ(imaging::kSuccess, image.Allocate(6, 4, 24, imaging::kViewTopDown));
        const imaging::PixelBuffer rows = imaging::TopDownView(image.get());
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x) {
                std::uint8_t* p = rows.data + y * rows.stride + 3 * x;
                p[0] = static_cast<std::uint8_t>(y * 60);
                p[1] = 100;
                p[2] = static_cast<std::uint8_t>(x * 40);
            }
        image.get().xResolution = image.get().yResolution = 300;
        ASSERT_EQ(imaging::kSuccess, L_SaveBitmap(Path("image.bmp").c_str(), &image.get(), imaging::kFormatBmp, 0, 0, nullptr));
        ASSERT_EQ(imaging::kSuccess, L_SaveBitmap(Path("image.pcx").c_str(), &image.get(), imaging::kFormatPcx, 0, 0, nullptr));
    }
    void TearDown() override
    {
        for (const char* name : {"image.bmp", "image.pcx", "saved.bmp", "never.bmp"})
            DeleteFileA(Path(name).c_str());
        RemoveDirectoryA(folder.c_str());
    }
    std::string Path(const char* name) const { return folder + "\\" + name; }

    std::string folder;
};

// The blue sample of pixel (x, y) in image order.
int BlueAt(const imaging::BitmapHandle& handle, int x, int y)
{
    const imaging::PixelBuffer rows = imaging::TopDownView(handle);
    return rows.data[y * rows.stride + 3 * x];
}

TEST_F(LBitmap, EmptyBitmapsRefuseWithoutCallingTheLibrary)
{
    OpenBitmap loadedThenFreed;
    ASSERT_EQ(1, loadedThenFreed.Load(Path("image.pcx").c_str(), 0, 1, nullptr, nullptr));
    loadedThenFreed.Free();
    OpenBitmap fresh;
    for (OpenBitmap* bitmap : {&fresh, &loadedThenFreed}) {
        EXPECT_EQ(iLBitmap::kNotLoaded, bitmap->m_status);
        EXPECT_EQ(-2147483647 - 1, iLBitmap::kNotLoaded);
        EXPECT_FALSE(bitmap->IsLoaded());
        EXPECT_EQ(0u, bitmap->GetWidth());
        EXPECT_EQ(0u, bitmap->GetHeight());
        ReportCounter reports;
        EXPECT_EQ(iLBitmap::kNotLoaded, bitmap->Save(Path("never.bmp").c_str(), imaging::kFormatBmp, 0, 2, nullptr));
        EXPECT_EQ(iLBitmap::kNotLoaded, bitmap->Resize(20, 20, 4));
        EXPECT_EQ(iLBitmap::kNotLoaded, bitmap->Sharpen(750));
        EXPECT_EQ(0, reports.count);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(Path("never.bmp").c_str()));
    }
}

TEST_F(LBitmap, ABottomUpLoadEndsTopDown)
{
    OpenBitmap bitmap;
    ASSERT_EQ(1, bitmap.Load(Path("image.bmp").c_str(), 0, 1, nullptr, nullptr));
    EXPECT_TRUE(bitmap.IsLoaded());
    EXPECT_EQ(imaging::kViewTopDown, bitmap.m_handle.viewPerspective);
    EXPECT_EQ(6u, bitmap.GetWidth());
    EXPECT_EQ(4u, bitmap.GetHeight());
    EXPECT_EQ(300, bitmap.GetResolution());
    // Top line first in storage now: its blue is 0, the bottom line's 180.
    EXPECT_EQ(0, bitmap.m_handle.pixels[0]);
    EXPECT_EQ(180, BlueAt(bitmap.m_handle, 0, 3));
}

TEST_F(LBitmap, AFailedLoadKeepsTheLibrarysResult)
{
    OpenBitmap bitmap;
    EXPECT_EQ(imaging::kErrorFileOpen, bitmap.Load(Path("missing.bmp").c_str(), 0, 1, nullptr, nullptr));
    EXPECT_EQ(imaging::kErrorFileOpen, bitmap.m_status);
    EXPECT_FALSE(bitmap.IsLoaded());
    EXPECT_EQ(0u, bitmap.GetWidth());
    EXPECT_EQ(iLBitmap::kNotLoaded, bitmap.Resize(10, 10, 0));
}

// A second load without a Free in between replaces the bitmap, and a failed one leaves
// the wrapper empty rather than owning pixels it reports as not loaded.
TEST_F(LBitmap, LoadingOverALoadedBitmapReplacesIt)
{
    OpenBitmap bitmap;
    bitmap.Adopt(30, 20, imaging::kViewTopDown);
    ASSERT_EQ(1, bitmap.Load(Path("image.pcx").c_str(), 0, 1, nullptr, nullptr));
    EXPECT_EQ(6u, bitmap.GetWidth());
    EXPECT_EQ(imaging::kErrorFileOpen, bitmap.Load(Path("missing.pcx").c_str(), 0, 1, nullptr, nullptr));
    EXPECT_EQ(nullptr, bitmap.m_handle.pixels);
}

TEST_F(LBitmap, LoadFillsTheFileInformationWhenGiven)
{
    OpenBitmap bitmap;
    iLFileInfo info;
    ASSERT_EQ(1, bitmap.Load(Path("image.pcx").c_str(), 0, 1, nullptr, &info));
    EXPECT_EQ(imaging::kFormatPcx, info.GetInfo().format);
    EXPECT_EQ(6, info.GetInfo().width);
    EXPECT_EQ(4, info.GetInfo().height);
}

TEST(LBitmapView, TransposedPerspectivesExchangeWidthAndHeight)
{
    for (int perspective = 0; perspective <= 8; ++perspective) {
        SCOPED_TRACE("view perspective " + std::to_string(perspective));
        const bool isTransposed = perspective == 4 || perspective == 5 || perspective == 7 || perspective == 8;
        OpenBitmap bitmap;
        bitmap.Adopt(30, 20, perspective);
        EXPECT_EQ(isTransposed ? 20u : 30u, bitmap.GetWidth());
        EXPECT_EQ(isTransposed ? 30u : 20u, bitmap.GetHeight());
        bitmap.m_handle.viewPerspective = imaging::kViewTopDown;
    }
}

TEST(LBitmapView, ResolutionIsTheTruncatedMean)
{
    struct Case { int x; int y; int resolution; };
    const Case kCases[] = {{300, 301, 300}, {301, 302, 301}, {72, 72, 72}, {-3, -4, -3}, {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.x) + " and " + std::to_string(c.y));
        OpenBitmap bitmap;
        bitmap.m_handle.xResolution = c.x;
        bitmap.m_handle.yResolution = c.y;
        EXPECT_EQ(c.resolution, bitmap.GetResolution());
    }
    OpenBitmap bitmap;
    bitmap.SetResolution(144);
    EXPECT_EQ(144, bitmap.m_handle.xResolution);
    EXPECT_EQ(144, bitmap.m_handle.yResolution);
}

// An empty wrapper never hands its record to the library: this one holds a pointer the
// library would try to free.
TEST(LBitmapView, FreeingAnEmptyBitmapLeavesTheLibraryAlone)
{
    OpenBitmap bitmap;
    std::uint8_t notTheLibrarys[4] = {};
    bitmap.m_handle.pixels = notTheLibrarys;
    bitmap.m_status = imaging::kErrorFileCorrupt;
    bitmap.Free();
    EXPECT_EQ(notTheLibrarys, bitmap.m_handle.pixels);
    EXPECT_EQ(iLBitmap::kNotLoaded, bitmap.m_status);
    bitmap.m_handle.pixels = nullptr;
}

TEST_F(LBitmap, CopyGivesAnIndependentBitmapOrLeavesTheDestinationEmpty)
{
    OpenBitmap source, destination;
    ASSERT_EQ(1, source.Load(Path("image.pcx").c_str(), 0, 1, nullptr, nullptr));
    ASSERT_EQ(1, destination.Copy(source));
    EXPECT_TRUE(destination.IsLoaded());
    EXPECT_EQ(6u, destination.GetWidth());
    EXPECT_NE(source.m_handle.pixels, destination.m_handle.pixels);

    OpenBitmap empty;
    EXPECT_NE(1, destination.Copy(empty));
    EXPECT_FALSE(destination.IsLoaded());
    EXPECT_EQ(0u, destination.GetWidth());
}

TEST_F(LBitmap, CopyingABitmapOntoItselfKeepsIt)
{
    OpenBitmap bitmap;
    ASSERT_EQ(1, bitmap.Load(Path("image.pcx").c_str(), 0, 1, nullptr, nullptr));
    EXPECT_EQ(1, bitmap.Copy(bitmap));
    EXPECT_TRUE(bitmap.IsLoaded());
    EXPECT_EQ(6u, bitmap.GetWidth());
}

TEST_F(LBitmap, LoadedBitmapsPassSaveResizeAndSharpenOn)
{
    OpenBitmap bitmap;
    ASSERT_EQ(1, bitmap.Load(Path("image.pcx").c_str(), 0, 1, nullptr, nullptr));
    EXPECT_EQ(1, bitmap.Resize(12, 8, 4));
    EXPECT_EQ(12u, bitmap.GetWidth());
    EXPECT_EQ(8u, bitmap.GetHeight());
    EXPECT_EQ(1, bitmap.Sharpen(-1000));
    EXPECT_EQ(1, bitmap.Save(Path("saved.bmp").c_str(), imaging::kFormatBmp, 0, 2, nullptr));
    EXPECT_EQ(imaging::kErrorFormatNotWritable, bitmap.Save(Path("never.bmp").c_str(), 75, 0, 2, nullptr));
    EXPECT_EQ(imaging::kErrorInvalidParameter, bitmap.Resize(0, 8, 4));
    EXPECT_EQ(12u, bitmap.GetWidth());
}

TEST_F(LBitmap, PaintsIntoADeviceContext)
{
    OpenBitmap bitmap;
    ASSERT_EQ(1, bitmap.Load(Path("image.bmp").c_str(), 0, 1, nullptr, nullptr));
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 6, 4);
    HGDIOBJ previous = SelectObject(dc, canvas);
    const RECT whole{0, 0, 6, 4};
    EXPECT_EQ(1, bitmap.Paint(dc, &whole, nullptr, &whole, nullptr, SRCCOPY));
    EXPECT_EQ(RGB(200, 100, 180), GetPixel(dc, 5, 3));
    EXPECT_EQ(nullptr, bitmap.CreatePaintPalette(dc));
    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

} // namespace
