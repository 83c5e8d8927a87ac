// The toolkit's rebar in a frame, with toolbar bands: band and child visibility kept in
// step both ways, the measured size, the band layout saved and restored in the registry
// of the test prefix, height changes during and outside the frame's own layout, the child
// size handed to the band's child bar, status texts and tool tips through the band child.
#include "control_bar_test_support.h"
#include "toolbar_test_support.h"

#include "toolkit/foundation/QZMessages.h"
#include "toolkit/foundation/QZRegistryManager.h"

using namespace toolkit_test;

namespace {

constexpr char kReBarCompany[] = "SorvantaReBarTest";
constexpr char kReBarSection[] = "Bands";
constexpr char kReBarSectionPath[] = "Software\\SorvantaReBarTest\\ToolbarTest\\Bands";

// A frame that counts its layouts.
class LayoutCountingFrame : public CFrameWnd {
public:
    int layouts = 0;
    void RecalcLayout(BOOL bNotify) override
    {
        ++layouts;
        CFrameWnd::RecalcLayout(bNotify);
    }
};

// A band child that records what the rebar hands it.
class BandChildBar : public PlainToolkitBar {
public:
    int childSizes = 0;
    BOOL horizontal = FALSE;
    REBARBANDINFOA band = {};
    NMREBARCHILDSIZE* notification = nullptr;
    CPoint toolPoint{-1, -1};
    void OnBandChildSize(QZ_BANDCHILDSIZE* pChildSize, BOOL bHorz) override
    {
        ++childSizes;
        horizontal = bHorz;
        band = *pChildSize->pBandInfo;
        notification = pChildSize->pChildSize;
    }
    int OnToolHitTest(CPoint point, TOOLINFOA*) override
    {
        toolPoint = point;
        return 77;
    }
};

// Records the status texts and notifications that reach it.
class ReBarOwner : public CWnd {
public:
    std::vector<UINT> messages;
    std::vector<UINT> notifications;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETMESSAGESTRING || message == WM_POPMESSAGESTRING) {
            messages.push_back(message);
            return 5;
        }
        if (message == WM_NOTIFY)
            notifications.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ReBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.SetRegistryKey(kReBarCompany);
        frame = new LayoutCountingFrame;
        ASSERT_TRUE(frame->Create(nullptr, "rebar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 400)));
        ASSERT_TRUE(rebar.Create(frame));
    }
    void TearDown() override
    {
        for (CQZToolBar& bar : bars) {
            if (bar.m_hWnd)
                bar.DestroyWindow();
        }
        if (rebar.m_hWnd)
            rebar.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        PumpPending();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaReBarTest");
    }
    // Toolbars 101, 102, ... in bands of their own, in that order.
    void AddToolBars(int count)
    {
        for (int i = 0; i < count; ++i) {
            CQZToolBar& bar = bars[i];
            ASSERT_TRUE(bar.CreateEx(&rebar, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0),
                                     101 + i));
            ASSERT_TRUE(bar.LoadToolBar(IDR_TEST_TOOLBAR));
            ASSERT_TRUE(rebar.AddBar(&bar, nullptr, RBBS_GRIPPERALWAYS | RBBS_BREAK));
        }
    }
    REBARBANDINFOA Band(int index, UINT mask)
    {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = mask;
        rebar.SendMessage(RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band));
        return band;
    }
    std::vector<UINT> BandIds()
    {
        std::vector<UINT> ids;
        for (int i = 0; i < static_cast<int>(rebar.SendMessage(RB_GETBANDCOUNT)); ++i)
            ids.push_back(Band(i, RBBIM_ID).wID);
        return ids;
    }
    bool IsBandHidden(int index) { return (Band(index, RBBIM_STYLE).fStyle & RBBS_HIDDEN) != 0; }

    ToolbarApp app;
    LayoutCountingFrame* frame = nullptr;
    CQZReBar rebar;
    CQZToolBar bars[3];
};

} // namespace

