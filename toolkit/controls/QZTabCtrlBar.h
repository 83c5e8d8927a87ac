// The toolkit's tab control bar: a docking window whose child is a tab control with
// views, so a dockable, resizable pane with its tabs along the bottom edge, each tab
// showing one view or window. It passes the tab control's selection messages on to its
// own owner with its own id, keeps the frame's active view out of the pane while the
// pane does not have the focus (and always while it floats), and offers the tab
// control's operations as its own.
#pragma once

#include "toolkit/controls/QZTabCtrl.h"
#include "toolkit/docking/QZDockWindow.h"

class CImageList;

class CQZTabCtrlBar : public CQZDockWindow {
    DECLARE_DYNAMIC(CQZTabCtrlBar)
public:
    // Condensing and the initial update of the views made for tabs are on.
    CQZTabCtrlBar();
    ~CQZTabCtrlBar() override;

    // The docking window's update, then the frame's active view handed back when it lies
    // in this pane and the pane floats or does not have the focus.
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // In the XP look the tabs reach 5 pixels further down.
    void GetInsideRect(CRect& rect) const override;

    virtual CQZTabCtrl* GetTabCtrl();
    // The previous list, as the framework's temporary object when it has none of its own.
    virtual CImageList* SetTabImageList(CImageList* pImageList);
    virtual void SetTabMenu(UINT nMenuRes, int nMenuPopup = 0);
    virtual UINT GetTabMenu() const;
    virtual void GetPageRect(CRect& rect) const;
    virtual void PlaceTabWindow(CWnd* pWnd);
    virtual void ApplyTabFont();
    virtual BOOL ChangeTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    virtual CToolTipCtrl* GetTipCtrl() const;
    virtual void SetTipCtrl(CToolTipCtrl* pTip);
    virtual BOOL AddTabTip(UINT nTipID, LPCSTR lpszText);
    virtual void SetTabTipOf(CRuntimeClass* pClass, LPCSTR lpszText);
    virtual void SetTabTip(int nTab, LPCSTR lpszText);
    virtual void RenumberTabTips();
    virtual BOOL ActivateTabTips(BOOL bActivate);
    virtual BOOL AddTabWindow(LPCSTR lpszLabel, CWnd* pWnd, int nIndex = -1, int nImage = -1);
    // Image -1 (the tab's index).
    virtual BOOL AddTabView(LPCSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc = nullptr,
                            CCreateContext* pContext = nullptr, int nIndex = -1);
    virtual BOOL InsertTab(LPCSTR lpszLabel, CWnd* pWnd, int nIndex = -1);
    virtual CWnd* GetTabWindow(int nTab) const;
    virtual CWnd* FindTabWindow(CRuntimeClass* pClass) const;
    virtual CWnd* GetSelectedWindow() const;
    virtual void SelectTab(int nTab);
    virtual void SelectTabWindow(CWnd* pWnd);
    virtual void SelectTabClass(CRuntimeClass* pClass);
    virtual BOOL RemoveTabClass(CRuntimeClass* pClass, BOOL bDestroy);
    virtual BOOL RemoveTabWindow(CWnd* pWnd, BOOL bDestroy);
    virtual BOOL RemoveTab(int nTab, BOOL bDestroy);
    virtual LPCSTR GetTabTextOf(CRuntimeClass* pClass) const;
    virtual LPCSTR GetTabText(int nTab) const;
    virtual BOOL ClearTabs();
    virtual int TabFromPoint(CPoint point = CPoint(0, 0)) const;
    virtual BOOL HasTabWindow(CWnd* pWnd) const;
    // The tab control's WM_QZ_TABCHANGED and WM_QZ_TABCHANGING go on to the bar's owner
    // with the bar's own id; lParam stays the tab control.
    virtual LRESULT OnTabChanged(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnTabChanging(WPARAM wParam, LPARAM lParam);

    CQZTabCtrl m_tabCtrl;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    DECLARE_MESSAGE_MAP()

private:
    void NotifyOwner(UINT message, LPARAM lParam);
};
