// Device contexts: drawing into a memory DC checked pixel by pixel, object selection and
// restoration, clipping, the attribute DC, and temporary versus owned DCs.
#include "framework/Framework.h"

#include "drawing_test_support.h"

#include <gtest/gtest.h>

namespace {

using test_support::kBlack;
using test_support::kBlue;
using test_support::kGreen;
using test_support::kRed;
using test_support::kWhite;

// A 20x20 32-bit canvas in a memory DC, painted white; the DC's own bitmap comes back at the end.
class Canvas : public ::testing::Test {
protected:
    static const int kSize = 20;

    void SetUp() override
    {
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        ASSERT_TRUE(bitmap.CreateBitmap(kSize, kSize, 1, 32, nullptr));
        previous = dc.SelectObject(&bitmap);
        ASSERT_NE(nullptr, previous);
        dc.FillSolidRect(0, 0, kSize, kSize, kWhite);
    }

    void TearDown() override
    {
        if (previous)
            dc.SelectObject(previous);
        AfxDeleteTempMaps();
    }

    // One character per pixel of row y from x0 to x1 - 1: '#' for colour, '.' otherwise.
    std::string Row(int y, int x0, int x1, COLORREF colour)
    {
        std::string row;
        for (int x = x0; x < x1; ++x)
            row += dc.GetPixel(x, y) == colour ? '#' : '.';
        return row;
    }

    std::string Column(int x, int y0, int y1, COLORREF colour)
    {
        std::string column;
        for (int y = y0; y < y1; ++y)
            column += dc.GetPixel(x, y) == colour ? '#' : '.';
        return column;
    }

    int CountOf(COLORREF colour)
    {
        int count = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                count += dc.GetPixel(x, y) == colour ? 1 : 0;
        return count;
    }

    CDC dc;
    CBitmap bitmap;
    CBitmap* previous = nullptr;
};

// Draws a framed box and puts back what it selected, as every drawing routine must.
void DrawFramedBox(CDC& dc, const RECT& box)
{
    CPen pen(PS_SOLID, 1, kBlue);
    CBrush brush(kGreen);
    CPen* oldPen = dc.SelectObject(&pen);
    CBrush* oldBrush = dc.SelectObject(&brush);
    dc.Rectangle(&box);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

} // namespace

TEST_F(Canvas, FillSolidRectFillsFromEitherSideAndKeepsTheBackgroundColour)
{
    dc.SetBkColor(kBlue);
    dc.FillSolidRect(2, 1, 3, 1, kRed);
    EXPECT_EQ("..###..", Row(1, 0, 7, kRed));
    // Negative extents fill leftward and upward from the edge, as borders are drawn.
    dc.FillSolidRect(10, 5, -2, 1, kGreen);
    EXPECT_EQ("..##..", Row(5, 6, 12, kGreen));
    dc.FillSolidRect(15, 10, 1, -3, kGreen);
    EXPECT_EQ("..###..", Column(15, 5, 12, kGreen));
    dc.FillSolidRect(CRect(0, 0, 0, 5), kRed);
    EXPECT_EQ("..###..", Row(1, 0, 7, kRed)) << "an empty rectangle fills nothing";
    EXPECT_EQ(kBlue, dc.GetBkColor());
}

TEST_F(Canvas, Draw3dRectLeavesTheFarCornersToTheBottomRightColour)
{
    dc.Draw3dRect(2, 2, 5, 4, kRed, kBlue);
    // Top row: red but its last pixel; right column and bottom row: blue.
    EXPECT_EQ("####", Row(2, 2, 6, kRed));
    EXPECT_EQ("....#", Row(2, 2, 7, kBlue));
    EXPECT_EQ("###.", Column(2, 2, 6, kRed));
    EXPECT_EQ("#####", Row(5, 2, 7, kBlue));
    EXPECT_EQ("####", Column(6, 2, 6, kBlue));
    EXPECT_EQ(kWhite, dc.GetPixel(4, 4)) << "the inside stays";
    EXPECT_EQ(6, CountOf(kRed));
    EXPECT_EQ(8, CountOf(kBlue));
}

TEST_F(Canvas, SelectObjectAnswersThePreviousObject)
{
    CPen first(PS_SOLID, 1, kRed);
    CPen second(PS_SOLID, 1, kBlue);
    HGDIOBJ original = ::GetCurrentObject(dc, OBJ_PEN);
    CPen* before = dc.SelectObject(&first);
    ASSERT_NE(nullptr, before);
    EXPECT_EQ(original, before->m_hObject);
    EXPECT_EQ(RUNTIME_CLASS(CPen), before->GetRuntimeClass()) << "a temporary pen wrapper";
    EXPECT_EQ(&first, dc.SelectObject(&second)) << "our own pen comes back as itself";
    EXPECT_EQ(&second, dc.SelectObject(before));
    EXPECT_EQ(original, ::GetCurrentObject(dc, OBJ_PEN));

    CPen empty;
    EXPECT_EQ(nullptr, dc.SelectObject(&empty)) << "an empty pen selects nothing";
    EXPECT_EQ(original, ::GetCurrentObject(dc, OBJ_PEN));

    CGdiObject* stock = dc.SelectStockObject(NULL_BRUSH);
    ASSERT_NE(nullptr, stock);
    EXPECT_EQ(RUNTIME_CLASS(CBrush), stock->GetRuntimeClass());
    dc.SelectObject(stock);

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(90, "Arial", &dc));
    CFont* oldFont = dc.SelectObject(&font);
    ASSERT_NE(nullptr, oldFont);
    EXPECT_EQ(RUNTIME_CLASS(CFont), oldFont->GetRuntimeClass());
    dc.SelectObject(oldFont);
}

