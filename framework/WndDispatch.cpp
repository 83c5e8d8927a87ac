// Window-message dispatch through the message map, and reflection: a parent offers
// its control's notification, owner-draw and colour messages to the control's own
// object first, as WM_REFLECT_BASE + the message.
#include "Wnd.h"

#include "CmdUI.h"
#include "DC.h"
#include "Menu.h"
#include "ThreadState.h"

#include <windowsx.h>

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
END_MESSAGE_MAP()

namespace {

[[nodiscard]] bool IsWindowMessageSignature(UINT sig)
{
    return sig >= AfxSig_lwl;
}

[[nodiscard]] bool IsCtlColorMessage(UINT message)
{
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

[[nodiscard]] CPoint PointOf(LPARAM lParam)
{
    return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

// A command route that only records whether the command is enabled.
class CEnabledProbe : public CCmdUI {
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCSTR) override {}
};

} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    BOOL handled = FALSE;
    if (message == WM_COMMAND) {
        handled = OnCommand(wParam, lParam);
        result = handled;
    } else if (message == WM_NOTIFY) {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        handled = header && header->hwndFrom && OnNotify(wParam, lParam, &result);
    } else if (ReflectOwnedMessage(message, wParam, lParam, &result)) {
        handled = TRUE;
    } else {
        // Every WM_CTLCOLORxxx reaches the map as WM_CTLCOLOR with its colour type.
        UINT lookup = message;
        if (IsCtlColorMessage(message))
            lookup = WM_CTLCOLOR;
        for (const AFX_MSGMAP* map = GetMessageMap(); map && !handled; map = AfxGetBaseMessageMap(map)) {
            const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(map->lpEntries, lookup, 0, 0);
            if (entry && IsWindowMessageSignature(entry->nSig))
                handled = DispatchWndMsg(*entry, message, wParam, lParam, &result);
        }
    }
    if (handled && pResult)
        *pResult = result;
    return handled;
}

#define SORVANTA_CALL(type, ...) (this->*AfxMemberCast<type>(entry.pfn))(__VA_ARGS__)

