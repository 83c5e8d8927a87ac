// The base of every toolkit bar (toolbar, menu bar, docking window, rebar): borders and a
// gripper drawn in the classic or the XP look, flicker-free painting, the bar menu that
// lists the frame's bars, three 8-point fonts, the side the bar is docked at, routing of
// its children's notifications to its owner, flyby text that reaches the main window,
// and the private messages through which a rebar and a docking drag ask a bar about itself.
#pragma once

#include "framework/ControlBar.h"
#include "framework/GdiObjects.h"
#include "toolkit/foundation/QZMessages.h"

#include <windows.h>

#include <commctrl.h>

class CQZDockContextWndHook;

// Toolkit style (GetBarStyleEx) bit: a double gripper.
#define QZ_BARSTYLE_DOUBLE_GRIPPER 0x00000004L

// What a rebar hands its band's child bar with WM_QZ_BANDCHILDSIZE.
struct QZ_BANDCHILDSIZE {
    REBARBANDINFOA* pBandInfo;
    NMREBARCHILDSIZE* pChildSize;
};

// Order of the bars of one kind in the bar menu: the frame's list order, or its reverse
// (the newest bar first), as a dock bar's right click lists them.
enum class QZBarMenuOrder { ListOrder, NewestFirst };

// Tracks the menu of pFrame's bars at pPoint (screen): docking windows, toolbars, other
// toolkit bars and status bars, the visible ones checked; a chosen bar's id goes to pFrame
// as a command. TRUE.
BOOL QZShowFrameBarMenu(CPoint* pPoint, CFrameWnd* pFrame, QZBarMenuOrder order = QZBarMenuOrder::ListOrder);

class CQZControlBar : public CControlBar {
    DECLARE_DYNAMIC(CQZControlBar)
public:
    CQZControlBar();
    ~CQZControlBar() override;

    // Derived bars draw themselves.
    void DoPaint(CDC* pDC) override;
    // The framework's, then, when the owner has no status bar, the thread's main window.
    BOOL SetStatusText(int nHit) override;
    // Notifications and owner-drawing messages: the bar's map, else its owner.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Borders (two pixels each), then the margins, then 7 pixels for a gripper.
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;

    virtual void SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom);
    virtual void SetBorders(LPCRECT lpRect);
    virtual CRect GetBorders() const;
    virtual DWORD GetBarStyleEx() const;
    // The previous toolkit style.
    virtual DWORD SetBarStyleEx(DWORD dwStyleEx);
    virtual BOOL ModifyBarStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
    // Menu resource nMenuID's popup nPopupIndex replaces the bar menu on a right click; 0: the bar menu.
    virtual void SetContextMenu(UINT nMenuID, int nPopupIndex = 0);
    virtual UINT GetContextMenu() const;
    virtual void DrawGripper(CDC* pDC, const CRect& rect);
    // Draws the border lines (rect starts at 0, 0) and shrinks rect by them.
    virtual void DrawBorders(CDC* pDC, CRect& rect);
    // By the control id of the parent, the frame's dock bar of that side.
    virtual BOOL IsLeftDocked() const;
    virtual BOOL IsRightDocked() const;
    virtual BOOL IsTopDocked() const;
    virtual BOOL IsBottomDocked() const;
    virtual BOOL IsHorzDocked() const;
    virtual BOOL IsVertDocked() const;
    virtual BOOL IsUndocked() const;
    virtual COLORREF GetBackColor() const;
    virtual BOOL HasDockHooks() const;
    // Rebar band: the fixed layout as the minimum child size.
    virtual BOOL GetBandInfo(REBARBANDINFOA* pBandInfo, BOOL bHorz);
    virtual void OnBandChildSize(QZ_BANDCHILDSIZE* pChildSize, BOOL bHorz);
    virtual BOOL IsToolkitDragAllowed();
    // Whether a drag may take the bar into pFrame, another frame than its own: only with its
    // dock hooks.
    virtual BOOL CanDockInFrame(CFrameWnd* pFrame);
    // FALSE: the floating size stays as it is.
    virtual BOOL AdjustFloatSize(SIZE* pSize);
    // Moves the floating-frame hook to the bar's current frame when that is not its home.
    virtual void UpdateDockHooks();
    // The three fonts from the toolkit's fonts at 8 points.
    virtual void SetBarFont();
    // Tracks the menu of the frame's bars at the point; TRUE.
    virtual BOOL ShowBarMenu(CPoint* pPoint, CFrameWnd* pFrame);
    // Borders, back colour and gripper of the non-client area, in one blit.
    virtual void DrawNonClient();
    // The same into pDC, whose origin is the window's top-left corner.
    void PaintNonClient(CDC* pDC);

    // Stores the dock style, makes the bar's toolkit drag context when it has none; a bar
    // without an owner takes its parent as owner.
    void EnableDocking(DWORD dwDockStyle);
    // Off in this program: hooks that keep the bar attached to its home frame.
    void EnableDockHooks(BOOL bEnable);
    // The gripper bit set and not floating.
    BOOL HasGripper() const;
    // Aligned at the top or bottom.
    BOOL IsHorzBar() const;

    // Sizes and point of the resizable docking window, kept here for it.
    CSize m_sizeVert{200, 100};
    CSize m_sizeHorz{200, 100};
    CSize m_sizeFloat{200, 100};
    CSize m_sizeCurrent{200, 100};
    CPoint m_ptDocking{0, 0};
    // Written by the dock bar's layout and the docking window.
    BOOL m_bAloneInRow = FALSE;
    BOOL m_bExpanded = FALSE;
    DWORD m_dwStyleEx = 0x23;
    CQZDockContextWndHook* m_pFloatingHook = nullptr;
    CQZDockContextWndHook* m_pHomeHook = nullptr;
    // The bar's parent frame when its window was made.
    CFrameWnd* m_pHomeFrame = nullptr;
    int m_nContextMenuIndex = 0;
    UINT m_nContextMenuID = 0;
    // Set for good once a rebar asks for the bar's band.
    BYTE m_bInReBar = FALSE;
    // The bar reacts to a right click and is listed in bar menus.
    BYTE m_bMenuEnabled = TRUE;
    CFont m_fontBar;
    CFont m_fontVert;
    CFont m_fontBold;
    BYTE m_bDockHooks = FALSE;

protected:
    // The bar's window over the system's toolbar control, for the toolbar and the menu bar:
    // the borders, the CBRS_ bits of dwStyle as the bar style (hidden in place when nID is
    // the frame's main toolbar), its high word with dwCtrlStyle as the window's style.
    BOOL CreateToolBarWindow(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, const RECT& rcBorders, UINT nID);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcPaint();
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetBandInfo(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBandChildSizeMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCanToolkitDrag(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetFloatSize(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDragDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void DeleteDockHooks();
};
