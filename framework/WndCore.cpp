// Window objects and their handles: the per-thread maps, attaching and subclassing,
// creation through a CBT hook (so the object sees WM_NCCREATE and WM_CREATE), the
// framework window procedure and the clean-up after WM_NCDESTROY.
#include "Wnd.h"

#include "ControlRegistration.h"
#include "Exceptions.h"
#include "OleControlContainer.h"
#include "OleControlSite.h"
#include "ResourceModule.h"
#include "ThreadHandleMap.h"
#include "ThreadState.h"
#include "WinThread.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

namespace {

struct WndMapTraits {
    using Object = CWnd;
    using Handle = HWND;
    static CWnd* NewObject() { return new CWnd; }
    static void SetHandles(CWnd* wnd, HWND hWnd) { wnd->m_hWnd = hWnd; }
};

[[nodiscard]] CHandleMap<CWnd, HWND>* WndMap()
{
    return AfxThreadHandleMap<WndMapTraits>();
}

[[nodiscard]] bool IsPermanentOwner(const CWnd* wnd, HWND hWnd)
{
    CHandleMap<CWnd, HWND>* map = WndMap();
    return hWnd && map && map->LookupPermanent(hWnd) == wnd;
}

// Input-method windows that the system may create on the thread while ours is being made.
[[nodiscard]] bool IsImeWindow(HWND hWnd)
{
    char className[32] = {};
    GetClassNameA(hWnd, className, sizeof className);
    return lstrcmpiA(className, "IME") == 0 || lstrcmpiA(className, "MSCTFIME UI") == 0;
}

// Routes hWnd's messages to the framework procedure, keeping the one it had for
// DefWindowProc (unless it already was ours).
void RouteToFrameworkProc(CWnd* wnd, HWND hWnd)
{
    auto previous =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous != &AfxWndProc)
        wnd->m_pfnSuper = previous;
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    HHOOK hook = state->m_hHookOldCbtFilter;
    if (code == HCBT_CREATEWND && state->m_pWndInit) {
        HWND hWnd = reinterpret_cast<HWND>(wParam);
        if (!IsImeWindow(hWnd)) {
            CWnd* wnd = state->m_pWndInit;
            state->m_pWndInit = nullptr;
            if (state->m_phWndInitAttached) {
                *state->m_phWndInitAttached = hWnd;
                state->m_phWndInitAttached = nullptr;
            }
            wnd->Attach(hWnd);
            try {
                wnd->PreSubclassWindow();
            } catch (CException* e) {
                e->Delete();
            } catch (...) {
            }
            RouteToFrameworkProc(wnd, hWnd);
        }
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

// What the window procedure answers when a handler threw.
[[nodiscard]] LRESULT ReactToException(CException* e, const MSG& msg)
{
    CWinThread* thread = AfxGetThread();
    if (thread)
        return thread->ProcessWndProcException(e, &msg);
    return CWinThread::DefaultWndProcExceptionResult(&msg);
}

// After WM_NCDESTROY: give the window its own procedure back, forget the handle, and
// let the object clean itself up (it may delete itself). An object that is not the
// handle's permanent one is not touched: it may be gone already.
void FinishNcDestroy(CWnd* wnd, HWND hWnd)
{
    if (!IsPermanentOwner(wnd, hWnd))
        return;
    WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    if (current == &AfxWndProc && wnd->m_pfnSuper)
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
    wnd->m_pfnSuper = nullptr;
    wnd->Detach();
    // The thread's main window gone: its loop ends.
    CWinThread* thread = AfxGetThread();
    if (thread && thread->m_pMainWnd == wnd) {
        thread->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
    try {
        wnd->PostNcDestroy();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
}

} // namespace

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() = default;

CWnd::CWnd(HWND marker) : m_hWnd(marker) {}

CWnd::~CWnd()
{
    // A control without a window of its own has no WM_DESTROY to release it.
    if (m_pCtrlSite)
        AfxOleDestroyHostedControl(this);
    if (IsPermanentOwner(this, m_hWnd))
        CWnd::DestroyWindow();
    if (m_pCtrlCont)
        AfxOleDestroyContainer(this);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    CHandleMap<CWnd, HWND>* map = WndMap();
    return map ? map->FromHandle(hWnd) : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    CHandleMap<CWnd, HWND>* map = WndMap();
    return map && hWnd ? map->LookupPermanent(hWnd) : nullptr;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    CHandleMap<CWnd, HWND>* map = WndMap();
    if (!hWndNew || m_hWnd || !map || map->LookupPermanent(hWndNew))
        return FALSE;
    map->SetPermanent(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd) {
        CHandleMap<CWnd, HWND>* map = WndMap();
        if (map && map->LookupPermanent(hWnd) == this)
            map->RemoveHandle(hWnd);
    }
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!::IsWindow(hWnd) || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    RouteToFrameworkProc(this, hWnd);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND control = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd && m_pfnSuper)
        SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    AfxHookWindowCreate(pWnd, nullptr);
}

void AfxHookWindowCreate(CWnd* pWnd, HWND* pAttached)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (!state->m_hHookOldCbtFilter)
        state->m_hHookOldCbtFilter = SetWindowsHookExA(WH_CBT, &CbtFilterHook, nullptr, GetCurrentThreadId());
    state->m_pWndInit = pWnd;
    state->m_phWndInitAttached = pAttached;
}

BOOL AfxUnhookWindowCreate()
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_hHookOldCbtFilter) {
        UnhookWindowsHookEx(state->m_hHookOldCbtFilter);
        state->m_hHookOldCbtFilter = nullptr;
    }
    state->m_phWndInitAttached = nullptr;
    if (state->m_pWndInit) {
        state->m_pWndInit = nullptr;
        return FALSE;
    }
    return TRUE;
}

