// The toolkit dock bar's rows: docking, the operations over a row's bars and docking
// windows, sharing a row's length, expanding and restoring, border trimming and splitter
// records; and its painting and bar menu.
#include "toolkit/docking/QZDockBar.h"

#include "framework/FrameWnd.h"
#include "framework/PaintDC.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/docking/QZSplitterDock.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CQZDockBar, CDockBar)

BEGIN_MESSAGE_MAP(CQZDockBar, CDockBar)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_RBUTTONDOWN()
    ON_WM_NCHITTEST()
    ON_WM_SETCURSOR()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_WM_CANCELMODE()
END_MESSAGE_MAP()

namespace {

// Toolkit style bit of a docking window docked and not yet given its share of its row.
constexpr DWORD kNewlyDocked = 0x1000;

} // namespace

CQZDockBar::CQZDockBar() : CDockBar(FALSE) {}

CQZDockBar::~CQZDockBar()
{
    DeleteSplitters();
}

void CQZDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (pBar && pBar->IsKindOf(RUNTIME_CLASS(CQZDockWindow)))
        static_cast<CQZDockWindow*>(pBar)->ModifyBarStyleEx(0, kNewlyDocked, FALSE);
    CDockBar::DockControlBar(pBar, lpRect);
}

bool CQZDockBar::IsHorzDockBar() const
{
    return (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
}

int CQZDockBar::Along(const CSize& size) const
{
    return IsHorzDockBar() ? size.cx : size.cy;
}

int CQZDockBar::Across(const CSize& size) const
{
    return IsHorzDockBar() ? size.cy : size.cx;
}

CSize CQZDockBar::DockedSize(CControlBar* pBar) const
{
    return pBar->CalcDynamicLayout(-1, IsHorzDockBar() ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
}

int CQZDockBar::CurrentLength(const CQZDockWindow* pWnd) const
{
    return IsHorzDockBar() ? pWnd->GetCurrentWidth() : pWnd->GetCurrentHeight();
}

int CQZDockBar::RowEnd(int nIndex) const
{
    int end = std::max(nIndex, 0);
    while (end < m_arrBars.GetSize() && m_arrBars.GetAt(end))
        ++end;
    return end;
}

int CQZDockBar::RowStartOf(int nIndex) const
{
    int start = nIndex;
    while (start > 0 && m_arrBars.GetAt(start - 1))
        --start;
    return start;
}

CQZDockWindow* CQZDockBar::GetDockWindow(CControlBar* pBar)
{
    if (!pBar || !::IsWindow(pBar->m_hWnd) || !pBar->IsVisible() || !pBar->IsKindOf(RUNTIME_CLASS(CQZDockWindow)))
        return nullptr;
    return static_cast<CQZDockWindow*>(pBar);
}

int CQZDockBar::GetRowStart(CControlBar* pBar) const
{
    const int pos = FindBar(pBar);
    return pos < 0 ? -1 : RowStartOf(pos);
}

BOOL CQZDockBar::IsLastInRow(int nIndex) const
{
    const int last = m_arrBars.GetUpperBound();
    return last >= 0 && nIndex >= 0 && nIndex < last && m_arrBars.GetAt(nIndex) && !m_arrBars.GetAt(nIndex + 1);
}

int CQZDockBar::GetVisibleDockWindowCount(int nIndex, CQZDockWindow* pExclude) const
{
    int count = 0;
    for (int i = nIndex, end = RowEnd(nIndex); i < end; ++i) {
        CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i));
        if (wnd && wnd != pExclude)
            ++count;
    }
    return count;
}

int CQZDockBar::GetRowThickness(int nIndex, CControlBar* pExclude) const
{
    int thickness = 0;
    for (int i = nIndex, end = RowEnd(nIndex); i < end; ++i) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar && bar != pExclude && bar->IsVisible())
            thickness = std::max(thickness, Across(DockedSize(bar)));
    }
    return thickness;
}

int CQZDockBar::GetRowBarThickness(int nIndex, CControlBar* pExclude) const
{
    int thickness = 2;
    for (int i = nIndex, end = RowEnd(nIndex); i < end; ++i) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar && bar != pExclude && bar->IsVisible() && !GetDockWindow(bar))
            thickness = std::max(thickness, Across(DockedSize(bar)));
    }
    return thickness;
}

int CQZDockBar::GetRowWindowsExtent(int nIndex, CQZDockWindow* pExclude) const
{
    int extent = 0;
    for (int i = nIndex, end = RowEnd(nIndex); i < end; ++i) {
        CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i));
        if (wnd && wnd != pExclude)
            extent += CurrentLength(wnd);
    }
    return extent;
}

