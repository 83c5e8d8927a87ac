// The chevron's creation, its glyphs and its command state.
#include "toolkit/bars/QZExpButton.h"

#include "framework/CmdUI.h"
#include "framework/DC.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/foundation/QZAuxData.h"

IMPLEMENT_DYNAMIC(CQZExpButton, CQZButton)

BEGIN_MESSAGE_MAP(CQZExpButton, CQZButton)
    ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateCmdUI)
END_MESSAGE_MAP()

namespace {

// The glyphs, one byte per row (the second byte of each 16-bit row is 0); 0 bits are ink.
// Two right-pointing arrows and a down triangle for a horizontal bar; two down-pointing
// arrows and a left triangle for a vertical one.
constexpr BYTE kHiddenHorz[] = {0x6F, 0xB7, 0xDB, 0xB7, 0x6F};
constexpr BYTE kCustomizeHorz[] = {0x07, 0x8F, 0xDF};
constexpr BYTE kHiddenVert[] = {0x77, 0xAF, 0xDF, 0x77, 0xAF, 0xDF};
constexpr BYTE kCustomizeVert[] = {0xDF, 0x9F, 0x1F, 0x9F, 0xDF};

constexpr DWORD kChevronStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_FLAT | BS_OWNERDRAW;

} // namespace

CQZExpButton::CQZExpButton() = default;

CQZExpButton::~CQZExpButton() = default;

BOOL CQZExpButton::Create(CQZToolBar* pBar, UINT nID)
{
    m_bCreating = true;
    const BOOL created = CButton::Create("", kChevronStyle, CRect(0, 0, 0, 0), pBar, nID);
    m_bCreating = false;
    if (!created)
        return FALSE;
    m_pToolBar = pBar;
    return TRUE;
}

void CQZExpButton::PostNcDestroy()
{
    if (!m_bCreating)
        delete this;
}

COLORREF CQZExpButton::GetFaceColor() const
{
    return m_pToolBar ? m_pToolBar->GetBackColor() : CQZButton::GetFaceColor();
}

DWORD CQZExpButton::GetDrawStyle() const
{
    const DWORD style = CQZButton::GetDrawStyle() & ~(QZ_BTN_FLAT | QZ_BTN_XP);
    return style | (qzAfxData.xpLook ? QZ_BTN_XP : QZ_BTN_FLAT);
}

void CQZExpButton::DrawBitmap(CDC* pDC, UINT nState, const CRect& rect)
{
    if (!m_pToolBar)
        return;
    const bool hasHidden = m_pToolBar->HasHiddenButtons() != FALSE;
    const bool isCustomizable = m_pToolBar->GetChevronState() != FALSE;
    if (m_pToolBar->IsHorizontalBar()) {
        if (hasHidden)
            DrawArrow(pDC, rect, nState, 6, 5, TRUE, kHiddenHorz);
        if (isCustomizable)
            DrawArrow(pDC, rect, nState, 5, 3, FALSE, kCustomizeHorz);
    } else {
        if (hasHidden)
            DrawArrow(pDC, rect, nState, 5, 6, TRUE, kHiddenVert);
        if (isCustomizable)
            DrawArrow(pDC, rect, nState, 3, 5, FALSE, kCustomizeVert);
    }
}

void CQZExpButton::DrawArrow(CDC* pDC, const CRect& rect, UINT nState, int cx, int cy, BOOL bFirst,
                             const BYTE* pRows)
{
    // A monochrome bitmap wants its rows on 16-bit boundaries.
    WORD rows[8] = {};
    for (int row = 0; row < cy && row < 8; ++row)
        rows[row] = pRows[row];
    HBITMAP glyph = ::CreateBitmap(8, cy, 1, 1, rows);
    if (!glyph)
        return;
    int x;
    int y;
    if (m_pToolBar && m_pToolBar->IsHorizontalBar()) {
        x = (rect.right - rect.left - cx) / 2;
        y = bFirst ? rect.top + 2 : rect.bottom - cy - 2;
    } else {
        y = (rect.bottom - rect.top - cy) / 2;
        x = bFirst ? rect.right - cx - 2 : rect.left + 2;
    }
    if ((nState & ODS_SELECTED) && !qzAfxData.xpLook) {
        ++x;
        ++y;
    }
    pDC->DrawState(CPoint(x, y), CSize(cx, cy), glyph, DST_BITMAP | ((nState & ODS_DISABLED) ? DSS_DISABLED : 0));
    ::DeleteObject(glyph);
}

void CQZExpButton::OnUpdateCmdUI(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pToolBar && (m_pToolBar->HasHiddenButtons() || m_pToolBar->GetChevronState()));
}
