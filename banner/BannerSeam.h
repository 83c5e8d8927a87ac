// What the banner takes from its surroundings, as one replaceable table, so that tests
// and the bench run it on scratch folders, a fast clock and scripted page draws: the
// folder of the cache, the history page and the offline image; the folder of the
// temporary page; the time; the worker's wait between two ticks; its random numbers.
// A worker copies the table when it is made, so replacing it never races a worker.
#pragma once

#include "lib/src/iString.h"

#include <windows.h>

#include <cstdint>

struct BannerSeam {
    // The program's folder, without a trailing "\".
    iString (*moduleDirectory)();
    // The temporary folder, with its trailing "\".
    iString (*tempDirectory)();
    // Seconds since 1970.
    int64_t (*now)();
    // How long the worker waits between two ticks; each tick counts as one second.
    DWORD tickMs;
    // Seeds the calling thread's draws; the worker calls it before its first draw.
    void (*seedRandom)(unsigned seed);
    // A draw from 0 up.
    int (*random)();
    // Bounds of a fetch: the wait for each reply line, and the whole of a fetch the
    // worker makes. (A fetch on the strip's thread has the shorter bound of a thread
    // that runs windows.)
    int fetchLineWaitMs;
    int workerFetchMs;
};

// The program's own: the module's folder, the system's temporary folder, the system
// clock, one second, the C runtime's generator, and the HTTP client's own bounds.
BannerSeam DefaultBannerSeam();
BannerSeam GetBannerSeam();
// Replaces the table for workers made from now on; answers the one it replaces.
BannerSeam SetBannerSeam(const BannerSeam& seam);
