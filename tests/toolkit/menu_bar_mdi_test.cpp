// The menu bar in an MDI frame: a maximized child's icon and window buttons, which work
// from the mouse; the window list in the "window" popup; and the menus the MDI client is
// told to show, which the bar shows instead.
#include "menu_test_support.h"

#include "toolkit/foundation/QZAuxData.h"

namespace toolkit_test {
namespace {

using test_support::kPaper;

// An MDI frame with a menu bar (not docked: the frame lays it out above the client).
class MdiMenuFrame : public CMDIFrameWnd {
public:
    CQZMenuBar m_wndMenuBar;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct)
    {
        if (CMDIFrameWnd::OnCreate(lpCreateStruct) == -1)
            return -1;
        if (!m_wndMenuBar.CreateEx(this, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR) ||
            !m_wndMenuBar.LoadMenuBar(IDR_TEST_MDI_MENU))
            return -1;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MdiMenuFrame, CMDIFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// A child window class with its own small icon (the green test icon).
LPCSTR ChildClassWithSmallIcon()
{
    static const char* name = [] {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &DefMDIChildProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hIconSm = static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TEST_ICON), IMAGE_ICON, 16, 16, 0));
        wc.lpszClassName = "SorvantaMdiTestChild";
        RegisterClassExA(&wc);
        return "SorvantaMdiTestChild";
    }();
    return name;
}

constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;

class MenuBarMdiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new MdiMenuFrame;
        HMENU menu = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_MDI_MENU));
        ASSERT_TRUE(frame->CreateEx(0, nullptr, "MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr,
                                    menu));
        // The frame shows its menu with the window list in its "window" popup.
        HMENU shown = Bar().GetMenuHandle();
        windowMenu = ::GetSubMenu(shown, 1);
        frame->MDISetMenu(CMenu::FromHandle(shown), CMenu::FromHandle(windowMenu));
        PumpPending();
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        PumpPending();
    }
    CQZMenuBar& Bar() { return frame->m_wndMenuBar; }
    CMDIChildWnd* NewChild(const char* title, DWORD style = kChildStyle, LPCSTR className = nullptr)
    {
        auto* child = new CMDIChildWnd;
        if (!child->Create(className, title, style, CFrameWnd::rectDefault, frame))
            return nullptr;
        return child;
    }
    void Idle()
    {
        Bar().OnUpdateCmdUI(frame, FALSE);
        PumpPending();
    }
    std::vector<int> Visible()
    {
        int items[16];
        int* end = Bar().GetVisibleItems(items, items + 16, QZ_MBI_ALL);
        return std::vector<int>(items, end);
    }
    LPARAM CentreOf(int item)
    {
        CRect rect;
        Bar().GetItemRect(&rect, Bar().m_arrItems[item]);
        return MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
    }
    // The bar's items: 0 the icon, 1 File, 2 Window, 3 minimize, 4 restore, 5 close.
    static constexpr int kIcon = 0;
    static constexpr int kMinimize = 3;
    static constexpr int kRestore = 4;
    static constexpr int kClose = 5;

    MdiMenuFrame* frame = nullptr;
    HMENU windowMenu = nullptr;
};

TEST_F(MenuBarMdiTest, MdiSetMenuReachesTheBarAndNeverTheClient)
{
    EXPECT_TRUE(Bar().m_pMDIHook);
    EXPECT_EQ(windowMenu, Bar().m_hWindowMenu);
    EXPECT_EQ(nullptr, GetMenu(frame->m_hWnd));
}

