// The toolkit's menu bar: a control bar that takes the place of a frame's menu. It shows
// the top-level entries of a menu as flat items in the classic or the XP look, docks,
// floats and wraps like the toolkit's toolbar, opens the entries' popups as image menus
// and is worked from the keyboard as a window menu is (Alt, arrows, mnemonics, Escape).
// In an MDI frame whose active child is maximized it also shows the child's icon and its
// minimize, restore and close buttons, and it keeps the list of children in the "window"
// popup. Two window hooks, on the frame and on the MDI client, hand it the frame's menu
// messages. Its items are rebuilt, and every item index it holds is reset, whenever a
// menu is loaded, an MDI frame sets a menu, or the system settings change.
#pragma once

#include "framework/CollectionArrays.h"
#include "framework/CollectionMaps.h"
#include "framework/ControlsCommon.h"
#include "framework/ImageList.h"
#include "toolkit/bars/QZControlBar.h"
#include "toolkit/foundation/QZWndHook.h"

class CQZMenuBar;

// The menu bar's control id in a toolkit frame.
#define AFX_IDW_MENUBAR 0xE806

// The frame's hook: the frame's menu messages reach the bar.
class CQZMBarWndHook : public CQZWndHook {
    DECLARE_DYNAMIC(CQZMBarWndHook)
public:
    ~CQZMBarWndHook() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual BOOL Install(CQZMenuBar* pMenuBar, HWND hWnd);

    CQZMenuBar* m_pMenuBar = nullptr;

protected:
    // The messages both hooks handle alike (MDI menus, the MDI client's painting, the
    // frame's activation, commands); FALSE for any other message.
    BOOL HandleMenuBarMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// The MDI client's hook.
class CQZMBarMDIWndHook : public CQZMBarWndHook {
    DECLARE_DYNAMIC(CQZMBarMDIWndHook)
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// One item of the bar; its drawing, tracking and double click are handlers of its bar.
class CQZMenuBarItem : public CObject {
public:
    virtual BOOL IsHidden() const;
    virtual void Draw(CDC* pDC) = 0;
    // The mnemonic, when the item has one.
    virtual BOOL GetHotKey(char& ch) const;
    virtual CSize GetSize() const = 0;
    virtual BOOL CanWrap() const;
    // Room left after the item in its row.
    virtual int GetExtraSpace() const;
    virtual void Track();
    virtual void OnDblClick();

    // Top-left corner in the bar's client coordinates.
    CPoint m_ptOrigin{0, 0};
    CQZMenuBar* m_pBar = nullptr;
    // A new row (or column) starts after this item.
    bool m_bWrap = false;
};

// The maximized MDI child's icon, which opens its system menu.
class CQZSysMenuBarItem : public CQZMenuBarItem {
public:
    using DrawHandler = void (CQZMenuBar::*)(CDC*, CQZSysMenuBarItem*);
    using TrackHandler = void (CQZMenuBar::*)(CQZSysMenuBarItem*);
    using DblClkHandler = void (CQZMenuBar::*)(CQZSysMenuBarItem*);

    CQZSysMenuBarItem(CQZMenuBar* pBar, DrawHandler draw, TrackHandler track, DblClkHandler dblClk);
    BOOL IsHidden() const override;
    void Draw(CDC* pDC) override;
    CSize GetSize() const override;
    int GetExtraSpace() const override;
    void Track() override;
    void OnDblClick() override;

    DrawHandler m_pfnDraw;
    TrackHandler m_pfnTrack;
    DblClkHandler m_pfnDblClk;
};

// A top-level entry of the menu that has a text.
class CQZSubMenuBarItem : public CQZMenuBarItem {
public:
    using DrawHandler = void (CQZMenuBar::*)(CDC*, CQZSubMenuBarItem*);
    using TrackHandler = void (CQZMenuBar::*)(CQZSubMenuBarItem*);

    CQZSubMenuBarItem(CQZMenuBar* pBar, DrawHandler draw, TrackHandler track, int nPosition, const CString& text,
                      CSize size, char mnemonic);
    void Draw(CDC* pDC) override;
    BOOL GetHotKey(char& ch) const override;
    CSize GetSize() const override;
    // The popup opens without the bar's toolkit shadow when the bar sits at the right or bottom.
    void Track() override;

    DrawHandler m_pfnDraw;
    TrackHandler m_pfnTrack;
    int m_nPosition;  // the entry's position in the menu
    CString m_strText;
    CSize m_size;
    char m_chMnemonic;  // 0 for none
};

// The maximized MDI child's minimize, restore or close button.
class CQZControlMenuBarItem : public CQZMenuBarItem {
public:
    using DrawHandler = void (CQZMenuBar::*)(CDC*, CQZControlMenuBarItem*);

