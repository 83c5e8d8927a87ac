// Points, sizes and rectangles: edges, empty and inverted rectangles, overlap and union.
#include "framework/Framework.h"

#include <gtest/gtest.h>

namespace {

void ExpectRect(const RECT& actual, int l, int t, int r, int b)
{
    EXPECT_EQ(l, actual.left);
    EXPECT_EQ(t, actual.top);
    EXPECT_EQ(r, actual.right);
    EXPECT_EQ(b, actual.bottom);
}

} // namespace

TEST(CRect, PtInRectTakesLeftAndTopEdgesButNotRightAndBottom)
{
    const CRect rect(10, 20, 30, 40);
    struct Case { const char* why; int x; int y; BOOL inside; };
    const Case kCases[] = {
        {"top-left corner", 10, 20, TRUE},
        {"last pixel inside", 29, 39, TRUE},
        {"right edge", 30, 25, FALSE},
        {"bottom edge", 15, 40, FALSE},
        {"bottom-right corner", 30, 40, FALSE},
        {"left of the left edge", 9, 25, FALSE},
        {"above the top edge", 15, 19, FALSE},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.inside, rect.PtInRect(CPoint(c.x, c.y)));
        // Win32 answers the same for every row.
        EXPECT_EQ(c.inside, ::PtInRect(&rect, POINT{c.x, c.y}) ? TRUE : FALSE);
    }
    EXPECT_FALSE(CRect(30, 40, 10, 20).PtInRect(CPoint(20, 30))) << "an inverted rectangle holds no point";
}

TEST(CRect, EmptyMeansNoAreaAndNullMeansAllZero)
{
    struct Case { const char* why; CRect rect; BOOL empty; BOOL null; };
    const Case kCases[] = {
        {"all zero", CRect(), TRUE, TRUE},
        {"zero width", CRect(5, 5, 5, 10), TRUE, FALSE},
        {"zero height", CRect(5, 5, 10, 5), TRUE, FALSE},
        {"inverted horizontally", CRect(10, 0, 5, 10), TRUE, FALSE},
        {"inverted vertically", CRect(0, 10, 10, 5), TRUE, FALSE},
        {"one pixel", CRect(5, 5, 6, 6), FALSE, FALSE},
        {"negative coordinates", CRect(-10, -10, -5, -5), FALSE, FALSE},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.empty, c.rect.IsRectEmpty());
        EXPECT_EQ(c.null, c.rect.IsRectNull());
    }
}

