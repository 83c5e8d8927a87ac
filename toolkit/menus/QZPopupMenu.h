// Popup menu windows: the toolkit watches the menu windows ("#32768") of the user-interface
// thread come and go with a thread-wide WH_CBT hook and puts a CQZPopupMenu hook on each
// while it exists. The hook ties the window to its menu and to the image menu that draws
// its items, takes the window's frame away in the XP look (the items draw the border), has
// the system draw menu shadows as the toolkit says (or, before XP, draws its own beside the
// popup and saves the screen under it to paint it back), keeps menu animation off while
// toolkit popups are open, and lets a click on the chevron item fill the popup in place.
// A menu window learns its menu in either order: made after its menu was initialised, it
// takes the pending menu; made before, it waits for the next initialisation.
#pragma once

#include "framework/CollectionLists.h"
#include "framework/DC.h"
#include "toolkit/foundation/QZWndHook.h"

#include <windows.h>

class CQZCoolMenu;
class CQZMemDC;
class CQZWndShadow;

class CQZPopupMenu : public CQZWndHook {
public:
    CQZPopupMenu();
    ~CQZPopupMenu() override;

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Keeps the screen under rect (null: the window rectangle) and 4 pixels right of it and below.
    void SaveBackground(const RECT* pRect);
    // Writes every item back unchanged, so the system measures and draws them again.
    void RefreshItems();
    void UpdateShadow();
    void RemoveShadow();
    // Paints the saved screen back and forgets it.
    void DiscardBackground();

    // Deletes the hook, or, while it handles one of its window's messages, marks it to go
    // once that message is done.
    void Release();

    // The popup hook of the newest menu window alive, or null.
    static CQZPopupMenu* GetNewest();
    // The handshake with an image menu initialising a popup that is not a system menu:
    // the waiting menu window takes the menu, or the menu becomes the pending one.
    static void AttachMenu(HMENU hMenu);
    // A system menu opens: no menu window waits for it.
    static void ForgetWaitingPopup();

    HMENU m_hMenu;
    CQZWndShadow* m_pShadow;
    CQZMemDC* m_pBackground;
    bool m_bSkipShadow;
    CQZCoolMenu* m_pOwner;
    // A device context of the whole screen.
    CWindowDC m_dcScreen;

    // Every popup hook alive, oldest first; the list owns them.
    static CList<CQZPopupMenu*, CQZPopupMenu*&> m_listPopups;
    static int m_nLivePopups;
    static HMENU m_hMenuPending;
    static CQZPopupMenu* m_pWaitingPopup;
    static BOOL m_bSavedAnimation;
    static BOOL m_bSavedShadow;
    static bool m_bSystemShadows;

private:
    void OnWindowPosChanged(const WINDOWPOS* pPos);

    // How deep the hook is in its window's messages, and whether it goes when it leaves them.
    int m_nDepth = 0;
    bool m_bDeleteOnExit = false;

    CQZPopupMenu(const CQZPopupMenu&) = delete;
    CQZPopupMenu& operator=(const CQZPopupMenu&) = delete;
};

// TRUE for a menu window (class "#32768").
BOOL QZIsMenuWindow(HWND hWnd);
// XP look only: takes the borders and edges off a menu window.
void QZRemoveMenuFrame(HWND hWnd);
