// Save and load through every format the library writes: lossless formats give the same
// pixels back, JPEG close ones; the resolution survives where the format stores one; the
// format code that L_FileInfo reports is the one saving takes back.
#include "ImageFixtures.h"

#include "imaging/WicCodec.h"

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace roundtrip_test {

using namespace imaging;
using namespace imaging_test;

namespace {

struct RoundTripFormat {
    const char* name;
    int format;
    bool isLossless;
    bool keepsResolution;  // GIF stores none
};

const RoundTripFormat kRoundTripFormats[] = {
    {"Bmp", kFormatBmp, true, true},
    {"Tif", kFormatTif, true, true},
    {"Pcx", kFormatPcx, true, true},
    {"Gif", kFormatGif, true, false},
    {"Jpeg", kFormatJpeg, false, true},
};

// JPEG on the photo-like fixture, whose noise is the hardest part to code: even at the
// encoder's default quality (75, all Wine's encoder gives) the error stays near 3 levels
// (about 39 dB); 35 dB allows for encoders that subsample colour more coarsely, and is far
// above what a broken codec gets (swapped channels, shifted or mis-strided rows: below 20 dB).
constexpr double kJpegMinPsnr = 35.0;

class RoundTrip : public ::testing::TestWithParam<RoundTripFormat> {
protected:
    ScratchFolder folder;
};

TEST_P(RoundTrip, GivesThePixelsAndResolutionBack)
{
    const RoundTripFormat& c = GetParam();
    // Odd width and height: padding and run ends go wrong first there. GIF gets an image of
    // few colours so that its palette is exact.
    TestBitmap original;
    MakeBitmap(original, 61, 37, 24, c.format == kFormatGif ? FewColours : PhotoLike);
    const std::string path = folder.Path("image");
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &original.handle, c.format, 0, 2, nullptr));

    FileInfo info{};
    ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
    EXPECT_EQ(c.format, info.format);
    EXPECT_EQ(61, info.width);
    EXPECT_EQ(37, info.height);
    EXPECT_EQ(static_cast<int>(ReadBytes(path).size()), info.sizeDisk);
    EXPECT_EQ(c.keepsResolution ? 300 : kDefaultResolution, info.xResolution);

    TestBitmap loaded;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
    ASSERT_EQ(61, loaded.handle.width);
    ASSERT_EQ(37, loaded.handle.height);
    EXPECT_EQ(c.keepsResolution ? 300 : kDefaultResolution, loaded.handle.xResolution);
    EXPECT_EQ(c.keepsResolution ? 300 : kDefaultResolution, loaded.handle.yResolution);
    if (c.isLossless)
        EXPECT_EQ(0, MaxDifference(original.handle, loaded.handle));
    else
        EXPECT_GT(Psnr(original.handle, loaded.handle), kJpegMinPsnr);
}

TEST_P(RoundTrip, KeepsGreyImagesGrey)
{
    const RoundTripFormat& c = GetParam();
    TestBitmap original;
    MakeBitmap(original, 33, 20, 8, [](int x, int y) { return Colour{x * 5 + y * 4, 0, 0}; });
    const std::string path = folder.Path("grey");
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &original.handle, c.format, 0, 2, nullptr));

    TestBitmap loaded;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(8, loaded.handle.bitsPerPixel);
    if (c.isLossless)
        EXPECT_EQ(0, MaxDifference(original.handle, loaded.handle));
    else
        EXPECT_GT(Psnr(original.handle, loaded.handle), kJpegMinPsnr);

    TestBitmap widened;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &widened.handle, 24, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(24, widened.handle.bitsPerPixel);
    EXPECT_EQ(0, MaxDifference(loaded.handle, widened.handle));
}

