// What the docking tests share: bars of known sizes, a frame with dock bars on every side,
// a reading of a dock bar's rows as text, the checks every bar array must pass, and the
// messages a user's drag would bring.
#pragma once

#include "framework/Framework.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace docking_test {

// Control ids of the test bars: in the bar-toggle range, as a frame's bars are.
constexpr UINT kIdA = 0xE820;
constexpr UINT kIdB = 0xE821;
constexpr UINT kIdC = 0xE822;
constexpr UINT kIdD = 0xE823;

// A bar of a fixed size in each orientation, named by its window text.
class FixedBar : public CControlBar {
public:
    CSize horz{100, 24};
    CSize vert{24, 100};

    BOOL CreateBar(CWnd* parent, UINT id, LPCSTR name, DWORD barStyle = CBRS_TOP)
    {
        m_dwStyle = barStyle;
        return CWnd::Create(nullptr, name, WS_VISIBLE, CRect(0, 0, horz.cx, horz.cy), parent, id);
    }
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? horz : vert; }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

// A bar whose 2400 square pixels of content fit any width: the height follows the width.
class FlowBar : public FixedBar {
public:
    static constexpr int kArea = 2400;
    int commits = 0;

    FlowBar() { m_nMRUWidth = 120; }
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override
    {
        if (dwMode & LM_MRUWIDTH)
            return ForWidth(m_nMRUWidth);
        if (dwMode & (LM_HORZDOCK | LM_VERTDOCK))
            return CalcFixedLayout(FALSE, (dwMode & LM_HORZDOCK) != 0);
        if (dwMode & LM_LENGTHY) {
            const int height = std::max(nLength, 10);
            return CSize((kArea + height - 1) / height, height);
        }
        const CSize size = ForWidth(nLength);
        if (dwMode & LM_COMMIT) {
            m_nMRUWidth = size.cx;
            ++commits;
        }
        return size;
    }
    static CSize ForWidth(int width)
    {
        width = std::max(width, 10);
        return CSize(width, (kArea + width - 1) / width);
    }
};

// The rows of a dock bar as text: "|" for a row break, a bar's window text, "~<id>" for a
// placeholder.
inline std::string Rows(const CDockBar& dockBar)
{
    std::string text;
    for (int i = 0; i < dockBar.m_arrBars.GetSize(); ++i) {
        void* entry = dockBar.m_arrBars.GetAt(i);
        if (!entry) {
            text += "|";
            continue;
        }
        if (!text.empty() && text.back() != '|')
            text += " ";
        if (CDockBar::IsPlaceHolder(entry)) {
            text += "~" + std::to_string(reinterpret_cast<uintptr_t>(entry));
            continue;
        }
        CString name;
        static_cast<CControlBar*>(entry)->GetWindowText(name);
        text += static_cast<LPCSTR>(name);
    }
    return text;
}

// What every bar array keeps: a leading null, a trailing null once it holds anything, no
// empty row, and each bar it holds a child that knows its dock bar.
inline void ExpectSoundRows(const CDockBar& dockBar)
{
    const CPtrArray& bars = dockBar.m_arrBars;
    ASSERT_GE(bars.GetSize(), 1);
    EXPECT_EQ(nullptr, bars.GetAt(0)) << Rows(dockBar);
    if (bars.GetSize() > 1) {
        EXPECT_EQ(nullptr, bars.GetAt(bars.GetUpperBound())) << Rows(dockBar);
    }
    for (int i = 1; i < bars.GetSize(); ++i) {
        EXPECT_FALSE(!bars.GetAt(i) && !bars.GetAt(i - 1)) << "empty row at " << i << ": " << Rows(dockBar);
        CControlBar* bar = dockBar.GetDockedControlBar(i);
        if (!bar)
            continue;
        EXPECT_EQ(&dockBar, bar->m_pDockBar) << Rows(dockBar);
        EXPECT_EQ(dockBar.m_hWnd, ::GetParent(bar->m_hWnd)) << Rows(dockBar);
    }
}

