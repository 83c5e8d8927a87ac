// Resampling: every method against a double-precision reference written here, and the
// properties a correct resampler has whatever its arithmetic (constancy, interpolation,
// no shift, no aliasing), on every thread count and instruction-set path.
#include "imaging/KernelPath.h"
#include "imaging/PixelKernels.h"
#include "kernel_test_images.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace resample_test {

using imaging::ResampleMethod;
using namespace kerneltest;

namespace {

constexpr double kPi = 3.14159265358979323846;

const char* MethodName(ResampleMethod method)
{
    switch (method) {
    case ResampleMethod::Nearest: return "nearest";
    case ResampleMethod::Bilinear: return "bilinear";
    case ResampleMethod::Bicubic: return "bicubic";
    }
    return "?";
}

// The reference: the documented kernels evaluated in double, with no intermediate rounding.
double ReferenceKernel(ResampleMethod method, double x)
{
    double d = std::fabs(x);
    switch (method) {
    case ResampleMethod::Nearest: return (x > -0.5 && x <= 0.5) ? 1.0 : 0.0;
    case ResampleMethod::Bilinear: return std::max(0.0, 1.0 - d);
    case ResampleMethod::Bicubic: {
        const double a = -0.5;
        if (d < 1.0)
            return (a + 2) * d * d * d - (a + 3) * d * d + 1;
        if (d < 2.0)
            return a * d * d * d - 5 * a * d * d + 8 * a * d - 4 * a;
        return 0.0;
    }
    }
    return 0.0;
}

// weights[i][j]: how much source sample j contributes to output i along one axis.
std::vector<std::vector<double>> ReferenceAxis(int from, int to, ResampleMethod method)
{
    double scale = double(from) / to;
    double widen = (method != ResampleMethod::Nearest && scale > 1.0) ? scale : 1.0;
    double radius = (method == ResampleMethod::Bicubic ? 2.0 : 1.0) * widen;
    std::vector<std::vector<double>> weights(std::size_t(to), std::vector<double>(std::size_t(from), 0.0));
    for (int i = 0; i < to; ++i) {
        double centre = (i + 0.5) * from / to;
        double total = 0.0;
        for (int j = int(std::floor(centre - radius)) - 2; j <= int(std::ceil(centre + radius)) + 2; ++j) {
            double w = ReferenceKernel(method, (j + 0.5 - centre) / widen);
            weights[std::size_t(i)][std::size_t(std::clamp(j, 0, from - 1))] += w;
            total += w;
        }
        for (double& w : weights[std::size_t(i)])
            w /= total;
    }
    return weights;
}

std::vector<double> ReferenceResampleExact(const TestImage& source, int width, int height, ResampleMethod method)
{
    auto columns = ReferenceAxis(source.width, width, method);
    auto rows = ReferenceAxis(source.height, height, method);
    const int c = source.channels;
    std::vector<double> across(std::size_t(source.height) * width * c, 0.0);
    for (int y = 0; y < source.height; ++y)
        for (int x = 0; x < width; ++x)
            for (int j = 0; j < source.width; ++j)
                for (int k = 0; k < c; ++k)
                    across[(std::size_t(y) * width + x) * c + k] += columns[x][j] * source.At(j, y, k);
    std::vector<double> out(std::size_t(height) * width * c, 0.0);
    for (int y = 0; y < height; ++y)
        for (int j = 0; j < source.height; ++j)
            if (rows[y][j] != 0.0)
                for (int i = 0; i < width * c; ++i)
                    out[std::size_t(y) * width * c + i] += rows[y][j] * across[std::size_t(j) * width * c + i];
    return out;
}

TestImage ReferenceResample(const TestImage& source, int width, int height, ResampleMethod method)
{
    std::vector<double> exact = ReferenceResampleExact(source, width, height, method);
    TestImage out(width, height, source.channels);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < source.channels; ++k)
                out.At(x, y, k) = std::uint8_t(
                    std::clamp(std::lround(exact[(std::size_t(y) * width + x) * source.channels + k]), 0L, 255L));
    return out;
}

TestImage Resized(const TestImage& source, int width, int height, ResampleMethod method, int threads = 0,
                  int paddingBytes = 0)
{
    TestImage target(width, height, source.channels, paddingBytes);
    EXPECT_TRUE(imaging::Resample(source.Buffer(), target.Buffer(), method, kNoProgress, threads));
    return target;
}

const ResampleMethod kMethods[] = {ResampleMethod::Nearest, ResampleMethod::Bilinear, ResampleMethod::Bicubic};
const ResampleMethod kFilters[] = {ResampleMethod::Bilinear, ResampleMethod::Bicubic};

