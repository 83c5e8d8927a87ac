// Damaged files of every format, made in code from good ones: truncated at several
// places, with flipped header bytes, with damage anywhere, and lying about their size.
// They answer errors (or, where the damage leaves a readable image, a sound bitmap),
// never a crash, a hang or a huge allocation.
#include "ImageFixtures.h"
#include "ProgressiveJpegFixtures.h"

#include <windows.h>

#include <chrono>
#include <random>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace corrupt_files_test {

using namespace imaging;
using namespace imaging_test;

namespace {

struct DamagedFormat {
    const char* name;
    int format;
    bool needsLastByte;  // GIF's last byte is its trailer, whose loss costs no pixel
};

const DamagedFormat kDamagedFormats[] = {
    {"Bmp", kFormatBmp, true}, {"Tif", kFormatTif, true}, {"Pcx", kFormatPcx, true},
    {"Gif", kFormatGif, false}, {"Jpeg", kFormatJpeg, true},
};

class CorruptFiles : public ::testing::TestWithParam<DamagedFormat> {
protected:
    void SetUp() override
    {
        TestBitmap image;
        MakeBitmap(image, 23, 17, 24, PhotoLike);
        const std::string path = folder.Path("good");
        ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, GetParam().format, 0, 0, nullptr));
        good = ReadBytes(path);
        ASSERT_GT(good.size(), 100u);
    }

    // Loads the bytes; a bitmap that does load must be whole and of a size within the limits.
    int Load(const Bytes& file)
    {
        const std::string path = folder.Path("damaged");
        WriteBytes(path, file);
        FileInfo info{};
        const int infoResult = L_FileInfo(path.c_str(), &info, 0, nullptr);
        TestBitmap bitmap;
        const int result = L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr);
        if (result == kSuccess) {
            EXPECT_EQ(kSuccess, infoResult);
            EXPECT_NE(nullptr, bitmap.handle.pixels);
            EXPECT_EQ(info.width, bitmap.handle.width);
            EXPECT_EQ(info.height, bitmap.handle.height);
        } else {
            EXPECT_LT(result, 0);
            EXPECT_EQ(nullptr, bitmap.handle.pixels);
        }
        return result;
    }

    ScratchFolder folder;
    Bytes good;
};

TEST_P(CorruptFiles, TruncatedFilesAreRefused)
{
    const std::size_t size = good.size();
    const std::size_t kCuts[] = {0, 1, 2, 8, 14, 30, size / 4, size / 2, size * 3 / 4, size - 2, size - 1};
    for (std::size_t cut : kCuts) {
        if (cut == size - 1 && !GetParam().needsLastByte)
            continue;
        SCOPED_TRACE("cut at " + std::to_string(cut) + " of " + std::to_string(size));
        EXPECT_NE(kSuccess, Load(Bytes(good.begin(), good.begin() + cut)));
    }
}

TEST_P(CorruptFiles, FlippedHeaderBytesNeverCrash)
{
    for (std::size_t at = 0; at < 64 && at < good.size(); ++at) {
        SCOPED_TRACE("byte " + std::to_string(at));
        Bytes damaged = good;
        damaged[at] ^= 0xFF;
        Load(damaged);
    }
}

