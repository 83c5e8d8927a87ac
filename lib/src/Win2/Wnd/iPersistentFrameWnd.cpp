// The persistent plain frame's creating forms.
#include "lib/src/Win2/Wnd/iPersistentFrameWnd.h"

IMPLEMENT_DYNCREATE(iPersistentFrameWnd, iFrameWnd)

iPersistentFrameWnd::iPersistentFrameWnd() = default;

iPersistentFrameWnd::iPersistentFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT)
{
    CreateFrame(parent, rect, style, title, 0, nullptr);
}

iPersistentFrameWnd::iPersistentFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT,
                                         DWORD exStyle, CCreateContext* context)
{
    CreateFrame(parent, rect, style, title, exStyle, context);
}

iPersistentFrameWnd::iPersistentFrameWnd(CWnd* parent, iWindowData* windowData, UINT)
    : iPersistentFrame(windowData)
{
    CreateFromRecord(parent, 0, nullptr);
}

iPersistentFrameWnd::iPersistentFrameWnd(CWnd* parent, iWindowData* windowData, UINT, DWORD exStyle,
                                         CCreateContext* context)
    : iPersistentFrame(windowData)
{
    CreateFromRecord(parent, exStyle, context);
}
