// Variants of the written formats that other programs produce, read through the same
// codecs and reported with the code that saving takes back.
#include "ImageFixtures.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace variants_test {

using namespace imaging;
using namespace imaging_test;

namespace {

// 4 x 2, RLE8: the bottom line is four of colour 1, the top line two of colour 2 and two
// of colour 0. Colours: 0 black, 1 (10, 20, 30), 2 (200, 150, 100).
Bytes Rle8Bmp()
{
    const Bytes data{4, 1, 0, 0, 2, 2, 2, 0, 0, 1};
    const std::size_t dataAt = 14 + 40 + 3 * 4;
    Bytes file(dataAt + data.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<std::uint32_t>(file.size()));
    Put32(file, 10, static_cast<std::uint32_t>(dataAt));  // pixel data right after the colours
    Put32(file, 14, 40);
    Put32(file, 18, 4);   // width
    Put32(file, 22, 2);   // height, bottom-up
    Put16(file, 26, 1);   // planes
    Put16(file, 28, 8);   // bits per pixel
    Put32(file, 30, 1);   // BI_RLE8
    Put32(file, 34, static_cast<std::uint32_t>(data.size()));
    Put32(file, 38, 2835);  // 72 dpi in pixels per metre
    Put32(file, 42, 2835);
    Put32(file, 46, 3);   // colours used
    const std::uint8_t colours[3][4] = {{0, 0, 0, 0}, {30, 20, 10, 0}, {100, 150, 200, 0}};  // blue, green, red
    for (int i = 0; i < 3; ++i)
        for (int c = 0; c < 4; ++c)
            file[54 + 4 * i + c] = colours[i][c];
    std::copy(data.begin(), data.end(), file.begin() + dataAt);
    return file;
}

// 3 x 2, 24-bit, with the old 12-byte core header; rows bottom-up, padded to 12 bytes.
Bytes CoreHeaderBmp()
{
    Bytes file(14 + 12, 0);
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 10, 26);
    Put32(file, 14, 12);
    Put16(file, 18, 3);
    Put16(file, 20, 2);
    Put16(file, 22, 1);
    Put16(file, 24, 24);
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 3; ++x) {
            // Bottom line (row 0 in the file) red 50 + x, top line red 150 + x.
            file.insert(file.end(), {7, 8, static_cast<std::uint8_t>((row == 0 ? 50 : 150) + x)});
        }
        file.insert(file.end(), 3, 0);
    }
    Put32(file, 2, static_cast<std::uint32_t>(file.size()));
    return file;
}

