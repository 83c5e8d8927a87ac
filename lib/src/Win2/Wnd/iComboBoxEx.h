// The library's extended combo box (entries with images): like iComboBox it creates
// itself on a parent in one step, joins the parent's window set and reports each
// combo-box notification through a connector of its own.
#pragma once

#include "lib/src/Win2/Wnd/CComboBoxEx.h"
#include "lib/src/Win2/Wnd/iComboBoxConnectors.h"

// The connectors, their handlers and the window-set access are iComboBoxConnectors'.
class iComboBoxEx : public iComboBoxConnectors<CComboBoxEx> {
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
};
