// The colour sheet: its pages and layout, the swatches, the hex text, the clipboard copy,
// and the colours chosen through it, which the colour popup shows as its recent row.
#include "toolkit/colour/QZColorDialog.h"

#include "framework/ControlsCommon.h"
#include "framework/PaintDC.h"
#include "toolkit/colour/QZColorPageCustom.h"
#include "toolkit/colour/QZColorPageStandard.h"
#include "toolkit/colour/QZColorPopup.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/res/ToolkitResources.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CQZColorDialog, CPropertySheet)

BEGIN_MESSAGE_MAP(CQZColorDialog, CPropertySheet)
    ON_WM_CREATE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

// Kept here, beside the sheet that fills it through the popup; built before the program
// starts and gone at exit.
CUIntArray CQZColorPopup::m_arrUserColors;

namespace {

// The sheet's layout in pixels, whatever its font.
constexpr int kSheetWidth = 329;
constexpr int kSheetHeight = 341;
constexpr int kTabWidth = 226;
constexpr int kTabHeight = 280;
constexpr int kButtonLeft = 243;
constexpr int kOkTop = 29;
constexpr int kCancelTop = 58;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 22;
const RECT kHexTextRect = {243, 170, 317, 188};
// The swatch box: 68 x 66, 9 pixels from the right and 32 from the bottom, with a
// 22-pixel label band above and below.
constexpr int kSwatchWidth = 68;
constexpr int kSwatchHeight = 66;
constexpr int kSwatchRightGap = 9;
constexpr int kSwatchBottomGap = 32;
constexpr int kLabelBand = 22;

} // namespace

CQZColorDialog::CQZColorDialog(COLORREF clrNew, COLORREF clrCurrent, DWORD dwStyle, CWnd* pParentWnd)
    : CPropertySheet(IDS_QZ_COLORS, pParentWnd, 0), m_dwStyle(dwStyle), m_clrNew(clrNew), m_clrCurrent(clrCurrent)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    m_psh.dwFlags &= ~PSH_HASHELP;
    m_pStandardPage = new CQZColorPageStandard(this);
    AddPage(m_pStandardPage);
    m_pCustomPage = new CQZColorPageCustom(this);
    AddPage(m_pCustomPage);
}

CQZColorDialog::~CQZColorDialog()
{
    // A sheet still showing goes first, while its pages exist.
    if (m_hWnd)
        DestroyWindow();
    while (GetPageCount() > 0) {
        CPropertyPage* page = GetPage(0);
        RemovePage(0);
        delete page;
    }
}

int CQZColorDialog::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_dwStyle & QZ_CDS_HEXTEXT) {
        if (!m_editHex.CreateEx(WS_EX_STATICEDGE, "edit", FormatHex(m_clrNew), WS_CHILD | WS_VISIBLE | ES_READONLY,
                                kHexTextRect, this, IDC_QZ_COLOR_HEX_TEXT))
            return -1;
        m_editHex.SetFont(&qzAfxData.fontNormal, TRUE);
    }
    m_pStandardPage->m_wndColorHex.SetColor(m_clrNew);
    return 0;
}

BOOL CQZColorDialog::OnInitDialog()
{
    const BOOL result = CPropertySheet::OnInitDialog();
    QZChangeWindowFont(this, &qzAfxData.fontNormal);
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(nullptr, 0, 0, kSheetWidth, kSheetHeight, SWP_NOMOVE | flags);
    if (CWnd* tab = GetTabControl())
        tab->SetWindowPos(nullptr, 0, 0, kTabWidth, kTabHeight, SWP_NOMOVE | flags);
    if (CWnd* ok = GetDlgItem(IDOK))
        ok->SetWindowPos(nullptr, kButtonLeft, kOkTop, kButtonWidth, kButtonHeight, flags);
    if (CWnd* cancel = GetDlgItem(IDCANCEL))
        cancel->SetWindowPos(nullptr, kButtonLeft, kCancelTop, kButtonWidth, kButtonHeight, flags);
    SetActivePage(0);
    return result;
}