TEST(CRect, IntersectionFollowsWin32)
{
    struct Case { const char* why; RECT a; RECT b; BOOL overlaps; RECT result; };
    const Case kCases[] = {
        {"overlapping", {0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10}},
        {"one inside the other", {0, 0, 10, 10}, {2, 3, 4, 5}, TRUE, {2, 3, 4, 5}},
        {"disjoint", {0, 0, 10, 10}, {20, 20, 30, 30}, FALSE, {0, 0, 0, 0}},
        {"touching at an edge", {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0}},
        {"empty source inside the other", {0, 0, 10, 10}, {3, 3, 3, 8}, FALSE, {0, 0, 0, 0}},
        {"inverted source", {0, 0, 10, 10}, {8, 8, 2, 2}, FALSE, {0, 0, 0, 0}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        CRect result(99, 99, 99, 99);
        EXPECT_EQ(c.overlaps, result.IntersectRect(&c.a, &c.b));
        ExpectRect(result, c.result.left, c.result.top, c.result.right, c.result.bottom);
        RECT win32;
        EXPECT_EQ(c.overlaps, ::IntersectRect(&win32, &c.a, &c.b) ? TRUE : FALSE);
        EXPECT_TRUE(result == win32);
        ExpectRect(CRect(c.a) & c.b, c.result.left, c.result.top, c.result.right, c.result.bottom);
    }
}

TEST(CRect, UnionIgnoresEmptyRectangles)
{
    struct Case { const char* why; RECT a; RECT b; BOOL nonEmpty; RECT result; };
    const Case kCases[] = {
        {"disjoint", {0, 0, 10, 10}, {20, 30, 40, 50}, TRUE, {0, 0, 40, 50}},
        {"first empty", {-100, -100, -100, 0}, {1, 2, 3, 4}, TRUE, {1, 2, 3, 4}},
        {"second empty", {1, 2, 3, 4}, {50, 50, 50, 50}, TRUE, {1, 2, 3, 4}},
        {"both empty", {5, 5, 5, 5}, {9, 9, 1, 1}, FALSE, {0, 0, 0, 0}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        CRect result(99, 99, 99, 99);
        EXPECT_EQ(c.nonEmpty, result.UnionRect(&c.a, &c.b));
        ExpectRect(result, c.result.left, c.result.top, c.result.right, c.result.bottom);
        RECT win32;
        EXPECT_EQ(c.nonEmpty, ::UnionRect(&win32, &c.a, &c.b) ? TRUE : FALSE);
        EXPECT_TRUE(result == win32);
        ExpectRect(CRect(c.a) | c.b, c.result.left, c.result.top, c.result.right, c.result.bottom);
    }
}

TEST(CRect, IntersectAndUnionMayWriteIntoASource)
{
    CRect a(0, 0, 10, 10);
    a &= CRect(5, -5, 20, 5);
    ExpectRect(a, 5, 0, 10, 5);
    CRect b(0, 0, 10, 10);
    EXPECT_TRUE(b.UnionRect(&b, CRect(-5, 2, 3, 20)));
    ExpectRect(b, -5, 0, 10, 20);
}

TEST(CRect, InflateDeflateAndOffsetMoveEachSide)
{
    CRect rect(10, 20, 30, 40);
    rect.InflateRect(2, 3);
    ExpectRect(rect, 8, 17, 32, 43);
    rect.DeflateRect(2, 3);
    ExpectRect(rect, 10, 20, 30, 40);
    rect.InflateRect(1, 2, 3, 4);
    ExpectRect(rect, 9, 18, 33, 44);
    rect.DeflateRect(CRect(1, 2, 3, 4));
    ExpectRect(rect, 10, 20, 30, 40);
    rect.OffsetRect(-10, 5);
    ExpectRect(rect, 0, 25, 20, 45);
    rect += CSize(1, 1);
    rect -= CPoint(2, 2);
    ExpectRect(rect, -1, 24, 19, 44);
    const RECT sides = {1, 1, 1, 1};
    ExpectRect(rect + &sides, -2, 23, 20, 45);
    ExpectRect(rect - &sides, 0, 25, 18, 43);
    rect.DeflateRect(20, 0);
    EXPECT_EQ(-20, rect.Width()) << "deflating past the middle inverts the rectangle";
    EXPECT_TRUE(rect.IsRectEmpty());
    rect.NormalizeRect();
    ExpectRect(rect, -1, 24, 19, 44);
}

TEST(CRect, CornersAliasTheRectangle)
{
    CRect rect(10, 20, 31, 41);
    EXPECT_EQ(21, rect.Width());
    EXPECT_EQ(21, rect.Height());
    EXPECT_TRUE(rect.Size() == CSize(21, 21));
    EXPECT_TRUE(rect.CenterPoint() == CPoint(20, 30));
    EXPECT_TRUE(rect.TopLeft() == CPoint(10, 20));
    EXPECT_TRUE(rect.BottomRight() == CPoint(31, 41));
    // Callers convert corners in place through pointers to them.
    LPPOINT corner = &rect.BottomRight();
    corner->x = 50;
    rect.TopLeft().Offset(1, 1);
    ExpectRect(rect, 11, 21, 50, 41);
    LPRECT asWin32 = rect;
    EXPECT_EQ(static_cast<RECT*>(&rect), asWin32);
    EXPECT_TRUE(CRect(CPoint(1, 2), CSize(3, 4)) == CRect(1, 2, 4, 6));
    EXPECT_TRUE(CRect(CPoint(1, 2), CPoint(3, 4)) != CRect(1, 2, 4, 6));
}

TEST(CPointAndCSize, ArithmeticKeepsSigns)
{
    CPoint p(3, -4);
    EXPECT_TRUE(p + CSize(1, 1) == CPoint(4, -3));
    EXPECT_TRUE(p - CSize(1, 1) == CPoint(2, -5));
    EXPECT_TRUE(p - CPoint(5, 5) == CSize(-2, -9));
    EXPECT_TRUE(-p == CPoint(-3, 4));
    p += CPoint(1, 2);
    p -= CSize(2, 2);
    EXPECT_TRUE(p == CPoint(2, -4));
    CSize s(5, 6);
    s += CSize(1, 1);
    s -= CSize(2, 3);
    EXPECT_TRUE(s == CSize(4, 4));
    EXPECT_TRUE(-s == CSize(-4, -4));
    EXPECT_TRUE(s + CPoint(1, 2) == CPoint(5, 6));
}

TEST(CPoint, UnpacksMessageCoordinatesAsSigned16Bit)
{
    // A mouse message left of or above a window carries negative 16-bit coordinates.
    CPoint p(static_cast<DWORD>(MAKELPARAM(-5, 300)));
    EXPECT_EQ(-5, p.x);
    EXPECT_EQ(300, p.y);
    CPoint q(static_cast<DWORD>(MAKELPARAM(32767, -32768)));
    EXPECT_EQ(32767, q.x);
    EXPECT_EQ(-32768, q.y);
}
