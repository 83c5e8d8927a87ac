// The colour popup: its size and cells for each style, the selection of the current
// colour, the keyboard walk (wrapping at the last colour when there is no "More
// Colors..."), picking by mouse, the first cell as "Automatic" or "No Fill", and every
// way of ending it with exactly one result message before it closes.
#include "toolkit/colour/QZColorPopup.h"

#include "colour_test_support.h"
#include "toolkit/colour/QZColorPopupTables.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit_test_support.h"

#include <memory>

using colour_test::PumpTranslated;
using colour_test::Received;
using colour_test::RecordingWnd;
using toolkit_test::PaperCanvas;
using toolkit_test::PumpPending;

namespace {

constexpr int kUserValue = 77;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// In neither table.
constexpr COLORREF kOffTable = RGB(1, 2, 3);
const CRect kOpener(200, 100, 250, 124);

// Keeps the recent colours of a test from the next.
class RecentColoursScope {
public:
    explicit RecentColoursScope(std::initializer_list<COLORREF> colours)
    {
        m_saved.Copy(CQZColorPopup::m_arrUserColors);
        CQZColorPopup::m_arrUserColors.RemoveAll();
        for (COLORREF c : colours)
            CQZColorPopup::m_arrUserColors.Add(c);
    }
    ~RecentColoursScope() { CQZColorPopup::m_arrUserColors.Copy(m_saved); }

private:
    CUIntArray m_saved;
};

class ColourPopupTest : public ::testing::Test {
public:
    void SetUp() override
    {
        ASSERT_TRUE(parent.Make());
        m_savedXP = qzAfxData.xpLook;
        qzAfxData.xpLook = 0;
    }
    void TearDown() override
    {
        popup.reset();
        parent.DestroyWindow();
        PumpPending();
        qzAfxData.xpLook = m_savedXP;
    }
    // A popup the test keeps (no self-deletion), below kOpener, telling parent.
    CQZColorPopup* Open(DWORD style, COLORREF current, COLORREF automatic)
    {
        popup = std::make_unique<CQZColorPopup>(FALSE, kUserValue);
        popup->m_bShadow = FALSE;
        EXPECT_TRUE(popup->Create(&kOpener, &parent, style, current, automatic));
        PumpPending();
        return popup.get();
    }
    CPoint CentreOf(int position) const
    {
        QZ_COLOR_CELL* cell = popup->GetCellAt(position);
        return cell ? CRect(cell->rect).CenterPoint() : CPoint(-100, -100);
    }
    void Key(UINT key) { popup->SendMessage(WM_KEYDOWN, key, 1); }
    void Click(CPoint point)
    {
        popup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
        popup->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        popup->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    }
    static Received Message(UINT message, COLORREF colour) { return {message, colour, kUserValue}; }

    RecordingWnd parent;
    std::unique_ptr<CQZColorPopup> popup;

private:
    int m_savedXP = 0;
};

} // namespace

