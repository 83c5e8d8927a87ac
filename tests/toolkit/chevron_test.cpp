// The chevron on a real toolbar: its glyphs, where they sit on horizontal and vertical
// bars, pressed and disabled, in both looks; its command state; the click that opens the
// hidden-buttons popup at the part of the chevron that can be seen, the pressed state
// while the popup is open and the clicks and cancels that close it; its customise command;
// and the chevrons and popups that cannot be made.
#include "toolbar_test_support.h"

#include "toolkit/bars/QZExpButton.h"
#include "toolkit/bars/QZExpMenuWnd.h"
#include "toolkit/foundation/QZAuxData.h"

#include <string>
#include <vector>

using namespace toolkit_test;

namespace {

// The glyphs as the user sees them, top row first ('#' ink).
const std::vector<std::string> kDoubleRightArrow = {"#..#..", ".#..#.", "..#..#", ".#..#.", "#..#.."};
const std::vector<std::string> kDownTriangle = {"#####", ".###.", "..#.."};
const std::vector<std::string> kDoubleDownArrow = {"#...#", ".#.#.", "..#..", "#...#", ".#.#.", "..#.."};
const std::vector<std::string> kLeftTriangle = {"..#", ".##", "###", ".##", "..#"};

struct PlacedGlyph {
    const std::vector<std::string>* rows;
    CPoint at;
};

// Whether exactly the glyphs' ink is black on the canvas and nothing else is.
void ExpectGlyphs(const PaperCanvas& canvas, const CRect& area, const std::vector<PlacedGlyph>& glyphs)
{
    int ink = 0;
    for (const PlacedGlyph& glyph : glyphs) {
        for (size_t row = 0; row < glyph.rows->size(); ++row) {
            const std::string& bits = (*glyph.rows)[row];
            for (size_t column = 0; column < bits.size(); ++column) {
                const int x = glyph.at.x + static_cast<int>(column);
                const int y = glyph.at.y + static_cast<int>(row);
                const bool isInk = bits[column] == '#';
                ink += isInk ? 1 : 0;
                EXPECT_EQ(isInk ? RGB(0, 0, 0) : RGB(255, 255, 255), canvas.At(x, y)) << "at " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(ink, canvas.Count(area, RGB(0, 0, 0))) << "no ink elsewhere";
}

// Sets the XP-look flag while it lives.
class ChevronLookScope {
public:
    explicit ChevronLookScope(int xpLook) : m_previous(qzAfxData.xpLook) { qzAfxData.xpLook = xpLook; }
    ~ChevronLookScope() { qzAfxData.xpLook = m_previous; }
    ChevronLookScope(const ChevronLookScope&) = delete;
    ChevronLookScope& operator=(const ChevronLookScope&) = delete;

private:
    int m_previous;
};

// Refuses the chevron (the child button with the customise command as its id).
HHOOK g_refuseChevronButtonHook = nullptr;
LRESULT CALLBACK RefuseChevronButton(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (reinterpret_cast<UINT_PTR>(cs->hMenu) == ID_QZ_CUSTOMIZE_TOOLBAR && (cs->style & WS_CHILD))
            return 1;
    }
    return CallNextHookEx(g_refuseChevronButtonHook, code, wParam, lParam);
}

// Takes the toolbar control's customise request instead of opening its modal dialog, and
// notes the frame's layout count at the request.
class CustomizeCatcher {
public:
    CustomizeCatcher(HWND toolbar, const ToolbarFrame* frame) : m_toolbar(toolbar)
    {
        s_frame = frame;
        s_layoutsAtRequest = -1;
        s_requests = 0;
        s_previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(toolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CustomizeCatcher::Proc)));
    }
    ~CustomizeCatcher() { SetWindowLongPtrA(m_toolbar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_previous)); }
    CustomizeCatcher(const CustomizeCatcher&) = delete;
    CustomizeCatcher& operator=(const CustomizeCatcher&) = delete;

    static int requests() { return s_requests; }
    static int layoutsAtRequest() { return s_layoutsAtRequest; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == TB_CUSTOMIZE) {
            ++s_requests;
            s_layoutsAtRequest = s_frame->layouts;
            return 0;
        }
        return CallWindowProcA(s_previous, window, message, wParam, lParam);
    }
    HWND m_toolbar;
    static inline WNDPROC s_previous = nullptr;
    static inline const ToolbarFrame* s_frame = nullptr;
    static inline int s_requests = 0;
    static inline int s_layoutsAtRequest = -1;
};

