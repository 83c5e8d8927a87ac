// The toolkit bar: construction, fonts, the routing of notifications to the owner, the
// docked side, status text, idle update and the private messages it answers.
#include "toolkit/bars/QZControlBar.h"

#include "framework/FrameWnd.h"
#include "framework/DockBar.h"
#include "framework/MiniFrameWnd.h"
#include "framework/View.h"
#include "framework/WinThread.h"
#include "toolkit/bars/QZDockContextWndHook.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/foundation/QZAuxData.h"

IMPLEMENT_DYNAMIC(CQZControlBar, CControlBar)

BEGIN_MESSAGE_MAP(CQZControlBar, CControlBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCPAINT()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SETCURSOR()
    ON_WM_RBUTTONDOWN()
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_QZ_GETBANDINFO, OnGetBandInfo)
    ON_MESSAGE(WM_QZ_BANDCHILDSIZE, OnBandChildSizeMessage)
    ON_MESSAGE(WM_QZ_CANTOOLKITDRAG, OnCanToolkitDrag)
    ON_MESSAGE(WM_QZ_GETFLOATSIZE, OnGetFloatSize)
    ON_MESSAGE(WM_QZ_DRAGDONE, OnDragDone)
END_MESSAGE_MAP()

namespace {

// Whether any descendant of the window has the control id.
bool HasDescendantWithId(HWND window, int id)
{
    struct Search {
        int id;
        bool found;
    } search = {id, false};
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            s->found = ::GetDlgCtrlID(child) == s->id;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int ParentId(const CWnd* bar)
{
    HWND parent = ::GetParent(bar->m_hWnd);
    return parent ? ::GetDlgCtrlID(parent) : 0;
}

} // namespace

CQZControlBar::CQZControlBar()
{
    SetBarFont();
}

CQZControlBar::~CQZControlBar()
{
    DeleteDockHooks();
}

void CQZControlBar::DoPaint(CDC* pDC) {}

LRESULT CQZControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (RouteToOwner(message, wParam, lParam, &result))
        return result;
    return CControlBar::WindowProc(message, wParam, lParam);
}

