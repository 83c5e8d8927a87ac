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
    // command: a frame closed maximised opens maximised.
    if (!cs.hwndParent) {
        if (CWinApp* app = AfxGetApp())
            app->m_nCmdShow = (cs.style & WS_MAXIMIZE)   ? SW_SHOWMAXIMIZED
                              : (cs.style & WS_MINIMIZE) ? SW_SHOWMINIMIZED
                                                         : SW_SHOWNORMAL;
    }
    return TRUE;
}
