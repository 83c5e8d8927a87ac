// The library's handle on one registry key: Software\<company>\<application>
// [\<subkey>] under a root key, opened (or created when missing) at construction,
// with DWORD, binary and string values. Value operations answer 0 for success and
// -1 for failure; the enumerations answer the registry's own result code.
#pragma once

#include "iString.h"

#include <windows.h>

class iRegistry {
public:
    // Process-wide defaults for keys made without parts of their own: the root and
    // the three path parts, with up to three extras appended to the application
    // part. Each part (the application part with its extras) holds at most 255
    // characters; longer ones are refused with FALSE and the defaults stay as they were.
    [[nodiscard]] static BOOL SetDefaults(HKEY root, const char* software, const char* company,
                                          const char* application, const char* extra1 = nullptr,
                                          const char* extra2 = nullptr, const char* extra3 = nullptr);

    iRegistry(HKEY root, const char* subkey, REGSAM access);
    iRegistry(const char* subkey, REGSAM access);
    iRegistry(HKEY root, const char* software, const char* company, const char* application, REGSAM access,
              const char* subkey);
    iRegistry(const char* software, const char* company, const char* application, REGSAM access,
              const char* subkey);
    // name below the parent's open key, with access (0: the parent's); created
    // only when access allows creating subkeys.
    iRegistry(const iRegistry& parent, const char* name, REGSAM access);
    virtual ~iRegistry();
    iRegistry(const iRegistry&) = delete;
    iRegistry& operator=(const iRegistry&) = delete;

    // The non-empty parts joined by "\" (empty for a child key).
    iString GetPath() const;
    // 0 while the key is open; the registry's error when it could not be opened or
    // created; -1 after Close.
    LONG GetStatus() const { return m_status; }
    // 1 when it closed an open key, 0 otherwise.
    int Close();

    [[nodiscard]] int QueryDWord(const char* name, DWORD* value);
    // size: the buffer's size on entry, the stored size after a successful read.
    [[nodiscard]] int QueryBinary(const char* name, void* data, DWORD* size);
    // On failure text is left unchanged.
    [[nodiscard]] int QueryString(const char* name, iString& text);
    int SetDWord(const char* name, DWORD value);
    int SetBinary(const char* name, const void* data, DWORD size);
    int SetString(const char* name, const iString& text);

    LONG EnumKey(DWORD index, iString& name, FILETIME* lastWrite);
    LONG EnumKey(DWORD index, iString& name, iString& className, FILETIME* lastWrite);
    LONG EnumValue(DWORD index, iString& name, DWORD* type, void* data, DWORD* size);

private:
    void Open();
    bool IsOpen() const { return m_status == 0; }

    HKEY m_root = nullptr;
    iString m_software;
    iString m_company;
    iString m_application;
    REGSAM m_access;
    iString m_subkey;
    HKEY m_key = nullptr;
    LONG m_status = -1;
};
