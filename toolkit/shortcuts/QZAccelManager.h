// The keyboard shortcuts of one toolkit frame: the frame's accelerator table as an
// editable array of ACCEL records that the manager installs on the frame, the list of
// the frame menu's commands (category = top-level menu, name = path of labels), shortcut
// texts for menus and dialogs, named shortcut sets in the toolkit's settings store, and
// the shortcut sheet run on the table.
// Stored form of a set: value "kbdAccel_<set name>" of section "Settings", the records one
// after another, 6 bytes each (fVirt, 0, key, command; little-endian), no header.
#pragma once

#include "framework/CString.h"
#include "framework/CollectionLists.h"
#include "framework/CollectionMaps.h"

#include <windows.h>

#include <vector>

class CComboBox;
class CFrameWnd;
class CWnd;

// One command of the frame's menu: its id and full name.
class CQZMapString : public CObject {
    DECLARE_DYNAMIC(CQZMapString)
public:
    CQZMapString(UINT nCmdID, LPCSTR lpszName) : m_nCmdID(nCmdID), m_strName(lpszName) {}

    UINT m_nCmdID;
    CString m_strName;
};

// The commands listed in place of one menu command: command id to name.
class CQZAccelSwapOutItemList : public CMap<UINT, UINT, CString, LPCSTR> {
public:
    CQZAccelSwapOutItemList() : CMap(10) {}
};

// A command the menu does not show, listed under a category.
struct QZ_EXTRA_ACCELITEM {
    CString strCategory;
    CString strName;
    UINT nCmdID;
};

class CQZAccelManager {
public:
    CQZAccelManager();
    // Persists the outcome of the editing (Close); the table installed on the frame stays
    // the frame's.
    virtual ~CQZAccelManager();

    // Reads the stored set into the table; FALSE (and no table) when none is stored.
    virtual BOOL Load(LPCSTR lpszSetName);
    // Stores the table under the set name; the store's result.
    virtual BOOL Save(LPCSTR lpszSetName);

    // Lists the frame menu's commands, then loads the stored set (or the frame's default
    // accelerators when none is stored) and installs it. Swap-out and extra items must be
    // added before.
    void BuildCommandList(CFrameWnd* pFrame, UINT nMenuID, UINT nAccelID, LPCSTR lpszTitle, LPCSTR lpszSetName);
    BOOL IsInitialized() const { return m_bInitialized; }

    BOOL LoadAndApply(LPCSTR lpszSetName, BOOL bApply);
    // After Reset All the stored set is deleted (the defaults apply at the next start);
    // after edits the table is stored. FALSE, with the edits still marked, when storing failed.
    BOOL Close();
    // The frame's default accelerators become the table (not installed).
    void LoadFrameAccelerators();
    void ResetToDefaults();
    // Installs the table as the frame's accelerator table; FALSE when it cannot be made.
    BOOL ApplyTable();

    BOOL AddShortcut(UINT nCmdID, BYTE fVirt, WORD wKey);
    // Shortcuts match on their modifiers (FSHIFT, FCONTROL, FALT) and key only.
    BOOL FindShortcut(BYTE fVirt, WORD wKey, UINT& nCmdID) const;
    // Removes the command's record with these modifiers and key: with two commands on one
    // combination, each keeps its own.
    BOOL RemoveShortcut(UINT nCmdID, BYTE fVirt, WORD wKey);

    // Appends the texts of all the command's shortcuts, ", " between them.
    void GetShortcutText(UINT nCmdID, CString& strText) const;
    // The command's next record from nPos on; nPos moves past it. FALSE at the end.
    BOOL GetNextShortcut(int& nPos, UINT nCmdID, CString& strText, BYTE& fVirt, WORD& wKey) const;
    static void GetAccelText(ACCEL accel, CString& strText);
    static CString GetKeyName(WORD wKey);
    static void StripMenuText(CString& strText);

    void AddCommand(UINT nCmdID, LPCSTR lpszName);
    // Walks the command list from a position that starts at its head.
    void GetNextCommand(POSITION& pos, UINT& nCmdID, CString& strName) const;
    POSITION GetFirstCommandPosition() const { return m_listCommands.GetHeadPosition(); }
    BOOL GetCommandName(UINT nCmdID, CString& strName) const;
    BOOL IsCommandInCategory(UINT nCmdID, LPCSTR lpszCategory) const;
    BOOL GetCommandCategory(UINT nCmdID, CString& strCategory) const;
    void FillCategoryCombo(CComboBox* pCombo) const;

    void AddSwapOutItem(UINT nMenuCmdID, UINT nCmdID, LPCSTR lpszName);
    void AddExtraItem(LPCSTR lpszCategory, UINT nCmdID, LPCSTR lpszName);

    // Runs the shortcut sheet on the table: OK installs the edits; Cancel puts back the
    // table, both flags and the frame's installed table as they were before the sheet.
    BOOL RunShortcutDialog(CWnd* pParentWnd);

    const CString& GetTitle() const { return m_strTitle; }
    UINT GetMenuID() const { return m_nMenuID; }
    int GetCount() const { return static_cast<int>(m_table.size()); }
    const ACCEL* GetTable() const { return m_table.data(); }
    BOOL IsReset() const { return m_bReset; }
    BOOL IsModified() const { return m_bModified; }

private:
    void WalkMenu(HMENU hMenu, const CString& strPath, const CString& strCategory);
    void ListCommand(UINT nCmdID, const CString& strName, const CString& strCategory);
    void AddExtraItemsOf(const CString& strCategory);
    // Puts hAccel on the frame; the table it replaces is destroyed only when the manager
    // made it. FALSE, with the frame unchanged, when that table will not go.
    BOOL InstallOnFrame(HACCEL hAccel);
    // Puts back the frame's table from before the sheet: the same handle when it still
    // exists, else a table made from its records.
    void ReinstallFrameTable(HACCEL hBefore, bool wasOwn, const std::vector<ACCEL>& beforeRecords);
    void DeleteOwnedItems();

    CFrameWnd* m_pFrame = nullptr;
    CString m_strSetName;
    CString m_strTitle;
    UINT m_nMenuID = 0;
    UINT m_nAccelID = 0;
    CList<CString, LPCSTR> m_listCategories;
    CList<CQZMapString*, CQZMapString*> m_listCommands;
    CMap<UINT, UINT, CString, LPCSTR> m_mapCommandCategories;
    CMap<UINT, UINT, CQZAccelSwapOutItemList*, CQZAccelSwapOutItemList*> m_mapSwapOutItems;
    CList<QZ_EXTRA_ACCELITEM*, QZ_EXTRA_ACCELITEM*> m_listExtraItems;
    std::vector<ACCEL> m_table;
    BOOL m_bReset = FALSE;
    BOOL m_bModified = FALSE;
    BOOL m_bInitialized = FALSE;
    // The table the manager made and installed last; the only one it ever destroys (a
    // table loaded from resources must not be destroyed).
    HACCEL m_hOwnTable = nullptr;

    CQZAccelManager(const CQZAccelManager&) = delete;
    CQZAccelManager& operator=(const CQZAccelManager&) = delete;
};

// The shortcut sheet as the manager runs it: IDOK when the user pressed OK. Replaceable so
// that a program or a test can put another dialog in its place.
using QZShortcutDialogFunction = INT_PTR (*)(CQZAccelManager* pManager, CWnd* pParentWnd);
// Returns the previous function; null restores the shortcut sheet.
QZShortcutDialogFunction QZSetShortcutDialogFunction(QZShortcutDialogFunction function);
