// The library's browser window: the WebBrowser control's window as a member of its
// container's window set, so that the container deletes it with its other controls.
#pragma once

#include "banner/WebBrowser2.h"

#include "lib/src/Win2/Wnd/iWindowSet.h"

class iBrowserWnd : public CWebBrowser2 {
public:
    // The browser control in parent, then membership of the parent's window set. Without a
    // control the object has no window and joins no set.
    iBrowserWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR windowText, UINT id);
    // A plain child window (no control) with the extended style and creation parameter;
    // reserved is not used.
    iBrowserWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR reserved, UINT id, DWORD exStyle, LPVOID param);
    ~iBrowserWnd() override;

private:
    void JoinWindowSet(CWnd* parent);

    iWindowSetAccess m_access;
    // The set joined by hand by a control that has no window of its own (see JoinWindowSet).
    iWindowSet* m_windowlessSet = nullptr;
};
