// The library's flat toolbar: the main frame's form (control style from the combined word
// without the customise bit, borders from the rectangle, the extended style added), the
// short form, and joining no window set.
#include "lib/src/Win2/Wnd/iVeltraToolBar.h"

#include "framework/window_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>

namespace {

using test_support::ClassOf;
using winlib_test::NewContainer;

// The main frame's toolbar style: visible child, a toolkit bar bit, docked at the top with
// a bottom border, flyby, tooltips, dynamic size.
constexpr DWORD kMainToolBarStyle = 0x50402834;

bool g_veltraBarGone = false;

class WatchedVeltraToolBar : public iVeltraToolBar {
public:
    using iVeltraToolBar::iVeltraToolBar;
    ~WatchedVeltraToolBar() override { g_veltraBarGone = true; }
};

} // namespace

TEST(VeltraToolBar, TheMainFramesFormMakesAToolbarThatCannotBeCustomised)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "toolbar frame"));
    struct Case {
        const char* why;
        DWORD exStyle;
    };
    const Case cases[] = {{"no extended style", 0}, {"an extended style to add", WS_EX_STATICEDGE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        iVeltraToolBar bar(frame, CRect(0, 0, 0, 0), kMainToolBarStyle, "", AFX_IDW_TOOLBAR, c.exStyle, nullptr);
        ASSERT_NE(nullptr, bar.m_hWnd);
        EXPECT_EQ(std::string(TOOLBARCLASSNAMEA), ClassOf(bar.m_hWnd));
        EXPECT_TRUE(bar.IsKindOf(RUNTIME_CLASS(CQZToolBar)));
        EXPECT_EQ(AFX_IDW_TOOLBAR, bar.GetDlgCtrlID());
        const DWORD style = bar.GetStyle();
        EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE), style & (WS_CHILD | WS_VISIBLE | WS_POPUP));
        EXPECT_TRUE(style & TBSTYLE_FLAT);
        EXPECT_TRUE(style & 0x00400000) << "the toolkit bar bit reaches the control";
        EXPECT_EQ(0u, style & CCS_ADJUSTABLE) << "a double click must open no customise dialog";
        const DWORD barBits = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_FLYBY | CBRS_TOOLTIPS | CBRS_SIZE_DYNAMIC;
        EXPECT_EQ(barBits, bar.GetBarStyle() & barBits) << "flyby stays a bar style";
        EXPECT_EQ(CRect(0, 0, 0, 0), bar.GetBorders());
        EXPECT_FALSE(bar.GetChevronState());
        EXPECT_EQ(c.exStyle != 0, (bar.GetExStyle() & WS_EX_STATICEDGE) != 0);
    }
    frame->DestroyWindow();
}

TEST(VeltraToolBar, TheShortFormKeepsTheToolbarsDefaultBorders)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "toolbar frame"));
    CQZToolBar plain;
    ASSERT_TRUE(plain.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE810));
    iVeltraToolBar bar(frame, CRect(5, 6, 7, 8), WS_CHILD | WS_VISIBLE | CBRS_TOP, "ignored", 0xE811);
    ASSERT_NE(nullptr, bar.m_hWnd);
    EXPECT_EQ(plain.GetBorders(), bar.GetBorders());
    EXPECT_EQ(0xE811, bar.GetDlgCtrlID());
    frame->DestroyWindow();
}

TEST(VeltraToolBar, JoinsNoWindowSetSoItsCreatorDeletesIt)
{
    g_veltraBarGone = false;
    auto container = NewContainer();
    auto* bar = new WatchedVeltraToolBar(container.get(), CRect(0, 0, 0, 0), kMainToolBarStyle, "", 0xE812, 0, nullptr);
    ASSERT_NE(nullptr, bar->m_hWnd);
    EXPECT_EQ(0u, container->GetWindowSet().count(bar));
    container.reset();
    EXPECT_FALSE(g_veltraBarGone);
    delete bar;
    EXPECT_TRUE(g_veltraBarGone);
}
