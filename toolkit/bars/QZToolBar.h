// The toolkit's toolbar: a control bar over the common toolbar control. Here: its button
// records as the toolkit hands them around (bit 0x04 of a record's state means disabled,
// where the control's own bit means enabled), the texts and drop-down records of its
// buttons and the sizes the XP drawing proxy lays a button out by.
#pragma once

#include "framework/CollectionLists.h"
#include "framework/CollectionMaps.h"
#include "toolkit/bars/QZControlBar.h"

#include <commctrl.h>

// State bit of a toolkit button record: the button is disabled.
#define QZ_TBSTATE_DISABLED 0x04

// A drop-down button's record.
struct QZ_DROPDOWNBUTTON {
    UINT nCommand = 0;
    // Menu resource whose first popup drops down; 0 for none.
    UINT nMenuID = 0;
    // Draw the current colour as a bar under the image.
    BOOL bShowColor = FALSE;
    // The drop-down is a colour popup.
    BOOL bColorPopup = FALSE;
    DWORD dwPopupStyle = 0;
    COLORREF clrDefault = 0xFF000000;
    COLORREF clrCurrent = 0xFF000000;
};

// One element of the toolbar's button snapshot. The toolbar deletes the drop-down
// records its elements own when it goes.
struct QZ_TBBUTTON {
    TBBUTTON button = {};
    // The child control bound to this command, if any.
    CWnd* pControl = nullptr;
    QZ_DROPDOWNBUTTON* pDropDown = nullptr;
    BYTE bOwnsDropDown = 1;
    BYTE bBoldFont = 0;
    BYTE bHiddenAtSnapshot = 0;
};

class CQZToolBar : public CQZControlBar {
    DECLARE_DYNAMIC(CQZToolBar)
public:
    CQZToolBar();
    ~CQZToolBar() override;

    // The control's button with the disabled bit of the toolkit's records; FALSE for no such button.
    BOOL GetButton(int nIndex, TBBUTTON* pButton) const;
    // (state byte << 16) | style byte, the state with the disabled bit.
    UINT GetButtonStyle(int nIndex) const;
    // The button's text from the toolbar's strings; empty when it has none.
    CString GetButtonText(int nIndex) const;
    // nFormat without the bits of the last TB_SETDRAWTEXTFLAGS mask, with its flags.
    UINT ApplyDrawTextFlags(UINT nFormat) const;
    // The drop-down record of the command, or null.
    QZ_DROPDOWNBUTTON* FindDropDownButton(UINT nID) const;

    CList<QZ_TBBUTTON, QZ_TBBUTTON&> m_listButtons;
    CSize m_sizeImage{16, 15};
    CSize m_sizeButton{23, 22};
    // Text to its index in the control's string pool; made with the first text.
    CMapStringToPtr* m_pStringMap = nullptr;
    DWORD m_dwDrawTextMask = 0;
    DWORD m_dwDrawTextFlags = 0;
    // The button whose drop-down is open, -1 for none.
    int m_nDropDownIndex = -1;

protected:
    afx_msg LRESULT OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
