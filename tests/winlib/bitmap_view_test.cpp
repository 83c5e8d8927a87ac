// The bitmap view control on real child windows: its layout in every display mode,
// panning driven by mouse messages, painting into a memory device context with the
// overlay hook, erasing, resizing with its guards, the parent's font and the cursor.
#include "lib/src/Win2/Wnd/iLBitmapCtrl.h"

#include "test_images.h"
#include "winlib_test_support.h"

#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace bitmap_view_test {
namespace {

using test_images::Plain;
using test_images::SaveImage;
using test_images::ScratchFolder;
using winlib_test::PaperCanvas;

// Counts the overlay hook's calls and keeps the view it was drawn with.
class HookedBitmapCtrl : public iLBitmapCtrl {
public:
    using iLBitmapCtrl::iLBitmapCtrl;
    void DrawOverlay(CDC* dc) override
    {
        ++overlayCalls;
        viewsPainted.push_back(m_view);
        // A mark the test finds on the canvas: the hook draws over the image.
        dc->FillSolidRect(0, 0, 2, 2, RGB(0, 0, 255));
    }
    int overlayCalls = 0;
    std::vector<CRect> viewsPainted;
};

class Listener : public CObject {
public:
    void OnViewChanged(CWnd* sender) { viewChanges.push_back(static_cast<iLBitmapCtrl*>(sender)->GetViewRect()); }
    void OnPanEnd(CWnd*) { ++panEnds; }
    std::vector<CRect> viewChanges;
    int panEnds = 0;
};

class BitmapView : public ::testing::Test {
protected:
    // A borderless control whose client area is cw x ch, on a hidden top-level parent.
    HookedBitmapCtrl& MakeControl(int cw, int ch, DWORD exStyle = 0)
    {
        m_control = new HookedBitmapCtrl(m_parent.get(), CRect(0, 0, cw, ch), WS_VISIBLE, "", 1, exStyle, nullptr);
        return *m_control;
    }
    // A width x height BMP whose pixel colour comes from colour, loaded into the control.
    void LoadImage(int width, int height, const test_images::ColourAt& colour = Plain(RGB(200, 0, 0)))
    {
        const std::string path = m_folder.Path("image.bmp");
        ASSERT_EQ(imaging::kSuccess, SaveImage(path, width, height, imaging::kFormatBmp, 72, colour));
        ASSERT_EQ(1, m_control->Load(path.c_str(), true));
    }
    void Drag(std::initializer_list<CPoint> points)
    {
        const CPoint* p = points.begin();
        m_control->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p->x, p->y));
        for (++p; p + 1 < points.end(); ++p)
            m_control->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p->x, p->y));
        m_control->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p->x, p->y));
    }

    ScratchFolder m_folder{"bitmap_view"};
    std::unique_ptr<iWnd> m_parent = winlib_test::NewContainer();
    // Owned by the parent's window set.
    HookedBitmapCtrl* m_control = nullptr;
};

struct LayoutCase {
    const char* why;
    int imageWidth, imageHeight;  // 0: no image
    int clientWidth, clientHeight;
    int mode;
    CRect view;
    bool isPannable;
};

const LayoutCase kLayoutCases[] = {
    {"fit: the view takes the client's shape and just holds the wide image", 1000, 500, 200, 200, 0,
     CRect(0, 0, 1000, 1000), false},
    {"fit: a tall image in a flat client", 500, 1000, 200, 100, 0, CRect(0, 0, 2000, 1000), false},
    {"half: twice the client, narrower than the image", 1000, 500, 200, 200, 2, CRect(0, 0, 400, 400), true},
    {"quarter", 1000, 500, 200, 200, 4, CRect(0, 0, 800, 800), true},
    {"eighth: the view holds the whole image", 1000, 500, 200, 200, 8, CRect(0, 0, 1600, 1600), false},
    {"full size", 1000, 500, 200, 200, 1, CRect(0, 0, 200, 200), true},
    {"full size of an image smaller than the client", 100, 50, 200, 200, 1, CRect(0, 0, 200, 200), false},
    {"mode -1 (no choice stored) shows full size", 1000, 500, 200, 200, -1, CRect(0, 0, 200, 200), true},
    {"mode 3 shows full size", 1000, 500, 200, 200, 3, CRect(0, 0, 200, 200), true},
    {"fit without an image", 0, 0, 200, 200, 0, CRect(0, 0, 0, 0), false},
    {"fit in an empty client area shows nothing", 1000, 500, 0, 0, 0, CRect(0, 0, 0, 0), false},
    {"full size in an empty client area has nothing to pan", 1000, 500, 0, 0, 1, CRect(0, 0, 0, 0), false},
};

