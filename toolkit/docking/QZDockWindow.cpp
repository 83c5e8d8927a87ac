// The docking window: creation with its caption buttons and tips, sizes per side, the
// deferred set-up of a floating window's views, the expand and hide commands, the active
// state, focus on a click, moving its child and buttons, and its sizes in the store.
#include "toolkit/docking/QZDockWindow.h"

#include "framework/AfxGlobalData.h"
#include "framework/CmdUI.h"
#include "framework/CreateContext.h"
#include "framework/Document.h"
#include "framework/Exceptions.h"
#include "framework/FrameWnd.h"
#include "framework/ImageList.h"
#include "framework/MiniFrameWnd.h"
#include "framework/PaintDC.h"
#include "framework/View.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZRegistryManager.h"
#include "toolkit/foundation/QZResourceSwitch.h"

#include "toolkit/res/ToolkitResources.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CQZDockWindow, CQZControlBar)

BEGIN_MESSAGE_MAP(CQZDockWindow, CQZControlBar)
    ON_WM_CREATE()
    ON_WM_NCHITTEST()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
    ON_MESSAGE(WM_QZ_INITCONTROL, OnInitControl)
    ON_COMMAND(ID_QZ_HIDE_DOCK_WINDOW, OnHide)
    ON_UPDATE_COMMAND_UI(ID_QZ_HIDE_DOCK_WINDOW, OnUpdateHide)
    ON_COMMAND(ID_QZ_EXPAND_DOCK_WINDOW, OnExpand)
    ON_UPDATE_COMMAND_UI(ID_QZ_EXPAND_DOCK_WINDOW, OnUpdateExpand)
END_MESSAGE_MAP()

namespace {

constexpr int kCaptionGlyphSize = 10;
constexpr int kCaptionGlyphCount = 9;
constexpr COLORREF kCaptionGlyphMask = RGB(255, 0, 255);
constexpr DWORD kCaptionButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_CENTER | BS_ICON | BS_OWNERDRAW;
// Floating resizes never make the window smaller than this either way.
constexpr int kMinFloatingLength = 50;

// Expand-button states: the glyph shown, whether the command can run, its tip.
struct ExpandButtonLook {
    int state;
    BOOL enabled;
    UINT tip;
};

ExpandButtonLook LookOfExpandButton(int state)
{
    switch (state) {
    case 1:
    case 3:
        return {state, FALSE, ID_QZ_EXPAND_DOCK_WINDOW};
    case 6:
    case 8:
        return {state, TRUE, IDS_QZ_CONTRACT_DOCK_WINDOW};
    default:
        return {state, TRUE, ID_QZ_EXPAND_DOCK_WINDOW};
    }
}

// The visible, enabled child of parent with the largest client area (the first in z-order
// among equals), leaving out bars and caption buttons.
HWND LargestFocusableChild(HWND parent)
{
    HWND best = nullptr;
    long long bestArea = -1;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child) || !::IsWindowEnabled(child))
            continue;
        CWnd* object = CWnd::FromHandlePermanent(child);
        if (object && (object->IsKindOf(RUNTIME_CLASS(CControlBar)) || object->IsKindOf(RUNTIME_CLASS(CQZBarButton))))
            continue;
        RECT client = {};
        ::GetClientRect(child, &client);
        const long long area = static_cast<long long>(client.right - client.left) * (client.bottom - client.top);
        if (area > bestArea) {
            best = child;
            bestArea = area;
        }
    }
    return best;
}

// The value name of the stored record; empty when the toolkit's strings are missing.
CString BarPositionValueName()
{
    QZResourceSwitch resources;
    resources.Enter();
    CString name;
    name.LoadString(IDS_QZ_BAR_POSITION);
    resources.Leave();
    return name;
}

} // namespace

void QZEncodeBarPosition(const QZ_BARPOSITION& position, BYTE bytes[kQZBarPositionBytes])
{
    const uint32_t fields[] = {
        static_cast<uint32_t>(position.sizeVert[0]),    static_cast<uint32_t>(position.sizeVert[1]),
        static_cast<uint32_t>(position.sizeHorz[0]),    static_cast<uint32_t>(position.sizeHorz[1]),
        static_cast<uint32_t>(position.sizeFloat[0]),   static_cast<uint32_t>(position.sizeFloat[1]),
        static_cast<uint32_t>(position.sizeCurrent[0]), static_cast<uint32_t>(position.sizeCurrent[1]),
        static_cast<uint32_t>(position.bAloneInRow),    static_cast<uint32_t>(position.bExpanded),
        position.dwStyleEx,
    };
    static_assert(sizeof fields == kQZBarPositionBytes, "one field per 4 bytes of the record");
    for (size_t i = 0; i < std::size(fields); ++i) {
        for (int b = 0; b < 4; ++b)
            bytes[i * 4 + b] = static_cast<BYTE>(fields[i] >> (8 * b));
    }
}

