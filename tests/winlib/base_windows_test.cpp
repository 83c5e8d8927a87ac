// The base windows. iWnd: its two creating forms (class, style, rectangle, owner, font,
// set), dynamic creation, and every order of destroying windows and deleting objects of a
// container that holds a window that holds a control, subclassed windows included.
// iFrameWnd: its creating forms, its controls going with it whoever ends it, and a
// creation that fails inside the constructor.
#include "lib/src/Win2/Wnd/iFrameWnd.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using test_support::ClassOf;
using test_support::CreateForeignWindow;

namespace {

std::vector<std::string> g_log;

// Records its deletion: whether it was still in its container's set then, and whether the
// window it sits on was still in its own container's set (a window's controls go first).
class LoggedWnd : public iWnd {
public:
    explicit LoggedWnd(const char* name) : m_name(name) {}
    LoggedWnd(const char* name, LoggedWnd* parent, const RECT& rect, DWORD style, UINT id)
        : iWnd(parent, rect, style, name, id), m_name(name), m_parent(parent), m_parentName(parent->m_name)
    {
    }
    LoggedWnd(const char* name, CWnd* parent, const RECT& rect, DWORD style, UINT id, DWORD exStyle, LPVOID param)
        : iWnd(parent, rect, style, name, id, exStyle, param), m_name(name)
    {
    }
    ~LoggedWnd() override
    {
        std::string entry = m_name + " deleted";
        if (IsInItsSet(this))
            entry += " in set";
        if (m_parent && IsInItsSet(m_parent))
            entry += ", " + m_parentName + " in set";
        g_log.push_back(entry);
    }

    std::string m_name;
    // Kept as the library window it is: its own destructor has run by the time this one's does.
    iWnd* m_parent = nullptr;
    std::string m_parentName;

private:
    static bool IsInItsSet(iWnd* window)
    {
        const iWindowSet* set = window->GetWindowSetAccess().GetSet();
        return set && set->count(window) != 0;
    }
};

// Catches what window procedures receive while it lives: the creation parameter with
// WM_CREATE and the font with WM_SETFONT (0 when none came).
class MessageSpy {
public:
    MessageSpy()
    {
        s_createParam = nullptr;
        s_font = 0;
        s_hook = SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
    }
    ~MessageSpy() { UnhookWindowsHookEx(s_hook); }
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;
    static inline LPVOID s_createParam = nullptr;
    static inline WPARAM s_font = 0;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_CREATE)
            s_createParam = reinterpret_cast<const CREATESTRUCTA*>(call->lParam)->lpCreateParams;
        if (code == HC_ACTION && call->message == WM_SETFONT && call->lParam)
            s_font = call->wParam;
        return CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static inline HHOOK s_hook = nullptr;
};

