// The framework's toolbar joined to the window-set scheme: a toolbar created on a
// library container is deleted with it.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "framework/ToolBar.h"

class iToolBar : public CToolBar {
public:
    // No window yet.
    iToolBar();
    // The framework toolbar with this style and id. The bar is laid out by its frame,
    // so the rectangle and the text are not used.
    iToolBar(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id);
    // The same toolbar, with the extended style added to the control. The creation
    // parameter has no meaning for a toolbar.
    iToolBar(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param);
    // Leaves the container's set, then destroys the bar.
    ~iToolBar() override;

    iWindowSetAccess& GetWindowSetAccess() { return m_access; }

private:
    iWindowSetAccess m_access;
};
