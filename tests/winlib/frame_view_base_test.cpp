// The library's view and frames: a view or a toolkit frame deletes the controls created on
// it exactly once when it goes, and a persistent frame (plain or toolkit) reopens where it
// was closed, shown in its normal place when it was closed minimised, and on the screen
// when the place it was closed in is no longer there; a persistent toolkit main frame
// closed maximised is shown maximised again.
#include "lib/src/Win2/Wnd/iPersistentFrameWnd.h"
#include "lib/src/Win2/Wnd/iPersistentVeltraFrameWnd.h"
#include "lib/src/Win2/Wnd/iStatic.h"
#include "lib/src/Win2/Wnd/iView.h"

#include "lib/src/iRegistry.h"

#include "winlib/placement_test_support.h"

#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <type_traits>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace frame_view_base_test {
namespace {

constexpr const char* kTestCompany = "SorvantaFrameViewTest";
constexpr const char* kTestApplication = "Frames";
constexpr const char* kTestCompanyKey = "Software\\SorvantaFrameViewTest";

int g_labelsGone = 0;

class CountedLabel : public iStatic {
public:
    CountedLabel(CWnd* parent, int top) : iStatic(parent, CRect(0, top, 50, top + 20), WS_VISIBLE, "label", 0) {}
    ~CountedLabel() override { ++g_labelsGone; }
};

class LabelView : public iView {
    DECLARE_DYNCREATE(LabelView)
public:
    void OnDraw(CDC*) override {}
    static inline LabelView* made = nullptr;

protected:
    int OnCreate(LPCREATESTRUCT cs)
    {
        if (iView::OnCreate(cs) == -1)
            return -1;
        made = this;
        new CountedLabel(this, 0);
        new CountedLabel(this, 30);
        new CountedLabel(this, 60);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(LabelView, iView)

BEGIN_MESSAGE_MAP(LabelView, iView)
    ON_WM_CREATE()
END_MESSAGE_MAP()

TEST(LibraryView, DeletesTheControlsMadeOnItExactlyOnce)
{
    g_labelsGone = 0;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(LabelView);
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "view frame", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr, 0,
                              &context));
    ASSERT_NE(nullptr, LabelView::made);
    ASSERT_EQ(3u, LabelView::made->GetWindowSet().size());

    // A control deleted by its owner first leaves the set: it is not deleted again.
    delete *LabelView::made->GetWindowSet().begin();
    EXPECT_EQ(1, g_labelsGone);
    EXPECT_EQ(2u, LabelView::made->GetWindowSet().size());

    frame->DestroyWindow();
    EXPECT_EQ(3, g_labelsGone);
}

TEST(LibraryToolkitFrame, IsAToolkitFrameThatDeletesTheControlsMadeOnItExactlyOnce)
{
    g_labelsGone = 0;
    auto* frame = new iVeltraFrameWnd(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "toolkit frame", 99);
    ASSERT_NE(nullptr, frame->m_hWnd);
    EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CQZFrameWnd)));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_NE(nullptr, frame->GetControlBar(AFX_IDW_DOCKBAR_TOP)) << "the toolkit frame's docking";
    auto* first = new CountedLabel(frame, 0);
    new CountedLabel(frame, 30);
    EXPECT_EQ(2u, frame->GetWindowSet().size());
    delete first;
    EXPECT_EQ(1u, frame->GetWindowSet().size());
    frame->DestroyWindow();
    EXPECT_EQ(2, g_labelsGone);
}

template <class Frame>
class PersistentFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestCompanyKey);
        ASSERT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", kTestCompany, kTestApplication));
    }
    void TearDown() override
    {
        // The library's own start-up defaults come back for whatever runs next.
        EXPECT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", "Orvel++ Software Development", "Default"));
        RegDeleteTreeA(HKEY_CURRENT_USER, kTestCompanyKey);
    }
};

CRect WindowRect(CWnd* frame)
{
    CRect rect;
    frame->GetWindowRect(&rect);
    return rect;
}

// The plain frame and the toolkit frame keep their placement alike.
using PersistentFrameKinds = ::testing::Types<iPersistentFrameWnd, iPersistentVeltraFrameWnd>;
TYPED_TEST_SUITE(PersistentFrame, PersistentFrameKinds);

