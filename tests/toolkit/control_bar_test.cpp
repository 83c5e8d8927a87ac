// A toolkit bar's behaviour: routing its children's messages to the owner, its own tip
// text, flyby text reaching the main window, idle update through any owner, the docked
// side, fonts, the private messages, dock hooks, and what creation and destruction do.
#include "control_bar_test_support.h"

#include "framework/DockContext.h"
#include "toolkit/bars/QZDockContextWndHook.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit_test_resources.h"

#include <utility>

using namespace toolkit_test;

namespace {

constexpr UINT kBarId = 0xE820;
constexpr UINT kHandledByBar = 7601;
constexpr UINT kForOwner = 7602;

// Records what the owner is sent and answers it.
class RecordingOwner : public CWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> seen;
    std::vector<UINT> updated;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND || message == WM_DRAWITEM || message == WM_MEASUREITEM) {
            seen.emplace_back(message, wParam);
            return 42;
        }
        if (message == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            seen.emplace_back(message, header->code);
            if (header->code == TTN_NEEDTEXTA && header->idFrom == IDS_TEST_PROMPT_ONLY)
                lstrcpyA(reinterpret_cast<NMTTDISPINFOA*>(lParam)->szText, "The owner's tip");
            return 43;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    afx_msg void OnUpdatePalette(CCmdUI* pCmdUI) { updated.push_back(pCmdUI->m_nID); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(RecordingOwner, CWnd)
    ON_UPDATE_COMMAND_UI(IDS_TEST_PALETTE, OnUpdatePalette)
END_MESSAGE_MAP()

// A bar that handles one command itself.
class CommandBar : public PlainToolkitBar {
public:
    int handled = 0;
    afx_msg void OnHandled() { ++handled; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CommandBar, PlainToolkitBar)
    ON_COMMAND(kHandledByBar, OnHandled)
END_MESSAGE_MAP()

class OwnedBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 100, nullptr,
                                   nullptr));
        ASSERT_TRUE(bar.CreateBar(&owner, CBRS_TOP | CBRS_TOOLTIPS, kBarId));
    }
    void TearDown() override { owner.DestroyWindow(); }

    std::string AskTip(UINT_PTR id)
    {
        NMTTDISPINFOA info = {};
        info.hdr.code = TTN_NEEDTEXTA;
        info.hdr.idFrom = id;
        info.lpszText = info.szText;
        bar.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return info.lpszText;
    }

    RecordingOwner owner;
    CommandBar bar;
};

} // namespace

TEST_F(OwnedBarTest, ChildMessagesTheBarLeavesGoToTheOwnerWithItsAnswer)
{
    bar.SendMessage(WM_COMMAND, kHandledByBar);
    EXPECT_EQ(1, bar.handled);
    EXPECT_TRUE(owner.seen.empty()) << "handled by the bar's own map";
    EXPECT_EQ(42, bar.SendMessage(WM_COMMAND, kForOwner));
    NMHDR header = {bar.m_hWnd, 5, NM_CLICK};
    EXPECT_EQ(43, bar.SendMessage(WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&header)));
    DRAWITEMSTRUCT draw = {};
    draw.CtlID = 9;
    draw.hwndItem = owner.m_hWnd;
    EXPECT_EQ(42, bar.SendMessage(WM_DRAWITEM, 9, reinterpret_cast<LPARAM>(&draw)));
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_COMMAND, kForOwner}, {WM_NOTIFY, static_cast<WPARAM>(static_cast<UINT>(NM_CLICK))}, {WM_DRAWITEM, 9}};
    EXPECT_EQ(expected, owner.seen);
}

TEST_F(OwnedBarTest, TipTextLeftEmptyByTheOwnerIsTheBarsOwn)
{
    EXPECT_EQ("The owner's tip", AskTip(IDS_TEST_PROMPT_ONLY));
    EXPECT_EQ("Palette", AskTip(IDS_TEST_PALETTE)) << "the tip part of the command's string";
    EXPECT_EQ(2u, owner.seen.size()) << "the owner is asked first each time";
}

