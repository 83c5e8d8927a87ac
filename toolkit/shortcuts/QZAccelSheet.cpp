// The shortcut sheet itself: its pages, heading font and icon, its placement kept under
// "CQZAccelPropertySheet", the thick frame it keeps so that it stays resizable, and a
// start wide enough for the whole heading.
#include "toolkit/shortcuts/QZAccelSheet.h"

#include "framework/ResourceModule.h"
#include "toolkit/foundation/QZResourceSwitch.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit/shortcuts/QZAccelManager.h"

#include <algorithm>

namespace {

constexpr char kAccelSheetSection[] = "CQZAccelPropertySheet";

} // namespace

CString QZAccelDisplayName(const CString& strFullName, const CString& strCategory)
{
    // Only the leading "category\" goes: the rest of the path keeps its backslashes.
    if (strCategory.IsEmpty())
        return strFullName;
    const CString prefix = strCategory + "\\";
    if (strFullName.GetLength() >= prefix.GetLength() && strFullName.Left(prefix.GetLength()) == prefix)
        return strFullName.Mid(prefix.GetLength());
    return strFullName;
}

CString QZAccelDescription(UINT nCmdID)
{
    CString text;
    text.LoadString(nCmdID);
    const int end = text.FindOneOf("\t\n");
    return end >= 0 ? text.Left(end) : text;
}

CQZAccelPropertySheet* QZAccelSheetOf(CWnd* pPage)
{
    CWnd* sheet = pPage->GetParent();
    return sheet && sheet->IsKindOf(RUNTIME_CLASS(CQZAccelPropertySheet)) ? static_cast<CQZAccelPropertySheet*>(sheet)
                                                                         : nullptr;
}

void QZAccelFitHeading(CQZResizePropertyPage* pPage, CFont* pFont, int rightPx)
{
    CWnd* heading = pPage->GetDlgItem(IDC_QZ_ACCEL_HEADING);
    if (!heading)
        return;
    heading->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont->GetSafeHandle()), FALSE);
    // One line: a word that does not fit must not drop out of sight below the control.
    heading->ModifyStyle(SS_TYPEMASK, SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS);
    TEXTMETRICA metrics = {};
    {
        CClientDC dc(heading);
        CFont* previous = dc.SelectObject(pFont);
        dc.GetTextMetrics(&metrics);
        dc.SelectObject(previous);
    }
    CRect rect;
    heading->GetWindowRect(&rect);
    pPage->ScreenToClient(&rect);
    rect.right = std::max(rect.right, static_cast<LONG>(rightPx));
    rect.bottom = std::max(rect.bottom, rect.top + metrics.tmHeight);
    heading->MoveWindow(&rect);
    pPage->SetResize(IDC_QZ_ACCEL_HEADING, nullptr, CQZFloatRect(0, 0, 1, 0));
}

int QZAccelHeadingShortPx(CWnd* pPage, CFont* pFont)
{
    CWnd* heading = pPage->m_hWnd ? pPage->GetDlgItem(IDC_QZ_ACCEL_HEADING) : nullptr;
    if (!heading)
        return 0;
    CString text;
    heading->GetWindowText(text);
    CClientDC dc(heading);
    CFont* previous = dc.SelectObject(pFont);
    const CSize extent = dc.GetTextExtent(text);
    dc.SelectObject(previous);
    CRect client;
    heading->GetClientRect(&client);
    return std::max(0, static_cast<int>(extent.cx - client.Width()));
}

INT_PTR QZRunShortcutSheet(CQZAccelManager* pManager, CWnd* pParentWnd)
{
    // The caption, page templates and labels are the toolkit's.
    QZResourceSwitch resources;
    resources.Enter();
    INT_PTR result;
    {
        CQZAccelPropertySheet sheet(pManager, pParentWnd, FALSE);
        result = sheet.DoModal();
    }
    resources.Leave();
    return result;
}

IMPLEMENT_DYNAMIC(CQZAccelPropertySheet, CQZResizePropertySheet)

BEGIN_MESSAGE_MAP(CQZAccelPropertySheet, CQZResizePropertySheet)
    ON_WM_DESTROY()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CQZAccelPropertySheet::CQZAccelPropertySheet(CQZAccelManager* pManager, CWnd* pParentWnd, BOOL bShowExport)
    : CQZResizePropertySheet(IDS_QZ_ACCEL_SHEET, pParentWnd, 0, 0), m_hIcon(nullptr), m_pManager(pManager)
{
    LOGFONTA logFont = {};
    logFont.lfHeight = 22;
    lstrcpyA(logFont.lfFaceName, "Arial");
    m_fontHeading.CreateFontIndirect(&logFont);

    m_page1.m_bShowExport = bShowExport;
    m_page1.m_pManager = pManager;
    m_page1.m_pFont = &m_fontHeading;
    AddPage(&m_page1);
    m_page2.m_pManager = pManager;
    m_page2.m_pFont = &m_fontHeading;
    AddPage(&m_page2);

    m_hIcon = static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(pManager->GetMenuID()),
                                              IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                              ::GetSystemMetrics(SM_CYSMICON), 0));
}

CQZAccelPropertySheet::~CQZAccelPropertySheet()
{
    if (m_hIcon)
        ::DestroyIcon(m_hIcon);
    m_fontHeading.DeleteObject();
}

BOOL CQZAccelPropertySheet::OnInitDialog()
{
    const BOOL result = CQZResizePropertySheet::OnInitDialog();
    if (m_hIcon)
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    LoadPlacement(kAccelSheetSection);
    // Also after a placement kept from a title that needed less room.
    WidenForHeading(QZAccelHeadingShortPx(&m_page1, &m_fontHeading));
    return result;
}

void CQZAccelPropertySheet::WidenForHeading(int nShortPx)
{
    if (nShortPx <= 0)
        return;
    CRect rect;
    GetWindowRect(&rect);
    // Never wider than the screen it is on: past that the heading ends with "...".
    MONITORINFO monitor = {sizeof monitor};
    if (::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        nShortPx = std::min(nShortPx, static_cast<int>(monitor.rcWork.right - monitor.rcWork.left) - rect.Width());
    if (nShortPx > 0)
        SetWindowPos(nullptr, 0, 0, rect.Width() + nShortPx, rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CQZAccelPropertySheet::OnExport(CQZAccelManager*) {}

void CQZAccelPropertySheet::OnSize(UINT nType, int cx, int cy)
{
    CQZResizePropertySheet::OnSize(nType, cx, cy);
    // A property sheet is made without a sizing frame; this one keeps one.
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | WS_THICKFRAME);
}

void CQZAccelPropertySheet::OnDestroy()
{
    SavePlacement(kAccelSheetSection);
    CQZResizePropertySheet::OnDestroy();
}
