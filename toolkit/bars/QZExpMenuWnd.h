// The hidden-buttons popup: the small window a toolbar's chevron (or a floating toolbar's
// options button) opens next to itself. It shows copies of the buttons that no longer fit
// on the bar in rows of its own toolbar and, for a customisable toolbar, a "Customize..."
// item below them. A copied button's command reaches the toolbar's owner as the toolbar's
// own button would, after the popup has closed.
#pragma once

#include "toolkit/bars/QZToolBar.h"
#include "toolkit/foundation/QZWndHook.h"

class CQZExpMenuWnd;

// The popup's background: the XP menu colour in the XP look, the menu colour otherwise.
COLORREF QZGetPopupBackColor();

// The toolbar inside the popup: the popup's colour behind its buttons in both looks.
class CQZHiddenButtonsToolbar : public CQZToolBar {
    DECLARE_DYNAMIC(CQZHiddenButtonsToolbar)
public:
    ~CQZHiddenButtonsToolbar() override;

    COLORREF GetBackColor() const override;
    BOOL HasOwnBackground() override;
    // The source toolbar hears the colour popup's choice too.
    CQZColorPopup* ShowColorPopup(QZ_DROPDOWNBUTTON* pInfo, RECT rcButton) override;

    // The popup that holds the bar of hidden buttons; null for the customise bar.
    CQZExpMenuWnd* m_pMenuWnd = nullptr;
};

// Watches the toolbar owner's messages while the popup is open: the owner keeps its
// active caption, and a command chosen in the popup closes it and reaches the owner.
class CQZHiddenButtonsWndHook : public CQZWndHook {
    DECLARE_DYNAMIC(CQZHiddenButtonsWndHook)
public:
    ~CQZHiddenButtonsWndHook() override;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    CQZExpMenuWnd* m_pMenuWnd = nullptr;
};

// Lives for one opening and deletes itself when its window is gone; an object whose window
// could not be made is its opener's to delete (Open does both).
class CQZExpMenuWnd : public CWnd {
    DECLARE_DYNAMIC(CQZExpMenuWnd)
public:
    // pNotifyWnd is posted nNotifyMsg (0, 0) when the popup is destroyed.
    CQZExpMenuWnd(CWnd* pNotifyWnd, UINT nNotifyMsg);
    ~CQZExpMenuWnd() override;

    // Builds, sizes, places and shows the popup for the button at rcButton (screen
    // coordinates) of pToolBar; FALSE when its window or one of its bars cannot be made.
    BOOL Create(CRect rcButton, CQZToolBar* pToolBar);
    // A new popup, made and shown; null, and nothing left behind, when it cannot be.
    static CQZExpMenuWnd* Open(CWnd* pNotifyWnd, UINT nNotifyMsg, const CRect& rcButton, CQZToolBar* pToolBar);
    // Whether pPopup is a popup whose window still exists. An opener keeps its pointer
    // until the posted closing message arrives, and by then the popup may be gone.
    static BOOL IsOpen(const CQZExpMenuWnd* pPopup);

    // Only the first request destroys the window; the rest, made while it goes, answer TRUE.
    BOOL DestroyWindow() override;

    CQZHiddenButtonsToolbar m_wndHiddenButtons;
    CQZHiddenButtonsToolbar m_wndCustomize;
    CQZHiddenButtonsWndHook m_hookOwner;
    // The opener's button on the screen; empty until Create.
    CRect m_rectButton;
    CQZToolBar* m_pToolBar = nullptr;
    UINT m_nNotifyMsg;
    CWnd* m_pNotifyWnd;
    bool m_bDestroying = false;

protected:
    void PostNcDestroy() override;
    // The width and height the non-client frame adds to a client area.
    CSize GetNonClientSize();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnCustomize();
    DECLARE_MESSAGE_MAP()

private:
    // Set while Create makes the window: a window that fails to be made must not delete
    // its object, which the opener still holds.
    bool m_bCreating = false;
    // Makes one of the two bars; FALSE when its window cannot be made.
    BOOL CreateBar(CQZHiddenButtonsToolbar& bar, DWORD dwCtrlStyle, DWORD dwBarStyle);
};