void CQZColorDialog::OnPaint()
{
    CPaintDC dc(this);
    DrawSwatches(&dc);
}

void CQZColorDialog::DrawSwatches(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CRect box;
    box.right = client.right - kSwatchRightGap;
    box.left = box.right - kSwatchWidth;
    box.bottom = client.bottom - kSwatchBottomGap;
    box.top = box.bottom - kSwatchHeight;

    if (m_dwStyle & QZ_CDS_3DFRAME) {
        // A raised outer edge round a sunken inner one.
        box.InflateRect(3, 3);
        pDC->Draw3dRect(&box, qzAfxData.colorHilite, qzAfxData.colorDarkShadow);
        box.DeflateRect(3, 3);
        pDC->Draw3dRect(&box, qzAfxData.colorShadow, qzAfxData.colorHilite);
    } else {
        pDC->Draw3dRect(&box, qzAfxData.colorWindowFrame, qzAfxData.colorWindowFrame);
    }

    const int saved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(qzAfxData.colorWindowText);
    pDC->SelectObject(&qzAfxData.fontNormal);
    CString label;
    label.LoadString(IDS_QZ_NEW_COLOR);
    CRect above(box.left, box.top - kLabelBand, box.right, box.top);
    pDC->DrawText(label, &above, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    label.LoadString(IDS_QZ_CURRENT_COLOR);
    CRect below(box.left, box.bottom, box.right, box.bottom + kLabelBand);
    pDC->DrawText(label, &below, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->RestoreDC(saved);

    box.DeflateRect(1, 1);
    const int half = box.Height() / 2;
    m_rectNew.SetRect(box.left, box.top, box.right, box.top + half);
    m_rectCurrent.SetRect(box.left, box.top + half, box.right, box.top + 2 * half);
    pDC->FillSolidRect(&m_rectNew, m_clrNew);
    pDC->FillSolidRect(&m_rectCurrent, m_clrCurrent);
}

void CQZColorDialog::SetNewColor(COLORREF color, BOOL bNotify)
{
    m_clrNew = color;
    if (m_hWnd && IsWindowVisible()) {
        CClientDC dc(this);
        dc.FillSolidRect(&m_rectNew, color);
        if ((m_dwStyle & QZ_CDS_HEXTEXT) && m_editHex.m_hWnd)
            m_editHex.SetWindowText(FormatHex(color));
    }
    if (!bNotify || !m_hWnd || !GetTabControl()->GetSafeHwnd())
        return;
    for (int i = 0; i < GetPageCount(); ++i) {
        if (CPropertyPage* page = GetPage(i); page->m_hWnd)
            page->SendMessage(WM_QZ_SETCOLOR, color, 0);
    }
}

void CQZColorDialog::SetCurrentColor(COLORREF color)
{
    m_clrCurrent = color;
    if (m_hWnd && IsWindowVisible()) {
        CClientDC dc(this);
        dc.FillSolidRect(&m_rectCurrent, color);
    }
}

CString CQZColorDialog::FormatHex(COLORREF color)
{
    CString text;
    text.Format("Hex: %02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

BOOL CQZColorDialog::CopyToClipboard(LPCSTR lpszText)
{
    if (!::OpenClipboard(m_hWnd))
        return FALSE;
    ::EmptyClipboard();
    const size_t size = std::strlen(lpszText) + 1;
    BOOL copied = FALSE;
    if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size)) {
        if (void* text = ::GlobalLock(block)) {
            std::memcpy(text, lpszText, size);
            ::GlobalUnlock(block);
            // The clipboard owns the block once it takes it; a refused block is ours to free.
            copied = ::SetClipboardData(CF_TEXT, block) != nullptr;
        }
        if (!copied)
            ::GlobalFree(block);
    }
    ::CloseClipboard();
    return copied;
}

void QZEndColorSheet(CWnd* pControl)
{
    CWnd* page = pControl ? pControl->GetParent() : nullptr;
    CWnd* sheet = page ? page->GetParent() : nullptr;
    if (auto* propertySheet = dynamic_cast<CPropertySheet*>(sheet))
        propertySheet->EndDialog(IDOK);
}
