// The toolbar's part in the control's customise dialog: which buttons the dialog may
// offer (from the snapshot), their texts, which may be removed, what a reset brings back,
// and the layout the control saves in the registry when the dialog ends (and, for a
// customisable toolbar, when it goes) and restores when docking is enabled. The saved
// value is the control's own; the toolbar never reads or writes its content.
#include "toolkit/bars/QZToolBar.h"

#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "toolkit/bars/QZFrameWnd.h"
#include "toolkit/foundation/QZString.h"
#include "toolkit/foundation/QZResourceSwitch.h"
#include "toolkit/res/ToolkitResources.h"

#include <algorithm>
#include <cstring>

namespace {

// The command's label in the menu, as the menu names it: without its mnemonic markers
// and its shortcut text; empty when the menu has no item with the command.
CString MenuTextOfCommand(HMENU menu, UINT nID)
{
    char label[256] = {};
    // By command, the search goes down into the sub-menus.
    if (!menu || ::GetMenuStringA(menu, nID, label, sizeof label, MF_BYCOMMAND) <= 0)
        return CString();
    CString text(label);
    const int tab = text.Find('\t');
    if (tab >= 0)
        text = text.Left(tab);
    QZStripMnemonic(text);
    return text;
}

// The menu of the frame the toolbar's commands go to: a toolkit frame's menu bar shows it.
HMENU MenuOfCommandFrame(CQZToolBar* bar)
{
    CWnd* owner = bar->GetOwner();
    CFrameWnd* frame = owner && owner->IsFrameWnd() ? static_cast<CFrameWnd*>(owner) : bar->GetDockingFrame();
    if (!frame)
        frame = bar->GetTopLevelFrame();
    if (!frame || !frame->m_hWnd)
        return nullptr;
    if (frame->IsKindOf(RUNTIME_CLASS(CQZFrameWnd))) {
        CMenu* menu = static_cast<CQZFrameWnd*>(frame)->GetMenu();
        return menu ? menu->m_hMenu : nullptr;
    }
    return ::GetMenu(frame->m_hWnd);
}

// The dialog's name for a command without a text of its own, as the bar's tooltips and the
// menus name it: the tip part of its string (after the newline), or the prompt part when
// the tip is empty; for a string without a newline, the command's menu label, else that
// string, which is the status prompt. The dialog shows "Separator" for an entry given no
// name, so a command nothing names gets a blank one: its image alone.
CString DialogTextOfCommand(CQZToolBar* bar, UINT nID)
{
    CString text;
    if (text.LoadString(nID) && !text.IsEmpty()) {
        const int newline = text.Find('\n');
        if (newline >= 0) {
            CString tip = text.Mid(newline + 1);
            return tip.IsEmpty() ? text.Left(newline) : tip;
        }
    }
    CString label = MenuTextOfCommand(MenuOfCommandFrame(bar), nID);
    if (!label.IsEmpty())
        return label;
    return text.IsEmpty() ? CString(" ") : text;
}

} // namespace

void CQZToolBar::SaveState()
{
    if (m_strRegKey.IsEmpty())
        return;
    TBSAVEPARAMSA params = {HKEY_CURRENT_USER, m_strRegKey, m_strRegValue};
    SendMessage(TB_SAVERESTOREA, TRUE, reinterpret_cast<LPARAM>(&params));
}

void CQZToolBar::RestoreState()
{
    CWnd* parent = GetParent();
    if (!parent || !parent->IsKindOf(RUNTIME_CLASS(CFrameWnd))) {
        // Only a bar of a frame is customised: elsewhere a double click must not open the dialog.
        ModifyStyle(CCS_ADJUSTABLE | TBSTYLE_ALTDRAG, 0);
        return;
    }
    if (!m_strRegKey.IsEmpty()) {
        TBSAVEPARAMSA params = {HKEY_CURRENT_USER, m_strRegKey, m_strRegValue};
        SendMessage(TB_SAVERESTOREA, FALSE, reinterpret_cast<LPARAM>(&params));
    }
    PositionControls();
}

void CQZToolBar::EnableDocking(DWORD dwDockStyle)
{
    if (m_bCustomizable)
        RestoreState();
    CQZControlBar::EnableDocking(dwDockStyle);
}

void CQZToolBar::OnDestroy()
{
    if (m_bCustomizable)
        SaveState();
    CQZControlBar::OnDestroy();
}

