// The hidden-buttons popup: its making, placing and layout, its frame in both looks, the
// rules that close it, and the hook on the toolbar's owner that relays chosen commands.
#include "toolkit/bars/QZExpMenuWnd.h"

#include "framework/FrameWnd.h"
#include "framework/PaintDC.h"
#include "toolkit/colour/QZColorPopup.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZResourceSwitch.h"
#include "toolkit/foundation/QZShadow.h"
#include "toolkit/res/ToolkitResources.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CQZHiddenButtonsToolbar, CQZToolBar)
IMPLEMENT_DYNAMIC(CQZHiddenButtonsWndHook, CQZWndHook)
IMPLEMENT_DYNAMIC(CQZExpMenuWnd, CWnd)

BEGIN_MESSAGE_MAP(CQZExpMenuWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_ERASEBKGND()
    ON_WM_ACTIVATE()
    ON_WM_ACTIVATEAPP()
    ON_WM_KILLFOCUS()
    ON_COMMAND(ID_QZ_CUSTOMIZE_TOOLBAR, OnCustomize)
END_MESSAGE_MAP()

namespace {

constexpr UINT kPopupClassStyle = CS_VREDRAW | CS_HREDRAW | CS_CLASSDC | CS_SAVEBITS;
// The bar of hidden buttons: a floating top-aligned bar with tips and flyby text.
constexpr DWORD kHiddenBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_FLYBY | CBRS_TOOLTIPS |
                                  CBRS_SIZE_DYNAMIC | CBRS_FLOATING;
// The customise bar: the same, not floating.
constexpr DWORD kCustomizeBarStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_FLYBY | CBRS_TOOLTIPS |
                                     CBRS_SIZE_DYNAMIC;
// Rows of copied buttons are at most six buttons or this many pixels wide.
constexpr int kMaxRowWidth = 250;
constexpr int kButtonsPerRow = 6;
// What a rectangle of this size keeps of itself as client area tells the frame's size.
constexpr int kProbeSize = 100;

// The popups alive now: an opener may hold a pointer to one that has gone.
std::vector<const CQZExpMenuWnd*>& LivePopups()
{
    static std::vector<const CQZExpMenuWnd*> popups;
    return popups;
}

} // namespace

COLORREF QZGetPopupBackColor()
{
    return qzAfxData.xpLook ? qzAfxData.colorXPMenuBack : qzAfxData.colorMenu;
}

CQZHiddenButtonsToolbar::~CQZHiddenButtonsToolbar() = default;

COLORREF CQZHiddenButtonsToolbar::GetBackColor() const
{
    return QZGetPopupBackColor();
}

BOOL CQZHiddenButtonsToolbar::HasOwnBackground()
{
    return TRUE;
}

CQZColorPopup* CQZHiddenButtonsToolbar::ShowColorPopup(QZ_DROPDOWNBUTTON* pInfo, RECT rcButton)
{
    CQZColorPopup* popup = CQZToolBar::ShowColorPopup(pInfo, rcButton);
    if (popup && m_pMenuWnd && m_pMenuWnd->m_pToolBar)
        popup->AddNotifyWindow(m_pMenuWnd->m_pToolBar->m_hWnd);
    return popup;
}

CQZHiddenButtonsWndHook::~CQZHiddenButtonsWndHook() = default;

LRESULT CQZHiddenButtonsWndHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCACTIVATE:
        // The owner keeps its active caption while the popup is the active window.
        wParam = TRUE;
        break;
    case WM_COMMAND: {
        CQZExpMenuWnd* popup = m_pMenuWnd;
        const HWND bar = popup ? popup->m_wndHiddenButtons.m_hWnd : nullptr;
        if (!popup || !popup->m_hWnd || !bar)
            break;
        const UINT id = LOWORD(wParam);
        // Only a button of the popup, a menu or an accelerator is a command chosen while the
        // popup is open. A notification from any other control passes unchanged (its code
        // dropped, it would turn into an unrelated command), and so does one from a control
        // the popup holds (its id is a child of the bar).
        const HWND from = reinterpret_cast<HWND>(lParam);
        if ((from && from != bar) || ::GetDlgItem(bar, static_cast<int>(id)))
            break;
        // Posted: the command runs once the popup has gone, and with it this hook.
        const HWND owner = m_hWnd;
        ::PostMessageA(owner, WM_COMMAND, id, 0);
        popup->DestroyWindow();
        return 0;
    }
    case WM_QZ_COLORCLOSEUP:
        if (m_pMenuWnd && m_pMenuWnd->m_hWnd)
            m_pMenuWnd->PostMessage(WM_CLOSE);
        break;
    default:
        break;
    }
    return CQZWndHook::WindowProc(msg, wParam, lParam);
}

