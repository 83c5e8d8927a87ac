// Run-time choice of the kernels' instruction-set path, with the override that lets
// tests and benches force each one.
#include "imaging/KernelPath.h"

#include <atomic>

namespace imaging {
namespace {

constexpr int kAutomatic = -1;
std::atomic<int> g_forcedPath{kAutomatic};

KernelPath DetectBestPath()
{
    // __builtin_cpu_supports also checks that the OS saves the AVX registers.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return KernelPath::Avx2;
    if (__builtin_cpu_supports("ssse3"))
        return KernelPath::Ssse3;
    return KernelPath::Sse2;
}

KernelPath BestSupportedPath()
{
    static const KernelPath best = DetectBestPath();
    return best;
}

} // namespace

bool IsKernelPathSupported(KernelPath path)
{
    return static_cast<int>(path) <= static_cast<int>(BestSupportedPath());
}

KernelPath ActiveKernelPath()
{
    int forced = g_forcedPath.load(std::memory_order_relaxed);
    if (forced != kAutomatic)
        return static_cast<KernelPath>(forced);
    return BestSupportedPath();
}

bool ForceKernelPath(KernelPath path)
{
    if (!IsKernelPathSupported(path))
        return false;
    g_forcedPath.store(static_cast<int>(path), std::memory_order_relaxed);
    return true;
}

void ResetKernelPath()
{
    g_forcedPath.store(kAutomatic, std::memory_order_relaxed);
}

const char* KernelPathName(KernelPath path)
{
    switch (path) {
    case KernelPath::Portable: return "portable";
    case KernelPath::Sse2: return "sse2";
    case KernelPath::Ssse3: return "ssse3";
    case KernelPath::Avx2: return "avx2";
    }
    return "unknown";
}

} // namespace imaging