BOOL CQZControlBar::CreateToolBarWindow(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, const RECT& rcBorders,
                                        UINT nID)
{
    SetBorders(&rcBorders);
    m_dwStyle = dwStyle & CBRS_ALL;
    if (nID == AFX_IDW_TOOLBAR)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    // The frame places the bar; the control must not move or size itself.
    const DWORD windowStyle = (dwStyle & 0xFFFF0000) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
                              CCS_NORESIZE | dwCtrlStyle;
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    return CWnd::Create(TOOLBARCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CQZControlBar::SetStatusText(int nHit)
{
    if (!CControlBar::SetStatusText(nHit))
        return FALSE;
    // An owner without a status bar shows nothing: the main window gets the text instead.
    CWnd* owner = GetOwner();
    CWnd* mainWnd = AfxGetMainWnd();
    if (owner && !HasDescendantWithId(owner->m_hWnd, AFX_IDW_STATUS_BAR) && mainWnd && mainWnd->m_hWnd) {
        if (nHit == -1)
            mainWnd->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
        else
            mainWnd->SendMessage(WM_SETMESSAGESTRING, static_cast<WPARAM>(nHit));
    }
    return TRUE;
}

void CQZControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    CControlBar::SetBorders(cxLeft, cyTop, cxRight, cyBottom);
}

void CQZControlBar::SetBorders(LPCRECT lpRect)
{
    SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

CRect CQZControlBar::GetBorders() const
{
    return CControlBar::GetBorders();
}

DWORD CQZControlBar::GetBarStyleEx() const
{
    return m_dwStyleEx;
}

DWORD CQZControlBar::SetBarStyleEx(DWORD dwStyleEx)
{
    const DWORD previous = m_dwStyleEx;
    m_dwStyleEx = dwStyleEx;
    return previous;
}

BOOL CQZControlBar::ModifyBarStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    SetBarStyleEx((m_dwStyleEx & ~dwRemove) | dwAdd);
    if (m_hWnd) {
        // The non-client area (gripper) follows the style.
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
        if (bRedraw)
            Invalidate(TRUE);
    }
    // A toolkit dock bar lays out its row and draws its splitters by the style of its bars.
    if (auto* dockBar = DYNAMIC_DOWNCAST(CQZDockBar, m_pDockBar)) {
        dockBar->m_dwBarStyleEx = m_dwStyleEx;
        if (bRedraw && dockBar->m_hWnd)
            dockBar->Invalidate(TRUE);
    }
    return TRUE;
}

void CQZControlBar::SetContextMenu(UINT nMenuID, int nPopupIndex)
{
    m_nContextMenuID = nMenuID;
    m_nContextMenuIndex = nPopupIndex;
}

UINT CQZControlBar::GetContextMenu() const
{
    return m_nContextMenuID;
}

BOOL CQZControlBar::IsLeftDocked() const
{
    return ParentId(this) == AFX_IDW_DOCKBAR_LEFT;
}

BOOL CQZControlBar::IsRightDocked() const
{
    return ParentId(this) == AFX_IDW_DOCKBAR_RIGHT;
}

BOOL CQZControlBar::IsTopDocked() const
{
    return ParentId(this) == AFX_IDW_DOCKBAR_TOP;
}

BOOL CQZControlBar::IsBottomDocked() const
{
    return ParentId(this) == AFX_IDW_DOCKBAR_BOTTOM;
}

BOOL CQZControlBar::IsHorzDocked() const
{
    return IsTopDocked() || IsBottomDocked();
}

BOOL CQZControlBar::IsVertDocked() const
{
    return IsLeftDocked() || IsRightDocked();
}

BOOL CQZControlBar::IsUndocked() const
{
    return !IsHorzDocked() && !IsVertDocked();
}

COLORREF CQZControlBar::GetBackColor() const
{
    return qzAfxData.xpLook ? qzAfxData.colorXPBarFace : qzAfxData.colorFace;
}

BOOL CQZControlBar::GetBandInfo(REBARBANDINFOA* pBandInfo, BOOL bHorz)
{
    const CSize size = CalcFixedLayout(FALSE, bHorz);
    pBandInfo->fMask |= RBBIM_CHILDSIZE;
    pBandInfo->cxMinChild = static_cast<UINT>(size.cx);
    pBandInfo->cyMinChild = static_cast<UINT>(size.cy);
    return TRUE;
}

void CQZControlBar::OnBandChildSize(QZ_BANDCHILDSIZE* pChildSize, BOOL bHorz) {}

BOOL CQZControlBar::IsToolkitDragAllowed()
{
    return FALSE;
}

BOOL CQZControlBar::AdjustFloatSize(SIZE* pSize)
{
    return FALSE;
}

void CQZControlBar::SetBarFont()
{
    HDC screen = ::GetDC(nullptr);
    const int height = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    struct FontFrom {
        CFont* font;
        const CFont* source;
    };
    const FontFrom fonts[] = {
        {&m_fontBar, &qzAfxData.fontNormal},
        {&m_fontVert, &qzAfxData.fontVert},
        {&m_fontBold, &qzAfxData.fontBold},
    };
    for (const FontFrom& f : fonts) {
        f.font->DeleteObject();
        LOGFONTA logFont = {};
        if (!f.source->GetLogFont(&logFont))
            continue;
        logFont.lfHeight = height;
        (void)f.font->CreateFontIndirect(&logFont);
    }
}

BOOL CQZControlBar::HasGripper() const
{
    return (m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
}

BOOL CQZControlBar::IsHorzBar() const
{
    return (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
}

int CQZControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(qzAfxData.fontNormal.m_hObject), TRUE);
    m_pHomeFrame = GetParentFrame();
    return 0;
}

void CQZControlBar::OnDestroy()
{
    // A frame whose active view lives in this bar must not keep pointing at it. A floating
    // frame is left to the view itself, which lets go of its own frame as it goes.
    CFrameWnd* topFrame = GetTopLevelFrame();
    CFrameWnd* parentFrame = GetParentFrame();
    const bool parentFloats = parentFrame && parentFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd));
    CFrameWnd* const frames[] = {
        topFrame,
        parentFrame != topFrame && !parentFloats ? parentFrame : nullptr,
        m_pHomeFrame != topFrame && m_pHomeFrame != parentFrame ? m_pHomeFrame : nullptr,
    };
    for (CFrameWnd* frame : frames) {
        if (!frame || !frame->m_hWnd)
            continue;
        CView* view = frame->GetActiveView();
        if (view && view->m_hWnd && ::IsChild(m_hWnd, view->m_hWnd))
            frame->SetActiveView(nullptr, TRUE);
    }
    CControlBar::OnDestroy();
}

LRESULT CQZControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    const bool isVisible = (GetStyle() & WS_VISIBLE) != 0;
    UINT show = 0;
    if ((m_nStateFlags & delayHide) && isVisible)
        show = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !isVisible)
        show = SWP_SHOWWINDOW;
    m_nStateFlags &= ~(delayHide | delayShow);
    if (show)
        SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | show);
    if ((GetStyle() & WS_VISIBLE) && (!m_pDockBar || m_pDockBar->IsWindowVisible())) {
        // The owner need not be a frame (a dialog, say): it is the update target all the same.
        CWnd* target = GetOwner();
        if (target)
            OnUpdateCmdUI(reinterpret_cast<CFrameWnd*>(target), static_cast<BOOL>(wParam));
    }
    return 0;
}

LRESULT CQZControlBar::OnGetBandInfo(WPARAM wParam, LPARAM lParam)
{
    m_bInReBar = TRUE;
    return GetBandInfo(reinterpret_cast<REBARBANDINFOA*>(lParam), wParam != 0);
}

LRESULT CQZControlBar::OnBandChildSizeMessage(WPARAM wParam, LPARAM lParam)
{
    OnBandChildSize(reinterpret_cast<QZ_BANDCHILDSIZE*>(lParam), wParam != 0);
    return 0;
}

LRESULT CQZControlBar::OnCanToolkitDrag(WPARAM wParam, LPARAM lParam)
{
    return IsToolkitDragAllowed();
}

LRESULT CQZControlBar::OnGetFloatSize(WPARAM wParam, LPARAM lParam)
{
    return AdjustFloatSize(reinterpret_cast<SIZE*>(lParam));
}

LRESULT CQZControlBar::OnDragDone(WPARAM wParam, LPARAM lParam)
{
    UpdateDockHooks();
    return 0;
}
