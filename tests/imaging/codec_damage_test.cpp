// Damage inside the coded data of JPEG, PNG, GIF and TIFF files, made here from sound
// files: each damaged file answers kErrorFileCorrupt and leaves no bitmap, while the
// sound files it was made from load (guards against false alarms). Also the TIFF
// compressions other programs write, and memory after many failed loads.
#include "ImageFixtures.h"
#include "ProgressiveJpegFixtures.h"

#include <zlib.h>

#include <functional>
#include <iterator>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace codec_damage_test {

using namespace imaging;
using namespace imaging_test;

namespace {

int LoadBytes(const ScratchFolder& folder, const Bytes& file, const char* name)
{
    const std::string path = folder.Path(name);
    WriteBytes(path, file);
    TestBitmap bitmap;
    const int result = L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr);
    EXPECT_EQ(result == kSuccess, bitmap.handle.pixels != nullptr);
    return result;
}

// Where the longest scan's coded data starts (after its SOS segment) and ends (at the next
// marker other than a restart).
struct Scan {
    std::size_t begin = 0;
    std::size_t end = 0;
};

Scan LongestScan(const Bytes& jpeg)
{
    Scan longest;
    for (std::size_t i = 2; i + 3 < jpeg.size(); ++i) {
        if (jpeg[i] != 0xFF || jpeg[i + 1] != 0xDA)
            continue;
        Scan scan;
        scan.begin = i + 2 + (jpeg[i + 2] << 8 | jpeg[i + 3]);
        for (std::size_t j = scan.begin; j + 1 < jpeg.size() && scan.end == 0; ++j) {
            if (jpeg[j] == 0xFF && jpeg[j + 1] != 0x00 && (jpeg[j + 1] < 0xD0 || jpeg[j + 1] > 0xD7))
                scan.end = j;
        }
        if (scan.end - scan.begin > longest.end - longest.begin)
            longest = scan;
    }
    return longest;
}

struct Damage {
    const char* why;
    std::function<Bytes(const Bytes& file, const Scan& scan)> apply;
};

Bytes Overwrite(Bytes file, std::size_t at, const Bytes& bytes)
{
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    return file;
}

// The kinds of damage libjpeg warns about, each placed in the longest scan. Bytes left over
// after a scan are counted once past what the decoder reads ahead, so a stretch of them is added.
const Damage kJpegDamage[] = {
    {"extra bytes before the marker after the scan",
     [](const Bytes& f, const Scan& s) {
         Bytes d = f;
         d.insert(d.begin() + static_cast<std::ptrdiff_t>(s.end), 24, 0x5A);
         return d;
     }},
    {"cut in the middle of the scan", [](const Bytes& f, const Scan& s) { return Bytes(f.begin(), f.begin() + static_cast<std::ptrdiff_t>((s.begin + s.end) / 2)); }},
    {"cut just after the scan starts", [](const Bytes& f, const Scan& s) { return Bytes(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(s.begin + 2)); }},
    {"a run of one-bits, no valid Huffman code",
     [](const Bytes& f, const Scan& s) { return Overwrite(f, (s.begin + s.end) / 2, {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00}); }},
    {"a restart marker the file never set up",
     [](const Bytes& f, const Scan& s) { return Overwrite(f, s.begin + 4, {0xFF, 0xD3}); }},
};

TEST(CodecDamage, DamagedJpegScansAreCorruptAndIntactFilesLoad)
{
    ScratchFolder folder;
    TestBitmap image;
    MakeBitmap(image, 96, 64, 24, PhotoLike);
    const std::string baselinePath = folder.Path("baseline.jpg");
    ASSERT_EQ(kSuccess, L_SaveBitmap(baselinePath.c_str(), &image.handle, kFormatJpeg, 0, 0, nullptr));
    struct Source { const char* name; Bytes file; };
    const Source kSources[] = {
        {"baseline", ReadBytes(baselinePath)},
        {"progressive", Bytes(std::begin(kProgressiveJpeg), std::end(kProgressiveJpeg))},
    };
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.name);
        ASSERT_EQ(kSuccess, LoadBytes(folder, source.file, "intact.jpg"));
        const Scan scan = LongestScan(source.file);
        ASSERT_GT(scan.end, scan.begin + 16);
        for (const Damage& damage : kJpegDamage) {
            SCOPED_TRACE(damage.why);
            EXPECT_EQ(kErrorFileCorrupt, LoadBytes(folder, damage.apply(source.file, scan), "damaged.jpg"));
        }
    }
}

