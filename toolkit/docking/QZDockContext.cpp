// The toolkit drag context's drag, resize and toggle: the mode of each loop, the tracking
// loop, the drop, floating and what a cancel puts back.
#include "toolkit/docking/QZDockContext.h"

#include "framework/FrameWnd.h"
#include "framework/MiniFrameWnd.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/docking/QZDragInput.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/foundation/QZSkin.h"

#include <algorithm>
#include <vector>

namespace {

// Toolkit style bit of a docking window docked and not yet given its share of its row.
constexpr DWORD kNewlyDockedWindow = 0x1000;

CQZDockWindow* AsDockWindow(CControlBar* bar)
{
    return DYNAMIC_DOWNCAST(CQZDockWindow, bar);
}

// An expanded docking window gives its row back before it leaves its place.
void RestoreRowOf(CControlBar* bar)
{
    CQZDockWindow* dockWindow = AsDockWindow(bar);
    if (!dockWindow || !dockWindow->IsExpanded())
        return;
    if (auto* dockBar = DYNAMIC_DOWNCAST(CQZDockBar, bar->m_pDockBar))
        dockBar->RestoreDockWindows(dockWindow, TRUE);
}

// Puts the dock bar's rows back as they were when they still hold the same bars: only
// the dragged bar moved, and the rows it left may have closed up or wrapped meanwhile.
void RestoreRows(CDockBar* dockBar, const CPtrArray& savedRows)
{
    std::vector<void*> now;
    std::vector<void*> before;
    for (int i = 0; i < dockBar->m_arrBars.GetSize(); ++i) {
        if (dockBar->GetDockedControlBar(i))
            now.push_back(dockBar->m_arrBars.GetAt(i));
    }
    for (int i = 0; i < savedRows.GetSize(); ++i) {
        void* entry = savedRows.GetAt(i);
        if (entry && !CDockBar::IsPlaceHolder(entry))
            before.push_back(entry);
    }
    std::sort(now.begin(), now.end());
    std::sort(before.begin(), before.end());
    if (now == before)
        dockBar->m_arrBars.Copy(savedRows);
}

} // namespace

CQZDockContext::CQZDockContext(CControlBar* pBar) : CDockContext(pBar) {}

CQZDockContext::~CQZDockContext() = default;

void CQZDockContext::InitLoop()
{
    m_bLiveDrag = qzAfxData.toolkitDrag && m_pBar->SendMessage(WM_QZ_CANTOOLKITDRAG) ? TRUE : FALSE;
    if (!m_bLiveDrag) {
        CDockContext::InitLoop();
        return;
    }
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->GetBarStyle() & CBRS_ALIGN_ANY;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bDitherLast = FALSE;
    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    m_pDC = nullptr;
}

