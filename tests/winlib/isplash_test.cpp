// The splash window on real windows: its size (the client area is the picture, centred,
// top-most), its close timer, the keys, buttons and notifications that close it or not,
// the synchronous form, file mode with and without a sound, the placeholder without a
// picture, the overlay text kept inside the client area, the left Ctrl and Shift keys
// while it paints, an owner that goes first, and a window that cannot be made.
#include "lib/src/Win2/Wnd/iFrameWnd.h"
#include "lib/src/Win2/Wnd/iSplash.h"

#include "framework/window_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

using winlib_test::kPaper;
using winlib_test::PaperCanvas;
using winlib_test::SplashResourceBytes;
using winlib_test::TempPath;
using winlib_test::WriteBytes;

constexpr UINT kNotifyMode = WM_USER + 200;  // MCIWNDM_NOTIFYMODE
const COLORREF kTextColour = RGB(0, 0, 160);
const COLORREF kPlaceholderBack = RGB(246, 217, 1);
const COLORREF kPlaceholderText = RGB(65, 68, 145);

// A splash a test can watch: it counts its deletions and paints where the test asks.
class TestSplash : public iSplash {
public:
    using iSplash::iSplash;
    using iSplash::Paint;
    ~TestSplash() override { ++s_deleted; }
    static inline int s_deleted = 0;
};

// Dispatches messages until the condition holds or the time is up.
template <class Condition>
bool PumpUntil(Condition condition, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        test_support::PumpPending();
        Sleep(5);
    }
    return true;
}

// The splash windows of this thread owned by owner (a framework window with no title).
std::vector<HWND> SplashesOwnedBy(HWND owner)
{
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search = {owner, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (GetWindow(window, GW_OWNER) == s->owner && (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
                s->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Holds keys down in the thread's keyboard state, and lets them go again.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<int> keys)
    {
        GetKeyboardState(m_saved);
        BYTE state[256];
        std::copy(m_saved, m_saved + 256, state);
        for (int key : keys)
            state[key] |= 0x80;
        SetKeyboardState(state);
    }
    ~HeldKeys() { SetKeyboardState(m_saved); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    BYTE m_saved[256];
};

// Every window this thread creates while it lives is refused by the system, after the
// framework has taken its handle, as a hook of another program can do.
class RefusedWindows {
public:
    RefusedWindows() { m_hook = SetWindowsHookExA(WH_CBT, &Refuse, nullptr, GetCurrentThreadId()); }
    ~RefusedWindows() { UnhookWindowsHookEx(m_hook); }
    RefusedWindows(const RefusedWindows&) = delete;
    RefusedWindows& operator=(const RefusedWindows&) = delete;
    bool IsHooked() const { return m_hook != nullptr; }

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam)
    {
        return code == HCBT_CREATEWND ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook = nullptr;
};

// 20 ms of silence: 8-bit mono PCM at 8000 Hz.
std::vector<BYTE> SilentWave()
{
    const std::uint32_t samples = 160;
    std::vector<BYTE> wave;
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            wave.push_back(static_cast<BYTE>(v >> (8 * i)));
    };
    auto put16 = [&](std::uint16_t v) {
        wave.push_back(static_cast<BYTE>(v));
        wave.push_back(static_cast<BYTE>(v >> 8));
    };
    auto tag = [&](const char* fourcc) { wave.insert(wave.end(), fourcc, fourcc + 4); };
    tag("RIFF");
    put32(36 + samples);
    tag("WAVE");
    tag("fmt ");
    put32(16);
    put16(WAVE_FORMAT_PCM);
    put16(1);     // channels
    put32(8000);  // samples per second
    put32(8000);  // bytes per second
    put16(1);     // block align
    put16(8);     // bits per sample
    tag("data");
    put32(samples);
    wave.insert(wave.end(), samples, 0x80);
    return wave;
}

class SplashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestSplash::s_deleted = 0;
        m_comReady = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override
    {
        test_support::PumpPending();
        if (m_comReady)
            CoUninitialize();
    }
    bool m_comReady = false;
};

} // namespace

TEST_F(SplashTest, StartUpFormShowsThePictureWholeCentredAndTopMostUntilItsTimer)
{
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "main", 0);
    ASSERT_TRUE(iSplash::Show(frame, SPLASH_RESOURCE, "Splash", 1));
    const std::vector<HWND> splashes = SplashesOwnedBy(frame->m_hWnd);
    ASSERT_EQ(1u, splashes.size());
    HWND splash = splashes[0];

    CRect client;
    GetClientRect(splash, &client);
    EXPECT_EQ(CRect(0, 0, 8, 6), client) << "the client area is the picture: no row or column cut off";
    CRect window;
    GetWindowRect(splash, &window);
    EXPECT_EQ(CSize(10, 8), window.Size()) << "a one-pixel border around it";
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 10) / 2, window.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 8) / 2, window.top);
    EXPECT_TRUE(IsWindowVisible(splash));
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_BORDER),
              static_cast<DWORD>(GetWindowLongA(splash, GWL_STYLE)) & (WS_POPUP | WS_BORDER | WS_CHILD));
    EXPECT_NE(splash, GetCapture()) << "no mouse capture without SPLASH_MOUSE";

    // Keys, buttons and other timers are not for it.
    for (UINT message : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN})
        SendMessageA(splash, message, message == WM_KEYDOWN ? VK_SPACE : 0, 0);
    SendMessageA(splash, WM_TIMER, 2, 0);
    EXPECT_TRUE(IsWindow(splash));

    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(splash); }, 3000)) << "closed by its timer after a second";
    EXPECT_TRUE(frame->GetWindowSet().empty()) << "an owned splash leaves its owner's set when it goes";
    frame->DestroyWindow();
}

