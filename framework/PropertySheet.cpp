// Property sheets: pages added and removed, the sheet window made by the library as this
// object, and the modal run under the framework's loop.
#include "PropertySheet.h"

#include "ControlRegistration.h"
#include "ControlsCommon.h"
#include "Exceptions.h"
#include "ResourceModule.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

CPropertySheet::CPropertySheet()
{
    Construct(nullptr, 0);
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(pParentWnd, iSelectPage);
    // Loaded now, through the resource module current at construction.
    m_strCaption.LoadString(nIDCaption);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(pParentWnd, iSelectPage);
    m_strCaption = pszCaption;
}

void CPropertySheet::Construct(CWnd* pParentWnd, UINT iSelectPage)
{
    m_psh = {};
    m_psh.dwSize = sizeof m_psh;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.nStartPage = iSelectPage;
    m_pParentWnd = pParentWnd;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage)
        return;
    m_pages.push_back(pPage);
    if (!m_hWnd)
        return;
    HPROPSHEETPAGE handle = pPage->CreatePageHandle();
    if (!handle || !SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle))) {
        if (handle)
            ::DestroyPropertySheetPage(handle);
        m_pages.pop_back();
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    int index = GetPageIndex(pPage);
    if (index >= 0)
        RemovePage(index);
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    // The library destroys the page's window; its object stays the caller's.
    if (m_hWnd)
        SendMessage(PSM_REMOVEPAGE, static_cast<WPARAM>(nPage), 0);
    m_pages.erase(m_pages.begin() + nPage);
}

int CPropertySheet::GetPageCount() const
{
    return static_cast<int>(m_pages.size());
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (m_pages[i] == pPage)
            return static_cast<int>(i);
    }
    return -1;
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return static_cast<int>(m_psh.nStartPage);
    HWND current = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
    for (size_t i = 0; i < m_pages.size(); ++i) {
        if (current && m_pages[i]->m_hWnd == current)
            return static_cast<int>(i);
    }
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    return SetActivePage(GetPageIndex(pPage));
}

CTabCtrl* CPropertySheet::GetTabControl() const
{
    // A tab control with no object of its own comes back as a temporary window object;
    // the tab class adds no data, so its members work on it.
    return static_cast<CTabCtrl*>(FromHandle(reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL))));
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CPropertySheet::OnInitDialog()
{
    return static_cast<BOOL>(Default());
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || !m_hWnd)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    const UINT id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL)
        return FALSE;
    // The library runs the pages' kill-activation and apply (or cancel) here; it closes
    // the sheet only when every page agreed.
    DefWindowProc(WM_COMMAND, wParam, lParam);
    if (m_hWnd && !SendMessage(PSM_GETCURRENTPAGEHWND))
        EndModalLoop(static_cast<int>(id));
    return TRUE;
}

BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal())
        return FALSE;
    if (!m_hWnd || SendMessage(PSM_GETCURRENTPAGEHWND) != 0)
        return TRUE;
    // Closed without passing through our OK or Cancel (the close box, or a button
    // pressed by message): the sheet itself knows whether its pages were applied.
    if (SendMessage(PSM_GETRESULT) > 0)
        m_nModalResult = IDOK;
    return FALSE;
}

void CPropertySheet::EndDialog(int nEndID)
{
    m_nModalResult = nEndID;
    EndModalLoop(nEndID);
}

BOOL CPropertySheet::CreateSheetWindow(HWND hWndOwner)
{
    std::vector<HPROPSHEETPAGE> handles;
    for (CPropertyPage* page : m_pages) {
        HPROPSHEETPAGE handle = page->CreatePageHandle();
        if (!handle) {
            for (HPROPSHEETPAGE made : handles)
                ::DestroyPropertySheetPage(made);
            return FALSE;
        }
        handles.push_back(handle);
    }
    AfxDeferRegisterClass(kAfxAllCommonControlClasses);
    m_psh.dwSize = sizeof m_psh;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPSHEETPAGE) | PSH_MODELESS;
    m_psh.hwndParent = hWndOwner;
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = static_cast<UINT>(handles.size());
    m_psh.phpage = handles.data();
    if (m_psh.nStartPage >= m_psh.nPages)
        m_psh.nStartPage = 0;
    // The first window the library makes is the sheet: it becomes this object.
    AfxHookWindowCreate(this);
    INT_PTR created = ::PropertySheetA(&m_psh);
    AfxUnhookWindowCreate();
    m_psh.phpage = nullptr;
    m_psh.nPages = 0;
    return created > 0 && m_hWnd && reinterpret_cast<HWND>(created) == m_hWnd;
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_hWnd)
        return -1;
    m_nModalResult = -1;
    HWND hWndOwner = GetSafeOwner(m_pParentWnd)->GetSafeHwnd();
    AfxEnableModelessForModal(FALSE);
    bool enableOwner = false;
    if (hWndOwner && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        enableOwner = true;
    }
    TRY {
        // Set before the window exists, so that an EndDialog during initialisation holds.
        m_nModalResult = IDCANCEL;
        m_nFlags |= WF_CONTINUEMODAL;
        if (!CreateSheetWindow(hWndOwner)) {
            m_nModalResult = -1;
            m_nFlags &= ~WF_CONTINUEMODAL;
        } else if (m_nFlags & WF_CONTINUEMODAL) {
            RunModalLoop(MLF_SHOWONIDLE);
        }
    }
    CATCH_ALL(e)
    {
        AbandonModalRun(e);
    }
    END_CATCH_ALL
    AfxEndModalWindow(this, hWndOwner, enableOwner);
    AfxEnableModelessForModal(TRUE);
    return m_nModalResult;
}
