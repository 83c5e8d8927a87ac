// The library's plain frame: a framework frame that owns the control objects created
// on it. It joins no window set itself. Like every framework frame, one made with new
// deletes itself, and its controls with it, once its window is destroyed.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSetFrame.h"

class iFrameWnd : public iWindowSetFrame<CFrameWnd> {
    DECLARE_DYNCREATE(iFrameWnd)
public:
    // No window yet.
    iFrameWnd();
    // The frame of the framework's frame class with this title, style and rectangle (in
    // pixels), without menu. The id is not used. With a parent it takes the parent's font.
    iFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id);
    iFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id, DWORD exStyle,
              CCreateContext* context);
};
