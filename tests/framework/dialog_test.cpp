// Dialogs: modal runs from in-memory templates ended by timers and posted messages, the
// owner disabled during and given back after, pre-translation inside the modal loop,
// modeless dialogs, the creation-time attachment, and a modal run prepared but never run.
#include "framework/Framework.h"

#include "dialog_template_builder.h"
#include "dialog_test_support.h"
#include "window_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using test_support::DialogTemplateBuilder;
using test_support::ScriptedDialog;

constexpr WORD kStandardEditId = 101;
constexpr WORD kStandardCheckId = 102;
constexpr WORD kStandardRadio1Id = 103;
constexpr WORD kStandardRadio2Id = 104;

// A popup dialog with an edit, a check box, two radio buttons and OK / Cancel.
DialogTemplateBuilder StandardTemplate(DWORD visible = 0)
{
    DialogTemplateBuilder t(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | visible, 0, 0, 200, 100, "Test");
    t.Add(test_support::kEditAtom, kStandardEditId, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 100, 14)
        .Add(test_support::kButtonAtom, kStandardCheckId, WS_TABSTOP | BS_AUTOCHECKBOX, 10, 30, 80, 10, "Check")
        .Add(test_support::kButtonAtom, kStandardRadio1Id, WS_GROUP | WS_TABSTOP | BS_AUTORADIOBUTTON, 10, 45, 80,
             10, "One")
        .Add(test_support::kButtonAtom, kStandardRadio2Id, BS_AUTORADIOBUTTON, 10, 57, 80, 10, "Two")
        .Add(test_support::kButtonAtom, IDOK, WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON, 140, 10, 50, 14, "OK")
        .Add(test_support::kButtonAtom, IDCANCEL, WS_TABSTOP | BS_PUSHBUTTON, 140, 30, 50, 14, "Cancel");
    return t;
}

class DialogTest : public test_support::OwnerWindowTest {
protected:
    void SetUp() override
    {
        OwnerWindowTest::SetUp();
        ::SetActiveWindow(owner.m_hWnd);
    }
    void TearDown() override
    {
        OwnerWindowTest::TearDown();
        test_support::PumpPending();
    }

    DialogTemplateBuilder tmpl = StandardTemplate();
};

TEST_F(DialogTest, EndsFromTimerWithOwnerDisabledDuringAndActiveAfter)
{
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
    BOOL ownerEnabledDuring = TRUE;
    bool visibleDuring = false;
    // The template has no WS_VISIBLE: the loop shows the dialog once it is idle. A dialog
    // slow to be made finds its first tick already due, and the queue goes idle only after
    // it; one never shown is ended by the safety timer.
    dialog.steps.push_back(ScriptedDialog::WaitUntil([&](ScriptedDialog& d) {
        visibleDuring = d.IsWindowVisible() != FALSE;
        return visibleDuring;
    }));
    dialog.steps.push_back([&](ScriptedDialog& d) {
        ownerEnabledDuring = owner.IsWindowEnabled();
        d.EndDialog(IDOK);
    });

    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(visibleDuring);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(owner.m_hWnd, ::GetActiveWindow());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(0u, dialog.m_nFlags & (WF_CONTINUEMODAL | WF_MODALLOOP));
}