TEST_P(CorruptFiles, DamageAnywhereNeverCrashes)
{
    std::mt19937 random(1234);
    for (int round = 0; round < 150; ++round) {
        Bytes damaged = good;
        const int flips = 1 + round % 8;
        for (int i = 0; i < flips; ++i)
            damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        SCOPED_TRACE("round " + std::to_string(round));
        Load(damaged);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, CorruptFiles, ::testing::ValuesIn(kDamagedFormats),
                         [](const ::testing::TestParamInfo<DamagedFormat>& info) { return info.param.name; });

// Patches a 16-bit value in place.
std::size_t FindTiffTag(const Bytes& file, int tag)
{
    const bool isBigEndian = file[0] == 'M';
    auto u16 = [&](std::size_t at) { return isBigEndian ? file[at] << 8 | file[at + 1] : file[at] | file[at + 1] << 8; };
    auto u32 = [&](std::size_t at) {
        return isBigEndian ? static_cast<std::size_t>(u16(at)) << 16 | u16(at + 2)
                           : static_cast<std::size_t>(u16(at + 2)) << 16 | u16(at);
    };
    const std::size_t directory = u32(4);
    for (int i = 0; i < u16(directory); ++i) {
        if (u16(directory + 2 + 12 * i) == tag)
            return directory + 2 + 12 * i;
    }
    return 0;
}

// The first image descriptor of a GIF, past the colour table and any extensions.
std::size_t FindGifImage(const Bytes& file)
{
    std::size_t pos = 13 + ((file[10] & 0x80) ? 3u << ((file[10] & 7) + 1) : 0);
    while (file[pos] == 0x21) {
        pos += 2;
        while (file[pos] != 0)
            pos += file[pos] + 1;
        ++pos;
    }
    return file[pos] == 0x2C ? pos : 0;
}

std::size_t FindJpegFrame(const Bytes& file)
{
    for (std::size_t i = 2; i + 9 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == 0xC0)
            return i;
    }
    return 0;
}

// Each file claims far more pixels than its data holds, in the field its readers trust.
TEST(CorruptFilesLying, FilesThatClaimMorePixelsThanTheyHoldAreRefused)
{
    ScratchFolder folder;
    TestBitmap image;
    MakeBitmap(image, 23, 17, 24, PhotoLike);
    auto saved = [&](int format) {
        const std::string path = folder.Path("good");
        EXPECT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, format, 0, 0, nullptr));
        return ReadBytes(path);
    };

    struct Case { const char* why; Bytes file; };
    std::vector<Case> cases;
    Bytes bmp = saved(kFormatBmp);
    Put16(bmp, 18, 4000);  // width
    cases.push_back({"BMP width", bmp});
    bmp = saved(kFormatBmp);
    Put16(bmp, 22, 30000);  // height
    cases.push_back({"BMP height", bmp});

    Bytes pcx = saved(kFormatPcx);
    Put16(pcx, 8, 59999);   // xMax
    Put16(pcx, 66, 60000);  // bytes per line, so the lines are not too short
    Put16(pcx, 10, 59999);  // yMax
    cases.push_back({"PCX size", pcx});

    Bytes gif = saved(kFormatGif);
    const std::size_t descriptor = FindGifImage(gif);
    ASSERT_NE(0u, descriptor);
    Put16(gif, descriptor + 5, 60000);
    Put16(gif, descriptor + 7, 60000);
    cases.push_back({"GIF image size", gif});

    Bytes tif = saved(kFormatTif);
    const std::size_t widthEntry = FindTiffTag(tif, 256), heightEntry = FindTiffTag(tif, 257);
    ASSERT_NE(0u, widthEntry);
    ASSERT_NE(0u, heightEntry);
    Put16(tif, widthEntry + 8, 9000, tif[0] == 'M');
    Put16(tif, heightEntry + 8, 9000, tif[0] == 'M');
    cases.push_back({"TIFF size", tif});

    Bytes jpeg = saved(kFormatJpeg);
    const std::size_t frame = FindJpegFrame(jpeg);
    ASSERT_NE(0u, frame);
    Put16(jpeg, frame + 5, 9000, true);  // height
    Put16(jpeg, frame + 7, 9000, true);  // width
    cases.push_back({"JPEG size", jpeg});

    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const std::string path = folder.Path("lying");
        WriteBytes(path, c.file);
        TestBitmap bitmap;
        EXPECT_NE(kSuccess, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
        EXPECT_EQ(nullptr, bitmap.handle.pixels);
    }
}

