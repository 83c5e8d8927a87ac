// Device contexts: iDC's ways of making or adopting a DC and deleting it, iClientDC, and
// the off-screen iCDC drawing into memory DCs checked pixel by pixel: where its (0, 0)
// lands, what it copies, which bitmap it deletes and what it gives back.
#include "lib/src/Win2/Wnd/iDC.h"

#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using winlib_test::ExpectPixels;
using winlib_test::kPaper;
using winlib_test::PaperCanvas;

const COLORREF kInk = RGB(200, 30, 60);
const COLORREF kFill = RGB(10, 90, 250);

} // namespace

TEST(IDC, MakesOrAdoptsADCAndDeletesIt)
{
    HDC adopted = CreateCompatibleDC(nullptr);
    HDC made = nullptr;
    HDC display = nullptr;
    HDC compatible = nullptr;
    {
        iDC fromHandle(adopted);
        EXPECT_EQ(adopted, fromHandle.m_hDC);
        iDC screenCompatible(static_cast<CDC*>(nullptr));
        made = screenCompatible.m_hDC;
        ASSERT_NE(nullptr, made);
        EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(made));
        iDC onDriver("DISPLAY", nullptr, nullptr, nullptr);
        display = onDriver.m_hDC;
        ASSERT_NE(nullptr, display);
        iDC targetCompatible(&screenCompatible);
        compatible = targetCompatible.m_hDC;
        EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(compatible));
    }
    for (HDC gone : {adopted, made, display, compatible})
        EXPECT_EQ(0u, GetObjectType(gone));
}

TEST(IDC, WithoutADCDrawingDoesNothing)
{
    iDC empty;
    EXPECT_EQ(nullptr, empty.m_hDC);
    EXPECT_EQ(CLR_INVALID, empty.SetPixel(0, 0, kInk));
    EXPECT_FALSE(empty.LineTo(5, 5));
}

TEST(IClientDC, GivesTheWindowsClientDCOrTheScreens)
{
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "client", WS_POPUP, 0, 0, 50, 40, nullptr, nullptr));
    {
        iClientDC dc(&window);
        ASSERT_NE(nullptr, dc.m_hDC);
        EXPECT_EQ(window.m_hWnd, WindowFromDC(dc.m_hDC));
    }
    iClientDC screen(nullptr);
    EXPECT_NE(nullptr, screen.m_hDC);
}

TEST(ICDC, DrawsAtTheRectanglesCornerAndCopiesExactlyItsSize)
{
    PaperCanvas target(140, 90);
    const CRect rect(10, 20, 110, 70);
    {
        iCDC offScreen(&target.m_dc, rect);
        EXPECT_EQ(rect, CRect(offScreen.GetRect()));
        EXPECT_EQ(CSize(100, 50), offScreen.GetBitmap()->GetSize());
        offScreen.FillSolidRect(0, 0, 100, 50, kFill);
        offScreen.SetPixel(0, 0, kInk);
        offScreen.SetPixel(99, 49, kInk);
        EXPECT_EQ(kPaper, target.m_dc.GetPixel(10, 20)) << "drawing stays off screen until the copy";
        ASSERT_TRUE(offScreen.BitBlt(SRCCOPY));
    }
    ExpectPixels(target, {
        {"(0, 0) lands at the corner", 10, 20, kInk},
        {"the last pixel lands at the far corner", 109, 69, kInk},
        {"inside", 50, 40, kFill},
        {"left of the rectangle", 9, 20, kPaper},
        {"above the rectangle", 10, 19, kPaper},
        {"right of the rectangle", 110, 69, kPaper},
        {"below the rectangle", 109, 70, kPaper},
    });
}

TEST(ICDC, SizeFormsCoverFromTheTargetsOrigin)
{
    PaperCanvas target(30, 30);
    for (int form = 0; form < 2; ++form) {
        SCOPED_TRACE(form == 0 ? "SIZE" : "cx, cy");
        std::unique_ptr<iCDC> offScreen = form == 0 ? std::make_unique<iCDC>(&target.m_dc, CSize(6, 4))
                                                    : std::make_unique<iCDC>(&target.m_dc, 6, 4);
        EXPECT_EQ(CRect(0, 0, 6, 4), CRect(offScreen->GetRect()));
        offScreen->FillSolidRect(0, 0, 6, 4, kFill);
        ASSERT_TRUE(offScreen->BitBlt(SRCCOPY));
        EXPECT_EQ(kFill, target.m_dc.GetPixel(5, 3));
        EXPECT_EQ(kPaper, target.m_dc.GetPixel(6, 3));
        target.m_dc.FillSolidRect(0, 0, 30, 30, kPaper);
    }
}

TEST(ICDC, GivenBitmapStaysTheCallersAndIsGivenBack)
{
    PaperCanvas target(20, 20);
    iBitmap bitmap(&target.m_dc, 8, 6);
    ASSERT_TRUE(bitmap.IsAttached());
    {
        iCDC offScreen(&target.m_dc, &bitmap);
        EXPECT_EQ(CRect(0, 0, 8, 6), CRect(offScreen.GetRect()));
        offScreen.FillSolidRect(0, 0, 8, 6, kInk);
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(bitmap.m_hObject));
    // A bitmap still selected into a DC could not be selected into another one.
    HDC other = CreateCompatibleDC(target.m_dc.m_hDC);
    HGDIOBJ previous = SelectObject(other, bitmap.m_hObject);
    ASSERT_NE(nullptr, previous);
    EXPECT_EQ(kInk, GetPixel(other, 7, 5)) << "what was drawn stays in the caller's bitmap";
    SelectObject(other, previous);
    DeleteDC(other);
}

TEST(ICDC, OwnBitmapAndMemoryDCAreDeleted)
{
    PaperCanvas target(10, 10);
    HGDIOBJ bitmap = nullptr;
    HDC memory = nullptr;
    {
        iCDC offScreen(&target.m_dc, 5, 5);
        bitmap = offScreen.GetBitmap()->m_hObject;
        memory = offScreen.m_hDC;
        ASSERT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(bitmap));
    }
    EXPECT_EQ(0u, GetObjectType(bitmap));
    EXPECT_EQ(0u, GetObjectType(memory));
}

TEST(ICDC, WithoutTargetTheImageIsMonochromeAndCannotBeCopied)
{
    iCDC offScreen(static_cast<CDC*>(nullptr), 9, 7);
    BITMAP info = {};
    ASSERT_NE(0, offScreen.GetBitmap()->GetObject(sizeof info, &info));
    EXPECT_EQ(1, info.bmBitsPixel);
    EXPECT_EQ(9, info.bmWidth);
    EXPECT_FALSE(offScreen.BitBlt(SRCCOPY));
}

TEST(IPreviewDC, OwnsTheDCItIsGiven)
{
    const iPreviewDC empty;
    EXPECT_EQ(nullptr, empty.m_hDC);
    HDC dc = CreateCompatibleDC(nullptr);
    {
        const iPreviewDC preview(dc);
        EXPECT_EQ(dc, preview.m_hDC);
        EXPECT_TRUE(preview.IsKindOf(RUNTIME_CLASS(CPreviewDC)));
    }
    EXPECT_EQ(0u, GetObjectType(dc));
}