inline CDockBar* DockBarOf(CFrameWnd* frame, UINT id)
{
    return DYNAMIC_DOWNCAST(CDockBar, frame->GetControlBar(id));
}

inline CRect ScreenRectOf(CWnd* window)
{
    CRect rect;
    window->GetWindowRect(&rect);
    return rect;
}

// The window's rectangle in the client coordinates of container.
inline CRect RectIn(CWnd* window, CWnd* container)
{
    CRect rect = ScreenRectOf(window);
    container->ScreenToClient(&rect);
    return rect;
}

// A rectangle of size at a point of the dock bar's client area, on the screen.
inline CRect ScreenRectIn(CWnd* dockBar, int x, int y, CSize size)
{
    CRect rect(CPoint(x, y), size);
    dockBar->ClientToScreen(&rect);
    return rect;
}

// The messages of a drag, posted to the bar before the loop starts: each carries its
// point in the bar's client coordinates, as the system would send them under capture.
class DragScript {
public:
    explicit DragScript(CWnd* bar) : m_bar(bar) {}
    DragScript& MoveTo(CPoint screen, WPARAM keys = MK_LBUTTON)
    {
        Post(WM_MOUSEMOVE, keys, screen);
        return *this;
    }
    DragScript& Key(UINT vk, bool down)
    {
        m_bar->PostMessage(down ? WM_KEYDOWN : WM_KEYUP, vk, 0);
        return *this;
    }
    DragScript& Release(CPoint screen)
    {
        Post(WM_LBUTTONUP, 0, screen);
        return *this;
    }
    DragScript& RightClick(CPoint screen)
    {
        Post(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, screen);
        return *this;
    }

private:
    void Post(UINT message, WPARAM keys, CPoint screen)
    {
        CPoint client = screen;
        m_bar->ScreenToClient(&client);
        m_bar->PostMessage(message, keys, MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
    }
    CWnd* m_bar;
};

// A frame of 600 x 400 at (100, 100) with dock bars on every side, deleted after the test.
class DockingFrameTest : public ::testing::Test {
public:
    void SetUp() override
    {
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
        frame->EnableDocking(CBRS_ALIGN_ANY);
        top = DockBarOf(frame, AFX_IDW_DOCKBAR_TOP);
        bottom = DockBarOf(frame, AFX_IDW_DOCKBAR_BOTTOM);
        left = DockBarOf(frame, AFX_IDW_DOCKBAR_LEFT);
        right = DockBarOf(frame, AFX_IDW_DOCKBAR_RIGHT);
        ASSERT_TRUE(top && bottom && left && right);
    }
    void TearDown() override
    {
        if (::IsWindow(frameWindow()))
            frame->DestroyWindow();
        test_support::PumpPending();
    }
    HWND frameWindow() const { return frame ? frame->m_hWnd : nullptr; }

    // A bar made in the frame, able to dock anywhere, docked in a row of its own on dockBar.
    void AddBar(FixedBar& bar, UINT id, LPCSTR name, CDockBar* dockBar)
    {
        MakeBar(bar, id, name);
        frame->DockControlBar(&bar, dockBar);
    }
    // A bar made in the frame, able to dock anywhere, with a drag context of its own.
    void MakeBar(FixedBar& bar, UINT id, LPCSTR name, DWORD dockStyle = CBRS_ALIGN_ANY)
    {
        ASSERT_TRUE(bar.CreateBar(frame, id, name));
        // A bar made again in a new frame gets a context for that frame.
        delete bar.m_pDockContext;
        bar.m_pDockContext = nullptr;
        bar.EnableDocking(dockStyle);
    }

    CFrameWnd* frame = nullptr;
    CDockBar* top = nullptr;
    CDockBar* bottom = nullptr;
    CDockBar* left = nullptr;
    CDockBar* right = nullptr;
};

} // namespace docking_test