TEST_F(MenuBarMdiTest, MaximizedChildShowsItsIconAndButtonsUntilRestored)
{
    CMDIChildWnd* child = NewChild("Child");
    ASSERT_TRUE(child);
    EXPECT_EQ((std::vector<int>{1, 2}), Visible());
    frame->MDIMaximize(child);
    // The client repaints when a child is maximized: its hook tells the bar.
    SendMessageA(frame->m_hWndMDIClient, WM_PAINT, 0, 0);
    EXPECT_TRUE(Bar().m_bChildMaximized);
    EXPECT_EQ((std::vector<int>{kIcon, 1, 2, kMinimize, kRestore, kClose}), Visible());

    // The buttons end their row SM_CXEDGE before the end of the room.
    CRect close;
    Bar().GetItemRect(&close, Bar().m_arrItems[kClose]);
    CRect client;
    Bar().GetClientRect(&client);
    EXPECT_EQ(client.left + Bar().GetAvailableLength(TRUE) - GetSystemMetrics(SM_CXEDGE), close.right);
    CRect restore;
    Bar().GetItemRect(&restore, Bar().m_arrItems[kRestore]);
    EXPECT_EQ(close.left - 2, restore.right) << "restore right before close, after its 2 pixels";

    frame->MDIRestore(child);
    Idle();
    EXPECT_FALSE(Bar().m_bChildMaximized);
    EXPECT_EQ((std::vector<int>{1, 2}), Visible());
}

TEST_F(MenuBarMdiTest, ChildWithoutSystemMenuCountsAsNotMaximized)
{
    CMDIChildWnd* child = NewChild("Bare", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME);
    ASSERT_TRUE(child);
    frame->MDIMaximize(child);
    Idle();
    EXPECT_FALSE(Bar().m_bChildMaximized);
}

TEST_F(MenuBarMdiTest, ButtonsMinimizeRestoreAndCloseTheChild)
{
    struct Case {
        const char* why;
        int button;
        bool released;  // the mouse is released over the button
        int expect;     // 0 maximized, 1 restored, 2 minimized, 3 closed
    };
    const Case cases[] = {
        {"restore", kRestore, true, 1},
        {"minimize", kMinimize, true, 2},
        {"released outside: nothing", kClose, false, 0},
        {"close", kClose, true, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CMDIChildWnd* child = NewChild("Child");
        ASSERT_TRUE(child);
        HWND window = child->m_hWnd;
        frame->MDIMaximize(child);
        Idle();
        const LPARAM at = CentreOf(c.button);
        Bar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        EXPECT_EQ(c.button, Bar().m_nPressedItem) << "shown pressed";
        Bar().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 2));
        EXPECT_EQ(-1, Bar().m_nPressedItem) << "shown released outside";
        if (c.released)
            Bar().SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at);
        Bar().SendMessage(WM_LBUTTONUP, 0, c.released ? at : MAKELPARAM(2, 2));
        PumpPending();
        BOOL maximized = FALSE;
        const bool closed = !IsWindow(window);
        if (!closed)
            frame->MDIGetActive(&maximized);
        const int state = closed ? 3 : (IsIconic(window) ? 2 : (maximized ? 0 : 1));
        EXPECT_EQ(c.expect, state);
        if (!closed)
            child->MDIDestroy();
        PumpPending();
    }
}

TEST_F(MenuBarMdiTest, ChildWithoutMinimizeBoxShowsADisabledMinimizeButtonThatIgnoresClicks)
{
    CMDIChildWnd* child = NewChild("Child", WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX);
    ASSERT_TRUE(child);
    frame->MDIMaximize(child);
    Idle();
    Bar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(kMinimize));
    Bar().SendMessage(WM_LBUTTONUP, 0, CentreOf(kMinimize));
    PumpPending();
    EXPECT_FALSE(IsIconic(child->m_hWnd));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(MenuBarMdiTest, DoubleClickOnTheIconClosesTheChild)
{
    CMDIChildWnd* child = NewChild("Child");
    HWND window = child->m_hWnd;
    frame->MDIMaximize(child);
    Idle();
    Bar().m_nPopupItem = kIcon;
    Bar().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, CentreOf(kIcon));
    PumpPending();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MenuBarMdiTest, IconIsTheChildsOwnSmallIconOrElseItsClasss)
{
    CMDIChildWnd* child = NewChild("Classy", kChildStyle, ChildClassWithSmallIcon());
    ASSERT_TRUE(child);
    frame->MDIMaximize(child);
    Idle();
    auto drawnCentre = [&] {
        CRect icon;
        Bar().GetItemRect(&icon, Bar().m_arrItems[kIcon]);
        PaperCanvas canvas(icon.right + 4, icon.bottom + 4);
        Bar().DrawSysMenuItem(&canvas.m_dc, static_cast<CQZSysMenuBarItem*>(Bar().m_arrItems[kIcon]));
        return canvas.At((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
    };
    EXPECT_EQ(RGB(0, 160, 0), drawnCentre()) << "the class's small icon (green)";
    HICON own = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_TEST_PRESSED_ICON), IMAGE_ICON, 16, 16, 0));
    child->SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(own));
    EXPECT_EQ(RGB(0, 0, 160), drawnCentre()) << "the window's own small icon (blue)";
    child->MDIDestroy();
    DestroyIcon(own);
}