// A 24 x 16 PNG of the colour type given: RGB noise, grey levels, or palette indices.
Bytes SoundPng(int colourType)
{
    const int samples = colourType == 2 ? 3 : 1;
    Bytes scanlines;
    for (int y = 0; y < 16; ++y) {
        scanlines.push_back(0);
        for (int i = 0; i < 24 * samples; ++i)
            scanlines.push_back(static_cast<std::uint8_t>(colourType == 3 ? (i + y) % 4 : i * 7 + y * 13));
    }
    const std::vector<RgbColour> palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    return MakePng(24, 16, 8, colourType, scanlines, colourType == 3 ? palette : std::vector<RgbColour>{});
}

std::size_t FindChunk(const Bytes& png, const char* type)
{
    for (std::size_t at = 8; at + 8 <= png.size();) {
        const std::size_t length = png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (std::equal(type, type + 4, png.begin() + static_cast<std::ptrdiff_t>(at + 4)))
            return at;
        at += 12 + length;
    }
    return 0;
}

// The IDAT chunk rebuilt around new data, with a CRC that matches, so only the data is wrong.
Bytes WithImageData(const Bytes& png, const Bytes& data)
{
    const std::size_t idat = FindChunk(png, "IDAT");
    const std::size_t length = png[idat] << 24 | png[idat + 1] << 16 | png[idat + 2] << 8 | png[idat + 3];
    Bytes rebuilt(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(idat));
    AddPngChunk(rebuilt, "IDAT", data);
    rebuilt.insert(rebuilt.end(), png.begin() + static_cast<std::ptrdiff_t>(idat + 12 + length), png.end());
    return rebuilt;
}

Bytes ImageData(const Bytes& png)
{
    const std::size_t idat = FindChunk(png, "IDAT");
    const std::size_t length = png[idat] << 24 | png[idat + 1] << 16 | png[idat + 2] << 8 | png[idat + 3];
    return Bytes(png.begin() + static_cast<std::ptrdiff_t>(idat + 8), png.begin() + static_cast<std::ptrdiff_t>(idat + 8 + length));
}

TEST(CodecDamage, DamagedPngsAreCorruptAndIntactOnesLoad)
{
    ScratchFolder folder;
    for (int colourType : {0, 2, 3}) {
        SCOPED_TRACE("colour type " + std::to_string(colourType));
        const Bytes intact = SoundPng(colourType);
        ASSERT_EQ(kSuccess, LoadBytes(folder, intact, "intact.png"));
        const std::size_t idat = FindChunk(intact, "IDAT");
        const Bytes data = ImageData(intact);
        Bytes badCrc = intact;
        badCrc[idat + 8 + data.size() / 2] ^= 0x01;
        Bytes badChecksum = data;
        badChecksum.back() ^= 0x01;
        Bytes badFilter = data;
        const Bytes unknownFilter = [&] {
            Bytes scanlines(static_cast<std::size_t>(16 * (1 + 24 * (colourType == 2 ? 3 : 1))), 0);
            scanlines[0] = 9;  // filter types end at 4
            uLongf size = compressBound(static_cast<uLong>(scanlines.size()));
            Bytes packed(size);
            compress(packed.data(), &size, scanlines.data(), static_cast<uLong>(scanlines.size()));
            packed.resize(size);
            return packed;
        }();
        struct Case { const char* why; Bytes file; };
        const Case kCases[] = {
            {"image data whose CRC does not match", badCrc},
            {"image data whose zlib checksum does not match", WithImageData(intact, badChecksum)},
            {"image data cut short", WithImageData(intact, Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(data.size() / 2)))},
            {"an unknown row filter", WithImageData(intact, unknownFilter)},
            {"the file cut inside its image data", Bytes(intact.begin(), intact.begin() + static_cast<std::ptrdiff_t>(idat + 8 + data.size() / 2))},
            {"the file cut before its end chunk", Bytes(intact.begin(), intact.end() - 12)},
        };
        for (const Case& c : kCases) {
            SCOPED_TRACE(c.why);
            EXPECT_EQ(kErrorFileCorrupt, LoadBytes(folder, c.file, "damaged.png"));
        }
    }
}

