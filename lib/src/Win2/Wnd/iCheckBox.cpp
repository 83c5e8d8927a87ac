// The library's check box.
#include "lib/src/Win2/Wnd/iCheckBox.h"

BEGIN_MESSAGE_MAP(iCheckBox, iButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnCheckClicked)
END_MESSAGE_MAP()

iCheckBox::iCheckBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iButton(parent, rect, style | BS_AUTOCHECKBOX, text, id)
{
}

iCheckBox::iCheckBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                     LPVOID param)
    : iButton(parent, rect, style | BS_AUTOCHECKBOX, text, id, exStyle, param)
{
}

iCheckBox::~iCheckBox() = default;

BOOL iCheckBox::OnCheckClicked()
{
    // Every click counts, also one that toggles the box back.
    SetModified();
    return OnClickedReflect();
}
