// libtiff's client calls over a byte vector: reads see the file's bytes (also mapped,
// so strips are decoded from them without a copy), writes grow the vector.
#include "imaging/TiffStream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace imaging {
namespace {

// No single allocation of libtiff's may pass what one bitmap may hold.
constexpr tmsize_t kMaxSingleAllocation = static_cast<tmsize_t>(kMaxImageBytes);

TiffStream& StreamOf(thandle_t handle) { return *static_cast<TiffStream*>(handle); }

} // namespace

TiffStream::TiffStream(const FileBytes& file) : m_input(&file) { Open("r"); }

TiffStream::TiffStream(FileBytes* output) : m_output(output)
{
    output->clear();
    Open("w");
}

TiffStream::~TiffStream()
{
    if (m_tiff != nullptr)
        TIFFClose(m_tiff);
}

void TiffStream::Open(const char* mode)
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        m_hasFailed = m_isOutOfMemory = true;
        return;
    }
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxSingleAllocation);
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, this);
    m_tiff = TIFFClientOpenExt("image", mode, this, Read, Write, Seek, CloseStream, Size, Map, Unmap, options);
    TIFFOpenOptionsFree(options);
    if (m_tiff == nullptr)
        m_hasFailed = true;
}

bool TiffStream::Close()
{
    if (m_tiff == nullptr)
        return false;
    const bool isFlushed = m_output == nullptr || TIFFFlush(m_tiff) == 1;
    TIFFClose(m_tiff);
    m_tiff = nullptr;
    return isFlushed && !m_hasFailed;
}

int TiffStream::OnError(TIFF*, void* stream, const char*, const char*, va_list)
{
    static_cast<TiffStream*>(stream)->m_hasFailed = true;
    return 1;
}

// Warnings (unknown tags, odd but readable values) cost no pixel.
int TiffStream::OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

tmsize_t TiffStream::Read(thandle_t handle, void* buffer, tmsize_t size)
{
    TiffStream& stream = StreamOf(handle);
    if (stream.m_input == nullptr || size < 0)
        return -1;
    const std::uint64_t total = stream.m_input->size();
    const std::uint64_t start = std::min(stream.m_position, total);
    const std::uint64_t count = std::min<std::uint64_t>(total - start, static_cast<std::uint64_t>(size));
    std::memcpy(buffer, stream.m_input->data() + start, count);
    stream.m_position = start + count;
    return static_cast<tmsize_t>(count);
}

// libtiff is C: nothing may be thrown through it.
tmsize_t TiffStream::Write(thandle_t handle, void* buffer, tmsize_t size)
{
    TiffStream& stream = StreamOf(handle);
    if (stream.m_output == nullptr || size < 0)
        return -1;
    FileBytes& bytes = *stream.m_output;
    const std::uint64_t end = stream.m_position + static_cast<std::uint64_t>(size);
    if (end > static_cast<std::uint64_t>(kMaxFileBytes))
        return -1;
    try {
        if (bytes.size() < end)
            bytes.resize(static_cast<std::size_t>(end));
    } catch (const std::bad_alloc&) {
        stream.m_isOutOfMemory = true;
        return -1;
    }
    std::memcpy(bytes.data() + stream.m_position, buffer, static_cast<std::size_t>(size));
    stream.m_position = end;
    return size;
}

toff_t TiffStream::Seek(thandle_t handle, toff_t offset, int whence)
{
    TiffStream& stream = StreamOf(handle);
    const std::uint64_t size = Size(handle);
    std::uint64_t base = 0;
    if (whence == SEEK_CUR)
        base = stream.m_position;
    else if (whence == SEEK_END)
        base = size;
    stream.m_position = base + offset;
    return stream.m_position;
}

int TiffStream::CloseStream(thandle_t) { return 0; }

toff_t TiffStream::Size(thandle_t handle)
{
    const TiffStream& stream = StreamOf(handle);
    return stream.m_input != nullptr ? stream.m_input->size() : stream.m_output->size();
}

int TiffStream::Map(thandle_t handle, void** base, toff_t* size)
{
    const TiffStream& stream = StreamOf(handle);
    if (stream.m_input == nullptr)
        return 0;
    // libtiff only reads through a mapping opened for reading; the cast satisfies its signature.
    *base = const_cast<std::uint8_t*>(stream.m_input->data());
    *size = stream.m_input->size();
    return 1;
}

void TiffStream::Unmap(thandle_t, void*, toff_t) {}

} // namespace imaging
