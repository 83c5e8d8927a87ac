// The persistent frames' placement record: registering it from the creation values and
// applying it to them.
#include "lib/src/Win2/Wnd/iPersistentFrame.h"

iWindowData* RegisterWindowData(CWnd* frame, const CREATESTRUCT& cs)
{
    const RECT rect = {cs.x, cs.y, cs.x + cs.cx, cs.y + cs.cy};
    return iWindowDataMap::Register(cs.hwndParent ? CWnd::FromHandle(cs.hwndParent) : nullptr, frame, rect,
                                    cs.style, cs.lpszName);
}

void ApplyWindowData(const iWindowData& record, CREATESTRUCT& cs)
{
    RECT rect;
    record.GetRect(&rect);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.style = record.GetStyle();
    cs.lpszName = record.GetName();
}
