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
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CreateEx(exStyle, "Static", text, style | WS_CHILD, mapped.left, mapped.top, mapped.Width(), mapped.Height(),
             parent ? parent->GetSafeHwnd() : nullptr, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
    CopyParentFont(this, parent);
    static_cast<void>(m_access.Attach(this));
}

iStatic::~iStatic() = default;
