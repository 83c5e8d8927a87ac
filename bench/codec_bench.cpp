// Times the imaging library's codecs on the files bench/side_by_side.sh makes (a 4000 x
// 3000 photograph-like JPEG from cjpeg -quality 90, and the same picture as LZW TIFF and
// GIF), for the side-by-side table with the native tools: JPEG load, the 8000 x 6000
// result saved at factor 2, the whole job (load, bicubic 2x, save into a new file), TIFF
// and GIF load and save. Also the size and PSNR of a factor-2 and a factor-0 round trip.
// Usage: codec_bench <in.jpg> <in.tif> <in.gif> <work folder> [runs]
#include "bench/bench_timing.h"
#include "imaging/ImagingApi.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using bench::FirstRun;
using bench::MedianMs;

struct Bitmap {
    imaging::BitmapHandle handle{};
    ~Bitmap() { L_FreeBitmap(&handle); }
};

bool Load(const std::string& path, Bitmap& bitmap)
{
    L_FreeBitmap(&bitmap.handle);
    return L_LoadBitmap(path.c_str(), &bitmap.handle, 0, imaging::kColorOrderBgr, nullptr, nullptr) == imaging::kSuccess;
}

long long FileBytes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<long long>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
}

double Psnr(const imaging::BitmapHandle& a, const imaging::BitmapHandle& b)
{
    double squares = 0;
    const int rowBytes = a.width * a.bitsPerPixel / 8;
    for (int y = 0; y < a.height; ++y) {
        const std::uint8_t* p = a.pixels + static_cast<std::ptrdiff_t>(y) * a.bytesPerLine;
        const std::uint8_t* q = b.pixels + static_cast<std::ptrdiff_t>(y) * b.bytesPerLine;
        for (int x = 0; x < rowBytes; ++x)
            squares += (p[x] - q[x]) * (p[x] - q[x]);
    }
    const double mean = squares / (static_cast<double>(rowBytes) * a.height);
    return mean == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

void Row(const char* what, double ms) { std::printf("%-48s %8.0f ms\n", what, ms); }

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: codec_bench <in.jpg> <in.tif> <in.gif> <work folder> [runs]\n");
        return 2;
    }
    const std::string jpeg = argv[1], tiff = argv[2], gif = argv[3], work = argv[4];
    const int runs = argc > 5 ? std::atoi(argv[5]) : 5;
    const std::string out = work + "\\codec_bench_out";

    Bitmap source, big;
    if (!Load(jpeg, source) || !Load(jpeg, big)
        || L_SizeBitmap(&big.handle, source.handle.width * 2, source.handle.height * 2, imaging::kSizeBicubic)
               != imaging::kSuccess) {
        std::fprintf(stderr, "codec_bench: %s could not be loaded and enlarged\n", jpeg.c_str());
        return 1;
    }
    std::printf("median of %d runs (first left out), %d x %d source\n", runs, source.handle.width, source.handle.height);

    Bitmap loaded;
    Row("JPEG load 4000x3000", MedianMs(runs + 1, FirstRun::LeftOut, [&] { Load(jpeg, loaded); }));
    Row("resize bicubic 2x", MedianMs(runs + 1, FirstRun::LeftOut, [&] {
            L_SizeBitmap(&loaded.handle, source.handle.width * 2, source.handle.height * 2, imaging::kSizeBicubic);
        }, [&] { Load(jpeg, loaded); }));
    Row("JPEG save 8000x6000 factor 2", MedianMs(runs + 1, FirstRun::LeftOut, [&] {
            L_SaveBitmap((out + ".jpg").c_str(), &big.handle, imaging::kFormatJpeg, 0, 2, nullptr);
        }));
    Row("whole job: load, bicubic 2x, save factor 2 (new file)", MedianMs(runs + 1, FirstRun::LeftOut, [&] {
            Bitmap job;
            Load(jpeg, job);
            L_SizeBitmap(&job.handle, job.handle.width * 2, job.handle.height * 2, imaging::kSizeBicubic);
            L_SaveBitmap((out + "_job.jpg").c_str(), &job.handle, imaging::kFormatJpeg, 0, 2, nullptr);
        }, [&] { DeleteFileA((out + "_job.jpg").c_str()); }));
    Row("TIFF (LZW) load 4000x3000", MedianMs(runs + 1, FirstRun::LeftOut, [&] { Load(tiff, loaded); }));
    Row("TIFF (LZW) save 4000x3000", MedianMs(runs + 1, FirstRun::LeftOut, [&] {
            L_SaveBitmap((out + ".tif").c_str(), &source.handle, imaging::kFormatTif, 0, 0, nullptr);
        }));
    Row("GIF load 4000x3000", MedianMs(runs + 1, FirstRun::LeftOut, [&] { Load(gif, loaded); }));
    Row("GIF save 4000x3000 (quantised to 256 colours)", MedianMs(runs + 1, FirstRun::LeftOut, [&] {
            L_SaveBitmap((out + ".gif").c_str(), &source.handle, imaging::kFormatGif, 0, 0, nullptr);
        }));

    for (int factor : {2, 0}) {
        const std::string path = out + "_q" + std::to_string(factor) + ".jpg";
        Bitmap again;
        if (L_SaveBitmap(path.c_str(), &source.handle, imaging::kFormatJpeg, 0, factor, nullptr) != imaging::kSuccess
            || !Load(path, again))
            return 1;
        std::printf("round trip of the 4000x3000 photo at factor %d: %lld bytes, PSNR %.1f dB\n", factor,
                    FileBytes(path), Psnr(source.handle, again.handle));
    }
    return 0;
}
