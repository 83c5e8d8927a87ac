// The off-screen drawing context.
#include "toolkit/foundation/QZMemDC.h"

IMPLEMENT_DYNAMIC(CQZMemDC, CDC)

CQZMemDC::CQZMemDC(CDC* pDC, const CRect& rect, COLORREF background)
    : m_pDC(pDC), m_rect(rect), m_hOldBitmap(nullptr), m_bValid(0)
{
    if (m_rect.IsRectEmpty())
        pDC->GetClipBox(&m_rect);
    if (!CreateCompatibleDC(pDC))
        return;
    SetMapMode(::GetMapMode(pDC->m_hAttribDC));
    // Without its bitmap the DC would draw into one monochrome pixel: nothing is drawn then.
    if (!m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height())) {
        DeleteDC();
        return;
    }
    m_hOldBitmap = ::SelectObject(m_hDC, m_bitmap.m_hObject);
    if (background != 0xFFFFFFFF)
        FillSolidRect(0, 0, m_rect.Width(), m_rect.Height(), background);
    m_bValid = 1;
}

CQZMemDC::~CQZMemDC()
{
    if (m_bValid)
        m_pDC->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, 0, 0, SRCCOPY);
    if (m_hDC) {
        if (m_hOldBitmap)
            ::SelectObject(m_hDC, m_hOldBitmap);
        DeleteDC();
    }
    m_bitmap.DeleteObject();
}
