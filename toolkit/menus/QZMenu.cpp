// The toolkit's popup menu tracking.
#include "toolkit/menus/QZMenu.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/menus/QZPopupMenu.h"
#include "toolkit/res/ToolkitResources.h"

bool CQZMenu::m_bActive = false;

namespace {

// Lets the messages waiting in the queue run (the toolkit popups just told to close among
// them) before a popup opens. FALSE when the program is to end: a WM_QUIT was waiting (it
// stays for the outer loop) or one was taken by the pump (it is posted again with its code).
bool PumpPendingMessages()
{
    CWinThread* thread = AfxGetApp();
    if (!thread)
        thread = AfxGetThread();
    MSG msg;
    for (int pumped = 0; pumped < CQZMenu::kMaxPumpedMessages; ++pumped) {
        if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
            return false;
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            return true;
        if (thread) {
            if (!thread->PumpMessage()) {
                ::PostQuitMessage(static_cast<int>(thread->m_msgCur.wParam));
                return false;
            }
        } else if (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

} // namespace

CQZMenu::CQZMenu()
{
    m_bActive = true;
}

CQZMenu::~CQZMenu()
{
    m_bActive = false;
}

UINT CQZMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pOwner, LPCRECT, BOOL bNotify)
{
    return TrackPopupMenuEx(m_hMenu, nFlags, x, y, pOwner, nullptr, bNotify);
}

UINT CQZMenu::TrackPopupMenuEx(UINT nFlags, int x, int y, CWnd* pOwner, LPTPMPARAMS lpParams, BOOL bNotify)
{
    return TrackPopupMenuEx(m_hMenu, nFlags, x, y, pOwner, lpParams, bNotify);
}

UINT CQZMenu::TrackPopupMenuEx(HMENU hMenu, UINT nFlags, int x, int y, CWnd* pOwner, LPTPMPARAMS lpParams,
                               BOOL bNotify)
{
    const UINT popupSide = CQZCoolMenu::m_nPopupSide;
    nFlags |= TPM_RETURNCMD;
    HWND owner = pOwner->GetSafeHwnd();
    UINT command = 0;
    {
        CMenuTrackingScope tracking(owner, hMenu);
        for (POSITION pos = CQZPopupMenu::m_listPopups.GetHeadPosition(); pos;)
            ::PostMessageA(CQZPopupMenu::m_listPopups.GetNext(pos)->m_hWnd, WM_CLOSE, 0, 0);
        // A program that is to end opens no popup: the quit goes on to the outer loop.
        if (!PumpPendingMessages())
            return 0;
        command = static_cast<UINT>(::TrackPopupMenuEx(hMenu, nFlags, x, y, owner, lpParams));
    }
    if (command == ID_QZ_FULL_MENUS) {
        // The same popup again, now with all its items and its joint with the opener.
        CQZCoolMenu::m_nPopupSide = popupSide;
        ::SendMessageA(owner, WM_COMMAND, ID_QZ_FULL_MENUS, 0);
        return TrackPopupMenuEx(hMenu, nFlags, x, y, pOwner, lpParams, bNotify);
    }
    if (bNotify && command)
        ::PostMessageA(owner, WM_COMMAND, command, 0);
    return command;
}
