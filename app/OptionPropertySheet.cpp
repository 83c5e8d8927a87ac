// The options sheet and its two pages.
#include "OptionPropertySheet.h"

#include "FileTypeTable.h"

#include "lib/src/Win2/Wnd/ImageFormatTables.h"
#include "lib/src/Win2/Wnd/TypedFieldExchange.h"
#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iCheckBox.h"
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iFolderButton.h"
#include "lib/src/Win2/Wnd/iListCtrl.h"
#include "lib/src/Win2/Wnd/iStatic.h"

#include <algorithm>

namespace {

constexpr UINT kOptionControlId = static_cast<UINT>(-1);
// WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK
constexpr DWORD kPageStyle = 0x90C80084;
constexpr int kColumnWidth = 160;
constexpr DWORD kField = WS_VISIBLE | WS_TABSTOP;

} // namespace

OptionPropertySheet::Page::Page(OptionPropertySheet* sheet, LPCSTR caption, Option* store)
    : iPropertyPage(sheet, CRect(0, 0, 540, 390), kPageStyle, caption), m_store(store)
{
}

OptionPropertySheet::Page::~Page() = default;

OptionPropertySheet::Common::Common(OptionPropertySheet* sheet, Option* store) : Page(sheet, "Common", store) {}

OptionPropertySheet::Common::~Common() = default;

void OptionPropertySheet::Common::CreateControls()
{
    new iGroupBox(this, CRect(6, 25, 534, 115), WS_VISIBLE, "File Location", kOptionControlId);
    new iStatic(this, CRect(18, 42, 118, 64), WS_VISIBLE | SS_RIGHT, "Default open in", kOptionControlId);
    m_openIn = new iFolderEdit(this, CRect(130, 42, 430, 64), kField | ES_AUTOHSCROLL, "", kOptionControlId);
    new iFolderButton(this, CRect(435, 42, 510, 65), kField | iFolderButton::kLinkedStyle, "&Browse",
                      kOptionControlId);
    new iStatic(this, CRect(18, 79, 118, 101), WS_VISIBLE | SS_RIGHT, "Default save in", kOptionControlId);
    m_saveIn = new iFolderEdit(this, CRect(130, 79, 430, 101), kField | ES_AUTOHSCROLL, "", kOptionControlId);
    // Its own mnemonic: with one shared, Alt+B would only move between the two buttons.
    new iFolderButton(this, CRect(435, 79, 510, 102), kField | iFolderButton::kLinkedStyle, "B&rowse",
                      kOptionControlId);
    new iGroupBox(this, CRect(6, 120, 534, 205), WS_VISIBLE, "File Display", kOptionControlId);
    m_graphicsOnly = new iCheckBox(this, CRect(18, 135, 218, 157), kField, "Display Graphics Only", kOptionControlId);
    m_fullPathInTitle =
        new iCheckBox(this, CRect(18, 170, 218, 192), kField, "Display Full Path in Title", kOptionControlId);
    new iGroupBox(this, CRect(6, 210, 534, 305), WS_VISIBLE, "Preview Display", kOptionControlId);
    new iStatic(this, CRect(18, 225, 118, 247), WS_VISIBLE | SS_RIGHT, "Display Size", kOptionControlId);
    m_displaySize = new iComboBox(this, CRect(130, 225, 230, 345), kField | CBS_DROPDOWNLIST, "", kOptionControlId);
    m_displaySize->AddItem(Option::kDisplayAutomatic, "Automatic");
    m_displaySize->AddItem(Option::kDisplayHalf, "1/2");
    m_displaySize->AddItem(Option::kDisplayQuarter, "1/4");
    m_displaySize->AddItem(Option::kDisplayEighth, "1/8");
    m_displaySize->AddItem(Option::kDisplayComplete, "Complete");
    m_automaticPreview =
        new iCheckBox(this, CRect(18, 250, 218, 272), kField, "Automatic Preview Display", kOptionControlId);
    new iGroupBox(this, CRect(6, 310, 534, 385), WS_VISIBLE, "Save", kOptionControlId);
    m_backupCopy = new iCheckBox(this, CRect(18, 325, 418, 347), kField, "Always Backup Copy", kOptionControlId);
    m_confirmOverwrite = new iCheckBox(this, CRect(18, 350, 418, 372), kField, "Confirm Overwrite", kOptionControlId);
}