// 3 x 2 RGB, big-endian ("MM"), PackBits, 150 dpi, as scanners and Macintosh programs
// write them. The top line is (200, 10, 20) then two of (30, 40, 50), as a literal run;
// the bottom line is nine bytes of 7, as a repeat run.
Bytes BigEndianPackBitsTiff()
{
    struct Entry { int tag; int type; std::uint32_t count; std::uint32_t value; };
    constexpr std::uint32_t kBitsAt = 158, kXResolutionAt = 164, kYResolutionAt = 172, kDataAt = 180;
    const Bytes data{8, 200, 10, 20, 30, 40, 50, 30, 40, 50, 0xF8, 7};
    const Entry kEntries[] = {
        {256, 3, 1, 3},                // width (SHORT)
        {257, 3, 1, 2},                // height
        {258, 3, 3, kBitsAt},          // bits per sample: three SHORTs, stored apart
        {259, 3, 1, 32773},            // PackBits
        {262, 3, 1, 2},                // RGB
        {273, 4, 1, kDataAt},          // strip offset (LONG)
        {277, 3, 1, 3},                // samples per pixel
        {278, 3, 1, 2},                // rows per strip
        {279, 4, 1, static_cast<std::uint32_t>(data.size())},
        {282, 5, 1, kXResolutionAt},   // RATIONAL, stored apart
        {283, 5, 1, kYResolutionAt},
        {296, 3, 1, 2},                // resolution unit: inch
    };
    Bytes file(kDataAt, 0);
    file[0] = file[1] = 'M';
    Put16(file, 2, 42, true);
    Put32(file, 4, 8, true);
    Put16(file, 8, static_cast<int>(std::size(kEntries)), true);
    std::size_t at = 10;
    for (const Entry& e : kEntries) {
        Put16(file, at, e.tag, true);
        Put16(file, at + 2, e.type, true);
        Put32(file, at + 4, e.count, true);
        // A single SHORT sits in the first two bytes of the value field.
        if (e.type == 3 && e.count == 1)
            Put16(file, at + 8, static_cast<int>(e.value), true);
        else
            Put32(file, at + 8, e.value, true);
        at += 12;
    }
    for (int i = 0; i < 3; ++i)
        Put16(file, kBitsAt + 2 * i, 8, true);
    for (std::uint32_t rational : {kXResolutionAt, kYResolutionAt}) {
        Put32(file, rational, 150, true);
        Put32(file, rational + 4, 1, true);
    }
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

TEST(FormatVariants, BigEndianCompressedTiffReadsAsTiff)
{
    ScratchFolder folder;
    const std::string path = folder.Path("packbits.tif");
    WriteBytes(path, BigEndianPackBitsTiff());
    FileInfo info{};
    ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
    EXPECT_EQ(kFormatTif, info.format);
    EXPECT_EQ(3, info.width);
    EXPECT_EQ(2, info.height);
    EXPECT_EQ(24, info.bitsPerPixel);
    EXPECT_EQ(150, info.xResolution);
    TestBitmap bitmap;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(150, bitmap.handle.yResolution);
    EXPECT_EQ((Colour{200, 10, 20}), PixelAt(bitmap.handle, 0, 0));
    EXPECT_EQ((Colour{30, 40, 50}), PixelAt(bitmap.handle, 2, 0));
    EXPECT_EQ((Colour{7, 7, 7}), PixelAt(bitmap.handle, 1, 1));
}

TEST(FormatVariants, RunLengthBmpReadsAsBmp)
{
    ScratchFolder folder;
    const std::string path = folder.Path("rle8.bmp");
    WriteBytes(path, Rle8Bmp());
    FileInfo info{};
    ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
    EXPECT_EQ(kFormatBmp, info.format);
    EXPECT_EQ(72, info.xResolution);
    TestBitmap bitmap;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ((Colour{200, 150, 100}), PixelAt(bitmap.handle, 1, 0));
    EXPECT_EQ((Colour{0, 0, 0}), PixelAt(bitmap.handle, 3, 0));
    EXPECT_EQ((Colour{10, 20, 30}), PixelAt(bitmap.handle, 2, 1));
}

TEST(FormatVariants, CoreHeaderBmpLoadsBottomUp)
{
    ScratchFolder folder;
    const std::string path = folder.Path("core.bmp");
    WriteBytes(path, CoreHeaderBmp());
    TestBitmap bitmap;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(kViewBottomUp, bitmap.handle.viewPerspective);
    EXPECT_EQ((Colour{152, 8, 7}), PixelAt(bitmap.handle, 2, 0));
    EXPECT_EQ((Colour{50, 8, 7}), PixelAt(bitmap.handle, 0, 1));
    // Saved back in the reported format, it is a BMP of its own kind.
    FileInfo info{};
    ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &bitmap.handle, info.format, 0, 2, nullptr));
    TestBitmap again;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &again.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(0, MaxDifference(bitmap.handle, again.handle));
}

