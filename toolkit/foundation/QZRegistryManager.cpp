// The settings store in the registry: key paths, reads and writes checked against the
// stored value's type and size, deletion and enumeration.
#include "toolkit/foundation/QZRegistryManager.h"

#include "framework/WinApp.h"
#include "toolkit/foundation/QZAuxData.h"

#include <cstring>

namespace {

// KEY_READ | KEY_WRITE.
constexpr REGSAM kReadWrite = 0x2001F;

HKEY CreateSubKey(HKEY parent, LPCSTR name, REGSAM access)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, &disposition) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Deletes the key and everything below it. Sub-keys go first: a key with sub-keys
// cannot be deleted. Stops at the first sub-key that will not go.
LONG DeleteKeyTree(HKEY parent, LPCSTR name)
{
    HKEY key = nullptr;
    LONG result = ::RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS)
        return result;
    for (;;) {
        DWORD longestName = 0;
        result = ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longestName, nullptr, nullptr,
                                    nullptr, nullptr, nullptr, nullptr);
        if (result != ERROR_SUCCESS)
            break;
        std::vector<char> child(longestName + 1);
        DWORD length = static_cast<DWORD>(child.size());
        result = ::RegEnumKeyExA(key, 0, child.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            result = ERROR_SUCCESS;
            break;
        }
        if (result != ERROR_SUCCESS)
            break;
        result = DeleteKeyTree(key, child.data());
        if (result != ERROR_SUCCESS)
            break;
    }
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS ? ::RegDeleteKeyA(parent, name) : result;
}

// Calls enumerate(index, name buffer, its length in/out) from index 0 until it answers
// anything but success, with a name buffer as long as the longest name; the names found.
template <class Enumerate>
int EnumNames(HKEY key, DWORD longestName, Enumerate enumerate)
{
    std::vector<char> name(longestName + 1);
    int count = 0;
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        if (enumerate(index, name.data(), &length) != ERROR_SUCCESS)
            break;
        ++count;
    }
    return count;
}

} // namespace

CQZRegistryManager::CQZRegistryManager(HKEY hKeyRoot)
    : m_hKeyRoot(hKeyRoot), m_strIniFileName(qzAfxData.iniFileName), m_pApp(AfxGetApp())
{
}

CQZRegistryManager::~CQZRegistryManager() = default;

bool CQZRegistryManager::IsRegistered() const
{
    return m_pApp && m_pApp->m_pszRegistryKey && m_pApp->m_pszProfileName;
}

HKEY CQZRegistryManager::GetAppRegistryKey()
{
    if (!IsRegistered())
        return nullptr;
    HKEY software = nullptr;
    if (::RegOpenKeyExA(m_hKeyRoot, "Software", 0, kReadWrite, &software) != ERROR_SUCCESS)
        return nullptr;
    HKEY company = CreateSubKey(software, m_pApp->m_pszRegistryKey, kReadWrite);
    HKEY app = company ? CreateSubKey(company, m_pApp->m_pszProfileName, kReadWrite) : nullptr;
    if (company)
        ::RegCloseKey(company);
    ::RegCloseKey(software);
    return app;
}

HKEY CQZRegistryManager::GetSectionKey(LPCSTR lpszSection)
{
    HKEY app = GetAppRegistryKey();
    if (!app)
        return nullptr;
    HKEY section = CreateSubKey(app, lpszSection, kReadWrite);
    ::RegCloseKey(app);
    return section;
}

HKEY CQZRegistryManager::OpenSectionForDeleting(LPCSTR lpszSection)
{
    HKEY app = GetAppRegistryKey();
    if (!app)
        return nullptr;
    HKEY section = CreateSubKey(app, lpszSection, KEY_ALL_ACCESS);
    ::RegCloseKey(app);
    return section;
}

