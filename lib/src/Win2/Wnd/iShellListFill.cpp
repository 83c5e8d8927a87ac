// The shell file list's filling: the system image lists, a folder's items through the
// extension filter, and one row per file with its size, type and date.
#include "lib/src/Win2/Wnd/iShellListCtrl.h"

#include "lib/src/iFileName.h"

#include <shellapi.h>

#include <string>

namespace {

// "C:\" stands for every drive: the system image lists are the same for all paths.
constexpr char kListImageListPath[] = "C:\\";

// Files whose icon, target or kind may be their own: their type name is always asked.
const char* const kOwnTypeExtensions[] = {"exe", "ico", "lnk", "cur", "ani", "url", "pif", "scr"};

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
    FreeShellItemRecord(allocator, record);
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
    m_typeNames.clear();
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
            index = AddEnumeratedItem(folder, element, path, displayName);
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
    // The same answer as FindFirstFile on the path, without searching its folder.
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    if (!::GetFileAttributesExA(fullPath, GetFileExInfoStandard, &file))
        return -1;
    return InsertFileRow(m_shell.GetDisplayName(fullPath), m_shell.GetIconIndex(fullPath, SHGFI_SMALLICON),
                         m_shell.GetTypeName(fullPath), file);
}

int iShellListCtrl::AddEnumeratedItem(IShellFolder* folder, LPCITEMIDLIST element, const CString& path,
                                      const CString& displayName)
{
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &file))
        return -1;
    // The index in the system image list, whose small and large lists share indexes.
    const int icon = ::SHMapPIDLToSystemImageListIndex(folder, element, nullptr);
    return InsertFileRow(displayName, icon, CachedTypeName(path, file.dwFileAttributes), file);
}

int iShellListCtrl::InsertFileRow(const CString& name, int icon, const CString& typeName,
                                  const WIN32_FILE_ATTRIBUTE_DATA& file)
{
    const int index = InsertItem(LVIF_TEXT | LVIF_IMAGE, GetItemCount(), name, 0, 0, icon, 0);
    if (index < 0)
        return -1;
    // All 64 bits of the size: 4 GB and more are files like any other.
    const unsigned long long bytes = (static_cast<unsigned long long>(file.nFileSizeHigh) << 32) | file.nFileSizeLow;
    const std::string sizeText = std::to_string(bytes);
    // An empty file's size stays empty, set so whatever the control shows for a text never set.
    SetItemText(index, kSizeColumn, bytes != 0 ? m_shell.FileSizeText(sizeText.c_str()) : CString());
    SetItemText(index, kTypeColumn, typeName);
    SetItemText(index, kModifiedColumn, m_shell.FileTimeText(&file.ftLastWriteTime));
    return index;
}

CString iShellListCtrl::CachedTypeName(const CString& path, DWORD fileAttributes)
{
    iString extension = iFileName(path).GetExtension();
    extension.MakeLower();
    bool cacheable = !(fileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    for (const char* own : kOwnTypeExtensions)
        cacheable = cacheable && extension != own;
    if (!cacheable)
        return m_shell.GetTypeName(path);
    const std::string key(extension);
    auto known = m_typeNames.find(key);
    if (known == m_typeNames.end())
        known = m_typeNames.emplace(key, m_shell.GetTypeName(path)).first;
    return known->second;
}

BOOL iShellListCtrl::SortItems(int, bool)
{
    return TRUE;
}
