// The library's colour picker: the toolkit's drop-down colour picker as a library
// control. It joins its container's window set, fires a click connector, and marks its
// property page modified when a click changed the colour.
#pragma once

#include "lib/src/Win2/Wnd/iConnector.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"
#include "toolkit/colour/QZColorPicker.h"

class iColorPickerButton : public CQZColorPicker {
public:
    // Dialog-item form: CButton::Create with WS_CHILD added and the rectangle mapped for
    // the parent.
    iColorPickerButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "Button" window with WS_CHILD added.
    iColorPickerButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                       LPVOID param);
    ~iColorPickerButton() override;

    void SetOnClicked(const iConnector& connector) { m_onClicked = connector; }
    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

protected:
    // Fires the click connector and marks the page only when the colour changed meanwhile;
    // the parent still sees the click.
    afx_msg BOOL OnClickedReflect();
    DECLARE_MESSAGE_MAP()

    iWindowSetAccess m_access;
    iConnector m_onClicked;
};
