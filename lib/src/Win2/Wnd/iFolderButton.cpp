// The folder button's browse.
#include "lib/src/Win2/Wnd/iFolderButton.h"

#include "lib/src/Win2/Wnd/iFolderBrowse.h"

BEGIN_MESSAGE_MAP(iFolderButton, iPushButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnBrowseReflect)
END_MESSAGE_MAP()

BOOL iFolderButton::OnBrowseReflect()
{
    CWnd* parent = GetParent();
    iString folder;
    if (!BrowseForFolder(parent ? parent->GetSafeHwnd() : nullptr, folder))
        return FALSE;
    // The application creates each folder button right after the edit it serves.
    if (CWnd* target = GetPickerTarget(*this))
        target->SetWindowText(folder);
    return FALSE;
}