TEST_F(BitmapView, LayoutFollowsTheDisplayModeAndAlwaysStartsTopLeft)
{
    for (const LayoutCase& c : kLayoutCases) {
        SCOPED_TRACE(c.why);
        MakeControl(c.clientWidth, c.clientHeight);
        if (c.imageWidth)
            LoadImage(c.imageWidth, c.imageHeight);
        m_control->SetDisplayMode(c.mode);
        m_control->RecalcLayout();
        EXPECT_EQ(c.view, m_control->GetViewRect());
        EXPECT_EQ(c.isPannable, m_control->IsPannable());
        delete m_control;
    }
}

TEST_F(BitmapView, FitOfATallImageInAWideFlatClientDoesNotOverflow)
{
    // 65535 x 70000 is beyond 32 bits; the view is 65535 x 70000 / 10 wide.
    MakeControl(70000, 10);
    CRect client;
    m_control->GetClientRect(&client);
    if (client.Width() != 70000)
        GTEST_SKIP() << "the window system keeps child windows narrower than 70000 pixels";
    LoadImage(1, 65535);
    m_control->SetDisplayMode(iLBitmapCtrl::kFit);
    m_control->RecalcLayout();
    EXPECT_EQ(CRect(0, 0, 458745000, 65535), m_control->GetViewRect());
}

struct PanCase {
    const char* why;
    int mode;
    std::vector<CPoint> drag;  // press, moves, release
    CRect view;
};

// A 2000 x 1000 image in a 200 x 100 client.
const PanCase kPanCases[] = {
    {"quarter: 10 window pixels pan 40 image pixels", 4, {{100, 50}, {95, 45}, {90, 40}}, CRect(40, 40, 840, 440)},
    {"quarter: stops with the view's right edge at the image's", 4, {{150, 50}, {-1000, 50}},
     CRect(1200, 0, 2000, 400)},
    {"quarter: stops at the image's left and top edges", 4, {{100, 50}, {90, 40}, {300, 300}}, CRect(0, 0, 800, 400)},
    {"half pans twice the distance", 2, {{100, 50}, {90, 45}}, CRect(20, 10, 420, 210)},
    {"full size pans one to one", 1, {{100, 50}, {90, 45}}, CRect(10, 5, 210, 105)},
    {"mode -1 pans as full size", -1, {{100, 50}, {90, 45}}, CRect(10, 5, 210, 105)},
    {"mode 3 pans as full size", 3, {{100, 50}, {90, 45}}, CRect(10, 5, 210, 105)},
};

TEST_F(BitmapView, DraggingPansByTheModesFactorWithinTheImage)
{
    for (const PanCase& c : kPanCases) {
        SCOPED_TRACE(c.why);
        MakeControl(200, 100);
        LoadImage(2000, 1000);
        m_control->SetDisplayMode(c.mode);
        m_control->RecalcLayout();
        Listener listener;
        m_control->SetOnViewChanged(iConnector(&listener, &Listener::OnViewChanged));
        m_control->SetOnPanEnd(iConnector(&listener, &Listener::OnPanEnd));
        const CPoint* p = c.drag.data();
        m_control->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p->x, p->y));
        EXPECT_TRUE(m_control->IsDragging());
        EXPECT_EQ(m_control->m_hWnd, GetCapture());
        for (size_t i = 1; i + 1 < c.drag.size(); ++i)
            m_control->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.drag[i].x, c.drag[i].y));
        m_control->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.drag.back().x, c.drag.back().y));
        EXPECT_EQ(c.view, m_control->GetViewRect());
        EXPECT_FALSE(m_control->IsDragging());
        EXPECT_EQ(nullptr, GetCapture());
        // One view change per move and one for the release; the pan ends once.
        EXPECT_EQ(c.drag.size() - 1, listener.viewChanges.size());
        EXPECT_EQ(1, listener.panEnds);
        delete m_control;
    }
}

