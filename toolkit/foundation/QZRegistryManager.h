// The toolkit's settings store: integers, texts and blocks of bytes under a section and
// an entry, kept in HKEY_CURRENT_USER\Software\<registry key>\<profile name>\<section> of
// the application, or in a profile file when the global record names one. A caller makes
// one on the stack per job; it holds no open key between calls.
// Stored values are user-editable, so every read checks the value's type and size: a
// read never writes past the caller's object, an integer is only a REG_DWORD, a text
// only REG_SZ or REG_EXPAND_SZ, and a long profile-file value is read whole.
#pragma once

#include "framework/CString.h"
#include "framework/CollectionMaps.h"
#include "framework/StringCollections.h"

#include <windows.h>

#include <vector>

class CWinApp;

// Value name to its registry type.
using CQZValueTypeMap = CMap<CString, LPCSTR, DWORD, DWORD>;

class CQZRegistryManager {
public:
    // Every caller passes HKEY_CURRENT_USER.
    explicit CQZRegistryManager(HKEY hKeyRoot);
    virtual ~CQZRegistryManager();

    // Open keys the caller closes; null when a key cannot be opened or made.
    virtual HKEY GetAppRegistryKey();
    virtual HKEY GetSectionKey(LPCSTR lpszSection);

    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
    // A null entry removes the whole section (with any keys below it); a null text the entry.
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);

    int GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
    // *ppData is allocated with new[] and freed by the caller with delete[]; FALSE leaves it null.
    BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, BYTE** ppData, UINT* pBytes);
    // Reads the stored bytes into *pObject; FALSE, with the object untouched, unless exactly
    // nObjectSize bytes are stored.
    BOOL GetProfileInfo(LPCSTR lpszSection, LPCSTR lpszEntry, void* pObject, UINT nObjectSize);
    template <class T>
    BOOL GetProfileInfo(LPCSTR lpszSection, LPCSTR lpszEntry, T* pObject)
    {
        return GetProfileInfo(lpszSection, lpszEntry, pObject, sizeof(T));
    }

    // Deletes sub-key lpszKey of the section with everything below it.
    BOOL DeleteKey(LPCSTR lpszSection, LPCSTR lpszKey);
    BOOL DeleteValue(LPCSTR lpszSection, LPCSTR lpszEntry);
    // The section's value names (with their types) and sub-key names; registry mode only.
    int EnumValues(LPCSTR lpszSection, CQZValueTypeMap* pValues, CStringArray* pNames);
    int EnumKeys(LPCSTR lpszSection, CStringArray& keys);

protected:
    HKEY m_hKeyRoot;
    // Profile-file mode when not empty.
    CString m_strIniFileName;
    CWinApp* m_pApp;

private:
    // The application set a registry key name: registry-mode reads and writes may run.
    bool IsRegistered() const;
    // The section opened below the application key with full access, made when missing.
    HKEY OpenSectionForDeleting(LPCSTR lpszSection);
    // The stored bytes of an entry, whatever their number; FALSE when there are none.
    BOOL ReadStoredBytes(LPCSTR lpszSection, LPCSTR lpszEntry, std::vector<BYTE>& bytes);

    // Profile-file mode.
    CString ReadProfileText(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault);
    BOOL DecodeProfileBytes(LPCSTR lpszSection, LPCSTR lpszEntry, std::vector<BYTE>& bytes);

    CQZRegistryManager(const CQZRegistryManager&) = delete;
    CQZRegistryManager& operator=(const CQZRegistryManager&) = delete;
};