TEST_F(Canvas, DrawingRoutineLeavesTheDCWithTheObjectsItCameWith)
{
    const int kinds[] = {OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP};
    HGDIOBJ before[4];
    for (int i = 0; i < 4; ++i)
        before[i] = ::GetCurrentObject(dc, kinds[i]);
    DrawFramedBox(dc, CRect(2, 2, 8, 6));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(before[i], ::GetCurrentObject(dc, kinds[i])) << "kind " << kinds[i];
    // The rectangle: pen on the edge (right and bottom exclusive), brush inside.
    EXPECT_EQ("######", Row(2, 2, 8, kBlue));
    EXPECT_EQ("#....#", Row(3, 2, 8, kBlue));
    EXPECT_EQ(".####.", Row(3, 2, 8, kGreen));
    EXPECT_EQ("######", Row(5, 2, 8, kBlue));
    EXPECT_EQ(kWhite, dc.GetPixel(8, 3));
}

TEST_F(Canvas, LinesExcludeTheirEndPoint)
{
    CPen pen(PS_SOLID, 1, kRed);
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(2, 5);
    EXPECT_TRUE(dc.LineTo(8, 5));
    EXPECT_TRUE(dc.MoveTo(CPoint(1, 1)) == CPoint(8, 5)) << "MoveTo answers the previous position";
    const POINT corner[] = {{10, 10}, {14, 10}, {14, 13}};
    EXPECT_TRUE(dc.Polyline(corner, 3));
    dc.SelectObject(old);
    EXPECT_EQ("..######..", Row(5, 0, 10, kRed));
    EXPECT_EQ("#####", Row(10, 10, 15, kRed));
    EXPECT_EQ("###.", Column(14, 10, 14, kRed));
}

TEST_F(Canvas, ShapesFillWithTheSelectedBrush)
{
    CBrush brush(kGreen);
    CGdiObject* oldPen = dc.SelectStockObject(NULL_PEN);
    CBrush* oldBrush = dc.SelectObject(&brush);
    const POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    EXPECT_TRUE(dc.Polygon(triangle, 3));
    EXPECT_TRUE(dc.Ellipse(10, 10, 20, 20));
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
    EXPECT_EQ(kGreen, dc.GetPixel(2, 2));
    EXPECT_EQ(kWhite, dc.GetPixel(9, 9)) << "beyond the hypotenuse";
    EXPECT_EQ(kGreen, dc.GetPixel(15, 15)) << "ellipse centre";
    EXPECT_EQ(kWhite, dc.GetPixel(10, 10)) << "ellipse corner";
}

