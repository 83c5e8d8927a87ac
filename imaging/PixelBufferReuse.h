// Reuse of the library's large pixel buffers across a chain of operations.
#pragma once

namespace imaging {

// While one lives on a thread, a pixel buffer the library frees there is kept (the largest
// one, one at a time) for the next bitmap of exactly its size made there, instead of going
// back to the system; the last scope to end frees it. A chain of operations on a large
// image (a resize's passes of sharpening, then a copy of the result) then writes into
// pages already touched: fresh ones cost about as much as a sharpening pass itself (a
// pass over 16000 x 12000 took 1.0 to 2.0 s into new memory; see the application bench).
class ScopedPixelBufferReuse {
public:
    ScopedPixelBufferReuse();
    ~ScopedPixelBufferReuse();
    ScopedPixelBufferReuse(const ScopedPixelBufferReuse&) = delete;
    ScopedPixelBufferReuse& operator=(const ScopedPixelBufferReuse&) = delete;
};

} // namespace imaging
