// Tab painting: the pens, the off-screen paint that picks the XP variant for the tabs'
// side or lets the control paint itself, the page rectangle and text padding.
#include "toolkit/controls/QZTabCtrlBase.h"

#include "framework/DC.h"
#include "framework/PaintDC.h"
#include "framework/Wnd.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"

#include <commctrl.h>

CQZTabCtrlBase::CQZTabCtrlBase() : m_cxEdge(::GetSystemMetrics(SM_CXEDGE))
{
    CreatePens();
}

CQZTabCtrlBase::~CQZTabCtrlBase() = default;

void CQZTabCtrlBase::CreatePens()
{
    m_penWindowFrame.CreatePen(PS_SOLID, 1, qzAfxData.colorWindowFrame);
    m_penWindow.CreatePen(PS_SOLID, 1, qzAfxData.colorWindow);
    m_penFace.CreatePen(PS_SOLID, 1, qzAfxData.colorFace);
    m_penShadowDark.CreatePen(PS_SOLID, 1, qzAfxData.colorXPBorder);
}

void CQZTabCtrlBase::OnSysColorChange()
{
    for (CPen* pen : {&m_penWindowFrame, &m_penWindow, &m_penFace, &m_penShadowDark})
        pen->DeleteObject();
    CreatePens();
}

void CQZTabCtrlBase::OnSettingChange(UINT uFlags, LPCSTR lpszSection)
{
    m_cxEdge = ::GetSystemMetrics(SM_CXEDGE);
}

BOOL CQZTabCtrlBase::OnEraseBkgnd(CDC* pDC)
{
    return TRUE;
}

void CQZTabCtrlBase::OnPaint()
{
    if (!m_pTabCtrl)
        return;
    CPaintDC dc(m_pTabCtrl);
    PaintInto(&dc);
}

void CQZTabCtrlBase::OnPrintClient(CDC* pDC)
{
    if (m_pTabCtrl && pDC)
        PaintInto(pDC);
}

void CQZTabCtrlBase::PaintInto(CDC* pDC)
{
    CRect client;
    m_pTabCtrl->GetClientRect(&client);
    CQZMemDC memDC(pDC, client, qzAfxData.colorFace);
    if (!qzAfxData.xpLook || m_bNoXPLook) {
        // The control paints into the DC a WM_PAINT carries instead of the screen.
        m_pTabCtrl->DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);
        return;
    }
    if (m_pTabCtrl->SendMessage(TCM_GETITEMCOUNT) <= 0)
        return;
    const int saved = memDC.SaveDC();
    CRect selected(0, 0, 0, 0);
    m_pTabCtrl->SendMessage(TCM_GETITEMRECT, m_pTabCtrl->SendMessage(TCM_GETCURSEL),
                            reinterpret_cast<LPARAM>(&selected));
    const DWORD style = m_pTabCtrl->GetStyle();
    if (!(style & TCS_VERTICAL)) {
        if (style & TCS_BOTTOM)
            DrawBottomTabs(&memDC, client, selected);
        else
            DrawTopTabs(&memDC, client, selected);
    } else if (style & TCS_RIGHT) {
        DrawRightTabs(&memDC, client, selected);
    } else {
        DrawLeftTabs(&memDC, client, selected);
    }
    CRect page;
    GetPageRect(page);
    // Without a selected tab there is no page to frame.
    if (m_bPageFrame && !page.IsRectEmpty()) {
        page.InflateRect(1, 1);
        memDC.Draw3dRect(&page, qzAfxData.colorShadow, qzAfxData.colorShadow);
    }
    memDC.RestoreDC(saved);
}

void CQZTabCtrlBase::GetPageRect(CRect& rect) const
{
    rect.SetRectEmpty();
    if (!m_pTabCtrl)
        return;
    const int selectedIndex = static_cast<int>(m_pTabCtrl->SendMessage(TCM_GETCURSEL));
    if (selectedIndex == -1)
        return;
    CRect selected(0, 0, 0, 0);
    m_pTabCtrl->SendMessage(TCM_GETITEMRECT, selectedIndex, reinterpret_cast<LPARAM>(&selected));
    CRect client;
    m_pTabCtrl->GetClientRect(&client);
    const int rows = static_cast<int>(m_pTabCtrl->SendMessage(TCM_GETROWCOUNT));
    const int tabsHigh = rows * selected.Height() + 5;
    const int tabsWide = rows * selected.Width() + 5;
    rect.SetRect(client.left + 3, client.top + 3, client.right - 3, client.bottom - 3);
    const DWORD style = m_pTabCtrl->GetStyle();
    if (!(style & TCS_VERTICAL)) {
        if (style & TCS_BOTTOM)
            rect.bottom = client.bottom - tabsHigh;
        else
            rect.top = client.top + tabsHigh;
    } else if (style & TCS_RIGHT) {
        rect.right = client.right - tabsWide;
    } else {
        rect.left = client.left + tabsWide;
    }
}

void CQZTabCtrlBase::PadTabText(CString& strText)
{
    if (strText.IsEmpty())
        return;
    const bool isVertical = m_pTabCtrl && (m_pTabCtrl->GetStyle() & TCS_VERTICAL);
    CFont& bold = isVertical ? qzAfxData.fontVertRevBold : qzAfxData.fontVertBold;
    CFont& regular = isVertical ? qzAfxData.fontVertRev : qzAfxData.fontVert;
    CClientDC dc(nullptr);
    const int saved = dc.SaveDC();
    dc.SelectObject(&bold);
    const int boldWidth = dc.GetTextExtent(strText).cx;
    dc.SelectObject(&regular);
    int width = dc.GetTextExtent(strText).cx;
    bool inFront = true;
    while (width < boldWidth) {
        strText = inFront ? " " + strText : strText + " ";
        inFront = !inFront;
        width = dc.GetTextExtent(strText).cx;
    }
    dc.RestoreDC(saved);
}
