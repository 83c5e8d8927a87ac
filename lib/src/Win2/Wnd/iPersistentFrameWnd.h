// The library's plain frame that reopens where it was: its placement (rectangle,
// maximised, minimised) is registered while its window is created, followed on every
// move and resize, and saved in the registry when the frame object goes.
#pragma once

#include "lib/src/Win2/Wnd/iFrameWnd.h"
#include "lib/src/Win2/Wnd/iWindowData.h"

class iPersistentFrameWnd : public iFrameWnd {
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
    // Saves and drops the placement record, then the frame goes.
    ~iPersistentFrameWnd() override;

    // The framework frame's preparation, then the remembered rectangle, style and name.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    iWindowData* GetWindowData() const { return m_windowData; }

protected:
    afx_msg void OnMove(int x, int y);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    iWindowData* m_windowData = nullptr;

private:
    // The creating forms over a given record.
    void CreateFromRecord(CWnd* parent, DWORD exStyle, CCreateContext* context);
};

// What the persistent frames do to the creation values once the record exists: the
// record's screen rectangle, its style (with WS_MAXIMIZE or WS_MINIMIZE when remembered
// so) and its name.
void ApplyWindowData(const iWindowData& record, CREATESTRUCT& cs);
// The record for a frame being created with cs, registered on first use.
iWindowData* RegisterWindowData(CWnd* frame, const CREATESTRUCT& cs);
