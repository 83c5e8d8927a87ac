// Stands in for the framework's combo box and list box: CWnd objects over the system's
// COMBOBOX and LISTBOX classes with their messages as member functions. Indexes and
// counts come back as the control answers them (CB_ERR / LB_ERR on failure).
#pragma once

#include "CString.h"
#include "Wnd.h"

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int AddString(LPCSTR lpszString);
    int InsertString(int nIndex, LPCSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    // The entry's text into a buffer of at least GetLBTextLen + 1 characters.
    int GetLBText(int nIndex, LPSTR lpszText) const;
    // An index past the end leaves the string empty.
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    int FindString(int nStartAfter, LPCSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCSTR lpszString);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void* GetItemDataPtr(int nIndex) const;
    int SetItemDataPtr(int nIndex, void* pData);
    BOOL GetDroppedState() const;
    void ShowDropDown(BOOL bShowIt = TRUE);
    BOOL LimitText(int nMaxChars);
    BOOL SetEditSel(int nStartChar, int nEndChar);
    DWORD GetEditSel() const;
    int GetItemHeight(int nIndex) const;
    int SetItemHeight(int nIndex, UINT cyItemHeight);
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetSel(int nIndex) const;
    int SetSel(int nIndex, BOOL bSelect = TRUE);
    int GetSelCount() const;
    int AddString(LPCSTR lpszItem);
    int InsertString(int nIndex, LPCSTR lpszItem);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetText(int nIndex, LPSTR lpszBuffer) const;
    // An index past the end leaves the string empty.
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;
    int FindString(int nStartAfter, LPCSTR lpszItem) const;
    int FindStringExact(int nIndexStart, LPCSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCSTR lpszItem);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
};
