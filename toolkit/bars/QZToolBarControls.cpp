// The toolbar's child controls (placed over separators that carry their ids), the command
// update of its buttons and the tool under the mouse for tips and flyby text.
#include "toolkit/bars/QZToolBar.h"

#include "framework/CmdUI.h"
#include "framework/FrameWnd.h"

namespace {

// A button's update item. Enabling and checking go through the button's style word, so
// that an unchanged state touches nothing and a disabled button is never left pressed.
class CQZToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        auto* bar = static_cast<CQZToolBar*>(m_pOther);
        UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~QZ_TBBS_DISABLED;
        if (!bOn)
            style = (style | QZ_TBBS_DISABLED) & ~QZ_TBBS_PRESSED;
        bar->SetButtonStyle(static_cast<int>(m_nIndex), style);
    }
    void SetCheck(int nCheck) override
    {
        auto* bar = static_cast<CQZToolBar*>(m_pOther);
        UINT style = bar->GetButtonStyle(static_cast<int>(m_nIndex)) & ~(QZ_TBBS_CHECKED | QZ_TBBS_INDETERMINATE);
        if (nCheck == 1)
            style |= QZ_TBBS_CHECKED;
        else if (nCheck == 2)
            style |= QZ_TBBS_INDETERMINATE;
        bar->SetButtonStyle(static_cast<int>(m_nIndex), style | TBSTYLE_CHECK);
    }
    // The toolbar shows no command-dependent texts.
    void SetText(LPCSTR) override {}
};

// The bar's own update route for a command, as a reflected update of id 0.
const int kReflectedUpdate = static_cast<int>(MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE));

} // namespace

BOOL CQZToolBar::AddControl(CWnd* pCtrl, BOOL bBoldFont)
{
    const int id = pCtrl->GetDlgCtrlID();
    for (POSITION position = m_listButtons.GetHeadPosition(); position;) {
        QZ_TBBUTTON& element = m_listButtons.GetNext(position);
        if (element.button.idCommand != id)
            continue;
        element.pControl = pCtrl;
        element.bBoldFont = bBoldFont ? 1 : 0;
        CFont& font = bBoldFont ? m_fontBold : m_fontBar;
        pCtrl->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject), TRUE);
        PositionControl(pCtrl);
        break;
    }
    return TRUE;
}

void CQZToolBar::PositionControl(CWnd* pCtrl)
{
    if (!pCtrl)
        return;
    const int id = pCtrl->GetDlgCtrlID();
    if (SendMessage(TB_ISBUTTONHIDDEN, static_cast<WPARAM>(id))) {
        pCtrl->ShowWindow(SW_HIDE);
        return;
    }
    pCtrl->ShowWindow(SW_SHOWNA);
    const int index = CommandToIndex(static_cast<UINT>(id));
    CRect control;
    pCtrl->GetWindowRect(&control);
    ScreenToClient(&control);
    SetButtonInfo(index, static_cast<UINT>(id), TBSTYLE_SEP, control.Width());

    CRect item;
    GetItemRect(index, &item);
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
    if (control != item)
        pCtrl->SetWindowPos(nullptr, item.left, item.top, 0, 0, flags);
    if (control.Height() != item.Height()) {
        int y = (item.top + item.bottom - control.Height()) / 2;
        if (y < 0)
            y = 0;
        pCtrl->SetWindowPos(nullptr, item.left, y, 0, 0, flags);
    }
}

void CQZToolBar::PositionControls()
{
    // The first pass sets the separators' widths on which the second places the controls.
    for (int pass = 0; pass < 2; ++pass) {
        for (POSITION position = m_listButtons.GetHeadPosition(); position;) {
            QZ_TBBUTTON& element = m_listButtons.GetNext(position);
            if (element.pControl)
                PositionControl(element.pControl);
        }
    }
    if (CFrameWnd* frame = GetParentFrame())
        frame->RecalcLayout();
    AutoSizeButtons();
}

BOOL CQZToolBar::AutoSizeButtons()
{
    if (!(GetStyle() & TBSTYLE_LIST)) {
        SendMessage(TB_AUTOSIZE);
        return TRUE;
    }
    const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        if (!GetButton(i, &button) || button.idCommand == 0)
            continue;
        CWnd* control = nullptr;
        for (POSITION position = m_listButtons.GetHeadPosition(); position && !control;) {
            const QZ_TBBUTTON& element = m_listButtons.GetNext(position);
            if (element.button.idCommand == button.idCommand)
                control = element.pControl;
        }
        if (control) {
            CRect item;
            GetItemRect(i, &item);
            CRect current;
            control->GetWindowRect(&current);
            ScreenToClient(&current);
            if (current.TopLeft() != item.TopLeft() || !control->IsWindowVisible())
                control->SetWindowPos(nullptr, item.left, item.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            button.fsStyle |= BTNS_AUTOSIZE;
            SetButton(i, &button);
        }
    }
    return TRUE;
}

void CQZToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CQZToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(SendMessage(TB_BUTTONCOUNT));
    for (UINT index = 0; index < state.m_nIndexMax; ++index) {
        TBBUTTON button = {};
        if (!GetButton(static_cast<int>(index), &button) || (button.fsStyle & TBSTYLE_SEP))
            continue;
        state.m_nIndex = index;
        state.m_nID = static_cast<UINT>(button.idCommand);
        if (OnCmdMsg(0, kReflectedUpdate, &state, nullptr))
            continue;
        if (OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

int CQZToolBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI)
{
    const int childHit = CQZControlBar::OnToolHitTest(point, pTI);
    if (childHit != -1)
        return childHit;
    const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        CRect item;
        if (!GetButton(i, &button) || (button.fsState & TBSTATE_HIDDEN) ||
            !SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            continue;
        // The pixel row and column just outside a button still belong to it.
        ++item.right;
        ++item.bottom;
        if (!item.PtInRect(point) || (button.fsStyle & TBSTYLE_SEP))
            continue;
        if (button.idCommand == 0)
            return -1;
        // A tool record of this build's size (pointers of 64 bits), with or without the
        // reserved pointer at its end.
        if (pTI && pTI->cbSize >= TTTOOLINFOA_V2_SIZE) {
            pTI->hwnd = m_hWnd;
            pTI->rect = item;
            pTI->uId = static_cast<UINT_PTR>(button.idCommand);
            pTI->lpszText = LPSTR_TEXTCALLBACKA;
        }
        return button.idCommand;
    }
    return -1;
}
