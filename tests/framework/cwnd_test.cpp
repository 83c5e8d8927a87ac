// Window objects on real windows: handle maps, subclassing from WM_NCCREATE on, the
// super procedure, lifetimes, exceptions at the window procedure, style and family.
#include "framework/Framework.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using test_support::CreateForeignWindow;
using test_support::MessageBoxRecorder;

namespace {

const UINT kRegisteredMessage = RegisterWindowMessageA("SorvantaTestRegistered");

class RecordingWnd : public CWnd {
    DECLARE_DYNAMIC(RecordingWnd)
public:
    std::vector<UINT> seen;
    int preSubclassCalls = 0;
    bool* destroyedFlag = nullptr;
    bool deleteAfterDestroy = false;
    bool throwOnCreate = false;
    bool throwOnUser = false;
    UINT currentMessageInHandler = 0;
    WPARAM registeredWParam = 0;

    ~RecordingWnd() override
    {
        if (destroyedFlag)
            *destroyedFlag = true;
    }
    void PreSubclassWindow() override { ++preSubclassCalls; }
    void PostNcDestroy() override
    {
        if (deleteAfterDestroy)
            delete this;
    }

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT cs)
    {
        seen.push_back(WM_NCCREATE);
        return CWnd::OnNcCreate(cs);
    }
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        seen.push_back(WM_CREATE);
        if (throwOnCreate)
            AfxThrowResourceException();
        return CWnd::OnCreate(cs);
    }
    afx_msg void OnDestroy()
    {
        seen.push_back(WM_DESTROY);
        CWnd::OnDestroy();
    }
    afx_msg LRESULT OnUser(WPARAM wParam, LPARAM lParam)
    {
        currentMessageInHandler = GetCurrentMessage()->message;
        if (throwOnUser)
            AfxThrowMemoryException();
        return static_cast<LRESULT>(wParam + lParam);
    }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM)
    {
        registeredWParam = wParam;
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNAMIC(RecordingWnd, CWnd)

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
    ON_WM_NCCREATE()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_USER + 1, OnUser)
    ON_REGISTERED_MESSAGE(kRegisteredMessage, OnRegistered)
END_MESSAGE_MAP()

// Sends itself a message from inside a handler.
class NestingWnd : public CWnd {
public:
    UINT outerAfterNested = 0;
    afx_msg LRESULT OnOuter(WPARAM, LPARAM)
    {
        SendMessage(WM_USER + 2);
        outerAfterNested = GetCurrentMessage()->message;
        return 0;
    }
    afx_msg LRESULT OnInner(WPARAM, LPARAM) { return 0; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(NestingWnd, CWnd)
    ON_MESSAGE(WM_USER + 1, OnOuter)
    ON_MESSAGE(WM_USER + 2, OnInner)
END_MESSAGE_MAP()

BOOL CreatePopup(CWnd& wnd)
{
    return wnd.CreateEx(0, nullptr, "test", WS_OVERLAPPED, 0, 0, 120, 80, nullptr, nullptr);
}

} // namespace

TEST(WndHandleMap, CreatedObjectIsThePermanentObjectOfItsWindow)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    EXPECT_EQ(&wnd, CWnd::FromHandle(wnd.m_hWnd));
    EXPECT_TRUE(CWnd::FromHandle(wnd.m_hWnd)->IsKindOf(RUNTIME_CLASS(RecordingWnd)));
    EXPECT_EQ(wnd.m_hWnd, wnd.GetSafeHwnd());
    // Framework code asks a window pointer that may be null for its handle.
    const CWnd* none = nullptr;
    EXPECT_EQ(nullptr, none->GetSafeHwnd());
}

TEST(WndHandleMap, ForeignWindowGetsAPlainTemporaryObjectUntilIdle)
{
    HWND foreign = CreateForeignWindow();
    ASSERT_NE(nullptr, foreign);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    CWnd* temporary = CWnd::FromHandle(foreign);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(foreign, temporary->m_hWnd);
    EXPECT_EQ(RUNTIME_CLASS(CWnd), temporary->GetRuntimeClass());
    EXPECT_FALSE(temporary->IsKindOf(RUNTIME_CLASS(RecordingWnd)));
    EXPECT_FALSE(temporary->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_EQ(nullptr, dynamic_cast<RecordingWnd*>(temporary));
    EXPECT_EQ(temporary, CWnd::FromHandle(foreign));
    AfxDeleteTempMaps();
    // Freeing the wrapper never touches the window.
    EXPECT_TRUE(IsWindow(foreign));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    DestroyWindow(foreign);
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
}

TEST(WndSubclassing, HandlersSeeCreationMessagesOfOwnClass)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    ASSERT_GE(wnd.seen.size(), 2u);
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), wnd.seen[0]);
    EXPECT_EQ(static_cast<UINT>(WM_CREATE), wnd.seen[1]);
    EXPECT_EQ(1, wnd.preSubclassCalls);
}