class ChevronTest : public ToolbarTest {
protected:
    void TearDown() override
    {
        if (chevron && CQZExpMenuWnd::IsOpen(chevron->m_pPopup))
            chevron->m_pPopup->DestroyWindow();
        PumpPending();
        ToolbarTest::TearDown();
    }
    // The test toolbar docked at the top with every button but Open hidden behind the
    // chevron, laid out as the dock bar would.
    void ShortBar()
    {
        CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
        bar.SetOwner(frame);
        bar.HideButtonsToFit(bar.CalcFixedLayout(FALSE, TRUE).cx, 60, TRUE);
        bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
        chevron = Chevron();
        ASSERT_NE(nullptr, chevron);
        ASSERT_TRUE(chevron->IsWindowVisible());
    }
    CQZExpButton* Chevron() { return DYNAMIC_DOWNCAST(CQZExpButton, bar.GetDlgItem(ID_QZ_CUSTOMIZE_TOOLBAR)); }
    void Click(UINT message)
    {
        chevron->SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(4, 4));
    }

    CQZExpButton* chevron = nullptr;
};

} // namespace

TEST_F(ChevronTest, GlyphsSitByTheBarsSideAndShiftWhenPressedOnlyInTheClassicLook)
{
    struct Case {
        const char* why;
        bool vertical;
        bool hidden;
        bool customizable;
        UINT state;
        int xp;
        std::vector<PlacedGlyph> glyphs;
    };
    // Horizontal: 12 wide, 20 high; vertical: 20 wide, 12 high.
    const Case kCases[] = {
        {"horizontal, hidden buttons: arrows centred, 2 from the top", false, true, false, 0, 0,
         {{&kDoubleRightArrow, CPoint(3, 2)}}},
        {"horizontal, customisable: triangle 2 above the bottom", false, false, true, 0, 0,
         {{&kDownTriangle, CPoint(3, 15)}}},
        {"horizontal, both", false, true, true, 0, 0, {{&kDoubleRightArrow, CPoint(3, 2)}, {&kDownTriangle, CPoint(3, 15)}}},
        {"horizontal, pressed in the classic look: one right and down", false, true, true, ODS_SELECTED, 0,
         {{&kDoubleRightArrow, CPoint(4, 3)}, {&kDownTriangle, CPoint(4, 16)}}},
        {"horizontal, pressed in the XP look: where it was", false, true, false, ODS_SELECTED, 1,
         {{&kDoubleRightArrow, CPoint(3, 2)}}},
        {"vertical, hidden buttons: down arrows centred, 2 from the right", true, true, false, 0, 0,
         {{&kDoubleDownArrow, CPoint(13, 3)}}},
        {"vertical, customisable: left triangle 2 from the left", true, false, true, 0, 0,
         {{&kLeftTriangle, CPoint(2, 3)}}},
        {"vertical, pressed in the classic look", true, true, true, ODS_SELECTED, 0,
         {{&kDoubleDownArrow, CPoint(14, 4)}, {&kLeftTriangle, CPoint(3, 4)}}},
        {"neither: nothing to show", false, false, false, 0, 0, {}},
    };
    CQZToolBar horizontal;
    CQZToolBar vertical;
    CreateToolBar(horizontal, &dockTop, CBRS_ALIGN_TOP);
    CreateToolBar(vertical, &dockLeft, CBRS_ALIGN_LEFT);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ChevronLookScope look(c.xp);
        CQZToolBar& toolBar = c.vertical ? vertical : horizontal;
        toolBar.m_mapHiddenButtons.RemoveAll();
        if (c.hidden) {
            QZ_HIDDENBUTTON record;
            record.nWidth = 23;
            toolBar.m_mapHiddenButtons.SetAt(5, record);
        }
        toolBar.m_bCustomizable = c.customizable;
        auto* button = DYNAMIC_DOWNCAST(CQZExpButton, toolBar.GetDlgItem(ID_QZ_CUSTOMIZE_TOOLBAR));
        ASSERT_NE(nullptr, button);
        const CRect rect = c.vertical ? CRect(0, 0, 20, 12) : CRect(0, 0, 12, 20);
        PaperCanvas canvas(rect.Width(), rect.Height());
        button->DrawBitmap(CDC::FromHandle(canvas.get()), c.state, rect);
        ExpectGlyphs(canvas, rect, c.glyphs);
    }
    horizontal.m_mapHiddenButtons.RemoveAll();
    vertical.m_mapHiddenButtons.RemoveAll();
    horizontal.DestroyWindow();
    vertical.DestroyWindow();
}

