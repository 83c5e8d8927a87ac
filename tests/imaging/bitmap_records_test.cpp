// Whole-bitmap operations on the records: copy, free, view perspective, and the argument
// checks of resize and sharpen. A refused call changes nothing.
#include "ImageFixtures.h"

#include "imaging/PixelBufferReuse.h"

#include <windows.h>
#include <psapi.h>

#include <cstring>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace bitmap_records_test {

using namespace imaging;
using namespace imaging_test;

namespace {

Colour Rows(int x, int y) { return {y * 40, x * 30, 200 - y * 40}; }

TEST(CopyBitmap, MakesAnIndependentCopy)
{
    TestBitmap source, copy;
    MakeBitmap(source, 5, 4, 24, Rows, kViewBottomUp, 150);
    ASSERT_EQ(kSuccess, L_CopyBitmap(&copy.handle, &source.handle));
    EXPECT_NE(source.handle.pixels, copy.handle.pixels);
    EXPECT_EQ(kViewBottomUp, copy.handle.viewPerspective);
    EXPECT_EQ(150, copy.handle.xResolution);
    EXPECT_EQ(0, MaxDifference(source.handle, copy.handle));
    source.handle.pixels[0] ^= 0xFF;
    EXPECT_EQ(Rows(0, 3), PixelAt(copy.handle, 0, 3));
}

TEST(CopyBitmap, AnEmptySourceLeavesTheDestinationAlone)
{
    TestBitmap destination;
    MakeBitmap(destination, 3, 3, 8, Rows);
    const BitmapSnapshot before(destination.handle);
    const BitmapHandle empty{};
    EXPECT_EQ(kErrorNoBitmap, L_CopyBitmap(&destination.handle, &empty));
    EXPECT_TRUE(before.Matches(destination.handle));
    EXPECT_EQ(kErrorInvalidParameter, L_CopyBitmap(nullptr, &destination.handle));
    EXPECT_EQ(kErrorInvalidParameter, L_CopyBitmap(&destination.handle, nullptr));
}

TEST(FreeBitmap, ReleasesAndEmptiesTheRecord)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 3, 3, 24, Rows);
    EXPECT_EQ(kSuccess, L_FreeBitmap(&bitmap.handle));
    EXPECT_TRUE(BitmapSnapshot(BitmapHandle{}).Matches(bitmap.handle));
    EXPECT_EQ(kSuccess, L_FreeBitmap(&bitmap.handle));
    EXPECT_EQ(kErrorInvalidParameter, L_FreeBitmap(nullptr));
}

TEST(ViewPerspective, BottomUpTurnsTopDownInPlaceWithTheImageUnchanged)
{
    for (int height : {1, 2, 5}) {
        SCOPED_TRACE("height " + std::to_string(height));
        TestBitmap bitmap, reference;
        MakeBitmap(bitmap, 4, height, 24, Rows, kViewBottomUp);
        MakeBitmap(reference, 4, height, 24, Rows, kViewTopDown);
        std::uint8_t* const pixels = bitmap.handle.pixels;
        ASSERT_EQ(kSuccess, L_ChangeBitmapViewPerspective(nullptr, &bitmap.handle, kViewTopDown));
        EXPECT_EQ(kViewTopDown, bitmap.handle.viewPerspective);
        EXPECT_EQ(pixels, bitmap.handle.pixels);
        EXPECT_EQ(0, MaxDifference(reference.handle, bitmap.handle));
        // Now stored as the top-down reference is.
        EXPECT_EQ(0, std::memcmp(reference.handle.pixels, bitmap.handle.pixels, bitmap.handle.pixelBytes));
    }
}

TEST(ViewPerspective, ConvertsIntoADestinationLeavingTheSource)
{
    TestBitmap source, converted;
    MakeBitmap(source, 3, 4, 8, Rows, kViewTopDown);
    const BitmapSnapshot before(source.handle);
    ASSERT_EQ(kSuccess, L_ChangeBitmapViewPerspective(&converted.handle, &source.handle, kViewBottomUp));
    EXPECT_EQ(kViewBottomUp, converted.handle.viewPerspective);
    EXPECT_TRUE(before.Matches(source.handle));
    EXPECT_EQ(0, MaxDifference(source.handle, converted.handle));
}

