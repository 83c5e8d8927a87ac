// The menu bar's entries drawn into a canvas, in the classic and the XP look: normal, hot,
// open (with the XP shadow), an inactive frame, vertical text, and mnemonic underlines.
#include "menu_test_support.h"

#include "toolkit/foundation/QZAuxData.h"

namespace toolkit_test {
namespace {

constexpr int kEntry = 2;  // "&Edit"

class MenuBarDrawTest : public MenuFrameTest {
protected:
    void SetUp() override
    {
        MenuFrameTest::SetUp();
        SetDrawingColours();
        savedStyle = Bar().m_dwStyle;
        Bar().GetItemRect(&item, Bar().m_arrItems[kEntry]);
    }
    void TearDown() override
    {
        qzAfxData.xpLook = 0;
        Bar().m_dwStyle = savedStyle;
        Bar().m_hPopupMenu = nullptr;
        Bar().m_nCurrentItem = -1;
        Bar().m_bFrameActive = TRUE;
        CQZMenuBar::m_bKeyboardCues = false;
        qzAfxData.UpdateSysColors();
        MenuFrameTest::TearDown();
    }
    CQZMenuBar& Bar() { return frame->m_wndMenuBar; }
    CQZSubMenuBarItem* Entry() { return static_cast<CQZSubMenuBarItem*>(Bar().m_arrItems[kEntry]); }
    // The entry hot, and open when asked, as the bar shows it while tracking.
    void DrawEntry(PaperCanvas& canvas, bool hot, bool open)
    {
        Bar().m_nHotItem = hot ? kEntry : -1;
        Bar().m_hPopupMenu = open ? ::GetSubMenu(Bar().GetMenuHandle(), 1) : nullptr;
        Bar().m_nCurrentItem = open ? kEntry : -1;
        Bar().DrawSubMenuItem(&canvas.m_dc, Entry());
    }
    // The bounding box of the pixels of a colour.
    static CRect Ink(const PaperCanvas& canvas, const CRect& area, COLORREF color)
    {
        CRect box(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (canvas.At(x, y) == color)
                    box = CRect(std::min<int>(box.left, x), std::min<int>(box.top, y), std::max<int>(box.right, x + 1),
                                std::max<int>(box.bottom, y + 1));
            }
        }
        return box;
    }

