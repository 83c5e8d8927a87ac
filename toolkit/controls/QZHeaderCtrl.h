// Header controls of report-view lists. CQZHeaderCtrl adds fixed (non-resizable) columns,
// a minimum column width and fitting the columns to the header's width; CQZFlatHeaderCtrl
// adds a flat look, a sort arrow on the sort column and a right-click menu that sorts the
// clicked column or sets its alignment. Both expect to be a list's header: the list (a
// list control or list view) is the header's parent.
#pragma once

#include "framework/CollectionArrays.h"
#include "framework/ControlsListView.h"
#include "framework/Geometry.h"
#include "toolkit/res/ToolkitResources.h"

// The built-in right-click menu is this sub-menu of the toolkit's menu IDR_QZ_HEADER_MENU.
#define QZ_HEADER_MENU_POPUP 2

class CQZHeaderCtrl : public CHeaderCtrl {
    DECLARE_DYNAMIC(CQZHeaderCtrl)
public:
    CQZHeaderCtrl();

    // Whether the screen reads right to left (a screen DC's text alignment).
    virtual BOOL IsRightToLeft();
    // Shares the width out among the columns that are not fixed.
    virtual void DistributeWidth(int nWidth);
    // 0: the header's width less a vertical scroll bar and the fixed columns.
    virtual void FitColumns(int nWidth = 0);
    virtual int GetFixedColumnsWidth();

    // Set by the owner.
    void SetMinColumnWidth(int nWidth) { m_nMinWidth = nWidth; }
    void SetFitToWidth(BOOL bFit) { m_bFitToWidth = bFit ? 1 : 0; }
    void AddFixedColumn(UINT nColumn) { m_arrFixedColumns.Add(nColumn); }
    void RemoveFixedColumns() { m_arrFixedColumns.RemoveAll(); }
    // The reading order found at construction; a test sets the one it needs.
    void SetRightToLeft(BOOL bRightToLeft) { m_bRightToLeft = bRightToLeft ? 1 : 0; }
    BOOL IsFixedColumn(int nColumn) const;

    int m_nMinWidth;
    BYTE m_bRightToLeft;
    BYTE m_bFitToWidth;
    CUIntArray m_arrFixedColumns;

protected:
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnItemChanging(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};

class CQZFlatHeaderCtrl : public CQZHeaderCtrl {
    DECLARE_DYNAMIC(CQZFlatHeaderCtrl)
public:
    CQZFlatHeaderCtrl();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // A menu of the program's own in place of the built-in one (0: the built-in one).
    virtual void SetPopupMenu(UINT nMenuID, int nSubMenu);
    virtual void SetFontBold(BOOL bBold);
    virtual void SetHeaderFont(BOOL bBold);
    // The previous sort column.
    virtual int SetSortImage(int nColumn, BOOL bAscending);
    virtual void ShowSortArrow(BOOL bShow);
    virtual int ItemFromPoint(CPoint point);
    // An LVCFMT justification for the column under the last right click; 0.
    virtual int SetAlignment(int nFormat);
    virtual void DrawFlatBorders(CDC* pDC, CRect& rect);
    virtual int GetItemCount();
    // Writes the display order of nCount items (-1: all) into piArray, which holds
    // nCapacity entries; FALSE, writing nothing, when they would not fit.
    virtual BOOL GetOrderArray(LPINT piArray, int nCount, int nCapacity);
    virtual BOOL GetItemRect(int nIndex, LPRECT lpRect);

    int GetSortColumn() const { return m_nSortColumn; }
    int GetSortDirection() const { return m_nSortDirection; }

    CPoint m_ptLastRClick;
    UINT m_nMenuRes;
    int m_nMenuPopup;
    int m_nMargin;
    int m_nSortColumn;
    int m_bLButtonDown;
    // 1 ascending, 0 descending, -1 none yet.
    int m_nSortDirection;
    int m_bShowSortArrow;
    int m_bRClickMenu;
    BYTE m_bSetupPending;

protected:
    void PreSubclassWindow() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg LRESULT OnDeferredSetup(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSortAscending();
    afx_msg void OnSortDescending();
    afx_msg void OnAlignLeft();
    afx_msg void OnAlignCenter();
    afx_msg void OnAlignRight();
    DECLARE_MESSAGE_MAP()

private:
    // The header's parent when it is a list control or a list view, else null.
    CWnd* GetListWnd() const;
    // Sortable unless the list has LVS_NOSORTHEADER.
    bool IsListSortable() const;
    void ShowBuiltInMenu(CPoint screenPoint);
    void ShowCustomMenu(CPoint screenPoint);
    // Sorts the column under the last right click in that direction unless it is so sorted.
    void SortFromMenu(int nDirection);
    // Tells the list's owner (or parent) and all its descendants that the column was
    // clicked with the right button, as HDN_ITEMCLICKA: the list sorts on it.
    void SendSortNotification(int nItem);
};
