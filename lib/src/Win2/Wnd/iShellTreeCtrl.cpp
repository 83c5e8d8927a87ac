// The shell folder tree: filling from the Desktop, on-demand children, item records,
// and the selection, expansion, deletion and right-click handling.
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"

#include "lib/src/Win2/Wnd/iShellListCtrl.h"

#include <shellapi.h>

namespace {

// "C:\" stands for every drive: the system image lists are the same for all paths.
constexpr char kTreeImageListPath[] = "C:\\";

// The Desktop item is the one whose relative list is only the terminator.
bool IsDesktopRecord(const iShellTreeItem* record)
{
    return record && record->relativeList && record->relativeList->mkid.cb == 0;
}

} // namespace

void FreeShellTreeItem(IMalloc* allocator, iShellTreeItem* record)
{
    FreeShellItemRecord(allocator, record);
}

IMPLEMENT_DYNAMIC(iShellTreeCtrl, iTreeCtrl)

BEGIN_MESSAGE_MAP(iShellTreeCtrl, iTreeCtrl)
    ON_WM_DESTROY()
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRightClick)
    ON_NOTIFY_REFLECT(TVN_DELETEITEMA, OnDeleteItem)
    ON_NOTIFY_REFLECT(TVN_SELCHANGEDA, OnSelectionChanged)
    ON_NOTIFY_REFLECT(TVN_ITEMEXPANDINGA, OnItemExpanding)
    ON_NOTIFY_REFLECT(TVN_GETDISPINFOA, OnGetDisplayInfo)
END_MESSAGE_MAP()

iShellTreeCtrl::iShellTreeCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iTreeCtrl(parent, rect, style, text, id)
{
    Construct();
}

iShellTreeCtrl::iShellTreeCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                               LPVOID param)
    : iTreeCtrl(parent, rect, style, text, id, exStyle, param)
{
    Construct();
}

// The window goes here, while the handlers that free the records are still this class's.
iShellTreeCtrl::~iShellTreeCtrl()
{
    if (m_hWnd)
        DestroyWindow();
}

void iShellTreeCtrl::Construct()
{
    if (!m_hWnd)
        return;
    SetImageList();
    Refill(false);
}

BOOL iShellTreeCtrl::SetImageList()
{
    SHFILEINFOA info = {};
    auto systemList = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA(kTreeImageListPath, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (!systemList)
        return FALSE;
    SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(systemList));
    return TRUE;
}

void iShellTreeCtrl::SetListCtrl(iShellListCtrl* list)
{
    m_listCtrl = list;
}

void iShellTreeCtrl::SetEnumFlags(DWORD flags, bool refill)
{
    m_enumFlags = flags;
    if (refill)
        Refill(true);
}

void iShellTreeCtrl::Refill(bool suppress)
{
    m_suppress = suppress;
    ScopedShellAllocator allocator;
    if (!allocator)
        return;
    IShellFolder* desktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&desktop)))
        desktop = nullptr;
    LPITEMIDLIST desktopList = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(m_hWnd, CSIDL_DESKTOP, &desktopList)))
        desktopList = nullptr;

    if (desktop && desktopList) {
        DeleteItem(TVI_ROOT);
        auto* record = static_cast<iShellTreeItem*>(allocator.get()->Alloc(sizeof(iShellTreeItem)));
        if (record) {
            desktop->AddRef();
            record->parentFolder = desktop;
            record->relativeList = m_shell.CopyItemID(allocator.get(), desktopList);
            record->absoluteList = nullptr;
            char name[MAX_PATH] = "";
            static_cast<void>(m_shell.GetName(desktop, desktopList, SHGDN_NORMAL, name, sizeof name));
            TVINSERTSTRUCTA insert = {};
            insert.hParent = TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
            insert.item.pszText = name;
            insert.item.cChildren = 1;
            insert.item.lParam = reinterpret_cast<LPARAM>(record);
            m_shell.SetItemIcons(desktopList, &insert.item);
            HTREEITEM desktopItem = InsertItem(&insert);
            if (desktopItem)
                FillChildren(desktop, nullptr, desktopItem);
            else
                FreeShellTreeItem(allocator.get(), record);
        }
    }
    if (desktop)
        desktop->Release();
    TVSORTCB sort = {TVI_ROOT, &iShellTreeCtrl::CompareItems, 0};
    SortChildrenCB(&sort);
    // The Desktop's first expansion reaches OnItemExpanding, which knows the item.
    Expand(GetRootItem(), TVE_EXPAND);
    allocator.get()->Free(desktopList);
}

