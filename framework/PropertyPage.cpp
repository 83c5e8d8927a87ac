// Property pages: the page record, attachment to the windows the library makes, and
// the library's notifications turned into the page's virtual steps.
#include "PropertySheet.h"

#include "Exceptions.h"
#include "ResourceModule.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG || CWnd::FromHandlePermanent(hWnd))
        return FALSE;
    // The library hands the page its copy of the page record, whose lParam is the object.
    const auto* record = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    auto* page = record ? reinterpret_cast<CPropertyPage*>(record->lParam) : nullptr;
    if (!page || page->m_hWnd)
        return FALSE;
    BOOL attached = FALSE;
    try {
        attached = page->SubclassWindow(hWnd);
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    if (!attached)
        return FALSE;
    page->m_bFirstSetActive = TRUE;
    return AfxCallWndProc(page, hWnd, WM_INITDIALOG, wParam, lParam);
}

CPropertyPage::CPropertyPage()
{
    Construct(nullptr, 0);
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
{
    Construct(MAKEINTRESOURCEA(nIDTemplate), nIDCaption);
}

CPropertyPage::CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption)
{
    Construct(lpszTemplateName, nIDCaption);
}

void CPropertyPage::Construct(LPCSTR lpszTemplateName, UINT nIDCaption)
{
    m_psp = {};
    m_psp.dwSize = sizeof m_psp;
    // Templates and captions come from the resource module current at construction.
    m_psp.hInstance = AfxGetResourceHandle();
    if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName)) {
        m_strTemplateName = lpszTemplateName;
        m_psp.pszTemplate = m_strTemplateName;
    } else {
        m_psp.pszTemplate = lpszTemplateName;
    }
    m_lpszTemplateName = m_psp.pszTemplate;
    if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption)) {
        m_psp.pszTitle = m_strCaption;
        m_psp.dwFlags |= PSP_USETITLE;
    }
}

HPROPSHEETPAGE CPropertyPage::CreatePageHandle()
{
    PROPSHEETPAGEA record = m_psp;
    const bool hasTemplate = (record.dwFlags & PSP_DLGINDIRECT) ? record.pResource != nullptr
                                                                 : record.pszTemplate != nullptr;
    if (!hasTemplate)
        return nullptr;
    record.dwSize = sizeof record;
    record.pfnDlgProc = &AfxPropPageDlgProc;
    record.lParam = reinterpret_cast<LPARAM>(this);
    // The caption's buffer may have moved since the title was pointed at it.
    if ((record.dwFlags & PSP_USETITLE) && !m_strCaption.IsEmpty())
        record.pszTitle = m_strCaption;
    return ::CreatePropertySheetPageA(&record);
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    if (!m_hWnd)
        return;
    HWND sheet = ::GetParent(m_hWnd);
    if (sheet)
        ::SendMessageA(sheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    if (m_hWnd && !UpdateData(TRUE))
        return FALSE;
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg)
{
    // The sheet runs the dialog keys of its pages.
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(wParam, lParam, pResult);
    LRESULT result = 0;
    switch (header->code) {
    case PSN_SETACTIVE:
        result = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        result = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID;
        break;
    case PSN_RESET:
        OnReset();
        break;
    case PSN_QUERYCANCEL:
        result = OnQueryCancel() ? FALSE : TRUE;
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    // The library reads a page's answer from its dialog result as well.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    *pResult = result;
    return TRUE;
}