TEST(ColourPopupKeys, WalkWrapsAtTheLastCellWithAndWithoutMoreColours)
{
    struct Case {
        const char* why;
        int gridCells;
        int highest;
        UINT key;
        int from;
        int to;
    };
    const Case cases[] = {
        // 40 colours with "More Colors..." at 41.
        {"down from the first cell to the end of the first grid row", 40, 41, VK_DOWN, 0, 8},
        {"down one grid row", 40, 41, VK_DOWN, 3, 11},
        {"down from the last grid row to More Colors", 40, 41, VK_DOWN, 35, 41},
        {"down from More Colors wraps to the first cell", 40, 41, VK_DOWN, 41, 0},
        {"up from the first cell to More Colors", 40, 41, VK_UP, 0, 41},
        {"up from the first grid row to the first cell", 40, 41, VK_UP, 5, 0},
        {"up one grid row", 40, 41, VK_UP, 12, 4},
        {"up from More Colors to the last grid row", 40, 41, VK_UP, 41, 33},
        {"right from the last colour to More Colors", 40, 41, VK_RIGHT, 40, 41},
        {"right from More Colors wraps", 40, 41, VK_RIGHT, 41, 0},
        {"left from the first cell wraps to More Colors", 40, 41, VK_LEFT, 0, 41},
        {"no position yet: down starts at the first cell", 40, 41, VK_DOWN, -1, 0},
        {"no position yet: left starts at the end", 40, 41, VK_LEFT, -1, 41},
        {"other keys leave the position", 40, 41, VK_HOME, 7, 7},
        // 40 colours without "More Colors...": the last colour is the end.
        {"right from the last colour wraps to the first cell", 40, 40, VK_RIGHT, 40, 0},
        {"left from the first cell wraps to the last colour", 40, 40, VK_LEFT, 0, 40},
        {"down from the last grid row wraps to the first cell", 40, 40, VK_DOWN, 35, 0},
        {"down from the last colour wraps to the first cell", 40, 40, VK_DOWN, 40, 0},
        {"up from the first cell to the last colour", 40, 40, VK_UP, 0, 40},
        {"up from the last colour", 40, 40, VK_UP, 40, 32},
        // 16 colours, three recent colours (17 to 19), "More Colors..." at 20.
        {"down from the last grid row skips the recent row", 16, 20, VK_DOWN, 12, 20},
        {"down from a recent colour to More Colors", 16, 20, VK_DOWN, 18, 20},
        {"right from the last colour into the recent row", 16, 20, VK_RIGHT, 16, 17},
        {"up from More Colors", 16, 20, VK_UP, 20, 12},
        {"16 colours without More Colors: right wraps", 16, 16, VK_RIGHT, 16, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.to, QZColorKeyPosition(c.key, c.from, c.gridCells, c.highest));
    }
}

TEST_F(ColourPopupTest, SizeFollowsTheStyleAndTheRecentColours)
{
    struct Case {
        const char* why;
        DWORD style;
        int recent;
        int height;
        int cells;
        int moreColoursPos;
    };
    const Case cases[] = {
        {"16 colours", 0x00, 0, 92, 17, 17},
        {"16 colours, More Colors", 0x04, 0, 120, 18, 17},
        {"16 colours, More Colors and two recent", 0x04, 2, 146, 20, 19},
        {"40 colours", 0x02, 0, 126, 41, 41},
        {"40 colours, More Colors (the picker's style)", 0x06, 0, 154, 42, 41},
        {"40 colours, More Colors and eight recent", 0x06, 8, 180, 50, 49},
        {"recent colours are not shown without More Colors", 0x02, 3, 126, 41, 41},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        RecentColoursScope recent({});
        for (int i = 0; i < c.recent; ++i)
            CQZColorPopup::m_arrUserColors.Add(RGB(10 * i, 7, 9));
        Open(c.style, kRed, kBlack);
        CRect window;
        popup->GetWindowRect(&window);
        EXPECT_EQ(CRect(200, 124, 358, 124 + c.height), window);
        EXPECT_EQ(c.cells, popup->m_listCells.GetCount());
        EXPECT_EQ(c.moreColoursPos, popup->m_nMoreColorsPos);
        int tools = popup->m_wndToolTip.GetToolCount();
        EXPECT_EQ(c.cells, tools) << "one tip per cell";
        popup->DestroyWindow();
    }
}

