// The file handle object: opening, reading and writing, positions and locks.
#include "iFile.h"

iFile::iFile(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags)
{
    Open(path, access, share, creation, flags);
}

iFile::~iFile()
{
    Close();
}

BOOL iFile::Open(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags)
{
    return Create(path, access, share, creation, flags);
}

BOOL iFile::Create(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags)
{
    // Reopening without a Close would otherwise lose the old handle.
    Close();
    m_path = path;
    m_access = access;
    m_share = share;
    m_creation = creation;
    m_flags = flags;
    if ((flags & FILE_FLAG_OVERLAPPED) && !m_overlapped)
        m_overlapped.reset(new OVERLAPPED());
    m_handle = CreateFileA(path, access, share, nullptr, creation, flags, nullptr);
    return m_handle != INVALID_HANDLE_VALUE;
}

BOOL iFile::Close()
{
    BOOL result = 0;
    if (IsOpen())
        result = CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    return result;
}

BOOL iFile::IsOpen() const
{
    return m_handle != INVALID_HANDLE_VALUE;
}

bool iFile::CheckOpen() const
{
    if (IsOpen())
        return true;
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
}

BOOL iFile::Read(void* buffer, DWORD n, DWORD* done)
{
    DWORD count = 0;
    BOOL result = CheckOpen() ? ReadFile(m_handle, buffer, n, &count, m_overlapped.get()) : 0;
    if (done)
        *done = count;
    return result;
}

BOOL iFile::Write(const void* buffer, DWORD n, DWORD* done)
{
    DWORD count = 0;
    BOOL result = CheckOpen() ? WriteFile(m_handle, buffer, n, &count, m_overlapped.get()) : 0;
    if (done)
        *done = count;
    return result;
}

DWORD iFile::Seek(LONG distance, DWORD method, LONG* high)
{
    if (!CheckOpen())
        return INVALID_SET_FILE_POINTER;
    return SetFilePointer(m_handle, distance, high, method);
}

DWORD iFile::GetSize(DWORD* high)
{
    if (!CheckOpen())
        return INVALID_FILE_SIZE;
    return GetFileSize(m_handle, high);
}

BOOL iFile::Flush()
{
    return CheckOpen() ? FlushFileBuffers(m_handle) : FALSE;
}

BOOL iFile::Lock(DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh)
{
    return CheckOpen() ? LockFile(m_handle, offsetLow, offsetHigh, lengthLow, lengthHigh) : FALSE;
}

BOOL iFile::Lock(DWORD offset, DWORD length)
{
    return Lock(offset, 0, length, 0);
}

BOOL iFile::Unlock(DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh)
{
    return CheckOpen() ? UnlockFile(m_handle, offsetLow, offsetHigh, lengthLow, lengthHigh) : FALSE;
}

BOOL iFile::Unlock(DWORD offset, DWORD length)
{
    return Unlock(offset, 0, length, 0);
}

BOOL iFile::LockEx(DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh, DWORD lockFlags)
{
    if (!CheckOpen())
        return FALSE;
    OVERLAPPED at = {};
    at.Offset = offsetLow;
    at.OffsetHigh = offsetHigh;
    return LockFileEx(m_handle, lockFlags, 0, lengthLow, lengthHigh, &at);
}

BOOL iFile::LockEx(DWORD offset, DWORD length, DWORD lockFlags)
{
    return LockEx(offset, 0, length, 0, lockFlags);
}

BOOL iFile::UnlockEx(DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh)
{
    if (!CheckOpen())
        return FALSE;
    OVERLAPPED at = {};
    at.Offset = offsetLow;
    at.OffsetHigh = offsetHigh;
    return UnlockFileEx(m_handle, 0, lengthLow, lengthHigh, &at);
}

BOOL iFile::UnlockEx(DWORD offset, DWORD length)
{
    return UnlockEx(offset, 0, length, 0);
}

BOOL iFile::SetEndOfFile()
{
    return CheckOpen() ? ::SetEndOfFile(m_handle) : FALSE;
}
