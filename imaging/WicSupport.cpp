// What the WIC codecs share: COM, the factory, container formats and failure results.
#include "imaging/WicSupport.h"

#include "imaging/ImagingApi.h"

namespace imaging {

ScopedComInit::ScopedComInit()
{
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(hr)) {
        m_isReady = true;
        m_mustUninitialize = true;
    } else if (hr == RPC_E_CHANGED_MODE) {
        // The thread lives in the multithreaded apartment; WIC works there as well.
        m_isReady = true;
    }
}

ScopedComInit::~ScopedComInit()
{
    if (m_mustUninitialize)
        CoUninitialize();
}

int CreateWicFactory(ComRef<IWICImagingFactory>& factory)
{
    const HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_PPV_ARGS(factory.ReleaseAndGetAddressOf()));
    return SUCCEEDED(hr) ? kSuccess : kErrorCodec;
}

const GUID* WicContainerFor(int format)
{
    switch (format) {
    case kFormatJpeg: return &GUID_ContainerFormatJpeg;
    case kFormatTif: return &GUID_ContainerFormatTiff;
    case kFormatGif: return &GUID_ContainerFormatGif;
    case kFormatBmp: return &GUID_ContainerFormatBmp;
    case kFormatPng: return &GUID_ContainerFormatPng;
    default: return nullptr;
    }
}

int DecodeFailure(HRESULT hr)
{
    switch (hr) {
    case E_OUTOFMEMORY:
        return kErrorNoMemory;
    case WINCODEC_ERR_UNKNOWNIMAGEFORMAT:
    case WINCODEC_ERR_COMPONENTNOTFOUND:
    case WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT:
    case WINCODEC_ERR_UNSUPPORTEDVERSION:
        return kErrorFileFormat;
    default:
        return kErrorFileCorrupt;
    }
}

} // namespace imaging
