// The toolkit's resizable docking window; the bar menu lists docking windows first. The
// dock bar shares a row's length among docking windows through the operations below,
// which the docking window itself implements.
#pragma once

#include "toolkit/bars/QZControlBar.h"

class CQZDockWindow : public CQZControlBar {
    DECLARE_DYNAMIC(CQZDockWindow)
public:
    // The smallest docked length along a row.
    virtual int GetMinExtent() const = 0;
    virtual BOOL IsExpanded() const = 0;
    virtual BOOL IsAloneInRow() const = 0;
    // The current size and the size of the side the window is docked on (or floating).
    virtual void SetDockedSize(const CSize& size) = 0;
    // The current size becomes the floating size.
    virtual void RestoreFloatSize() = 0;
    // The current length becomes the docked length again; no longer expanded.
    virtual void RestoreNormalSize() = 0;
    // Shrinks the current length to the minimum; the length given up.
    virtual int Collapse() = 0;
    // The current length becomes nLength; expanded.
    virtual void Expand(int nLength) = 0;
    // The current size, which differs from the docked size while expanded or collapsed.
    virtual int GetCurrentWidth() const = 0;
    virtual int GetCurrentHeight() const = 0;
};
