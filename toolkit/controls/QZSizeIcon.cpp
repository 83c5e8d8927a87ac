// The resize engine's size grip: the system's sizing picture in a static control whose
// click starts the system's own sizing of its parent from the bottom-right corner.
#include "toolkit/controls/QZResize.h"

namespace {

// OBM_SIZE: the system's size-grip picture (its name needs OEMRESOURCE before the system headers).
constexpr UINT kSizeGripBitmap = 32766;

} // namespace

IMPLEMENT_DYNAMIC(CQZSizeIcon, CStatic)

BEGIN_MESSAGE_MAP(CQZSizeIcon, CStatic)
    ON_WM_SETCURSOR()
    ON_WM_CREATE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CQZSizeIcon::CQZSizeIcon() : m_hCursor(::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZENWSE))) {}

int CQZSizeIcon::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_bmSizeIcon.GetSafeHandle())
        m_bmSizeIcon.LoadOEMBitmap(kSizeGripBitmap);
    SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bmSizeIcon.GetSafeHandle()));
    return 0;
}

BOOL CQZSizeIcon::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(m_hCursor);
    return TRUE;
}

void CQZSizeIcon::OnMouseMove(UINT nFlags, CPoint point)
{
    CStatic::OnMouseMove(nFlags, point);
    if (::GetCursor() != m_hCursor)
        ::SetCursor(m_hCursor);
}

void CQZSizeIcon::OnLButtonDown(UINT nFlags, CPoint point)
{
    CStatic::OnLButtonDown(nFlags, point);
    ClientToScreen(&point);
    GetParent()->SendMessage(WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, MAKELPARAM(point.x, point.y));
}