// The Save command writes the opened file back with the code its file information gave.
TEST_P(RoundTrip, SavesBackInTheReportedFormat)
{
    const RoundTripFormat& c = GetParam();
    TestBitmap original;
    MakeBitmap(original, 20, 10, 24, FewColours);
    const std::string path = folder.Path("opened");
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &original.handle, c.format, 0, 0, nullptr));

    TestBitmap opened;
    FileInfo info{};
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &opened.handle, 0, kColorOrderBgr, nullptr, &info));
    EXPECT_EQ(c.format, info.format);
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &opened.handle, info.format, 0, 2, nullptr));
    FileInfo again{};
    ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &again, 0, nullptr));
    EXPECT_EQ(c.format, again.format);
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip, ::testing::ValuesIn(kRoundTripFormats),
                         [](const ::testing::TestParamInfo<RoundTripFormat>& info) { return info.param.name; });

TEST(RoundTripBottomUp, BmpLoadsBottomUpWithTheTopLineOnTop)
{
    ScratchFolder folder;
    TestBitmap original;
    MakeBitmap(original, 5, 4, 24, [](int x, int y) { return Colour{y * 60, x * 50, 7}; });
    const std::string path = folder.Path("rows.bmp");
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &original.handle, kFormatBmp, 0, 0, nullptr));

    TestBitmap loaded;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(kViewBottomUp, loaded.handle.viewPerspective);
    EXPECT_EQ(0, MaxDifference(original.handle, loaded.handle));
    // The first stored row is the bottom line.
    EXPECT_EQ(3 * 60, loaded.handle.pixels[2]);
}

TEST(JpegQuality, FactorsMapOntoTheEncodersScale)
{
    struct Case { const char* why; int factor; float quality; };
    const Case kCases[] = {{"2 is the highest", 2, 1.0f}, {"1 counts as 2", 1, 1.0f}, {"255 is the lowest", 255, 0.0f},
                           {"the middle", 128, 127.0f / 253.0f}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_FLOAT_EQ(c.quality, JpegImageQuality(c.factor));
    }
}

