// A TIFF opened by libtiff over bytes in memory, with libtiff's errors and warnings caught
// for this one file: nothing is printed, and any error marks the file as failed.
#pragma once

#include "imaging/Codecs.h"

#include <tiffio.h>

namespace imaging {

class TiffStream {
public:
    // Reads `file`, which must outlive this object.
    explicit TiffStream(const FileBytes& file);
    // Writes into `*output`, which is replaced.
    explicit TiffStream(FileBytes* output);
    ~TiffStream();
    TiffStream(const TiffStream&) = delete;
    TiffStream& operator=(const TiffStream&) = delete;

    // Null when the header or the first directory could not be read (see HasFailed).
    TIFF* Get() const { return m_tiff; }
    // Writes what is pending and closes; false when anything failed.
    [[nodiscard]] bool Close();
    bool HasFailed() const { return m_hasFailed; }
    bool IsOutOfMemory() const { return m_isOutOfMemory; }

private:
    void Open(const char* mode);
    static int OnError(TIFF*, void* stream, const char* module, const char* format, va_list arguments);
    static int OnWarning(TIFF*, void* stream, const char* module, const char* format, va_list arguments);
    static tmsize_t Read(thandle_t stream, void* buffer, tmsize_t size);
    static tmsize_t Write(thandle_t stream, void* buffer, tmsize_t size);
    static toff_t Seek(thandle_t stream, toff_t offset, int whence);
    static int CloseStream(thandle_t stream);
    static toff_t Size(thandle_t stream);
    static int Map(thandle_t stream, void** base, toff_t* size);
    static void Unmap(thandle_t stream, void* base, toff_t size);

    const FileBytes* m_input = nullptr;
    FileBytes* m_output = nullptr;
    std::uint64_t m_position = 0;
    TIFF* m_tiff = nullptr;
    bool m_hasFailed = false;
    bool m_isOutOfMemory = false;
};

} // namespace imaging
