// Owned device contexts and the off-screen DC.
#include "lib/src/Win2/Wnd/iDC.h"

iDC::iDC() = default;

iDC::iDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* initData)
{
    CreateDC(driver, device, output, initData);
}

iDC::iDC(CDC* dc)
{
    CreateCompatibleDC(dc);
}

iDC::iDC(HDC dc)
{
    Attach(dc);
}

iDC::~iDC() = default;

iClientDC::iClientDC(CWnd* window) : CClientDC(window) {}

iClientDC::~iClientDC() = default;

iCDC::iCDC(CDC* target, const SIZE& size) : iCDC(target, size.cx, size.cy) {}

iCDC::iCDC(CDC* target, const RECT& rect)
    : iDC(target), m_target(target), m_rect(rect), m_bitmap(nullptr), m_ownsBitmap(TRUE)
{
    m_bitmap = new iBitmap(target ? target : static_cast<CDC*>(this), rect.right - rect.left,
                           rect.bottom - rect.top);
    SelectImage();
}

iCDC::iCDC(CDC* target, int cx, int cy) : iCDC(target, CRect(0, 0, cx, cy)) {}

iCDC::iCDC(CDC* target, iBitmap* bitmap)
    : iDC(target), m_target(target), m_rect(), m_bitmap(bitmap), m_ownsBitmap(FALSE)
{
    const CSize size = bitmap ? bitmap->GetSize() : CSize(0, 0);
    m_rect = CRect(0, 0, size.cx, size.cy);
    SelectImage();
}

iCDC::~iCDC()
{
    if (m_previousBitmap)
        ::SelectObject(m_hDC, m_previousBitmap);
    DeleteDC();
    if (m_ownsBitmap)
        delete m_bitmap;
}

void iCDC::SelectImage()
{
    // A bitmap that could not be made selects nothing; drawing then has no image to go to.
    if (m_hDC && m_bitmap && m_bitmap->m_hObject)
        m_previousBitmap = ::SelectObject(m_hDC, m_bitmap->m_hObject);
}

BOOL iCDC::BitBlt(DWORD rop)
{
    if (!m_target)
        return FALSE;
    return m_target->BitBlt(m_rect.left, m_rect.top, m_rect.right - m_rect.left, m_rect.bottom - m_rect.top, this,
                            0, 0, rop);
}

iPreviewDC::iPreviewDC() = default;

iPreviewDC::iPreviewDC(HDC dc)
{
    // The result is not examined: a null or second DC leaves the object as it was.
    Attach(dc);
}

iPreviewDC::~iPreviewDC() = default;