void iShellTreeCtrl::FillChildren(IShellFolder* folder, LPCITEMIDLIST parentList, HTREEITEM parent)
{
    HWND owner = ::GetParent(m_hWnd);
    ScopedShellAllocator allocator;
    if (!allocator)
        return;
    IMalloc* memory = allocator.get();
    SetCapture();
    CWaitCursor wait;
    SetRedraw(FALSE);

    IEnumIDList* elements = nullptr;
    if (SUCCEEDED(folder->EnumObjects(owner, m_enumFlags, &elements)) && elements) {
        HTREEITEM previous = TVI_LAST;
        LPITEMIDLIST element = nullptr;
        ULONG fetched = 0;
        while (elements->Next(1, &element, &fetched) == S_OK && element) {
            LPCITEMIDLIST asked = element;
            SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
            if (FAILED(folder->GetAttributesOf(1, &asked, &attributes)) || !(attributes & SFGAO_FOLDER)) {
                memory->Free(element);
                continue;
            }
            auto* record = static_cast<iShellTreeItem*>(memory->Alloc(sizeof(iShellTreeItem)));
            char name[MAX_PATH];
            if (!record || !m_shell.GetName(folder, element, SHGDN_NORMAL, name, sizeof name)) {
                memory->Free(record);
                memory->Free(element);
                break;
            }
            folder->AddRef();
            record->parentFolder = folder;
            record->relativeList = m_shell.CopyItemID(memory, element);
            record->absoluteList = m_shell.ConcatIDLists(parentList, element);

            TVINSERTSTRUCTA insert = {};
            insert.hParent = parent;
            insert.hInsertAfter = previous;
            insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_SELECTEDIMAGE;
            if (attributes & SFGAO_HASSUBFOLDER) {
                insert.item.mask |= TVIF_CHILDREN;
                insert.item.cChildren = 1;
            }
            insert.item.pszText = name;
            insert.item.lParam = reinterpret_cast<LPARAM>(record);
            // The closed icon SetItemIcons would find from the absolute list, asked of the
            // folder at hand instead of a walk from the Desktop for each item; the open one
            // is asked when the tree first needs it.
            insert.item.iImage = ::SHMapPIDLToSystemImageListIndex(folder, element, nullptr);
            insert.item.iSelectedImage = I_IMAGECALLBACK;
            HTREEITEM inserted = InsertItem(&insert);
            if (inserted)
                previous = inserted;
            else
                FreeShellTreeItem(memory, record);
            memory->Free(element);
        }
        elements->Release();
    }
    ::ReleaseCapture();
    SetRedraw(TRUE);
}

int CALLBACK iShellTreeCtrl::CompareItems(LPARAM first, LPARAM second, LPARAM)
{
    const iShellTreeItem* one = RecordOf(first);
    const iShellTreeItem* other = RecordOf(second);
    if (!one || !other || !one->parentFolder)
        return 0;
    const HRESULT order = one->parentFolder->CompareIDs(0, one->relativeList, other->relativeList);
    if (FAILED(order))
        return 0;
    return static_cast<short>(HRESULT_CODE(order));
}

IShellFolder* iShellTreeCtrl::BindItemFolder(const iShellTreeItem* record) const
{
    if (!record || !record->parentFolder || !record->relativeList)
        return nullptr;
    IShellFolder* folder = nullptr;
    if (FAILED(record->parentFolder->BindToObject(record->relativeList, nullptr, g_iidShellFolder,
                                                  reinterpret_cast<void**>(&folder))))
        return nullptr;
    return folder;
}

