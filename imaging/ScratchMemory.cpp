// Scratch blocks kept between operations, by power-of-two size class.
#include "imaging/ScratchMemory.h"

#include <malloc.h>

#include <mutex>
#include <vector>

namespace imaging {
namespace {

constexpr int kSmallestClass = 8;  // 256 bytes
constexpr int kClassCount = 40;
constexpr std::size_t kAlignment = 64;
// What stays kept: the rings and weight tables of a large resize on many threads,
// with room to spare.
constexpr std::size_t kKeptBytes = 32u << 20;

int ClassOf(std::size_t bytes)
{
    int sizeClass = kSmallestClass;
    while (sizeClass < kClassCount && (std::size_t{1} << sizeClass) < bytes)
        ++sizeClass;
    return sizeClass;
}

class ScratchCache {
public:
    static ScratchCache& Instance()
    {
        // Never destroyed: workers may release blocks while the process ends.
        static ScratchCache* cache = new ScratchCache;
        return *cache;
    }

    void* Take(int sizeClass)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<void*>& blocks = m_free[sizeClass];
        if (blocks.empty())
            return nullptr;
        void* block = blocks.back();
        blocks.pop_back();
        m_keptBytes -= std::size_t{1} << sizeClass;
        return block;
    }

    // False when the cache is full; the caller frees the block then.
    bool Keep(void* block, int sizeClass) noexcept
    {
        const std::size_t bytes = std::size_t{1} << sizeClass;
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_keptBytes + bytes > kKeptBytes)
            return false;
        try {
            m_free[sizeClass].push_back(block);
        } catch (const std::bad_alloc&) {
            return false;
        }
        m_keptBytes += bytes;
        return true;
    }

private:
    std::mutex m_mutex;
    std::vector<void*> m_free[kClassCount];
    std::size_t m_keptBytes = 0;
};

} // namespace

void* AcquireScratch(std::size_t bytes)
{
    const int sizeClass = ClassOf(bytes);
    if (sizeClass >= kClassCount)
        throw std::bad_alloc();
    if (void* block = ScratchCache::Instance().Take(sizeClass))
        return block;
    void* block = _aligned_malloc(std::size_t{1} << sizeClass, kAlignment);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void ReleaseScratch(void* block, std::size_t bytes) noexcept
{
    if (block == nullptr)
        return;
    if (!ScratchCache::Instance().Keep(block, ClassOf(bytes)))
        _aligned_free(block);
}

} // namespace imaging
