// Window trees: pre-translation up the parents, messages to descendants, owners and
// parent frames, style changes, control updates, notifications passed on by bars,
// window classes, creation next to another CBT hook and on a worker thread.
#include "framework/Framework.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

using test_support::CreateForeignWindow;
using test_support::PumpPending;

namespace {

std::vector<std::string> g_order;

class PreTranslatingWnd : public CWnd {
public:
    std::string name;
    BOOL answer = FALSE;
    int idleUpdates = 0;
    BOOL PreTranslateMessage(MSG*) override
    {
        g_order.push_back(name);
        return answer;
    }
    afx_msg LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++idleUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PreTranslatingWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

BOOL CreateTop(CWnd& wnd)
{
    return wnd.CreateEx(0, nullptr, "top", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr);
}

BOOL CreateChild(CWnd& wnd, CWnd& parent, UINT id)
{
    return wnd.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 20, 20), &parent, id);
}

// Counts the messages of one kind that reach it, whatever handles them.
class CountingWnd : public CWnd {
public:
    UINT watched = 0;
    int count = 0;
    WPARAM lastWParam = 0;
    LPARAM lastLParam = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == watched) {
            ++count;
            lastWParam = wParam;
            lastLParam = lParam;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class UpdateTarget : public CCmdTarget {
public:
    afx_msg void OnUpdateDisable(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnCommandOnly() {}
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(UpdateTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI(21, OnUpdateDisable)
    ON_COMMAND(22, OnCommandOnly)
END_MESSAGE_MAP()

class OwnerFrame : public CFrameWnd {
public:
    int commands = 0;
    afx_msg void OnButton() { ++commands; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(OwnerFrame, CFrameWnd)
    ON_BN_CLICKED(31, OnButton)
END_MESSAGE_MAP()

class PlainBar : public CControlBar {
public:
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

// Big enough that the heap gives its block straight back to the system when it is freed:
// a bar deleted again from inside its own destructor then reads memory that is gone.
class OversizedBar : public PlainBar {
    char m_ballast[1 << 20];
};

// Counts the access violations raised while it lives, also those the system swallows
// because they happen inside a window's callback (a window procedure run by DestroyWindow).
class AccessViolationCounter {
public:
    AccessViolationCounter() : m_handler(AddVectoredExceptionHandler(1, &Note)) { s_count = 0; }
    ~AccessViolationCounter() { RemoveVectoredExceptionHandler(m_handler); }
    AccessViolationCounter(const AccessViolationCounter&) = delete;
    AccessViolationCounter& operator=(const AccessViolationCounter&) = delete;
    int Count() const { return s_count; }

private:
    static LONG CALLBACK Note(EXCEPTION_POINTERS* exception)
    {
        if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION)
            ++s_count;
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static inline std::atomic<int> s_count{0};
    void* m_handler;
};

class HelpApp : public CWinApp {
public:
    std::vector<UINT> helpCommands;
    HelpApp() : CWinApp("HelpTest") {}
    void WinHelp(DWORD_PTR, UINT nCmd) override { helpCommands.push_back(nCmd); }
};

int g_otherHookCreations = 0;
LRESULT CALLBACK OtherCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
        ++g_otherHookCreations;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST(PreTranslate, WalksFromTheMessageWindowUpToTheStopWindow)
{
    PreTranslatingWnd top, child;
    top.name = "top";
    child.name = "child";
    ASSERT_TRUE(CreateTop(top));
    ASSERT_TRUE(CreateChild(child, top, 1));
    // A foreign grandchild has no object: the walk passes over it.
    HWND grandchild = CreateForeignWindow(child.m_hWnd, 2);
    MSG msg = {grandchild, WM_KEYDOWN, 'A', 0};
    g_order.clear();
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(top.m_hWnd, &msg));
    std::vector<std::string> expected = {"child", "top"};
    EXPECT_EQ(expected, g_order);
    // The first window that takes the message ends the walk.
    child.answer = TRUE;
    g_order.clear();
    EXPECT_TRUE(CWnd::WalkPreTranslateTree(top.m_hWnd, &msg));
    EXPECT_EQ(std::vector<std::string>{"child"}, g_order);
    // The stop window is the last one asked.
    child.answer = FALSE;
    g_order.clear();
    CWnd::WalkPreTranslateTree(child.m_hWnd, &msg);
    EXPECT_EQ(std::vector<std::string>{"child"}, g_order);
}

TEST(Descendants, DeepAndPermanentOnlySendsReachTheRightWindows)
{
    PreTranslatingWnd top, child, grandchild;
    ASSERT_TRUE(CreateTop(top));
    ASSERT_TRUE(CreateChild(child, top, 1));
    ASSERT_TRUE(CreateChild(grandchild, child, 2));
    top.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, FALSE, TRUE);
    EXPECT_EQ(1, child.idleUpdates);
    EXPECT_EQ(0, grandchild.idleUpdates);
    top.SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    EXPECT_EQ(2, child.idleUpdates);
    EXPECT_EQ(1, grandchild.idleUpdates);
    EXPECT_EQ(0, top.idleUpdates);
}

TEST(Family, OwnerParentFrameAndTopLevelFrame)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "frame"));
    CWnd child, grandchild;
    ASSERT_TRUE(CreateChild(child, *frame, 1));
    ASSERT_TRUE(CreateChild(grandchild, child, 2));
    EXPECT_EQ(frame, grandchild.GetParentFrame());
    EXPECT_EQ(frame, grandchild.GetTopLevelFrame());
    EXPECT_EQ(frame, frame->GetTopLevelFrame());
    EXPECT_EQ(nullptr, frame->GetParentFrame());
    EXPECT_EQ(frame, grandchild.GetTopLevelParent());
    // Without an owner of its own the parent routes; the framework owner is not the system's.
    EXPECT_EQ(&child, grandchild.GetOwner());
    grandchild.SetOwner(frame);
    EXPECT_EQ(frame, grandchild.GetOwner());
    EXPECT_EQ(nullptr, ::GetWindow(grandchild.m_hWnd, GW_OWNER));
    frame->DestroyWindow();
    PumpPending();
}

TEST(Style, ModifyStyleChangesOnlyWhatItIsAsked)
{
    HWND foreign = CreateForeignWindow();
    EXPECT_TRUE(CWnd::ModifyStyle(foreign, WS_CAPTION, 0, SWP_FRAMECHANGED));
    EXPECT_EQ(0u, GetWindowLongA(foreign, GWL_STYLE) & WS_CAPTION);
    EXPECT_FALSE(CWnd::ModifyStyle(foreign, WS_CAPTION, 0, 0)) << "nothing left to change";
    CWnd* wnd = CWnd::FromHandle(foreign);
    EXPECT_TRUE(wnd->ModifyStyleEx(0, WS_EX_TOOLWINDOW));
    EXPECT_NE(0u, wnd->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_NE(0u, wnd->GetStyle() & WS_THICKFRAME);
    DestroyWindow(foreign);
}

TEST(SystemChanges, TopLevelWindowPassesThemToEveryDescendantOnce)
{
    const char* section = "intl";
    struct Case { const char* why; UINT message; WPARAM wParam; LPARAM lParam; };
    const Case cases[] = {
        {"colour change", WM_SYSCOLORCHANGE, 0, 0},
        {"setting change keeps its flag and section", WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS,
         reinterpret_cast<LPARAM>(section)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CWnd top;
        CountingWnd child;
        CountingWnd grandchild;
        ASSERT_TRUE(CreateTop(top));
        ASSERT_TRUE(CreateChild(child, top, 1));
        ASSERT_TRUE(CreateChild(grandchild, child, 2));
        child.watched = grandchild.watched = c.message;
        top.SendMessage(c.message, c.wParam, c.lParam);
        EXPECT_EQ(1, child.count);
        EXPECT_EQ(1, grandchild.count) << "reached once: children do not pass it on again";
        EXPECT_EQ(c.wParam, grandchild.lastWParam);
        EXPECT_EQ(c.lParam, grandchild.lastLParam);
        // Sent to a child window, it stays there.
        child.SendMessage(c.message, c.wParam, c.lParam);
        EXPECT_EQ(2, child.count);
        EXPECT_EQ(1, grandchild.count);
    }
}

TEST(AfxSetWindowText, WritesOnlyATextThatDiffers)
{
    CWnd parent;
    ASSERT_TRUE(CreateTop(parent));
    CountingWnd label;
    ASSERT_TRUE(label.Create("STATIC", "same", WS_VISIBLE, CRect(0, 0, 50, 20), &parent, 3));
    label.watched = WM_SETTEXT;
    AfxSetWindowText(label.m_hWnd, "same");
    EXPECT_EQ(0, label.count);
    AfxSetWindowText(label.m_hWnd, "sam");
    EXPECT_EQ(1, label.count);
    AfxSetWindowText(label.m_hWnd, "sample");
    EXPECT_EQ(2, label.count);
    CString text;
    label.GetWindowText(text);
    EXPECT_STREQ("sample", text);
    AfxSetWindowText(label.m_hWnd, "");
    EXPECT_EQ(3, label.count);
    AfxSetWindowText(label.m_hWnd, "");
    EXPECT_EQ(3, label.count);
}

TEST(UpdateDialogControls, DisablesControlsThatNothingHandles)
{
    CWnd parent;
    ASSERT_TRUE(CreateTop(parent));
    HWND byUpdate = CreateForeignWindow(parent.m_hWnd, 21, "BUTTON");
    HWND byCommand = CreateForeignWindow(parent.m_hWnd, 22, "BUTTON");
    HWND unhandled = CreateForeignWindow(parent.m_hWnd, 23, "BUTTON");
    UpdateTarget target;
    parent.UpdateDialogControls(&target, TRUE);
    EXPECT_FALSE(IsWindowEnabled(byUpdate));
    EXPECT_TRUE(IsWindowEnabled(byCommand));
    EXPECT_FALSE(IsWindowEnabled(unhandled));
}

TEST(ControlBarForwarding, NotificationsTheBarLeavesGoToItsOwner)
{
    auto* frame = new OwnerFrame;
    ASSERT_TRUE(frame->Create(nullptr, "owner"));
    PlainBar bar;
    bar.m_dwStyle = CBRS_TOP;
    ASSERT_TRUE(bar.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 100, 20), frame, AFX_IDW_TOOLBAR));
    EXPECT_EQ(frame, bar.m_pDockSite);
    HWND button = CreateForeignWindow(bar.m_hWnd, 31, "BUTTON");
    bar.SendMessage(WM_COMMAND, MAKEWPARAM(31, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(1, frame->commands);
    frame->DestroyWindow();
    EXPECT_EQ(nullptr, bar.m_hWnd);
    EXPECT_EQ(nullptr, bar.m_pDockSite);
    PumpPending();
}

TEST(Lifetime, DeletingAFrameOrBarWhoseWindowExistsIsSafe)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "deleted"));
    auto* bar = new OversizedBar;
    bar->m_bAutoDelete = TRUE;
    bar->m_dwStyle = CBRS_BOTTOM;
    ASSERT_TRUE(bar->Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 10, 10), frame, AFX_IDW_STATUS_BAR));
    HWND barWnd = bar->m_hWnd;
    {
        // Its window ends inside the destructor: the self-deleting bar must not delete itself
        // again there (with this compiler that calls through an empty slot of the bar's table).
        AccessViolationCounter violations;
        delete bar;
        EXPECT_EQ(0, violations.Count());
    }
    EXPECT_FALSE(IsWindow(barWnd));
    EXPECT_EQ(nullptr, frame->GetControlBar(AFX_IDW_STATUS_BAR));
    HWND frameWnd = frame->m_hWnd;
    delete frame;
    EXPECT_FALSE(IsWindow(frameWnd));
    PumpPending();
}

