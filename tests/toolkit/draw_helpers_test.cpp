// The shared drawing and window routines: dithered faces, embossed images, the child
// under a point, a window's font change with its children rescaled, and the opening
// of a popup's frame towards its opener.
#include "toolkit/foundation/QZDrawHelpers.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit_test_support.h"

using toolkit_test::PaperCanvas;

TEST(QZDrawDitheredRect, OnePixelCheckerboardOfHighlightAndFace)
{
    ASSERT_NE(qzAfxData.colorFace, qzAfxData.colorHilite);
    PaperCanvas canvas(12, 6);
    canvas.m_dc.SetBkColor(RGB(1, 2, 3));
    canvas.m_dc.SetTextColor(RGB(4, 5, 6));
    QZDrawDitheredRect(&canvas.m_dc, CRect(2, 1, 10, 5));
    for (int y = 1; y < 5; ++y) {
        for (int x = 2; x < 10; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ((x + y) % 2 == 0 ? qzAfxData.colorHilite : qzAfxData.colorFace, canvas.At(x, y));
        }
    }
    EXPECT_EQ(test_support::kPaper, canvas.At(1, 1));
    EXPECT_EQ(test_support::kPaper, canvas.At(10, 4));
    EXPECT_EQ(RGB(1, 2, 3), canvas.m_dc.GetBkColor()) << "colours are put back";
    EXPECT_EQ(RGB(4, 5, 6), canvas.m_dc.GetTextColor());
}

TEST(QZDrawEmbossedImage, HighlightCopyUnderAShadowCopyOfTheImagesPixels)
{
    // A 4 x 4 image: a black 2 x 2 square on the list's transparent colour.
    constexpr COLORREF kTransparent = RGB(255, 0, 255);
    PaperCanvas source(4, 4);
    source.m_dc.FillSolidRect(0, 0, 4, 4, kTransparent);
    source.m_dc.FillSolidRect(1, 1, 2, 2, RGB(0, 0, 0));
    CBitmap strip;
    ASSERT_TRUE(strip.CreateCompatibleBitmap(&source.m_dc, 4, 4));
    {
        CDC copy;
        copy.CreateCompatibleDC(&source.m_dc);
        HGDIOBJ previous = SelectObject(copy.m_hDC, strip.m_hObject);
        BitBlt(copy.m_hDC, 0, 0, 4, 4, source.get(), 0, 0, SRCCOPY);
        SelectObject(copy.m_hDC, previous);
    }
    CImageList images;
    ASSERT_TRUE(images.Create(4, 4, ILC_COLOR24 | ILC_MASK, 0, 1));
    ASSERT_EQ(0, images.Add(&strip, kTransparent));

    constexpr COLORREF kGround = RGB(0, 128, 0);
    for (BOOL colourMask : {FALSE, TRUE}) {
        SCOPED_TRACE(colourMask ? "colour mask" : "monochrome mask");
        PaperCanvas canvas(16, 16);
        canvas.m_dc.FillSolidRect(0, 0, 16, 16, kGround);
        QZDrawEmbossedImage(&canvas.m_dc, &images, 0, 5, 5, colourMask);
        // The shadow copy at (6, 6), the highlight copy one pixel down and right of it.
        EXPECT_EQ(4, canvas.Count(CRect(6, 6, 8, 8), qzAfxData.colorShadow));
        EXPECT_EQ(qzAfxData.colorHilite, canvas.At(8, 7));
        EXPECT_EQ(qzAfxData.colorHilite, canvas.At(8, 8));
        EXPECT_EQ(qzAfxData.colorHilite, canvas.At(7, 8));
        EXPECT_EQ(16 * 16 - 7, canvas.Count(CRect(0, 0, 16, 16), kGround)) << "the image's ground stays";
    }
}

TEST(QZChildWindowFromPoint, FirstVisibleChildWithAnIdUnderThePoint)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 50, 50, 300, 100, nullptr, nullptr));
    auto child = [&](int x, int id, bool visible) {
        return CreateWindowExA(0, "STATIC", "", WS_CHILD | (visible ? WS_VISIBLE : 0), x, 10, 40, 20, parent.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    };
    HWND hidden = child(10, 5, false);
    HWND shown = child(10, 6, true);
    HWND noId = child(100, 0xFFFF, true);
    HWND other = child(200, 7, true);
    ASSERT_TRUE(hidden && shown && noId && other);
    struct Case {
        const char* why;
        POINT point;
        HWND expected;
    };
    const Case cases[] = {
        {"the hidden child is passed over", {15, 15}, shown},
        {"a child without an id is passed over", {110, 15}, nullptr},
        {"a plain hit", {239, 29}, other},
        {"right and bottom edges are outside", {240, 30}, nullptr},
        {"between children", {70, 15}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.expected, QZChildWindowFromPoint(parent.m_hWnd, c.point));
    }
    parent.DestroyWindow();
}

namespace {

struct Metrics {
    int width;
    int height;
};

Metrics MetricsOf(HFONT font)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    // Widths as dialog units take them: the mean of the letters, rounded.
    SIZE letters = {};
    GetTextExtentPoint32A(dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &letters);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return {(letters.cx / 26 + 1) / 2, tm.tmHeight + tm.tmExternalLeading};
}

