// The library's view and persistent plain frame: a view deletes the controls created on
// it exactly once when it goes, and a persistent frame reopens where it was closed.
#include "lib/src/Win2/Wnd/iPersistentFrameWnd.h"
#include "lib/src/Win2/Wnd/iStatic.h"
#include "lib/src/Win2/Wnd/iView.h"

#include "lib/src/iRegistry.h"

#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <string>

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

TEST_F(PersistentFrame, ReopensAtTheRectangleItWasClosedWith)
{
    auto* first = new iPersistentFrameWnd(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Placed", 7);
    ASSERT_NE(nullptr, first->m_hWnd);
    EXPECT_EQ(CRect(10, 20, 410, 320), WindowRect(first));
    ASSERT_NE(nullptr, first->GetWindowData());
    first->MoveWindow(CRect(30, 40, 530, 390));
    first->DestroyWindow();
    EXPECT_EQ(nullptr, iWindowDataMap::GetMap());

    auto* second = new iPersistentFrameWnd(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Placed", 8);
    EXPECT_EQ(CRect(30, 40, 530, 390), WindowRect(second));
    second->DestroyWindow();
}

TEST_F(PersistentFrame, OneClosedMaximisedReopensMaximisedWithItsNormalRectangle)
{
    auto* first = new iPersistentFrameWnd(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Zoomed", 0);
    first->MoveWindow(CRect(50, 60, 450, 360));
    first->ShowWindow(SW_SHOWMAXIMIZED);
    ASSERT_TRUE(first->IsZoomed());
    first->DestroyWindow();

    auto* second = new iPersistentFrameWnd(nullptr, CRect(10, 20, 410, 320), WS_OVERLAPPEDWINDOW, "Zoomed", 0);
    EXPECT_TRUE(second->GetStyle() & WS_MAXIMIZE);
    second->ShowWindow(SW_RESTORE);
    EXPECT_EQ(CRect(50, 60, 450, 360), WindowRect(second));
    second->DestroyWindow();
}

// Creates itself from a record it registers for itself, as the history window does.
class RecordFrame : public iPersistentFrameWnd {
public:
    RecordFrame()
        : iPersistentFrameWnd(nullptr,
                              iWindowDataMap::Register(nullptr, this, CRect(100, 110, 400, 330), WS_OVERLAPPEDWINDOW,
                                                       "Record"),
                              0)
    {
    }
};

TEST_F(PersistentFrame, AnExplicitRecordGivesRectangleAndTitleAndIsSavedUnderItsKey)
{
    auto* first = new RecordFrame;
    ASSERT_NE(nullptr, first->m_hWnd);
    EXPECT_EQ(CRect(100, 110, 400, 330), WindowRect(first));
    CString title;
    first->GetWindowText(title);
    EXPECT_STREQ("Record", title);
    first->MoveWindow(CRect(120, 130, 420, 350));
    first->DestroyWindow();

    auto* second = new RecordFrame;
    EXPECT_EQ(CRect(120, 130, 420, 350), WindowRect(second));
    second->DestroyWindow();
}

} // namespace
} // namespace frame_view_base_test
