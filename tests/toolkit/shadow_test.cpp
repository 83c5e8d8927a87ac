// Drop shadows: the darkening of the bands, the L-shaped window behind a popup, following
// the popup, and the hooked shadow going away with its popup.
#include "toolkit/foundation/QZShadow.h"

#include "toolkit_test_support.h"

using toolkit_test::PaperCanvas;
using toolkit_test::PumpPending;

TEST(QZDrawShadow, DarkensTheBandsInFourStepsFadingOutward)
{
    PaperCanvas canvas(110, 60);
    const CRect rect(0, 0, 104, 54);
    QZDrawShadow(&canvas.m_dc, rect, 100);
    struct Case {
        const char* why;
        int x;
        int y;
        int grey;
    };
    const Case cases[] = {
        {"right band, next to the popup", 100, 10, 195},
        {"right band, second ring", 101, 10, 210},
        {"right band, third ring", 102, 10, 225},
        {"right band, outer edge", 103, 10, 240},
        {"bottom band, next to the popup", 50, 50, 195},
        {"bottom band, outer edge", 50, 53, 240},
        {"the corner fades diagonally", 101, 51, 210},
        {"outermost corner", 103, 53, 240},
        {"the right band starts 4 below the top", 100, 3, 255},
        {"the bottom band starts 4 from the left", 3, 52, 255},
        {"the popup's own area stays", 99, 49, 255},
        {"outside the rectangle stays", 104, 20, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(RGB(c.grey, c.grey, c.grey), canvas.At(c.x, c.y));
    }
}

TEST(QZDrawShadow, ScalesTheStepsAndStopsAtBlack)
{
    PaperCanvas canvas(30, 30);
    canvas.m_dc.FillSolidRect(0, 0, 30, 30, RGB(50, 100, 20));
    QZDrawShadow(&canvas.m_dc, CRect(0, 0, 30, 30), 100);
    EXPECT_EQ(RGB(0, 40, 0), canvas.At(26, 10)) << "60 off each channel, none below 0";
    QZDrawShadowRect(&canvas.m_dc, CRect(0, 0, 20, 20), 50);
    EXPECT_EQ(RGB(20, 70, 0), canvas.At(16, 10)) << "half of 60";
    EXPECT_EQ(RGB(43, 93, 13), canvas.At(19, 10)) << "half of 15, cut toward zero";
}

namespace {

int g_shadowsDeleted = 0;

class CountedShadow : public CQZWndShadow {
public:
    using CQZWndShadow::CQZWndShadow;
    ~CountedShadow() override { ++g_shadowsDeleted; }
};

// A popup that destroys itself while handling another of its messages.
class SelfDestroyingPopup : public CWnd {
public:
    afx_msg LRESULT OnCloseNow(WPARAM, LPARAM)
    {
        DestroyWindow();
        return 5;
    }
    DECLARE_MESSAGE_MAP()
};
constexpr UINT kCloseNow = WM_APP + 3;
BEGIN_MESSAGE_MAP(SelfDestroyingPopup, CWnd)
    ON_MESSAGE(kCloseNow, OnCloseNow)
END_MESSAGE_MAP()

class ShadowWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_shadowsDeleted = 0;
        ASSERT_TRUE(popup.CreateEx(0, nullptr, "popup", WS_POPUP | WS_VISIBLE, 40, 30, 100, 50, nullptr, nullptr));
    }
    void TearDown() override
    {
        if (popup.m_hWnd)
            popup.DestroyWindow();
        PumpPending();
    }
    CRect ShadowRect(const CQZWndShadow& shadow)
    {
        CRect rect;
        ::GetWindowRect(shadow.m_pShadowWnd->m_hWnd, &rect);
        return rect;
    }
    SelfDestroyingPopup popup;
};

} // namespace