TEST_F(MenuBarMdiTest, WindowListNamesNineChildrenThenMoreWindows)
{
    struct Case {
        const char* why;
        int children;
    };
    const Case cases[] = {{"one child", 1}, {"twelve children", 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        std::vector<CMDIChildWnd*> children;
        for (int i = 0; i < c.children; ++i)
            children.push_back(NewChild(("Doc " + std::to_string(i + 1)).c_str()));
        // The window popup opens twice: the same list both times.
        for (int opening = 0; opening < 2; ++opening) {
            InitPopup(frame->m_hWnd, windowMenu);
            std::vector<std::string> texts;
            for (const MenuItemState& entry : ReadMenu(windowMenu))
                texts.push_back(entry.type & MFT_SEPARATOR
                                    ? "-"
                                    : entry.text + ((entry.state & MFS_CHECKED) ? " [x]" : ""));
            std::vector<std::string> expected = {"&Cascade", "&Tile", "-"};
            const int listed = std::min(c.children, 9);
            for (int k = 0; k < listed; ++k) {
                // The last child made is the active one; past the ninth it takes the ninth place.
                const int number = (k == listed - 1) ? c.children : k + 1;
                expected.push_back("&" + std::to_string(k + 1) + "  Doc " + std::to_string(number) +
                                   (k == listed - 1 ? " [x]" : ""));
            }
            expected.push_back("-");
            expected.push_back("More Windows...");
            EXPECT_EQ(expected, texts) << "opening " << opening + 1;
        }
        for (CMDIChildWnd* child : children)
            child->MDIDestroy();
        PumpPending();
    }
}

TEST_F(MenuBarMdiTest, WindowThatIsNoMdiChildIsNotListed)
{
    NewChild("Doc");
    HWND stray = CreateForeignWindow(frame->m_hWndMDIClient, 5);
    InitPopup(frame->m_hWnd, windowMenu);
    const std::vector<std::string> texts = MenuTexts(windowMenu);
    EXPECT_EQ(6u, texts.size());
    DestroyWindow(stray);
}

TEST_F(MenuBarMdiTest, IconOpensTheChildsSystemMenuPlainWhileImageMenusDrawTheOthers)
{
    CQZCoolMenu imageMenus;
    ASSERT_TRUE(imageMenus.Install(frame));
    CMDIChildWnd* child = NewChild("Child");
    ASSERT_TRUE(child);
    frame->MDIMaximize(child);
    Idle();
    HMENU shown = nullptr;
    std::vector<MenuItemState> items;
    MenuScript script({MenuScript::WaitUntil([] { return NewestMenuWindow() != nullptr; }),
                       [&] {
                           shown = MenuOfWindow(NewestMenuWindow());
                           items = ReadMenu(shown);
                       },
                       [] { PostKey(VK_ESCAPE); }});
    Bar().TrackSystemMenu(static_cast<CQZSysMenuBarItem*>(Bar().m_arrItems[kIcon]));
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(GetSystemMenu(child->m_hWnd, FALSE), shown) << "the child's own system menu";
    ASSERT_FALSE(items.empty());
    for (const MenuItemState& item : items)
        EXPECT_EQ(0u, item.type & MFT_OWNERDRAW) << item.text;

    // The next popup is an image menu again.
    InitPopup(frame->m_hWnd, windowMenu);
    EXPECT_NE(0u, ReadMenu(windowMenu)[0].type & MFT_OWNERDRAW);
    EndMenuLoop(frame->m_hWnd);
    imageMenus.HookWindow(static_cast<HWND>(nullptr));
}

// The text of the one tool the bar's tooltip holds, or "" with the count of its tools.
std::string OnlyTipText(CToolTipCtrl& tip)
{
    if (tip.GetToolCount() != 1)
        return "tools: " + std::to_string(tip.GetToolCount());
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    if (!tip.SendMessage(TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&info)))
        return "";
    char text[80] = {};
    info.lpszText = text;
    tip.SendMessage(TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&info));
    return text;
}

