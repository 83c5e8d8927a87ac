// The library's radio buttons and the owner-drawn position button.
#include "lib/src/Win2/Wnd/iRadioButton.h"

namespace {

DWORD StyleOf(HWND window)
{
    return static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE));
}

// The first window of the button's group: the button itself or the nearest sibling
// before it with WS_GROUP; null when none has it.
HWND FirstOfGroup(HWND button)
{
    for (HWND window = button; window; window = ::GetWindow(window, GW_HWNDPREV)) {
        if (StyleOf(window) & WS_GROUP)
            return window;
    }
    return nullptr;
}

} // namespace

iRadioButton::iRadioButton() = default;

iRadioButton::iRadioButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iButton(parent, rect, style | BS_AUTORADIOBUTTON, text, id)
{
}

iRadioButton::iRadioButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                           LPVOID param)
    : iButton(parent, rect, style | BS_AUTORADIOBUTTON, text, id, exStyle, param)
{
}

iRadioButton::~iRadioButton() = default;

BEGIN_MESSAGE_MAP(iPositionRadioButton, iRadioButton)
    ON_MESSAGE(BM_GETCHECK, OnGetCheck)
    ON_MESSAGE(BM_SETCHECK, OnSetCheck)
    ON_WM_GETDLGCODE()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnPositionClicked)
END_MESSAGE_MAP()

// BS_OWNERDRAW holds the bits of BS_AUTORADIOBUTTON, so the button stays owner-drawn.
iPositionRadioButton::iPositionRadioButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iRadioButton(parent, rect, style | BS_OWNERDRAW, text, id)
{
}

iPositionRadioButton::iPositionRadioButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id,
                                           DWORD exStyle, LPVOID param)
    : iRadioButton(parent, rect, style | BS_OWNERDRAW, text, id, exStyle, param)
{
}

iPositionRadioButton::~iPositionRadioButton() = default;

LRESULT iPositionRadioButton::OnGetCheck(WPARAM, LPARAM)
{
    // An owner-drawn button keeps no state of its own: the answer is ours.
    return m_checkState;
}

LRESULT iPositionRadioButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    const int state = static_cast<int>(wParam);
    if (state == m_checkState)
        return 0;
    m_checkState = state;
    if (state != BST_CHECKED) {
        Invalidate(TRUE);
        return 0;
    }
    HWND first = FirstOfGroup(m_hWnd);
    if (!first)
        return 0;
    for (HWND window = first; window; window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (window != first && (StyleOf(window) & WS_GROUP))
            break;
        if (window != m_hWnd && (::SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) &&
            ::SendMessageA(window, BM_GETCHECK, 0, 0) != BST_UNCHECKED)
            ::SendMessageA(window, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    Invalidate(TRUE);
    return 0;
}

UINT iPositionRadioButton::OnGetDlgCode()
{
    return iRadioButton::OnGetDlgCode() | DLGC_RADIOBUTTON;
}

BOOL iPositionRadioButton::OnPositionClicked()
{
    SendMessage(BM_SETCHECK, BST_CHECKED);
    m_onClicked.Fire(this);
    return TRUE;
}

void iPositionRadioButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rc(lpDrawItemStruct->rcItem);
    const int w = rc.Width();
    const int h = rc.Height();
    const UINT itemState = lpDrawItemStruct->itemState;
    const bool raised = !(itemState & (ODS_SELECTED | ODS_DISABLED)) && m_checkState == BST_UNCHECKED;
    dc->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));

    // From the outside in: the two lines top and left, then the two bottom and right.
    CPen outerTopLeft(PS_SOLID, 1, ::GetSysColor(raised ? COLOR_3DLIGHT : COLOR_BTNSHADOW));
    CPen innerTopLeft(PS_SOLID, 1, ::GetSysColor(raised ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW));
    CPen outerBottomRight(PS_SOLID, 1, ::GetSysColor(raised ? COLOR_3DDKSHADOW : COLOR_BTNHIGHLIGHT));
    CPen innerBottomRight(PS_SOLID, 1, ::GetSysColor(raised ? COLOR_BTNSHADOW : COLOR_3DLIGHT));
    CPen* previous = dc->SelectObject(&outerTopLeft);
    dc->MoveTo(0, h);
    dc->LineTo(0, 0);
    dc->LineTo(w, 0);
    dc->SelectObject(&innerTopLeft);
    dc->MoveTo(1, h - 1);
    dc->LineTo(1, 1);
    dc->LineTo(w, 1);
    dc->SelectObject(&outerBottomRight);
    dc->MoveTo(w - 1, 0);
    dc->LineTo(w - 1, h - 1);
    dc->LineTo(-1, h - 1);
    dc->SelectObject(&innerBottomRight);
    dc->MoveTo(w - 2, 1);
    dc->LineTo(w - 2, h - 2);
    dc->LineTo(0, h - 2);

    // The block: two thirds of the inner square, moved by sixths to one of nine places.
    CRect block(rc);
    block.DeflateRect(6, 6);
    const int cw = block.Width() / 6;
    const int ch = block.Height() / 6;
    block.right -= 2 * cw;
    block.bottom -= 2 * ch;
    if (m_position & kCentre)
        block.OffsetRect(cw, 0);
    else if (m_position & kRight)
        block.OffsetRect(2 * cw, 0);
    if (m_position & kMiddle)
        block.OffsetRect(0, ch);
    else if (m_position & kBottom)
        block.OffsetRect(0, 2 * ch);
    dc->FillSolidRect(&block, ::GetSysColor(COLOR_3DDKSHADOW));

    if (itemState & ODS_FOCUS) {
        CRect focus(rc);
        focus.DeflateRect(4, 4);
        dc->DrawFocusRect(&focus);
    }
    dc->SelectObject(previous);
}
