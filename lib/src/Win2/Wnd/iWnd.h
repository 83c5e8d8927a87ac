// The library's generic window: a framework window that owns the control objects
// created on it and is itself a member of its parent container's window set. The base
// of the library's controls and of the splash window.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSet.h"

class iWnd : public CWnd, public iWindowSetContainer {
    DECLARE_DYNCREATE(iWnd)
public:
    // No window yet.
    iWnd();
    // Dialog-item form: a child of the framework's default window class (WS_CHILD is
    // added), the rectangle mapped from dialog units when the parent works in them.
    iWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // Window form: the style as given (no WS_CHILD added), so it also makes pop-ups
    // owned by the parent.
    iWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Deletes the controls in its set, leaves its parent's set, then destroys the window.
    ~iWnd() override;

    iWindowSet& GetWindowSet() override { return m_windowSet; }
    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

protected:
    iWindowSet m_windowSet;
    iWindowSetAccess m_access;
};

// The window's extended style; 0 when the handle is not a window.
DWORD GetWindowExStyle(HWND window);