TEST_F(OwnedBarTest, IdleUpdateTargetsTheOwnerEvenWhenItIsNoFrame)
{
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    ASSERT_EQ(1u, bar.updateTargets.size());
    EXPECT_EQ(&owner, bar.updateTargets[0]);
    // Through a real command update, the owner's handler runs.
    CCmdUI state;
    state.m_nID = IDS_TEST_PALETTE;
    state.DoUpdate(&owner, TRUE);
    EXPECT_EQ(std::vector<UINT>{IDS_TEST_PALETTE}, owner.updated);
}

TEST_F(OwnedBarTest, IdleUpdateAppliesADelayedHideAndSkipsAHiddenDockBar)
{
    bar.m_nStateFlags |= CControlBar::delayHide;
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(bar.GetStyle() & WS_VISIBLE);
    EXPECT_EQ(0u, bar.m_nStateFlags);
    EXPECT_TRUE(bar.updateTargets.empty()) << "a hidden bar is not updated";

    bar.m_nStateFlags |= CControlBar::delayShow;
    CDockBar dockBar;
    ASSERT_TRUE(dockBar.CreateEx(0, nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &owner, AFX_IDW_DOCKBAR_TOP));
    bar.m_pDockBar = &dockBar;
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_TRUE(bar.GetStyle() & WS_VISIBLE);
    EXPECT_TRUE(bar.updateTargets.empty()) << "its dock bar is hidden";
    dockBar.ShowWindow(SW_SHOWNA);
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(1u, bar.updateTargets.size());
    bar.m_pDockBar = nullptr;
}

TEST_F(OwnedBarTest, PrivateMessagesReachTheBarsOperations)
{
    bar.fixedSize = CSize(50, 20);
    REBARBANDINFOA band = {};
    band.fMask = RBBIM_STYLE;
    EXPECT_FALSE(bar.m_bInReBar);
    EXPECT_EQ(TRUE, bar.SendMessage(WM_QZ_GETBANDINFO, TRUE, reinterpret_cast<LPARAM>(&band)));
    EXPECT_TRUE(bar.m_bInReBar) << "asked once, in a rebar for good";
    EXPECT_EQ(static_cast<UINT>(RBBIM_STYLE | RBBIM_CHILDSIZE), band.fMask);
    EXPECT_EQ(50u, band.cxMinChild);
    EXPECT_EQ(20u, band.cyMinChild);
    QZ_BANDCHILDSIZE pair = {&band, nullptr};
    EXPECT_EQ(0, bar.SendMessage(WM_QZ_BANDCHILDSIZE, TRUE, reinterpret_cast<LPARAM>(&pair)));
    EXPECT_EQ(0, bar.SendMessage(WM_QZ_CANTOOLKITDRAG));
    SIZE floating = {120, 40};
    EXPECT_EQ(0, bar.SendMessage(WM_QZ_GETFLOATSIZE, 0, reinterpret_cast<LPARAM>(&floating)));
    EXPECT_EQ(120, floating.cx);
    EXPECT_EQ(0, bar.SendMessage(WM_QZ_DRAGDONE));
}

