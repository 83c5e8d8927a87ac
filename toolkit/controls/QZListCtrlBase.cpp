// The toolkit list's logic: the flat header and sorting on its clicks, columns, the
// column hit test, rows copied and moved, colours and the toolkit font.
#include "toolkit/controls/QZListCtrl.h"

#include "framework/PaintDC.h"
#include "toolkit/foundation/QZAuxData.h"

#include <algorithm>
#include <vector>

namespace {

// Room beside a heading's text, and more for the sort arrow.
constexpr int kHeadingMargin = 12;
constexpr int kSortArrowRoom = 24;

// The width a header notification's item asks for, or null when it asks for none.
int* RequestedWidth(LPARAM lParam)
{
    // The item's mask and width lie alike in the ANSI and the wide record.
    NMHEADERA* header = reinterpret_cast<NMHEADERA*>(lParam);
    return header->pitem && (header->pitem->mask & HDI_WIDTH) ? &header->pitem->cxy : nullptr;
}

} // namespace

CQZListCtrlBase::CQZListCtrlBase()
    : m_bUseToolkitFont(1), m_pListCtrl(nullptr), m_nMinColWidth(0),
      m_nMaxColWidth(::GetSystemMetrics(SM_CXFULLSCREEN)), m_nSortColumn(-1),
      m_clrText(::GetSysColor(COLOR_WINDOWTEXT)), m_clrBack(::GetSysColor(COLOR_WINDOW)), m_bLockWidths(0),
      m_bSortAscending(1), m_bSaveAtDestroy(0)
{
}

CQZListCtrlBase::~CQZListCtrlBase() = default;

bool CQZListCtrlBase::IsReportView() const
{
    return m_pListCtrl && m_pListCtrl->m_hWnd && (m_pListCtrl->GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
}

HWND CQZListCtrlBase::GetHeaderWnd() const
{
    return m_pListCtrl ? ::GetDlgItem(m_pListCtrl->GetSafeHwnd(), 0) : nullptr;
}

CQZFlatHeaderCtrl* CQZListCtrlBase::GetFlatHeaderCtrl() const
{
    CWnd* header = CWnd::FromHandlePermanent(GetHeaderWnd());
    return header && header->IsKindOf(RUNTIME_CLASS(CQZFlatHeaderCtrl)) ? static_cast<CQZFlatHeaderCtrl*>(header)
                                                                         : nullptr;
}

int CQZListCtrlBase::SetSortImage(int nColumn, BOOL bAscending)
{
    CQZFlatHeaderCtrl* header = GetFlatHeaderCtrl();
    return header ? header->SetSortImage(nColumn, bAscending) : -1;
}

BOOL CQZListCtrlBase::SubclassHeader(BOOL bBoldFont)
{
    HWND header = IsReportView() ? GetHeaderWnd() : nullptr;
    if (!header || m_wndFlatHeader.m_hWnd)
        return FALSE;
    if (!m_wndFlatHeader.SubclassWindow(header))
        return FALSE;
    m_wndFlatHeader.SetFontBold(bBoldFont);
    return TRUE;
}

BOOL CQZListCtrlBase::SortList(int, BOOL)
{
    return TRUE;
}

void CQZListCtrlBase::AddExtendedStyle(DWORD dwNewStyle)
{
    const DWORD style = static_cast<DWORD>(m_pListCtrl->SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
    m_pListCtrl->SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style | dwNewStyle));
}

