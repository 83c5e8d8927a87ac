// How a toolkit bar looks: its inside rectangle, the border lines in both looks and in
// a rebar, and the gripper (single, double, XP dashes) across and down.
#include "control_bar_test_support.h"

#include "toolkit/foundation/QZAuxData.h"

using namespace toolkit_test;

namespace {

// Sets the XP look for one test and puts the old one back.
class LookScope {
public:
    explicit LookScope(int xpLook) : m_saved(qzAfxData.xpLook) { qzAfxData.xpLook = xpLook; }
    ~LookScope() { qzAfxData.xpLook = m_saved; }

private:
    int m_saved;
};

constexpr COLORREF kSentinel = RGB(1, 2, 3);

} // namespace

TEST(CQZControlBarLayout, InsideRectangleByBordersOrientationGripperAndFloating)
{
    struct Case {
        const char* why;
        DWORD style;
        BOOL horizontal;
        CRect expected;
    };
    const DWORD all = CBRS_BORDER_ANY;
    const Case cases[] = {
        {"no borders: the margins only", 0, TRUE, CRect(6, 1, 94, 29)},
        {"all borders and a gripper", all | CBRS_GRIPPER, TRUE, CRect(15, 3, 92, 27)},
        {"vertical: margins turn, gripper on top", all | CBRS_GRIPPER, FALSE, CRect(3, 15, 97, 22)},
        {"floating: no room for a gripper", all | CBRS_GRIPPER | CBRS_FLOATING, TRUE, CRect(8, 3, 92, 27)},
        {"left and bottom borders only", CBRS_BORDER_LEFT | CBRS_BORDER_BOTTOM, TRUE, CRect(8, 1, 94, 27)},
        {"the 3-D bit takes no room of its own", CBRS_BORDER_3D, TRUE, CRect(6, 1, 94, 29)},
    };
    PlainToolkitBar bar;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        bar.m_dwStyle = c.style;
        CRect rect(0, 0, 100, 30);
        bar.CalcInsideRect(rect, c.horizontal);
        EXPECT_EQ(c.expected, rect);
    }
}

namespace {

// The outer frame of a 20 x 10 bar after its borders are drawn, by where a pixel lies.
struct FrameColours {
    COLORREF top;
    COLORREF left;
    COLORREF right;
    COLORREF bottom;
};

FrameColours DrawnFrame(PlainToolkitBar& bar, CRect& rect)
{
    PaperCanvas canvas(20, 10);
    canvas.m_dc.FillSolidRect(0, 0, 20, 10, kSentinel);
    rect = CRect(0, 0, 20, 10);
    bar.DrawBorders(&canvas.m_dc, rect);
    return {canvas.At(10, 0), canvas.At(0, 5), canvas.At(19, 5), canvas.At(10, 9)};
}

} // namespace

