// The standard page's honeycomb control: the cells and their picture, the selection
// markers, mouse and keys.
#include "toolkit/colour/QZColorPageStandard.h"

#include "framework/PaintDC.h"
#include "toolkit/colour/QZColorDialog.h"
#include "toolkit/colour/QZColorHexPalette.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMessages.h"

BEGIN_MESSAGE_MAP(CQZColorHex, CStatic)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_QZ_INITCONTROL, OnInitControl)
END_MESSAGE_MAP()

namespace {
constexpr COLORREF kNoCellColor = static_cast<COLORREF>(-1);
constexpr COLORREF kHexWhite = RGB(255, 255, 255);
constexpr COLORREF kHexBlack = RGB(0, 0, 0);
// Large cells start at this row, so a marker there marks the large white cell.
constexpr int kLargeCellTop = 176;
} // namespace

CQZColorHex::CQZColorHex() = default;

CQZColorHex::~CQZColorHex()
{
    while (!m_listCells.IsEmpty()) {
        QZ_COLORCELL* cell = m_listCells.RemoveHead();
        delete[] cell->pPixels;
        delete cell;
    }
    if (m_dcPalette.m_hDC) {
        ::SelectObject(m_dcPalette.m_hDC, m_hOldBitmap);
        m_dcPalette.DeleteDC();
    }
}

void CQZColorHex::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    PostMessage(WM_QZ_INITCONTROL);
}

int CQZColorHex::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_QZ_INITCONTROL);
    return 0;
}

LRESULT CQZColorHex::OnInitControl(WPARAM, LPARAM)
{
    if (m_bInitPending) {
        m_bInitPending = false;
        // A static hears the mouse only with SS_NOTIFY.
        ModifyStyle(0, SS_NOTIFY);
    }
    return 0;
}

QZ_COLORCELL* CQZColorHex::GetCell(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_listCells.GetCount())
        return nullptr;
    return m_listCells.GetAt(m_listCells.FindIndex(nIndex));
}

void CQZColorHex::BuildPalette()
{
    const QZ_HEXCELLDEF* defs = QZGetHexCells();
    POINT pixels[kQZLargeHexPixels];
    for (int i = 0; i < kQZHexCellCount; ++i) {
        const QZ_HEXCELLDEF& def = defs[i];
        const int count = QZGetHexCellPixels(def.bHexagon, def.origin, pixels);
        auto* cell = new QZ_COLORCELL{def.left, def.up, def.right, def.down, def.bHexagon, new CPoint[count], def.color};
        for (int p = 0; p < count; ++p) {
            cell->pPixels[p] = pixels[p];
            m_dcPalette.SetPixel(pixels[p].x, pixels[p].y, def.color);
        }
        m_listCells.AddTail(cell);
        // For white the large cell, made last, wins.
        if (def.color == m_clrSelected) {
            m_ptMarker = def.origin;
            m_bHexagonMarker = def.bHexagon;
        }
    }
}

void CQZColorHex::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
    if (!m_dcPalette.m_hDC) {
        if (!m_bmpPalette.CreateCompatibleBitmap(&dc, client.Width(), client.Height()) ||
            !m_dcPalette.CreateCompatibleDC(&dc))
            return;
        m_hOldBitmap = ::SelectObject(m_dcPalette.m_hDC, m_bmpPalette.m_hObject);
        m_dcPalette.SetBkMode(TRANSPARENT);
        m_dcPalette.FillSolidRect(&client, qzAfxData.colorFace);
        BuildPalette();
    }
    memDC.BitBlt(0, 0, client.Width(), client.Height(), &m_dcPalette, 0, 0, SRCCOPY);
    DrawSelection(&memDC);
}

BOOL CQZColorHex::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQZColorHex::Repaint()
{
    if (!m_hWnd || !m_dcPalette.m_hDC)
        return;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
    memDC.BitBlt(0, 0, client.Width(), client.Height(), &m_dcPalette, 0, 0, SRCCOPY);
    DrawSelection(&memDC);
}

void CQZColorHex::DrawMarker(CDC* pDC, CPoint origin, BOOL bHexagon)
{
    const QZ_HEXMARKER& marker = QZGetHexMarker(bHexagon);
    for (int row = 0; row < marker.count; ++row) {
        const char* pixels = marker.rows[row];
        for (int column = 0; pixels[column]; ++column) {
            if (pixels[column] == '.')
                continue;
            pDC->SetPixel(origin.x + marker.offset.x + column, origin.y + marker.offset.y + row,
                          pixels[column] == '#' ? kHexBlack : kHexWhite);
        }
    }
}

