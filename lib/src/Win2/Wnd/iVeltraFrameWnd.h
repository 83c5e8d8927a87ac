// The library's toolkit frame: the toolkit's frame (menu bar, image menus, docking) that
// owns the control objects created on it. It joins no window set itself. Like every
// framework frame, one made with new deletes itself, and its controls with it, once its
// window is destroyed.
#pragma once

#include "lib/src/Win2/Wnd/iWindowSet.h"

#include "toolkit/bars/QZFrameWnd.h"

class iVeltraFrameWnd : public CQZFrameWnd, public iWindowSetContainer {
    DECLARE_DYNCREATE(iVeltraFrameWnd)
public:
    // No window yet.
    iVeltraFrameWnd();
    // The frame of the framework's frame class with this title, style and rectangle (in
    // pixels), without menu. The id is not used. With a parent it takes the parent's font.
    iVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id);
    iVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id, DWORD exStyle,
                    CCreateContext* context);
    // Deletes the controls in its set, then the toolkit frame goes.
    ~iVeltraFrameWnd() override;

    iWindowSet& GetWindowSet() override { return m_windowSet; }

protected:
    // A creation that fails inside a creating constructor must not delete the object the
    // constructor is still building: the caller gets it back without a window and deletes
    // it. Afterwards the frame deletes itself as every frame does.
    void PostNcDestroy() override;
    // The creating forms' work, for derived frames whose own PreCreateWindow must apply:
    // they create from their own constructors.
    void CreateFrame(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, DWORD exStyle,
                     CCreateContext* context);

    iWindowSet m_windowSet;

private:
    bool m_isConstructing = false;
};
