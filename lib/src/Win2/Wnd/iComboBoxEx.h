// The library's extended combo box (entries with images): like iComboBox it creates
// itself on a parent in one step, joins the parent's window set and reports each
// combo-box notification through a connector of its own.
#pragma once

#include "lib/src/Win2/Wnd/CComboBoxEx.h"
#include "lib/src/Win2/Wnd/iConnector.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"

// On a property page, a selection change or an edit change marks the page modified.
class iComboBoxEx : public CComboBoxEx {
    DECLARE_DYNCREATE(iComboBoxEx)
public:
    // No window.
    iComboBoxEx();
    // Dialog-item form: CComboBoxEx::Create with the rectangle mapped for the parent; the
    // text is not used.
    iComboBoxEx(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "ComboBoxEx32" window with WS_CHILD added.
    iComboBoxEx(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Leaves the container's window set, then the window is destroyed.
    ~iComboBoxEx() override;

    // The selected entry's text; empty when nothing is selected.
    CString GetSelectedText() const;
    // The text of the control's edit box; empty for a drop-down list, which has none.
    CString GetEditText() const;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

protected:
    iWindowSetAccess m_access;

public:
    // One connector per notification, fired with the control as sender; the owner
    // assigns them directly.
    iConnector m_onErrSpace;
    iConnector m_onSelChange;
    iConnector m_onDblClk;
    iConnector m_onSetFocus;
    iConnector m_onKillFocus;
    iConnector m_onEditChange;
    iConnector m_onEditUpdate;
    iConnector m_onDropDown;
    iConnector m_onCloseUp;
    iConnector m_onSelEndOk;
    iConnector m_onSelEndCancel;

protected:
    // Each fires its connector and answers FALSE, so the parent is notified as well.
    afx_msg BOOL OnErrSpace();
    afx_msg BOOL OnSelChange();
    afx_msg BOOL OnDblClk();
    afx_msg BOOL OnSetFocus();
    afx_msg BOOL OnKillFocus();
    afx_msg BOOL OnEditChange();
    afx_msg BOOL OnEditUpdate();
    afx_msg BOOL OnDropDown();
    afx_msg BOOL OnCloseUp();
    afx_msg BOOL OnSelEndOk();
    afx_msg BOOL OnSelEndCancel();
    DECLARE_MESSAGE_MAP()
};
