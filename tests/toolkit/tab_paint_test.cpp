// How the toolkit's tab control looks: in the XP look its band, raised selected tab,
// separators and page frame for tabs on each side, read back from a canvas the control
// prints into; the page rectangle for one and two rows; text padding measured with the
// toolkit's fonts; and in the classic look the control's own picture, off screen and
// never background-erased.
#include "tab_test_support.h"

using namespace toolkit_test;

namespace {

class TabPaintTest : public TabTest {
protected:
    // The tab's picture as WM_PRINTCLIENT gives it.
    void Print(CWnd& tab, PaperCanvas& canvas)
    {
        tab.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.get()), PRF_CLIENT);
    }
};

} // namespace

TEST_F(TabPaintTest, XPLookWithoutItemsPaintsOnlyTheFace)
{
    TabColourScope colours(1);
    CQZTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 160, 100), &parent, kTabId));
    PaperCanvas canvas(160, 100);
    Print(tab, canvas);
    EXPECT_EQ(160 * 100, canvas.Count(CRect(0, 0, 160, 100), qzAfxData.colorFace));
}

TEST_F(TabPaintTest, XPLookPaintsBandRaisedTabAndPageFrameOnEverySide)
{
    TabColourScope colours(1);
    const CRect area(0, 0, 240, 240);
    struct Case {
        const char* why;
        DWORD style;
        CPoint bandCorner;  // a corner of the band no tab reaches
    };
    const Case cases[] = {
        {"top", 0, CPoint(area.right - 1, 0)},
        {"bottom", TCS_BOTTOM, CPoint(area.right - 1, area.bottom - 1)},
        {"left", TCS_VERTICAL | TCS_MULTILINE, CPoint(0, area.bottom - 1)},
        {"right", TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, CPoint(area.right - 1, area.bottom - 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZTabCtrl tab;
        ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE | c.style, area, &parent, kTabId));
        for (const char* label : {"One", "Two", "Three"})
            tab.InsertItem(tab.GetItemCount(), label);
        tab.SetCurSel(1);
        PaperCanvas canvas(area.Width(), area.Height());
        Print(tab, canvas);
        CRect selected;
        ASSERT_TRUE(tab.GetItemRect(1, &selected));
        CRect page;
        tab.GetPageRect(page);
        ASSERT_FALSE(page.IsRectEmpty());
        test_support::ExpectPixels(canvas, {
            {"the band beyond the tabs", c.bandCorner.x, c.bandCorner.y, qzAfxData.colorFaceLighter},
            {"the raised tab in the face colour", selected.left + 2, selected.top + 2, qzAfxData.colorFace},
            {"the page frame", page.left - 1, page.CenterPoint().y, qzAfxData.colorShadow},
            {"the page itself", page.left + 1, page.CenterPoint().y, qzAfxData.colorFace},
        });
        tab.DestroyWindow();
    }
}

TEST_F(TabPaintTest, NoSeparatorTouchesTheRaisedTab)
{
    TabColourScope colours(1);
    CQZTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 100), &parent, kTabId));
    for (const char* label : {"Alpha", "Beta", "Gamma", "Delta"})
        tab.InsertItem(tab.GetItemCount(), label);
    struct Case {
        int selected;
        std::vector<bool> separators;  // at the right edge of each item
    };
    const Case cases[] = {
        {0, {false, true, true, true}},
        {1, {false, false, true, true}},
        {2, {true, false, false, true}},
        {3, {true, true, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("selected " + std::to_string(c.selected));
        tab.SetCurSel(c.selected);
        PaperCanvas canvas(400, 100);
        Print(tab, canvas);
        for (int i = 0; i < 4; ++i) {
            CRect item;
            ASSERT_TRUE(tab.GetItemRect(i, &item));
            const bool drawn = canvas.At(item.right, item.top + 4) == qzAfxData.colorXPBorder &&
                               canvas.At(item.right, item.bottom - 3) == qzAfxData.colorXPBorder;
            EXPECT_EQ(c.separators[i], drawn) << "item " << i;
        }
    }
}

TEST_F(TabPaintTest, PageRectLeavesTheTabRowsOnTheirSide)
{
    const CRect area(0, 0, 200, 200);
    struct Case {
        const char* why;
        DWORD style;
        const char* label;
        bool severalRows;
    };
    // Two short labels take one row; six long ones in a multi-line control take several.
    const Case cases[] = {
        {"top, one row", TCS_MULTILINE, "One", false},
        {"top, rows", TCS_MULTILINE, "A rather long label", true},
        {"bottom, one row", TCS_MULTILINE | TCS_BOTTOM, "One", false},
        {"bottom, rows", TCS_MULTILINE | TCS_BOTTOM, "A rather long label", true},
        {"left, one row", TCS_MULTILINE | TCS_VERTICAL, "One", false},
        {"left, rows", TCS_MULTILINE | TCS_VERTICAL, "A rather long label", true},
        {"right, one row", TCS_MULTILINE | TCS_VERTICAL | TCS_RIGHT, "One", false},
        {"right, rows", TCS_MULTILINE | TCS_VERTICAL | TCS_RIGHT, "A rather long label", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZTabCtrl tab;
        ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE | c.style, area, &parent, kTabId));
        CRect page;
        tab.GetPageRect(page);
        EXPECT_TRUE(page.IsRectEmpty()) << "no selected tab, no page";
        for (int i = 0; i < (c.severalRows ? 6 : 2); ++i)
            tab.InsertItem(i, c.label);
        tab.SetCurSel(0);
        const int rows = tab.GetRowCount();
        EXPECT_EQ(c.severalRows, rows > 1);
        CRect selected;
        ASSERT_TRUE(tab.GetItemRect(0, &selected));
        tab.GetPageRect(page);
        const int tabsHigh = rows * selected.Height() + 5;
        const int tabsWide = rows * selected.Width() + 5;
        CRect expected(3, 3, area.right - 3, area.bottom - 3);
        // TCS_RIGHT and TCS_BOTTOM are one bit: TCS_VERTICAL tells them apart.
        if (!(c.style & TCS_VERTICAL)) {
            if (c.style & TCS_BOTTOM)
                expected.bottom = area.bottom - tabsHigh;
            else
                expected.top = tabsHigh;
        } else if (c.style & TCS_RIGHT) {
            expected.right = area.right - tabsWide;
        } else {
            expected.left = tabsWide;
        }
        SCOPED_TRACE(testing::Message() << "page " << page.left << "," << page.top << "," << page.right << ","
                                        << page.bottom);
        EXPECT_EQ(expected, page);
        tab.DestroyWindow();
    }
}

