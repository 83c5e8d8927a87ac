// The file button.
#include "lib/src/Win2/MFC/iFileButton.h"

#include "lib/src/Win2/MFC/iFileDialog.h"
#include "lib/src/Win2/MFC/iFileEdit.h"

BEGIN_MESSAGE_MAP(iFileButton, iPushButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnChooseFile)
END_MESSAGE_MAP()

iFileButton::iFileButton()
{
    SetOptions(TRUE, nullptr, 0, nullptr);
}

iFileButton::iFileButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iPushButton(parent, rect, style, text, id)
{
    SetOptions(TRUE, nullptr, 0, nullptr);
}

iFileButton::iFileButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                         LPVOID param)
    : iPushButton(parent, rect, style, text, id, exStyle, param)
{
    SetOptions(TRUE, nullptr, 0, nullptr);
}

iFileButton::~iFileButton() = default;

void iFileButton::SetOptions(BOOL openMode, LPCSTR defaultExtension, DWORD flags, LPCSTR filter)
{
    m_openMode = openMode;
    m_defaultExtension = defaultExtension;
    m_flags = flags;
    m_filter = filter ? filter : kAllFilesFilter;
}

void iFileButton::SetInitialDir(LPCSTR path)
{
    m_initialDir = path;
}

BOOL iFileButton::OnChooseFile()
{
    const bool linked = (GetStyle() & IBS_LINKED) != 0;
    CString name;
    if (linked) {
        if (CWnd* before = GetWindow(GW_HWNDPREV)) {
            before->GetWindowText(name);
            // The edit asks with the same options when it is double-clicked itself.
            if (auto* edit = dynamic_cast<iFileEdit*>(CWnd::FromHandlePermanent(before->m_hWnd)))
                edit->SetOptions(m_openMode, m_defaultExtension, m_flags, m_filter);
        }
    } else {
        GetWindowText(name);
    }
    CString chosen;
    if (!AskForFileName(GetParent(), m_openMode, m_defaultExtension, name, m_flags, m_filter, m_initialDir, chosen))
        return TRUE;
    // Looked up again: the dialog ran its own message loop meanwhile.
    if (!linked)
        SetWindowText(chosen);
    else if (CWnd* before = GetWindow(GW_HWNDPREV))
        before->SetWindowText(chosen);
    return TRUE;
}