int CQZDockBar::GetRowMinimumExtent(int nIndex, CQZDockWindow* pExclude) const
{
    int extent = 0;
    for (int i = nIndex, end = RowEnd(nIndex); i < end; ++i) {
        CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i));
        if (wnd && wnd != pExclude)
            extent += wnd->GetMinExtent();
    }
    return extent;
}

int CQZDockBar::GetRowFixedExtent(int nIndex, CControlBar* pExclude) const
{
    // Mirrors the layout's splitters: before a docking window that follows another, and
    // before a bar that follows a docking window while more docking windows come.
    const int start = RowStartOf(nIndex);
    int toCome = GetVisibleDockWindowCount(start, nullptr);
    int seen = 0;
    bool previousIsDockWindow = false;
    int extent = 0;
    for (int i = start, end = RowEnd(start); i < end; ++i) {
        CControlBar* bar = GetDockedControlBar(i);
        if (!bar || !bar->IsVisible())
            continue;
        const bool isDockWindow = GetDockWindow(bar) != nullptr;
        if (i >= nIndex) {
            if ((isDockWindow && seen > 0) || (!isDockWindow && previousIsDockWindow && toCome > 0))
                extent += 6;
            if (!isDockWindow && bar != pExclude)
                extent += Along(DockedSize(bar));
        }
        if (isDockWindow) {
            ++seen;
            --toCome;
        }
        previousIsDockWindow = isDockWindow;
    }
    return extent;
}

CQZDockWindow* CQZDockBar::FindNewDockWindow(int nIndex) const
{
    for (int i = nIndex, end = RowEnd(nIndex); i < end; ++i) {
        CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i));
        if (wnd && (wnd->GetBarStyleEx() & kNewlyDocked))
            return wnd;
    }
    return nullptr;
}

CQZDockWindow* CQZDockBar::FindFirstDockWindow(int nIndex) const
{
    for (int i = nIndex, end = RowEnd(nIndex); i < end; ++i) {
        if (CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i)))
            return wnd;
    }
    return nullptr;
}

CQZDockWindow* CQZDockBar::FindExpandedDockWindow(int nIndex) const
{
    for (int i = RowStartOf(nIndex), end = RowEnd(nIndex); i < end; ++i) {
        CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i));
        if (wnd && wnd->IsExpanded() && !wnd->IsAloneInRow())
            return wnd;
    }
    return nullptr;
}

void CQZDockBar::FitRowDockWindows(int nIndex)
{
    CQZDockWindow* newWnd = FindNewDockWindow(nIndex);
    if (newWnd)
        newWnd->ModifyBarStyleEx(kNewlyDocked, 0, FALSE);
    CQZDockWindow* expanded = FindExpandedDockWindow(nIndex);
    RestoreDockWindows(expanded ? expanded : FindFirstDockWindow(nIndex), TRUE);
    const int thickness = GetRowThickness(nIndex, nullptr);
    const int count = GetVisibleDockWindowCount(nIndex, nullptr);
    if (count == 0)
        return;
    CRect area = m_rectLayout;
    if (area.IsRectEmpty())
        GetClientRect(&area);
    const int available = Along(area.Size());
    const bool isHorz = IsHorzDockBar();
    auto sized = [&](int length) { return isHorz ? CSize(length, thickness) : CSize(thickness, length); };
    if (count == 1) {
        CQZDockWindow* only = FindFirstDockWindow(nIndex);
        only->SetDockedSize(sized(Along(DockedSize(only))));
        only->Expand(available - GetRowFixedExtent(nIndex, nullptr));
        return;
    }
    int difference = available - (GetRowFixedExtent(nIndex, newWnd) + GetRowWindowsExtent(nIndex, newWnd));
    int sharing = count;
    if (newWnd) {
        difference -= Along(DockedSize(newWnd));
        --sharing;
    }
    auto resize = [&](CQZDockWindow* wnd, int length) {
        wnd->SetDockedSize(sized(length));
        const CSize size = sized(length);
        wnd->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    };
    const int end = RowEnd(nIndex);
    for (int i = nIndex; i < end; ++i) {
        CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i));
        if (!wnd || wnd == newWnd)
            continue;
        int share = difference / sharing;
        if (difference < 0) {
            // What the windows after this one can still give up, down to their minimum.
            int slack = 0;
            for (int j = i + 1; j < end; ++j) {
                CQZDockWindow* after = GetDockWindow(GetDockedControlBar(j));
                if (after && after != newWnd)
                    slack += CurrentLength(after) - after->GetMinExtent();
            }
            share += std::min(0, (difference - share) + slack);
        }
        const int docked = Along(DockedSize(wnd));
        const int length = std::max(wnd->GetMinExtent(), docked + share);
        difference -= length - docked;
        resize(wnd, length);
        --sharing;
    }
    if (newWnd)
        resize(newWnd, std::max(newWnd->GetMinExtent(), Along(DockedSize(newWnd)) + difference));
    if (expanded)
        ExpandDockWindow(newWnd ? newWnd : expanded, TRUE);
}

