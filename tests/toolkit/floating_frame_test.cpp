// The toolkit floating frame: its set-up once the bar is in, caption buttons (their
// rectangles, their hover, press and release, their look), tips, the look followed at idle
// time, caption presses and double clicks of one bar and of several, and the painting
// that must leave nothing behind.
#include "toolkit_docking_test_support.h"

#include "toolkit/bars/QZExpMenuWnd.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/res/ToolkitResources.h"

#include <algorithm>
#include <utility>

using namespace toolkit_test;
using docking_test::kIdA;
using docking_test::ScreenRectOf;
using test_support::PaperCanvas;

namespace {

using ToolkitToolBar = SizedBar<CQZToolBar>;

int g_dragsStarted = 0;
int g_resizesStarted = 0;

// Counts the drags and resizes its bar starts; does not run them.
class CountingDockContext : public CQZDockContext {
public:
    using CQZDockContext::CQZDockContext;
    void StartDrag(CPoint) override { ++g_dragsStarted; }
    void StartResize(int, CPoint) override { ++g_resizesStarted; }
};

// A floating frame that keeps the system commands it is sent instead of running them.
class CommandRecordingFrame : public CQZMiniDockFrameWnd {
    DECLARE_DYNCREATE(CommandRecordingFrame)
public:
    std::vector<UINT> commands;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND) {
            commands.push_back(static_cast<UINT>(wParam & 0xFFF0));
            return 0;
        }
        return CQZMiniDockFrameWnd::WindowProc(message, wParam, lParam);
    }
};
IMPLEMENT_DYNCREATE(CommandRecordingFrame, CQZMiniDockFrameWnd)

// Sets the XP-look flag while it lives.
class CaptionLookScope {
public:
    explicit CaptionLookScope(int xpLook) : m_previous(qzAfxData.xpLook) { qzAfxData.xpLook = xpLook; }
    ~CaptionLookScope() { qzAfxData.xpLook = m_previous; }
    CaptionLookScope(const CaptionLookScope&) = delete;
    CaptionLookScope& operator=(const CaptionLookScope&) = delete;

private:
    int m_previous;
};

class FloatingFrameTest : public ToolkitDockingTest {
public:
    void SetUp() override
    {
        ToolkitDockingTest::SetUp();
        AddBar(toolBar, kIdA, "Standard", top);
        toolBar.SetBarStyle(toolBar.GetBarStyle() | CBRS_TOOLTIPS);
    }
    // The toolbar floating at (300, 300), its frame set up.
    CQZMiniDockFrameWnd* Float(DWORD style = CBRS_ALIGN_TOP)
    {
        frame->FloatControlBar(&toolBar, CPoint(300, 300), style);
        PumpPending();
        return DYNAMIC_DOWNCAST(CQZMiniDockFrameWnd, toolBar.m_pDockBar ? toolBar.m_pDockBar->GetParent() : nullptr);
    }
    static QZ_CAPTIONBUTTON* Button(CQZMiniDockFrameWnd* floating, int index)
    {
        POSITION pos = floating->m_listButtons.FindIndex(index);
        return pos ? static_cast<QZ_CAPTIONBUTTON*>(floating->m_listButtons.GetAt(pos)) : nullptr;
    }
    static LPARAM At(CPoint screen) { return MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)); }

    ToolkitToolBar toolBar;
};

// Counts the customise requests a window gets, and keeps them from it.
class CustomizeCounter : public CQZWndHook {
public:
    int requests = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == TB_CUSTOMIZE) {
            ++requests;
            return 0;
        }
        return CQZWndHook::WindowProc(msg, wParam, lParam);
    }
};

} // namespace

