// The application's profile: values under the key "HKEY_CURRENT_USER\Software\<registry
// key>\<profile name>\<section>" once a registry key is set, else in the INI file named
// by the profile name. Everything read back is user-editable and checked: a value of the
// wrong type or size reads as missing.
// INI binary values are text, two letters per byte ('A' + low half, then 'A' + high half).
#include "WinApp.h"

#include <vector>

namespace {

constexpr int kIniTextMax = 4096;

class ScopedKey {
public:
    explicit ScopedKey(HKEY key) : m_key(key) {}
    ~ScopedKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    HKEY get() const { return m_key; }
    explicit operator bool() const { return m_key != nullptr; }

private:
    HKEY m_key;
};

[[nodiscard]] CString EncodeBinary(const BYTE* data, UINT bytes)
{
    CString text;
    char* out = text.GetBuffer(static_cast<int>(bytes) * 2);
    for (UINT i = 0; i < bytes; ++i) {
        out[i * 2] = static_cast<char>('A' + (data[i] & 0x0F));
        out[i * 2 + 1] = static_cast<char>('A' + ((data[i] >> 4) & 0x0F));
    }
    text.ReleaseBuffer(static_cast<int>(bytes) * 2);
    return text;
}

// FALSE for an odd length or a letter outside 'A'..'P'.
[[nodiscard]] bool DecodeBinary(const CString& text, std::vector<BYTE>& out)
{
    int length = text.GetLength();
    if (length % 2 != 0)
        return false;
    out.resize(static_cast<size_t>(length / 2));
    for (int i = 0; i < length; i += 2) {
        int low = text[i] - 'A';
        int high = text[i + 1] - 'A';
        if (low < 0 || low > 15 || high < 0 || high > 15)
            return false;
        out[static_cast<size_t>(i / 2)] = static_cast<BYTE>(low | (high << 4));
    }
    return true;
}

} // namespace

HKEY CWinApp::GetAppRegistryKey()
{
    if (!m_pszRegistryKey || !m_pszProfileName)
        return nullptr;
    CString path = "Software\\";
    path += m_pszRegistryKey;
    path += "\\";
    path += m_pszProfileName;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                        &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetSectionKey(LPCSTR lpszSection)
{
    ScopedKey app(GetAppRegistryKey());
    if (!app || !lpszSection)
        return nullptr;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(app.get(), lpszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                        &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    if (!m_pszRegistryKey)
        return GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
    ScopedKey section(GetSectionKey(lpszSection));
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    if (!section || RegQueryValueExA(section.get(), lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(&value),
                                     &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return static_cast<UINT>(nDefault);
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    if (!m_pszRegistryKey) {
        CString text;
        text.Format("%d", nValue);
        return WritePrivateProfileStringA(lpszSection, lpszEntry, text, m_pszProfileName);
    }
    ScopedKey section(GetSectionKey(lpszSection));
    DWORD value = static_cast<DWORD>(nValue);
    return section && RegSetValueExA(section.get(), lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                     sizeof value) == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    CString fallback = lpszDefault ? lpszDefault : "";
    if (!m_pszRegistryKey) {
        CString text;
        GetPrivateProfileStringA(lpszSection, lpszEntry, fallback, text.GetBuffer(kIniTextMax), kIniTextMax,
                                 m_pszProfileName);
        text.ReleaseBuffer();
        return text;
    }
    ScopedKey section(GetSectionKey(lpszSection));
    DWORD type = 0;
    DWORD size = 0;
    if (!section || RegQueryValueExA(section.get(), lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return fallback;
    CString text;
    // One more byte than stored: a value written without its terminator still ends in one.
    char* buffer = text.GetBuffer(static_cast<int>(size) + 1);
    DWORD got = size;
    if (RegQueryValueExA(section.get(), lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &got) !=
        ERROR_SUCCESS) {
        text.ReleaseBuffer(0);
        return fallback;
    }
    buffer[got] = '\0';
    text.ReleaseBuffer();
    return text;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    if (!m_pszRegistryKey)
        return WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
    if (!lpszEntry) {
        ScopedKey app(GetAppRegistryKey());
        return app && RegDeleteKeyA(app.get(), lpszSection) == ERROR_SUCCESS;
    }
    ScopedKey section(GetSectionKey(lpszSection));
    if (!section)
        return FALSE;
    if (!lpszValue) {
        LONG status = RegDeleteValueA(section.get(), lpszEntry);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    return RegSetValueExA(section.get(), lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                          static_cast<DWORD>(lstrlenA(lpszValue) + 1)) == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes)
{
    *ppData = nullptr;
    *pBytes = 0;
    std::vector<BYTE> data;
    if (!m_pszRegistryKey) {
        CString text = GetProfileString(lpszSection, lpszEntry);
        if (text.IsEmpty() || !DecodeBinary(text, data))
            return FALSE;
    } else {
        ScopedKey section(GetSectionKey(lpszSection));
        DWORD type = 0;
        DWORD size = 0;
        if (!section || RegQueryValueExA(section.get(), lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_BINARY || size == 0)
            return FALSE;
        data.resize(size);
        if (RegQueryValueExA(section.get(), lpszEntry, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            return FALSE;
        data.resize(size);
    }
    if (data.empty())
        return FALSE;
    *ppData = new BYTE[data.size()];
    std::copy(data.begin(), data.end(), *ppData);
    *pBytes = static_cast<UINT>(data.size());
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes)
{
    if (!m_pszRegistryKey)
        return WriteProfileString(lpszSection, lpszEntry, EncodeBinary(pData, nBytes));
    ScopedKey section(GetSectionKey(lpszSection));
    return section && RegSetValueExA(section.get(), lpszEntry, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}
