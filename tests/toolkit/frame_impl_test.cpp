// The toolkit frame and its toolkit part: dock bars made once, docking by alignment and
// beside another bar, stored layouts applied whole or not at all (docking windows' sizes
// included), records of bars that cannot be obtained, shortcut texts in popups, the
// customise command, the menu, the image menus, colour changes and view replacement.
#include "toolkit_docking_test_support.h"

#include "framework/View.h"
#include "toolkit/bars/QZFrameWnd.h"
#include "toolkit/docking/QZDockState.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZRegistryManager.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit_test_resources.h"

#include <string>
#include <vector>

using namespace toolkit_test;
using docking_test::kIdA;
using docking_test::kIdB;
using docking_test::Rows;

namespace {

constexpr char kFrameCompany[] = "SorvantaToolkitFrameTest";
constexpr char kFrameProfile[] = "Layout";
constexpr UINT kPanelA = 0xE860;
constexpr UINT kPanelB = 0xE861;

class FrameTestApp : public CWinApp {
public:
    FrameTestApp() : CWinApp("FrameTest") {}
};

class RefusedFloatingFrame : public CQZMiniDockFrameWnd {
    DECLARE_DYNCREATE(RefusedFloatingFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(RefusedFloatingFrame, CQZMiniDockFrameWnd)

// Counts the customise requests instead of opening the dialog.
class CustomizedToolBar : public CQZToolBar {
public:
    int customizeRequests = 0;
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == TB_CUSTOMIZE) {
            ++customizeRequests;
            return 0;
        }
        return CQZToolBar::WindowProc(message, wParam, lParam);
    }
};

// Records the rectangle each bar is docked at (an empty one for none).
class RecordingDockBar : public CQZDockBar {
public:
    std::vector<CRect> dockedAt;
    void DockControlBar(CControlBar* pBar, LPCRECT lpRect) override
    {
        dockedAt.push_back(lpRect ? CRect(lpRect) : CRect());
        CQZDockBar::DockControlBar(pBar, lpRect);
    }
};

class FrameView : public CView {
    DECLARE_DYNCREATE(FrameView)
public:
    void OnDraw(CDC*) override {}
    static inline int deleted = 0;
    ~FrameView() override { ++deleted; }
};
IMPLEMENT_DYNCREATE(FrameView, CView)

// A shown 600 x 400 toolkit frame with docking on every side, destroyed after the test.
class ToolkitFrameTest : public ::testing::Test {
public:
    void SetUp() override { frame = NewFrame(); }
    void TearDown() override
    {
        DestroyFrame(frame);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaToolkitFrameTest");
        PumpPending();
    }
    static CQZFrameWnd* NewFrame()
    {
        auto* made = new CQZFrameWnd;
        EXPECT_TRUE(made->Create(nullptr, "Toolkit frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
        made->EnableDocking(CBRS_ALIGN_ANY);
        return made;
    }
    static void DestroyFrame(CQZFrameWnd*& doomed)
    {
        if (doomed && ::IsWindow(doomed->m_hWnd))
            doomed->DestroyWindow();
        doomed = nullptr;
    }
    CQZDockBar* Side(UINT id) { return DYNAMIC_DOWNCAST(CQZDockBar, frame->GetControlBar(id)); }
    int DockBarCount()
    {
        int count = 0;
        for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
            auto* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
            count += bar->IsKindOf(RUNTIME_CLASS(CQZDockBar)) ? 1 : 0;
        }
        return count;
    }
    template <class Bar>
    void MakeBar(Bar& bar, UINT id, LPCSTR name, DWORD barStyle = CBRS_TOP)
    {
        ASSERT_TRUE(bar.CreateBar(frame, barStyle, id, name));
        bar.EnableDocking(CBRS_ALIGN_ANY);
    }
    void MakePanel(CQZDockWindow& panel, UINT id, LPCSTR title)
    {
        ASSERT_TRUE(panel.Create(frame, id, title, CSize(150, 80), CBRS_ALIGN_LEFT, QZ_DWS_CAPTION | QZ_DWS_BUTTONS));
        panel.EnableDocking(CBRS_ALIGN_ANY);
    }

    FrameTestApp app;
    CQZFrameWnd* frame = nullptr;
};

} // namespace

TEST_F(ToolkitFrameTest, EnablingDockingTwiceMakesFourToolkitDockBarsOnce)
{
    frame->EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_EQ(4, DockBarCount());
    for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
        EXPECT_NE(nullptr, Side(id)) << std::hex << id;
    EXPECT_EQ(RUNTIME_CLASS(CQZMiniDockFrameWnd), frame->m_pFloatingFrameClass);

    CQZFrameWnd* partial = new CQZFrameWnd;
    ASSERT_TRUE(partial->Create(nullptr, "Partial", WS_OVERLAPPEDWINDOW));
    partial->EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT);
    EXPECT_NE(nullptr, partial->GetControlBar(AFX_IDW_DOCKBAR_TOP));
    EXPECT_NE(nullptr, partial->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(nullptr, partial->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
    DestroyFrame(partial);
}

TEST_F(ToolkitFrameTest, ABarWithoutADockBarGoesToTheSideItsAlignmentNames)
{
    struct Case {
        const char* why;
        DWORD barStyle;
        UINT dockBarId;  // 0: not docked at all
    };
    const Case cases[] = {
        {"top", CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP},
        {"bottom, with a border bit", CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP, AFX_IDW_DOCKBAR_BOTTOM},
        {"left", CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_LEFT},
        {"right", CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
        {"two sides name no one side: the bar stays where it is", CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM, 0},
        {"no side at all", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ToolkitBar bar;
        MakeBar(bar, kIdA, "A", c.barStyle);
        frame->DockControlBar(&bar);
        if (c.dockBarId) {
            ASSERT_NE(nullptr, bar.m_pDockBar);
            EXPECT_EQ(static_cast<int>(c.dockBarId), bar.m_pDockBar->GetDlgCtrlID());
        } else {
            EXPECT_EQ(nullptr, bar.m_pDockBar);
            EXPECT_EQ(frame->m_hWnd, ::GetParent(bar.m_hWnd));
        }
        bar.DestroyWindow();
    }
}

TEST_F(ToolkitFrameTest, DockingLeftOfABarJoinsItsRowOnItsSideOnePixelPastItsPlace)
{
    // A frame whose bottom dock bar tells where each bar is docked.
    DestroyFrame(frame);
    frame = new CQZFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Toolkit frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500)));
    auto* bottom = new RecordingDockBar;
    bottom->m_bAutoDelete = TRUE;
    ASSERT_TRUE(bottom->Create(frame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_ALIGN_BOTTOM |
                                          CBRS_BORDER_TOP,
                               AFX_IDW_DOCKBAR_BOTTOM));
    frame->EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_EQ(bottom, Side(AFX_IDW_DOCKBAR_BOTTOM)) << "kept by the frame's docking";

    ToolkitBar first;
    ToolkitBar second;
    MakeBar(first, kIdA, "A", CBRS_ALIGN_BOTTOM);
    MakeBar(second, kIdB, "B", CBRS_ALIGN_TOP);
    frame->DockControlBar(&first);
    frame->RecalcLayout();
    CRect firstPlace;
    first.GetWindowRect(&firstPlace);
    frame->DockControlBarLeftOf(&second, &first);
    ASSERT_EQ(first.m_pDockBar, second.m_pDockBar);
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, second.m_pDockBar->GetDlgCtrlID());
    EXPECT_EQ("|A B|", Rows(*second.m_pDockBar));
    ASSERT_FALSE(bottom->dockedAt.empty());
    firstPlace.OffsetRect(1, 0);
    EXPECT_EQ(firstPlace, bottom->dockedAt.back()) << "the other bar's screen rectangle, one pixel to the right";
}

