// The items of one shell folder in four columns, Name, Size, Type and Modified, with the
// shell's small icons: the folder selected in a linked folder tree, optionally only the
// files of a set of extensions. It refreshes itself on g_shellRefreshMessage and can
// refill while keeping the focused item and the scroll position. A double click opens
// the file with its program or selects a folder in the tree; a right click shows the
// shell menu of the folder shown.
#pragma once

#include "lib/src/Win2/Wnd/iListCtrl.h"
#include "lib/src/Win2/Wnd/iShell.h"
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"
#include "lib/src/iStringSet.h"

#include <map>
#include <string>

// What each list item carries as its data, allocated with the shell's task allocator.
// A file's path is SHGetPathFromIDList of its absolute list.
struct iShellListItem {
    IShellFolder* parentFolder;  // the folder shown; one reference held
    LPITEMIDLIST relativeList;   // one element, relative to parentFolder; owned
    LPITEMIDLIST absoluteList;   // from the Desktop; owned
    DWORD attributes;            // GetAttributesOf with kItemAttributeMask, as answered
};

class iShellListCtrl : public iListCtrl {
    DECLARE_DYNAMIC(iShellListCtrl)
public:
    // The attributes asked for every item: SFGAO_LINK, SFGAO_SHARE, SFGAO_READONLY,
    // SFGAO_GHOSTED and the rest of that byte.
    static constexpr DWORD kItemAttributeMask = 0xFC000;
    enum Column { kNameColumn, kSizeColumn, kTypeColumn, kModifiedColumn };

    // The two forms of iListCtrl, with the columns inserted; the image lists are set at
    // the first show.
    iShellListCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iShellListCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Destroys the window while the items' records can still be freed.
    ~iShellListCtrl() override;

    virtual void InsertColumns();
    // Shows the linked tree's selected folder again.
    virtual void Refresh();
    virtual void SetTreeCtrl(iShellTreeCtrl* tree);
    // Makes the shell's small and large system image lists the list's; TRUE when both were set.
    virtual BOOL SetImageLists();
    // Adds folder's items (treeRecord is the tree item that stands for it); FALSE when a
    // shell call failed, with the items added so far kept.
    virtual BOOL FillFolder(iShellTreeItem* treeRecord, IShellFolder* folder);
    // Empties the list and fills it from folder, with drawing held back and the wait cursor.
    virtual BOOL ShowFolder(iShellTreeItem* treeRecord, IShellFolder* folder);
    // Adds the file at path (relative: a name in the tree's selected folder) at the end;
    // its index, or -1 when the file cannot be found.
    virtual int AddFileItem(const CString& path, CString displayName, BOOL relative);
    // Sorting is not offered: TRUE, nothing else.
    virtual BOOL SortItems(int column, bool ascending);

    // Refreshes, then gives the focus back to the item with the focused item's name and
    // scrolls the old top item back to the top. The selection is left alone.
    void RefreshKeepSelection();
    // Filter: an empty set shows every item. A pattern adds the text after its last dot
    // ("*.jpg" adds jpg), as written; items are compared by their extension in lower case.
    // Neither refills the list.
    void ClearExtensions();
    void AddExtension(LPCSTR pattern);

    iShellListItem* GetRecord(int item) const { return reinterpret_cast<iShellListItem*>(GetItemData(item)); }

    int m_sortColumn = -1;  // none
    bool m_sortAscending = true;
    DWORD m_enumFlags = iShellTreeCtrl::kDefaultEnumFlags;  // for EnumObjects; users set it directly

protected:
    afx_msg void OnRightClick(NMHDR* header, LRESULT* result);
    afx_msg void OnDeleteItem(NMHDR* header, LRESULT* result);
    afx_msg void OnGetDisplayInfo(NMHDR* header, LRESULT* result);
    afx_msg LRESULT OnShellRefresh(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // The list's own double-click handling: opens the file, or selects a folder in the tree.
    void OnOpenItem(CWnd* sender, NMHDR* header, LRESULT* result);
    // The item under the cursor (client coordinates in point), or -1.
    int ItemUnderCursor(CPoint& point) const;
    // The path that opening the item uses: its own file-system path, extension included
    // whatever the shell shows.
    BOOL GetOpenPath(int item, CString& path) const;
    void Construct();

    // The row of one enumerated item, as AddFileItem shows its path, from what the fill
    // already holds: the item's folder and list give its icon without a second walk from
    // the Desktop, the enumeration its display name, and type names are asked once per
    // extension of plain files. -1 when the file cannot be found by its path.
    int AddEnumeratedItem(IShellFolder* folder, LPCITEMIDLIST element, const CString& path,
                          const CString& displayName);
    // A new last row with the file's size and date; -1 when the insertion fails.
    int InsertFileRow(const CString& name, int icon, const CString& typeName, const WIN32_FILE_ATTRIBUTE_DATA& file);
    CString CachedTypeName(const CString& path, DWORD fileAttributes);

    iShell m_shell;
    iShellTreeCtrl* m_treeCtrl = nullptr;
    iStringSet m_extensions;
    // Type names by lower-case extension, kept for one fill so a changed association
    // shows at the next.
    std::map<std::string, CString> m_typeNames;
};

// Frees a list item record and what it holds; null does nothing.
void FreeShellListItem(IMalloc* allocator, iShellListItem* record);