TEST_F(MenuBarMdiTest, HotWindowButtonsNameThemselvesInTheTip)
{
    CMDIChildWnd* child = NewChild("Child");
    frame->MDIMaximize(child);
    Idle();
    ASSERT_NE(nullptr, Bar().m_wndToolTip.m_hWnd);
    struct Case {
        int button;
        const char* tip;
    };
    const Case cases[] = {{kMinimize, "Minimize Window"}, {kRestore, "Restore Window"}, {kClose, "Close Window"}};
    CRect client;
    Bar().GetClientRect(&client);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tip);
        Bar().m_nHotItem = c.button;
        CRect button;
        Bar().GetItemRect(&button, Bar().m_arrItems[c.button]);
        Bar().m_ptLastMouse = button.CenterPoint();
        PaperCanvas canvas(client.Width(), client.Height());
        Bar().DrawControlItem(&canvas.m_dc, static_cast<CQZControlMenuBarItem*>(Bar().m_arrItems[c.button]));
        EXPECT_EQ(c.tip, OnlyTipText(Bar().m_wndToolTip)) << "one tool, the hot button's";
    }
    Bar().m_nHotItem = -1;
}

TEST_F(MenuBarMdiTest, XPButtonGlyphsTakeTheColoursOfTheirState)
{
    SetDrawingColours();
    const COLORREF pushed = RGB(90, 110, 160);
    const COLORREF pushedText = RGB(250, 240, 10);
    qzAfxData.colorXPPushed = pushed;
    qzAfxData.colorXPPushedText = pushedText;
    qzAfxData.xpLook = 1;
    struct Case {
        const char* why;
        BOOL hot;
        BOOL pressed;
        BOOL frameActive;
        COLORREF fill;
        COLORREF glyph;
        bool framed;
    };
    const Case cases[] = {
        {"at rest", FALSE, FALSE, TRUE, kDrawFace, kDrawMenuText, false},
        {"in an inactive frame", FALSE, FALSE, FALSE, kDrawFace, kDrawGray, false},
        {"hot", TRUE, FALSE, TRUE, kDrawXPHot, kDrawMenuText, true},
        {"pressed", FALSE, TRUE, TRUE, pushed, pushedText, true},
    };
    const CRect rect(0, 0, 16, 15);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Bar().m_bFrameActive = c.frameActive;
        PaperCanvas canvas(16, 15);
        Bar().DrawControlButton(&canvas.m_dc, rect, DFCS_CAPTIONCLOSE, c.hot, c.pressed);
        EXPECT_EQ(c.framed ? kDrawSelection : c.fill, canvas.At(0, 0)) << "the corner";
        EXPECT_EQ(c.fill, canvas.At(1, 1));
        EXPECT_GT(canvas.Count(rect, c.glyph), 8) << "the close glyph in its colour";
        EXPECT_EQ(0, canvas.Count(rect, kPaper));
    }
    Bar().m_bFrameActive = TRUE;
    Bar().m_nHotItem = -1;
    qzAfxData.xpLook = 0;
    qzAfxData.UpdateSysColors();
}

