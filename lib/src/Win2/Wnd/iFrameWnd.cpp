// The library's plain frame and its creating forms.
#include "lib/src/Win2/Wnd/iFrameWnd.h"

IMPLEMENT_DYNCREATE(iFrameWnd, CFrameWnd)

iFrameWnd::iFrameWnd() = default;

iFrameWnd::iFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT)
{
    CreateFrame(parent, rect, style, title, 0, nullptr);
}

iFrameWnd::iFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT, DWORD exStyle,
                     CCreateContext* context)
{
    CreateFrame(parent, rect, style, title, exStyle, context);
}