BOOL CQZRegistryManager::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    if (!m_strIniFileName.IsEmpty()) {
        char text[16];
        wsprintfA(text, "%d", nValue);
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, text, m_strIniFileName);
    }
    HKEY section = IsRegistered() ? GetSectionKey(lpszSection) : nullptr;
    if (!section)
        return FALSE;
    const DWORD value = static_cast<DWORD>(nValue);
    const LONG result =
        ::RegSetValueExA(section, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    ::RegCloseKey(section);
    return result == ERROR_SUCCESS;
}

BOOL CQZRegistryManager::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (!m_strIniFileName.IsEmpty())
        return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_strIniFileName);
    if (!IsRegistered())
        return FALSE;
    if (!lpszEntry) {
        HKEY app = GetAppRegistryKey();
        if (!app)
            return FALSE;
        // Sub-keys and all: a section that only loses its values is not removed.
        const LONG result = DeleteKeyTree(app, lpszSection);
        ::RegCloseKey(app);
        return result == ERROR_SUCCESS;
    }
    HKEY section = GetSectionKey(lpszSection);
    if (!section)
        return FALSE;
    LONG result;
    if (!lpszValue)
        result = ::RegDeleteValueA(section, lpszEntry);
    else
        result = ::RegSetValueExA(section, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                                  static_cast<DWORD>(lstrlenA(lpszValue) + 1));
    ::RegCloseKey(section);
    return result == ERROR_SUCCESS;
}

BOOL CQZRegistryManager::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (!m_strIniFileName.IsEmpty()) {
        // Two letters a byte, low half first: 'A' + (byte & 15), then 'A' + (byte >> 4).
        CString text;
        char* letters = text.GetBufferSetLength(static_cast<int>(nBytes * 2));
        for (UINT i = 0; i < nBytes; ++i) {
            letters[2 * i] = static_cast<char>('A' + (pData[i] & 0x0F));
            letters[2 * i + 1] = static_cast<char>('A' + (pData[i] >> 4));
        }
        text.ReleaseBuffer(static_cast<int>(nBytes * 2));
        return WriteProfileString(lpszSection, lpszEntry, text);
    }
    HKEY section = IsRegistered() ? GetSectionKey(lpszSection) : nullptr;
    if (!section)
        return FALSE;
    const LONG result = ::RegSetValueExA(section, lpszEntry, 0, REG_BINARY, pData, nBytes);
    ::RegCloseKey(section);
    return result == ERROR_SUCCESS;
}

int CQZRegistryManager::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    if (!m_strIniFileName.IsEmpty())
        return static_cast<int>(::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_strIniFileName));
    HKEY section = IsRegistered() ? GetSectionKey(lpszSection) : nullptr;
    if (!section)
        return nDefault;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG result =
        ::RegQueryValueExA(section, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(section);
    // Only a REG_DWORD is an integer: the bytes of a short text would read as a number.
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value)
        return nDefault;
    return static_cast<int>(value);
}

CString CQZRegistryManager::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    if (!m_strIniFileName.IsEmpty())
        return ReadProfileText(lpszSection, lpszEntry, lpszDefault ? lpszDefault : "");
    const CString fallback(lpszDefault ? lpszDefault : "");
    HKEY section = IsRegistered() ? GetSectionKey(lpszSection) : nullptr;
    if (!section)
        return fallback;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = ::RegQueryValueExA(section, lpszEntry, nullptr, &type, nullptr, &size);
    CString text;
    if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        // One more than stored: a text written without its terminator still ends.
        std::vector<char> buffer(size + 1, '\0');
        DWORD read = size;
        result = ::RegQueryValueExA(section, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                    &read);
        if (result == ERROR_SUCCESS && read <= size)
            text = buffer.data();
    } else if (result == ERROR_SUCCESS) {
        result = ERROR_INVALID_DATA;
    }
    ::RegCloseKey(section);
    return result == ERROR_SUCCESS ? text : fallback;
}