BOOL QZDecodeBarPosition(const BYTE* pBytes, UINT nBytes, QZ_BARPOSITION* pPosition)
{
    if (!pBytes || nBytes < kQZBarPositionAppliedBytes || nBytes > kQZBarPositionBytes)
        return FALSE;
    auto field = [&](UINT index) -> uint32_t {
        const UINT at = index * 4;
        if (at + 4 > nBytes)
            return 0;
        return static_cast<uint32_t>(pBytes[at]) | static_cast<uint32_t>(pBytes[at + 1]) << 8 |
               static_cast<uint32_t>(pBytes[at + 2]) << 16 | static_cast<uint32_t>(pBytes[at + 3]) << 24;
    };
    int32_t* sizes[] = {&pPosition->sizeVert[0],  &pPosition->sizeVert[1],    &pPosition->sizeHorz[0],
                        &pPosition->sizeHorz[1],  &pPosition->sizeFloat[0],   &pPosition->sizeFloat[1],
                        &pPosition->sizeCurrent[0], &pPosition->sizeCurrent[1], &pPosition->bAloneInRow,
                        &pPosition->bExpanded};
    for (UINT i = 0; i < std::size(sizes); ++i)
        *sizes[i] = static_cast<int32_t>(field(i));
    pPosition->dwStyleEx = field(10);
    return TRUE;
}

CQZDeferWindowPos::~CQZDeferWindowPos()
{
    End();
}

void CQZDeferWindowPos::MoveWindow(CWnd* pWnd, const CRect& rect)
{
    if (!pWnd || !pWnd->m_hWnd)
        return;
    if (!m_hDWP) {
        m_hDWP = ::BeginDeferWindowPos(m_nPlanned);
        if (!m_hDWP)
            AfxThrowResourceException();
    }
    CRect where = rect;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    if (where.IsRectEmpty()) {
        where.SetRectEmpty();
        flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW;
    }
    m_hDWP = ::DeferWindowPos(m_hDWP, pWnd->m_hWnd, nullptr, where.left, where.top, where.Width(), where.Height(),
                              flags);
    if (!m_hDWP)
        AfxThrowResourceException();
}

void CQZDeferWindowPos::End()
{
    if (m_hDWP)
        ::EndDeferWindowPos(m_hDWP);
    m_hDWP = nullptr;
}

CQZDockWindow::CQZDockWindow()
{
    QZResourceSwitch resources;
    resources.Enter();
    CImageList glyphs;
    if (glyphs.Create(IDB_QZ_DOCK_WINDOW_GLYPHS, kCaptionGlyphSize, 1, kCaptionGlyphMask)) {
        for (int i = 0; i < kCaptionGlyphCount; ++i)
            m_hIcons[i] = glyphs.ExtractIcon(i);
    }
    resources.Leave();
}

CQZDockWindow::~CQZDockWindow()
{
    delete m_pHideButton;
    delete m_pExpandButton;
    for (HICON icon : m_hIcons) {
        if (icon)
            ::DestroyIcon(icon);
    }
    if (m_wndToolTip.m_hWnd)
        m_wndToolTip.DestroyWindow();
}

BOOL CQZDockWindow::HasCaption() const
{
    return (m_dwStyleEx & QZ_DWS_CAPTION) != 0;
}

BOOL CQZDockWindow::HasCaptionButtons() const
{
    return (m_dwStyleEx & (QZ_DWS_CAPTION | QZ_DWS_BUTTONS)) == (QZ_DWS_CAPTION | QZ_DWS_BUTTONS);
}

BOOL CQZDockWindow::IsDocked() const
{
    return m_hWnd && !IsUndocked();
}