TEST_F(FloatingFrameTest, SetUpWaitsForTheBarAndGivesAToolbarItsCaptionButtons)
{
    frame->FloatControlBar(&toolBar, CPoint(300, 300));
    auto* floating = DYNAMIC_DOWNCAST(CQZMiniDockFrameWnd, toolBar.m_pDockBar->GetParent());
    ASSERT_NE(nullptr, floating);
    EXPECT_EQ(0, floating->m_nLook);
    EXPECT_TRUE(floating->m_listButtons.IsEmpty());
    PumpPending();
    EXPECT_EQ(CQZMiniDockFrameWnd::GetLook(), floating->m_nLook);
    ASSERT_EQ(1, floating->m_listButtons.GetCount());
    EXPECT_EQ(QZ_CAPTIONBUTTON::close, Button(floating, 0)->nKind);
    EXPECT_EQ(&toolBar, Button(floating, 0)->pBar);
    EXPECT_FALSE(floating->GetStyle() & WS_SYSMENU);
    EXPECT_EQ(&toolBar, floating->GetControlBar());
    // A customisable toolbar also has the options button.
    toolBar.m_bCustomizable = TRUE;
    floating->SendMessage(WM_QZ_INITCONTROL);
    ASSERT_EQ(2, floating->m_listButtons.GetCount());
    EXPECT_EQ(QZ_CAPTIONBUTTON::options, Button(floating, 1)->nKind);
}

TEST_F(FloatingFrameTest, MenuBarGetsNoButtonsAndADockingWindowCornersThatSize)
{
    SizedBar<CQZMenuBar> menuBar;
    AddBar(menuBar, 0xE860, "Menu", top);
    frame->FloatControlBar(&menuBar, CPoint(200, 200));
    PumpPending();
    auto* menuFrame = DYNAMIC_DOWNCAST(CQZMiniDockFrameWnd, menuBar.m_pDockBar->GetParent());
    ASSERT_NE(nullptr, menuFrame);
    EXPECT_TRUE(menuFrame->m_listButtons.IsEmpty());
    EXPECT_FALSE(menuFrame->GetStyle() & WS_SYSMENU);
    TestDockWindow window;
    window.fixedSize = CSize(150, 40);
    AddBar(window, 0xE861, "Layers", nullptr);
    frame->FloatControlBar(&window, CPoint(250, 250));
    PumpPending();
    auto* windowFrame = DYNAMIC_DOWNCAST(CQZMiniDockFrameWnd, window.m_pDockBar->GetParent());
    ASSERT_NE(nullptr, windowFrame);
    EXPECT_FALSE(windowFrame->GetStyle() & MFS_4THICKFRAME);
    EXPECT_TRUE(windowFrame->GetStyle() & WS_SYSMENU) << "a docking window keeps the system's caption";
    // Its corners start the docking window's resize through its drag context.
    delete window.m_pDockContext;
    window.m_pDockContext = new CountingDockContext(&window);
    g_resizesStarted = 0;
    const CRect corner = ScreenRectOf(windowFrame);
    windowFrame->SendMessage(WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, At(corner.BottomRight() - CSize(1, 1)));
    EXPECT_EQ(1, g_resizesStarted);
}

