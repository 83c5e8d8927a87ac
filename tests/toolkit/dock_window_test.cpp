// The docking window: sizes per side from its creation, its caption buttons with their
// glyphs, states and tips, expanding in its row and hiding, floating sizes, the stored
// "Bar Position" (including values of the wrong size), views made inside it, the active
// state, the floating frame's close box, the deferred set-up, the focus on a click and
// its caption in both looks.
#include "toolkit_docking_test_support.h"

#include "framework/View.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZRegistryManager.h"
#include "toolkit/res/ToolkitResources.h"

#include <string>

using namespace toolkit_test;
using docking_test::ScreenRectIn;

namespace {

constexpr UINT kPanelId = 0xE850;
constexpr UINT kOtherPanelId = 0xE851;
constexpr char kPanelCompany[] = "SorvantaDockWindowTest";

class DockWindowLook {
public:
    explicit DockWindowLook(int xpLook) : m_saved(qzAfxData.xpLook) { qzAfxData.xpLook = xpLook; }
    ~DockWindowLook() { qzAfxData.xpLook = m_saved; }
    DockWindowLook(const DockWindowLook&) = delete;
    DockWindowLook& operator=(const DockWindowLook&) = delete;

private:
    int m_saved;
};

// Counts the initial updates it receives.
class UpdateCounter : public CWnd {
public:
    int initialUpdates = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_INITIALUPDATE)
            ++initialUpdates;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

int g_deletedWindows = 0;

class RefusedView : public CView {
    DECLARE_DYNCREATE(RefusedView)
public:
    ~RefusedView() override { ++g_deletedWindows; }
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(RefusedView, CView)

class RefusedWindow : public CWnd {
    DECLARE_DYNCREATE(RefusedWindow)
public:
    ~RefusedWindow() override { ++g_deletedWindows; }
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(RefusedWindow, CWnd)

class PanelView : public CView {
    DECLARE_DYNCREATE(PanelView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(PanelView, CView)

class DockWindowTest : public ToolkitDockingTest {
public:
    void TearDown() override
    {
        ToolkitDockingTest::TearDown();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaDockWindowTest");
    }
    // A window made in the frame with docking on every side, docked where asked.
    void AddPanel(CQZDockWindow& panel, UINT id, LPCSTR title, CDockBar* dockBar, CSize size = CSize(200, 100),
                  DWORD styleEx = QZ_DWS_CAPTION | QZ_DWS_CAPTIONTEXT | QZ_DWS_BUTTONS)
    {
        const DWORD alignment = dockBar == left || dockBar == right ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
        ASSERT_TRUE(panel.Create(frame, id, title, size, alignment, styleEx));
        panel.EnableDocking(CBRS_ALIGN_ANY);
        if (dockBar)
            frame->DockControlBar(&panel, dockBar);
    }
    void Update(CQZDockWindow& panel) { panel.OnUpdateCmdUI(frame, FALSE); }
    std::string Tip(CQZDockWindow& panel, CWnd* button)
    {
        CString text;
        panel.m_wndToolTip.GetText(text, button);
        return static_cast<LPCSTR>(text);
    }
    void StoreRaw(LPCSTR section, const BYTE* bytes, UINT count)
    {
        CQZRegistryManager store(HKEY_CURRENT_USER);
        ASSERT_TRUE(store.WriteProfileBinary(section, "Bar Position", const_cast<BYTE*>(bytes), count));
    }

    CWinApp app{"Panels"};
};

} // namespace

TEST_F(DockWindowTest, CreationGivesTheOtherOrientationTheSizeTurned)
{
    struct Case {
        const char* why;
        DWORD barStyle;
        CSize horz;
        CSize vert;
    };
    const Case cases[] = {
        {"named for the top: the vertical size is turned", CBRS_ALIGN_TOP, {200, 100}, {100, 200}},
        {"named for the left: the horizontal size is turned", CBRS_ALIGN_LEFT, {100, 200}, {200, 100}},
        {"a right border names a side of its own", CBRS_BORDER_RIGHT, {100, 200}, {200, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZDockWindow panel;
        ASSERT_TRUE(panel.Create(frame, kPanelId, "Panel", CSize(200, 100), c.barStyle, QZ_DWS_CAPTION));
        EXPECT_EQ(c.horz, panel.m_sizeHorz);
        EXPECT_EQ(c.vert, panel.m_sizeVert);
        EXPECT_EQ(CSize(200, 100), panel.m_sizeCurrent);
        EXPECT_EQ(CSize(100, 100), panel.m_sizeFloat);
        const DWORD added = CBRS_BORDER_3D | CBRS_HIDE_INPLACE | CBRS_SIZE_DYNAMIC;
        EXPECT_EQ(added, panel.GetBarStyle() & added);
        EXPECT_EQ(0u, panel.GetBarStyle() & CBRS_FLOAT_MULTI) << "no stray bit from a numeric style";
        EXPECT_EQ(static_cast<DWORD>(QZ_DWS_CAPTION), panel.GetBarStyleEx());
        EXPECT_TRUE(panel.GetStyle() & WS_CLIPCHILDREN);
        panel.DestroyWindow();
    }
}

TEST_F(DockWindowTest, CaptionButtonsComeOnlyWithACaptionThatAsksForThem)
{
    struct Case {
        const char* why;
        DWORD styleEx;
        bool buttons;
        int minExtentTop;
        int minExtentLeft;
    };
    const Case cases[] = {
        {"caption with buttons", QZ_DWS_CAPTION | QZ_DWS_BUTTONS, true, 18, 24},
        {"caption alone", QZ_DWS_CAPTION, false, 18, 24},
        {"buttons without a caption", QZ_DWS_BUTTONS, false, 5, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZDockWindow onTop;
        CQZDockWindow onLeft;
        AddPanel(onTop, kPanelId, "Top", top, CSize(200, 100), c.styleEx);
        AddPanel(onLeft, kOtherPanelId, "Left", left, CSize(200, 100), c.styleEx);
        EXPECT_EQ(c.buttons, ::GetDlgItem(onTop.m_hWnd, ID_QZ_HIDE_DOCK_WINDOW) != nullptr);
        EXPECT_EQ(c.buttons, ::GetDlgItem(onTop.m_hWnd, ID_QZ_EXPAND_DOCK_WINDOW) != nullptr);
        EXPECT_EQ(c.minExtentTop, onTop.GetMinExtent());
        EXPECT_EQ(c.minExtentLeft, onLeft.GetMinExtent());
        if (c.buttons) {
            EXPECT_EQ(2, onTop.m_wndToolTip.GetToolCount());
            EXPECT_EQ("Hide docked window", Tip(onTop, onTop.m_pHideButton));
            EXPECT_EQ(onTop.m_hIcons[0], onTop.m_pHideButton->m_hIcon);
        }
        onTop.DestroyWindow();
        onLeft.DestroyWindow();
    }
}

TEST_F(DockWindowTest, ExpandButtonShowsWhatExpandingWouldDo)
{
    for (const bool onTop : {true, false}) {
        SCOPED_TRACE(onTop ? "docked on top" : "docked on the left");
        CQZDockBar* side = onTop ? top : left;
        CQZDockWindow first;
        CQZDockWindow second;
        AddPanel(first, kPanelId, "First", side);
        frame->RecalcLayout();
        Update(first);
        const int alone = onTop ? 1 : 3;
        EXPECT_EQ(alone, first.m_nButtonState);
        EXPECT_EQ(first.m_hIcons[alone], first.m_pExpandButton->m_hIcon);
        EXPECT_FALSE(first.m_pExpandButton->IsWindowEnabled()) << "alone in its row there is nothing to take";

        AddPanel(second, kOtherPanelId, "Second", nullptr);
        const CPoint beside = onTop ? CPoint(first.m_sizeHorz.cx + 20, 2) : CPoint(2, first.m_sizeVert.cy + 20);
        frame->DockControlBar(&second, side, ScreenRectIn(side, beside.x, beside.y, CSize(10, 10)));
        frame->RecalcLayout();
        Update(first);
        const int shared = onTop ? 2 : 4;
        EXPECT_EQ(shared, first.m_nButtonState);
        EXPECT_TRUE(first.m_pExpandButton->IsWindowEnabled());
        EXPECT_EQ("Expand docked window", Tip(first, first.m_pExpandButton));

        first.SendMessage(WM_COMMAND, MAKEWPARAM(ID_QZ_EXPAND_DOCK_WINDOW, BN_CLICKED),
                          reinterpret_cast<LPARAM>(first.m_pExpandButton->m_hWnd));
        EXPECT_TRUE(first.IsExpanded());
        EXPECT_FALSE(second.IsExpanded());
        const int secondLength = onTop ? second.GetCurrentWidth() : second.GetCurrentHeight();
        EXPECT_EQ(second.GetMinExtent(), secondLength) << "the other window of the row collapses";
        Update(first);
        EXPECT_EQ(onTop ? 6 : 8, first.m_nButtonState);
        EXPECT_EQ("Contract docked window", Tip(first, first.m_pExpandButton));

        first.SendMessage(WM_COMMAND, MAKEWPARAM(ID_QZ_EXPAND_DOCK_WINDOW, BN_CLICKED),
                          reinterpret_cast<LPARAM>(first.m_pExpandButton->m_hWnd));
        EXPECT_FALSE(first.IsExpanded());
        const int restored = onTop ? second.GetCurrentWidth() : second.GetCurrentHeight();
        EXPECT_EQ(onTop ? second.m_sizeHorz.cx : second.m_sizeVert.cy, restored);
        first.DestroyWindow();
        second.DestroyWindow();
    }
}

TEST_F(DockWindowTest, HideButtonHidesTheWindowAndFloatingHidesTheButtons)
{
    CQZDockWindow panel;
    AddPanel(panel, kPanelId, "Panel", top);
    frame->RecalcLayout();
    Update(panel);
    EXPECT_TRUE(panel.m_pHideButton->IsWindowVisible());
    frame->FloatControlBar(&panel, CPoint(300, 300));
    Update(panel);
    EXPECT_FALSE(panel.m_pHideButton->IsWindowVisible());
    EXPECT_FALSE(panel.m_pExpandButton->IsWindowVisible());
    frame->DockControlBar(&panel, top);
    Update(panel);
    EXPECT_TRUE(panel.m_pExpandButton->IsWindowVisible());
    panel.SendMessage(WM_COMMAND, MAKEWPARAM(ID_QZ_HIDE_DOCK_WINDOW, BN_CLICKED),
                      reinterpret_cast<LPARAM>(panel.m_pHideButton->m_hWnd));
    EXPECT_FALSE(panel.IsWindowVisible());
}

TEST_F(DockWindowTest, FloatingResizesKeepAMinimumAndCommitOnlyWhenAsked)
{
    CQZDockWindow panel;
    AddPanel(panel, kPanelId, "Panel", nullptr);
    struct Case {
        const char* why;
        int length;
        DWORD mode;
        CSize current;
        CSize floating;
    };
    const Case cases[] = {
        {"a width below the minimum", 30, LM_HORZ, {50, 100}, {100, 100}},
        {"a height", 160, LM_HORZ | LM_LENGTHY, {50, 160}, {100, 100}},
        {"a commit takes the current size as the floating size", 400, LM_HORZ | LM_COMMIT, {50, 160}, {50, 160}},
        {"other modes leave the current size", 400, LM_HORZ | LM_STRETCH, {50, 160}, {50, 160}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.current, panel.CalcDynamicLayout(c.length, c.mode));
        EXPECT_EQ(c.current, panel.m_sizeCurrent);
        EXPECT_EQ(c.floating, panel.m_sizeFloat);
    }
    EXPECT_EQ(panel.m_sizeHorz, panel.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
    EXPECT_EQ(panel.m_sizeVert, panel.CalcDynamicLayout(-1, LM_VERTDOCK));
}

TEST_F(DockWindowTest, BarPositionIsFortyFourBytesEndingWithTheStyleAndLoadsBack)
{
    app.SetRegistryKey(kPanelCompany);
    CQZDockWindow panel;
    AddPanel(panel, kPanelId, "Panel", top);
    panel.ShowWindow(SW_HIDE);
    panel.DelayShow(TRUE);
    panel.m_sizeHorz = CSize(310, 90);
    panel.m_sizeVert = CSize(120, 330);
    panel.m_sizeFloat = CSize(140, 150);
    panel.m_sizeCurrent = CSize(300, 90);
    panel.m_bAloneInRow = FALSE;
    panel.m_bExpanded = TRUE;
    panel.SaveBarSize("Panels-Bar3");

    CQZRegistryManager store(HKEY_CURRENT_USER);
    BYTE* bytes = nullptr;
    UINT count = 0;
    ASSERT_TRUE(store.GetProfileBinary("Panels-Bar3", "Bar Position", &bytes, &count));
    ASSERT_EQ(44u, count);
    const int32_t expected[] = {120, 330, 310, 90, 140, 150, 300, 90, 0, 1};
    for (int i = 0; i < 10; ++i) {
        int32_t field = 0;
        std::memcpy(&field, bytes + 4 * i, 4);
        EXPECT_EQ(expected[i], field) << "field " << i;
    }
    uint32_t style = 0;
    std::memcpy(&style, bytes + 40, 4);
    EXPECT_EQ(panel.GetBarStyleEx(), style);
    EXPECT_TRUE(style & QZ_DWS_NEWLYSHOWN) << "just shown";
    delete[] bytes;

    CQZDockWindow loaded;
    AddPanel(loaded, kOtherPanelId, "Loaded", nullptr, CSize(200, 100), QZ_DWS_CAPTION);
    loaded.LoadBarSize("Panels-Bar3");
    EXPECT_EQ(CSize(310, 90), loaded.m_sizeHorz);
    EXPECT_EQ(CSize(120, 330), loaded.m_sizeVert);
    EXPECT_EQ(CSize(140, 150), loaded.m_sizeFloat);
    EXPECT_EQ(CSize(300, 90), loaded.m_sizeCurrent);
    EXPECT_TRUE(loaded.m_bExpanded);
    EXPECT_EQ(static_cast<DWORD>(QZ_DWS_CAPTION), loaded.GetBarStyleEx()) << "the stored style is not applied";
}

TEST_F(DockWindowTest, StoredValuesOfAnotherSizeAreLeftAlone)
{
    app.SetRegistryKey(kPanelCompany);
    BYTE stored[100];
    for (int i = 0; i < 100; ++i)
        stored[i] = static_cast<BYTE>(i % 4 == 0 ? 77 : 0);
    struct Case {
        const char* why;
        UINT bytes;
        bool applied;
    };
    const Case cases[] = {
        {"empty", 0, false},
        {"one byte short of the sizes and flags", 39, false},
        {"the sizes and flags without the style", 40, true},
        {"the whole record", 44, true},
        {"longer than any record of ours", 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZDockWindow panel;
        AddPanel(panel, kPanelId, "Panel", nullptr);
        StoreRaw("Panels-Bar0", stored, c.bytes);
        panel.LoadBarSize("Panels-Bar0");
        EXPECT_EQ(c.applied ? CSize(77, 77) : CSize(100, 100), panel.m_sizeFloat);
        EXPECT_EQ(c.applied ? CSize(77, 77) : CSize(200, 100), panel.m_sizeCurrent);
        panel.DestroyWindow();
    }
}

TEST_F(DockWindowTest, ViewsAreMadeInsideForTheFrameAndNothingIsLeftWhenTheyFail)
{
    CQZDockWindow panel;
    AddPanel(panel, kPanelId, "Panel", top);
    CWnd* view = panel.CreateView(RUNTIME_CLASS(PanelView));
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(panel.m_hWnd, ::GetParent(view->m_hWnd));
    EXPECT_EQ(AFX_IDW_PANE_FIRST, ::GetDlgCtrlID(view->m_hWnd));
    EXPECT_EQ(frame->m_hWnd, view->m_hWndOwner);
    EXPECT_EQ(nullptr, panel.m_pChildWnd) << "making a view does not make it the child";

    for (CRuntimeClass* refused : {RUNTIME_CLASS(RefusedView), RUNTIME_CLASS(RefusedWindow)}) {
        SCOPED_TRACE(refused->m_lpszClassName);
        g_deletedWindows = 0;
        EXPECT_EQ(nullptr, panel.CreateView(refused));
        EXPECT_EQ(1, g_deletedWindows) << "the object whose window failed is deleted once";
    }
}

TEST_F(DockWindowTest, ChildTakesTheInsideLessItsMarginAndTheCaptionIsLaidOutPerSide)
{
    for (const bool onTop : {true, false}) {
        SCOPED_TRACE(onTop ? "docked on top" : "docked on the left");
        CQZDockWindow panel;
        AddPanel(panel, kPanelId, "Panel", onTop ? top : left);
        CWnd child;
        ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &panel, 1));
        panel.SetChild(&child);
        panel.SetWindowPos(nullptr, 0, 0, 300, 120, SWP_NOMOVE | SWP_NOZORDER);
        CRect inside;
        panel.GetInsideRect(inside);
        inside.DeflateRect(1, 1);
        CRect placed;
        child.GetWindowRect(&placed);
        panel.ScreenToClient(&placed);
        EXPECT_EQ(inside, placed);
        CRect gripper;
        panel.GetGripperRect(gripper);
        CRect buttons;
        panel.GetButtonRect(buttons);
        CRect hide;
        panel.m_pHideButton->GetWindowRect(&hide);
        panel.ScreenToClient(&hide);
        if (onTop) {
            EXPECT_EQ(CRect(5, 33, 8, 116), gripper);
            EXPECT_EQ(CRect(3, 3, 15, 15), buttons);
            EXPECT_EQ(buttons, hide) << "the hide button heads a caption down the left";
            EXPECT_EQ(CRect(3 + 18 - 3 + 1, 6 + 1, 300 - 3 - 1, 120 - 6 - 1), placed);
        } else {
            EXPECT_EQ(CRect(4, 8, 266, 11), gripper);
            EXPECT_EQ(CRect(271, 6, 283, 18), buttons);
            EXPECT_EQ(CRect(285, 6, 297, 18), hide) << "the hide button ends a caption along the top";
            EXPECT_EQ(CRect(3 + 1, 6 + 24 - 3 - 5 + 1, 300 - 3 - 1, 120 - 6 - 1), placed);
        }
        child.DestroyWindow();
        panel.DestroyWindow();
    }
}

TEST_F(DockWindowTest, ActiveStateFollowsTheFocusAndAClickFocusesTheLargestChild)
{
    CQZDockWindow panel;
    AddPanel(panel, kPanelId, "Panel", nullptr);
    panel.SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    CEdit small;
    CEdit large;
    ASSERT_TRUE(small.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 50, 20), &panel, 1));
    ASSERT_TRUE(large.Create(WS_CHILD | WS_VISIBLE, CRect(5, 30, 250, 150), &panel, 2));
    frame->SetFocus();
    Update(panel);
    EXPECT_FALSE(panel.IsActive());

    panel.SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(280, 190));
    EXPECT_EQ(large.m_hWnd, ::GetFocus());
    EXPECT_TRUE(panel.IsActive());
    small.SetFocus();
    Update(panel);
    EXPECT_TRUE(panel.IsActive()) << "focus on any child";
    frame->SetFocus();
    Update(panel);
    EXPECT_FALSE(panel.IsActive());
}

TEST_F(DockWindowTest, AFloatingWindowWithoutButtonsTakesTheCloseBoxOffEveryFrameItFloatsIn)
{
    CQZDockWindow panel;
    AddPanel(panel, kPanelId, "Panel", top, CSize(200, 100), QZ_DWS_CAPTION);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        frame->FloatControlBar(&panel, CPoint(300 + round * 40, 300));
        CWnd* floating = panel.m_pDockBar->GetParent();
        ASSERT_TRUE(floating->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd)));
        EXPECT_EQ(0u, floating->GetStyle() & WS_SYSMENU);
        EXPECT_TRUE(panel.m_bSysMenuRemoved);
        frame->DockControlBar(&panel, top);
        EXPECT_FALSE(panel.m_bSysMenuRemoved);
    }
}

TEST_F(DockWindowTest, DeferredSetUpUpdatesAFloatingWindowsViewsUnlessTheyWereUpdated)
{
    for (const bool updatedFirst : {false, true}) {
        SCOPED_TRACE(updatedFirst ? "an initial update came first" : "no initial update came");
        CQZDockWindow panel;
        AddPanel(panel, kPanelId, "Panel", nullptr);
        UpdateCounter child;
        ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &panel, 1));
        if (updatedFirst)
            panel.SendMessage(WM_INITIALUPDATE);
        PumpPending();
        EXPECT_EQ(updatedFirst ? 0 : 1, child.initialUpdates);
        child.DestroyWindow();
        panel.DestroyWindow();
    }
}