TEST(ViewPerspective, RefusesPerspectivesItDoesNotStore)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 3, 4, 24, Rows, kViewBottomUp);
    const BitmapSnapshot before(bitmap.handle);
    for (int perspective : {-1, 1, 3, 4, 5, 8}) {
        SCOPED_TRACE(perspective);
        EXPECT_EQ(kErrorInvalidParameter, L_ChangeBitmapViewPerspective(nullptr, &bitmap.handle, perspective));
        EXPECT_TRUE(before.Matches(bitmap.handle));
    }
    BitmapHandle empty{};
    EXPECT_EQ(kErrorNoBitmap, L_ChangeBitmapViewPerspective(nullptr, &empty, kViewTopDown));
}

TEST(SizeBitmap, RefusesBadSizesAndFlagsWithoutChangingTheBitmap)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 6, 4, 24, Rows);
    const BitmapSnapshot before(bitmap.handle);
    struct Case { const char* why; int width; int height; int flags; int result; };
    const Case kCases[] = {
        {"width 0", 0, 4, kSizeBicubic, kErrorInvalidParameter},
        {"height 0", 6, 0, kSizeBicubic, kErrorInvalidParameter},
        {"negative width", -6, 4, kSizeNearest, kErrorInvalidParameter},
        {"one past the widest side", kMaxSidePx + 1, 1, kSizeBilinear, kErrorImageTooLarge},
        {"sides allowed, bytes not", 60000, 60000, kSizeBicubic, kErrorImageTooLarge},
        {"flags 1", 12, 8, 1, kErrorInvalidParameter},
        {"flags 6", 12, 8, 6, kErrorInvalidParameter},
        {"flags 8", 12, 8, 8, kErrorInvalidParameter},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.result, L_SizeBitmap(&bitmap.handle, c.width, c.height, c.flags));
        EXPECT_TRUE(before.Matches(bitmap.handle));
    }
    BitmapHandle empty{};
    EXPECT_EQ(kErrorNoBitmap, L_SizeBitmap(&empty, 10, 10, kSizeBicubic));
    EXPECT_EQ(kErrorInvalidParameter, L_SizeBitmap(nullptr, 10, 10, kSizeBicubic));
}

// Resampling works on the stored rows; a bottom-up bitmap keeps its top line on top.
TEST(SizeBitmap, KeepsPerspectiveDepthAndResolution)
{
    for (int bitsPerPixel : {8, 24}) {
        SCOPED_TRACE(bitsPerPixel);
        TestBitmap bitmap;
        MakeBitmap(bitmap, 4, 4, bitsPerPixel, [](int, int y) { return y == 0 ? Colour{250, 0, 0} : Colour{10, 0, 200}; },
                   kViewBottomUp, 240);
        ASSERT_EQ(kSuccess, L_SizeBitmap(&bitmap.handle, 8, 8, kSizeNearest));
        EXPECT_EQ(8, bitmap.handle.width);
        EXPECT_EQ(8, bitmap.handle.height);
        EXPECT_EQ(bitsPerPixel, bitmap.handle.bitsPerPixel);
        EXPECT_EQ(kViewBottomUp, bitmap.handle.viewPerspective);
        EXPECT_EQ(240, bitmap.handle.xResolution);
        EXPECT_EQ(240, bitmap.handle.yResolution);
        EXPECT_EQ(250, PixelAt(bitmap.handle, 3, 1)[0]);
        EXPECT_EQ(10, PixelAt(bitmap.handle, 3, 2)[0]);
    }
}

