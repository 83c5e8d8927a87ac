// The behaviour of a tab control that owns one child window per tab, usually a view:
// adding a tab attaches a window (an existing one, or a view made from a run-time class),
// selecting a tab shows and activates its window and hides the others, removing a tab
// hides or destroys its window. It keeps the parent frame's active view in step with the
// selected tab, tells its owner before and after the selection changes, gives each tab a
// tooltip, and can shorten the tab texts with "..." so that every tab fits (condensing).
#pragma once

#include "framework/CollectionLists.h"
#include "toolkit/controls/QZTabCtrlBase.h"

#include <windows.h>

class CDocument;
class CFrameWnd;
class CToolTipCtrl;
class CView;
struct CCreateContext;
struct CRuntimeClass;

// One tab: its window (not owned; the tab control is made its parent) and texts.
struct QZ_TCB_ITEM {
    CWnd* pTabWnd = nullptr;
    CString strLabel;  // the full tab text
    CString strTip;
    // The tab's tool id in the tooltip control: its index after every renumbering.
    UINT nTipID = 0;
    // The text condensing last gave the tab.
    CString strShown;
};

// Works on the window in m_pTabCtrl; the window class deriving from it (CQZTabCtrl) calls
// the handler bodies below from its message handlers. Owns the tab records.
class CQZTabCtrlBaseEx : public CQZTabCtrlBase {
public:
    CQZTabCtrlBaseEx();
    ~CQZTabCtrlBaseEx() override;

    // WM_SETFONT with the toolkit's font for the tabs' orientation.
    virtual void ApplyTabFont();
    virtual CToolTipCtrl* GetTipCtrl() const;
    virtual void SetTipCtrl(CToolTipCtrl* pTip);
    // A tool for the tab control with the text: the whole control for id 0, else an empty
    // rectangle the control keeps on its tab. FALSE without a tooltip control.
    virtual BOOL AddTabTip(UINT nTipID, LPCSTR lpszText);
    virtual void SetTabTipOf(CRuntimeClass* pClass, LPCSTR lpszText);
    virtual void SetTabTip(int nTab, LPCSTR lpszText);
    // Each record's tool id becomes its index, with its tip text.
    virtual void RenumberTabTips();
    virtual BOOL ActivateTabTips(BOOL bActivate);
    // nIndex -1 (or any index past the tabs) adds at the end; nImage -1 means the index.
    virtual BOOL AddTabWindow(LPCSTR lpszLabel, CWnd* pWnd, int nIndex = -1, int nImage = -1);
    // FALSE when the view cannot be made.
    virtual BOOL AddTabView(LPCSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc = nullptr,
                            CCreateContext* pContext = nullptr, int nIndex = -1, int nImage = -1);
    virtual BOOL InsertTab(LPCSTR lpszLabel, CWnd* pWnd, int nIndex = -1, int nImage = -1);
    // The tab's window when it still exists, else null.
    virtual CWnd* GetTabWindow(int nTab) const;
    virtual CWnd* FindTabWindow(CRuntimeClass* pClass) const;
    virtual CWnd* GetSelectedWindow() const;
    // Hides and disables every other tab's window, shows, enables, focuses and places this one.
    virtual void ShowTabWindow(CWnd* pWnd);
    virtual void SelectTab(int nTab);
    virtual void SelectTabWindow(CWnd* pWnd);
    virtual void SelectTabClass(CRuntimeClass* pClass);
    // bDestroy: the tab's window is destroyed, else hidden.
    virtual BOOL RemoveTabClass(CRuntimeClass* pClass, BOOL bDestroy);
    virtual BOOL RemoveTabWindow(CWnd* pWnd, BOOL bDestroy);
    virtual BOOL RemoveTab(int nTab, BOOL bDestroy);
    // The full tab text, or null.
    virtual LPCSTR GetTabTextOf(CRuntimeClass* pClass) const;
    virtual LPCSTR GetTabText(int nTab) const;
    // Moves the window onto the page.
    virtual void PlaceTabWindow(CWnd* pWnd);
    virtual void FreeTabRecord(POSITION pos, BOOL bDestroy);
    virtual BOOL ClearTabs();
    // The tab at a screen point ((0, 0): the cursor's); -1 when no tab is there.
    virtual int TabFromPoint(CPoint point = CPoint(0, 0)) const;
    virtual BOOL HasTabWindow(CWnd* pWnd) const;
    // ModifyStyle of the control, then the font of its (new) orientation.
    virtual BOOL ChangeTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    // The context menu: sub-menu nMenuPopup of menu resource nMenuRes; 0 for none.
    virtual void SetTabMenu(UINT nMenuRes, int nMenuPopup = 0);
    virtual UINT GetTabMenu() const;
    // Views made for tabs get WM_INITIALUPDATE.
    virtual void SetInitViews(BOOL bInitViews);
    virtual void OnTabChanging();
    virtual void OnTabChanged();
    // A view of the class as a child of the tab control, or null.
    virtual CWnd* CreateTabWindow(CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext);

