// Times the toolkit's painting under Wine (median of many runs, not a test): the
// non-client paint of a 600 x 28 bar with a gripper in each look, a flat button's owner
// drawing, and the drop shadow of a 400 x 600 popup; each beside a plain fill and blit of
// the same areas through the same DCs, its peer.
//   wine build/cmake/bench/toolkit_paint.exe [runs]
#include "bench/bench_timing.h"
#include "framework/Framework.h"
#include "toolkit/bars/QZControlBar.h"
#include "toolkit/controls/QZButton.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZShadow.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

struct Timing {
    double first;
    double median;
};

// The first run (nothing cached yet) and the median of the rest.
Timing Measure(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(bench::TimeMs([&] {
            work();
            GdiFlush();
        }));
    return {times.front(), bench::Median(std::vector<double>(times.begin() + 1, times.end()))};
}

// A plain fill of the area in a memory DC, blitted to the target: the peer of each case.
void FillAndBlit(HDC target, const RECT& area, COLORREF colour)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT local = {0, 0, width, height};
    FillRect(memory, &local, brush);
    BitBlt(target, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
    DeleteObject(brush);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

// A bar whose borders and gripper are its non-client area, as the toolkit's bars have them.
class BenchBar : public CQZControlBar {
public:
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}

protected:
    afx_msg void OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
    {
        CRect inside(0, 0, 0, 0);
        CalcInsideRect(inside, TRUE);
        params->rgrc[0].left += inside.left;
        params->rgrc[0].top += inside.top;
        params->rgrc[0].right += inside.right;
        params->rgrc[0].bottom += inside.bottom;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(BenchBar, CQZControlBar)
    ON_WM_NCCALCSIZE()
END_MESSAGE_MAP()

void Row(const char* name, const char* size, const Timing& ours, const Timing& peer)
{
    std::printf("%-28s %-10s %10.3f %10.3f %12.3f %12.3f %8.2f\n", name, size, ours.median, peer.median, ours.first,
                peer.first, ours.median / peer.median);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(std::atoi(argv[1]), 3) : 201;
    CWnd parent;
    if (!parent.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 700, 700, nullptr, nullptr))
        return 1;
    std::printf("%-28s %-10s %10s %10s %12s %12s %8s\n", "case", "size", "median ms", "peer ms", "first ms",
                "peer first", "ratio");

    for (int xpLook : {0, 1}) {
        qzAfxData.xpLook = xpLook;
        BenchBar bar;
        bar.m_dwStyle = CBRS_TOP | CBRS_BORDER_ANY | CBRS_BORDER_3D | CBRS_GRIPPER;
        bar.CreateEx(0, nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 28), &parent, 100);
        const RECT area = {0, 0, 600, 28};
        const Timing ours = Measure(runs, [&] { bar.DrawNonClient(); });
        HDC windowDC = GetWindowDC(bar.m_hWnd);
        const Timing peer = Measure(runs, [&] { FillAndBlit(windowDC, area, RGB(200, 200, 200)); });
        ReleaseDC(bar.m_hWnd, windowDC);
        Row(xpLook ? "bar non-client, XP" : "bar non-client, classic", "600x28", ours, peer);
        bar.DestroyWindow();
    }
    qzAfxData.xpLook = 0;

    {
        CQZButton button;
        button.Create("&Open", WS_VISIBLE | BS_OWNERDRAW, CRect(10, 40, 110, 64), &parent, 200);
        button.SetIcon(16, 16, LoadIconA(nullptr, IDI_APPLICATION), nullptr, FALSE);
        button.m_bHot = TRUE;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 24);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.hwndItem = button.m_hWnd;
        item.hDC = memory;
        item.rcItem = {0, 0, 100, 24};
        const Timing ours = Measure(runs, [&] { button.DrawItem(&item); });
        const RECT area = {0, 0, 100, 24};
        const Timing peer = Measure(runs, [&] { FillAndBlit(memory, area, RGB(200, 200, 200)); });
        Row("flat button owner draw", "100x24", ours, peer);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        // The shared system icon stays with the system.
        button.m_hIcon = nullptr;
    }

    {
        HDC screen = GetDC(nullptr);
        CDC target;
        target.Attach(CreateCompatibleDC(screen));
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 404, 604);
        HGDIOBJ previous = SelectObject(target.m_hDC, bitmap);
        PatBlt(target.m_hDC, 0, 0, 404, 604, WHITENESS);
        const CRect rect(0, 0, 404, 604);
        const Timing ours = Measure(runs, [&] { QZDrawShadow(&target, rect, 100); });
        const RECT right = {400, 4, 404, 604};
        const RECT bottom = {4, 600, 400, 604};
        const Timing peer = Measure(runs, [&] {
            FillAndBlit(target.m_hDC, right, RGB(200, 200, 200));
            FillAndBlit(target.m_hDC, bottom, RGB(200, 200, 200));
        });
        Row("drop shadow bands", "400x600", ours, peer);
        SelectObject(target.m_hDC, previous);
        DeleteObject(bitmap);
        ReleaseDC(nullptr, screen);
    }
    parent.DestroyWindow();
    return 0;
}