    CQZControlMenuBarItem(CQZMenuBar* pBar, DrawHandler draw, UINT nFrameControl, UINT nCommand, int nExtraSpace);
    BOOL IsHidden() const override;
    void Draw(CDC* pDC) override;
    CSize GetSize() const override;
    // Only the restore button ends a row.
    BOOL CanWrap() const override;
    int GetExtraSpace() const override;

    DrawHandler m_pfnDraw;
    UINT m_nFrameControl;  // DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE or DFCS_CAPTIONCLOSE
    UINT m_nCommand;       // SC_MINIMIZE, SC_RESTORE or SC_CLOSE
    int m_nExtraSpace;
};

// Which items GetVisibleItems lists.
#define QZ_MBI_MENUITEMS 1
#define QZ_MBI_CONTROLBUTTONS 2
#define QZ_MBI_ALL 3

// Which item a popup opened from the keyboard selects (none for the mouse).
#define QZ_MBS_NONE 0
#define QZ_MBS_FIRST 1
#define QZ_MBS_LAST (-1)

// Tracking states.
#define QZ_MBT_IDLE 0
#define QZ_MBT_KEYBOARD 1
#define QZ_MBT_POPUP 2

class CQZMenuBar : public CQZControlBar {
    DECLARE_DYNAMIC(CQZMenuBar)
public:
    CQZMenuBar();
    ~CQZMenuBar() override;

    // TRUE: the frame's message was handled here.
    virtual BOOL TranslateFrameMessage(MSG* pMsg);
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // FALSE when the window cannot be made: the parent keeps its menu and nothing is hooked.
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID);
    using CWnd::CreateEx;
    virtual BOOL AddHiddenCommand(UINT nCommand);
    virtual BOOL AddHiddenCommands(const UINT* pCommands, int nCount);
    // Where a popup of the item at rect (screen) opens, and the part of the screen it
    // must not cover, by the side the bar is docked at.
    virtual CPoint* CalcPopupPoint(CPoint* pPoint, const CRect& rect, TPMPARAMS* pParams);
    virtual void RefreshWindowMenu();
    virtual BOOL OnControlButtonMouse(UINT message, UINT nFlags, CPoint point);
    // The first listed item whose rectangle holds the client point (right and bottom
    // edges excluded), or -1; -1 off the client area.
    virtual int HitTestItem(CPoint point, const int* pFirst, const int* pEnd);
    // TRUE: the open popup's input message is eaten.
    virtual BOOL OnMenuInput(MSG* pMsg, BOOL bClientPoint);
    virtual int GetTrackingState(int* pItem);
    virtual void OnInitWindowMenu();
    virtual void ShowControlButtonTip(CPoint point, int nFrameControl);

    // Loading menus.
    BOOL LoadMenuBar(UINT nIDResource);
    BOOL LoadMenuBar(LPCSTR lpszResourceName);
    // Shows hMenu's entries (both null: the default menu); the menu shown before.
    HMENU BuildMenuItems(HMENU hMenu, HMENU hWindowMenu);
    HMENU GetMenuHandle() const { return m_hMenu; }

    // Items and geometry.
    int* GetVisibleItems(int* pFirst, int* pEnd, UINT nWhich);
    CRect* GetItemRect(CRect* pRect, CQZMenuBarItem* pItem);
    void RecalcAndRedraw();
    void SetKeyboardCues(bool bCues);
    // The text's width in the bar's font without its mnemonic markers, plus 14.
    static int MeasureItemText(CDC* pDC, const CString& text);
    // The character after the first single "&" that is not the last one; 0 for none.
    static char FindMnemonic(const CString& text);

    // Layout.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    CSize CalcLayout(DWORD dwMode, int nLength);
    void WrapToLength(int nLength, BOOL bHorz);
    int WrapItems(int nWidth);
    void LayoutItems(BOOL bHorz);
    CSize CalcItemsExtent(BOOL bHorz);
    int GetAvailableLength(BOOL bHorz);
    CSize GetBorderSize(BOOL bHorz);

    // Drawing. PaintClient draws the client area at rect of pDC, off screen, as a paint does.
    void PaintClient(CDC* pDC, const CRect& rect);
    // A popup is open for the current item and the XP look gives it a shadow.
    bool HasOpenItemShadow();
    void DrawSubMenuItem(CDC* pDC, CQZSubMenuBarItem* pItem);
    void DrawItemText(CDC* pDC, CRect rect, CQZSubMenuBarItem* pItem, BOOL bHorz);
    void DrawItemTextHorz(CDC* pDC, CRect rect, CQZSubMenuBarItem* pItem);
    void DrawItemTextVert(CDC* pDC, CRect rect, CQZSubMenuBarItem* pItem, COLORREF color);
    CFont* GetItemFont();
    // The CBRS_ALIGN_ side the bar is docked at; the top when it floats.
    UINT GetDockSide();

