// The chevron's creation, its glyphs, its clicks that open and close the hidden-buttons
// popup, and its command state.
#include "toolkit/bars/QZExpButton.h"

#include "framework/CmdUI.h"
#include "framework/DC.h"
#include "framework/FrameWnd.h"
#include "framework/PaintDC.h"
#include "toolkit/bars/QZExpMenuWnd.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/res/ToolkitResources.h"

IMPLEMENT_DYNAMIC(CQZExpButton, CQZButton)

BEGIN_MESSAGE_MAP(CQZExpButton, CQZButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CANCELMODE()
    ON_WM_PAINT()
    ON_WM_DESTROY()
    ON_COMMAND(ID_QZ_CUSTOMIZE_TOOLBAR, OnCustomize)
    ON_MESSAGE(WM_QZ_CHEVRONCLOSED, OnPopupClosed)
    ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

// The glyphs, one byte per row (the second byte of each 16-bit row is 0); 0 bits are ink.
// Two right-pointing arrows and a down triangle for a horizontal bar; two down-pointing
// arrows and a left triangle for a vertical one.
constexpr BYTE kHiddenHorz[] = {0x6F, 0xB7, 0xDB, 0xB7, 0x6F};
constexpr BYTE kCustomizeHorz[] = {0x07, 0x8F, 0xDF};
constexpr BYTE kHiddenVert[] = {0x77, 0xAF, 0xDF, 0x77, 0xAF, 0xDF};
constexpr BYTE kCustomizeVert[] = {0xDF, 0x9F, 0x1F, 0x9F, 0xDF};

constexpr DWORD kChevronStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_FLAT | BS_OWNERDRAW;

} // namespace

CQZExpButton::CQZExpButton() = default;

CQZExpButton::~CQZExpButton() = default;

BOOL CQZExpButton::Create(CQZToolBar* pBar, UINT nID)
{
    m_bCreating = true;
    const BOOL created = CButton::Create("", kChevronStyle, CRect(0, 0, 0, 0), pBar, nID);
    m_bCreating = false;
    if (!created)
        return FALSE;
    m_pToolBar = pBar;
    return TRUE;
}

void CQZExpButton::PostNcDestroy()
{
    if (!m_bCreating)
        delete this;
}

COLORREF CQZExpButton::GetFaceColor() const
{
    return m_pToolBar ? m_pToolBar->GetBackColor() : CQZButton::GetFaceColor();
}

DWORD CQZExpButton::GetDrawStyle() const
{
    const DWORD style = CQZButton::GetDrawStyle() & ~(QZ_BTN_FLAT | QZ_BTN_XP);
    return style | (qzAfxData.xpLook ? QZ_BTN_XP : QZ_BTN_FLAT);
}

void CQZExpButton::DrawBitmap(CDC* pDC, UINT nState, const CRect& rect)
{
    if (!m_pToolBar)
        return;
    const bool hasHidden = m_pToolBar->HasHiddenButtons() != FALSE;
    const bool isCustomizable = m_pToolBar->GetChevronState() != FALSE;
    if (m_pToolBar->IsHorizontalBar()) {
        if (hasHidden)
            DrawArrow(pDC, rect, nState, 6, 5, TRUE, kHiddenHorz);
        if (isCustomizable)
            DrawArrow(pDC, rect, nState, 5, 3, FALSE, kCustomizeHorz);
    } else {
        if (hasHidden)
            DrawArrow(pDC, rect, nState, 5, 6, TRUE, kHiddenVert);
        if (isCustomizable)
            DrawArrow(pDC, rect, nState, 3, 5, FALSE, kCustomizeVert);
    }
}

void CQZExpButton::DrawArrow(CDC* pDC, const CRect& rect, UINT nState, int cx, int cy, BOOL bFirst,
                             const BYTE* pRows)
{
    // A monochrome bitmap wants its rows on 16-bit boundaries.
    WORD rows[8] = {};
    for (int row = 0; row < cy && row < 8; ++row)
        rows[row] = pRows[row];
    HBITMAP glyph = ::CreateBitmap(8, cy, 1, 1, rows);
    if (!glyph)
        return;
    int x;
    int y;
    if (m_pToolBar && m_pToolBar->IsHorizontalBar()) {
        x = (rect.right - rect.left - cx) / 2;
        y = bFirst ? rect.top + 2 : rect.bottom - cy - 2;
    } else {
        y = (rect.bottom - rect.top - cy) / 2;
        x = bFirst ? rect.right - cx - 2 : rect.left + 2;
    }
    if ((nState & ODS_SELECTED) && !qzAfxData.xpLook) {
        ++x;
        ++y;
    }
    pDC->DrawState(CPoint(x, y), CSize(cx, cy), glyph, DST_BITMAP | ((nState & ODS_DISABLED) ? DSS_DISABLED : 0));
    ::DeleteObject(glyph);
}