struct SizeCase {
    const char* why;
    int sourceWidth, sourceHeight, targetWidth, targetHeight, channels;
};

const SizeCase kSizeCases[] = {
    {"2x enlargement, the program's main job", 23, 17, 46, 34, 3},
    {"3x enlargement: output centres on source centres", 11, 9, 33, 27, 4},
    {"uneven enlargement and a grey image", 19, 13, 50, 29, 1},
    {"2x reduction widens the kernel", 40, 30, 20, 15, 3},
    {"uneven reduction, 4 channels", 53, 41, 17, 12, 4},
    {"enlarge one axis, reduce the other", 31, 40, 70, 13, 3},
    {"strong reduction: many taps", 120, 90, 7, 5, 3},
    {"very strong reduction: weights below one fixed-point step", 20000, 2, 3, 2, 1},
    {"a whole row into one pixel", 60000, 2, 1, 2, 1},
    {"output centres on source pixel boundaries", 60000, 2, 7, 2, 3},
    {"same size is a copy", 21, 14, 21, 14, 3},
    {"one-pixel source", 1, 1, 7, 5, 3},
    {"one-pixel-wide target", 37, 20, 1, 20, 3},
    {"one-pixel-high target", 37, 20, 37, 1, 4},
    {"one-pixel target", 9, 6, 1, 1, 1},
    {"two-pixel source, heavy enlargement", 2, 2, 15, 11, 3},
};

} // namespace

// Ramps across and down, one per channel: rounding errors of the weights do not average
// out on them as they do on noise.
TestImage RampImage(int w, int h, int c)
{
    TestImage image(w, h, c);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < c; ++k)
                image.At(x, y, k) =
                    std::uint8_t(k == 1 ? y * 255 / std::max(1, h - 1) : x * 255 / std::max(1, w - 1));
    return image;
}

TEST(Resample, MatchesDoublePrecisionReference)
{
    for (const SizeCase& c : kSizeCases) {
        const TestImage sources[] = {NoiseImage(c.sourceWidth, c.sourceHeight, c.channels, 7),
                                     RampImage(c.sourceWidth, c.sourceHeight, c.channels)};
        for (const TestImage& source : sources)
            for (ResampleMethod method : kMethods) {
                SCOPED_TRACE(std::string(c.why) + ", " + MethodName(method) +
                             (&source == sources ? ", noise" : ", ramps"));
                TestImage ours = Resized(source, c.targetWidth, c.targetHeight, method);
                TestImage reference = ReferenceResample(source, c.targetWidth, c.targetHeight, method);
                // Fixed point rounds twice; point sampling moves samples and must be exact.
                EXPECT_LE(MaxDifference(ours, reference), method == ResampleMethod::Nearest ? 0 : 1);
            }
    }
}

TEST(Resample, ConstantImageStaysConstant)
{
    for (const SizeCase& c : kSizeCases) {
        TestImage source = ConstantImage(c.sourceWidth, c.sourceHeight, c.channels);
        for (ResampleMethod method : kMethods) {
            SCOPED_TRACE(std::string(c.why) + ", " + MethodName(method));
            EXPECT_TRUE(IsConstantLike(Resized(source, c.targetWidth, c.targetHeight, method), source));
        }
    }
}

TEST(Resample, NearestDoublingReplicatesEachPixel)
{
    TestImage source = NoiseImage(13, 8, 3, 11);
    TestImage target = Resized(source, 26, 16, ResampleMethod::Nearest);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 26; ++x)
            for (int k = 0; k < 3; ++k)
                ASSERT_EQ(source.At(x / 2, y / 2, k), target.At(x, y, k)) << "at " << x << "," << y;
}

TEST(Resample, BilinearKeepsLinearGradientLinear)
{
    // value = 20 + 3 * (position in source pixels): steep enough that a wrong weight shows.
    struct Case { const char* why; int from; int to; };
    const Case kCases[] = {{"enlarge 2.5x", 60, 150}, {"reduce 2.5x", 150, 60}, {"enlarge 2x", 60, 120}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestImage source(c.from, 3, 1);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < c.from; ++x)
                source.At(x, y, 0) = std::uint8_t(20 + 3 * x * 60 / c.from);
        // Rows and columns swapped too: the vertical pass must agree with the horizontal.
        TestImage columns(3, c.from, 1);
        for (int y = 0; y < c.from; ++y)
            for (int x = 0; x < 3; ++x)
                columns.At(x, y, 0) = source.At(y, 0, 0);
        TestImage across = Resized(source, c.to, 3, ResampleMethod::Bilinear);
        TestImage down = Resized(columns, 3, c.to, ResampleMethod::Bilinear);
        double scale = double(c.from) / c.to;
        double reach = 1.0 + std::max(scale, 1.0);  // kernel radius in source pixels, plus the last step
        for (int i = 0; i < c.to; ++i) {
            double centre = (i + 0.5) * scale - 0.5;
            if (centre < reach || centre > c.from - 1 - reach)
                continue;
            double expected = 20 + 3.0 * centre * 60 / c.from;
            EXPECT_NEAR(expected, across.At(i, 1, 0), 1.0) << "column " << i;
            EXPECT_NEAR(expected, down.At(1, i, 0), 1.0) << "row " << i;
        }
    }
}

