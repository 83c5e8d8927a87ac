// Window hooks: chains of hooks on one window, detaching in any order, the current
// message inside hooks, and what a window's destruction does to its hooks.
#include "toolkit/foundation/QZWndHook.h"

#include "toolkit_test_support.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT kProbe = WM_APP + 17;

std::vector<std::string> g_hookLog;

// The window's own procedure: records what reaches it and answers 100.
LRESULT CALLBACK HookedWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kProbe) {
        g_hookLog.push_back("window");
        return 100;
    }
    if (msg == WM_NCDESTROY)
        g_hookLog.push_back("window ncdestroy");
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

HWND NewHookedWindow()
{
    static const bool registered = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &HookedWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QZHookTestWindow";
        return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    return CreateWindowExA(0, "QZHookTestWindow", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

WNDPROC ProcOf(HWND hWnd)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

// Logs the probe, adds one to what the rest of the chain answers; swallows it when asked.
class LoggingHook : public CQZWndHook {
public:
    explicit LoggingHook(std::string name) : m_name(std::move(name)) {}
    bool swallow = false;
    std::vector<UINT> seen;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(msg);
        if (msg != kProbe)
            return CQZWndHook::WindowProc(msg, wParam, lParam);
        g_hookLog.push_back(m_name);
        if (swallow)
            return 7;
        return CQZWndHook::WindowProc(msg, wParam, lParam) + 1;
    }

private:
    std::string m_name;
};

class WindowHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hookLog.clear();
        window = NewHookedWindow();
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
    }
    HWND window = nullptr;
};

} // namespace

TEST_F(WindowHookTest, NewestHookSeesTheMessageFirstAndPassesItDown)
{
    LoggingHook older("older");
    LoggingHook newer("newer");
    EXPECT_TRUE(older.HookWindow(window));
    EXPECT_TRUE(newer.HookWindow(window));
    EXPECT_EQ(102, SendMessageA(window, kProbe, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"newer", "older", "window"}), g_hookLog);
    // A hook that answers itself keeps the message from the older ones.
    g_hookLog.clear();
    newer.swallow = true;
    EXPECT_EQ(7, SendMessageA(window, kProbe, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"newer"}), g_hookLog);
}

TEST_F(WindowHookTest, WindowGetsItsProcedureBackOnlyWhenTheLastHookGoes)
{
    const WNDPROC own = ProcOf(window);
    // The order in which three hooks are detached: each permutation of newest, middle, oldest.
    const int orders[][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (const auto& order : orders) {
        SCOPED_TRACE(testing::Message() << order[0] << order[1] << order[2]);
        LoggingHook a("a");
        LoggingHook b("b");
        LoggingHook c("c");
        LoggingHook* hooks[3] = {&a, &b, &c};
        for (LoggingHook* hook : hooks)
            hook->HookWindow(window);
        for (int step = 0; step < 3; ++step) {
            hooks[order[step]]->HookWindow(static_cast<HWND>(nullptr));
            EXPECT_FALSE(hooks[order[step]]->IsHooked());
            g_hookLog.clear();
            const LRESULT answer = SendMessageA(window, kProbe, 0, 0);
            // The hooks left still each see the message once, newest first.
            std::vector<std::string> expected;
            for (int i = 2; i >= 0; --i) {
                bool detached = false;
                for (int done = 0; done <= step; ++done)
                    detached = detached || order[done] == i;
                if (!detached)
                    expected.push_back(std::string(1, static_cast<char>('a' + i)));
            }
            expected.push_back("window");
            EXPECT_EQ(expected, g_hookLog);
            EXPECT_EQ(100 + 2 - step, answer);
            if (step < 2) {
                EXPECT_EQ(&CQZWindowMap::HookWndProc, ProcOf(window));
            }
        }
        EXPECT_EQ(own, ProcOf(window));
        EXPECT_EQ(nullptr, CQZWindowMap::GetHookMap().Lookup(window));
    }
}

TEST_F(WindowHookTest, KeepsTheWholeProcedurePointerOfA64BitProgram)
{
    // The program's code lies above 4 GB: a procedure cut to 32 bits would jump nowhere.
    ASSERT_GT(reinterpret_cast<std::uintptr_t>(&HookedWindowProc), std::uintptr_t{0xFFFFFFFF});
    LoggingHook hook("hook");
    hook.HookWindow(window);
    EXPECT_EQ(&HookedWindowProc, hook.m_pOldWndProc);
    EXPECT_EQ(101, SendMessageA(window, kProbe, 0, 0));
    hook.HookWindow(static_cast<HWND>(nullptr));
    EXPECT_EQ(&HookedWindowProc, ProcOf(window));
}

TEST_F(WindowHookTest, DetachedHookCanBeAttachedToAnotherWindow)
{
    HWND second = NewHookedWindow();
    LoggingHook hook("hook");
    hook.HookWindow(window);
    hook.HookWindow(static_cast<HWND>(nullptr));
    CWnd* wrapper = CWnd::FromHandle(second);
    hook.HookWindow(wrapper);
    EXPECT_EQ(second, hook.m_hWnd);
    EXPECT_EQ(101, SendMessageA(second, kProbe, 0, 0));
    EXPECT_EQ(100, SendMessageA(window, kProbe, 0, 0));
    DestroyWindow(second);
}

namespace {

// Records the framework's current message at each message it sees, and sends a nested one.
class CurrentMessageHook : public CQZWndHook {
public:
    std::vector<std::pair<UINT, LPARAM>> current;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == kProbe || msg == kProbe + 1) {
            const MSG* now = CWnd::GetCurrentMessage();
            current.emplace_back(now->message, now->lParam);
            EXPECT_EQ(m_hWnd, now->hwnd);
            if (msg == kProbe) {
                ::SendMessageA(m_hWnd, kProbe + 1, 0, 55);
                now = CWnd::GetCurrentMessage();
                current.emplace_back(now->message, now->lParam);
            }
        }
        return CQZWndHook::WindowProc(msg, wParam, lParam);
    }
};

} // namespace

