// The hook through which a bar keeps to its home frame: it watches the frame a bar
// floats or docks in, for the time the bar's dock hooks are enabled (never in this
// program). When that frame is destroyed with the bar docked in it, the bar docks in its
// home frame again instead of going with it; then the hook lets go of the frame.
#pragma once

#include "toolkit/foundation/QZWndHook.h"

class CQZControlBar;

class CQZDockContextWndHook : public CQZWndHook {
    DECLARE_DYNAMIC(CQZDockContextWndHook)
public:
    explicit CQZDockContextWndHook(CQZControlBar* pBar) : m_pBar(pBar) {}
    ~CQZDockContextWndHook() override;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Not owned.
    CQZControlBar* m_pBar;
};
