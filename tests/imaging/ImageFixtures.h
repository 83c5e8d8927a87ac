// Shared fixtures of the imaging tests: bitmaps built in code, a scratch folder per test,
// file bytes, and image comparison.
#pragma once

#include "imaging/BitmapStorage.h"
#include "imaging/ImagingApi.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace imaging_test {

using Bytes = std::vector<std::uint8_t>;
using Colour = std::array<int, 3>;  // red, green, blue

// A library bitmap freed at the end of the test.
struct TestBitmap {
    imaging::BitmapHandle handle{};
    TestBitmap() = default;
    TestBitmap(const TestBitmap&) = delete;
    TestBitmap& operator=(const TestBitmap&) = delete;
    ~TestBitmap() { L_FreeBitmap(&handle); }
};

// width x height of `bitsPerPixel` (8 or 24) filled by colourAt(x, y) in image order.
template <typename ColourAt>
void MakeBitmap(TestBitmap& bitmap, int width, int height, int bitsPerPixel, ColourAt colourAt,
                int viewPerspective = imaging::kViewTopDown, int resolution = 300)
{
    imaging::OwnedBitmap built;
    ASSERT_EQ(imaging::kSuccess, built.Allocate(width, height, bitsPerPixel, viewPerspective));
    built.get().xResolution = built.get().yResolution = resolution;
    const imaging::PixelBuffer rows = imaging::TopDownView(built.get());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Colour c = colourAt(x, y);
            std::uint8_t* p = rows.data + y * rows.stride + x * rows.channels;
            if (rows.channels == 1) {
                p[0] = static_cast<std::uint8_t>(c[0]);
            } else {
                p[0] = static_cast<std::uint8_t>(c[2]);
                p[1] = static_cast<std::uint8_t>(c[1]);
                p[2] = static_cast<std::uint8_t>(c[0]);
            }
        }
    }
    L_FreeBitmap(&bitmap.handle);
    bitmap.handle = built.Release();
}

// Smooth gradients with a little fixed-seed noise: detail for the lossy codec, and more
// than 256 colours.
Colour PhotoLike(int x, int y);
// At most 6 colours: blocks of a fixed set.
Colour FewColours(int x, int y);

// The colour at (x, y) in image order, whatever the stored order; grey gives three equal levels.
Colour PixelAt(const imaging::BitmapHandle& bitmap, int x, int y);

// Peak signal-to-noise ratio over all channels of two bitmaps of the same size.
double Psnr(const imaging::BitmapHandle& a, const imaging::BitmapHandle& b);
// Largest difference of any channel of any pixel.
int MaxDifference(const imaging::BitmapHandle& a, const imaging::BitmapHandle& b);

// A copy of a bitmap's record and pixels, to show that a call changed nothing.
struct BitmapSnapshot {
    explicit BitmapSnapshot(const imaging::BitmapHandle& bitmap);
    bool Matches(const imaging::BitmapHandle& bitmap) const;

    imaging::BitmapHandle record;
    Bytes pixels;
};

// A folder of its own for each test, removed with everything in it afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    std::string Path(const std::string& name) const { return m_folder + "\\" + name; }
    // The names of the files in the folder now.
    std::vector<std::string> FileNames() const;

private:
    std::string m_folder;
};

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
bool FileExists(const std::string& path);

// Numbers written into file bytes at `at`, little-endian unless asked.
void Put16(Bytes& file, std::size_t at, int value, bool isBigEndian = false);
void Put32(Bytes& file, std::size_t at, std::uint32_t value, bool isBigEndian = false);

// A BMP as other programs write them: the 14-byte file header, an information header of
// `infoSize` bytes (40, or a larger one whose bytes past 40 are `gap`; after a 40-byte one
// `gap` holds the mask words), the palette of blue, green, red entries, then `data`.
// A negative height is a top-down file.
using BgrColour = std::array<std::uint8_t, 3>;
Bytes MakeBmp(int width, int height, int bitsPerPixel, int compression, const std::vector<BgrColour>& palette,
              const Bytes& data, const Bytes& gap = {}, int infoSize = 40);

// A PNG of `width` x `height` whose image data is `scanlines` (each row a filter byte, then
// its samples at `bitDepth` in the colour type's order), compressed as one zlib stream,
// with a PLTE chunk when `palette` (red, green, blue entries) is given.
using RgbColour = std::array<std::uint8_t, 3>;
Bytes MakePng(int width, int height, int bitDepth, int colourType, const Bytes& scanlines,
              const std::vector<RgbColour>& palette = {});
// Appends a chunk: length, type, data, and the CRC of type and data.
void AddPngChunk(Bytes& file, const char* type, const Bytes& data);

// Records every status report; answers 0 from the report `cancelAt` on (never with -1).
class StatusRecorder {
public:
    explicit StatusRecorder(int cancelAt = -1);
    ~StatusRecorder();
    StatusRecorder(const StatusRecorder&) = delete;
    StatusRecorder& operator=(const StatusRecorder&) = delete;
    const std::vector<int>& Reports() const { return m_reports; }
    void Clear() { m_reports.clear(); }

private:
    static int Callback(int percent, void* userData);
    std::vector<int> m_reports;
    int m_cancelAt;
    imaging::StatusCallback m_previous;
};

// Private memory committed now, from the process's own view of its address space.
std::size_t CommittedPrivateBytes();

// The most private memory committed at any moment while `call` ran, above what was
// committed before it: sampled every millisecond on another thread from the process's
// own view of its address space (Wine's process memory counters do not move).
std::size_t PeakCommittedGrowth(const std::function<void()>& call);

// Whether reports rise from 0 and end in exactly one 100.
::testing::AssertionResult IsCompleteProgress(const std::vector<int>& reports);

} // namespace imaging_test