TEST_F(FloatingFrameTest, CaptionButtonRectanglesInBothLooksAndNarrowFrames)
{
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    const int cxSm = qzAfxData.smallIconWidth;
    const int cySm = qzAfxData.smallIconHeight;
    QZ_CAPTIONBUTTON close;
    close.nKind = QZ_CAPTIONBUTTON::close;
    close.pFrame = floating;
    QZ_CAPTIONBUTTON options;
    options.nKind = QZ_CAPTIONBUTTON::options;
    options.pFrame = floating;
    const CRect wide(100, 50, 300, 90);
    struct Case {
        const char* why;
        int xpLook;
        CRect window;
        CRect close;
        bool closeHidden;
        CRect options;
        bool optionsHidden;
    };
    const int top = wide.top + cyEdge;
    const Case cases[] = {
        {"XP: the options button touches the close button", 1, wide,
         CRect(wide.right - cxEdge - cxSm, top, wide.right - cxEdge, top + cySm - 1), false,
         CRect(wide.right - cxEdge - 2 * cxSm, top, wide.right - cxEdge - cxSm, top + cySm - 1), false},
        {"classic: 2 pixels between, each shrunk by 2", 0, wide,
         CRect(wide.right - cxEdge - cxSm + 2, top + 2, wide.right - cxEdge - 2, top + cySm - 3), false,
         CRect(wide.right - cxEdge - 2 * cxSm - 2 + 2, top + 2, wide.right - cxEdge - cxSm - 2 - 2, top + cySm - 3),
         false},
        {"XP, room for one button only", 1, CRect(100, 50, 100 + 3 * cxEdge + cxSm, 90),
         CRect(100 + 2 * cxEdge, top, 100 + 2 * cxEdge + cxSm, top + cySm - 1), false,
         CRect(100 + 2 * cxEdge - cxSm, top, 100 + 2 * cxEdge, top + cySm - 1), true},
        {"XP, room for none", 1, CRect(100, 50, 100 + 3 * cxEdge + cxSm - 1, 90),
         CRect(100 + 2 * cxEdge - 1, top, 100 + 2 * cxEdge + cxSm - 1, top + cySm - 1), true,
         CRect(100 + 2 * cxEdge - 1 - cxSm, top, 100 + 2 * cxEdge - 1, top + cySm - 1), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CaptionLookScope look(c.xpLook);
        EXPECT_EQ(c.close, close.GetRect(&c.window));
        EXPECT_EQ(c.closeHidden, close.bHidden != 0);
        EXPECT_EQ(c.options, options.GetRect(&c.window));
        EXPECT_EQ(c.optionsHidden, options.bHidden != 0);
    }
}

TEST_F(FloatingFrameTest, CloseButtonActsOnlyWhenReleasedOverIt)
{
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    QZ_CAPTIONBUTTON* close = Button(floating, 0);
    const CPoint over = close->GetRect().CenterPoint();
    const CPoint away = over - CSize(40, 0);
    floating->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(over));
    EXPECT_TRUE(close->bHot);
    floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(over));
    EXPECT_TRUE(close->bPressed);
    EXPECT_EQ(close, floating->m_pPressedButton);
    {
        LeftButtonDown held;
        floating->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(away));
        EXPECT_FALSE(close->bPressed || close->bHot);
        // Back over it with the button still down: pressed again.
        floating->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(over));
        EXPECT_TRUE(close->bPressed);
        floating->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(away));
    }
    // Released elsewhere: the frame stays.
    floating->SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(away));
    PumpPending();
    EXPECT_TRUE(floating->IsWindowVisible());
    // Pressed and released over it: the frame closes, hiding its bar.
    floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(over));
    floating->SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(over));
    EXPECT_EQ(nullptr, floating->m_pPressedButton);
    PumpPending();
    EXPECT_FALSE(floating->IsWindowVisible());
    EXPECT_FALSE(toolBar.IsWindowVisible());
    EXPECT_TRUE(::IsWindow(floating->m_hWnd));
}

TEST_F(FloatingFrameTest, HoveringABarWithTipsShowsTheButtonsTip)
{
    toolBar.m_bCustomizable = TRUE;
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    ASSERT_EQ(2, floating->m_listButtons.GetCount());
    struct Case {
        const char* why;
        int button;
        const char* tip;
    };
    const Case cases[] = {{"close", 0, "Close"}, {"options", 1, "Toolbar Options"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        QZ_CAPTIONBUTTON* button = Button(floating, c.button);
        ASSERT_FALSE(button->bHidden);
        floating->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(button->GetRect().CenterPoint()));
        EXPECT_EQ(1, floating->m_wndToolTip.GetToolCount());
        CString text;
        floating->m_wndToolTip.GetText(text, floating);
        EXPECT_STREQ(c.tip, text);
        floating->SendMessage(WM_NCMOUSEMOVE, HTCAPTION, At(ScreenRectOf(floating).TopLeft()));
    }
}

TEST_F(FloatingFrameTest, LookChangeIsTakenUpAtTheNextIdleTime)
{
    CaptionLookScope classic(0);
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    ASSERT_EQ(2, floating->m_nLook);
    Button(floating, 0)->bHot = TRUE;
    {
        CaptionLookScope xp(1);
        floating->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        EXPECT_EQ(1, floating->m_nLook);
        ASSERT_EQ(1, floating->m_listButtons.GetCount());
        EXPECT_FALSE(Button(floating, 0)->bHot) << "the buttons were made anew";
    }
}

TEST_F(FloatingFrameTest, ClosingPopupAndTheIdleTimeClearWhatWasDrawnHighlighted)
{
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    PointerSeam pointer(ScreenRectOf(floating).TopLeft() - CSize(50, 50));
    QZ_CAPTIONBUTTON* close = Button(floating, 0);
    close->bHot = close->bHighlighted = TRUE;
    floating->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_FALSE(close->bHot || close->bHighlighted) << "the pointer is outside the frame";
    close->bHot = close->bHighlighted = close->bPressed = TRUE;
    floating->m_pPressedButton = close;
    floating->SendMessage(WM_QZ_CHEVRONCLOSED);
    EXPECT_FALSE(close->bHot || close->bPressed || close->bHighlighted);
    EXPECT_EQ(nullptr, floating->m_pPressedButton);
    EXPECT_EQ(nullptr, floating->m_pDropDown);
}

