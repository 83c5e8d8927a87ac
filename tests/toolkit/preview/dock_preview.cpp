// Shows toolkit docking on a real display, for a look and a scripted demonstration (not a
// test): a frame with a toolkit dock bar on every side and two toolkit toolbars that drag
// live, "Standard" and a longer, customisable "Tools" beside it, whose first button drops
// down a menu and whose second a colour popup. With /script the program drives itself
// through the system's input: Standard is dragged by its gripper to the left, bottom,
// right and top sides and torn off with Ctrl held, Tools is dragged off with Shift held and
// floats turned, its menu and its colour popup are dropped down and a colour is clicked,
// a drag of Standard is cancelled with Escape, double clicks dock Standard, float it
// and dock it again; then the frame is narrowed until the bar at the row's end hides
// buttons, its chevron is clicked, the popup shows them and its "Customize..." opens the
// customise dialog, closed with Escape. A picture of the screen around the frame is saved
// as a BMP in the folder after every step, and where the bars are is printed. The dock
// layout and the customisable bar's buttons are saved in the registry when the frame
// closes and restored when it opens (/fresh starts from the built-in layout).
//   dock_preview [/xp] [/fresh] [/script <folder>] [/shot <folder> <name>] [/seconds N]
//   /shot   saves one picture once the frame is up, then closes (the restored layout)
// Wine on a bare Xvfb (no window manager) draws no popup that lies entirely over its
// owner, so the script keeps floating frames and the chevron's popup reaching past the frame.
#include "framework/Framework.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZDockState.h"
#include "toolkit/docking/QZMiniDockFrameWnd.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/res/ToolkitResources.h"

#include "tests/framework/preview_support.h"

#include "../toolkit_dock_bars.h"
#include "../toolkit_test_resources.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr char kProfile[] = "DockPreview";
constexpr char kCompany[] = "SorvantaDockPreview";
// Where the application's profile lives; /fresh removes it.
constexpr char kCompanyKey[] = "Software\\SorvantaDockPreview";
constexpr UINT kStandardId = AFX_IDW_TOOLBAR;
constexpr UINT kToolsId = AFX_IDW_TOOLBAR + 1;
// Tools' first button drops down a menu beside its arrow, its second a colour popup.
constexpr UINT kMenuCommand = 7700;
constexpr UINT kColourCommand = 7701;
constexpr UINT kCloseTimer = 1;
constexpr UINT kShotTimer = 2;
// The script thread asks the frame to take the width in wParam.
constexpr UINT WM_PREVIEW_WIDTH = WM_APP + 1;
// The script thread wakes the frame's thread so that it reaches its idle time again.
constexpr UINT WM_PREVIEW_WAKE = WM_APP + 2;
// The frame's size at the start, and narrowed so that Tools cannot show all its buttons.
constexpr int kFrameWidth = 520;
constexpr int kFrameHeight = 300;
constexpr int kNarrowWidth = 200;

struct Options {
    bool xp = false;
    bool fresh = false;
    std::string scriptFolder;
    std::string shotFolder;
    std::string shotName;
    int seconds = 60;
};
Options g_options;
// Set each time the frame's thread has handled every message and input it had.
HANDLE g_idle = nullptr;
// Where the last mouse message the frame's thread took from its queue was, on the screen.
std::atomic<LONG> g_lastMouseX{0};
std::atomic<LONG> g_lastMouseY{0};
HHOOK g_mouseHook = nullptr;

LRESULT CALLBACK NoteMouseMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && wParam == PM_REMOVE && msg->message >= WM_MOUSEFIRST && msg->message <= WM_MOUSELAST) {
        g_lastMouseX = msg->pt.x;
        g_lastMouseY = msg->pt.y;
    }
    return ::CallNextHookEx(g_mouseHook, code, wParam, lParam);
}

// Saves the screen around the frame (wide enough for its floating frames and popups), or
// the whole screen, as a 24-bit BMP.
bool SaveScreenAround(HWND frame, const std::string& path, bool wholeScreen = false)
{
    const CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    CRect area = screen;
    if (!wholeScreen) {
        ::GetWindowRect(frame, &area);
        area.InflateRect(120, 120, 120, 260);
        area.IntersectRect(&area, &screen);
    }
    return preview_support::SaveScreenPicture(area, path);
}

