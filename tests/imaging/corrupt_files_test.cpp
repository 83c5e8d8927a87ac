// Damaged files of every format, made in code from good ones: truncated at several
// places, with flipped header bytes, with damage anywhere, and lying about their size.
// They answer errors (or, where the damage leaves a readable image, a sound bitmap),
// never a crash, a hang or a huge allocation.
#include "ImageFixtures.h"

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

} // namespace

} // namespace corrupt_files_test