TEST_F(BitmapView, AnImageNarrowerThanTheViewPansOnlyVertically)
{
    // Quarter of 200 x 200 is an 800 x 800 view: 500 wide is narrower, 2000 high is taller.
    MakeControl(200, 200);
    LoadImage(500, 2000);
    m_control->SetDisplayMode(iLBitmapCtrl::kQuarter);
    m_control->RecalcLayout();
    ASSERT_TRUE(m_control->IsPannable());
    Drag({{100, 100}, {50, 80}});
    EXPECT_EQ(CRect(0, 80, 800, 880), m_control->GetViewRect());
}

TEST_F(BitmapView, AnImageThatFitsIsNotDraggedAndAReleaseAloneDoesNotPan)
{
    MakeControl(200, 200);
    LoadImage(100, 100);
    Listener listener;
    m_control->SetOnPanEnd(iConnector(&listener, &Listener::OnPanEnd));
    Drag({{100, 100}, {50, 50}});
    EXPECT_FALSE(m_control->IsDragging());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(0, listener.panEnds);

    // Pannable now, but the button went down elsewhere: its release must not pan from
    // an old origin.
    LoadImage(1000, 1000);
    m_control->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(CRect(0, 0, 200, 200), m_control->GetViewRect());
    EXPECT_EQ(0, listener.panEnds);
}

TEST_F(BitmapView, PaintsTheViewThenTheOverlayIntoTheTarget)
{
    // Left half red, right half green: at full size in a 40 x 20 client the view shows
    // the top-left 40 x 20 pixels of an 80 x 20 image, which are red.
    MakeControl(40, 20);
    LoadImage(80, 20, [](int x, int) { return x < 40 ? RGB(255, 0, 0) : RGB(0, 255, 0); });
    PaperCanvas canvas(40, 20);
    m_control->Paint(&canvas.m_dc);
    EXPECT_EQ(1, m_control->overlayCalls);
    winlib_test::ExpectPixels(canvas, {
        {"the overlay's mark, drawn last", 0, 0, RGB(0, 0, 255)},
        {"the image under the view", 20, 10, RGB(255, 0, 0)},
        {"the view's last column", 39, 19, RGB(255, 0, 0)},
    });

    // Panned to the right edge, the view shows green.
    Drag({{30, 10}, {-100, 10}});
    PaperCanvas panned(40, 20);
    m_control->Paint(&panned.m_dc);
    EXPECT_EQ(RGB(0, 255, 0), panned.At(20, 10));
}

TEST_F(BitmapView, FitModeShowsTheWholeImageScaledDown)
{
    // 200 x 100 image, client 20 x 20: the view is 200 x 200, the image fills the top half.
    MakeControl(20, 20);
    LoadImage(200, 100, Plain(RGB(255, 0, 0)));
    m_control->SetDisplayMode(iLBitmapCtrl::kFit);
    m_control->RecalcLayout();
    PaperCanvas canvas(20, 20);
    canvas.m_dc.FillSolidRect(0, 0, 20, 20, RGB(1, 2, 3));
    m_control->Paint(&canvas.m_dc);
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(10, 5));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(19, 8));
}

