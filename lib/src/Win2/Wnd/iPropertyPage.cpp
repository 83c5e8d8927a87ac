// The library's property page: in-memory construction, control creation on every showing
// and the controls' removal when the page's window goes.
#include "lib/src/Win2/Wnd/iPropertyPage.h"

#include "lib/src/Win2/Wnd/iPropertySheet.h"

IMPLEMENT_DYNCREATE(iPropertyPage, CPropertyPage)

BEGIN_MESSAGE_MAP(iPropertyPage, CPropertyPage)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

iPropertyPage::iPropertyPage() = default;

iPropertyPage::iPropertyPage(UINT templateId, UINT captionId) : CPropertyPage(templateId, captionId) {}

iPropertyPage::iPropertyPage(LPCSTR templateName, UINT captionId) : CPropertyPage(templateName, captionId) {}

iPropertyPage::iPropertyPage(UINT templateId, LPCSTR caption) : CPropertyPage(templateId, 0)
{
    if (caption)
        SetCaption(caption);
}

iPropertyPage::iPropertyPage(LPCSTR templateName, LPCSTR caption) : CPropertyPage(templateName, 0)
{
    if (caption)
        SetCaption(caption);
}

iPropertyPage::iPropertyPage(CWnd* sheetWindow, const RECT& rect, DWORD style, LPCSTR caption) : m_rect(rect)
{
    m_sheet = dynamic_cast<iPropertySheet*>(sheetWindow);
    if (m_sheet) {
        m_dialogUnits = m_sheet->GetDialogUnits();
        // A failed measurement leaves the pixel size, read as dialog units: a larger page.
        if (!m_dialogUnits)
            static_cast<void>(m_sheet->CalcDialogUnits(&m_rect));
    }
    m_template.Build(&m_rect, style, caption, 0, 0);
    m_psp.pResource = m_template.GetTemplate();
    m_psp.dwFlags |= PSP_DLGINDIRECT;
    if (m_sheet)
        m_sheet->AddPage(this);
}

iPropertyPage::~iPropertyPage()
{
    if (m_sheet)
        m_sheet->RemovePage(this);
    m_windowSet.DeleteAll();
}

void iPropertyPage::SetCaption(LPCSTR text)
{
    m_strCaption = text;
    m_psp.pszTitle = m_strCaption;
    m_psp.dwFlags |= PSP_USETITLE;
}

void iPropertyPage::CreateControls() {}

BOOL iPropertyPage::OnInitDialog()
{
    CreateControls();
    return CDialog::OnInitDialog();
}

void iPropertyPage::OnDestroy()
{
    m_windowSet.DeleteAll();
    CPropertyPage::OnDestroy();
}