TEST_F(TabPaintTest, PaddingAlternatesFrontAndEndUntilTheBoldWidthIsReached)
{
    CQZTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 40), &parent, kTabId));
    CString empty;
    tab.PadTabText(empty);
    EXPECT_TRUE(empty.IsEmpty());

    const CString original = "Wmw";
    CString padded = original;
    tab.PadTabText(padded);
    // Measured as the control's orientation asks: a top tab control with the rotated fonts.
    CClientDC dc(nullptr);
    const int saved = dc.SaveDC();
    dc.SelectObject(&qzAfxData.fontVertBold);
    const int boldWidth = dc.GetTextExtent(original).cx;
    dc.SelectObject(&qzAfxData.fontVert);
    ASSERT_LT(dc.GetTextExtent(original).cx, boldWidth) << "the fonts must differ for this test";
    const int front = padded.Find("Wmw");
    ASSERT_GE(front, 0);
    const int end = padded.GetLength() - front - original.GetLength();
    EXPECT_GT(front, 0);
    EXPECT_TRUE(front == end || front == end + 1) << "alternating, the front first";
    EXPECT_GE(dc.GetTextExtent(padded).cx, boldWidth);
    // One space fewer (the last added) would still be narrower than bold.
    const CString oneLess = front > end ? padded.Mid(1) : padded.Left(padded.GetLength() - 1);
    EXPECT_LT(dc.GetTextExtent(oneLess).cx, boldWidth);
    dc.RestoreDC(saved);
}

TEST_F(TabPaintTest, ClassicLookIsTheControlsOwnPictureAndNothingIsErased)
{
    TabColourScope colours(0);
    const CRect area(0, 0, 220, 120);
    CQZTabCtrl tab;
    CTabCtrl plain;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, area, &parent, kTabId));
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE, area, &parent, kTabId + 1));
    for (CTabCtrl* control : {static_cast<CTabCtrl*>(&tab), &plain}) {
        control->SetFont(&qzAfxData.fontCaption);
        for (const char* label : {"One", "Two", "Three"})
            control->InsertItem(control->GetItemCount(), label);
        control->SetCurSel(1);
    }
    PaperCanvas toolkit(area.Width(), area.Height());
    Print(tab, toolkit);
    // The control paints no background of its own: the off-screen bitmap starts in the face colour.
    PaperCanvas own(area.Width(), area.Height());
    own.m_dc.FillSolidRect(&area, qzAfxData.colorFace);
    Print(plain, own);
    int differences = 0;
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x)
            differences += toolkit.At(x, y) != own.At(x, y) ? 1 : 0;
    EXPECT_EQ(0, differences);
    EXPECT_GT(toolkit.Count(area, qzAfxData.colorFace), 0);

    PaperCanvas erased(area.Width(), area.Height());
    EXPECT_TRUE(tab.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.get())));
    EXPECT_EQ(area.Width() * area.Height(), erased.Count(area, test_support::kPaper)) << "erasing leaves everything";
}
