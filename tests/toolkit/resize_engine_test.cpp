// The resize engine on a plain resizable window: controls following the window by their
// ratios over many one-pixel steps (exact float positions, truncation toward zero),
// registration, the grip, tracking limits, transparency of group boxes, the placement in
// the application profile, and a resize pass whose deferred batch fails.
#include "toolkit/controls/QZResize.h"

#include "toolkit_test_support.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr int kFirstId = 100;

// A 300 x 200 window (at 50, 50) with the engine over it; controls are plain children.
class ResizeEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.CreateEx(0, nullptr, "resizable", WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, nullptr, nullptr));
    }
    void TearDown() override
    {
        delete engine;
        window.DestroyWindow();
    }
    CQZResize& Engine(UINT flags = QZ_RESIZE_NOSIZEICON)
    {
        delete engine;
        engine = new CQZResize(&window, flags);
        return *engine;
    }
    HWND AddChild(int id, const CRect& rect, LPCSTR className = "STATIC", DWORD style = 0)
    {
        return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.Width(),
                               rect.Height(), window.m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
    }
    CRect ChildRect(HWND child)
    {
        CRect rect;
        GetWindowRect(child, &rect);
        window.ScreenToClient(&rect);
        return rect;
    }
    void ResizeBy(int dx, int dy)
    {
        CRect rect;
        window.GetWindowRect(&rect);
        window.SetWindowPos(nullptr, 0, 0, rect.Width() + dx, rect.Height() + dy,
                            SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        engine->Size();
    }

    CWnd window;
    CQZResize* engine = nullptr;
};

// Truncation toward zero of the exact position.
int Truncated(double value)
{
    return static_cast<int>(std::trunc(value));
}

} // namespace

TEST_F(ResizeEngineTest, ControlsFollowTheirRatiosExactlyOverManySmallSteps)
{
    struct Case {
        const char* why;
        CQZFloatRect ratios;
    };
    const Case kCases[] = {
        {"moves with the bottom-right corner", {1, 1, 1, 1}},
        {"stretches both ways", {0, 0, 1, 1}},
        {"follows the right edge", {1, 0, 1, 0}},
        {"follows the bottom edge", {0, 1, 0, 1}},
        {"follows the bottom and stretches in width", {0, 1, 1, 1}},
        {"proportional half", {0.5f, 0.5f, 0.5f, 0.5f}},
    };
    // One control left of and above the client origin: its coordinates are negative.
    const CRect kStarts[] = {CRect(10, 20, 60, 45), CRect(-25, -15, 5, 5)};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        window.SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        CQZResize& resize = Engine();
        resize.Init();
        std::vector<HWND> children;
        for (int i = 0; i < 2; ++i) {
            children.push_back(AddChild(kFirstId + i, kStarts[i]));
            ASSERT_TRUE(resize.SetResize(kFirstId + i, nullptr, c.ratios));
        }
        // Grow 15 one-pixel steps, then shrink 25: the window ends 10 pixels smaller.
        int total = 0;
        for (int step = 0; step < 40; ++step) {
            const int d = step < 15 ? 1 : -1;
            total += d;
            ResizeBy(d, d);
            for (int i = 0; i < 2; ++i) {
                SCOPED_TRACE(step);
                const CRect& start = kStarts[i];
                const double left = start.left + total * static_cast<double>(c.ratios.left);
                const double top = start.top + total * static_cast<double>(c.ratios.top);
                const double right = start.right + total * static_cast<double>(c.ratios.right);
                const double bottom = start.bottom + total * static_cast<double>(c.ratios.bottom);
                const CQZFloatRect& kept = resize.GetItem(i)->m_rcPosition;
                ASSERT_EQ(left, kept.left);
                ASSERT_EQ(top, kept.top);
                ASSERT_EQ(right, kept.right);
                ASSERT_EQ(bottom, kept.bottom);
                const CRect now = ChildRect(children[i]);
                ASSERT_EQ(Truncated(left), now.left);
                ASSERT_EQ(Truncated(top), now.top);
                ASSERT_EQ(Truncated(right - left), now.Width());
                ASSERT_EQ(Truncated(bottom - top), now.Height());
            }
        }
        for (HWND child : children)
            DestroyWindow(child);
    }
}

