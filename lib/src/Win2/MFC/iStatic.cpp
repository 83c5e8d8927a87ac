// The library's static control.
#include "lib/src/Win2/MFC/iStatic.h"

IMPLEMENT_DYNAMIC(iStatic, CStatic)

iStatic::iStatic(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CStatic::Create(text, style, mapped, parent, id);
    CopyParentFont(this, parent);
    static_cast<void>(m_access.Attach(this));
}

iStatic::iStatic(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param)
{
    CreateControlWindow(*this, "Static", parent, rect, style, text, id, exStyle, param);
    CopyParentFont(this, parent);
    static_cast<void>(m_access.Attach(this));
}

iStatic::~iStatic() = default;
