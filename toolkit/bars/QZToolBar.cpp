// The toolbar's creation, its sizes and image strip, the toolbar resource it loads, the
// geometry of its window (the bar's borders and gripper are its non-client area) and the
// chevron it creates with its window.
#include "toolkit/bars/QZToolBar.h"

#include "framework/FrameWnd.h"
#include "framework/ResourceModule.h"
#include "framework/WinApp.h"
#include "toolkit/bars/QZExpButton.h"
#include "toolkit/colour/QZColorPopup.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZSysColorBitmap.h"
#include "toolkit/res/ToolkitResources.h"

#include <vector>

IMPLEMENT_DYNAMIC(CQZToolBar, CQZControlBar)

BEGIN_MESSAGE_MAP(CQZToolBar, CQZControlBar)
    ON_WM_NCHITTEST()
    ON_WM_NCCALCSIZE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_NCCREATE()
    ON_WM_DESTROY()
    ON_WM_LBUTTONUP()
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_MESSAGE(TB_SETBUTTONSIZE, OnSetButtonSize)
    ON_MESSAGE(TB_SETBITMAPSIZE, OnSetBitmapSize)
    ON_MESSAGE(TB_SETDRAWTEXTFLAGS, OnSetDrawTextFlags)
    ON_MESSAGE(WM_QZ_COLORCLOSEUP, OnColorPopupClosed)
    ON_MESSAGE(WM_QZ_COLORCHANGED, OnColorChanged)
    ON_MESSAGE(WM_SETTINGCHANGE, OnPreserveZeroBorderHelper)
    ON_MESSAGE(WM_SETFONT, OnPreserveZeroBorderHelper)
    ON_NOTIFY_REFLECT(TBN_BEGINADJUST, OnBeginAdjust)
    ON_NOTIFY_REFLECT(TBN_BEGINDRAG, OnBeginDrag)
    ON_NOTIFY_REFLECT(TBN_CUSTHELP, OnCustHelp)
    ON_NOTIFY_REFLECT(TBN_ENDADJUST, OnEndAdjust)
    ON_NOTIFY_REFLECT(TBN_ENDDRAG, OnEndDrag)
    ON_NOTIFY_REFLECT(TBN_GETBUTTONINFOA, OnGetButtonInfo)
    ON_NOTIFY_REFLECT(TBN_QUERYDELETE, OnQueryDelete)
    ON_NOTIFY_REFLECT(TBN_QUERYINSERT, OnQueryInsert)
    ON_NOTIFY_REFLECT(TBN_RESET, OnReset)
    ON_NOTIFY_REFLECT(TBN_TOOLBARCHANGE, OnToolbarChange)
    ON_NOTIFY_REFLECT(TBN_HOTITEMCHANGE, OnHotItemChange)
    ON_NOTIFY_REFLECT(TBN_DROPDOWN, OnDropDown)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
END_MESSAGE_MAP()

namespace {

// The layout of a toolbar resource: 16-bit words.
struct ToolBarResourceHeader {
    WORD wVersion;
    WORD wWidth;
    WORD wHeight;
    WORD wItemCount;
};

// The common controls' version from which a toolbar adds borders of its own unless it is
// flat and transparent while it sizes itself.
constexpr int kComCtl472 = 0x40048;

// Puts the window style back on every way out.
class SavedWindowStyle {
public:
    explicit SavedWindowStyle(HWND window) : m_window(window), m_style(::GetWindowLongPtrA(window, GWL_STYLE)) {}
    ~SavedWindowStyle() { ::SetWindowLongPtrA(m_window, GWL_STYLE, m_style); }
    SavedWindowStyle(const SavedWindowStyle&) = delete;
    SavedWindowStyle& operator=(const SavedWindowStyle&) = delete;

private:
    HWND m_window;
    LONG_PTR m_style;
};

class LockedResource {
public:
    LockedResource(HINSTANCE module, HRSRC resource)
    {
        m_global = resource ? ::LoadResource(module, resource) : nullptr;
        m_data = m_global ? ::LockResource(m_global) : nullptr;
        m_size = m_data ? ::SizeofResource(module, resource) : 0;
    }
    ~LockedResource()
    {
        if (m_global)
            ::FreeResource(m_global);
    }
    LockedResource(const LockedResource&) = delete;
    LockedResource& operator=(const LockedResource&) = delete;

