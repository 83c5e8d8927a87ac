// Sharpening and softening: the documented filter against a double-precision reference
// written here, constancy, copying at 0, and the same bytes on every thread count and path.
#include "imaging/KernelPath.h"
#include "imaging/PixelKernels.h"
#include "kernel_test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace sharpen_test {

using namespace kerneltest;

namespace {

// The filter as documented: B = [1 2 1]/4 x [1 2 1]/4 with the edges repeated;
// out = src + g * (src - B), g = amount / 500 when sharpening, amount / 1000 when softening.
TestImage ReferenceSharpen(const TestImage& source, int amount)
{
    const int w = source.width, h = source.height, c = source.channels;
    double gain = amount > 0 ? amount / 500.0 : amount / 1000.0;
    TestImage out(w, h, c);
    const double tap[3] = {0.25, 0.5, 0.25};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < c; ++k) {
                double blur = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        blur += tap[dy + 1] * tap[dx + 1] *
                                source.At(std::clamp(x + dx, 0, w - 1), std::clamp(y + dy, 0, h - 1), k);
                double v = source.At(x, y, k) + gain * (source.At(x, y, k) - blur);
                out.At(x, y, k) = std::uint8_t(std::clamp(std::lround(v), 0L, 255L));
            }
    return out;
}

TestImage Sharpened(const TestImage& source, int amount, int threads = 0, int paddingBytes = 0)
{
    TestImage target(source.width, source.height, source.channels, paddingBytes);
    EXPECT_TRUE(imaging::Sharpen(source.Buffer(), target.Buffer(), amount, kNoProgress, threads));
    return target;
}

const int kAmounts[] = {-1000, -999, -500, -1, 1, 250, 750, 999, 1000};

// Sum of squared differences between neighbours: how much fine detail an image holds.
double DetailEnergy(const TestImage& image)
{
    double energy = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 1; x < image.width; ++x)
            for (int k = 0; k < image.channels; ++k) {
                double d = double(image.At(x, y, k)) - image.At(x - 1, y, k);
                energy += d * d;
            }
    return energy;
}

} // namespace

TEST(Sharpen, MatchesDoublePrecisionReference)
{
    struct Case { const char* why; int width, height, channels; };
    const Case kCases[] = {
        {"colour, odd width for the loop tails", 37, 19, 3}, {"four channels", 29, 11, 4},
        {"grey", 45, 13, 1}, {"one pixel", 1, 1, 3}, {"one column", 1, 9, 3}, {"one row", 40, 1, 4},
        {"two by two", 2, 2, 1},
    };
    for (const Case& c : kCases) {
        // Mid-range noise, so that most results are not clamped and the arithmetic shows.
        TestImage source = NoiseImage(c.width, c.height, c.channels, 21);
        for (std::uint8_t& b : source.bytes)
            b = std::uint8_t(64 + b / 2);
        for (int amount : kAmounts) {
            SCOPED_TRACE(std::string(c.why) + ", amount " + std::to_string(amount));
            EXPECT_LE(MaxDifference(Sharpened(source, amount), ReferenceSharpen(source, amount)), 1);
        }
    }
}

TEST(Sharpen, ConstantImageStaysConstant)
{
    for (int channels : {1, 3, 4}) {
        TestImage source = ConstantImage(23, 7, channels);
        for (int amount : kAmounts) {
            SCOPED_TRACE(std::to_string(channels) + " channels, amount " + std::to_string(amount));
            EXPECT_TRUE(IsConstantLike(Sharpened(source, amount), source));
        }
    }
}

TEST(Sharpen, ZeroCopiesExactly)
{
    TestImage source = NoiseImage(31, 17, 3, 4, 5);
    EXPECT_EQ(source.Pixels(), Sharpened(source, 0, 0, 3).Pixels());
}

TEST(Sharpen, AmountsBeyondTheRangeActAsItsEnds)
{
    TestImage source = NoiseImage(31, 17, 3, 4);
    EXPECT_EQ(Sharpened(source, 1000).Pixels(), Sharpened(source, 5000).Pixels());
    EXPECT_EQ(Sharpened(source, -1000).Pixels(), Sharpened(source, -70000).Pixels());
}