BOOL CQZDockWindow::Create(CWnd* pParentWnd, UINT nID, LPCSTR lpszTitle, CSize size, DWORD dwStyle, DWORD dwStyleEx)
{
    m_pParentWnd = pParentWnd;
    // Named bits, never a literal: the border-3D bit is a bit of its own in this framework.
    SetBarStyle(LOWORD(dwStyle) | CBRS_BORDER_3D | CBRS_HIDE_INPLACE | CBRS_SIZE_DYNAMIC);
    m_sizeVert = m_sizeHorz = m_sizeCurrent = size;
    const int side = std::min(size.cx, size.cy);
    m_sizeFloat = CSize(side, side);
    if (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT))
        m_sizeHorz = CSize(size.cy, size.cx);
    else
        m_sizeVert = CSize(size.cy, size.cx);
    m_dwStyleEx = dwStyleEx;
    LPCSTR windowClass =
        AfxRegisterWndClass(CS_DBLCLKS | CS_CLASSDC, nullptr, ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
    const DWORD windowStyle = (dwStyle & 0xFFFF0000) | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
    if (!CWnd::Create(windowClass, lpszTitle, windowStyle, CRect(0, 0, size.cx, size.cy), pParentWnd, nID))
        return FALSE;
    ++m_nSetupCount;
    PostMessage(WM_QZ_INITCONTROL, 0, m_nSetupCount);
    return TRUE;
}

int CQZDockWindow::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CQZControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!HasCaptionButtons())
        return 0;
    m_pHideButton = new CQZBarButton(this);
    if (!m_pHideButton->Create("", kCaptionButtonStyle, CRect(0, 0, 0, 0), this, ID_QZ_HIDE_DOCK_WINDOW))
        return -1;
    m_pExpandButton = new CQZBarButton(this);
    if (!m_pExpandButton->Create("", kCaptionButtonStyle, CRect(0, 0, 0, 0), this, ID_QZ_EXPAND_DOCK_WINDOW))
        return -1;
    UpdateButtonStyle();
    m_pHideButton->SetIcon(kCaptionGlyphSize, kCaptionGlyphSize, m_hIcons[0], nullptr, TRUE);
    QZResourceSwitch resources;
    resources.Enter();
    if (m_wndToolTip.Create(this, 0)) {
        m_wndToolTip.Activate(TRUE);
        m_wndToolTip.AddTool(m_pHideButton, ID_QZ_HIDE_DOCK_WINDOW);
        m_wndToolTip.AddTool(m_pExpandButton, ID_QZ_EXPAND_DOCK_WINDOW);
    }
    resources.Leave();
    return 0;
}

LRESULT CQZDockWindow::OnInitControl(WPARAM, LPARAM lParam)
{
    // A floating window's views get their initial update here, unless one came already.
    if (lParam == m_nSetupCount && !IsDocked())
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return 0;
}

LRESULT CQZDockWindow::OnInitialUpdate(WPARAM, LPARAM)
{
    // The bar's own items are brought up to date before it shows, as every bar's are.
    SendMessage(WM_IDLEUPDATECMDUI, TRUE, 0);
    ++m_nSetupCount;
    return 0;
}

BOOL CQZDockWindow::PreTranslateMessage(MSG* pMsg)
{
    if (HasCaptionButtons() && m_wndToolTip.m_hWnd)
        m_wndToolTip.RelayEvent(pMsg);
    return CControlBar::PreTranslateMessage(pMsg);
}

int CQZDockWindow::GetMinExtent() const
{
    if (!HasCaption())
        return 5;
    return IsHorzDocked() ? 18 : 24;
}

BOOL CQZDockWindow::IsExpanded() const
{
    return m_bExpanded;
}

BOOL CQZDockWindow::IsAloneInRow() const
{
    return m_bAloneInRow;
}

void CQZDockWindow::SetDockedSize(const CSize& size)
{
    m_sizeCurrent = size;
    if (IsHorzDocked())
        m_sizeHorz = size;
    else if (IsVertDocked())
        m_sizeVert = size;
    else
        m_sizeFloat = size;
}

void CQZDockWindow::RestoreFloatSize()
{
    m_sizeCurrent = m_sizeFloat;
}

void CQZDockWindow::RestoreNormalSize()
{
    if (IsHorzDocked())
        m_sizeCurrent.cx = m_sizeHorz.cx;
    else if (IsVertDocked())
        m_sizeCurrent.cy = m_sizeVert.cy;
    m_bExpanded = FALSE;
}

int CQZDockWindow::Collapse()
{
    m_bExpanded = FALSE;
    if (IsHorzDocked()) {
        m_sizeCurrent.cx = GetMinExtent();
        return m_sizeHorz.cx - m_sizeCurrent.cx;
    }
    if (IsVertDocked()) {
        m_sizeCurrent.cy = GetMinExtent();
        return m_sizeVert.cy - m_sizeCurrent.cy;
    }
    return 0;
}