TEST_F(ResizeEngineTest, RegisteringAControlTwiceAddsTheRatios)
{
    HWND child = AddChild(kFirstId, CRect(10, 10, 50, 30));
    CQZResize& resize = Engine();
    resize.Init();
    ASSERT_TRUE(resize.SetResize(kFirstId, nullptr, CQZFloatRect(0, 0, 1, 0)));
    ASSERT_TRUE(resize.SetResize(kFirstId, child, CQZFloatRect(0, 0, 1, 0)));
    ASSERT_EQ(1, resize.GetItemCount());
    const CQZFloatRect& ratios = resize.GetItem(0)->m_rcSizing;
    EXPECT_EQ(2.0f, ratios.right);
    EXPECT_EQ(0.0f, ratios.left);
    ResizeBy(10, 0);
    EXPECT_EQ(40 + 20, ChildRect(child).Width());
}

TEST_F(ResizeEngineTest, AControlTheWindowDoesNotHaveIsNotRegistered)
{
    CQZResize& resize = Engine();
    resize.Init();
    EXPECT_FALSE(resize.SetResize(4242, nullptr, CQZFloatRect(1, 1, 1, 1)));
    EXPECT_EQ(0, resize.GetItemCount());
}

TEST_F(ResizeEngineTest, WithoutControlsAPassChangesNothing)
{
    CQZResize& resize = Engine();
    resize.Init();
    const CRect stored = resize.GetStoredWindowRect();
    ResizeBy(20, 20);
    EXPECT_EQ(stored, resize.GetStoredWindowRect());
}

TEST_F(ResizeEngineTest, AControlWithoutAWindowObjectGetsOneForItsRegistrationOnly)
{
    HWND child = AddChild(kFirstId, CRect(10, 10, 50, 30));
    ASSERT_EQ(nullptr, CWnd::FromHandlePermanent(child));
    CQZResize& resize = Engine();
    resize.Init();
    ASSERT_TRUE(resize.SetResize(kFirstId, nullptr, CQZFloatRect(1, 1, 1, 1)));
    EXPECT_TRUE(resize.GetItem(0)->m_bOwned);
    EXPECT_EQ(resize.GetItem(0)->m_pWnd, CWnd::FromHandlePermanent(child));
    resize.RemoveAllItems();
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(child));
    EXPECT_TRUE(IsWindow(child)) << "the control itself stays";
}

TEST_F(ResizeEngineTest, TheGripSitsInTheCornerAndMovesWithIt)
{
    CQZResize& resize = Engine(0);
    resize.Init();
    HWND grip = GetDlgItem(window.m_hWnd, QZ_IDC_SIZEICON);
    ASSERT_TRUE(grip);
    EXPECT_EQ(grip, resize.GetSizeIcon().m_hWnd);
    ASSERT_EQ(1, resize.GetItemCount()) << "the grip is registered";
    CRect client;
    window.GetClientRect(&client);
    CRect rect = ChildRect(grip);
    EXPECT_EQ(client.right, rect.right);
    EXPECT_EQ(client.bottom, rect.bottom);
    EXPECT_TRUE(SendMessageA(grip, STM_GETIMAGE, IMAGE_BITMAP, 0)) << "the system's grip picture";

    ResizeBy(30, 20);
    window.GetClientRect(&client);
    rect = ChildRect(grip);
    EXPECT_EQ(client.right, rect.right);
    EXPECT_EQ(client.bottom, rect.bottom);

    // A second Init keeps the grip window and registers it again.
    resize.Init();
    EXPECT_EQ(grip, GetDlgItem(window.m_hWnd, QZ_IDC_SIZEICON));
    EXPECT_EQ(1, resize.GetItemCount());

    CQZResize& none = Engine(QZ_RESIZE_NOSIZEICON);
    DestroyWindow(grip);
    none.Init();
    EXPECT_EQ(nullptr, GetDlgItem(window.m_hWnd, QZ_IDC_SIZEICON));
}

