// The main frame's bars on a frame of its own: the menu bar takes the place of the window's
// menu, the toolbar is the toolkit's flat one, and a frame that goes takes its toolbar
// object with it (the toolbar is in no window set).
#include "program_test_support.h"

#include "lib/src/Win2/Wnd/iVeltraToolBar.h"
#include "lib/src/iRegistry.h"
#include "res/SorvantaResources.h"

namespace program_test {
namespace {

// Bytes in use on every heap of the process.
size_t HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    size_t total = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                total += entry.cbData;
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

class MainFrameBarsTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        // The frames' placement goes below the program's key, which the fixture removes.
        ASSERT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", "Tamrow", "SorvantaStd"));
    }
    static MainFrame* NewFrame()
    {
        auto* frame = new MainFrame;
        EXPECT_TRUE(frame->LoadFrame(IDR_MAINFRAME));
        return frame;
    }
};

TEST_F(MainFrameBarsTest, FramesThatGoLeaveNoToolbarObjectsBehind)
{
    // The first frames make what lives for the process (window classes, caches).
    for (int i = 0; i < 3; ++i)
        NewFrame()->DestroyWindow();
    AfxDeleteTempMaps();
    const size_t before = HeapBytesInUse();
    constexpr int kFrames = 20;
    for (int i = 0; i < kFrames; ++i) {
        MainFrame* frame = NewFrame();
        ASSERT_NE(nullptr, frame->GetToolBar());
        ASSERT_NE(nullptr, frame->GetToolBar()->m_hWnd);
        frame->DestroyWindow();
        AfxDeleteTempMaps();
    }
    const size_t after = HeapBytesInUse();
    // Wine counts no GDI objects, so the memory tells: a toolbar object left behind per
    // frame would add at least its own size each time.
    EXPECT_LT(after, before + kFrames * sizeof(iVeltraToolBar) / 4) << "grew by " << after - before;
}

TEST_F(MainFrameBarsTest, TheBarsDockAtTheTopAndTheBottomAndTheFrameOnEverySide)
{
    MainFrame* frame = NewFrame();
    for (UINT side : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
        EXPECT_NE(nullptr, frame->GetControlBar(side)) << std::hex << side;
    const DWORD topOrBottom = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
    EXPECT_EQ(topOrBottom, frame->GetMenuBar()->m_dwDockStyle & CBRS_ALIGN_ANY);
    EXPECT_EQ(topOrBottom, frame->GetToolBar()->m_dwDockStyle & CBRS_ALIGN_ANY);
    EXPECT_EQ(AFX_IDW_MENUBAR, frame->GetMenuBar()->GetDlgCtrlID());
    EXPECT_EQ(AFX_IDW_TOOLBAR, frame->GetToolBar()->GetDlgCtrlID());
    EXPECT_EQ(nullptr, ::GetMenu(frame->m_hWnd));
    // The menu bar's row comes first.
    CRect menuBar;
    CRect toolBar;
    frame->GetMenuBar()->GetWindowRect(&menuBar);
    frame->GetToolBar()->GetWindowRect(&toolBar);
    EXPECT_LE(menuBar.bottom, toolBar.top);
    frame->DestroyWindow();
}

} // namespace
} // namespace program_test