void iShellTreeCtrl::OnItemExpanding(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
    HTREEITEM item = change->itemNew.hItem;
    if (!(change->action & TVE_EXPAND) || (GetItemState(item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE))
        return;
    const iShellTreeItem* record = GetRecord(item);
    // The Desktop's children are filled with the Desktop item itself.
    if (!record || IsDesktopRecord(record))
        return;
    SetRedraw(FALSE);
    if (IShellFolder* folder = BindItemFolder(record)) {
        FillChildren(folder, record->absoluteList, item);
        folder->Release();
    }
    TVSORTCB sort = {item, &iShellTreeCtrl::CompareItems, 0};
    SortChildrenCB(&sort);
    // A folder the shell said had subfolders but that showed none loses its button.
    if (!GetChildItem(item)) {
        TVITEMA none = {};
        none.mask = TVIF_CHILDREN;
        none.hItem = item;
        none.cChildren = 0;
        SetItem(&none);
    }
    SetRedraw(TRUE);
}

void iShellTreeCtrl::OnSelectionChanged(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
    SetRedraw(FALSE);
    ShowSelectedFolder(RecordOf(change->itemNew.lParam));
    SetRedraw(TRUE);
}

void iShellTreeCtrl::ShowSelectedFolder(iShellTreeItem* record)
{
    // The bound folder is released on every path, with or without a list to show it.
    if (IShellFolder* folder = BindItemFolder(record)) {
        if (!m_suppress) {
            CString path;
            GetSelectedPath(path);
            ::SetCurrentDirectoryA(path);
            if (m_listCtrl && m_listCtrl->GetSafeHwnd())
                m_listCtrl->ShowFolder(record, folder);
        }
        folder->Release();
    }
}

void iShellTreeCtrl::FollowSelection()
{
    m_suppress = false;
    if (HTREEITEM selected = GetSelectedItem())
        ShowSelectedFolder(GetRecord(selected));
}

void iShellTreeCtrl::OnRightClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    UINT hit = 0;
    HTREEITEM item = HitTest(point, &hit);
    // Empty space clears the selection; the list keeps what it shows.
    SelectItem(item);
    if (!item || !(hit & TVHT_ONITEMLABEL))
        return;
    ClientToScreen(&point);
    TVITEMA data = {};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!GetItem(&data) || !data.lParam)
        return;
    const iShellTreeItem* record = RecordOf(data.lParam);
    if (record->parentFolder && record->relativeList)
        m_shell.DoContextMenu(::GetParent(m_hWnd), record->parentFolder, record->relativeList, point);
}

// The open icon of an item filled by FillChildren, kept by the tree once asked.
void iShellTreeCtrl::OnGetDisplayInfo(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* request = reinterpret_cast<NMTVDISPINFOA*>(header);
    const iShellTreeItem* record = RecordOf(request->item.lParam);
    if (!(request->item.mask & TVIF_SELECTEDIMAGE) || !record || !record->absoluteList)
        return;
    request->item.iSelectedImage = m_shell.GetFileInfoIcon(
        record->absoluteList, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON | SHGFI_OPENICON);
    request->item.mask |= TVIF_DI_SETITEM;
}

void iShellTreeCtrl::OnDeleteItem(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
    iShellTreeItem* record = RecordOf(change->itemOld.lParam);
    ScopedShellAllocator allocator;
    if (record && allocator)
        FreeShellTreeItem(allocator.get(), record);
}

void iShellTreeCtrl::FreeAllRecords(HTREEITEM first)
{
    ScopedShellAllocator allocator;
    if (!allocator)
        return;
    for (HTREEITEM item = first; item; item = GetNextSiblingItem(item)) {
        FreeAllRecords(GetChildItem(item));
        if (iShellTreeItem* record = GetRecord(item)) {
            FreeShellTreeItem(allocator.get(), record);
            SetItemData(item, 0);
        }
    }
}

void iShellTreeCtrl::OnDestroy()
{
    // The system image list is the shell's: the tree must not destroy it with itself.
    SendMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
    FreeAllRecords(GetRootItem());
    iTreeCtrl::OnDestroy();
}