void CQZColorHex::DrawSelection(CDC* pDC)
{
    // The page's parent is the sheet: its new colour may have come from the other page.
    CWnd* page = GetParent();
    if (auto* dialog = dynamic_cast<CQZColorDialog*>(page ? page->GetParent() : nullptr)) {
        if (dialog->m_clrNew != m_clrSelected)
            return;
    }
    if (m_clrSelected == kHexWhite) {
        DrawMarker(pDC, kQZSmallWhiteOrigin, TRUE);
        DrawMarker(pDC, QZGetHexCells()[kQZLargeWhiteCell].origin, FALSE);
    } else if (m_clrSelected == kHexBlack) {
        DrawMarker(pDC, m_ptMarker, FALSE);
    } else if (FindCell(m_clrSelected) >= 0) {
        DrawMarker(pDC, m_ptMarker, m_bHexagonMarker);
    }
}

COLORREF CQZColorHex::HitTest(CPoint point)
{
    for (POSITION pos = m_listCells.GetHeadPosition(); pos;) {
        QZ_COLORCELL* cell = m_listCells.GetNext(pos);
        const int count = QZHexCellPixelCount(cell->bHexagon);
        for (int p = 0; p < count; ++p) {
            if (cell->pPixels[p] == point) {
                m_ptMarker = cell->pPixels[0];
                m_bHexagonMarker = cell->bHexagon;
                return cell->color;
            }
        }
    }
    return kNoCellColor;
}

void CQZColorHex::SelectAt(CPoint point)
{
    const COLORREF color = HitTest(point);
    if (color == kNoCellColor || color == m_clrSelected)
        return;
    m_clrSelected = color;
    if (CWnd* page = GetParent())
        page->SendMessage(WM_QZ_SETCOLOR, color, 0);
    Repaint();
}

int CQZColorHex::FindCell(COLORREF color) const
{
    int index = 0;
    for (POSITION pos = m_listCells.GetHeadPosition(); pos; ++index) {
        const QZ_COLORCELL* cell = m_listCells.GetNext(pos);
        if (cell->color != color)
            continue;
        if (color == kHexWhite && m_ptMarker.y >= kLargeCellTop)
            return kQZLargeWhiteCell;
        return index;
    }
    return -1;
}

void CQZColorHex::SelectCell(int nIndex)
{
    if (QZ_COLORCELL* cell = GetCell(nIndex))
        SelectAt(cell->pPixels[0]);
}

void CQZColorHex::SetColor(COLORREF color)
{
    m_clrSelected = color;
    for (POSITION pos = m_listCells.GetHeadPosition(); pos;) {
        const QZ_COLORCELL* cell = m_listCells.GetNext(pos);
        if (cell->color == color) {
            m_ptMarker = cell->pPixels[0];
            m_bHexagonMarker = cell->bHexagon;
        }
    }
}

BOOL CQZColorHex::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN) {
        int current = FindCell(m_clrSelected);
        if (current < 0)
            current = FindCell(kHexBlack);
        const QZ_COLORCELL* cell = GetCell(current);
        switch (LOBYTE(pMsg->wParam)) {
        case VK_LEFT:
            if (cell)
                SelectCell(cell->left);
            break;
        case VK_UP:
            if (cell)
                SelectCell(cell->up);
            break;
        case VK_RIGHT:
            if (cell)
                SelectCell(cell->right);
            break;
        case VK_DOWN:
            if (cell)
                SelectCell(cell->down);
            break;
        case VK_RETURN:
        case VK_SPACE:
            QZEndColorSheet(this);
            break;
        default:
            break;
        }
    }
    return CStatic::PreTranslateMessage(pMsg);
}

void CQZColorHex::OnLButtonDown(UINT, CPoint point)
{
    if (CWnd::GetFocus() != this)
        SetFocus();
    SelectAt(point);
    // Held until the button comes up or the capture is lost, so that a button released
    // outside the control ends the drag.
    m_bTracking = TRUE;
    SetCapture();
    Default();
}

void CQZColorHex::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bTracking && (nFlags & MK_LBUTTON))
        SelectAt(point);
    Default();
}

void CQZColorHex::OnLButtonUp(UINT, CPoint)
{
    m_bTracking = FALSE;
    if (CWnd::GetCapture() == this)
        ::ReleaseCapture();
    Default();
}

LRESULT CQZColorHex::OnCaptureChanged(WPARAM, LPARAM)
{
    m_bTracking = FALSE;
    return Default();
}

void CQZColorHex::OnLButtonDblClk(UINT, CPoint point)
{
    Default();
    if (CWnd::GetFocus() != this)
        SetFocus();
    if (HitTest(point) == kNoCellColor)
        return;
    SelectAt(point);
    QZEndColorSheet(this);
}
