// "Configure Shortcuts": a command chosen from its category, its shortcuts listed, a key
// combination typed into the capturing edit assigned to it (asking before taking one from
// another command), one of its shortcuts removed, or every shortcut reset to the defaults.
#include "toolkit/shortcuts/QZAccelSheet.h"

#include "framework/AfxMessageBox.h"
#include "framework/DataExchange.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit/shortcuts/QZAccelManager.h"

namespace {

// An assignments-box entry's data: fVirt in the high word, the key in the low word.
DWORD_PTR PackShortcut(BYTE fVirt, WORD key)
{
    return (static_cast<DWORD_PTR>(fVirt) << 16) | key;
}

// (1, 0, 1, 0): these follow the page's right edge.
constexpr UINT kRightColumnControls[] = {IDC_QZ_ACCEL_ASSIGNMENTS, IDC_QZ_ACCEL_ASSIGN,    IDC_QZ_ACCEL_REMOVE,
                                         IDC_QZ_ACCEL_RESET_ALL,   IDC_QZ_ACCEL_KEY_LABEL, IDC_QZ_ACCEL_ASSIGNMENTS_LABEL,
                                         IDC_QZ_ACCEL_KEY};

} // namespace

IMPLEMENT_DYNCREATE(CQZAccelPropertyPage2, CQZResizePropertyPage)

BEGIN_MESSAGE_MAP(CQZAccelPropertyPage2, CQZResizePropertyPage)
    ON_CBN_SELCHANGE(IDC_QZ_ACCEL_CATEGORY, OnSelChangeCategory)
    ON_LBN_SELCHANGE(IDC_QZ_ACCEL_COMMANDS, OnSelChangeCommandsBox)
    ON_BN_CLICKED(IDC_QZ_ACCEL_ASSIGN, OnAssign)
    ON_BN_CLICKED(IDC_QZ_ACCEL_REMOVE, OnRemove)
    ON_BN_CLICKED(IDC_QZ_ACCEL_RESET_ALL, OnResetAll)
END_MESSAGE_MAP()

CQZAccelPropertyPage2::CQZAccelPropertyPage2()
    : CQZResizePropertyPage(IDD_QZ_ACCEL_CONFIGURE), m_nCategory(0), m_pManager(nullptr), m_pFont(nullptr)
{
}

void CQZAccelPropertyPage2::DoDataExchange(CDataExchange* pDX)
{
    CQZResizePropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_QZ_ACCEL_KEY, m_edKey);
    DDX_Control(pDX, IDC_QZ_ACCEL_ASSIGNMENTS, m_lbAssignments);
    DDX_Control(pDX, IDC_QZ_ACCEL_COMMANDS, m_lbCommands);
    DDX_Control(pDX, IDC_QZ_ACCEL_CATEGORY, m_cbCategory);
    DDX_Text(pDX, IDC_QZ_ACCEL_HEADING, m_strHeading);
    DDX_Text(pDX, IDC_QZ_ACCEL_DESCRIPTION, m_strDescription);
    DDX_CBIndex(pDX, IDC_QZ_ACCEL_CATEGORY, m_nCategory);
}

BOOL CQZAccelPropertyPage2::OnInitDialog()
{
    CQZResizePropertyPage::OnInitDialog();
    SetResize(IDC_QZ_ACCEL_COMMANDS, nullptr, CQZFloatRect(0, 0, 1, 1));
    SetResize(IDC_QZ_ACCEL_DESCRIPTION, nullptr, CQZFloatRect(0, 1, 1, 1));
    SetResize(IDC_QZ_ACCEL_DESCRIPTION_LABEL, nullptr, CQZFloatRect(0, 1, 0, 1));
    for (UINT id : kRightColumnControls)
        SetResize(id, nullptr, CQZFloatRect(1, 0, 1, 0));
    QZAccelFillCategories(m_cbCategory, m_pManager);
    OnSelChangeCategory();
    m_strHeading = m_pManager->GetTitle();
    UpdateData(FALSE);
    // The heading may reach the right column's edge.
    CRect column;
    m_lbAssignments.GetWindowRect(&column);
    ScreenToClient(&column);
    QZAccelFitHeading(this, m_pFont, column.right);
    return TRUE;
}

void CQZAccelPropertyPage2::FillCommands()
{
    m_lbCommands.ResetContent();
    for (const QZAccelShownCommand& command : QZAccelShownCommands(m_cbCategory, m_pManager)) {
        const int index = m_lbCommands.AddString(command.strName);
        m_lbCommands.SetItemData(index, command.nCmdID);
    }
    if (m_lbCommands.GetCount() > 0)
        m_lbCommands.SetCurSel(0);
}

