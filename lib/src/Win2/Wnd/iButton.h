// The library's buttons: iButton reports clicks and double-clicks to connectors and can
// mark its property page modified; iPushButton is the push button the application creates;
// iGroupBox frames a group of fields. Each joins the window set of its container.
#pragma once

#include "lib/src/Win2/Wnd/iConnector.h"
#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/Framework.h"

class iButton : public CButton {
    DECLARE_DYNCREATE(iButton)
public:
    // No window.
    iButton();
    // Dialog-item form: CButton::Create with WS_CHILD added and the rectangle mapped for
    // the parent.
    iButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: a "Button" window with WS_CHILD added.
    iButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iButton() override;

    void SetOnClicked(const iConnector& connector) { m_onClicked = connector; }
    // Marks the property page the button is on as modified; nothing off a page.
    void SetModified();

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

protected:
    // The creation steps of the two forms, for derived classes whose own PreCreateWindow
    // must apply: they create from their own constructors.
    void CreateItem(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    void CreateWindowForm(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                          LPVOID param);

    // Fire their connectors; the parent still sees the notification.
    afx_msg BOOL OnClickedReflect();
    afx_msg BOOL OnDoubleClickedReflect();
    DECLARE_MESSAGE_MAP()

    iWindowSetAccess m_access;
    iConnector m_onClicked;
    iConnector m_onDoubleClicked;
};

// The library's button style bit that links a picker button (file or folder) to the window
// before it (in a dialog, the control before it in the tab order); meaningless for push buttons.
constexpr DWORD IBS_LINKED = 0x0010;

// The window a picker button fills in: with IBS_LINKED the window before it (null when there
// is none), else the button itself.
CWnd* GetPickerTarget(CWnd& button);

// The push button the application creates; it adds nothing to iButton.
class iPushButton : public iButton {
public:
    iPushButton();
    iPushButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iPushButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iPushButton() override;
};

// A group frame: BS_GROUPBOX is added to whatever style it is given.
class iGroupBox : public CButton {
public:
    iGroupBox();
    iGroupBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    iGroupBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    ~iGroupBox() override;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

protected:
    iWindowSetAccess m_access;
};