TEST_F(DialogTest, ObjectIsAttachedWhenInitDialogArrives)
{
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
    HWND editSeen = nullptr;
    dialog.steps.push_back([&](ScriptedDialog& d) {
        editSeen = ::GetDlgItem(d.m_hWnd, kStandardEditId);
        d.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, dialog.initCount);
    EXPECT_TRUE(dialog.attachedAtInit);
    EXPECT_NE(nullptr, editSeen);
}

// The ways a person closes a dialog, each arriving as a posted message.
TEST_F(DialogTest, CancelPathsEndWithIdCancel)
{
    struct Case {
        const char* why;
        UINT message;
        WPARAM wParam;
        bool toEdit;  // posted to the edit (keys) rather than to the dialog
    };
    const Case kCases[] = {
        {"posted IDCANCEL command", WM_COMMAND, IDCANCEL, false},
        {"close box", WM_CLOSE, 0, false},
        {"Escape in the edit, through IsDialogMessage", WM_KEYDOWN, VK_ESCAPE, true},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        ScriptedDialog dialog;
        ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
        dialog.steps.push_back([&](ScriptedDialog& d) {
            HWND target = c.toEdit ? ::GetDlgItem(d.m_hWnd, kStandardEditId) : d.m_hWnd;
            ::PostMessageA(target, c.message, c.wParam, 0);
        });
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_TRUE(owner.IsWindowEnabled());
    }
}

TEST_F(DialogTest, EnterPressesTheDefaultButtonAndSavesTheData)
{
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
    CString name = "before";
    dialog.exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, kStandardEditId, name); };
    dialog.steps.push_back([&](ScriptedDialog& d) {
        ::SetWindowTextA(::GetDlgItem(d.m_hWnd, kStandardEditId), "after");
        ::PostMessageA(::GetDlgItem(d.m_hWnd, kStandardEditId), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_STREQ("after", name);
}

// An edit that takes Escape for itself, as a key-capture field does.
class KeyCaptureEdit : public CWnd {
public:
    int escapes = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
            ++escapes;
            return TRUE;
        }
        return FALSE;
    }
};

TEST_F(DialogTest, ControlObjectsSeeKeysBeforeTheDialog)
{
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
    KeyCaptureEdit edit;
    dialog.exchange = [&](CDataExchange* pDX) { DDX_Control(pDX, kStandardEditId, edit); };
    dialog.steps.push_back(
        [&](ScriptedDialog& d) { ::PostMessageA(edit.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0); });
    dialog.steps.push_back([&](ScriptedDialog& d) { d.EndDialog(IDRETRY); });
    EXPECT_EQ(IDRETRY, dialog.DoModal());
    EXPECT_EQ(1, edit.escapes);
}

class ThrowingDialog : public ScriptedDialog {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            AfxThrowNotSupportedException();
        return ScriptedDialog::PreTranslateMessage(pMsg);
    }
};

TEST_F(DialogTest, ExceptionInTheLoopEndsWithMinusOneAndGivesTheOwnerBack)
{
    ThrowingDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
    dialog.steps.push_back(
        [&](ScriptedDialog& d) { ::PostMessageA(::GetDlgItem(d.m_hWnd, kStandardEditId), WM_KEYDOWN, 'A', 0); });
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

class EndsInInitDialog : public CDialog {
public:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        EndDialog(IDABORT);
        return TRUE;
    }
};

TEST_F(DialogTest, EndDialogDuringInitialisationSkipsTheLoop)
{
    EndsInInitDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
    EXPECT_EQ(IDABORT, dialog.DoModal());
    EXPECT_TRUE(owner.IsWindowEnabled());
}

class ThrowsInInitDialog : public CDialog {
public:
    BOOL OnInitDialog() override { AfxThrowNotSupportedException(); }
};

// Ends a dialog still open after the watchdog's time with a result of its own, so that a
// dialog whose run went on fails its test at once instead of waiting for ever.
constexpr int kStillOpenAtTheWatchdog = 4243;
CDialog* g_watchedDialog = nullptr;

void CALLBACK EndTheWatchedDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_watchedDialog && g_watchedDialog->m_hWnd)
        g_watchedDialog->EndDialog(kStillOpenAtTheWatchdog);
}

