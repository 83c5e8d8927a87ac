// The colour popup's window, cells, mouse and keyboard, and how a selection ends.
#include "toolkit/colour/QZColorPopup.h"

#include "framework/WinThread.h"
#include "toolkit/colour/QZColorDialog.h"
#include "toolkit/colour/QZColorPopupTables.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/foundation/QZShadow.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/res/ToolkitResources.h"

#include <algorithm>
#include <cstring>

BEGIN_MESSAGE_MAP(CQZColorPopup, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_KILLFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

namespace {

constexpr int kPopupWidth = 158;
constexpr int kPopupBaseHeight = 120;
// What the large table adds, what a popup without "More Colors..." saves, and what
// the row of recent colours adds.
constexpr int kLargeTableExtra = 34;
constexpr int kMoreColorsHeight = 28;
constexpr int kRecentRowExtra = 18 + 8;

} // namespace

CQZColorPopup::CQZColorPopup(BOOL bAutoDelete, int nUserValue)
    : m_sizeCell(18, 18), m_nUserValue(nUserValue), m_bAutoDelete(bAutoDelete)
{
}

CQZColorPopup::~CQZColorPopup()
{
    // A popup deleted while its window is open is closed here, while its own handlers
    // still run, and must not delete itself a second time on the way.
    m_bAutoDelete = FALSE;
    if (m_hWnd)
        DestroyWindow();
    while (!m_listCells.IsEmpty())
        delete m_listCells.RemoveHead();
}

int CQZColorPopup::GetCurSel() const
{
    return m_nCurPos;
}

void CQZColorPopup::SetCurSel(int nPos)
{
    if (QZ_COLOR_CELL* cell = GetCellAt(nPos))
        HotTrackCell(cell, FALSE, FALSE);
}

QZ_COLOR_CELL* CQZColorPopup::GetCellAt(int nPos) const
{
    if (nPos < 0 || nPos >= m_listCells.GetCount())
        return nullptr;
    POSITION pos = m_listCells.FindIndex(nPos);
    return pos ? m_listCells.GetAt(pos) : nullptr;
}

void CQZColorPopup::AddNotifyWindow(HWND hWnd)
{
    m_arrNotifyWnds.Add(hWnd);
}

int CQZColorPopup::GetLastPosition() const
{
    return (m_dwStyle & QZ_CPS_MORECOLORS) ? m_nMoreColorsPos : m_nRows * kQZColorsPerRow;
}

BOOL CQZColorPopup::Create(const RECT* lpRectOpener, CWnd* pParent, DWORD dwStyle, COLORREF clrCurrent,
                           COLORREF clrDefault)
{
    m_pParent = pParent;
    m_hWndParent = pParent->GetSafeHwnd();
    AddNotifyWindow(m_hWndParent);
    m_dwStyle = dwStyle;
    m_clrCurrent = clrCurrent;
    m_clrDefault = clrDefault;

    m_rectWindow.left = lpRectOpener->left;
    m_rectWindow.top = lpRectOpener->bottom;
    m_rectWindow.right = m_rectWindow.left + kPopupWidth;
    m_rectWindow.bottom = m_rectWindow.top + kPopupBaseHeight;
    int colours = kQZSmallColorCount;
    if (dwStyle & QZ_CPS_LARGETABLE) {
        colours = kQZLargeColorCount;
        m_rectWindow.bottom += kLargeTableExtra;
    }
    m_nRows = colours / kQZColorsPerRow;
    m_nMoreColorsPos = colours + 1;
    if (!(dwStyle & QZ_CPS_MORECOLORS)) {
        m_rectWindow.bottom -= kMoreColorsHeight;
    } else if (m_arrUserColors.GetSize() > 0) {
        m_rectWindow.bottom += kRecentRowExtra;
        m_nMoreColorsPos += std::min(m_arrUserColors.GetSize(), m_nColumns);
    }

    LPCSTR className = AfxRegisterWndClass(CS_SAVEBITS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW, nullptr,
                                           ::GetSysColorBrush(COLOR_BTNFACE));
    m_bCreating = TRUE;
    const BOOL created = CreateEx(0, className, "", WS_POPUP | WS_DLGFRAME, m_rectWindow, pParent, 0);
    m_bCreating = FALSE;
    if (!created) {
        // PostNcDestroy kept the popup while it was being made; a self-deleting popup whose
        // window could not be made goes here, once, whatever the system sent.
        if (m_bAutoDelete)
            delete this;
        return FALSE;
    }
    ShowWindow(SW_SHOWNA);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(qzAfxData.fontNormal.GetSafeHandle()), TRUE);
    return TRUE;
}