void OptionPropertySheet::Common::DoDataExchange(CDataExchange* pDX)
{
    Option::Common& common = m_store->m_common;
    ExchangeStringEdit(pDX, m_openIn, &common.m_defaultOpenIn);
    ExchangeStringEdit(pDX, m_saveIn, &common.m_defaultSaveIn);
    ExchangeCheckBox(pDX, m_graphicsOnly, &common.m_displayGraphicsOnly);
    ExchangeCheckBox(pDX, m_fullPathInTitle, &common.m_displayFullPathInTitle);
    ExchangeComboData(pDX, m_displaySize, &common.m_displaySize);
    ExchangeCheckBox(pDX, m_automaticPreview, &common.m_automaticPreviewDisplay);
    ExchangeCheckBox(pDX, m_backupCopy, &common.m_alwaysBackupCopy);
    ExchangeCheckBox(pDX, m_confirmOverwrite, &common.m_confirmOverwrite);
}

OptionPropertySheet::FileType::FileType(OptionPropertySheet* sheet, Option* store) : Page(sheet, "File Types", store)
{
}

OptionPropertySheet::FileType::~FileType() = default;

void OptionPropertySheet::FileType::CreateControls()
{
    new iGroupBox(this, CRect(6, 25, 534, 363), WS_VISIBLE, "Type of Files", kOptionControlId);
    m_list = new iListCtrl(this, CRect(18, 52, 522, 312), kField | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, "",
                           kOptionControlId, WS_EX_CLIENTEDGE, nullptr);
    m_list->SetFullRowSelect(TRUE);
    m_list->SetCheckBoxes(TRUE);
    m_list->InsertColumn(0, "Display Format", LVCFMT_LEFT, kColumnWidth);
    m_list->InsertColumn(1, "Description", LVCFMT_LEFT, kColumnWidth);
    m_list->InsertColumn(2, "Extension", LVCFMT_LEFT, kColumnWidth);
    int row = 0;
    for (const FileTypeRow& type : FileTypeTable) {
        if (!(type.flags & kFileTypeListed))
            continue;
        m_list->InsertItem(row, FileFormatName(type.fileType));
        m_list->SetItemText(row, 1, FileFormatDescription(type.fileType));
        m_list->SetItemText(row, 2, FileFormatPattern(type.fileType));
        m_list->SetItemData(row, static_cast<DWORD_PTR>(type.fileType));
        ++row;
    }
    auto* selectAll = new iPushButton(this, CRect(130, 320, 250, 345), kField, "&Select All", kOptionControlId);
    selectAll->SetOnClicked(iConnector(this, &FileType::OnSelectAll));
    auto* deselectAll = new iPushButton(this, CRect(290, 320, 410, 345), kField, "&Deselect All", kOptionControlId);
    deselectAll->SetOnClicked(iConnector(this, &FileType::OnDeselectAll));
}

void OptionPropertySheet::FileType::DoDataExchange(CDataExchange* pDX)
{
    ExchangeCheckList(pDX, m_list, &m_store->m_fileType.m_fileType, TRUE);
}

void OptionPropertySheet::FileType::OnSelectAll(CWnd*)
{
    m_list->SetCheck(-1, TRUE);
}

void OptionPropertySheet::FileType::OnDeselectAll(CWnd*)
{
    m_list->SetCheck(-1, FALSE);
}

OptionPropertySheet::OptionPropertySheet(CWnd* parent, Option* store)
    : iPropertySheet(parent, CRect(0, 0, 0, 0), WS_VISIBLE, "Options", 0), m_store(store), m_common(nullptr),
      m_fileType(nullptr)
{
    SetDialogUnits(0);
    m_common = new Common(this, store);
    m_fileType = new FileType(this, store);
}

BOOL OptionPropertySheet::OnInitDialog()
{
    const BOOL result = iPropertySheet::OnInitDialog();
    CRect sheet;
    GetWindowRect(&sheet);
    // A modal sheet's owner is the main window; without a visible one, the screen.
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {sizeof monitor};
    if (!::GetMonitorInfoA(::MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    const CRect work(monitor.rcWork);
    CRect around = work;
    if (owner && ::IsWindowVisible(owner) && !::IsIconic(owner))
        ::GetWindowRect(owner, &around);
    CPoint corner(around.left + (around.Width() - sheet.Width()) / 2, around.top + (around.Height() - sheet.Height()) / 2);
    // Whole on the screen, its caption first when the sheet is larger than the screen.
    corner.x = std::max(work.left, std::min(corner.x, work.right - sheet.Width()));
    corner.y = std::max(work.top, std::min(corner.y, work.bottom - sheet.Height()));
    SetWindowPos(nullptr, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return result;
}

OptionPropertySheet::~OptionPropertySheet()
{
    delete m_fileType;
    delete m_common;
}
