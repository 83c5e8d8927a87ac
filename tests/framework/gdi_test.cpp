// GDI object wrappers: ownership, temporary wrappers of the handle's kind, creation
// failures (empty pens, throwing brushes), fonts in points, bitmaps and regions.
#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

bool IsAlive(HGDIOBJ object)
{
    return ::GetObjectType(object) != 0;
}

// Runs make and answers whether it threw the framework's resource exception.
template <class Make>
bool ThrowsResourceException(Make make)
{
    try {
        make();
    } catch (CException* e) {
        bool isResource = e->IsKindOf(RUNTIME_CLASS(CResourceException));
        e->Delete();
        return isResource;
    }
    return false;
}

} // namespace

TEST(CGdiObject, OwnedHandleIsDeletedWithTheObjectUnlessDetached)
{
    HGDIOBJ deleted;
    {
        CBrush brush;
        ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 2, 3)));
        deleted = brush.m_hObject;
        EXPECT_EQ(&brush, CGdiObject::FromHandle(deleted));
        EXPECT_EQ(&brush, CBrush::FromHandle(static_cast<HBRUSH>(deleted)));
    }
    EXPECT_FALSE(IsAlive(deleted));

    HGDIOBJ kept;
    {
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        kept = pen.Detach();
        EXPECT_EQ(nullptr, pen.GetSafeHandle());
        EXPECT_FALSE(pen.DeleteObject()) << "nothing left to delete";
    }
    EXPECT_TRUE(IsAlive(kept));
    EXPECT_TRUE(::DeleteObject(kept));
}

TEST(CGdiObject, AttachRefusesNullAndASecondHandle)
{
    CGdiObject object;
    EXPECT_FALSE(object.Attach(nullptr));
    HGDIOBJ first = ::CreateSolidBrush(RGB(9, 9, 9));
    HGDIOBJ second = ::CreateSolidBrush(RGB(8, 8, 8));
    ASSERT_TRUE(object.Attach(first));
    EXPECT_FALSE(object.Attach(second)) << "the first handle would be lost";
    EXPECT_EQ(first, object.m_hObject);
    EXPECT_EQ(UINT(OBJ_BRUSH), object.GetObjectType());
    CBrush brush;
    ASSERT_TRUE(brush.CreateSolidBrush(RGB(1, 1, 1)));
    HGDIOBJ held = brush.m_hObject;
    EXPECT_FALSE(brush.CreateSolidBrush(RGB(2, 2, 2))) << "a second creation is refused";
    EXPECT_EQ(held, brush.m_hObject);
    ::DeleteObject(second);
}

TEST(CGdiObject, TemporaryWrapperHasTheHandlesKindAndNeverDeletesIt)
{
    HFONT font = ::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HRGN region = ::CreateRectRgn(0, 0, 4, 4);
    HBITMAP bitmap = ::CreateBitmap(2, 2, 1, 32, nullptr);
    HBRUSH brush = ::CreateSolidBrush(RGB(5, 5, 5));
    struct Case { const char* why; HGDIOBJ handle; const CRuntimeClass* kind; };
    const Case kCases[] = {
        {"stock pen", ::GetStockObject(BLACK_PEN), RUNTIME_CLASS(CPen)},
        {"font", font, RUNTIME_CLASS(CFont)},
        {"region", region, RUNTIME_CLASS(CRgn)},
        {"bitmap", bitmap, RUNTIME_CLASS(CBitmap)},
        {"brush", brush, RUNTIME_CLASS(CBrush)},
        {"stock palette", ::GetStockObject(DEFAULT_PALETTE), RUNTIME_CLASS(CPalette)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        CGdiObject* wrapper = CGdiObject::FromHandle(c.handle);
        ASSERT_NE(nullptr, wrapper);
        EXPECT_EQ(c.kind, wrapper->GetRuntimeClass());
        EXPECT_EQ(c.handle, wrapper->m_hObject);
        EXPECT_EQ(wrapper, CGdiObject::FromHandle(c.handle)) << "reused until idle";
    }
    EXPECT_NE(nullptr, dynamic_cast<CFont*>(CGdiObject::FromHandle(font)));
    EXPECT_EQ(nullptr, CGdiObject::FromHandle(nullptr));
    CFont* none = CFont::FromHandle(nullptr);
    EXPECT_EQ(nullptr, none->GetSafeHandle()) << "safe through a null pointer";

    AfxDeleteTempMaps();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_TRUE(IsAlive(c.handle)) << "a temporary wrapper never owns its handle";
    }
    ::DeleteObject(font);
    ::DeleteObject(region);
    ::DeleteObject(bitmap);
    ::DeleteObject(brush);
}

