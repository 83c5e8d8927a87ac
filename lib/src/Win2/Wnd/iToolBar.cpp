// The window-set toolbar.
#include "lib/src/Win2/Wnd/iToolBar.h"

iToolBar::iToolBar() = default;

iToolBar::iToolBar(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    Create(parent, style, id);
    static_cast<void>(m_access.Attach(this));
}

iToolBar::iToolBar(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param)
{
    // This form once created nothing and went on as if it had; it makes the same bar as
    // the form above, so a caller of either gets a toolbar or, on failure, no window.
    if (Create(parent, style, id) && exStyle)
        ModifyStyleEx(0, exStyle, SWP_FRAMECHANGED);
    static_cast<void>(m_access.Attach(this));
}

iToolBar::~iToolBar() = default;