int CQZColorPopup::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (qzAfxData.xpLook) {
        ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0, SWP_FRAMECHANGED);
        ModifyStyleEx(WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME, 0, SWP_FRAMECHANGED);
    }
    // The shadow follows the popup and deletes itself when the popup's window goes.
    if (qzAfxData.popupShadows && m_bShadow)
        new CQZWndShadow(m_hWnd, TRUE, TRUE);
    SetCapture();
    if (m_wndToolTip.Create(this))
        m_wndToolTip.Activate(TRUE);
    BuildCells(lpCreateStruct->cx);
    ::SendMessageA(m_hWndParent, WM_QZ_COLORDROPDOWN, m_clrCurrent, m_nUserValue);
    return 0;
}

QZ_COLOR_CELL* CQZColorPopup::AddCell(const CRect& rect, UINT nTipID, DWORD dwKind, COLORREF color, UINT nTextID)
{
    auto* cell = new QZ_COLOR_CELL{};
    cell->rect = rect;
    cell->nTipID = nTipID;
    cell->nIndex = m_listCells.GetCount();
    cell->dwKind = dwKind;
    cell->color = color;
    if (nTextID) {
        CString text;
        text.LoadString(nTextID);
        lstrcpynA(cell->szText, text, sizeof cell->szText);
    }
    m_listCells.AddTail(cell);
    return cell;
}

void CQZColorPopup::BuildCells(int nWindowWidth)
{
    const bool isLarge = (m_dwStyle & QZ_CPS_LARGETABLE) != 0;
    const bool isNoFill = (m_dwStyle & QZ_CPS_NOFILL) != 0;

    CRect first(4, 1, nWindowWidth - 10, 24);
    if (qzAfxData.xpLook) {
        const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
        const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
        first.OffsetRect(cxEdge, cyEdge);
    }
    QZ_COLOR_CELL* top = AddCell(first, isNoFill ? IDS_QZ_NO_COLOR : IDS_QZ_AUTOMATIC_COLOR, m_dwStyle,
                                 m_clrDefault, isNoFill ? IDS_QZ_NO_FILL : IDS_QZ_AUTOMATIC);
    bool anySelected = false;
    if (!isNoFill && m_clrCurrent == m_clrDefault) {
        top->bSelected = TRUE;
        m_nCurPos = 0;
        anySelected = true;
    }

    const QZ_POPUPCOLOR* table = isLarge ? kQZLargeColors : kQZSmallColors;
    const int colours = m_nRows * kQZColorsPerRow;
    const int gridTop = first.top + (isLarge ? 27 : 46);
    for (int i = 0; i < colours; ++i) {
        CRect rect(CPoint(first.left + (i % kQZColorsPerRow) * m_sizeCell.cx, gridTop + (i / kQZColorsPerRow) * m_sizeCell.cy),
                   m_sizeCell);
        QZ_COLOR_CELL* cell = AddCell(rect, table[i].nNameID, QZ_CELL_COLOR, table[i].color, 0);
        if (!anySelected && table[i].color == m_clrCurrent) {
            cell->bSelected = TRUE;
            m_nCurPos = cell->nIndex;
            anySelected = true;
        }
    }

    if (m_dwStyle & QZ_CPS_MORECOLORS) {
        int base = gridTop;
        const int recent = std::min(m_arrUserColors.GetSize(), m_nColumns);
        if (recent > 0) {
            const int rowTop = gridTop + m_nRows * m_sizeCell.cy + 4;
            // The newest colours when someone stored more than a row holds.
            const int firstRecent = m_arrUserColors.GetSize() - recent;
            for (int i = 0; i < recent; ++i) {
                const COLORREF colour = m_arrUserColors[firstRecent + i];
                CRect rect(CPoint(first.left + i * m_sizeCell.cx, rowTop), m_sizeCell);
                QZ_COLOR_CELL* cell = AddCell(rect, IDS_QZ_MORE_COLORS, QZ_CELL_COLOR, colour, 0);
                if (colour == m_clrCurrent) {
                    cell->bSelected = TRUE;
                    anySelected = true;
                }
            }
            base = gridTop + m_sizeCell.cy + 4;
        }
        const int moreTop = base + (isLarge ? 94 : 44);
        CRect rect(first.left - 2, moreTop, first.right + 2, moreTop + (isLarge ? 23 : 22));
        QZ_COLOR_CELL* more =
            AddCell(rect, IDS_QZ_MORE_COLORS, QZ_CELL_MORECOLORS, m_clrCurrent, IDS_QZ_MORE_COLORS_CELL);
        if (m_clrCurrent != kQZNoFillColor && !anySelected) {
            more->bSelected = TRUE;
            m_nCurPos = more->nIndex;
        }
    }

    for (POSITION pos = m_listCells.GetHeadPosition(); pos;) {
        QZ_COLOR_CELL* cell = m_listCells.GetNext(pos);
        if (cell->nTipID && m_wndToolTip.m_hWnd)
            m_wndToolTip.AddTool(this, cell->nTipID, &cell->rect, static_cast<UINT_PTR>(cell->nIndex) + 1);
    }
}

