// The workspace under the keyboard, as a dialog behaves: Tab and Shift+Tab go through
// the inputs, the folder tree and the Files list in the order they stand on screen, and
// the focus comes back to the control that had it when the window is active again.
#include "Workspace.h"

#include "lib/src/Win2/Wnd/iTabNavigation.h"

std::vector<CWnd*> Workspace::TabOrder() const
{
    // The banner's browser marks itself as a tab stop but is no part of the work: left out.
    return {m_widthEdit,     m_widthUnit,   m_heightEdit,   m_heightUnit, m_resolutionEdit, m_resolutionUnit,
            m_resizeButton, m_resetButton, m_proportions, m_method,     m_folderTree,     m_fileList};
}

BOOL Workspace::PreTranslateMessage(MSG* pMsg)
{
    if (HandleTabKey(this, pMsg, TabOrder()))
        return TRUE;
    return iView::PreTranslateMessage(pMsg);
}

void Workspace::OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd)
{
    iView::OnActivateFrame(nState, pFrameWnd);
    if (nState != WA_INACTIVE)
        return;
    HWND focus = ::GetFocus();
    m_lastFocus = focus && ::IsChild(m_hWnd, focus) ? focus : nullptr;
}

void Workspace::OnSetFocus(CWnd* pOldWnd)
{
    iView::OnSetFocus(pOldWnd);
    HWND target = m_lastFocus;
    if (!target || !::IsChild(m_hWnd, target) || !::IsWindowEnabled(target) || !::IsWindowVisible(target))
        target = FirstTabItem(TabOrder());
    FocusTabItem(target);
}
