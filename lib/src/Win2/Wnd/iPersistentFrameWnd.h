// The library's plain frame that reopens where it was: its placement (rectangle,
// maximised, minimised) is registered while its window is created, followed on every
// move and resize, and saved in the registry when the frame object goes.
#pragma once

#include "lib/src/Win2/Wnd/iFrameWnd.h"
#include "lib/src/Win2/Wnd/iPersistentFrame.h"

class iPersistentFrameWnd : public iPersistentFrame<iFrameWnd> {
    DECLARE_DYNCREATE(iPersistentFrameWnd)
public:
    // No window yet, no placement record.
    iPersistentFrameWnd();
    // iFrameWnd's create forms; the record is registered from the creation values.
    iPersistentFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id);
    iPersistentFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id, DWORD exStyle,
                        CCreateContext* context);
    // Created at the record's rectangle with its style and its name as title. The record
    // must have been registered for this frame object (iWindowDataMap::Register), since
    // the destructor unregisters it by the frame's address. The id is not used.
    iPersistentFrameWnd(CWnd* parent, iWindowData* windowData, UINT id);
    iPersistentFrameWnd(CWnd* parent, iWindowData* windowData, UINT id, DWORD exStyle, CCreateContext* context);
};
