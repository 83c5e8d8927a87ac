// The shell file list: construction and columns, the extension filter, refreshing with
// and without the kept focus, and the notifications it answers itself.
#include "lib/src/Win2/Wnd/iShellListCtrl.h"

#include <cstring>

namespace {

struct ColumnSpec {
    LPCSTR heading;
    int format;
    int widthPx;
};

const ColumnSpec kShellListColumns[] = {
    {"Name", LVCFMT_LEFT, 150},
    {"Size", LVCFMT_RIGHT, 80},
    {"Type", LVCFMT_LEFT, 80},
    {"Modified", LVCFMT_LEFT, 80},
};

// The shortcut arrow among the system's overlay images.
constexpr int kShortcutOverlay = 2;

} // namespace

IMPLEMENT_DYNAMIC(iShellListCtrl, iListCtrl)

BEGIN_MESSAGE_MAP(iShellListCtrl, iListCtrl)
    ON_NOTIFY_REFLECT(NM_RCLICK, OnRightClick)
    ON_NOTIFY_REFLECT(LVN_DELETEITEM, OnDeleteItem)
    ON_NOTIFY_REFLECT(LVN_GETDISPINFOA, OnGetDisplayInfo)
    ON_REGISTERED_MESSAGE(g_shellRefreshMessage, OnShellRefresh)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

iShellListCtrl::iShellListCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iListCtrl(parent, rect, style, text, id)
{
    Construct();
}

iShellListCtrl::iShellListCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                               LPVOID param)
    : iListCtrl(parent, rect, style, text, id, exStyle, param)
{
    Construct();
}

// The window goes here, while the handlers that free the records are still this class's.
iShellListCtrl::~iShellListCtrl()
{
    if (m_hWnd)
        DestroyWindow();
}

void iShellListCtrl::Construct()
{
    if (m_hWnd)
        InsertColumns();
    SetOnDblClk(iNotifyConnector(this, &iShellListCtrl::OnOpenItem));
}

void iShellListCtrl::InsertColumns()
{
    int column = 0;
    for (const ColumnSpec& spec : kShellListColumns) {
        InsertColumn(column, spec.heading, spec.format, spec.widthPx, column);
        ++column;
    }
}

void iShellListCtrl::SetTreeCtrl(iShellTreeCtrl* tree)
{
    m_treeCtrl = tree;
}

void iShellListCtrl::ClearExtensions()
{
    m_extensions.clear();
}

void iShellListCtrl::AddExtension(LPCSTR pattern)
{
    const char* dot = strrchr(pattern, '.');
    m_extensions.Insert(dot ? dot + 1 : pattern);
}

void iShellListCtrl::Refresh()
{
    if (!m_treeCtrl || !m_treeCtrl->GetSafeHwnd())
        return;
    HTREEITEM selected = m_treeCtrl->GetNextItem(nullptr, TVGN_CARET);
    iShellTreeItem* record = selected ? m_treeCtrl->GetRecord(selected) : nullptr;
    if (!record || !record->parentFolder || !record->relativeList)
        return;
    IShellFolder* folder = nullptr;
    if (FAILED(record->parentFolder->BindToObject(record->relativeList, nullptr, g_iidShellFolder,
                                                  reinterpret_cast<void**>(&folder))) || !folder)
        return;
    ShowFolder(record, folder);
    folder->Release();
}

// The old top item is found by its name, like the focused one: a file added before it
// moves it down, and the top index alone would then show the file before it. The focus
// goes first: a list may scroll to the item that takes it.
void iShellListCtrl::RefreshKeepSelection()
{
    const int topIndex = GetTopIndex();
    const CString topName = topIndex >= 0 && topIndex < GetItemCount() ? GetItemText(topIndex, kNameColumn) : CString();
    const int focused = GetFocusedItem();
    const CString focusedName = focused >= 0 ? GetItemText(focused, kNameColumn) : CString();
    Refresh();
    const int found = focusedName.IsEmpty() ? -1 : FindItemByText(-1, focusedName);
    if (found >= 0)
        SetItemFocus(found, TRUE);
    int top = topName.IsEmpty() ? -1 : FindItemByText(-1, topName);
    if (top < 0)
        top = topIndex;
    CRect bounds;
    if (top >= 0 && GetItemCount() > 0 && GetItemRect(0, &bounds, LVIR_BOUNDS))
        Scroll(CSize(0, bounds.Height() * (top - GetTopIndex())));
}

