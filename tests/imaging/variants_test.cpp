// Variants of the written formats that other programs produce, read through the same
// codecs and reported with the code that saving takes back.
#include "ImageFixtures.h"

#include <algorithm>
#include <iterator>

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
