// The toolbar's buttons: setting them from command ids, the records in the toolkit's
// convention, style words, texts in the control's string pool, the snapshot the customise
// dialog works from, and the drop-down records kept with it.
#include "toolkit/bars/QZToolBar.h"

#include "framework/FrameWnd.h"
#include "toolkit/foundation/QZAuxData.h"

#include <vector>

namespace {

// Separators made from a toolbar resource: narrower on a flat control and with common
// controls 4.72, where the control draws them as a thin line.
constexpr int kFlatSeparatorWidth = 6;
constexpr int kSeparatorWidth = 8;
constexpr int kComCtlWithThinSeparators = 0x40048;

// Records compared field by field: the reserved bytes (six of them on 64 bits) carry
// whatever the control or the caller left there and must not count as a change.
[[nodiscard]] bool SameButton(const TBBUTTON& a, const TBBUTTON& b)
{
    return a.iBitmap == b.iBitmap && a.idCommand == b.idCommand && a.fsState == b.fsState &&
           a.fsStyle == b.fsStyle && a.dwData == b.dwData && a.iString == b.iString;
}

[[nodiscard]] bool IsSeparator(const TBBUTTON& button)
{
    return (button.fsStyle & TBSTYLE_SEP) != 0;
}

} // namespace

void CQZToolBar::EmptySnapshot()
{
    for (POSITION position = m_listButtons.GetHeadPosition(); position;) {
        QZ_TBBUTTON& element = m_listButtons.GetNext(position);
        if (element.bOwnsDropDown)
            delete element.pDropDown;
    }
    m_listButtons.RemoveAll();
}

BOOL CQZToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    const int existing = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    for (int i = 0; i < existing; ++i)
        SendMessage(TB_DELETEBUTTON, 0);

    const bool isFlat = (GetStyle() & TBSTYLE_FLAT) || qzAfxData.GetComCtlVersion() == kComCtlWithThinSeparators;
    int imageIndex = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON button = {};
        button.fsState = TBSTATE_ENABLED;
        button.iString = -1;
        if (lpIDArray) {
            button.idCommand = static_cast<int>(lpIDArray[i]);
            if (button.idCommand == 0) {
                button.fsStyle = TBSTYLE_SEP;
                button.iBitmap = isFlat ? kFlatSeparatorWidth : kSeparatorWidth;
            } else {
                button.iBitmap = imageIndex++;
            }
        }
        if (!SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button)))
            return FALSE;
    }
    m_nCount = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    m_bLayoutPending = TRUE;
    RestoreHiddenButtons();
    return TRUE;
}

BOOL CQZToolBar::GetButton(int nIndex, TBBUTTON* pButton) const
{
    TBBUTTON button = {};
    if (!m_hWnd || !SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
        return FALSE;
    button.fsState ^= TBSTATE_ENABLED;
    *pButton = button;
    return TRUE;
}

void CQZToolBar::SetButton(int nIndex, TBBUTTON* pButton)
{
    if (nIndex == -1)
        return;
    TBBUTTON current = {};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&current)))
        return;
    TBBUTTON wanted = *pButton;
    ZeroMemory(wanted.bReserved, sizeof wanted.bReserved);
    ZeroMemory(current.bReserved, sizeof current.bReserved);
    wanted.fsState ^= TBSTATE_ENABLED;
    if (SameButton(current, wanted))
        return;

    // Replaced while invisible, so that nothing is drawn in between.
    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
    SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex));
    SendMessage(TB_INSERTBUTTONA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&wanted));
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);

    const bool hiddenChanged = ((current.fsState ^ wanted.fsState) & TBSTATE_HIDDEN) != 0;
    if (hiddenChanged && IsSeparator(current) && IsSeparator(wanted) && wanted.idCommand != 0) {
        if (CWnd* control = ChildWithId(wanted.idCommand)) {
            if (wanted.fsState & TBSTATE_HIDDEN) {
                control->ShowWindow(SW_HIDE);
            } else {
                CRect item;
                GetItemRect(CommandToIndex(static_cast<UINT>(wanted.idCommand)), &item);
                control->SetWindowPos(nullptr, item.left, item.top, 0, 0,
                                      SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            }
            m_bLayoutPending = TRUE;
        }
    }

    const bool kindChanged = IsSeparator(current) != IsSeparator(wanted);
    if (kindChanged || (IsSeparator(wanted) && current.iBitmap != wanted.iBitmap)) {
        InvalidateRect(nullptr, FALSE);
    } else {
        CRect item;
        if (SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item)))
            InvalidateRect(&item, FALSE);
    }
}

int CQZToolBar::CommandToIndex(UINT nID) const
{
    return m_hWnd ? static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nID)) : -1;
}