TEST(CQZControlBarSides, DockedSideIsTheIdOfTheParentDockBar)
{
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, "top", WS_POPUP, 0, 0, 300, 300, nullptr, nullptr));
    struct Case {
        const char* why;
        UINT parentId;
        bool left, right, upper, lower;
    };
    const Case cases[] = {
        {"top dock bar", AFX_IDW_DOCKBAR_TOP, false, false, true, false},
        {"bottom dock bar", AFX_IDW_DOCKBAR_BOTTOM, false, false, false, true},
        {"left dock bar", AFX_IDW_DOCKBAR_LEFT, true, false, false, false},
        {"right dock bar", AFX_IDW_DOCKBAR_RIGHT, false, true, false, false},
        {"the floating frame's dock bar is no side", AFX_IDW_DOCKBAR_FLOAT, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CWnd dock;
        ASSERT_TRUE(dock.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 300, 40), &top, c.parentId));
        PlainToolkitBar bar;
        ASSERT_TRUE(bar.CreateBar(&dock, CBRS_TOP, kBarId));
        EXPECT_EQ(c.left, bar.IsLeftDocked() != FALSE);
        EXPECT_EQ(c.right, bar.IsRightDocked() != FALSE);
        EXPECT_EQ(c.upper, bar.IsTopDocked() != FALSE);
        EXPECT_EQ(c.lower, bar.IsBottomDocked() != FALSE);
        EXPECT_EQ(c.upper || c.lower, bar.IsHorzDocked() != FALSE);
        EXPECT_EQ(c.left || c.right, bar.IsVertDocked() != FALSE);
        EXPECT_EQ(!(c.left || c.right || c.upper || c.lower), bar.IsUndocked() != FALSE);
        dock.DestroyWindow();
    }
    top.DestroyWindow();
}

TEST(CQZControlBarFonts, EightPointFontsFromTheToolkitsFonts)
{
    PlainToolkitBar bar;
    HDC screen = GetDC(nullptr);
    const LONG height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    struct Row {
        const char* font;
        const CFont* made;
        const CFont* source;
    };
    const Row rows[] = {
        {"bar font", &bar.m_fontBar, &qzAfxData.fontNormal},
        {"vertical font", &bar.m_fontVert, &qzAfxData.fontVert},
        {"bold font", &bar.m_fontBold, &qzAfxData.fontBold},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.font);
        LOGFONTA made = {};
        LOGFONTA source = {};
        ASSERT_TRUE(row.made->GetLogFont(&made));
        row.source->GetLogFont(&source);
        EXPECT_EQ(height, made.lfHeight);
        EXPECT_STREQ(source.lfFaceName, made.lfFaceName);
        EXPECT_EQ(source.lfWeight, made.lfWeight);
        EXPECT_EQ(source.lfEscapement, made.lfEscapement);
    }
}

namespace {

// Notes the font its window is given.
class FontNotingBar : public PlainToolkitBar {
public:
    WPARAM fontGiven = 0;
    afx_msg LRESULT OnSetFont(WPARAM wParam, LPARAM)
    {
        fontGiven = wParam;
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(FontNotingBar, PlainToolkitBar)
    ON_MESSAGE(WM_SETFONT, OnSetFont)
END_MESSAGE_MAP()

} // namespace

TEST(CQZControlBarLifetime, CreationSetsTheFontAndHomeFrameDestructionTheActiveView)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "frame"));
    FontNotingBar bar;
    ASSERT_TRUE(bar.CreateBar(frame, CBRS_TOP, kBarId));
    EXPECT_EQ(reinterpret_cast<WPARAM>(qzAfxData.fontNormal.m_hObject), bar.fontGiven);
    EXPECT_EQ(frame, bar.m_pHomeFrame);
    EXPECT_EQ(frame, bar.m_pDockSite);
    EXPECT_EQ(&bar, frame->GetControlBar(kBarId));

    // A view living in the bar, active in the frame: the frame lets go of it.
    class BarView : public CView {
    public:
        void OnDraw(CDC*) override {}
    };
    auto* view = new BarView;
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &bar, 1));
    frame->SetActiveView(view, FALSE);
    ASSERT_EQ(view, frame->GetActiveView());
    bar.DestroyWindow();
    EXPECT_EQ(nullptr, frame->GetActiveView());
    EXPECT_EQ(nullptr, frame->GetControlBar(kBarId));
    frame->DestroyWindow();
}