void CQZAccelPropertyPage2::OnSelChangeCategory()
{
    UpdateData(TRUE);
    FillCommands();
    OnSelChangeCommands();
}

void CQZAccelPropertyPage2::OnSelChangeCommandsBox()
{
    OnSelChangeCommands();
}

void CQZAccelPropertyPage2::OnSelChangeCommands()
{
    m_lbAssignments.ResetContent();
    const int selected = m_lbCommands.GetCurSel();
    if (selected == LB_ERR)
        return;
    const UINT cmdID = static_cast<UINT>(m_lbCommands.GetItemData(selected));
    int pos = 0;
    CString text;
    BYTE fVirt = 0;
    WORD key = 0;
    while (m_pManager->GetNextShortcut(pos, cmdID, text, fVirt, key)) {
        const int index = m_lbAssignments.AddString(text);
        m_lbAssignments.SetItemData(index, PackShortcut(fVirt, key));
    }
    m_strDescription = QZAccelDescription(cmdID);
    UpdateData(FALSE);
}

void CQZAccelPropertyPage2::OnAssign()
{
    const int selected = m_lbCommands.GetCurSel();
    if (selected == LB_ERR)
        return;
    const UINT cmdID = static_cast<UINT>(m_lbCommands.GetItemData(selected));
    WORD key = 0;
    BOOL ctrl = FALSE;
    BOOL alt = FALSE;
    BOOL shift = FALSE;
    if (!m_edKey.GetKey(key, ctrl, alt, shift))
        return;
    BYTE fVirt = FVIRTKEY | FNOINVERT;
    if (ctrl)
        fVirt |= FCONTROL;
    if (alt)
        fVirt |= FALT;
    if (shift)
        fVirt |= FSHIFT;

    UINT owner = 0;
    if (m_pManager->FindShortcut(fVirt, key, owner)) {
        CString ownerName;
        m_pManager->GetCommandName(owner, ownerName);
        CString question;
        CString format;
        format.LoadString(IDS_QZ_ACCEL_REASSIGN);
        question.Format(format, static_cast<LPCSTR>(ownerName));
        if (AfxMessageBox(question, MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return;
        m_pManager->RemoveShortcut(owner, fVirt, key);
    }
    if (m_pManager->AddShortcut(cmdID, fVirt, key))
        OnSelChangeCommands();
}

void CQZAccelPropertyPage2::OnRemove()
{
    const int entry = m_lbAssignments.GetCurSel();
    const int command = m_lbCommands.GetCurSel();
    if (entry == LB_ERR || command == LB_ERR)
        return;
    const DWORD_PTR packed = m_lbAssignments.GetItemData(entry);
    const BYTE fVirt = static_cast<BYTE>(packed >> 16);
    const WORD key = static_cast<WORD>(packed & 0xFFFF);
    // The box lists the selected command's shortcuts: its own record goes, never another
    // command's on the same keys.
    const UINT cmdID = static_cast<UINT>(m_lbCommands.GetItemData(command));
    if (m_pManager->RemoveShortcut(cmdID, fVirt, key))
        m_lbAssignments.DeleteString(static_cast<UINT>(entry));
}

void CQZAccelPropertyPage2::OnResetAll()
{
    m_pManager->ResetToDefaults();
    OnSelChangeCategory();
}

BOOL CQZAccelPropertyPage2::OnSetActive()
{
    CQZAccelPropertySheet* sheet = QZAccelSheetOf(this);
    CQZAccelPropertyPage1* other = sheet ? &sheet->m_page1 : nullptr;
    if (other)
        m_nCategory = other->m_nCategory;
    UpdateData(FALSE);
    FillCommands();
    if (other && other->m_lcCommands.m_hWnd) {
        const int row = other->m_lcCommands.GetNextItem(-1, LVNI_SELECTED);
        if (row >= 0) {
            const DWORD_PTR cmdID = other->m_lcCommands.GetItemData(row);
            for (int i = 0; i < m_lbCommands.GetCount(); ++i) {
                if (m_lbCommands.GetItemData(i) == cmdID) {
                    m_lbCommands.SetCurSel(i);
                    break;
                }
            }
            OnSelChangeCommands();
        }
    }
    return CQZResizePropertyPage::OnSetActive();
}
