// Times toolbar and frame layout under Wine (median of many runs, not a test): a 40-button
// toolkit toolbar's CalcDynamicLayout for lengths 50 to 2000 pixels (floating widths and
// heights, which search the wrap width by bisection, and docked), and a whole toolkit frame's
// RecalcLayout with menu bar, toolbar and status bar docked, beside a plain frame with the
// framework's toolbar of the same buttons and a status bar in the same run (its peer).
// A second peer docks the framework's toolbar in the framework's own dock bars.
//   wine build/cmake/bench/toolbar_bench.exe [runs]
#include "bench/bench_timing.h"
#include "framework/Framework.h"
#include "framework/StatusBar.h"
#include "framework/ToolBar.h"
#include "toolkit/bars/QZFrameWnd.h"
#include "toolkit/bars/QZToolBar.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using bench::FirstRun;
using bench::MedianMs;

constexpr int kButtons = 40;
constexpr UINT kFirstCommand = 0xE100;

// 40 buttons with a separator after every eighth command, as a large toolbar has them.
std::vector<UINT> ButtonIds()
{
    std::vector<UINT> ids;
    for (int i = 0; static_cast<int>(ids.size()) < kButtons; ++i) {
        ids.push_back(kFirstCommand + static_cast<UINT>(i));
        if (i % 8 == 7)
            ids.push_back(0);
    }
    return ids;
}

HMENU MakeMenu()
{
    HMENU bar = CreateMenu();
    for (const char* name : {"&File", "&Edit", "&View", "&Image", "&Window", "&Help"}) {
        HMENU popup = CreatePopupMenu();
        AppendMenuA(popup, MF_STRING, kFirstCommand, "&Command");
        AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), name);
    }
    return bar;
}

// The toolkit frame as a program sets it up: menu bar, toolbar and status bar docked.
class ToolkitFrame : public CQZFrameWnd {
public:
    CQZToolBar toolbar;
    CStatusBar status;