// Every depth and coding of BMP as other programs write them, each checked pixel by pixel
// against the picture its bytes code. `rows` is the picture top line first, each character
// a hex index into `colours` (which also make the palette of the indexed depths). Padding
// bytes and bits past a row's width hold junk (0xEE, set bits) that must not show.
TEST(FormatVariants, EveryBmpDepthAndCodingReadsPixelForPixel)
{
    const std::vector<Colour> kTwo{{30, 20, 10}, {50, 100, 200}};
    const std::vector<Colour> kSix{{1, 2, 3}, {250, 0, 0}, {0, 250, 0}, {0, 0, 250}, {90, 80, 70}, {255, 255, 255}};
    const std::vector<Colour> kEight{{1, 2, 3},    {250, 0, 0},  {0, 250, 0},  {0, 0, 250},
                                     {90, 80, 70}, {255, 255, 0}, {0, 255, 255}, {128, 64, 32}};
    const std::vector<Colour> kFour{{10, 20, 30}, {200, 100, 0}, {255, 255, 255}, {0, 0, 1}};
    // Mask words, little-endian: red, green, blue (and alpha).
    const Bytes kRgbxMasks{0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0};
    const Bytes kAbgrMasks{0, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
    // The rest of a 124-byte header: red, green, blue and alpha masks for blue, green, red,
    // alpha bytes, then the sRGB colour space.
    Bytes v5Rest(124 - 40, 0);
    const Bytes kBgraMasks{0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0xFF, 'B', 'G', 'R', 's'};
    std::copy(kBgraMasks.begin(), kBgraMasks.end(), v5Rest.begin());

    struct Case {
        const char* why;
        int width;
        int height;  // as stored: negative is top-down
        int bits;
        int compression;
        Bytes gap;
        int infoSize;
        Bytes data;
        const std::vector<Colour>& colours;
        std::vector<std::string> rows;
    };
    const Case kCases[] = {
        {"1-bit, 9 wide: two bytes padded to four", 9, 2, 1, 0, {}, 40,
         {0x4C, 0x7F, 0xEE, 0xEE,    // bottom line 010011000
          0xB3, 0xFF, 0xEE, 0xEE},   // top line 101100111
         kTwo, {"101100111", "010011000"}},
        {"4-bit, 3 wide: high nibble first, padded to four", 3, 2, 4, 0, {}, 40,
         {0x34, 0x0E, 0xEE, 0xEE, 0x51, 0x2E, 0xEE, 0xEE}, kSix, {"512", "340"}},
        {"8-bit, 5 wide: padded to eight", 5, 2, 8, 0, {}, 40,
         {3, 2, 1, 0, 0, 0xEE, 0xEE, 0xEE, 0, 1, 2, 3, 3, 0xEE, 0xEE, 0xEE}, kFour, {"01233", "32100"}},
        {"32-bit without masks: blue, green, red, unused", 2, 2, 32, 0, {}, 40,
         {0xFF, 0xFF, 0xFF, 0x80, 1, 0, 0, 0x80, 30, 20, 10, 0x80, 0, 100, 200, 0x80}, kFour, {"01", "23"}},
        {"32-bit bitfields after a 40-byte header: red, green, blue, unused", 2, 2, 32, 3, kRgbxMasks, 40,
         {0xFF, 0xFF, 0xFF, 0x55, 0, 0, 1, 0x55, 10, 20, 30, 0x55, 200, 100, 0, 0x55}, kFour, {"01", "23"}},
        {"32-bit alpha bitfields after a 40-byte header: opaque alpha, blue, green, red", 2, 2, 32, 6, kAbgrMasks, 40,
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0xFF, 30, 20, 10, 0xFF, 0, 100, 200}, kFour, {"01", "23"}},
        {"32-bit bitfields in a 124-byte header, with alpha", 2, 2, 32, 3, v5Rest, 124,
         {0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0xFF, 30, 20, 10, 0xFF, 0, 100, 200, 0xFF}, kFour, {"01", "23"}},
        {"24-bit top-down, 2 wide: padded to eight", 2, -2, 24, 0, {}, 40,
         {30, 20, 10, 0, 100, 200, 0xEE, 0xEE, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0xEE, 0xEE}, kFour, {"01", "23"}},
        {"RLE8: odd literal run padded, run, end of line, delta, end of bitmap", 6, 3, 8, 1, {}, 40,
         {0, 3, 1, 2, 3, 0,   // three literal pixels and the pad byte
          3, 4, 0, 0,         // three of 4, end of line
          2, 1, 0, 2, 2, 1,   // two of 1, then two right and one up
          2, 5, 0, 1},        // two of 5, end of bitmap; the rest is background
         kSix, {"000055", "110000", "123444"}},
        {"RLE4: odd literal run padded, run, end of line, delta, even literal run", 7, 2, 4, 2, {}, 40,
         {0, 5, 0x12, 0x34, 0x5F, 0,  // five literal pixels in three bytes and the pad byte
          2, 0x67, 0, 0,              // 6 then 7, end of line
          0, 2, 3, 0,                 // three right
          0, 3, 0x12, 0x1F,           // three literal pixels in two bytes, no pad
          0, 1},
         kEight, {"0001210", "1234567"}},
    };
    ScratchFolder folder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        std::vector<BgrColour> palette;
        for (const Colour& colour : c.colours) {
            if (c.bits <= 8)
                palette.push_back({static_cast<std::uint8_t>(colour[2]), static_cast<std::uint8_t>(colour[1]),
                                   static_cast<std::uint8_t>(colour[0])});
        }
        const std::string path = folder.Path("variant.bmp");
        WriteBytes(path, MakeBmp(c.width, c.height, c.bits, c.compression, palette, c.data, c.gap, c.infoSize));
        const int height = static_cast<int>(c.rows.size());
        FileInfo info{};
        ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
        EXPECT_EQ(kFormatBmp, info.format);
        EXPECT_EQ(c.width, info.width);
        EXPECT_EQ(height, info.height);
        EXPECT_EQ(c.bits, info.bitsPerPixel);
        TestBitmap bitmap;
        ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
        ASSERT_EQ(c.width, bitmap.handle.width);
        ASSERT_EQ(height, bitmap.handle.height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                const int index = std::stoi(std::string(1, c.rows[y][x]), nullptr, 16);
                EXPECT_EQ(c.colours[index], PixelAt(bitmap.handle, x, y)) << "at " << x << ", " << y;
            }
        }
    }
}

