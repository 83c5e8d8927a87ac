// The persistent toolkit frame.
#include "lib/src/Win2/Wnd/iPersistentVeltraFrameWnd.h"

#include "lib/src/Win2/Wnd/iPersistentFrameWnd.h"

#include "framework/WinApp.h"

IMPLEMENT_DYNCREATE(iPersistentVeltraFrameWnd, iVeltraFrameWnd)

BEGIN_MESSAGE_MAP(iPersistentVeltraFrameWnd, iVeltraFrameWnd)
    ON_WM_MOVE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

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
    : m_windowData(windowData)
{
    CreateFromRecord(parent, 0, nullptr);
}

iPersistentVeltraFrameWnd::iPersistentVeltraFrameWnd(CWnd* parent, iWindowData* windowData, UINT, DWORD exStyle,
                                                     CCreateContext* context)
    : m_windowData(windowData)
{
    CreateFromRecord(parent, exStyle, context);
}

iPersistentVeltraFrameWnd::~iPersistentVeltraFrameWnd()
{
    if (m_windowData)
        iWindowDataMap::Unregister(this);
}

void iPersistentVeltraFrameWnd::CreateFromRecord(CWnd* parent, DWORD exStyle, CCreateContext* context)
{
    if (!m_windowData)
        return;
    RECT rect;
    m_windowData->GetRect(&rect);
    CreateFrame(parent, rect, m_windowData->GetStyle(), m_windowData->GetName(), exStyle, context);
}

BOOL iPersistentVeltraFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!iVeltraFrameWnd::PreCreateWindow(cs))
        return FALSE;
    if (!m_windowData)
        m_windowData = RegisterWindowData(this, cs);
    ApplyWindowData(*m_windowData, cs);
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

void iPersistentVeltraFrameWnd::OnMove(int, int)
{
    Default();
    if (m_windowData)
        m_windowData->Update();
}

void iPersistentVeltraFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    iVeltraFrameWnd::OnSize(nType, cx, cy);
    if (m_windowData)
        m_windowData->Update();
}