CQZExpMenuWnd::CQZExpMenuWnd(CWnd* pNotifyWnd, UINT nNotifyMsg) : m_nNotifyMsg(nNotifyMsg), m_pNotifyWnd(pNotifyWnd)
{
    m_wndHiddenButtons.m_pMenuWnd = this;
    m_hookOwner.m_pMenuWnd = this;
    m_rectButton.SetRectEmpty();
    LivePopups().push_back(this);
}

CQZExpMenuWnd::~CQZExpMenuWnd()
{
    std::vector<const CQZExpMenuWnd*>& popups = LivePopups();
    popups.erase(std::remove(popups.begin(), popups.end(), this), popups.end());
}

BOOL CQZExpMenuWnd::IsOpen(const CQZExpMenuWnd* pPopup)
{
    const std::vector<const CQZExpMenuWnd*>& popups = LivePopups();
    return pPopup && std::find(popups.begin(), popups.end(), pPopup) != popups.end() && pPopup->m_hWnd &&
           ::IsWindow(pPopup->m_hWnd);
}

CQZExpMenuWnd* CQZExpMenuWnd::Open(CWnd* pNotifyWnd, UINT nNotifyMsg, const CRect& rcButton, CQZToolBar* pToolBar)
{
    auto* popup = new CQZExpMenuWnd(pNotifyWnd, nNotifyMsg);
    if (popup->Create(rcButton, pToolBar))
        return popup;
    // A failed creation leaves no window, and PostNcDestroy kept the popup while it was
    // being made: it is deleted here.
    delete popup;
    return nullptr;
}

BOOL CQZExpMenuWnd::Create(CRect rcButton, CQZToolBar* pToolBar)
{
    m_pToolBar = pToolBar;
    m_bCreating = true;
    const BOOL created = CreateEx(0, AfxRegisterWndClass(kPopupClassStyle), "", WS_POPUP | WS_DLGFRAME,
                                  CRect(0, 0, 0, 0), pToolBar, 0);
    m_bCreating = false;
    if (!created)
        return FALSE;

    const int buttonWidth = LOWORD(pToolBar->SendMessage(TB_GETBUTTONSIZE));
    int limit = std::min(kButtonsPerRow * buttonWidth, kMaxRowWidth);
    pToolBar->CopyHiddenButtons(&m_wndHiddenButtons, limit);
    // The rows were broken no narrower than the widest hidden button; the layout keeps them.
    for (POSITION position = pToolBar->m_mapHiddenButtons.GetStartPosition(); position;) {
        int index = 0;
        QZ_HIDDENBUTTON hidden;
        pToolBar->m_mapHiddenButtons.GetNextAssoc(position, index, hidden);
        limit = std::max(limit, hidden.nWidth);
    }
    CSize size = m_wndHiddenButtons.CalcDynamicLayout(limit, LM_HORZ);
    if (pToolBar->GetChevronState()) {
        const CSize customize = m_wndCustomize.CalcDynamicLayout(limit, LM_HORZ);
        size = CSize(std::max(size.cx, customize.cx), size.cy + customize.cy);
        // One full-width item of a menu item's height.
        m_wndCustomize.SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(0, ::GetSystemMetrics(SM_CYMENU)));
        m_wndCustomize.SendMessage(TB_SETBUTTONWIDTH, 0, MAKELONG(size.cx, size.cx));
    }
    size += GetNonClientSize();
    m_rectButton = rcButton;
    if (CFrameWnd* frame = pToolBar->GetDockingFrame())
        m_wndHiddenButtons.OnUpdateCmdUI(frame, TRUE);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(qzAfxData.fontNormal.m_hObject), TRUE);

    // Next to the button, on the side away from the bar's dock side.
    const int width = size.cx + 2;
    const int height = size.cy + 3;
    CPoint at;
    if (pToolBar->IsBottomDocked())
        at = CPoint(rcButton.right - width + 1, rcButton.top - height + 1);
    else if (pToolBar->IsRightDocked())
        at = CPoint(rcButton.left - width + 1, rcButton.bottom - height + 1);
    else if (pToolBar->IsLeftDocked())
        at = CPoint(rcButton.right, rcButton.bottom - height + 1);
    else
        at = CPoint(rcButton.right - width + 1, rcButton.bottom);
    SetWindowPos(nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_SHOWWINDOW);
    return TRUE;
}

