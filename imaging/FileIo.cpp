// Whole-file reads and replace-on-success writes for the codecs.
#include "imaging/FileIo.h"

#include "imaging/ImagingApi.h"

#include <windows.h>

#include <string>

namespace imaging {
namespace {

class AutoCloseFile {
public:
    explicit AutoCloseFile(HANDLE handle) : m_handle(handle) {}
    ~AutoCloseFile() { reset(); }
    AutoCloseFile(const AutoCloseFile&) = delete;
    AutoCloseFile& operator=(const AutoCloseFile&) = delete;
    explicit operator bool() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    void reset()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

// The folder part of a path, for a temporary file beside it ("." when there is none).
std::string FolderOf(const char* path)
{
    const std::string text(path);
    const std::size_t slash = text.find_last_of("\\/");
    if (slash == std::string::npos)
        return ".";
    if (slash == 0 || (slash == 2 && text[1] == ':'))
        return text.substr(0, slash + 1);
    return text.substr(0, slash);
}

[[nodiscard]] bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk)
            return false;
        data += chunk;
        size -= chunk;
    }
    return true;
}

} // namespace

int ReadWholeFile(const char* path, std::vector<std::uint8_t>& bytes)
{
    AutoCloseFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return kErrorFileOpen;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        return kErrorFileRead;
    if (size.QuadPart > kMaxFileBytes)
        return kErrorImageTooLarge;

    bytes.clear();
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return kErrorNoMemory;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > (1u << 30) ? (1u << 30) : static_cast<DWORD>(left);
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr))
            return kErrorFileRead;
        if (read == 0)
            break;
        done += read;
    }
    // A file that shrank while it was read is read as it now is.
    bytes.resize(done);
    return kSuccess;
}

int WriteFileReplacing(const char* path, const std::uint8_t* data, std::size_t size)
{
    // A read-only file is not ours to replace; Windows refuses the move anyway, Wine does not.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return kErrorFileWrite;

    char temporary[MAX_PATH];
    if (GetTempFileNameA(FolderOf(path).c_str(), "img", 0, temporary) == 0)
        return kErrorFileWrite;

    AutoCloseFile file(CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
    bool isWritten = static_cast<bool>(file) && WriteAll(file.get(), data, size) && FlushFileBuffers(file.get());
    file.reset();
    if (isWritten)
        isWritten = MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!isWritten) {
        DeleteFileA(temporary);
        return kErrorFileWrite;
    }
    return kSuccess;
}

} // namespace imaging
