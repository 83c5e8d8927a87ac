// Stands in for the framework's control bar: the base of status bars, toolbars and the
// toolkit's bars. A bar joins its parent frame's bar list when created and leaves it
// when destroyed, takes its room through WM_SIZEPARENT (asking CalcDynamicLayout with
// the LM_ modes), updates its items at idle time through OnUpdateCmdUI, and passes the
// notifications its controls send to its owner after offering them to their objects.
// Bars with CBRS_TOOLTIPS show tips for their tools, bars with CBRS_FLYBY the prompt of
// the tool under the mouse in their owner frame's status bar. A bar with docking enabled
// owns a drag context: a press where it has no tool drags it, a double click docks or
// floats it; its place is recorded in and restored from a CControlBarInfo.
#pragma once

#include "Wnd.h"

class CControlBarInfo;
class CDockBar;
class CDockContext;

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    ~CControlBar() override;

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    // The client area less the borders named by the style and the four margins.
    virtual void CalcInsideRect(CRect& rect, BOOL bHorz) const;
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    virtual void DoPaint(CDC* pDC);
    virtual void DelayShow(BOOL bShow);
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    // Shows the prompt of command nHit (-1: the idle message) in the owner frame's status
    // bar; FALSE when the owner is not a frame.
    virtual BOOL SetStatusText(int nHit);

    void SetBarStyle(DWORD dwStyle);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
    // Visible, counting a show or hide that waits for the next layout.
    BOOL IsVisible() const;
    // Applies a waiting show or hide within the layout's batch; the style to lay out with.
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
    // The parent frame, or the dock site when there is none.
    CFrameWnd* GetDockingFrame() const;
    // Floating: a dock bar of a floating frame, or a bar docked in one.
    BOOL IsFloating() const;
    BOOL IsDockBar() const;
    void DrawBorders(CDC* pDC, CRect& rect);

    // Stores the sides the bar may dock on (CBRS_ALIGN_ bits, CBRS_FLOAT_MULTI), makes its
    // drag context when it has none, and takes the parent as owner when it has none.
    void EnableDocking(DWORD dwDockStyle);
    // The bar's id, visibility, place in its parent, most recent width and drag-context places.
    virtual void GetBarInfo(CControlBarInfo* pInfo);
    // Shows or hides the bar, moves it to the recorded place and takes back the rest.
    virtual void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrame);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Tooltips and flyby prompts from the mouse; keyboard messages go to the owner's
    // frames first (their accelerators), then through IsDialogMessage.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 6;
    int m_cyTopBorder = 1;
    int m_cyBottomBorder = 1;
    int m_cxDefaultGap = 2;
    int m_nMRUWidth = 32767;
    DWORD m_dwStyle = 0;      // CBRS_* bits
    DWORD m_dwDockStyle = 0;
    int m_nCount = 0;
    enum StateFlags { delayHide = 1, delayShow = 2 };
    UINT m_nStateFlags = 0;
    BOOL m_bAutoDelete = FALSE;
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;

protected:
    CControlBar();
    void PostNcDestroy() override;
    // The window of a bar over one of the system's bar controls: the CBRS_ bits of dwStyle
    // become the bar style, the rest the window's.
    BOOL CreateBarControl(LPCSTR lpszClassName, CWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // Notifications and owner-drawing messages: the bar's map first, else its owner, whose
    // answer lands in *pResult. FALSE for every other message, which is left untouched.
    BOOL RouteToOwner(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Shrinks rect by the two-pixel border of each side the style names.
    void DeflateByBorders(CRect& rect) const;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    // Shows the prompt of the tool under the mouse, or the idle message once it has left.
    void UpdateFlybyStatus(const MSG* pMsg);
    BOOL IsCursorOverBar() const;

    // Set while the destructor destroys the window: the object is already being deleted.
    bool m_bInDestructor = false;
};