TEST(CQZControlBarStyle, StyleWordsDockingAndBackColour)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr));
    PlainToolkitBar bar;
    EXPECT_EQ(0x23u, bar.GetBarStyleEx());
    EXPECT_EQ(0x23u, bar.SetBarStyleEx(0x10));
    ASSERT_TRUE(bar.CreateBar(&parent, CBRS_TOP, kBarId));
    EXPECT_TRUE(bar.ModifyBarStyleEx(0x10, QZ_BARSTYLE_DOUBLE_GRIPPER, TRUE));
    EXPECT_EQ(static_cast<DWORD>(QZ_BARSTYLE_DOUBLE_GRIPPER), bar.GetBarStyleEx());

    EXPECT_EQ(nullptr, bar.m_hWndOwner);
    bar.EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP);
    EXPECT_EQ(static_cast<DWORD>(CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP), bar.m_dwDockStyle);
    EXPECT_EQ(parent.m_hWnd, bar.m_hWndOwner) << "a bar without an owner takes its parent";

    bar.SetBorders(CRect(1, 2, 3, 4));
    EXPECT_EQ(CRect(1, 2, 3, 4), bar.GetBorders());

    const int saved = qzAfxData.xpLook;
    qzAfxData.xpLook = 0;
    EXPECT_EQ(qzAfxData.colorFace, bar.GetBackColor());
    qzAfxData.xpLook = 1;
    EXPECT_EQ(qzAfxData.colorXPBarFace, bar.GetBackColor());
    qzAfxData.xpLook = saved;
    parent.DestroyWindow();
}

TEST(CQZControlBarCursor, SizeAllOverTheNonClientPartUnlessInARebar)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr));
    PlainToolkitBar bar;
    ASSERT_TRUE(bar.CreateBar(&parent, CBRS_TOP, kBarId, nullptr, WS_VISIBLE | WS_BORDER));
    CRect window;
    bar.GetWindowRect(&window);
    if (!SetCursorPos(window.left, window.top))
        GTEST_SKIP() << "the display cannot place the cursor";
    SetCursor(nullptr);
    EXPECT_TRUE(bar.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(HTBORDER, WM_MOUSEMOVE)));
    EXPECT_EQ(qzAfxData.cursorSizeAll, GetCursor());

    // Inside the client area only while the bar is being dragged.
    CRect client;
    bar.GetClientRect(&client);
    bar.ClientToScreen(&client);
    ASSERT_TRUE(SetCursorPos(client.CenterPoint().x, client.CenterPoint().y));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_NE(nullptr, bar.m_pDockContext);
    SetCursor(nullptr);
    bar.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(qzAfxData.cursorSizeAll, GetCursor()) << "over the client area at rest";
    bar.m_pDockContext->m_bDragging = TRUE;
    EXPECT_TRUE(bar.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(qzAfxData.cursorSizeAll, GetCursor()) << "over the client area while dragged";
    bar.m_pDockContext->m_bDragging = FALSE;

    bar.m_bInReBar = TRUE;
    ASSERT_TRUE(SetCursorPos(window.left, window.top));
    SetCursor(nullptr);
    bar.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(bar.m_hWnd), MAKELPARAM(HTBORDER, WM_MOUSEMOVE));
    EXPECT_NE(qzAfxData.cursorSizeAll, GetCursor());
    parent.DestroyWindow();
}

namespace {

// A frame that records the status texts it is asked to show.
class TextFrame : public CFrameWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> texts;
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM)
    {
        texts.emplace_back(WM_SETMESSAGESTRING, wParam);
        return 0;
    }
    afx_msg LRESULT OnPopText(WPARAM wParam, LPARAM)
    {
        texts.emplace_back(WM_POPMESSAGESTRING, wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TextFrame, CFrameWnd)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetText)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopText)
END_MESSAGE_MAP()

class FlybyApp : public CWinApp {
public:
    FlybyApp() : CWinApp("FlybyTest") {}
};

} // namespace