TEST(SharpenBitmap, RefusesAmountsOutsideTheRange)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 6, 4, 24, Rows);
    const Bytes before(bitmap.handle.pixels, bitmap.handle.pixels + bitmap.handle.pixelBytes);
    for (int amount : {kSharpenMin - 1, kSharpenMax + 1}) {
        SCOPED_TRACE(amount);
        EXPECT_EQ(kErrorInvalidParameter, L_SharpenBitmap(&bitmap.handle, amount));
    }
    EXPECT_EQ(kSuccess, L_SharpenBitmap(&bitmap.handle, 0));
    EXPECT_TRUE(std::equal(before.begin(), before.end(), bitmap.handle.pixels));
    BitmapHandle empty{};
    EXPECT_EQ(kErrorNoBitmap, L_SharpenBitmap(&empty, 750));
}

// Records whose fields disagree are refused rather than read past their pixels.
TEST(BitmapChecks, InconsistentRecordsAreRefused)
{
    TestBitmap bitmap;
    MakeBitmap(bitmap, 6, 4, 24, Rows);
    struct Case { const char* why; void (*spoil)(BitmapHandle&); };
    const Case kCases[] = {
        {"rows shorter than the width", [](BitmapHandle& b) { b.bytesPerLine = 12; }},
        {"fewer bytes than the rows", [](BitmapHandle& b) { b.pixelBytes = 20; }},
        {"16 bits per pixel", [](BitmapHandle& b) { b.bitsPerPixel = 16; }},
        {"an unknown perspective", [](BitmapHandle& b) { b.viewPerspective = 7; }},
        {"no width", [](BitmapHandle& b) { b.width = 0; }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        BitmapHandle spoilt = bitmap.handle;
        c.spoil(spoilt);
        BitmapHandle copy{};
        EXPECT_EQ(kErrorInvalidParameter, L_CopyBitmap(&copy, &spoilt));
        EXPECT_EQ(kErrorInvalidParameter, L_SizeBitmap(&spoilt, 3, 3, kSizeBilinear));
        EXPECT_EQ(kErrorInvalidParameter, L_SaveBitmap("never.bmp", &spoilt, kFormatBmp, 0, 0, nullptr));
    }
}

// Committed memory of the process.
SIZE_T CommittedBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    return K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.PagefileUsage : 0;
}

int CancelAtOnce(int, void*) { return 0; }

// In a reuse scope each pass of a chain writes into the buffer the pass before gave up,
// with the same pixels as fresh buffers give; a cancelled pass still leaves the bitmap as
// it was; and the kept buffer goes back to the system when the scope ends.
TEST(PixelBufferReuse, AChainOfPassesTakesThePagesThePassBeforeGaveUp)
{
    TestBitmap fresh, reused;
    MakeBitmap(fresh, 1500, 1000, 24, PhotoLike);
    MakeBitmap(reused, 1500, 1000, 24, PhotoLike);
    for (int pass = 0; pass < 3; ++pass)
        ASSERT_EQ(kSuccess, L_SharpenBitmap(&fresh.handle, -1000));

    SIZE_T keeping = 0;
    {
        ScopedPixelBufferReuse reuse;
        std::uint8_t* const first = reused.handle.pixels;
        ASSERT_EQ(kSuccess, L_SharpenBitmap(&reused.handle, -1000));
        std::uint8_t* const second = reused.handle.pixels;
        ASSERT_EQ(kSuccess, L_SharpenBitmap(&reused.handle, -1000));
        EXPECT_EQ(first, reused.handle.pixels);
        ASSERT_EQ(kSuccess, L_SharpenBitmap(&reused.handle, -1000));
        EXPECT_EQ(second, reused.handle.pixels);
        EXPECT_EQ(0, MaxDifference(fresh.handle, reused.handle));

        const BitmapSnapshot before(reused.handle);
        const StatusCallback previous = L_SetStatusCallBack(&CancelAtOnce, nullptr);
        EXPECT_EQ(kErrorCancelled, L_SharpenBitmap(&reused.handle, -1000));
        L_SetStatusCallBack(previous, nullptr);
        EXPECT_TRUE(before.Matches(reused.handle));
        keeping = CommittedBytes();
    }
    // The 4.5 MB buffer kept for the next pass is freed with the scope.
    EXPECT_LT(CommittedBytes() + reused.handle.pixelBytes * 9 / 10, keeping);
}

} // namespace

} // namespace bitmap_records_test
