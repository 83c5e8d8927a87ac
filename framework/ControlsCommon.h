// Stands in for the framework's small common controls: tab, spin button (up-down),
// progress bar, slider (trackbar), the toolbar control's layout save and restore, and
// tooltips. Each Create initialises its part of the control library first and adds
// WS_CHILD where the control is a child.
#pragma once

#include "CString.h"
#include "Wnd.h"

#include <commctrl.h>

class CImageList;
class CToolTipCtrl;

class CTabCtrl : public CWnd {
    DECLARE_DYNAMIC(CTabCtrl)
public:
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetItemCount() const;
    BOOL InsertItem(int nItem, LPCSTR lpszItem);
    // The fields nMask names (TCIF_TEXT, TCIF_IMAGE, TCIF_PARAM); the new item's index, or -1.
    LONG InsertItem(UINT nMask, int nItem, LPCSTR lpszItem, int nImage, LPARAM lParam);
    // The fields pTabCtrlItem->mask names; a text goes into the caller's pszText of cchTextMax.
    BOOL GetItem(int nItem, TCITEMA* pTabCtrlItem) const;
    BOOL SetItem(int nItem, TCITEMA* pTabCtrlItem);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    int GetCurSel() const;
    int SetCurSel(int nItem);
    BOOL GetItemRect(int nItem, LPRECT lpRect) const;
    // The item at pHitTestInfo->pt (client coordinates), or -1; flags says where on it.
    int HitTest(TCHITTESTINFO* pHitTestInfo) const;
    // The list as its permanent object, else a temporary one; null for none.
    CImageList* GetImageList() const;
    // The previous list, the same way.
    CImageList* SetImageList(CImageList* pImageList);
    int GetRowCount() const;
    // The control's tooltip window (TCS_TOOLTIPS makes one), as a framework object; null for none.
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pWndTip);
    // Between the display area (FALSE) and the whole control (TRUE).
    void AdjustRect(BOOL bLarger, LPRECT lpRect);

    // The base handler a derived control calls from its own WM_DESTROY handler.
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()
};

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
    // 16-bit range (UDM_SETRANGE).
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange32(int& nLower, int& nUpper) const;
    int SetPos(int nPos);
    // The position in the low word; the high word is non-zero when the buddy's text is no valid position.
    int GetPos() const;
    int SetPos32(int nPos);
    int GetPos32(LPBOOL lpbError = nullptr) const;
};

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // 16-bit range (PBM_SETRANGE).
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int SetPos(int nPos);
    int GetPos() const;
    int OffsetPos(int nPos);
    int SetStep(int nStep);
    int StepIt();
};

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void GetRange(int& nMin, int& nMax) const;
    int GetPos() const;
    void SetPos(int nPos);
    void SetTicFreq(int nFreq);
    int SetPageSize(int nSize);
};

class CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    // The control's own button layout, kept in the registry value lpszValueName of hKeyRoot\lpszSubKey.
    void SaveState(HKEY hKeyRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName);
    void RestoreState(HKEY hKeyRoot, LPCSTR lpszSubKey, LPCSTR lpszValueName);
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A popup owned by pParentWnd; WS_POPUP is added.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    void Activate(BOOL bActivate);
    // A tool over lpRectTool of pWnd (its whole client area when null) with the text, or
    // the string resource nIDText. nIDTool 0 with no rectangle makes pWnd's window the tool.
    BOOL AddTool(CWnd* pWnd, LPCSTR lpszText = LPSTR_TEXTCALLBACKA, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    // The tool's text; empty when there is no such tool.
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const;
    void RelayEvent(LPMSG lpMsg);
    void Pop();

private:
    // A tool record of the real TOOLINFO size for pWnd and nIDTool; nIDTool 0 names pWnd's window itself.
    static TOOLINFOA ToolInfo(CWnd* pWnd, UINT_PTR nIDTool);
};
