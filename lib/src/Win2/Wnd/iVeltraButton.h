// The library's flat button: the toolkit's owner-drawn flat button made on a parent in one
// step, with the parent's font, joined to the parent's window set, reporting clicks and
// double-clicks through connectors.
#pragma once

#include "lib/src/Win2/Wnd/iConnector.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "toolkit/controls/QZButton.h"

class iVeltraButton : public CQZButton {
    DECLARE_DYNAMIC(iVeltraButton)
public:
    // No window.
    iVeltraButton();
    // Dialog-item form: CButton::Create with the rectangle mapped for the parent.
    iVeltraButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "Button" window with WS_CHILD added.
    iVeltraButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Leaves the container's window set, then the toolkit button goes.
    ~iVeltraButton() override;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

protected:
    iWindowSetAccess m_access;

public:
    // Fired with the button as sender; the owner assigns them directly.
    iConnector m_onClicked;
    iConnector m_onDoubleClicked;

protected:
    // Fire their connectors and answer FALSE, so the parent is notified as well.
    afx_msg BOOL OnClickedReflect();
    afx_msg BOOL OnDoubleClickedReflect();
    DECLARE_MESSAGE_MAP()
};
