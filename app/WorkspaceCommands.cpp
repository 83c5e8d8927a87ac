// The commands the workspace takes: the File menu's range, the Extra menu's range and
// the banner history; opening and closing the image, and the question about unsaved
// changes before anything closes it.
#include "Workspace.h"

#include "AppCommands.h"
#include "Option.h"
#include "OptionPropertySheet.h"

#include "banner/AffiliateLink.h"

#include "lib/src/MsgBox.h"
#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iCheckBox.h"
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "lib/src/Win2/Wnd/iStatic.h"
#include "lib/src/Win2/Wnd/iTabNavigation.h"

void Workspace::OnFileCommand(UINT id)
{
    switch (id) {
    case ID_FILE_OPEN:
        OpenSelectedFile();
        break;
    case ID_FILE_CLOSE:
        if (AskToSaveChanges())
            CloseFile();
        break;
    case ID_FILE_SAVE:
        SaveFile();
        break;
    case ID_FILE_SAVE_AS:
        SaveFileAs();
        break;
    default:
        // Print and the rest of the range: taken here, nothing to do.
        break;
    }
}

void Workspace::OnUpdateFileCommand(CCmdUI* pCmdUI)
{
    switch (pCmdUI->m_nID) {
    case ID_FILE_CLOSE:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_PRINT:
        pCmdUI->Enable(m_isOpen);
        break;
    default:
        // Nothing adds to the recent-file list: its entries stay greyed.
        if (pCmdUI->m_nID >= ID_FILE_MRU_FILE1 && pCmdUI->m_nID <= ID_FILE_MRU_LAST)
            pCmdUI->Enable(FALSE);
        break;
    }
}

void Workspace::OnExtraCommand(UINT id)
{
    if (id == ID_EXTRA_OPTIONS)
        RunOptions();
}

void Workspace::RunOptions()
{
    OptionPropertySheet sheet(this, g_pOption);
    if (sheet.DoModal() == IDOK) {
        g_pOption->SaveToRegistry();
        ApplyOptions(true);
    } else {
        g_pOption->LoadFromRegistry();
    }
}

void Workspace::OnBannerHistory()
{
    if (m_banner)
        m_banner->ShowHistory();
}

void Workspace::OnUpdateBannerHistory(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_banner != nullptr);
}

void Workspace::EnableInputs(bool enable)
{
    CWnd* const inputs[] = {m_widthLabel,      m_widthEdit,      m_widthUnit,    m_heightLabel, m_heightEdit,
                            m_heightUnit,      m_resolutionLabel, m_resolutionEdit, m_resolutionUnit,
                            m_resizeButton,    m_resetButton,    m_proportions,  m_methodLabel, m_method};
    HWND focus = ::GetFocus();
    for (CWnd* input : inputs) {
        // A disabled window loses the focus to nothing, where no key reaches the workspace:
        // the Files list takes it first.
        if (!enable && focus && (input->m_hWnd == focus || ::IsChild(input->m_hWnd, focus)))
            FocusTabItem(m_fileList->m_hWnd);
        input->EnableWindow(enable);
    }
}

bool Workspace::OpenSelectedFile()
{
    if (m_isOpen)
        return false;
    if (!m_fileInfo.IsValid()) {
        // A file was chosen but cannot be read: Open says why instead of doing nothing.
        if (!m_fileInfo.GetPath().IsEmpty())
            ShowLoadError(m_fileInfo.GetPath(), m_fileInfo.GetResult());
        return false;
    }
    // An image whose pixels cannot be loaded is not open: nothing could be saved of it.
    if (!m_result->Load(m_fileInfo.GetPath(), true)) {
        ShowLoadError(m_fileInfo.GetPath(), m_result->GetBitmap().GetStatus());
        return false;
    }
    m_isOpen = true;
    EnableInputs(true);
    RefreshPreview();
    UpdateTitle();
    return true;
}

bool Workspace::CloseFile()
{
    if (!m_isOpen)
        return false;
    m_result->Free(true);
    EnableInputs(false);
    m_isOpen = false;
    m_isModified = false;
    RefreshPreview();
    UpdateTitle();
    return true;
}

bool Workspace::AskToSaveChanges()
{
    if (!m_isOpen || !m_isModified)
        return true;
    switch (MsgBoxQuestion(MB_YESNOCANCEL, kCaption, m_hWnd, "Changes have been made.\nSave the changes?")) {
    case IDYES:
        // A save that failed or was declined keeps the changes and the image.
        return SaveFile();
    case IDNO:
        return true;
    default:
        return false;
    }
}
