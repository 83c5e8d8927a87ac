// The library's slider.
#include "lib/src/Win2/Wnd/iSliderCtrl.h"

#include <commctrl.h>

iSliderCtrl::iSliderCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    Create(style, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

iSliderCtrl::iSliderCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                         LPVOID param)
{
    CreateControlWindow(*this, TRACKBAR_CLASSA, parent, rect, style, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

iSliderCtrl::~iSliderCtrl() = default;