BOOL CQZExpMenuWnd::CreateBar(CQZHiddenButtonsToolbar& bar, DWORD dwCtrlStyle, DWORD dwBarStyle)
{
    return bar.CreateEx(this, dwCtrlStyle, dwBarStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR);
}

int CQZExpMenuWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CQZToolBar* source = m_pToolBar;
    if (!source)
        return -1;
    m_hookOwner.HookWindow(source->GetOwner());
    if (qzAfxData.xpLook) {
        // A one-pixel frame of its own instead of the dialog frame, and a drop shadow.
        ModifyStyle(WS_CAPTION | WS_THICKFRAME, 0, SWP_FRAMECHANGED);
        ModifyStyleEx(WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME, 0, SWP_FRAMECHANGED);
        if (qzAfxData.popupShadows)
            new CQZWndShadow(m_hWnd, TRUE, TRUE);
    }

    // A popup without its bars would show nothing of what it stands for: it is not made.
    const DWORD flatList = static_cast<DWORD>(source->SendMessage(TB_GETSTYLE)) & (TBSTYLE_FLAT | TBSTYLE_LIST);
    if (!CreateBar(m_wndHiddenButtons, flatList, kHiddenBarStyle))
        return -1;
    m_wndHiddenButtons.SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(source->m_sizeImage.cx, source->m_sizeImage.cy));
    m_wndHiddenButtons.SendMessage(TB_SETBUTTONSIZE, 0, source->SendMessage(TB_GETBUTTONSIZE));
    m_wndHiddenButtons.SendMessage(TB_SETEXTENDEDSTYLE, 0, source->SendMessage(TB_GETEXTENDEDSTYLE));
    // Its commands go where the toolbar's own go, not to the popup.
    m_wndHiddenButtons.SetOwner(source->GetOwner());

    if (source->GetChevronState()) {
        // A line under the hidden buttons, when there are any, parts them from the item.
        const DWORD border = source->HasHiddenButtons() ? CBRS_BORDER_TOP : 0;
        if (!CreateBar(m_wndCustomize, TBSTYLE_FLAT | TBSTYLE_LIST, kCustomizeBarStyle | border))
            return -1;
        const UINT customize = ID_QZ_CUSTOMIZE_TOOLBAR;
        m_wndCustomize.SetButtons(&customize, 1);
        CString text;
        QZResourceSwitch resources;
        resources.Enter();
        text.LoadString(IDS_QZ_CUSTOMIZE);
        resources.Leave();
        m_wndCustomize.SetButtonText(0, text);
    }
    return 0;
}

