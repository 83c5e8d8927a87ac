// The workspace view: its controls, painting, layout and the state it starts in.
#include "Workspace.h"

#include "AppCommands.h"
#include "Document.h"
#include "Option.h"
#include "WebEndpoint.h"

#include "banner/AffiliateLink.h"

#include "database/mGrovePlus.h"

#include "lib/src/ReplaceableValue.h"
#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iCheckBox.h"
#include "lib/src/Win2/Wnd/iComboBox.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iFont.h"
#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "lib/src/Win2/Wnd/iStatic.h"

IMPLEMENT_DYNCREATE(Workspace, iView)

BEGIN_MESSAGE_MAP(Workspace, iView)
    ON_WM_CTLCOLOR()
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_COMMAND_RANGE(ID_FILE_NEW, ID_FILE_MRU_LAST, OnFileCommand)
    ON_COMMAND_RANGE(ID_EXTRA_FIRST, ID_EXTRA_LAST, OnExtraCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_NEW, ID_FILE_MRU_LAST, OnUpdateFileCommand)
    ON_COMMAND(ID_APP_BANNER_HISTORY, OnBannerHistory)
    ON_UPDATE_COMMAND_UI(ID_APP_BANNER_HISTORY, OnUpdateBannerHistory)
    ON_REGISTERED_MESSAGE(g_shellRefreshMessage, OnShellRefresh)
END_MESSAGE_MAP()

namespace {

// Every control of the view has this id: they report through connectors, not ids.
constexpr UINT kControlId = static_cast<UINT>(-1);
constexpr DWORD kInput = WS_VISIBLE | WS_DISABLED;
// The inputs Tab reaches; their labels are passed over.
constexpr DWORD kTabInput = kInput | WS_TABSTOP;
constexpr COLORREF kDetailTextColour = RGB(0, 0, 255);

// The controls that grow with the window keep their left and top; the rest never move.
constexpr int kGroupBottomMargin = 70;
constexpr int kBrowserBottomMargin = 75;
// Folders of the tree: SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN | SHCONTF_INIT_ON_FIRST_NEXT.
constexpr DWORD kTreeEnumFlags = 0xE0;
// Files only: SHCONTF_NONFOLDERS.
constexpr DWORD kListEnumFlags = 0x40;
constexpr int kResultGroupMargin = 5;
constexpr int kResultRightMargin = 10;
constexpr int kResultBottomMargin = 12;
// The banner cache's engine: buffers, files and sectors.
constexpr int kEngineBuffers = 16;
constexpr int kEngineFiles = 16;
constexpr int kEngineSectors = 32;

iDBEngine* MakeCacheEngine()
{
    return new mGrovePlus(kEngineBuffers, kEngineFiles, kEngineSectors);
}

Workspace::EngineMaker FirstEngineMaker()
{
    return MakeCacheEngine;
}

using EngineMakerInForce = ReplaceableValue<Workspace::EngineMaker, FirstEngineMaker>;

void MoveEdges(CWnd* control, int right, int bottom)
{
    if (!control || !control->m_hWnd)
        return;
    CRect rect;
    control->GetWindowRect(&rect);
    control->GetParent()->ScreenToClient(&rect);
    if (right >= 0)
        rect.right = right;
    if (bottom >= 0)
        rect.bottom = bottom;
    control->MoveWindow(&rect, TRUE);
}

// Keeps the control's left and height, with its bottom at bottom.
void MoveToBottom(CWnd* control, int bottom)
{
    if (!control || !control->m_hWnd)
        return;
    CRect rect;
    control->GetWindowRect(&rect);
    control->GetParent()->ScreenToClient(&rect);
    rect.OffsetRect(0, bottom - rect.bottom);
    control->MoveWindow(&rect, TRUE);
}

// "Name" takes what the list leaves beside "Size" and room for its scroll bar, so that
// both show whole; "Type" and "Modified" are reached by scrolling.
void FitNameColumn(iShellListCtrl& list)
{
    CRect client;
    list.GetClientRect(&client);
    const int nameWidth = client.Width() - ::GetSystemMetrics(SM_CXVSCROLL) -
                          list.GetColumnWidth(iShellListCtrl::kSizeColumn);
    if (nameWidth > 0)
        list.SetColumnWidth(iShellListCtrl::kNameColumn, nameWidth);
}

} // namespace

PassCountTarget::~PassCountTarget() = default;

Workspace::EngineMaker Workspace::SetEngineMaker(EngineMaker maker)
{
    return EngineMakerInForce::Replace(maker);
}

Workspace::Workspace() = default;

Workspace::~Workspace()
{
    // The banner's worker reads and writes its cache through the engine until its own
    // clean-up is done: the strip waits for it, and only then does the engine go. A worker
    // that did not end in time keeps its engine, which is then never deleted.
    const bool workerEnded = !m_banner || m_banner->StopAndWait();
    delete m_banner;
    m_banner = nullptr;
    if (workerEnded)
        delete m_engine;
    else
        OutputDebugStringA("workspace: the banner's worker is still running; its database engine is kept\n");
    m_engine = nullptr;
    delete m_font;
}

