// Times the toolkit's further controls under Wine beside their plain peers in the same run
// (medians, not a test):
// - the toolkit list with 10,000 rows of 3 columns (off-screen painting, coloured rows)
//   against a plain "SysListView32" holding the same rows: one full repaint, and one
//   page-down scroll with its repaint;
// - one 1-pixel resize pass of the resize engine over 20 controls laid out as in the shortcut
//   sheet (one deferred batch) against moving the same controls to the same places with one
//   SetWindowPos each.
//   wine build/cmake/bench/toolkit_periphery_bench.exe [runs]
#include "bench/bench_timing.h"
#include "framework/Framework.h"
#include "toolkit/controls/QZListCtrl.h"
#include "toolkit/controls/QZResize.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::FirstRun;
using bench::MedianMs;

void PrintRow(const char* what, double toolkitMs, double peerMs)
{
    std::printf("%-46s %10.3f %10.3f %8.2f\n", what, toolkitMs, peerMs, toolkitMs / peerMs);
    std::fflush(stdout);
}

constexpr int kRows = 10000;

void FillList(CListCtrl& list)
{
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 160);
    list.InsertColumn(1, "Size", LVCFMT_LEFT, 120);
    list.InsertColumn(2, "Method", LVCFMT_LEFT, 160);
    list.SetRedraw(FALSE);
    for (int row = 0; row < kRows; ++row) {
        const std::string name = "picture " + std::to_string(row) + ".jpg";
        list.InsertItem(row, name.c_str());
        list.SetItemText(row, 1, (std::to_string(640 + row % 3000) + " x 480").c_str());
        list.SetItemText(row, 2, row % 2 ? "Bicubic" : "Tamrow Progressive");
    }
    list.SetRedraw(TRUE);
}

void BenchLists(CWnd& window, int runs)
{
    CQZListCtrl toolkit;
    CListCtrl plain;
    const DWORD style = WS_CHILD | WS_VISIBLE | LVS_REPORT;
    toolkit.Create(style, CRect(0, 0, 480, 400), &window, 1);
    plain.Create(style, CRect(490, 0, 970, 400), &window, 2);
    toolkit.SubclassHeader();
    toolkit.SetColors(RGB(20, 40, 110), RGB(250, 248, 235));
    FillList(toolkit);
    FillList(plain);

    auto repaint = [](CListCtrl& list) {
        return [&list] { list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); };
    };
    auto toTop = [](CListCtrl& list) {
        return [&list] {
            list.EnsureVisible(0, FALSE);
            list.UpdateWindow();
        };
    };
    auto pageDown = [](CListCtrl& list) {
        return [&list] {
            list.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
            list.UpdateWindow();
        };
    };
    PrintRow("list, 10,000 rows: full repaint", MedianMs(runs, FirstRun::LeftOut, repaint(toolkit)),
             MedianMs(runs, FirstRun::LeftOut, repaint(plain)));
    PrintRow("list, 10,000 rows: page down with repaint",
             MedianMs(runs, FirstRun::LeftOut, pageDown(toolkit), toTop(toolkit)),
             MedianMs(runs, FirstRun::LeftOut, pageDown(plain), toTop(plain)));
    toolkit.DestroyWindow();
    plain.DestroyWindow();
}

struct Control {
    const char* className;
    DWORD style;
    CRect rect;
    CQZFloatRect ratios;
};