void CQZDockContext::CancelLoop()
{
    if (!m_bLiveDrag) {
        CDockContext::CancelLoop();
        return;
    }
    if (m_pBar->m_hWnd && ::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
}

void CQZDockContext::StartDrag(CPoint pt)
{
    if (!m_pBar->m_hWnd || !m_pDockSite)
        return;
    m_bDragging = TRUE;
    m_bDropFailed = false;
    const BOOL wasFloating = m_pBar->IsFloating();
    const UINT startDockID = m_uMRUDockID;
    const CRect startDockPos = m_rectMRUDockPos;
    const DWORD startFloatStyle = m_dwMRUFloatStyle;
    const CPoint startFloatPos = m_ptMRUFloatPos;
    InitLoop();
    InitDragRects(pt);
    m_ptLast = pt;
    if (!wasFloating) {
        // The bar may say where the pointer sits in its torn-off frame.
        SIZE offset = m_rectFrameDragHorz.Size();
        if (m_pBar->SendMessage(WM_QZ_GETFLOATSIZE, 0, reinterpret_cast<LPARAM>(&offset)))
            m_rectFrameDragHorz.OffsetRect(pt - CSize(offset) - m_rectFrameDragHorz.TopLeft());
    }
    m_dwOverDockStyle = CanDock();
    const CRect savedHorz = m_rectDragHorz;
    const CRect savedVert = m_rectDragVert;
    const CRect savedFrameHorz = m_rectFrameDragHorz;
    const CRect savedFrameVert = m_rectFrameDragVert;
    const DWORD savedOverDockStyle = m_dwOverDockStyle;
    CDockBar* savedDockBar = m_pBar->m_pDockBar;
    // The dock bar's rows and the bar's place as they were, for a cancel.
    CPtrArray savedRows;
    CRect savedPlace;
    if (!wasFloating && savedDockBar) {
        savedRows.Copy(savedDockBar->m_arrBars);
        m_pBar->GetWindowRect(&savedPlace);
        savedDockBar->ScreenToClient(&savedPlace);
    }
    m_pBar->PostMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_pBar->m_hWnd), 0);
    Move(pt);
    const BOOL released = Track();
    if (!released && m_bLiveDrag) {
        // Back to where the drag started.
        m_rectDragHorz = savedHorz;
        m_rectDragVert = savedVert;
        m_rectFrameDragHorz = savedFrameHorz;
        m_rectFrameDragVert = savedFrameVert;
        if (!wasFloating && savedDockBar && ::IsWindow(savedDockBar->m_hWnd)) {
            m_dwOverDockStyle = savedOverDockStyle;
            const CRect& rect = (savedOverDockStyle & CBRS_ORIENT_VERT) ? savedVert : savedHorz;
            savedDockBar->CDockBar::DockControlBar(m_pBar, &rect);
            RestoreRows(savedDockBar, savedRows);
            m_pBar->SetWindowPos(nullptr, savedPlace.left, savedPlace.top, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        } else if (wasFloating) {
            m_dwOverDockStyle = 0;
            EndDrag();
        }
        // A cancelled drag leaves no trace: a double click goes back to the places from
        // before it, not to a side the bar only passed over.
        m_uMRUDockID = startDockID;
        m_rectMRUDockPos = startDockPos;
        m_dwMRUFloatStyle = startFloatStyle;
        m_ptMRUFloatPos = startFloatPos;
        m_pDockSite->RecalcLayout(TRUE);
    } else if (released) {
        // The most recent places ToggleDocking uses are those from before the drag.
        const BOOL isFloating = m_pBar->IsFloating();
        if (isFloating && !wasFloating) {
            m_uMRUDockID = startDockID;
            m_rectMRUDockPos = startDockPos;
        } else if (!isFloating && wasFloating) {
            m_dwMRUFloatStyle = startFloatStyle;
            m_ptMRUFloatPos = startFloatPos;
        }
    }
    m_bDragging = FALSE;
}

BOOL CQZDockContext::Track()
{
    HWND focus = ::GetFocus();
    QZGetCurrentSkin()->SetDragMode(TRUE);
    if (focus)
        m_pBar->SetFocus();
    BOOL result = FALSE;
    HWND bar = m_pBar->m_hWnd;
    if (!::GetCapture()) {
        ::SetCapture(bar);
        bool hasLastMove = false;
        CPoint lastMove;
        while (::GetCapture() == bar) {
            MSG msg;
            if (!GetTrackMessage(bar, &msg))
                break;
            if (msg.message == WM_MOUSEMOVE) {
                if (!(msg.wParam & MK_LBUTTON))
                    break;
                const CPoint pt = TrackPoint(msg);
                // The same position again changes nothing: no work, no layout.
                if (hasLastMove && pt == lastMove)
                    continue;
                hasLastMove = true;
                lastMove = pt;
            } else {
                hasLastMove = false;
            }
            // Each step of a live drag repaints the frame once, after its layout.
            const bool locks = m_bLiveDrag && m_pBar->m_pDockBar && !m_pBar->IsFloating() && m_pDockSite;
            if (locks)
                QZLockDragWindowUpdate(m_pDockSite->m_hWnd);
            const TrackStep step = StepTrack(msg);
            if (step == trackReleased) {
                if (m_bDragging)
                    EndDrag();
                else
                    EndResize();
                result = !m_bDropFailed;
            }
            const bool ends = step != trackGoesOn;
            // A drop that could not float the bar ends the drag as a cancel.
            if (!ends && !m_bDropFailed) {
                FlushFrameLayout(m_pDockSite);
                for (int i = 0; i < m_arrLayoutFrames.GetSize(); ++i)
                    FlushFrameLayout(m_arrLayoutFrames.GetAt(i));
            }
            m_arrLayoutFrames.RemoveAll();
            if (locks)
                QZLockDragWindowUpdate(nullptr);
            if (ends || m_bDropFailed)
                break;
        }
    }
    m_pBar->SendMessage(WM_QZ_DRAGDONE);
    CancelLoop();
    m_pDockSite->RecalcLayout(TRUE);
    QZGetCurrentSkin()->SetDragMode(FALSE);
    if (focus && ::IsWindow(focus))
        ::SetFocus(focus);
    return result;
}