TEST_F(SplashTest, AWindowThatCannotBeMadeIsNoErrorAndLeavesNothingBehind)
{
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "main", 0);
    CWnd goneOwner;
    goneOwner.m_hWnd = CreateWindowA("STATIC", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(goneOwner.m_hWnd);
    const CRect box(2, 2, 60, 20);
    {
        SCOPED_TRACE("refused by the system: the start-up and the about forms");
        RefusedWindows refused;
        ASSERT_TRUE(refused.IsHooked());
        BOOL shown = FALSE;
        EXPECT_NO_THROW(shown = iSplash::Show(frame, SPLASH_RESOURCE, "Splash", 1));
        EXPECT_TRUE(shown);
        EXPECT_NO_THROW(shown = iSplash::ShowWithText(frame, SPLASH_RESOURCE | SPLASH_MOUSE | SPLASH_KEYBOARD,
                                                      "Splash", 0, "Version 1", &box, DT_LEFT, kTextColour));
        EXPECT_TRUE(shown);
    }
    EXPECT_TRUE(SplashesOwnedBy(frame->m_hWnd).empty());
    EXPECT_TRUE(frame->GetWindowSet().empty());

    struct Case {
        const char* why;
        CWnd* owner;
        bool refused;
    };
    const Case kCases[] = {
        {"refused by the system after the framework took its handle", frame, true},
        {"an owner that is already gone", &goneOwner, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestSplash::s_deleted = 0;
        TestSplash* splash = nullptr;
        {
            std::unique_ptr<RefusedWindows> refused(c.refused ? new RefusedWindows : nullptr);
            ASSERT_NO_THROW(splash = new TestSplash(c.owner, SPLASH_RESOURCE | SPLASH_MOUSE, "Splash", 1000));
        }
        EXPECT_EQ(nullptr, splash->m_hWnd) << "no dead handle is kept";
        EXPECT_TRUE(splash->Run());
        EXPECT_EQ(1, TestSplash::s_deleted) << "no window destruction would ever delete it";
    }
    goneOwner.m_hWnd = nullptr;
    frame->DestroyWindow();
}

TEST_F(SplashTest, CloseTimerOfTheDisplayTimeDeletesTheObject)
{
    auto* splash = new TestSplash(nullptr, SPLASH_RESOURCE, "Splash", 50);
    ASSERT_TRUE(splash->Run());
    EXPECT_TRUE(splash->IsTimerActive());
    EXPECT_TRUE(PumpUntil([] { return TestSplash::s_deleted == 1; }, 2000));
}

TEST_F(SplashTest, AboutFormClosesOnTheFirstKeyOrButtonAndHasNoTimer)
{
    struct Case {
        const char* why;
        UINT message;
    };
    const Case kCases[] = {
        {"a key", WM_KEYDOWN},
        {"the left button", WM_LBUTTONDOWN},
        {"the middle button", WM_MBUTTONDOWN},
        {"the right button", WM_RBUTTONDOWN},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        TestSplash::s_deleted = 0;
        auto* splash = new TestSplash(nullptr, SPLASH_RESOURCE | SPLASH_MOUSE | SPLASH_KEYBOARD, "Splash", 0);
        HWND window = splash->m_hWnd;
        ASSERT_TRUE(splash->Run());
        EXPECT_FALSE(splash->IsTimerActive());
        EXPECT_EQ(window, GetCapture()) << "every click goes to it";
        SendMessageA(window, c.message, 0, 0);
        EXPECT_EQ(1, TestSplash::s_deleted);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_NE(window, GetCapture());
    }
}

TEST_F(SplashTest, StopNotificationClosesAndOtherModesDoNot)
{
    auto* splash = new TestSplash(nullptr, SPLASH_RESOURCE, "Splash", 0);
    HWND window = splash->m_hWnd;
    ASSERT_TRUE(splash->Run());
    EXPECT_EQ(0, SendMessageA(window, kNotifyMode, 0, MCI_MODE_PLAY));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(0, SendMessageA(window, kNotifyMode, 0, MCI_MODE_STOP));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1, TestSplash::s_deleted);
}

