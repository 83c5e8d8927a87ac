// "Shortcut Assignments": every command of the chosen category with its shortcuts and its
// description, in the toolkit's list. It keeps the same category and command as the other
// page when the user switches between them.
#include "toolkit/shortcuts/QZAccelSheet.h"

#include "framework/DataExchange.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit/shortcuts/QZAccelManager.h"

namespace {

// Between the heading and the Export button.
constexpr int kHeadingGapPx = 6;

// LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT.
constexpr DWORD kCommandListStyle = 0x21;

struct CommandColumn {
    UINT heading;
    int widthPx;
};

constexpr CommandColumn kCommandColumns[] = {
    {IDS_QZ_ACCEL_COMMAND, 120}, {IDS_QZ_ACCEL_KEYS, 80}, {IDS_QZ_ACCEL_DESCRIPTION, 236}};

} // namespace

CString QZAccelChosenCategory(CComboBox& box)
{
    CString category;
    const int selected = box.GetCurSel();
    if (selected == CB_ERR)
        return category;
    box.GetLBText(selected, category);
    CString all;
    all.LoadString(IDS_QZ_ACCEL_ALL_COMMANDS);
    return category == all ? CString() : category;
}

void QZAccelFillCategories(CComboBox& box, const CQZAccelManager* manager)
{
    box.ResetContent();
    CString all;
    all.LoadString(IDS_QZ_ACCEL_ALL_COMMANDS);
    box.AddString(all);
    manager->FillCategoryCombo(&box);
    box.SetCurSel(0);
}

std::vector<QZAccelShownCommand> QZAccelShownCommands(CComboBox& box, const CQZAccelManager* manager)
{
    const CString category = QZAccelChosenCategory(box);
    std::vector<QZAccelShownCommand> commands;
    POSITION pos = manager->GetFirstCommandPosition();
    while (pos) {
        UINT cmdID = 0;
        CString name;
        manager->GetNextCommand(pos, cmdID, name);
        if (!category.IsEmpty() && !manager->IsCommandInCategory(cmdID, category))
            continue;
        commands.push_back({cmdID, QZAccelDisplayName(name, category)});
    }
    return commands;
}

IMPLEMENT_DYNCREATE(CQZAccelPropertyPage1, CQZResizePropertyPage)

BEGIN_MESSAGE_MAP(CQZAccelPropertyPage1, CQZResizePropertyPage)
    ON_CBN_SELCHANGE(IDC_QZ_ACCEL_CATEGORY, OnSelChangeCategory)
    ON_BN_CLICKED(IDC_QZ_ACCEL_EXPORT, OnExport)
END_MESSAGE_MAP()

CQZAccelPropertyPage1::CQZAccelPropertyPage1()
    : CQZResizePropertyPage(IDD_QZ_ACCEL_ASSIGNMENTS), m_nCategory(0), m_pManager(nullptr), m_pFont(nullptr),
      m_bShowExport(FALSE)
{
}

void CQZAccelPropertyPage1::DoDataExchange(CDataExchange* pDX)
{
    CQZResizePropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QZ_ACCEL_EXPORT, m_btnExport);
    DDX_Control(pDX, IDC_QZ_ACCEL_CATEGORY, m_cbCategory);
    DDX_Control(pDX, IDC_QZ_ACCEL_LIST, m_lcCommands);
    DDX_Text(pDX, IDC_QZ_ACCEL_HEADING, m_strHeading);
    DDX_CBIndex(pDX, IDC_QZ_ACCEL_CATEGORY, m_nCategory);
}

BOOL CQZAccelPropertyPage1::OnInitDialog()
{
    CQZResizePropertyPage::OnInitDialog();
    SetResize(IDC_QZ_ACCEL_LIST, nullptr, CQZFloatRect(0, 0, 1, 1));
    SetResize(IDC_QZ_ACCEL_EXPORT, nullptr, CQZFloatRect(1, 0, 1, 0));
    m_lcCommands.AddExtendedStyle(kCommandListStyle);
    if (m_bShowExport)
        m_btnExport.ShowWindow(SW_SHOW);
    for (int i = 0; i < 3; ++i) {
        CString heading;
        heading.LoadString(kCommandColumns[i].heading);
        m_lcCommands.InsertColumn(i, heading, LVCFMT_LEFT, kCommandColumns[i].widthPx);
    }
    QZAccelFillCategories(m_cbCategory, m_pManager);
    m_strHeading = m_pManager->GetTitle();
    UpdateData(FALSE);
    // The heading may reach the list's right edge, or the Export button when it shows.
    CRect limit;
    GetDlgItem(m_bShowExport ? IDC_QZ_ACCEL_EXPORT : IDC_QZ_ACCEL_LIST)->GetWindowRect(&limit);
    ScreenToClient(&limit);
    QZAccelFitHeading(this, m_pFont, m_bShowExport ? limit.left - kHeadingGapPx : limit.right);
    return TRUE;
}

void CQZAccelPropertyPage1::FillList()
{
    m_lcCommands.DeleteAllItems();
    for (const QZAccelShownCommand& command : QZAccelShownCommands(m_cbCategory, m_pManager)) {
        const int row = m_lcCommands.InsertItem(m_lcCommands.GetItemCount(), command.strName);
        CString shortcuts;
        m_pManager->GetShortcutText(command.nCmdID, shortcuts);
        m_lcCommands.SetItemText(row, 1, shortcuts);
        m_lcCommands.SetItemText(row, 2, QZAccelDescription(command.nCmdID));
        m_lcCommands.SetItemData(row, command.nCmdID);
    }
    if (m_lcCommands.GetItemCount() > 0)
        m_lcCommands.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CQZAccelPropertyPage1::OnSelChangeCategory()
{
    UpdateData(TRUE);
    FillList();
}

void CQZAccelPropertyPage1::OnExport()
{
    if (CQZAccelPropertySheet* sheet = QZAccelSheetOf(this))
        sheet->OnExport(m_pManager);
}

BOOL CQZAccelPropertyPage1::OnSetActive()
{
    CQZAccelPropertySheet* sheet = QZAccelSheetOf(this);
    CQZAccelPropertyPage2* other = sheet ? &sheet->m_page2 : nullptr;
    if (other)
        m_nCategory = other->m_nCategory;
    UpdateData(FALSE);
    FillList();
    if (other && other->m_lbCommands.m_hWnd) {
        const int selected = other->m_lbCommands.GetCurSel();
        if (selected != LB_ERR) {
            const DWORD_PTR cmdID = other->m_lbCommands.GetItemData(selected);
            for (int row = 0; row < m_lcCommands.GetItemCount(); ++row) {
                if (m_lcCommands.GetItemData(row) == cmdID) {
                    m_lcCommands.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
                    m_lcCommands.EnsureVisible(row, FALSE);
                    break;
                }
            }
        }
    }
    return CQZResizePropertyPage::OnSetActive();
}
