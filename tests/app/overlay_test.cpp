// The preview's red frame: the result picture's view carried over to the preview's image
// and client area in every display mode, drawn on white in a memory device context, and
// no frame when either picture has nothing to measure.
#include "app/BitmapCtrl.h"

#include "winlib/test_images.h"

#include "framework/paper_canvas.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace overlay_test {
namespace {

using test_images::Plain;
using test_images::SaveImage;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);

class Overlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(imaging::kSuccess, SaveImage(Path("800.bmp"), 800, 600, imaging::kFormatBmp, 72, Plain(kWhite)));
        ASSERT_EQ(imaging::kSuccess, SaveImage(Path("1600.bmp"), 1600, 1200, imaging::kFormatBmp, 72, Plain(kWhite)));
        // The result at full size, its view moved to (60, 30, 180, 150) by a drag.
        m_result = new BitmapCtrl(m_parent.get(), CRect(0, 0, 120, 120), WS_VISIBLE, "", 1, 0, nullptr);
        m_preview = new BitmapCtrl(m_parent.get(), CRect(0, 200, 200, 300), WS_VISIBLE, "", 2, 0, nullptr);
        ASSERT_EQ(1, m_preview->Load(Path("800.bmp").c_str(), false));
    }
    std::string Path(const char* name) const { return m_folder.Path(name); }
    void LoadResult(const char* name)
    {
        ASSERT_EQ(1, m_result->Load(Path(name).c_str(), false));
        m_result->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 30));
        m_result->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
        ASSERT_EQ(CRect(60, 30, 180, 150), m_result->GetViewRect());
    }
    void SetPreviewMode(int mode)
    {
        m_preview->SetDisplayMode(mode);
        m_preview->RecalcLayout();
    }

    test_images::ScratchFolder m_folder{"overlay"};
    std::unique_ptr<iWnd> m_parent =
        std::make_unique<iWnd>(nullptr, CRect(0, 0, 400, 400), WS_OVERLAPPEDWINDOW, "pictures", 0, 0, nullptr);
    BitmapCtrl* m_result = nullptr;
    BitmapCtrl* m_preview = nullptr;
};

TEST_F(Overlay, TheResultsViewIsDrawnRedOverTheFittedPreview)
{
    LoadResult("800.bmp");
    SetPreviewMode(iLBitmapCtrl::kFit);
    m_preview->CopyViewFrom(*m_result);
    // f = max(800 / 200, 600 / 100) = 6: (60, 30) becomes (10, 5), 120 pixels become 20,
    // and the frame is grown by the pen's 2 pixels.
    ASSERT_EQ(CRect(10, 5, 32, 27), m_preview->GetFrameRect());

    test_support::PaperCanvas canvas(200, 100);
    m_preview->Paint(&canvas.m_dc);
    CRect redArea;
    int red = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            if (canvas.At(x, y) == kRed) {
                redArea.UnionRect(red++ ? redArea : CRect(x, y, x + 1, y + 1), CRect(x, y, x + 1, y + 1));
            }
    // Only the outline is red: the inside and everything around stay the image's white.
    EXPECT_EQ(CRect(9, 4, 32, 27), redArea);
    const CRect inside(12, 7, 30, 25);
    EXPECT_EQ(inside.Width() * inside.Height(), canvas.Count(inside, kWhite));
    EXPECT_EQ((redArea.Width() * redArea.Height()) - ((redArea.Width() - 4) * (redArea.Height() - 4)), red);
}

struct FrameCase {
    const char* why;
    const char* result;  // the result picture's image
    int previewMode;
    CPoint previewPan;   // a drag of the preview before the frame is copied; (0, 0) none
    CRect frame;
};

const FrameCase kFrameCases[] = {
    {"fit, the result enlarged to twice the size: half as many preview pixels", "1600.bmp", 0, {}, CRect(5, 2, 17, 14)},
    {"half: integer halves", "800.bmp", 2, {}, CRect(30, 15, 92, 77)},
    {"quarter", "800.bmp", 4, {}, CRect(15, 7, 47, 39)},
    {"eighth", "800.bmp", 8, {}, CRect(7, 3, 24, 20)},
    {"full size", "800.bmp", 1, {}, CRect(60, 30, 182, 152)},
    {"a mode no choice gives counts as full size", "800.bmp", -1, {}, CRect(60, 30, 182, 152)},
    {"full size with the preview panned by (40, 10)", "800.bmp", 1, {40, 10}, CRect(20, 20, 142, 142)},
};

TEST_F(Overlay, TheFrameFollowsBothPicturesScaleAndThePreviewsView)
{
    for (const FrameCase& c : kFrameCases) {
        SCOPED_TRACE(c.why);
        LoadResult(c.result);
        SetPreviewMode(c.previewMode);
        if (c.previewPan != CPoint()) {
            m_preview->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.previewPan.x, c.previewPan.y));
            m_preview->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
        }
        m_preview->CopyViewFrom(*m_result);
        EXPECT_EQ(c.frame, m_preview->GetFrameRect());
    }
}

TEST_F(Overlay, NothingToMeasureDrawsNoFrame)
{
    SetPreviewMode(iLBitmapCtrl::kFit);
    test_support::PaperCanvas canvas(200, 100);

    // No image in the result picture.
    m_preview->CopyViewFrom(*m_result);
    EXPECT_TRUE(m_preview->GetCopiedView().IsRectNull());
    EXPECT_TRUE(m_preview->GetFrameRect().IsRectNull());

    // A frame was copied, then the result emptied: the frame goes.
    LoadResult("800.bmp");
    m_preview->CopyViewFrom(*m_result);
    EXPECT_FALSE(m_preview->GetFrameRect().IsRectNull());
    m_result->Free(false);
    m_preview->CopyViewFrom(*m_result);
    EXPECT_TRUE(m_preview->GetFrameRect().IsRectNull());

    // A frame copied while the preview has no image of its own: zero sizes divide nothing.
    LoadResult("800.bmp");
    m_preview->CopyViewFrom(*m_result);
    m_preview->Free(false);
    EXPECT_TRUE(m_preview->GetFrameRect().IsRectNull());
    m_preview->Paint(&canvas.m_dc);
    EXPECT_EQ(0, canvas.Count(CRect(0, 0, 200, 100), kRed));
}

TEST_F(Overlay, TheResultPictureDrawsNoFrameOfItsOwn)
{
    LoadResult("800.bmp");
    test_support::PaperCanvas canvas(120, 120);
    m_result->Paint(&canvas.m_dc);
    EXPECT_EQ(0, canvas.Count(CRect(0, 0, 120, 120), kRed));
}

} // namespace
} // namespace overlay_test