TEST(CPen, FailedCreationLeavesAnEmptyPenWithoutThrowing)
{
    LOGBRUSH solid = {BS_SOLID, RGB(0, 0, 0), 0};
    // A user style needs at least one dash length.
    CPen broken(PS_GEOMETRIC | PS_USERSTYLE, 1, &solid, 0, nullptr);
    EXPECT_EQ(nullptr, broken.m_hObject);

    DWORD dashes[2] = {3, 1};
    CPen dashed(PS_GEOMETRIC | PS_USERSTYLE, 2, &solid, 2, dashes);
    EXPECT_EQ(UINT(OBJ_EXTPEN), dashed.GetObjectType());
    EXPECT_EQ(RUNTIME_CLASS(CPen), CGdiObject::FromHandle(dashed)->GetRuntimeClass());

    CPen plain;
    ASSERT_TRUE(plain.CreatePen(PS_DOT, 1, RGB(10, 20, 30)));
    LOGPEN logPen = {};
    ASSERT_EQ(int(sizeof logPen), plain.GetObject(sizeof logPen, &logPen));
    EXPECT_EQ(UINT(PS_DOT), logPen.lopnStyle);
    EXPECT_EQ(RGB(10, 20, 30), logPen.lopnColor);
}

TEST(CBrush, ConstructorsThrowTheResourceExceptionWhenGdiRefuses)
{
    EXPECT_TRUE(ThrowsResourceException([] { CBrush hatch(99, RGB(0, 0, 0)); })) << "no such hatch";
    EXPECT_TRUE(ThrowsResourceException([] { CBrush pattern(static_cast<CBitmap*>(nullptr)); }));
    EXPECT_TRUE(ThrowsResourceException([] {
        CBitmap empty;
        CBrush pattern(&empty);
    })) << "an empty bitmap";

    CBrush solid(RGB(200, 100, 50));
    LOGBRUSH logBrush = {};
    ASSERT_TRUE(solid.GetObject(sizeof logBrush, &logBrush));
    EXPECT_EQ(UINT(BS_SOLID), logBrush.lbStyle);
    EXPECT_EQ(RGB(200, 100, 50), logBrush.lbColor);

    CBrush hatch(HS_CROSS, RGB(1, 2, 3));
    ASSERT_TRUE(hatch.GetObject(sizeof logBrush, &logBrush));
    EXPECT_EQ(UINT(BS_HATCHED), logBrush.lbStyle);

    CBitmap bits;
    ASSERT_TRUE(bits.CreateBitmap(8, 8, 1, 1, nullptr));
    CBrush pattern(&bits);
    ASSERT_TRUE(pattern.GetObject(sizeof logBrush, &logBrush));
    EXPECT_EQ(UINT(BS_PATTERN), logBrush.lbStyle);

    CBrush face;
    EXPECT_TRUE(face.CreateSysColorBrush(COLOR_BTNFACE));
    ASSERT_TRUE(face.GetObject(sizeof logBrush, &logBrush));
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), logBrush.lbColor);
}

TEST(CFont, PointSizesAreConvertedThroughTheDC)
{
    CDC screenCompatible;
    ASSERT_TRUE(screenCompatible.CreateCompatibleDC(nullptr));
    int dpi = screenCompatible.GetDeviceCaps(LOGPIXELSY);
    ASSERT_GT(dpi, 0);

    CFont twelve;
    ASSERT_TRUE(twelve.CreatePointFont(120, "Arial", &screenCompatible));
    LOGFONTA logFont = {};
    ASSERT_TRUE(twelve.GetLogFont(&logFont));
    EXPECT_EQ(-MulDiv(12, dpi, 72), logFont.lfHeight);
    EXPECT_STREQ("Arial", logFont.lfFaceName);

    CFont onScreen;
    ASSERT_TRUE(onScreen.CreatePointFont(80, "Arial"));
    ASSERT_TRUE(onScreen.GetLogFont(&logFont));
    EXPECT_EQ(-MulDiv(8, dpi, 72), logFont.lfHeight) << "no DC: the screen";

    // In tenths of a millimetre twelve points are about 42 units.
    screenCompatible.SetMapMode(MM_LOMETRIC);
    CFont metric;
    ASSERT_TRUE(metric.CreatePointFont(120, "Arial", &screenCompatible));
    ASSERT_TRUE(metric.GetLogFont(&logFont));
    EXPECT_LE(logFont.lfHeight, -38);
    EXPECT_GE(logFont.lfHeight, -46);

    LOGFONTA longName = {};
    longName.lfHeight = 100;
    memset(longName.lfFaceName, 'A', sizeof longName.lfFaceName - 1);
    CFont cut;
    ASSERT_TRUE(cut.CreatePointFontIndirect(&longName));
    ASSERT_TRUE(cut.GetLogFont(&logFont));
    EXPECT_EQ(31, int(strlen(logFont.lfFaceName)));
}

