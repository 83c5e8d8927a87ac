// A control bar's docking: enabling it, the press that drags the bar and the double
// click that docks or floats it, and the record of its place.
#include "ControlBar.h"

#include "DockBar.h"
#include "DockContext.h"
#include "DockState.h"

#include <vector>

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
    if (!m_pDockContext)
        m_pDockContext = new CDockContext(this);
    if (!m_hWndOwner && m_hWnd)
        m_hWndOwner = ::GetParent(m_hWnd);
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A press on one of the bar's tools is the tool's; anywhere else it drags the bar.
    if (m_pDockContext && m_pDockBar && OnToolHitTest(point, nullptr) == -1) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    Default();
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_pDockContext && m_pDockBar && OnToolHitTest(point, nullptr) == -1) {
        m_pDockContext->ToggleDocking();
        return;
    }
    Default();
}

void CControlBar::GetBarInfo(CControlBarInfo* pInfo)
{
    pInfo->m_pBar = this;
    pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID()) & 0xFFFF;
    pInfo->m_bVisible = IsVisible();
    pInfo->m_bFloating = FALSE;
    pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    pInfo->m_bDockBar = FALSE;
    CRect rect;
    GetWindowRect(&rect);
    if (HWND parent = ::GetParent(m_hWnd))
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&rect), 2);
    pInfo->m_pointPos = rect.TopLeft();
    pInfo->m_nMRUWidth = m_nMRUWidth;
    pInfo->m_bDocking = m_pDockContext != nullptr;
    if (m_pDockContext) {
        pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
        pInfo->m_rectMRUDockPos = m_pDockContext->m_rectMRUDockPos;
        pInfo->m_dwMRUFloatStyle = m_pDockContext->m_dwMRUFloatStyle;
        pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
    }
    pInfo->m_arrBarID.RemoveAll();
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrame)
{
    UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (pInfo->m_bVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    if (pInfo->m_pointPos == CPoint(-1, -1))
        flags |= SWP_NOMOVE;
    m_nStateFlags &= ~(delayHide | delayShow);
    SetWindowPos(nullptr, pInfo->m_pointPos.x, pInfo->m_pointPos.y, 0, 0, flags);
    m_nMRUWidth = pInfo->m_nMRUWidth;
    if (m_pDockContext && pInfo->m_bDocking) {
        m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
        m_pDockContext->m_rectMRUDockPos = pInfo->m_rectMRUDockPos;
        m_pDockContext->m_dwMRUFloatStyle = pInfo->m_dwMRUFloatStyle;
        m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
    }
}

void CDockBar::GetBarInfo(CControlBarInfo* pInfo)
{
    CControlBar::GetBarInfo(pInfo);
    pInfo->m_bDockBar = TRUE;
    pInfo->m_bFloating = m_bFloating;
    // A floating dock bar's place is its frame's on the screen; a side's is its frame's edge.
    if (m_bFloating) {
        CRect rect;
        GetWindowRect(&rect);
        pInfo->m_pointPos = rect.TopLeft();
    } else {
        pInfo->m_pointPos = CPoint(-1, -1);
    }
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        void* entry = m_arrBars.GetAt(i);
        uintptr_t id = 0;
        if (IsPlaceHolder(entry))
            id = reinterpret_cast<uintptr_t>(entry) | 0x10000;
        else if (entry)
            id = static_cast<UINT>(static_cast<CControlBar*>(entry)->GetDlgCtrlID()) & 0xFFFF;
        // A bar without an id cannot be told from a row break: it is not recorded.
        if (entry && id == 0)
            continue;
        pInfo->m_arrBarID.Add(reinterpret_cast<void*>(id));
    }
}

void CDockBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrame)
{
    std::vector<CControlBar*> before;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (CControlBar* bar = GetDockedControlBar(i))
            before.push_back(bar);
    }
    m_arrBars.RemoveAll();
    m_arrBars.Add(nullptr);
    for (int i = 0; i < pInfo->m_arrBarID.GetSize(); ++i) {
        const uintptr_t id = reinterpret_cast<uintptr_t>(pInfo->m_arrBarID.GetAt(i));
        if (id == 0) {
            if (m_arrBars.GetAt(m_arrBars.GetUpperBound()))
                m_arrBars.Add(nullptr);
            continue;
        }
        CControlBar* bar = pFrame->GetControlBar(static_cast<UINT>(id & 0xFFFF));
        if (!bar || bar->IsDockBar() || !bar->m_hWnd)
            continue;
        if (id > 0xFFFF) {
            void* placeHolder = reinterpret_cast<void*>(id & 0xFFFF);
            if (FindBar(static_cast<CControlBar*>(placeHolder)) < 0)
                m_arrBars.Add(placeHolder);
            continue;
        }
        if (FindBar(bar) >= 0)
            continue;
        m_arrBars.Add(bar);
        CDockBar* oldDockBar = bar->m_pDockBar;
        AdoptBar(bar);
        if (oldDockBar && oldDockBar != this && ::IsWindow(oldDockBar->m_hWnd))
            oldDockBar->RemoveControlBar(bar);
    }
    // Bars the record does not mention stay here, in a row of their own.
    for (CControlBar* bar : before) {
        if (bar->m_pDockBar != this || FindBar(bar) >= 0)
            continue;
        if (m_arrBars.GetAt(m_arrBars.GetUpperBound()))
            m_arrBars.Add(nullptr);
        m_arrBars.Add(bar);
    }
    // A bar that is here needs no placeholder here.
    std::vector<CControlBar*> docked;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (CControlBar* bar = GetDockedControlBar(i))
            docked.push_back(bar);
    }
    for (CControlBar* bar : docked)
        RemovePlaceHolders(bar);
    NormalizeRows();
}