TEST_F(ChevronTest, DisabledGlyphsAreGreyedAndTheCommandStateFollowsWhatTheChevronStandsFor)
{
    ShortBar();
    PaperCanvas canvas(12, 20);
    chevron->DrawBitmap(CDC::FromHandle(canvas.get()), ODS_DISABLED, CRect(0, 0, 12, 20));
    EXPECT_EQ(0, canvas.Count(CRect(0, 0, 12, 20), RGB(0, 0, 0))) << "no black ink";
    EXPECT_LT(canvas.Count(CRect(0, 0, 12, 20), RGB(255, 255, 255)), 12 * 20) << "but a glyph all the same";

    struct Case {
        const char* why;
        bool hidden;
        bool customizable;
        BOOL enabled;
    };
    const Case kCases[] = {
        {"hidden buttons", true, false, TRUE},
        {"customisable", false, true, TRUE},
        {"neither", false, false, FALSE},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        if (!c.hidden)
            bar.RestoreHiddenButtons();
        bar.m_bCustomizable = c.customizable;
        bar.OnUpdateCmdUI(frame, TRUE);
        EXPECT_EQ(c.enabled, chevron->IsWindowEnabled());
    }
}

TEST_F(ChevronTest, ClickOpensThePopupAtTheVisiblePartAndTheChevronStaysPressedUntilItCloses)
{
    ShortBar();
    // Half the chevron lies beyond the toolbar's edge.
    CRect client;
    bar.GetClientRect(&client);
    CRect rect;
    chevron->GetWindowRect(&rect);
    chevron->SetWindowPos(nullptr, client.right - 5, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    chevron->GetWindowRect(&rect);
    CRect toolbarClient = client;
    bar.ClientToScreen(&toolbarClient);
    const CRect visible(rect.left, rect.top, toolbarClient.right - 1, rect.bottom - 1);

    Click(WM_LBUTTONDOWN);
    ASSERT_TRUE(CQZExpMenuWnd::IsOpen(chevron->m_pPopup));
    CQZExpMenuWnd* popup = chevron->m_pPopup;
    EXPECT_EQ(visible, popup->m_rectButton);
    EXPECT_EQ(&bar, popup->m_pToolBar);
    EXPECT_TRUE(chevron->m_bPressed);
    Click(WM_LBUTTONUP);
    EXPECT_TRUE(chevron->m_bPressed) << "held down while the popup is open";
    EXPECT_TRUE(chevron->SendMessage(BM_GETSTATE) & BST_PUSHED) << "and drawn pushed";

    popup->SendMessage(WM_ACTIVATE, WA_INACTIVE);
    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup));
    EXPECT_TRUE(chevron->m_bPressed) << "until the popup's report arrives";
    PumpPending();
    EXPECT_EQ(nullptr, chevron->m_pPopup);
    EXPECT_FALSE(chevron->m_bPressed);
    EXPECT_FALSE(chevron->SendMessage(BM_GETSTATE) & BST_PUSHED);
}

TEST_F(ChevronTest, ClickOnAnOpenChevronClosesThePopupWithoutOpeningAnother)
{
    ShortBar();
    Click(WM_LBUTTONDOWN);
    Click(WM_LBUTTONUP);
    CQZExpMenuWnd* first = chevron->m_pPopup;
    ASSERT_TRUE(CQZExpMenuWnd::IsOpen(first));
    // The click first takes the activation from the popup, then reaches the chevron.
    first->SendMessage(WM_ACTIVATE, WA_INACTIVE);
    Click(WM_LBUTTONDOWN);
    Click(WM_LBUTTONUP);
    EXPECT_EQ(first, chevron->m_pPopup) << "no new popup";
    PumpPending();
    EXPECT_EQ(nullptr, chevron->m_pPopup);
    EXPECT_FALSE(chevron->m_bPressed);

    // A double click is two clicks and never the button control's own press.
    Click(WM_LBUTTONDOWN);
    chevron->m_pPopup->SendMessage(WM_ACTIVATE, WA_INACTIVE);
    Click(WM_LBUTTONDBLCLK);
    EXPECT_NE(chevron->m_hWnd, ::GetCapture());
    PumpPending();
    EXPECT_EQ(nullptr, chevron->m_pPopup);
}