TEST_F(FloatingFrameTest, CaptionDragsOneBarButMovesAFrameOfSeveralAsAWindow)
{
    struct Case {
        const char* why;
        DWORD style;
        int dragsStarted;
        bool systemMove;
    };
    const Case cases[] = {
        {"one bar: the bar's drag", CBRS_ALIGN_TOP, 1, false},
        {"several bars: the frame moves", CBRS_ALIGN_TOP | CBRS_FLOAT_MULTI, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        frame->m_pFloatingFrameClass = RUNTIME_CLASS(CommandRecordingFrame);
        delete toolBar.m_pDockContext;
        toolBar.m_pDockContext = new CountingDockContext(&toolBar);
        g_dragsStarted = 0;
        auto* floating = DYNAMIC_DOWNCAST(CommandRecordingFrame, Float(c.style));
        ASSERT_NE(nullptr, floating);
        const CRect window = ScreenRectOf(floating);
        const CPoint onCaption(window.left + 8, window.top + ::GetSystemMetrics(SM_CYEDGE) + 3);
        ASSERT_EQ(HTCAPTION, floating->SendMessage(WM_NCHITTEST, 0, At(onCaption)));
        floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(onCaption));
        EXPECT_EQ(c.dragsStarted, g_dragsStarted);
        const bool moved = std::find(floating->commands.begin(), floating->commands.end(),
                                     static_cast<UINT>(SC_MOVE)) != floating->commands.end();
        EXPECT_EQ(c.systemMove, moved);
    }
}

TEST_F(FloatingFrameTest, DoubleClickOnTheCaptionDocksTheBarsBack)
{
    struct Case {
        const char* why;
        DWORD style;
    };
    const Case cases[] = {{"one bar", CBRS_ALIGN_TOP}, {"several bars", CBRS_ALIGN_TOP | CBRS_FLOAT_MULTI}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        toolBar.m_pDockContext->m_uMRUDockID = AFX_IDW_DOCKBAR_LEFT;
        toolBar.m_pDockContext->m_rectMRUDockPos = CRect(0, 0, 24, 100);
        CQZMiniDockFrameWnd* floating = Float(c.style);
        ASSERT_NE(nullptr, floating);
        const HWND window = floating->m_hWnd;
        floating->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, At(ScreenRectOf(floating).TopLeft() + CSize(8, 8)));
        EXPECT_EQ(left, toolBar.m_pDockBar);
        EXPECT_FALSE(::IsWindow(window)) << "the frame went with its last bar";
    }
}