TEST(Resample, BicubicKeepsSourceSamplesWhereGridsCoincide)
{
    // At 3x and 5x every source centre is an output centre; an interpolating kernel keeps
    // those samples exactly, whatever their neighbours (noise makes any blur show).
    for (int factor : {3, 5}) {
        SCOPED_TRACE(factor);
        TestImage source = NoiseImage(12, 9, 3, 5);
        TestImage target = Resized(source, 12 * factor, 9 * factor, ResampleMethod::Bicubic);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 12; ++x)
                for (int k = 0; k < 3; ++k)
                    ASSERT_EQ(source.At(x, y, k), target.At(x * factor + factor / 2, y * factor + factor / 2, k));
    }
}

TEST(Resample, EnlargeThenReduceKeepsSmoothDetail)
{
    // Detail of periods 9 to 23 pixels, amplitude up to 100. Enlarging 2x then reducing 2x
    // low-passes it: at the shortest period the cubic pair keeps over 90 % of the amplitude
    // and the bilinear pair over 80 %, an error of at most 10 or 20 levels on that
    // component, which bounds the PSNR from below near 32 dB and 27 dB. A half-pixel shift
    // costs a period-9 wave about 35 % of its amplitude (under 22 dB), so it cannot pass.
    TestImage source(96, 64, 3);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x)
            for (int k = 0; k < 3; ++k) {
                double v = 128 + 50 * std::sin(2 * kPi * x / (9.0 + k)) + 30 * std::cos(2 * kPi * y / 11.0) +
                           20 * std::sin(2 * kPi * (x + y) / 23.0);
                source.At(x, y, k) = std::uint8_t(std::lround(v));
            }
    struct Case { ResampleMethod method; double minimumDb; };
    for (const Case& c : {Case{ResampleMethod::Bilinear, 27.0}, Case{ResampleMethod::Bicubic, 32.0}}) {
        SCOPED_TRACE(MethodName(c.method));
        TestImage back = Resized(Resized(source, 192, 128, c.method), 96, 64, c.method);
        double squared = 0;
        int count = 0;
        // Edges repeat their pixels, which a periodic pattern does not; judge the inside.
        for (int y = 4; y < 60; ++y)
            for (int x = 4; x < 92; ++x)
                for (int k = 0; k < 3; ++k, ++count) {
                    double d = double(back.At(x, y, k)) - source.At(x, y, k);
                    squared += d * d;
                }
        double psnr = 10 * std::log10(255.0 * 255.0 / (squared / count));
        EXPECT_GT(psnr, c.minimumDb);
    }
}

TEST(Resample, ReducingFineCheckerboardGivesFlatGrey)
{
    // A one-pixel checkerboard is pure Nyquist detail. A point sampler (or an unwidened
    // kernel) turns it into black, white or a coarse false pattern; a kernel spread over the
    // footprint leaves grey. 4 levels is 3 % of the 127-level swing a sampler would show.
    TestImage board(120, 120, 1);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x)
            board.At(x, y, 0) = ((x + y) & 1) ? 255 : 0;
    for (ResampleMethod method : kFilters)
        for (int size : {60, 40, 48, 30, 17}) {
            SCOPED_TRACE(std::string(MethodName(method)) + " to " + std::to_string(size));
            TestImage small = Resized(board, size, size, method);
            for (int y = 2; y < size - 2; ++y)
                for (int x = 2; x < size - 2; ++x)
                    ASSERT_NEAR(127.5, small.At(x, y, 0), 4.0) << "at " << x << "," << y;
        }
}