TEST_F(DialogTest, ExceptionDuringInitialisationEndsWithMinusOne)
{
    ThrowsInInitDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
    g_watchedDialog = &dialog;
    const UINT_PTR watchdog = ::SetTimer(nullptr, 0, 3000, EndTheWatchedDialog);
    ASSERT_NE(0u, watchdog);
    const int result = dialog.DoModal();
    ::KillTimer(nullptr, watchdog);
    g_watchedDialog = nullptr;
    EXPECT_EQ(-1, result);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST_F(DialogTest, MissingTemplatesAndDialogInitDataAreRefused)
{
    CDialog missingResource(54321, &owner);
    EXPECT_EQ(-1, missingResource.DoModal());
    EXPECT_TRUE(owner.IsWindowEnabled());

    CDialog none;
    EXPECT_EQ(-1, none.DoModal());

    CDialog withInitData;
    char initData[4] = {};
    EXPECT_FALSE(withInitData.InitModalIndirect(tmpl.get(), &owner, initData));
    EXPECT_FALSE(withInitData.InitModalIndirect(nullptr, &owner));
}

// The library's dialogs create their modal window in the constructor (PreModal, owner
// disabled, creation) and run the loop later; this one is destroyed without running.
class PreparedDialog : public CDialog {
public:
    PreparedDialog(LPCDLGTEMPLATE dialogTemplate, CWnd* parent)
    {
        InitModalIndirect(dialogTemplate, parent);
        HWND owner = PreModal();
        AfxUnhookWindowCreate();
        if (owner && ::IsWindowEnabled(owner))
            ::EnableWindow(owner, FALSE);
        AfxHookWindowCreate(this);
        created = CreateDlgIndirect(dialogTemplate, FromHandle(owner), nullptr);
    }
    BOOL created = FALSE;
    // The flag the library tests before running the loop on the existing window.
    bool ContinuesModal() const { return (m_nFlags & WF_CONTINUEMODAL) != 0; }
    int RunLoop() { return RunModalLoop(MLF_SHOWONIDLE); }
};

TEST_F(DialogTest, PreparedButNeverRunDialogGivesItsOwnerBack)
{
    HWND dialogWindow = nullptr;
    {
        PreparedDialog dialog(tmpl.get(), &owner);
        ASSERT_TRUE(dialog.created);
        dialogWindow = dialog.m_hWnd;
        EXPECT_TRUE(dialog.ContinuesModal());
        EXPECT_FALSE(owner.IsWindowEnabled());
    }
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_FALSE(::IsWindow(dialogWindow));
}

TEST_F(DialogTest, PreparedDialogRunsItsLoopOnTheExistingWindow)
{
    PreparedDialog dialog(tmpl.get(), &owner);
    ASSERT_TRUE(dialog.created);
    ::PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(IDCANCEL, dialog.RunLoop());
    EXPECT_FALSE(dialog.ContinuesModal());
}

// Destroys the dialog's window from inside its modal loop, as an owner closing it would.
// A loop that went on without its window is ended on the next tick with a result of its
// own, so the test fails at once instead of waiting for ever.
constexpr int kLoopOutlivedItsWindow = 4242;
PreparedDialog* g_dialogUnderItsLoop = nullptr;
HWND g_windowUnderItsLoop = nullptr;

void CALLBACK DestroyTheWindowUnderItsLoop(HWND, UINT, UINT_PTR, DWORD)
{
    if (::IsWindow(g_windowUnderItsLoop))
        ::DestroyWindow(g_windowUnderItsLoop);
    else
        g_dialogUnderItsLoop->EndModalLoop(kLoopOutlivedItsWindow);
}

TEST_F(DialogTest, ModalLoopEndsWhenItsWindowIsDestroyedUnderIt)
{
    PreparedDialog dialog(tmpl.get(), &owner);
    ASSERT_TRUE(dialog.created);
    g_dialogUnderItsLoop = &dialog;
    g_windowUnderItsLoop = dialog.m_hWnd;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, DestroyTheWindowUnderItsLoop);
    ASSERT_NE(0u, timer);
    const int result = dialog.RunLoop();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(-1, result);
    EXPECT_FALSE(::IsWindow(g_windowUnderItsLoop));
    g_dialogUnderItsLoop = nullptr;
}

// A quit taken by a modal loop belongs to the loop around it: the loop ends, and the quit
// is in the queue again with its code for the outer loop to see.
TEST_F(DialogTest, ModalLoopEndsAtAQuitAndLeavesItForTheOuterLoop)
{
    PreparedDialog dialog(tmpl.get(), &owner);
    ASSERT_TRUE(dialog.created);
    ::PostQuitMessage(9);
    EXPECT_EQ(-1, dialog.RunLoop());
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(9u, msg.wParam);
}

