// Times the pixel kernels on the sizes the program meets: a 4000 x 3000 24-bit image with
// detail (gradients plus noise from a fixed seed) enlarged, reduced and sharpened, on one
// thread and on all, with warm targets (allocated and touched once, reused) reported apart
// from freshly allocated ones (page faults included). Prints the median of several runs.
// Also: the resize on each instruction-set path, the memory a resize adds, and JPEG and
// TIFF save and load of the enlarged image through the imaging API.
#include "bench/bench_timing.h"
#include "imaging/ImagingApi.h"
#include "imaging/KernelPath.h"
#include "imaging/Parallel.h"
#include "imaging/PixelKernels.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using bench::Median;

constexpr int kRuns = 5;
constexpr int kChannels = 3;

struct Image {
    int width = 0;
    int height = 0;
    std::unique_ptr<std::uint8_t[]> bytes;

    Image(int w, int h) : width(w), height(h), bytes(new std::uint8_t[std::size_t(w) * h * kChannels]) {}
    std::size_t Size() const { return std::size_t(width) * height * kChannels; }
    imaging::PixelBuffer Buffer() const
    {
        return {bytes.get(), width, height, kChannels, std::ptrdiff_t(width) * kChannels};
    }
};

// Diagonal gradients per channel plus +-24 levels of noise: smooth areas and fine detail,
// like a photograph, so no kernel meets only zeros or only constants.
Image MakeTestImage(int width, int height, std::uint32_t seed)
{
    Image image(width, height);
    std::uint32_t state = seed;
    std::uint8_t* p = image.bytes.get();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < kChannels; ++c) {
                state ^= state << 13;
                state ^= state >> 17;
                state ^= state << 5;
                int base = (c == 0 ? x * 255 / width : c == 1 ? y * 255 / height : (x + y) * 255 / (width + height));
                int v = base + int(state % 49) - 24;
                *p++ = std::uint8_t(std::clamp(v, 0, 255));
            }
    return image;
}

// User plus kernel time of every thread of the process so far, in milliseconds.
double ProcessCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& t) { return (double(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4; };
    return ms(kernel) + ms(user);
}

using Kernel = std::function<bool(const imaging::PixelBuffer& source, const imaging::PixelBuffer& target, int threads)>;

struct Timing {
    double warmMs;
    double freshMs;
};

Timing TimeCase(const Image& source, int targetWidth, int targetHeight, int threads, const Kernel& kernel)
{
    std::vector<double> warm, fresh;
    Image target(targetWidth, targetHeight);
    std::memset(target.bytes.get(), 0, target.Size());
    if (!kernel(source.Buffer(), target.Buffer(), threads))
        std::printf("kernel failed\n");
    for (int run = 0; run < kRuns; ++run) {
        const double start = bench::NowMs();
        (void)kernel(source.Buffer(), target.Buffer(), threads);
        warm.push_back(bench::NowMs() - start);
    }
    for (int run = 0; run < kRuns; ++run) {
        const double start = bench::NowMs();
        Image freshTarget(targetWidth, targetHeight);
        (void)kernel(source.Buffer(), freshTarget.Buffer(), threads);
        fresh.push_back(bench::NowMs() - start);
    }
    return {Median(warm), Median(fresh)};
}

Kernel ResizeWith(imaging::ResampleMethod method)
{
    return [method](const imaging::PixelBuffer& s, const imaging::PixelBuffer& t, int threads) {
        return imaging::Resample(s, t, method, nullptr, threads);
    };
}

Kernel SharpenBy(int amount)
{
    return [amount](const imaging::PixelBuffer& s, const imaging::PixelBuffer& t, int threads) {
        return imaging::Sharpen(s, t, amount, nullptr, threads);
    };
}

std::string SizeText(int w, int h)
{
    return std::to_string(w) + "x" + std::to_string(h);
}

void PrintRow(const char* name, const Image& source, int tw, int th, int threads, const Timing& t)
{
    double megapixels = double(tw) * th / 1e6;
    std::printf("%-22s %-10s %-10s %7d %10.1f %9.1f %10.1f %9.1f\n", name,
                SizeText(source.width, source.height).c_str(), SizeText(tw, th).c_str(), threads, t.warmMs,
                megapixels / (t.warmMs / 1000), t.freshMs, megapixels / (t.freshMs / 1000));
}

std::size_t PrivateBytes(bool peak)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return peak ? counters.PeakPagefileUsage : counters.PagefileUsage;
}

// Runs first, while the peak still belongs to this measurement: what a 2x bicubic resize
// on all threads adds to source and target.
void ReportResizeMemory(const Image& source)
{
    Image target(source.width * 2, source.height * 2);
    std::memset(target.bytes.get(), 0, target.Size());
    std::size_t before = PrivateBytes(false);
    (void)imaging::Resample(source.Buffer(), target.Buffer(), imaging::ResampleMethod::Bicubic, nullptr, 0);
    std::size_t peak = PrivateBytes(true);
    std::printf("memory: bicubic 2x on %d threads added %.2f MB at peak to source %.1f MB + target %.1f MB\n\n",
                imaging::WorkerCount(0, target.height), peak > before ? (peak - before) / 1e6 : 0.0,
                source.Size() / 1e6, target.Size() / 1e6);
}

