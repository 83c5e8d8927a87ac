// Image menus: a window hook on the window that owns the menus. Just before a popup
// opens, its items become owner-drawn with a record each; the hook then measures and
// draws them itself, with the image of each command (from toolbar resources or bitmap
// strips) in a column at the left, in the classic or the XP look. When the menu loop
// ends, every converted item gets its plain form back. Personalised menus keep commands
// the owner names out of their popups until the user has used them recently, behind a
// chevron item that shows the full popup.
// Invariants: (1) a converted item is owner-drawn and its item data is its record;
// (2) every record is in its image menu's record list once, and lives until its menu is
// converted back or the image menu goes; (3) item data is only ever read as a record when
// it is one of the records alive (CQZItemData::FromItemData), so owner-drawn items of
// other code are never dereferenced.
#pragma once

#include "framework/CString.h"
#include "framework/CollectionArrays.h"
#include "framework/CollectionLists.h"
#include "framework/CollectionMaps.h"
#include "framework/Geometry.h"
#include "framework/ImageList.h"
#include "toolkit/foundation/QZWndHook.h"

#include <windows.h>

class CDC;
class CMenu;
class CQZToolBar;

// The tag every record carries: "velt" read as a little-endian 32-bit value.
#define QZ_ITEMDATA_TAG 0x746C6576
// Personal flags of a record.
#define QZ_PERSONAL_PREV_SHOWN 0x1  // the item above is not hidden: the run of hidden items starts here
#define QZ_PERSONAL_NEXT_SHOWN 0x2  // the item below is not hidden: the run ends here
#define QZ_PERSONAL_HIDDEN 0x4      // the command is hidden until used
// The text of the chevron item of a personalised popup.
#define QZ_CHEVRON_TEXT ">> chevron"

// The record of one converted menu item.
class CQZItemData {
public:
    CQZItemData();
    virtual ~CQZItemData();

    // The record whose address the item data holds, when it is a record alive and tagged;
    // null for anything else (null, a number, another program part's pointer).
    static CQZItemData* FromItemData(ULONG_PTR itemData);

    CString m_strText;       // the text when converted, with "&" markers and the accelerator after a tab
    BOOL m_bRemoved;         // taken out of its menu by personalised hiding
    HMENU m_hMenu;           // the menu that holds the item
    HMENU m_hSubMenu;        // the item's own popup, or null
    DWORD m_dwTag;           // QZ_ITEMDATA_TAG
    int m_nPosition;         // index in its menu when converted; -1 for the chevron
    int m_nImage;            // image index, -1 for none
    UINT m_nCommand;         // command id; -1 until set
    UINT m_nType;            // type bits when converted (MFT_OWNERDRAW included)
    UINT m_nState;           // state bits when converted, or when last taken out
    UINT m_nPersonal;        // QZ_PERSONAL_ flags
    UINT m_nSide;            // 0, or the CBRS_ALIGN_ side of the bar the popup was opened from

private:
    CQZItemData(const CQZItemData&) = delete;
    CQZItemData& operator=(const CQZItemData&) = delete;
};

class CQZPopupMenu;