LRESULT iShellListCtrl::OnShellRefresh(WPARAM wParam, LPARAM)
{
    if (wParam == 1)
        Refresh();
    return 0;
}

int iShellListCtrl::ItemUnderCursor(CPoint& point) const
{
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    LVHITTESTINFO hit = {};
    hit.pt = point;
    const int item = HitTest(&hit);
    return (hit.flags & LVHT_ONITEM) ? item : -1;
}

BOOL iShellListCtrl::GetOpenPath(int item, CString& path) const
{
    const iShellListItem* record = GetRecord(item);
    char found[MAX_PATH];
    if (!record || !record->absoluteList || !::SHGetPathFromIDListA(record->absoluteList, found))
        return FALSE;
    path = found;
    return TRUE;
}

// The path comes from the item's own identifier list: its shown name may lack the extension.
void iShellListCtrl::OnOpenItem(CWnd*, NMHDR*, LRESULT* result)
{
    *result = 0;
    CPoint point;
    const int item = ItemUnderCursor(point);
    CString path;
    if (item < 0 || !GetOpenPath(item, path))
        return;
    if (GetRecord(item)->attributes & SFGAO_FOLDER) {
        if (m_treeCtrl)
            m_treeCtrl->SelectPath(path);
    } else {
        m_shell.OpenURL(path, SW_SHOW);
    }
}

// The menu is the shown folder's; a command from it may change the folder, so the list
// follows at once, keeping its place.
void iShellListCtrl::OnRightClick(NMHDR*, LRESULT* result)
{
    *result = 0;
    CPoint point;
    const int item = ItemUnderCursor(point);
    if (item < 0)
        return;
    ClientToScreen(&point);
    LVITEMA data = {};
    data.mask = LVIF_PARAM;
    data.iItem = item;
    CString folder;
    if (!GetItem(&data) || !m_treeCtrl || !m_treeCtrl->GetSelectedPath(folder))
        return;
    if (m_shell.DoContextMenuForPath(m_hWnd, folder, point.x, point.y))
        RefreshKeepSelection();
}

void iShellListCtrl::OnDeleteItem(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const auto* deleted = reinterpret_cast<const NMLISTVIEW*>(header);
    auto* record = reinterpret_cast<iShellListItem*>(deleted->lParam);
    ScopedShellAllocator allocator;
    if (record && allocator)
        FreeShellListItem(allocator.get(), record);
}

// Rows are inserted with their text and image; this answers the rare request for them
// from the item's own identifier lists.
void iShellListCtrl::OnGetDisplayInfo(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* request = reinterpret_cast<NMLVDISPINFOA*>(header);
    const iShellListItem* record = reinterpret_cast<const iShellListItem*>(request->item.lParam);
    if (!record)
        return;
    if ((request->item.mask & LVIF_IMAGE) && record->absoluteList) {
        request->item.iImage =
            m_shell.GetFileInfoIcon(record->absoluteList, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON);
        if (record->attributes & SFGAO_LINK) {
            request->item.mask |= LVIF_STATE;
            request->item.state = INDEXTOOVERLAYMASK(kShortcutOverlay);
            request->item.stateMask = LVIS_OVERLAYMASK;
        }
    }
    if ((request->item.mask & LVIF_TEXT) && request->item.pszText && request->item.cchTextMax > 0) {
        char name[MAX_PATH];
        if (record->parentFolder && record->relativeList &&
            m_shell.GetName(record->parentFolder, record->relativeList, SHGDN_NORMAL, name, sizeof name))
            lstrcpynA(request->item.pszText, name, request->item.cchTextMax);
    }
}

void iShellListCtrl::OnDestroy()
{
    // Records are freed here, whoever receives the deletions the window sends as it goes.
    ScopedShellAllocator allocator;
    if (allocator) {
        const int count = GetItemCount();
        for (int item = 0; item < count; ++item) {
            if (iShellListItem* record = GetRecord(item)) {
                FreeShellListItem(allocator.get(), record);
                SetItemData(item, 0);
            }
        }
    }
    // The system image lists are the shell's: the list must not destroy them with itself.
    SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, 0);
    SendMessage(LVM_SETIMAGELIST, LVSIL_SMALL, 0);
    CWnd::OnDestroy();
}
