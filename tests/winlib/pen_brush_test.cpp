// Pens and brushes: a refused pen is empty and selects nothing, a brush that cannot be
// made or attached throws the resource exception, each deletes its handle, and both
// draw what they were made with into a memory DC.
#include "lib/src/Win2/Wnd/iPenBrush.h"

#include "winlib_test_support.h"

#include <gtest/gtest.h>

namespace {

using winlib_test::kPaper;
using winlib_test::PaperCanvas;

const COLORREF kCrimson = RGB(220, 20, 40);

} // namespace

TEST(IPen, DrawsWithItsColourAndWidth)
{
    PaperCanvas canvas(16, 16, 32);
    iPen pen(PS_SOLID, 1, kCrimson);
    ASSERT_NE(nullptr, pen.m_hObject);
    LOGPEN description = {};
    ASSERT_NE(0, pen.GetObject(sizeof description, &description));
    EXPECT_EQ(static_cast<UINT>(PS_SOLID), description.lopnStyle);
    EXPECT_EQ(kCrimson, description.lopnColor);
    CPen* previous = canvas.m_dc.SelectObject(&pen);
    canvas.m_dc.MoveTo(2, 5);
    canvas.m_dc.LineTo(12, 5);
    canvas.m_dc.SelectObject(previous);
    EXPECT_EQ(kCrimson, canvas.m_dc.GetPixel(2, 5));
    EXPECT_EQ(kCrimson, canvas.m_dc.GetPixel(11, 5));
    EXPECT_EQ(kPaper, canvas.m_dc.GetPixel(12, 5)) << "a line leaves out its last point";
    EXPECT_EQ(kPaper, canvas.m_dc.GetPixel(5, 6));
}

TEST(IPen, ExtendedPenTakesItsBrushAndStyle)
{
    PaperCanvas canvas(16, 16, 32);
    const LOGBRUSH brush = {BS_SOLID, kCrimson, 0};
    iPen pen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 3, &brush, 0, nullptr);
    ASSERT_NE(nullptr, pen.m_hObject);
    EXPECT_EQ(static_cast<DWORD>(OBJ_EXTPEN), GetObjectType(pen.m_hObject));
    CPen* previous = canvas.m_dc.SelectObject(&pen);
    canvas.m_dc.MoveTo(2, 8);
    canvas.m_dc.LineTo(14, 8);
    canvas.m_dc.SelectObject(previous);
    EXPECT_EQ(kCrimson, canvas.m_dc.GetPixel(8, 7)) << "three pixels wide";
    EXPECT_EQ(kCrimson, canvas.m_dc.GetPixel(8, 9));
    EXPECT_EQ(kPaper, canvas.m_dc.GetPixel(8, 11));
}

TEST(IPen, RefusedPenIsEmptyAndSelectsNothing)
{
    PaperCanvas canvas(16, 16, 32);
    const LOGBRUSH brush = {BS_SOLID, kCrimson, 0};
    const DWORD dashes[2] = {2, 1};
    struct Case {
        const char* why;
        int style;
        int width;
        int styleCount;
        const DWORD* styles;
    };
    const Case kCases[] = {
        {"a cosmetic pen wider than one pixel", PS_COSMETIC | PS_SOLID, 5, 0, nullptr},
        {"a user style without its dashes", PS_GEOMETRIC | PS_USERSTYLE, 2, 0, nullptr},
        {"no such style", PS_GEOMETRIC | 0x0F, 2, 0, nullptr},
        {"dashes for a style that takes none", PS_GEOMETRIC | PS_SOLID, 2, 2, dashes},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        iPen refused(c.style, c.width, &brush, c.styleCount, c.styles);
        EXPECT_EQ(nullptr, refused.m_hObject);
        HGDIOBJ before = GetCurrentObject(canvas.m_dc.m_hDC, OBJ_PEN);
        EXPECT_EQ(nullptr, canvas.m_dc.SelectObject(&refused));
        EXPECT_EQ(before, GetCurrentObject(canvas.m_dc.m_hDC, OBJ_PEN));
    }
    const iPen empty;
    EXPECT_EQ(nullptr, empty.m_hObject);
}

TEST(IPen, DestructorDeletesThePen)
{
    HGDIOBJ handle = nullptr;
    {
        const iPen pen(PS_DOT, 1, kCrimson);
        handle = pen.m_hObject;
        ASSERT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(handle));
    }
    EXPECT_EQ(0u, GetObjectType(handle));
}

TEST(IBrush, EachFormMakesItsKindOfBrush)
{
    PaperCanvas canvas(16, 16, 32);
    const iBrush solid(kCrimson);
    const iBrush hatched(HS_CROSS, kCrimson);
    const WORD checker[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    CBitmap pattern;
    ASSERT_TRUE(pattern.CreateBitmap(8, 8, 1, 1, checker));
    const iBrush patterned(&pattern);
    LOGBRUSH description = {};
    ASSERT_NE(0, hatched.GetObject(sizeof description, &description));
    EXPECT_EQ(static_cast<UINT>(BS_HATCHED), description.lbStyle);
    ASSERT_NE(0, patterned.GetObject(sizeof description, &description));
    EXPECT_EQ(static_cast<UINT>(BS_PATTERN), description.lbStyle);

    const CRect area(0, 0, 4, 4);
    canvas.m_dc.FillRect(&area, const_cast<iBrush*>(&solid));
    EXPECT_EQ(kCrimson, canvas.m_dc.GetPixel(3, 3));
    EXPECT_EQ(kPaper, canvas.m_dc.GetPixel(4, 4));
    // A monochrome pattern paints its 0 bits in the text colour (black) and its 1 bits in
    // the background colour (white).
    const CRect patternArea(0, 8, 8, 16);
    canvas.m_dc.FillRect(&patternArea, const_cast<iBrush*>(&patterned));
    EXPECT_EQ(RGB(0, 0, 0), canvas.m_dc.GetPixel(0, 8));
    EXPECT_EQ(RGB(255, 255, 255), canvas.m_dc.GetPixel(1, 8));
    EXPECT_EQ(RGB(255, 255, 255), canvas.m_dc.GetPixel(0, 9));
}

TEST(IBrush, NullHandleThrowsTheResourceException)
{
    bool thrown = false;
    try {
        iBrush brush(static_cast<HBRUSH>(nullptr));
    } catch (CResourceException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(IBrush, RefusedPatternThrowsTheResourceException)
{
    CBitmap noBitmap;
    bool thrown = false;
    try {
        iBrush brush(&noBitmap);
    } catch (CResourceException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(IBrush, AttachedHandleIsTheObjectsToDelete)
{
    HBRUSH handle = CreateSolidBrush(kCrimson);
    {
        const iBrush brush(handle);
        EXPECT_EQ(handle, brush.m_hObject);
        EXPECT_EQ(static_cast<CGdiObject*>(const_cast<iBrush*>(&brush)), CGdiObject::FromHandle(handle));
    }
    EXPECT_EQ(0u, GetObjectType(handle));
    const iBrush empty;
    EXPECT_EQ(nullptr, empty.m_hObject);
}
