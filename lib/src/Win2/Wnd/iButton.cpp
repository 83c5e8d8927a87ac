// The library's buttons and group box.
#include "lib/src/Win2/Wnd/iButton.h"

IMPLEMENT_DYNCREATE(iButton, CButton)

BEGIN_MESSAGE_MAP(iButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedReflect)
    ON_CONTROL_REFLECT_EX(BN_DOUBLECLICKED, OnDoubleClickedReflect)
END_MESSAGE_MAP()

iButton::iButton() = default;

iButton::iButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CreateItem(parent, rect, style, text, id);
}

iButton::iButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param)
{
    CreateWindowForm(parent, rect, style, text, id, exStyle, param);
}

iButton::~iButton() = default;

void iButton::CreateItem(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CButton::Create(text, style | WS_CHILD, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

void iButton::CreateWindowForm(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                               LPVOID param)
{
    CreateControlWindow(*this, "Button", parent, rect, style, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

void iButton::SetModified()
{
    m_access.SetModified();
}

BOOL iButton::OnClickedReflect()
{
    m_onClicked.Fire(this);
    return FALSE;
}

BOOL iButton::OnDoubleClickedReflect()
{
    m_onDoubleClicked.Fire(this);
    return FALSE;
}

iPushButton::iPushButton() = default;

iPushButton::iPushButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CreateItem(parent, rect, style, text, id);
}

iPushButton::iPushButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                         LPVOID param)
{
    CreateWindowForm(parent, rect, style, text, id, exStyle, param);
}

iPushButton::~iPushButton() = default;

iGroupBox::iGroupBox() = default;

iGroupBox::iGroupBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CButton::Create(text, style | WS_CHILD | BS_GROUPBOX, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

iGroupBox::iGroupBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                     LPVOID param)
{
    CreateControlWindow(*this, "Button", parent, rect, style | BS_GROUPBOX, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

iGroupBox::~iGroupBox() = default;

CWnd* GetPickerTarget(CWnd& button)
{
    if (!(button.GetStyle() & IBS_LINKED))
        return &button;
    return button.GetWindow(GW_HWNDPREV);
}