TEST_F(ChevronTest, CancelModeOrTheChevronGoingClosesThePopup)
{
    ShortBar();
    Click(WM_LBUTTONDOWN);
    CQZExpMenuWnd* popup = chevron->m_pPopup;
    ASSERT_TRUE(CQZExpMenuWnd::IsOpen(popup));
    chevron->SendMessage(WM_CANCELMODE);
    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup));
    PumpPending();
    EXPECT_FALSE(chevron->m_bPressed);

    // Closed already but not yet reported: a cancel must not touch the popup that went.
    Click(WM_LBUTTONDOWN);
    chevron->m_pPopup->DestroyWindow();
    chevron->SendMessage(WM_CANCELMODE);
    PumpPending();

    Click(WM_LBUTTONDOWN);
    popup = chevron->m_pPopup;
    ASSERT_TRUE(CQZExpMenuWnd::IsOpen(popup));
    chevron = nullptr;
    bar.DestroyWindow();
    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup)) << "gone with the chevron";
    PumpPending();
}

TEST_F(ChevronTest, OpenChevronInTheXPLookIsTheBarsColourInThePopupsFrame)
{
    ChevronLookScope look(1);
    ShortBar();
    const CRect rect(0, 0, 12, 20);
    PaperCanvas canvas(rect.Width(), rect.Height());
    chevron->DrawOpenState(CDC::FromHandle(canvas.get()), rect);
    const COLORREF frameColour = qzAfxData.colorXPBorder;
    const COLORREF fill = bar.GetBackColor();
    EXPECT_EQ(fill, qzAfxData.colorXPBarFace);
    // The outline, one pixel all round.
    EXPECT_EQ(2 * 12 + 2 * 18, canvas.Count(rect, frameColour));
    for (const CPoint& corner : {CPoint(0, 0), CPoint(11, 0), CPoint(0, 19), CPoint(11, 19)})
        EXPECT_EQ(frameColour, canvas.At(corner.x, corner.y));
    // Inside: the fill, and the arrows at rest in the glyph colour of the DC.
    EXPECT_EQ(10 * 18 - 10, canvas.Count(CRect(1, 1, 11, 19), fill));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(3, 2)) << "the arrows' first ink, not shifted";
}

// The dialog may change the buttons: the frame lays its bars out again once it is done.
TEST_F(ChevronTest, CustomiseCommandOpensTheControlsDialogThenLaysTheFrameOutAgain)
{
    ShortBar();
    CustomizeCatcher catcher(bar.m_hWnd, frame);
    chevron->SendMessage(WM_COMMAND, ID_QZ_CUSTOMIZE_TOOLBAR);
    EXPECT_EQ(1, CustomizeCatcher::requests());
    EXPECT_GT(frame->layouts, CustomizeCatcher::layoutsAtRequest()) << "a layout after the dialog";
}

TEST_F(ChevronTest, PopupThatCannotBeMadeLeavesTheChevronPressedOnlyUntilTheRelease)
{
    ShortBar();
    {
        const DialogFramePopupRefusal refusal;
        Click(WM_LBUTTONDOWN);
    }
    EXPECT_EQ(nullptr, chevron->m_pPopup);
    EXPECT_TRUE(chevron->m_bPressed);
    Click(WM_LBUTTONUP);
    EXPECT_FALSE(chevron->m_bPressed);
}

TEST_F(ChevronTest, ToolbarWhoseChevronCannotBeMadeLeavesNoChevronBehind)
{
    const int before = LiveBlocksOfSize(sizeof(CQZExpButton));
    ASSERT_GE(before, 0);
    g_refuseChevronButtonHook = SetWindowsHookExA(WH_CBT, &RefuseChevronButton, nullptr, GetCurrentThreadId());
    CQZToolBar refused;
    const CRect borders = refused.GetBorders();
    const BOOL created = refused.CreateEx(&dockTop, 0, WS_CHILD | CBRS_TOP, borders, AFX_IDW_TOOLBAR + 1);
    UnhookWindowsHookEx(g_refuseChevronButtonHook);
    EXPECT_FALSE(created);
    EXPECT_EQ(before, LiveBlocksOfSize(sizeof(CQZExpButton)));

    // The count sees a chevron that lives.
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP);
    EXPECT_EQ(before + 1, LiveBlocksOfSize(sizeof(CQZExpButton)));
}
