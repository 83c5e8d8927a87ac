// The custom page's luminance bar and its arrow.
// Every row of the bar is painted, white (row 0) to black (the last row), and one row
// formula serves painting, clicks, keys, SetLuminance and SetColor, so the arrow always
// points at the row whose colour was picked.
#include "toolkit/colour/QZColorPageCustom.h"

#include "framework/PaintDC.h"
#include "toolkit/colour/QZColorDialog.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CQZColorLum, CQZColorBase)
    ON_WM_PAINT()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

namespace {

constexpr int kBarTop = 4;
constexpr int kBarWidth = 14;
constexpr int kArrowLeft = 17;
// The arrow's rows from 4 above the tip to 4 below: the first and last column covered
// (column 0 is the tip).
struct ArrowRow {
    int first, last;
};
constexpr ArrowRow kArrowRows[9] = {{7, 8}, {5, 8}, {3, 8}, {1, 8}, {0, 8}, {2, 8}, {4, 8}, {6, 8}, {8, 8}};
// Its black outline when the bar has no focus (column, row relative to the tip).
constexpr POINT kArrowOutline[] = {{0, 0}, {1, 0}, {1, -1}, {2, -1}, {3, -2}, {4, -2}, {5, -3}, {6, -3},
                                   {7, -4}, {8, -4}, {8, -3}, {8, -2}, {8, -1}, {8, 0},  {8, 1},  {8, 2},
                                   {8, 3},  {8, 4},  {7, 3},  {6, 3},  {5, 2},  {4, 2},  {3, 1},  {2, 1}};

} // namespace

CRect CQZColorLum::GetBarRect() const
{
    CRect client;
    GetClientRect(&client);
    return CRect(client.left, client.top + kBarTop, client.left + kBarWidth, client.bottom - kBarTop);
}

int CQZColorLum::RowOfLuminance(double luminance) const
{
    const int rows = GetBarRect().Height();
    if (rows <= 1)
        return 0;
    const int row = static_cast<int>((1.0 - luminance) * (rows - 1) + 0.5);
    return std::clamp(row, 0, rows - 1);
}

COLORREF CQZColorLum::RowColor(int row) const
{
    const int rows = GetBarRect().Height();
    const double luminance = rows > 1 ? 1.0 - static_cast<double>(row) / (rows - 1) : 1.0;
    return HSLToColor(m_dHue, luminance, m_dSaturation);
}

void CQZColorLum::PaintBar(CDC* pDC)
{
    ReleasePicture();
    const int rows = GetBarRect().Height();
    if (rows <= 0 || !m_bmpPicture.CreateCompatibleBitmap(pDC, kBarWidth, rows))
        return;
    if (!m_dcPicture.CreateCompatibleDC(pDC)) {
        m_bmpPicture.DeleteObject();
        return;
    }
    m_hOldBitmap = ::SelectObject(m_dcPicture.m_hDC, m_bmpPicture.m_hObject);
    for (int row = 0; row < rows; ++row)
        m_dcPicture.FillSolidRect(0, row, kBarWidth, 1, RowColor(row));
    pDC->BitBlt(0, kBarTop, kBarWidth, rows, &m_dcPicture, 0, 0, SRCCOPY);
}

void CQZColorLum::DrawArrow(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(kArrowLeft, 0, client.right - kArrowLeft, client.Height(), qzAfxData.colorFace);
    const int tipY = std::min(m_nArrowPos + kBarTop, static_cast<int>(GetBarRect().bottom) - 1);
    const bool isFocused = s_nFocusState == kQZColorFocusBar;
    const COLORREF fill = isFocused ? RGB(0, 0, 0) : qzAfxData.colorShadow;
    for (int i = 0; i < 9; ++i) {
        for (int column = kArrowRows[i].first; column <= kArrowRows[i].last; ++column)
            pDC->SetPixelV(kArrowLeft + column, tipY + i - 4, fill);
    }
    if (!isFocused) {
        for (const POINT& p : kArrowOutline)
            pDC->SetPixelV(kArrowLeft + p.x, tipY + p.y, RGB(0, 0, 0));
    }
}

void CQZColorLum::RedrawArrow()
{
    if (!m_hWnd)
        return;
    CClientDC dc(this);
    DrawArrow(&dc);
}

void CQZColorLum::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
    PaintBar(&memDC);
    DrawArrow(&memDC);
}

void CQZColorLum::SetColor(COLORREF color, BOOL bMove)
{
    CQZColorBase::SetColor(color, bMove);
    if (!bMove)
        return;
    m_nArrowPos = RowOfLuminance(m_dLuminance);
    m_ptMarker = CPoint(0, m_nArrowPos + kBarTop);
}

void CQZColorLum::SetLuminance(double luminance)
{
    m_dLuminance = luminance;
    SetMarker(CPoint(0, RowOfLuminance(luminance) + kBarTop), FALSE);
}

void CQZColorLum::SetMarker(CPoint point, BOOL bNotify)
{
    const int rows = GetBarRect().Height();
    if (rows <= 0)
        return;
    // A click anywhere beside or past the bar picks the nearest row.
    const int row = std::clamp(static_cast<int>(point.y) - kBarTop, 0, rows - 1);
    m_clrColor = RowColor(row);
    if (bNotify)
        NotifyPage(m_clrColor);
    m_ptMarker = CPoint(0, row + kBarTop);
    m_nArrowPos = row;
    RedrawArrow();
}

BOOL CQZColorLum::PreTranslateMessage(MSG* pMsg)
{
    if (s_nFocusState == kQZColorFocusBar && pMsg->message == WM_KEYDOWN) {
        switch (LOBYTE(pMsg->wParam)) {
        case VK_UP:
            SetMarker(CPoint(0, m_ptMarker.y - 1), TRUE);
            return TRUE;
        case VK_DOWN:
            SetMarker(CPoint(0, m_ptMarker.y + 1), TRUE);
            return TRUE;
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

void CQZColorLum::OnSetFocus(CWnd*)
{
    Default();
    s_nFocusState = kQZColorFocusBar;
    RedrawArrow();
}

void CQZColorLum::OnKillFocus(CWnd*)
{
    Default();
    s_nFocusState = kQZColorFocusNone;
    RedrawArrow();
}
