// The main window's place from one run to the next, with the real application object and
// main frame: closed minimised it comes back shown in its last normal place, closed
// maximised it comes back maximised and restores to its saved size however often that is
// done, and a stored place the user could not reach, or a size no main window may have,
// opens on the screen at no less than the minimum size.
#include "program_test_support.h"

#include "winlib/placement_test_support.h"

#include <string>

namespace main_frame_placement_test {

using namespace program_test;

namespace {

const std::string kPlacementKey = std::string(kProgramKey) + "\\Window Hierarchy\\" + MainFrame::kTitle;

struct StoredPlace {
    CRect rect;
    DWORD zoomed = 0xDEAD;
    DWORD iconic = 0xDEAD;
};

StoredPlace ReadStoredPlace()
{
    StoredPlace place;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPlacementKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return place;
    RECT rect = {};
    DWORD size = sizeof rect;
    if (RegQueryValueExA(key, "Rect", nullptr, nullptr, reinterpret_cast<BYTE*>(&rect), &size) == ERROR_SUCCESS)
        place.rect = rect;
    size = sizeof place.zoomed;
    RegQueryValueExA(key, "Zoomed", nullptr, nullptr, reinterpret_cast<BYTE*>(&place.zoomed), &size);
    size = sizeof place.iconic;
    RegQueryValueExA(key, "Iconic", nullptr, nullptr, reinterpret_cast<BYTE*>(&place.iconic), &size);
    RegCloseKey(key);
    return place;
}

// What the main window was like once the program had started.
struct Opened {
    bool isVisible = false;
    bool isIconic = true;
    bool isZoomed = false;
    CRect rect;
};

Opened ReadOpened(CWnd* frame)
{
    Opened opened;
    opened.isVisible = frame->IsWindowVisible() != FALSE;
    opened.isIconic = frame->IsIconic() != FALSE;
    opened.isZoomed = frame->IsZoomed() != FALSE;
    frame->GetWindowRect(&opened.rect);
    return opened;
}

class MainFramePlacementTest : public ProgramTest {
protected:
    // Starts the program, notes how its window opened, does what the step says and closes it.
    Opened RunOnce(const std::function<void(CWnd*)>& step)
    {
        Opened opened;
        ScriptedMain app;
        app.m_script = {[&](ScriptedMain& running) {
            opened = ReadOpened(running.m_pMainWnd);
            step(running.m_pMainWnd);
            running.m_pMainWnd->PostMessage(WM_CLOSE);
        }};
        EXPECT_EQ(0, Run(app, "/NoSplash"));
        return opened;
    }
};

} // namespace

TEST_F(MainFramePlacementTest, ClosedMinimisedItOpensShownInItsLastNormalPlace)
{
    const CRect normal(50, 40, 50 + 700, 40 + 600);
    RunOnce([&normal](CWnd* frame) {
        frame->MoveWindow(&normal, TRUE);
        frame->ShowWindow(SW_MINIMIZE);
        ASSERT_TRUE(frame->IsIconic());
    });
    const StoredPlace stored = ReadStoredPlace();
    EXPECT_EQ(normal, stored.rect) << "the normal place, not the minimised form's";
    EXPECT_NE(0u, stored.iconic);
    EXPECT_EQ(0u, stored.zoomed);

    const Opened next = RunOnce([](CWnd*) {});
    EXPECT_TRUE(next.isVisible);
    EXPECT_FALSE(next.isIconic) << "a window that opens minimised looks as if the program did not start";
    EXPECT_EQ(normal, next.rect);
    EXPECT_EQ(0u, ReadStoredPlace().iconic);
}

TEST_F(MainFramePlacementTest, MaximisedAndRestoredRunAfterRunItKeepsItsNormalSize)
{
    const CRect normal(60, 30, 60 + 680, 30 + 580);
    RunOnce([&normal](CWnd* frame) {
        frame->MoveWindow(&normal, TRUE);
        frame->ShowWindow(SW_MAXIMIZE);
    });
    for (int run = 1; run <= 3; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        CRect restored;
        const Opened opened = RunOnce([&restored](CWnd* frame) {
            frame->ShowWindow(SW_RESTORE);
            frame->GetWindowRect(&restored);
            frame->ShowWindow(SW_MAXIMIZE);
        });
        EXPECT_TRUE(opened.isVisible);
        EXPECT_TRUE(opened.isZoomed) << "closed maximised, it opens maximised";
        EXPECT_EQ(normal, restored);
        const StoredPlace stored = ReadStoredPlace();
        EXPECT_EQ(normal, stored.rect);
        EXPECT_NE(0u, stored.zoomed);
    }
}

TEST_F(MainFramePlacementTest, APlaceOffTheScreenOrASizeBelowTheMinimumOpensWhereTheUserCanUseIt)
{
    const CRect work = placement_test::PrimaryWorkArea();
    const CSize minimum(MainFrame::kMinTrackWidthPx, MainFrame::kMinTrackHeightPx);
    struct Case { const char* why; RECT stored; CSize size; };
    const Case cases[] = {
        {"on a monitor that has gone", {-3000, 200, -2300, 800}, CSize(700, 600)},
        {"all but two pixels below the screen", {100, work.bottom - 2, 800, work.bottom + 598}, CSize(700, 600)},
        {"152 x 1, as left by a start made minimised", {560, 500, 712, 501}, minimum},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        placement_test::StorePlace(kPlacementKey, c.stored);
        const Opened opened = RunOnce([](CWnd*) {});
        EXPECT_TRUE(opened.isVisible);
        EXPECT_FALSE(opened.isIconic);
        EXPECT_EQ(c.size, opened.rect.Size());
        placement_test::ExpectTitleBarInReach(opened.rect, work);
    }
}

} // namespace main_frame_placement_test