TEST(CFont, FontThatCannotBeCreatedLeavesTheObjectEmpty)
{
    CFont font;
    EXPECT_FALSE(font.CreateFontIndirect(nullptr));
    EXPECT_EQ(nullptr, font.GetSafeHandle());
    LOGFONTA none = {};
    EXPECT_EQ(0, font.GetLogFont(&none));
    ASSERT_TRUE(font.CreateFont(-11, 0, 900, 900, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma"));
    LOGFONTA logFont = {};
    ASSERT_TRUE(font.GetLogFont(&logFont));
    EXPECT_EQ(900, logFont.lfEscapement);
    EXPECT_EQ(FW_BOLD, logFont.lfWeight);
}

TEST(CBitmap, CreatesLoadsAndDescribesBitmaps)
{
    CBitmap colour;
    ASSERT_TRUE(colour.CreateBitmap(3, 2, 1, 32, nullptr));
    BITMAP info = {};
    ASSERT_EQ(int(sizeof info), colour.GetBitmap(&info));
    EXPECT_EQ(3, info.bmWidth);
    EXPECT_EQ(2, info.bmHeight);
    EXPECT_EQ(32, info.bmBitsPixel);

    // A fresh memory DC holds a monochrome bitmap, so its compatible bitmaps are monochrome.
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    CBitmap compatible;
    ASSERT_TRUE(compatible.CreateCompatibleBitmap(&memory, 5, 4));
    ASSERT_TRUE(compatible.GetBitmap(&info));
    EXPECT_EQ(1, info.bmBitsPixel);
    EXPECT_FALSE(CBitmap().CreateCompatibleBitmap(nullptr, 5, 4));

    CBitmap check;
    ASSERT_TRUE(check.LoadOEMBitmap(OBM_CHECK));
    EXPECT_GT(check.GetBitmap(&info), 0);

    AfxSetResourceHandle(::GetModuleHandleA("user32.dll"));
    CBitmap close;
    BOOL loaded = close.LoadBitmap(OBM_CLOSE);
    AfxSetResourceHandle(nullptr);
    EXPECT_TRUE(loaded) << "Wine's user32 carries the frame bitmaps as resources";
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(4242));
    EXPECT_FALSE(missing.LoadBitmap("NoSuchBitmap"));
    EXPECT_EQ(nullptr, missing.m_hObject);
    EXPECT_EQ(0, missing.GetBitmap(&info));
}

TEST(CRgn, CombinesAndAnswersHitTests)
{
    CRgn left;
    CRgn right;
    ASSERT_TRUE(left.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(right.CreateRectRgn(20, 0, 30, 10));
    CRgn both;
    EXPECT_EQ(ERROR, both.CombineRgn(&left, &right, RGN_OR)) << "the destination must exist first";
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(COMPLEXREGION, both.CombineRgn(&left, &right, RGN_OR));
    EXPECT_TRUE(both.PtInRegion(5, 5));
    EXPECT_FALSE(both.PtInRegion(15, 5)) << "the gap";
    EXPECT_FALSE(both.PtInRegion(30, 5)) << "right edge is outside";
    CRect box;
    EXPECT_EQ(COMPLEXREGION, both.GetRgnBox(&box));
    EXPECT_TRUE(box == CRect(0, 0, 30, 10));
    EXPECT_EQ(NULLREGION, both.CombineRgn(&left, &right, RGN_AND));

    CRgn copy;
    ASSERT_TRUE(copy.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(SIMPLEREGION, copy.CopyRgn(&right));
    EXPECT_EQ(SIMPLEREGION, copy.OffsetRgn(-20, 5));
    EXPECT_TRUE(copy.PtInRegion(0, 5));
    copy.SetRectRgn(1, 1, 2, 2);
    EXPECT_TRUE(copy.PtInRegion(1, 1));
    EXPECT_FALSE(copy.PtInRegion(0, 5));

    CRgn rounded;
    ASSERT_TRUE(rounded.CreateRoundRectRgn(0, 0, 20, 20, 10, 10));
    EXPECT_FALSE(rounded.PtInRegion(0, 0)) << "corner cut off";
    EXPECT_TRUE(rounded.PtInRegion(10, 10));

    const POINT triangle[] = {{0, 0}, {20, 0}, {0, 20}};
    CRgn polygon;
    ASSERT_TRUE(polygon.CreatePolygonRgn(triangle, 3, ALTERNATE));
    EXPECT_TRUE(polygon.PtInRegion(2, 2));
    EXPECT_FALSE(polygon.PtInRegion(18, 18));

    // A window takes ownership of a region given to it: the holder lets go.
    HRGN given = static_cast<HRGN>(rounded.Detach());
    EXPECT_TRUE(IsAlive(given));
    ::DeleteObject(given);
}

TEST(CPalette, CreatedPaletteHoldsItsEntries)
{
    struct {
        LOGPALETTE header;
        PALETTEENTRY more[1];
    } twoColours = {{0x300, 2, {{255, 0, 0, 0}}}, {{0, 0, 255, 0}}};
    CPalette palette;
    ASSERT_TRUE(palette.CreatePalette(&twoColours.header));
    WORD count = 0;
    ASSERT_TRUE(palette.GetObject(sizeof count, &count));
    EXPECT_EQ(2, count);
    EXPECT_EQ(&palette, CPalette::FromHandle(palette));
    EXPECT_FALSE(CPalette().CreatePalette(nullptr));
}
