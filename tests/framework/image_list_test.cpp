// Image lists: built from sizes, bitmap strips (resource and memory), icons, merges and
// copies; drawn into a memory DC; owned through Attach and Detach; and borrowed by
// FromHandle as temporary objects that leave the list alone when they go.
#include "framework/Framework.h"

#include "drawing_test_support.h"
#include "paper_canvas.h"

#include <gtest/gtest.h>

namespace {

using test_support::kBlue;
using test_support::kMagenta;
using test_support::kRed;
using test_support::kWhite;
using test_support::PaperCanvas;

constexpr UINT kImageStripId = 7100;  // image_list_test.rc

// A 4 x 2 strip in memory like the resource: red with a magenta corner, then blue.
void MakeStrip(CBitmap& strip)
{
    CDC screen;
    screen.Attach(GetDC(nullptr));
    strip.CreateCompatibleBitmap(&screen, 4, 2);
    ReleaseDC(nullptr, screen.Detach());
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc.m_hDC, strip.m_hObject);
    const COLORREF pixels[2][4] = {{kMagenta, kRed, kBlue, kBlue}, {kRed, kRed, kBlue, kBlue}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            SetPixel(dc.m_hDC, x, y, pixels[y][x]);
    SelectObject(dc.m_hDC, previous);
}

TEST(CImageList, StripWithMaskColourDrawsTransparently)
{
    CImageList list;
    ASSERT_TRUE(list.Create(2, 2, ILC_COLOR24 | ILC_MASK, 0, 10));
    EXPECT_EQ(0, list.GetImageCount());
    CBitmap strip;
    MakeStrip(strip);
    EXPECT_EQ(0, list.Add(&strip, kMagenta));
    EXPECT_EQ(2, list.GetImageCount());

    IMAGEINFO info = {};
    ASSERT_TRUE(list.GetImageInfo(1, &info));
    EXPECT_EQ(2, info.rcImage.right - info.rcImage.left);
    EXPECT_EQ(2, info.rcImage.bottom - info.rcImage.top);
    EXPECT_FALSE(list.GetImageInfo(2, &info));

    PaperCanvas canvas(8, 4, 32);
    ASSERT_TRUE(list.Draw(&canvas.m_dc, 0, CPoint(0, 0), ILD_TRANSPARENT));
    ASSERT_TRUE(list.Draw(&canvas.m_dc, 1, CPoint(4, 0), ILD_TRANSPARENT));
    EXPECT_EQ(kWhite, canvas.At(0, 0));  // the magenta corner is masked out
    EXPECT_EQ(kRed, canvas.At(1, 1));
    EXPECT_EQ(kBlue, canvas.At(5, 1));
    EXPECT_FALSE(list.Draw(&canvas.m_dc, 5, CPoint(0, 0), ILD_NORMAL));
}

TEST(CImageList, StripFromTheResourceModuleByIdAndByName)
{
    CImageList byId;
    ASSERT_TRUE(byId.Create(kImageStripId, 2, 1, kMagenta));
    EXPECT_EQ(2, byId.GetImageCount());
    CImageList byName;
    ASSERT_TRUE(byName.Create("IMAGESTRIP", 2, 1, kMagenta));
    EXPECT_EQ(2, byName.GetImageCount());

    PaperCanvas canvas(4, 2, 32);
    byId.Draw(&canvas.m_dc, 0, CPoint(0, 0), ILD_TRANSPARENT);
    EXPECT_EQ(kWhite, canvas.At(0, 0));
    EXPECT_EQ(kRed, canvas.At(1, 0));

    CImageList missing;
    EXPECT_FALSE(missing.Create(54321u, 2, 1, kMagenta));
    EXPECT_EQ(nullptr, missing.GetSafeHandle());
    // A list is made once per object.
    EXPECT_FALSE(byId.Create(2, 2, ILC_COLOR24, 0, 1));
}

TEST(CImageList, IconsAppendReplaceAndExtract)
{
    CImageList list;
    ASSERT_TRUE(list.Create(16, 16, ILC_COLOR32 | ILC_MASK, 0, 10));
    HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
    EXPECT_EQ(0, list.Add(icon));
    EXPECT_EQ(1, list.Replace(-1, icon));  // -1 appends
    EXPECT_EQ(0, list.Replace(0, icon));
    EXPECT_EQ(2, list.GetImageCount());

    HICON extracted = list.ExtractIcon(1);
    EXPECT_NE(nullptr, extracted);
    DestroyIcon(extracted);
    EXPECT_EQ(nullptr, list.ExtractIcon(2));
    EXPECT_EQ(nullptr, list.ExtractIcon(-1));

    CBitmap strip;
    MakeStrip(strip);
    CImageList small;
    ASSERT_TRUE(small.Create(2, 2, ILC_COLOR24, 0, 1));
    ASSERT_EQ(0, small.Add(&strip, static_cast<CBitmap*>(nullptr)));
    // Replacing an image with a bitmap and no mask: image 0 becomes the strip's first.
    CBitmap blue;
    CDC screen;
    screen.Attach(GetDC(nullptr));
    blue.CreateCompatibleBitmap(&screen, 2, 2);
    ReleaseDC(nullptr, screen.Detach());
    {
        CDC dc;
        dc.CreateCompatibleDC(nullptr);
        HGDIOBJ previous = SelectObject(dc.m_hDC, blue.m_hObject);
        RECT all = {0, 0, 2, 2};
        HBRUSH brush = CreateSolidBrush(kBlue);
        FillRect(dc.m_hDC, &all, brush);
        DeleteObject(brush);
        SelectObject(dc.m_hDC, previous);
    }
    EXPECT_TRUE(small.Replace(0, &blue, nullptr));
    PaperCanvas canvas(2, 2, 32);
    small.Draw(&canvas.m_dc, 0, CPoint(0, 0), ILD_NORMAL);
    EXPECT_EQ(kBlue, canvas.At(0, 0));
    EXPECT_TRUE(small.Remove(0));
    EXPECT_EQ(1, small.GetImageCount());
}

TEST(CImageList, CopyAndMergeMakeNewLists)
{
    CImageList original;
    ASSERT_TRUE(original.Create(2, 2, ILC_COLOR24 | ILC_MASK, 0, 4));
    CBitmap strip;
    MakeStrip(strip);
    original.Add(&strip, kMagenta);

    CImageList copy;
    ASSERT_TRUE(copy.Create(&original));
    EXPECT_NE(original.m_hImageList, copy.m_hImageList);
    EXPECT_EQ(2, copy.GetImageCount());
    copy.Remove(0);
    EXPECT_EQ(2, original.GetImageCount());

    CImageList merged;
    ASSERT_TRUE(merged.Create(original, 0, original, 1, 1, 0));
    EXPECT_EQ(1, merged.GetImageCount());

    CImageList none;
    CImageList fromNothing;
    EXPECT_FALSE(fromNothing.Create(&none));
    EXPECT_FALSE(fromNothing.Create(static_cast<CImageList*>(nullptr)));
}

TEST(CImageList, BorrowedHandlesGetTemporaryObjectsThatLeaveTheListAlone)
{
    HIMAGELIST foreign = ImageList_Create(4, 4, ILC_COLOR24, 1, 1);
    ASSERT_NE(nullptr, foreign);
    CImageList* borrowed = CImageList::FromHandle(foreign);
    ASSERT_NE(nullptr, borrowed);
    EXPECT_EQ(foreign, borrowed->GetSafeHandle());
    EXPECT_EQ(borrowed, CImageList::FromHandle(foreign));
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(foreign));
    EXPECT_EQ(nullptr, CImageList::FromHandle(nullptr));

