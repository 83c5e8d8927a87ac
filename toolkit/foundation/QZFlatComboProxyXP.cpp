// The XP flat combo box: a framed field with a flat drop button, highlighted while hot
// or dropped down.
#include "toolkit/foundation/QZSkinProxies.h"

#include "framework/DC.h"
#include "framework/GdiObjects.h"
#include "framework/Wnd.h"
#include "toolkit/foundation/QZAuxData.h"

namespace {

void FrameComboPart(CDC* pDC, const CRect& rect, COLORREF colour)
{
    CBrush brush(colour);
    pDC->FrameRect(&rect, &brush);
}

} // namespace

void CQZFlatComboProxyXP::DrawFlatCombo(CWnd* pCombo, CDC* pDC, BOOL bHot)
{
    const QZ_AUX_DATA& data = qzAfxData;
    CRect rect;
    pCombo->GetClientRect(&rect);
    if (m_pSite && m_pSite->IsDragMode())
        bHot = FALSE;
    COLORREF fill;
    COLORREF border;
    COLORREF arrow;
    if (pCombo->SendMessage(CB_GETDROPPEDSTATE)) {
        fill = data.colorXPChecked;
        border = data.colorSelection;
        arrow = data.colorCaptionText;
    } else {
        fill = bHot ? data.colorXPHot : data.colorFace;
        border = bHot ? data.colorSelection : data.colorCaptionText;
        arrow = data.colorButtonText;
    }
    FrameComboPart(pDC, rect, data.colorFace);
    rect.DeflateRect(1, 1);
    CRect button = rect;
    button.left = rect.right - data.thumbWidth - 2;
    FrameComboPart(pDC, rect, border);
    FrameComboPart(pDC, button, border);
    button.DeflateRect(1, 1);
    pDC->FillSolidRect(&button, fill);
    const COLORREF previousBack = pDC->SetBkColor(fill);
    const COLORREF previousText = pDC->SetTextColor(arrow);
    QZDrawDropArrow(pDC, button);
    pDC->SetBkColor(previousBack);
    pDC->SetTextColor(previousText);
}
