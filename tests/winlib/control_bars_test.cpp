// The window-set toolbar and status bar: what each form creates (the toolbar's window
// form included), their styles and ids, joining a library container's set and being
// deleted with it, and joining no set on other frames.
#include "lib/src/Win2/Wnd/iFrameWnd.h"
#include "lib/src/Win2/Wnd/iStatusBar.h"
#include "lib/src/Win2/Wnd/iToolBar.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <string>

namespace {

using test_support::ClassOf;
using winlib_test::NewContainer;

// Notes its deletion in a flag the test keeps.
template <class Bar>
class Watched : public Bar {
public:
    template <class... Args>
    Watched(bool* deleted, Args... args) : Bar(args...), m_deleted(deleted)
    {
    }
    ~Watched() override { *m_deleted = true; }
    bool* m_deleted;
};

const CRect kIgnoredRect(1, 2, 3, 4);

} // namespace

TEST(IStatusBar, IsAtTheBottomWithTheStatusBarIdAndJoinsALibraryContainer)
{
    auto container = NewContainer();
    bool deleted = false;
    auto* bar = new Watched<iStatusBar>(&deleted, container.get());
    ASSERT_NE(nullptr, bar->m_hWnd);
    EXPECT_EQ(std::string(STATUSCLASSNAMEA), ClassOf(bar->m_hWnd));
    EXPECT_EQ(AFX_IDW_STATUS_BAR, bar->GetDlgCtrlID());
    EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE), bar->GetStyle() & (WS_CHILD | WS_VISIBLE | WS_POPUP));
    EXPECT_EQ(static_cast<DWORD>(CBRS_BOTTOM), bar->GetBarStyle()) << "0x50008200 less the window bits";
    EXPECT_EQ(1u, container->GetWindowSet().count(bar));
    container.reset();
    EXPECT_TRUE(deleted);
}

TEST(IStatusBar, OnAFrameThatIsNoContainerJoinsNoSet)
{
    // The program's main frame is the toolkit's, a framework frame and no library container.
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "plain frame"));
    iStatusBar bar(frame);
    ASSERT_NE(nullptr, bar.m_hWnd);
    EXPECT_EQ(nullptr, bar.GetWindowSetAccess().GetSet());
    EXPECT_EQ(bar.m_pDockSite, frame) << "the frame lays it out";
    frame->DestroyWindow();
    EXPECT_EQ(nullptr, bar.m_hWnd) << "the bar object outlives the frame";
}

TEST(IStatusBar, LibraryFrameLaysItOutAtTheBottomAndDeletesIt)
{
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "frame", 0);
    bool deleted = false;
    auto* bar = new Watched<iStatusBar>(&deleted, frame);
    EXPECT_EQ(1u, frame->GetWindowSet().count(bar));
    frame->RecalcLayout();
    CRect client;
    frame->GetClientRect(&client);
    CRect placed;
    bar->GetWindowRect(&placed);
    frame->ScreenToClient(&placed);
    EXPECT_EQ(client.bottom, placed.bottom);
    EXPECT_GT(placed.Height(), 0);
    frame->DestroyWindow();
    EXPECT_TRUE(deleted);
}

TEST(IStatusBar, DefaultHasNoWindow)
{
    iStatusBar bar;
    EXPECT_EQ(nullptr, bar.m_hWnd);
    EXPECT_EQ(nullptr, bar.GetWindowSetAccess().GetSet());
}

TEST(IToolBar, BothFormsCreateAToolbarInTheContainersSet)
{
    auto container = NewContainer();
    const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP;
    auto* itemForm = new iToolBar(container.get(), kIgnoredRect, style, "ignored", AFX_IDW_TOOLBAR);
    // This form once created nothing while reporting success.
    auto* windowForm = new iToolBar(container.get(), kIgnoredRect, style, "ignored", AFX_IDW_TOOLBAR + 1,
                                    WS_EX_STATICEDGE, nullptr);
    for (iToolBar* bar : {itemForm, windowForm}) {
        ASSERT_NE(nullptr, bar->m_hWnd);
        EXPECT_EQ(std::string(TOOLBARCLASSNAMEA), ClassOf(bar->m_hWnd));
        EXPECT_EQ(static_cast<DWORD>(CBRS_TOP), bar->GetBarStyle());
        EXPECT_EQ(1u, container->GetWindowSet().count(bar));
        char text[16] = {};
        GetWindowTextA(bar->m_hWnd, text, sizeof text);
        EXPECT_STREQ("", text) << "the text is not used";
    }
    EXPECT_EQ(AFX_IDW_TOOLBAR, itemForm->GetDlgCtrlID());
    EXPECT_EQ(AFX_IDW_TOOLBAR + 1, windowForm->GetDlgCtrlID());
    EXPECT_TRUE(windowForm->GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_FALSE(itemForm->GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_EQ(2u, container->GetWindowSet().size());
}

TEST(IToolBar, WithoutParentNoWindowAndNoSet)
{
    for (bool windowForm : {false, true}) {
        SCOPED_TRACE(windowForm ? "window form" : "dialog-item form");
        std::unique_ptr<iToolBar> bar =
            windowForm ? std::make_unique<iToolBar>(nullptr, kIgnoredRect, WS_CHILD | WS_VISIBLE | CBRS_TOP, "", 1,
                                                    WS_EX_STATICEDGE, nullptr)
                       : std::make_unique<iToolBar>(nullptr, kIgnoredRect, WS_CHILD | WS_VISIBLE | CBRS_TOP, "", 1);
        EXPECT_EQ(nullptr, bar->m_hWnd);
        EXPECT_EQ(nullptr, bar->GetWindowSetAccess().GetControl());
    }
}

TEST(IToolBar, DeletedByHandLeavesTheSetAndTheWindow)
{
    auto container = NewContainer();
    bool deleted = false;
    auto* bar = new Watched<iToolBar>(&deleted, container.get(), kIgnoredRect,
                                      static_cast<DWORD>(WS_CHILD | WS_VISIBLE | CBRS_TOP), "", 5u);
    HWND window = bar->m_hWnd;
    delete bar;
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(container->GetWindowSet().empty());
}
