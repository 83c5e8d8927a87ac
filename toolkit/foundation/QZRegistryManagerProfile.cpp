// The settings store's profile-file mode: texts read whole however long they are, and
// blocks of bytes as two letters 'A'..'P' a byte.
#include "toolkit/foundation/QZRegistryManager.h"

namespace {
constexpr DWORD kFirstProfileBuffer = 4096;
} // namespace

CString CQZRegistryManager::ReadProfileText(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    // A full buffer means the text may go on: read again into one twice as large.
    for (DWORD size = kFirstProfileBuffer;; size *= 2) {
        CString text;
        char* buffer = text.GetBuffer(static_cast<int>(size));
        const DWORD length =
            ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault, buffer, size, m_strIniFileName);
        text.ReleaseBuffer(static_cast<int>(length));
        if (length + 1 < size || size >= 0x40000000)
            return text;
    }
}

BOOL CQZRegistryManager::DecodeProfileBytes(LPCSTR lpszSection, LPCSTR lpszEntry, std::vector<BYTE>& bytes)
{
    const CString text = ReadProfileText(lpszSection, lpszEntry, "");
    if (text.IsEmpty())
        return FALSE;
    // An odd last letter belongs to no byte.
    const int count = text.GetLength() / 2;
    bytes.assign(static_cast<size_t>(count), 0);
    for (int i = 0; i < count; ++i) {
        const char low = text[2 * i];
        const char high = text[2 * i + 1];
        // Only 'A'..'P' carry four bits: anything else is not a value this store wrote.
        if (low < 'A' || low > 'P' || high < 'A' || high > 'P')
            return FALSE;
        bytes[static_cast<size_t>(i)] = static_cast<BYTE>((low - 'A') + 16 * (high - 'A'));
    }
    return TRUE;
}
