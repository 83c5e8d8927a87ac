// A frame's bar layout kept in the application's profile: the round trip through the
// registry and through a profile file, and stored layouts that were damaged.
#include "docking_test_support.h"

#include <functional>

using namespace docking_test;

namespace {

constexpr const char* kProfile = "Layout";
constexpr const char* kCompany = "SorvantaDockStateTest";

class RefusedFrame : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(RefusedFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(RefusedFrame, CMiniDockFrameWnd)

enum class Store { registry, profileFile };

// A with B in the top row, C hidden on the left, D floating at (400, 300).
class DockStateTest : public DockingFrameTest, public ::testing::WithParamInterface<Store> {
public:
    void SetUp() override
    {
        if (GetParam() == Store::registry) {
            app.SetRegistryKey(kCompany);
        } else {
            char directory[MAX_PATH];
            ::GetTempPathA(MAX_PATH, directory);
            iniPath = std::string(directory) + "sorvanta_dock_state_" + std::to_string(::GetCurrentProcessId()) + ".ini";
            CWinApp::ReplaceString(app.m_pszProfileName, iniPath.c_str());
        }
        DockingFrameTest::SetUp();
        AddBar(a, kIdA, "A", top);
        AddBar(b, kIdB, "B", top);
        AddBar(c, kIdC, "C", left);
        MakeBar(d, kIdD, "D");
        frame->DockControlBar(&b, top, ScreenRectIn(top, 150, 2, b.horz));
        frame->ShowControlBar(&c, FALSE, FALSE);
        frame->FloatControlBar(&d, CPoint(400, 300));
        // A floating bar's recent places are its own; a docked bar's dock place is its layout's.
        d.m_pDockContext->m_uMRUDockID = AFX_IDW_DOCKBAR_BOTTOM;
        d.m_pDockContext->m_rectMRUDockPos = CRect(5, 6, 105, 30);
        d.m_pDockContext->m_ptMRUFloatPos = CPoint(222, 111);
        d.m_pDockContext->m_dwMRUFloatStyle = CBRS_ALIGN_LEFT;
    }
    void TearDown() override
    {
        DockingFrameTest::TearDown();
        if (GetParam() == Store::registry)
            ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaDockStateTest");
        else
            ::DeleteFileA(iniPath.c_str());
    }

    // Every bar on the bottom, shown, without recent places.
    void Disturb()
    {
        for (FixedBar* bar : {&a, &b, &c, &d}) {
            frame->DockControlBar(bar, bottom);
            frame->ShowControlBar(bar, TRUE, FALSE);
        }
        d.m_pDockContext->m_uMRUDockID = 0;
        d.m_pDockContext->m_ptMRUFloatPos = CPoint(-1, -1);
        d.m_pDockContext->m_dwMRUFloatStyle = 0;
    }
    std::string Section(int index) const { return std::string(kProfile) + "-Bar" + std::to_string(index); }
    // The stored section of the record with that bar id (a floating dock bar's when asked).
    std::string SectionOf(UINT barId, bool floating = false)
    {
        const int count = static_cast<int>(app.GetProfileInt("Layout-Summary", "Bars", 0));
        for (int i = 0; i < count; ++i) {
            if (app.GetProfileInt(Section(i).c_str(), "BarID", 0) == barId &&
                (app.GetProfileInt(Section(i).c_str(), "Floating", 0) != 0) == floating)
                return Section(i);
        }
        ADD_FAILURE() << "no record of " << barId;
        return Section(999);
    }
    // What no stored layout may break: sound rows, every bar in a dock bar, floating frames
    // on the screen.
    void ExpectSaneLayout()
    {
        for (CDockBar* side : {top, bottom, left, right})
            ExpectSoundRows(*side);
        for (FixedBar* bar : {&a, &b, &c, &d}) {
            ASSERT_NE(nullptr, bar->m_pDockBar);
            ExpectSoundRows(*bar->m_pDockBar);
            if (bar->IsFloating()) {
                CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
                CRect overlap;
                EXPECT_TRUE(overlap.IntersectRect(&screen, ScreenRectOf(bar->m_pDockBar)));
            }
        }
    }

    CWinApp app{"DockStateTest"};
    std::string iniPath;
    FixedBar a;
    FixedBar b;
    FixedBar c;
    FixedBar d;
};

} // namespace

TEST_P(DockStateTest, LayoutComesBackAsSaved)
{
    const CPoint floatingAt = ScreenRectOf(d.m_pDockBar).TopLeft();
    frame->SaveBarState(kProfile);
    Disturb();
    frame->LoadBarState(kProfile);
    EXPECT_EQ("|A B|", Rows(*top));
    EXPECT_EQ("|C|", Rows(*left));
    EXPECT_EQ("|", Rows(*bottom));
    EXPECT_FALSE(c.IsWindowVisible());
    EXPECT_TRUE(a.IsWindowVisible());
    ASSERT_TRUE(d.IsFloating());
    EXPECT_EQ(floatingAt, ScreenRectOf(d.m_pDockBar).TopLeft());
    EXPECT_TRUE(::IsWindowVisible(::GetParent(d.m_pDockBar->m_hWnd)));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_BOTTOM), d.m_pDockContext->m_uMRUDockID);
    EXPECT_EQ(CRect(5, 6, 105, 30), d.m_pDockContext->m_rectMRUDockPos);
    EXPECT_EQ(CPoint(222, 111), d.m_pDockContext->m_ptMRUFloatPos);
    EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_LEFT), d.m_pDockContext->m_dwMRUFloatStyle);
    ExpectSaneLayout();
}

