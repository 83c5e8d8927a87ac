// The folder button's browse.
#include "lib/src/Win2/MFC/iFolderButton.h"

#include "lib/src/Win2/MFC/iFolderBrowse.h"

BEGIN_MESSAGE_MAP(iFolderButton, iPushButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnBrowseReflect)
END_MESSAGE_MAP()

iFolderButton::iFolderButton() = default;

iFolderButton::iFolderButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CreateItem(parent, rect, style, text, id);
}

iFolderButton::iFolderButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                             LPVOID param)
{
    CreateWindowForm(parent, rect, style, text, id, exStyle, param);
}

iFolderButton::~iFolderButton() = default;

BOOL iFolderButton::OnBrowseReflect()
{
    CWnd* parent = GetParent();
    iString folder;
    if (!BrowseForFolder(parent ? parent->GetSafeHwnd() : nullptr, folder))
        return FALSE;
    if (!(GetStyle() & kLinkedStyle)) {
        SetWindowText(folder);
        return FALSE;
    }
    // The application creates each folder button right after the edit it serves.
    CWnd* edit = GetWindow(GW_HWNDPREV);
    if (edit)
        edit->SetWindowText(folder);
    return FALSE;
}
