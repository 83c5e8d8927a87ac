// The folder tree and the Files list: selecting a file (after the question about the
// open image's changes), opening it by double click or Return, the file-type filter, and
// refills that keep the list where it was.
#include "Workspace.h"

#include "FileTypeTable.h"
#include "Option.h"

#include "lib/src/MsgBox.h"
#include "lib/src/Win2/Wnd/ImageFormatTables.h"
#include "lib/src/Win2/Wnd/iShellListCtrl.h"

void Workspace::OnFileItemChanged(CWnd* sender, NMHDR* header, LRESULT* result)
{
    if (result)
        *result = 0;
    if (sender != m_fileList || !header || header->code != LVN_ITEMCHANGED || m_isReselecting)
        return;
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if (change->uNewState == change->uOldState || !(change->uNewState & LVIS_SELECTED))
        return;
    // Taken now: saving the open image refills the list.
    const iString path = GetItemPath(change->iItem);
    if (m_isOpen) {
        if (m_isModified) {
            if (MsgBoxQuestion(MB_YESNO, kCaption, m_hWnd, "Changes have been made.\nSave the changes?") == IDYES) {
                // The user has seen why it failed (the error, or their own No to the
                // overwrite): the changes stay, and so does what shows them.
                if (!SaveFile()) {
                    SelectListItem(m_fileInfo.GetPath(), change->iItem);
                    return;
                }
                // The save refilled the list: the new choice is selected again.
                SelectListItem(path, -1);
            } else {
                m_isModified = false;
            }
        }
        CloseFile();
    }
    if (path.IsEmpty())
        return;
    ShowSelectedFile(path);
}

void Workspace::OnFileDoubleClick(CWnd*, NMHDR*, LRESULT*)
{
    OpenSelectedFile();
}

void Workspace::OnFileReturn(CWnd*, NMHDR*, LRESULT*)
{
    OpenSelectedFile();
}

iString Workspace::GetItemPath(int item) const
{
    const iShellListItem* record = item >= 0 ? m_fileList->GetRecord(item) : nullptr;
    char path[MAX_PATH] = {};
    if (!record || !record->absoluteList || !::SHGetPathFromIDListA(record->absoluteList, path))
        return iString();
    return iString(path);
}

void Workspace::SelectListItem(const iString& path, int itemToClear)
{
    m_isReselecting = true;
    int found = -1;
    for (int item = 0; item < m_fileList->GetItemCount() && found < 0; ++item)
        if (GetItemPath(item).CompareNoCase(path) == 0)
            found = item;
    if (found >= 0) {
        m_fileList->SetItemState(found, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_fileList->EnsureVisible(found, FALSE);
    } else if (itemToClear >= 0) {
        m_fileList->SetItemState(itemToClear, 0, LVIS_SELECTED);
    }
    m_isReselecting = false;
}

void Workspace::RefreshFileList()
{
    m_fileList->RefreshKeepSelection();
}

LRESULT Workspace::OnShellRefresh(WPARAM, LPARAM)
{
    RefreshFileList();
    return 0;
}

void Workspace::ApplyFileTypeFilter(bool refresh)
{
    m_fileList->ClearExtensions();
    if (g_pOption->m_common.m_displayGraphicsOnly.Value()) {
        for (const FileTypeRow& type : FileTypeTable) {
            if (!g_pOption->m_fileType.m_fileType.TestBit(type.fileType))
                continue;
            // "*.jpg;*.jpeg;*.jtf": each pattern adds its extension.
            const CString patterns = FileFormatPattern(type.fileType);
            for (int start = 0; start < patterns.GetLength();) {
                int end = patterns.Find(';', start);
                if (end < 0)
                    end = patterns.GetLength();
                m_fileList->AddExtension(patterns.Mid(start, end - start));
                start = end + 1;
            }
        }
    }
    if (refresh)
        RefreshFileList();
}