    DWORD savedStyle = 0;
    CRect item;
};

TEST_F(MenuBarDrawTest, ClassicHotEntryIsRaisedAndAnOpenOneSunken)
{
    struct Case {
        const char* why;
        bool hot;
        bool open;
        COLORREF topLeft;
        COLORREF bottomRight;
    };
    const Case cases[] = {
        {"normal: no edge", false, false, test_support::kPaper, test_support::kPaper},
        {"hot: raised", true, false, kDrawHilite, kDrawShadow},
        {"open: sunken", true, true, kDrawShadow, kDrawHilite},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PaperCanvas canvas(400, 40);
        DrawEntry(canvas, c.hot, c.open);
        EXPECT_EQ(c.topLeft, canvas.At(item.left, item.top));
        EXPECT_EQ(c.bottomRight, canvas.At(item.right - 1, item.bottom - 1));
        EXPECT_GT(canvas.Count(item, kDrawMenuText), 0) << "the text";
    }
}

TEST_F(MenuBarDrawTest, XPOpenEntryLeavesTheEdgeTowardsThePopupOpen)
{
    qzAfxData.xpLook = 1;
    {
        SCOPED_TRACE("hot");
        PaperCanvas canvas(400, 40);
        DrawEntry(canvas, true, false);
        EXPECT_EQ(kDrawSelection, canvas.At(item.left, item.top + 5));
        EXPECT_EQ(kDrawXPHot, canvas.At(item.left + 2, item.top + 2));
    }
    const int midX = item.left + item.Width() / 2;
    {
        SCOPED_TRACE("open, docked at the top: the bottom edge is open");
        PaperCanvas canvas(400, 40);
        DrawEntry(canvas, true, true);
        EXPECT_EQ(kDrawXPBorder, canvas.At(midX, item.top));
        EXPECT_EQ(kDrawXPBorder, canvas.At(item.left, item.top + 5));
        EXPECT_EQ(kDrawXPBarFace, canvas.At(midX, item.bottom - 1));
    }
    {
        SCOPED_TRACE("open, docked at the left: the right edge is open");
        Bar().m_dwStyle = (savedStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_LEFT;
        CRect turned;
        Bar().GetItemRect(&turned, Entry());
        PaperCanvas canvas(400, 400);
        DrawEntry(canvas, true, true);
        const int midY = turned.top + turned.Height() / 2;
        EXPECT_EQ(kDrawXPBorder, canvas.At(turned.left, midY));
        EXPECT_EQ(kDrawXPBarFace, canvas.At(turned.right - 1, midY));
    }
}

TEST_F(MenuBarDrawTest, XPOpenEntryCastsAShadowOnlyWhilePopupShadowsAreOn)
{
    qzAfxData.xpLook = 1;
    CRect client;
    Bar().GetClientRect(&client);
    const int savedShadows = qzAfxData.popupShadows;
    for (int shadows : {1, 0}) {
        SCOPED_TRACE(shadows ? "shadows on" : "shadows off");
        qzAfxData.popupShadows = shadows;
        Bar().m_nHotItem = kEntry;
        Bar().m_nCurrentItem = kEntry;
        Bar().m_hPopupMenu = ::GetSubMenu(Bar().GetMenuHandle(), 1);
        PaperCanvas canvas(client.Width(), client.Height());
        Bar().PaintClient(&canvas.m_dc, CRect(0, 0, client.Width(), client.Height()));
        // Right of the entry lies the face colour, darkened where the shadow falls.
        const COLORREF beside = canvas.At(item.right + 1, item.top + 6);
        EXPECT_EQ(shadows != 0, beside != kDrawFace);
        EXPECT_EQ(kDrawFace, canvas.At(item.right + 6, item.top + 6)) << "the shadow is 4 pixels wide";
    }
    qzAfxData.popupShadows = savedShadows;
}

TEST_F(MenuBarDrawTest, InactiveFrameDrawsGrayTextAndNoHighlight)
{
    Bar().m_bFrameActive = FALSE;
    PaperCanvas canvas(400, 40);
    DrawEntry(canvas, true, false);
    EXPECT_EQ(0, canvas.Count(item, kDrawMenuText));
    EXPECT_GT(canvas.Count(item, kDrawGray), 0);
    EXPECT_EQ(test_support::kPaper, canvas.At(item.left, item.top)) << "no raised edge";
}

TEST_F(MenuBarDrawTest, VerticalTextOfAnOpenClassicEntryShiftsOnePixelRightAndDown)
{
    Bar().m_dwStyle = (savedStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_LEFT;
    CRect turned;
    Bar().GetItemRect(&turned, Entry());
    CRect area = turned;
    area.DeflateRect(2, 2);
    PaperCanvas hot(400, 400);
    DrawEntry(hot, true, false);
    PaperCanvas open(400, 400);
    DrawEntry(open, true, true);
    const CRect hotInk = Ink(hot, area, kDrawMenuText);
    const CRect openInk = Ink(open, area, kDrawMenuText);
    ASSERT_FALSE(hotInk.IsRectEmpty());
    EXPECT_GT(hotInk.Height(), hotInk.Width()) << "the text runs down the bar";
    EXPECT_EQ(hotInk.TopLeft() + CSize(1, 1), openInk.TopLeft());

    Bar().m_dwStyle = savedStyle;
    PaperCanvas horzHot(400, 40);
    DrawEntry(horzHot, true, false);
    PaperCanvas horzOpen(400, 40);
    DrawEntry(horzOpen, true, true);
    CRect inner = item;
    inner.DeflateRect(2, 2);
    EXPECT_EQ(Ink(horzHot, inner, kDrawMenuText), Ink(horzOpen, inner, kDrawMenuText)) << "horizontal text stays";
}

TEST_F(MenuBarDrawTest, MnemonicsWithoutSystemUnderlinesShowOnlyWithKeyboardCues)
{
    auto inked = [&](bool cues, BOOL vertical) {
        CQZMenuBar::m_bKeyboardCues = cues;
        Bar().m_dwStyle = (savedStyle & ~CBRS_ALIGN_ANY) | (vertical ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP);
        CRect rect;
        Bar().GetItemRect(&rect, Entry());
        PaperCanvas canvas(400, 400);
        DrawEntry(canvas, false, false);
        return canvas.Count(rect, kDrawMenuText);
    };
    for (BOOL vertical : {FALSE, TRUE}) {
        SCOPED_TRACE(vertical ? "vertical" : "horizontal");
        Bar().m_bShowUnderlines = FALSE;
        const int plain = inked(false, vertical);
        EXPECT_GT(inked(true, vertical), plain) << "keyboard cues underline the mnemonic";
        Bar().m_bShowUnderlines = TRUE;
        EXPECT_GT(inked(false, vertical), plain) << "the system's setting underlines always";
    }
}

} // namespace
} // namespace toolkit_test
