// The library's static control.
#include "lib/src/Win2/Wnd/iStatic.h"

IMPLEMENT_DYNAMIC(iStatic, CStatic)

iStatic::iStatic(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CStatic::Create(text, style, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

iStatic::iStatic(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param)
{
    CreateControlWindow(*this, "Static", parent, rect, style, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

iStatic::~iStatic() = default;
