// The custom page: the six numbers and their spin buttons, kept in step with the field,
// the bar and the sheet's new colour.
// While UpdateData runs the framework ignores the edits' change notifications, so the
// handlers below never re-enter one another.
#include "toolkit/colour/QZColorPageCustom.h"

#include "framework/DataExchange.h"
#include "framework/PaintDC.h"
#include "toolkit/colour/QZColorDialog.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/res/ToolkitResources.h"

IMPLEMENT_DYNCREATE(CQZColorPageCustom, CPropertyPage)

BEGIN_MESSAGE_MAP(CQZColorPageCustom, CPropertyPage)
    ON_MESSAGE(WM_QZ_SETCOLOR, OnSetColor)
    ON_EN_CHANGE(IDC_QZ_RED_EDIT, OnRGBChange)
    ON_EN_CHANGE(IDC_QZ_GREEN_EDIT, OnRGBChange)
    ON_EN_CHANGE(IDC_QZ_BLUE_EDIT, OnRGBChange)
    ON_EN_CHANGE(IDC_QZ_LUMINANCE_EDIT, OnLuminanceChange)
    ON_EN_CHANGE(IDC_QZ_HUE_EDIT, OnHueChange)
    ON_EN_CHANGE(IDC_QZ_SATURATION_EDIT, OnSaturationChange)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {
constexpr double kFullChannel = 255.0;
}

CQZColorPageCustom::CQZColorPageCustom() : CQZColorPageCustom(nullptr) {}

CQZColorPageCustom::CQZColorPageCustom(CQZColorDialog* pDialog)
    : CPropertyPage(IDD_QZ_COLOR_CUSTOM), m_pDialog(pDialog)
{
    m_psp.dwFlags &= ~PSP_HASHELP;
}

CQZColorPageCustom::~CQZColorPageCustom() = default;

void CQZColorPageCustom::RGBtoHSL(COLORREF color, int& hue, int& saturation, int& luminance)
{
    double h = 0.0;
    double s = 0.0;
    double l = 0.0;
    CQZColorBase::ColorToHSL(color, h, s, l);
    hue = static_cast<int>(h * kFullChannel);
    saturation = static_cast<int>(s * kFullChannel);
    luminance = static_cast<int>(l * kFullChannel);
}

void CQZColorPageCustom::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QZ_COLOR_FIELD, m_wndColor);
    DDX_Control(pDX, IDC_QZ_COLOR_LUMINANCE_BAR, m_wndLuminance);
    for (int i = 0; i < 6; ++i)
        DDX_Control(pDX, IDC_QZ_HUE_LABEL + i, m_wndLabels[i]);
    DDX_Control(pDX, IDC_QZ_HUE_SPIN, m_spinHue);
    DDX_Control(pDX, IDC_QZ_SATURATION_SPIN, m_spinSaturation);
    DDX_Control(pDX, IDC_QZ_LUMINANCE_SPIN, m_spinLuminance);
    DDX_Control(pDX, IDC_QZ_RED_SPIN, m_spinRed);
    DDX_Control(pDX, IDC_QZ_GREEN_SPIN, m_spinGreen);
    DDX_Control(pDX, IDC_QZ_BLUE_SPIN, m_spinBlue);
    DDX_Control(pDX, IDC_QZ_RED_EDIT, m_editRed);
    DDX_Control(pDX, IDC_QZ_GREEN_EDIT, m_editGreen);
    DDX_Control(pDX, IDC_QZ_LUMINANCE_EDIT, m_editLuminance);
    DDX_Control(pDX, IDC_QZ_SATURATION_EDIT, m_editSaturation);
    DDX_Control(pDX, IDC_QZ_HUE_EDIT, m_editHue);
    DDX_Control(pDX, IDC_QZ_BLUE_EDIT, m_editBlue);
    // A value out of range stops the exchange at its field; the user has been told.
    DDX_Text(pDX, IDC_QZ_RED_EDIT, m_nRed);
    DDV_MinMaxInt(pDX, m_nRed, 0, 255);
    DDX_Text(pDX, IDC_QZ_BLUE_EDIT, m_nBlue);
    DDV_MinMaxInt(pDX, m_nBlue, 0, 255);
    DDX_Text(pDX, IDC_QZ_GREEN_EDIT, m_nGreen);
    DDV_MinMaxInt(pDX, m_nGreen, 0, 255);
    DDX_Text(pDX, IDC_QZ_HUE_EDIT, m_nHue);
    DDV_MinMaxInt(pDX, m_nHue, 0, 255);
    DDX_Text(pDX, IDC_QZ_LUMINANCE_EDIT, m_nLuminance);
    DDV_MinMaxInt(pDX, m_nLuminance, 0, 255);
    DDX_Text(pDX, IDC_QZ_SATURATION_EDIT, m_nSaturation);
    DDV_MinMaxInt(pDX, m_nSaturation, 0, 255);
}

