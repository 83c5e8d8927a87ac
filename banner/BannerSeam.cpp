// The banner's table of surroundings, and the program's own entries.
#include "banner/BannerSeam.h"

#include "lib/src/FilePaths.h"
#include "lib/src/ReplaceableValue.h"

#include "net/HttpClient.h"

#include <cstdlib>
#include <ctime>

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

using SeamInForce = ReplaceableValue<BannerSeam, DefaultBannerSeam>;

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
    return SeamInForce::Get();
}

BannerSeam SetBannerSeam(const BannerSeam& seam)
{
    return SeamInForce::Replace(seam);
}
