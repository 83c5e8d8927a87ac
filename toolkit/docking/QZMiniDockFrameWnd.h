// The toolkit's floating frame: the small frame that holds a floating toolkit bar. For a
// toolbar or the menu bar it paints its own caption and borders in the XP or the classic
// look with the bar's name; a floating toolbar gets a close button of its own (and, when
// customisable, an options button) with hover and pressed states and tips. Caption drags,
// border resizes and caption double clicks go to the bar's drag context. It finishes its
// set-up once the bar is docked into it, and again when the look changes.
#pragma once

#include "framework/CollectionLists.h"
#include "framework/ControlsCommon.h"
#include "framework/ImageList.h"
#include "framework/MiniFrameWnd.h"

class CQZExpMenuWnd;
class CQZMiniDockFrameWnd;

// One caption button; the frame owns it.
struct QZ_CAPTIONBUTTON {
    enum Kind { close = 0, options = 1 };

    // Its rectangle for the frame's window rectangle rectWindow (on the screen when null);
    // bHidden says whether it fits the caption.
    CRect GetRect(LPCRECT lpRectWindow = nullptr);

    BYTE bHidden = 0;
    BYTE bHot = 0;
    BYTE bPressed = 0;
    // The last paint drew it highlighted (XP look: hot; classic look: sunk).
    BYTE bHighlighted = 0;
    int nKind = close;
    CQZMiniDockFrameWnd* pFrame = nullptr;
    CControlBar* pBar = nullptr;
};

class CQZMiniDockFrameWnd : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CQZMiniDockFrameWnd)
public:
    CQZMiniDockFrameWnd();
    ~CQZMiniDockFrameWnd() override;

    // The framework's frame, then the deferred set-up (posted) and the tips.
    BOOL Create(CWnd* pParent, DWORD dwBarStyle) override;

    virtual BOOL IsToolBar(CControlBar* pBar);
    virtual BOOL IsMenuBar(CControlBar* pBar);
    virtual BOOL IsDockWindow(CControlBar* pBar);
    virtual CDockBar* GetDockBar();
    // The first bar the frame holds, or null.
    virtual CControlBar* GetControlBar();
    using CFrameWnd::GetControlBar;
    virtual CDockContext* GetDockContext(CControlBar* pBar);
    // Paints one caption button into pDC for the window rectangle rectWindow.
    virtual void DrawCaptionButton(CDC* pDC, const CRect& rectWindow, QZ_CAPTIONBUTTON* pButton);
    // The tip of the close (or options) button at (x, y) on the screen.
    virtual void ShowCaptionTip(int x, int y, BOOL bClose);
    // 1: the XP look, 2: the classic look.
    static int GetLook();

    // The look of the last set-up; 0 before the first.
    int m_nLook = 0;
    // QZ_CAPTIONBUTTON records, close first.
    CPtrList m_listButtons;
    // The hidden-buttons popup of the options button while it is open.
    CQZExpMenuWnd* m_pDropDown = nullptr;
    QZ_CAPTIONBUTTON* m_pPressedButton = nullptr;
    CToolTipCtrl m_wndToolTip;
    CImageList m_imageList;

protected:
    afx_msg LRESULT OnInitControl(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDropDownClosed(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustomize();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void DeleteButtons();
    // Clears the hot, pressed and highlighted flags of the buttons drawn highlighted;
    // repaints when any was.
    void ClearHighlightedButtons();
    // Whether the frame holds a toolbar or the menu bar: then it paints its own caption.
    bool PaintsOwnCaption();
    bool HoldsSeveralBars();
};
