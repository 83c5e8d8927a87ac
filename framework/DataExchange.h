// Stands in for the framework's dialog data exchange: the exchange record that
// DoDataExchange receives, the DDX_ routines that move a value between a member and a
// control, and the DDV_ checks that refuse a value. A refused or unreadable value is
// shown to the user through AfxMessageBox, the focus goes to its control, and a
// CUserException ends the exchange at that field; UpdateData catches it.
#pragma once

#include "CString.h"

#include <windows.h>

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;  // TRUE: controls to members, validated; FALSE: members to controls
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl = nullptr;  // the control a failure gives the focus to
    BOOL m_bEditLastControl = FALSE;   // its text is selected on failure

    // The dialog's control nIDC, recorded as the last control; a missing control throws
    // the not-supported exception.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit, whose text a failure selects.
    HWND PrepareEditCtrl(int nIDC);
    // Focuses the last control (selecting its text when it is an edit) and throws CUserException.
    [[noreturn]] void Fail();
};

// Subclasses the template's control nIDC into rControl (once: a control with a window is left alone).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Edit text; numbers are refused unless the whole text (blanks around it aside) is one
// number of the member's type.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);

// Check box state: BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The index of the checked radio button in the group that starts at nIDC (-1: none).
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Selection index of a combo box or list box (-1: none).
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
// The combo box's text; loading selects the first entry that begins with the value
// and, when none does, puts the value into the combo box's edit.
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);

// Refuses a saved value outside [minVal, maxVal]; must follow the DDX_ of its control.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