// A view the frame tests create through a creation context.
class FrameTestView : public CView {
    DECLARE_DYNCREATE(FrameTestView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(FrameTestView, CView)

const CRect kRect(5, 6, 85, 46);

class IWndTest : public ::testing::Test {
protected:
    void SetUp() override { g_log.clear(); }
};

} // namespace

TEST_F(IWndTest, DialogItemFormMakesAChildOfTheDefaultClassInItsParentsSet)
{
    auto container = std::make_unique<iWnd>(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "container", 0, 0,
                                            nullptr);
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
    auto* child = new iWnd(container.get(), kRect, WS_VISIBLE, "child", 12);
    ASSERT_NE(nullptr, child->m_hWnd);

    EXPECT_EQ(std::string(AfxWndClassName()), ClassOf(child->m_hWnd));
    EXPECT_TRUE(child->GetStyle() & WS_CHILD) << "the framework adds WS_CHILD";
    EXPECT_EQ(container->m_hWnd, GetParent(child->m_hWnd));
    EXPECT_EQ(12, child->GetDlgCtrlID());
    CString text;
    child->GetWindowText(text);
    EXPECT_STREQ("child", text);
    CRect placed;
    child->GetWindowRect(&placed);
    container->ScreenToClient(&placed);
    EXPECT_EQ(kRect, placed) << "a library window works in pixels";
    EXPECT_EQ(1u, container->GetWindowSet().count(child));
    EXPECT_EQ(&container->GetWindowSet(), child->GetWindowSetAccess().GetSet());
    EXPECT_EQ(child, CWnd::FromHandlePermanent(child->m_hWnd));
}

TEST_F(IWndTest, WindowFormKeepsTheStyleSoAPopUpIsOwnedByItsParent)
{
    auto owner = std::make_unique<iWnd>(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "owner", 0, 0, nullptr);
    int param = 0;
    iWnd* popup = nullptr;
    {
        MessageSpy spy;
        popup = new iWnd(owner.get(), kRect, WS_POPUP | WS_BORDER, "popup", 0, WS_EX_TOOLWINDOW, &param);
    }
    ASSERT_NE(nullptr, popup->m_hWnd);
    EXPECT_EQ(&param, MessageSpy::s_createParam);
    EXPECT_FALSE(popup->GetStyle() & WS_CHILD);
    EXPECT_TRUE(popup->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_EQ(owner->m_hWnd, GetWindow(popup->m_hWnd, GW_OWNER));
    CRect placed;
    popup->GetWindowRect(&placed);
    EXPECT_EQ(kRect, placed) << "a pop-up is placed on the screen";
    // An owned pop-up counts as a control of its owner: it goes with it.
    EXPECT_EQ(1u, owner->GetWindowSet().count(popup));

    auto* child = new iWnd(owner.get(), kRect, WS_CHILD | WS_VISIBLE, "child", 3, WS_EX_CLIENTEDGE, nullptr);
    EXPECT_EQ(owner->m_hWnd, GetParent(child->m_hWnd));
    EXPECT_TRUE(child->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_EQ(2u, owner->GetWindowSet().size());
}

TEST_F(IWndTest, FailedCreationLeavesAWindowlessObjectInNoSet)
{
    // A child window needs a parent: the system refuses it.
    iWnd orphan(nullptr, kRect, WS_VISIBLE, "orphan", 1);
    EXPECT_EQ(nullptr, orphan.m_hWnd);
    EXPECT_EQ(nullptr, orphan.GetWindowSetAccess().GetSet());
    EXPECT_EQ(nullptr, orphan.GetWindowSetAccess().GetControl());
}

TEST_F(IWndTest, RunTimeClassMakesWindowlessObjects)
{
    const CRuntimeClass* runtimeClass = RUNTIME_CLASS(iWnd);
    EXPECT_STREQ("iWnd", runtimeClass->m_lpszClassName);
    EXPECT_EQ(0xFFFFu, runtimeClass->m_wSchema);
    EXPECT_EQ(RUNTIME_CLASS(CWnd), runtimeClass->m_pBaseClass);
    std::unique_ptr<CObject> made(runtimeClass->CreateObject());
    ASSERT_NE(nullptr, made);
    auto* window = dynamic_cast<iWnd*>(made.get());
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(nullptr, window->m_hWnd);
    EXPECT_TRUE(window->GetWindowSet().empty());
}

TEST_F(IWndTest, EveryOrderOfDestroyingWindowsAndDeletingObjectsIsSafe)
{
    // outer (a heap container) holds middle (a library window) which holds inner.
    struct Tree {
        LoggedWnd* outer;
        LoggedWnd* middle;
        LoggedWnd* inner;
        HWND outerWindow, middleWindow, innerWindow;
    };
    struct Case {
        const char* why;
        std::function<void(Tree&)> teardown;
        std::vector<std::string> expectedLog;
    };
    const Case kCases[] = {
        {"delete the container while every window exists",
         [](Tree& t) { delete t.outer; },
         {"outer deleted", "middle deleted in set", "inner deleted in set, middle in set"}},
        {"destroy the container's window first, delete later",
         [](Tree& t) {
             t.outer->DestroyWindow();
             EXPECT_EQ(nullptr, t.middle->m_hWnd) << "children lose their windows, not their objects";
             EXPECT_TRUE(g_log.empty());
             delete t.outer;
         },
         {"outer deleted", "middle deleted in set", "inner deleted in set, middle in set"}},
        {"destroy the middle window, then delete the container",
         [](Tree& t) {
             t.middle->DestroyWindow();
             delete t.outer;
         },
         {"outer deleted", "middle deleted in set", "inner deleted in set, middle in set"}},
        {"delete the middle object by hand, then the container",
         [](Tree& t) {
             delete t.middle;
             EXPECT_TRUE(t.outer->GetWindowSet().empty());
             delete t.outer;
         },
         {"middle deleted in set", "inner deleted in set, middle in set", "outer deleted"}},
        {"delete the innermost first",
         [](Tree& t) {
             delete t.inner;
             delete t.outer;
         },
         {"inner deleted in set, middle in set", "outer deleted", "middle deleted in set"}},
        {"destroy the innermost window by its handle, then delete the container",
         [](Tree& t) {
             ::DestroyWindow(t.innerWindow);
             EXPECT_EQ(nullptr, t.inner->m_hWnd);
             delete t.outer;
         },
         {"outer deleted", "middle deleted in set", "inner deleted in set, middle in set"}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        g_log.clear();
        Tree t = {};
        t.outer = new LoggedWnd("outer", static_cast<CWnd*>(nullptr), CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, 0,
                                0, nullptr);
        t.middle = new LoggedWnd("middle", t.outer, kRect, WS_VISIBLE, 1);
        t.inner = new LoggedWnd("inner", t.middle, CRect(0, 0, 10, 10), WS_VISIBLE, 2);
        t.outerWindow = t.outer->m_hWnd;
        t.middleWindow = t.middle->m_hWnd;
        t.innerWindow = t.inner->m_hWnd;
        ASSERT_NE(nullptr, t.innerWindow);
        c.teardown(t);
        EXPECT_EQ(c.expectedLog, g_log);
        for (HWND window : {t.outerWindow, t.middleWindow, t.innerWindow})
            EXPECT_FALSE(IsWindow(window));
    }
}

TEST_F(IWndTest, SubclassedForeignWindowJoinsTheContainerAndCanGoEitherWay)
{
    struct Case {
        const char* why;
        bool destroyWindowFirst;
    };
    const Case kCases[] = {{"window destroyed before the container", true},
                           {"container deleted while the window exists", false}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        g_log.clear();
        auto* container = new LoggedWnd("container", static_cast<CWnd*>(nullptr), CRect(0, 0, 300, 200),
                                        WS_OVERLAPPEDWINDOW, 0, 0, nullptr);
        HWND foreign = CreateForeignWindow(container->m_hWnd, 9);
        ASSERT_NE(nullptr, foreign);
        auto* adopted = new LoggedWnd("adopted");
        ASSERT_TRUE(adopted->SubclassWindow(foreign));
        EXPECT_EQ(1, adopted->GetWindowSetAccess().Attach(adopted));
        EXPECT_EQ(1u, container->GetWindowSet().count(adopted));
        if (c.destroyWindowFirst) {
            ::DestroyWindow(foreign);
            EXPECT_EQ(nullptr, adopted->m_hWnd);
        }
        delete container;
        const std::vector<std::string> expected = {"container deleted", "adopted deleted in set"};
        EXPECT_EQ(expected, g_log);
        EXPECT_FALSE(IsWindow(foreign));
    }
}

TEST_F(IWndTest, WindowExStyleOfLiveAndDeadHandles)
{
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    const DWORD exStyle = GetWindowExStyle(window);
    EXPECT_TRUE(exStyle & WS_EX_TRANSPARENT);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    DestroyWindow(window);
    EXPECT_EQ(0u, GetWindowExStyle(window));
    EXPECT_EQ(0u, GetWindowExStyle(nullptr));
}

TEST_F(IWndTest, FrameIsMadeOfTheFrameClassWithoutMenuAndTakesItsParentsFont)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, "BUTTON", "parent", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(80, "MS Sans Serif"));
    parent.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.m_hObject), FALSE);
    const CRect rect(20, 30, 320, 230);