TEST(CodecDamage, PngsOfEveryColourTypeLoadWithTheirOwnPixels)
{
    ScratchFolder folder;
    const std::string path = folder.Path("palette.png");
    WriteBytes(path, SoundPng(3));
    TestBitmap palette;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &palette.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(24, palette.handle.bitsPerPixel);
    EXPECT_EQ((Colour{0, 0, 0}), PixelAt(palette.handle, 0, 0));
    EXPECT_EQ((Colour{255, 0, 0}), PixelAt(palette.handle, 1, 0));
    EXPECT_EQ((Colour{0, 255, 0}), PixelAt(palette.handle, 1, 1));

    WriteBytes(path, SoundPng(0));
    TestBitmap grey;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &grey.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ(8, grey.handle.bitsPerPixel);
    EXPECT_EQ((Colour{7 * 5 + 13 * 2, 7 * 5 + 13 * 2, 7 * 5 + 13 * 2}), PixelAt(grey.handle, 5, 2));

    WriteBytes(path, SoundPng(2));
    TestBitmap colour;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &colour.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_EQ((Colour{3 * 7 + 13, 4 * 7 + 13, 5 * 7 + 13}), PixelAt(colour.handle, 1, 1));
}

// The first image descriptor of a GIF we wrote (no extensions), and where its coded data starts.
std::size_t GifImageAt(const Bytes& gif)
{
    return 13 + ((gif[10] & 0x80) ? 3u << ((gif[10] & 7) + 1) : 0);
}

TEST(CodecDamage, DamagedGifsAreCorruptAndIntactOnesLoad)
{
    ScratchFolder folder;
    TestBitmap image;
    MakeBitmap(image, 64, 40, 24, PhotoLike);
    const std::string path = folder.Path("intact.gif");
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, kFormatGif, 0, 0, nullptr));
    const Bytes intact = ReadBytes(path);
    ASSERT_EQ(kSuccess, LoadBytes(folder, intact, "intact.gif"));
    const std::size_t descriptor = GifImageAt(intact);
    ASSERT_EQ(0x2C, intact[descriptor]);
    const std::size_t codeSize = descriptor + 10;
    const std::size_t firstBlock = codeSize + 1;

    Bytes unknownBlock = intact;
    unknownBlock[descriptor] = 0x99;
    Bytes hugeCodeSize = intact;
    hugeCodeSize[codeSize] = 12;
    Bytes blockPastTheEnd = intact;
    blockPastTheEnd.resize(firstBlock + 40);
    blockPastTheEnd[firstBlock] = 0xFF;
    struct Case { const char* why; Bytes file; };
    const Case kCases[] = {
        {"cut inside the coded data", Bytes(intact.begin(), intact.begin() + static_cast<std::ptrdiff_t>(intact.size() / 2))},
        {"an unknown block where the image should be", unknownBlock},
        {"an LZW code size beyond 8 bits", hugeCodeSize},
        {"a data block longer than what is left", blockPastTheEnd},
        {"cut inside the image descriptor", Bytes(intact.begin(), intact.begin() + static_cast<std::ptrdiff_t>(descriptor + 5))},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(kErrorFileCorrupt, LoadBytes(folder, c.file, "damaged.gif"));
    }
}

