// The library's flat button.
#include "lib/src/Win2/Wnd/iVeltraButton.h"

IMPLEMENT_DYNAMIC(iVeltraButton, CQZButton)

BEGIN_MESSAGE_MAP(iVeltraButton, CQZButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedReflect)
    ON_CONTROL_REFLECT_EX(BN_DOUBLECLICKED, OnDoubleClickedReflect)
END_MESSAGE_MAP()

iVeltraButton::iVeltraButton() = default;

iVeltraButton::iVeltraButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CButton::Create(text, style, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

iVeltraButton::iVeltraButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                             LPVOID param)
{
    CreateControlWindow(*this, "Button", parent, rect, style, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

iVeltraButton::~iVeltraButton() = default;

BOOL iVeltraButton::OnClickedReflect()
{
    m_onClicked.Fire(this);
    return FALSE;
}

BOOL iVeltraButton::OnDoubleClickedReflect()
{
    m_onDoubleClicked.Fire(this);
    return FALSE;
}