TEST_F(ReBarTest, ABandTakesItsBarWhichKnowsItIsInARebar)
{
    AddToolBars(2);
    EXPECT_EQ((std::vector<UINT>{101, 102}), BandIds()) << "the bars' ids name the bands";
    EXPECT_TRUE(bars[0].m_bInReBar);
    const REBARBANDINFOA band = Band(0, RBBIM_CHILD | RBBIM_CHILDSIZE);
    EXPECT_EQ(bars[0].m_hWnd, band.hwndChild);
    EXPECT_EQ(&rebar, bars[0].GetParent());
    EXPECT_GT(band.cyMinChild, 0u) << "the toolbar's own band size";
    EXPECT_EQ(rebar.m_hWnd, ::GetParent(bars[1].m_hWnd));
    EXPECT_FALSE(rebar.AddBar(nullptr)) << "no window, no band";
}

TEST_F(ReBarTest, BandsFollowTheirChildrenAndChildrenTheirBands)
{
    AddToolBars(2);
    struct Case {
        const char* why;
        std::function<void()> change;
        bool firstBandHidden;
        bool firstBarVisible;
    };
    const Case cases[] = {
        {"hiding the toolbar hides its band at the next layout", [&] { bars[0].ShowWindow(SW_HIDE); }, true, false},
        {"showing it brings the band back", [&] { bars[0].ShowWindow(SW_SHOW); }, false, true},
        {"the band hidden through the control hides the toolbar",
         [&] { rebar.SendMessage(RB_SHOWBAND, 0, FALSE); }, true, false},
        {"and shown again shows it", [&] { rebar.SendMessage(RB_SHOWBAND, 0, TRUE); }, false, true},
        {"a hide the frame has only promised counts already", [&] { bars[0].DelayShow(FALSE); }, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        c.change();
        rebar.CalcFixedLayout(FALSE, TRUE);
        EXPECT_EQ(c.firstBandHidden, IsBandHidden(0));
        EXPECT_EQ(c.firstBarVisible, bars[0].IsVisible() != FALSE);
        EXPECT_FALSE(IsBandHidden(1)) << "the other band stays";
    }
}

TEST_F(ReBarTest, ABandOfAPlainWindowFollowsItsVisibleStyle)
{
    CWnd plain;
    ASSERT_TRUE(plain.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 20), &rebar, 300));
    ASSERT_TRUE(rebar.AddBar(&plain, "Plain"));
    plain.ShowWindow(SW_HIDE);
    rebar.CalcFixedLayout(FALSE, TRUE);
    EXPECT_TRUE(IsBandHidden(0));
    rebar.SendMessage(RB_SHOWBAND, 0, TRUE);
    EXPECT_TRUE(plain.IsWindowVisible());
    EXPECT_EQ(80u, Band(0, RBBIM_CHILDSIZE).cxMinChild) << "its current size is its smallest";
    plain.DestroyWindow();
}

TEST_F(ReBarTest, MeasuresItsVisibleBandsAndNothingWhenAllAreHidden)
{
    AddToolBars(2);
    CRect bounds(0, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        CRect rect;
        rebar.SendMessage(RB_GETRECT, i, reinterpret_cast<LPARAM>(&rect));
        bounds.UnionRect(&bounds, &rect);
    }
    ASSERT_FALSE(bounds.IsRectEmpty());
    // The bands and the bar's own border lines around them.
    CRect window, client;
    rebar.GetWindowRect(&window);
    rebar.GetClientRect(&client);
    const CSize expected = bounds.Size() + (window.Size() - client.Size());
    EXPECT_EQ(expected, rebar.CalcFixedLayout(FALSE, TRUE));
    EXPECT_EQ(CSize(32767, expected.cy), rebar.CalcDynamicLayout(-1, LM_STRETCH | LM_HORZ));

    bars[0].ShowWindow(SW_HIDE);
    bars[1].ShowWindow(SW_HIDE);
    EXPECT_EQ(CSize(0, 0), rebar.CalcFixedLayout(FALSE, TRUE));
    EXPECT_EQ(CSize(32767, 0), rebar.CalcFixedLayout(TRUE, TRUE));
    EXPECT_EQ(CSize(0, 32767), rebar.CalcFixedLayout(TRUE, FALSE));
}