// A size beyond the limits in a header the structural checks cannot doubt (compressed
// TIFF strips have no known size) is refused before anything is allocated.
TEST(CorruptFilesLying, SizesBeyondTheLimitsAreRefusedFromTheHeader)
{
    ScratchFolder folder;
    TestBitmap image;
    MakeBitmap(image, 23, 17, 24, PhotoLike);
    const std::string path = folder.Path("wide.tif");
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, kFormatTif, 0, 0, nullptr));
    Bytes tif = ReadBytes(path);
    const bool isBigEndian = tif[0] == 'M';
    const std::size_t widthEntry = FindTiffTag(tif, 256), compressionEntry = FindTiffTag(tif, 259);
    ASSERT_NE(0u, widthEntry);
    ASSERT_NE(0u, compressionEntry);
    Put16(tif, widthEntry + 2, 4, isBigEndian);  // type LONG
    Put32(tif, widthEntry + 8, 70000, isBigEndian);
    Put16(tif, compressionEntry + 8, 5, isBigEndian);  // LZW
    WriteBytes(path, tif);

    FileInfo info{};
    EXPECT_EQ(kErrorImageTooLarge, L_FileInfo(path.c_str(), &info, 0, nullptr));
    TestBitmap bitmap;
    EXPECT_EQ(kErrorImageTooLarge, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
}

// Files as other programs write them, each once mishandled.

std::vector<BgrColour> ColourPalette(int size)
{
    std::vector<BgrColour> palette;
    for (int i = 0; i < size; ++i)
        palette.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(7 * i)});
    return palette;
}

std::vector<BgrColour> GreyPalette(int size)
{
    std::vector<BgrColour> palette;
    for (int i = 0; i < size; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 255 / (size - 1));
        palette.push_back({level, level, level});
    }
    return palette;
}

// The measure the size guards are checked with sees memory that a call holds.
TEST(OutsideFiles, CommittedGrowthSeesWhatACallHolds)
{
    const std::size_t grown = PeakCommittedGrowth([] {
        std::vector<std::uint8_t> held(200u << 20, 1);
        Sleep(30);
    });
    EXPECT_GE(grown, 200u << 20);
    EXPECT_LT(PeakCommittedGrowth([] { Sleep(30); }), 16u << 20);
}

// A run-length stream may end at once (the rest is background), so a file of a few bytes
// can claim any size: these are refused from their headers at once, without allocating
// what they claim, yet measured as they are.
TEST(OutsideFiles, TinyRunLengthBmpsClaimingHugeSizesAreRefusedAtOnce)
{
    struct Case { const char* why; int side; int bits; int compression; std::vector<BgrColour> palette; std::size_t size; };
    const Case kCases[] = {
        {"RLE8, 256 colours", 23200, 8, 1, ColourPalette(256), 1080},
        {"RLE4, 16 colours", 23200, 4, 2, ColourPalette(16), 120},
        {"RLE8, 256 greys", 23200, 8, 1, GreyPalette(256), 1080},
        {"RLE8, smaller but still far beyond its data", 16000, 8, 1, ColourPalette(256), 1080},
    };
    ScratchFolder folder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const Bytes file = MakeBmp(c.side, c.side, c.bits, c.compression, c.palette, {0x00, 0x01});
        ASSERT_EQ(c.size, file.size());
        const std::string path = folder.Path("huge.bmp");
        WriteBytes(path, file);

        FileInfo info{};
        ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
        EXPECT_EQ(c.side, info.width);
        EXPECT_EQ(c.side, info.height);
        EXPECT_EQ(c.bits, info.bitsPerPixel);

        const auto start = std::chrono::steady_clock::now();
        TestBitmap bitmap;
        int result = kSuccess;
        const std::size_t grown = PeakCommittedGrowth(
            [&] { result = L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr); });
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(kErrorImageTooLarge, result);
        EXPECT_EQ(nullptr, bitmap.handle.pixels);
        EXPECT_LT(elapsed, std::chrono::seconds(1));
        EXPECT_LT(grown, 64u << 20);
    }
}

