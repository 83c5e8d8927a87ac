// How a toolkit bar looks: its inside rectangle, border lines, gripper and non-client
// painting in the classic or the XP look, all through one off-screen blit.
#include "toolkit/bars/QZControlBar.h"

#include "framework/AfxGlobalData.h"
#include "framework/DockContext.h"
#include "framework/PaintDC.h"
#include "toolkit/bars/QZReBar.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZMemDC.h"

namespace {
// Room a gripper takes along the bar.
constexpr int kGripperRoom = 7;
} // namespace

void CQZControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    CControlBar::CalcInsideRect(rect, bHorz);
    if (!HasGripper())
        return;
    if (bHorz)
        rect.left += kGripperRoom;
    else
        rect.top += kGripperRoom;
}

void CQZControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    const DWORD style = m_dwStyle;
    if (!(style & CBRS_BORDER_ANY))
        return;
    const bool isReBar = IsKindOf(RUNTIME_CLASS(CQZReBar)) != FALSE;
    // The XP look has flat borders, except on a rebar.
    const bool isFlat = qzAfxData.xpLook && !isReBar;
    const COLORREF dark = isFlat ? qzAfxData.colorFace : qzAfxData.colorShadow;
    const COLORREF light = isFlat ? qzAfxData.colorFace : qzAfxData.colorHilite;

    CRect r1 = rect;
    CRect r2 = rect;
    if (style & CBRS_BORDER_3D) {
        r1.right -= 1;
        r1.bottom -= 1;
    }
    if (style & CBRS_BORDER_TOP)
        r2.top += afxData.cyBorder2;
    if (style & CBRS_BORDER_BOTTOM)
        r2.bottom -= afxData.cyBorder2;

    // Negative extents fill toward the other side, as the framework's fill does.
    if (style & CBRS_BORDER_LEFT)
        pDC->FillSolidRect(0, r2.top - 1, 1, r2.Height() + 1, dark);
    if (style & CBRS_BORDER_TOP)
        pDC->FillSolidRect(0, 0, rect.right - 1, 1, dark);
    if (style & CBRS_BORDER_RIGHT)
        pDC->FillSolidRect(r1.right, r2.top - 1, -1, r2.Height() + 1, dark);
    if (style & CBRS_BORDER_BOTTOM)
        pDC->FillSolidRect(0, r1.bottom, rect.right - 1, -1, dark);
    if (style & CBRS_BORDER_3D) {
        if (style & CBRS_BORDER_LEFT)
            pDC->FillSolidRect(1, r2.top, 1, r2.Height(), light);
        if (style & CBRS_BORDER_TOP)
            pDC->FillSolidRect(1, 1, rect.right - 3, 1, light);
        if (style & CBRS_BORDER_RIGHT)
            pDC->FillSolidRect(rect.right, r2.top - 2, -1, r2.Height() + 3, light);
        if (style & CBRS_BORDER_BOTTOM)
            pDC->FillSolidRect(0, rect.bottom, rect.right, -1, light);
    }

    if (m_bInReBar) {
        DeflateByBorders(rect);
        return;
    }
    if (style & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(rect.right - 1, 0, 1, rect.bottom, dark);
        rect.right -= 1;
    }
    if (style & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(0, rect.bottom - 1, rect.right, 1, dark);
        rect.bottom -= 1;
    }
    if (style & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(0, 0, rect.right, 1, light);
        rect.top += 1;
    }
    if (style & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(0, 0, 1, rect.bottom, light);
        rect.left += 1;
    }
}