TEST_F(ColourPopupTest, CurrentColourSelectsItsCellOrMoreColours)
{
    struct Case {
        const char* why;
        DWORD style;
        COLORREF current;
        COLORREF automatic;
        int selected;  // -1: none
    };
    const Case cases[] = {
        {"red in the large table is position 17", 0x06, kRed, kBlack, 17},
        {"red in the small table is position 11", 0x04, kRed, kBlack, 11},
        {"the automatic colour selects the first cell", 0x06, kRed, kRed, 0},
        {"with No Fill the automatic colour does not count", 0x07, kRed, kRed, 17},
        {"off the table: More Colors", 0x06, kOffTable, kBlack, 41},
        {"off the table without More Colors: nothing", 0x02, kOffTable, kBlack, -1},
        {"no fill as the current colour: nothing", 0x06, 0xFFFFFFFF, kBlack, -1},
        {"white is the last of the large table", 0x02, kWhite, kBlack, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        RecentColoursScope recent({});
        Open(c.style, c.current, c.automatic);
        EXPECT_EQ(c.selected, popup->GetCurSel());
        for (int i = 0; i < popup->m_listCells.GetCount(); ++i)
            EXPECT_EQ(i == c.selected, popup->GetCellAt(i)->bSelected != 0) << "cell " << i;
        popup->DestroyWindow();
    }
}

TEST_F(ColourPopupTest, CellsCarryTheirTextsColoursAndNames)
{
    RecentColoursScope recent({RGB(9, 9, 9), kRed});
    Open(0x07, kRed, kBlack);
    QZ_COLOR_CELL* first = popup->GetCellAt(0);
    EXPECT_STREQ("No Fill", first->szText);
    EXPECT_EQ(static_cast<UINT>(IDS_QZ_NO_COLOR), first->nTipID);
    QZ_COLOR_CELL* red = popup->GetCellAt(17);
    EXPECT_EQ(kRed, red->color);
    EXPECT_EQ(static_cast<DWORD>(QZ_CELL_COLOR), red->dwKind);
    CString tip;
    popup->m_wndToolTip.GetText(tip, popup.get(), 17 + 1);
    EXPECT_STREQ("Red", tip);
    // The recent row: the red there is marked too, but the grid's red stays current.
    EXPECT_EQ(RGB(9, 9, 9), popup->GetCellAt(41)->color);
    EXPECT_TRUE(popup->GetCellAt(42)->bSelected);
    EXPECT_EQ(17, popup->GetCurSel());
    QZ_COLOR_CELL* more = popup->GetCellAt(43);
    EXPECT_STREQ("More Colors...", more->szText);
    EXPECT_EQ(static_cast<DWORD>(QZ_CELL_MORECOLORS), more->dwKind);
    EXPECT_FALSE(more->bSelected);
    // Grid cells are 18 pixels apart, eight to a row, below the first cell.
    EXPECT_EQ(CRect(4 + 18, 28 + 2 * 18, 4 + 36, 28 + 3 * 18), CRect(popup->GetCellAt(18)->rect));
}

TEST_F(ColourPopupTest, KeyboardWalksTheCellsAndWrapsWithoutMoreColours)
{
    // Without "More Colors...", right from the last colour wraps to the first cell
    // instead of reaching a position without a cell.
    Open(0x02, kWhite, kBlack);
    ASSERT_EQ(40, popup->GetCurSel());
    Key(VK_RIGHT);
    ASSERT_EQ(0, popup->GetCurSel());
    Key(VK_LEFT);
    ASSERT_EQ(40, popup->GetCurSel());
    Key(VK_UP);
    Key(VK_LEFT);
    ASSERT_EQ(31, popup->GetCurSel());
    Key(VK_RETURN);
    PumpPending();
    EXPECT_EQ((std::vector<Received>{Message(WM_QZ_COLORDROPDOWN, kWhite),
                                     Message(WM_QZ_COLORCHANGED, kQZLargeColors[30].color),
                                     Message(WM_QZ_COLORCLOSEUP, kWhite)}),
              parent.received);
    EXPECT_FALSE(::IsWindow(popup->m_hWnd));
}

TEST_F(ColourPopupTest, ReturnWithoutASelectedCellChoosesNothing)
{
    Open(0x02, kOffTable, kBlack);
    ASSERT_EQ(-1, popup->GetCurSel());
    Key(VK_RETURN);
    Key(VK_SPACE);
    PumpPending();
    EXPECT_TRUE(::IsWindow(popup->m_hWnd)) << "still open";
    EXPECT_EQ(std::vector<UINT>{WM_QZ_COLORDROPDOWN}, parent.Messages());
    Key(VK_DOWN);
    EXPECT_EQ(0, popup->GetCurSel());
}

TEST_F(ColourPopupTest, MousePicksTheCellUnderIt)
{
    Open(0x06, kRed, kBlack);
    const CPoint lime = CentreOf(19);
    popup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(lime.x, lime.y));
    EXPECT_EQ(19, popup->GetCurSel()) << "the cell under the mouse is hot";
    // Between cells nothing changes.
    popup->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 60));
    EXPECT_EQ(19, popup->GetCurSel());
    Click(CentreOf(3));
    PumpPending();
    EXPECT_EQ((std::vector<Received>{Message(WM_QZ_COLORDROPDOWN, kRed),
                                     Message(WM_QZ_COLORCHANGED, RGB(51, 51, 0)),
                                     Message(WM_QZ_COLORCLOSEUP, kRed)}),
              parent.received);
}

