// The colour picker's colours, popup, notifications and deferred set-up.
#include "toolkit/colour/QZColorPicker.h"

#include "framework/PaintDC.h"
#include "toolkit/colour/QZColorPopup.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMessages.h"

IMPLEMENT_DYNAMIC(CQZColorPicker, CButton)

BEGIN_MESSAGE_MAP(CQZColorPicker, CButton)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_MESSAGE(WM_QZ_COLORUNCHANGED, OnColorUnchanged)
    ON_MESSAGE(WM_QZ_COLORDROPDOWN, OnColorDropDown)
    ON_MESSAGE(WM_QZ_COLORCLOSEUP, OnColorCloseUp)
    ON_MESSAGE(WM_QZ_COLORCHANGED, OnColorChanged)
    ON_MESSAGE(WM_QZ_COLORCANCEL, OnColorCancel)
    ON_MESSAGE(WM_QZ_COLORNOFILL, OnColorNoFill)
    ON_MESSAGE(WM_QZ_SHOWPOPUP, ShowPopup)
    ON_MESSAGE(WM_QZ_INITCONTROL, OnInitControl)
END_MESSAGE_MAP()

CQZColorPicker::CQZColorPicker() = default;

CQZColorPicker::~CQZColorPicker() = default;

void CQZColorPicker::SelectColor(COLORREF color)
{
    if (color == GetEffectiveColor())
        return;
    ApplyColor(color);
    if (m_hWnd)
        Invalidate();
}

COLORREF CQZColorPicker::GetEffectiveColor() const
{
    return m_bColorFlag ? GetColor() : GetTextColor();
}

void CQZColorPicker::SetColorFlag(BOOL bColorFlag)
{
    m_bColorFlag = bColorFlag;
}

BOOL CQZColorPicker::GetColorFlag() const
{
    return m_bColorFlag;
}

void CQZColorPicker::SetAutomaticColor(COLORREF color)
{
    m_clrAutomatic = color;
}

COLORREF CQZColorPicker::GetAutomaticColor() const
{
    return m_clrAutomatic;
}

void CQZColorPicker::ModifyPopupStyle(DWORD dwRemove, DWORD dwAdd)
{
    m_dwPopupStyle = (m_dwPopupStyle & ~dwRemove) | dwAdd;
}

void CQZColorPicker::SetColor(COLORREF color)
{
    m_clrColor = color;
}

COLORREF CQZColorPicker::GetColor() const
{
    return m_clrColor == kQZFaceColor ? qzAfxData.colorFace : m_clrColor;
}

void CQZColorPicker::SetTextColor(COLORREF color)
{
    m_clrText = color;
}

COLORREF CQZColorPicker::GetTextColor() const
{
    return m_clrText == kQZFaceColor ? qzAfxData.colorFace : m_clrText;
}

void CQZColorPicker::ApplyColor(COLORREF color)
{
    const double luminance = (299 * GetRValue(color) + 587 * GetGValue(color) + 114 * GetBValue(color)) / 1000.0;
    const COLORREF contrast = luminance <= 128.0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    if (m_bColorFlag) {
        SetColor(color);
        SetTextColor(contrast);
    } else {
        SetTextColor(color);
        SetColor(contrast);
    }
}

void CQZColorPicker::ShowPopupAsync()
{
    m_bPopupOpen = TRUE;
    if (CWnd::GetFocus() != this)
        SetFocus();
    PostMessage(WM_QZ_SHOWPOPUP);
}

LRESULT CQZColorPicker::ShowPopup(WPARAM, LPARAM)
{
    CRect rect;
    GetWindowRect(&rect);
    auto* popup = new CQZColorPopup(TRUE, 0);
    if (!popup->Create(&rect, this, m_dwPopupStyle, GetEffectiveColor(), m_clrAutomatic)) {
        // The popup has deleted itself; without this the picker would wait for a popup
        // that never comes and refuse every later click.
        m_bPopupOpen = FALSE;
        Invalidate();
        return 0;
    }
    popup->SetFocus();
    return 0;
}

BOOL CQZColorPicker::PreTranslateMessage(MSG* pMsg)
{
    if (!m_bPopupOpen) {
        if (pMsg->message == WM_LBUTTONDOWN) {
            ShowPopupAsync();
        } else if (pMsg->message == WM_KEYDOWN &&
                   (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_SPACE || pMsg->wParam == VK_DOWN)) {
            ShowPopupAsync();
            return TRUE;
        }
    }
    return CButton::PreTranslateMessage(pMsg);
}

BOOL CQZColorPicker::HasNotifyTarget() const
{
    return GetOwner() != nullptr;
}

void CQZColorPicker::Notify(UINT nCode)
{
    if (CWnd* target = GetOwner())
        target->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), nCode), reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CQZColorPicker::OnColorUnchanged(WPARAM, LPARAM)
{
    Notify(WM_QZ_COLORUNCHANGED);
    return 0;
}

LRESULT CQZColorPicker::OnColorDropDown(WPARAM, LPARAM)
{
    Notify(WM_QZ_COLORDROPDOWN);
    return 0;
}

LRESULT CQZColorPicker::OnColorCloseUp(WPARAM, LPARAM)
{
    m_bPopupOpen = FALSE;
    Notify(WM_QZ_COLORCLOSEUP);
    Invalidate();
    return 0;
}

LRESULT CQZColorPicker::OnColorChanged(WPARAM wParam, LPARAM)
{
    if (!HasNotifyTarget())
        return 0;
    SelectColor(static_cast<COLORREF>(wParam));
    Notify(WM_QZ_COLORCLOSEUP);
    Notify(WM_QZ_COLORCHANGED);
    return 0;
}

LRESULT CQZColorPicker::OnColorCancel(WPARAM, LPARAM)
{
    Notify(WM_QZ_COLORCLOSEUP);
    Notify(WM_QZ_COLORCANCEL);
    return 0;
}

LRESULT CQZColorPicker::OnColorNoFill(WPARAM wParam, LPARAM)
{
    if (!HasNotifyTarget())
        return 0;
    SelectColor(static_cast<COLORREF>(wParam));
    Notify(WM_QZ_COLORNOFILL);
    return 0;
}

void CQZColorPicker::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    PostMessage(WM_QZ_INITCONTROL);
}

int CQZColorPicker::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CButton::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_QZ_INITCONTROL);
    return 0;
}

LRESULT CQZColorPicker::OnInitControl(WPARAM, LPARAM)
{
    if (!m_bInitPending)
        return 0;
    m_bInitPending = 0;
    ModifyStyle(0, BS_OWNERDRAW);
    SetFont(&qzAfxData.fontNormal, TRUE);
    return 0;
}

BOOL CQZColorPicker::OnEraseBkgnd(CDC*)
{
    return FALSE;
}

void CQZColorPicker::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CQZMemDC memDC(&dc, client, qzAfxData.colorFace);
    // The button control paints into the given DC and asks for the owner drawing there.
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memDC.m_hDC), 0);
}
