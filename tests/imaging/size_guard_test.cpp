// Memory the library commits for what a file or a resize asks, measured while the call
// runs: a tiny file claiming a size within the limits is refused before its bitmap is
// allocated, and a strong reduction keeps its row buffers within a fixed budget.
#include "ImageFixtures.h"

#include "imaging/PixelKernels.h"

#include <chrono>

// The file's own namespace keeps its using-directives out of the files compiled with it.
namespace size_guard_test {

using namespace imaging;
using namespace imaging_test;

namespace {

// A PCX header for a width x height image at (0, 0), followed by `data`.
Bytes PcxClaiming(int width, int height, int bitsPerPlane, int planes, const Bytes& data)
{
    Bytes file(128, 0);
    file[0] = 0x0A;
    file[1] = 5;
    file[2] = 1;
    file[3] = static_cast<std::uint8_t>(bitsPerPlane);
    Put16(file, 8, width - 1);
    Put16(file, 10, height - 1);
    file[65] = static_cast<std::uint8_t>(planes);
    Put16(file, 66, (width * bitsPerPlane / 8 + 1) & ~1);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

// Runs of zeros making `bytes` decoded bytes, 63 to each pair.
Bytes ZeroRuns(std::size_t bytes)
{
    Bytes runs;
    for (std::size_t made = 0; made < bytes; made += 63)
        runs.insert(runs.end(), {0xFF, 0x00});
    return runs;
}

// Each bitmap (or the indices read before the palette) would take 400 MB to 1.2 GB, all
// within the limits, while the runs after the header make a sliver of it: 126 bytes, or
// some hundreds of lines, over which a decoder that allocated first would hold the whole
// bitmap.
TEST(SizeGuards, PcxFilesClaimingFarMoreThanTheirRunsMakeAreRefusedBeforeAllocating)
{
    struct Case { const char* why; Bytes file; };
    const Case kCases[] = {
        {"24-bit in three planes, 20000 x 20000, 500 lines of runs",
         PcxClaiming(20000, 20000, 8, 3, ZeroRuns(500 * 60000))},
        {"256 colours, 25000 x 25000, 126 bytes of runs", PcxClaiming(25000, 25000, 8, 1, ZeroRuns(126))},
        {"16 colours in four planes, 20000 x 20000, 3000 lines of runs",
         PcxClaiming(20000, 20000, 1, 4, ZeroRuns(3000 * 10000))},
    };
    ScratchFolder folder;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const std::string path = folder.Path("claims.pcx");
        WriteBytes(path, c.file);
        const auto start = std::chrono::steady_clock::now();
        TestBitmap bitmap;
        int result = kSuccess;
        const std::size_t grown = PeakCommittedGrowth(
            [&] { result = L_LoadBitmap(path.c_str(), &bitmap.handle, 0, kColorOrderBgr, nullptr, nullptr); });
        EXPECT_EQ(kErrorFileCorrupt, result);
        EXPECT_EQ(nullptr, bitmap.handle.pixels);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_LT(grown, 64u << 20);
    }
}

// Reducing 24000 rows to 8 blends 6000 source rows into each output row: one worker's
// buffered rows take 48 MB, so eight workers would take 384 MB. Fewer work at once instead.
TEST(SizeGuards, AStrongReductionKeepsItsBufferedRowsWithinABudgetWhateverTheWorkers)
{
    const int width = 4000, height = 24000;
    std::vector<std::uint8_t> sourcePixels(std::size_t(width) * height);
    for (std::size_t i = 0; i < sourcePixels.size(); ++i)
        sourcePixels[i] = static_cast<std::uint8_t>(i * 7 / width);
    std::vector<std::uint8_t> targetPixels(std::size_t(width) * 8);
    const PixelBuffer source{sourcePixels.data(), width, height, 1, width};
    const PixelBuffer target{targetPixels.data(), width, 8, 1, width};
    bool isDone = false;
    const std::size_t grown = PeakCommittedGrowth(
        [&] { isDone = Resample(source, target, ResampleMethod::Bilinear, [](int) { return true; }, 8); });
    ASSERT_TRUE(isDone);
    EXPECT_LT(grown, 160u << 20);
    // The target was written: its first row blends a sawtooth of mean level near 127.
    EXPECT_NE(0, targetPixels[0]);
}

} // namespace

} // namespace size_guard_test
