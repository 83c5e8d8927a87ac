// The library's colour picker.
#include "lib/src/Win2/Wnd/iColorPickerButton.h"

BEGIN_MESSAGE_MAP(iColorPickerButton, CQZColorPicker)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedReflect)
END_MESSAGE_MAP()

iColorPickerButton::iColorPickerButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CButton::Create(text, style | WS_CHILD, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

iColorPickerButton::iColorPickerButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id,
                                       DWORD exStyle, LPVOID param)
{
    CreateControlWindow(*this, "Button", parent, rect, style, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

iColorPickerButton::~iColorPickerButton() = default;

BOOL iColorPickerButton::OnClickedReflect()
{
    // The popup opens after the click, so only a handler that set a colour changes it here.
    const COLORREF before = GetEffectiveColor();
    m_onClicked.Fire(this);
    if (GetEffectiveColor() != before)
        m_access.SetModified();
    return FALSE;
}