    // Condensing on or off; the texts are condensed (or given back) at once.
    void SetCondense(BOOL bCondense);
    BOOL GetCondense() const { return m_bCondense; }
    // Shortens the widest texts a character at a time before a "..." until every tab fits
    // the control's width (height for vertical tabs) or every text is at its minimum.
    void CondenseTabTexts();

    // The frame's active view from before a tab's view was made active; null when there
    // is none or it no longer exists.
    CView* GetPrevFrameView() const;
    // Makes the remembered previous view the frame's active view again (with notification),
    // or no view (without) when it has gone, and forgets it.
    void RestorePrevFrameView(CFrameWnd* pFrame);

    // Handler bodies for the window class.
    // Posts the deferred set-up (from creation and from subclassing).
    void PostSetup();
    // WM_QZ_INITCONTROL: the deferred set-up when it is the latest one posted.
    void OnSetup(LPARAM lParam);
    // Frame and owner taken, font applied, tab windows placed, texts condensed.
    void OnInitialUpdate();
    // TCN_SELCHANGING and TCN_SELCHANGE; both allow the change.
    void OnSelChanging();
    void OnSelChange();
    // Around the default processing of WM_WINDOWPOSCHANGED.
    void OnBeforeWindowPosChanged(const WINDOWPOS* lpwndpos);
    void OnAfterWindowPosChanged();
    // WM_DESTROY before the base handler: WM_CLOSE to the tab windows still there.
    void OnDestroyTabs();
    // The context menu at point (client coordinates).
    void ShowTabMenu(CPoint point);
    // Ctrl+Tab, Ctrl+Shift+Tab and F6 switch tabs; TRUE when the message was taken.
    BOOL PreTranslateTabKeys(const MSG* pMsg);

    // The frame's active view before a tab's view became active, kept by its window: a view
    // deletes itself with its window, so the object is looked up again when needed.
    HWND m_hWndPrevFrameView = nullptr;
    // The control's parent, owner of the views made for tabs; set at the initial update.
    CWnd* m_pViewOwner = nullptr;
    // The frame whose active view is kept in step; set at the initial update.
    CFrameWnd* m_pFrame = nullptr;
    int m_nMenuPopup = 0;
    UINT m_nMenuRes = 0;
    BOOL m_bInitViews = FALSE;
    BOOL m_bCondense = FALSE;
    // One record per tab, in tab order.
    CList<QZ_TCB_ITEM*, QZ_TCB_ITEM*> m_listTabs;
    // Pairs the deferred set-up message with its latest post.
    int m_nSetupCount = 1;
    BOOL m_bSetupPending = FALSE;
    // The selection when the last change began.
    int m_nOldSel = -1;

private:
    QZ_TCB_ITEM* GetRecord(int nTab) const;
    int FindRecordOfWindow(const CWnd* pWnd) const;
    int FindRecordOfClass(CRuntimeClass* pClass) const;
    // When pWnd is the frame's active view, the previous view comes back.
    void ReleaseFrameView(CWnd* pWnd);
    // Sends a selection message to the tab control's owner.
    void NotifyOwner(UINT message);
};