TEST_P(DockStateTest, DamagedLayoutsLeaveASaneOne)
{
    struct Case {
        const char* why;
        std::function<void(DockStateTest&)> damage;
        const char* bottomRows;  // after loading; "|A B C D|" style rows of the bottom dock bar
    };
    const Case cases[] = {
        {"a huge count in the summary: nothing is applied",
         [](DockStateTest& t) { t.app.WriteProfileInt("Layout-Summary", "Bars", 100000); }, "|A|B|C|D|"},
        {"no summary: nothing is applied",
         [](DockStateTest& t) { t.app.WriteProfileString("Layout-Summary", nullptr, nullptr); }, "|A|B|C|D|"},
        {"no screen size: nothing is applied",
         [](DockStateTest& t) { t.app.WriteProfileInt("Layout-Summary", "ScreenCX", 0); }, "|A|B|C|D|"},
        {"an unknown id in a dock bar's rows is dropped",
         [](DockStateTest& t) { t.app.WriteProfileInt(t.SectionOf(AFX_IDW_DOCKBAR_TOP).c_str(), "Bar#1", 0x7777); },
         "|A|"},
        {"a record of a bar the frame does not have is skipped",
         [](DockStateTest& t) { t.app.WriteProfileInt(t.SectionOf(AFX_IDW_DOCKBAR_LEFT).c_str(), "BarID", 0x7778); },
         "|C|"},
        // Far more than this frame's layout can hold, yet few enough that reading them all
        // takes a fraction of a second (a million took minutes): a missing bound fails at once.
        {"a dock bar claiming a thousand ids is skipped",
         [](DockStateTest& t) { t.app.WriteProfileInt(t.SectionOf(AFX_IDW_DOCKBAR_TOP).c_str(), "Bars", 1000); },
         "|A|B|"},
        {"a floating frame that cannot be made is skipped",
         [](DockStateTest& t) { t.frame->m_pFloatingFrameClass = RUNTIME_CLASS(RefusedFrame); }, "|D|"},
        {"a floating frame far off the screen comes back onto it",
         [](DockStateTest& t) {
             const std::string section = t.SectionOf(AFX_IDW_DOCKBAR_FLOAT, true);
             t.app.WriteProfileInt(section.c_str(), "XPos", 100000);
             t.app.WriteProfileInt(section.c_str(), "YPos", -5000);
         },
         "|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        frame->SaveBarState(kProfile);
        Disturb();
        c.damage(*this);
        frame->LoadBarState(kProfile);
        EXPECT_EQ(c.bottomRows, Rows(*bottom));
        ExpectSaneLayout();
    }
}

TEST_P(DockStateTest, ScreenOfAnotherSizeScalesFloatingPlaces)
{
    frame->SaveBarState(kProfile);
    const std::string section = SectionOf(AFX_IDW_DOCKBAR_FLOAT, true);
    // Saved on a screen twice as wide and as high: places come back at half.
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    app.WriteProfileInt("Layout-Summary", "ScreenCX", screenWidth * 2);
    app.WriteProfileInt("Layout-Summary", "ScreenCY", screenHeight * 2);
    app.WriteProfileInt(section.c_str(), "XPos", 600);
    app.WriteProfileInt(section.c_str(), "YPos", 400);
    Disturb();
    frame->LoadBarState(kProfile);
    ASSERT_TRUE(d.IsFloating());
    EXPECT_EQ(CPoint(300, 200), ScreenRectOf(d.m_pDockBar).TopLeft());
}

INSTANTIATE_TEST_SUITE_P(Stores, DockStateTest, ::testing::Values(Store::registry, Store::profileFile),
                         [](const ::testing::TestParamInfo<Store>& info) {
                             return info.param == Store::registry ? std::string("Registry")
                                                                  : std::string("ProfileFile");
                         });

TEST(DockStateRecords, SkipsAVisibleEmptySideDockBarAndNumbersOnlyWhatIsWritten)
{
    CWinApp app("DockStateRecords");
    app.SetRegistryKey(kCompany);
    CDockState state;
    auto* emptySide = new CControlBarInfo;
    emptySide->m_nBarID = AFX_IDW_DOCKBAR_TOP;
    emptySide->m_bDockBar = TRUE;
    emptySide->m_arrBarID.Add(nullptr);
    auto* bar = new CControlBarInfo;
    bar->m_nBarID = kIdA;
    bar->m_pointPos = CPoint(10, 0);
    state.m_arrBarInfo.Add(emptySide);
    state.m_arrBarInfo.Add(bar);
    state.SaveState(kProfile);
    EXPECT_EQ(1u, app.GetProfileInt("Layout-Summary", "Bars", 0));
    EXPECT_EQ(kIdA, app.GetProfileInt("Layout-Bar0", "BarID", 0));
    EXPECT_EQ(10u, app.GetProfileInt("Layout-Bar0", "XPos", 0));
    // What is not worth writing is not written.
    EXPECT_EQ(77u, app.GetProfileInt("Layout-Bar0", "Visible", 77));
    EXPECT_EQ(77u, app.GetProfileInt("Layout-Bar0", "Floating", 77));
    EXPECT_EQ(77u, app.GetProfileInt("Layout-Bar0", "MRUWidth", 77));
    CDockState loaded;
    ASSERT_TRUE(loaded.LoadState(kProfile));
    ASSERT_EQ(1, loaded.m_arrBarInfo.GetSize());
    EXPECT_EQ(kIdA, loaded.m_arrBarInfo[0]->m_nBarID);
    EXPECT_TRUE(loaded.m_arrBarInfo[0]->m_bVisible);
    EXPECT_EQ(CPoint(10, 0), loaded.m_arrBarInfo[0]->m_pointPos);
    EXPECT_FALSE(loaded.LoadState(kProfile, 0)) << "more records than the frame can have";
    EXPECT_EQ(0, loaded.m_arrBarInfo.GetSize());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaDockStateTest");
}

TEST(DockStateClass, IsRegisteredAndCreatableByName)
{
    CRuntimeClass* found = CRuntimeClass::FromName("CDockState");
    ASSERT_EQ(RUNTIME_CLASS(CDockState), found);
    EXPECT_EQ(0u, found->m_wSchema);
    CObject* made = found->CreateObject();
    EXPECT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(CDockState)));
    delete made;
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CFrameWnd")) << "not a serializable class";
}