BOOL CQZColorPageCustom::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    QZChangeWindowFont(this, &qzAfxData.fontNormal);
    const struct {
        CSpinButtonCtrl* spin;
        CEdit* buddy;
    } spins[] = {{&m_spinSaturation, &m_editSaturation}, {&m_spinLuminance, &m_editLuminance},
                 {&m_spinHue, &m_editHue},               {&m_spinRed, &m_editRed},
                 {&m_spinGreen, &m_editGreen},           {&m_spinBlue, &m_editBlue}};
    for (const auto& s : spins) {
        s.spin->SetBuddy(s.buddy);
        s.spin->SetRange(0, 255);
    }
    return TRUE;
}

void CQZColorPageCustom::SetRGBNumbers(COLORREF color)
{
    m_nRed = GetRValue(color);
    m_nGreen = GetGValue(color);
    m_nBlue = GetBValue(color);
}

void CQZColorPageCustom::SetNumbers(COLORREF color)
{
    SetRGBNumbers(color);
    RGBtoHSL(color, m_nHue, m_nSaturation, m_nLuminance);
}

void CQZColorPageCustom::PassOn(COLORREF color)
{
    if (m_pDialog && m_pDialog->m_clrNew != color)
        m_pDialog->SetNewColor(color, FALSE);
}

BOOL CQZColorPageCustom::OnSetActive()
{
    const COLORREF color = m_pDialog ? m_pDialog->m_clrNew : m_wndColor.GetColor();
    m_wndColor.SetColor(color, TRUE);
    m_wndLuminance.SetColor(color, TRUE);
    SetNumbers(color);
    UpdateData(FALSE);
    return CPropertyPage::OnSetActive();
}

LRESULT CQZColorPageCustom::OnSetColor(WPARAM wParam, LPARAM)
{
    const COLORREF color = static_cast<COLORREF>(wParam);
    for (CQZColorBase* control : {static_cast<CQZColorBase*>(&m_wndColor), static_cast<CQZColorBase*>(&m_wndLuminance)}) {
        if (control->GetColor() != color)
            control->SetColor(color, FALSE);
    }
    PassOn(color);
    SetNumbers(color);
    UpdateData(FALSE);
    return 0;
}

void CQZColorPageCustom::OnRGBChange()
{
    // A refused number changes nothing: not the controls, not the sheet's colour.
    if (!UpdateData(TRUE))
        return;
    const COLORREF color = RGB(m_nRed & 0xFF, m_nGreen & 0xFF, m_nBlue & 0xFF);
    for (CQZColorBase* control : {static_cast<CQZColorBase*>(&m_wndColor), static_cast<CQZColorBase*>(&m_wndLuminance)}) {
        if (control->GetColor() != color)
            control->SetColor(color, TRUE);
    }
    PassOn(color);
}

void CQZColorPageCustom::FollowHLSEdit(CQZColorBase* pOther, COLORREF color)
{
    if (pOther->GetColor() != color)
        pOther->SetColor(color, FALSE);
    PassOn(color);
    SetRGBNumbers(color);
    UpdateData(FALSE);
}

void CQZColorPageCustom::OnLuminanceChange()
{
    if (!UpdateData(TRUE))
        return;
    m_wndLuminance.SetLuminance(m_nLuminance / kFullChannel);
    FollowHLSEdit(&m_wndColor, m_wndLuminance.GetColor());
}

void CQZColorPageCustom::OnHueChange()
{
    if (!UpdateData(TRUE))
        return;
    m_wndColor.SetHue(m_nHue / kFullChannel);
    FollowHLSEdit(&m_wndLuminance, m_wndColor.GetColor());
}

void CQZColorPageCustom::OnSaturationChange()
{
    if (!UpdateData(TRUE))
        return;
    m_wndColor.SetSaturation(m_nSaturation / kFullChannel);
    FollowHLSEdit(&m_wndLuminance, m_wndColor.GetColor());
}

void CQZColorPageCustom::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
}

BOOL CQZColorPageCustom::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
