// The toolbar's hidden buttons: those hidden from the end of a row that is too short,
// brought back as room returns, and the chevron at the end of the bar that stands for
// them. The dock bars' row layout and a rebar band give the room.
#include "toolkit/bars/QZToolBar.h"

#include "toolkit/bars/QZToolBarRecords.h"
#include "toolkit/foundation/QZSysColorBitmap.h"
#include "toolkit/res/ToolkitResources.h"

#include <algorithm>
#include <vector>

namespace {

// A copied button's belongings that the target toolbar takes over once the button is in.
struct QZ_BUTTONINFO {
    CString strText;
    CWnd* pControl = nullptr;
    // Borrowed from the source toolbar's snapshot.
    QZ_DROPDOWNBUTTON* pDropDown = nullptr;
    int nIndex = 0;
};

// A row break in a button array: a separator that wraps.
TBBUTTON RowBreak()
{
    TBBUTTON button = {};
    button.fsState = TBSTATE_WRAP | TBSTATE_ENABLED;
    button.fsStyle = TBSTYLE_SEP;
    return button;
}

} // namespace

BOOL CQZToolBar::IsChevronAllowed()
{
    return !m_bCustomizing;
}

BOOL CQZToolBar::HasHiddenButtons()
{
    return !m_mapHiddenButtons.IsEmpty();
}

BOOL CQZToolBar::IsHorizontalBar()
{
    return m_bInReBar || IsHorzDocked();
}

BOOL CQZToolBar::GetChevronState() const
{
    return m_bCustomizable;
}

void CQZToolBar::RestoreHiddenButtons()
{
    for (POSITION position = m_mapHiddenButtons.GetStartPosition(); position;) {
        int index = 0;
        QZ_HIDDENBUTTON hidden;
        m_mapHiddenButtons.GetNextAssoc(position, index, hidden);
        TBBUTTON button = {};
        if (GetButton(index, &button) && (button.fsState & TBSTATE_HIDDEN)) {
            button.fsState &= ~TBSTATE_HIDDEN;
            SetButton(index, &button);
            m_bLayoutPending = TRUE;
        }
    }
    m_mapHiddenButtons.RemoveAll();
}

