// What the library's two combo boxes share over their framework base (CComboBox or
// CComboBoxEx): a connector per combo-box notification, the reflected handlers that fire
// them, and the control's place in its container's window set.
#pragma once

#include "lib/src/Win2/Wnd/iConnector.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/Framework.h"

// On a property page, a selection change or an edit change marks the page modified.
// A template rather than a class, since the extended combo box has its own framework base.
template <class Base>
class iComboBoxConnectors : public Base {
public:
    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

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
    afx_msg BOOL OnErrSpace() { return FireAndPassOn(m_onErrSpace); }
    afx_msg BOOL OnSelChange() { return FireMarkAndPassOn(m_onSelChange); }
    afx_msg BOOL OnDblClk() { return FireAndPassOn(m_onDblClk); }
    afx_msg BOOL OnSetFocus() { return FireAndPassOn(m_onSetFocus); }
    afx_msg BOOL OnKillFocus() { return FireAndPassOn(m_onKillFocus); }
    afx_msg BOOL OnEditChange() { return FireMarkAndPassOn(m_onEditChange); }
    afx_msg BOOL OnEditUpdate() { return FireMarkAndPassOn(m_onEditUpdate); }
    afx_msg BOOL OnDropDown() { return FireAndPassOn(m_onDropDown); }
    afx_msg BOOL OnCloseUp() { return FireAndPassOn(m_onCloseUp); }
    afx_msg BOOL OnSelEndOk() { return FireAndPassOn(m_onSelEndOk); }
    afx_msg BOOL OnSelEndCancel() { return FireAndPassOn(m_onSelEndCancel); }
    DECLARE_MESSAGE_MAP()

    // The text of the combo box's edit field; empty when there is none (null).
    static CString EditFieldText(HWND edit)
    {
        CString text;
        if (edit) {
            int length = ::GetWindowTextLengthA(edit);
            ::GetWindowTextA(edit, text.GetBuffer(length + 2), length + 1);
            text.ReleaseBuffer();
        }
        return text;
    }

    iWindowSetAccess m_access;

private:
    BOOL FireAndPassOn(const iConnector& connector)
    {
        connector.Fire(this);
        return FALSE;
    }
    BOOL FireMarkAndPassOn(const iConnector& connector)
    {
        connector.Fire(this);
        m_access.SetModified();
        return FALSE;
    }
};

BEGIN_TEMPLATE_MESSAGE_MAP(iComboBoxConnectors, Base, Base)
    ON_CONTROL_REFLECT_EX(CBN_ERRSPACE, OnErrSpace)
    ON_CONTROL_REFLECT_EX(CBN_SELCHANGE, OnSelChange)
    ON_CONTROL_REFLECT_EX(CBN_DBLCLK, OnDblClk)
    ON_CONTROL_REFLECT_EX(CBN_SETFOCUS, OnSetFocus)
    ON_CONTROL_REFLECT_EX(CBN_KILLFOCUS, OnKillFocus)
    ON_CONTROL_REFLECT_EX(CBN_EDITCHANGE, OnEditChange)
    ON_CONTROL_REFLECT_EX(CBN_EDITUPDATE, OnEditUpdate)
    ON_CONTROL_REFLECT_EX(CBN_DROPDOWN, OnDropDown)
    ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, OnCloseUp)
    ON_CONTROL_REFLECT_EX(CBN_SELENDOK, OnSelEndOk)
    ON_CONTROL_REFLECT_EX(CBN_SELENDCANCEL, OnSelEndCancel)
END_MESSAGE_MAP()
