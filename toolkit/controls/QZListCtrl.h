// The toolkit's list control: the framework's list control with coloured unselected rows,
// flicker-free painting and scrolling, a flat header with click-to-sort, columns sized to
// their contents, column widths kept in the toolkit's settings store, row copy and move,
// a column hit test and columns built from arrays. CQZListCtrlBase holds the logic and
// works on the list through a pointer, so that other list windows can take it as a second
// base. Most operations act only in report view; the header is the list's child with id 0.
// Stored widths: one text value, "%d," per column from the first ("120,80,200,").
#pragma once

#include "framework/ControlsListView.h"
#include "toolkit/controls/QZHeaderCtrl.h"

class CQZListCtrlBase {
public:
    CQZListCtrlBase();
    virtual ~CQZListCtrlBase();

    void SetListCtrl(CListCtrl* pListCtrl) { m_pListCtrl = pListCtrl; }
    // The list's header when it is a flat header, else null.
    CQZFlatHeaderCtrl* GetFlatHeaderCtrl() const;

    // The previous sort column; -1, doing nothing, without a flat header.
    virtual int SetSortImage(int nColumn, BOOL bAscending);
    // The column's stored width; 0 when none is stored or the piece is not a width.
    virtual int GetStoredColumnWidth(int nColumn);
    // A stored width (lowered to the maximum) replaces the column's; without one it stays.
    virtual void RestoreColumnWidth(int nColumn);
    virtual void LoadColumnWidths();
    virtual void SaveColumnWidths();
    // Content or heading width, whichever is larger; -1 for every column.
    virtual void AutoSizeColumn(int nColumn = -1);
    // Loads the widths now and saves them when the window goes (null: the defaults).
    virtual void AutoSaveColumns(LPCSTR lpszSection = nullptr, LPCSTR lpszEntry = nullptr,
                                 LPCSTR lpszDefault = nullptr);
    virtual BOOL SubclassHeader(BOOL bBoldFont = FALSE);
    // Sorts the rows; the base sorts nothing (TRUE). Derived lists compare their rows here.
    virtual BOOL SortList(int nColumn, BOOL bAscending);
    virtual void AddExtendedStyle(DWORD dwNewStyle);
    virtual DWORD GetExtendedStyle();
    virtual void LockColumnWidths(BOOL bLock = TRUE);
    // The row under the point (client coordinates) and its column, or -1.
    virtual int HitTestEx(CPoint point, int* pColumn = nullptr);
    // The new column's index, or -1. A width of -1 takes the previous column's, or for the
    // first column the heading's own width.
    virtual int AddColumn(LPCSTR lpszHeading, int nWidth = -1, int nFormat = LVCFMT_LEFT);
    virtual BOOL BuildColumns(int nCols, const int* pWidths, const UINT* pHeadingIDs);
    virtual BOOL BuildColumns(int nCols, const int* pWidths, const LPCSTR* pHeadings);
    virtual void SetColors(COLORREF clrText, COLORREF clrBack);
    // -1 outside report view or without a header.
    virtual int GetColumnCount();
    virtual BOOL CopyRow(int nFrom, int nTo);
    virtual BOOL MoveRow(int nFrom, int nTo);
    // Header notifications: sorting on heading clicks, the minimum width, locked widths.
    // TRUE when the notification is answered here; FALSE lets the list's framework handling run.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void SetToolkitFont();

    // Set by the owner.
    void SetMinColumnWidth(int nWidth) { m_nMinColWidth = nWidth; }

    int GetSortColumn() const { return m_nSortColumn; }
    BOOL IsSortAscending() const { return m_bSortAscending; }

    int m_bUseToolkitFont;
    CListCtrl* m_pListCtrl;
    int m_nMinColWidth;
    int m_nMaxColWidth;
    int m_nSortColumn;
    CQZFlatHeaderCtrl m_wndFlatHeader;
    CString m_strSection;
    CString m_strEntry;
    CString m_strDefault;
    COLORREF m_clrText;
    COLORREF m_clrBack;
    BYTE m_bLockWidths;
    BYTE m_bSortAscending;
    BYTE m_bSaveAtDestroy;

protected:
    bool IsReportView() const;
    HWND GetHeaderWnd() const;
    // A heading's width as the columns are measured: its text in the header's font plus a
    // margin, and room for the sort arrow when the column shows it.
    int MeasureHeading(LPCSTR lpszHeading, bool bWithArrow) const;
    // The stored text's section and entry, the defaults until AutoSaveColumns names others.
    void UseDefaultPlaceUnlessNamed();

private:
    CQZListCtrlBase(const CQZListCtrlBase&) = delete;
    CQZListCtrlBase& operator=(const CQZListCtrlBase&) = delete;
};

class CQZListCtrl : public CListCtrl, public CQZListCtrlBase {
    DECLARE_DYNAMIC(CQZListCtrl)
public:
    CQZListCtrl();

    void AddExtendedStyle(DWORD dwNewStyle) override { CQZListCtrlBase::AddExtendedStyle(dwNewStyle); }
    DWORD GetExtendedStyle() override { return CQZListCtrlBase::GetExtendedStyle(); }

    BYTE m_bSetupPending;

protected:
    void PreSubclassWindow() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg LRESULT OnDeferredSetup(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Scrolls with drawing off, then repaints once.
    void ScrollWithoutFlicker();
};
