// Stands in for the framework's menu object: an HMENU with a per-thread handle map.
// FromHandle gives the permanent object of a handle or a temporary one that lives until
// the thread's next idle clean-up (it survives modal menu loops); a temporary never
// destroys its handle. An object that holds a menu destroys it in its destructor
// unless the menu was detached first.
#pragma once

#include "CString.h"
#include "Object.h"

#include <windows.h>

class CWnd;
struct _AFX_THREAD_STATE;

class CMenu : public CObject {
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu();
    ~CMenu() override;

    HMENU m_hMenu;

    static CMenu* FromHandle(HMENU menu);
    // The object that holds the handle permanently, or null.
    static CMenu* FromHandlePermanent(HMENU menu);
    // FALSE for a null handle or when this object already holds a menu.
    BOOL Attach(HMENU menu);
    HMENU Detach();
    // Null for a null object: framework code calls it through pointers that may be null.
    HMENU GetSafeHmenu() const { return this ? m_hMenu : nullptr; }
    operator HMENU() const { return m_hMenu; }

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    // Loads from the framework's resource module.
    BOOL LoadMenu(LPCSTR resourceName);
    BOOL LoadMenu(UINT resourceId);
    BOOL DestroyMenu();

    CMenu* GetSubMenu(int position) const;
    // -1 when the object holds no menu or the handle is not a menu.
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int position) const;
    UINT GetMenuState(UINT id, UINT flags) const;
    int GetMenuString(UINT id, LPSTR text, int maxCount, UINT flags) const;
    int GetMenuString(UINT id, CString& text, UINT flags) const;
    // The structure's size field is set here to the size of this build's structure.
    BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition = FALSE);
    BOOL SetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition = FALSE);
    BOOL InsertMenuItem(UINT item, LPMENUITEMINFOA info, BOOL byPosition = FALSE);

    BOOL AppendMenu(UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr);
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr);
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idNewItem = 0, LPCSTR newItem = nullptr);
    BOOL RemoveMenu(UINT position, UINT flags);
    BOOL DeleteMenu(UINT position, UINT flags);

    UINT EnableMenuItem(UINT idEnableItem, UINT enable);
    DWORD CheckMenuItem(UINT idCheckItem, UINT check);
    BOOL CheckMenuRadioItem(UINT idFirst, UINT idLast, UINT idItem, UINT flags);

    // With TPM_RETURNCMD the chosen command (0 when none), otherwise success. The owner
    // window gets the menu's messages; without one the system shows nothing.
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect = nullptr);
    BOOL TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params);

private:
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
};

// Names hWnd and hMenu as the thread's tracking window and menu while a popup menu is
// tracked, so that handlers inside the modal loop can find them; puts back what a nested
// or earlier tracking left on every way out.
class CMenuTrackingScope {
public:
    CMenuTrackingScope(HWND hWnd, HMENU hMenu);
    ~CMenuTrackingScope();
    CMenuTrackingScope(const CMenuTrackingScope&) = delete;
    CMenuTrackingScope& operator=(const CMenuTrackingScope&) = delete;

private:
    _AFX_THREAD_STATE* m_pState;
    HWND m_hPreviousWindow;
    HMENU m_hPreviousMenu;
};
