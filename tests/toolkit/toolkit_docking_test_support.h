// What the toolkit's docking tests share: a frame set up for docking as the toolkit frame
// sets itself up (a toolkit dock bar per side, toolkit floating frames), toolkit bars of
// known sizes (one that asks for live dragging), the pointer placed through the drag's
// seam by messages the drag loop dispatches, and a recorder of the window-update lock.
#pragma once

#include "control_bar_test_support.h"
#include "framework/docking_test_support.h"

#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZDockContext.h"
#include "toolkit/docking/QZDragInput.h"
#include "toolkit/docking/QZMiniDockFrameWnd.h"
#include "toolkit/docking/QZSplitterDock.h"
#include "toolkit_dock_bars.h"

#include <deque>
#include <functional>
#include <vector>

namespace toolkit_test {

// A toolkit bar of fixed sizes per orientation, named by its window text.
template <class Base>
class SizedBar : public TestBar<Base> {
public:
    CSize horz{100, 24};
    CSize vert{24, 100};
    // Whether it asks for live dragging.
    BOOL live = FALSE;
    int dragsDone = 0;

    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? horz : vert; }
    BOOL IsToolkitDragAllowed() override { return live; }
    void UpdateDockHooks() override { ++dragsDone; }
};

using ToolkitBar = SizedBar<CQZControlBar>;

// A frame with a toolkit dock bar on every side and toolkit floating frames.
class ToolkitDockFrame : public CFrameWnd {
public:
    void EnableToolkitDocking()
    {
        CreateToolkitDockBars(this);
    }
};

// Places the pointer for the drag's docking test while it lives. A drag loop moves it by
// dispatching the mover's messages, posted just before the mouse moves they go with.
class PointerSeam {
public:
    explicit PointerSeam(CPoint at = CPoint(-10000, -10000))
    {
        s_at = at;
        s_readable = true;
        m_previous = QZSetCursorPosReader(&Read);
    }
    ~PointerSeam() { QZSetCursorPosReader(m_previous); }
    PointerSeam(const PointerSeam&) = delete;
    PointerSeam& operator=(const PointerSeam&) = delete;

    static void Place(CPoint at) { s_at = at; }
    static CPoint At() { return s_at; }
    static void SetReadable(bool readable) { s_readable = readable; }

private:
    static BOOL Read(POINT* pPoint)
    {
        if (!s_readable)
            return FALSE;
        *pPoint = s_at;
        return TRUE;
    }
    QZCursorPosReader m_previous;
    static inline CPoint s_at;
    static inline bool s_readable = true;
};

// A hidden window that plays a drag's steps one message at a time, so that each mouse
// message is made when the one before it has been handled, with its point in the bar's
// client coordinates of that moment, as the system would make it.
class PointerMover : public CWnd {
public:
    static constexpr UINT kStep = WM_APP + 20;

    std::deque<std::function<void()>> steps;
    std::function<void()> check;

    BOOL CreateMover() { return CreateEx(0, nullptr, "mover", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr); }
    // Posts the first step; a drag loop started after it plays the rest.
    void Begin()
    {
        if (!steps.empty())
            PostMessage(kStep);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != kStep || steps.empty())
            return CWnd::WindowProc(message, wParam, lParam);
        const std::function<void()> step = steps.front();
        steps.pop_front();
        step();
        if (!steps.empty())
            PostMessage(kStep);
        return 0;
    }
};

// The steps of a drag: the pointer placed where each mouse message says it is.
class LiveDragScript {
public:
    LiveDragScript(CWnd* bar, PointerMover* mover) : m_bar(bar), m_mover(mover) {}
    // times moves to the same point, one after the other.
    LiveDragScript& MoveTo(CPoint screen, WPARAM keys = MK_LBUTTON, int times = 1)
    {
        CWnd* bar = m_bar;
        m_mover->steps.push_back([bar, screen, keys, times] {
            PointerSeam::Place(screen);
            for (int i = 0; i < times; ++i)
                docking_test::DragScript(bar).MoveTo(screen, keys);
        });
        return *this;
    }
    LiveDragScript& Key(UINT vk, bool down)
    {
        CWnd* bar = m_bar;
        m_mover->steps.push_back([bar, vk, down] { docking_test::DragScript(bar).Key(vk, down); });
        return *this;
    }
    LiveDragScript& Release(CPoint screen)
    {
        CWnd* bar = m_bar;
        m_mover->steps.push_back([bar, screen] {
            PointerSeam::Place(screen);
            docking_test::DragScript(bar).Release(screen);
        });
        return *this;
    }
    // The mover runs its check at this point of the drag.
    LiveDragScript& Check()
    {
        PointerMover* mover = m_mover;
        m_mover->steps.push_back([mover] {
            if (mover->check)
                mover->check();
        });
        return *this;
    }

private:
    CWnd* m_bar;
    PointerMover* m_mover;
};

// Records the window-update locks a drag takes and releases, in order (null: released).
class LockRecorder {
public:
    LockRecorder()
    {
        s_locks.clear();
        m_previous = QZSetWindowUpdateLocker(&Record);
    }
    ~LockRecorder() { QZSetWindowUpdateLocker(m_previous); }
    LockRecorder(const LockRecorder&) = delete;
    LockRecorder& operator=(const LockRecorder&) = delete;

    static const std::vector<HWND>& locks() { return s_locks; }

private:
    static BOOL Record(HWND hWnd)
    {
        s_locks.push_back(hWnd);
        return TRUE;
    }
    QZWindowUpdateLocker m_previous;
    static inline std::vector<HWND> s_locks;
};

// A 600 x 400 frame at (100, 100) with toolkit docking, deleted after the test.
class ToolkitDockingTest : public ::testing::Test {
public:
    void SetUp() override
    {
        frame = new ToolkitDockFrame;
        ASSERT_TRUE(frame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
        frame->EnableToolkitDocking();
        top = DockBar(AFX_IDW_DOCKBAR_TOP);
        bottom = DockBar(AFX_IDW_DOCKBAR_BOTTOM);
        left = DockBar(AFX_IDW_DOCKBAR_LEFT);
        right = DockBar(AFX_IDW_DOCKBAR_RIGHT);
        ASSERT_TRUE(top && bottom && left && right);
        ASSERT_TRUE(mover.CreateMover());
    }
    void TearDown() override
    {
        mover.steps.clear();
        mover.DestroyWindow();
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        frame = nullptr;
        PumpPending();
    }
    CQZDockBar* DockBar(UINT id) { return DYNAMIC_DOWNCAST(CQZDockBar, frame->GetControlBar(id)); }
    // A bar made in the frame with a toolkit drag context, docked in a row of its own.
    template <class Bar>
    void AddBar(Bar& bar, UINT id, LPCSTR name, CDockBar* dockBar, DWORD dockStyle = CBRS_ALIGN_ANY)
    {
        ASSERT_TRUE(bar.CreateBar(frame, CBRS_TOP, id, name));
        delete bar.m_pDockContext;
        bar.m_pDockContext = nullptr;
        bar.EnableDocking(dockStyle);
        if (dockBar)
            frame->DockControlBar(&bar, dockBar);
    }
    // A point of the frame's client area on the screen.
    CPoint InClient(int x, int y)
    {
        CPoint pt(x, y);
        frame->ClientToScreen(&pt);
        return pt;
    }

    ToolkitDockFrame* frame = nullptr;
    CQZDockBar* top = nullptr;
    CQZDockBar* bottom = nullptr;
    CQZDockBar* left = nullptr;
    CQZDockBar* right = nullptr;
    PointerMover mover;
};

} // namespace toolkit_test
