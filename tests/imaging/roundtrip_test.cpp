// Save and load through every format the library writes: lossless formats give the same
// pixels back, JPEG close ones; the resolution survives where the format stores one; the
// format code that L_FileInfo reports is the one saving takes back.
#include "ImageFixtures.h"

#include "imaging/JpegCodec.h"

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
// encoder's default quality (75, colour at half resolution) the error stays near 3 levels
// (about 39 dB); 35 dB is far above what a broken codec gets (swapped channels, shifted or
// mis-strided rows: below 20 dB).
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

// A BMP keeps pixels per metre in a signed 32-bit field: a resolution past it is held at
// the field's end instead of wrapping into a value other programs read as negative.
TEST(BmpResolution, PixelsPerMetreAreHeldWithinTheSignedField)
{
    struct Case { int resolution; std::uint32_t pixelsPerMetre; };
    const Case kCases[] = {{300, 11811}, {54'000'000, 2'125'984'252}, {100'000'000, 0x7FFFFFFF},
                           {2'000'000'000, 0x7FFFFFFF}};
    const auto get32 = [](const Bytes& file, std::size_t at) {
        return std::uint32_t(file[at]) | std::uint32_t(file[at + 1]) << 8 | std::uint32_t(file[at + 2]) << 16 |
               std::uint32_t(file[at + 3]) << 24;
    };
    ScratchFolder folder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.resolution);
        TestBitmap image;
        MakeBitmap(image, 3, 2, 24, PhotoLike);
        image.handle.xResolution = c.resolution;
        image.handle.yResolution = c.resolution;
        const std::string path = folder.Path("dense.bmp");
        ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, kFormatBmp, 0, 0, nullptr));
        const Bytes file = ReadBytes(path);
        ASSERT_GE(file.size(), 46u);
        EXPECT_EQ(c.pixelsPerMetre, get32(file, 38));
        EXPECT_EQ(c.pixelsPerMetre, get32(file, 42));
    }
}

TEST(JpegQuality, FactorsMapOntoTheEncodersScale)
{
    struct Case { const char* why; int factor; int quality; bool isFullChroma; };
    const Case kCases[] = {
        {"0 is the encoder's default", 0, 0, false},      {"2 is the highest", 2, 100, true},
        {"1 counts as 2", 1, 100, true},                  {"255 is the lowest", 255, 1, false},
        {"the middle", 128, 51, false},                   {"full colour down to quality 90", 27, 90, true},
        {"colour halved below quality 90", 30, 89, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const JpegQuality settings = JpegQualityForFactor(c.factor);
        EXPECT_EQ(c.quality, settings.quality);
        EXPECT_EQ(c.isFullChroma, settings.isFullChroma);
    }
    for (int factor = 2; factor < 255; ++factor)
        EXPECT_GE(JpegQualityForFactor(factor).quality, JpegQualityForFactor(factor + 1).quality) << factor;
}

// The workspace saves at factor 2: a photo saved so and loaded again is close to what was
// saved, much closer than at the default, and the file is larger; the lowest quality is
// coarser still.
TEST(JpegQuality, FactorTwoKeepsAPhotoAndTheLowestCodesCoarsest)
{
    ScratchFolder folder;
    TestBitmap original;
    MakeBitmap(original, 160, 120, 24, PhotoLike);
    struct Saved { int factor; Bytes file; double psnr; };
    std::vector<Saved> saved;
    for (int factor : {2, 0, 255}) {
        const std::string path = folder.Path("factor" + std::to_string(factor) + ".jpg");
        ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &original.handle, kFormatJpeg, 0, factor, nullptr));
        TestBitmap loaded;
        ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
        saved.push_back({factor, ReadBytes(path), Psnr(original.handle, loaded.handle)});
    }
    const Saved& best = saved[0];
    const Saved& standard = saved[1];
    const Saved& worst = saved[2];
    EXPECT_GT(best.psnr, 45.0);
    EXPECT_GT(best.psnr, standard.psnr + 5.0);
    EXPECT_GT(standard.psnr, worst.psnr);
    EXPECT_GT(best.file.size(), standard.file.size());
    EXPECT_GT(standard.file.size(), worst.file.size());
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