BOOL CQZRegistryManager::ReadStoredBytes(LPCSTR lpszSection, LPCSTR lpszEntry, std::vector<BYTE>& bytes)
{
    if (!m_strIniFileName.IsEmpty())
        return DecodeProfileBytes(lpszSection, lpszEntry, bytes);
    HKEY section = IsRegistered() ? GetSectionKey(lpszSection) : nullptr;
    if (!section)
        return FALSE;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = ::RegQueryValueExA(section, lpszEntry, nullptr, &type, nullptr, &size);
    if (result == ERROR_SUCCESS) {
        bytes.assign(size, 0);
        DWORD read = size;
        result = ::RegQueryValueExA(section, lpszEntry, nullptr, &type, bytes.data(), &read);
        bytes.resize(read);
    }
    ::RegCloseKey(section);
    return result == ERROR_SUCCESS;
}

BOOL CQZRegistryManager::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, BYTE** ppData, UINT* pBytes)
{
    *ppData = nullptr;
    *pBytes = 0;
    std::vector<BYTE> bytes;
    if (!ReadStoredBytes(lpszSection, lpszEntry, bytes))
        return FALSE;
    *ppData = new BYTE[bytes.empty() ? 1 : bytes.size()];
    std::memcpy(*ppData, bytes.data(), bytes.size());
    *pBytes = static_cast<UINT>(bytes.size());
    return TRUE;
}

BOOL CQZRegistryManager::GetProfileInfo(LPCSTR lpszSection, LPCSTR lpszEntry, void* pObject, UINT nObjectSize)
{
    std::vector<BYTE> bytes;
    // A stored value of another size is not this object: nothing is written then.
    if (!ReadStoredBytes(lpszSection, lpszEntry, bytes) || bytes.size() != nObjectSize)
        return FALSE;
    std::memcpy(pObject, bytes.data(), nObjectSize);
    return TRUE;
}

BOOL CQZRegistryManager::DeleteKey(LPCSTR lpszSection, LPCSTR lpszKey)
{
    HKEY section = OpenSectionForDeleting(lpszSection);
    if (!section)
        return FALSE;
    const LONG result = DeleteKeyTree(section, lpszKey);
    ::RegCloseKey(section);
    return result == ERROR_SUCCESS;
}

BOOL CQZRegistryManager::DeleteValue(LPCSTR lpszSection, LPCSTR lpszEntry)
{
    HKEY section = OpenSectionForDeleting(lpszSection);
    if (!section)
        return FALSE;
    const LONG result = ::RegDeleteValueA(section, lpszEntry);
    ::RegCloseKey(section);
    return result == ERROR_SUCCESS;
}

int CQZRegistryManager::EnumValues(LPCSTR lpszSection, CQZValueTypeMap* pValues, CStringArray* pNames)
{
    HKEY section = GetSectionKey(lpszSection);
    if (!section)
        return 0;
    DWORD longestName = 0;
    ::RegQueryInfoKeyA(section, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, nullptr,
                       nullptr, nullptr);
    const int count = EnumNames(section, longestName, [&](DWORD index, char* name, DWORD* length) {
        DWORD type = 0;
        const LONG result = ::RegEnumValueA(section, index, name, length, nullptr, &type, nullptr, nullptr);
        if (result == ERROR_SUCCESS) {
            if (pValues)
                pValues->SetAt(name, type);
            if (pNames)
                pNames->Add(name);
        }
        return result;
    });
    ::RegCloseKey(section);
    return count;
}

int CQZRegistryManager::EnumKeys(LPCSTR lpszSection, CStringArray& keys)
{
    HKEY section = GetSectionKey(lpszSection);
    if (!section)
        return 0;
    DWORD longestName = 0;
    ::RegQueryInfoKeyA(section, nullptr, nullptr, nullptr, nullptr, &longestName, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr);
    const int count = EnumNames(section, longestName, [&](DWORD index, char* name, DWORD* length) {
        const LONG result = ::RegEnumKeyExA(section, index, name, length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_SUCCESS)
            keys.Add(name);
        return result;
    });
    ::RegCloseKey(section);
    return count;
}