TEST(CQZControlBarDraw, BorderLinesByLookAndBits)
{
    const COLORREF face = qzAfxData.colorFace;
    const COLORREF dark = qzAfxData.colorShadow;
    const COLORREF light = qzAfxData.colorHilite;
    struct Case {
        const char* why;
        int xpLook;
        DWORD style;
        bool inReBar;
        FrameColours expected;
        CRect inside;
    };
    const DWORD all = CBRS_BORDER_ANY;
    const Case cases[] = {
        {"classic 3-D: raised, light top-left, dark bottom-right", 0, all | CBRS_BORDER_3D, false,
         {light, light, dark, dark}, CRect(1, 1, 19, 9)},
        {"classic flat bits: the same raised frame", 0, all, false, {light, light, dark, dark}, CRect(1, 1, 19, 9)},
        {"XP: all in the face colour", 1, all | CBRS_BORDER_3D, false, {face, face, face, face}, CRect(1, 1, 19, 9)},
        {"bottom border only", 0, CBRS_BORDER_BOTTOM, false, {kSentinel, kSentinel, kSentinel, dark},
         CRect(0, 0, 20, 9)},
        {"no border bit: nothing", 0, CBRS_BORDER_3D, false, {kSentinel, kSentinel, kSentinel, kSentinel},
         CRect(0, 0, 20, 10)},
        {"in a rebar: dark lines only, shrunk by the two-pixel border", 0, all, true, {dark, dark, dark, dark},
         CRect(2, 2, 18, 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        LookScope look(c.xpLook);
        PlainToolkitBar bar;
        bar.m_dwStyle = c.style;
        bar.m_bInReBar = c.inReBar;
        CRect rect;
        const FrameColours frame = DrawnFrame(bar, rect);
        EXPECT_EQ(c.expected.top, frame.top);
        EXPECT_EQ(c.expected.left, frame.left);
        EXPECT_EQ(c.expected.right, frame.right);
        EXPECT_EQ(c.expected.bottom, frame.bottom);
        EXPECT_EQ(c.inside, rect);
    }
}

TEST(CQZControlBarDraw, ReBarKeepsTheClassicColoursInTheXPLook)
{
    LookScope look(1);
    TestReBar bar;
    bar.m_dwStyle = CBRS_BORDER_ANY;
    PaperCanvas canvas(20, 10);
    CRect rect(0, 0, 20, 10);
    bar.DrawBorders(&canvas.m_dc, rect);
    EXPECT_EQ(qzAfxData.colorShadow, canvas.At(19, 5));
    EXPECT_EQ(qzAfxData.colorHilite, canvas.At(0, 5));
}

TEST(CQZControlBarDraw, GripperAcrossAHorizontalBar)
{
    const COLORREF light = qzAfxData.colorHilite;
    const COLORREF dark = qzAfxData.colorShadow;
    struct Pixel {
        int x;
        int y;
        COLORREF colour;
    };
    struct Case {
        const char* why;
        int xpLook;
        DWORD styleEx;
        std::vector<Pixel> pixels;
    };
    const Case cases[] = {
        {"classic: one raised bar inside the top and bottom margins", 0, 0x23,
         {{2, 3, light}, {3, 3, light}, {2, 15, light}, {4, 3, dark}, {2, 16, dark}, {4, 16, dark},
          {3, 8, kSentinel}, {2, 2, kSentinel}, {2, 17, kSentinel}, {5, 8, kSentinel}}},
        {"double gripper: two bars 3 apart, each with a light foot", 0, 0x23 | QZ_BARSTYLE_DOUBLE_GRIPPER,
         {{2, 2, light}, {5, 2, light}, {4, 10, dark}, {7, 10, dark}, {2, 17, light}, {5, 17, light},
          {3, 10, kSentinel}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        LookScope look(c.xpLook);
        PlainToolkitBar bar;
        bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_GRIPPER;
        bar.m_dwStyleEx = c.styleEx;
        PaperCanvas canvas(40, 20);
        canvas.m_dc.FillSolidRect(0, 0, 40, 20, kSentinel);
        bar.DrawGripper(&canvas.m_dc, CRect(0, 0, 40, 20));
        for (const Pixel& p : c.pixels) {
            SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
            EXPECT_EQ(p.colour, canvas.At(p.x, p.y));
        }
    }
}

TEST(CQZControlBarDraw, XPGripperOfAHorizontalBar20HighHasSixDashes)
{
    LookScope look(1);
    PlainToolkitBar bar;
    bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_GRIPPER;
    PaperCanvas canvas(40, 30);
    canvas.m_dc.FillSolidRect(0, 0, 40, 30, kSentinel);
    bar.DrawGripper(&canvas.m_dc, CRect(0, 5, 40, 25));
    std::vector<int> dashRows;
    for (int y = 0; y < 30; ++y) {
        if (canvas.At(3, y) == qzAfxData.colorXPGripper) {
            dashRows.push_back(y);
            EXPECT_EQ(qzAfxData.colorXPGripper, canvas.At(2, y));
            EXPECT_EQ(qzAfxData.colorXPGripper, canvas.At(4, y));
            EXPECT_EQ(kSentinel, canvas.At(5, y)) << "three pixels long";
        }
    }
    EXPECT_EQ((std::vector<int>{9, 11, 13, 15, 17, 19}), dashRows) << "top + 4, 6, ..., 14";
}

TEST(CQZControlBarDraw, GripperDownAVerticalBarAndNoneWhenFloating)
{
    const COLORREF light = qzAfxData.colorHilite;
    PlainToolkitBar bar;
    bar.m_dwStyle = CBRS_ALIGN_LEFT | CBRS_GRIPPER;
    PaperCanvas canvas(20, 40);
    canvas.m_dc.FillSolidRect(0, 0, 20, 40, kSentinel);
    bar.DrawGripper(&canvas.m_dc, CRect(0, 0, 20, 40));
    EXPECT_EQ(light, canvas.At(3, 2)) << "left + top border + 2";
    EXPECT_EQ(kSentinel, canvas.At(2, 2));
    EXPECT_EQ(qzAfxData.colorShadow, canvas.At(16, 4)) << "width 20 - 1 - 1 - 4";
    EXPECT_EQ(kSentinel, canvas.At(17, 4));

    bar.m_dwStyle |= CBRS_FLOATING;
    canvas.m_dc.FillSolidRect(0, 0, 20, 40, kSentinel);
    bar.DrawGripper(&canvas.m_dc, CRect(0, 0, 20, 40));
    EXPECT_EQ(20 * 40, canvas.Count(CRect(0, 0, 20, 40), kSentinel));
}

TEST(CQZControlBarDraw, NonClientPaintFillsTheBackAndDrawsBordersAndGripper)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr));
    for (int xpLook : {0, 1}) {
        SCOPED_TRACE(xpLook ? "XP" : "classic");
        LookScope look(xpLook);
        PlainToolkitBar bar;
        ASSERT_TRUE(bar.CreateBar(&parent, CBRS_ALIGN_TOP | CBRS_BORDER_ANY | CBRS_GRIPPER, 100));
        bar.MoveWindow(0, 0, 60, 24);
        PaperCanvas canvas(60, 24);
        bar.PaintNonClient(&canvas.m_dc);
        const COLORREF back = bar.GetBackColor();
        EXPECT_EQ(xpLook ? qzAfxData.colorXPBarFace : qzAfxData.colorFace, back);
        EXPECT_EQ(back, canvas.At(40, 12)) << "the inside takes the back colour";
        EXPECT_EQ(xpLook ? qzAfxData.colorFace : qzAfxData.colorShadow, canvas.At(59, 12));
        const COLORREF gripper = xpLook ? qzAfxData.colorXPGripper : qzAfxData.colorHilite;
        EXPECT_EQ(gripper, canvas.At(3, 5)) << "the gripper inside the border";
        bar.DestroyWindow();
    }
    parent.DestroyWindow();
}
