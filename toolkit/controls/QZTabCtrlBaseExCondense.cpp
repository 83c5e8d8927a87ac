// Condensing: the tab texts are shortened, always the widest first and a character at a
// time before a "...", until the tabs fit the control's length or every text is at its
// minimum; with condensing off every tab gets its full text back.
#include "toolkit/controls/QZTabCtrlBaseEx.h"

#include "framework/DC.h"
#include "framework/PaintDC.h"

#include <commctrl.h>

namespace {

constexpr char kEllipsis[] = "...";

// Working record of one tab while condensing.
struct QZ_ITEMANDWIDTH {
    QZ_TCB_ITEM* pRecord = nullptr;
    int nWidth = 0;     // the tab's estimated width
    BYTE bImage = 0;    // the tab has an image
    BYTE bDone = 0;     // the text cannot be shortened further
    int nTab = 0;
    CString strText;    // the text being shortened
};

// The width the control gives a tab with this text: the text, a margin of 12, one pixel
// more for a single character and 22 for an image.
int EstimateTabWidth(CDC& dc, const CString& text, bool hasImage)
{
    int width = dc.GetTextExtent(text).cx + 12;
    if (text.GetLength() == 1)
        width += 1;
    if (hasImage)
        width += 22;
    return width;
}

bool EndsWithEllipsis(const CString& text)
{
    return text.GetLength() >= 3 && text.Right(3) == kEllipsis;
}

} // namespace

void CQZTabCtrlBaseEx::SetCondense(BOOL bCondense)
{
    m_bCondense = bCondense;
    CondenseTabTexts();
}

void CQZTabCtrlBaseEx::CondenseTabTexts()
{
    if (!m_pTabCtrl || !::IsWindow(m_pTabCtrl->m_hWnd) || m_listTabs.IsEmpty())
        return;
    CClientDC dc(m_pTabCtrl);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(m_pTabCtrl->SendMessage(WM_GETFONT));
    HGDIOBJ oldFont = font ? ::SelectObject(dc.m_hDC, font) : nullptr;
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(dc.m_hDC, &metrics);
    const int minWidth = 6 * metrics.tmAveCharWidth + 12;

    // A tab shows an image only from an image list: the image index alone (every tab added
    // without one gets its own index) reserves no room.
    const bool hasImageList = m_pTabCtrl->SendMessage(TCM_GETIMAGELIST) != 0;
    CList<QZ_ITEMANDWIDTH, QZ_ITEMANDWIDTH&> items(10);
    int total = 0;
    int index = 0;
    for (POSITION pos = m_listTabs.GetHeadPosition(); pos; ++index) {
        QZ_ITEMANDWIDTH item;
        item.pRecord = m_listTabs.GetNext(pos);
        item.nTab = index;
        TCITEMA info = {};
        info.mask = TCIF_IMAGE;
        m_pTabCtrl->SendMessage(TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&info));
        item.bImage = hasImageList && info.iImage >= 0;
        item.strText = item.pRecord->strLabel;
        item.nWidth = EstimateTabWidth(dc, item.strText, item.bImage);
        total += item.nWidth;
        items.AddTail(item);
    }

    CRect client;
    m_pTabCtrl->GetClientRect(&client);
    const DWORD style = m_pTabCtrl->GetStyle();
    const int available = (style & TCS_VERTICAL) ? client.Height() : client.Width();
    if (available != 0) {
        if (m_bCondense) {
            total += 4;
            if (style & (TCS_VERTICAL | TCS_MULTILINE))
                total += 1;
            while (total > available) {
                QZ_ITEMANDWIDTH* widest = nullptr;
                for (POSITION pos = items.GetHeadPosition(); pos;) {
                    QZ_ITEMANDWIDTH& item = items.GetNext(pos);
                    if (!item.bDone && (!widest || item.nWidth > widest->nWidth))
                        widest = &item;
                }
                if (!widest)
                    break;
                const int oldWidth = widest->nWidth;
                if (!EndsWithEllipsis(widest->strText))
                    widest->strText += kEllipsis;
                do {
                    if (widest->strText.GetLength() == 3 || widest->nWidth <= minWidth)
                        widest->bDone = TRUE;
                    else  // the character just before the "..."
                        widest->strText = widest->strText.Left(widest->strText.GetLength() - 4) + kEllipsis;
                    widest->nWidth = EstimateTabWidth(dc, widest->strText, widest->bImage);
                } while (!widest->bDone && widest->nWidth >= oldWidth);
                total -= oldWidth - widest->nWidth;
            }
        }
        for (POSITION pos = items.GetHeadPosition(); pos;) {
            QZ_ITEMANDWIDTH& item = items.GetNext(pos);
            if (item.strText == item.pRecord->strShown)
                continue;
            item.pRecord->strShown = item.strText;
            TCITEMA info = {};
            info.mask = TCIF_TEXT;
            info.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(item.strText));
            m_pTabCtrl->SendMessage(TCM_SETITEMA, item.nTab, reinterpret_cast<LPARAM>(&info));
        }
    }
    if (oldFont)
        ::SelectObject(dc.m_hDC, oldFont);
}
