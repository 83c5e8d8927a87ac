// A thin object over a platform file handle: open or create with the platform's
// own access, share, creation and flag words, then read, write, seek, size, flush,
// lock regions and truncate. The destructor closes the handle. Nothing throws and
// nothing is shown to the user: failures come back as the platform's results.
#pragma once

#include "iString.h"

#include <windows.h>

#include <memory>

class iFileBase {
public:
    virtual ~iFileBase() = default;
};

class iFile : public iFileBase {
public:
    iFile() = default;
    // Opens at once; the caller tests IsOpen.
    iFile(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags);
    ~iFile() override;
    iFile(const iFile&) = delete;
    iFile& operator=(const iFile&) = delete;

    // Goes through Create, so that a derived class's Create is used.
    virtual BOOL Open(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags);
    // TRUE when the file opened. A file still open from before is closed first.
    virtual BOOL Create(const char* path, DWORD access, DWORD share, DWORD creation, DWORD flags);
    // The platform's result when the file was open, else 0; closed afterwards either way.
    virtual BOOL Close();
    virtual BOOL IsOpen() const;
    // On a closed file: *done 0, result 0, buffer untouched.
    virtual BOOL Read(void* buffer, DWORD n, DWORD* done);
    virtual BOOL Write(const void* buffer, DWORD n, DWORD* done);
    // The new position's low 32 bits; 0xFFFFFFFF on a closed file.
    virtual DWORD Seek(LONG distance, DWORD method, LONG* high);
    // The size's low 32 bits (high ones into high); INVALID_FILE_SIZE on a closed file.
    virtual DWORD GetSize(DWORD* high);
    virtual BOOL Flush();
    virtual BOOL Lock(DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh);
    virtual BOOL Lock(DWORD offset, DWORD length);
    virtual BOOL Unlock(DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh);
    virtual BOOL Unlock(DWORD offset, DWORD length);
    // lockFlags: LOCKFILE_EXCLUSIVE_LOCK, LOCKFILE_FAIL_IMMEDIATELY.
    virtual BOOL LockEx(DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh, DWORD lockFlags);
    virtual BOOL LockEx(DWORD offset, DWORD length, DWORD lockFlags);
    virtual BOOL UnlockEx(DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh);
    virtual BOOL UnlockEx(DWORD offset, DWORD length);
    // Truncates or extends the file at the current file pointer.
    virtual BOOL SetEndOfFile();

protected:
    // FALSE with ERROR_INVALID_HANDLE when the file is closed.
    bool CheckOpen() const;

    iString m_path;
    DWORD m_access = 0;
    DWORD m_share = FILE_SHARE_WRITE;
    DWORD m_creation = OPEN_EXISTING;
    DWORD m_flags = FILE_ATTRIBUTE_NORMAL;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    // Present once the file was opened with FILE_FLAG_OVERLAPPED; used by every read and write.
    std::unique_ptr<OVERLAPPED> m_overlapped;
};
