// The standard page: the honeycomb control over the template's frame, its font, and the
// chosen colour passed to the sheet.
#include "toolkit/colour/QZColorPageStandard.h"

#include "framework/DataExchange.h"
#include "framework/PaintDC.h"
#include "toolkit/colour/QZColorDialog.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/res/ToolkitResources.h"

IMPLEMENT_DYNCREATE(CQZColorPageStandard, CPropertyPage)

BEGIN_MESSAGE_MAP(CQZColorPageStandard, CPropertyPage)
    ON_MESSAGE(WM_QZ_SETCOLOR, OnSetColor)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CQZColorPageStandard::CQZColorPageStandard() : CQZColorPageStandard(nullptr) {}

CQZColorPageStandard::CQZColorPageStandard(CQZColorDialog* pDialog)
    : CPropertyPage(IDD_QZ_COLOR_STANDARD), m_pDialog(pDialog)
{
    m_psp.dwFlags &= ~PSP_HASHELP;
}

CQZColorPageStandard::~CQZColorPageStandard() = default;

void CQZColorPageStandard::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QZ_COLOR_PALETTE, m_wndColorHex);
}

BOOL CQZColorPageStandard::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    QZChangeWindowFont(this, &qzAfxData.fontNormal);
    return TRUE;
}

LRESULT CQZColorPageStandard::OnSetColor(WPARAM wParam, LPARAM)
{
    if (m_pDialog)
        m_pDialog->SetNewColor(static_cast<COLORREF>(wParam), FALSE);
    return 0;
}

void CQZColorPageStandard::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
}

BOOL CQZColorPageStandard::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