void CQZColorPopup::OnDestroy()
{
    if (m_dcCache.m_hDC) {
        if (m_hOldBitmap)
            ::SelectObject(m_dcCache.m_hDC, m_hOldBitmap);
        m_dcCache.DeleteDC();
    }
    m_hOldBitmap = nullptr;
    m_bmpCache.DeleteObject();
    CWnd::OnDestroy();
    ::SendMessageA(m_hWndParent, WM_QZ_COLORCLOSEUP, m_clrCurrent, m_nUserValue);
    while (!m_listCells.IsEmpty())
        delete m_listCells.RemoveHead();
    CQZCoolMenu::m_nPopupSide = 0;
}

void CQZColorPopup::PostNcDestroy()
{
    CWnd::PostNcDestroy();
    if (m_bAutoDelete && !m_bCreating)
        delete this;
}

void CQZColorPopup::OnMouseMove(UINT nFlags, CPoint point)
{
    if (point == m_ptLastMouse || m_bSheetOpen || m_bEnded) {
        Default();
        return;
    }
    m_ptLastMouse = point;
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
        if (QZ_COLOR_CELL* current = GetCellAt(m_nCurPos))
            HotTrackCell(current, FALSE, TRUE);
        return;
    }
    for (POSITION pos = m_listCells.GetHeadPosition(); pos;) {
        QZ_COLOR_CELL* cell = m_listCells.GetNext(pos);
        if (::PtInRect(&cell->rect, point)) {
            HotTrackCell(cell, (nFlags & MK_LBUTTON) != 0, FALSE);
            break;
        }
    }
    Default();
}

void CQZColorPopup::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    Default();
    if (m_bSheetOpen || m_bEnded)
        return;
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
        EndSelection(-1);
        return;
    }
    if (QZ_COLOR_CELL* current = GetCellAt(m_nCurPos))
        HotTrackCell(current, TRUE, FALSE);
}

void CQZColorPopup::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    Default();
    if (m_bSheetOpen || m_bEnded)
        return;
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point))
        EndSelection(m_nCurPos);
}

