// The banner's table of surroundings, and the program's own entries.
#include "banner/BannerSeam.h"

#include "lib/src/FilePaths.h"

#include "net/HttpClient.h"

#include <cstdlib>
#include <ctime>
#include <mutex>

namespace {

iString ProgramDirectory()
{
    return GetModuleDirectory();
}

int64_t SystemSeconds()
{
    return static_cast<int64_t>(time(nullptr));
}

// The C runtime keeps its generator's state per thread: each thread seeds its own.
void SeedRuntimeGenerator(unsigned seed)
{
    srand(seed);
}

int DrawFromRuntimeGenerator()
{
    return rand();
}

std::mutex g_seamMutex;

BannerSeam& CurrentSeam()
{
    static BannerSeam seam = DefaultBannerSeam();
    return seam;
}

} // namespace

BannerSeam DefaultBannerSeam()
{
    return {ProgramDirectory,
            GetTempPathText,
            SystemSeconds,
            1000,
            SeedRuntimeGenerator,
            DrawFromRuntimeGenerator,
            CPJ_HTTPClient::kDefaultLineWaitMs,
            CPJ_HTTPClient::kDefaultExchangeMs};
}

BannerSeam GetBannerSeam()
{
    std::lock_guard<std::mutex> lock(g_seamMutex);
    return CurrentSeam();
}

BannerSeam SetBannerSeam(const BannerSeam& seam)
{
    std::lock_guard<std::mutex> lock(g_seamMutex);
    const BannerSeam previous = CurrentSeam();
    CurrentSeam() = seam;
    return previous;
}