void CQZDockWindow::Expand(int nLength)
{
    if (IsHorzDocked())
        m_sizeCurrent.cx = nLength;
    else if (IsVertDocked())
        m_sizeCurrent.cy = nLength;
    m_bExpanded = TRUE;
}

int CQZDockWindow::GetCurrentWidth() const
{
    return m_sizeCurrent.cx;
}

int CQZDockWindow::GetCurrentHeight() const
{
    return m_sizeCurrent.cy;
}

CSize CQZDockWindow::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    CSize result;
    if (dwMode & LM_HORZDOCK) {
        result = m_sizeHorz;
    } else if (dwMode & LM_VERTDOCK) {
        result = m_sizeVert;
    } else if (dwMode & LM_MRUWIDTH) {
        result = m_sizeFloat;
    } else {
        if (dwMode == LM_HORZ)
            m_sizeCurrent.cx = std::max(nLength, kMinFloatingLength);
        else if (dwMode == (LM_HORZ | LM_LENGTHY))
            m_sizeCurrent.cy = std::max(nLength, kMinFloatingLength);
        result = m_sizeCurrent;
    }
    if (dwMode & LM_COMMIT)
        m_sizeFloat = m_sizeCurrent;
    return result;
}

void CQZDockWindow::SetChild(CWnd* pWnd)
{
    m_pChildWnd = pWnd;
}

CWnd* CQZDockWindow::CreateView(CRuntimeClass* pViewClass, CDocument* pDocument, CCreateContext* pContext)
{
    CFrameWnd* frame = GetParentFrame();
    CCreateContext context;
    if (!pContext) {
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDocument;
        context.m_pNewDocTemplate = pDocument ? pDocument->GetDocTemplate() : nullptr;
        context.m_pLastView = frame ? frame->GetActiveView() : nullptr;
        pContext = &context;
    }
    CWnd* view = nullptr;
    TRY
    {
        view = static_cast<CWnd*>(AfxCreateObjectOfKind(pViewClass, RUNTIME_CLASS(CWnd)));
        if (!view)
            AfxThrowMemoryException();
    }
    CATCH_ALL(e)
    {
        e->Delete();
        return nullptr;
    }
    END_CATCH_ALL
    // A view deletes itself when its window cannot be made; any other window object would
    // be left behind, so it is deleted here.
    const bool deletesItself = view->IsKindOf(RUNTIME_CLASS(CView)) != FALSE;
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this,
                      AFX_IDW_PANE_FIRST, pContext)) {
        if (!deletesItself)
            delete view;
        return nullptr;
    }
    view->m_hWndOwner = frame ? frame->m_hWnd : nullptr;
    return view;
}

void CQZDockWindow::SetBarPosition(const QZ_BARPOSITION* pPosition)
{
    m_sizeVert = CSize(pPosition->sizeVert[0], pPosition->sizeVert[1]);
    m_sizeHorz = CSize(pPosition->sizeHorz[0], pPosition->sizeHorz[1]);
    m_sizeFloat = CSize(pPosition->sizeFloat[0], pPosition->sizeFloat[1]);
    m_sizeCurrent = CSize(pPosition->sizeCurrent[0], pPosition->sizeCurrent[1]);
    m_bAloneInRow = pPosition->bAloneInRow;
    m_bExpanded = pPosition->bExpanded;
    UpdateButtonStyle();
}

void CQZDockWindow::SaveBarSize(LPCSTR lpszSection)
{
    if (!m_hWnd)
        return;
    QZ_BARPOSITION position = {};
    position.sizeVert[0] = m_sizeVert.cx;
    position.sizeVert[1] = m_sizeVert.cy;
    position.sizeHorz[0] = m_sizeHorz.cx;
    position.sizeHorz[1] = m_sizeHorz.cy;
    position.sizeFloat[0] = m_sizeFloat.cx;
    position.sizeFloat[1] = m_sizeFloat.cy;
    position.sizeCurrent[0] = m_sizeCurrent.cx;
    position.sizeCurrent[1] = m_sizeCurrent.cy;
    position.bAloneInRow = m_bAloneInRow;
    position.bExpanded = m_bExpanded;
    position.dwStyleEx = m_dwStyleEx;
    BYTE bytes[kQZBarPositionBytes];
    QZEncodeBarPosition(position, bytes);
    const CString valueName = BarPositionValueName();
    if (valueName.IsEmpty())
        return;
    CQZRegistryManager store(HKEY_CURRENT_USER);
    store.WriteProfileBinary(lpszSection, valueName, bytes, sizeof bytes);
}

