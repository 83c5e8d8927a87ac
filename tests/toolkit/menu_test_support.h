// What the image menu and menu bar tests share: an application registered under a key of
// its own (deleted whole after each test), a script of steps run from a timer inside a
// modal menu loop (with a watchdog that ends a menu left open, so a failing test cannot
// hang), a way to read a menu's items back, and a frame that shows the test menu through
// a toolkit menu bar, gives the bar the first look at what it pre-translates and draws its
// popups with image menus, recording the commands it receives.
#pragma once

#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/menus/QZMenu.h"
#include "toolkit/menus/QZPopupMenu.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit_test_resources.h"
#include "toolkit_test_support.h"

#include <functional>
#include <string>
#include <vector>

namespace toolkit_test {

using test_support::CreateForeignWindow;

constexpr char kMenuCompany[] = "SorvantaMenuTest";
constexpr char kMenuProfile[] = "MenuTest";

class MenuTestApp : public CWinApp {
public:
    MenuTestApp() : CWinApp(kMenuProfile) { SetRegistryKey(kMenuCompany); }
    ~MenuTestApp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaMenuTest"); }
};

// Runs its steps one per timer tick (every intervalMs) on the thread's timer, which the
// system's menu loop dispatches; each step may look at the open menus and post input, or
// wait for a condition. A step runs only while a menu is shown: a tick can come due
// before the menu opens (the tracking call pumps the queue first) or between two menu
// loops, and input posted then would reach no menu.
// After the last step, and whenever the watchdog fires, an open menu is ended.
class MenuScript {
public:
    using Step = std::function<void()>;
    // The watchdog is generous: only a stuck menu reaches it, never a slow machine.
    explicit MenuScript(std::vector<Step> steps, UINT intervalMs = 40, UINT watchdogMs = 20000);
    ~MenuScript();
    MenuScript(const MenuScript&) = delete;
    MenuScript& operator=(const MenuScript&) = delete;

    // A step that holds the script until the condition is true (tried again every tick).
    static Step WaitUntil(std::function<bool()> condition);

    // Every step has run.
    bool Finished() const { return s_next >= s_steps.size(); }
    // The watchdog had to end a menu.
    bool TimedOut() const { return s_timedOut; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR m_tick = 0;
    UINT_PTR m_watchdog = 0;
    static inline std::vector<Step> s_steps;
    static inline size_t s_next = 0;
    static inline bool s_timedOut = false;
    static inline bool s_retry = false;
};

// Posts a key press (down and up) to the thread's queue, where an open menu takes it.
void PostKey(UINT vk);
// The newest menu window alive (its class is "#32768"), or null.
HWND NewestMenuWindow();
// The menu a menu window shows.
HMENU MenuOfWindow(HWND menuWindow);

// One item as the tests compare it: type, state, id, item data and whole text.
struct MenuItemState {
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    ULONG_PTR data = 0;
    HMENU subMenu = nullptr;
    std::string text;
    bool operator==(const MenuItemState& other) const;
};
std::vector<MenuItemState> ReadMenu(HMENU menu);
// The texts of a menu's items, "-" for a separator, the record's text for an item converted
// to an image item.
std::vector<std::string> MenuTexts(HMENU menu);

// Sends WM_INITMENUPOPUP for popup to window as the system does when the popup opens.
void InitPopup(HWND window, HMENU popup, UINT index = 0, BOOL sysMenu = FALSE);
// Sends the WM_MENUSELECT that means the menu loop has ended.
void EndMenuLoop(HWND window);

// Colours no two of which are alike, so that every pixel of a drawing tells who drew it;
// SetDrawingColours puts them into the toolkit's global record (UpdateSysColors puts the
// system's back).
constexpr COLORREF kDrawMenu = RGB(230, 230, 210);
constexpr COLORREF kDrawMenuText = RGB(20, 20, 120);
constexpr COLORREF kDrawSelection = RGB(40, 90, 200);
constexpr COLORREF kDrawSelectionText = RGB(250, 250, 200);
constexpr COLORREF kDrawGray = RGB(128, 120, 128);
constexpr COLORREF kDrawHilite = RGB(255, 255, 254);
constexpr COLORREF kDrawShadow = RGB(100, 96, 90);
constexpr COLORREF kDrawDarkShadow = RGB(60, 50, 40);
constexpr COLORREF kDrawFace = RGB(200, 196, 190);
constexpr COLORREF kDrawXPBorder = RGB(10, 120, 10);
constexpr COLORREF kDrawXPBarFace = RGB(220, 210, 180);
constexpr COLORREF kDrawXPMenuBack = RGB(249, 248, 247);
constexpr COLORREF kDrawXPHot = RGB(180, 200, 240);
void SetDrawingColours();

// A frame with a toolkit menu bar showing menu 128 and image menus with the images of
// toolbar 128. Its pre-translation gives the bar the first look.
class MenuFrame : public CFrameWnd {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    // Records the messages of the kinds in `watched` that reach the frame's own procedure.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    CQZMenuBar m_wndMenuBar;
    CQZCoolMenu m_coolMenu;
    // Commands that the frame hides from its popups until used.
    std::vector<UINT> hiddenCommands;
    // Commands that reached the frame, in order.
    std::vector<UINT> commands;
    std::vector<UINT> watched;
    std::vector<MSG> received;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};

// A shown frame made before each test and destroyed after it.
class MenuFrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Makes the frame (after the test set its hidden commands on frameSetup).
    void CreateFrame();

    MenuTestApp app;
    MenuFrame* frame = nullptr;
    std::vector<UINT> hiddenCommands;
};

} // namespace toolkit_test