// The shortcut sheet's controls as its engines move them: the tab control and a list that
// stretch, buttons that follow the corner, a column that follows the right edge, a
// description that follows the bottom.
const Control kControls[] = {
    {WC_TABCONTROLA, 0, {5, 5, 590, 360}, {0, 0, 1, 1}},
    {WC_LISTVIEWA, LVS_REPORT, {12, 60, 580, 320}, {0, 0, 1, 1}},
    {"LISTBOX", WS_BORDER, {12, 80, 400, 230}, {0, 0, 1, 1}},
    {"LISTBOX", WS_BORDER, {430, 80, 580, 170}, {1, 0, 1, 0}},
    {"COMBOBOX", CBS_DROPDOWNLIST, {12, 30, 160, 200}, {0, 0, 0, 0}},
    {"COMBOBOX", CBS_DROPDOWNLIST, {170, 30, 320, 200}, {1, 0, 1, 0}},
    {"BUTTON", BS_PUSHBUTTON, {330, 370, 410, 395}, {1, 1, 1, 1}},
    {"BUTTON", BS_PUSHBUTTON, {420, 370, 500, 395}, {1, 1, 1, 1}},
    {"BUTTON", BS_PUSHBUTTON, {510, 370, 590, 395}, {1, 1, 1, 1}},
    {"BUTTON", BS_PUSHBUTTON, {430, 175, 500, 200}, {1, 0, 1, 0}},
    {"BUTTON", BS_PUSHBUTTON, {510, 175, 580, 200}, {1, 0, 1, 0}},
    {"EDIT", WS_BORDER, {430, 260, 580, 282}, {1, 0, 1, 0}},
    {"STATIC", 0, {12, 12, 80, 26}, {0, 0, 0, 0}},
    {"STATIC", 0, {170, 12, 330, 26}, {0, 0, 0, 0}},
    {"STATIC", 0, {12, 62, 100, 76}, {0, 0, 0, 0}},
    {"STATIC", 0, {430, 62, 580, 76}, {1, 0, 1, 0}},
    {"STATIC", 0, {430, 240, 580, 256}, {1, 0, 1, 0}},
    {"STATIC", 0, {12, 240, 100, 256}, {0, 1, 0, 1}},
    {"STATIC", 0, {12, 260, 400, 310}, {0, 1, 1, 1}},
    {"STATIC", SS_BITMAP, {580, 385, 596, 401}, {1, 1, 1, 1}},
};

void BenchResize(int runs)
{
    CWnd window;
    window.CreateEx(0, nullptr, "resize bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 610, 440, nullptr, nullptr);
    std::vector<HWND> children;
    for (size_t i = 0; i < std::size(kControls); ++i) {
        const Control& c = kControls[i];
        children.push_back(CreateWindowExA(0, c.className, "", WS_CHILD | WS_VISIBLE | c.style, c.rect.left, c.rect.top,
                                           c.rect.Width(), c.rect.Height(), window.m_hWnd,
                                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
                                           GetModuleHandleA(nullptr), nullptr));
    }
    CQZResize engine(&window, QZ_RESIZE_NOSIZEICON);
    engine.Init();
    for (size_t i = 0; i < std::size(kControls); ++i)
        (void)engine.SetResize(static_cast<UINT>(100 + i), nullptr, kControls[i].ratios);

    // The window grows and shrinks by a pixel in turn; only the controls' moves are timed.
    int step = 0;
    auto nudge = [&] {
        CRect rect;
        window.GetWindowRect(&rect);
        const int d = (step++ % 2) ? -1 : 1;
        window.SetWindowPos(nullptr, 0, 0, rect.Width() + d, rect.Height() + d, SWP_NOMOVE | SWP_NOZORDER);
    };
    const double engineMs = MedianMs(runs, FirstRun::LeftOut, [&] { engine.Size(); }, nudge);

    // The peer keeps the same float places and moves every control with its own call.
    std::vector<CQZFloatRect> places;
    for (const Control& c : kControls)
        places.push_back(CQZFloatRect(c.rect));
    CRect last;
    window.GetWindowRect(&last);
    auto peerPass = [&] {
        CRect now;
        window.GetWindowRect(&now);
        const float dx = static_cast<float>(now.Width() - last.Width());
        const float dy = static_cast<float>(now.Height() - last.Height());
        last = now;
        for (size_t i = 0; i < places.size(); ++i) {
            CQZFloatRect& p = places[i];
            const CQZFloatRect& r = kControls[i].ratios;
            p.left += dx * r.left;
            p.top += dy * r.top;
            p.right += dx * r.right;
            p.bottom += dy * r.bottom;
            ::SetWindowPos(children[i], nullptr, static_cast<int>(p.left), static_cast<int>(p.top),
                           static_cast<int>(p.right - p.left), static_cast<int>(p.bottom - p.top),
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        }
    };
    const double peerMs = MedianMs(runs, FirstRun::LeftOut, peerPass, nudge);
    PrintRow("resize pass, 20 controls, 1 pixel", engineMs, peerMs);
    engine.RemoveAllItems();
    window.DestroyWindow();
}

} // namespace

int main(int argc, char** argv)
{
    CWinApp app("PeripheryBench");
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 5;
    CWnd window;
    window.CreateEx(0, nullptr, "periphery bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1000, 460, nullptr,
                    nullptr);
    std::printf("%-46s %10s %10s %8s\n", "case (median of runs)", "toolkit ms", "peer ms", "ratio");
    // One run more than asked for each case: its first only fills the caches.
    BenchLists(window, runs + 1);
    window.DestroyWindow();
    BenchResize(std::max(runs, 51) + 1);
    return 0;
}