    AfxDeleteTempMaps();
    // The list survived its temporary object.
    EXPECT_EQ(0, ImageList_GetImageCount(foreign));
    EXPECT_TRUE(ImageList_SetImageCount(foreign, 3));
    EXPECT_EQ(3, ImageList_GetImageCount(foreign));

    CImageList owner;
    ASSERT_TRUE(owner.Attach(foreign));
    EXPECT_EQ(&owner, CImageList::FromHandle(foreign));
    EXPECT_EQ(&owner, CImageList::FromHandlePermanent(foreign));
    CImageList rival;
    EXPECT_FALSE(rival.Attach(foreign));
    EXPECT_EQ(foreign, owner.Detach());
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(foreign));
    EXPECT_EQ(3, ImageList_GetImageCount(foreign));  // Detach gives the list up, intact
    EXPECT_TRUE(ImageList_Destroy(foreign));

    const CImageList* nothing = nullptr;
    EXPECT_EQ(nullptr, nothing->GetSafeHandle());
}

TEST(CImageList, DestructorDeletesTheListItOwns)
{
    HIMAGELIST handle = nullptr;
    {
        CImageList list;
        ASSERT_TRUE(list.Create(4, 4, ILC_COLOR24, 0, 1));
        handle = list.m_hImageList;
        EXPECT_EQ(&list, CImageList::FromHandlePermanent(handle));
    }
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(handle));
    CImageList list;
    EXPECT_FALSE(list.DeleteImageList());
}

} // namespace
