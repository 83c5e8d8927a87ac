// The two skins, the current one, and the drop-down arrow both XP proxies draw.
#include "toolkit/foundation/QZSkinProxies.h"

#include "framework/DC.h"
#include "toolkit/foundation/QZAuxData.h"

namespace {
// Built before the application starts; they own nothing outside themselves.
CQZSkinDefault g_skinDefault;
CQZSkinXP g_skinXP;
} // namespace

CQZSkinXP::CQZSkinXP()
{
    m_flatComboProxy.m_pSite = this;
    m_toolbarProxy.m_pSite = this;
}

IQZSkin* QZGetCurrentSkin()
{
    if (qzAfxData.xpLook)
        return &g_skinXP;
    return &g_skinDefault;
}

void QZDrawDropArrow(CDC* pDC, const CRect& rect)
{
    // Rows of 8 pixels, most significant bit leftmost, each padded to a word: 0 bits take
    // the text colour. Columns 1 to 5 make the arrow.
    const WORD rows[3] = {0x83, 0xC7, 0xEF};
    HBITMAP pattern = ::CreateBitmap(8, 3, 1, 1, rows);
    if (!pattern)
        return;
    HDC memory = ::CreateCompatibleDC(pDC->m_hDC);
    if (memory) {
        HGDIOBJ previous = ::SelectObject(memory, pattern);
        ::BitBlt(pDC->m_hDC, (rect.left + rect.right - 3) / 2, (rect.top + rect.bottom - 1) / 2, 5, 3, memory, 1, 0,
                 SRCCOPY);
        ::SelectObject(memory, previous);
        ::DeleteDC(memory);
    }
    ::DeleteObject(pattern);
}