class DockPreviewFrame : public CFrameWnd {
public:
    CQZToolBar standard;
    CQZToolBar tools;

    CDockBar* DockBar(UINT id) { return DYNAMIC_DOWNCAST(CDockBar, GetControlBar(id)); }

    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        if (!toolkit_test::CreateToolkitDockBars(this))
            return -1;
        const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY;
        const CRect borders = standard.GetBorders();
        // Tools keeps its fixed shapes, so that Shift shows it floating as a column; it is
        // customisable, so it restores its buttons when docking is enabled and saves them
        // when it goes.
        tools.m_bCustomizable = TRUE;
        if (!standard.CreateEx(this, TBSTYLE_FLAT, style | CBRS_SIZE_DYNAMIC, borders, kStandardId) ||
            !standard.LoadToolBar(IDR_TEST_TOOLBAR) || !tools.CreateEx(this, TBSTYLE_FLAT, style, borders, kToolsId))
            return -1;
        // Ten commands on the same four images.
        std::vector<UINT> ids;
        for (UINT i = 0; i < 10; ++i)
            ids.push_back(i == 3 || i == 7 ? 0 : 7700 + i);
        tools.SetSizes(CSize(23, 23), CSize(16, 16));
        if (!tools.SetButtons(ids.data(), static_cast<int>(ids.size())) ||
            !tools.SetBitmap(MAKEINTRESOURCEA(IDR_TEST_TOOLBAR)))
            return -1;
        for (int i = 0, image = 0; i < static_cast<int>(ids.size()); ++i) {
            if (ids[static_cast<size_t>(i)])
                tools.SetButtonInfo(i, ids[static_cast<size_t>(i)], 0, image++ % 4);
        }
        tools.SaveOriginalButtons();
        QZ_DROPDOWNBUTTON* menu = tools.AddDropDownButton(kMenuCommand, TRUE);
        QZ_DROPDOWNBUTTON* colour = tools.AddDropDownButton(kColourCommand, FALSE);
        if (!menu || !colour)
            return -1;
        menu->nMenuID = IDR_TEST_CONTEXT_MENU;
        colour->bColorPopup = TRUE;
        colour->bShowColor = TRUE;
        colour->clrCurrent = RGB(255, 0, 0);
        colour->clrDefault = RGB(0, 0, 0);
        standard.SetWindowText("Standard");
        tools.SetWindowText("Tools");
        for (CQZToolBar* bar : {&standard, &tools}) {
            bar->SetOwner(this);
            bar->EnableDocking(CBRS_ALIGN_ANY);
        }
        DockControlBar(&standard, DockBar(AFX_IDW_DOCKBAR_TOP));
        RecalcLayout();
        // Tools in the same row, right of Standard.
        CRect beside;
        standard.GetWindowRect(&beside);
        beside.OffsetRect(beside.Width() + 2, 0);
        DockControlBar(&tools, DockBar(AFX_IDW_DOCKBAR_TOP), &beside);
        if (!g_options.fresh) {
            CQZDockState state;
            state.LoadState(kProfile);
            if (state.m_arrBarInfo.GetSize() > 0)
                SetDockState(state);
        }
        return 0;
    }

    afx_msg void OnClose()
    {
        CQZDockState state;
        GetDockState(state);
        state.SaveState(kProfile);
        CFrameWnd::OnClose();
    }

    afx_msg void OnTimer(UINT_PTR id)
    {
        if (id == kCloseTimer) {
            PostMessage(WM_CLOSE);
        } else if (id == kShotTimer) {
            KillTimer(kShotTimer);
            SaveScreenAround(m_hWnd, g_options.shotFolder + "\\" + g_options.shotName + ".bmp");
            PostMessage(WM_CLOSE);
        }
    }

    afx_msg LRESULT OnWidth(WPARAM wParam, LPARAM lParam)
    {
        CRect window;
        GetWindowRect(&window);
        SetWindowPos(nullptr, 0, 0, static_cast<int>(wParam), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }

    // The colour drop-down's news, passed on by the toolbar.
    afx_msg LRESULT OnColourChanged(WPARAM wParam, LPARAM lParam)
    {
        std::printf("dock_preview: command %ld took the colour %06lX\n", static_cast<long>(lParam),
                    static_cast<unsigned long>(wParam));
        std::fflush(stdout);
        return 0;
    }
    afx_msg LRESULT OnColourPopupClosed(WPARAM wParam, LPARAM lParam)
    {
        std::printf("dock_preview: the colour popup of command %ld closed\n", static_cast<long>(lParam));
        std::fflush(stdout);
        return 0;
    }

    afx_msg void OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdatePrint(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnCommandStub() {}
    afx_msg void OnToolsCommand(UINT) {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(DockPreviewFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_PREVIEW_WIDTH, OnWidth)
    ON_MESSAGE(WM_QZ_COLORCHANGED, OnColourChanged)
    ON_MESSAGE(WM_QZ_COLORCLOSEUP, OnColourPopupClosed)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdatePrint)
    ON_COMMAND(ID_FILE_OPEN, OnCommandStub)
    ON_COMMAND(ID_FILE_PRINT, OnCommandStub)
    ON_COMMAND_RANGE(7700, 7709, OnToolsCommand)
    ON_COMMAND(ID_TEST_FIRST, OnCommandStub)
    ON_COMMAND(ID_TEST_SECOND, OnCommandStub)
END_MESSAGE_MAP()

// The script: the system's input, one step at a time, a picture after each.
class Script {
public:
    Script(DockPreviewFrame* frame) : m_frame(frame->m_hWnd), m_standard(frame->standard.m_hWnd),
                                      m_tools(frame->tools.m_hWnd)
    {
    }

    void Run()
    {
        WaitIdle();
        Shot("01-start");
        // Standard by its gripper to each side of the frame's client area.
        Drag(Gripper(m_standard), EdgeOfClient('L'));
        Shot("02-docked-left");
        Drag(Gripper(m_standard), EdgeOfClient('B'));
        Shot("03-docked-bottom");
        Drag(Gripper(m_standard), EdgeOfClient('R'));
        Shot("04-docked-right");
        Drag(Gripper(m_standard), EdgeOfClient('T'));
        Shot("05-docked-top");
        // Torn off with Ctrl held, and dropped where its frame reaches past the main frame.
        const CRect client = ClientOnScreen();
        Drag(Gripper(m_standard), CPoint(client.left + 40, client.bottom + 40), VK_CONTROL);
        Shot("06-floating-ctrl");
        // Tools dragged off the top with Shift held: it floats turned, as a column, and goes back.
        Drag(Gripper(m_tools), CPoint(client.right - 40, client.bottom + 30), VK_SHIFT);
        Shot("07-turned-shift");
        // Its drop-downs, there below the frame, each from its button's arrow (the bar draws
        // arrows for all its drop-down buttons once one asks for them): the menu, closed
        // with Escape; the colour popup, where a click on a colour chooses it.
        const CRect menuButton = ButtonOnScreen(m_tools, kMenuCommand);
        ClickAndGoOn(CPoint(menuButton.right - 4, menuButton.CenterPoint().y));
        Shot("08-menu-drop-down", false);
        Press(VK_ESCAPE);
        WaitIdle();
        const CRect colourButton = ButtonOnScreen(m_tools, kColourCommand);
        ClickAndGoOn(CPoint(colourButton.right - 4, colourButton.CenterPoint().y));
        Shot("09-colour-popup", false);
        Click(CPoint(colourButton.left + 52, colourButton.bottom + 60));
        Shot("10-colour-chosen");
        Drag(CaptionOf(m_tools), CPoint(client.left + 260, client.top + 2));
        // Dragged over the left side (it docks there live) and cancelled with Escape.
        const CPoint before = Caption();
        DragAndCancel(before, EdgeOfClient('L'));
        Shot("12-escape-cancelled");
        // A double click on the caption docks it where it was docked last (the top row), one
        // on its gripper floats it where it floated last, and one more docks it again.
        DoubleClick(Caption());
        Shot("13-double-click-docked");
        DoubleClick(Gripper(m_standard));
        Shot("14-double-click-floating");
        DoubleClick(Caption());
        // The frame narrowed until the bar that ends the row hides buttons.
        ::SendMessageA(m_frame, WM_PREVIEW_WIDTH, kNarrowWidth, 0);
        Shot("15-narrowed-chevron");
        // The chevron of the bar that ends the row.
        HWND chevron = ::GetDlgItem(m_tools, ID_QZ_CUSTOMIZE_TOOLBAR);
        if (!chevron || !::IsWindowVisible(chevron))
            chevron = ::GetDlgItem(m_standard, ID_QZ_CUSTOMIZE_TOOLBAR);
        if (chevron && ::IsWindowVisible(chevron)) {
            CRect rect;
            ::GetWindowRect(chevron, &rect);
            Click(rect.CenterPoint());
            Shot("16-chevron-popup");
            // The popup's "Customize..." opens the toolbar's customise dialog, a modal loop
            // of its own; Escape closes it, and its end saves the bar's buttons.
            CRect customise;
            if (PopupCustomiseItem(&customise)) {
                ClickAndGoOn(customise.CenterPoint());
                // The dialog takes a few seconds to fill its lists under Wine; the whole
                // screen, since the system places it where it likes.
                Settle(3000);
                Shot("17-customise-dialog", false, true);
                Press(VK_ESCAPE);
                WaitIdle();
            } else {
                std::printf("dock_preview: the popup has no Customize... item\n");
            }
        } else {
            std::printf("dock_preview: the chevron is not shown\n");
        }
        ::SendMessageA(m_frame, WM_PREVIEW_WIDTH, kFrameWidth, 0);
        // The layout to keep: Standard floating below the frame, Tools down the left side.
        Drag(Gripper(m_standard), CPoint(client.left + 200, client.bottom + 60), VK_CONTROL);
        Drag(Gripper(m_tools), EdgeOfClient('L'));
        Shot("18-saved-layout");
        // Closed once every step is done: the layout is saved as the frame closes.
        WaitIdle();
        ::PostMessageA(m_frame, WM_CLOSE, 0, 0);
    }

private:
    static void Settle(DWORD ms)
    {
        ::Sleep(ms);
    }
    // Until the frame's thread has worked through all the input given so far: its layouts
    // and places are then those the next step reads.
    void WaitIdle() const
    {
        ::Sleep(50);
        ::ResetEvent(g_idle);
        ::PostMessageA(m_frame, WM_PREVIEW_WAKE, 0, 0);
        ::WaitForSingleObject(g_idle, 10000);
    }
    static void MouseTo(CPoint at)
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(at.x, 65536, ::GetSystemMetrics(SM_CXSCREEN));
        input.mi.dy = MulDiv(at.y, 65536, ::GetSystemMetrics(SM_CYSCREEN));
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        ::SendInput(1, &input, sizeof input);
    }
    static void Button(bool down)
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
        ::SendInput(1, &input, sizeof input);
    }
    static void Key(WORD vk, bool down)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        ::SendInput(1, &input, sizeof input);
    }
    void Click(CPoint at) const
    {
        MouseTo(at);
        Settle(100);
        Button(true);
        Settle(60);
        Button(false);
        WaitIdle();
    }
    // A click where the frame's thread goes into a modal loop (a menu, a popup, a dialog):
    // no idle time to wait for, only a while for it to be drawn.
    static void ClickAndGoOn(CPoint at)
    {
        MouseTo(at);
        Settle(150);
        Button(true);
        Settle(60);
        Button(false);
        Settle(1200);
    }
    static void Press(WORD vk)
    {
        Key(vk, true);
        Key(vk, false);
        Settle(300);
    }
    // The button of the command on the screen.
    static CRect ButtonOnScreen(HWND bar, UINT command)
    {
        CRect rect;
        ::SendMessageA(bar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect));
        ::MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    // The "Customize..." item of the open chevron popup (the active window): the button
    // of the chevron's command on one of the popup's bars.
    static bool PopupCustomiseItem(CRect* item)
    {
        HWND popup = ::GetForegroundWindow();
        for (HWND child = ::GetWindow(popup, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (::SendMessageA(child, TB_COMMANDTOINDEX, ID_QZ_CUSTOMIZE_TOOLBAR, 0) >= 0) {
                *item = ButtonOnScreen(child, ID_QZ_CUSTOMIZE_TOOLBAR);
                return true;
            }
        }
        return false;
    }
    // Two clicks well within the double-click time: the first press starts a drag that its
    // release ends in place, the second press arrives as the double click.
    void DoubleClick(CPoint at) const
    {
        WaitIdle();
        MouseTo(at);
        Settle(150);
        for (int i = 0; i < 2; ++i) {
            Button(true);
            Settle(40);
            Button(false);
            Settle(40);
        }
        WaitIdle();
        Settle(300);
    }
    // Until the frame's thread has taken the mouse message at that point, and a little more.
    static void WaitForPointer(CPoint at)
    {
        for (int i = 0; i < 500 && (g_lastMouseX != at.x || g_lastMouseY != at.y); ++i)
            ::Sleep(10);
        ::Sleep(300);
    }
    // Until the bar sits on the dock bar of that id, and a little more for its painting.
    static void WaitForPlace(HWND bar, int dockBarId)
    {
        for (int i = 0; i < 500 && ::GetDlgCtrlID(::GetParent(bar)) != dockBarId; ++i)
            ::Sleep(10);
        ::Sleep(1500);
    }
    // A press at from, moves in steps to to (with the key held from the first move), the
    // release, the key let go.
    void Drag(CPoint from, CPoint to, WORD key = 0) const
    {
        WaitIdle();
        MouseTo(from);
        Settle(150);
        Button(true);
        Settle(150);
        constexpr int kSteps = 12;
        for (int i = 1; i <= kSteps; ++i) {
            if (i == 2 && key)
                Key(key, true);
            MouseTo(CPoint(from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps));
            Settle(60);
        }
        Settle(150);
        Button(false);
        Settle(150);
        if (key)
            Key(key, false);
        WaitIdle();
    }
    // A drag to to, a picture while it is there, then Escape before the release.
    void DragAndCancel(CPoint from, CPoint to)
    {
        WaitIdle();
        MouseTo(from);
        Settle(150);
        Button(true);
        Settle(150);
        constexpr int kSteps = 12;
        for (int i = 1; i <= kSteps; ++i) {
            MouseTo(CPoint(from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps));
            Settle(60);
        }
        // The drag's own loop runs now: there is no idle time to wait for, only the last
        // movement to be taken from the queue.
        WaitForPointer(to);
        WaitForPlace(m_standard, AFX_IDW_DOCKBAR_LEFT);
        Shot("11-escape-while-dragging", false);
        Key(VK_ESCAPE, true);
        Key(VK_ESCAPE, false);
        Settle(150);
        Button(false);
        WaitIdle();
    }
    CRect ClientOnScreen() const
    {
        CRect client;
        ::GetClientRect(m_frame, &client);
        ::MapWindowPoints(m_frame, nullptr, reinterpret_cast<POINT*>(&client), 2);
        return client;
    }
    // Two pixels inside the client area's edge, half way along it.
    CPoint EdgeOfClient(char side) const
    {
        const CRect c = ClientOnScreen();
        switch (side) {
        case 'L':
            return CPoint(c.left + 2, c.CenterPoint().y);
        case 'R':
            return CPoint(c.right - 3, c.CenterPoint().y);
        case 'B':
            return CPoint(c.CenterPoint().x, c.bottom - 3);
        default:
            return CPoint(c.left + 20, c.top + 2);
        }
    }
    // The middle of a docked bar's gripper: along the left edge of a horizontal bar, the
    // top edge of a vertical one; the caption of its floating frame when it floats.
    CPoint Gripper(HWND bar) const
    {
        CRect rect;
        ::GetWindowRect(bar, &rect);
        if (::GetDlgCtrlID(::GetParent(bar)) == AFX_IDW_DOCKBAR_FLOAT)
            return CaptionOf(bar);
        const bool vertical = rect.Height() > rect.Width();
        return vertical ? CPoint(rect.CenterPoint().x, rect.top + 4) : CPoint(rect.left + 4, rect.CenterPoint().y);
    }
    static CPoint CaptionOf(HWND bar)
    {
        HWND floating = ::GetParent(::GetParent(bar));
        CRect rect;
        ::GetWindowRect(floating, &rect);
        // Near the caption's left end: a narrow frame's option and close buttons come soon after.
        return CPoint(rect.left + 8, rect.top + ::GetSystemMetrics(SM_CYEDGE) + 6);
    }
    CPoint Caption() const { return CaptionOf(m_standard); }
    static const char* Place(HWND bar)
    {
        switch (::GetDlgCtrlID(::GetParent(bar))) {
        case AFX_IDW_DOCKBAR_TOP:
            return "top";
        case AFX_IDW_DOCKBAR_BOTTOM:
            return "bottom";
        case AFX_IDW_DOCKBAR_LEFT:
            return "left";
        case AFX_IDW_DOCKBAR_RIGHT:
            return "right";
        case AFX_IDW_DOCKBAR_FLOAT:
            return "a floating frame";
        default:
            return "?";
        }
    }
    void Shot(const char* name, bool settled = true, bool wholeScreen = false)
    {
        if (settled)
            WaitIdle();
        Settle(200);
        const std::string look = qzAfxData.xpLook ? "xp" : "classic";
        const std::string path = g_options.scriptFolder + "\\" + look + "-" + name + ".bmp";
        if (!SaveScreenAround(m_frame, path, wholeScreen))
            std::printf("dock_preview: no picture %s\n", path.c_str());
        POINT pointer = {};
        ::GetCursorPos(&pointer);
        std::printf("dock_preview: %s (Standard on %s, Tools on %s, pointer %ld,%ld)\n", name, Place(m_standard),
                    Place(m_tools), pointer.x, pointer.y);
        std::fflush(stdout);
    }

    HWND m_frame;
    HWND m_standard;
    HWND m_tools;
};

