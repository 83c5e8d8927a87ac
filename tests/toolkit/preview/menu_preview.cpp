// Shows the toolkit's menu bar and image menus on a real display, for a look and for a
// scripted demonstration (not a test): the test menu as a menu bar docked at the top, at
// the left (vertical text) or floating, with the test toolbar's images in its popups; or an
// MDI frame with a maximized child. Closes after the seconds given.
//   menu_preview [/xp] [/left | /float] [/mdi] [/personal] [/open N] [/expand] [/keys]
//                [/restart] [/seconds N]
//   /open N     opens entry N of the bar (1 is the first) after a second and keeps it open
//   /personal   hides Save and Print until used (behind the chevron)
//   /expand     with /open: chooses the chevron from the keyboard, and the popup opens again
//               in full
//   /keys       works the bar with keyboard input (Alt, Right, Down, Enter, Escape) and
//               prints what happens
//   /restart    with the commands hidden as /personal does: expands File and chooses Save,
//               which becomes a recent command, then closes the frame and makes a new one,
//               whose File popup shows Save while Print stays behind the chevron
// The recent list lives under the preview's own registry key, which is removed at the end.
// Wine on a bare Xvfb (no window manager) draws no popup that lies entirely over its owner,
// so the frame is kept small enough for popups to reach past it.
#include "framework/Framework.h"
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZMiniDockFrameWnd.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZRegistryManager.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/res/ToolkitResources.h"

#include "../toolkit_test_resources.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kCloseTimer = 1;
constexpr UINT kStepTimer = 2;
constexpr UINT WM_PREVIEW_OPEN = WM_APP + 1;
constexpr UINT WM_PREVIEW_RESTART = WM_APP + 2;
constexpr char kRegistryKey[] = "SorvantaMenuPreview";
constexpr char kRegistryPath[] = "Software\\SorvantaMenuPreview";

struct Options {
    bool xp = false;
    bool left = false;
    bool floating = false;
    bool mdi = false;
    bool personal = false;
    bool expand = false;
    bool keys = false;
    bool restart = false;
    int open = 0;
    int seconds = 30;
};
Options g_options;
// The frame of a /restart run after the first one has closed.
bool g_restarted = false;

CFrameWnd* CreatePreviewFrame();

// What the settings store holds as the recent commands, as a new frame reads it.
void PrintRecentList(const char* when)
{
    CString section;
    section.LoadString(IDS_QZ_RECENT_ITEM_LIST);
    CQZRegistryManager store(HKEY_CURRENT_USER);
    std::printf("recent commands %s (HKCU\\%s\\%s\\%s):", when, kRegistryPath, AfxGetApp()->m_pszProfileName,
                static_cast<LPCSTR>(section));
    for (int i = 1; i <= 5; ++i) {
        CString entry;
        entry.Format("Item%d", i);
        if (const int command = store.GetProfileInt(section, entry, 0))
            std::printf(" %d%s", command, command == ID_FILE_SAVE ? " (Save)" : command == ID_FILE_PRINT ? " (Print)" : "");
    }
    std::printf("\n");
    std::fflush(stdout);
}

void Press(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void Tap(WORD vk)
{
    Press(vk, false);
    Press(vk, true);
}

// The frame part both preview frames share: the bar, the image menus and a step list run
// from a timer (steps run inside menu loops too).
template <class Base>
class PreviewFrame : public Base {
public:
    CQZMenuBar m_wndMenuBar;
    CQZCoolMenu m_coolMenu;
    std::vector<std::function<void()>> steps;
    size_t nextStep = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_wndMenuBar.m_hWnd && m_wndMenuBar.TranslateFrameMessage(pMsg))
            return TRUE;
        return Base::PreTranslateMessage(pMsg);
    }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (nCode == CN_COMMAND && !pHandlerInfo && nID != 0 && nID < 0xF000 &&
            !(nID >= AFX_IDM_FIRST_MDICHILD)) {
            std::printf("command %u reached the frame\n", nID);
            std::fflush(stdout);
            return TRUE;
        }
        return Base::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == kCloseTimer) {
            EndMenu();
            this->PostMessage(WM_CLOSE);
            return 0;
        }
        if (message == WM_TIMER && wParam == kStepTimer) {
            if (nextStep < steps.size())
                steps[nextStep++]();
            return 0;
        }
        if (message == WM_PREVIEW_OPEN) {
            m_wndMenuBar.TrackMenu(static_cast<int>(wParam));
            return 0;
        }
        if (message == WM_PREVIEW_RESTART) {
            // The new frame becomes the main window first, so that closing this one does
            // not end the program.
            g_restarted = true;
            std::printf("the frame closes; a new one starts\n");
            std::fflush(stdout);
            if (CFrameWnd* next = CreatePreviewFrame())
                AfxGetApp()->m_pMainWnd = next;
            this->PostMessage(WM_CLOSE);
            return 0;
        }
        return Base::WindowProc(message, wParam, lParam);
    }

