// Shows the toolkit's tab controls, tab bar, rebar and dock splitters on a real display
// and saves a picture of each state as a BMP into the folder given (a Windows path), for
// a look (not a test):
//   - a frame set up for toolkit docking with a tab bar of three views and a docking window
//     in one column on the left and a docking window along the bottom; its splitters are
//     dragged with scripted mouse input (the column wider, the window splitter down, the
//     bottom row taller), one drag is ended with Escape, and a tab is clicked; in the
//     classic look and again in the XP look;
//   - a rebar with two toolbar bands;
//   - tab controls with their tabs on each of the four sides, in the XP and classic looks.
// While a splitter drag is under way it reads the screen where the drag line lies and
// prints whether the line inverted the pixels there and whether Escape gave them back.
//   tabs_preview <folder>
#include "framework/Framework.h"
#include "toolkit/bars/QZReBar.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/controls/QZTabCtrl.h"
#include "toolkit/controls/QZTabCtrlBar.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/docking/QZMiniDockFrameWnd.h"
#include "toolkit/docking/QZSplitterDock.h"
#include "toolkit/foundation/QZAuxData.h"

#include "../toolkit_dock_bars.h"
#include "../toolkit_test_resources.h"
#include "tests/framework/preview_support.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string g_folder;

// The window as the screen shows it, saved as a 24-bit BMP named after the state.
void SavePicture(HWND window, const char* name)
{
    const std::string path = g_folder + "\\" + name + ".bmp";
    if (!preview_support::SaveWindowPicture(window, path)) {
        std::printf("picture %s not saved\n", name);
        return;
    }
    std::printf("picture %s\n", name);
    std::fflush(stdout);
}

// Screen pixels of a rectangle, row by row.
std::vector<COLORREF> ReadScreen(const CRect& rect)
{
    std::vector<COLORREF> pixels;
    HDC screen = ::GetDC(nullptr);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            pixels.push_back(::GetPixel(screen, x, y));
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

void MouseTo(CPoint screen)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
}

void MouseButton(bool down)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
}

void Key(WORD vk)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof input[0]);
}

