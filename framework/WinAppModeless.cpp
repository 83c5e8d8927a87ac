// The application's modeless windows, disabled while a modal dialog runs.
#include "WinApp.h"

#include "Wnd.h"

#include <algorithm>

namespace {

struct ModelessSearch {
    HWND mainWnd;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectModeless(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<ModelessSearch*>(lParam);
    if (::GetWindow(hWnd, GW_OWNER) != search->mainWnd || !::IsWindowEnabled(hWnd))
        return TRUE;
    // Nothing may unwind through the system's enumeration: out of memory ends the search.
    try {
        search->found->push_back(hWnd);
    } catch (...) {
        return FALSE;
    }
    return TRUE;
}

} // namespace

void CWinApp::EnableModeless(BOOL bEnable)
{
    if (!bEnable) {
        if (m_nModelessDisabled++ > 0)
            return;
        HWND mainWnd = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
        if (!mainWnd)
            return;
        ModelessSearch search = {mainWnd, &m_modelessDisabled};
        ::EnumThreadWindows(::GetCurrentThreadId(), &CollectModeless, reinterpret_cast<LPARAM>(&search));
        for (HWND hWnd : m_modelessDisabled)
            ::EnableWindow(hWnd, FALSE);
        return;
    }
    if (m_nModelessDisabled == 0 || --m_nModelessDisabled > 0)
        return;
    std::vector<HWND> disabled;
    disabled.swap(m_modelessDisabled);
    for (HWND hWnd : disabled) {
        if (::IsWindow(hWnd))
            ::EnableWindow(hWnd, TRUE);
    }
}
