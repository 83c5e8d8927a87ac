// The shortcut manager's dialog run: the sheet edits the manager's table directly, and
// the manager decides afterwards what OK and Cancel mean for the table, its flags and the
// table installed on the frame.
#include "toolkit/shortcuts/QZAccelManager.h"

#include "framework/FrameWnd.h"
#include "toolkit/shortcuts/QZAccelSheet.h"

#include <algorithm>

namespace {

QZShortcutDialogFunction g_shortcutDialog = &QZRunShortcutSheet;

std::vector<ACCEL> RecordsOf(HACCEL table)
{
    const int count = table ? ::CopyAcceleratorTableA(table, nullptr, 0) : 0;
    std::vector<ACCEL> records(std::max(count, 0));
    if (!records.empty())
        records.resize(std::max(0, ::CopyAcceleratorTableA(table, records.data(), count)));
    return records;
}

} // namespace

QZShortcutDialogFunction QZSetShortcutDialogFunction(QZShortcutDialogFunction function)
{
    QZShortcutDialogFunction previous = g_shortcutDialog;
    g_shortcutDialog = function ? function : &QZRunShortcutSheet;
    return previous;
}

BOOL CQZAccelManager::RunShortcutDialog(CWnd* pParentWnd)
{
    const std::vector<ACCEL> tableBefore = m_table;
    const BOOL wasReset = m_bReset;
    const BOOL wasModified = m_bModified;
    const HACCEL frameTableBefore = m_pFrame ? m_pFrame->m_hAccelTable : nullptr;
    const bool frameTableWasOwn = frameTableBefore && frameTableBefore == m_hOwnTable;
    // A table the manager made is destroyed when Reset All installs the defaults, so its
    // records are kept to make it again on Cancel.
    const std::vector<ACCEL> frameRecordsBefore = frameTableWasOwn ? RecordsOf(frameTableBefore)
                                                                   : std::vector<ACCEL>();

    if (g_shortcutDialog(this, pParentWnd) == IDOK) {
        // After Reset All the defaults are installed already.
        if (!m_bReset)
            (void)ApplyTable();
        return TRUE;
    }

    // Cancel undoes the whole visit, Reset All included: the stored set must survive it.
    m_table = tableBefore;
    m_bReset = wasReset;
    m_bModified = wasModified;
    if (m_pFrame && m_pFrame->m_hAccelTable != frameTableBefore)
        ReinstallFrameTable(frameTableBefore, frameTableWasOwn, frameRecordsBefore);
    return FALSE;
}

void CQZAccelManager::ReinstallFrameTable(HACCEL hBefore, bool wasOwn, const std::vector<ACCEL>& beforeRecords)
{
    if (!wasOwn) {
        // Not the manager's, so never destroyed: the same handle goes back.
        HACCEL dialogTable = m_pFrame->m_hAccelTable;
        m_pFrame->m_hAccelTable = hBefore;
        if (dialogTable && dialogTable == m_hOwnTable)
            ::DestroyAcceleratorTable(dialogTable);
        m_hOwnTable = nullptr;
        return;
    }
    HACCEL remade = beforeRecords.empty()
                        ? nullptr
                        : ::CreateAcceleratorTableA(const_cast<ACCEL*>(beforeRecords.data()),
                                                    static_cast<int>(beforeRecords.size()));
    if (remade && !InstallOnFrame(remade))
        ::DestroyAcceleratorTable(remade);
}