TEST_F(SplashTest, SynchronousFormWaitsTheDisplayTimeAndIsGoneOnReturn)
{
    auto* splash = new TestSplash(nullptr, SPLASH_RESOURCE | SPLASH_SYNC, "Splash", 150);
    HWND window = splash->m_hWnd;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(splash->Run());
    const auto waitedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(waitedMs, 140) << "no sound resource: the display time is slept";
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1, TestSplash::s_deleted);
}

TEST_F(SplashTest, WithoutPictureTheWindowStaysInTheCornerAndPaintsThePlaceholder)
{
    for (const char* name : {"NOSUCHPICTURE", "BROKEN"}) {
        SCOPED_TRACE(name);
        auto* splash = new TestSplash(nullptr, SPLASH_RESOURCE, name, 0);
        EXPECT_EQ(nullptr, splash->GetPicture());
        CRect window;
        splash->GetWindowRect(&window);
        EXPECT_EQ(CRect(0, 0, 100, 100), window);

        CRect client;
        splash->GetClientRect(&client);
        PaperCanvas canvas(client.Width(), client.Height());
        splash->Paint(&canvas.m_dc, client);
        EXPECT_EQ(kPlaceholderBack, canvas.m_dc.GetPixel(0, 0));
        EXPECT_EQ(kPlaceholderBack, canvas.m_dc.GetPixel(client.right - 1, client.bottom - 1));
        EXPECT_GT(canvas.Count(client, kPlaceholderText), 0) << "\"Tamrow\" in its colour";
        EXPECT_EQ(0, canvas.Count(CRect(0, 0, client.right, 5), kPlaceholderText)) << "centred vertically";
        splash->DestroyWindow();
    }
}

TEST_F(SplashTest, FileModeReadsTheNameDotBmpAndStartsTheTimerAfterTheSound)
{
    const std::string base = TempPath("isplash_file");
    WriteBytes(base + ".BMP", SplashResourceBytes());
    struct Case {
        const char* why;
        bool hasSound;
    };
    for (const Case& c : {Case{"no sound file", false}, Case{"with a sound file", true}}) {
        SCOPED_TRACE(c.why);
        if (c.hasSound)
            WriteBytes(base + ".WAV", SilentWave());
        auto* splash = new TestSplash(nullptr, 0, base.c_str(), 5000);
        ASSERT_NE(nullptr, splash->GetPicture());
        CRect client;
        splash->GetClientRect(&client);
        EXPECT_EQ(CRect(0, 0, 8, 6), client);
        ASSERT_TRUE(splash->Run());
        EXPECT_TRUE(splash->IsTimerActive());
        splash->Close();
        EXPECT_EQ(1, TestSplash::s_deleted);
        TestSplash::s_deleted = 0;
    }
    DeleteFileA((base + ".BMP").c_str());
    DeleteFileA((base + ".WAV").c_str());

    auto* missing = new TestSplash(nullptr, 0, TempPath("isplash_nothing").c_str(), 0);
    EXPECT_EQ(nullptr, missing->GetPicture());
    missing->DestroyWindow();
}

TEST_F(SplashTest, OverlayTextIsDrawnInItsColourInsideTheClientArea)
{
    const CRect box(20, 10, 80, 30);
    auto* splash = new TestSplash(nullptr, SPLASH_RESOURCE | SPLASH_KEYBOARD, "Splash", 0, "About this",
                                  &box, DT_LEFT | DT_TOP | DT_SINGLELINE, kTextColour);
    ASSERT_NE(nullptr, splash->GetPicture());
    const CRect client(0, 0, 100, 60);
    PaperCanvas canvas(client.Width(), client.Height());
    splash->Paint(&canvas.m_dc, client);
    EXPECT_EQ(RGB(0, 0, 255), canvas.m_dc.GetPixel(0, 0)) << "the picture first";
    EXPECT_GT(canvas.Count(box, kTextColour), 0);
    CRect outside(client);
    outside.top = box.bottom + 2;
    EXPECT_EQ(0, canvas.Count(outside, kTextColour));
    EXPECT_TRUE(splash->GetFlags() & SPLASH_KEYBOARD) << "no Ctrl held: keys still close it";
    splash->DestroyWindow();
}

