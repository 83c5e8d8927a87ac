// Working memory of the pixel kernels (weight tables, row rings) that keeps its pages
// from one operation to the next. Memory fresh from the system costs a page fault per
// 4 KB on first touch, and in a virtual machine that is slow: the bench measures about
// 10 microseconds a page, so the few hundred kilobytes a resize works in would cost
// milliseconds on every call if they went back to the system each time, as the
// platform's heap does with blocks this large.
#pragma once

#include <cstddef>
#include <new>
#include <vector>

namespace imaging {

// Blocks of at least `bytes`, 64-byte aligned (a cache line: workers' blocks never share
// one). Released blocks are kept for the next request up to a fixed total; beyond it they
// go back to the system. Safe from any thread. AcquireScratch throws std::bad_alloc.
[[nodiscard]] void* AcquireScratch(std::size_t bytes);
void ReleaseScratch(void* block, std::size_t bytes) noexcept;

// A standard allocator over the scratch blocks, for the kernels' vectors.
template <typename T>
struct ScratchAllocator {
    using value_type = T;
    ScratchAllocator() = default;
    template <typename U>
    ScratchAllocator(const ScratchAllocator<U>&) noexcept
    {
    }
    T* allocate(std::size_t count)
    {
        if (count > std::size_t(-1) / sizeof(T))
            throw std::bad_alloc();
        return static_cast<T*>(AcquireScratch(count * sizeof(T)));
    }
    void deallocate(T* block, std::size_t count) noexcept { ReleaseScratch(block, count * sizeof(T)); }
    template <typename U>
    bool operator==(const ScratchAllocator<U>&) const noexcept
    {
        return true;
    }
    template <typename U>
    bool operator!=(const ScratchAllocator<U>&) const noexcept
    {
        return false;
    }
};

template <typename T>
using ScratchVector = std::vector<T, ScratchAllocator<T>>;

} // namespace imaging
