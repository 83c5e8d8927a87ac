// The toolkit floating frame's set-up and its mouse: caption buttons that light up under
// the pointer, press and act on release; caption drags, border resizes and double clicks
// through the bar's drag context; tips; the look followed at idle time.
#include "toolkit/docking/QZMiniDockFrameWnd.h"

#include "framework/DockContext.h"
#include "toolkit/bars/QZExpMenuWnd.h"
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/docking/QZDragInput.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/foundation/QZResourceSwitch.h"
#include "toolkit/res/ToolkitResources.h"

#include <vector>

IMPLEMENT_DYNCREATE(CQZMiniDockFrameWnd, CMiniDockFrameWnd)

BEGIN_MESSAGE_MAP(CQZMiniDockFrameWnd, CMiniDockFrameWnd)
    ON_MESSAGE(WM_QZ_INITCONTROL, OnInitControl)
    ON_MESSAGE(WM_QZ_CHEVRONCLOSED, OnDropDownClosed)
    ON_WM_NCPAINT()
    ON_WM_NCACTIVATE()
    ON_WM_NCMOUSEMOVE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCLBUTTONDBLCLK()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_COMMAND(ID_QZ_CUSTOMIZE_TOOLBAR, OnCustomize)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

void ClearStates(QZ_CAPTIONBUTTON* button)
{
    button->bHot = FALSE;
    button->bPressed = FALSE;
    button->bHighlighted = FALSE;
}

bool HasState(const QZ_CAPTIONBUTTON* button)
{
    return button->bHot || button->bPressed || button->bHighlighted;
}

} // namespace

CQZMiniDockFrameWnd::CQZMiniDockFrameWnd()
{
    QZResourceSwitch resources;
    resources.Enter();
    m_imageList.Create(IDB_QZ_CAPTION_GLYPHS, 10, 1, RGB(255, 0, 255));
    resources.Leave();
}

CQZMiniDockFrameWnd::~CQZMiniDockFrameWnd()
{
    DeleteButtons();
}

void CQZMiniDockFrameWnd::DeleteButtons()
{
    for (POSITION pos = m_listButtons.GetHeadPosition(); pos;)
        delete static_cast<QZ_CAPTIONBUTTON*>(m_listButtons.GetNext(pos));
    m_listButtons.RemoveAll();
    m_pPressedButton = nullptr;
}

BOOL CQZMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    if (!CMiniDockFrameWnd::Create(pParent, dwBarStyle))
        return FALSE;
    // The bar is docked in right after: the set-up waits for it.
    PostMessage(WM_QZ_INITCONTROL);
    m_wndToolTip.Create(this);
    return TRUE;
}

int CQZMiniDockFrameWnd::GetLook()
{
    return qzAfxData.xpLook ? 1 : 2;
}

BOOL CQZMiniDockFrameWnd::IsToolBar(CControlBar* pBar)
{
    return m_hWnd && pBar && pBar->IsKindOf(RUNTIME_CLASS(CQZToolBar));
}

BOOL CQZMiniDockFrameWnd::IsMenuBar(CControlBar* pBar)
{
    return m_hWnd && pBar && pBar->IsKindOf(RUNTIME_CLASS(CQZMenuBar));
}

BOOL CQZMiniDockFrameWnd::IsDockWindow(CControlBar* pBar)
{
    return m_hWnd && pBar && pBar->IsKindOf(RUNTIME_CLASS(CQZDockWindow));
}

CDockBar* CQZMiniDockFrameWnd::GetDockBar()
{
    return &m_wndDockBar;
}

CControlBar* CQZMiniDockFrameWnd::GetControlBar()
{
    if (!m_hWnd)
        return nullptr;
    for (int i = 1; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        if (CControlBar* bar = m_wndDockBar.GetDockedControlBar(i))
            return bar;
    }
    return nullptr;
}

CDockContext* CQZMiniDockFrameWnd::GetDockContext(CControlBar* pBar)
{
    return m_hWnd && pBar ? pBar->m_pDockContext : nullptr;
}

bool CQZMiniDockFrameWnd::PaintsOwnCaption()
{
    CControlBar* bar = GetControlBar();
    return IsToolBar(bar) || IsMenuBar(bar);
}

bool CQZMiniDockFrameWnd::HoldsSeveralBars()
{
    return (m_wndDockBar.GetBarStyle() & CBRS_FLOAT_MULTI) != 0;
}

