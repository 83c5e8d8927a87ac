// Where a remembered window rectangle may open: the title bar within reach of the user,
// a place off every monitor moved onto the nearest one, and a size below the minimum
// raised to it, also for stored values no window could have had.
#include "lib/src/Win2/Wnd/WindowOnMonitor.h"

#include "winlib/placement_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace window_on_monitor_test {
namespace {

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

} // namespace

TEST(WindowOnMonitor, TheTitleBarIsInReachWhenItLiesWithinTheWorkArea)
{
    const RECT work = {0, 40, 1000, 800};
    constexpr int kCaption = 20;
    struct Case { const char* why; RECT rect; bool isReachable; };
    const Case cases[] = {
        {"wholly inside", {100, 100, 500, 400}, true},
        {"top on the work area's top edge", {100, 40, 500, 400}, true},
        {"top one pixel above the work area (under a top taskbar)", {100, 39, 500, 400}, false},
        {"title bar ends on the work area's bottom", {100, 780, 500, 1100}, true},
        {"title bar one pixel past the bottom", {100, 781, 500, 1100}, false},
        {"a caption's width left on the right", {980, 100, 1500, 400}, true},
        {"one pixel less than a caption's width", {981, 100, 1500, 400}, false},
        {"a caption's width left on the left", {-380, 100, 20, 400}, true},
        {"far off to the left", {-3000, 100, -2000, 400}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.isReachable, IsTitleBarReachable(c.rect, work, kCaption));
    }
}

TEST(WindowOnMonitor, CentringKeepsTheSizeThatFitsAndCutsWhatDoesNot)
{
    const RECT work = {100, 50, 1100, 850};
    EXPECT_EQ("300,250,900,650", Describe(CentreOnWorkArea(RECT{-5000, -5000, -4400, -4600}, work)));
    EXPECT_EQ("100,50,1100,850", Describe(CentreOnWorkArea(RECT{0, 0, 3000, 2000}, work)));
}

TEST(WindowOnMonitor, APlaceOnTheScreenStaysAndOneOffItMovesOntoTheNearestMonitor)
{
    const RECT work = placement_test::PrimaryWorkArea();
    const SIZE noMinimum = {0, 0};
    const RECT inside = {work.left + 10, work.top + 20, work.left + 410, work.top + 320};
    EXPECT_EQ(Describe(inside), Describe(KeepOnMonitor(inside, noMinimum)));

    struct Case { const char* why; RECT stored; };
    const Case moved[] = {
        {"off every monitor", {-20000, -20000, -19600, -19700}},
        {"only two pixels showing below the work area", {work.left + 10, work.bottom - 2, work.left + 410, work.bottom + 298}},
        {"the title bar above the top of the work area", {work.left + 10, work.top - 100, work.left + 410, work.top + 200}},
    };
    for (const Case& c : moved) {
        SCOPED_TRACE(c.why);
        const RECT kept = KeepOnMonitor(c.stored, noMinimum);
        EXPECT_EQ(400, kept.right - kept.left) << "the size is kept";
        EXPECT_EQ(300, kept.bottom - kept.top);
        SCOPED_TRACE(Describe(kept));
        placement_test::ExpectTitleBarInReach(kept, work);
        EXPECT_EQ((work.left + work.right) / 2, (kept.left + kept.right) / 2) << "centred";
    }
}

TEST(WindowOnMonitor, ASizeBelowTheMinimumIsRaisedToItAndDamageStaysOnTheScreen)
{
    const RECT work = placement_test::PrimaryWorkArea();
    const SIZE minimum = {300, 200};
    // 152 x 1: the size a window made minimised has once it is restored.
    const RECT titleBarOnly = {work.left + 50, work.top + 60, work.left + 202, work.top + 61};
    EXPECT_EQ(Describe(RECT{work.left + 50, work.top + 60, work.left + 350, work.top + 260}),
              Describe(KeepOnMonitor(titleBarOnly, minimum)));

    struct Case { const char* why; RECT stored; };
    const Case damaged[] = {
        {"right before left", {100, 100, 50, 400}},
        {"the extremes of the stored type", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}},
        {"a width that overflows", {INT_MAX - 10, 0, INT_MIN + 10, 300}},
    };
    for (const Case& c : damaged) {
        SCOPED_TRACE(c.why);
        const RECT kept = KeepOnMonitor(c.stored, minimum);
        EXPECT_GE(kept.right - kept.left, minimum.cx) << Describe(kept);
        EXPECT_GE(kept.bottom - kept.top, minimum.cy) << Describe(kept);
        SCOPED_TRACE(Describe(kept));
        placement_test::ExpectTitleBarInReach(kept, work);
    }
}

} // namespace window_on_monitor_test
