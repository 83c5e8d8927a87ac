// The dock bar's rows: docking a bar at a place, taking it out (with a placeholder),
// finding and counting bars, and the floating frame that goes with its last bar.
// Invariants of m_arrBars: entry 0 is null; a non-empty array ends with a null; no two
// nulls follow each other (an emptied row goes).
#include "DockBar.h"

#include "FrameWnd.h"

#include <algorithm>
#include <climits>
#include <vector>

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

void* PlaceHolderOf(CControlBar* bar)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(bar->GetDlgCtrlID() & 0xFFFF));
}

// The bar's window rectangle in the dock bar's client coordinates.
CRect BarRectIn(const CDockBar* dockBar, CControlBar* bar)
{
    CRect rect;
    bar->GetWindowRect(&rect);
    dockBar->ScreenToClient(&rect);
    return rect;
}

} // namespace

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating)
{
    m_arrBars.Add(nullptr);
}

CDockBar::~CDockBar() = default;

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    return CWnd::Create(nullptr, nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd, nID);
}

void CDockBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {}

void CDockBar::DoPaint(CDC* pDC) {}

void CDockBar::OnDestroy()
{
    m_bDestroying = true;
    CControlBar::OnDestroy();
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const
{
    void* entry = m_arrBars.GetAt(nPos);
    return entry && !IsPlaceHolder(entry) ? static_cast<CControlBar*>(entry) : nullptr;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const
{
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (i != nPosExclude && m_arrBars.GetAt(i) == pBar)
            return i;
    }
    return -1;
}

int CDockBar::GetDockedCount() const
{
    int count = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (GetDockedControlBar(i))
            ++count;
    }
    return count;
}

int CDockBar::GetDockedVisibleCount() const
{
    int count = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar && bar->IsVisible())
            ++count;
    }
    return count;
}

void CDockBar::AdoptBar(CControlBar* pBar)
{
    DWORD style = (pBar->GetBarStyle() & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | (m_dwStyle & CBRS_ALIGN_ANY);
    if (m_bFloating)
        style |= CBRS_FLOATING;
    pBar->SetBarStyle(style);
    if (::GetParent(pBar->m_hWnd) != m_hWnd)
        pBar->SetParent(this);
    pBar->m_pDockBar = this;
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect)
{
    if (!pBar || !pBar->m_hWnd || !m_hWnd)
        return;
    CDockBar* oldDockBar = pBar->m_pDockBar;
    int newPos;
    if (lpRect) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        newPos = InsertAt(pBar, rect);
    } else {
        // Without a place the bar takes its placeholder's, else a row of its own at the end.
        const int placeHolderPos = PlaceHolderOf(pBar) ? FindBar(static_cast<CControlBar*>(PlaceHolderOf(pBar))) : -1;
        if (placeHolderPos > 0) {
            m_arrBars.SetAt(placeHolderPos, pBar);
            newPos = placeHolderPos;
        } else {
            newPos = m_arrBars.Add(pBar);
            m_arrBars.Add(nullptr);
        }
    }
    // The old entry goes after the new one is in, so an entry of the same row keeps its row.
    const int oldPos = FindBar(pBar, newPos);
    if (oldPos > 0)
        m_arrBars.RemoveAt(oldPos);
    RemovePlaceHolders(pBar);
    NormalizeRows();
    // Re-parented before the old dock bar lets go: an emptied floating frame is destroyed
    // with its children.
    AdoptBar(pBar);
    if (oldDockBar && oldDockBar != this && ::IsWindow(oldDockBar->m_hWnd))
        oldDockBar->RemoveControlBar(pBar, -1, !oldDockBar->m_bFloating);
}

