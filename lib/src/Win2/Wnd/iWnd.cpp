// The library's generic window and its two creating forms.
#include "lib/src/Win2/Wnd/iWnd.h"

IMPLEMENT_DYNCREATE(iWnd, CWnd)

iWnd::iWnd() = default;

iWnd::iWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CWnd::Create(nullptr, text, style, mapped, parent, id, nullptr);
    // A window on no container, or no window at all, is owned by whoever made it.
    JoinParent(*this, parent, m_access);
}

iWnd::iWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CWnd::CreateEx(exStyle, nullptr, text, style, mapped, parent, id, param);
    JoinParent(*this, parent, m_access);
}

iWnd::~iWnd()
{
    m_windowSet.DeleteAll();
}

DWORD GetWindowExStyle(HWND window)
{
    return ::IsWindow(window) ? static_cast<DWORD>(::GetWindowLongA(window, GWL_EXSTYLE)) : 0;
}