TEST_F(BitmapView, WithoutAnImageItPaintsTheWindowColourAndStillCallsTheOverlay)
{
    MakeControl(30, 20);
    m_control->RecalcLayout();
    PaperCanvas canvas(30, 20);
    canvas.m_dc.FillSolidRect(0, 0, 30, 20, RGB(1, 2, 3));
    m_control->Paint(&canvas.m_dc);
    EXPECT_EQ(1, m_control->overlayCalls);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), canvas.At(15, 10));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), canvas.At(29, 19));
}

TEST_F(BitmapView, AnEmptyClientAreaPaintsNothing)
{
    MakeControl(0, 0);
    LoadImage(10, 10);
    m_control->SetDisplayMode(iLBitmapCtrl::kFit);
    m_control->RecalcLayout();
    PaperCanvas canvas(4, 4);
    canvas.m_dc.FillSolidRect(0, 0, 4, 4, RGB(1, 2, 3));
    m_control->Paint(&canvas.m_dc);
    EXPECT_EQ(0, m_control->overlayCalls);
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(0, 0));
}

TEST_F(BitmapView, ErasesToTheWindowColourOrTheFaceColourWhenDisabled)
{
    struct Case {
        const char* why;
        bool isEnabled;
        DWORD exStyle;
        COLORREF expected;
    };
    const Case cases[] = {
        {"enabled", true, 0, GetSysColor(COLOR_WINDOW)},
        {"disabled", false, 0, GetSysColor(COLOR_3DFACE)},
        {"transparent windows leave the background alone", true, WS_EX_TRANSPARENT, RGB(1, 2, 3)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        MakeControl(10, 10, c.exStyle);
        m_control->EnableWindow(c.isEnabled);
        PaperCanvas canvas(10, 10);
        canvas.m_dc.FillSolidRect(0, 0, 10, 10, RGB(1, 2, 3));
        EXPECT_EQ(1, m_control->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.get())));
        EXPECT_EQ(c.expected, canvas.At(5, 5));
        delete m_control;
    }
}

TEST_F(BitmapView, ResizeRefusesSizesBelowOneAndChangesNothing)
{
    MakeControl(200, 200);
    LoadImage(300, 300);
    const CSize sizes[] = {{0, 100}, {100, 0}, {-5, 100}};
    for (const CSize& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        EXPECT_EQ(imaging::kErrorInvalidParameter, m_control->Resize(size.cx, size.cy, imaging::kSizeBicubic));
        EXPECT_EQ(300u, m_control->GetBitmap().GetWidth());
        EXPECT_EQ(CRect(0, 0, 200, 200), m_control->GetViewRect());
        EXPECT_TRUE(m_control->viewsPainted.empty());
    }
}

TEST_F(BitmapView, ResizeShowsTheOldPixelsAtTheNewScaleThenLaysOutAgain)
{
    MakeControl(200, 200);
    LoadImage(400, 300);
    ASSERT_EQ(imaging::kSuccess, m_control->Resize(800, 600, imaging::kSizeBicubic));
    // Painted once before the library worked: the view holds half as many old pixels.
    ASSERT_EQ(1u, m_control->viewsPainted.size());
    EXPECT_EQ(CRect(0, 0, 100, 100), m_control->viewsPainted[0]);
    EXPECT_EQ(800u, m_control->GetBitmap().GetWidth());
    EXPECT_EQ(600u, m_control->GetBitmap().GetHeight());
    EXPECT_EQ(CRect(0, 0, 200, 200), m_control->GetViewRect());
}

TEST_F(BitmapView, AFailedResizeDoesNotKeepThePreScaledView)
{
    MakeControl(200, 200);
    LoadImage(400, 300);
    // The library's progress callback answering 0 cancels the resize.
    imaging::StatusCallback previous = L_SetStatusCallBack([](int, void*) { return 0; }, nullptr);
    const int result = m_control->Resize(800, 600, imaging::kSizeBicubic);
    L_SetStatusCallBack(previous, nullptr);
    EXPECT_EQ(imaging::kErrorCancelled, result);
    EXPECT_EQ(400u, m_control->GetBitmap().GetWidth());
    EXPECT_EQ(CRect(0, 0, 200, 200), m_control->GetViewRect());
}

