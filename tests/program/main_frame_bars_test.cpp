// The main frame's bars on a frame of its own: the menu bar takes the place of the window's
// menu, the toolbar is the toolkit's flat one, and a frame that goes takes its toolbar
// object (in no window set), its GDI objects and its windows with it.
#include "program_test_support.h"

#include "framework/object_count_test_support.h"

#include "lib/src/Win2/Wnd/iVeltraToolBar.h"
#include "lib/src/iRegistry.h"
#include "res/SorvantaResources.h"

namespace program_test {
namespace {

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
    const size_t before = test_support::HeapBytesInUse();
    const DWORD gdiBefore = test_support::LiveGdiObjects();
    const DWORD windowsBefore = test_support::LiveUserObjects();
    constexpr int kFrames = 20;
    for (int i = 0; i < kFrames; ++i) {
        MainFrame* frame = NewFrame();
        ASSERT_NE(nullptr, frame->GetToolBar());
        ASSERT_NE(nullptr, frame->GetToolBar()->m_hWnd);
        frame->DestroyWindow();
        AfxDeleteTempMaps();
    }
    const size_t after = test_support::HeapBytesInUse();
    // A toolbar object left behind per frame would add at least its own size each time.
    EXPECT_LT(after, before + kFrames * sizeof(iVeltraToolBar) / 4) << "grew by " << after - before;
    // Nor may a frame leave a GDI object (the toolbar's images, the menus' fonts) or a window.
    EXPECT_LE(test_support::LiveGdiObjects(), gdiBefore + 2);
    EXPECT_LE(test_support::LiveUserObjects(), windowsBefore);
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
