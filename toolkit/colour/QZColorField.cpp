// The custom page's colour controls: what the field and the bar share, and the hue and
// saturation field with its crosshair.
#include "toolkit/colour/QZColorPageCustom.h"

#include "framework/PaintDC.h"
#include "toolkit/colour/QZColorDialog.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZColor.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMessages.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CQZColorBase, CStatic)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_MESSAGE(WM_QZ_INITCONTROL, OnInitControl)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CQZColorWnd, CQZColorBase)
    ON_WM_PAINT()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

int CQZColorBase::s_nFocusState = kQZColorFocusNone;

namespace {
// The crosshair's arms reach from 5 to 9 pixels out.
constexpr int kArmStart = 5;
constexpr int kArmEnd = 10;
// Nearer the edge than this, the crosshair's arms reach past the field.
constexpr int kMarkerMargin = 10;
} // namespace

CQZColorBase::CQZColorBase()
{
    ColorToHSL(m_clrColor, m_dHue, m_dSaturation, m_dLuminance);
}

CQZColorBase::~CQZColorBase()
{
    ReleasePicture();
}

void CQZColorBase::ReleasePicture()
{
    if (m_dcPicture.m_hDC) {
        ::SelectObject(m_dcPicture.m_hDC, m_hOldBitmap);
        m_dcPicture.DeleteDC();
    }
    m_hOldBitmap = nullptr;
    m_bmpPicture.DeleteObject();
}

COLORREF CQZColorBase::HSLToColor(double hue, double luminance, double saturation)
{
    return QZColorValue::QZColorFromHLS(hue, saturation, luminance);
}

void CQZColorBase::ColorToHSL(COLORREF color, double& hue, double& saturation, double& luminance)
{
    QZColorValue(color).QZColorToHLS(&hue, &saturation, &luminance);
}

void CQZColorBase::SetColor(COLORREF color, BOOL)
{
    m_clrColor = color;
    ColorToHSL(color, m_dHue, m_dSaturation, m_dLuminance);
    if (m_hWnd)
        Invalidate(TRUE);
}

COLORREF CQZColorBase::GetColor() const
{
    return m_clrColor;
}

void CQZColorBase::NotifyPage(COLORREF color)
{
    if (CWnd* page = GetParent())
        page->SendMessage(WM_QZ_SETCOLOR, color, 0);
}

void CQZColorBase::SetMarker(CPoint point, BOOL bNotify)
{
    const COLORREF pixel = m_dcPicture.m_hDC ? m_dcPicture.GetPixel(point) : CLR_INVALID;
    if (pixel != CLR_INVALID) {
        m_clrColor = pixel;
        if (bNotify)
            NotifyPage(pixel);
    }
    m_ptMarker = point;
}

void CQZColorBase::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    PostMessage(WM_QZ_INITCONTROL);
}

int CQZColorBase::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatic::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_QZ_INITCONTROL);
    return 0;
}

LRESULT CQZColorBase::OnInitControl(WPARAM, LPARAM)
{
    if (m_bInitPending) {
        m_bInitPending = false;
        // A static hears the mouse only with SS_NOTIFY.
        ModifyStyle(0, SS_NOTIFY);
    }
    return 0;
}

BOOL CQZColorBase::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CQZColorBase::OnLButtonDown(UINT, CPoint point)
{
    Default();
    SetCapture();
    SetMarker(point, TRUE);
    if (CWnd::GetFocus() != this)
        SetFocus();
}

void CQZColorBase::OnMouseMove(UINT nFlags, CPoint point)
{
    Default();
    if (!(nFlags & MK_LBUTTON))
        return;
    SetMarker(point, TRUE);
    if (CWnd::GetFocus() != this)
        SetFocus();
}

void CQZColorBase::OnLButtonUp(UINT, CPoint)
{
    if (CWnd::GetCapture() == this)
        ::ReleaseCapture();
    Default();
}

void CQZColorBase::OnLButtonDblClk(UINT, CPoint point)
{
    Default();
    SetMarker(point, TRUE);
    QZEndColorSheet(this);
}

void CQZColorWnd::EnsurePicture()
{
    if (m_dcPicture.m_hDC || !m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const int height = client.Height();
    CClientDC dc(this);
    if (width <= 0 || height <= 0 || !m_bmpPicture.CreateCompatibleBitmap(&dc, width, height))
        return;
    if (!m_dcPicture.CreateCompatibleDC(&dc)) {
        m_bmpPicture.DeleteObject();
        return;
    }
    m_hOldBitmap = ::SelectObject(m_dcPicture.m_hDC, m_bmpPicture.m_hObject);
    // Hue grows to the right, saturation upwards, all at half luminance.
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y)
            m_dcPicture.SetPixelV(x, height - 1 - y,
                                  HSLToColor(static_cast<double>(x) / width, 0.5, static_cast<double>(y) / height));
    }
}