// The offset of a JPEG file's JFIF segment (its FF E0), or 0 when it has none.
std::size_t FindJfif(const Bytes& file)
{
    std::size_t at = 2;
    while (at + 4 <= file.size() && file[at] == 0xFF && file[at + 1] != 0xDA) {
        if (file[at + 1] == 0xE0 && at + 9 <= file.size() && std::equal(file.begin() + at + 4, file.begin() + at + 9,
                                                                          "JFIF"))
            return at;
        at += 2 + (file[at + 2] << 8 | file[at + 3]);
    }
    return 0;
}

// A file's information comes from its headers, not from decoding it: it must agree with
// what loading the file gives, for every way other programs write the resolution.
TEST(FormatVariants, JpegInformationAgreesWithTheDecodedImage)
{
    ScratchFolder folder;
    TestBitmap colour, grey;
    MakeBitmap(colour, 37, 21, 24, PhotoLike);
    MakeBitmap(grey, 19, 11, 8, PhotoLike);
    const std::string colourPath = folder.Path("colour.jpg"), greyPath = folder.Path("grey.jpg");
    ASSERT_EQ(kSuccess, L_SaveBitmap(colourPath.c_str(), &colour.handle, kFormatJpeg, 0, 0, nullptr));
    ASSERT_EQ(kSuccess, L_SaveBitmap(greyPath.c_str(), &grey.handle, kFormatJpeg, 0, 0, nullptr));
    const Bytes written = ReadBytes(colourPath);
    const std::size_t jfif = FindJfif(written);
    ASSERT_NE(0u, jfif);
    const std::size_t units = jfif + 4 + 7;  // after the length, "JFIF\0" and the version

    auto withDensity = [&](int unitCode, int density) {
        Bytes file = written;
        file[units] = static_cast<std::uint8_t>(unitCode);
        Put16(file, units + 1, density, true);
        Put16(file, units + 3, density, true);
        return file;
    };
    Bytes withoutJfif = written;
    withoutJfif.erase(withoutJfif.begin() + jfif, withoutJfif.begin() + jfif + 2 + (written[jfif + 2] << 8 |
                                                                                      written[jfif + 3]));
    struct Case { const char* why; Bytes file; int width; int height; int bitsPerPixel; int resolution; };
    const Case kCases[] = {
        {"as we write it: pixels per inch", written, 37, 21, 24, 300},
        {"pixels per centimetre, 118 of them", withDensity(2, 118), 37, 21, 24, 300},
        {"an aspect ratio only", withDensity(0, 72), 37, 21, 24, kDefaultResolution},
        {"a density of 0 per inch", withDensity(1, 0), 37, 21, 24, kDefaultResolution},
        {"no JFIF segment", withoutJfif, 37, 21, 24, kDefaultResolution},
        {"one grey component", ReadBytes(greyPath), 19, 11, 8, 300},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const std::string path = folder.Path("variant.jpg");
        WriteBytes(path, c.file);
        FileInfo info{};
        ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
        EXPECT_EQ(kFormatJpeg, info.format);
        EXPECT_EQ(c.width, info.width);
        EXPECT_EQ(c.height, info.height);
        EXPECT_EQ(c.bitsPerPixel, info.bitsPerPixel);
        EXPECT_EQ(c.resolution, info.xResolution);
        EXPECT_EQ(c.resolution, info.yResolution);
        TestBitmap loaded;
        ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
        EXPECT_EQ(info.width, loaded.handle.width);
        EXPECT_EQ(info.height, loaded.handle.height);
        EXPECT_EQ(info.bitsPerPixel, loaded.handle.bitsPerPixel);
        EXPECT_EQ(info.xResolution, loaded.handle.xResolution);
        EXPECT_EQ(info.yResolution, loaded.handle.yResolution);
    }
}

} // namespace

} // namespace variants_test