TEST(Resample, BrightSpotKeepsItsCentreOfMass)
{
    // A spot on mid grey (so that the cubic's undershoot is not clipped away) must stay
    // where it was, measured in source pixels; a half-pixel shift would be 0.25 to 0.5 off.
    struct Case { const char* why; int from; int to; int spotAt; int spotSize; };
    const Case kCases[] = {
        {"enlarge 2x", 21, 42, 10, 1},   {"enlarge 3x", 21, 63, 10, 1}, {"enlarge 4x", 21, 84, 9, 1},
        {"reduce 2x", 42, 21, 20, 2},    {"reduce 3x", 63, 21, 30, 3},  {"reduce 3x, one pixel", 63, 21, 31, 1},
    };
    for (ResampleMethod method : kMethods)
        for (const Case& c : kCases) {
            if (method == ResampleMethod::Nearest && c.to < c.from)
                continue;  // point sampling may drop a spot altogether
            SCOPED_TRACE(std::string(c.why) + ", " + MethodName(method));
            TestImage source(c.from, c.from, 1);
            for (int y = 0; y < c.from; ++y)
                for (int x = 0; x < c.from; ++x) {
                    bool inSpot = x >= c.spotAt && x < c.spotAt + c.spotSize && y >= c.spotAt &&
                                  y < c.spotAt + c.spotSize;
                    source.At(x, y, 0) = inSpot ? 255 : 128;
                }
            TestImage target = Resized(source, c.to, c.to, method);
            double mass = 0, sumX = 0, sumY = 0;
            double scale = double(c.from) / c.to;
            for (int y = 0; y < c.to; ++y)
                for (int x = 0; x < c.to; ++x) {
                    double m = double(target.At(x, y, 0)) - 128;
                    mass += m;
                    sumX += m * (x + 0.5) * scale;
                    sumY += m * (y + 0.5) * scale;
                }
            double expected = c.spotAt + c.spotSize / 2.0;
            ASSERT_GT(mass, 0);
            EXPECT_NEAR(expected, sumX / mass, 0.05);
            EXPECT_NEAR(expected, sumY / mass, 0.05);
        }
}

TEST(Resample, SameResultOnAnyThreadCount)
{
    TestImage source = NoiseImage(97, 331, 3, 3);
    for (ResampleMethod method : kMethods)
        for (auto size : {std::pair<int, int>{203, 700}, std::pair<int, int>{40, 150}}) {
            SCOPED_TRACE(MethodName(method));
            std::vector<std::uint8_t> one = Resized(source, size.first, size.second, method, 1).Pixels();
            for (int threads : {2, 3, 8, 0})
                EXPECT_EQ(one, Resized(source, size.first, size.second, method, threads).Pixels()) << threads;
        }
}

TEST(Resample, EveryKernelPathMatchesPortable)
{
    // Odd widths leave tails for every loop; padded strides and all channel counts reach
    // the wide loads' bounds checks. The tall enlargements give each worker pieces of
    // several rows, which the vertical pass may make two at a time (their windows a row
    // apart, or the same rows).
    struct Case { int sw, sh, tw, th, channels, padding; };
    const Case kCases[] = {
        {4000 / 50, 3000 / 50, 160, 120, 3, 0}, {37, 23, 91, 57, 3, 5}, {37, 23, 91, 57, 4, 3},
        {37, 23, 91, 57, 1, 7}, {91, 57, 37, 23, 3, 1}, {91, 57, 30, 19, 4, 0}, {97, 13, 31, 40, 1, 0},
        {5, 3, 17, 11, 3, 0}, {61, 150, 122, 300, 3, 2}, {40, 170, 97, 411, 4, 0}, {23, 160, 41, 999, 1, 5},
    };
    const imaging::KernelPath kPaths[] = {imaging::KernelPath::Sse2, imaging::KernelPath::Ssse3,
                                          imaging::KernelPath::Avx2};
    for (const Case& c : kCases) {
        TestImage source = NoiseImage(c.sw, c.sh, c.channels, 17, c.padding);
        for (ResampleMethod method : kMethods) {
            ASSERT_TRUE(imaging::ForceKernelPath(imaging::KernelPath::Portable));
            std::vector<std::uint8_t> portable = Resized(source, c.tw, c.th, method, 2, c.padding).Pixels();
            for (imaging::KernelPath path : kPaths) {
                if (!imaging::IsKernelPathSupported(path))
                    continue;
                SCOPED_TRACE(std::string(imaging::KernelPathName(path)) + ", " + MethodName(method) + ", " +
                             std::to_string(c.channels) + " channels, " + std::to_string(c.sw) + " to " +
                             std::to_string(c.tw));
                ASSERT_TRUE(imaging::ForceKernelPath(path));
                TestImage ours = Resized(source, c.tw, c.th, method, 2, c.padding);
                EXPECT_EQ(portable, ours.Pixels());
                EXPECT_TRUE(ours.PaddingIntact());
            }
        }
    }
    imaging::ResetKernelPath();
}