void CQZDockWindow::LoadBarSize(LPCSTR lpszSection)
{
    const CString valueName = BarPositionValueName();
    if (!m_hWnd || valueName.IsEmpty())
        return;
    CQZRegistryManager store(HKEY_CURRENT_USER);
    BYTE* bytes = nullptr;
    UINT count = 0;
    if (!store.GetProfileBinary(lpszSection, valueName, &bytes, &count))
        return;
    // Stored values can be edited: one that is not our record is left alone.
    QZ_BARPOSITION position = {};
    if (QZDecodeBarPosition(bytes, count, &position))
        SetBarPosition(&position);
    delete[] bytes;
}

int CQZDockWindow::ExpandButtonState() const
{
    if (IsHorzDocked())
        return IsAloneInRow() ? 1 : (IsExpanded() ? 6 : 2);
    if (IsVertDocked())
        return IsAloneInRow() ? 3 : (IsExpanded() ? 8 : 4);
    return 0;
}

void CQZDockWindow::OnUpdateCmdUI(CFrameWnd*, BOOL)
{
    HWND focus = ::GetFocus();
    const BOOL focusInside = focus && ::IsWindow(focus) && ::IsChild(m_hWnd, focus);
    if (focusInside != m_bActive)
        SetActive(focusInside);
    if (!HasCaptionButtons())
        return;
    CQZBarButton* buttons[] = {m_pHideButton, m_pExpandButton};
    if (!IsDocked()) {
        bool hidden = false;
        for (CQZBarButton* button : buttons) {
            if (button && button->m_hWnd && button->IsWindowVisible()) {
                button->ShowWindow(SW_HIDE);
                hidden = true;
            }
        }
        if (hidden && m_pChildWnd && m_pChildWnd->m_hWnd)
            m_pChildWnd->Invalidate();
        return;
    }
    for (CQZBarButton* button : buttons) {
        if (button && button->m_hWnd && !button->IsWindowVisible())
            button->ShowWindow(SW_SHOW);
    }
    if (!m_pExpandButton)
        return;
    const ExpandButtonLook look = LookOfExpandButton(ExpandButtonState());
    if (look.state == m_nButtonState)
        return;
    m_nButtonState = look.state;
    if (!m_pExpandButton->m_hWnd)
        return;
    m_pExpandButton->SetIcon(kCaptionGlyphSize, kCaptionGlyphSize, m_hIcons[look.state], nullptr, TRUE);
    m_pExpandButton->EnableWindow(look.enabled);
    if (m_wndToolTip.m_hWnd) {
        QZResourceSwitch resources;
        resources.Enter();
        m_wndToolTip.UpdateTipText(look.tip, m_pExpandButton);
        resources.Leave();
    }
}

void CQZDockWindow::SetActive(BOOL bActive)
{
    if (bActive == m_bActive)
        return;
    m_bActive = bActive;
    const bool showsActivity = (HasCaption() && qzAfxData.xpLook) || (m_dwStyleEx & QZ_DWS_TITLEBAR);
    if (!showsActivity || !IsDocked())
        return;
    CClientDC dc(this);
    DrawCaption(&dc);
    if (HasCaptionButtons()) {
        for (CQZBarButton* button : {m_pHideButton, m_pExpandButton}) {
            if (button && button->m_hWnd)
                button->Invalidate();
        }
    }
}

void CQZDockWindow::UpdateButtonStyle()
{
    if (!HasCaptionButtons())
        return;
    DWORD style = 0;
    if ((m_dwStyleEx & QZ_DWS_THINBUTTONS) && !qzAfxData.xpLook)
        style |= QZ_BTN_THIN3D;
    if ((m_dwStyleEx & QZ_DWS_FLATBUTTONS) || qzAfxData.xpLook)
        style |= QZ_BTN_FLAT;
    for (CQZBarButton* button : {m_pHideButton, m_pExpandButton}) {
        if (button && button->m_hWnd)
            button->SetDrawStyle(style, TRUE);
    }
}

BOOL CQZDockWindow::ModifyBarStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
    if (!CQZControlBar::ModifyBarStyleEx(dwRemove, dwAdd, bRedraw))
        return FALSE;
    if (m_pHideButton && m_pHideButton->m_hWnd && m_pExpandButton && m_pExpandButton->m_hWnd) {
        UpdateButtonStyle();
        const int show = HasCaptionButtons() ? SW_SHOW : SW_HIDE;
        m_pHideButton->ShowWindow(show);
        m_pExpandButton->ShowWindow(show);
    }
    return TRUE;
}

