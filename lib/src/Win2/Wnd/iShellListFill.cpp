// The shell file list's filling: the system image lists, a folder's items through the
// extension filter, and one row per file with its size, type and date.
#include "lib/src/Win2/Wnd/iShellListCtrl.h"

#include "lib/src/iFileName.h"

#include <shellapi.h>

#include <string>

namespace {

// "C:\" stands for every drive: the system image lists are the same for all paths.
constexpr char kListImageListPath[] = "C:\\";

// Drawing off and the wait cursor for the scope; both come back on every way out.
class HeldDrawing {
public:
    explicit HeldDrawing(CWnd& window) : m_window(window) { m_window.SetRedraw(FALSE); }
    ~HeldDrawing() { m_window.SetRedraw(TRUE); }
    HeldDrawing(const HeldDrawing&) = delete;
    HeldDrawing& operator=(const HeldDrawing&) = delete;

private:
    CWnd& m_window;
    CWaitCursor m_wait;
};

} // namespace

void FreeShellListItem(IMalloc* allocator, iShellListItem* record)
{
    if (!record)
        return;
    if (record->parentFolder)
        record->parentFolder->Release();
    allocator->Free(record->relativeList);
    allocator->Free(record->absoluteList);
    allocator->Free(record);
}

BOOL iShellListCtrl::SetImageLists()
{
    SHFILEINFOA info = {};
    auto smallList = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA(kListImageListPath, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    auto largeList =
        reinterpret_cast<HIMAGELIST>(::SHGetFileInfoA(kListImageListPath, 0, &info, sizeof info, SHGFI_SYSICONINDEX));
    if (!smallList || !largeList)
        return FALSE;
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallList));
    SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(largeList));
    return TRUE;
}

BOOL iShellListCtrl::ShowFolder(iShellTreeItem* treeRecord, IShellFolder* folder)
{
    HeldDrawing held(*this);
    if (!SendMessage(LVM_GETIMAGELIST, LVSIL_NORMAL) && !SetImageLists())
        return FALSE;
    DeleteAllItems();
    if (!FillFolder(treeRecord, folder))
        return FALSE;
    if (m_sortColumn != -1)
        SortItems(m_sortColumn, m_sortAscending);
    return TRUE;
}

BOOL iShellListCtrl::FillFolder(iShellTreeItem* treeRecord, IShellFolder* folder)
{
    HWND owner = ::GetParent(m_hWnd);
    ScopedShellAllocator allocator;
    if (!allocator)
        return FALSE;
    IMalloc* memory = allocator.get();
    IEnumIDList* elements = nullptr;
    if (FAILED(folder->EnumObjects(owner, m_enumFlags, &elements)) || !elements)
        return TRUE;

    BOOL filled = TRUE;
    LPITEMIDLIST element = nullptr;
    ULONG fetched = 0;
    while (filled && elements->Next(1, &element, &fetched) == S_OK && element) {
        // The filter comes first: a skipped item costs no file-information call.
        char path[MAX_PATH];
        if (!m_shell.GetName(folder, element, SHGDN_FORPARSING, path, sizeof path)) {
            memory->Free(element);
            continue;
        }
        iString extension = iFileName(path).GetExtension();
        extension.MakeLower();
        if (!m_extensions.empty() && !m_extensions.Contains(extension)) {
            memory->Free(element);
            continue;
        }
        auto* record = static_cast<iShellListItem*>(memory->Alloc(sizeof(iShellListItem)));
        if (!record) {
            memory->Free(element);
            filled = FALSE;
            break;
        }
        LPCITEMIDLIST asked = element;
        SFGAOF attributes = kItemAttributeMask;
        if (FAILED(folder->GetAttributesOf(1, &asked, &attributes)))
            attributes = 0;
        record->attributes = attributes;
        record->absoluteList = m_shell.ConcatIDLists(treeRecord ? treeRecord->absoluteList : nullptr, element);
        folder->AddRef();
        record->parentFolder = folder;
        record->relativeList = m_shell.CopyItemID(memory, element);

        char displayName[MAX_PATH];
        int index = -1;
        if (!m_shell.GetName(folder, element, SHGDN_NORMAL, displayName, sizeof displayName))
            filled = FALSE;
        else
            index = AddFileItem(path, displayName, FALSE);
        // Items that cannot be found by their path (outside the file system) are not shown.
        if (index < 0 || !SetItem(index, 0, LVIF_PARAM, nullptr, 0, 0, 0, reinterpret_cast<LPARAM>(record)))
            FreeShellListItem(memory, record);
        memory->Free(element);
    }
    elements->Release();
    return filled;
}

int iShellListCtrl::AddFileItem(const CString& path, CString, BOOL relative)
{
    CString fullPath = path;
    if (relative) {
        CString folder;
        if (!m_treeCtrl || !m_treeCtrl->GetSelectedPath(folder) || folder.IsEmpty())
            return -1;
        if (folder[folder.GetLength() - 1] != '\\')
            folder += '\\';
        fullPath = folder + path;
    }
    WIN32_FIND_DATAA found = {};
    HANDLE search = ::FindFirstFileA(fullPath, &found);
    if (search == INVALID_HANDLE_VALUE)
        return -1;
    ::FindClose(search);
    // All 64 bits of the size: 4 GB and more are files like any other.
    const unsigned long long bytes = (static_cast<unsigned long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    const std::string sizeText = std::to_string(bytes);

    const CString name = m_shell.GetDisplayName(fullPath);
    const int index = InsertItem(LVIF_TEXT | LVIF_IMAGE, GetItemCount(), name, 0, 0,
                                 m_shell.GetIconIndex(fullPath, SHGFI_SMALLICON), 0);
    if (index < 0)
        return -1;
    // An empty file's size stays empty, set so whatever the control shows for a text never set.
    SetItemText(index, kSizeColumn, bytes != 0 ? m_shell.FileSizeText(sizeText.c_str()) : CString());
    SetItemText(index, kTypeColumn, m_shell.GetTypeName(fullPath));
    SetItemText(index, kModifiedColumn, m_shell.FileTimeText(&found.ftLastWriteTime));
    return index;
}

BOOL iShellListCtrl::SortItems(int, bool)
{
    return TRUE;
}
