// The library's toolkit frame: the toolkit's frame (menu bar, image menus, docking) that
// owns the control objects created on it. It joins no window set itself. Like every
// framework frame, one made with new deletes itself, and its controls with it, once its
// window is destroyed.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSetFrame.h"

#include "toolkit/bars/QZFrameWnd.h"

class iVeltraFrameWnd : public iWindowSetFrame<CQZFrameWnd> {
    DECLARE_DYNCREATE(iVeltraFrameWnd)
public:
    // No window yet.
    iVeltraFrameWnd();
    // The frame of the framework's frame class with this title, style and rectangle (in
    // pixels), without menu. The id is not used. With a parent it takes the parent's font.
    iVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id);
    iVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id, DWORD exStyle,
                    CCreateContext* context);
};
