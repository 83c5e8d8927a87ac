// Times the steps of a live docking drag under Wine (medians and 95th percentiles of many
// steps, not a test): a frame with a toolkit dock bar on every side holding eight toolbars
// in three rows; each step is what the drag loop does for one mouse movement (the pointer
// placed through the drag's seam, the move, the frames' layouts run). Cases: a bar moved
// along its row, a bar moved between the top and the left side, a floating bar moving its
// frame; and a whole layout of a frame holding 20 bars. The peer of the moves, in the same
// run, is a plain SetWindowPos moving the same window by the same offset.
//   wine build/cmake/bench/dock_drag.exe [steps]
#include "bench/bench_timing.h"
#include "framework/Framework.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZDockContext.h"
#include "toolkit/docking/QZDragInput.h"
#include "toolkit/docking/QZMiniDockFrameWnd.h"

#include "tests/toolkit/toolkit_dock_bars.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

struct Figures {
    double median;
    double p95;
};

// Each step timed alone; the first tenth (caches filling) left out.
Figures TimeSteps(int steps, const std::function<void(int)>& step)
{
    std::vector<double> times;
    for (int i = 0; i < steps; ++i)
        times.push_back(bench::TimeMs([&] { step(i); }));
    times.erase(times.begin(), times.begin() + steps / 10);
    std::sort(times.begin(), times.end());
    return {bench::Median(times), times[std::min(times.size() - 1, times.size() * 95 / 100)]};
}

// The pointer the drag's docking test reads.
CPoint g_pointer;
BOOL ReadPointer(POINT* pPoint)
{
    *pPoint = g_pointer;
    return TRUE;
}

// Each step repaints the frame once: what is invalid is painted before the next step.
void Paint()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageA(&msg);
}

class BenchFrame : public CFrameWnd {
public:
    std::vector<std::unique_ptr<CQZToolBar>> bars;

    void EnableToolkitDocking()
    {
        toolkit_test::CreateToolkitDockBars(this);
    }
    CDockBar* DockBar(UINT id) { return DYNAMIC_DOWNCAST(CDockBar, GetControlBar(id)); }
    // A toolbar of six buttons and a separator, docked at the end of the row that rect names.
    CQZToolBar* AddBar(UINT dockBarId, const CRect* rect)
    {
        auto bar = std::make_unique<CQZToolBar>();
        const CRect borders = bar->GetBorders();
        const UINT id = AFX_IDW_TOOLBAR + static_cast<UINT>(bars.size());
        const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_DYNAMIC;
        if (!bar->CreateEx(this, TBSTYLE_FLAT, style, borders, id))
            return nullptr;
        const UINT ids[] = {9000, 9001, 9002, 0, 9003, 9004, 9005};
        bar->SetButtons(ids, 7);
        bar->EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(bar.get(), DockBar(dockBarId), rect);
        bars.push_back(std::move(bar));
        return bars.back().get();
    }
};

CRect ScreenRect(CWnd* wnd)
{
    CRect rect;
    wnd->GetWindowRect(&rect);
    return rect;
}

// The drag state StartDrag sets up, without its loop: the steps are driven here.
CQZDockContext* BeginDrag(CQZToolBar* bar, CPoint at)
{
    auto* context = static_cast<CQZDockContext*>(bar->m_pDockContext);
    g_pointer = at;
    context->m_bDragging = TRUE;
    context->InitLoop();
    context->InitDragRects(at);
    context->m_ptLast = at;
    context->m_dwOverDockStyle = context->CanDock();
    return context;
}

// One mouse movement of the loop: the move and the layouts it made due, then the repaint.
void DragStep(CQZDockContext* context, CFrameWnd* frame, CPoint at)
{
    g_pointer = at;
    context->Move(at);
    CQZDockContext::FlushFrameLayout(frame);
    for (int i = 0; i < context->m_arrLayoutFrames.GetSize(); ++i)
        CQZDockContext::FlushFrameLayout(context->m_arrLayoutFrames.GetAt(i));
    context->m_arrLayoutFrames.RemoveAll();
    Paint();
}

void EndDrag(CQZDockContext* context)
{
    context->CancelLoop();
    context->m_bDragging = FALSE;
}

void PrintRow(const char* name, const Figures& toolkit, const Figures* peer)
{
    if (peer)
        std::printf("%-38s %9.3f %9.3f %9.3f %9.3f %7.2f\n", name, toolkit.median, toolkit.p95, peer->median,
                    peer->p95, toolkit.median / peer->median);
    else
        std::printf("%-38s %9.3f %9.3f\n", name, toolkit.median, toolkit.p95);
}

} // namespace

