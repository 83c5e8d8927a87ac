// Window hooks and the map of hooked windows.
#include "toolkit/foundation/QZWndHook.h"

#include "framework/Exceptions.h"
#include "framework/ThreadState.h"
#include "framework/Wnd.h"

IMPLEMENT_DYNAMIC(CQZWndHook, CObject)
IMPLEMENT_DYNAMIC(CQZWindowMap, CMapPtrToPtr)

CQZWndHook::~CQZWndHook()
{
    if (m_hWnd)
        HookWindow(static_cast<HWND>(nullptr));
}

BOOL CQZWndHook::IsHooked() const
{
    return m_hWnd != nullptr;
}

BOOL CQZWndHook::HookWindow(HWND hWnd)
{
    if (hWnd) {
        CQZWindowMap::GetHookMap().Add(hWnd, this);
        m_hWnd = hWnd;
    } else if (m_hWnd) {
        CQZWindowMap::GetHookMap().Remove(this);
        m_pOldWndProc = nullptr;
        m_hWnd = nullptr;
    }
    return TRUE;
}

BOOL CQZWndHook::HookWindow(CWnd* pWnd)
{
    return HookWindow(pWnd->GetSafeHwnd());
}

LRESULT CQZWndHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext)
        return m_pNext->WindowProc(msg, wParam, lParam);
    return ::CallWindowProcA(m_pOldWndProc, m_hWnd, msg, wParam, lParam);
}

CQZWindowMap& CQZWindowMap::GetHookMap()
{
    // Built on first use, so that a hook attached during another file's static
    // initialisation (whose order against this file's is not fixed) finds it built.
    static CQZWindowMap map;
    return map;
}

namespace {

// The map is built with the program's static initialisation, before the first window
// exists, like the toolkit's other process-wide records; built that early, it is also
// destroyed late, after the objects built later whose destructors may still detach hooks.
CQZWindowMap& g_windowMapBuiltAtStart = CQZWindowMap::GetHookMap();

} // namespace

void CQZWindowMap::Add(HWND hWnd, CQZWndHook* pWndHook)
{
    CQZWndHook* newest = Lookup(hWnd);
    pWndHook->m_pNext = newest;
    SetAt(hWnd, pWndHook);
    if (newest) {
        pWndHook->m_pOldWndProc = newest->m_pOldWndProc;
        return;
    }
    // The full pointer: a window procedure of a 64-bit program lies above 4 GB.
    pWndHook->m_pOldWndProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookWndProc));
}

void CQZWindowMap::Remove(CQZWndHook* pUnHook)
{
    HWND hWnd = pUnHook->m_hWnd;
    CQZWndHook* newest = Lookup(hWnd);
    if (newest == pUnHook) {
        if (pUnHook->m_pNext) {
            SetAt(hWnd, pUnHook->m_pNext);
        } else {
            RemoveKey(hWnd);
            ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pUnHook->m_pOldWndProc));
        }
    } else {
        for (CQZWndHook* hook = newest; hook; hook = hook->m_pNext) {
            if (hook->m_pNext == pUnHook) {
                hook->m_pNext = pUnHook->m_pNext;
                break;
            }
        }
    }
    pUnHook->m_pNext = nullptr;
}

void CQZWindowMap::RemoveAll(HWND hWnd)
{
    while (CQZWndHook* hook = Lookup(hWnd))
        hook->HookWindow(static_cast<HWND>(nullptr));
}

CQZWndHook* CQZWindowMap::Lookup(HWND hWnd)
{
    void* hook = nullptr;
    return CMapPtrToPtr::Lookup(hWnd, hook) ? static_cast<CQZWndHook*>(hook) : nullptr;
}

LRESULT CALLBACK CQZWindowMap::HookWndProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The framework's current-message query answers inside hooks too.
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    const MSG saved = state->m_lastSentMsg;
    state->m_lastSentMsg.hwnd = hWnd;
    state->m_lastSentMsg.message = msg;
    state->m_lastSentMsg.wParam = wParam;
    state->m_lastSentMsg.lParam = lParam;

    CQZWindowMap& map = GetHookMap();
    CQZWndHook* hook = map.Lookup(hWnd);
    LRESULT result = 0;
    if (msg == WM_NCDESTROY) {
        // Hooks never see WM_NCDESTROY: the window is theirs no longer.
        WNDPROC own = hook ? hook->m_pOldWndProc : nullptr;
        map.RemoveAll(hWnd);
        result = own ? ::CallWindowProcA(own, hWnd, msg, wParam, lParam) : ::DefWindowProcA(hWnd, msg, wParam, lParam);
    } else if (hook) {
        // Nothing may unwind through the system's frames above a window procedure.
        try {
            result = hook->WindowProc(msg, wParam, lParam);
        } catch (CException* e) {
            e->Delete();
        } catch (...) {
        }
    } else {
        result = ::DefWindowProcA(hWnd, msg, wParam, lParam);
    }
    state->m_lastSentMsg = saved;
    return result;
}