void CQZExpButton::OnUpdateCmdUI(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pToolBar && (m_pToolBar->HasHiddenButtons() || m_pToolBar->GetChevronState()));
}

CRect CQZExpButton::GetVisibleRect() const
{
    CRect visible;
    GetClientRect(&visible);
    ClientToScreen(&visible);
    for (HWND ancestor = ::GetParent(m_hWnd); ancestor; ancestor = ::GetParent(ancestor)) {
        CRect client;
        ::GetClientRect(ancestor, &client);
        ::MapWindowPoints(ancestor, nullptr, reinterpret_cast<POINT*>(&client), 2);
        visible.IntersectRect(&visible, &client);
        if (!(::GetWindowLongPtrA(ancestor, GWL_STYLE) & WS_CHILD))
            break;
    }
    visible.right -= 1;
    visible.bottom -= 1;
    return visible;
}

void CQZExpButton::ShowPressed(BOOL bPressed)
{
    SetPressed(bPressed);
    // The owner drawing shows the control's pushed state: without the control's own press
    // (no default handling here) it is set by hand.
    SendMessage(BM_SETSTATE, bPressed);
}

void CQZExpButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    // No capture and no default handling: the popup takes over from here.
    ShowPressed(TRUE);
    if (m_pPopup || !m_pToolBar)
        return;
    m_pPopup = CQZExpMenuWnd::Open(this, WM_QZ_CHEVRONCLOSED, GetVisibleRect(), m_pToolBar);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CQZExpButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    // While the popup is open the chevron stays pressed.
    if (m_pPopup)
        return;
    ShowPressed(FALSE);
    Invalidate(TRUE);
}

void CQZExpButton::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    // The second click of a double click is a click: it must not start the button
    // control's own press and capture.
    OnLButtonDown(nFlags, point);
}

void CQZExpButton::OnCancelMode()
{
    Default();
    if (CQZExpMenuWnd::IsOpen(m_pPopup))
        m_pPopup->DestroyWindow();
}

void CQZExpButton::OnDestroy()
{
    // A popup outliving its chevron would report to a window that is gone.
    if (CQZExpMenuWnd::IsOpen(m_pPopup))
        m_pPopup->DestroyWindow();
    m_pPopup = nullptr;
    CButton::OnDestroy();
}

LRESULT CQZExpButton::OnPopupClosed(WPARAM wParam, LPARAM lParam)
{
    m_pPopup = nullptr;
    ShowPressed(FALSE);
    return 0;
}

void CQZExpButton::OnPaint()
{
    if (!m_pPopup || !qzAfxData.xpLook || !m_pToolBar) {
        CQZButton::OnPaint();
        return;
    }
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, 0xFFFFFFFF);
    if (memDC.m_bValid)
        DrawOpenState(&memDC, client);
}

void CQZExpButton::DrawOpenState(CDC* pDC, const CRect& rect)
{
    const COLORREF fill = m_pToolBar->GetBackColor();
    pDC->FillSolidRect(&rect, fill);
    // The glyphs' background is the DC's, as in the button's own drawing.
    const COLORREF previousBack = pDC->SetBkColor(fill);
    DrawBitmap(pDC, 0, rect);
    pDC->SetBkColor(previousBack);
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, qzAfxData.colorXPBorder))
        return;
    CPen* previous = pDC->SelectObject(&pen);
    pDC->MoveTo(rect.left, rect.top);
    pDC->LineTo(rect.right - 1, rect.top);
    pDC->LineTo(rect.right - 1, rect.bottom - 1);
    pDC->LineTo(rect.left, rect.bottom - 1);
    pDC->LineTo(rect.left, rect.top);
    pDC->SelectObject(previous);
}

void CQZExpButton::OnCustomize()
{
    if (!m_pToolBar || !m_pToolBar->m_hWnd)
        return;
    // The system's customise dialog runs modally inside this call.
    m_pToolBar->SendMessage(TB_CUSTOMIZE);
    if (CFrameWnd* frame = m_pToolBar->GetDockingFrame())
        frame->RecalcLayout(TRUE);
}
