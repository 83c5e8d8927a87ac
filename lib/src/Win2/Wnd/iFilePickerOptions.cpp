// The file pickers' options and their button click.
#include "lib/src/Win2/Wnd/iFilePickerOptions.h"

#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iFileEdit.h"

iFilePickerOptions::iFilePickerOptions()
{
    SetOptions(TRUE, nullptr, 0, nullptr);
}

iFilePickerOptions::~iFilePickerOptions() = default;

void iFilePickerOptions::SetOptions(BOOL openMode, LPCSTR defaultExtension, DWORD flags, LPCSTR filter)
{
    m_openMode = openMode;
    m_defaultExtension = defaultExtension;
    m_flags = flags;
    m_filter = filter ? filter : kAllFilesFilter;
}

void iFilePickerOptions::SetInitialDir(LPCSTR path)
{
    m_initialDir = path;
}

BOOL iFilePickerOptions::AskForName(CWnd* parent, LPCSTR fileName, CString& chosen)
{
    return AskForFileName(parent, m_openMode, m_defaultExtension, fileName, m_flags, m_filter, m_initialDir, chosen);
}

void iFilePickerOptions::ChooseForButton(CWnd& button)
{
    CString name;
    if (CWnd* target = GetPickerTarget(button)) {
        target->GetWindowText(name);
        // The edit asks with the same options when it is double-clicked itself.
        if (auto* edit = dynamic_cast<iFileEdit*>(CWnd::FromHandlePermanent(target->m_hWnd)))
            edit->SetOptions(m_openMode, m_defaultExtension, m_flags, m_filter);
    }
    CString chosen;
    if (!AskForName(button.GetParent(), name, chosen))
        return;
    // Looked up again: the dialog ran its own message loop meanwhile.
    if (CWnd* target = GetPickerTarget(button))
        target->SetWindowText(chosen);
}