TEST_F(ResizeEngineTest, TrackingLimitsFollowTheFlagsOnceInitialised)
{
    const MINMAXINFO untouched = {{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9000, 9001}};
    CQZResize& resize = Engine(QZ_RESIZE_NOSIZEICON | QZ_RESIZE_FIXEDWIDTH | QZ_RESIZE_FIXEDHEIGHT);
    MINMAXINFO info = untouched;
    resize.GetMinMaxInfo(&info);
    EXPECT_EQ(0, std::memcmp(&info, &untouched, sizeof info)) << "before Init nothing is known";

    resize.Init();
    info = untouched;
    resize.GetMinMaxInfo(&info);
    EXPECT_EQ(300, info.ptMaxSize.x);
    EXPECT_EQ(300, info.ptMaxTrackSize.x);
    EXPECT_EQ(200, info.ptMaxSize.y);
    EXPECT_EQ(200, info.ptMaxTrackSize.y);
    EXPECT_EQ(300, info.ptMinTrackSize.x) << "the first size is the smallest";
    EXPECT_EQ(200, info.ptMinTrackSize.y);
    EXPECT_EQ(5, info.ptMaxPosition.x) << "nothing else is touched";

    CQZResize& free = Engine(QZ_RESIZE_NOSIZEICON | QZ_RESIZE_NOMINSIZE);
    free.Init();
    info = untouched;
    free.GetMinMaxInfo(&info);
    EXPECT_EQ(0, std::memcmp(&info, &untouched, sizeof info));
}

