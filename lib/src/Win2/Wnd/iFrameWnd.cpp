// The library's plain frame and its creating forms.
#include "lib/src/Win2/Wnd/iFrameWnd.h"

IMPLEMENT_DYNCREATE(iFrameWnd, CFrameWnd)

iFrameWnd::iFrameWnd() = default;

iFrameWnd::iFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id)
{
    CreateFrame(parent, rect, style, title, 0, nullptr);
}

iFrameWnd::iFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT id, DWORD exStyle,
                     CCreateContext* context)
{
    CreateFrame(parent, rect, style, title, exStyle, context);
}

iFrameWnd::~iFrameWnd()
{
    m_windowSet.DeleteAll();
}

void iFrameWnd::CreateFrame(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, DWORD exStyle,
                            CCreateContext* context)
{
    m_isConstructing = true;
    const BOOL created = Create(nullptr, title, style, rect, parent, nullptr, exStyle, context);
    m_isConstructing = false;
    if (created)
        CopyParentFont(this, parent);
}

void iFrameWnd::PostNcDestroy()
{
    if (!m_isConstructing)
        CFrameWnd::PostNcDestroy();
}