void CQZExpMenuWnd::OnDestroy()
{
    m_bDestroying = true;
    m_hookOwner.HookWindow(static_cast<HWND>(nullptr));
    // Controls shown in the popup go back, hidden, to the toolbar they came from.
    if (m_wndHiddenButtons.m_hWnd && m_pToolBar && m_pToolBar->m_hWnd) {
        std::vector<HWND> controls;
        for (HWND child = ::GetWindow(m_wndHiddenButtons.m_hWnd, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (::GetDlgCtrlID(child) != ID_QZ_CUSTOMIZE_TOOLBAR)
                controls.push_back(child);
        }
        for (HWND control : controls) {
            ::ShowWindow(control, SW_HIDE);
            ::SetParent(control, m_pToolBar->m_hWnd);
        }
    }
    // A popup that never opened has nothing to report: its opener knows from Create.
    if (!m_bCreating && m_nNotifyMsg && m_pNotifyWnd && m_pNotifyWnd->m_hWnd)
        m_pNotifyWnd->PostMessage(m_nNotifyMsg);
    CWnd::OnDestroy();
}

void CQZExpMenuWnd::PostNcDestroy()
{
    if (!m_bCreating)
        delete this;
}

BOOL CQZExpMenuWnd::DestroyWindow()
{
    if (m_bDestroying)
        return TRUE;
    m_bDestroying = true;
    return CWnd::DestroyWindow();
}

void CQZExpMenuWnd::OnClose()
{
    DestroyWindow();
}

CSize CQZExpMenuWnd::GetNonClientSize()
{
    RECT probe = {0, 0, kProbeSize, kProbeSize};
    SendMessage(WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&probe));
    return CSize(kProbeSize - (probe.right - probe.left), kProbeSize - (probe.bottom - probe.top));
}

void CQZExpMenuWnd::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CWnd::OnWindowPosChanged(lpwndpos);
    if (lpwndpos->cx <= 0 || lpwndpos->cy <= 0 || !m_wndHiddenButtons.m_hWnd)
        return;
    const int clientWidth = lpwndpos->cx - GetNonClientSize().cx;
    const CSize hidden = m_wndHiddenButtons.CalcDynamicLayout(clientWidth, LM_HORZ | LM_COMMIT);
    m_wndHiddenButtons.SetWindowPos(nullptr, 1, 1, clientWidth, hidden.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_pToolBar && m_pToolBar->GetChevronState() && m_wndCustomize.m_hWnd) {
        const CSize customize = m_wndCustomize.CalcDynamicLayout(clientWidth, LM_HORZ | LM_COMMIT);
        const int top = hidden.cy > 3 ? hidden.cy + 2 : 1;
        m_wndCustomize.SetWindowPos(nullptr, 1, top, clientWidth - 2, customize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CQZExpMenuWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    if (!qzAfxData.xpLook) {
        CWnd::OnNcCalcSize(bCalcValidRects, lpncsp);
        return;
    }
    ::InflateRect(&lpncsp->rgrc[0], -1, -1);
}

void CQZExpMenuWnd::OnNcPaint()
{
    if (qzAfxData.xpLook) {
        CWindowDC dc(this);
        CRect window;
        GetWindowRect(&window);
        const CRect frame(0, 0, window.Width(), window.Height());
        dc.Draw3dRect(&frame, qzAfxData.colorXPBorder, qzAfxData.colorXPBorder);
        if (!m_rectButton.IsRectEmpty()) {
            CRect popup = window;
            popup.bottom -= 1;
            DrawPopupOwnerGap(&dc, qzAfxData.colorXPBarFace, &m_rectButton, &popup);
        }
    }
    Default();
}

BOOL CQZExpMenuWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, QZGetPopupBackColor());
    return static_cast<BOOL>(Default());
}

void CQZExpMenuWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        DestroyWindow();
}

void CQZExpMenuWnd::OnActivateApp(BOOL bActive, DWORD dwThreadID)
{
    CWnd::OnActivateApp(bActive, dwThreadID);
    if (!bActive)
        DestroyWindow();
}

void CQZExpMenuWnd::OnKillFocus(CWnd* pNewWnd)
{
    // Losing the focus does not close the popup; a capture of its own goes with the focus.
    Default();
    const HWND capture = ::GetCapture();
    if (capture && (capture == m_hWnd || ::IsChild(m_hWnd, capture)))
        ::ReleaseCapture();
}

void CQZExpMenuWnd::OnCustomize()
{
    if (m_pNotifyWnd && m_pNotifyWnd->m_hWnd)
        m_pNotifyWnd->PostMessage(WM_COMMAND, ID_QZ_CUSTOMIZE_TOOLBAR);
    DestroyWindow();
}