    const void* data() const { return m_data; }
    DWORD size() const { return m_size; }

private:
    HGLOBAL m_global = nullptr;
    const void* m_data = nullptr;
    DWORD m_size = 0;
};

} // namespace

CQZToolBar::CQZToolBar()
{
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
}

CQZToolBar::~CQZToolBar()
{
    EmptySnapshot();
    delete m_pColorPopup;
    if (m_hbmImageWell)
        ::DeleteObject(m_hbmImageWell);
    delete m_pStringMap;
    m_nCount = 0;
}

BOOL CQZToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    const CRect borders = GetBorders();
    return CreateEx(pParentWnd, 0, dwStyle, borders, nID);
}

BOOL CQZToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, RECT rcBorders, UINT nID)
{
    if (!CreateToolBarWindow(pParentWnd, dwCtrlStyle, dwStyle, rcBorders, nID))
        return FALSE;
    SetSizes(m_sizeButton, m_sizeImage);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_fontBar.m_hObject), TRUE);

    // Where a customised layout is kept. Without the application's registry key there is
    // nowhere to keep it, and the names stay empty.
    CWinApp* app = AfxGetApp();
    if (app && app->m_pszRegistryKey && app->m_pszProfileName) {
        CString format;
        if (format.LoadString(IDS_QZ_BAR_VALUE_NAME))
            m_strRegValue.Format(format, app->m_pszProfileName, static_cast<int>(nID & 0xFFFF));
        if (format.LoadString(IDS_QZ_SETTINGS_KEY))
            m_strRegKey.Format(format, app->m_pszRegistryKey, app->m_pszProfileName);
    }
    return TRUE;
}

BOOL CQZToolBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CControlBar::PreCreateWindow(cs))
        return FALSE;
    if (m_bCustomizable)
        cs.style |= CCS_ADJUSTABLE | TBSTYLE_ALTDRAG;
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    return TRUE;
}

void CQZToolBar::SetOwner(CWnd* pOwnerWnd)
{
    if (m_hWnd)
        SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(pOwnerWnd->GetSafeHwnd()));
    m_hWndOwner = pOwnerWnd->GetSafeHwnd();
}

void CQZToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    if (!m_hWnd) {
        m_sizeButton = sizeButton;
        m_sizeImage = sizeImage;
        return;
    }
    if (qzAfxData.xpLook && (GetStyle() & TBSTYLE_LIST)) {
        sizeButton.cx -= 4;
        SendMessage(TB_SETPADDING, 0, MAKELPARAM(3, 7));
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(sizeButton.cx, sizeButton.cy));
    Invalidate(TRUE);
}

LRESULT CQZToolBar::DefaultKeepingZeroBorder()
{
    if (qzAfxData.GetComCtlVersion() < kComCtl472)
        return Default();
    const LONG_PTR style = ::GetWindowLongPtrA(m_hWnd, GWL_STYLE);
    const LONG_PTR flat = style | TBSTYLE_TRANSPARENT | TBSTYLE_FLAT;
    if (flat != style)
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, flat);
    const LRESULT result = Default();
    if (flat != style)
        ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
    return result;
}

LRESULT CQZToolBar::OnSetButtonSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefaultKeepingZeroBorder();
    if (result)
        m_sizeButton = CSize(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    return result;
}

LRESULT CQZToolBar::OnSetBitmapSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefaultKeepingZeroBorder();
    if (result)
        m_sizeImage = CSize(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    return result;
}

LRESULT CQZToolBar::OnPreserveZeroBorderHelper(WPARAM wParam, LPARAM lParam)
{
    return DefaultKeepingZeroBorder();
}

LRESULT CQZToolBar::OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam)
{
    m_dwDrawTextMask = static_cast<DWORD>(wParam);
    m_dwDrawTextFlags = static_cast<DWORD>(lParam);
    return Default();
}