TEST(Sharpen, StrengthGrowsWithTheAmount)
{
    // Smooth ramps with mild noise: sharpening adds fine detail, softening removes it, and
    // both more so the larger the amount.
    TestImage source(64, 48, 3);
    std::vector<std::uint8_t> noise = NoiseImage(64, 48, 3, 8).bytes;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            for (int k = 0; k < 3; ++k)
                source.At(x, y, k) = std::uint8_t(60 + x + y + noise[std::size_t((y * 64 + x) * 3 + k)] % 40);
    double previous = DetailEnergy(Sharpened(source, -1000));
    for (int amount : {-600, -200, 0, 200, 600, 1000}) {
        SCOPED_TRACE(amount);
        double energy = DetailEnergy(Sharpened(source, amount));
        EXPECT_GT(energy, previous);
        previous = energy;
    }
}

TEST(Sharpen, SameResultOnAnyThreadCountAndPath)
{
    const imaging::KernelPath kPaths[] = {imaging::KernelPath::Sse2, imaging::KernelPath::Ssse3,
                                          imaging::KernelPath::Avx2};
    for (int channels : {1, 3, 4}) {
        TestImage source = NoiseImage(83, 140, channels, 6, 3);
        for (int amount : {-1000, -333, 750, 1000}) {
            SCOPED_TRACE(std::to_string(channels) + " channels, amount " + std::to_string(amount));
            ASSERT_TRUE(imaging::ForceKernelPath(imaging::KernelPath::Portable));
            std::vector<std::uint8_t> portable = Sharpened(source, amount, 1).Pixels();
            for (imaging::KernelPath path : kPaths) {
                if (!imaging::IsKernelPathSupported(path))
                    continue;
                ASSERT_TRUE(imaging::ForceKernelPath(path));
                for (int threads : {1, 3, 0}) {
                    TestImage ours = Sharpened(source, amount, threads, 7);
                    EXPECT_EQ(portable, ours.Pixels()) << imaging::KernelPathName(path) << ", " << threads;
                    EXPECT_TRUE(ours.PaddingIntact());
                }
            }
        }
    }
    imaging::ResetKernelPath();
}

TEST(Sharpen, NeverWritesTheSource)
{
    TestImage source = NoiseImage(50, 30, 4, 12, 2);
    const std::vector<std::uint8_t> before = source.bytes;
    for (int amount : {-1000, 750})
        (void)Sharpened(source, amount);
    EXPECT_EQ(before, source.bytes);
}

TEST(Sharpen, ProgressRisesAndCancelReturnsFalse)
{
    TestImage source = NoiseImage(1200, 900, 3, 13);
    TestImage target(1200, 900, 3);
    std::vector<int> seen;
    ASSERT_TRUE(imaging::Sharpen(source.Buffer(), target.Buffer(), 750, [&](int p) {
        seen.push_back(p);
        return true;
    }));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(0, seen.front());
    EXPECT_EQ(99, seen.back());
    EXPECT_TRUE(std::adjacent_find(seen.begin(), seen.end(), [](int a, int b) { return b <= a; }) == seen.end());

    TestImage untouched(1200, 900, 3);
    EXPECT_FALSE(imaging::Sharpen(source.Buffer(), untouched.Buffer(), 750, [](int) { return false; }));
    EXPECT_TRUE(std::all_of(untouched.bytes.begin(), untouched.bytes.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(Sharpen, RejectsMismatchedOrOverlappingBuffers)
{
    TestImage source = NoiseImage(20, 10, 3, 2);
    TestImage wider(21, 10, 3);
    TestImage grey(20, 10, 1);
    EXPECT_FALSE(imaging::Sharpen(source.Buffer(), wider.Buffer(), 750, kNoProgress));
    EXPECT_FALSE(imaging::Sharpen(source.Buffer(), grey.Buffer(), 750, kNoProgress));
    EXPECT_FALSE(imaging::Sharpen(source.Buffer(), source.Buffer(), 750, kNoProgress));
    EXPECT_TRUE(std::all_of(wider.bytes.begin(), wider.bytes.end(), [](std::uint8_t b) { return b == 0; }));
}

} // namespace sharpen_test