TEST_F(DialogTest, ModelessDialogIsHiddenByEndDialogAndKeepsItsWindow)
{
    DialogTemplateBuilder visible = StandardTemplate(WS_VISIBLE);
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(visible.get(), &owner));
    EXPECT_EQ(1, dialog.initCount);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(owner.m_hWnd, ::GetWindow(dialog.m_hWnd, GW_OWNER));

    dialog.EndDialog(IDOK);
    test_support::PumpPending();
    EXPECT_FALSE(dialog.IsWindowVisible());
    EXPECT_TRUE(::IsWindow(dialog.m_hWnd));
    EXPECT_TRUE(dialog.DestroyWindow());
}

TEST_F(DialogTest, DialogItemsByControlId)
{
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(tmpl.get(), &owner));

    dialog.SetDlgItemText(kStandardEditId, "hello");
    CString text;
    EXPECT_EQ(5, dialog.GetDlgItemText(kStandardEditId, text));
    EXPECT_STREQ("hello", text);
    char shortBuffer[3];
    EXPECT_EQ(2, dialog.GetDlgItemText(kStandardEditId, shortBuffer, sizeof shortBuffer));
    EXPECT_STREQ("he", shortBuffer);
    EXPECT_EQ(0, dialog.GetDlgItemText(4242, text));
    EXPECT_TRUE(text.IsEmpty());

    dialog.SetDlgItemInt(kStandardEditId, static_cast<UINT>(-12), TRUE);
    BOOL translated = FALSE;
    EXPECT_EQ(-12, static_cast<int>(dialog.GetDlgItemInt(kStandardEditId, &translated, TRUE)));
    EXPECT_TRUE(translated);

    dialog.CheckDlgButton(kStandardCheckId, BST_CHECKED);
    EXPECT_EQ(static_cast<UINT>(BST_CHECKED), dialog.IsDlgButtonChecked(kStandardCheckId));
    EXPECT_EQ(0, dialog.GetCheckedRadioButton(kStandardRadio1Id, kStandardRadio2Id));
    dialog.CheckRadioButton(kStandardRadio1Id, kStandardRadio2Id, kStandardRadio2Id);
    EXPECT_EQ(kStandardRadio2Id, dialog.GetCheckedRadioButton(kStandardRadio1Id, kStandardRadio2Id));
    EXPECT_EQ(BST_UNCHECKED, dialog.SendDlgItemMessage(kStandardRadio1Id, BM_GETCHECK));
    dialog.DestroyWindow();
}

TEST_F(DialogTest, MapDialogRectMatchesTheTemplateSize)
{
    // A bare popup: its client area is exactly the template's size in dialog units.
    DialogTemplateBuilder bare(WS_POPUP, 0, 0, 120, 60);
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(bare.get(), &owner));
    CRect mapped(0, 0, 120, 60);
    dialog.MapDialogRect(&mapped);
    CRect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(client.Width(), mapped.Width());
    EXPECT_EQ(client.Height(), mapped.Height());
    EXPECT_GT(mapped.Width(), 120);  // a dialog unit is more than a pixel at 8 points
    dialog.DestroyWindow();
}

TEST_F(DialogTest, CenterWindowCentresOverTheOwner)
{
    DialogTemplateBuilder bare(WS_POPUP | WS_VISIBLE, 0, 0, 60, 30);
    CDialog dialog;
    ASSERT_TRUE(dialog.CreateIndirect(bare.get(), &owner));
    owner.MoveWindow(100, 50, 400, 300);
    dialog.CenterWindow();
    CRect ownerRect, dialogRect;
    owner.GetWindowRect(&ownerRect);
    dialog.GetWindowRect(&dialogRect);
    EXPECT_NEAR(ownerRect.CenterPoint().x, dialogRect.CenterPoint().x, 1);
    EXPECT_NEAR(ownerRect.CenterPoint().y, dialogRect.CenterPoint().y, 1);
    dialog.DestroyWindow();
}

TEST_F(DialogTest, ModalLoopWithoutAWindowAnswersMinusOne)
{
    CWnd nothing;
    EXPECT_EQ(-1, nothing.RunModalLoop(0));
}

constexpr UINT kResourceDialogId = 7200;  // dialog_test.rc

// A scripted dialog made from a template resource.
class ResourceDialog : public ScriptedDialog {
public:
    ResourceDialog(LPCSTR templateName, CWnd* parent)
    {
        m_lpszTemplateName = templateName;
        m_pParentWnd = parent;
    }
};

