// The library's toolkit frame that reopens where it was: its placement (rectangle,
// maximised, minimised) is registered while its window is created, followed on every move
// and resize, and saved in the registry when the frame object goes. A top-level one also
// sets the application's show command, so that a main frame closed maximised reopens so;
// one closed minimised reopens shown, in its normal place.
#pragma once

#include "lib/src/Win2/Wnd/iPersistentFrame.h"
#include "lib/src/Win2/Wnd/iVeltraFrameWnd.h"

class iPersistentVeltraFrameWnd : public iPersistentFrame<iVeltraFrameWnd> {
    DECLARE_DYNCREATE(iPersistentVeltraFrameWnd)
public:
    // No window yet, no placement record.
    iPersistentVeltraFrameWnd();
    // iVeltraFrameWnd's create forms; the record is registered from the creation values.
    iPersistentVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id);
    iPersistentVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id, DWORD exStyle,
                              CCreateContext* context);
    // Created at the record's rectangle with its style and its name as title. The record
    // must have been registered for this frame object (iWindowDataMap::Register), since the
    // destructor unregisters it by the frame's address. The id is not used.
    iPersistentVeltraFrameWnd(CWnd* parent, iWindowData* windowData, UINT id);
    iPersistentVeltraFrameWnd(CWnd* parent, iWindowData* windowData, UINT id, DWORD exStyle,
                              CCreateContext* context);

    // The toolkit frame's preparation, then the remembered rectangle, style and name.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};