BOOL CQZToolBar::LoadToolBar(LPCSTR lpszResourceName)
{
    if (!m_hWnd)
        return FALSE;
    SavedWindowStyle savedStyle(m_hWnd);
    ModifyStyle(0, TBSTYLE_TRANSPARENT | TBSTYLE_FLAT);
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(module, lpszResourceName, MAKEINTRESOURCEA(0xF1));
    LockedResource locked(module, resource);
    if (!locked.data())
        return FALSE;

    BOOL result = FALSE;
    // The resource is checked against its own size: a header that claims more items than
    // it holds is refused, not read past its end.
    const auto* header = static_cast<const ToolBarResourceHeader*>(locked.data());
    if (locked.size() >= sizeof(ToolBarResourceHeader) &&
        locked.size() >= sizeof(ToolBarResourceHeader) + header->wItemCount * sizeof(WORD)) {
        const WORD* items = reinterpret_cast<const WORD*>(header + 1);
        std::vector<UINT> ids(items, items + header->wItemCount);
        result = SetButtons(ids.data(), static_cast<int>(ids.size()));
        if (result) {
            SetSizes(CSize(header->wWidth + 7, header->wHeight + 7), CSize(header->wWidth, header->wHeight));
            result = SetBitmap(lpszResourceName);
        }
    }
    SaveOriginalButtons();
    return result;
}

BOOL CQZToolBar::SetBitmap(LPCSTR lpszResourceName)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(module, lpszResourceName, MAKEINTRESOURCEA(2));
    if (!resource)
        return FALSE;
    HBITMAP bitmap = QZLoadSysColorBitmap(module, resource, FALSE);
    if (!bitmap)
        return FALSE;
    if (!AddReplaceBitmap(bitmap)) {
        ::DeleteObject(bitmap);
        return FALSE;
    }
    m_hInstImageWell = module;
    m_hRsrcImageWell = resource;
    return TRUE;
}

BOOL CQZToolBar::AddReplaceBitmap(HBITMAP hbmImageWell)
{
    BITMAP info = {};
    if (!::GetObjectA(hbmImageWell, sizeof info, &info) || m_sizeImage.cx <= 0)
        return FALSE;
    const int imageCount = info.bmWidth / m_sizeImage.cx;
    BOOL accepted;
    if (!m_hbmImageWell) {
        TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(hbmImageWell)};
        accepted = SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(imageCount), reinterpret_cast<LPARAM>(&add)) == 0;
    } else {
        TBREPLACEBITMAP replace = {nullptr, reinterpret_cast<UINT_PTR>(m_hbmImageWell), nullptr,
                                   reinterpret_cast<UINT_PTR>(hbmImageWell), imageCount};
        accepted = SendMessage(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace)) != 0;
    }
    if (accepted) {
        if (m_hbmImageWell)
            ::DeleteObject(m_hbmImageWell);
        m_hbmImageWell = hbmImageWell;
    }
    return accepted;
}

void CQZToolBar::OnSysColorChange()
{
    if (m_hInstImageWell && m_hbmImageWell) {
        HBITMAP bitmap = QZLoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell, FALSE);
        if (bitmap && !AddReplaceBitmap(bitmap))
            ::DeleteObject(bitmap);
    }
    Default();
}

BOOL CQZToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!Default())
        return FALSE;
    // Straight to the control: it must know both before its first button arrives.
    if (m_hWndOwner)
        DefWindowProc(TB_SETPARENT, reinterpret_cast<WPARAM>(m_hWndOwner), 0);
    DefWindowProc(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return TRUE;
}

int CQZToolBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CQZControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (IsChevronAllowed()) {
        // The chevron deletes itself with its window; one that got none is deleted here.
        auto* chevron = new CQZExpButton;
        if (!chevron->Create(this, ID_QZ_CUSTOMIZE_TOOLBAR)) {
            delete chevron;
            return -1;
        }
    }
    return 0;
}

LRESULT CQZToolBar::OnNcHitTest(CPoint point)
{
    return HTCLIENT;
}

void CQZToolBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    RECT& client = lpncsp->rgrc[0];
    client.left += inside.left;
    client.top += inside.top;
    client.right += inside.right;
    client.bottom += inside.bottom;
}

void CQZToolBar::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    CWnd::OnWindowPosChanging(lpwndpos);
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(lpwndpos->flags & SWP_NOSIZE))
        Invalidate(TRUE);
}

BOOL CQZToolBar::IsToolkitDragAllowed()
{
    return TRUE;
}

CWnd* CQZToolBar::ChildWithId(int nID) const
{
    HWND child = m_hWnd ? ::GetDlgItem(m_hWnd, nID) : nullptr;
    return child ? CWnd::FromHandle(child) : nullptr;
}