void CQZDockWindow::DelayShow(BOOL bShow)
{
    if (bShow) {
        ModifyBarStyleEx(0, QZ_DWS_NEWLYSHOWN, FALSE);
    } else if (IsExpanded()) {
        if (auto* dockBar = DYNAMIC_DOWNCAST(CQZDockBar, m_pDockBar))
            dockBar->RestoreDockWindows(this, TRUE);
        RestoreNormalSize();
    }
    CControlBar::DelayShow(bShow);
}

void CQZDockWindow::OnExpand()
{
    auto* dockBar = DYNAMIC_DOWNCAST(CQZDockBar, m_pDockBar);
    if (!IsExpanded()) {
        if (dockBar)
            dockBar->ExpandDockWindow(this, TRUE);
        m_bExpanded = TRUE;
    } else {
        if (dockBar)
            dockBar->RestoreDockWindows(this, TRUE);
        m_bExpanded = FALSE;
    }
}

void CQZDockWindow::OnUpdateExpand(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CQZDockWindow::OnHide()
{
    if (CFrameWnd* frame = GetDockingFrame())
        frame->ShowControlBar(this, FALSE, FALSE);
}

void CQZDockWindow::OnUpdateHide(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CQZDockWindow::OnLButtonDown(UINT nFlags, CPoint point)
{
    // A click anywhere in the window puts the focus on its main content.
    HWND candidate = nullptr;
    for (HWND level = LargestFocusableChild(m_hWnd); level; level = LargestFocusableChild(level))
        candidate = level;
    if (candidate) {
        ::SetFocus(candidate);
        SetActive(TRUE);
    }
    CControlBar::OnLButtonDown(nFlags, point);
}

LRESULT CQZDockWindow::OnNcHitTest(CPoint)
{
    if (::GetCursor() != afxData.hcurArrow)
        ::SetCursor(afxData.hcurArrow);
    return HTCLIENT;
}

void CQZDockWindow::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    // The borders are drawn inside the client area, so the base must not treat them as
    // border lines at the far edges.
    const DWORD borders = m_dwStyle & CBRS_BORDER_ANY;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    CQZControlBar::OnWindowPosChanging(lpwndpos);
    m_dwStyle |= borders;
    if (m_dwStyle & CBRS_SIZE_DYNAMIC) {
        if (lpwndpos->flags & SWP_NOSIZE)
            return;
        Invalidate(TRUE);
    }
    if (lpwndpos->flags & SWP_HIDEWINDOW)
        return;
    const bool clips = (GetStyle() & WS_CLIPCHILDREN) != 0;
    if (IsDocked() && !clips)
        ModifyStyle(0, WS_CLIPCHILDREN);
    else if (!IsDocked() && clips)
        ModifyStyle(WS_CLIPCHILDREN, 0);
}

void CQZDockWindow::OnWindowPosChanged(WINDOWPOS*)
{
    Default();
    CQZDeferWindowPos batch(8);
    if (HasCaptionButtons()) {
        if (IsDocked()) {
            CRect base;
            GetButtonRect(base);
            CRect hide = base;
            CRect expand = base;
            if (IsHorzDocked())
                expand.OffsetRect(0, 14);
            else
                hide.OffsetRect(14, 0);
            batch.MoveWindow(m_pHideButton, hide);
            batch.MoveWindow(m_pExpandButton, expand);
        }
    } else {
        for (CQZBarButton* button : {m_pHideButton, m_pExpandButton}) {
            if (button && button->m_hWnd && button->IsWindowVisible())
                button->ShowWindow(SW_HIDE);
        }
        if (!IsDocked()) {
            // Without caption buttons a floating window is closed only through the bar
            // menu, so its frame shows no close box.
            CWnd* frame = m_pDockBar ? m_pDockBar->GetParent() : nullptr;
            if (!m_bSysMenuRemoved && frame && frame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd))) {
                frame->ModifyStyle(WS_SYSMENU, 0);
                m_bSysMenuRemoved = TRUE;
            }
        } else {
            m_bSysMenuRemoved = FALSE;
        }
    }
    if (m_pChildWnd && m_pChildWnd->m_hWnd) {
        CRect inside;
        GetInsideRect(inside);
        inside.DeflateRect(1, 1);
        batch.MoveWindow(m_pChildWnd, inside);
    }
    batch.End();
}