TEST_F(ResizeEngineTest, GroupBoxesAndUntabbedChecksBecomeTransparent)
{
    struct Case {
        const char* why;
        DWORD style;
        UINT flags;
        bool transparent;
    };
    const Case kCases[] = {
        {"group box", BS_GROUPBOX, 0, true},
        {"push button", BS_PUSHBUTTON | WS_TABSTOP, 0, false},
        {"push button without a tab stop", BS_PUSHBUTTON, 0, false},
        {"three-state check box without a tab stop", BS_AUTO3STATE, 0, true},
        {"three-state check box with a tab stop", BS_AUTO3STATE | WS_TABSTOP, 0, false},
        {"group box, transparency refused", BS_GROUPBOX, QZ_RESIZE_NOTRANSPARENT, false},
    };
    int id = kFirstId;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        HWND button = AddChild(++id, CRect(10, 10, 100, 40), "Button", c.style);
        CQZResize& resize = Engine(QZ_RESIZE_NOSIZEICON | c.flags);
        resize.Init();
        ASSERT_TRUE(resize.SetResize(id, nullptr, CQZFloatRect(0, 0, 1, 1)));
        EXPECT_EQ(c.transparent, (GetWindowLongPtrA(button, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0);
    }
}

namespace {

// A batch of fake handles: counts begun and ended batches and fails the Nth deferred move.
struct FakeBatches {
    static inline int begun = 0;
    static inline int ended = 0;
    static inline int deferred = 0;
    static inline int failAt = -1;
    static inline bool failBegin = false;

    static HDWP WINAPI Begin(int)
    {
        if (failBegin)
            return nullptr;
        ++begun;
        return reinterpret_cast<HDWP>(static_cast<INT_PTR>(0x1000 + begun));
    }
    static HDWP WINAPI Defer(HDWP batch, HWND, HWND, int, int, int, int, UINT)
    {
        // The system gives a batch up when a move cannot be deferred; the moves in it are lost.
        return deferred++ == failAt ? nullptr : batch;
    }
    static BOOL WINAPI End(HDWP)
    {
        ++ended;
        return TRUE;
    }
};

class FakeBatchScope {
public:
    FakeBatchScope(int failAt, bool failBegin)
    {
        FakeBatches::begun = FakeBatches::ended = FakeBatches::deferred = 0;
        FakeBatches::failAt = failAt;
        FakeBatches::failBegin = failBegin;
        m_previous = QZSetDeferWindowPosCalls({&FakeBatches::Begin, &FakeBatches::Defer, &FakeBatches::End});
    }
    ~FakeBatchScope() { QZSetDeferWindowPosCalls(m_previous); }

private:
    QZDeferWindowPosCalls m_previous;
};

} // namespace

TEST_F(ResizeEngineTest, ABatchTheSystemGivesUpIsNotEndedAndEveryControlStillMoves)
{
    struct Case {
        const char* why;
        int failAt;
        bool failBegin;
        int ended;
    };
    const Case kCases[] = {
        {"every move deferred: the batch moves them", -1, false, 1},
        {"the second move fails: all three moved directly", 1, false, 0},
        {"the last move fails", 2, false, 0},
        {"no batch at all: moved directly", -1, true, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        window.SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        CQZResize& resize = Engine();
        resize.Init();
        std::vector<HWND> children;
        for (int i = 0; i < 3; ++i) {
            children.push_back(AddChild(kFirstId + i, CRect(10, 10 + 30 * i, 60, 30 + 30 * i)));
            ASSERT_TRUE(resize.SetResize(kFirstId + i, nullptr, CQZFloatRect(1, 1, 1, 1)));
        }
        {
            FakeBatchScope fake(c.failAt, c.failBegin);
            ResizeBy(10, 5);
            EXPECT_EQ(c.ended, FakeBatches::ended);
            EXPECT_LE(FakeBatches::ended, FakeBatches::begun) << "only begun batches are ended";
        }
        // A batch that was ended is the fake's: its moves are not made.
        if (c.ended == 0) {
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(CPoint(20, 15 + 30 * i), ChildRect(children[i]).TopLeft()) << i;
        }
        for (HWND child : children)
            DestroyWindow(child);
    }
}

namespace {

constexpr char kPlacementCompany[] = "SorvantaResizeTest";

class PlacementApp : public CWinApp {
public:
    PlacementApp() : CWinApp("ResizeTest") {}
};

WINDOWPLACEMENT PlacementAt(const CRect& normal, UINT showCmd, UINT length = sizeof(WINDOWPLACEMENT))
{
    WINDOWPLACEMENT placement = {};
    placement.length = length;
    placement.showCmd = showCmd;
    placement.rcNormalPosition = normal;
    return placement;
}

} // namespace

class ResizePlacementTest : public ResizeEngineTest {
protected:
    void SetUp() override
    {
        ResizeEngineTest::SetUp();
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaResizeTest");
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaResizeTest");
        ResizeEngineTest::TearDown();
    }
    void Store(const void* data, UINT bytes)
    {
        app.WriteProfileBinary("Sheet", "WindowPlacement", static_cast<LPBYTE>(const_cast<void*>(data)), bytes);
    }

    PlacementApp app;
};

TEST_F(ResizePlacementTest, RoundTripsInTheRegistryAndInAProfileFile)
{
    char iniPath[MAX_PATH];
    GetTempPathA(MAX_PATH, iniPath);
    lstrcatA(iniPath, "sorvanta_resize_placement.ini");
    DeleteFileA(iniPath);
    struct Mode {
        const char* why;
        bool registry;
    };
    for (const Mode& mode : {Mode{"profile file", false}, Mode{"registry", true}}) {
        SCOPED_TRACE(mode.why);
        LPCSTR savedProfile = app.m_pszProfileName;
        if (mode.registry)
            app.SetRegistryKey(kPlacementCompany);
        else
            app.m_pszProfileName = iniPath;
        window.SetWindowPos(nullptr, 120, 130, 340, 250, SWP_NOZORDER);
        CQZResize& resize = Engine();
        resize.Init();
        resize.SavePlacement("Sheet");
        window.SetWindowPos(nullptr, 10, 10, 200, 150, SWP_NOZORDER);
        resize.LoadPlacement("Sheet");
        CRect rect;
        window.GetWindowRect(&rect);
        EXPECT_EQ(CRect(120, 130, 460, 380), rect);
        if (!mode.registry)
            app.m_pszProfileName = savedProfile;
    }
    DeleteFileA(iniPath);
}

TEST_F(ResizePlacementTest, OnlyAUsablePlacementIsApplied)
{
    app.SetRegistryKey(kPlacementCompany);
    const CRect kStored(200, 210, 500, 420);
    struct Case {
        const char* why;
        WINDOWPLACEMENT placement;
        UINT bytes;
        bool applied;
        bool visible;
    };
    const Case kCases[] = {
        {"normal", PlacementAt(kStored, SW_SHOWNORMAL), 44, true, true},
        {"hidden is shown normal", PlacementAt(kStored, SW_HIDE), 44, true, true},
        {"minimised is shown normal", PlacementAt(kStored, SW_SHOWMINIMIZED), 44, true, true},
        {"a shorter value", PlacementAt(kStored, SW_SHOWNORMAL), 40, false, true},
        {"a wrong length field", PlacementAt(kStored, SW_SHOWNORMAL, 40), 44, false, true},
        {"an empty normal rectangle", PlacementAt(CRect(200, 210, 200, 420), SW_SHOWNORMAL), 44, false, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        window.SetWindowPos(nullptr, 10, 10, 300, 200, SWP_NOZORDER | SWP_SHOWWINDOW);
        Store(&c.placement, c.bytes);
        CQZResize& resize = Engine();
        resize.LoadPlacement("Sheet");
        CRect rect;
        window.GetWindowRect(&rect);
        EXPECT_EQ(c.applied ? kStored : CRect(10, 10, 310, 210), rect);
        EXPECT_TRUE(window.IsWindowVisible());
        EXPECT_FALSE(window.IsIconic());
    }
}