void CQZDockBar::RecalcAfterRowChange(int nRowStart)
{
    const int end = RowEnd(nRowStart);
    if (end > nRowStart && GetDockWindow(GetDockedControlBar(end - 1)) && m_pDockSite)
        m_pDockSite->RecalcLayout(TRUE);
}

void CQZDockBar::ExpandDockWindow(CQZDockWindow* pWnd, BOOL bRecalc)
{
    const int start = GetRowStart(pWnd);
    if (start < 0)
        return;
    const bool isHorzDocked = pWnd->IsHorzDocked() != FALSE;
    const CSize docked = pWnd->CalcDynamicLayout(-1, isHorzDocked ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
    int length = isHorzDocked ? docked.cx : docked.cy;
    for (int i = start, end = RowEnd(start); i < end; ++i) {
        CQZDockWindow* other = GetDockWindow(GetDockedControlBar(i));
        if (other && other != pWnd)
            length += other->Collapse();
    }
    pWnd->Expand(length);
    if (bRecalc)
        RecalcAfterRowChange(start);
}

void CQZDockBar::RestoreDockWindows(CQZDockWindow* pWnd, BOOL bRecalc)
{
    if (!pWnd)
        return;
    const int start = GetRowStart(pWnd);
    if (start < 0)
        return;
    for (int i = start, end = RowEnd(start); i < end; ++i) {
        if (CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i)))
            wnd->RestoreNormalSize();
    }
    if (bRecalc)
        RecalcAfterRowChange(start);
}

void CQZDockBar::AdjustRowBarStyles(int nIndex, DWORD dwBorders, BOOL bDockWindowsOnly)
{
    const int thickness = GetRowThickness(nIndex, nullptr);
    for (int i = nIndex, end = RowEnd(nIndex); i < end; ++i) {
        CControlBar* bar = GetDockedControlBar(i);
        if (!bar || !bar->IsVisible())
            continue;
        const bool trims = GetDockWindow(bar) || (!bDockWindowsOnly && !(m_dwBarStyleEx & 0x80) &&
                                                  Across(DockedSize(bar)) == thickness);
        if (trims)
            bar->SetBarStyle(bar->GetBarStyle() & ~dwBorders);
    }
}

void CQZDockBar::AddSplitter(const CRect& rect, int nType, BOOL bRowSplitter, int nBarIndex)
{
    CQZSplitterDock* splitter = bRowSplitter ? new CQZSplitterDock(this, rect, nType, nBarIndex)
                                             : new CQZSplitterRowDock(this, rect, nType, nBarIndex);
    m_arrSplitters.Add(splitter);
}

BOOL CQZDockBar::HoldsBars() const
{
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        void* entry = m_arrBars.GetAt(i);
        if (entry && !IsPlaceHolder(entry))
            return TRUE;
    }
    return FALSE;
}

void CQZDockBar::DeleteSplitters()
{
    for (int i = 0; i < m_arrSplitters.GetSize(); ++i)
        delete m_arrSplitters.GetAt(i);
    m_arrSplitters.RemoveAll();
}

void CQZDockBar::SetSplittersPos(int nFirst, int nType, int nPos)
{
    for (int i = std::max(nFirst, 0); i < m_arrSplitters.GetSize(); ++i) {
        if (m_arrSplitters.GetAt(i)->m_nType == nType)
            m_arrSplitters.GetAt(i)->SetPos(nPos);
    }
}

BOOL CQZDockBar::OnEraseBkgnd(CDC* pDC)
{
    // Painting fills everything off screen: erasing first would only flicker.
    return FALSE;
}

void CQZDockBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    CQZMemDC memDC(&dc, rect, qzAfxData.colorFace);
    if (IsVisible() && GetDockedVisibleCount() != 0)
        DoPaint(&memDC);
}

void CQZDockBar::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (!qzAfxData.dockBarMenuOnRightClick || !m_pDockSite)
        return;
    ClientToScreen(&point);
    QZShowFrameBarMenu(&point, m_pDockSite, QZBarMenuOrder::NewestFirst);
}