class CQZCoolMenu : public CQZWndHook {
    DECLARE_DYNAMIC(CQZCoolMenu)
public:
    CQZCoolMenu();
    ~CQZCoolMenu() override;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Hooks the window that owns the menus.
    virtual BOOL Install(CWnd* pWnd);
    // Images.
    virtual BOOL AddToolbarImages(CQZToolBar* pBar);
    virtual BOOL LoadToolbar(UINT nIDToolbar);
    // Stops at the first resource that fails to load.
    virtual BOOL LoadToolbars(const UINT* pToolbars, int nCount);
    // Reserved: nothing is added; FALSE.
    virtual BOOL AddCommand(UINT nCommand);
    virtual BOOL AddHiddenCommand(UINT nCommand);
    virtual BOOL AddCommands(const UINT* pCommands, int nCount);
    virtual BOOL AddHiddenCommands(const UINT* pCommands, int nCount);
    // One image of the strip per command; a 0 command skips its image.
    virtual BOOL AddImages(HBITMAP hbmStrip, const UINT* pCommands, int nCount);
    virtual BOOL AddImagesFromResource(UINT nIDBitmap, const UINT* pCommands, int nCount);
    // The index of the first item with the command; -1 when none or not a menu.
    virtual int GetItemPosition(CMenu* pMenu, UINT nCommand);
    virtual void SetMaxRecentCommands(int nCount);
    virtual void ResetRecentCommands();
    // The label, and the accelerator text after a tab, in the rectangle.
    virtual void DrawMenuText(CDC* pDC, CRect rect, CString text, COLORREF color);
    // A check box with a tick, or with a round dot when hbmCheck is given.
    virtual void DrawCheck(CDC* pDC, const RECT* pCell, BOOL bSelected, BOOL bDisabled, HBITMAP hbmCheck);
    virtual void DrawChevron(CDC* pDC, CRect rect, BOOL bSelected);
    // Every item owner-drawn with a record, or back to its plain form.
    virtual void ConvertMenu(CMenu* pMenu, BOOL bToOwnerDraw);
    virtual BOOL IsCommandHidden(UINT nCommand);
    virtual BOOL IsPrevItemHidden(CMenu* pMenu, int nIndex);
    virtual BOOL IsNextItemHidden(CMenu* pMenu, int nIndex);
    virtual BOOL IsFirstItem(HMENU hMenu, int nPosition);
    virtual BOOL IsLastItem(HMENU hMenu, int nPosition, UINT nCommand);
    virtual BOOL UpdateChevron(CMenu* pMenu, BOOL bRemove);
    virtual BOOL IsSysMenu(CMenu* pMenu);
    virtual BOOL ShowHiddenItems(CMenu* pMenu);
    virtual void RemoveHiddenItems(CMenu* pMenu);
    virtual BOOL HasHiddenItems(CMenu* pMenu);
    virtual BOOL AddRecentCommand(UINT nCommand);
    virtual BOOL IsRecentCommand(UINT nCommand);
    // Stores one image for the command (the first image given for a command stays);
    // the icon is destroyed in every case.
    virtual void AddImage(UINT nCommand, HICON hIcon, int cx, int cy);
    virtual bool IsToolkitMenuActive();
    virtual void RemoveAllImages();
    virtual void OnSysColorChange();
    virtual void OnTimer(UINT nIDEvent);
    virtual void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    virtual BOOL MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual BOOL DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    virtual void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);

    // FALSE when the menu is not a menu; TRUE at or past its last index, else whether the
    // item there is a recorded separator.
    BOOL IsSeparatorAt(CMenu* pMenu, int nIndex);
    // The command's image index, -1 for none.
    int GetCommandImage(UINT nCommand) const;
    // The copy of the images the drawing uses, built when first asked for.
    CImageList* GetDrawingImages();

    // The next WM_INITMENUPOPUP passes through untouched (a system menu about to open).
    static void SkipNextInitMenuPopup();
    // The process's WH_CBT hook that watches menu windows come and go.
    static void InstallHook();
    static void RemoveHook();
    static LRESULT CALLBACK CbtHookProc(int nCode, WPARAM wParam, LPARAM lParam);

    CImageList m_ilImages;
    CImageList* m_pilDrawing = nullptr;
    CMapWordToPtr m_mapCommandImages;
    CUIntArray m_arrHiddenCommands;
    CSize m_sizeImage{16, 15};
    CSize m_sizeButton{16, 15};
    int m_nRecentCount = 5;
    UINT m_nExpandTimerID = 1000;
    UINT m_nExpandDelay = 750;
    BOOL m_bPersonalized = FALSE;
    bool m_bTimerRunning = false;
    BOOL m_bKeyboardCues = FALSE;
    BOOL m_bImagesNotCreated = TRUE;
    // wParam of the last WM_ENTERMENULOOP: the loop was started by TrackPopupMenu.
    BOOL m_bPopupLoop = FALSE;
    // The menus converted in the current menu loop, newest first, each once.
    CList<HMENU, HMENU> m_listConvertedMenus;
    // Every record this object made; it owns them.
    CList<CQZItemData*, CQZItemData*> m_listItemData;

    // Shared by every image menu, popup window and tracking call of the process.
    static int m_nSkipInitMenuPopup;
    static UINT m_nPopupSide;
    static CRect m_rcOpener;
    static CSize m_sizeMargin;
    static CSize m_sizeFrame;
    static bool m_bOldOS;
    static bool m_bShowFullMenus;
    static bool m_bChevronSelected;
    static bool m_bMenuBarLoopEnded;
    static HHOOK m_hCbtHook;

private:
    // Part of the window procedure: command 52783 fills the open popup in place, any
    // other command goes into the recent list.
    void OnCommand(WPARAM wParam);
    // The popup window handshake for a popup being initialised (not a system menu).
    void AttachPopupWindow(HMENU hMenu);
    // Writes the popup side into the records the side applies to.
    void MarkPopupSide(HMENU hMenu, UINT nSide);
    void DeleteItemData(CQZItemData* pData);

    CQZCoolMenu(const CQZCoolMenu&) = delete;
    CQZCoolMenu& operator=(const CQZCoolMenu&) = delete;
};

// Two chevrons pointing down, 5 pixels wide, drawn into pDC at (x, y) in the menu text colour.
void QZDrawChevronGlyph(CDC* pDC, int x, int y);
