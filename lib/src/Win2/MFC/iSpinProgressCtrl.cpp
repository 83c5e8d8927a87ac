// The library's spin control and progress bar.
#include "lib/src/Win2/MFC/iSpinProgressCtrl.h"

iSpinButtonCtrl::iSpinButtonCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    Create(style, mapped, parent, id);
    SetRange32(kRangeMin, kRangeMax);
    static_cast<void>(m_access.Attach(this));
}

iSpinButtonCtrl::iSpinButtonCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                                 LPVOID param)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CreateEx(exStyle, UPDOWN_CLASSA, text, style | WS_CHILD, mapped.left, mapped.top, mapped.Width(), mapped.Height(),
             parent ? parent->GetSafeHwnd() : nullptr, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
    CopyParentFont(this, parent);
    SetRange32(kRangeMin, kRangeMax);
    static_cast<void>(m_access.Attach(this));
}

iSpinButtonCtrl::~iSpinButtonCtrl() = default;

iProgressCtrl::iProgressCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    Create(style, mapped, parent, id);
    CopyParentFont(this, parent);
    static_cast<void>(m_access.Attach(this));
}

iProgressCtrl::~iProgressCtrl() = default;