TEST(WndSubclassing, SystemControlSeesCreationAndKeepsItsOwnBehaviour)
{
    CWnd parent;
    ASSERT_TRUE(CreatePopup(parent));
    RecordingWnd button;
    ASSERT_TRUE(button.Create("BUTTON", "press", BS_AUTOCHECKBOX | WS_VISIBLE, CRect(0, 0, 60, 20), &parent, 7));
    std::vector<UINT> expected = {WM_NCCREATE, WM_CREATE};
    EXPECT_EQ(expected, button.seen);
    // Messages the map leaves alone reach the button's own procedure.
    button.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, button.SendMessage(BM_GETCHECK));
    EXPECT_EQ(&button, parent.GetDlgItem(7));
    EXPECT_EQ(7, button.GetDlgCtrlID());
}

TEST(WndSubclassing, SubclassAndUnsubclassAForeignWindow)
{
    HWND foreign = CreateForeignWindow();
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(foreign));
    EXPECT_EQ(1, wnd.preSubclassCalls);
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(foreign));
    EXPECT_EQ(7, SendMessageA(foreign, WM_USER + 1, 3, 4));
    EXPECT_FALSE(RecordingWnd().SubclassWindow(foreign)) << "a window has one permanent object";
    EXPECT_EQ(foreign, wnd.UnsubclassWindow());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(foreign));
    EXPECT_EQ(0, SendMessageA(foreign, WM_USER + 1, 3, 4));
    EXPECT_TRUE(IsWindow(foreign));
    DestroyWindow(foreign);
}

TEST(WndLifetime, DestructorDestroysAWindowThatStillExists)
{
    auto wnd = std::make_unique<RecordingWnd>();
    ASSERT_TRUE(CreatePopup(*wnd));
    HWND hWnd = wnd->m_hWnd;
    wnd.reset();
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST(WndLifetime, ObjectOutlivesItsDestroyedWindow)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(static_cast<UINT>(WM_DESTROY), wnd.seen.back());
    EXPECT_FALSE(wnd.DestroyWindow());
    // The same object can carry a new window.
    EXPECT_TRUE(CreatePopup(wnd));
}

TEST(WndLifetime, SelfDeletingObjectGoesWithItsWindow)
{
    bool destroyed = false;
    auto* wnd = new RecordingWnd;
    wnd->destroyedFlag = &destroyed;
    wnd->deleteAfterDestroy = true;
    ASSERT_TRUE(CreatePopup(*wnd));
    HWND hWnd = wnd->m_hWnd;
    DestroyWindow(hWnd);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

TEST(WndExceptions, ThrowingCreateHandlerFailsCreationCleanly)
{
    bool destroyed = false;
    auto* wnd = new RecordingWnd;
    wnd->destroyedFlag = &destroyed;
    wnd->deleteAfterDestroy = true;
    wnd->throwOnCreate = true;
    EXPECT_FALSE(CreatePopup(*wnd));
    // WM_CREATE answered -1: the window went and the object cleaned itself up.
    EXPECT_TRUE(destroyed);
}

TEST(WndExceptions, ThrowingHandlerIsStoppedAtTheWindowProcedure)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    wnd.throwOnUser = true;
    EXPECT_EQ(0, wnd.SendMessage(WM_USER + 1, 3, 4));
    wnd.throwOnUser = false;
    EXPECT_EQ(7, wnd.SendMessage(WM_USER + 1, 3, 4));
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), wnd.currentMessageInHandler);
}

TEST(WndDispatch, RegisteredMessageReachesItsEntry)
{
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    EXPECT_EQ(1, wnd.SendMessage(kRegisteredMessage, 42));
    EXPECT_EQ(42u, wnd.registeredWParam);
}

TEST(WndDispatch, CurrentMessageIsRestoredAfterNestedSends)
{
    NestingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd));
    wnd.SendMessage(WM_USER + 1);
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), wnd.outerAfterNested);
}
