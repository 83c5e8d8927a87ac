// The persistent frames' placement record: registering it from the creation values and
// applying it to them.
#include "lib/src/Win2/Wnd/iPersistentFrame.h"

#include "lib/src/Win2/Wnd/WindowOnMonitor.h"

iWindowData* RegisterWindowData(CWnd* frame, const CREATESTRUCT& cs)
{
    const RECT rect = {cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy};
    return iWindowDataMap::Register(cs.hwndParent ? CWnd::FromHandle(cs.hwndParent) : nullptr, frame, rect,
                                    cs.style, cs.lpszName);
}

void ApplyWindowData(const iWindowData& record, SIZE minTrackSize, CREATESTRUCT& cs)
{
    RECT rect;
    record.GetRect(&rect);
    cs.style = record.GetStyle() & ~WS_MINIMIZE;
    cs.lpszName = record.GetName();
    // Nothing remembered yet: the creator or the system places the window. A child's
    // rectangle is its parent's business.
    if (rect.left != CW_USEDEFAULT && !(cs.style & WS_CHILD))
        rect = KeepOnMonitor(rect, minTrackSize);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
}