TEST(JpegQuality, FactorTwoCodesFinerThanTheLowest)
{
    ScratchFolder folder;
    TestBitmap original;
    MakeBitmap(original, 64, 48, 24, PhotoLike);
    const std::string best = folder.Path("best.jpg"), worst = folder.Path("worst.jpg");
    ASSERT_EQ(kSuccess, L_SaveBitmap(best.c_str(), &original.handle, kFormatJpeg, 0, 2, nullptr));
    ASSERT_EQ(kSuccess, L_SaveBitmap(worst.c_str(), &original.handle, kFormatJpeg, 0, 255, nullptr));
    if (ReadBytes(best) == ReadBytes(worst))
        GTEST_SKIP() << "this platform's JPEG encoder ignores ImageQuality (Wine 8 does)";
    TestBitmap fine, coarse;
    ASSERT_EQ(kSuccess, L_LoadBitmap(best.c_str(), &fine.handle, 0, kColorOrderBgr, nullptr, nullptr));
    ASSERT_EQ(kSuccess, L_LoadBitmap(worst.c_str(), &coarse.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_GT(Psnr(original.handle, fine.handle), Psnr(original.handle, coarse.handle));
    EXPECT_GT(ReadBytes(best).size(), ReadBytes(worst).size());
}

TEST(SaveErrors, FormatsWeCannotWriteAnswerClearlyAndWriteNothing)
{
    ScratchFolder folder;
    TestBitmap original;
    MakeBitmap(original, 8, 8, 24, FewColours);
    struct Case { const char* why; int format; };
    const Case kCases[] = {{"PNG is read only", kFormatPng}, {"a JPEG variant code", 11}, {"no such code", 999},
                           {"zero", 0}, {"negative", -1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const std::string path = folder.Path("never");
        EXPECT_EQ(kErrorFormatNotWritable, L_SaveBitmap(path.c_str(), &original.handle, c.format, 0, 0, nullptr));
        EXPECT_FALSE(FileExists(path));
    }
}

TEST(SaveErrors, BadArgumentsAndEmptyRecordsAreRefused)
{
    ScratchFolder folder;
    TestBitmap original;
    MakeBitmap(original, 8, 8, 24, FewColours);
    const std::string path = folder.Path("never.bmp");
    BitmapHandle empty{};
    EXPECT_EQ(kErrorNoBitmap, L_SaveBitmap(path.c_str(), &empty, kFormatBmp, 0, 0, nullptr));
    EXPECT_EQ(kErrorInvalidParameter, L_SaveBitmap(path.c_str(), nullptr, kFormatBmp, 0, 0, nullptr));
    EXPECT_EQ(kErrorInvalidParameter, L_SaveBitmap(nullptr, &original.handle, kFormatBmp, 0, 0, nullptr));
    EXPECT_EQ(kErrorInvalidParameter, L_SaveBitmap(path.c_str(), &original.handle, kFormatBmp, 16, 0, nullptr));
    EXPECT_EQ(kErrorInvalidParameter, L_SaveBitmap(path.c_str(), &original.handle, kFormatJpeg, 0, 256, nullptr));
    EXPECT_EQ(kErrorInvalidParameter, L_SaveBitmap(path.c_str(), &original.handle, kFormatJpeg, 0, -1, nullptr));
    EXPECT_FALSE(FileExists(path));
}

// A save that cannot complete leaves the file that was there as it was.
TEST(SaveErrors, AFailedSaveLeavesTheOldFileIntact)
{
    ScratchFolder folder;
    TestBitmap original;
    MakeBitmap(original, 8, 8, 24, FewColours);
    const std::string path = folder.Path("locked.bmp");
    const Bytes before = {'k', 'e', 'e', 'p'};
    WriteBytes(path, before);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(kErrorFileWrite, L_SaveBitmap(path.c_str(), &original.handle, kFormatBmp, 0, 0, nullptr));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(before, ReadBytes(path));

    const std::string missingFolder = folder.Path("no such folder\\image.bmp");
    EXPECT_EQ(kErrorFileWrite, L_SaveBitmap(missingFolder.c_str(), &original.handle, kFormatBmp, 0, 0, nullptr));
}

TEST(LoadErrors, BadArgumentsAndMissingFilesAreRefused)
{
    ScratchFolder folder;
    TestBitmap original;
    MakeBitmap(original, 8, 8, 24, FewColours);
    const std::string path = folder.Path("image.bmp");
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &original.handle, kFormatBmp, 0, 0, nullptr));

    BitmapHandle bitmap{};
    EXPECT_EQ(kErrorInvalidParameter, L_LoadBitmap(path.c_str(), &bitmap, 16, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(kErrorInvalidParameter, L_LoadBitmap(path.c_str(), &bitmap, 0, 0, nullptr, nullptr));
    EXPECT_EQ(kErrorInvalidParameter, L_LoadBitmap(path.c_str(), nullptr, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(kErrorFileOpen, L_LoadBitmap(folder.Path("missing.bmp").c_str(), &bitmap, 0, kColorOrderBgr, nullptr,
                                           nullptr));
    FileInfo info{};
    EXPECT_EQ(kErrorFileOpen, L_FileInfo(folder.Path("missing.bmp").c_str(), &info, 0, nullptr));
    EXPECT_EQ(kErrorInvalidParameter, L_FileInfo(path.c_str(), &info, 1, nullptr));
    EXPECT_EQ(nullptr, bitmap.pixels);

    const std::string text = folder.Path("notes.txt");
    WriteBytes(text, Bytes{'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(kErrorFileFormat, L_FileInfo(text.c_str(), &info, 0, nullptr));
    EXPECT_EQ(kErrorFileFormat, L_LoadBitmap(text.c_str(), &bitmap, 0, kColorOrderBgr, nullptr, nullptr));
}

} // namespace

} // namespace roundtrip_test