LRESULT CQZMiniDockFrameWnd::OnInitControl(WPARAM wParam, LPARAM lParam)
{
    CControlBar* bar = GetControlBar();
    if (IsDockWindow(bar)) {
        // A docking window's frame sizes from its corners too.
        ModifyStyle(MFS_4THICKFRAME, 0);
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(qzAfxData.fontNormal.m_hObject), TRUE);
    } else if (IsToolBar(bar) || IsMenuBar(bar)) {
        if (IsToolBar(bar)) {
            DeleteButtons();
            auto* close = new QZ_CAPTIONBUTTON;
            close->nKind = QZ_CAPTIONBUTTON::close;
            close->pFrame = this;
            close->pBar = bar;
            m_listButtons.AddTail(close);
            if (static_cast<CQZToolBar*>(bar)->GetChevronState()) {
                auto* options = new QZ_CAPTIONBUTTON;
                options->nKind = QZ_CAPTIONBUTTON::options;
                options->pFrame = this;
                options->pBar = bar;
                m_listButtons.AddTail(options);
            }
        }
        // The caption is the frame's own: no system menu and no system buttons.
        ModifyStyle(WS_SYSMENU, 0);
    }
    m_nLook = GetLook();
    if (IsWindowVisible()) {
        Invalidate(TRUE);
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    }
    return 0;
}

void CQZMiniDockFrameWnd::ClearHighlightedButtons()
{
    bool changed = false;
    for (POSITION pos = m_listButtons.GetHeadPosition(); pos;) {
        auto* button = static_cast<QZ_CAPTIONBUTTON*>(m_listButtons.GetNext(pos));
        if (button->bHighlighted) {
            ClearStates(button);
            changed = true;
        }
    }
    if (changed)
        SendMessage(WM_NCPAINT, 1);
}

LRESULT CQZMiniDockFrameWnd::OnDropDownClosed(WPARAM wParam, LPARAM lParam)
{
    // Forgotten before the repaint, or the options button would be painted open again.
    m_pDropDown = nullptr;
    m_pPressedButton = nullptr;
    ClearHighlightedButtons();
    return 0;
}

BOOL CQZMiniDockFrameWnd::OnNcActivate(BOOL bActive)
{
    // The caption is painted in the active colours whatever the activation.
    if (GetStyle() & MFS_SYNCACTIVE)
        return (m_nFlags & WF_KEEPMINIACTIVE) ? FALSE : TRUE;
    return CMiniFrameWnd::OnNcActivate(bActive);
}

void CQZMiniDockFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point)
{
    if (m_pDropDown) {
        Default();
        return;
    }
    const bool isDown = ::GetKeyState(VK_LBUTTON) < 0;
    bool changed = false;
    bool isOverButton = false;
    for (POSITION pos = m_listButtons.GetHeadPosition(); pos;) {
        auto* button = static_cast<QZ_CAPTIONBUTTON*>(m_listButtons.GetNext(pos));
        const CRect rect = button->GetRect();
        if (!rect.PtInRect(point) || button->bHidden) {
            if (HasState(button)) {
                ClearStates(button);
                changed = true;
            }
            continue;
        }
        isOverButton = true;
        if (isDown && button != m_pPressedButton) {
            // Another button's press passes over this one.
            if (HasState(button)) {
                ClearStates(button);
                changed = true;
            }
        } else if ((!isDown && button->bPressed) || (isDown && !button->bPressed)) {
            button->bPressed = isDown;
            changed = true;
        } else if (!button->bHot) {
            button->bHot = TRUE;
            changed = true;
            ShowCaptionTip(point.x, point.y, button->nKind == QZ_CAPTIONBUTTON::close);
        }
    }
    if (changed)
        SendMessage(WM_NCPAINT, 1);
    if (!isOverButton && m_wndToolTip.m_hWnd)
        m_wndToolTip.Pop();
    Default();
}

void CQZMiniDockFrameWnd::ShowCaptionTip(int x, int y, BOOL bClose)
{
    CControlBar* bar = GetControlBar();
    if (!bar || !(bar->GetBarStyle() & CBRS_TOOLTIPS) || !m_wndToolTip.m_hWnd)
        return;
    m_wndToolTip.Pop();
    if (m_wndToolTip.GetToolCount()) {
        m_wndToolTip.DelTool(this);
        m_wndToolTip.Activate(FALSE);
    }
    CString text;
    QZResourceSwitch resources;
    resources.Enter();
    text.LoadString(bClose ? IDS_QZ_CLOSE : IDS_QZ_TOOLBAR_OPTIONS);
    resources.Leave();
    m_wndToolTip.AddTool(this, text);
    m_wndToolTip.Activate(TRUE);
    MSG msg = {};
    msg.hwnd = m_hWnd;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
    msg.pt = {x, y};
    m_wndToolTip.RelayEvent(&msg);
}

void CQZMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION) {
        m_pPressedButton = nullptr;
        bool changed = false;
        for (POSITION pos = m_listButtons.GetHeadPosition(); pos;) {
            auto* button = static_cast<QZ_CAPTIONBUTTON*>(m_listButtons.GetNext(pos));
            if (button->GetRect().PtInRect(point) && !button->bHidden) {
                if (!button->bPressed || button->bHot) {
                    button->bPressed = TRUE;
                    m_pPressedButton = button;
                    changed = true;
                }
            } else if (HasState(button)) {
                ClearStates(button);
                changed = true;
            }
        }
        // A press anywhere else on the caption closes the options button's popup.
        for (POSITION pos = m_listButtons.GetHeadPosition(); pos;) {
            auto* button = static_cast<QZ_CAPTIONBUTTON*>(m_listButtons.GetNext(pos));
            if (button->nKind == QZ_CAPTIONBUTTON::options && !HasState(button) &&
                CQZExpMenuWnd::IsOpen(m_pDropDown))
                m_pDropDown->SendMessage(WM_CLOSE);
        }
        if (changed)
            SendMessage(WM_NCPAINT, 1);
        if (m_pPressedButton)
            return;
        ActivateTopParent();
        // A frame of several bars moves as a window, as the framework's frame does.
        if (HoldsSeveralBars()) {
            CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
            return;
        }
        CControlBar* bar = GetControlBar();
        CDockContext* context = GetDockContext(bar);
        if (!context)
            return;
        // The drag may dock the bar elsewhere and destroy this frame: only the bar is used after.
        const HWND barWindow = bar->m_hWnd;
        context->StartDrag(point);
        if (::IsWindow(barWindow))
            ::SetFocus(barWindow);
        return;
    }
    if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
        ActivateTopParent();
        CControlBar* bar = GetControlBar();
        if (IsDockWindow(bar)) {
            if (CDockContext* context = GetDockContext(bar))
                context->StartResize(static_cast<int>(nHitTest), point);
            return;
        }
    }
    CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CQZMiniDockFrameWnd::OnNcLButtonUp(UINT nHitTest, CPoint point)
{
    if (nHitTest == HTCAPTION && !HoldsSeveralBars() && IsToolBar(GetControlBar())) {
        for (POSITION pos = m_listButtons.GetHeadPosition(); pos;) {
            auto* button = static_cast<QZ_CAPTIONBUTTON*>(m_listButtons.GetNext(pos));
            if (!button->GetRect().PtInRect(point) || !button->bPressed || button->bHidden)
                continue;
            if (button->nKind == QZ_CAPTIONBUTTON::close) {
                // The framework's floating frame hides its bars when it closes.
                PostMessage(WM_CLOSE);
                ClearStates(button);
                m_pPressedButton = nullptr;
            } else if (!m_pDropDown) {
                // The popup hangs from the button; in the XP look it meets the caption's frame.
                CRect rect = button->GetRect();
                if (GetLook() == 1) {
                    rect.left -= 2;
                    rect.right -= 3;
                    rect.bottom -= 1;
                }
                m_pDropDown = CQZExpMenuWnd::Open(this, WM_QZ_CHEVRONCLOSED, rect,
                                                  static_cast<CQZToolBar*>(GetControlBar()));
                button->bHot = TRUE;
                button->bPressed = FALSE;
                SendMessage(WM_NCPAINT, 1);
            }
        }
    }
    Default();
}

void CQZMiniDockFrameWnd::OnDestroy()
{
    // A popup outliving its frame would report to a window that is gone.
    if (CQZExpMenuWnd::IsOpen(m_pDropDown))
        m_pDropDown->DestroyWindow();
    m_pDropDown = nullptr;
    CMiniDockFrameWnd::OnDestroy();
}

void CQZMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (nHitTest != HTCAPTION)
        return;
    ActivateTopParent();
    // A frame of several bars does what the framework's frame does: every bar goes back.
    if (HoldsSeveralBars()) {
        CMiniDockFrameWnd::OnNcLButtonDblClk(nHitTest, point);
        return;
    }
    if (CDockContext* context = GetDockContext(GetControlBar()))
        context->ToggleDocking();
}

LRESULT CQZMiniDockFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    CMiniDockFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
    if (m_nLook != 0 && GetLook() != m_nLook)
        OnInitControl(0, 0);
    POINT pointer = {};
    CRect window;
    GetWindowRect(&window);
    if (QZGetDragCursorPos(&pointer) && !window.PtInRect(pointer) && !m_pDropDown)
        ClearHighlightedButtons();
    return 0;
}

void CQZMiniDockFrameWnd::OnCustomize()
{
    for (POSITION pos = m_listButtons.GetHeadPosition(); pos;) {
        auto* button = static_cast<QZ_CAPTIONBUTTON*>(m_listButtons.GetNext(pos));
        if (button->nKind != QZ_CAPTIONBUTTON::options)
            continue;
        ClearStates(button);
        if (button->pBar && button->pBar->m_hWnd)
            button->pBar->SendMessage(TB_CUSTOMIZE);
        return;
    }
}