void CQZToolBar::PositionChevron(int nLength, BOOL bHorz)
{
    CWnd* chevron = ChildWithId(ID_QZ_CUSTOMIZE_TOOLBAR);
    if (!chevron)
        return;
    const bool show = HasHiddenButtons() || m_bCustomizable;
    const bool visible = chevron->IsWindowVisible() != FALSE;
    // The inside of an empty rectangle: minus the two borders along the bar.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    const int border = bHorz ? -inside.Width() : -inside.Height();
    CPoint position;
    if (bHorz)
        position = CPoint(m_bInReBar ? nLength - QZ_CHEVRON_LENGTH : nLength - QZ_CHEVRON_LENGTH - border, 1);
    else
        position = CPoint(1, nLength - QZ_CHEVRON_LENGTH - border);

    // The chevron never covers the first visible button.
    CQZToolBarRecords records(*this);
    for (int i = 0; i < records.count(); ++i) {
        if (records[i].fsState & TBSTATE_HIDDEN)
            continue;
        CRect item;
        if (SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) {
            const int extent = bHorz ? item.Width() : item.Height();
            const int along = bHorz ? position.x : position.y;
            if (extent > along)
                QZSetAlongBar(&position, bHorz, extent);
        }
        break;
    }

    CRect current;
    chevron->GetWindowRect(&current);
    ScreenToClient(&current);
    if (current.TopLeft() == position && visible == show)
        return;
    chevron->SetWindowPos(nullptr, position.x, position.y, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    chevron->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

int CQZToolBar::HideButtonsToFit(int nLength, int nAvailable, BOOL bHorz)
{
    CQZToolBarRecords records(*this);
    PositionChevron(nAvailable, bHorz);
    int visibleCount = 0;
    for (int i = 0; i < records.count(); ++i) {
        if (!(records[i].fsState & TBSTATE_HIDDEN))
            ++visibleCount;
    }
    if (visibleCount == 0 || (m_mapHiddenButtons.IsEmpty() && nLength <= nAvailable))
        return nLength;

    const int room = nAvailable - QZ_CHEVRON_ROOM;
    bool hidAny = false;
    for (int i = records.count() - 1; i >= 0 && visibleCount > 1; --i) {
        TBBUTTON& button = records[i];
        if (button.fsState & TBSTATE_HIDDEN)
            continue;
        CRect item;
        if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            item.SetRectEmpty();
        button.fsState |= TBSTATE_HIDDEN;
        SetButton(i, &button);
        m_bLayoutPending = TRUE;
        --visibleCount;
        QZ_HIDDENBUTTON hidden;
        hidden.nWidth = item.Width();
        m_mapHiddenButtons.SetAt(i, hidden);
        hidAny = true;
        const CSize size = CalcFixedLayout(FALSE, bHorz);
        if ((bHorz ? size.cx : size.cy) <= room)
            break;
    }
    if (hidAny)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return nLength;
}

int CQZToolBar::ShowHiddenButtons(int nLength, int nAvailable, BOOL bHorz)
{
    if (m_mapHiddenButtons.IsEmpty()) {
        PositionChevron(nLength, bHorz);
        return nLength;
    }
    PositionChevron(nAvailable, bHorz);
    CQZToolBarRecords records(*this);
    // The last hidden button may take the chevron's room: the chevron goes with it.
    const int limit = m_mapHiddenButtons.GetCount() > 1 ? nAvailable - QZ_CHEVRON_ROOM : nAvailable;
    int result = nLength;
    bool showedAny = false;
    for (int i = 0; i < records.count(); ++i) {
        QZ_HIDDENBUTTON hidden;
        TBBUTTON& button = records[i];
        if (!(button.fsState & TBSTATE_HIDDEN) || !m_mapHiddenButtons.Lookup(i, hidden))
            continue;
        // Measured as shown: out of the map, so that the last one measures without the
        // chevron's room it may take.
        button.fsState &= ~TBSTATE_HIDDEN;
        SetButton(i, &button);
        m_mapHiddenButtons.RemoveKey(i);
        const CSize size = CalcFixedLayout(FALSE, bHorz);
        result = bHorz ? size.cx : size.cy;
        if (result > limit) {
            button.fsState |= TBSTATE_HIDDEN;
            SetButton(i, &button);
            m_mapHiddenButtons.SetAt(i, hidden);
            break;
        }
        m_bLayoutPending = TRUE;
        showedAny = true;
    }
    if (HasHiddenButtons())
        result = nAvailable;
    PositionChevron(nAvailable, bHorz);
    if (showedAny)
        OnIdleUpdateCmdUI(TRUE, 0);
    return result;
}

CSize CQZToolBar::GetMinimumSize()
{
    CQZToolBarRecords records(*this);
    for (int i = 0; i < records.count(); ++i) {
        if (records[i].fsState & TBSTATE_HIDDEN)
            continue;
        CRect item;
        if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item)))
            item.SetRectEmpty();
        const BOOL bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        CRect inside(0, 0, 0, 0);
        CalcInsideRect(inside, bHorz);
        CSize size(item.right - inside.Width(), item.bottom - inside.Height());
        if (bHorz)
            size.cx += QZ_CHEVRON_ROOM;
        else
            size.cy += QZ_CHEVRON_ROOM;
        return size;
    }
    return CSize(0, 0);
}

BOOL CQZToolBar::GetBandInfo(REBARBANDINFOA* pBandInfo, BOOL bHorz)
{
    CQZControlBar::GetBandInfo(pBandInfo, bHorz);
    if (IsChevronAllowed()) {
        pBandInfo->fMask |= RBBIM_SIZE | RBBIM_IDEALSIZE;
        pBandInfo->cxIdeal = pBandInfo->cxMinChild;
        pBandInfo->cx = pBandInfo->cxMinChild + 14;
        pBandInfo->cxMinChild = static_cast<UINT>(GetMinimumSize().cx);
    }
    return TRUE;
}

void CQZToolBar::OnBandChildSize(QZ_BANDCHILDSIZE* pChildSize, BOOL bHorz)
{
    if (!IsChevronAllowed())
        return;
    const CSize full = CalcFixedLayout(FALSE, bHorz);
    const int fullLength = bHorz ? full.cx : full.cy;
    const RECT& child = pChildSize->pChildSize->rcChild;
    const int available = bHorz ? child.right - child.left : child.bottom - child.top;
    const int length = available < fullLength ? HideButtonsToFit(fullLength, available, bHorz)
                                              : ShowHiddenButtons(fullLength, available, bHorz);
    CalcLayout(LM_COMMIT | (bHorz ? LM_HORZ : 0), length);
}