TEST(IdleUpdate, EveryVisibleFrameOfTheThreadIsUpdated)
{
    CWinApp app("IdleFrames");
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "second frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    PreTranslatingWnd child;
    ASSERT_TRUE(CreateChild(child, *frame, 1));
    app.OnIdle(0);
    EXPECT_EQ(1, child.idleUpdates) << "not the main window, still updated";
    frame->ShowWindow(SW_HIDE);
    app.OnIdle(0);
    EXPECT_EQ(1, child.idleUpdates) << "hidden frames are left alone";
    frame->DestroyWindow();
    PumpPending();
}

TEST(FrameHelp, HelpCommandsReachTheApplicationsHelp)
{
    HelpApp app;
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "help"));
    for (UINT id : {ID_HELP_INDEX, ID_DEFAULT_HELP, ID_HELP_USING, ID_HELP, ID_CONTEXT_HELP})
        frame->SendMessage(WM_COMMAND, id);
    std::vector<UINT> expected = {HELP_INDEX, HELP_INDEX, HELP_HELPONHELP, HELP_CONTENTS, HELP_CONTENTS};
    EXPECT_EQ(expected, app.helpCommands);
    frame->DestroyWindow();
    PumpPending();
}

TEST(FrameActivation, StayActiveFlagKeepsTheCaptionActive)
{
    // Records what the frame passes on to the system's handling.
    struct StayFrame : CFrameWnd {
        WPARAM passedOn = 99;
        LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_NCACTIVATE)
                passedOn = wParam;
            return CFrameWnd::DefWindowProc(message, wParam, lParam);
        }
    };
    auto* frame = new StayFrame;
    ASSERT_TRUE(frame->Create(nullptr, "active"));
    frame->SendMessage(WM_NCACTIVATE, FALSE);
    EXPECT_EQ(static_cast<WPARAM>(FALSE), frame->passedOn);
    frame->m_nFlags |= WF_STAYACTIVE;
    frame->SendMessage(WM_NCACTIVATE, FALSE);
    EXPECT_EQ(static_cast<WPARAM>(TRUE), frame->passedOn);
    frame->DestroyWindow();
    PumpPending();
}

