// What an image file holds, asked of the imaging library without loading its pixels, kept
// with the file's path. The Workspace shows its details and saves back in its format.
#pragma once

#include "imaging/ImagingApi.h"
#include "lib/src/iString.h"

class iLBitmap;

// Owns the library's file-information record and the path of the last read.
class iLFileInfo {
public:
    // Empty path, not valid; the record is left as it is until a read.
    iLFileInfo();
    // Constructs and reads at once.
    iLFileInfo(const char* path, unsigned flags, const imaging::LoadOptions* options);
    virtual ~iLFileInfo();

    // Stores the path, then asks the library; valid exactly when it answers 1. The path
    // is replaced even when the read fails.
    BOOL Read(const char* path, unsigned flags, const imaging::LoadOptions* options);
    // The file's headers were read but its pixels could not be: from now on it counts as
    // a file whose information cannot be read, for the library's reason `result`.
    void SetUnreadable(int result);
    const iString& GetPath() const { return m_path; }
    // The part of the path after its last backslash (all of it when there is none).
    iString GetFileName() const;
    BOOL IsValid() const { return m_isValid; }
    // The library's answer to the last read (imaging::kSuccess or its reason for failing);
    // 0 before any read.
    int GetResult() const { return m_result; }
    // What the library wrote last; meaningful while IsValid.
    const imaging::FileInfo& GetInfo() const { return m_info; }

private:
    // iLBitmap::Load hands the record to the library, which fills it during the load.
    friend class iLBitmap;

    imaging::FileInfo m_info;
    iString m_path;
    BOOL m_isValid;
    int m_result = 0;
};