// A TIFF of one strip, little-endian, with the entries given (tag, type, count, value) and
// the strip's offset and byte count filled in.
struct TiffEntry { int tag; int type; std::uint32_t count; std::uint32_t value; };

Bytes StripTiff(std::vector<TiffEntry> entries, const Bytes& strip)
{
    entries.push_back({273, 4, 1, 0});
    entries.push_back({279, 4, 1, static_cast<std::uint32_t>(strip.size())});
    std::sort(entries.begin(), entries.end(), [](const TiffEntry& a, const TiffEntry& b) { return a.tag < b.tag; });
    const auto count = static_cast<std::uint32_t>(entries.size());
    const std::uint32_t bitsAt = 8 + 2 + 12 * count + 4, dataAt = bitsAt + 6;
    Bytes tif(dataAt, 0);
    tif[0] = tif[1] = 'I';
    Put16(tif, 2, 42);
    Put32(tif, 4, 8);
    Put16(tif, 8, static_cast<int>(count));
    for (std::uint32_t i = 0; i < count; ++i) {
        TiffEntry e = entries[i];
        if (e.tag == 273)
            e.value = dataAt;
        if (e.tag == 258 && e.count == 3)
            e.value = bitsAt;
        const std::size_t at = 10 + 12 * i;
        Put16(tif, at, e.tag);
        Put16(tif, at + 2, e.type);
        Put32(tif, at + 4, e.count);
        Put32(tif, at + 8, e.value);
    }
    for (int i = 0; i < 3; ++i)
        Put16(tif, bitsAt + 2 * i, 8);
    tif.insert(tif.end(), strip.begin(), strip.end());
    return tif;
}

// 16 x 16 RGB, one strip, in the compression given (1 none, 8 Deflate, 7 JPEG).
Bytes RgbTiff(int compression, const Bytes& strip, int photometric = 2)
{
    std::vector<TiffEntry> entries = {{256, 3, 1, 16}, {257, 3, 1, 16}, {258, 3, 3, 0},   {259, 3, 1, static_cast<std::uint32_t>(compression)},
                                      {262, 3, 1, static_cast<std::uint32_t>(photometric)}, {277, 3, 1, 3}, {278, 3, 1, 16}, {284, 3, 1, 1}};
    if (photometric == 6)
        entries.push_back({530, 3, 2, 2 | 2 << 16});  // colour sampled at half resolution both ways
    return StripTiff(entries, strip);
}

Bytes RgbSamples(const TestBitmap& image)
{
    Bytes samples;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const Colour c = PixelAt(image.handle, x, y);
            samples.insert(samples.end(), {static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]), static_cast<std::uint8_t>(c[2])});
        }
    }
    return samples;
}

Bytes Deflated(const Bytes& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    Bytes packed(size);
    EXPECT_EQ(Z_OK, compress(packed.data(), &size, bytes.data(), static_cast<uLong>(bytes.size())));
    packed.resize(size);
    return packed;
}

