// The toolkit list's column widths: sized to contents and headings, and kept in the
// toolkit's settings store as "%d," per column.
// The stored text is user-editable and may be older than the columns: a piece that is
// missing, not a number or not positive leaves its column as it is (a column must never
// vanish), and a width above the screen's is lowered to it.
#include "toolkit/controls/QZListCtrl.h"

#include "toolkit/foundation/QZRegistryManager.h"
#include "toolkit/foundation/QZResourceSwitch.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

// The n-th comma-separated piece of text as a number; 0 when it is missing or not a whole number.
int StoredPiece(const CString& text, int index)
{
    int start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.Find(',', start);
        if (start < 0)
            return 0;
        ++start;
    }
    const int end = text.Find(',', start);
    CString piece = end < 0 ? text.Mid(start) : text.Mid(start, end - start);
    piece.TrimLeft();
    piece.TrimRight();
    if (piece.IsEmpty())
        return 0;
    char* stop = nullptr;
    const long value = std::strtol(piece, &stop, 10);
    return *stop == '\0' && value > 0 && value <= INT_MAX ? static_cast<int>(value) : 0;
}

CString LoadToolkitString(UINT id)
{
    QZResourceSwitch resources;
    resources.Enter();
    CString text;
    text.LoadString(id);
    resources.Leave();
    return text;
}

} // namespace

void CQZListCtrlBase::UseDefaultPlaceUnlessNamed()
{
    if (m_strSection.IsEmpty())
        m_strSection = LoadToolkitString(IDS_QZ_COLUMN_SECTION);
    if (m_strEntry.IsEmpty())
        m_strEntry = LoadToolkitString(IDS_QZ_COLUMN_INFO);
}

void CQZListCtrlBase::AutoSaveColumns(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    m_bSaveAtDestroy = 1;
    m_strSection = lpszSection ? lpszSection : "";
    m_strEntry = lpszEntry ? lpszEntry : "";
    m_strDefault = lpszDefault ? lpszDefault : "";
    UseDefaultPlaceUnlessNamed();
    LoadColumnWidths();
}

int CQZListCtrlBase::GetStoredColumnWidth(int nColumn)
{
    UseDefaultPlaceUnlessNamed();
    CQZRegistryManager store(HKEY_CURRENT_USER);
    return StoredPiece(store.GetProfileString(m_strSection, m_strEntry, m_strDefault), nColumn);
}

void CQZListCtrlBase::RestoreColumnWidth(int nColumn)
{
    const int width = GetStoredColumnWidth(nColumn);
    if (width > 0)
        m_pListCtrl->SetColumnWidth(nColumn, std::min(width, m_nMaxColWidth));
}

void CQZListCtrlBase::LoadColumnWidths()
{
    const int count = GetColumnCount();
    for (int column = 0; column < count; ++column)
        RestoreColumnWidth(column);
}

void CQZListCtrlBase::SaveColumnWidths()
{
    const int count = GetColumnCount();
    if (count < 0)
        return;
    CString text;
    for (int column = 0; column < count; ++column) {
        CString piece;
        piece.Format("%d,", m_pListCtrl->GetColumnWidth(column));
        text += piece;
    }
    UseDefaultPlaceUnlessNamed();
    CQZRegistryManager store(HKEY_CURRENT_USER);
    (void)store.WriteProfileString(m_strSection, m_strEntry, text);
}

void CQZListCtrlBase::AutoSizeColumn(int nColumn)
{
    int first = nColumn;
    int last = nColumn;
    if (nColumn == -1) {
        first = 0;
        last = GetColumnCount() - 1;
    }
    CQZFlatHeaderCtrl* flat = GetFlatHeaderCtrl();
    m_pListCtrl->SetRedraw(FALSE);
    for (int column = first; column <= last; ++column) {
        m_pListCtrl->SetColumnWidth(column, LVSCW_AUTOSIZE);
        const int contents = m_pListCtrl->GetColumnWidth(column);
        char text[256] = {};
        LVCOLUMNA heading = {};
        heading.mask = LVCF_TEXT;
        heading.pszText = text;
        heading.cchTextMax = sizeof text;
        m_pListCtrl->SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&heading));
        const bool arrow = flat && flat->m_bShowSortArrow && flat->GetSortColumn() == column;
        const int headingWidth = MeasureHeading(text, arrow);
        const int width = std::min(std::max({contents, headingWidth, m_nMinColWidth}), m_nMaxColWidth);
        m_pListCtrl->SetColumnWidth(column, width);
    }
    m_pListCtrl->SetRedraw(TRUE);
    m_pListCtrl->Invalidate(TRUE);
}