TEST_F(ReBarTest, SavingWritesFourValuesPerBandAndTheCount)
{
    AddToolBars(3);
    rebar.SaveState(kReBarSection);
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kReBarSectionPath, 0, KEY_READ, &key));
    DWORD values = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(13u, values) << "twelve band values and the count";
    CQZRegistryManager store(HKEY_CURRENT_USER);
    EXPECT_EQ(3, store.GetProfileInt(kReBarSection, "Count", 0));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const REBARBANDINFOA band = Band(i, RBBIM_ID | RBBIM_SIZE | RBBIM_STYLE);
        const std::string n = std::to_string(i);
        EXPECT_EQ(static_cast<int>(band.wID), store.GetProfileInt(kReBarSection, (n + ".wID").c_str(), -1));
        EXPECT_EQ(static_cast<int>(band.cx), store.GetProfileInt(kReBarSection, (n + ".cx").c_str(), -1));
        EXPECT_EQ(static_cast<int>(band.fStyle), store.GetProfileInt(kReBarSection, (n + ".fStyle").c_str(), -1));
        EXPECT_EQ(i, store.GetProfileInt(kReBarSection, (n + ".iIndex").c_str(), -1));
    }
}

TEST_F(ReBarTest, RestoringMovesEachBandToItsSavedPlaceInTurn)
{
    AddToolBars(3);
    CQZRegistryManager store(HKEY_CURRENT_USER);
    const UINT saved[] = {102, 103, 101};
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i);
        store.WriteProfileInt(kReBarSection, (n + ".wID").c_str(), static_cast<int>(saved[i]));
        store.WriteProfileInt(kReBarSection, (n + ".cx").c_str(), 150);
        // The last band keeps its gripper only when the store says so.
        const DWORD style = RBBS_BREAK | (i == 2 ? RBBS_NOGRIPPER : RBBS_GRIPPERALWAYS);
        store.WriteProfileInt(kReBarSection, (n + ".fStyle").c_str(), static_cast<int>(style));
        store.WriteProfileInt(kReBarSection, (n + ".iIndex").c_str(), i);
    }
    store.WriteProfileInt(kReBarSection, "Count", 3);
    rebar.LoadState(kReBarSection);
    EXPECT_EQ((std::vector<UINT>{102, 103, 101}), BandIds());
    EXPECT_TRUE(Band(2, RBBIM_STYLE).fStyle & RBBS_NOGRIPPER) << "styles come back with the bands";
    EXPECT_FALSE(Band(0, RBBIM_STYLE).fStyle & RBBS_NOGRIPPER);
}

TEST_F(ReBarTest, ALayoutForAnotherNumberOfBandsChangesNothing)
{
    AddToolBars(3);
    rebar.SaveState(kReBarSection);
    rebar.SendMessage(RB_MOVEBAND, 0, 2);
    rebar.SendMessage(RB_DELETEBAND, 0);
    const std::vector<UINT> before = BandIds();
    ASSERT_EQ(2u, before.size());
    rebar.LoadState(kReBarSection);
    EXPECT_EQ(before, BandIds());

    CQZRegistryManager store(HKEY_CURRENT_USER);
    store.WriteProfileInt(kReBarSection, "Count", 2);
    store.WriteProfileInt(kReBarSection, "0.wID", 999);  // no band carries it
    store.WriteProfileInt(kReBarSection, "0.iIndex", 1);
    rebar.LoadState(kReBarSection);
    EXPECT_EQ(before.size(), BandIds().size()) << "an unknown band changes nothing and breaks nothing";
}

TEST_F(ReBarTest, AHeightChangeDuringTheFramesLayoutIsLaidOutLater)
{
    AddToolBars(1);
    PumpPending();
    NMHDR change = {rebar.m_hWnd, static_cast<UINT_PTR>(rebar.GetDlgCtrlID()), static_cast<UINT>(RBN_HEIGHTCHANGE)};
    frame->layouts = 0;
    frame->SendMessage(WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(1, frame->layouts) << "outside a layout: at once";

    frame->layouts = 0;
    frame->m_bInRecalcLayout = TRUE;
    frame->SendMessage(WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, rebar.m_hWnd, WM_RECALCPARENT, WM_RECALCPARENT, PM_NOREMOVE));
    frame->m_bInRecalcLayout = FALSE;
    EXPECT_EQ(0, frame->layouts);
    PumpPending();
    EXPECT_EQ(1, frame->layouts) << "the posted request lays the frame out";
}

