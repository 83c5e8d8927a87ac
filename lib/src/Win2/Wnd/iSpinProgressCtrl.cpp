// The library's spin control and progress bar.
#include "lib/src/Win2/Wnd/iSpinProgressCtrl.h"

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
    CreateControlWindow(*this, UPDOWN_CLASSA, parent, rect, style, text, id, exStyle, param);
    SetRange32(kRangeMin, kRangeMax);
    JoinParent(*this, parent, m_access);
}

iSpinButtonCtrl::~iSpinButtonCtrl() = default;

iProgressCtrl::iProgressCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    Create(style, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

iProgressCtrl::~iProgressCtrl() = default;