TEST(CQZControlBarStatus, FlybyTextGoesToTheMainWindowWhenTheOwnerHasNoStatusBar)
{
    FlybyApp app;
    auto* mainFrame = new TextFrame;
    ASSERT_TRUE(mainFrame->Create(nullptr, "main"));
    app.m_pMainWnd = mainFrame;
    auto* ownerFrame = new TextFrame;
    ASSERT_TRUE(ownerFrame->Create(nullptr, "owner"));
    PlainToolkitBar bar;
    ASSERT_TRUE(bar.CreateBar(ownerFrame, CBRS_TOP | CBRS_FLYBY, kBarId));

    EXPECT_TRUE(bar.SetStatusText(IDS_TEST_PALETTE));
    EXPECT_TRUE(bar.SetStatusText(-1));
    const std::vector<std::pair<UINT, WPARAM>> expected = {{WM_SETMESSAGESTRING, IDS_TEST_PALETTE},
                                                           {WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE}};
    EXPECT_EQ(expected, ownerFrame->texts) << "the framework's own text to the owner frame";
    EXPECT_EQ(expected, mainFrame->texts) << "and the same to the main window";

    // An owner with a status bar keeps the texts to itself.
    CStatusBar status;
    ASSERT_TRUE(status.Create(ownerFrame));
    mainFrame->texts.clear();
    EXPECT_TRUE(bar.SetStatusText(IDS_TEST_PALETTE));
    EXPECT_TRUE(mainFrame->texts.empty());

    // An owner that is no frame gets nothing, and neither does the main window.
    CWnd plainOwner;
    ASSERT_TRUE(plainOwner.CreateEx(0, nullptr, "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    bar.SetOwner(&plainOwner);
    EXPECT_FALSE(bar.SetStatusText(IDS_TEST_PALETTE));
    EXPECT_TRUE(mainFrame->texts.empty());
    plainOwner.DestroyWindow();
    ownerFrame->DestroyWindow();
    mainFrame->DestroyWindow();
    app.m_pMainWnd = nullptr;
}

TEST(CQZControlBarDockHooks, OffUntilEnabledThenTheFloatingHookFollowsTheBarsFrame)
{
    auto* home = new CFrameWnd;
    ASSERT_TRUE(home->Create(nullptr, "home"));
    auto* away = new CFrameWnd;
    ASSERT_TRUE(away->Create(nullptr, "away"));
    PlainToolkitBar bar;
    ASSERT_TRUE(bar.CreateBar(home, CBRS_TOP, kBarId));
    EXPECT_FALSE(bar.HasDockHooks());
    EXPECT_EQ(nullptr, bar.m_pFloatingHook);

    bar.EnableDockHooks(TRUE);
    EXPECT_TRUE(bar.HasDockHooks());
    ASSERT_NE(nullptr, bar.m_pHomeHook);
    ASSERT_NE(nullptr, bar.m_pFloatingHook);
    EXPECT_EQ(home->m_hWnd, bar.m_pHomeHook->m_hWnd);
    EXPECT_FALSE(bar.m_pFloatingHook->IsHooked());

    bar.SetParent(away);
    bar.SendMessage(WM_QZ_DRAGDONE);
    EXPECT_EQ(away->m_hWnd, bar.m_pFloatingHook->m_hWnd) << "the frame the bar is away in";
    bar.SetParent(home);
    bar.SendMessage(WM_QZ_DRAGDONE);
    EXPECT_FALSE(bar.m_pFloatingHook->IsHooked()) << "home again: nothing to watch";

    bar.SetParent(away);
    bar.SendMessage(WM_QZ_DRAGDONE);
    CQZDockContextWndHook* watching = bar.m_pFloatingHook;
    bar.SetParent(home);
    away->DestroyWindow();
    EXPECT_FALSE(watching->IsHooked()) << "lets go of a frame that is destroyed";

    bar.EnableDockHooks(FALSE);
    EXPECT_EQ(nullptr, bar.m_pHomeHook);
    EXPECT_EQ(nullptr, bar.m_pFloatingHook);
    home->DestroyWindow();
}