// A pane that fills itself with a colour and names itself.
class ColourPane : public CView {
    DECLARE_DYNCREATE(ColourPane)
public:
    void OnDraw(CDC* pDC) override
    {
        static const COLORREF kColours[] = {RGB(250, 235, 200), RGB(210, 235, 250), RGB(215, 245, 210),
                                            RGB(245, 215, 235)};
        CRect client;
        GetClientRect(&client);
        const int index = (GetDlgCtrlID() - AFX_IDW_PANE_FIRST) & 3;
        pDC->FillSolidRect(&client, kColours[index]);
        CString name;
        GetWindowText(name);
        if (name.IsEmpty())
            name.Format("View %d", index + 1);
        pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText(name, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
};
IMPLEMENT_DYNCREATE(ColourPane, CView)

// A frame with a toolkit dock bar on every side and toolkit floating frames.
class DockingFrame : public CFrameWnd {
public:
    CQZTabCtrlBar tabBar;
    CQZDockWindow notes;
    CQZDockWindow output;

    BOOL Build()
    {
        if (!Create(nullptr, "Toolkit docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 790, 570)))
            return FALSE;
        if (!toolkit_test::CreateToolkitDockBars(this))
            return FALSE;
        auto* view = new ColourPane;
        if (!view->Create(nullptr, "The frame's own view", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), this,
                          AFX_IDW_PANE_FIRST))
            return FALSE;
        SetActiveView(view, FALSE);
        if (!tabBar.Create(this, 0xE850, "Views", CSize(200, 260), CBRS_ALIGN_LEFT) ||
            !notes.Create(this, 0xE851, "Notes", CSize(200, 160), CBRS_ALIGN_LEFT) ||
            !output.Create(this, 0xE852, "Output", CSize(500, 90), CBRS_ALIGN_BOTTOM))
            return FALSE;
        for (const char* label : {"One", "Two", "Three"})
            tabBar.AddTabView(label, RUNTIME_CLASS(ColourPane));
        for (CQZDockWindow* pane : {&notes, &output}) {
            CWnd* child = pane->CreateView(RUNTIME_CLASS(ColourPane));
            if (!child)
                return FALSE;
            child->SetWindowText(pane == &notes ? "Notes" : "Output");
            pane->SetChild(child);
        }
        for (CQZDockWindow* pane : {static_cast<CQZDockWindow*>(&tabBar), &notes, &output})
            pane->EnableDocking(CBRS_ALIGN_ANY);
        CDockBar* left = static_cast<CDockBar*>(GetControlBar(AFX_IDW_DOCKBAR_LEFT));
        DockControlBar(&tabBar, left);
        CRect leftRect;
        left->GetWindowRect(&leftRect);
        // The notes below the tab bar, in its column.
        CRect below(leftRect.left + 2, leftRect.top + 300, leftRect.left + 12, leftRect.top + 310);
        DockControlBar(&notes, left, &below);
        DockControlBar(&output, static_cast<CDockBar*>(GetControlBar(AFX_IDW_DOCKBAR_BOTTOM)));
        RecalcLayout();
        return TRUE;
    }
    CQZDockBar* Side(UINT id) { return static_cast<CQZDockBar*>(GetControlBar(id)); }
};

// A frame with a rebar of two toolbar bands, whose buttons' commands it handles.
class ReBarFrame : public CFrameWnd {
public:
    afx_msg void OnToolCommand(UINT) {}
    afx_msg void OnUpdateToolCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
    DECLARE_MESSAGE_MAP()

public:
    CQZReBar rebar;
    CQZToolBar first;
    CQZToolBar second;

    BOOL Build()
    {
        if (!Create(nullptr, "Toolkit rebar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 650, 250)))
            return FALSE;
        if (!rebar.Create(this))
            return FALSE;
        int index = 0;
        for (CQZToolBar* bar : {&first, &second}) {
            if (!bar->CreateEx(&rebar, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS,
                               CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR + index) ||
                !bar->LoadToolBar(IDR_TEST_TOOLBAR))
                return FALSE;
            bar->SetOwner(this);
            // The second band is named; its text takes room the toolbar then fits into.
            if (!rebar.AddBar(bar, index == 0 ? nullptr : "Second", RBBS_GRIPPERALWAYS))
                return FALSE;
            ++index;
        }
        auto* view = new ColourPane;
        if (!view->Create(nullptr, "Below the rebar", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), this,
                          AFX_IDW_PANE_FIRST))
            return FALSE;
        RecalcLayout();
        return TRUE;
    }
};

BEGIN_MESSAGE_MAP(ReBarFrame, CFrameWnd)
    ON_COMMAND_RANGE(ID_FILE_OPEN, ID_HELP_INDEX, OnToolCommand)
    ON_UPDATE_COMMAND_UI_RANGE(ID_FILE_OPEN, ID_HELP_INDEX, OnUpdateToolCommand)
END_MESSAGE_MAP()

// Tab controls with their tabs on each side, each tab with a coloured page.
class TabsFrame : public CFrameWnd {
public:
    CQZTabCtrl tabs[4];

    BOOL Build()
    {
        if (!Create(nullptr, "Toolkit tabs", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 650, 530)))
            return FALSE;
        const DWORD sides[] = {0, TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE,
                               TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE};
        const CRect places[] = {CRect(5, 5, 310, 235), CRect(320, 5, 625, 235), CRect(5, 245, 310, 475),
                                CRect(320, 245, 625, 475)};
        for (int i = 0; i < 4; ++i) {
            CQZTabCtrl& tab = tabs[i];
            if (!tab.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | sides[i], places[i], this, 100 + i))
                return FALSE;
            for (const char* label : {"Alpha", "Beta", "Gamma", "Delta"})
                tab.AddTabView(label, RUNTIME_CLASS(ColourPane));
            tab.SendMessage(WM_INITIALUPDATE);
            tab.SelectTab(1);
        }
        return TRUE;
    }
    void Repaint()
    {
        for (CQZTabCtrl& tab : tabs) {
            tab.SendMessage(WM_SYSCOLORCHANGE);
            tab.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
    }
};

// Runs the steps one after the other from a timer, so that input is handled between them.
class Director : public CWnd {
public:
    std::vector<std::pair<UINT, std::function<void()>>> steps;  // delay before, step
    size_t next = 0;

    void Start()
    {
        CreateEx(0, nullptr, "director", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr);
        Schedule();
    }
    void Schedule()
    {
        if (next < steps.size())
            SetTimer(1, steps[next].first, nullptr);
        else
            ::PostQuitMessage(0);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_TIMER)
            return CWnd::WindowProc(message, wParam, lParam);
        KillTimer(1);
        steps[next++].second();
        Schedule();
        return 0;
    }
    void Add(UINT delayMs, std::function<void()> step) { steps.emplace_back(delayMs, std::move(step)); }
};

// The middle of a splitter strip on the screen.
CPoint StripOnScreen(CQZDockBar* dockBar, CQZSplitterDock* splitter)
{
    CRect strip = splitter->m_rect;
    dockBar->ClientToScreen(&strip);
    const int x = splitter->m_nType == 1 ? strip.left + 3 : strip.left + std::min<int>(strip.Width(), 80) / 2;
    return CPoint(x, strip.top + (splitter->m_nType == 1 ? std::min<int>(strip.Height(), 200) / 2 : 3));
}

CQZSplitterDock* FindSplitter(CQZDockBar* dockBar, bool betweenWindows)
{
    for (int i = 0; i < dockBar->m_arrSplitters.GetSize(); ++i) {
        CQZSplitterDock* splitter = dockBar->m_arrSplitters.GetAt(i);
        if ((dynamic_cast<CQZSplitterRowDock*>(splitter) != nullptr) == betweenWindows)
            return splitter;
    }
    return nullptr;
}

// Adds the steps of one drag: to the strip, press, move in a few steps, then release (or
// Escape, checking that the pixels under the line come back). The frame is read when the
// steps run.
void AddDrag(Director& director, std::shared_ptr<DockingFrame*> frame, UINT dockBarId, bool betweenWindows,
             CSize by, const std::string& picture, bool cancel)
{
    auto from = std::make_shared<CPoint>();
    auto before = std::make_shared<std::vector<COLORREF>>();
    auto lineArea = std::make_shared<CRect>();
    director.Add(400, [=] {
        CQZDockBar* dockBar = (*frame)->Side(dockBarId);
        CQZSplitterDock* splitter = FindSplitter(dockBar, betweenWindows);
        if (!splitter) {
            std::printf("%s: no splitter\n", picture.c_str());
            return;
        }
        *from = StripOnScreen(dockBar, splitter);
        MouseTo(*from);
    });
    director.Add(200, [=] {
        // Where the line will lie once moved: the strip's middle shifted by the drag.
        const CPoint to = *from + by;
        *lineArea = CRect(to.x - 2, to.y - 2, to.x + 2, to.y + 2);
        *before = ReadScreen(*lineArea);
        MouseButton(true);
    });
    for (int step = 1; step <= 4; ++step)
        director.Add(120, [=] { MouseTo(*from + CSize(by.cx * step / 4, by.cy * step / 4)); });
    director.Add(300, [=] {
        const std::vector<COLORREF> during = ReadScreen(*lineArea);
        int inverted = 0;
        for (size_t i = 0; i < during.size(); ++i)
            inverted += during[i] == ((*before)[i] ^ 0xFFFFFF) ? 1 : 0;
        std::printf("%s: %d of %zu pixels under the drag line inverted\n", picture.c_str(), inverted,
                    during.size());
        SavePicture((*frame)->m_hWnd, (picture + "-dragging").c_str());
        if (cancel)
            Key(VK_ESCAPE);
        else
            MouseButton(false);
    });
    director.Add(600, [=] {
        if (cancel) {
            const std::vector<COLORREF> after = ReadScreen(*lineArea);
            std::printf("%s: Escape %s the pixels under the line\n", picture.c_str(),
                        after == *before ? "restored" : "did NOT restore");
            MouseButton(false);
        }
        SavePicture((*frame)->m_hWnd, picture.c_str());
    });
}

void AddDockingScene(Director& director, const char* look, int xpLook)
{
    auto frame = std::make_shared<DockingFrame*>(nullptr);
    const std::string name = std::string("docking-") + look;
    director.Add(300, [=] {
        qzAfxData.xpLook = xpLook;
        *frame = new DockingFrame;
        if (!(*frame)->Build())
            std::printf("the docking frame could not be built\n");
        (*frame)->SetForegroundWindow();
    });
    director.Add(800, [=] { SavePicture((*frame)->m_hWnd, (name + "-0-start").c_str()); });
    AddDrag(director, frame, AFX_IDW_DOCKBAR_LEFT, false, CSize(60, 0), name + "-1-column-wider", false);
    AddDrag(director, frame, AFX_IDW_DOCKBAR_LEFT, true, CSize(0, 70), name + "-2-window-splitter-down", false);
    AddDrag(director, frame, AFX_IDW_DOCKBAR_BOTTOM, false, CSize(0, -50), name + "-3-bottom-taller", false);
    AddDrag(director, frame, AFX_IDW_DOCKBAR_BOTTOM, false, CSize(0, -40), name + "-4-escape", true);
    director.Add(300, [=] {
        CQZTabCtrl& tab = (*frame)->tabBar.m_tabCtrl;
        CRect item;
        tab.GetItemRect(0, &item);
        tab.ClientToScreen(&item);
        MouseTo(item.CenterPoint());
    });
    director.Add(200, [] {
        MouseButton(true);
        MouseButton(false);
    });
    director.Add(500, [=] { SavePicture((*frame)->m_hWnd, (name + "-5-first-tab").c_str()); });
    director.Add(100, [=] { (*frame)->DestroyWindow(); });
}

class TabsPreviewApp : public CWinApp {
public:
    TabsPreviewApp() : CWinApp("TabsPreview") {}
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::printf("usage: tabs_preview <folder for pictures>\n");
        return 2;
    }
    TabsPreviewApp app;
    g_folder = argv[1];
    ::CreateDirectoryA(g_folder.c_str(), nullptr);
    Director director;
    AddDockingScene(director, "classic", 0);
    AddDockingScene(director, "xp", 1);
    auto rebar = std::make_shared<ReBarFrame*>(nullptr);
    for (int xp : {0, 1}) {
        director.Add(300, [=] {
            qzAfxData.xpLook = xp;
            *rebar = new ReBarFrame;
            if (!(*rebar)->Build())
                std::printf("the rebar frame could not be built\n");
        });
        director.Add(800, [=] {
            SavePicture((*rebar)->m_hWnd, xp ? "rebar-xp" : "rebar-classic");
            (*rebar)->DestroyWindow();
        });
    }
    auto tabs = std::make_shared<TabsFrame*>(nullptr);
    director.Add(300, [=] {
        qzAfxData.xpLook = 1;
        *tabs = new TabsFrame;
        if (!(*tabs)->Build())
            std::printf("the tabs frame could not be built\n");
    });
    director.Add(800, [=] { SavePicture((*tabs)->m_hWnd, "tabs-xp"); });
    director.Add(100, [=] {
        qzAfxData.xpLook = 0;
        (*tabs)->Repaint();
    });
    director.Add(600, [=] {
        SavePicture((*tabs)->m_hWnd, "tabs-classic");
        (*tabs)->DestroyWindow();
    });
    director.Start();
    // The director's hidden window keeps the application's loop running until the last step.
    app.m_pMainWnd = &director;
    const int result = app.Run();
    app.m_pMainWnd = nullptr;
    director.DestroyWindow();
    return result;
}