// A 16-bit grey PNG of 46000 x 46000 would be a bitmap of 8-bit grey just within the
// limits, but it is decoded from rows of 16 bits, and at that depth it is twice the
// limit: the header is refused before anything is allocated.
TEST(OutsideFiles, PngWhoseDecoderFrameWouldPassTheLimitsIsRefusedAtOnce)
{
    Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header(13, 0);
    Put32(header, 0, 46000, true);
    Put32(header, 4, 46000, true);
    header[8] = 16;  // bits per sample
    header[9] = 0;   // grey
    AddPngChunk(png, "IHDR", header);
    AddPngChunk(png, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    AddPngChunk(png, "IEND", {});
    ScratchFolder folder;
    const std::string path = folder.Path("deep.png");
    WriteBytes(path, png);

    FileInfo info{};
    EXPECT_EQ(kErrorImageTooLarge, L_FileInfo(path.c_str(), &info, 0, nullptr));
    const auto start = std::chrono::steady_clock::now();
    TestBitmap bitmap;
    EXPECT_EQ(kErrorImageTooLarge, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// A GIF of a logical screen and images: a 1 x 1 first image, then each of `later`, every
// image coded as clear, one pixel of colour 0, end (LZW with 2-bit minimum code size).
Bytes MakeGif(int screenWidth, int screenHeight, const std::vector<std::pair<int, int>>& later)
{
    Bytes file = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0x80, 0, 0};  // a 2-colour global table
    Put16(file, 6, screenWidth);
    Put16(file, 8, screenHeight);
    file.insert(file.end(), {0, 0, 0, 255, 255, 255});
    auto addImage = [&file](int width, int height) {
        const std::size_t at = file.size();
        file.insert(file.end(), {0x2C, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        Put16(file, at + 5, width);
        Put16(file, at + 7, height);
        file.insert(file.end(), {2, 2, 0x44, 0x01, 0});
    };
    addImage(1, 1);
    for (const auto& size : later)
        addImage(size.first, size.second);
    file.push_back(0x3B);
    return file;
}

// Every image of a GIF is measured before anything is allocated, not only the first,
// which is all we show: an image after the first that claims a huge size is refused at
// once, by the limits or by what its coded data could hold.
TEST(OutsideFiles, TinyGifsClaimingHugeSizesAfterTheFirstImageAreRefusedAtOnce)
{
    struct Case { const char* why; Bytes file; int expected; };
    const Case kCases[] = {
        {"a second image of 65535 x 65535", MakeGif(1, 1, {{65535, 65535}}), kErrorImageTooLarge},
        {"a second image of 46000 x 46000, beyond the limits as a colour bitmap", MakeGif(1, 1, {{46000, 46000}}),
         kErrorImageTooLarge},
        {"a second image of 30000 x 30000, beyond the limits as the colour bitmap it would load as",
         MakeGif(1, 1, {{30000, 30000}}), kErrorImageTooLarge},
        {"a second image of 20000 x 20000, within the limits but far beyond its data",
         MakeGif(1, 1, {{20000, 20000}}), kErrorFileCorrupt},
        {"a third image of 65535 x 65535", MakeGif(1, 1, {{1, 1}, {65535, 65535}}), kErrorImageTooLarge},
        {"a logical screen of 65535 x 65535 round a 1 x 1 image", MakeGif(65535, 65535, {}), kSuccess},
    };
    ScratchFolder folder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const std::string path = folder.Path("huge.gif");
        WriteBytes(path, c.file);
        const auto start = std::chrono::steady_clock::now();
        FileInfo info{};
        TestBitmap bitmap;
        int infoResult = kSuccess, loadResult = kSuccess;
        const std::size_t grown = PeakCommittedGrowth([&] {
            infoResult = L_FileInfo(path.c_str(), &info, 0, nullptr);
            loadResult = L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr);
        });
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(c.expected, infoResult);
        EXPECT_EQ(c.expected, loadResult);
        EXPECT_LT(elapsed, std::chrono::seconds(1));
        EXPECT_LT(grown, 64u << 20);
    }
}

// A small run-length image whose stream ends early is sound: the rest is palette entry 0.
// Its depth is the file's own, from the information and from the record loading fills.
TEST(OutsideFiles, RunLengthBmpsEndingEarlyLoadWithBackgroundAndTheirOwnDepth)
{
    struct Case { const char* why; int bits; int compression; Bytes data; };
    const Case kCases[] = {
        {"RLE8: two of colour 1, end of bitmap", 8, 1, {2, 1, 0, 1}},
        {"RLE4: two of colour 1, stream simply ends", 4, 2, {2, 0x11}},
    };
    ScratchFolder folder;
    const std::vector<BgrColour> palette = ColourPalette(16);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const std::string path = folder.Path("short.bmp");
        WriteBytes(path, MakeBmp(4, 3, c.bits, c.compression, palette, c.data));
        FileInfo info{};
        ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
        EXPECT_EQ(c.bits, info.bitsPerPixel);
        FileInfo loadedInfo{};
        TestBitmap bitmap;
        ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, &loadedInfo));
        EXPECT_EQ(c.bits, loadedInfo.bitsPerPixel);
        EXPECT_EQ(24, bitmap.handle.bitsPerPixel);
        const Colour colour1{palette[1][2], palette[1][1], palette[1][0]};
        const Colour background{palette[0][2], palette[0][1], palette[0][0]};
        EXPECT_EQ(colour1, PixelAt(bitmap.handle, 0, 2));  // the first stored row is the bottom line
        EXPECT_EQ(colour1, PixelAt(bitmap.handle, 1, 2));
        EXPECT_EQ(background, PixelAt(bitmap.handle, 2, 2));
        EXPECT_EQ(background, PixelAt(bitmap.handle, 3, 0));
    }
}