    iFrameWnd* frame = nullptr;
    {
        MessageSpy spy;
        frame = new iFrameWnd(&parent, rect, WS_OVERLAPPEDWINDOW, "Frame title", 1234);
        EXPECT_EQ(reinterpret_cast<WPARAM>(font.m_hObject), MessageSpy::s_font);
    }
    ASSERT_NE(nullptr, frame->m_hWnd);
    EXPECT_EQ(std::string(AfxFrameOrViewClassName()), ClassOf(frame->m_hWnd));
    CString title;
    frame->GetWindowText(title);
    EXPECT_STREQ("Frame title", title);
    CRect placed;
    frame->GetWindowRect(&placed);
    EXPECT_EQ(rect, placed) << "a frame's rectangle is never mapped";
    EXPECT_EQ(nullptr, ::GetMenu(frame->m_hWnd)) << "the id is no menu";
    EXPECT_EQ(parent.m_hWnd, GetWindow(frame->m_hWnd, GW_OWNER));
    EXPECT_TRUE(frame->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_STREQ("iFrameWnd", frame->GetRuntimeClass()->m_lpszClassName);
    frame->DestroyWindow();
}

TEST_F(IWndTest, FrameWithoutParentSendsNoFont)
{
    MessageSpy spy;
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 200, 100), WS_OVERLAPPEDWINDOW, "lone", 0);
    ASSERT_NE(nullptr, frame->m_hWnd);
    EXPECT_EQ(0u, MessageSpy::s_font);
    frame->DestroyWindow();
}

