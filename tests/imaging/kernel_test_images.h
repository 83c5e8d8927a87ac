// Small images for the pixel-kernel tests: owned buffers with optional row padding,
// filled from a fixed seed so that every failure reproduces.
#pragma once

#include "imaging/PixelKernels.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

namespace kerneltest {

// Row padding is filled with this value, so a write past a row's pixels shows.
constexpr std::uint8_t kPaddingByte = 0xA5;

struct TestImage {
    int width = 0;
    int height = 0;
    int channels = 3;
    std::ptrdiff_t stride = 0;
    std::vector<std::uint8_t> bytes;

    TestImage() = default;
    TestImage(int w, int h, int c, int paddingBytes = 0)
        : width(w), height(h), channels(c), stride(std::ptrdiff_t(w) * c + paddingBytes),
          bytes(std::size_t(stride) * h, kPaddingByte)
    {
        for (int y = 0; y < h; ++y)
            for (int i = 0; i < w * c; ++i)
                bytes[std::size_t(y * stride + i)] = 0;
    }

    std::uint8_t& At(int x, int y, int c) { return bytes[std::size_t(y * stride + x * channels + c)]; }
    std::uint8_t At(int x, int y, int c) const { return bytes[std::size_t(y * stride + x * channels + c)]; }

    imaging::PixelBuffer Buffer() { return {bytes.data(), width, height, channels, stride}; }
    imaging::PixelBuffer Buffer() const
    {
        return {const_cast<std::uint8_t*>(bytes.data()), width, height, channels, stride};
    }

    // True when every padding byte still holds kPaddingByte.
    bool PaddingIntact() const
    {
        for (int y = 0; y < height; ++y)
            for (std::ptrdiff_t i = std::ptrdiff_t(width) * channels; i < stride; ++i)
                if (bytes[std::size_t(y * stride + i)] != kPaddingByte)
                    return false;
        return true;
    }

    // The pixels alone, without padding, for comparing images of different strides.
    std::vector<std::uint8_t> Pixels() const
    {
        std::vector<std::uint8_t> out;
        for (int y = 0; y < height; ++y)
            out.insert(out.end(), bytes.begin() + y * stride, bytes.begin() + y * stride + width * channels);
        return out;
    }
};

inline TestImage NoiseImage(int w, int h, int c, unsigned seed, int paddingBytes = 0)
{
    TestImage image(w, h, c, paddingBytes);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < c; ++k)
                image.At(x, y, k) = std::uint8_t(random() & 0xFF);
    return image;
}

// A different constant per channel, so that mixed-up channels show.
inline TestImage ConstantImage(int w, int h, int c, int paddingBytes = 0)
{
    static const std::uint8_t kValues[4] = {0, 255, 37, 200};
    TestImage image(w, h, c, paddingBytes);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < c; ++k)
                image.At(x, y, k) = kValues[k];
    return image;
}

inline bool IsConstantLike(const TestImage& image, const TestImage& constant)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            for (int k = 0; k < image.channels; ++k)
                if (image.At(x, y, k) != constant.At(0, 0, k))
                    return false;
    return true;
}

// Largest difference of any channel of any pixel.
inline int MaxDifference(const TestImage& a, const TestImage& b)
{
    int worst = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            for (int k = 0; k < a.channels; ++k)
                worst = std::max(worst, std::abs(int(a.At(x, y, k)) - int(b.At(x, y, k))));
    return worst;
}

// Progress answers that are never cancelled, for calls that do not look at progress.
inline const imaging::ProgressFn kNoProgress = [](int) { return true; };

} // namespace kerneltest