    BOOL Build()
    {
        if (!Create(nullptr, "toolkit frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 900, 600)))
            return FALSE;
        CQZMenuBar* menuBar = GetMenuBar();
        if (!menuBar->CreateEx(this, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR))
            return FALSE;
        menuBar->BuildMenuItems(MakeMenu(), nullptr);
        if (!toolbar.CreateEx(this, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR))
            return FALSE;
        const std::vector<UINT> ids = ButtonIds();
        toolbar.SetButtons(ids.data(), static_cast<int>(ids.size()));
        if (!status.Create(this))
            return FALSE;
        menuBar->EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        toolbar.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(menuBar);
        DockControlBar(&toolbar);
        ShowWindow(SW_SHOW);
        return TRUE;
    }
};

// The framework's own: its toolbar laid out by the frame directly (or docked in the
// framework's dock bars), and a status bar.
class PlainFrame : public CFrameWnd {
public:
    CToolBar toolbar;
    CStatusBar status;

    BOOL Build(bool docking)
    {
        if (!Create(nullptr, "plain frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 900, 600)) ||
            !toolbar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP) || !status.Create(this))
            return FALSE;
        ::SetMenu(m_hWnd, MakeMenu());
        toolbar.SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
        std::vector<TBBUTTON> buttons;
        int image = 0;
        for (UINT id : ButtonIds()) {
            TBBUTTON button = {};
            button.idCommand = static_cast<int>(id);
            button.fsStyle = id ? BTNS_BUTTON : BTNS_SEP;
            button.fsState = TBSTATE_ENABLED;
            button.iBitmap = id ? image++ : 6;
            buttons.push_back(button);
        }
        toolbar.SendMessage(TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
        if (docking) {
            toolbar.EnableDocking(CBRS_ALIGN_ANY);
            EnableDocking(CBRS_ALIGN_ANY);
            DockControlBar(&toolbar);
        }
        ShowWindow(SW_SHOW);
        RecalcLayout();
        return TRUE;
    }
};

void Row(const char* name, double ms, double peerMs)
{
    if (peerMs > 0)
        std::printf("%-52s %10.4f %10.4f %8.2f\n", name, ms, peerMs, ms / peerMs);
    else
        std::printf("%-52s %10.4f %10s %8s\n", name, ms, "-", "-");
}

// For each length from 50 to 2000 in steps of 50, the median time of one call; answers the
// median and the largest of those.
std::pair<double, double> AcrossLengths(int runs, const std::function<void(int)>& layout)
{
    std::vector<double> perLength;
    for (int length = 50; length <= 2000; length += 50)
        perLength.push_back(MedianMs(runs, FirstRun::LeftOut, [&] { layout(length); }));
    std::sort(perLength.begin(), perLength.end());
    return {perLength[perLength.size() / 2], perLength.back()};
}

class BenchApp : public CWinApp {
public:
    BenchApp() : CWinApp("ToolbarBench") {}
};

} // namespace

int main(int argc, char** argv)
{
    BenchApp app;
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 101;
    auto* toolkit = new ToolkitFrame;
    auto* plain = new PlainFrame;
    auto* docking = new PlainFrame;
    if (!toolkit->Build() || !plain->Build(false) || !docking->Build(true)) {
        std::printf("the frames could not be made\n");
        return 1;
    }
    std::printf("%d runs per case; medians in ms; %d buttons\n\n", runs, kButtons);
    std::printf("%-52s %10s %10s %8s\n", "case", "toolkit", "peer", "ratio");

    CQZToolBar& bar = toolkit->toolbar;
    const struct {
        const char* name;
        DWORD mode;
    } modes[] = {
        {"CalcDynamicLayout, floating width", LM_HORZ},
        {"CalcDynamicLayout, floating height", LM_HORZ | LM_LENGTHY},
        {"CalcDynamicLayout, floating width, committed", LM_HORZ | LM_COMMIT},
    };
    const double plainDynamic = MedianMs(runs, FirstRun::LeftOut, [&] {
        plain->toolbar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_STRETCH);
    });
    for (const auto& mode : modes) {
        const auto [median, worst] = AcrossLengths(runs, [&](int length) { bar.CalcDynamicLayout(length, mode.mode); });
        char name[96];
        std::snprintf(name, sizeof name, "%s (median)", mode.name);
        Row(name, median, plainDynamic);
        std::snprintf(name, sizeof name, "%s (slowest length)", mode.name);
        Row(name, worst, plainDynamic);
    }
    const double docked =
        MedianMs(runs, FirstRun::LeftOut, [&] { bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_STRETCH); });
    Row("CalcDynamicLayout, docked at the top", docked, plainDynamic);
    std::printf("  (peer: the framework toolbar's layout, which has only a fixed size)\n\n");

    const double toolkitLayout = MedianMs(runs, FirstRun::LeftOut, [&] { toolkit->RecalcLayout(); });
    const double plainLayout = MedianMs(runs, FirstRun::LeftOut, [&] { plain->RecalcLayout(); });
    const double dockingLayout = MedianMs(runs, FirstRun::LeftOut, [&] { docking->RecalcLayout(); });
    Row("frame RecalcLayout, same size", toolkitLayout, plainLayout);
    Row("  beside the framework's docking frame", toolkitLayout, dockingLayout);
    auto resized = [runs](CFrameWnd* frame) {
        int turn = 0;
        return MedianMs(runs, FirstRun::LeftOut, [&] {
            const int width = (turn++ % 2) ? 900 : 640;
            frame->SetWindowPos(nullptr, 0, 0, width, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        });
    };
    const double toolkitResize = resized(toolkit);
    Row("frame resized (640 or 900 wide) with its layout", toolkitResize, resized(plain));
    Row("  beside the framework's docking frame", toolkitResize, resized(docking));
    std::printf("  (peer: the framework's frame with its toolbar and a status bar, no dock bars)\n\n");

    // Where the toolkit frame's layout goes.
    auto* left = DYNAMIC_DOWNCAST(CDockBar, toolkit->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    Row("part: toolbar's committed docked layout",
        MedianMs(runs, FirstRun::LeftOut, [&] { bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT); }), 0);
    Row("part: an empty dock bar", MedianMs(runs, FirstRun::LeftOut, [&] { left->CalcFixedLayout(TRUE, FALSE); }), 0);
    Row("part: status bar",
        MedianMs(runs, FirstRun::LeftOut, [&] { toolkit->status.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK); }), 0);

    toolkit->DestroyWindow();
    plain->DestroyWindow();
    docking->DestroyWindow();
    return 0;
}