Document* Workspace::GetDocument() const
{
    return static_cast<Document*>(m_pDocument);
}

BOOL Workspace::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!iView::PreCreateWindow(cs))
        return FALSE;
    // The view has no sunken edge of its own.
    cs.dwExStyle &= ~(WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE);
    return TRUE;
}

int Workspace::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (iView::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_font = new iFont(6, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    CreateControls();
    const WebEndpoint endpoint = GetWebEndpoint();
    m_banner->Start(endpoint.host, m_engine, endpoint.port);
    m_isOpen = false;
    m_isModified = false;
    ApplyOptions(true);
    return 0;
}

void Workspace::CreateControls()
{
    m_dimensionsGroup = new iGroupBox(this, CRect(5, 5, 245, 195), WS_VISIBLE, "New Dimensions", kControlId);
    m_widthLabel = new iStatic(this, CRect(12, 20, 62, 41), kInput | SS_RIGHT, "Width", kControlId);
    m_widthEdit = new iEdit(this, CRect(70, 20, 135, 41), kTabInput | ES_NUMBER | ES_RIGHT, "", kControlId);
    m_widthUnit = new iComboBox(this, CRect(145, 20, 240, 145), kTabInput | CBS_DROPDOWNLIST, "", kControlId);
    m_heightLabel = new iStatic(this, CRect(12, 45, 62, 66), kInput | SS_RIGHT, "Height", kControlId);
    m_heightEdit = new iEdit(this, CRect(70, 45, 135, 66), kTabInput | ES_NUMBER | ES_RIGHT, "", kControlId);
    m_heightUnit = new iComboBox(this, CRect(145, 45, 240, 170), kTabInput | CBS_DROPDOWNLIST, "", kControlId);
    m_resolutionLabel = new iStatic(this, CRect(12, 70, 62, 91), kInput | SS_RIGHT, "Resolution", kControlId);
    m_resolutionEdit = new iEdit(this, CRect(70, 70, 135, 91), kTabInput | ES_NUMBER | ES_RIGHT, "", kControlId);
    m_resolutionUnit = new iComboBox(this, CRect(145, 70, 240, 195), kTabInput | CBS_DROPDOWNLIST, "", kControlId);
    m_resizeButton = new iPushButton(this, CRect(70, 100, 135, 121), kTabInput, "Resize", kControlId);
    m_resetButton = new iPushButton(this, CRect(145, 100, 220, 121), kTabInput, "Reset", kControlId);
    m_proportions = new iCheckBox(this, CRect(12, 130, 212, 151), kTabInput, "Contrain Proportions", kControlId);
    m_methodLabel = new iStatic(this, CRect(12, 160, 102, 181), kInput | SS_RIGHT, "Resample Method", kControlId);
    m_method = new iComboBox(this, CRect(110, 160, 240, 285), kTabInput | CBS_DROPDOWNLIST, "", kControlId);
    m_explorerGroup = new iGroupBox(this, CRect(5, 200, 245, 350), WS_VISIBLE, "Explorer", kControlId);
    m_folderTree = new iShellTreeCtrl(this, CRect(10, 215, 240, 345),
                                      WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                          TVS_SHOWSELALWAYS,
                                      "", kControlId,
                                      WS_EX_CLIENTEDGE, nullptr);
    m_previewGroup = new iGroupBox(this, CRect(250, 5, 473, 195), WS_VISIBLE, "Preview", kControlId);
    m_preview = new BitmapCtrl(this, CRect(255, 20, 468, 187), WS_VISIBLE, "", kControlId, WS_EX_CLIENTEDGE, nullptr);
    m_originalGroup = new iGroupBox(this, CRect(250, 200, 473, 315), WS_VISIBLE, "Original Image", kControlId);
    new iStatic(this, CRect(257, 215, 312, 233), WS_VISIBLE | SS_RIGHT, "Name", kControlId);
    m_nameValue = new iStatic(this, CRect(320, 215, 463, 229), WS_VISIBLE, "", kControlId);
    new iStatic(this, CRect(257, 235, 312, 253), WS_VISIBLE | SS_RIGHT, "Format", kControlId);
    m_formatValue = new iStatic(this, CRect(320, 235, 463, 249), WS_VISIBLE, "", kControlId);
    new iStatic(this, CRect(257, 255, 312, 273), WS_VISIBLE | SS_RIGHT, "Size", kControlId);
    m_sizeValue = new iStatic(this, CRect(320, 255, 463, 269), WS_VISIBLE, "", kControlId);
    new iStatic(this, CRect(257, 275, 312, 293), WS_VISIBLE | SS_RIGHT, "Dimensions", kControlId);
    m_dimensionsValue = new iStatic(this, CRect(320, 275, 463, 289), WS_VISIBLE, "", kControlId);
    m_filesGroup = new iGroupBox(this, CRect(250, 320, 473, 365), WS_VISIBLE, "Files", kControlId);
    m_fileList = new iShellListCtrl(this, CRect(255, 335, 468, 360),
                                    WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL, "",
                                    kControlId, WS_EX_CLIENTEDGE, nullptr);
    m_resultGroup = new iGroupBox(this, CRect(478, 5, 635, 365), WS_VISIBLE, "Result", kControlId);
    m_result = new BitmapCtrl(this, CRect(483, 20, 630, 357), WS_VISIBLE, "", kControlId, WS_EX_CLIENTEDGE, nullptr);
    m_engine = EngineMakerInForce::Get()();
    // The strip's text names the web host its pages come from.
    m_banner = new AffiliateLink(this, kBannerRect, WS_VISIBLE, GetWebEndpoint().host, kControlId);

    m_widthEdit->SetOnChange(iConnector(this, &Workspace::OnDimensionChanged));
    m_heightEdit->SetOnChange(iConnector(this, &Workspace::OnDimensionChanged));
    m_widthEdit->SetOnKillFocus(iConnector(this, &Workspace::OnSizeEditLeft));
    m_heightEdit->SetOnKillFocus(iConnector(this, &Workspace::OnSizeEditLeft));
    const struct {
        SizeUnit unit;
        const char* text;
    } sizeUnits[] = {{kPixels, "Pixels"}, {kCentimetre, "cm"},  {kInch, "Inch"},
                     {kPercent, "Percent"}, {kPicas, "Picas"}, {kPoints, "Points"}};
    for (iComboBox* unit : {m_widthUnit, m_heightUnit}) {
        for (const auto& entry : sizeUnits)
            unit->AddItem(entry.unit, entry.text);
        unit->SetCurSel(3);
        unit->SetOnSelChange(iConnector(this, &Workspace::OnDimensionUnitChanged));
    }
    m_resolutionEdit->SetOnChange(iConnector(this, &Workspace::OnResolutionChanged));
    m_resolutionUnit->AddItem(kPixelsPerInch, "Pixels/inch");
    m_resolutionUnit->AddItem(kPixelsPerCentimetre, "Pixels/cm");
    m_resolutionUnit->SetOnSelChange(iConnector(this, &Workspace::OnResolutionUnitChanged));
    m_resizeButton->SetOnClicked(iConnector(this, &Workspace::OnResize));
    m_resetButton->SetOnClicked(iConnector(this, &Workspace::OnReset));
    m_method->AddItem(kNormal, "Normal");
    m_method->AddItem(kBilinear, "Bilinear");
    m_method->AddItem(kBicubic, "Bicubic");
    m_method->AddItem(kTamrow, "Tamrow");
    m_method->AddItem(kTamrowProgressive, "Tamrow Progressive");
    m_method->SelectByData(kTamrowProgressive);
    m_proportions->SetCheck(BST_CHECKED);
    m_folderTree->SetListCtrl(m_fileList);
    m_fileList->SetTreeCtrl(m_folderTree);
    m_folderTree->SetEnumFlags(kTreeEnumFlags, true);
    m_fileList->SetFullRowSelect(TRUE);
    m_fileList->SetOnItemChanged(this, &Workspace::OnFileItemChanged);
    m_fileList->SetOnDblClk(iNotifyConnector(this, &Workspace::OnFileDoubleClick));
    m_fileList->SetOnReturn(iNotifyConnector(this, &Workspace::OnFileReturn));
    m_fileList->m_enumFlags = kListEnumFlags;
    FitNameColumn(*m_fileList);
    m_result->SetOnPanEnd(iConnector(this, &Workspace::OnResultViewChanged));
}

void Workspace::OnInitialUpdate()
{
    iView::OnInitialUpdate();
    if (CDocument* document = GetDocument())
        document->SetTitle("");
}

void Workspace::OnDraw(CDC*) {}

BOOL Workspace::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    ::FillRect(pDC->m_hDC, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    return TRUE;
}

HBRUSH Workspace::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = iView::OnCtlColor(pDC, pWnd, nCtlColor);
    if (pWnd && (pWnd == m_nameValue || pWnd == m_formatValue || pWnd == m_sizeValue || pWnd == m_dimensionsValue))
        pDC->SetTextColor(kDetailTextColour);
    return brush;
}

LRESULT Workspace::OnGetFont(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_font ? m_font->m_hObject : nullptr);
}

void Workspace::OnSize(UINT nType, int cx, int cy)
{
    iView::OnSize(nType, cx, cy);
    // Sizes sent while the view is being created find no controls yet.
    if (!m_folderTree || !m_result)
        return;
    CRect client;
    GetClientRect(&client);
    MoveEdges(m_explorerGroup, -1, client.bottom - kGroupBottomMargin);
    MoveEdges(m_folderTree, -1, client.bottom - kBrowserBottomMargin);
    MoveEdges(m_filesGroup, -1, client.bottom - kGroupBottomMargin);
    MoveEdges(m_fileList, -1, client.bottom - kBrowserBottomMargin);
    MoveToBottom(m_banner, client.bottom - kBannerBottomMargin);
    MoveEdges(m_resultGroup, client.right - kResultGroupMargin, client.bottom - kResultGroupMargin);
    MoveEdges(m_result, client.right - kResultRightMargin, client.bottom - kResultBottomMargin);
    m_result->RecalcLayout();
    RefreshPreview();
}