TEST(WindowClasses, SameParametersGiveTheSameRegisteredClass)
{
    HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
    LPCSTR first = AfxRegisterWndClass(CS_SAVEBITS | CS_CLASSDC, nullptr, brush);
    LPCSTR second = AfxRegisterWndClass(CS_SAVEBITS | CS_CLASSDC, nullptr, brush);
    EXPECT_EQ(first, second);
    EXPECT_STRNE(first, AfxRegisterWndClass(CS_CLASSDC));
    WNDCLASSA info = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), first, &info));
    EXPECT_EQ(static_cast<UINT>(CS_SAVEBITS | CS_CLASSDC), info.style);
}

TEST(CreationHook, CoexistsWithAnotherCbtHookOfTheThread)
{
    HHOOK other = SetWindowsHookExA(WH_CBT, &OtherCbtHook, nullptr, GetCurrentThreadId());
    g_otherHookCreations = 0;
    PreTranslatingWnd wnd;
    EXPECT_TRUE(CreateTop(wnd));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    EXPECT_GE(g_otherHookCreations, 1);
    UnhookWindowsHookEx(other);
}

TEST(WorkerThreadWindows, AWorkerThreadHasItsOwnWindowMap)
{
    struct WindowThread : CWinThread {
        bool created = false;
        bool foundOnItsThread = false;
        HWND hWnd = nullptr;
        BOOL InitInstance() override
        {
            CWnd wnd;
            created = CreateTop(wnd) != FALSE;
            hWnd = wnd.m_hWnd;
            foundOnItsThread = CWnd::FromHandlePermanent(hWnd) == &wnd;
            return FALSE;
        }
    };
    WindowThread thread;
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    // Windows of one thread may send to another's while they are made: keep pumping.
    DWORD started = GetTickCount();
    DWORD wait = WAIT_TIMEOUT;
    while (wait != WAIT_OBJECT_0 && GetTickCount() - started < 5000) {
        wait = MsgWaitForMultipleObjects(1, &thread.m_hThread, FALSE, 100, QS_ALLINPUT);
        PumpPending();
    }
    ASSERT_EQ(WAIT_OBJECT_0, wait);
    EXPECT_TRUE(thread.created);
    EXPECT_TRUE(thread.foundOnItsThread);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(thread.hWnd)) << "another thread's objects are not ours";
}
