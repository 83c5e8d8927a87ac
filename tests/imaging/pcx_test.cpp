// Our PCX reader and writer: hand-made files for the reader's edge cases, and the
// writer's output checked byte by byte by a decoder written here.
#include "ImageFixtures.h"

#include <algorithm>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace pcx_test {

using namespace imaging;
using namespace imaging_test;

namespace {

// A 128-byte header: 0x0A, version 5, RLE, bits per plane, the image at (0, 0), 72 dpi.
Bytes PcxHeader(int width, int height, int bitsPerPlane, int planes, int bytesPerLine)
{
    Bytes header(128, 0);
    auto put16 = [&](std::size_t at, int value) {
        header[at] = static_cast<std::uint8_t>(value & 0xFF);
        header[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    header[0] = 0x0A;
    header[1] = 5;
    header[2] = 1;
    header[3] = static_cast<std::uint8_t>(bitsPerPlane);
    put16(8, width - 1);
    put16(10, height - 1);
    put16(12, 72);
    put16(14, 72);
    header[65] = static_cast<std::uint8_t>(planes);
    put16(66, bytesPerLine);
    put16(68, 1);
    return header;
}

// The 0x0C marker and 256 colours: entry i is (i, 2i, 3i) modulo 256, never all grey.
Bytes VgaPalette()
{
    Bytes palette{0x0C};
    for (int i = 0; i < 256; ++i) {
        palette.push_back(static_cast<std::uint8_t>(i));
        palette.push_back(static_cast<std::uint8_t>(2 * i));
        palette.push_back(static_cast<std::uint8_t>(3 * i));
    }
    return palette;
}

Colour PaletteColour(int index) { return {index, (2 * index) % 256, (3 * index) % 256}; }

Bytes Join(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class PcxReader : public ::testing::Test {
protected:
    int Load(const Bytes& file, TestBitmap& bitmap, int bitsPerPixel = 0)
    {
        const std::string path = folder.Path("test.pcx");
        WriteBytes(path, file);
        return L_LoadBitmap(path.c_str(), &bitmap.handle, bitsPerPixel, kColorOrderBgr, nullptr, nullptr);
    }
    ScratchFolder folder;
};

// 3 x 2, 8-bit, 4 bytes per line: line 0 is 1 1 1 pad, line 1 is 1 1 2 pad. The first run
// of six covers line 0 and the first two bytes of line 1, as some writers do.
TEST_F(PcxReader, ReadsARunThatCrossesALineEnd)
{
    TestBitmap bitmap;
    ASSERT_EQ(kSuccess, Load(Join({PcxHeader(3, 2, 8, 1, 4), {0xC6, 0x01, 0x02, 0x00}, VgaPalette()}), bitmap));
    ASSERT_EQ(3, bitmap.handle.width);
    ASSERT_EQ(2, bitmap.handle.height);
    EXPECT_EQ(PaletteColour(1), PixelAt(bitmap.handle, 2, 0));
    EXPECT_EQ(PaletteColour(1), PixelAt(bitmap.handle, 0, 1));
    EXPECT_EQ(PaletteColour(1), PixelAt(bitmap.handle, 1, 1));
    EXPECT_EQ(PaletteColour(2), PixelAt(bitmap.handle, 2, 1));
    EXPECT_EQ(72, bitmap.handle.xResolution);
}

TEST_F(PcxReader, RefusesBrokenRunData)
{
    struct Case { const char* why; Bytes data; };
    const Case kCases[] = {
        {"a run goes past the last line", {0xC6, 0x01, 0xC3, 0x02}},
        {"the data stops inside the last line", {0xC6, 0x01, 0x02}},
        {"the data stops between a run's count and its value", {0xC6, 0x01, 0x02, 0xC1}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestBitmap bitmap;
        // No palette after the data: it would be read as more run bytes.
        EXPECT_EQ(kErrorFileCorrupt, Load(Join({PcxHeader(3, 2, 8, 1, 4), c.data}), bitmap));
        EXPECT_EQ(nullptr, bitmap.handle.pixels);
    }
}

TEST_F(PcxReader, FindsTheVgaPaletteByItsMarker)
{
    const Bytes header = PcxHeader(2, 1, 8, 1, 2);
    const Bytes data{0x05, 0x07};
    const Bytes palette = VgaPalette();
    Bytes withoutMarker = palette;
    withoutMarker[0] = 0x00;
    struct Case { const char* why; Bytes file; int result; };
    const Case kCases[] = {
        {"right after the data", Join({header, data, VgaPalette()}), kSuccess},
        {"769 bytes before the end, with bytes between", Join({header, data, {0x00, 0x00}, VgaPalette()}), kSuccess},
        {"after the data, with bytes after it", Join({header, data, VgaPalette(), {0x11, 0x22}}), kSuccess},
        {"no marker", Join({header, data, withoutMarker}), kErrorFileCorrupt},
        {"cut short", Join({header, data, Bytes(palette.begin(), palette.end() - 1)}), kErrorFileCorrupt},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestBitmap bitmap;
        ASSERT_EQ(c.result, Load(c.file, bitmap));
        if (c.result == kSuccess) {
            EXPECT_EQ(PaletteColour(5), PixelAt(bitmap.handle, 0, 0));
            EXPECT_EQ(PaletteColour(7), PixelAt(bitmap.handle, 1, 0));
        }
    }
}

// 3 x 1, 24-bit: each plane line has a padding byte (0x3E) that must not show; 0xC7
// is a value with the two top bits set, so it can only come as a run of one.
TEST_F(PcxReader, ReadsOddWidth24BitPlanes)
{
    const Bytes data{10, 20, 30, 0x3E, 40, 50, 60, 0x3E, 0xC1, 0xC7, 80, 90, 0x3E};
    TestBitmap bitmap;
    ASSERT_EQ(kSuccess, Load(Join({PcxHeader(3, 1, 8, 3, 4), data}), bitmap));
    EXPECT_EQ(24, bitmap.handle.bitsPerPixel);
    EXPECT_EQ((Colour{10, 40, 0xC7}), PixelAt(bitmap.handle, 0, 0));
    EXPECT_EQ((Colour{20, 50, 80}), PixelAt(bitmap.handle, 1, 0));
    EXPECT_EQ((Colour{30, 60, 90}), PixelAt(bitmap.handle, 2, 0));
}

TEST_F(PcxReader, ReadsOneBitImages)
{
    // Black and white: 8 pixels from the bits 1010 0001.
    TestBitmap mono;
    ASSERT_EQ(kSuccess, Load(Join({PcxHeader(8, 1, 1, 1, 2), {0xA1, 0x00}}), mono));
    EXPECT_EQ(8, mono.handle.bitsPerPixel);
    const int kLevels[] = {255, 0, 255, 0, 0, 0, 0, 255};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(kLevels[x], PixelAt(mono.handle, x, 0)[0]) << "x " << x;

    // 16 colours in four planes: pixel 0 has planes 1 and 3 set, index 0b1010 = 10.
    Bytes header = PcxHeader(2, 1, 1, 4, 2);
    for (int i = 0; i < 16; ++i) {
        header[16 + 3 * i] = static_cast<std::uint8_t>(i * 16);
        header[17 + 3 * i] = static_cast<std::uint8_t>(255 - i);
        header[18 + 3 * i] = static_cast<std::uint8_t>(i);
    }
    TestBitmap ega;
    ASSERT_EQ(kSuccess, Load(Join({header, {0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x80, 0x00}}), ega));
    EXPECT_EQ((Colour{160, 245, 10}), PixelAt(ega.handle, 0, 0));
    EXPECT_EQ((Colour{0, 255, 0}), PixelAt(ega.handle, 1, 0));
}

TEST_F(PcxReader, AGreyPaletteLoadsAsGrey)
{
    Bytes palette{0x0C};
    for (int i = 0; i < 256; ++i)
        palette.insert(palette.end(), {static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(255 - i),
                                       static_cast<std::uint8_t>(255 - i)});
    TestBitmap bitmap;
    ASSERT_EQ(kSuccess, Load(Join({PcxHeader(2, 1, 8, 1, 2), {0x00, 0x10}, palette}), bitmap));
    EXPECT_EQ(8, bitmap.handle.bitsPerPixel);
    EXPECT_EQ(255, PixelAt(bitmap.handle, 0, 0)[0]);
    EXPECT_EQ(255 - 0x10, PixelAt(bitmap.handle, 1, 0)[0]);
}

// 16 greys in four planes load at 8 bits, as the same picture does from a 4-bit BMP or a GIF;
// asked for 24 bits, as colour. Pixel 0 has planes 1 and 3 set: index 10.
TEST_F(PcxReader, SixteenGreysInPlanesLoadAsGrey)
{
    Bytes header = PcxHeader(2, 1, 1, 4, 2);
    for (int i = 0; i < 16; ++i)
        header[16 + 3 * i] = header[17 + 3 * i] = header[18 + 3 * i] = static_cast<std::uint8_t>(i * 17);
    const Bytes file = Join({header, {0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x80, 0x00}});
    TestBitmap grey;
    ASSERT_EQ(kSuccess, Load(file, grey));
    EXPECT_EQ(8, grey.handle.bitsPerPixel);
    EXPECT_EQ((Colour{170, 170, 170}), PixelAt(grey.handle, 0, 0));
    EXPECT_EQ((Colour{0, 0, 0}), PixelAt(grey.handle, 1, 0));
    TestBitmap colour;
    ASSERT_EQ(kSuccess, Load(file, colour, 24));
    EXPECT_EQ(24, colour.handle.bitsPerPixel);
    EXPECT_EQ((Colour{170, 170, 170}), PixelAt(colour.handle, 0, 0));
}

TEST_F(PcxReader, RefusesHeadersThatCannotBeRight)
{
    Bytes tooShortLines = PcxHeader(5, 1, 8, 1, 4);
    Bytes reversed = PcxHeader(5, 1, 8, 1, 6);
    reversed[4] = 9;  // xMin beyond xMax
    const Bytes header24 = PcxHeader(4, 1, 8, 3, 4);
    struct Case { const char* why; Bytes file; int result; };
    const Case kCases[] = {
        {"lines shorter than the width", Join({tooShortLines, {0xC5, 0x00}, VgaPalette()}), kErrorFileCorrupt},
        {"xMin beyond xMax", Join({reversed, {0xC6, 0x00}, VgaPalette()}), kErrorFileCorrupt},
        {"far more pixels than the runs can make", Join({PcxHeader(60000, 60000, 8, 3, 60000), {0xC1, 0x00}}),
         kErrorFileCorrupt},
        {"2 bits in 1 plane is not read", Join({PcxHeader(4, 1, 2, 1, 2), {0x00, 0x00}}), kErrorFileFormat},
        {"only the header", header24, kErrorFileCorrupt},
        {"less than a header", Bytes(header24.begin(), header24.begin() + 60), kErrorFileCorrupt},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestBitmap bitmap;
        EXPECT_EQ(c.result, Load(c.file, bitmap));
    }
}

// 7 x 40 pixels, no two alike.
Colour DistinctColours(int x, int y) { return {x * 30, y * 6, 99}; }

// Decodes our writer's output independently, checking that no run crosses a line end.
struct DecodedPcx {
    int planes = 0;
    int bytesPerLine = 0;
    std::vector<Bytes> lines;
    bool hasPalette = false;
    bool runCrossesLine = false;
};

DecodedPcx DecodeStrictly(const Bytes& file, int height)
{
    DecodedPcx decoded;
    decoded.planes = file[65];
    decoded.bytesPerLine = file[66] | file[67] << 8;
    const std::size_t lineBytes = static_cast<std::size_t>(decoded.bytesPerLine) * decoded.planes;
    std::size_t pos = 128;
    for (int y = 0; y < height && pos < file.size(); ++y) {
        Bytes line;
        while (line.size() < lineBytes && pos < file.size()) {
            const std::uint8_t code = file[pos++];
            std::size_t count = 1;
            std::uint8_t value = code;
            if ((code & 0xC0) == 0xC0) {
                count = code & 0x3F;
                value = file[pos++];
            }
            if (line.size() + count > lineBytes)
                decoded.runCrossesLine = true;
            line.insert(line.end(), count, value);
        }
        decoded.lines.push_back(line);
    }
    decoded.hasPalette = file.size() == pos + 769 && file[pos] == 0x0C;
    return decoded;
}

TEST(PcxWriter, WritesFewColoursWithAPaletteAndManyInThreePlanes)
{
    ScratchFolder folder;
    struct Case { const char* why; Colour (*colourAt)(int, int); int planes; };
    const Case kCases[] = {{"6 colours", FewColours, 1}, {"every pixel its own colour", DistinctColours, 3}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestBitmap image;
        MakeBitmap(image, 7, 40, 24, c.colourAt);
        const std::string path = folder.Path("out.pcx");
        ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, kFormatPcx, 0, 0, nullptr));
        const Bytes file = ReadBytes(path);
        const DecodedPcx decoded = DecodeStrictly(file, 40);
        EXPECT_EQ(c.planes, decoded.planes);
        EXPECT_EQ(8, decoded.bytesPerLine);  // 7 rounded up to even
        EXPECT_EQ(c.planes == 1, decoded.hasPalette);
        EXPECT_FALSE(decoded.runCrossesLine);
        ASSERT_EQ(40u, decoded.lines.size());
        EXPECT_EQ(300, file[12] | file[13] << 8);
        if (c.planes == 3) {
            // Red plane first.
            EXPECT_EQ(DistinctColours(4, 2)[0], decoded.lines[2][4]);
            EXPECT_EQ(DistinctColours(4, 2)[2], decoded.lines[2][16 + 4]);
        }
    }
}

// Long runs split at 63, and bytes with the two top bits set always go behind a count.
TEST(PcxWriter, EncodesLongRunsAndHighBytes)
{
    ScratchFolder folder;
    TestBitmap image;
    MakeBitmap(image, 200, 1, 8, [](int x, int) { return Colour{x < 130 ? 0xC5 : 0x10 + (x % 2), 0, 0}; });
    const std::string path = folder.Path("runs.pcx");
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, kFormatPcx, 0, 0, nullptr));
    const Bytes file = ReadBytes(path);
    const Bytes expectedStart{0xFF, 0xC5, 0xFF, 0xC5, 0xC4, 0xC5, 0x10, 0x11};
    EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), file.begin() + 128));

    TestBitmap loaded;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(0, MaxDifference(image.handle, loaded.handle));
}

// The header holds an even 16-bit line length: 65534 pixels is the widest line it can
// describe, and a wider image is refused rather than written misaligned.
TEST(PcxWriter, WritesTheWidestLineAndRefusesAWiderOne)
{
    ScratchFolder folder;
    struct Case { const char* why; int width; int result; };
    const Case kCases[] = {{"the widest line", 65534, kSuccess}, {"one pixel more", 65535, kErrorImageTooLarge}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestBitmap image;
        // More than 256 colours, so the lines go in three planes.
        MakeBitmap(image, c.width, 2, 24, [](int x, int y) { return Colour{x % 251, (x / 7) % 253, y * 90}; });
        const std::string path = folder.Path("wide" + std::to_string(c.width) + ".pcx");
        ASSERT_EQ(c.result, L_SaveBitmap(path.c_str(), &image.handle, kFormatPcx, 0, 0, nullptr));
        if (c.result != kSuccess) {
            EXPECT_FALSE(FileExists(path));
            continue;
        }
        TestBitmap loaded;
        ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
        ASSERT_EQ(c.width, loaded.handle.width);
        EXPECT_EQ(0, MaxDifference(image.handle, loaded.handle));
    }
}

} // namespace

} // namespace pcx_test