void CQZColorPopup::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    (void)nRepCnt;
    (void)nFlags;
    if (m_bSheetOpen || m_bEnded) {
        Default();
        return;
    }
    switch (nChar) {
    case VK_DOWN:
    case VK_UP:
    case VK_RIGHT:
    case VK_LEFT:
        SetCurSel(QZColorKeyPosition(nChar, m_nCurPos, m_nRows * kQZColorsPerRow, GetLastPosition()));
        Default();
        break;
    case VK_ESCAPE:
        EndSelection(-1);
        break;
    case VK_RETURN:
    case VK_SPACE:
        // A position without a cell is no selection: Return there chooses nothing.
        if (GetCellAt(m_nCurPos))
            EndSelection(m_nCurPos);
        break;
    default:
        Default();
        break;
    }
}

BOOL CQZColorPopup::PreTranslateMessage(MSG* pMsg)
{
    if (m_wndToolTip.m_hWnd)
        m_wndToolTip.RelayEvent(pMsg);
    if (!m_bSheetOpen && !m_bEnded && CWnd::GetCapture() != this)
        SetCapture();
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        // Taken here: the key must not end the selection a second time in OnKeyDown.
        EndSelection(-1);
        return TRUE;
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CQZColorPopup::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    if (pNewWnd && pNewWnd->m_hWnd != m_hWnd && CWnd::GetCapture() == this)
        ::ReleaseCapture();
}

void CQZColorPopup::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    (void)pWndOther;
    (void)bMinimized;
    Default();
    if (nState == WA_INACTIVE && !m_bSheetOpen)
        PostMessage(WM_CLOSE);
}

void CQZColorPopup::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    (void)dwThreadID;
    Default();
    if (!bActive && !m_bSheetOpen)
        EndSelection(-1);
}

void CQZColorPopup::EndSelection(int nPos)
{
    // Escape, a click and a loss of activation may all arrive before the posted close:
    // the first of them decides.
    if (m_bEnded)
        return;
    m_bEnded = TRUE;
    ::ReleaseCapture();
    // Local copies: a receiver may run a message loop in which the popup closes and,
    // when it deletes itself, takes its members with it.
    CArray<HWND, HWND> notify;
    notify.Copy(m_arrNotifyWnds);
    const LPARAM userValue = m_nUserValue;
    COLORREF colour = m_clrCurrent;
    UINT message = WM_QZ_COLORCANCEL;

    if (nPos == m_nMoreColorsPos && (m_dwStyle & QZ_CPS_MORECOLORS)) {
        RunColorSheet(message, colour);
    } else if (nPos == 0) {
        if (m_dwStyle & QZ_CPS_NOFILL) {
            message = WM_QZ_COLORNOFILL;
            colour = kQZNoFillColor;
        } else if (m_clrCurrent == m_clrDefault) {
            message = WM_QZ_COLORUNCHANGED;
        } else {
            message = WM_QZ_COLORCHANGED;
            colour = m_clrDefault;
        }
    } else if (QZ_COLOR_CELL* cell = GetCellAt(nPos)) {
        message = cell->color == m_clrCurrent ? WM_QZ_COLORUNCHANGED : WM_QZ_COLORCHANGED;
        colour = cell->color;
    }

    PostMessage(WM_CLOSE);
    for (int i = 0; i < notify.GetSize(); ++i) {
        if (::IsWindow(notify[i]))
            ::SendMessageA(notify[i], message, colour, userValue);
    }
}

void CQZColorPopup::RunColorSheet(UINT& nMessage, COLORREF& color)
{
    CQZColorDialog sheet(m_clrCurrent, m_clrCurrent, m_dwStyle & QZ_CPS_SHEETSTYLES, AfxGetMainWnd());
    m_bSheetOpen = TRUE;
    const INT_PTR result = sheet.DoModal();
    m_bSheetOpen = FALSE;
    if (result != IDOK) {
        nMessage = WM_QZ_COLORCANCEL;
        color = m_clrCurrent;
        return;
    }
    color = sheet.GetColor();
    nMessage = color == m_clrCurrent ? WM_QZ_COLORUNCHANGED : WM_QZ_COLORCHANGED;
    // Chosen again or not, the colour becomes the newest of the recent ones.
    while (m_arrUserColors.GetSize() >= m_nColumns)
        m_arrUserColors.RemoveAt(0);
    m_arrUserColors.Add(color);
}
