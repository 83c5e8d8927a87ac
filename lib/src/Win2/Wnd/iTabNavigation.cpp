// Tab and Shift+Tab through a container's controls, as the dialog manager moves them.
#include "lib/src/Win2/Wnd/iTabNavigation.h"

namespace {

bool IsKeyDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

bool CanTakeFocus(const CWnd* control)
{
    return control && control->m_hWnd && ::IsWindowEnabled(control->m_hWnd) && ::IsWindowVisible(control->m_hWnd);
}

// The place in order of the control that is or holds the window; -1 when none does.
int PlaceOf(const std::vector<CWnd*>& order, HWND window)
{
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] && order[i]->m_hWnd && (order[i]->m_hWnd == window || ::IsChild(order[i]->m_hWnd, window)))
            return static_cast<int>(i);
    return -1;
}

} // namespace

void FocusTabItem(HWND control)
{
    if (!control)
        return;
    ::SetFocus(control);
    if (::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        ::SendMessageA(control, EM_SETSEL, 0, -1);
}

HWND FirstTabItem(const std::vector<CWnd*>& order)
{
    for (const CWnd* control : order)
        if (CanTakeFocus(control))
            return control->m_hWnd;
    return nullptr;
}

BOOL HandleTabKey(CWnd* container, const MSG* msg, const std::vector<CWnd*>& order)
{
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_TAB || !container || !container->m_hWnd || order.empty())
        return FALSE;
    HWND self = container->m_hWnd;
    if (msg->hwnd != self && !::IsChild(self, msg->hwnd))
        return FALSE;
    if (IsKeyDown(VK_CONTROL) || IsKeyDown(VK_MENU))
        return FALSE;
    if (msg->hwnd != self && (::SendMessageA(msg->hwnd, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(msg)) &
                              (DLGC_WANTTAB | DLGC_WANTALLKEYS)))
        return FALSE;
    const int count = static_cast<int>(order.size());
    const int step = IsKeyDown(VK_SHIFT) ? count - 1 : 1;
    // From a window outside the order (the container itself, a picture): the first
    // control, or the last going backwards.
    int place = PlaceOf(order, msg->hwnd);
    if (place < 0)
        place = step == 1 ? count - 1 : 0;
    for (int tried = 0; tried < count; ++tried) {
        place = (place + step) % count;
        if (CanTakeFocus(order[place])) {
            FocusTabItem(order[place]->m_hWnd);
            break;
        }
    }
    // Taken either way: a Tab with nowhere to go must not reach the control as a character.
    return TRUE;
}