TEST_F(FloatingFrameTest, CaptionButtonsLookHotPressedAndOpen)
{
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    QZ_CAPTIONBUTTON button;
    button.pFrame = floating;
    button.pBar = &toolBar;
    const CRect window(0, 0, 120, 30);
    struct Case {
        const char* why;
        int xpLook;
        BYTE hot;
        BYTE pressed;
        COLORREF fill;
        COLORREF frameTopLeft;  // the pixel just outside (classic) or on (XP) the button's corner
        bool highlighted;
    };
    const QZ_AUX_DATA& d = qzAfxData;
    const Case cases[] = {
        {"XP idle: shadow fill, no frame", 1, 0, 0, d.colorShadow, d.colorShadow, false},
        {"XP hot: hot fill in a highlight frame", 1, 1, 0, d.colorXPHot, d.colorSelection, true},
        {"XP pressed: pushed fill", 1, 1, 1, d.colorXPPushed, d.colorSelection, true},
        {"classic hot: raised, nothing more", 0, 1, 0, d.colorFace, d.colorFace, false},
        {"classic pressed: sunk", 0, 0, 1, d.colorFace, d.colorWindowFrame, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CaptionLookScope look(c.xpLook);
        PaperCanvas canvas(120, 30);
        button.bHot = c.hot;
        button.bPressed = c.pressed;
        floating->DrawCaptionButton(&canvas.m_dc, window, &button);
        const CRect rect = button.GetRect(&window);
        EXPECT_EQ(c.fill, canvas.At(rect.left + 1, rect.bottom - 2));
        const CPoint corner = c.xpLook == 1 ? rect.TopLeft() : rect.TopLeft() - CSize(1, 1);
        EXPECT_EQ(c.frameTopLeft, canvas.At(corner.x, corner.y));
        EXPECT_EQ(c.highlighted, button.bHighlighted != 0);
    }
}

TEST_F(FloatingFrameTest, NarrowButtonHasItsGlyphAtItsLeftEdge)
{
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    CaptionLookScope classic(0);
    const int previousWidth = qzAfxData.smallIconWidth;
    // 12 wide, 4 once shrunk by 2 a side: narrower than the glyph.
    qzAfxData.smallIconWidth = 8;
    QZ_CAPTIONBUTTON button;
    button.pFrame = floating;
    const CRect window(0, 0, 80, 30);
    PaperCanvas canvas(80, 30);
    floating->DrawCaptionButton(&canvas.m_dc, window, &button);
    const CRect rect = button.GetRect(&window);
    qzAfxData.smallIconWidth = previousWidth;
    ASSERT_EQ(4, rect.Width());
    // The cross's first ink is in its third column and third row.
    EXPECT_EQ(qzAfxData.colorMenuText, canvas.At(rect.left + 2, rect.top + 2));
}

TEST_F(FloatingFrameTest, CaptionPaintsLeaveNoIconOrBrushBehind)
{
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    // Freed handles are given out again: a leak shows as handles that keep climbing.
    auto probe = [] {
        HICON icon = ::CreateIcon(nullptr, 1, 1, 1, 1, (const BYTE*)"\xFF", (const BYTE*)"\x00");
        HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
        const auto handles = std::make_pair(reinterpret_cast<uintptr_t>(icon) & 0xFFFF,
                                            reinterpret_cast<uintptr_t>(brush) & 0xFFFF);
        ::DestroyIcon(icon);
        ::DeleteObject(brush);
        return handles;
    };
    for (int i = 0; i < 10; ++i)
        floating->SendMessage(WM_NCPAINT, 1);
    const auto before = probe();
    for (int i = 0; i < 3000; ++i)
        floating->SendMessage(WM_NCPAINT, 1);
    const auto after = probe();
    EXPECT_LT(std::max(after.first, before.first) - std::min(after.first, before.first), 200u);
    EXPECT_LT(std::max(after.second, before.second) - std::min(after.second, before.second), 200u);
}

TEST_F(FloatingFrameTest, KeepActiveFlagAnswersActivationWithFalse)
{
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    EXPECT_TRUE(floating->SendMessage(WM_NCACTIVATE, FALSE));
    floating->m_nFlags |= WF_KEEPMINIACTIVE;
    EXPECT_FALSE(floating->SendMessage(WM_NCACTIVATE, TRUE));
    floating->m_nFlags &= ~WF_KEEPMINIACTIVE;
}

TEST_F(FloatingFrameTest, OptionsButtonOpensThePopupAtItselfDrawnOpenUntilThePopupReportsItsEnd)
{
    toolBar.m_bCustomizable = TRUE;
    for (int xp = 0; xp <= 1; ++xp) {
        SCOPED_TRACE(xp ? "XP look" : "classic look");
        CaptionLookScope look(xp);
        CQZMiniDockFrameWnd* floating = Float();
        ASSERT_NE(nullptr, floating);
        QZ_CAPTIONBUTTON* options = Button(floating, 1);
        ASSERT_EQ(QZ_CAPTIONBUTTON::options, options->nKind);
        const CRect rect = options->GetRect();
        floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(rect.CenterPoint()));
        floating->SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(rect.CenterPoint()));
        CQZExpMenuWnd* popup = floating->m_pDropDown;
        ASSERT_TRUE(CQZExpMenuWnd::IsOpen(popup));
        // In the XP look the popup's edge meets the caption's frame.
        const CRect expected = xp ? CRect(rect.left - 2, rect.top, rect.right - 3, rect.bottom - 1) : rect;
        EXPECT_EQ(expected, popup->m_rectButton);
        EXPECT_EQ(&toolBar, popup->m_pToolBar);
        EXPECT_TRUE(options->bHot);
        EXPECT_FALSE(options->bPressed);
        EXPECT_TRUE(popup->m_wndCustomize.m_hWnd) << "the customise item of a customisable toolbar";

        const CRect window(0, 0, 120, 30);
        PaperCanvas canvas(120, 30);
        floating->DrawCaptionButton(&canvas.m_dc, window, options);
        const CRect drawn = options->GetRect(&window);
        EXPECT_TRUE(options->bHighlighted);
        if (xp) {
            EXPECT_EQ(qzAfxData.colorXPBarFace, canvas.At(drawn.left + 1, drawn.bottom - 2));
            EXPECT_EQ(qzAfxData.colorXPBorder, canvas.At(drawn.left, drawn.top));
        } else {
            EXPECT_EQ(qzAfxData.colorWindowFrame, canvas.At(drawn.left - 1, drawn.top - 1)) << "sunk";
        }

        // Released over it again while open: no second popup.
        floating->SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(rect.CenterPoint()));
        EXPECT_EQ(popup, floating->m_pDropDown);
        popup->DestroyWindow();
        PumpPending();
        EXPECT_EQ(nullptr, floating->m_pDropDown);
        EXPECT_FALSE(options->bHot || options->bHighlighted);
        TearDown();
        SetUp();
        toolBar.m_bCustomizable = TRUE;
    }
}