TYPED_TEST(PersistentFrame, ReopensAtTheRectangleItWasClosedWith)
{
    auto* first = new TypeParam(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Placed", 7);
    ASSERT_NE(nullptr, first->m_hWnd);
    EXPECT_EQ(CRect(10, 20, 410, 320), WindowRect(first));
    ASSERT_NE(nullptr, first->GetWindowData());
    first->MoveWindow(CRect(30, 40, 530, 390));
    first->DestroyWindow();
    EXPECT_EQ(nullptr, iWindowDataMap::GetMap());

    auto* second = new TypeParam(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Placed", 8);
    EXPECT_EQ(CRect(30, 40, 530, 390), WindowRect(second));
    second->DestroyWindow();
}

TYPED_TEST(PersistentFrame, OneClosedMaximisedReopensMaximisedWithItsNormalRectangle)
{
    auto* first = new TypeParam(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Zoomed", 0);
    first->MoveWindow(CRect(50, 60, 450, 360));
    first->ShowWindow(SW_SHOWMAXIMIZED);
    ASSERT_TRUE(first->IsZoomed());
    first->DestroyWindow();

    auto* second = new TypeParam(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Zoomed", 0);
    if constexpr (std::is_same_v<TypeParam, iPersistentVeltraFrameWnd>) {
        // A top-level toolkit frame is made in its normal place and maximised by the show
        // command it leaves (below), as the framework shows a main frame.
        EXPECT_FALSE(second->GetStyle() & WS_MAXIMIZE);
        second->ShowWindow(SW_SHOWMAXIMIZED);
    } else {
        EXPECT_TRUE(second->GetStyle() & WS_MAXIMIZE);
    }
    EXPECT_TRUE(second->IsZoomed());
    second->ShowWindow(SW_RESTORE);
    EXPECT_EQ(CRect(50, 60, 450, 360), WindowRect(second));
    second->DestroyWindow();
}

TYPED_TEST(PersistentFrame, OneClosedMinimisedReopensShownInItsNormalPlace)
{
    auto* first = new TypeParam(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Iconic", 0);
    first->MoveWindow(CRect(60, 70, 560, 470));
    first->ShowWindow(SW_SHOWNORMAL);
    first->ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(first->IsIconic());
    first->DestroyWindow();

    auto* second = new TypeParam(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Iconic", 0);
    ASSERT_NE(nullptr, second->GetWindowData());
    EXPECT_NE(0u, second->GetWindowData()->GetIconic()) << "the stored state was minimised";
    EXPECT_FALSE(second->IsIconic());
    EXPECT_FALSE(second->GetStyle() & WS_MINIMIZE);
    EXPECT_EQ(CRect(60, 70, 560, 470), WindowRect(second));
    second->DestroyWindow();
}

TYPED_TEST(PersistentFrame, APlaceTheUserCouldNotReachOpensOnTheScreen)
{
    const CRect work = placement_test::PrimaryWorkArea();
    struct Case { const char* why; RECT stored; CSize size; };
    const Case cases[] = {
        {"off every monitor", {-9000, -9000, -8600, -8700}, CSize(400, 300)},
        {"only a sliver showing at the bottom", {100, work.bottom - 3, 500, work.bottom + 297}, CSize(400, 300)},
        {"152 x 1: a title bar's remnant", {100, 100, 252, 101},
         CSize(std::max(152, GetSystemMetrics(SM_CXMINTRACK)), std::max(1, GetSystemMetrics(SM_CYMINTRACK)))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        placement_test::StorePlace(std::string(kTestCompanyKey) + "\\" + kTestApplication + "\\Window Hierarchy\\Lost",
                                   c.stored);
        auto* frame = new TypeParam(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Lost", 0);
        const CRect opened = WindowRect(frame);
        frame->DestroyWindow();
        EXPECT_EQ(c.size, opened.Size());
        placement_test::ExpectTitleBarInReach(opened, work);
    }
}

// Creates itself from a record it registers for itself, as the history window does.
template <class Frame>
class RecordFrame : public Frame {
public:
    RecordFrame()
        : Frame(nullptr,
                iWindowDataMap::Register(nullptr, this, CRect(100, 110, 400, 330), WS_OVERLAPPEDWINDOW, "Record"), 0)
    {
    }
};

TYPED_TEST(PersistentFrame, AnExplicitRecordGivesRectangleAndTitleAndIsSavedUnderItsKey)
{
    auto* first = new RecordFrame<TypeParam>;
    ASSERT_NE(nullptr, first->m_hWnd);
    EXPECT_EQ(CRect(100, 110, 400, 330), WindowRect(first));
    CString title;
    first->GetWindowText(title);
    EXPECT_STREQ("Record", title);
    first->MoveWindow(CRect(120, 130, 420, 350));
    first->DestroyWindow();

    auto* second = new RecordFrame<TypeParam>;
    EXPECT_EQ(CRect(120, 130, 420, 350), WindowRect(second));
    second->DestroyWindow();
}

TEST(PersistentToolkitFrame, ATopLevelOneSetsTheShowCommandItWasClosedWith)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestCompanyKey);
    ASSERT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", kTestCompany, kTestApplication));
    CWinApp app("ShowCommand");
    app.m_nCmdShow = SW_HIDE;
    auto* normal = new iPersistentVeltraFrameWnd(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Shown", 0);
    EXPECT_EQ(SW_SHOWNORMAL, app.m_nCmdShow);
    normal->ShowWindow(SW_SHOWMAXIMIZED);
    normal->DestroyWindow();
    auto* zoomed = new iPersistentVeltraFrameWnd(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Shown", 0);
    EXPECT_EQ(SW_SHOWMAXIMIZED, app.m_nCmdShow);
    // Closed minimised: shown normally, not minimised, which would look like no start at all.
    auto* iconic = new iPersistentVeltraFrameWnd(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Iconic", 0);
    iconic->ShowWindow(SW_SHOWMINIMIZED);
    iconic->DestroyWindow();
    auto* reopened = new iPersistentVeltraFrameWnd(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Iconic", 0);
    EXPECT_EQ(SW_SHOWNORMAL, app.m_nCmdShow);
    reopened->DestroyWindow();

    // A frame with a parent is no main frame: the show command stays.
    app.m_nCmdShow = SW_HIDE;
    auto* child = new iPersistentVeltraFrameWnd(zoomed, CRect(0, 0, 200, 100), WS_OVERLAPPEDWINDOW, "Owned", 0);
    EXPECT_EQ(SW_HIDE, app.m_nCmdShow);
    child->DestroyWindow();
    zoomed->DestroyWindow();
    EXPECT_TRUE(iRegistry::SetDefaults(HKEY_CURRENT_USER, "Software", "Orvel++ Software Development", "Default"));
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestCompanyKey);
}

} // namespace
} // namespace frame_view_base_test