TEST_F(ShadowWindowTest, LShapedWindowRightBehindThePopup)
{
    CQZWndShadow shadow(popup.m_hWnd, TRUE, FALSE);
    ASSERT_TRUE(shadow.m_bCreated);
    HWND window = shadow.m_pShadowWnd->m_hWnd;
    EXPECT_EQ(CRect(40, 30, 144, 84), ShadowRect(shadow)) << "104 x 54 for a 100 x 50 popup";
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(window, GetWindow(popup.m_hWnd, GW_HWNDNEXT)) << "directly behind the popup";
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    char title[16] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ("Shadow", title);
    CRgn region;
    region.CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(window, static_cast<HRGN>(region.m_hObject)));
    struct Case {
        const char* why;
        int x;
        int y;
        bool inside;
    };
    const Case cases[] = {
        {"right band", 101, 20, true},       {"bottom band", 50, 52, true},  {"corner", 103, 53, true},
        {"over the popup", 50, 20, false},   {"top of the right band", 101, 3, false},
        {"left of the bottom band", 2, 52, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.inside, region.PtInRegion(c.x, c.y) != FALSE);
    }
}

TEST_F(ShadowWindowTest, HookedShadowFollowsTheMovedPopupAndRendersAgain)
{
    auto* shadow = new CountedShadow(popup.m_hWnd, TRUE, TRUE);
    HWND window = shadow->m_pShadowWnd->m_hWnd;
    UpdateWindow(window);
    EXPECT_TRUE(shadow->m_pShadowWnd->m_bRendered);
    popup.MoveWindow(200, 100, 120, 70);
    EXPECT_EQ(CRect(200, 100, 324, 174), ShadowRect(*shadow));
    EXPECT_TRUE(IsWindowVisible(window)) << "shown again after the move";
    EXPECT_EQ(window, GetWindow(popup.m_hWnd, GW_HWNDNEXT));
    EXPECT_FALSE(shadow->m_pShadowWnd->m_bRendered) << "the new place needs a new image";
    UpdateWindow(window);
    EXPECT_TRUE(shadow->m_pShadowWnd->m_bRendered);
    EXPECT_EQ(CRect(200, 100, 324, 174), shadow->m_pShadowWnd->m_rectImage);
    // Hiding and showing the popup hides and shows its shadow.
    popup.ShowWindow(SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(window));
    popup.ShowWindow(SW_SHOWNA);
    EXPECT_TRUE(IsWindowVisible(window));
    popup.DestroyWindow();
    EXPECT_EQ(1, g_shadowsDeleted);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ShadowWindowTest, HookedShadowGoesAfterADestroyInsideAnotherMessage)
{
    new CountedShadow(popup.m_hWnd, TRUE, TRUE);
    HWND window = GetWindow(popup.m_hWnd, GW_HWNDNEXT);
    EXPECT_EQ(5, popup.SendMessage(kCloseNow));
    EXPECT_EQ(1, g_shadowsDeleted) << "deleted once, after the outer message";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, popup.m_hWnd);
}

TEST_F(ShadowWindowTest, UnhookedShadowIsShownHiddenAndDeletedByItsPopupsCode)
{
    auto* shadow = new CountedShadow(popup.m_hWnd, FALSE, FALSE);
    HWND window = shadow->m_pShadowWnd->m_hWnd;
    EXPECT_FALSE(IsWindowVisible(window)) << "starts hidden";
    shadow->Show();
    EXPECT_TRUE(IsWindowVisible(window));
    popup.ShowWindow(SW_HIDE);
    EXPECT_TRUE(IsWindowVisible(window)) << "not hooked: the popup's code decides";
    shadow->Hide();
    EXPECT_FALSE(IsWindowVisible(window));
    delete shadow;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1, g_shadowsDeleted);
}

TEST_F(ShadowWindowTest, NeverKeepsTheFocusAndItsHookOnlyTakesWindows)
{
    CQZWndShadow shadow(popup.m_hWnd, TRUE, FALSE);
    popup.SetFocus();
    ::SetFocus(shadow.m_pShadowWnd->m_hWnd);
    EXPECT_EQ(popup.m_hWnd, GetFocus());
    CQZWndShadow::CMsgHook hook(nullptr);
    EXPECT_FALSE(hook.HookWindow(static_cast<HWND>(nullptr)));
    EXPECT_TRUE(hook.HookWindow(popup.m_hWnd));
    EXPECT_FALSE(hook.HookWindow(static_cast<HWND>(nullptr))) << "detaching answers FALSE too";
}