TEST_F(WindowHookTest, CurrentMessageInsideAHookIsTheHookedOneAndComesBackAfterANestedSend)
{
    CurrentMessageHook hook;
    hook.HookWindow(window);
    const MSG before = *CWnd::GetCurrentMessage();
    SendMessageA(window, kProbe, 0, 44);
    const std::vector<std::pair<UINT, LPARAM>> expected = {{kProbe, 44}, {kProbe + 1, 55}, {kProbe, 44}};
    EXPECT_EQ(expected, hook.current);
    EXPECT_EQ(before.message, CWnd::GetCurrentMessage()->message) << "the outer message is back";
}

namespace {

// Notes whether it was still attached when the window's own procedure saw WM_NCDESTROY.
std::vector<bool> g_attachedAtNcDestroy;
std::vector<CQZWndHook*> g_watchedHooks;

LRESULT CALLBACK WatchingWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCDESTROY) {
        for (CQZWndHook* hook : g_watchedHooks)
            g_attachedAtNcDestroy.push_back(hook->IsHooked() != FALSE);
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

} // namespace

TEST(WindowHookDestruction, EveryHookIsDetachedBeforeTheWindowSeesItsLastMessage)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &WatchingWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QZHookWatchWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "QZHookWatchWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, window);
    auto first = std::make_unique<LoggingHook>("first");
    auto second = std::make_unique<LoggingHook>("second");
    first->HookWindow(window);
    second->HookWindow(window);
    g_watchedHooks = {first.get(), second.get()};
    g_attachedAtNcDestroy.clear();
    DestroyWindow(window);
    EXPECT_EQ((std::vector<bool>{false, false}), g_attachedAtNcDestroy);
    // Hooks see the destruction but never WM_NCDESTROY.
    EXPECT_NE(std::find(first->seen.begin(), first->seen.end(), static_cast<UINT>(WM_DESTROY)), first->seen.end());
    EXPECT_EQ(std::find(first->seen.begin(), first->seen.end(), static_cast<UINT>(WM_NCDESTROY)), first->seen.end());
    EXPECT_EQ(nullptr, CQZWindowMap::GetHookMap().Lookup(window));
    // Their owners delete them afterwards without touching the gone window.
    first.reset();
    second.reset();
    g_watchedHooks.clear();
}

namespace {

class CountingFrameworkWindow : public CWnd {
public:
    int probes = 0;
    afx_msg LRESULT OnProbe(WPARAM, LPARAM)
    {
        ++probes;
        return 100;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CountingFrameworkWindow, CWnd)
    ON_MESSAGE(kProbe, OnProbe)
END_MESSAGE_MAP()

} // namespace

TEST(WindowHookOnFrameworkWindow, TheWindowsOwnMapStillRunsAndItsObjectLetsGoAtTheEnd)
{
    g_hookLog.clear();
    CountingFrameworkWindow window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "framework", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr));
    LoggingHook hook("hook");
    hook.HookWindow(&window);
    EXPECT_EQ(101, window.SendMessage(kProbe));
    EXPECT_EQ(1, window.probes);
    EXPECT_EQ((std::vector<std::string>{"hook"}), g_hookLog);
    window.DestroyWindow();
    EXPECT_EQ(nullptr, window.m_hWnd);
    EXPECT_FALSE(hook.IsHooked());
}
