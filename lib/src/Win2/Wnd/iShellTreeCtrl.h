// The shell namespace as a folder tree, from the Desktop down, folders only: children
// are filled when a folder is first expanded, with the shell's small icons and context
// menu. The selected folder becomes the process's current directory and is shown in a
// linked file list. A folder given by its path is selected by walking down from My
// Computer one component at a time.
#pragma once

#include "lib/src/Win2/Wnd/iShell.h"
#include "lib/src/Win2/Wnd/iTreeCtrl.h"

class iShellListCtrl;

// What each tree item carries as its data, allocated with the shell's task allocator.
// The Desktop item has the Desktop folder as its parent, an empty relative list and no
// absolute list.
struct iShellTreeItem {
    IShellFolder* parentFolder;  // where the item was enumerated; one reference held
    LPITEMIDLIST relativeList;   // one element, relative to parentFolder; owned
    LPITEMIDLIST absoluteList;   // from the Desktop; owned
};

class iShellTreeCtrl : public iTreeCtrl {
    DECLARE_DYNAMIC(iShellTreeCtrl)
public:
    // The enumeration flags a new tree starts with: folders and files (files are left out
    // when the tree is filled).
    static constexpr DWORD kDefaultEnumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;

    // The two forms of iTreeCtrl; the new tree shows the Desktop and its first level.
    iShellTreeCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iShellTreeCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Destroys the window while the items' records can still be freed.
    ~iShellTreeCtrl() override;

    // Makes the shell's small system image list the tree's; TRUE when it was set.
    virtual BOOL SetImageList();
    // Inserts folder's subfolders under parent in the order of the enumeration.
    virtual void FillChildren(IShellFolder* folder, LPCITEMIDLIST parentList, HTREEITEM parent);
    // Empties the tree and fills it again from the Desktop. While suppress is set,
    // selecting folders changes neither the current directory nor the list.
    virtual void Refill(bool suppress);
    // Selects the folder of path (a "Folder not found" box when it does not exist): the
    // drive under My Computer, then each component as far as the tree has it.
    virtual void SelectPath(CString path);
    virtual void SetListCtrl(iShellListCtrl* list);
    // The item's file-system path; TRUE when one was stored in path.
    virtual BOOL GetItemPath(HTREEITEM item, CString& path);
    // The selected folder's path; TRUE when one was stored in path.
    virtual BOOL GetSelectedPath(CString& path);
    // Selects the first of first and its following siblings whose drive (mode 0) or name
    // (mode 1) equals name, letter case aside; TRUE when one was selected.
    virtual BOOL SelectChild(HTREEITEM first, CString name, int mode);

    // Stores the enumeration flags; with refill, refills the tree with the suppress flag set.
    void SetEnumFlags(DWORD flags, bool refill);
    // Clears the suppress flag without moving the tree: from now on a selected folder
    // becomes current and shows in the list, starting with the one selected now.
    void FollowSelection();
    DWORD GetEnumFlags() const { return m_enumFlags; }
    bool IsSuppressed() const { return m_suppress; }
    // Sort callback: the items' shell order in their parent folder.
    static int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM sortParam);

    static iShellTreeItem* RecordOf(LPARAM data) { return reinterpret_cast<iShellTreeItem*>(data); }
    iShellTreeItem* GetRecord(HTREEITEM item) const { return RecordOf(static_cast<LPARAM>(GetItemData(item))); }

protected:
    afx_msg void OnDestroy();
    afx_msg void OnRightClick(NMHDR* header, LRESULT* result);
    afx_msg void OnDeleteItem(NMHDR* header, LRESULT* result);
    afx_msg void OnSelectionChanged(NMHDR* header, LRESULT* result);
    afx_msg void OnItemExpanding(NMHDR* header, LRESULT* result);
    afx_msg void OnGetDisplayInfo(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

    // The folder an item stands for, bound through its record; null when it has none.
    IShellFolder* BindItemFolder(const iShellTreeItem* record) const;
    // The selected folder scrolled into view with the folders above it.
    void ShowSelectionFromTheLeft();
    // The selected folder of record as the current directory and in the list, unless
    // selections are suppressed.
    void ShowSelectedFolder(iShellTreeItem* record);
    // The item's file-system path when its attributes have attribute.
    BOOL PathWithAttribute(HTREEITEM item, SFGAOF attribute, CString& path);
    // Frees every item's record now, so nothing depends on notifications while the
    // window goes.
    void FreeAllRecords(HTREEITEM first);
    void Construct();

    iShell m_shell;
    iShellListCtrl* m_listCtrl = nullptr;
    bool m_suppress = false;
    DWORD m_enumFlags = kDefaultEnumFlags;
};

// Frees a tree item record and what it holds; null does nothing.
void FreeShellTreeItem(IMalloc* allocator, iShellTreeItem* record);