BOOL CWnd::DispatchWndMsg(const AFX_MSGMAP_ENTRY& entry, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult)
{
    LRESULT result = 0;
    switch (entry.nSig) {
    case AfxSig_lwl:
        result = SORVANTA_CALL(LRESULT (CWnd::*)(WPARAM, LPARAM), wParam, lParam);
        break;
    case AfxSig_is:
        result = SORVANTA_CALL(int (CWnd::*)(LPCREATESTRUCT), reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig_bs:
        result = SORVANTA_CALL(BOOL (CWnd::*)(LPCREATESTRUCT), reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case AfxSig_vv:
        SORVANTA_CALL(void (CWnd::*)());
        break;
    case AfxSig_bD:
        result = SORVANTA_CALL(BOOL (CWnd::*)(CDC*), CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
        break;
    case AfxSig_vbNCCALC:
        SORVANTA_CALL(void (CWnd::*)(BOOL, NCCALCSIZE_PARAMS*), static_cast<BOOL>(wParam),
                      reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam));
        break;
    case AfxSig_lp:
        result = SORVANTA_CALL(LRESULT (CWnd::*)(CPoint), PointOf(lParam));
        break;
    case AfxSig_bb:
        result = SORVANTA_CALL(BOOL (CWnd::*)(BOOL), static_cast<BOOL>(wParam));
        break;
    case AfxSig_vwp:
        SORVANTA_CALL(void (CWnd::*)(UINT, CPoint), static_cast<UINT>(wParam), PointOf(lParam));
        break;
    case AfxSig_bWww:
        result = SORVANTA_CALL(BOOL (CWnd::*)(CWnd*, UINT, UINT), FromHandle(reinterpret_cast<HWND>(wParam)),
                               LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vwii:
        SORVANTA_CALL(void (CWnd::*)(UINT, int, int), static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vii:
        SORVANTA_CALL(void (CWnd::*)(int, int), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case AfxSig_vPOS:
        SORVANTA_CALL(void (CWnd::*)(WINDOWPOS*), reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case AfxSig_vMINMAX:
        SORVANTA_CALL(void (CWnd::*)(MINMAXINFO*), reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case AfxSig_vws:
        SORVANTA_CALL(void (CWnd::*)(UINT, LPCSTR), static_cast<UINT>(wParam), reinterpret_cast<LPCSTR>(lParam));
        break;
    case AfxSig_vMwb:
        SORVANTA_CALL(void (CWnd::*)(CMenu*, UINT, BOOL), CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)),
                      LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_vM:
        SORVANTA_CALL(void (CWnd::*)(CMenu*), CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)));
        break;
    case AfxSig_vwwh:
        SORVANTA_CALL(void (CWnd::*)(UINT, UINT, HMENU), LOWORD(wParam), HIWORD(wParam),
                      reinterpret_cast<HMENU>(lParam));
        break;
    case AfxSig_vwwS:
        // A scroll-bar object is a CWnd with no data of its own, so the window object serves as one.
        SORVANTA_CALL(void (CWnd::*)(UINT, UINT, CScrollBar*), LOWORD(wParam), HIWORD(wParam),
                      reinterpret_cast<CScrollBar*>(FromHandle(reinterpret_cast<HWND>(lParam))));
        break;
    case AfxSig_vWp:
        SORVANTA_CALL(void (CWnd::*)(CWnd*, CPoint), FromHandle(reinterpret_cast<HWND>(wParam)), PointOf(lParam));
        break;
    case AfxSig_wv:
        result = SORVANTA_CALL(UINT (CWnd::*)());
        break;
    case AfxSig_vW:
        SORVANTA_CALL(void (CWnd::*)(CWnd*), FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case AfxSig_vwWb:
        SORVANTA_CALL(void (CWnd::*)(UINT, CWnd*, BOOL), LOWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)),
                      HIWORD(wParam));
        break;
    case AfxSig_vbd:
        SORVANTA_CALL(void (CWnd::*)(BOOL, DWORD), static_cast<BOOL>(wParam), static_cast<DWORD>(lParam));
        break;
    case AfxSig_vt:
        SORVANTA_CALL(void (CWnd::*)(UINT_PTR), static_cast<UINT_PTR>(wParam));
        break;
    case AfxSig_vwww:
        SORVANTA_CALL(void (CWnd::*)(UINT, UINT, UINT), static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break;
    case AfxSig_hDWw:
        result = reinterpret_cast<LRESULT>(SORVANTA_CALL(
            HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
            FromHandle(reinterpret_cast<HWND>(lParam)), message - WM_CTLCOLORMSGBOX));
        break;
    case AfxSig_vbw:
        SORVANTA_CALL(void (CWnd::*)(BOOL, UINT), static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        break;
    case AfxSig_vwl:
        SORVANTA_CALL(void (CWnd::*)(UINT, LPARAM), static_cast<UINT>(wParam), lParam);
        break;
    case AfxSig_vOWNER:
        SORVANTA_CALL(void (CWnd::*)(int, LPDRAWITEMSTRUCT), static_cast<int>(wParam),
                      reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        result = TRUE;
        break;
    case AfxSig_vMEASURE:
        SORVANTA_CALL(void (CWnd::*)(int, LPMEASUREITEMSTRUCT), static_cast<int>(wParam),
                      reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        result = TRUE;
        break;
    case AfxSig_lwwM:
        result = SORVANTA_CALL(LRESULT (CWnd::*)(UINT, UINT, CMenu*), LOWORD(wParam), HIWORD(wParam),
                               CMenu::FromHandle(reinterpret_cast<HMENU>(lParam)));
        break;
    case AfxSig_vb:
        SORVANTA_CALL(void (CWnd::*)(BOOL), static_cast<BOOL>(wParam));
        break;
    case AfxSig_vDRAW:
        SORVANTA_CALL(void (CWnd::*)(LPDRAWITEMSTRUCT), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        result = TRUE;
        break;
    case AfxSig_vMEASURE1:
        SORVANTA_CALL(void (CWnd::*)(LPMEASUREITEMSTRUCT), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        result = TRUE;
        break;
    case AfxSig_vDELETE:
        SORVANTA_CALL(void (CWnd::*)(LPDELETEITEMSTRUCT), reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        result = TRUE;
        break;
    case AfxSig_iCOMPARE:
        result = SORVANTA_CALL(int (CWnd::*)(LPCOMPAREITEMSTRUCT), reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case AfxSig_hDw: {
        // wParam: the control's DC; lParam: the colour type. No brush: the parent colours it.
        HBRUSH brush = SORVANTA_CALL(HBRUSH (CWnd::*)(CDC*, UINT), CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                                     static_cast<UINT>(lParam));
        if (!brush)
            return FALSE;
        result = reinterpret_cast<LRESULT>(brush);
        break;
    }
    case AfxSig_iww:
        result = SORVANTA_CALL(int (CWnd::*)(UINT, UINT), LOWORD(wParam), HIWORD(wParam));
        break;
    default:
        return FALSE;
    }
    *pResult = result;
    return TRUE;
}

#undef SORVANTA_CALL

BOOL CWnd::ReflectOwnedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    HWND control = nullptr;
    switch (message) {
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            control = item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        const MEASUREITEMSTRUCT* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_MENU)
            control = ::GetDlgItem(m_hWnd, static_cast<int>(item->CtlID));
        break;
    }
    case WM_DELETEITEM:
        control = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_COMPAREITEM:
        control = reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        control = reinterpret_cast<HWND>(lParam);
        break;
    default:
        if (IsCtlColorMessage(message))
            control = reinterpret_cast<HWND>(lParam);
        break;
    }
    CWnd* child = FromHandlePermanent(control);
    return child && child != this && child->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OwnerDrawChildNotify(void (CWnd::*drawItem)(LPDRAWITEMSTRUCT), UINT message, WPARAM wParam,
                                LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    if (!ReflectChildNotify(message, wParam, lParam, pResult)) {
        (this->*drawItem)(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        if (pResult)
            *pResult = TRUE;
    }
    return TRUE;
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (message) {
    case WM_COMMAND:
        return OnCmdMsg(0, MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr);
    case WM_NOTIFY: {
        NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
        LRESULT ignored = 0;
        AFX_NOTIFY notify = {pResult ? pResult : &ignored, header};
        *notify.pResult = 0;
        return OnCmdMsg(0, MAKELONG(header->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    default:
        if (IsCtlColorMessage(message))
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, wParam, message - WM_CTLCOLORMSGBOX, pResult);
        return FALSE;
    }
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* child = FromHandlePermanent(hWndChild);
    return child ? child->SendChildNotifyLastMsg(pResult) : FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT id = LOWORD(wParam);
    int code = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (!control) {
        // A menu item or accelerator: a command its update handler disabled is not carried out.
        if (id == 0)
            return FALSE;
        CEnabledProbe probe;
        probe.m_nID = id;
        OnCmdMsg(id, static_cast<int>(CN_UPDATE_COMMAND_UI), &probe, nullptr);
        if (!probe.m_bEnabled)
            return TRUE;
        code = CN_COMMAND;
    } else {
        // Data exchange is moving values into the controls: their echoes are not user input.
        if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
            return TRUE;
        CWnd* child = FromHandlePermanent(control);
        if (child && child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    }
    return OnCmdMsg(id, code, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (AfxGetThreadState()->m_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    CWnd* child = FromHandlePermanent(header->hwndFrom);
    if (child && child != this && child->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    AFX_NOTIFY notify = {pResult, header};
    return OnCmdMsg(static_cast<UINT>(header->idFrom), MAKELONG(header->code, WM_NOTIFY), &notify, nullptr);
}