TEST(Resample, WritesOnlyTargetPixelsAndNeverTheSource)
{
    for (int channels : {1, 3, 4}) {
        SCOPED_TRACE(channels);
        TestImage source = NoiseImage(33, 21, channels, 9, 6);
        const std::vector<std::uint8_t> before = source.bytes;
        for (ResampleMethod method : kMethods) {
            TestImage target = Resized(source, 70, 44, method, 0, 9);
            EXPECT_TRUE(target.PaddingIntact());
            TestImage unpadded = Resized(source, 70, 44, method);
            EXPECT_EQ(unpadded.Pixels(), target.Pixels());
        }
        EXPECT_EQ(before, source.bytes);
    }
}

TEST(Resample, ReportsRisingProgressBelowHundredOnCallingThread)
{
    TestImage source = NoiseImage(400, 300, 3, 1);
    TestImage target(1600, 1200, 3);
    std::vector<int> seen;
    bool onCaller = true;
    const std::thread::id caller = std::this_thread::get_id();
    auto progress = [&](int percent) {
        seen.push_back(percent);
        onCaller = onCaller && std::this_thread::get_id() == caller;
        return true;
    };
    ASSERT_TRUE(imaging::Resample(source.Buffer(), target.Buffer(), ResampleMethod::Bicubic, progress, 2));
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(0, seen.front());
    EXPECT_EQ(99, seen.back());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()) &&
                std::adjacent_find(seen.begin(), seen.end()) == seen.end());
    EXPECT_TRUE(onCaller);
}

TEST(Resample, CancelReturnsFalseAndStopsCalling)
{
    TestImage source = NoiseImage(400, 300, 3, 1);
    struct Case { const char* why; int cancelAt; };
    for (const Case& c : {Case{"at the first report", 0}, Case{"part way", 1}}) {
        SCOPED_TRACE(c.why);
        TestImage target(1600, 1200, 3);
        int callsAfterNo = 0;
        bool saidNo = false;
        auto progress = [&](int percent) {
            if (saidNo)
                ++callsAfterNo;
            saidNo = saidNo || percent >= c.cancelAt;
            return !saidNo;
        };
        EXPECT_FALSE(imaging::Resample(source.Buffer(), target.Buffer(), ResampleMethod::Bicubic, progress, 1));
        EXPECT_EQ(0, callsAfterNo);
        if (c.cancelAt == 0) {
            // Cancelled before any worker started: the target is as it was.
            EXPECT_TRUE(std::all_of(target.bytes.begin(), target.bytes.end(), [](std::uint8_t b) { return b == 0; }));
        }
    }
}

TEST(Resample, RejectsUnusableBuffers)
{
    TestImage source = NoiseImage(10, 10, 3, 2);
    struct Case { const char* why; imaging::PixelBuffer source; imaging::PixelBuffer target; };
    TestImage target(20, 20, 3);
    TestImage grey(20, 20, 1);
    imaging::PixelBuffer good = target.Buffer();
    imaging::PixelBuffer noData = good;
    noData.data = nullptr;
    imaging::PixelBuffer noWidth = good;
    noWidth.width = 0;
    imaging::PixelBuffer negativeHeight = good;
    negativeHeight.height = -3;
    imaging::PixelBuffer shortStride = good;
    shortStride.stride = 59;
    imaging::PixelBuffer twoChannelSource = source.Buffer();
    twoChannelSource.channels = 2;
    imaging::PixelBuffer twoChannelTarget = grey.Buffer();
    twoChannelTarget.channels = 2;
    twoChannelTarget.width = 10;
    imaging::PixelBuffer overlapping = source.Buffer();
    overlapping.data += 30;
    overlapping.height = 5;
    const Case kCases[] = {
        {"no target memory", source.Buffer(), noData},
        {"zero width", source.Buffer(), noWidth},
        {"negative height", source.Buffer(), negativeHeight},
        {"stride shorter than a row", source.Buffer(), shortStride},
        {"channel counts differ", source.Buffer(), grey.Buffer()},
        {"two channels", twoChannelSource, twoChannelTarget},
        {"target overlaps source", source.Buffer(), overlapping},
    };
    const std::vector<std::uint8_t> before = source.bytes;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_FALSE(imaging::Resample(c.source, c.target, ResampleMethod::Bilinear, kNoProgress));
    }
    EXPECT_EQ(before, source.bytes);
    EXPECT_TRUE(std::all_of(target.bytes.begin(), target.bytes.end(), [](std::uint8_t b) { return b == 0; }));
}

} // namespace resample_test