TEST_F(MenuBarMdiTest, ButtonsTheChildLacksAreDrawnDisabledBesideTheirPartnerOrNotAtAll)
{
    struct Case {
        const char* why;
        DWORD style;
        int button;
        UINT inactiveGlyph;  // 0: nothing drawn
    };
    const DWORD base = WS_CHILD | WS_VISIBLE | WS_CAPTION | WS_SYSMENU;
    const Case cases[] = {
        {"no minimize box beside a maximize box", base | WS_MAXIMIZEBOX, kMinimize, DFCS_CAPTIONMIN},
        {"no maximize box beside a minimize box", base | WS_MINIMIZEBOX, kRestore, DFCS_CAPTIONRESTORE},
        {"neither box: no minimize button", base, kMinimize, 0},
        {"neither box: no restore button", base, kRestore, 0},
    };
    CRect client;
    Bar().GetClientRect(&client);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CMDIChildWnd* child = NewChild("Child", c.style);
        ASSERT_TRUE(child);
        frame->MDIMaximize(child);
        Idle();
        ASSERT_TRUE(Bar().m_bChildMaximized);
        CRect rect;
        Bar().GetItemRect(&rect, Bar().m_arrItems[c.button]);
        PaperCanvas drawn(client.Width(), client.Height());
        Bar().DrawControlItem(&drawn.m_dc, static_cast<CQZControlMenuBarItem*>(Bar().m_arrItems[c.button]));
        if (c.inactiveGlyph == 0) {
            EXPECT_EQ(client.Width() * client.Height(), drawn.Count(client, kPaper));
        } else {
            PaperCanvas expected(client.Width(), client.Height());
            DrawFrameControl(expected.get(), &rect, DFC_CAPTION, c.inactiveGlyph | DFCS_INACTIVE);
            PaperCanvas enabled(client.Width(), client.Height());
            DrawFrameControl(enabled.get(), &rect, DFC_CAPTION, c.inactiveGlyph);
            int sameAsInactive = 0;
            int sameAsEnabled = 0;
            for (int y = rect.top; y < rect.bottom; ++y) {
                for (int x = rect.left; x < rect.right; ++x) {
                    sameAsInactive += drawn.At(x, y) == expected.At(x, y);
                    sameAsEnabled += drawn.At(x, y) == enabled.At(x, y);
                }
            }
            EXPECT_EQ(rect.Width() * rect.Height(), sameAsInactive) << "the system's disabled caption button";
            EXPECT_LT(sameAsEnabled, rect.Width() * rect.Height());
        }
        child->MDIDestroy();
        PumpPending();
    }
}

TEST_F(MenuBarMdiTest, WhileDraggedTheBarShowsTheMoveCursorExceptOverItsItemsWithAMaximizedChild)
{
    CMDIChildWnd* child = NewChild("Child");
    Bar().EnableDocking(CBRS_ALIGN_ANY);
    ASSERT_NE(nullptr, Bar().m_pDockContext);
    constexpr int kGap = -1;  // between the entries and the window buttons
    struct Case {
        const char* why;
        bool maximized;
        int item;
        bool sizeAll;
    };
    const Case cases[] = {
        {"over an entry with a maximized child", true, 1, false},
        {"over a window button", true, kMinimize, false},
        {"between the entries and the buttons", true, kGap, true},
        {"over an entry without a maximized child", false, 1, true},
    };
    Bar().m_pDockContext->m_bDragging = TRUE;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        if (c.maximized)
            frame->MDIMaximize(child);
        else
            frame->MDIRestore(child);
        Idle();
        ASSERT_EQ(c.maximized, Bar().m_bChildMaximized != FALSE);
        CRect item;
        if (c.item == kGap) {
            CRect window, minimize;
            Bar().GetItemRect(&window, Bar().m_arrItems[2]);
            Bar().GetItemRect(&minimize, Bar().m_arrItems[kMinimize]);
            ASSERT_GT(minimize.left - window.right, 4);
            item = CRect(window.right, window.top, minimize.left, window.bottom);
        } else {
            Bar().GetItemRect(&item, Bar().m_arrItems[c.item]);
        }
        CPoint screen = item.CenterPoint();
        Bar().ClientToScreen(&screen);
        if (!SetCursorPos(screen.x, screen.y))
            GTEST_SKIP() << "the display cannot place the cursor";
        SetCursor(nullptr);
        Bar().SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(Bar().m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(c.sizeAll, GetCursor() == qzAfxData.cursorSizeAll);
    }
    Bar().m_pDockContext->m_bDragging = FALSE;
}

} // namespace
} // namespace toolkit_test