TEST_F(FloatingFrameTest, PressElsewhereOnTheCaptionClosesTheOptionsPopup)
{
    toolBar.m_bCustomizable = TRUE;
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    delete toolBar.m_pDockContext;
    toolBar.m_pDockContext = new CountingDockContext(&toolBar);
    QZ_CAPTIONBUTTON* options = Button(floating, 1);
    const CPoint over = options->GetRect().CenterPoint();
    floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(over));
    floating->SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(over));
    CQZExpMenuWnd* popup = floating->m_pDropDown;
    ASSERT_TRUE(CQZExpMenuWnd::IsOpen(popup));
    // Still hot from the release: pressing it again leaves the popup alone.
    floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(over));
    EXPECT_TRUE(CQZExpMenuWnd::IsOpen(popup));
    floating->SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(over));

    const CRect window = ScreenRectOf(floating);
    floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(CPoint(window.left + 8, over.y)));
    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup));
    PumpPending();
    EXPECT_EQ(nullptr, floating->m_pDropDown);
    // Gone but not yet reported: a press must not touch the popup that went.
    floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(over));
    floating->SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(over));
    popup = floating->m_pDropDown;
    ASSERT_TRUE(CQZExpMenuWnd::IsOpen(popup));
    popup->DestroyWindow();
    floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(CPoint(window.left + 8, over.y)));
    PumpPending();
    EXPECT_EQ(nullptr, floating->m_pDropDown);
}

TEST_F(FloatingFrameTest, OptionsPopupThatCannotBeMadeLeavesTheButtonHotAndNothingOpen)
{
    toolBar.m_bCustomizable = TRUE;
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    QZ_CAPTIONBUTTON* options = Button(floating, 1);
    const CPoint over = options->GetRect().CenterPoint();
    {
        const toolkit_test::DialogFramePopupRefusal refusal;
        floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(over));
        floating->SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(over));
    }
    EXPECT_EQ(nullptr, floating->m_pDropDown);
    EXPECT_TRUE(options->bHot);
    EXPECT_FALSE(options->bPressed);
}

TEST_F(FloatingFrameTest, CustomiseChosenInThePopupReachesTheToolbarAndTheFrameTakesItsPopupAlong)
{
    toolBar.m_bCustomizable = TRUE;
    CQZMiniDockFrameWnd* floating = Float();
    ASSERT_NE(nullptr, floating);
    CustomizeCounter counter;
    counter.HookWindow(&toolBar);
    Button(floating, 1)->bHot = TRUE;
    floating->SendMessage(WM_COMMAND, ID_QZ_CUSTOMIZE_TOOLBAR);
    EXPECT_EQ(1, counter.requests);
    EXPECT_FALSE(Button(floating, 1)->bHot);
    counter.HookWindow(static_cast<HWND>(nullptr));

    const CPoint over = Button(floating, 1)->GetRect().CenterPoint();
    floating->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, At(over));
    floating->SendMessage(WM_NCLBUTTONUP, HTCAPTION, At(over));
    CQZExpMenuWnd* popup = floating->m_pDropDown;
    ASSERT_TRUE(CQZExpMenuWnd::IsOpen(popup));
    floating->DestroyWindow();
    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup)) << "a popup does not outlive the frame it reports to";
    PumpPending();
}
