// What the WIC codecs share: COM for the calling thread, the imaging factory, the
// container format of each format code, the size of a band of rows and the translation
// of WIC's failures into the library's results.
#pragma once

#include "ComRef.h"

#include <windows.h>
#include <wincodec.h>

#include <cstddef>

namespace imaging {

// Rows go to and from WIC in bands of about this many bytes, so that progress is reported
// and a cancel is seen between bands.
constexpr std::size_t kBandBytes = 4u << 20;

// COM on the calling thread for the length of one call: joins whatever apartment the
// thread already has, and uninitialises only what it initialised.
class ScopedComInit {
public:
    ScopedComInit();
    ~ScopedComInit();
    ScopedComInit(const ScopedComInit&) = delete;
    ScopedComInit& operator=(const ScopedComInit&) = delete;
    bool IsReady() const { return m_isReady; }

private:
    bool m_isReady = false;
    bool m_mustUninitialize = false;
};

// The imaging factory, or kErrorCodec when COM or WIC is not available.
[[nodiscard]] int CreateWicFactory(ComRef<IWICImagingFactory>& factory);

// WIC's container format for a format code; null for a format WIC does not handle here.
const GUID* WicContainerFor(int format);

// A failure while reading a file's pixels: a damaged file unless WIC says otherwise.
[[nodiscard]] int DecodeFailure(HRESULT hr);

} // namespace imaging
