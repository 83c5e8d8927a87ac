// Stands in for the framework's list-view and header controls: CWnd objects over
// SysListView32 and SysHeader32 with their messages as member functions. Image lists
// and the list's header come back as the handle's permanent object or a temporary one.
// An owner-drawn header is painted by its object through the reflected WM_DRAWITEM.
#pragma once

#include "CString.h"
#include "Geometry.h"
#include "Wnd.h"

#include <commctrl.h>

class CImageList;

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetItemCount() const;
    int InsertItem(int nPos, HDITEMA* phdi);
    BOOL DeleteItem(int nPos);
    BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const;
    BOOL SetItem(int nPos, HDITEMA* pHeaderItem);
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
    // The item at the record's point (client coordinates), -1 when none; flags tell where.
    int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo);
    // The items' display order into piArray, which holds iCount entries; FALSE, writing
    // nothing, unless iCount is the number of items.
    BOOL GetOrderArray(LPINT piArray, int iCount) const;

    // Paints an owner-drawn item; the base draws nothing.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    // Destroys the window while the object is still a list control.
    ~CListCtrl() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Columns.
    int InsertColumn(int nCol, const LVCOLUMNA* pColumn);
    int InsertColumn(int nCol, LPCSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL DeleteColumn(int nCol);
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int nCol, int cx);
    BOOL GetColumn(int nCol, LVCOLUMNA* pColumn) const;
    BOOL SetColumn(int nCol, const LVCOLUMNA* pColumn);

    // Items; indexes come back as the control answers them (-1 on failure).
    int InsertItem(const LVITEMA* pItem);
    int InsertItem(int nItem, LPCSTR lpszItem);
    int InsertItem(int nItem, LPCSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL GetItem(LVITEMA* pItem) const;
    BOOL SetItem(const LVITEMA* pItem);
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam);
    BOOL SetItemText(int nItem, int nSubItem, LPCSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPSTR lpszText, int nLen) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    int HitTest(LVHITTESTINFO* pHitTestInfo) const;
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    int GetNextItem(int nItem, int nFlags) const;
    UINT GetSelectedCount() const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    // The first visible item.
    int GetTopIndex() const;
    // How many rows fit in the visible area (report and list views).
    int GetCountPerPage() const;
    // Scrolls by size in pixels; the report view moves by whole rows.
    BOOL Scroll(CSize size);

    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD dwNewStyle);
    // The previous list of that kind (LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE), or null.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    CHeaderCtrl* GetHeaderCtrl() const;
};
