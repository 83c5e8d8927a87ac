// The persistent toolkit frame: its creating forms and the show command a main frame leaves.
#include "lib/src/Win2/Wnd/iPersistentVeltraFrameWnd.h"

#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(iPersistentVeltraFrameWnd, iVeltraFrameWnd)

iPersistentVeltraFrameWnd::iPersistentVeltraFrameWnd() = default;

iPersistentVeltraFrameWnd::iPersistentVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title,
                                                     UINT)
{
    CreateFrame(parent, rect, style, title, 0, nullptr);
}

iPersistentVeltraFrameWnd::iPersistentVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title,
                                                     UINT, DWORD exStyle, CCreateContext* context)
{
    CreateFrame(parent, rect, style, title, exStyle, context);
}

iPersistentVeltraFrameWnd::iPersistentVeltraFrameWnd(CWnd* parent, iWindowData* windowData, UINT)
    : iPersistentFrame(windowData)
{
    CreateFromRecord(parent, 0, nullptr);
}

iPersistentVeltraFrameWnd::iPersistentVeltraFrameWnd(CWnd* parent, iWindowData* windowData, UINT, DWORD exStyle,
                                                     CCreateContext* context)
    : iPersistentFrame(windowData)
{
    CreateFromRecord(parent, exStyle, context);
}

BOOL iPersistentVeltraFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!iPersistentFrame::PreCreateWindow(cs))
        return FALSE;
    // The framework shows the new document's main frame with the application's show
    // command: a frame closed maximised opens maximised. It is made in its normal place
    // and maximised only when shown, so that its normal place is the one remembered:
    // made maximised, a window manager restores it to a size of its own, larger by the
    // frame's borders and growing so with every run.
    if (!cs.hwndParent) {
        const bool isZoomed = (cs.style & WS_MAXIMIZE) != 0;
        cs.style &= ~WS_MAXIMIZE;
        if (CWinApp* app = AfxGetApp())
            app->m_nCmdShow = isZoomed ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    }
    return TRUE;
}
