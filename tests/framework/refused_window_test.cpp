// A window the system refuses while it is being made (another program's CBT hook, or
// the window answering FALSE to WM_NCCREATE or -1 to WM_CREATE) leaves its object as one
// never created: no handle, no place in the handle map, no super procedure, its clean-up
// run once, and free to be created again. The system may or may not send WM_NCDESTROY
// on the way; neither may free an object twice or keep a dead handle. Modeless dialogs
// are made through the same hook and are left the same way.
#include "framework/Framework.h"

#include "dialog_template_builder.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

enum class Refusal { None, CbtHook, NcCreate, Create, PreCreate };

// Sees every window made on the thread while it lives and, when asked, refuses it as
// another program's hook can do. The framework's own hook, set for each creation, runs
// before it: the object is attached when the refusal comes.
class WindowCreationWatch {
public:
    explicit WindowCreationWatch(bool refuses)
    {
        s_refuses = refuses;
        s_lastHandle = nullptr;
        s_hook = SetWindowsHookExA(WH_CBT, &Watch, nullptr, GetCurrentThreadId());
    }
    ~WindowCreationWatch() { UnhookWindowsHookEx(s_hook); }
    WindowCreationWatch(const WindowCreationWatch&) = delete;
    WindowCreationWatch& operator=(const WindowCreationWatch&) = delete;

    bool IsHooked() const { return s_hook != nullptr; }
    HWND LastHandle() const { return s_lastHandle; }

private:
    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            s_lastHandle = reinterpret_cast<HWND>(wParam);
            if (s_refuses)
                return 1;
        }
        return CallNextHookEx(s_hook, code, wParam, lParam);
    }
    static inline HHOOK s_hook = nullptr;
    static inline bool s_refuses = false;
    static inline HWND s_lastHandle = nullptr;
};

// What became of an object, kept outside it: a self-deleting object may be gone.
struct RefusedObjectLifetime {
    int cleanUps = 0;
    int destructions = 0;
};

class RefusingWnd : public CWnd {
public:
    RefusingWnd(Refusal refusal, bool deletesItself, RefusedObjectLifetime& lifetime)
        : m_refusal(refusal), m_deletesItself(deletesItself), m_lifetime(lifetime)
    {
    }
    ~RefusingWnd() override { ++m_lifetime.destructions; }

    Refusal m_refusal;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        return m_refusal == Refusal::PreCreate ? FALSE : CWnd::PreCreateWindow(cs);
    }
    void PostNcDestroy() override
    {
        ++m_lifetime.cleanUps;
        if (m_deletesItself)
            delete this;
    }
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs) { return m_refusal == Refusal::NcCreate ? FALSE : CWnd::OnNcCreate(cs); }
    afx_msg int OnCreate(LPCREATESTRUCT cs) { return m_refusal == Refusal::Create ? -1 : CWnd::OnCreate(cs); }
    DECLARE_MESSAGE_MAP()

private:
    bool m_deletesItself;
    RefusedObjectLifetime& m_lifetime;
};

BEGIN_MESSAGE_MAP(RefusingWnd, CWnd)
    ON_WM_NCCREATE()
    ON_WM_CREATE()
END_MESSAGE_MAP()

struct RefusalCase {
    const char* why;
    Refusal refusal;
    LPCSTR className;  // null: the framework's own class
};

const RefusalCase kRefusals[] = {
    {"refused by another program's CBT hook", Refusal::CbtHook, nullptr},
    {"a system control refused by another program's CBT hook", Refusal::CbtHook, "BUTTON"},
    {"WM_NCCREATE answered FALSE", Refusal::NcCreate, nullptr},
    {"WM_CREATE answered -1", Refusal::Create, nullptr},
    {"a system control answering -1 to WM_CREATE", Refusal::Create, "BUTTON"},
    {"never made: PreCreateWindow refused", Refusal::PreCreate, nullptr},
};