void CQZColorWnd::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
    EnsurePicture();
    if (m_dcPicture.m_hDC)
        memDC.BitBlt(0, 0, client.Width(), client.Height(), &m_dcPicture, 0, 0, SRCCOPY);
    DrawMarker(&memDC);
}

void CQZColorWnd::Repaint()
{
    if (!m_hWnd)
        return;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
    if (m_dcPicture.m_hDC)
        memDC.BitBlt(0, 0, client.Width(), client.Height(), &m_dcPicture, 0, 0, SRCCOPY);
    DrawMarker(&memDC);
}

void CQZColorWnd::DrawMarker(CDC* pDC)
{
    const COLORREF colour = s_nFocusState == kQZColorFocusField ? RGB(255, 255, 255) : RGB(0, 0, 0);
    HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ previous = ::SelectObject(pDC->m_hDC, pen);
    const int mx = m_ptMarker.x;
    const int my = m_ptMarker.y;
    for (int offset = -1; offset <= 1; ++offset) {
        pDC->MoveTo(mx - kArmStart, my + offset);
        pDC->LineTo(mx - kArmEnd, my + offset);
        pDC->MoveTo(mx + kArmStart, my + offset);
        pDC->LineTo(mx + kArmEnd, my + offset);
        pDC->MoveTo(mx + offset, my - kArmStart);
        pDC->LineTo(mx + offset, my - kArmEnd);
        pDC->MoveTo(mx + offset, my + kArmStart);
        pDC->LineTo(mx + offset, my + kArmEnd);
    }
    ::SelectObject(pDC->m_hDC, previous);
    ::DeleteObject(pen);
}

void CQZColorWnd::SetColor(COLORREF color, BOOL bMove)
{
    CQZColorBase::SetColor(color, bMove);
    if (!bMove || !m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    m_ptMarker.x = static_cast<int>(client.Width() * m_dHue);
    m_ptMarker.y = client.Height() - static_cast<int>(client.Height() * m_dSaturation);
}

void CQZColorWnd::SetMarker(CPoint point, BOOL bNotify)
{
    EnsurePicture();
    CQZColorBase::SetMarker(point, bNotify);
    Repaint();
}

void CQZColorWnd::SetHue(double hue)
{
    m_dHue = hue;
    CRect client;
    GetClientRect(&client);
    SetMarker(CPoint(static_cast<int>(client.Width() * hue), m_ptMarker.y), FALSE);
}

void CQZColorWnd::SetSaturation(double saturation)
{
    m_dSaturation = saturation;
    CRect client;
    GetClientRect(&client);
    SetMarker(CPoint(m_ptMarker.x, client.Height() - static_cast<int>(client.Height() * saturation)), FALSE);
}

BOOL CQZColorWnd::PreTranslateMessage(MSG* pMsg)
{
    if (s_nFocusState == kQZColorFocusField && pMsg->message == WM_KEYDOWN) {
        CRect client;
        GetClientRect(&client);
        CPoint marker = m_ptMarker;
        switch (LOBYTE(pMsg->wParam)) {
        case VK_LEFT:
            marker.x = std::max(0L, marker.x - 1);
            break;
        case VK_UP:
            marker.y = std::max(0L, marker.y - 1);
            break;
        case VK_RIGHT:
            marker.x = std::min(static_cast<LONG>(client.Width()), marker.x + 1);
            break;
        case VK_DOWN:
            marker.y = std::min(static_cast<LONG>(client.Height()), marker.y + 1);
            break;
        case VK_RETURN:
        case VK_SPACE:
            QZEndColorSheet(this);
            return CStatic::PreTranslateMessage(pMsg);
        default:
            return CStatic::PreTranslateMessage(pMsg);
        }
        SetMarker(marker, TRUE);
        return TRUE;
    }
    return CStatic::PreTranslateMessage(pMsg);
}

void CQZColorWnd::ShowFocusState(int nState)
{
    s_nFocusState = nState;
    Repaint();
    // Near the edges the crosshair reaches past the field, over the page.
    CRect inner;
    GetClientRect(&inner);
    inner.DeflateRect(kMarkerMargin, kMarkerMargin);
    if (!inner.PtInRect(m_ptMarker)) {
        if (CWnd* page = GetParent())
            page->Invalidate(TRUE);
    }
}

void CQZColorWnd::OnSetFocus(CWnd*)
{
    Default();
    ShowFocusState(kQZColorFocusField);
}

void CQZColorWnd::OnKillFocus(CWnd*)
{
    Default();
    ShowFocusState(kQZColorFocusNone);
}