void CQZDockContext::EndDrag()
{
    if (m_dwOverDockStyle) {
        CQZDockBar* dockBar = GetDockBar(m_dwOverDockStyle);
        if (!dockBar)
            return;
        if (dockBar != m_pBar->m_pDockBar)
            RestoreRowOf(m_pBar);
        const CRect rect = (m_dwOverDockStyle & CBRS_ORIENT_VERT) ? m_rectDragVert : m_rectDragHorz;
        m_uMRUDockID = static_cast<UINT>(dockBar->GetDlgCtrlID()) & 0xFFFF;
        m_rectMRUDockPos = rect;
        dockBar->ScreenToClient(&m_rectMRUDockPos);
        dockBar->DockControlBar(m_pBar, &rect);
        m_pDockSite->RecalcLayout(FALSE);
        return;
    }
    RestoreRowOf(m_pBar);
    const bool isHorz = ((m_dwStyle & CBRS_ORIENT_HORZ) != 0) != (m_bFlip != FALSE);
    if (!FloatBar((isHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) | (m_dwDockStyle & CBRS_FLOAT_MULTI))) {
        m_bDropFailed = true;
        return;
    }
    if (CQZDockWindow* dockWindow = AsDockWindow(m_pBar))
        dockWindow->RestoreFloatSize();
}

BOOL CQZDockContext::FloatBar(DWORD dwFloatStyle)
{
    const CPoint pos = m_rectFrameDragHorz.TopLeft();
    CDockBar* dockBar = m_pBar->m_pDockBar;
    if (m_pBar->m_pDockSite && dockBar && dockBar->m_bFloating && dockBar->GetDockedCount() == 1 &&
        (dockBar->GetBarStyle() & dwFloatStyle & CBRS_ALIGN_ANY)) {
        // Alone in its floating frame: the frame moves.
        CWnd* frame = dockBar->GetParent();
        frame->ModifyStyleEx(0, WS_EX_DLGMODALFRAME);
        frame->SetWindowPos(nullptr, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
        m_ptMRUFloatPos = pos;
        m_dwMRUFloatStyle = dwFloatStyle;
        return TRUE;
    }
    CMiniDockFrameWnd* frame = m_pDockSite->CreateFloatingFrame(dwFloatStyle | (m_pBar->GetBarStyle() & CBRS_SIZE_DYNAMIC));
    // No frame could be made: the bar stays where it is.
    if (!frame)
        return FALSE;
    m_ptMRUFloatPos = pos;
    m_dwMRUFloatStyle = dwFloatStyle;
    frame->SetWindowPos(nullptr, pos.x, pos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!frame->m_hWndOwner)
        frame->SetOwner(m_pBar);
    if (auto* floatingDockBar = DYNAMIC_DOWNCAST(CDockBar, frame->GetDlgItem(AFX_IDW_DOCKBAR_FLOAT)))
        floatingDockBar->CDockBar::DockControlBar(m_pBar);
    frame->RecalcLayout(TRUE);
    if (m_pBar->GetStyle() & WS_VISIBLE) {
        frame->ShowWindow(SW_SHOWNA);
        frame->UpdateWindow();
    }
    return TRUE;
}

void CQZDockContext::StartResize(int nHitTest, CPoint pt)
{
    if (!m_pBar->m_hWnd || !m_pDockSite)
        return;
    m_bDragging = FALSE;
    m_bDropFailed = false;
    InitLoop();
    m_ptLast = pt;
    m_nHitTest = nHitTest;
    InitResizeRects();
    m_dwOverDockStyle = 0;
    Stretch(pt);
    if (!Track() && m_bLiveDrag)
        Stretch(pt);
}

void CQZDockContext::ToggleDocking()
{
    if (!m_pBar->m_hWnd || !m_pDockSite)
        return;
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    CQZDockWindow* dockWindow = AsDockWindow(m_pBar);
    if (m_pBar->IsFloating()) {
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
            return;
        CRect rect;
        CDockBar* dockBar = GetMRUDockPlace(rect);
        // Placed last in its row when the row is shared out.
        if (dockWindow)
            dockWindow->ModifyBarStyleEx(0, kNewlyDockedWindow, FALSE);
        if (dockBar)
            dockBar->DockControlBar(m_pBar, &rect);
        else
            m_pDockSite->ReDockControlBar(m_pBar, nullptr, &rect);
        m_pDockSite->RecalcLayout(TRUE);
        return;
    }
    if (!m_pBar->m_pDockBar)
        return;
    const CPoint pt = GetMRUFloatPoint();
    m_rectFrameDragHorz.OffsetRect(pt - m_rectFrameDragHorz.TopLeft());
    RestoreRowOf(m_pBar);
    if (FloatBar(CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI)) && dockWindow)
        dockWindow->RestoreFloatSize();
}