TEST_F(SplashTest, TextBoxPastTheEdgesIsMovedInsideWithAMargin)
{
    const CRect client(0, 0, 100, 60);
    struct Case {
        const char* why;
        CRect box;
        CRect expected;
    };
    const Case kCases[] = {
        {"inside: unchanged", CRect(10, 10, 50, 30), CRect(10, 10, 50, 30)},
        {"touching the right edge is not beyond it", CRect(60, 10, 100, 30), CRect(60, 10, 100, 30)},
        {"past the right edge", CRect(70, 10, 110, 30), CRect(56, 10, 96, 30)},
        {"past the bottom edge", CRect(10, 50, 50, 70), CRect(10, 36, 50, 56)},
        {"past the left edge", CRect(-5, 10, 35, 30), CRect(4, 10, 44, 30)},
        {"past the top edge", CRect(10, -1, 50, 19), CRect(10, 4, 50, 24)},
        {"wider and taller than the client: left and top win", CRect(0, 0, 150, 90), CRect(4, 4, 154, 94)},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        CRect box(c.box);
        iSplash::KeepInside(box, client);
        EXPECT_EQ(c.expected, box);
    }
}

TEST_F(SplashTest, LeftCtrlWhilePaintingStopsKeysFromClosingAndShiftOutlinesTheBox)
{
    const CRect box(20, 10, 80, 30);
    const CRect client(0, 0, 100, 60);
    {
        auto* splash = new TestSplash(nullptr, SPLASH_RESOURCE | SPLASH_KEYBOARD | SPLASH_MOUSE, "Splash", 0, "About",
                                      &box, DT_LEFT | DT_TOP, kTextColour);
        HWND window = splash->m_hWnd;
        ASSERT_TRUE(splash->Run());
        PaperCanvas canvas(client.Width(), client.Height());
        {
            HeldKeys ctrl({VK_LCONTROL});
            splash->Paint(&canvas.m_dc, client);
        }
        EXPECT_FALSE(splash->GetFlags() & SPLASH_KEYBOARD);
        EXPECT_EQ(kPaper, canvas.m_dc.GetPixel(box.right - 1, box.bottom - 1)) << "no outline without Shift";
        SendMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(IsWindow(window)) << "keys no longer close it";
        SendMessageA(window, WM_LBUTTONDOWN, 0, 0);
        EXPECT_FALSE(IsWindow(window)) << "a click still does";
    }
    {
        auto* splash = new TestSplash(nullptr, SPLASH_RESOURCE | SPLASH_KEYBOARD, "Splash", 0, "About", &box,
                                      DT_LEFT | DT_TOP, kTextColour);
        PaperCanvas canvas(client.Width(), client.Height());
        {
            HeldKeys ctrlAndShift({VK_LCONTROL, VK_LSHIFT});
            splash->Paint(&canvas.m_dc, client);
        }
        EXPECT_FALSE(splash->GetFlags() & SPLASH_KEYBOARD);
        // The DC's own pen (black) around the configured box.
        EXPECT_EQ(RGB(0, 0, 0), canvas.m_dc.GetPixel(box.right - 1, box.bottom - 1));
        EXPECT_EQ(RGB(0, 0, 0), canvas.m_dc.GetPixel(box.right - 1, box.top + 5));
        splash->DestroyWindow();
    }
}

TEST_F(SplashTest, SplashWithoutTimerGoesWithItsOwner)
{
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "main", 0);
    auto* splash = new TestSplash(frame, SPLASH_RESOURCE, "Splash", 0);
    HWND window = splash->m_hWnd;
    ASSERT_TRUE(splash->Run());
    EXPECT_FALSE(splash->IsTimerActive());
    EXPECT_EQ(1u, frame->GetWindowSet().count(splash));
    frame->DestroyWindow();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1, TestSplash::s_deleted);
}

TEST_F(SplashTest, DeletingTheOwnerObjectDeletesAnOwnedSplashOnce)
{
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "main", 0);
    auto* splash = new TestSplash(frame, SPLASH_RESOURCE, "Splash", 0);
    HWND window = splash->m_hWnd;
    ASSERT_TRUE(splash->Run());
    delete frame;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1, TestSplash::s_deleted);
}

TEST_F(SplashTest, ShowWithTextRunsTheAboutForm)
{
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 400, 300), WS_OVERLAPPEDWINDOW, "main", 0);
    const CRect box(2, 2, 60, 20);
    ASSERT_TRUE(iSplash::ShowWithText(frame, SPLASH_RESOURCE | SPLASH_MOUSE | SPLASH_KEYBOARD, "Splash", 0,
                                      "Version 1", &box, DT_LEFT, kTextColour));
    const std::vector<HWND> splashes = SplashesOwnedBy(frame->m_hWnd);
    ASSERT_EQ(1u, splashes.size());
    EXPECT_EQ(splashes[0], GetCapture());
    SendMessageA(splashes[0], WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(IsWindow(splashes[0]));
    frame->DestroyWindow();
}