void CQZToolBar::OnBeginAdjust(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (IsChevronAllowed()) {
        // The dialog sees every button, and no room is kept for the chevron meanwhile.
        if (HasHiddenButtons())
            RestoreHiddenButtons();
        PositionChevron(10000, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
        m_bCustomizing = 1;
        if (CFrameWnd* frame = GetDockingFrame())
            frame->DelayRecalcLayout(TRUE);
        return;
    }
    m_bCustomizing = 1;
}

void CQZToolBar::OnEndAdjust(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    m_bCustomizing = 0;
    SaveState();
}

void CQZToolBar::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = TRUE;
}

void CQZToolBar::OnEndDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = TRUE;
}

void CQZToolBar::OnQueryInsert(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = TRUE;
}

void CQZToolBar::OnQueryDelete(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* notify = reinterpret_cast<const NMTOOLBARA*>(pNMHDR);
    const int command = notify->tbButton.idCommand;
    // A button hidden behind the chevron is not the user's to remove.
    *pResult = command == 0 || !SendMessage(TB_ISBUTTONHIDDEN, static_cast<WPARAM>(command));
}

void CQZToolBar::OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* notify = reinterpret_cast<NMTOOLBARA*>(pNMHDR);
    *pResult = FALSE;
    const int n = notify->iItem;
    if (n < 0 || n >= m_listButtons.GetCount())
        return;
    POSITION position = m_listButtons.FindIndex(n);
    if (!position)
        return;
    QZ_TBBUTTON& element = m_listButtons.GetAt(position);
    const int command = element.button.idCommand;
    if (command > 0 && !(element.button.fsStyle & TBSTYLE_SEP)) {
        CString text;
        if (m_mapButtonTexts.Lookup(command, text)) {
            void* poolIndex = nullptr;
            if (m_pStringMap && m_pStringMap->Lookup(text, poolIndex))
                element.button.iString = reinterpret_cast<INT_PTR>(poolIndex);
        } else {
            text = DialogTextOfCommand(this, static_cast<UINT>(command));
        }
        // The dialog's buffer holds cchText characters with the terminator: a longer text
        // is cut to fit, and a buffer of none is left alone.
        if (!text.IsEmpty() && notify->pszText && notify->cchText > 0) {
            const int length = std::min(text.GetLength(), notify->cchText - 1);
            std::memcpy(notify->pszText, static_cast<LPCSTR>(text), static_cast<size_t>(length));
            notify->pszText[length] = '\0';
            notify->cchText = length;
        }
    }
    // The dialog and the control's restore make buttons from this record as it is.
    notify->tbButton = QZToControlButton(element.button);
    if (element.pControl)
        PositionControl(element.pControl);
    *pResult = TRUE;
}

void CQZToolBar::OnReset(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = TRUE;
    CString question;
    QZResourceSwitch resources;
    resources.Enter();
    question.LoadString(IDS_QZ_RESET_TOOLBAR);
    resources.Leave();
    // The customise dialog has the focus and owns the question.
    CWnd* focus = CWnd::GetFocus();
    CWnd* owner = focus ? focus : this;
    if (owner->MessageBox(question, nullptr, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    for (int i = static_cast<int>(SendMessage(TB_BUTTONCOUNT)) - 1; i >= 0; --i)
        SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(i));
    for (POSITION position = m_listButtons.GetHeadPosition(); position;) {
        QZ_TBBUTTON& element = m_listButtons.GetNext(position);
        if (element.bHiddenAtSnapshot)
            continue;
        TBBUTTON button = QZToControlButton(element.button);
        SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    m_nCount = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    m_bLayoutPending = TRUE;
    AutoSizeButtons();
    PositionControls();
    if (CFrameWnd* frame = GetParentFrame())
        frame->RecalcLayout();
    // The buttons come back as they were at the snapshot; the commands' states now.
    OnIdleUpdateCmdUI(TRUE, 0);
}

void CQZToolBar::OnToolbarChange(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    PositionControls();
    if (CFrameWnd* frame = GetParentFrame())
        frame->RecalcLayout();
    OnIdleUpdateCmdUI(TRUE, 0);
}

void CQZToolBar::OnCustHelp(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    AfxMessageBox("Help not implemented!", MB_ICONINFORMATION);
}