TEST_F(IWndTest, ClosedFrameDeletesItselfAndItsControls)
{
    struct Case {
        const char* why;
        bool isClosed;
    };
    const Case kCases[] = {{"closed by the user", true}, {"destroyed", false}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        g_log.clear();
        auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "frame", 0);
        HWND frameWindow = frame->m_hWnd;
        new LoggedWnd("first", frame, kRect, WS_CHILD | WS_VISIBLE, 1, 0, nullptr);
        new LoggedWnd("second", frame, kRect, WS_CHILD | WS_VISIBLE, 2, 0, nullptr);
        ASSERT_EQ(2u, frame->GetWindowSet().size());
        if (c.isClosed)
            SendMessageA(frameWindow, WM_CLOSE, 0, 0);
        else
            ::DestroyWindow(frameWindow);
        EXPECT_FALSE(IsWindow(frameWindow));
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(frameWindow));
        ASSERT_EQ(2u, g_log.size()) << "the frame deleted its controls with itself";
        EXPECT_EQ(1, std::count(g_log.begin(), g_log.end(), "first deleted in set"));
        EXPECT_EQ(1, std::count(g_log.begin(), g_log.end(), "second deleted in set"));
    }
}

TEST_F(IWndTest, FrameDeletedWhileItsWindowExistsGoesOnce)
{
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "frame", 0);
    HWND frameWindow = frame->m_hWnd;
    auto* control = new LoggedWnd("control", frame, kRect, WS_CHILD | WS_VISIBLE, 1, 0, nullptr);
    HWND controlWindow = control->m_hWnd;
    delete frame;
    EXPECT_FALSE(IsWindow(frameWindow));
    EXPECT_FALSE(IsWindow(controlWindow));
    EXPECT_EQ(std::vector<std::string>{"control deleted in set"}, g_log);
}

TEST_F(IWndTest, FrameCreatesTheViewOfItsCreationContext)
{
    CCreateContext context = {};
    context.m_pNewViewClass = RUNTIME_CLASS(FrameTestView);
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "frame", 0, WS_EX_TOOLWINDOW,
                                &context);
    ASSERT_NE(nullptr, frame->m_hWnd);
    EXPECT_TRUE(frame->GetExStyle() & WS_EX_TOOLWINDOW);
    CWnd* pane = CWnd::FromHandlePermanent(::GetDlgItem(frame->m_hWnd, AFX_IDW_PANE_FIRST));
    EXPECT_NE(nullptr, dynamic_cast<FrameTestView*>(pane));
    frame->DestroyWindow();
}

TEST_F(IWndTest, FrameWhoseCreationFailsInItsConstructorStaysAliveForItsCaller)
{
    // A view class that cannot be made dynamically makes the frame's WM_CREATE fail.
    CCreateContext context = {};
    context.m_pNewViewClass = RUNTIME_CLASS(CView);
    auto* frame = new iFrameWnd(nullptr, CRect(0, 0, 300, 200), WS_OVERLAPPEDWINDOW, "frame", 0, 0, &context);
    EXPECT_EQ(nullptr, frame->m_hWnd);
    EXPECT_TRUE(frame->GetWindowSet().empty());
    // Still a frame whose window can be made; afterwards it deletes itself as frames do.
    ASSERT_TRUE(frame->Create(nullptr, "second try", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100)));
    HWND frameWindow = frame->m_hWnd;
    new LoggedWnd("control", frame, kRect, WS_CHILD | WS_VISIBLE, 1, 0, nullptr);
    ::DestroyWindow(frameWindow);
    EXPECT_EQ(std::vector<std::string>{"control deleted in set"}, g_log);
}

TEST_F(IWndTest, FrameRunTimeClassMakesWindowlessFrames)
{
    const CRuntimeClass* runtimeClass = RUNTIME_CLASS(iFrameWnd);
    EXPECT_EQ(RUNTIME_CLASS(CFrameWnd), runtimeClass->m_pBaseClass);
    EXPECT_EQ(0xFFFFu, runtimeClass->m_wSchema);
    CObject* made = runtimeClass->CreateObject();
    auto* frame = dynamic_cast<iFrameWnd*>(made);
    ASSERT_NE(nullptr, frame);
    EXPECT_EQ(nullptr, frame->m_hWnd);
    delete made;
}