TEST_F(ReBarTest, TheBandsChildHearsItsNewSizeWithTheRebarsOrientation)
{
    struct Case {
        const char* why;
        DWORD side;
        BOOL horizontal;
    };
    const Case cases[] = {{"along the top", CBRS_TOP, TRUE}, {"down the left", CBRS_LEFT, FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZReBar side;
        ASSERT_TRUE(side.Create(frame, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | c.side, 0xE8F0));
        BandChildBar child;
        child.fixedSize = CSize(150, 24);
        ASSERT_TRUE(child.CreateBar(&side, CBRS_TOP, 201));
        ASSERT_TRUE(side.AddBar(&child));
        REBARBANDINFOA ideal = {};
        ideal.cbSize = sizeof ideal;
        ideal.fMask = RBBIM_IDEALSIZE;
        ideal.cxIdeal = 345;
        side.SendMessage(RB_SETBANDINFOA, 0, reinterpret_cast<LPARAM>(&ideal));
        NMREBARCHILDSIZE size = {};
        size.hdr = {side.m_hWnd, 0xE8F0, static_cast<UINT>(RBN_CHILDSIZE)};
        size.uBand = 0;
        size.rcChild = CRect(2, 2, 150, 26);
        child.childSizes = 0;
        frame->SendMessage(WM_NOTIFY, 0xE8F0, reinterpret_cast<LPARAM>(&size));
        EXPECT_EQ(1, child.childSizes);
        EXPECT_EQ(c.horizontal, child.horizontal);
        EXPECT_EQ(&size, child.notification);
        EXPECT_EQ(child.m_hWnd, child.band.hwndChild);
        EXPECT_EQ(345u, child.band.cxIdeal) << "read with the whole band record";
        child.DestroyWindow();
        side.DestroyWindow();
    }
}

TEST_F(ReBarTest, StatusTextsAndNotificationsReachTheOwner)
{
    ReBarOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    CQZReBar owned;
    owned.SetOwner(&owner);
    ASSERT_TRUE(owned.Create(frame, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE8F1));
    EXPECT_EQ(5, owned.SendMessage(WM_SETMESSAGESTRING, 1234));
    EXPECT_EQ(5, owned.SendMessage(WM_POPMESSAGESTRING, 0));
    EXPECT_EQ((std::vector<UINT>{WM_SETMESSAGESTRING, WM_POPMESSAGESTRING}), owner.messages);

    CWnd plain;
    ASSERT_TRUE(plain.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 80, 30), &owned, 301));
    owner.notifications.clear();
    ASSERT_TRUE(owned.AddBar(&plain));
    EXPECT_FALSE(owner.notifications.empty()) << "the control tells the owner it was given";
    plain.DestroyWindow();
    owned.DestroyWindow();
    owner.DestroyWindow();
}

TEST_F(ReBarTest, TheBandChildUnderThePointAnswersTheToolHitTest)
{
    BandChildBar child;
    child.fixedSize = CSize(150, 24);
    ASSERT_TRUE(child.CreateBar(&rebar, CBRS_TOP, 202));
    ASSERT_TRUE(rebar.AddBar(&child));
    CRect placed;
    child.GetWindowRect(&placed);
    rebar.ScreenToClient(&placed);
    const CPoint inside(placed.left + 5, placed.top + 3);
    EXPECT_EQ(77, rebar.OnToolHitTest(inside, nullptr));
    EXPECT_EQ(CPoint(5, 3), child.toolPoint) << "in the child's own coordinates";
    child.DestroyWindow();
}

TEST_F(ReBarTest, ControlsInBandsAreUpdatedThroughTheFramesHandlers)
{
    CButton button;
    ASSERT_TRUE(button.Create("Print", WS_CHILD | WS_VISIBLE, CRect(0, 0, 60, 20), &rebar, ID_FILE_PRINT));
    ASSERT_TRUE(rebar.AddBar(&button));
    ASSERT_TRUE(button.IsWindowEnabled());
    rebar.OnUpdateCmdUI(frame, TRUE);
    EXPECT_FALSE(button.IsWindowEnabled()) << "the frame has no handler for it";
    button.DestroyWindow();
}