protected:
    BOOL CreateBar()
    {
        this->m_bAutoMenuEnable = FALSE;
        if (!m_wndMenuBar.CreateEx(this, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR))
            return FALSE;
        if (!m_wndMenuBar.LoadMenuBar(g_options.mdi ? IDR_TEST_MDI_MENU : IDR_TEST_MAIN_MENU))
            return FALSE;
        m_coolMenu.Install(this);
        const UINT toolbars[] = {IDR_TEST_TOOLBAR};
        m_coolMenu.LoadToolbars(toolbars, 1);
        if (g_options.personal || g_options.restart) {
            const UINT hidden[] = {ID_FILE_SAVE, ID_FILE_PRINT};
            m_wndMenuBar.AddHiddenCommands(hidden, 2);
            m_coolMenu.AddHiddenCommands(hidden, 2);
        }
        return TRUE;
    }
    void PlanSteps()
    {
        auto say = [](const char* text) {
            return [text] {
                std::printf("%s\n", text);
                std::fflush(stdout);
            };
        };
        auto report = [this] {
            std::printf("  state %d, hot entry %d, open entry %d, keyboard cues %d\n", m_wndMenuBar.m_nTrackingState,
                        m_wndMenuBar.m_nHotItem, m_wndMenuBar.m_nCurrentItem, CQZMenuBar::m_bKeyboardCues ? 1 : 0);
            std::fflush(stdout);
        };
        if (g_options.restart && !g_restarted) {
            PrintRecentList("at the start");
            steps.push_back(say("File opens without Save and Print; the chevron chosen, it opens in full"));
            steps.push_back([this] { this->PostMessage(WM_PREVIEW_OPEN, 1); });
            steps.push_back([] {});
            steps.push_back([] { Tap(VK_UP); });
            steps.push_back([] { Tap(VK_RETURN); });
            steps.push_back([] {});
            steps.push_back(say("S chooses Save"));
            steps.push_back([] { Tap('S'); });
            steps.push_back([] { PrintRecentList("after choosing Save"); });
            steps.push_back([this] { this->PostMessage(WM_PREVIEW_RESTART); });
        } else if (g_options.restart) {
            PrintRecentList("as the new frame starts");
            steps.push_back(say("File opens with Save, a recent command; Print stays behind the chevron"));
            steps.push_back([this] { this->PostMessage(WM_PREVIEW_OPEN, 1); });
        } else if (g_options.open > 0) {
            steps.push_back([this] { this->PostMessage(WM_PREVIEW_OPEN, g_options.open); });
            if (g_options.expand) {
                // The chevron is the last item: chosen, the popup opens again in full.
                steps.push_back([] {});
                steps.push_back([] { Tap(VK_UP); });
                steps.push_back([] { Tap(VK_RETURN); });
            }
        }
        if (g_options.keys) {
            steps.push_back(say("Alt pressed and released"));
            steps.push_back([] { Tap(VK_MENU); });
            steps.push_back(report);
            steps.push_back(say("Right twice"));
            steps.push_back([] { Tap(VK_RIGHT); });
            steps.push_back([] { Tap(VK_RIGHT); });
            steps.push_back(report);
            steps.push_back(say("Down opens the hot entry; Left moves to the previous popup"));
            steps.push_back([] { Tap(VK_DOWN); });
            steps.push_back(report);
            steps.push_back([] { Tap(VK_LEFT); });
            steps.push_back(report);
            steps.push_back(say("Escape backs out to keyboard mode, Escape again leaves it"));
            steps.push_back([] { Tap(VK_ESCAPE); });
            steps.push_back(report);
            steps.push_back([] { Tap(VK_ESCAPE); });
            steps.push_back(report);
            steps.push_back(say("Alt+F opens File with its first command selected; Enter chooses it"));
            steps.push_back([] {
                Press(VK_MENU, false);
                Tap('F');
                Press(VK_MENU, true);
            });
            steps.push_back([] { Tap(VK_RETURN); });
            steps.push_back(report);
        }
        if (!steps.empty())
            this->SetTimer(kStepTimer, 400, nullptr);
    }
};