DWORD WINAPI RunScript(LPVOID frame)
{
    Script(static_cast<DockPreviewFrame*>(frame)).Run();
    return 0;
}

class DockPreviewApp : public CWinApp {
public:
    DockPreviewApp() : CWinApp(kProfile) {}
    BOOL OnIdle(LONG lCount) override
    {
        if (g_idle)
            ::SetEvent(g_idle);
        return CWinApp::OnIdle(lCount);
    }
};

} // namespace

int main(int argc, char** argv)
{
    DockPreviewApp app;
    app.SetRegistryKey(kCompany);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "/xp")
            g_options.xp = true;
        else if (arg == "/fresh")
            g_options.fresh = true;
        else if (arg == "/script" && i + 1 < argc)
            g_options.scriptFolder = argv[++i];
        else if (arg == "/shot" && i + 2 < argc) {
            g_options.shotFolder = argv[++i];
            g_options.shotName = argv[++i];
        } else if (arg == "/seconds" && i + 1 < argc)
            g_options.seconds = std::atoi(argv[++i]);
    }
    qzAfxData.xpLook = g_options.xp ? 1 : 0;
    if (g_options.fresh)
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kCompanyKey);
    auto* frame = new DockPreviewFrame;
    if (!frame->Create(nullptr, g_options.xp ? "Docking - XP look" : "Docking - classic look",
                       WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(200, 150, 200 + kFrameWidth, 150 + kFrameHeight)))
        return 1;
    app.m_pMainWnd = frame;
    frame->SetTimer(kCloseTimer, static_cast<UINT>(g_options.seconds > 0 ? g_options.seconds : 60) * 1000, nullptr);
    if (!g_options.shotFolder.empty())
        frame->SetTimer(kShotTimer, 1500, nullptr);
    if (!g_options.scriptFolder.empty()) {
        g_idle = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_mouseHook = ::SetWindowsHookExA(WH_GETMESSAGE, &NoteMouseMessage, nullptr, ::GetCurrentThreadId());
        HANDLE thread = ::CreateThread(nullptr, 0, &RunScript, frame, 0, nullptr);
        if (thread)
            ::CloseHandle(thread);
    }
    return app.Run();
}