TEST_F(DockWindowTest, CaptionShowsTheActiveStateInBothLooks)
{
    // The toolkit's colours are read again once the system's are back.
    struct ColoursBack {
        ~ColoursBack() { qzAfxData.UpdateSysColors(); }
    } coloursBack;
    SysColorScope colours({{COLOR_ACTIVECAPTION, RGB(0, 0, 160)},
                           {COLOR_INACTIVECAPTION, RGB(120, 120, 120)},
                           {COLOR_BTNFACE, RGB(212, 208, 200)},
                           {COLOR_BTNSHADOW, RGB(128, 128, 128)},
                           {COLOR_BTNHIGHLIGHT, RGB(250, 250, 250)}});
    qzAfxData.UpdateSysColors();
    struct Case {
        const char* why;
        int xpLook;
        DWORD styleEx;
        bool active;
        COLORREF band;  // in the middle of the caption band, away from the text
    };
    const Case cases[] = {
        {"XP, active: the caption colour", 1, QZ_DWS_CAPTION, true, RGB(0, 0, 160)},
        {"XP, inactive: the face", 1, QZ_DWS_CAPTION, false, RGB(212, 208, 200)},
        {"classic title bar, active", 0, QZ_DWS_CAPTION | QZ_DWS_TITLEBAR, true, RGB(0, 0, 160)},
        {"classic title bar, inactive", 0, QZ_DWS_CAPTION | QZ_DWS_TITLEBAR, false, RGB(120, 120, 120)},
        {"classic grip bars: paper where nothing is filled", 0, QZ_DWS_CAPTION, true, test_support::kPaper},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        DockWindowLook look(c.xpLook);
        CQZDockWindow panel;
        AddPanel(panel, kPanelId, "", left, CSize(200, 100), c.styleEx);
        panel.SetWindowPos(nullptr, 0, 0, 150, 120, SWP_NOMOVE | SWP_NOZORDER);
        panel.m_bActive = c.active;
        PaperCanvas canvas(150, 120);
        panel.DrawCaption(&canvas.m_dc);
        CRect gripper;
        panel.GetGripperRect(gripper);
        EXPECT_EQ(c.band, canvas.At(gripper.CenterPoint().x, gripper.top + 3));
        if (c.styleEx == QZ_DWS_CAPTION && !c.xpLook) {
            // One grip bar, two pixels down: highlight at its top-left, shadow at its bottom-right.
            EXPECT_EQ(RGB(250, 250, 250), canvas.At(gripper.left, gripper.top + 2));
            EXPECT_EQ(RGB(128, 128, 128), canvas.At(gripper.right - 1, gripper.bottom + 1));
        }
        panel.DestroyWindow();
    }
}
