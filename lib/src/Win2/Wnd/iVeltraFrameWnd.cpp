// The library's toolkit frame and its creating forms.
#include "lib/src/Win2/Wnd/iVeltraFrameWnd.h"

IMPLEMENT_DYNCREATE(iVeltraFrameWnd, CQZFrameWnd)

iVeltraFrameWnd::iVeltraFrameWnd() = default;

iVeltraFrameWnd::iVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT)
{
    CreateFrame(parent, rect, style, title, 0, nullptr);
}

iVeltraFrameWnd::iVeltraFrameWnd(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, UINT, DWORD exStyle,
                                 CCreateContext* context)
{
    CreateFrame(parent, rect, style, title, exStyle, context);
}

iVeltraFrameWnd::~iVeltraFrameWnd()
{
    m_windowSet.DeleteAll();
}

void iVeltraFrameWnd::CreateFrame(CWnd* parent, const RECT& rect, DWORD style, LPCSTR title, DWORD exStyle,
                                  CCreateContext* context)
{
    m_isConstructing = true;
    const BOOL created = Create(nullptr, title, style, rect, parent, nullptr, exStyle, context);
    m_isConstructing = false;
    if (created)
        CopyParentFont(this, parent);
}

void iVeltraFrameWnd::PostNcDestroy()
{
    if (!m_isConstructing)
        CQZFrameWnd::PostNcDestroy();
}
