// The toolbar's layout: rows and sizes for each side and the floating state around every
// wrap point, the wrap-width search at its limits, what a commit writes back, and the
// buttons hidden behind the chevron when a row is short. Expected sizes come from the
// control's own measures of a button (b by h) and of a separator (s wide).
#include "toolbar_test_support.h"

#include <set>

using namespace toolkit_test;

namespace {

class ToolbarLayoutTest : public ToolbarTest {
protected:
    void Measure()
    {
        b = Item(bar, 0).Width();
        h = Item(bar, 0).Height();
        s = Item(bar, 2).Width();
        W = 4 * b + 2 * s;
        ASSERT_GT(b, 0);
        ASSERT_GT(s, 0);
    }
    // The indices whose records carry the wrap state in the control.
    std::set<int> Wraps()
    {
        std::set<int> wraps;
        for (int i = 0; i < kToolbarCount; ++i) {
            if (ControlButton(bar, i).fsState & TBSTATE_WRAP)
                wraps.insert(i);
        }
        return wraps;
    }
    std::set<int> Hidden()
    {
        std::set<int> hidden;
        for (int i = 0; i < kToolbarCount; ++i) {
            if (ControlButton(bar, i).fsState & TBSTATE_HIDDEN)
                hidden.insert(i);
        }
        return hidden;
    }
    CWnd* Chevron() { return bar.GetDlgItem(ID_QZ_CUSTOMIZE_TOOLBAR); }
    CRect ChevronRect()
    {
        CRect rect;
        Chevron()->GetWindowRect(&rect);
        bar.ScreenToClient(&rect);
        return rect;
    }

    int b = 0;
    int h = 0;
    int s = 0;
    int W = 0;
};

} // namespace

TEST_F(ToolbarLayoutTest, FloatingRowsAroundEachWrapPoint)
{
    CreateToolBar(bar, frame, CBRS_ALIGN_TOP | CBRS_FLOATING | CBRS_SIZE_DYNAMIC);
    Measure();
    // Floating and horizontal: 6 pixels of margin left and right, 3 above and below.
    struct Case {
        const char* why;
        int content;
        std::set<int> wraps;
        CSize size;
    };
    const Case cases[] = {
        {"everything fits in one row", W, {}, CSize(W, h)},
        {"one pixel short: the fewest rows, as narrow as they can be", W - 1, {2}, CSize(2 * b + s, 2 * h + s)},
        {"just wide enough for two rows", 2 * b + s, {2}, CSize(2 * b + s, 2 * h + s)},
        {"one pixel short of two rows", 2 * b + s - 1, {2, 4}, CSize(2 * b, 3 * h + 2 * s)},
        {"just wide enough for three rows", 2 * b, {2, 4}, CSize(2 * b, 3 * h + 2 * s)},
        {"narrower than two buttons: one button a row", 2 * b - 1, {0, 2, 4}, CSize(b, 4 * h + 2 * s)},
        {"nothing at all", 0, {0, 2, 4}, CSize(b, 4 * h + 2 * s)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const CSize size = bar.CalcDynamicLayout(c.content + 12, LM_HORZ | LM_COMMIT);
        EXPECT_EQ(CSize(c.size.cx + 12, c.size.cy + 6), size);
        EXPECT_EQ(c.wraps, Wraps());
        EXPECT_EQ(c.size.cx, bar.m_nMRUWidth) << "a floating bar remembers its width";
    }
    // A drag by height: a length of one row's height gives one row.
    bar.CalcDynamicLayout(h + 6, LM_HORZ | LM_LENGTHY | LM_COMMIT);
    EXPECT_EQ(std::set<int>{}, Wraps());
    // The floating layout of the dock bars asks for the width it had.
    bar.m_nMRUWidth = 2 * b;
    EXPECT_EQ(CSize(2 * b + 12, 3 * h + 2 * s + 6), bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH));
}

TEST_F(ToolbarLayoutTest, DockedTopIsOneRowAndDockedLeftOneColumn)
{
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    Measure();
    EXPECT_EQ(CSize(W + 12, h + 6), bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
    EXPECT_EQ(CSize(32767, h + 6), bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_STRETCH));
    EXPECT_EQ(std::set<int>{}, Wraps()) << "a measure without commit changes nothing";

    // On the left, margins turn with the bar: 3 left and right, 6 above and below.
    bar.SetParent(&dockLeft);
    bar.SetBarStyle(CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC);
    EXPECT_EQ(std::set<int>({0, 2, 4}), Wraps()) << "the style change committed a column";
    EXPECT_EQ(CSize(b + 6, 4 * h + 2 * s + 12), bar.CalcDynamicLayout(-1, LM_VERTDOCK));
    bar.SetParent(&dockTop);
    bar.SetBarStyle(CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    EXPECT_EQ(std::set<int>{}, Wraps());
}

TEST_F(ToolbarLayoutTest, WrapSearchEndsAtTheLimitsOfLength)
{
    CreateToolBar(bar, frame, CBRS_ALIGN_TOP | CBRS_FLOATING | CBRS_SIZE_DYNAMIC);
    Measure();
    const DWORD modes[] = {LM_HORZ, LM_HORZ | LM_LENGTHY};
    const int lengths[] = {0, 1, 32767};
    for (DWORD mode : modes) {
        for (int length : lengths) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " length " << length);
            const CSize size = bar.CalcDynamicLayout(length, mode | LM_COMMIT);
            EXPECT_GE(size.cx, b + 12);
            EXPECT_GE(size.cy, h + 6);
        }
    }
    bar.CalcDynamicLayout(32767, LM_HORZ | LM_COMMIT);
    EXPECT_EQ(std::set<int>{}, Wraps()) << "no limit: one row";
}