TEST_F(Canvas, BlitsCopyStretchAndPattern)
{
    CDC source;
    CBitmap sourceBits;
    ASSERT_TRUE(source.CreateCompatibleDC(&dc));
    ASSERT_TRUE(sourceBits.CreateBitmap(2, 2, 1, 32, nullptr));
    CBitmap* sourceOld = source.SelectObject(&sourceBits);
    source.FillSolidRect(0, 0, 2, 2, kRed);
    source.SetPixel(1, 1, kBlue);

    EXPECT_TRUE(dc.BitBlt(5, 5, 2, 2, &source, 0, 0, SRCCOPY));
    EXPECT_EQ("##.", Row(5, 5, 8, kRed));
    EXPECT_EQ("#..", Row(6, 5, 8, kRed));
    EXPECT_EQ(kBlue, dc.GetPixel(6, 6));
    EXPECT_TRUE(dc.StretchBlt(10, 0, 4, 4, &source, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ("####", Row(0, 10, 14, kRed));
    EXPECT_EQ("..##", Row(3, 10, 14, kBlue));
    source.SelectObject(sourceOld);

    CBrush brush(kGreen);
    CBrush* oldBrush = dc.SelectObject(&brush);
    EXPECT_TRUE(dc.PatBlt(0, 15, 3, 1, PATCOPY));
    dc.SelectObject(oldBrush);
    EXPECT_EQ("###.", Row(15, 0, 4, kGreen));
}

TEST_F(Canvas, SaveAndRestoreBringBackStateAndObjects)
{
    HGDIOBJ pen = ::GetCurrentObject(dc, OBJ_PEN);
    dc.SetTextColor(kBlack);
    int saved = dc.SaveDC();
    ASSERT_NE(0, saved);
    CPen red(PS_SOLID, 1, kRed);
    dc.SelectObject(&red);
    dc.SetTextColor(kRed);
    dc.SetBkMode(TRANSPARENT);
    dc.SetROP2(R2_XORPEN);
    dc.IntersectClipRect(0, 0, 1, 1);
    EXPECT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(pen, ::GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(kBlack, dc.GetTextColor());
    EXPECT_EQ(OPAQUE, dc.GetBkMode());
    EXPECT_EQ(R2_COPYPEN, dc.GetROP2());
    CRect clip;
    dc.GetClipBox(&clip);
    EXPECT_TRUE(clip == CRect(0, 0, kSize, kSize));
}

TEST_F(Canvas, ClippingLimitsDrawing)
{
    CRect clip;
    EXPECT_EQ(SIMPLEREGION, dc.IntersectClipRect(CRect(2, 2, 6, 6)));
    EXPECT_EQ(COMPLEXREGION, dc.ExcludeClipRect(3, 3, 5, 5));
    dc.GetClipBox(&clip);
    EXPECT_TRUE(clip == CRect(2, 2, 6, 6));
    dc.FillSolidRect(0, 0, kSize, kSize, kRed);
    EXPECT_EQ(12, CountOf(kRed)) << "a 4x4 square less its 2x2 middle";
    EXPECT_EQ(kWhite, dc.GetPixel(3, 3));

    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(10, 10, 12, 11));
    EXPECT_EQ(SIMPLEREGION, dc.SelectClipRgn(&region));
    dc.FillSolidRect(0, 0, kSize, kSize, kBlue);
    EXPECT_EQ(2, CountOf(kBlue));
    EXPECT_EQ(SIMPLEREGION, dc.SelectClipRgn(nullptr)) << "no region: the whole surface again";
    dc.GetClipBox(&clip);
    EXPECT_TRUE(clip == CRect(0, 0, kSize, kSize));
    EXPECT_EQ(ERROR, dc.SelectObject(static_cast<CRgn*>(nullptr)));
}

TEST_F(Canvas, MappingAndOriginsConvertCoordinates)
{
    EXPECT_EQ(MM_TEXT, dc.SetMapMode(MM_TEXT));
    EXPECT_TRUE(dc.SetWindowOrg(10, 10) == CPoint(0, 0));
    CPoint point(15, 15);
    dc.LPtoDP(&point);
    EXPECT_TRUE(point == CPoint(5, 5));
    CRect rect(0, 0, 5, 5);
    dc.DPtoLP(&rect);
    EXPECT_TRUE(rect == CRect(10, 10, 15, 15));
    dc.FillSolidRect(10, 10, 1, 1, kRed);
    EXPECT_TRUE(dc.SetWindowOrg(CPoint(0, 0)) == CPoint(10, 10));
    EXPECT_EQ(kRed, dc.GetPixel(0, 0)) << "logical (10, 10) was device (0, 0)";
    EXPECT_TRUE(dc.SetViewportOrg(3, 4) == CPoint(0, 0));
    EXPECT_TRUE(dc.SetViewportOrg(0, 0) == CPoint(3, 4));
    dc.SetMapMode(MM_LOMETRIC);
    EXPECT_EQ(MM_LOMETRIC, dc.GetMapMode());
    dc.SetMapMode(MM_TEXT);
}

TEST_F(Canvas, TextIsMeasuredOnTheAttributeDCAndDrawnOnTheOutputDC)
{
    CFont small;
    ASSERT_TRUE(small.CreateFont(-8, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
    CFont large;
    ASSERT_TRUE(large.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial"));
    CFont* oldFont = dc.SelectObject(&small);
    CSize smallExtent = dc.GetTextExtent("Wide", 4);
    EXPECT_GT(smallExtent.cx, 0);
    EXPECT_TRUE(dc.GetTextExtent(CString("Wide")) == smallExtent);
    EXPECT_TRUE(dc.GetTextExtent("Wide", -1) == smallExtent) << "-1: up to the terminating zero";

    CRect calc(0, 0, 0, 0);
    int height = dc.DrawText("Wide", -1, &calc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_GT(height, 0);
    EXPECT_EQ(smallExtent.cx, calc.Width());
    EXPECT_EQ(kSize * kSize, CountOf(kWhite)) << "measuring draws nothing";
    TEXTMETRICA metrics = {};
    ASSERT_TRUE(dc.GetTextMetrics(&metrics));
    EXPECT_EQ(metrics.tmHeight, height);

    // A separate attribute DC with a larger font answers the measurements.
    CDC attribute;
    ASSERT_TRUE(attribute.CreateCompatibleDC(nullptr));
    CFont* attributeOld = attribute.SelectObject(&large);
    dc.m_hAttribDC = attribute.m_hDC;
    EXPECT_GT(dc.GetTextExtent("Wide", 4).cx, smallExtent.cx);
    dc.SetTextColor(kRed);
    EXPECT_EQ(kRed, ::GetTextColor(dc.m_hDC)) << "state goes to both DCs";
    EXPECT_EQ(kRed, ::GetTextColor(attribute.m_hDC));
    dc.m_hAttribDC = dc.m_hDC;
    attribute.SelectObject(attributeOld);

    dc.SetBkMode(TRANSPARENT);
    EXPECT_TRUE(dc.TextOut(0, 0, CString("W")));
    EXPECT_LT(CountOf(kWhite), kSize * kSize) << "the text reached the output DC";
    dc.SelectObject(oldFont);
}

TEST_F(Canvas, DragRectMovesItsOutlineWithoutTraces)
{
    CBrush white(kWhite);
    const CRect first(2, 2, 10, 10);
    const CRect second(4, 4, 12, 12);
    const CSize thickness(2, 2);
    // Inverting with white turns white black.
    dc.DrawDragRect(&first, thickness, nullptr, CSize(0, 0), &white, &white);
    EXPECT_EQ("########", Row(2, 2, 10, kBlack));
    EXPECT_EQ("##....##", Row(5, 2, 10, kBlack));
    dc.DrawDragRect(&second, thickness, &first, thickness, &white, &white);
    EXPECT_EQ(kWhite, dc.GetPixel(2, 2)) << "the old outline is gone";
    EXPECT_EQ("########", Row(4, 4, 12, kBlack));
    EXPECT_EQ("##....##", Row(8, 4, 12, kBlack));
    EXPECT_EQ(kWhite, dc.GetPixel(9, 9));
    dc.DrawDragRect(nullptr, thickness, &second, thickness, &white, &white);
    EXPECT_EQ(kSize * kSize, CountOf(kWhite)) << "erased";
    CRect clip;
    dc.GetClipBox(&clip);
    EXPECT_TRUE(clip == CRect(0, 0, kSize, kSize)) << "the clip region comes back";
}

TEST_F(Canvas, HalftoneBrushIsACheckerboard)
{
    CBrush* halftone = CDC::GetHalftoneBrush();
    ASSERT_NE(nullptr, halftone);
    EXPECT_EQ(halftone, CDC::GetHalftoneBrush()) << "one per process";
    dc.SetTextColor(kBlack);
    dc.SetBkColor(kWhite);
    CBrush* old = dc.SelectObject(halftone);
    dc.PatBlt(0, 0, 4, 4, PATCOPY);
    dc.SelectObject(old);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_NE(dc.GetPixel(x, y), dc.GetPixel(x + 1, y)) << x << "," << y;
    EXPECT_EQ(dc.GetPixel(0, 0), dc.GetPixel(1, 1));
    EXPECT_EQ(8, CountOf(kBlack));
}

TEST_F(Canvas, EdgesFramesAndStatesDrawInSystemColours)
{
    CRect edge(1, 1, 8, 8);
    EXPECT_TRUE(dc.DrawEdge(&edge, BDR_SUNKENOUTER, BF_RECT));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), dc.GetPixel(1, 1));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), dc.GetPixel(7, 7));

    CBrush frame(kRed);
    dc.FrameRect(CRect(10, 1, 14, 5), &frame);
    EXPECT_EQ("####", Row(1, 10, 14, kRed));
    EXPECT_EQ("#..#", Row(2, 10, 14, kRed));
    dc.FillRect(CRect(10, 10, 12, 12), &frame);
    EXPECT_EQ("##.", Row(11, 10, 13, kRed));
    dc.FillRect(CRect(0, 0, 5, 5), nullptr);
    EXPECT_EQ(kRed, dc.GetPixel(10, 10)) << "no brush, no fill";

    CRect button(12, 12, 20, 20);
    EXPECT_TRUE(dc.DrawFrameControl(&button, DFC_BUTTON, DFCS_BUTTONPUSH));
    EXPECT_NE(kWhite, dc.GetPixel(16, 16));

    int whiteBefore = CountOf(kWhite);
    EXPECT_TRUE(dc.DrawState(CPoint(0, 10), CSize(10, 10), "Ab", DSS_NORMAL, TRUE, 0, static_cast<HBRUSH>(nullptr)));
    EXPECT_LT(CountOf(kWhite), whiteBefore) << "the text was drawn";
    EXPECT_FALSE(dc.DrawState(CPoint(0, 0), CSize(1, 1), static_cast<LPCSTR>(nullptr), DSS_NORMAL));

    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    ASSERT_NE(nullptr, icon);
    CDC big;
    CBitmap bigBits;
    ASSERT_TRUE(big.CreateCompatibleDC(&dc));
    ASSERT_TRUE(bigBits.CreateBitmap(32, 32, 1, 32, nullptr));
    CBitmap* bigOld = big.SelectObject(&bigBits);
    big.FillSolidRect(0, 0, 32, 32, kWhite);
    EXPECT_TRUE(big.DrawIcon(0, 0, icon));
    int changed = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            changed += big.GetPixel(x, y) != kWhite ? 1 : 0;
    EXPECT_GT(changed, 0);
    big.SelectObject(bigOld);
}

TEST(CDC, OwnedDCIsDeletedWithTheObjectButATemporaryOneIsNot)
{
    HDC deleted;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        deleted = dc.m_hDC;
        EXPECT_EQ(dc.m_hDC, dc.m_hAttribDC);
        EXPECT_EQ(&dc, CDC::FromHandle(deleted));
        EXPECT_FALSE(dc.CreateCompatibleDC(nullptr)) << "already holds a DC";
    }
    EXPECT_EQ(0u, ::GetObjectType(deleted));

    HDC foreign = ::CreateCompatibleDC(nullptr);
    CDC* temporary = CDC::FromHandle(foreign);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(RUNTIME_CLASS(CDC), temporary->GetRuntimeClass());
    EXPECT_EQ(foreign, temporary->m_hDC);
    EXPECT_EQ(foreign, temporary->m_hAttribDC);
    EXPECT_EQ(temporary, CDC::FromHandle(foreign));
    CDC* none = CDC::FromHandle(nullptr);
    EXPECT_EQ(nullptr, none->GetSafeHdc()) << "safe through a null pointer";
    AfxDeleteTempMaps();
    EXPECT_EQ(DWORD(OBJ_MEMDC), ::GetObjectType(foreign)) << "a temporary never deletes its DC";

    CDC adopted;
    EXPECT_FALSE(adopted.Attach(nullptr));
    ASSERT_TRUE(adopted.Attach(foreign));
    EXPECT_EQ(foreign, adopted.Detach());
    EXPECT_EQ(nullptr, adopted.m_hAttribDC);
    EXPECT_EQ(DWORD(OBJ_MEMDC), ::GetObjectType(foreign)) << "detached, not deleted";
    EXPECT_FALSE(adopted.DeleteDC());
    ::DeleteDC(foreign);
}

TEST(CDC, CreatesADisplayDCAndAPreviewDCIsAPlainDC)
{
    CDC display;
    ASSERT_TRUE(display.CreateDC("DISPLAY", nullptr, nullptr, nullptr));
    EXPECT_GT(display.GetDeviceCaps(LOGPIXELSY), 0);
    EXPECT_EQ(display.GetSafeHdc(), static_cast<HDC>(display));

    CPreviewDC preview;
    EXPECT_TRUE(preview.IsKindOf(RUNTIME_CLASS(CDC)));
    HDC memory = ::CreateCompatibleDC(nullptr);
    ASSERT_TRUE(preview.Attach(memory));
    EXPECT_EQ(&preview, CDC::FromHandle(memory));
}