// Bitfields compression with a 40-byte header needs three mask words after it; without
// them, information and loading agree on the 5-6-5 layout readers assume.
TEST(OutsideFiles, BitfieldsBmpWithAndWithoutMasksReadTheSameWayForInfoAndLoad)
{
    struct Case { const char* why; Bytes masks; Bytes pixels; Colour first; Colour second; };
    const Case kCases[] = {
        {"no mask words: 5-6-5", {}, {0x00, 0xF8, 0xE0, 0x07, 0, 0, 0, 0}, {255, 0, 0}, {0, 255, 0}},
        {"5-5-5 masks given", {0x00, 0x7C, 0, 0, 0xE0, 0x03, 0, 0, 0x1F, 0, 0, 0},
         {0x00, 0x7C, 0x1F, 0x00, 0, 0, 0, 0}, {255, 0, 0}, {0, 0, 255}},
    };
    ScratchFolder folder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const std::string path = folder.Path("bitfields.bmp");
        WriteBytes(path, MakeBmp(2, 2, 16, 3, {}, c.pixels, c.masks));
        FileInfo info{};
        ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
        EXPECT_EQ(16, info.bitsPerPixel);
        TestBitmap bitmap;
        ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
        EXPECT_EQ(c.first, PixelAt(bitmap.handle, 0, 1));
        EXPECT_EQ(c.second, PixelAt(bitmap.handle, 1, 1));
    }
}

// Damage inside the coded data of a progressive JPEG leaves its structure whole; the
// decoder only warns of it and would paint garbage. Each flip below makes it report a bad
// Huffman code or a premature end of a scan's data.
TEST(OutsideFiles, ProgressiveJpegWithDamagedCodedDataIsCorrupt)
{
    ScratchFolder folder;
    const std::string path = folder.Path("progressive.jpg");
    const Bytes intact(std::begin(kProgressiveJpeg), std::end(kProgressiveJpeg));
    WriteBytes(path, intact);
    TestBitmap good;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &good.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(24, good.handle.width);
    EXPECT_EQ(16, good.handle.height);

    struct Case { const char* why; std::size_t at; };
    const Case kCases[] = {
        {"first DC scan, bad code", 0xEF},
        {"first AC scan, bad code", 0x11D},
        {"AC refinement, bad code", 0x235},
        {"AC refinement, runs past its data", 0x1CE},
        {"last scan, runs past its data", 0x277},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        Bytes damaged = intact;
        damaged[c.at] ^= 0xFF;
        WriteBytes(path, damaged);
        TestBitmap bitmap;
        EXPECT_EQ(kErrorFileCorrupt, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
        EXPECT_EQ(nullptr, bitmap.handle.pixels);
    }
}

TEST(OutsideFiles, IntactProgressiveJpegWithRestartMarkersLoads)
{
    ScratchFolder folder;
    const std::string path = folder.Path("restarts.jpg");
    WriteBytes(path, Bytes(std::begin(kProgressiveJpegWithRestarts), std::end(kProgressiveJpegWithRestarts)));
    TestBitmap bitmap;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(24, bitmap.handle.width);
}

} // namespace

} // namespace corrupt_files_test
