// The library's combo box: the framework's combo box that creates itself on a parent in
// one step, joins the parent's window set, reports each combo-box notification through
// a connector of its own, and treats its entries' item data as the values they stand for.
#pragma once

#include "lib/src/Win2/Wnd/iComboBoxConnectors.h"

// The connectors, their handlers and the window-set access are iComboBoxConnectors'.
class iComboBox : public iComboBoxConnectors<CComboBox> {
    DECLARE_DYNCREATE(iComboBox)
public:
    // No window.
    iComboBox();
    // Dialog-item form: CComboBox::Create with the rectangle mapped for the parent; the
    // text is not used.
    iComboBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "ComboBox" window with WS_CHILD added.
    iComboBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Leaves the container's window set, then the framework destroys the window.
    ~iComboBox() override;

    // Adds the text (in its sorted place in a sorted list) carrying value as item data;
    // the new entry's index, or the control's error answer (nothing added).
    int AddItem(DWORD value, LPCSTR text);
    // The selected entry's item data; 0xFFFFFFFF when nothing is selected.
    DWORD GetSelectedData() const;
    // Selects the first entry carrying value; no entry carries it: no selection.
    void SelectByData(DWORD value);
    // The selected entry's text; empty when nothing is selected.
    CString GetSelectedText() const;
    // The text of the combo box's edit field; empty for a drop-down list without one.
    CString GetEditText() const;

    void SetOnSelChange(const iConnector& connector) { m_onSelChange = connector; }
};