TEST_F(ColourPopupTest, ChoosingTheCurrentColourAgainReportsItUnchanged)
{
    Open(0x06, kRed, kBlack);
    Click(CentreOf(17));
    PumpPending();
    EXPECT_EQ((std::vector<Received>{Message(WM_QZ_COLORDROPDOWN, kRed), Message(WM_QZ_COLORUNCHANGED, kRed),
                                     Message(WM_QZ_COLORCLOSEUP, kRed)}),
              parent.received);
}

TEST_F(ColourPopupTest, FirstCellGivesTheAutomaticColourOrNoFill)
{
    struct Case {
        const char* why;
        DWORD style;
        COLORREF current;
        Received result;
    };
    const Case cases[] = {
        {"Automatic with another colour current", 0x06, kRed, Message(WM_QZ_COLORCHANGED, RGB(0, 0, 128))},
        {"Automatic when it is current", 0x06, RGB(0, 0, 128), Message(WM_QZ_COLORUNCHANGED, RGB(0, 0, 128))},
        {"No Fill", 0x07, kRed, Message(WM_QZ_COLORNOFILL, 0xFFFFFFFF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        parent.received.clear();
        Open(c.style, c.current, RGB(0, 0, 128));
        Click(CentreOf(0));
        PumpPending();
        ASSERT_EQ(3u, parent.received.size());
        EXPECT_EQ(c.result, parent.received[1]);
        EXPECT_EQ(WM_QZ_COLORCLOSEUP, parent.received[2].message);
    }
}

TEST_F(ColourPopupTest, EveryWayOfCancellingSendsOneResultBeforeClosing)
{
    struct Case {
        const char* why;
        std::function<void(ColourPopupTest&)> act;
        std::vector<UINT> messages;
    };
    const std::vector<UINT> cancelled = {WM_QZ_COLORDROPDOWN, WM_QZ_COLORCANCEL, WM_QZ_COLORCLOSEUP};
    const Case cases[] = {
        {"Escape through the message loop",
         [](ColourPopupTest& t) { t.popup->PostMessage(WM_KEYDOWN, VK_ESCAPE, 1); },
         cancelled},
        {"Escape sent straight to the popup", [](ColourPopupTest& t) { t.Key(VK_ESCAPE); }, cancelled},
        {"a click outside", [](ColourPopupTest& t) { t.Click(CPoint(-20, -5)); }, cancelled},
        {"a click outside, then Escape and a click inside before the close",
         [](ColourPopupTest& t) {
             t.Click(CPoint(-20, -5));
             t.Key(VK_ESCAPE);
             t.Click(t.CentreOf(5));
         },
         cancelled},
        {"the application loses activation", [](ColourPopupTest& t) { t.popup->SendMessage(WM_ACTIVATEAPP, FALSE); },
         cancelled},
        {"the popup loses activation: closed without a result",
         [](ColourPopupTest& t) { t.popup->SendMessage(WM_ACTIVATE, WA_INACTIVE); },
         {WM_QZ_COLORDROPDOWN, WM_QZ_COLORCLOSEUP}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        parent.received.clear();
        Open(0x06, kRed, kBlack);
        c.act(*this);
        PumpTranslated();
        EXPECT_EQ(c.messages, parent.Messages());
        EXPECT_FALSE(::IsWindow(popup->m_hWnd));
        for (const Received& r : parent.received)
            EXPECT_EQ(kRed, r.wParam) << "the current colour";
    }
}

TEST_F(ColourPopupTest, ResultGoesToEveryNotifyWindowStillThere)
{
    RecordingWnd listener;
    RecordingWnd gone;
    ASSERT_TRUE(listener.Make(0, 0, 50, 50));
    ASSERT_TRUE(gone.Make(0, 0, 50, 50));
    Open(0x06, kRed, kBlack);
    popup->AddNotifyWindow(listener.m_hWnd);
    popup->AddNotifyWindow(gone.m_hWnd);
    gone.DestroyWindow();
    Click(CentreOf(1));
    PumpPending();
    // Only the parent hears of the opening and the closing.
    EXPECT_EQ((std::vector<Received>{Message(WM_QZ_COLORCHANGED, kBlack)}), listener.received);
    EXPECT_EQ(3u, parent.received.size());
    listener.DestroyWindow();
}

TEST_F(ColourPopupTest, TakesTheCaptureBackWhileOpen)
{
    Open(0x06, kRed, kBlack);
    EXPECT_EQ(popup->m_hWnd, ::GetCapture());
    ::ReleaseCapture();
    MSG msg = {popup->m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5)};
    popup->PreTranslateMessage(&msg);
    EXPECT_EQ(popup->m_hWnd, ::GetCapture());
    Key(VK_ESCAPE);
    EXPECT_EQ(nullptr, ::GetCapture()) << "released once the selection ended";
    popup->PreTranslateMessage(&msg);
    EXPECT_EQ(nullptr, ::GetCapture()) << "and not taken again";
}

TEST_F(ColourPopupTest, SelfDeletingPopupIsGoneAfterItsWindow)
{
    static int s_deleted = 0;
    struct CountingPopup : CQZColorPopup {
        CountingPopup() : CQZColorPopup(TRUE, 0) { m_bShadow = FALSE; }
        ~CountingPopup() override { ++s_deleted; }
    };
    s_deleted = 0;
    auto* counting = new CountingPopup;
    ASSERT_TRUE(counting->Create(&kOpener, &parent, 0x06, kRed, kBlack));
    counting->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(0, s_deleted) << "alive until the posted close";
    PumpPending();
    EXPECT_EQ(1, s_deleted);
}

TEST_F(ColourPopupTest, CellsAreDrawnWithTheirColoursAndTheSelection)
{
    Open(0x06, kRed, RGB(0, 0, 128));
    CRect client;
    popup->GetClientRect(&client);
    PaperCanvas canvas(client.Width(), client.Height());
    CDC dc;
    dc.Attach(canvas.get());
    dc.FillSolidRect(&client, qzAfxData.colorFace);
    popup->DrawCells(&dc);
    dc.Detach();

    const CRect lime(popup->GetCellAt(19)->rect);
    const CRect red(popup->GetCellAt(17)->rect);
    const CRect automatic(popup->GetCellAt(0)->rect);
    test_support::ExpectPixels(
        canvas, {
                    {"a colour cell is filled with its colour", lime.CenterPoint().x, lime.CenterPoint().y,
                     RGB(153, 204, 0)},
                    {"its swatch is framed in the shadow colour", lime.left + 3, lime.top + 3, qzAfxData.colorShadow},
                    {"the selected cell is sunken", red.left, red.top, qzAfxData.colorShadow},
                    {"and its border's far side is the highlight", red.right - 1, red.bottom - 1,
                     qzAfxData.colorHilite},
                    {"the automatic swatch shows the automatic colour", automatic.left + 8, automatic.top + 9,
                     RGB(0, 0, 128)},
                });
}

TEST_F(ColourPopupTest, XPLookHasAOnePixelFrameAndCellsMovedByTheEdge)
{
    qzAfxData.xpLook = 1;
    Open(0x06, kRed, kBlack);
    EXPECT_FALSE(popup->GetStyle() & WS_DLGFRAME);
    CRect window, client;
    popup->GetWindowRect(&window);
    popup->GetClientRect(&client);
    EXPECT_EQ(window.Width() - 2, client.Width());
    EXPECT_EQ(window.Height() - 2, client.Height());
    const int cx = ::GetSystemMetrics(SM_CXEDGE);
    const int cy = ::GetSystemMetrics(SM_CYEDGE);
    EXPECT_EQ(CRect(4 + cx, 1 + cy, 148 + cx, 24 + cy), CRect(popup->GetCellAt(0)->rect));
    EXPECT_EQ(CRect(4 + cx, 28 + cy, 22 + cx, 46 + cy), CRect(popup->GetCellAt(1)->rect));
}