    // Tracking and keyboard.
    void ResetTracking();
    void SetTrackingState(int nState, int nItem);
    void ToggleKeyboardMode();
    void SetHotItem(int nItem);
    void SetPressedItem(int nItem);
    int GetNextOrPrevItem(int nItem, BOOL bPrevious);
    // Opens the item's popup and, one after the other, those the user moves to.
    void TrackMenu(int nItem);
    void TrackPopup(CQZSubMenuBarItem* pItem);
    void CancelMenuAndTrack(int nItem);
    // The popup that opens next selects its first (QZ_MBS_FIRST) or last (QZ_MBS_LAST)
    // enabled item, as a popup opened from the keyboard does; QZ_MBS_NONE for the mouse.
    void SelectOnOpen(int nWhich) { m_nSelectOnOpen = nWhich; }
    static LRESULT CALLBACK MenuInputFilter(int nCode, WPARAM wParam, LPARAM lParam);
    void OnMenuSelect(HMENU hMenu, UINT nItemID);
    // The in-place server's window for a frame message that belongs to it, or null.
    HWND FilterFrameMenuMessage(BOOL* pSend, UINT message, WPARAM wParam, LPARAM lParam);
    BOOL MapServerMenus();
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    // MDI.
    void SyncMDIMaximized(BOOL bRecalc);
    DWORD GetActiveChildStyle();
    // The active child frame of the top-level frame (the frame itself without children).
    CFrameWnd* GetActiveFrame();
    void DrawSysMenuItem(CDC* pDC, CQZSysMenuBarItem* pItem);
    void TrackSystemMenu(CQZSysMenuBarItem* pItem);
    void OnSysMenuDblClk(CQZSysMenuBarItem* pItem);
    void DrawControlItem(CDC* pDC, CQZControlMenuBarItem* pItem);
    void DrawControlButton(CDC* pDC, CRect rect, UINT nFrameControl, BOOL bHot, BOOL bPressed);

    // Overrides of the framework's and the toolkit's bar.
    int OnToolHitTest(CPoint point, TOOLINFOA* pTI) override;
    void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
    BOOL IsHorzDocked() const override;
    BOOL IsUndocked() const override;
    COLORREF GetBackColor() const override;
    BOOL GetBandInfo(REBARBANDINFOA* pBandInfo, BOOL bHorz) override;
    void OnBandChildSize(QZ_BANDCHILDSIZE* pChildSize, BOOL bHorz) override;
    BOOL IsToolkitDragAllowed() override;
    BOOL AdjustFloatSize(SIZE* pSize) override;

    CTypedPtrArray<CObArray, CQZMenuBarItem*> m_arrItems;
    CString m_strValueName;
    CString m_strKeyName;
    CUIntArray m_arrHiddenCommands;
    CMap<long, long, int, int> m_mapServerItems{10};
    CQZMBarWndHook* m_pFrameHook = nullptr;
    CQZMBarMDIWndHook* m_pMDIHook = nullptr;
    CPoint m_ptLastMouse{0, 0};
    int m_nPressedItem = -1;
    int m_nPressedButton = -1;
    int m_nHotItem = -1;
    UINT m_nTimerID = 1000;
    UINT m_nTimerDelay = 4500;
    int m_nPopupItem = -1;
    int m_nNextItem = -1;
    int m_nCurrentItem = -1;
    UINT m_nMenuID = 0;
    int m_nFixedLength = -1;
    BOOL m_bShowUnderlines = TRUE;
    BOOL m_bFrameActive = TRUE;
    BOOL m_bChildMaximized = FALSE;
    HWND m_hWndMDIClient = nullptr;
    HMENU m_hMenu = nullptr;
    // The popup being tracked, while it is open.
    HMENU m_hPopupMenu = nullptr;
    HMENU m_hDefaultMenu = nullptr;
    HMENU m_hWindowMenu = nullptr;
    int m_nTrackingState = QZ_MBT_IDLE;
    bool m_bTimerRunning = false;
    bool m_bMoreWindows = true;
    bool m_bAlignButtons = true;
    bool m_bMousePointValid = false;
    bool m_bShowMDIItems = true;
    bool m_bPressedInside = false;
    bool m_bRightToNext = false;
    bool m_bLeftToPrev = false;
    bool m_bBackToKeyboardMode = false;
    bool m_bMouseSeen = false;
    // QZ_MBS_ value for the popup that opens next; used up when it opens.
    int m_nSelectOnOpen = QZ_MBS_NONE;
    CToolTipCtrl m_wndToolTip;
    CImageList m_ilButtons;

    static bool m_bKeyboardCues;
    static bool m_bFullMenus;
    static CQZMenuBar* m_pTrackingBar;
    static HHOOK m_hMsgHook;
    static int m_nHookCount;

protected:
    void DeleteItems();
    // The owner window, or the parent without one.
    HWND OwnerWindow() const;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    afx_msg LRESULT OnSelectOpenItem(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
