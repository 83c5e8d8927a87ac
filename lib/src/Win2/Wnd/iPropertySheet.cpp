// The library's property sheet and its dialog-unit measurement.
#include "lib/src/Win2/Wnd/iPropertySheet.h"

#include "lib/src/Win2/Wnd/iDialogTemplate.h"

namespace {

// The measuring dialog is only measured: every message counts as handled, except the
// last one. Its default handling deletes the font the dialog made for DS_SETFONT, which a
// sheet opened again and again would otherwise leave behind each time.
INT_PTR CALLBACK AcceptEverything(HWND, UINT message, WPARAM, LPARAM)
{
    return message != WM_NCDESTROY;
}

} // namespace

iPropertySheet::iPropertySheet() = default;

iPropertySheet::iPropertySheet(UINT captionId, CWnd* parent, UINT firstPage)
    : CPropertySheet(captionId, parent, firstPage), m_parent(parent)
{
}

iPropertySheet::iPropertySheet(LPCSTR caption, CWnd* parent, UINT firstPage)
    : CPropertySheet(caption, parent, firstPage), m_parent(parent)
{
}

iPropertySheet::iPropertySheet(CWnd* parent, const RECT& rect, DWORD style, LPCSTR caption, UINT firstPage)
    : CPropertySheet(caption, parent, 0), m_parent(parent)
{
}

iPropertySheet::~iPropertySheet() = default;

BOOL iPropertySheet::OnInitDialog()
{
    return CPropertySheet::OnInitDialog();
}

bool iPropertySheet::MeasureBaseUnits()
{
    const RECT measureRect = {0, 0, 640, 480};
    // Hidden: the measurement must not flash a window on the screen.
    iDialogTemplate measureTemplate(&measureRect, kMeasureStyle, kMeasureCaption, 0, 0);
    HWND dialog = ::CreateDialogIndirectParamA(AfxGetInstanceHandle(), measureTemplate.GetTemplate(),
                                               m_parent ? m_parent->GetSafeHwnd() : nullptr, &AcceptEverything, 0);
    if (!dialog)
        return false;
    int x = 0;
    int y = 0;
    const BOOL mapped = MeasureDialogBaseUnits(dialog, &x, &y);
    ::DestroyWindow(dialog);
    // A failed or empty measurement stays unmeasured: dividing by it would make sizes of -1.
    if (!mapped || x <= 0 || y <= 0)
        return false;
    m_baseUnitX = x;
    m_baseUnitY = y;
    return true;
}

int iPropertySheet::CalcDialogUnits(RECT* rect)
{
    if (m_dialogUnits)
        return 1;
    if ((m_baseUnitX <= 0 || m_baseUnitY <= 0) && !MeasureBaseUnits())
        return 0;
    rect->right = rect->left + ::MulDiv(rect->right - rect->left, 4, m_baseUnitX);
    rect->bottom = rect->top + ::MulDiv(rect->bottom - rect->top, 8, m_baseUnitY);
    return 1;
}

BOOL MeasureDialogBaseUnits(HWND dialog, int* x, int* y)
{
    RECT units = {0, 0, 4, 8};
    const BOOL mapped = ::MapDialogRect(dialog, &units);
    if (mapped) {
        if (x)
            *x = units.right;
        if (y)
            *y = units.bottom;
    }
    return mapped;
}
