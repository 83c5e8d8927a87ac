// The custom-control base.
#include "lib/src/Win2/Wnd/iCtrl.h"

IMPLEMENT_DYNAMIC(iCtrl, iWnd)

BEGIN_MESSAGE_MAP(iCtrl, iWnd)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

iCtrl::iCtrl() = default;

iCtrl::iCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id) : iWnd(parent, rect, style, text, id)
{
}

iCtrl::iCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param)
    : iWnd(parent, rect, style, text, id, exStyle, param)
{
}

iCtrl::~iCtrl() = default;

LRESULT iCtrl::OnGetFont(WPARAM, LPARAM)
{
    HWND parent = ::GetParent(m_hWnd);
    return parent ? ::SendMessageA(parent, WM_GETFONT, 0, 0) : 0;
}