BOOL CreateRefusablePopup(CWnd& wnd, LPCSTR className)
{
    return wnd.CreateEx(0, className, "refusable", WS_POPUP, 0, 0, 120, 80, nullptr, nullptr);
}

} // namespace

TEST(RefusedWindow, ObjectItsCallerOwnsIsLeftAsNeverCreated)
{
    for (const RefusalCase& c : kRefusals) {
        SCOPED_TRACE(c.why);
        RefusedObjectLifetime lifetime;
        RefusingWnd wnd(c.refusal, false, lifetime);
        HWND refusedHandle = nullptr;
        {
            WindowCreationWatch watch(c.refusal == Refusal::CbtHook);
            ASSERT_TRUE(watch.IsHooked());
            EXPECT_FALSE(CreateRefusablePopup(wnd, c.className));
            refusedHandle = watch.LastHandle();
        }
        EXPECT_EQ(nullptr, wnd.m_hWnd) << "no dead handle for callers to take for a window";
        EXPECT_EQ(nullptr, wnd.GetSafeHwnd());
        EXPECT_EQ(nullptr, wnd.m_pfnSuper) << "the subclassing is undone";
        if (c.refusal != Refusal::PreCreate) {
            ASSERT_NE(nullptr, refusedHandle);
            EXPECT_FALSE(IsWindow(refusedHandle));
            EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(refusedHandle))
                << "a later window given the same handle is not routed to this object";
        }
        EXPECT_EQ(1, lifetime.cleanUps) << "the clean-up runs once, whatever the system sent";
        EXPECT_EQ(0, lifetime.destructions) << "the caller still owns the object";

        wnd.m_refusal = Refusal::None;
        const BOOL recreated = CreateRefusablePopup(wnd, c.className);
        EXPECT_TRUE(recreated) << "the object takes a window once it is allowed one";
        if (recreated) {
            EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
            EXPECT_TRUE(wnd.DestroyWindow());
            EXPECT_EQ(2, lifetime.cleanUps);
        }
    }
}

TEST(RefusedWindow, SelfDeletingObjectIsDeletedOnceAndItsHandleForgotten)
{
    for (const RefusalCase& c : kRefusals) {
        SCOPED_TRACE(c.why);
        RefusedObjectLifetime lifetime;
        auto* wnd = new RefusingWnd(c.refusal, true, lifetime);
        HWND refusedHandle = nullptr;
        {
            WindowCreationWatch watch(c.refusal == Refusal::CbtHook);
            ASSERT_TRUE(watch.IsHooked());
            EXPECT_FALSE(CreateRefusablePopup(*wnd, c.className));
            refusedHandle = watch.LastHandle();
        }
        EXPECT_EQ(1, lifetime.cleanUps);
        EXPECT_EQ(1, lifetime.destructions) << "gone with its refused window, and only once";
        if (refusedHandle) {
            EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(refusedHandle));
        }
    }
}

TEST(RefusedWindow, ModelessDialogRefusedByAHookKeepsNoHandle)
{
    const test_support::DialogTemplateBuilder tmpl(WS_POPUP | WS_CAPTION, 0, 0, 100, 50, "refusable");
    CDialog dialog;
    HWND refusedHandle = nullptr;
    {
        WindowCreationWatch watch(true);
        ASSERT_TRUE(watch.IsHooked());
        EXPECT_FALSE(dialog.CreateIndirect(tmpl.get(), nullptr));
        refusedHandle = watch.LastHandle();
    }
    ASSERT_NE(nullptr, refusedHandle);
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(nullptr, dialog.m_pfnSuper);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(refusedHandle));

    ASSERT_TRUE(dialog.CreateIndirect(tmpl.get(), nullptr)) << "the dialog takes a window once it is allowed one";
    EXPECT_EQ(&dialog, CWnd::FromHandlePermanent(dialog.m_hWnd));
    EXPECT_TRUE(dialog.DestroyWindow());
}
