// The shortcut manager's table: stored sets in the settings store, the frame's default
// accelerators, installing the table on the frame, and the edits the sheet makes.
#include "toolkit/shortcuts/QZAccelManager.h"

#include "framework/FrameWnd.h"
#include "framework/ResourceModule.h"
#include "toolkit/foundation/QZRegistryManager.h"

#include <algorithm>

namespace {

constexpr char kAccelSection[] = "Settings";
constexpr char kAccelValuePrefix[] = "kbdAccel_";
// A stored record: fVirt, a reserved zero, key and command (both little-endian).
constexpr UINT kStoredAccelBytes = 6;
// Shortcuts are the same when these agree (FSHIFT, FCONTROL, FALT); FVIRTKEY and
// FNOINVERT do not count.
constexpr BYTE kModifierMask = FSHIFT | FCONTROL | FALT;
// DestroyAcceleratorTable is tried this often before the frame keeps its table.
constexpr int kDestroyAttempts = 10;

CString StoredValueName(LPCSTR setName)
{
    return CString(kAccelValuePrefix) + setName;
}

bool SameShortcut(const ACCEL& accel, BYTE fVirt, WORD key)
{
    return (accel.fVirt & kModifierMask) == (fVirt & kModifierMask) && accel.key == key;
}

} // namespace

BOOL CQZAccelManager::Load(LPCSTR lpszSetName)
{
    m_table.clear();
    CQZRegistryManager store(HKEY_CURRENT_USER);
    BYTE* data = nullptr;
    UINT bytes = 0;
    if (!store.GetProfileBinary(kAccelSection, StoredValueName(lpszSetName), &data, &bytes))
        return FALSE;
    // A remainder shorter than a record is ignored.
    m_table.resize(bytes / kStoredAccelBytes);
    for (size_t i = 0; i < m_table.size(); ++i) {
        const BYTE* record = data + i * kStoredAccelBytes;
        m_table[i] = ACCEL{};
        m_table[i].fVirt = record[0];
        m_table[i].key = static_cast<WORD>(record[2] | (record[3] << 8));
        m_table[i].cmd = static_cast<WORD>(record[4] | (record[5] << 8));
    }
    delete[] data;
    return TRUE;
}

BOOL CQZAccelManager::Save(LPCSTR lpszSetName)
{
    std::vector<BYTE> bytes(m_table.size() * kStoredAccelBytes, 0);
    for (size_t i = 0; i < m_table.size(); ++i) {
        BYTE* record = bytes.data() + i * kStoredAccelBytes;
        record[0] = m_table[i].fVirt;
        record[2] = LOBYTE(m_table[i].key);
        record[3] = HIBYTE(m_table[i].key);
        record[4] = LOBYTE(m_table[i].cmd);
        record[5] = HIBYTE(m_table[i].cmd);
    }
    CQZRegistryManager store(HKEY_CURRENT_USER);
    return store.WriteProfileBinary(kAccelSection, StoredValueName(lpszSetName), bytes.data(),
                                    static_cast<UINT>(bytes.size()));
}

BOOL CQZAccelManager::LoadAndApply(LPCSTR lpszSetName, BOOL bApply)
{
    if (!Load(lpszSetName))
        return FALSE;
    if (bApply) {
        m_bReset = FALSE;
        m_bModified = FALSE;
        (void)ApplyTable();
    }
    return TRUE;
}

BOOL CQZAccelManager::Close()
{
    if (m_bReset) {
        // The set may never have been stored: nothing to delete is as good as deleted.
        CQZRegistryManager store(HKEY_CURRENT_USER);
        (void)store.DeleteValue(kAccelSection, StoredValueName(m_strSetName));
        return TRUE;
    }
    if (m_bModified) {
        // The edits stay marked when they could not be stored, so a later Close tries again.
        if (!Save(m_strSetName))
            return FALSE;
        m_bModified = FALSE;
    }
    return TRUE;
}

void CQZAccelManager::LoadFrameAccelerators()
{
    m_table.clear();
    // A table loaded from resources belongs to the system (it may be the frame's own):
    // it is copied, never destroyed.
    HACCEL loaded = ::LoadAcceleratorsA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(m_nAccelID));
    const int count = loaded ? ::CopyAcceleratorTableA(loaded, nullptr, 0) : 0;
    if (count <= 0)
        return;
    m_table.resize(count);
    m_table.resize(std::max(0, ::CopyAcceleratorTableA(loaded, m_table.data(), count)));
    m_bModified = FALSE;
    m_bReset = TRUE;
}

void CQZAccelManager::ResetToDefaults()
{
    LoadFrameAccelerators();
    (void)ApplyTable();
}

BOOL CQZAccelManager::ApplyTable()
{
    if (!m_pFrame || m_table.empty())
        return FALSE;
    HACCEL table = ::CreateAcceleratorTableA(m_table.data(), static_cast<int>(m_table.size()));
    if (!table)
        return FALSE;
    if (!InstallOnFrame(table)) {
        ::DestroyAcceleratorTable(table);
        return FALSE;
    }
    return TRUE;
}

BOOL CQZAccelManager::InstallOnFrame(HACCEL hAccel)
{
    HACCEL current = m_pFrame->m_hAccelTable;
    if (current && current == m_hOwnTable) {
        bool destroyed = false;
        for (int attempt = 0; attempt < kDestroyAttempts && !destroyed; ++attempt)
            destroyed = ::DestroyAcceleratorTable(current) != FALSE;
        if (!destroyed)
            return FALSE;
    }
    m_pFrame->m_hAccelTable = hAccel;
    m_hOwnTable = hAccel;
    return TRUE;
}

BOOL CQZAccelManager::AddShortcut(UINT nCmdID, BYTE fVirt, WORD wKey)
{
    ACCEL accel{};
    accel.fVirt = fVirt;
    accel.key = wKey;
    accel.cmd = static_cast<WORD>(nCmdID);
    m_table.push_back(accel);
    m_bReset = FALSE;
    m_bModified = TRUE;
    return TRUE;
}

BOOL CQZAccelManager::FindShortcut(BYTE fVirt, WORD wKey, UINT& nCmdID) const
{
    for (const ACCEL& accel : m_table) {
        if (SameShortcut(accel, fVirt, wKey)) {
            nCmdID = accel.cmd;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CQZAccelManager::RemoveShortcut(UINT nCmdID, BYTE fVirt, WORD wKey)
{
    for (auto it = m_table.begin(); it != m_table.end(); ++it) {
        if (it->cmd == static_cast<WORD>(nCmdID) && SameShortcut(*it, fVirt, wKey)) {
            m_table.erase(it);
            m_bReset = FALSE;
            m_bModified = TRUE;
            return TRUE;
        }
    }
    return FALSE;
}