UINT CQZToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button = {};
    return GetButton(nIndex, &button) ? static_cast<UINT>(button.idCommand) : 0;
}

void CQZToolBar::GetItemRect(int nIndex, LPRECT lpRect)
{
    if (m_bLayoutPending)
        Layout();
    if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

UINT CQZToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON button = {};
    if (!GetButton(nIndex, &button))
        return 0;
    return (static_cast<UINT>(button.fsState) << 16) | button.fsStyle;
}

void CQZToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    TBBUTTON button = {};
    if (!GetButton(nIndex, &button))
        return;
    const BYTE style = LOBYTE(nStyle);
    const BYTE state = LOBYTE(HIWORD(nStyle));
    if (button.fsStyle == style && button.fsState == state)
        return;
    button.fsStyle = style;
    button.fsState = state;
    SetButton(nIndex, &button);
    m_bLayoutPending = TRUE;
}

void CQZToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    TBBUTTON button = {};
    if (!GetButton(nIndex, &button))
        return;
    TBBUTTON wanted = button;
    wanted.idCommand = static_cast<int>(nID);
    wanted.iBitmap = iImage;
    wanted.fsStyle = LOBYTE(nStyle);
    wanted.fsState = LOBYTE(HIWORD(nStyle));
    if (SameButton(button, wanted))
        return;
    SetButton(nIndex, &wanted);
    m_bLayoutPending = TRUE;
}

BOOL CQZToolBar::SetButtonText(int nIndex, LPCSTR lpszText)
{
    void* pooled = nullptr;
    const bool isKnown = m_pStringMap && m_pStringMap->Lookup(lpszText, pooled);
    INT_PTR poolIndex = isKnown ? reinterpret_cast<INT_PTR>(pooled) : -1;
    TBBUTTON button = {};
    if (!GetButton(nIndex, &button))
        return FALSE;
    if (!isKnown) {
        if (!m_pStringMap)
            m_pStringMap = new CMapStringToPtr;
        // The pool takes a list of texts: this one, then the empty text that ends the list.
        const int length = lstrlenA(lpszText);
        std::vector<char> list(static_cast<size_t>(length) + 2, '\0');
        CopyMemory(list.data(), lpszText, static_cast<size_t>(length));
        poolIndex = SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(list.data()));
        if (poolIndex == -1)
            return FALSE;
        m_pStringMap->SetAt(lpszText, reinterpret_cast<void*>(poolIndex));
        CString text(lpszText);
        m_mapButtonTexts.SetAt(button.idCommand, text);
    }
    if (button.iString != poolIndex) {
        button.iString = poolIndex;
        SetButton(nIndex, &button);
        if (GetParentFrame()) {
            if (CFrameWnd* frame = GetDockingFrame())
                frame->RecalcLayout();
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
    }
    return TRUE;
}

CString CQZToolBar::GetButtonText(int nIndex) const
{
    CString text;
    GetButtonText(nIndex, text);
    return text;
}

void CQZToolBar::GetButtonText(int nIndex, CString& rString) const
{
    rString.Empty();
    TBBUTTON button = {};
    if (!m_pStringMap || !GetButton(nIndex, &button))
        return;
    for (POSITION position = m_pStringMap->GetStartPosition(); position;) {
        CString text;
        void* poolIndex = nullptr;
        m_pStringMap->GetNextAssoc(position, text, poolIndex);
        if (reinterpret_cast<INT_PTR>(poolIndex) == button.iString) {
            rString = text;
            return;
        }
    }
}

UINT CQZToolBar::ApplyDrawTextFlags(UINT nFormat) const
{
    return (nFormat & ~m_dwDrawTextMask) | m_dwDrawTextFlags;
}

void CQZToolBar::SaveOriginalButtons()
{
    EmptySnapshot();
    const int count = m_hWnd ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0;
    for (int i = 0; i < count; ++i) {
        QZ_TBBUTTON element;
        if (!GetButton(i, &element.button))
            continue;
        // Read from the button itself: the control's query by command would answer for the
        // first separator whenever a separator (command 0) is asked about.
        element.bHiddenAtSnapshot = (element.button.fsState & TBSTATE_HIDDEN) ? 1 : 0;
        m_listButtons.AddTail(element);
    }
}

QZ_DROPDOWNBUTTON* CQZToolBar::FindDropDownButton(UINT nID) const
{
    for (POSITION position = m_listButtons.GetHeadPosition(); position;) {
        const QZ_TBBUTTON& element = m_listButtons.GetNext(position);
        if (element.pDropDown && element.pDropDown->nCommand == nID)
            return element.pDropDown;
    }
    return nullptr;
}