class SdiFrame : public PreviewFrame<CFrameWnd> {
protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1 || !CreateBar())
            return -1;
        EnableToolkitDocking();
        m_wndMenuBar.EnableDocking(CBRS_ALIGN_ANY);
        if (g_options.floating) {
            CRect window;
            GetWindowRect(&window);
            FloatControlBar(&m_wndMenuBar, CPoint(window.left + 120, window.top + 140));
        } else {
            DockControlBar(&m_wndMenuBar, g_options.left ? AFX_IDW_DOCKBAR_LEFT : AFX_IDW_DOCKBAR_TOP);
        }
        PlanSteps();
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    // As the toolkit frame sets itself up: a toolkit dock bar per side, toolkit floating frames.
    void EnableToolkitDocking()
    {
        m_pFloatingFrameClass = RUNTIME_CLASS(CQZMiniDockFrameWnd);
        const struct {
            UINT id;
            DWORD style;
        } sides[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
                     {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
                     {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
                     {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT}};
        for (const auto& side : sides) {
            auto* dockBar = new CQZDockBar;
            dockBar->m_bAutoDelete = TRUE;
            dockBar->Create(this, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.style, side.id);
        }
    }
};
BEGIN_MESSAGE_MAP(SdiFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class MdiFrame : public PreviewFrame<CMDIFrameWnd> {
protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CMDIFrameWnd::OnCreate(cs) == -1 || !CreateBar())
            return -1;
        HMENU menu = m_wndMenuBar.GetMenuHandle();
        MDISetMenu(CMenu::FromHandle(menu), CMenu::FromHandle(::GetSubMenu(menu, 1)));
        CMDIChildWnd* child = nullptr;
        for (const char* title : {"Picture one.jpg", "Picture two.jpg", "Notes.txt"}) {
            child = new CMDIChildWnd;
            if (!child->Create(nullptr, title, WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, rectDefault, this))
                return -1;
        }
        MDIMaximize(child);
        PlanSteps();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(MdiFrame, CMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// The settings store (the recent list) writes under a key of the preview's own.
class PreviewApp : public CWinApp {
public:
    PreviewApp() : CWinApp("MenuPreview")
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kRegistryPath);
        SetRegistryKey(kRegistryKey);
    }
    ~PreviewApp() override { RegDeleteTreeA(HKEY_CURRENT_USER, kRegistryPath); }
};

CFrameWnd* CreatePreviewFrame()
{
    const char* title = g_options.xp ? "Menu preview - XP look" : "Menu preview - classic look";
    CFrameWnd* frame = nullptr;
    BOOL created = FALSE;
    if (g_options.mdi) {
        auto* mdi = new MdiFrame;
        HMENU menu = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_MDI_MENU));
        created = mdi->CreateEx(0, nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 620, 160, nullptr, menu);
        frame = mdi;
    } else {
        auto* sdi = new SdiFrame;
        const CRect place = g_options.left ? CRect(20, 20, 200, 420) : CRect(20, 20, 640, 150);
        created = sdi->Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, place);
        frame = sdi;
    }
    // A frame whose window cannot be made has deleted itself.
    if (!created)
        return nullptr;
    frame->SetForegroundWindow();
    frame->SetTimer(kCloseTimer, static_cast<UINT>(g_options.seconds > 0 ? g_options.seconds : 30) * 1000, nullptr);
    return frame;
}

} // namespace

int main(int argc, char** argv)
{
    PreviewApp app;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "/xp")
            g_options.xp = true;
        else if (arg == "/left")
            g_options.left = true;
        else if (arg == "/float")
            g_options.floating = true;
        else if (arg == "/mdi")
            g_options.mdi = true;
        else if (arg == "/personal")
            g_options.personal = true;
        else if (arg == "/expand")
            g_options.expand = true;
        else if (arg == "/keys")
            g_options.keys = true;
        else if (arg == "/restart")
            g_options.restart = true;
        else if (arg == "/open" && i + 1 < argc)
            g_options.open = std::atoi(argv[++i]);
        else if (arg == "/seconds" && i + 1 < argc)
            g_options.seconds = std::atoi(argv[++i]);
    }
    qzAfxData.xpLook = g_options.xp ? 1 : 0;
    CFrameWnd* frame = CreatePreviewFrame();
    if (!frame)
        return 1;
    app.m_pMainWnd = frame;
    return app.Run();
}