void AfxForgetRefusedWindow(CWnd* pWnd, HWND hWndAttached)
{
    FinishNcDestroy(pWnd, hWndAttached);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCT cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    // A common control's class exists only once its part of the library is initialised.
    AfxDeferRegisterClass(AfxCommonControlClassBits(cs.lpszClass));
    HWND attached = nullptr;
    AfxHookWindowCreate(this, &attached);
    HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                  cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    // Not attached at all: no WM_NCDESTROY will come, so the clean-up runs here.
    if (!AfxUnhookWindowCreate())
        PostNcDestroy();
    else if (!hWnd)
        AfxForgetRefusedWindow(this, attached);
    return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxWndClassName();
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (m_pCtrlSite) {
        // The control closes while its window still exists, and usually destroys that
        // window itself; this object may then be gone (a self-deleting window).
        AfxOleDestroyHostedControl(this);
        if (!hWnd)
            return TRUE;
        if (!::IsWindow(hWnd))
            return TRUE;
    }
    if (!hWnd)
        return FALSE;
    CHandleMap<CWnd, HWND>* map = WndMap();
    const bool wasPermanent = map && map->LookupPermanent(hWnd) == this;
    BOOL destroyed = ::DestroyWindow(hWnd);
    // A subclassed window was detached by WM_NCDESTROY and the object may be gone;
    // only an object that still holds the handle (attached, not subclassed) is touched.
    map = WndMap();
    if (wasPermanent) {
        if (map && map->LookupPermanent(hWnd) == this)
            Detach();
    } else if (map && map->LookupTemporary(hWnd) == this) {
        map->RemoveHandle(hWnd);
    }
    return destroyed;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(wnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    const MSG saved = state->m_lastSentMsg;
    state->m_lastSentMsg.hwnd = hWnd;
    state->m_lastSentMsg.message = nMsg;
    state->m_lastSentMsg.wParam = wParam;
    state->m_lastSentMsg.lParam = lParam;
    LRESULT result = 0;
    // Nothing may unwind through the system's frames above this call.
    try {
        result = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (CException* e) {
        result = ReactToException(e, state->m_lastSentMsg);
        e->Delete();
    } catch (...) {
        result = ReactToException(nullptr, state->m_lastSentMsg);
    }
    // Hosted controls go while their windows, children of this one, still exist.
    if (nMsg == WM_DESTROY && pWnd->m_pCtrlCont)
        AfxOleDestroyContainer(pWnd);
    if (nMsg == WM_NCDESTROY) {
        // A control's window destroyed from outside: the control itself is released now.
        if (pWnd->m_pCtrlSite)
            AfxOleDestroyHostedControl(pWnd);
        FinishNcDestroy(pWnd, hWnd);
    }
    state->m_lastSentMsg = saved;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = m_pfnSuper ? ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam)
                                : ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    if (message == WM_NOTIFY && IsUnansweredToolTipText(reinterpret_cast<NMHDR*>(lParam)))
        AnswerToolTipText(reinterpret_cast<NMHDR*>(lParam));
    return result;
}

LRESULT CWnd::Default()
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    msg.time = static_cast<DWORD>(GetMessageTime());
    DWORD position = GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(position));
    msg.pt.y = static_cast<short>(HIWORD(position));
    return &msg;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_nFlags & WF_TOOLTIPS)
        FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    // ::GetParent answers the owner for a popup, so the walk climbs from floating and
    // owned windows to their frame as well.
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(pMsg))
            return TRUE;
        // A hosted control gets its keys (accelerators, tabbing inside it) after its object.
        if (wnd && wnd->m_pCtrlSite && wnd->m_pCtrlSite->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CWnd::IsFrameWnd() const
{
    return FALSE;
}

void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    DWORD exStyle = GetExStyle();
    if (nAdjustType == 0)
        exStyle &= ~WS_EX_CLIENTEDGE;
    ::AdjustWindowRectEx(lpClientRect, GetStyle(), FALSE, exStyle);
}
