// A docking window's caption button: the flat button drawing the window's glyph, white on
// the lit XP caption, and leaving the glyphs to the window that made them.
#include "toolkit/docking/QZDockWindow.h"

#include "framework/DC.h"
#include "toolkit/foundation/QZAuxData.h"

IMPLEMENT_DYNAMIC(CQZBarButton, CQZButton)

namespace {

bool IsOnLitCaption(const CQZDockWindow* window)
{
    return qzAfxData.xpLook && window && window->IsActive();
}

} // namespace

CQZBarButton::CQZBarButton(CQZDockWindow* pDockWindow) : m_pDockWindow(pDockWindow) {}

CQZBarButton::~CQZBarButton()
{
    // The flat button's own clean-up would destroy the glyphs, which are the window's.
    m_hIcon = nullptr;
    m_hIconPressed = nullptr;
}

BOOL CQZBarButton::SetIcon(int cx, int cy, HICON hIcon, HICON hPressedIcon, BOOL bRedraw)
{
    m_hIcon = hIcon;
    m_hIconPressed = hPressedIcon;
    return FinishSetImage(cx, cy, bRedraw);
}

void CQZBarButton::FreeImages()
{
    for (HBITMAP* held : {&m_hBitmap, &m_hBitmapDisabled}) {
        if (*held)
            ::DeleteObject(*held);
        *held = nullptr;
    }
}

void CQZBarButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    SetFaceColor(IsOnLitCaption(m_pDockWindow) ? qzAfxData.colorCaption : qzAfxData.colorFace);
    CQZButton::DrawItem(lpDrawItemStruct);
}

void CQZBarButton::DrawIcon(CDC* pDC, UINT nState, const CRect&)
{
    HICON icon = m_hIcon;
    CPoint at(1, 1);
    if (nState & ODS_SELECTED) {
        if (m_hIconPressed)
            icon = m_hIconPressed;
        else
            at = CPoint(2, 2);
    }
    if (!icon)
        return;
    const CSize size(m_nImageWidth, m_nImageHeight);
    if (IsOnLitCaption(m_pDockWindow) && !(nState & ODS_DISABLED)) {
        // A white silhouette of the glyph.
        pDC->DrawState(at, size, icon, DST_ICON | DSS_MONO, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        return;
    }
    // A disabled button shows the grey glyph it was given.
    pDC->DrawState(at, size, icon, DST_ICON | DSS_NORMAL, static_cast<HBRUSH>(nullptr));
}
