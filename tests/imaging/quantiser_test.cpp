// GIF palettes: exact colours when there are at most 256, else a median cut that keeps
// smooth gradients free of banding beyond what 256 colours force.
#include "ImageFixtures.h"

#include "imaging/ColourQuantiser.h"

#include <algorithm>
#include <cstdlib>
#include <set>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace quantiser_test {

using namespace imaging;
using namespace imaging_test;

namespace {

struct Error {
    int largest = 0;
    double mean = 0;
};

// How far the indexed image's colours lie from the original's, per channel.
Error MeasureError(const BitmapHandle& original, const IndexedImage& indexed)
{
    Error error;
    double sum = 0;
    for (int y = 0; y < original.height; ++y) {
        for (int x = 0; x < original.width; ++x) {
            const Colour want = PixelAt(original, x, y);
            const std::uint32_t got = indexed.palette[indexed.indices[static_cast<std::size_t>(y) * original.width + x]];
            const int channels[3] = {static_cast<int>(got >> 16 & 0xFF), static_cast<int>(got >> 8 & 0xFF),
                                     static_cast<int>(got & 0xFF)};
            for (int c = 0; c < 3; ++c) {
                const int difference = std::abs(want[c] - channels[c]);
                error.largest = std::max(error.largest, difference);
                sum += difference;
            }
        }
    }
    error.mean = sum / (3.0 * original.width * original.height);
    return error;
}

IndexedImage Quantise(const BitmapHandle& bitmap)
{
    IndexedImage indexed;
    EXPECT_TRUE(MakeIndexed(TopDownView(bitmap), nullptr, indexed));
    EXPECT_LE(indexed.palette.size(), 256u);
    return indexed;
}

TEST(ColourQuantiser, KeepsUpTo256ColoursExactly)
{
    struct Case { const char* why; int colours; bool isExact; };
    const Case kCases[] = {{"one colour", 1, true}, {"exactly 256", 256, true}, {"257 is one too many", 257, false}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestBitmap image;
        const int count = c.colours;
        MakeBitmap(image, 40, 40, 24, [count](int x, int y) {
            const int n = (y * 40 + x) % count;
            return Colour{n % 256, n / 256 * 100, 50};
        });
        IndexedImage indexed;
        EXPECT_EQ(c.isExact, TryExactPalette(TopDownView(image.handle), indexed));
        if (c.isExact) {
            EXPECT_EQ(static_cast<std::size_t>(c.colours), indexed.palette.size());
            EXPECT_EQ(0, MeasureError(image.handle, indexed).largest);
        }
    }
}

// 65536 colours (red across, green down) in 256 entries: the best grid is 16 x 16, whose
// steps of 16 levels leave at most 8 and on average 4 levels of error. A fixed 3-3-2
// palette leaves up to 18, a palette of the first 256 colours far more.
TEST(ColourQuantiser, SpreadsThePaletteOverATwoDimensionalGradient)
{
    TestBitmap image;
    MakeBitmap(image, 512, 512, 24, [](int x, int y) { return Colour{x / 2, y / 2, 128}; });
    const Error error = MeasureError(image.handle, Quantise(image.handle));
    EXPECT_LE(error.largest, 12);
    EXPECT_LE(error.mean, 5.0);
}

// A ramp whose channels step at different places has about 550 colours along one line:
// 256 entries cover it within a level or two, with no coarse bands.
TEST(ColourQuantiser, LeavesNoBandsOnASmoothRamp)
{
    TestBitmap image;
    MakeBitmap(image, 1024, 4, 24,
               [](int x, int) { return Colour{x * 255 / 1023, 30 + x * 200 / 1023, 150 - x * 100 / 1023}; });
    const IndexedImage indexed = Quantise(image.handle);
    const Error error = MeasureError(image.handle, indexed);
    EXPECT_LE(error.largest, 3);
    const std::set<std::uint8_t> used(indexed.indices.begin(), indexed.indices.end());
    EXPECT_GE(used.size(), 200u);
}

// More distinct colours than the exact table holds (a photograph's case): red across,
// green down, blue a fine 16-level pattern. The histogram path must still find a palette
// about as even as a 16 x 16 x 1 grid (mean error near 4 levels), with no channel mixed up.
TEST(ColourQuantiser, QuantisesPhotographSizedColourCountsByHistogram)
{
    TestBitmap image;
    MakeBitmap(image, 1024, 1024, 24, [](int x, int y) { return Colour{x / 4, y / 4, 100 + (x % 4) * 4 + (y % 4)}; });
    const Error error = MeasureError(image.handle, Quantise(image.handle));
    EXPECT_LE(error.largest, 16);
    EXPECT_LE(error.mean, 6.0);
}

TEST(ColourQuantiser, GivesGreyImagesTheGreys)
{
    TestBitmap image;
    MakeBitmap(image, 16, 16, 8, [](int x, int y) { return Colour{x * 16 + y, 0, 0}; });
    const IndexedImage indexed = Quantise(image.handle);
    EXPECT_EQ(256u, indexed.palette.size());
    EXPECT_EQ(0, MeasureError(image.handle, indexed).largest);
}

TEST(ColourQuantiser, StopsWhenProgressCancels)
{
    TestBitmap image;
    MakeBitmap(image, 64, 64, 24, [](int x, int y) { return Colour{x * 4, y * 4, x ^ y}; });
    IndexedImage indexed;
    int calls = 0;
    EXPECT_FALSE(MakeIndexed(TopDownView(image.handle), [&calls](int) { return ++calls < 3; }, indexed));
    EXPECT_EQ(3, calls);
}

// A two-dimensional gradient through a GIF file. The best 256 colours leave steps of
// about 16 levels across it, an RMS error near 4.6 levels (35 dB); 33 dB allows for the
// palette not being perfectly even.
TEST(GifPalette, AGradientSavedAsGifComesBackWithoutBands)
{
    ScratchFolder folder;
    TestBitmap image;
    MakeBitmap(image, 300, 200, 24, [](int x, int y) { return Colour{x * 255 / 299, y * 255 / 199, 255 - x * 255 / 299}; });
    const std::string path = folder.Path("gradient.gif");
    ASSERT_EQ(kSuccess, L_SaveBitmap(path.c_str(), &image.handle, kFormatGif, 0, 0, nullptr));
    TestBitmap loaded;
    ASSERT_EQ(kSuccess, L_LoadBitmap(path.c_str(), &loaded.handle, 0, kColorOrderBgr, nullptr, nullptr));
    EXPECT_LE(MaxDifference(image.handle, loaded.handle), 16);
    EXPECT_GT(Psnr(image.handle, loaded.handle), 33.0);
}

} // namespace

} // namespace quantiser_test