TEST_F(BitmapView, ResizeRescalesTheViewIn64Bits)
{
    // Half size of a 40000-pixel client is an 80000-pixel view: 65535 x 80000 is beyond
    // 32 bits, and the pre-scaled view of a resize to the same width must stay 80000 wide.
    MakeControl(40000, 10);
    CRect client;
    m_control->GetClientRect(&client);
    if (client.Width() != 40000)
        GTEST_SKIP() << "the window system keeps child windows narrower than 40000 pixels";
    LoadImage(65535, 1);
    m_control->SetDisplayMode(iLBitmapCtrl::kHalf);
    m_control->RecalcLayout();
    ASSERT_EQ(imaging::kSuccess, m_control->Resize(65535, 2, imaging::kSizeNearest));
    ASSERT_FALSE(m_control->viewsPainted.empty());
    EXPECT_EQ(80000, m_control->viewsPainted[0].right);
}

TEST_F(BitmapView, LoadFailureLeavesTheControlAsItWas)
{
    MakeControl(200, 200);
    LoadImage(300, 300);
    EXPECT_EQ(0, m_control->Load(m_folder.Path("missing.bmp").c_str(), true));
    EXPECT_EQ(CRect(0, 0, 200, 200), m_control->GetViewRect());
    EXPECT_TRUE(m_control->IsPannable());

    m_control->Free(true);
    EXPECT_FALSE(m_control->GetBitmap().IsLoaded());
    EXPECT_FALSE(m_control->IsPannable());
}

TEST_F(BitmapView, SharpenRepaintsOnlyWhenTheBitmapChanged)
{
    // Only a visible window collects an update region.
    m_parent->ShowWindow(SW_SHOWNA);
    MakeControl(50, 50);
    m_control->ValidateRect(nullptr);
    EXPECT_EQ(iLBitmap::kNotLoaded, m_control->Sharpen(750));
    EXPECT_FALSE(GetUpdateRect(m_control->m_hWnd, nullptr, FALSE));
    LoadImage(60, 60);
    m_control->ValidateRect(nullptr);
    EXPECT_EQ(imaging::kSuccess, m_control->Sharpen(750));
    EXPECT_TRUE(GetUpdateRect(m_control->m_hWnd, nullptr, FALSE));
}

// A container that answers WM_GETFONT with a font of its own.
class FontParent : public iWnd {
public:
    FontParent() : iWnd(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "font parent", 0, 0, nullptr)
    {
        m_font.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
    }
    CFont m_font;

protected:
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(m_font.m_hObject); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FontParent, iWnd)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
END_MESSAGE_MAP()

TEST(BitmapViewFont, AnswersWithTheFontOfTheWindowItSitsOn)
{
    FontParent parent;
    auto* control = new iLBitmapCtrl(&parent, CRect(0, 0, 50, 50), WS_VISIBLE, "", 1, 0, nullptr);
    EXPECT_EQ(reinterpret_cast<LRESULT>(parent.m_font.m_hObject), control->SendMessage(WM_GETFONT));
}

TEST_F(BitmapView, ShowsTheOpenHandOnlyWhileTheImageCanBePanned)
{
    MakeControl(100, 100);
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    const WPARAM self = reinterpret_cast<WPARAM>(m_control->m_hWnd);
    EXPECT_EQ(FALSE, m_control->SendMessage(WM_SETCURSOR, self, overClient));
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), GetCursor());
    LoadImage(300, 300);
    EXPECT_EQ(TRUE, m_control->SendMessage(WM_SETCURSOR, self, overClient));
    const HCURSOR openHand = LoadCursorA(GetModuleHandleA(nullptr), kHandOpenCursorName);
    ASSERT_NE(nullptr, openHand);
    EXPECT_EQ(openHand, GetCursor());
    m_control->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_EQ(LoadCursorA(GetModuleHandleA(nullptr), kHandGrabCursorName), GetCursor());
    m_control->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(openHand, GetCursor());
}

} // namespace
} // namespace bitmap_view_test