int main(int argc, char** argv)
{
    const int steps = argc > 1 ? std::max(50, std::atoi(argv[1])) : 400;
    CWinApp app("DockDragBench");
    QZSetCursorPosReader(&ReadPointer);

    auto* frame = new BenchFrame;
    if (!frame->Create(nullptr, "Dock drag bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 850, 650)))
        return 1;
    app.m_pMainWnd = frame;
    frame->EnableToolkitDocking();
    // Eight bars in three rows: three and three at the top, two at the bottom.
    for (int row = 0; row < 2; ++row) {
        for (int i = 0; i < 3; ++i) {
            frame->RecalcLayout();
            const CRect top = ScreenRect(frame->DockBar(AFX_IDW_DOCKBAR_TOP));
            CRect place(top.left + 1 + i * 200, top.top + row * 40, top.left + 181 + i * 200, top.top + row * 40 + 26);
            if (row == 1 && i == 0)
                place.OffsetRect(0, top.Height() - row * 40);
            frame->AddBar(AFX_IDW_DOCKBAR_TOP, i == 0 && row == 0 ? nullptr : &place);
        }
    }
    frame->AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr);
    frame->AddBar(AFX_IDW_DOCKBAR_BOTTOM, nullptr);
    frame->RecalcLayout();
    Paint();

    std::printf("dock drag bench: %d steps a case; times in ms\n", steps);
    std::printf("%-38s %9s %9s %9s %9s %7s\n", "case", "median", "p95", "peer med", "peer p95", "ratio");

    // Along its row: the last bar of the first top row moves a few pixels each way.
    CQZToolBar* mover = frame->bars[2].get();
    const CRect start = ScreenRect(mover);
    const CPoint grip(start.left + 4, start.CenterPoint().y);
    CQZDockContext* context = BeginDrag(mover, grip);
    const Figures inRow = TimeSteps(steps, [&](int i) { DragStep(context, frame, grip + CSize(i % 2 ? 6 : 0, 0)); });
    EndDrag(context);
    const Figures inRowPeer = TimeSteps(steps, [&](int i) {
        CRect rect = ScreenRect(mover);
        frame->DockBar(AFX_IDW_DOCKBAR_TOP)->ScreenToClient(&rect);
        mover->SetWindowPos(nullptr, rect.left + (i % 2 ? 6 : -6), rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Paint();
    });
    PrintRow("live move along its row", inRow, &inRowPeer);

    // Between two sides: the pointer crosses from the top dock bar to the left edge and back.
    frame->RecalcLayout();
    const CRect barNow = ScreenRect(mover);
    const CPoint onTop(barNow.left + 4, barNow.CenterPoint().y);
    CRect client;
    frame->GetClientRect(&client);
    frame->ClientToScreen(&client);
    const CPoint onLeft(client.left + 2, client.CenterPoint().y);
    context = BeginDrag(mover, onTop);
    const Figures sides = TimeSteps(steps, [&](int i) { DragStep(context, frame, i % 2 ? onLeft : onTop); });
    EndDrag(context);
    const Figures sidesPeer = TimeSteps(steps, [&](int i) {
        CRect rect = ScreenRect(mover);
        mover->GetParent()->ScreenToClient(&rect);
        mover->SetWindowPos(nullptr, rect.left + (i % 2 ? 80 : -80), rect.top, 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Paint();
    });
    PrintRow("live move to the other side and back", sides, &sidesPeer);

    // A floating bar alone in its frame: the frame follows the pointer.
    frame->FloatControlBar(mover, CPoint(300, 300), CBRS_ALIGN_TOP);
    frame->RecalcLayout();
    Paint();
    CWnd* floating = mover->GetParentFrame();
    const CRect floatRect = ScreenRect(floating);
    const CPoint caption(floatRect.left + 12, floatRect.top + 6);
    context = BeginDrag(mover, caption);
    const Figures floated =
        TimeSteps(steps, [&](int i) { DragStep(context, frame, caption + CSize(i % 2 ? 20 : 0, i % 2 ? 10 : 0)); });
    EndDrag(context);
    const Figures floatedPeer = TimeSteps(steps, [&](int i) {
        const CRect rect = ScreenRect(floating);
        floating->SetWindowPos(nullptr, rect.left + (i % 2 ? 20 : -20), rect.top + (i % 2 ? 10 : -10), 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Paint();
    });
    PrintRow("live move of its floating frame", floated, &floatedPeer);

    // A whole layout of a frame holding 20 bars.
    while (frame->bars.size() < 20) {
        frame->RecalcLayout();
        const CRect top = ScreenRect(frame->DockBar(AFX_IDW_DOCKBAR_TOP));
        const CRect below(top.left + 1, top.bottom - 2, top.left + 181, top.bottom + 24);
        frame->AddBar(frame->bars.size() % 3 ? AFX_IDW_DOCKBAR_TOP : AFX_IDW_DOCKBAR_LEFT, &below);
    }
    frame->RecalcLayout();
    const Figures layout = TimeSteps(steps, [&](int) { frame->RecalcLayout(); });
    PrintRow("frame layout with 20 bars", layout, nullptr);

    frame->DestroyWindow();
    QZSetCursorPosReader(nullptr);
    return 0;
}