void CQZToolBar::CopyHiddenButtons(CQZToolBar* pTarget, int nWidth)
{
    if (!m_hWnd || SendMessage(TB_BUTTONCOUNT) <= 0)
        return;
    std::vector<int> indices;
    for (POSITION position = m_mapHiddenButtons.GetStartPosition(); position;) {
        int index = 0;
        QZ_HIDDENBUTTON hidden;
        m_mapHiddenButtons.GetNextAssoc(position, index, hidden);
        indices.push_back(index);
        nWidth = std::max(nWidth, hidden.nWidth);
    }
    std::sort(indices.begin(), indices.end());

    std::vector<TBBUTTON> buttons;
    std::vector<QZ_BUTTONINFO> infos;
    int rowWidth = 0;
    for (int index : indices) {
        TBBUTTON button = {};
        if (!GetButton(index, &button))
            continue;
        CWnd* control = nullptr;
        if (button.fsStyle & TBSTYLE_SEP) {
            // A plain separator has no place in the popup's rows; a control's place does.
            control = button.idCommand != 0 ? ChildWithId(button.idCommand) : nullptr;
            if (!control)
                continue;
        }
        button.fsState &= ~TBSTATE_HIDDEN;
        QZ_HIDDENBUTTON hidden;
        m_mapHiddenButtons.Lookup(index, hidden);
        if (rowWidth > 0 && rowWidth + hidden.nWidth > nWidth) {
            buttons.push_back(RowBreak());
            rowWidth = 0;
        }
        rowWidth += hidden.nWidth;
        QZ_BUTTONINFO info;
        if (button.iString >= 0) {
            info.strText = GetButtonText(index);
            button.iString = -1;
        }
        if (!(button.fsStyle & TBSTYLE_SEP) && button.idCommand > 0)
            info.pDropDown = FindDropDownButton(static_cast<UINT>(button.idCommand));
        info.pControl = control;
        info.nIndex = static_cast<int>(buttons.size());
        buttons.push_back(QZToControlButton(button));
        infos.push_back(info);
    }

    if (!infos.empty()) {
        if (m_hInstImageWell && m_hRsrcImageWell) {
            pTarget->m_hInstImageWell = m_hInstImageWell;
            pTarget->m_hRsrcImageWell = m_hRsrcImageWell;
            // Without its own strip the target still gets the buttons, without images.
            if (HBITMAP bitmap = QZLoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell, FALSE)) {
                if (!pTarget->AddReplaceBitmap(bitmap))
                    ::DeleteObject(bitmap);
            }
        }
        // Each copy starts in the state of its button; the popup's command update that
        // follows refines them. (Left in the toolkit's convention, a button whose command
        // has a handler but no update handler would stay disabled in the popup.)
        pTarget->SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
        pTarget->m_nCount = static_cast<int>(pTarget->SendMessage(TB_BUTTONCOUNT));
        pTarget->m_bLayoutPending = TRUE;
        pTarget->SaveOriginalButtons();
        bool isFirstText = true;
        for (const QZ_BUTTONINFO& info : infos) {
            if (!info.strText.IsEmpty()) {
                // The first place of the target's string pool goes to a text no button shows.
                if (isFirstText)
                    pTarget->SetButtonText(info.nIndex, "---");
                isFirstText = false;
                pTarget->SetButtonText(info.nIndex, info.strText);
            }
            if (info.pControl) {
                info.pControl->SetParent(pTarget);
                pTarget->PositionControl(info.pControl);
            }
            if (info.pDropDown) {
                const int command = buttons[static_cast<size_t>(info.nIndex)].idCommand;
                for (POSITION position = pTarget->m_listButtons.GetHeadPosition(); position;) {
                    QZ_TBBUTTON& element = pTarget->m_listButtons.GetNext(position);
                    if (element.button.idCommand == command) {
                        element.pDropDown = info.pDropDown;
                        element.bOwnsDropDown = 0;
                    }
                }
            }
        }
    }
    if (m_dwDrawTextMask)
        pTarget->SendMessage(TB_SETDRAWTEXTFLAGS, m_dwDrawTextMask, m_dwDrawTextFlags);
}