CRect RectInParent(HWND child)
{
    CRect rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

TEST(QZChangeWindowFont, ScalesTheWindowAboutItsCentreAndItsChildrenByTheFontsMetrics)
{
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "dialog", WS_POPUP | WS_CAPTION, 100, 100, 300, 200, nullptr, nullptr));
    HWND button = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 20, 30, 80, 24, window.m_hWnd,
                                  reinterpret_cast<HMENU>(1), nullptr, nullptr);
    HWND combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 20, 70, 120, 150,
                                 window.m_hWnd, reinterpret_cast<HMENU>(2), nullptr, nullptr);
    ASSERT_TRUE(button && combo);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(240, "Arial"));
    const Metrics before = MetricsOf(reinterpret_cast<HFONT>(window.SendMessage(WM_GETFONT)));
    const Metrics after = MetricsOf(static_cast<HFONT>(font.m_hObject));
    ASSERT_NE(before.width, after.width);

    CRect windowBefore;
    CRect clientBefore;
    window.GetWindowRect(&windowBefore);
    window.GetClientRect(&clientBefore);
    const CRect buttonBefore = RectInParent(button);
    const CRect comboClosed = RectInParent(combo);
    CRect comboDropped;
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&comboDropped));
    MapWindowPoints(nullptr, window.m_hWnd, reinterpret_cast<POINT*>(&comboDropped), 2);

    QZChangeWindowFont(&window, &font);

    auto sx = [&](int x) { return x * after.width / before.width; };
    auto sy = [&](int y) { return y * after.height / before.height; };
    CRect clientAfter;
    window.GetClientRect(&clientAfter);
    EXPECT_EQ(sx(clientBefore.Width()), clientAfter.Width());
    EXPECT_EQ(sy(clientBefore.Height()), clientAfter.Height());
    CRect windowAfter;
    window.GetWindowRect(&windowAfter);
    EXPECT_EQ(windowBefore.left - (windowAfter.Width() - windowBefore.Width()) / 2, windowAfter.left);
    EXPECT_EQ(windowBefore.top - (windowAfter.Height() - windowBefore.Height()) / 2, windowAfter.top);

    EXPECT_EQ(CRect(sx(buttonBefore.left), sy(buttonBefore.top), sx(buttonBefore.right), sy(buttonBefore.bottom)),
              RectInParent(button));
    EXPECT_EQ(font.m_hObject, reinterpret_cast<HGDIOBJ>(SendMessageA(button, WM_GETFONT, 0, 0)));
    // A combo box is scaled by its open list, not by its closed field: the control keeps
    // the list's height to itself, so the list must reach far below the scaled field.
    const CRect comboAfter = RectInParent(combo);
    EXPECT_EQ(sy(comboClosed.top), comboAfter.top);
    EXPECT_EQ(sx(comboDropped.right), comboAfter.right);
    CRect droppedAfter;
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&droppedAfter));
    MapWindowPoints(nullptr, window.m_hWnd, reinterpret_cast<POINT*>(&droppedAfter), 2);
    EXPECT_GT(droppedAfter.bottom, sy(comboDropped.bottom) - 2 * after.height);
    EXPECT_GT(droppedAfter.bottom, sy(comboClosed.bottom) + 2 * after.height);
    window.DestroyWindow();
}

TEST(DrawPopupOwnerGap, OpensTheFrameAlongTheEdgeSharedWithTheOpener)
{
    constexpr COLORREF kGap = RGB(200, 10, 10);
    // Both rectangles on the screen; the canvas is the popup's window.
    const CRect popup(100, 50, 140, 80);
    const CRect tallPopup(10, 20, 60, 60);
    struct Case {
        const char* why;
        CRect opener;
        CRect popup;
        CRect line;  // in the popup's window coordinates; empty for none
    };
    const Case cases[] = {
        {"a button above: its bottom is the popup's top", CRect(110, 30, 130, 50), popup, CRect(11, 0, 30, 1)},
        {"a button wider than the popup", CRect(90, 30, 160, 50), popup, CRect(1, 0, 40, 1)},
        {"a button on the left: its right is the popup's left", CRect(80, 60, 100, 75), popup, CRect(0, 11, 1, 25)},
        {"an edge of two pixels is too short", CRect(110, 30, 112, 50), popup, CRect()},
        {"an opener overlapping the popup shares no edge", CRect(110, 40, 130, 60), popup, CRect()},
        {"no opener", CRect(-1, -1, -1, -1), popup, CRect()},
        {"popup below the button", CRect(30, 0, 42, 20), tallPopup, CRect(21, 0, 32, 1)},
        {"popup right of the button", CRect(0, 30, 10, 50), tallPopup, CRect(0, 11, 1, 30)},
        {"an edge of two pixels at the popup's corner", CRect(10, 0, 12, 20), tallPopup, CRect()},
        {"apart: nothing shared", CRect(0, 0, 5, 5), tallPopup, CRect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PaperCanvas canvas(c.popup.Width(), c.popup.Height());
        HGDIOBJ penBefore = GetCurrentObject(canvas.get(), OBJ_PEN);
        DrawPopupOwnerGap(&canvas.m_dc, kGap, &c.opener, &c.popup);
        EXPECT_EQ(penBefore, GetCurrentObject(canvas.get(), OBJ_PEN)) << "the DC's pen back";
        EXPECT_EQ(c.line.Width() * c.line.Height(), canvas.Count(CRect(0, 0, c.popup.Width(), c.popup.Height()), kGap));
        EXPECT_EQ(c.line.Width() * c.line.Height(), canvas.Count(c.line, kGap));
    }
}