// Saves and loads the enlarged image as JPEG (quality factor 2, the program's Save) and
// TIFF in the temporary folder. The codecs code on the calling thread alone; loading a
// picture this large has the pool touch the new bitmap's pages first.
void ReportCodecs(const Image& image)
{
    char folder[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) {
        std::printf("codecs: no temporary folder\n");
        return;
    }
    imaging::BitmapHandle bitmap = {};
    bitmap.width = image.width;
    bitmap.height = image.height;
    bitmap.viewPerspective = imaging::kViewTopDown;
    bitmap.xResolution = bitmap.yResolution = 300;
    bitmap.bitsPerPixel = 24;
    bitmap.colorOrder = imaging::kColorOrderBgr;
    bitmap.bytesPerLine = image.width * kChannels;
    bitmap.pixels = image.bytes.get();
    bitmap.pixelBytes = image.Size();

    struct Codec { const char* name; const char* extension; int format; int quality; };
    const Codec kCodecs[] = {{"jpeg", "jpg", imaging::kFormatJpeg, 2}, {"tiff", "tif", imaging::kFormatTif, 0}};
    std::printf("\n%-22s %-10s %7s %10s %9s\n", "codec case", "image", "file MB", "median ms", "MP/s");
    const double megapixels = double(image.width) * image.height / 1e6;
    for (const Codec& codec : kCodecs) {
        std::string path = std::string(folder) + "sorvanta_bench." + codec.extension;
        std::vector<double> save, load;
        for (int run = 0; run < kRuns; ++run) {
            const double start = bench::NowMs();
            int result = L_SaveBitmap(path.c_str(), &bitmap, codec.format, 0, codec.quality, nullptr);
            save.push_back(bench::NowMs() - start);
            if (result != imaging::kSuccess) {
                std::printf("%s save failed: %d\n", codec.name, result);
                return;
            }
        }
        for (int run = 0; run < kRuns; ++run) {
            imaging::BitmapHandle loaded = {};
            const double start = bench::NowMs();
            int result = L_LoadBitmap(path.c_str(), &loaded, 0, imaging::kColorOrderBgr, nullptr, nullptr);
            load.push_back(bench::NowMs() - start);
            if (result != imaging::kSuccess) {
                std::printf("%s load failed: %d\n", codec.name, result);
                return;
            }
            (void)L_FreeBitmap(&loaded);
        }
        WIN32_FILE_ATTRIBUTE_DATA attributes = {};
        double fileMb = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)
                            ? (double(attributes.nFileSizeHigh) * 4294967296.0 + attributes.nFileSizeLow) / 1e6
                            : 0.0;
        for (auto& [what, times] : {std::pair<const char*, std::vector<double>&>{"save", save}, {"load", load}}) {
            double ms = Median(times);
            std::printf("%-22s %-10s %7.1f %10.1f %9.1f\n", (std::string(codec.name) + " " + what).c_str(),
                        SizeText(image.width, image.height).c_str(), fileMb, ms, megapixels / (ms / 1000));
        }
        DeleteFileA(path.c_str());
    }
}

// The cost of touching a fresh target once (allocation and page faults, no computation):
// the floor under every "fresh" figure.
double FirstTouchMs(int width, int height)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const double start = bench::NowMs();
        Image fresh(width, height);
        std::memset(fresh.bytes.get(), 1, fresh.Size());
        times.push_back(bench::NowMs() - start);
    }
    return Median(times);
}

