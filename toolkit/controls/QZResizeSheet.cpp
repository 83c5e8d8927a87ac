// The resizable property sheet and page: their start-up, the tracking limits and the
// resize pass after every size change.
#include "toolkit/controls/QZResizeSheet.h"

#include "framework/FrameworkConstants.h"
#include "framework/Menu.h"

namespace {

struct SizingCommand {
    UINT command;
    const char* defaultLabel;
};

// Read from the outermost ancestor's system menu; these when it has none of them.
constexpr SizingCommand kSizingCommands[] = {
    {SC_MAXIMIZE, "Ma&ximize"}, {SC_MINIMIZE, "Mi&nimize"}, {SC_SIZE, "&Size"}, {SC_RESTORE, "&Restore"}};

CString SystemMenuLabel(HMENU systemMenu, const SizingCommand& entry)
{
    CString label;
    if (systemMenu)
        CMenu::FromHandle(systemMenu)->GetMenuString(entry.command, label, MF_BYCOMMAND);
    return label.IsEmpty() ? CString(entry.defaultLabel) : label;
}

} // namespace

IMPLEMENT_DYNCREATE(CQZResizePropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CQZResizePropertySheet, CPropertySheet)
    ON_WM_GETMINMAXINFO()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQZResizePropertySheet::CQZResizePropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage, UINT nFlags)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage), CQZResize(this, nFlags)
{
}

CQZResizePropertySheet::CQZResizePropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage, UINT nFlags)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage), CQZResize(this, nFlags)
{
}

BOOL CQZResizePropertySheet::OnInitDialog()
{
    EnableToolTips(TRUE);
    CPropertySheet::OnInitDialog();
    if (HWND tab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL)))
        m_wndTab.SubclassWindow(tab);

    if (!(CQZResize::m_nFlags & QZ_RESIZE_NOSIZEICON)) {
        CRect rect;
        GetWindowRect(&rect);
        rect.InflateRect(1, 1);
        MoveWindow(&rect, TRUE);
    }
    if (GetSystemMenu(FALSE))
        AddSizingCommands();
    if (!(GetStyle() & WS_THICKFRAME))
        SetFlag(QZ_RESIZE_NOSIZEICON);

    Init();
    const UINT kButtons[] = {IDOK, IDCANCEL, IDHELP, ID_APPLY_NOW};
    for (UINT id : kButtons)
        SetResize(id, nullptr, CQZFloatRect(1, 1, 1, 1));
    SetResize(AFX_IDC_TAB_CONTROL, nullptr, CQZFloatRect(0, 0, 1, 1));

    // Pages not made yet are carried along at the active page's place and follow every pass.
    CRect pageRect(0, 0, 0, 0);
    if (CPropertyPage* active = GetActivePage(); active && active->m_hWnd) {
        active->GetWindowRect(&pageRect);
        ScreenToClient(&pageRect);
    }
    for (int i = 0; i < GetPageCount(); ++i)
        AddItem(GetPage(i), CQZFloatRect(0, 0, 1, 1), pageRect);
    return TRUE;
}

void CQZResizePropertySheet::AddSizingCommands()
{
    HWND outermost = m_hWnd;
    while (HWND parent = ::GetParent(outermost))
        outermost = parent;
    HMENU ancestorMenu = ::GetSystemMenu(outermost, FALSE);
    CString labels[4];
    for (int i = 0; i < 4; ++i)
        labels[i] = SystemMenuLabel(ancestorMenu, kSizingCommands[i]);

    CMenu* menu = GetSystemMenu(FALSE);
    menu->InsertMenu(1, MF_BYPOSITION | MF_SEPARATOR);
    menu->InsertMenu(1, MF_BYPOSITION | MF_STRING, SC_MAXIMIZE, labels[0]);
    menu->InsertMenu(1, MF_BYPOSITION | MF_STRING, SC_MINIMIZE, labels[1]);
    menu->InsertMenu(1, MF_BYPOSITION | MF_STRING, SC_SIZE, labels[2]);
    menu->InsertMenu(0, MF_BYPOSITION | MF_STRING, SC_RESTORE, labels[3]);
}

void CQZResizePropertySheet::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    GetMinMaxInfo(lpMMI);
}

void CQZResizePropertySheet::OnSize(UINT nType, int cx, int cy)
{
    CPropertySheet::OnSize(nType, cx, cy);
    Size();
}

IMPLEMENT_DYNCREATE(CQZResizePropertyPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CQZResizePropertyPage, CPropertyPage)
    ON_WM_GETMINMAXINFO()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQZResizePropertyPage::CQZResizePropertyPage(UINT nIDTemplate, UINT nIDCaption, UINT nFlags)
    : CPropertyPage(nIDTemplate, nIDCaption), CQZResize(this, nFlags | QZ_RESIZE_NOSIZEICON),
      m_nIDTemplate(nIDTemplate)
{
}

BOOL CQZResizePropertyPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    Init();
    EnableToolTips(TRUE);
    return TRUE;
}

void CQZResizePropertyPage::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    GetMinMaxInfo(lpMMI);
}

void CQZResizePropertyPage::OnSize(UINT nType, int cx, int cy)
{
    CPropertyPage::OnSize(nType, cx, cy);
    Size();
}