DWORD CQZListCtrlBase::GetExtendedStyle()
{
    return static_cast<DWORD>(m_pListCtrl->SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

void CQZListCtrlBase::LockColumnWidths(BOOL bLock)
{
    m_bLockWidths = bLock ? 1 : 0;
}

void CQZListCtrlBase::SetColors(COLORREF clrText, COLORREF clrBack)
{
    m_clrText = clrText;
    m_clrBack = clrBack;
    m_pListCtrl->Invalidate(TRUE);
}

int CQZListCtrlBase::GetColumnCount()
{
    HWND header = IsReportView() ? GetHeaderWnd() : nullptr;
    return header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : -1;
}

int CQZListCtrlBase::MeasureHeading(LPCSTR lpszHeading, bool bWithArrow) const
{
    const int room = kHeadingMargin + (bWithArrow ? kSortArrowRoom : 0);
    HWND header = GetHeaderWnd();
    if (!header)
        return room;
    CClientDC screen(nullptr);
    HGDIOBJ oldFont = nullptr;
    if (HFONT font = reinterpret_cast<HFONT>(::SendMessageA(header, WM_GETFONT, 0, 0)))
        oldFont = ::SelectObject(screen.m_hDC, font);
    SIZE extent = {};
    ::GetTextExtentPoint32A(screen.m_hDC, lpszHeading, lstrlenA(lpszHeading), &extent);
    if (oldFont)
        ::SelectObject(screen.m_hDC, oldFont);
    return extent.cx + room;
}

int CQZListCtrlBase::AddColumn(LPCSTR lpszHeading, int nWidth, int nFormat)
{
    HWND header = IsReportView() ? GetHeaderWnd() : nullptr;
    if (!header)
        return -1;
    const int index = GetColumnCount();
    if (nWidth == -1) {
        if (index > 0) {
            HDITEMA previous = {};
            previous.mask = HDI_WIDTH;
            ::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(&previous));
            nWidth = previous.cxy;
        } else {
            // No column before the first to take a width from: it gets its heading's, never 0.
            nWidth = MeasureHeading(lpszHeading, false);
        }
    }
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = nFormat;
    column.cx = nWidth;
    column.pszText = const_cast<LPSTR>(lpszHeading);
    column.iSubItem = index;
    return m_pListCtrl->InsertColumn(index, &column);
}

BOOL CQZListCtrlBase::BuildColumns(int nCols, const int* pWidths, const UINT* pHeadingIDs)
{
    for (int i = 0; i < nCols; ++i) {
        CString heading;
        heading.LoadString(pHeadingIDs[i]);
        if (AddColumn(heading, pWidths[i], LVCFMT_LEFT) == -1)
            return FALSE;
    }
    return TRUE;
}

BOOL CQZListCtrlBase::BuildColumns(int nCols, const int* pWidths, const LPCSTR* pHeadings)
{
    for (int i = 0; i < nCols; ++i) {
        if (AddColumn(pHeadings[i], pWidths[i], LVCFMT_LEFT) == -1)
            return FALSE;
    }
    return TRUE;
}

int CQZListCtrlBase::HitTestEx(CPoint point, int* pColumn)
{
    const int hit = m_pListCtrl->HitTest(point);
    if (pColumn)
        *pColumn = 0;
    if (!IsReportView())
        return hit;
    if (!GetHeaderWnd())
        return -1;
    const int top = m_pListCtrl->GetTopIndex();
    const int perPage = static_cast<int>(m_pListCtrl->SendMessage(LVM_GETCOUNTPERPAGE));
    // The whole rows shown and the one partly shown below them, but only rows that exist.
    const int end = std::min(top + perPage + 1, m_pListCtrl->GetItemCount());
    const int columns = GetColumnCount();
    for (int row = top; row < end; ++row) {
        CRect bounds;
        if (!m_pListCtrl->GetItemRect(row, &bounds, LVIR_BOUNDS) || !bounds.PtInRect(point))
            continue;
        // Both ends of a column's span belong to it; on a boundary the left column wins.
        int left = bounds.left;
        for (int column = 0; column < columns; ++column) {
            const int width = m_pListCtrl->GetColumnWidth(column);
            if (point.x >= left && point.x <= left + width) {
                if (pColumn)
                    *pColumn = column;
                return row;
            }
            left += width;
        }
    }
    return -1;
}

BOOL CQZListCtrlBase::CopyRow(int nFrom, int nTo)
{
    if (nFrom == nTo || nFrom < 0 || nTo < 0)
        return FALSE;
    const CString first = m_pListCtrl->GetItemText(nFrom, 0);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = nTo;
    item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(first));
    const int inserted = m_pListCtrl->InsertItem(&item);
    if (inserted < 0)
        return FALSE;
    if (inserted <= nFrom)
        ++nFrom;
    const int columns = GetColumnCount();
    for (int column = 1; column < columns; ++column)
        m_pListCtrl->SetItemText(inserted, column, m_pListCtrl->GetItemText(nFrom, column));
    return TRUE;
}

BOOL CQZListCtrlBase::MoveRow(int nFrom, int nTo)
{
    if (!CopyRow(nFrom, nTo))
        return FALSE;
    m_pListCtrl->DeleteItem(nTo < nFrom ? nFrom + 1 : nFrom);
    return TRUE;
}

BOOL CQZListCtrlBase::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHEADERA* header = reinterpret_cast<NMHEADERA*>(lParam);
    switch (header->hdr.code) {
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW: {
        CQZFlatHeaderCtrl* flat = GetFlatHeaderCtrl();
        if (!flat)
            break;
        bool changed = true;
        if (header->iButton == 0)
            m_bSortAscending = header->iItem == m_nSortColumn ? !m_bSortAscending : 1;
        else if (header->iButton == 1)
            m_bSortAscending = flat->GetSortDirection() != 0 ? 1 : 0;
        else
            changed = false;
        if (changed) {
            m_nSortColumn = header->iItem;
            flat->SetSortImage(m_nSortColumn, m_bSortAscending);
            SortList(m_nSortColumn, m_bSortAscending);
        }
        break;
    }
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
        if (int* width = RequestedWidth(lParam); width && *width < m_nMinColWidth)
            *width = m_nMinColWidth;
        break;
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW:
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
        if (m_bLockWidths) {
            *pResult = 1;
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

void CQZListCtrlBase::SetToolkitFont()
{
    const WPARAM font = reinterpret_cast<WPARAM>(qzAfxData.fontNormal.GetSafeHandle());
    if (qzAfxData.isWin95)
        m_pListCtrl->PostMessage(WM_SETFONT, font, TRUE);
    else
        m_pListCtrl->SendMessage(WM_SETFONT, font, TRUE);
}
