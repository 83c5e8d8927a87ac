// The resize engine: set-up, registration of controls, the resize pass and the tracking
// limits. A pass moves every control in one deferred batch; when the system gives a batch
// up (a failed DeferWindowPos frees it with the moves deferred so far), or will not begin
// one, the pass moves each control directly instead, so no move is lost and every batch
// begun and still valid is ended.
#include "toolkit/controls/QZResize.h"

#include <vector>

namespace {

QZDeferWindowPosCalls g_deferCalls = {nullptr, nullptr, nullptr};

HDWP BeginBatch(int count)
{
    return g_deferCalls.pfnBegin ? g_deferCalls.pfnBegin(count) : ::BeginDeferWindowPos(count);
}

HDWP DeferMove(HDWP batch, HWND hWnd, int x, int y, int cx, int cy, UINT flags)
{
    return g_deferCalls.pfnDefer ? g_deferCalls.pfnDefer(batch, hWnd, nullptr, x, y, cx, cy, flags)
                                 : ::DeferWindowPos(batch, hWnd, nullptr, x, y, cx, cy, flags);
}

BOOL EndBatch(HDWP batch)
{
    return g_deferCalls.pfnEnd ? g_deferCalls.pfnEnd(batch) : ::EndDeferWindowPos(batch);
}

// Button-type bits of a button's style; zero is a plain push button.
constexpr DWORD kButtonTypeMask = 0x7;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE.
constexpr UINT kStyleChangeFlags = 0x17;

// Group boxes (and check boxes or radio buttons without a tab stop) paint over the controls
// they surround while these move; transparent, they are painted last.
bool WantsTransparency(HWND hWnd)
{
    char className[8] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, GWL_STYLE));
    return lstrcmpiA(className, "Button") == 0 && (style & kButtonTypeMask) != 0 && !(style & WS_TABSTOP);
}

} // namespace

QZDeferWindowPosCalls QZSetDeferWindowPosCalls(const QZDeferWindowPosCalls& calls)
{
    const QZDeferWindowPosCalls previous = g_deferCalls;
    g_deferCalls = calls;
    return previous;
}

CQZItem::CQZItem(CWnd* pWnd, const CQZFloatRect& rcSizing, const CQZFloatRect& rcPosition, BOOL bOwned)
    : m_pWnd(pWnd), m_rcSizing(rcSizing), m_rcPosition(rcPosition), m_bOwned(bOwned)
{
}

CQZItem::~CQZItem()
{
    if (m_bOwned) {
        m_pWnd->Detach();
        delete m_pWnd;
    }
}

struct CQZResize::Move {
    HWND hWnd;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};

CQZResize::CQZResize(CWnd* pWnd, UINT nFlags) : m_pWnd(pWnd), m_nFlags(nFlags), m_rcWindow(0, 0, 0, 0), m_szMin(0, 0)
{
}

CQZResize::~CQZResize()
{
    RemoveAllItems();
    m_sizeIcon.m_bmSizeIcon.DeleteObject();
}

void CQZResize::RemoveAllItems()
{
    for (int i = 0; i < static_cast<int>(m_arrItems.GetSize()); ++i)
        delete m_arrItems[i];
    m_arrItems.RemoveAll();
}

void CQZResize::Init()
{
    if (!m_pWnd)
        return;
    RemoveAllItems();
    m_pWnd->GetWindowRect(&m_rcWindow);
    if (!(m_nFlags & QZ_RESIZE_NOMINSIZE))
        m_szMin = CSize(m_rcWindow.Width(), m_rcWindow.Height());
    if (!(m_nFlags & QZ_RESIZE_NOCLIPCHILDREN))
        m_pWnd->ModifyStyle(0, WS_CLIPCHILDREN);
    if (m_nFlags & QZ_RESIZE_NOSIZEICON)
        return;
    if (!m_sizeIcon.m_hWnd)
        m_sizeIcon.Create(nullptr, WS_CHILD | WS_VISIBLE | SS_BITMAP | SS_NOTIFY, CRect(0, 0, 16, 16), m_pWnd,
                          QZ_IDC_SIZEICON);
    if (!m_sizeIcon.m_hWnd)
        return;
    CRect client;
    m_pWnd->GetClientRect(&client);
    CRect grip;
    m_sizeIcon.GetClientRect(&grip);
    m_sizeIcon.SetWindowPos(&CWnd::wndTop, client.Width() - grip.Width(), client.Height() - grip.Height(), 0, 0,
                            SWP_NOSIZE);
    SetResize(QZ_IDC_SIZEICON, nullptr, CQZFloatRect(1, 1, 1, 1));
}

