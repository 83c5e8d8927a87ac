// The library's toolkit frame and its creating forms.
#include "lib/src/Win2/Wnd/iVeltraFrameWnd.h"

IMPLEMENT_DYNCREATE(iVeltraFrameWnd, CQZFrameWnd)

iVeltraFrameWnd::iVeltraFrameWnd() = default;

iVeltraFrameWnd::iVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT)
{
    CreateFrame(parent, rect, style, title, 0, nullptr);
}

iVeltraFrameWnd::iVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT, DWORD exStyle,
                                 CCreateContext* context)
{
    CreateFrame(parent, rect, style, title, exStyle, context);
}
