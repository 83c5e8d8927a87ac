// Frame docking: dock bars per side, docking and floating bars, floating frames, and the
// bar layout kept in the application's profile.
#include "FrameWnd.h"

#include "ControlBar.h"
#include "DockBar.h"
#include "DockContext.h"
#include "DockState.h"
#include "MiniFrameWnd.h"
#include "ResourceException.h"

#include <vector>

namespace {

struct DockSide {
    UINT id;
    DWORD style;
};

// Walked in this order wherever a side is chosen by alignment.
const DockSide kDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

// The frame's side dock bar for the first side of kDockSides among alignment bits.
CDockBar* SideDockBar(CFrameWnd* frame, DWORD alignment)
{
    for (const DockSide& side : kDockSides) {
        if (!(side.style & alignment & CBRS_ALIGN_ANY))
            continue;
        if (auto* dockBar = DYNAMIC_DOWNCAST(CDockBar, frame->GetControlBar(side.id)))
            return dockBar;
    }
    return nullptr;
}

} // namespace

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    if (!m_pFloatingFrameClass)
        m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (const DockSide& side : kDockSides) {
        if (!(side.style & dwDockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.id))
            continue;
        auto* dockBar = new CDockBar;
        dockBar->m_bAutoDelete = TRUE;
        // A dock bar that fails has deleted itself; the ones made before it stay.
        if (!dockBar->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.style, side.id))
            AfxThrowResourceException();
    }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CDockBar* dockBar = nDockBarID ? DYNAMIC_DOWNCAST(CDockBar, GetControlBar(nDockBarID))
                                   : SideDockBar(this, pBar ? pBar->GetBarStyle() : 0);
    DockControlBar(pBar, dockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar || !pDockBar)
        return;
    pDockBar->DockControlBar(pBar, lpRect);
    RecalcLayout();
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle)
{
    auto* frame = static_cast<CMiniDockFrameWnd*>(
        AfxCreateObjectOfKind(m_pFloatingFrameClass, RUNTIME_CLASS(CMiniDockFrameWnd)));
    if (!frame)
        return nullptr;
    // A frame that fails to be created has deleted itself.
    if (!frame->Create(this, dwStyle))
        return nullptr;
    return frame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    const DWORD style = dwStyle | (pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC);
    CDockBar* dockBar = pBar->m_pDockBar;
    CMiniDockFrameWnd* frame = nullptr;
    // A bar alone in its floating frame keeps the frame.
    if (dockBar && dockBar->m_bFloating && dockBar->GetDockedCount() == 1)
        frame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, dockBar->GetParent());
    if (frame) {
        const DWORD alignment = style & CBRS_ALIGN_ANY;
        if (alignment && (dockBar->GetBarStyle() & CBRS_ALIGN_ANY) != alignment) {
            dockBar->SetBarStyle((dockBar->GetBarStyle() & ~CBRS_ALIGN_ANY) | alignment);
            pBar->SetBarStyle((pBar->GetBarStyle() & ~CBRS_ALIGN_ANY) | alignment);
        }
    } else {
        frame = CreateFloatingFrame(style);
        if (!frame)
            return;
        frame->m_wndDockBar.DockControlBar(pBar);
    }
    frame->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    frame->RecalcLayout(TRUE);
    if (pBar->GetStyle() & WS_VISIBLE) {
        frame->ShowWindow(SW_SHOWNA);
        frame->UpdateWindow();
    }
    RecalcLayout();
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd)
        return;
    CDockBar* dockBar = pDockBar;
    CRect recentRect;
    LPCRECT where = lpRect;
    if (!dockBar && pBar->m_pDockContext && pBar->m_pDockContext->m_uMRUDockID) {
        CDockContext* context = pBar->m_pDockContext;
        auto* recent = DYNAMIC_DOWNCAST(CDockBar, GetControlBar(context->m_uMRUDockID));
        if (recent && !recent->m_bFloating && (recent->GetBarStyle() & pBar->m_dwDockStyle & CBRS_ALIGN_ANY)) {
            dockBar = recent;
            if (!where) {
                recentRect = context->m_rectMRUDockPos;
                recent->ClientToScreen(&recentRect);
                where = &recentRect;
            }
        }
    }
    if (!dockBar)
        dockBar = SideDockBar(this, pBar->GetBarStyle() & pBar->m_dwDockStyle);
    if (!dockBar)
        dockBar = SideDockBar(this, pBar->m_dwDockStyle);
    DockControlBar(pBar, dockBar, where);
}

void CFrameWnd::GetDockState(CDockState& state) const
{
    state.Clear();
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        auto* info = new CControlBarInfo;
        bar->GetBarInfo(info);
        state.m_arrBarInfo.Add(info);
    }
}

void CFrameWnd::SetDockState(const CDockState& state)
{
    const int count = state.m_arrBarInfo.GetSize();
    // The window of each floating frame made here: a frame emptied while the records are
    // applied destroys itself, and only its handle tells so afterwards.
    std::vector<HWND> madeFrames(static_cast<size_t>(count), nullptr);
    for (int i = 0; i < count; ++i) {
        CControlBarInfo* info = state.m_arrBarInfo.GetAt(i);
        info->m_pBar = nullptr;
        if (info->m_bFloating) {
            CMiniDockFrameWnd* frame = CreateFloatingFrame(info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
            if (!frame)
                continue;
            CRect rect(info->m_pointPos, CSize(10, 10));
            frame->CalcWindowRect(&rect);
            frame->SetWindowPos(nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            info->m_pBar = &frame->m_wndDockBar;
            madeFrames[static_cast<size_t>(i)] = frame->m_hWnd;
        } else {
            info->m_pBar = GetControlBar(info->m_nBarID);
        }
        if (info->m_pBar)
            info->m_pBar->m_nMRUWidth = info->m_nMRUWidth;
    }
    for (int i = 0; i < count; ++i) {
        CControlBarInfo* info = state.m_arrBarInfo.GetAt(i);
        const HWND frameWindow = madeFrames[static_cast<size_t>(i)];
        if (info->m_pBar && (!frameWindow || ::IsWindow(frameWindow)))
            info->m_pBar->SetBarInfo(info, this);
    }
    for (int i = 0; i < count; ++i) {
        const HWND frameWindow = madeFrames[static_cast<size_t>(i)];
        if (!frameWindow || !::IsWindow(frameWindow))
            continue;
        auto* frame = static_cast<CMiniDockFrameWnd*>(CWnd::FromHandlePermanent(frameWindow));
        // A stored floating frame none of whose bars the frame has is not kept.
        if (frame->m_wndDockBar.GetDockedCount() == 0) {
            frame->DestroyWindow();
            continue;
        }
        if (frame->m_wndDockBar.GetDockedVisibleCount() > 0) {
            frame->RecalcLayout();
            frame->ShowWindow(SW_SHOWNA);
        }
    }
    RecalcLayout();
}

void CFrameWnd::SaveBarState(LPCSTR lpszProfileName) const
{
    CDockState state;
    GetDockState(state);
    state.SaveState(lpszProfileName);
}

void CFrameWnd::LoadBarState(LPCSTR lpszProfileName)
{
    // A saved layout has a record per bar and dock bar, and at most one floating dock bar
    // for each bar that is not a dock bar.
    int bars = 0;
    int plainBars = 0;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        ++bars;
        if (!bar->IsDockBar())
            ++plainBars;
    }
    CDockState state;
    if (!state.LoadState(lpszProfileName, bars + plainBars))
        return;
    SetDockState(state);
}
