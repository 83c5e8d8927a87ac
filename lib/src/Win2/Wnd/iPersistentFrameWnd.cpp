// The persistent plain frame.
#include "lib/src/Win2/Wnd/iPersistentFrameWnd.h"

IMPLEMENT_DYNCREATE(iPersistentFrameWnd, iFrameWnd)

BEGIN_MESSAGE_MAP(iPersistentFrameWnd, iFrameWnd)
    ON_WM_MOVE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

iPersistentFrameWnd::iPersistentFrameWnd() = default;

iPersistentFrameWnd::iPersistentFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT)
{
    CreateFrame(parent, rect, style, title, 0, nullptr);
}

iPersistentFrameWnd::iPersistentFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT,
                                         DWORD exStyle, CCreateContext* context)
{
    CreateFrame(parent, rect, style, title, exStyle, context);
}

iPersistentFrameWnd::iPersistentFrameWnd(CWnd* parent, iWindowData* windowData, UINT) : m_windowData(windowData)
{
    CreateFromRecord(parent, 0, nullptr);
}

iPersistentFrameWnd::iPersistentFrameWnd(CWnd* parent, iWindowData* windowData, UINT, DWORD exStyle,
                                         CCreateContext* context)
    : m_windowData(windowData)
{
    CreateFromRecord(parent, exStyle, context);
}

iPersistentFrameWnd::~iPersistentFrameWnd()
{
    if (m_windowData)
        iWindowDataMap::Unregister(this);
}

void iPersistentFrameWnd::CreateFromRecord(CWnd* parent, DWORD exStyle, CCreateContext* context)
{
    if (!m_windowData)
        return;
    RECT rect;
    m_windowData->GetRect(&rect);
    CreateFrame(parent, rect, m_windowData->GetStyle(), m_windowData->GetName(), exStyle, context);
}

BOOL iPersistentFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!iFrameWnd::PreCreateWindow(cs))
        return FALSE;
    if (!m_windowData)
        m_windowData = RegisterWindowData(this, cs);
    ApplyWindowData(*m_windowData, cs);
    return TRUE;
}

void iPersistentFrameWnd::OnMove(int, int)
{
    Default();
    if (m_windowData)
        m_windowData->Update();
}

void iPersistentFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    iFrameWnd::OnSize(nType, cx, cy);
    if (m_windowData)
        m_windowData->Update();
}

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