TEST_F(ToolkitFrameTest, StoredLayoutComesBackIntoANewFrameWithTheDockingWindowsSizes)
{
    app.SetRegistryKey(kFrameCompany);
    ASSERT_TRUE(frame->GetMenuBar()->CreateEx(frame, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
    ASSERT_TRUE(frame->GetMenuBar()->LoadMenuBar(IDR_TEST_MAIN_MENU));
    frame->GetMenuBar()->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(frame->GetMenuBar());
    ToolkitBar tools;
    MakeBar(tools, kIdA, "Tools");
    frame->DockControlBar(&tools, AFX_IDW_DOCKBAR_BOTTOM);
    CQZDockWindow docked;
    CQZDockWindow floating;
    MakePanel(docked, kPanelA, "Docked");
    MakePanel(floating, kPanelB, "Floating");
    frame->DockControlBar(&docked, AFX_IDW_DOCKBAR_LEFT);
    frame->FloatControlBar(&floating, CPoint(400, 300));
    docked.m_sizeVert = CSize(170, 90);
    floating.m_sizeFloat = floating.m_sizeCurrent = CSize(210, 160);
    const CPoint floatingAt = docking_test::ScreenRectOf(floating.m_pDockBar->GetParent()).TopLeft();
    frame->SaveBarState(kFrameProfile);
    DestroyFrame(frame);

    frame = NewFrame();
    ASSERT_TRUE(frame->GetMenuBar()->CreateEx(frame, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
    ASSERT_TRUE(frame->GetMenuBar()->LoadMenuBar(IDR_TEST_MAIN_MENU));
    frame->GetMenuBar()->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(frame->GetMenuBar());
    ToolkitBar tools2;
    MakeBar(tools2, kIdA, "Tools");
    frame->DockControlBar(&tools2);
    CQZDockWindow docked2;
    CQZDockWindow floating2;
    MakePanel(docked2, kPanelA, "Docked");
    MakePanel(floating2, kPanelB, "Floating");
    frame->DockControlBar(&docked2, AFX_IDW_DOCKBAR_TOP);
    frame->DockControlBar(&floating2, AFX_IDW_DOCKBAR_TOP);
    frame->LoadBarState(kFrameProfile);

    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, frame->GetMenuBar()->m_pDockBar->GetDlgCtrlID());
    EXPECT_EQ("|Tools|", Rows(*Side(AFX_IDW_DOCKBAR_BOTTOM)));
    EXPECT_EQ("|Docked|", Rows(*Side(AFX_IDW_DOCKBAR_LEFT)));
    ASSERT_TRUE(floating2.IsFloating());
    EXPECT_EQ(floatingAt, docking_test::ScreenRectOf(floating2.m_pDockBar->GetParent()).TopLeft());
    EXPECT_EQ(170, docked2.m_sizeVert.cx) << "the row's layout may change its length, not its thickness";
    EXPECT_EQ(CSize(210, 160), floating2.m_sizeFloat);
}

TEST_F(ToolkitFrameTest, ALayoutNamingABarTheFrameLacksIsNotApplied)
{
    app.SetRegistryKey(kFrameCompany);
    ToolkitBar a;
    ToolkitBar b;
    MakeBar(a, kIdA, "A");
    MakeBar(b, kIdB, "B");
    frame->DockControlBar(&a, AFX_IDW_DOCKBAR_LEFT);
    frame->DockControlBar(&b, AFX_IDW_DOCKBAR_LEFT);
    frame->SaveBarState(kFrameProfile);
    frame->DockControlBar(&a, AFX_IDW_DOCKBAR_TOP);
    frame->DockControlBar(&b, AFX_IDW_DOCKBAR_TOP);
    b.DestroyWindow();
    frame->LoadBarState(kFrameProfile);
    EXPECT_EQ("|A|", Rows(*Side(AFX_IDW_DOCKBAR_TOP)));
    EXPECT_EQ(Side(AFX_IDW_DOCKBAR_TOP), a.m_pDockBar);
}

TEST_F(ToolkitFrameTest, RecordsWhoseBarOrFloatingFrameCannotBeObtainedAreSkipped)
{
    ToolkitBar a;
    ToolkitBar b;
    MakeBar(a, kIdA, "A");
    MakeBar(b, kIdB, "B");
    frame->DockControlBar(&a, AFX_IDW_DOCKBAR_TOP);
    frame->DockControlBar(&b, AFX_IDW_DOCKBAR_TOP);
    CQZDockState state;
    frame->GetDockState(state);
    // A record of a bar the frame does not have, and a floating dock bar holding A.
    auto* missing = new CControlBarInfo;
    missing->m_nBarID = 0x7777;
    state.m_arrBarInfo.Add(missing);
    auto* floatingSide = new CControlBarInfo;
    floatingSide->m_nBarID = AFX_IDW_DOCKBAR_FLOAT;
    floatingSide->m_bFloating = TRUE;
    floatingSide->m_bDockBar = TRUE;
    floatingSide->m_pointPos = CPoint(300, 300);
    for (UINT id : {0u, kIdA, 0u})
        floatingSide->m_arrBarID.Add(reinterpret_cast<void*>(static_cast<uintptr_t>(id)));
    state.m_arrBarInfo.Add(floatingSide);
    frame->m_pFloatingFrameClass = RUNTIME_CLASS(RefusedFloatingFrame);
    frame->SetDockState(state);
    EXPECT_FALSE(a.IsFloating()) << "the floating frame could not be made";
    EXPECT_EQ("|A|B|", Rows(*Side(AFX_IDW_DOCKBAR_TOP)));
    EXPECT_TRUE(frame->m_nIdleFlags & CFrameWnd::idleLayout) << "a layout is asked for at idle time";
}

TEST_F(ToolkitFrameTest, EachDockingWindowsSizesGoToTheSectionOfItsIdsLowWord)
{
    app.SetRegistryKey(kFrameCompany);
    // A bar's record keeps the low word of its id: a window with a wider id is found by it.
    CQZDockWindow wide;
    CQZDockWindow plain;
    MakePanel(wide, 0x1E862, "Wide");
    MakePanel(plain, kPanelA, "Plain");
    ASSERT_EQ(0x1E862, wide.GetDlgCtrlID());
    frame->DockControlBar(&wide, AFX_IDW_DOCKBAR_LEFT);
    frame->DockControlBar(&plain, AFX_IDW_DOCKBAR_RIGHT);
    wide.m_sizeVert = CSize(131, 66);
    plain.m_sizeVert = CSize(123, 77);
    frame->SaveBarState(kFrameProfile);

    // The docked size stored in the section whose bar id is the given one.
    CQZRegistryManager store(HKEY_CURRENT_USER);
    auto storedVertSize = [&](int barId) {
        CSize size(-1, -1);
        for (int i = 0; i < 20; ++i) {
            const std::string section = std::string(kFrameProfile) + "-Bar" + std::to_string(i);
            if (store.GetProfileInt(section.c_str(), "BarID", -1) != barId)
                continue;
            BYTE* bytes = nullptr;
            UINT count = 0;
            QZ_BARPOSITION position = {};
            if (store.GetProfileBinary(section.c_str(), "Bar Position", &bytes, &count) &&
                QZDecodeBarPosition(bytes, count, &position))
                size = CSize(position.sizeVert[0], position.sizeVert[1]);
            delete[] bytes;
        }
        return size;
    };
    EXPECT_EQ(CSize(131, 66), storedVertSize(0xE862));
    EXPECT_EQ(CSize(123, 77), storedVertSize(static_cast<int>(kPanelA)));
}

TEST_F(ToolkitFrameTest, TheCustomiseCommandOpensOnlyARememberedToolbarAndOnlyOnce)
{
    CustomizedToolBar toolbar;
    ASSERT_TRUE(toolbar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 0xE870));
    auto customize = [&] { frame->SendMessage(WM_COMMAND, ID_QZ_CUSTOMIZE_TOOLBAR); };
    customize();
    EXPECT_EQ(0, toolbar.customizeRequests) << "nothing remembered";
    EXPECT_EQ(0, frame->SendMessage(WM_QZ_SETCUSTOMIZEBAR, reinterpret_cast<WPARAM>(&toolbar)));
    customize();
    EXPECT_EQ(1, toolbar.customizeRequests);
    customize();
    EXPECT_EQ(1, toolbar.customizeRequests) << "forgotten once used";

    frame->SendMessage(WM_QZ_SETCUSTOMIZEBAR, reinterpret_cast<WPARAM>(&toolbar));
    ASSERT_TRUE(frame->GetMenuBar()->CreateEx(frame, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
    EXPECT_EQ(0, frame->SendMessage(WM_QZ_SETCUSTOMIZEBAR, reinterpret_cast<WPARAM>(frame->GetMenuBar())));
    customize();
    EXPECT_EQ(1, toolbar.customizeRequests) << "the menu bar made it forget the toolbar";
    EXPECT_EQ(-1, frame->SendMessage(WM_QZ_SETCUSTOMIZEBAR, 0));

    frame->SendMessage(WM_QZ_SETCUSTOMIZEBAR, reinterpret_cast<WPARAM>(&toolbar));
    toolbar.DestroyWindow();
    customize();
    EXPECT_EQ(1, toolbar.customizeRequests) << "a toolbar gone since is not reached";
}

TEST_F(ToolkitFrameTest, TheMenuIsTheWindowsOrElseTheMenuBars)
{
    ASSERT_TRUE(frame->GetMenuBar()->CreateEx(frame, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
    ASSERT_TRUE(frame->GetMenuBar()->LoadMenuBar(IDR_TEST_MAIN_MENU));
    ASSERT_EQ(nullptr, ::GetMenu(frame->m_hWnd));
    ASSERT_NE(nullptr, frame->GetMenu());
    EXPECT_EQ(frame->GetMenuBar()->GetMenuHandle(), frame->GetMenu()->m_hMenu);
    HMENU own = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_MDI_MENU));
    ::SetMenu(frame->m_hWnd, own);
    EXPECT_EQ(own, frame->GetMenu()->m_hMenu);
}

TEST_F(ToolkitFrameTest, HiddenCommandsReachTheImageMenusOnceInstalled)
{
    ASSERT_TRUE(frame->GetMenuBar()->CreateEx(frame, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
    const int savedFlag = qzAfxData.coolMenusInstalled;
    qzAfxData.coolMenusInstalled = FALSE;
    frame->HideCommand(ID_TEST_FIRST);
    EXPECT_FALSE(frame->GetCoolMenu()->IsCommandHidden(ID_TEST_FIRST));
    EXPECT_TRUE(frame->InstallCoolMenus(IDR_TEST_TOOLBAR));
    EXPECT_TRUE(qzAfxData.coolMenusInstalled);
    EXPECT_TRUE(frame->GetCoolMenu()->IsHooked());
    frame->HideCommand(ID_TEST_SECOND);
    EXPECT_TRUE(frame->GetCoolMenu()->IsCommandHidden(ID_TEST_SECOND));
    qzAfxData.coolMenusInstalled = savedFlag;
}

TEST_F(ToolkitFrameTest, ASystemColourChangeReachesTheToolkitColoursWithoutAnyBar)
{
    const COLORREF before = ::GetSysColor(COLOR_BTNFACE);
    const COLORREF changed = before == RGB(201, 202, 203) ? RGB(204, 205, 206) : RGB(201, 202, 203);
    {
        SysColorScope colours({{COLOR_BTNFACE, changed}});
        frame->SendMessage(WM_SYSCOLORCHANGE);
        EXPECT_EQ(changed, qzAfxData.colorFace);
    }
    frame->SendMessage(WM_SETTINGCHANGE);
    EXPECT_EQ(before, qzAfxData.colorFace);
}

TEST_F(ToolkitFrameTest, ReplacingTheViewMakesTheNewOneActiveAndDeletesTheOld)
{
    FrameView::deleted = 0;
    EXPECT_FALSE(frame->ReplaceView(RUNTIME_CLASS(CWnd))) << "only a view can be the frame's view";
    ASSERT_TRUE(frame->ReplaceView(RUNTIME_CLASS(FrameView)));
    CView* first = frame->GetActiveView();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(nullptr, first->GetDocument()) << "no document and no view before: none";
    ASSERT_TRUE(frame->ReplaceView(RUNTIME_CLASS(FrameView)));
    EXPECT_NE(first, frame->GetActiveView());
    EXPECT_EQ(1, FrameView::deleted);
    EXPECT_EQ(AFX_IDW_PANE_FIRST, frame->GetActiveView()->GetDlgCtrlID());
}

TEST_F(ToolkitFrameTest, FramesAreMadeFromTheirClassAndWithAnIconClass)
{
    CObject* made = RUNTIME_CLASS(CQZFrameWnd)->CreateObject();
    ASSERT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    delete made;

    CREATESTRUCT cs = {};
    CQZFrameWnd* iconFrame = new CQZFrameWnd;
    ASSERT_TRUE(iconFrame->PreCreateWindowWithIcon(cs, IDI_TEST_ICON));
    ASSERT_NE(nullptr, cs.lpszClass);
    WNDCLASSA wc = {};
    ASSERT_TRUE(::GetClassInfoA(AfxGetInstanceHandle(), cs.lpszClass, &wc));
    EXPECT_NE(nullptr, wc.hIcon);
    delete iconFrame;
}

namespace {

std::string ItemText(HMENU menu, int position)
{
    const int length = ::GetMenuStringA(menu, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::GetMenuStringA(menu, static_cast<UINT>(position), text.data(), length + 1, MF_BYPOSITION);
    text.resize(static_cast<size_t>(length));
    return text;
}

} // namespace

TEST_F(ToolkitFrameTest, PopupsShowEachCommandsFirstShortcutOnceTheCommandsAreKnown)
{
    const std::string longLabel(300, 'L');
    HMENU recent = ::CreatePopupMenu();
    ::AppendMenuA(recent, MF_STRING, ID_TEST_RECENT_FIRST, "&1 First.jpg");
    HMENU popup = ::CreatePopupMenu();
    struct Row {
        const char* why;
        UINT flags;
        UINT_PTR id;
        const char* text;
        const char* shown;  // null: the long label
    };
    const Row rows[] = {
        {"two shortcuts: the first only", MF_STRING, 0xE101, "&Open...\tCtrl+O", "&Open...\tCtrl+O"},
        {"one shortcut", MF_STRING, 0xE103, "&Save", "&Save\tCtrl+S"},
        {"a tab part and no shortcut: the tab part goes", MF_STRING, 0xE12B, "&Undo\tCtrl+Z", "&Undo"},
        {"a separator", MF_SEPARATOR, 0, nullptr, ""},
        {"the same command again, by its own position", MF_STRING, 0xE101, "Open &again", "Open &again\tCtrl+O"},
        {"a sub-menu keeps its text and its sub-menu", MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent\tx",
         "&Recent\tx"},
        {"a label longer than 255 characters, a character key", MF_STRING, ID_TEST_LONG_TEXT, "", nullptr},
    };
    for (const Row& row : rows) {
        const std::string text = row.shown ? (row.text ? row.text : "") : longLabel;
        ::AppendMenuA(popup, row.flags, row.id, row.flags == MF_SEPARATOR ? nullptr : text.c_str());
    }
    const int ownerDrawn = ::GetMenuItemCount(popup);
    ::AppendMenuA(popup, MF_OWNERDRAW, 0xE103, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(77)));

    frame->m_bAutoMenuEnable = FALSE;
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    EXPECT_EQ("&Save", ItemText(popup, 1)) << "no shortcut text before the manager knows the commands";

    frame->GetAccelManager()->BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "Shortcuts", "Test");
    ASSERT_TRUE(frame->GetAccelManager()->IsInitialized());
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        SCOPED_TRACE(rows[i].why);
        EXPECT_EQ(rows[i].shown ? std::string(rows[i].shown) : longLabel + "\tA", ItemText(popup, i));
    }
    EXPECT_EQ(recent, ::GetSubMenu(popup, 5));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(::GetMenuItemInfoA(popup, static_cast<UINT>(ownerDrawn), TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
    EXPECT_EQ(77u, info.dwItemData) << "an owner-drawn item is left alone";
    ::DestroyMenu(popup);
}

TEST_F(ToolkitFrameTest, TheMenuBarSeesKeysBeforeTheFrameOnceItHasAWindow)
{
    MSG altDown = {frame->m_hWnd, WM_SYSKEYDOWN, VK_MENU, (1 << 29) | 1, 0, {}};
    MSG altUp = {frame->m_hWnd, WM_SYSKEYUP, VK_MENU, 1, 0, {}};
    EXPECT_FALSE(frame->PreTranslateMessage(&altDown)) << "no menu bar window: the frame's own handling";
    ASSERT_TRUE(frame->GetMenuBar()->CreateEx(frame, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
    ASSERT_TRUE(frame->GetMenuBar()->LoadMenuBar(IDR_TEST_MAIN_MENU));
    EXPECT_TRUE(frame->PreTranslateMessage(&altDown));
    EXPECT_TRUE(frame->PreTranslateMessage(&altUp));
    EXPECT_NE(-1, frame->GetMenuBar()->m_nHotItem) << "Alt alone lights an entry";
    EXPECT_TRUE(frame->PreTranslateMessage(&altDown));
    EXPECT_TRUE(frame->PreTranslateMessage(&altUp));
    EXPECT_EQ(-1, frame->GetMenuBar()->m_nHotItem);
    BYTE keys[256] = {};
    ::SetKeyboardState(keys);
    CQZMenuBar::m_bKeyboardCues = false;
}