void CQZControlBar::DrawGripper(CDC* pDC, const CRect& rect)
{
    if (!HasGripper())
        return;
    const COLORREF hilite = qzAfxData.colorHilite;
    const COLORREF shadow = qzAfxData.colorShadow;
    const int w = rect.Width();
    const int h = rect.Height();
    const bool isDouble = (m_dwStyleEx & QZ_BARSTYLE_DOUBLE_GRIPPER) != 0;
    if (IsHorzBar()) {
        if (isDouble) {
            for (int x : {rect.left + 2, rect.left + 5}) {
                pDC->Draw3dRect(x, rect.top + 2, 3, h - 4, hilite, shadow);
                pDC->SetPixel(x, rect.top + h - 3, hilite);
            }
        } else if (qzAfxData.xpLook) {
            CPen pen(PS_SOLID, 1, qzAfxData.colorXPGripper);
            CPen* previous = pDC->SelectObject(&pen);
            for (int i = 0; i < h - 9; i += 2) {
                pDC->MoveTo(rect.left + 2, rect.top + 4 + i);
                pDC->LineTo(rect.left + 5, rect.top + 4 + i);
            }
            pDC->SelectObject(previous);
        } else {
            pDC->Draw3dRect(rect.left + 2, rect.top + m_cyTopBorder + 2, 3,
                            h - m_cyTopBorder - m_cyBottomBorder - 4, hilite, shadow);
        }
        return;
    }
    if (isDouble) {
        for (int y : {rect.top + 2, rect.top + 5}) {
            pDC->Draw3dRect(rect.left + 2, y, w - 4, 3, hilite, shadow);
            pDC->SetPixel(rect.left + w - 3, y, hilite);
        }
    } else if (qzAfxData.xpLook) {
        CPen pen(PS_SOLID, 1, qzAfxData.colorXPGripper);
        CPen* previous = pDC->SelectObject(&pen);
        for (int i = 0; i < w - 9; i += 2) {
            pDC->MoveTo(rect.left + 4 + i, rect.top + 2);
            pDC->LineTo(rect.left + 4 + i, rect.top + 5);
        }
        pDC->SelectObject(previous);
    } else {
        pDC->Draw3dRect(rect.left + m_cyTopBorder + 2, rect.top + 2, w - m_cyTopBorder - m_cyBottomBorder - 4, 3,
                        hilite, shadow);
    }
}

void CQZControlBar::DrawNonClient()
{
    CWindowDC dc(this);
    QZExcludeClientArea(&dc, this);
    PaintNonClient(&dc);
}

void CQZControlBar::PaintNonClient(CDC* pDC)
{
    CRect window;
    GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);
    const COLORREF back = GetBackColor();
    CQZMemDC mem(pDC, window, back);
    CRect inside = window;
    DrawBorders(&mem, inside);
    mem.FillSolidRect(&inside, back);
    DrawGripper(&mem, inside);
}

void CQZControlBar::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC mem(&dc, client, GetBackColor());
    if (IsVisible())
        DoPaint(&mem);
}

BOOL CQZControlBar::OnEraseBkgnd(CDC* pDC)
{
    return FALSE;
}

void CQZControlBar::OnNcPaint()
{
    DrawNonClient();
}

void CQZControlBar::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    Default();
    if (lpwndpos->flags & SWP_NOSIZE)
        return;
    CRect window;
    GetWindowRect(&window);
    // The border lines at the far edges move with the size: only their strips are repainted.
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    const CPoint origin(window.left - client.left, window.top - client.top);
    auto redrawStrip = [&](CRect strip) {
        strip.OffsetRect(origin);
        RedrawWindow(&strip, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    };
    if (lpwndpos->cx != window.Width() && (m_dwStyle & CBRS_BORDER_RIGHT)) {
        for (int edge : {lpwndpos->cx, window.Width()})
            redrawStrip(CRect(edge - afxData.cxBorder2, 0, edge, lpwndpos->cy));
    }
    if (lpwndpos->cy != window.Height() && (m_dwStyle & CBRS_BORDER_BOTTOM)) {
        for (int edge : {lpwndpos->cy, window.Height()})
            redrawStrip(CRect(0, edge - afxData.cyBorder2, lpwndpos->cx, edge));
    }
}

BOOL CQZControlBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    // Over the borders and gripper the bar can be dragged, and while it is dragged it
    // moves: the size-all cursor says so.
    POINT cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    CRect client;
    GetClientRect(&client);
    const bool isDragged = m_pDockContext && m_pDockContext->m_bDragging;
    if ((isDragged || !client.PtInRect(cursor)) && !m_bInReBar) {
        ::SetCursor(qzAfxData.cursorSizeAll);
        return TRUE;
    }
    return static_cast<BOOL>(Default());
}