BOOL CQZResize::SetResize(UINT nID, HWND hWnd, const CQZFloatRect& rcSizing)
{
    for (int i = 0; i < static_cast<int>(m_arrItems.GetSize()); ++i) {
        CQZItem* item = m_arrItems[i];
        if (item->m_pWnd->GetSafeHwnd() && static_cast<UINT>(item->m_pWnd->GetDlgCtrlID()) == nID) {
            item->m_rcSizing += rcSizing;
            return TRUE;
        }
    }
    if (!hWnd && m_pWnd)
        hWnd = ::GetDlgItem(m_pWnd->GetSafeHwnd(), static_cast<int>(nID));
    // A control the window does not have could never move: nothing is registered for it
    // (a sheet without a Help or Apply button simply has no item for one).
    if (!hWnd || !::IsWindow(hWnd))
        return FALSE;

    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    const BOOL owned = wnd == nullptr;
    if (owned) {
        wnd = new CWnd;
        wnd->Attach(hWnd);
    }
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    m_pWnd->ScreenToClient(&rect);
    m_arrItems.Add(new CQZItem(wnd, rcSizing, CQZFloatRect(rect), owned));

    if (!(m_nFlags & QZ_RESIZE_NOTRANSPARENT) && WantsTransparency(hWnd))
        CWnd::ModifyStyleEx(hWnd, 0, WS_EX_TRANSPARENT, kStyleChangeFlags);
    return TRUE;
}

void CQZResize::AddItem(CWnd* pWnd, const CQZFloatRect& rcSizing, const CRect& rcStart)
{
    m_arrItems.Add(new CQZItem(pWnd, rcSizing, CQZFloatRect(rcStart), FALSE));
}

bool CQZResize::PlanMove(CQZItem* pItem, float dx, float dy, Move& move) const
{
    const CQZFloatRect& ratios = pItem->m_rcSizing;
    CQZFloatRect moved = pItem->m_rcPosition;
    moved.left += dx * ratios.left;
    moved.top += dy * ratios.top;
    moved.right += dx * ratios.right;
    moved.bottom += dy * ratios.bottom;
    const CQZFloatRect& was = pItem->m_rcPosition;
    if (moved.left == was.left && moved.top == was.top && moved.right == was.right && moved.bottom == was.bottom)
        return false;
    pItem->m_rcPosition = moved;
    HWND hWnd = pItem->m_pWnd->GetSafeHwnd();
    if (!hWnd || !::IsWindow(hWnd))
        return false;

    // Truncated toward zero, the differences taken in floating point first.
    move.hWnd = hWnd;
    move.x = static_cast<int>(moved.left);
    move.y = static_cast<int>(moved.top);
    move.cx = static_cast<int>(moved.right - moved.left);
    move.cy = static_cast<int>(moved.bottom - moved.top);
    move.flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    CRect now;
    ::GetWindowRect(hWnd, &now);
    m_pWnd->ScreenToClient(&now);
    if (move.x == now.left && move.y == now.top)
        move.flags |= SWP_NOMOVE;
    if (static_cast<int>(moved.right) - move.x == now.Width() && static_cast<int>(moved.bottom) - move.y == now.Height())
        move.flags |= SWP_NOSIZE;
    return true;
}

void CQZResize::Size()
{
    if (m_arrItems.GetSize() == 0 || !m_pWnd)
        return;
    CRect now;
    m_pWnd->GetWindowRect(&now);
    const float dx = static_cast<float>(now.Width() - m_rcWindow.Width());
    const float dy = static_cast<float>(now.Height() - m_rcWindow.Height());

    std::vector<Move> moves;
    moves.reserve(static_cast<size_t>(m_arrItems.GetSize()));
    for (int i = 0; i < static_cast<int>(m_arrItems.GetSize()); ++i) {
        Move move;
        if (PlanMove(m_arrItems[i], dx, dy, move))
            moves.push_back(move);
    }
    m_rcWindow = now;
    if (moves.empty())
        return;

    HDWP batch = BeginBatch(static_cast<int>(m_arrItems.GetSize()));
    for (size_t i = 0; batch && i < moves.size(); ++i) {
        const Move& m = moves[i];
        batch = DeferMove(batch, m.hWnd, m.x, m.y, m.cx, m.cy, m.flags);
    }
    if (batch) {
        EndBatch(batch);
        return;
    }
    for (const Move& m : moves)
        ::SetWindowPos(m.hWnd, nullptr, m.x, m.y, m.cx, m.cy, m.flags);
}

void CQZResize::GetMinMaxInfo(MINMAXINFO* pMMI)
{
    if (!m_rcWindow.IsRectNull()) {
        if (m_nFlags & QZ_RESIZE_FIXEDWIDTH) {
            pMMI->ptMaxSize.x = m_rcWindow.Width();
            pMMI->ptMaxTrackSize.x = m_rcWindow.Width();
        }
        if (m_nFlags & QZ_RESIZE_FIXEDHEIGHT) {
            pMMI->ptMaxSize.y = m_rcWindow.Height();
            pMMI->ptMaxTrackSize.y = m_rcWindow.Height();
        }
    }
    if (m_szMin.cx != 0)
        pMMI->ptMinTrackSize.x = m_szMin.cx;
    if (m_szMin.cy != 0)
        pMMI->ptMinTrackSize.y = m_szMin.cy;
}