// How the warm resize and sharpen scale with threads: wall time, the CPU time of all
// threads, and both against one thread. Runs alternate thread counts round by round, so
// a change in the machine's load falls on all of them alike.
void ReportScaling(const Image& large, const Image& enlarged, int allThreads)
{
    struct Case { const char* name; const Image& source; int width, height; Kernel kernel; };
    const Case kCases[] = {
        {"bicubic 2x", large, 8000, 6000, ResizeWith(imaging::ResampleMethod::Bicubic)},
        {"sharpen 750", enlarged, 8000, 6000, SharpenBy(750)},
    };
    std::vector<int> threadCounts;
    for (int threads = 1; threads < allThreads; threads *= 2)
        threadCounts.push_back(threads);
    threadCounts.push_back(allThreads);
    constexpr int kRounds = 9;

    std::printf("scaling (warm; wall: median of %d rounds; cpu: all threads' user + kernel time, mean of the\n"
                "rounds, as the process clock ticks in 10 ms steps):\n", kRounds);
    std::printf("%-14s %7s %9s %9s %8s %9s\n", "case", "threads", "wall ms", "cpu ms", "speed-up", "cpu ratio");
    for (const Case& c : kCases) {
        Image target(c.width, c.height);
        std::memset(target.bytes.get(), 0, target.Size());
        std::vector<std::vector<double>> wall(threadCounts.size()), cpu(threadCounts.size());
        for (int round = -1; round < kRounds; ++round) {
            for (std::size_t i = 0; i < threadCounts.size(); ++i) {
                double cpuBefore = ProcessCpuMs();
                const double start = bench::NowMs();
                (void)c.kernel(c.source.Buffer(), target.Buffer(), threadCounts[i]);
                double ms = bench::NowMs() - start;
                if (round >= 0) {
                    wall[i].push_back(ms);
                    cpu[i].push_back(ProcessCpuMs() - cpuBefore);
                }
            }
        }
        auto mean = [](const std::vector<double>& values) {
            double sum = 0;
            for (double v : values)
                sum += v;
            return sum / double(values.size());
        };
        const double oneWall = Median(wall[0]), oneCpu = mean(cpu[0]);
        for (std::size_t i = 0; i < threadCounts.size(); ++i) {
            std::printf("%-14s %7d %9.1f %9.1f %7.2fx %8.2fx\n", c.name, threadCounts[i], Median(wall[i]),
                        mean(cpu[i]), oneWall / Median(wall[i]), mean(cpu[i]) / oneCpu);
        }
    }
    std::printf("first touch of a fresh 8000x6000 target (allocate and fill, no computation): %.1f ms\n\n",
                FirstTouchMs(8000, 6000));
}

} // namespace

// No argument: the whole bench. "scaling": only the thread scaling of resize and sharpen.
int main(int argc, char** argv)
{
    const int allThreads = int(std::max(1u, std::thread::hardware_concurrency()));
    std::printf("imaging bench: %d cores, kernel path %s, median of %d runs\n\n", allThreads,
                imaging::KernelPathName(imaging::ActiveKernelPath()), kRuns);

    const Image large = MakeTestImage(4000, 3000, 20240601u);
    const Image medium = MakeTestImage(3000, 2000, 20240602u);
    if (argc <= 1)
        ReportResizeMemory(large);
    Image enlarged(8000, 6000);
    (void)imaging::Resample(large.Buffer(), enlarged.Buffer(), imaging::ResampleMethod::Bicubic, nullptr, 0);
    if (argc > 1 && std::strcmp(argv[1], "scaling") == 0) {
        ReportScaling(large, enlarged, allThreads);
        return 0;
    }

    struct Case {
        const char* name;
        const Image& source;
        int targetWidth, targetHeight;
        Kernel kernel;
    };
    const Case kCases[] = {
        {"nearest 2x", large, 8000, 6000, ResizeWith(imaging::ResampleMethod::Nearest)},
        {"bilinear 2x", large, 8000, 6000, ResizeWith(imaging::ResampleMethod::Bilinear)},
        {"bicubic 2x", large, 8000, 6000, ResizeWith(imaging::ResampleMethod::Bicubic)},
        {"bicubic 200%", medium, 6000, 4000, ResizeWith(imaging::ResampleMethod::Bicubic)},
        {"bicubic 50%", medium, 1500, 1000, ResizeWith(imaging::ResampleMethod::Bicubic)},
        {"sharpen 750", enlarged, 8000, 6000, SharpenBy(750)},
        {"sharpen -1000", enlarged, 8000, 6000, SharpenBy(-1000)},
    };
    ReportScaling(large, enlarged, allThreads);
    std::printf("%-22s %-10s %-10s %7s %10s %9s %10s %9s\n", "case", "source", "target", "threads", "warm ms",
                "warm MP/s", "fresh ms", "fresh MP/s");
    for (const Case& c : kCases)
        for (int threads : {1, allThreads})
            PrintRow(c.name, c.source, c.targetWidth, c.targetHeight, threads,
                     TimeCase(c.source, c.targetWidth, c.targetHeight, threads, c.kernel));

    std::printf("\nbicubic 2x by kernel path (warm):\n");
    const imaging::KernelPath kPaths[] = {imaging::KernelPath::Portable, imaging::KernelPath::Sse2,
                                          imaging::KernelPath::Ssse3, imaging::KernelPath::Avx2};
    for (imaging::KernelPath path : kPaths) {
        if (!imaging::ForceKernelPath(path))
            continue;
        for (int threads : {1, allThreads}) {
            Timing t = TimeCase(large, 8000, 6000, threads, ResizeWith(imaging::ResampleMethod::Bicubic));
            std::printf("  %-9s threads %2d: %8.1f ms\n", imaging::KernelPathName(path), threads, t.warmMs);
        }
    }
    imaging::ResetKernelPath();

    ReportCodecs(enlarged);
    return 0;
}
