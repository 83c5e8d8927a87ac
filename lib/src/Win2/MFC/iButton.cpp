// The library's buttons and group box.
#include "lib/src/Win2/MFC/iButton.h"

namespace {

// Window form of the buttons: a "Button" child with the mapped rectangle.
void CreateButtonWindow(CWnd& button, CWnd* parent, const CRect& mapped, DWORD style, LPCSTR text, UINT id,
                        DWORD exStyle, LPVOID param)
{
    button.CreateEx(exStyle, "Button", text, style | WS_CHILD, mapped.left, mapped.top, mapped.Width(),
                    mapped.Height(), parent ? parent->GetSafeHwnd() : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

} // namespace

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
    CopyParentFont(this, parent);
    static_cast<void>(m_access.Attach(this));
}

void iButton::CreateWindowForm(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                               LPVOID param)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CreateButtonWindow(*this, parent, mapped, style, text, id, exStyle, param);
    CopyParentFont(this, parent);
    static_cast<void>(m_access.Attach(this));
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
    CopyParentFont(this, parent);
    static_cast<void>(m_access.Attach(this));
}

iGroupBox::iGroupBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                     LPVOID param)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CreateButtonWindow(*this, parent, mapped, style | BS_GROUPBOX, text, id, exStyle, param);
    CopyParentFont(this, parent);
    static_cast<void>(m_access.Attach(this));
}

iGroupBox::~iGroupBox() = default;