// Deflate and JPEG strips, as scanners and other programs write them, load; JPEG is lossy.
TEST(CodecDamage, DeflateAndJpegCompressedTiffsLoad)
{
    ScratchFolder folder;
    TestBitmap image;
    MakeBitmap(image, 16, 16, 24, PhotoLike);
    const std::string jpegPath = folder.Path("strip.jpg");
    ASSERT_EQ(kSuccess, L_SaveBitmap(jpegPath.c_str(), &image.handle, kFormatJpeg, 0, 0, nullptr));

    struct Case { const char* why; Bytes file; bool isLossless; };
    const Case kCases[] = {
        {"Deflate", RgbTiff(8, Deflated(RgbSamples(image))), true},
        {"JPEG, colour at half resolution", RgbTiff(7, ReadBytes(jpegPath), 6), false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const std::string path = folder.Path("strip.tif");
        WriteBytes(path, c.file);
        FileInfo info{};
        ASSERT_EQ(kSuccess, L_FileInfo(path.c_str(), &info, 0, nullptr));
        EXPECT_EQ(kFormatTif, info.format);
        EXPECT_EQ(24, info.bitsPerPixel);
        TestBitmap loaded;
        ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
        if (c.isLossless)
            EXPECT_EQ(0, MaxDifference(image.handle, loaded.handle));
        else
            EXPECT_GT(Psnr(image.handle, loaded.handle), 30.0);
    }
}

TEST(CodecDamage, DamagedTiffStripsAreCorruptAndIntactOnesLoad)
{
    ScratchFolder folder;
    TestBitmap image;
    MakeBitmap(image, 16, 16, 24, PhotoLike);
    const Bytes deflated = Deflated(RgbSamples(image));
    ASSERT_EQ(kSuccess, LoadBytes(folder, RgbTiff(8, deflated), "intact.tif"));
    Bytes badData = deflated;
    badData[badData.size() / 2] ^= 0xFF;
    badData[badData.size() / 2 + 1] ^= 0xFF;
    const Bytes lzwGarbage(200, 0xFF);
    struct Case { const char* why; Bytes file; };
    const Case kCases[] = {
        {"Deflate data cut short", RgbTiff(8, Bytes(deflated.begin(), deflated.begin() + static_cast<std::ptrdiff_t>(deflated.size() / 2)))},
        {"Deflate data damaged", RgbTiff(8, badData)},
        {"LZW data that is not LZW", RgbTiff(5, lzwGarbage)},
        {"uncompressed strip too short", RgbTiff(1, Bytes(100, 7))},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(kErrorFileCorrupt, LoadBytes(folder, c.file, "damaged.tif"));
    }
    // A compression this build leaves out (ZSTD) is a variant we do not read, not damage.
    EXPECT_EQ(kErrorFileFormat, LoadBytes(folder, RgbTiff(50000, deflated), "zstd.tif"));
}

// A failed load keeps nothing: a hundred of them leave the committed memory where it was.
TEST(CodecDamage, FailedLoadsKeepNoMemory)
{
    ScratchFolder folder;
    Bytes hugeSecondImage = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    for (int side : {1, 30000}) {
        const std::size_t at = hugeSecondImage.size();
        hugeSecondImage.insert(hugeSecondImage.end(), {0x2C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 0x44, 0x01, 0});
        Put16(hugeSecondImage, at + 5, side);
        Put16(hugeSecondImage, at + 7, side);
    }
    hugeSecondImage.push_back(0x3B);

    TestBitmap image;
    MakeBitmap(image, 200, 150, 24, PhotoLike);
    const std::string jpegPath = folder.Path("photo.jpg");
    ASSERT_EQ(kSuccess, L_SaveBitmap(jpegPath.c_str(), &image.handle, kFormatJpeg, 0, 0, nullptr));
    const Bytes jpeg = ReadBytes(jpegPath);
    const Bytes cutJpeg(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() * 2 / 3));
    const Bytes png = SoundPng(2);
    const Bytes cutPng(png.begin(), png.end() - 20);
    const Bytes deflated = Deflated(RgbSamples(image));
    const Bytes cutTiff = RgbTiff(8, Bytes(deflated.begin(), deflated.begin() + 50));

    struct Case { const char* why; Bytes file; };
    const Case kCases[] = {
        {"a GIF whose second image claims 30000 x 30000", hugeSecondImage},
        {"a JPEG cut in its scan", cutJpeg},
        {"a PNG cut in its data", cutPng},
        {"a TIFF whose strip is cut", cutTiff},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const std::string path = folder.Path("failing");
        WriteBytes(path, c.file);
        auto loadOnce = [&] {
            TestBitmap bitmap;
            EXPECT_NE(kSuccess, L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr));
        };
        loadOnce();  // the first call may set up what every later one shares
        const std::size_t before = CommittedPrivateBytes();
        for (int i = 0; i < 100; ++i)
            loadOnce();
        const std::size_t after = CommittedPrivateBytes();
        EXPECT_LT(after, before + (4u << 20)) << "grew by " << (after - before);
    }
}

} // namespace

} // namespace codec_damage_test