TEST_F(ToolbarLayoutTest, ToolbarWithoutButtonsIsItsMargins)
{
    const CRect borders = bar.GetBorders();
    ASSERT_TRUE(bar.CreateEx(&dockTop, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM,
                             borders, AFX_IDW_TOOLBAR));
    EXPECT_EQ(CSize(12, 6 + 2), bar.CalcFixedLayout(FALSE, TRUE)) << "margins and the bottom border";
    EXPECT_EQ(CSize(32767, 8), bar.CalcFixedLayout(TRUE, TRUE));
}

TEST_F(ToolbarLayoutTest, CommitMovesEachChildControlWithItsPlace)
{
    const CRect borders = bar.GetBorders();
    ASSERT_TRUE(bar.CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_FLOATING | CBRS_SIZE_DYNAMIC, borders,
                             AFX_IDW_TOOLBAR));
    constexpr UINT kEditId = 4300;
    const UINT ids[] = {ID_FILE_OPEN, ID_FILE_SAVE, 0, kEditId};
    ASSERT_TRUE(bar.SetButtons(ids, 4));
    TBBUTTON placeholder = {};
    ASSERT_TRUE(bar.GetButton(3, &placeholder));
    placeholder.fsStyle = TBSTYLE_SEP;
    placeholder.iBitmap = 60;
    bar.SetButton(3, &placeholder);
    bar.SetWindowPos(nullptr, 0, 0, 400, 80, SWP_NOZORDER);
    CWnd edit;
    ASSERT_TRUE(edit.Create("EDIT", nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 12), &bar, kEditId));
    const CRect before = Item(bar, 3);
    edit.SetWindowPos(nullptr, before.left + 4, before.top + 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    bar.CalcDynamicLayout(Item(bar, 1).right + 12, LM_HORZ | LM_COMMIT);
    const CRect after = Item(bar, 3);
    ASSERT_NE(before.TopLeft(), after.TopLeft()) << "the place moved to a row of its own";
    CRect window;
    edit.GetWindowRect(&window);
    bar.ScreenToClient(&window);
    EXPECT_EQ(CPoint(after.left + 4, after.top + 2), window.TopLeft());
    edit.DestroyWindow();
}

TEST_F(ToolbarLayoutTest, ShortRowHidesButtonsFromTheEndBehindTheChevron)
{
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    Measure();
    const int full = W + 12;
    EXPECT_EQ(full, bar.HideButtonsToFit(full, full, TRUE));
    EXPECT_FALSE(bar.HasHiddenButtons()) << "a bar that fits is left alone";
    EXPECT_FALSE(Chevron()->IsWindowVisible());

    // One pixel short: hidden from the end until the bar, with the chevron's room, fits
    // 13 pixels less than it is given.
    EXPECT_EQ(full, bar.HideButtonsToFit(full, full - 1, TRUE)) << "the caller keeps the full length";
    const std::set<int> hidden = Hidden();
    ASSERT_FALSE(hidden.empty());
    EXPECT_EQ(5, *hidden.rbegin()) << "the last button goes first";
    EXPECT_LE(bar.CalcFixedLayout(FALSE, TRUE).cx, full - 1 - 13);
    EXPECT_TRUE(bar.HasHiddenButtons());
    EXPECT_EQ(static_cast<int>(hidden.size()), bar.m_mapHiddenButtons.GetCount());
    EXPECT_EQ(CPoint(full - 1 - 12 - 12, 1), ChevronRect().TopLeft()) << "at the end of the room given";

    bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    EXPECT_TRUE(Chevron()->IsWindowVisible()) << "shown by the layout that follows";
    EXPECT_EQ(CSize(12, h - 2), ChevronRect().Size()) << "sized across the row";

    // Room again: the buttons come back in their order, the chevron goes.
    bar.ShowHiddenButtons(bar.CalcFixedLayout(FALSE, TRUE).cx, full + b, TRUE);
    EXPECT_EQ(std::set<int>{}, Hidden());
    EXPECT_FALSE(bar.HasHiddenButtons());
    EXPECT_FALSE(Chevron()->IsWindowVisible());
}

TEST_F(ToolbarLayoutTest, HidingLeavesOneButtonWhichTheChevronNeverCovers)
{
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    Measure();
    bar.HideButtonsToFit(W + 12, 10, TRUE);
    EXPECT_EQ(std::set<int>({1, 2, 3, 4, 5}), Hidden()) << "Open stays, even though it does not fit";
    EXPECT_EQ(CPoint(b, 1), ChevronRect().TopLeft()) << "right of the first button, not over it";

    // Coming back in index order: the first that does not fit stops the others.
    const int forSave = bar.CalcFixedLayout(FALSE, TRUE).cx + b;
    bar.ShowHiddenButtons(b + 25, forSave + 13, TRUE);
    EXPECT_EQ(std::set<int>({2, 3, 4, 5}), Hidden());
    EXPECT_TRUE(Chevron()->IsWindowVisible());

    // With one button left hidden, it may take the chevron's room: Help alone hidden,
    // and a room exactly as long as the whole bar.
    bar.RestoreHiddenButtons();
    TBBUTTON help = {};
    ASSERT_TRUE(bar.GetButton(5, &help));
    help.fsState |= TBSTATE_HIDDEN;
    bar.SetButton(5, &help);
    QZ_HIDDENBUTTON record;
    record.nWidth = b;
    bar.m_mapHiddenButtons.SetAt(5, record);
    EXPECT_EQ(W + 12, bar.ShowHiddenButtons(W + 12 - b, W + 12, TRUE));
    EXPECT_EQ(std::set<int>{}, Hidden()) << "the whole room is there for the last one";
}