int CDockBar::InsertAt(CControlBar* pBar, const CRect& rect)
{
    const bool isHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    const int along = isHorz ? rect.left : rect.top;
    const int acrossMid = isHorz ? (rect.top + rect.bottom) / 2 : (rect.left + rect.right) / 2;
    void* placeHolder = PlaceHolderOf(pBar);
    struct Row {
        int start;
        bool hasBand;
        int bandStart;
        int bandEnd;
        int insertPos;
        bool holdsPlaceHolder;
    };
    std::vector<Row> rows;
    for (int rowStart = 1; rowStart < m_arrBars.GetSize();) {
        int rowEnd = rowStart;
        while (rowEnd < m_arrBars.GetSize() && m_arrBars.GetAt(rowEnd))
            ++rowEnd;
        // The band the row's visible bars cover across the dock bar; the bar itself does not count.
        Row row = {rowStart, false, INT_MAX, INT_MIN, rowStart, false};
        for (int i = rowStart; i < rowEnd; ++i) {
            if (placeHolder && m_arrBars.GetAt(i) == placeHolder)
                row.holdsPlaceHolder = true;
            CControlBar* bar = GetDockedControlBar(i);
            if (!bar || bar == pBar || !bar->IsVisible())
                continue;
            const CRect barRect = BarRectIn(this, bar);
            row.hasBand = true;
            row.bandStart = std::min(row.bandStart, static_cast<int>(isHorz ? barRect.top : barRect.left));
            row.bandEnd = std::max(row.bandEnd, static_cast<int>(isHorz ? barRect.bottom : barRect.right));
            if ((isHorz ? barRect.left : barRect.top) <= along)
                row.insertPos = i + 1;
        }
        rows.push_back(row);
        rowStart = rowEnd + 1;
    }
    // The row the bar left behind lies where the bar would be: after the row before it (or
    // at the start of the row after it), as thick as the bar. A bar that comes back to its
    // place finds its row again, though the row took no room while it was away.
    const int thickness = isHorz ? rect.Height() : rect.Width();
    for (size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].hasBand || !rows[r].holdsPlaceHolder)
            continue;
        int anchor = 0;
        bool anchored = false;
        for (size_t before = r; before-- > 0 && !anchored;) {
            if (rows[before].hasBand) {
                anchor = rows[before].bandEnd;
                anchored = true;
            }
        }
        for (size_t after = r + 1; after < rows.size() && !anchored; ++after) {
            if (rows[after].hasBand) {
                anchor = rows[after].bandStart;
                anchored = true;
            }
        }
        rows[r].hasBand = true;
        rows[r].bandStart = anchor;
        rows[r].bandEnd = anchor + thickness;
    }
    for (const Row& row : rows) {
        if (!row.hasBand)
            continue;
        if (acrossMid < row.bandStart) {
            // Above (or left of) this row: a row of its own in front of it.
            m_arrBars.InsertAt(row.start, static_cast<void*>(nullptr));
            m_arrBars.InsertAt(row.start, pBar);
            return row.start;
        }
        if (acrossMid < row.bandEnd) {
            m_arrBars.InsertAt(row.insertPos, pBar);
            return row.insertPos;
        }
    }
    if (m_arrBars.GetAt(m_arrBars.GetUpperBound()))
        m_arrBars.Add(nullptr);
    const int pos = m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
    return pos;
}

void CDockBar::RemovePlaceHolders(CControlBar* pBar)
{
    void* placeHolder = PlaceHolderOf(pBar);
    for (int i = m_arrBars.GetUpperBound(); i > 0; --i) {
        if (m_arrBars.GetAt(i) == placeHolder)
            m_arrBars.RemoveAt(i);
    }
}

void CDockBar::NormalizeRows()
{
    if (m_arrBars.IsEmpty() || m_arrBars.GetAt(0))
        m_arrBars.InsertAt(0, static_cast<void*>(nullptr));
    for (int i = m_arrBars.GetUpperBound(); i > 0; --i) {
        if (!m_arrBars.GetAt(i) && !m_arrBars.GetAt(i - 1))
            m_arrBars.RemoveAt(i);
    }
    if (m_arrBars.GetSize() > 1 && m_arrBars.GetAt(m_arrBars.GetUpperBound()))
        m_arrBars.Add(nullptr);
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder)
{
    const int pos = FindBar(pBar, nPosExclude);
    if (pos <= 0)
        return FALSE;
    // A bar without an id can leave no placeholder: a zero entry would break the row.
    if (nAddPlaceHolder && PlaceHolderOf(pBar)) {
        RemovePlaceHolders(pBar);
        m_arrBars.SetAt(FindBar(pBar, nPosExclude), PlaceHolderOf(pBar));
    } else {
        m_arrBars.RemoveAt(pos);
    }
    NormalizeRows();
    if (pBar->m_pDockBar == this && FindBar(pBar) < 0)
        pBar->m_pDockBar = nullptr;
    if (!m_bFloating || m_bDestroying || !m_hWnd)
        return TRUE;
    CWnd* frame = GetParent();
    if (!frame)
        return TRUE;
    if (GetDockedCount() == 0) {
        // This dock bar belongs to the frame: nothing of it may be touched once it goes.
        frame->DestroyWindow();
        return TRUE;
    }
    if (GetDockedVisibleCount() == 0)
        frame->ShowWindow(SW_HIDE);
    return TRUE;
}