TEST_F(DialogTest, ResourceTemplatesByIdAndByName)
{
    ResourceDialog modal(MAKEINTRESOURCEA(kResourceDialogId), &owner);
    CString text = "from the member";
    modal.exchange = [&](CDataExchange* pDX) { DDX_Text(pDX, kStandardEditId, text); };
    CString caption;
    modal.steps.push_back([&](ScriptedDialog& d) {
        d.GetWindowText(caption);
        d.SetDlgItemText(kStandardEditId, "typed");
        ::PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, modal.DoModal());
    EXPECT_STREQ("Resource dialog", caption);
    EXPECT_STREQ("typed", text);

    ScriptedDialog modeless;
    ASSERT_TRUE(modeless.Create("NAMEDDIALOG", &owner));
    CString namedCaption;
    modeless.GetWindowText(namedCaption);
    EXPECT_STREQ("Named dialog", namedCaption);
    EXPECT_NE(nullptr, modeless.GetDlgItem(kStandardEditId));
    modeless.DestroyWindow();

    ScriptedDialog missing;
    EXPECT_FALSE(missing.Create("NO_SUCH_DIALOG", &owner));
    EXPECT_FALSE(missing.Create(54321u, &owner));
}

// An owner that counts the modal loop's idle notices.
class IdleCountingOwner : public CWnd {
public:
    int idleNotices = 0;
    afx_msg LRESULT OnEnterIdle(WPARAM wParam, LPARAM)
    {
        if (wParam == MSGF_DIALOGBOX)
            ++idleNotices;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(IdleCountingOwner, CWnd)
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
END_MESSAGE_MAP()

TEST(DialogIdle, OwnerHearsOfIdleUnlessTheDialogAsksForNoIdleMessages)
{
    for (DWORD noIdle : {DWORD(0), DWORD(DS_NOIDLEMSG)}) {
        SCOPED_TRACE(noIdle ? "DS_NOIDLEMSG" : "plain");
        IdleCountingOwner owner;
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                   nullptr));
        DialogTemplateBuilder tmpl(WS_POPUP | WS_CAPTION | noIdle, 0, 0, 100, 50, "idle");
        ScriptedDialog dialog;
        ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get(), &owner));
        // The loop shows the dialog (no WS_VISIBLE) on its first idle, where it also tells the
        // owner: the script waits for that rather than for a quiet moment between two ticks,
        // which a loaded machine may not give.
        dialog.steps.push_back(
            ScriptedDialog::WaitUntil([](ScriptedDialog& d) { return d.IsWindowVisible() != FALSE; }));
        dialog.steps.push_back([](ScriptedDialog& d) { d.EndDialog(IDOK); });
        EXPECT_EQ(IDOK, dialog.DoModal());
        if (noIdle) {
            EXPECT_EQ(0, owner.idleNotices);
        } else {
            EXPECT_GE(owner.idleNotices, 1);
        }
        owner.DestroyWindow();
    }
}

// The application's other top-level windows are disabled while a modal dialog runs.
TEST_F(DialogTest, ModelessWindowsOfTheMainWindowAreDisabledDuringAModalRun)
{
    CWinApp app("DialogTest");
    app.m_pMainWnd = &owner;
    CWnd floating;
    ASSERT_TRUE(floating.CreateEx(WS_EX_TOOLWINDOW, nullptr, "floating", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                  owner.m_hWnd, nullptr));
    ScriptedDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(tmpl.get()));
    BOOL floatingEnabledDuring = TRUE;
    HWND dialogOwner = nullptr;
    dialog.steps.push_back([&](ScriptedDialog& d) {
        floatingEnabledDuring = floating.IsWindowEnabled();
        dialogOwner = ::GetWindow(d.m_hWnd, GW_OWNER);
        d.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_FALSE(floatingEnabledDuring);
    // No parent given: the main window owns the dialog.
    EXPECT_EQ(owner.m_hWnd, dialogOwner);
    EXPECT_TRUE(floating.IsWindowEnabled());
    floating.DestroyWindow();
    app.m_pMainWnd = nullptr;
}

} // namespace
