// The file edit.
#include "lib/src/Win2/Wnd/iFileEdit.h"

iFileEdit::iFileEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    // Made here rather than by iEdit's form, so that the picker edit's styles apply.
    CreateItem(parent, rect, style, id);
}

iFileEdit::~iFileEdit() = default;

BOOL iFileEdit::AskForText(iString& chosen)
{
    return AskForName(GetParent(), GetText(), chosen);
}
