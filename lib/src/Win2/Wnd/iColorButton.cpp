// The colour button: owner-drawn swatch and the colour dialog on a click.
#include "lib/src/Win2/Wnd/iColorButton.h"

namespace {

// BS_OWNERDRAW is all three of these bits; any of them gives a button its own type.
constexpr DWORD kTypeBits = BS_OWNERDRAW;

// Each channel complemented where it stands: swapping red and blue as well would draw
// yellow instead of cyan on a red swatch.
COLORREF InverseColor(COLORREF color)
{
    return RGB(255 - GetRValue(color), 255 - GetGValue(color), 255 - GetBValue(color));
}

} // namespace

BEGIN_MESSAGE_MAP(iColorButton, iButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnChooseColor)
END_MESSAGE_MAP()

iColorButton::iColorButton() = default;

// Made here rather than by iButton's forms, so that this class's PreCreateWindow applies.
iColorButton::iColorButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CreateItem(parent, rect, style | BS_OWNERDRAW, text, id);
}

iColorButton::iColorButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                           LPVOID param)
{
    CreateWindowForm(parent, rect, style | BS_OWNERDRAW, text, id, exStyle, param);
}

iColorButton::~iColorButton() = default;

void iColorButton::PreSubclassWindow()
{
    iButton::PreSubclassWindow();
    if (!(GetStyle() & kTypeBits))
        ModifyStyle(0, BS_OWNERDRAW);
}

BOOL iColorButton::PreCreateWindow(CREATESTRUCT& cs)
{
    BOOL result = iButton::PreCreateWindow(cs);
    cs.style |= BS_OWNERDRAW;
    return result;
}

void iColorButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
    CRect rc(lpDrawItemStruct->rcItem);
    const int w = rc.Width();
    const int h = rc.Height();
    dc->FillSolidRect(&rc, m_color);

    // A sunken frame: two dark lines top and left, two light ones bottom and right.
    CPen shadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    CPen highlight(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    CPen darkShadow(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
    CPen light(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT));
    CPen* previous = dc->SelectObject(&shadow);
    dc->MoveTo(0, h);
    dc->LineTo(0, 0);
    dc->LineTo(w, 0);
    dc->MoveTo(1, h - 1);
    dc->LineTo(1, 1);
    dc->LineTo(w, 1);
    dc->SelectObject(&highlight);
    dc->MoveTo(w - 1, 0);
    dc->LineTo(w - 1, h - 1);
    dc->LineTo(-1, h - 1);
    dc->MoveTo(w - 2, 1);
    dc->LineTo(w - 2, h - 2);
    dc->LineTo(0, h - 2);
    dc->SelectObject(&darkShadow);
    dc->MoveTo(2, h - 3);
    dc->LineTo(2, 2);
    dc->LineTo(w - 2, 2);
    dc->SelectObject(&light);
    dc->MoveTo(w - 3, 2);
    dc->LineTo(w - 3, h - 3);
    dc->LineTo(1, h - 3);

    // The caption straight on the swatch: on a box of the DC's background colour the
    // inverse colour would contrast with the box instead, often unreadably.
    CString caption;
    GetWindowText(caption);
    COLORREF previousText = dc->SetTextColor(InverseColor(m_color));
    int previousMode = dc->SetBkMode(TRANSPARENT);
    dc->DrawText(caption, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SetBkMode(previousMode);
    dc->SetTextColor(previousText);

    if (lpDrawItemStruct->itemState & ODS_FOCUS) {
        CRect focus(rc);
        focus.DeflateRect(4, 4);
        dc->DrawFocusRect(&focus);
    }
    dc->SelectObject(previous);
}

BOOL iColorButton::OnChooseColor()
{
    CWnd* parent = GetParent();
    CColorDialog dialog(m_color, m_dialogFlags, parent);
    if (dialog.DoModal() != IDOK)
        return TRUE;
    m_color = dialog.GetColor();
    if (parent)
        parent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), kColorChanged), reinterpret_cast<LPARAM>(m_hWnd));
    Invalidate(TRUE);
    return TRUE;
}
