// Off-screen drawing: the image lands on exactly its rectangle, an empty rectangle means
// the clip box, a context without its memory DC draws nothing, and the mapping mode goes along.
#include "toolkit/foundation/QZMemDC.h"

#include "toolkit_test_support.h"

using toolkit_test::PaperCanvas;

namespace {
constexpr COLORREF kInk = RGB(10, 120, 230);
constexpr COLORREF kBackground = RGB(200, 30, 40);
} // namespace

TEST(CQZMemDC, CopiesBackExactlyItsRectangleWithItsOriginAtTheTopLeft)
{
    PaperCanvas canvas(40, 30);
    {
        CQZMemDC mem(&canvas.m_dc, CRect(10, 5, 30, 20), kBackground);
        ASSERT_EQ(1, mem.m_bValid);
        // Nothing reaches the target before the context goes.
        EXPECT_EQ(test_support::kPaper, canvas.At(10, 5));
        mem.SetPixel(0, 0, kInk);
        mem.SetPixel(19, 14, kInk);
    }
    EXPECT_EQ(kInk, canvas.At(10, 5));
    EXPECT_EQ(kInk, canvas.At(29, 19));
    EXPECT_EQ(20 * 15 - 2, canvas.Count(CRect(10, 5, 30, 20), kBackground));
    // Not a pixel outside the rectangle.
    EXPECT_EQ(40 * 30 - 20 * 15, canvas.Count(CRect(0, 0, 40, 30), test_support::kPaper));
}

TEST(CQZMemDC, UnfilledBackgroundKeepsWhatTheBitmapHeld)
{
    PaperCanvas canvas(20, 20);
    {
        CQZMemDC mem(&canvas.m_dc, CRect(0, 0, 20, 20), 0xFFFFFFFF);
        ASSERT_EQ(1, mem.m_bValid);
        mem.FillSolidRect(0, 0, 20, 20, kInk);
        mem.FillSolidRect(5, 5, 2, 2, kBackground);
    }
    EXPECT_EQ(kBackground, canvas.At(5, 5));
    EXPECT_EQ(kInk, canvas.At(4, 4));
}

TEST(CQZMemDC, EmptyRectangleCoversTheTargetsClipBox)
{
    PaperCanvas canvas(40, 30);
    canvas.m_dc.IntersectClipRect(8, 6, 18, 16);
    {
        CQZMemDC mem(&canvas.m_dc, CRect(0, 0, 0, 0), kBackground);
        EXPECT_EQ(CRect(8, 6, 18, 16), mem.m_rect);
    }
    canvas.m_dc.SelectClipRgn(nullptr);
    EXPECT_EQ(10 * 10, canvas.Count(CRect(0, 0, 40, 30), kBackground));
    EXPECT_EQ(kBackground, canvas.At(8, 6));
}

TEST(CQZMemDC, WithoutAMemoryDcNothingIsDrawnOrCopied)
{
    PaperCanvas canvas(20, 20);
    // A target whose DC has gone: no memory DC can be made compatible with it.
    CDC gone;
    HDC dead = CreateCompatibleDC(nullptr);
    DeleteDC(dead);
    gone.m_hDC = gone.m_hAttribDC = dead;
    {
        CQZMemDC mem(&gone, CRect(0, 0, 10, 10), kBackground);
        EXPECT_EQ(0, mem.m_bValid);
        EXPECT_EQ(nullptr, mem.m_hDC);
        mem.FillSolidRect(0, 0, 10, 10, kInk);
    }
    gone.m_hDC = gone.m_hAttribDC = nullptr;
    EXPECT_EQ(20 * 20, canvas.Count(CRect(0, 0, 20, 20), test_support::kPaper));
}

TEST(CQZMemDC, ClearedValidFlagKeepsTheImageToItself)
{
    PaperCanvas canvas(20, 20);
    {
        CQZMemDC mem(&canvas.m_dc, CRect(0, 0, 20, 20), kBackground);
        mem.m_bValid = 0;
    }
    EXPECT_EQ(20 * 20, canvas.Count(CRect(0, 0, 20, 20), test_support::kPaper));
}

TEST(CQZMemDC, TakesTheTargetsMappingMode)
{
    PaperCanvas canvas(20, 20);
    canvas.m_dc.SetMapMode(MM_TWIPS);
    CQZMemDC mem(&canvas.m_dc, CRect(0, 0, 20, 20), 0xFFFFFFFF);
    EXPECT_EQ(MM_TWIPS, mem.GetMapMode());
    mem.m_bValid = 0;
    canvas.m_dc.SetMapMode(MM_TEXT);
}
