// iDialog: in-memory dialogs placed in pixels or left in dialog units, the first field's
// focus, modal runs ended from a timer or a posted message, the owner disabled while the
// dialog lives and given back after (also after an exception, and when the dialog is never
// run), idle messages, controls deleted with the dialog, and resource dialogs.
#include "lib/src/Win2/Wnd/iButton.h"
#include "lib/src/Win2/Wnd/iDialog.h"
#include "lib/src/Win2/Wnd/iEdit.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr UINT kResourceDialogId = 5301;  // dialog_test.rc: 120 by 60 dialog units
constexpr UINT kDialogEditId = 100;
constexpr UINT kDialogTimerId = 1;
constexpr UINT kThrowMessage = WM_APP + 7;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

// The application's main window stand-in: counts the idle messages a modal loop sends it.
class IdleCountingOwner : public iWnd {
public:
    IdleCountingOwner()
        : iWnd(nullptr, CRect(0, 0, 800, 600), WS_POPUP | WS_CAPTION | WS_VISIBLE, "owner", 0, 0, nullptr)
    {
        ::SetForegroundWindow(m_hWnd);
        ::SetActiveWindow(m_hWnd);
    }
    int idleMessages = 0;

protected:
    LRESULT OnEnterIdle(WPARAM, LPARAM)
    {
        ++idleMessages;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(IdleCountingOwner, iWnd)
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
END_MESSAGE_MAP()

// A control that counts its deletions.
class CountedButton : public iPushButton {
public:
    using iPushButton::iPushButton;
    ~CountedButton() override { ++deleted; }
    static inline int deleted = 0;
};

// What the dialog saw at its first timer tick, while its loop ran.
struct RunState {
    bool visible = false;
    bool ownerEnabled = true;
    HWND focus = nullptr;
    int selStart = -1;
    int selEnd = -1;
};

// An in-memory modal dialog built in code as the application builds its dialogs: controls
// created with new on the existing window, then OnInitDialog once they exist. The first
// timer tick records the run and ends it.
class CodeDialog : public iDialog {
public:
    enum class First { Edit, Button, Nothing };

    CodeDialog(CWnd* owner, const RECT& rect, DWORD style, bool pixels, First first = First::Edit,
               LPCSTR caption = "Code dialog")
        : iDialog(owner, rect, style, caption, 0, FALSE)
    {
        if (pixels)
            SetDialogUnits(0);
        if (first == First::Edit) {
            edit = new iEdit(this, CRect(10, 10, 200, 34), WS_VISIBLE | WS_TABSTOP, "", kDialogEditId);
            edit->SetWindowText("typed text");
        }
        if (first != First::Nothing)
            button = new CountedButton(this, CRect(10, 50, 100, 74), WS_VISIBLE | WS_TABSTOP, "OK", IDOK);
        OnInitDialog();
    }

    const iDialogTemplate& Template() const { return m_template; }
    // Ends the run at the first tick of a timer started now.
    void EndFromTimer(int result)
    {
        endWith = result;
        SetTimer(kDialogTimerId, 20, nullptr);
    }

    iEdit* edit = nullptr;
    CountedButton* button = nullptr;
    RunState run;
    int endWith = IDOK;
    bool throwInLoop = false;

protected:
    void OnTimer(UINT_PTR id)
    {
        KillTimer(id);
        run.visible = IsWindowVisible() != FALSE;
        run.ownerEnabled = ::IsWindowEnabled(m_owner) != FALSE;
        run.focus = ::GetFocus();
        if (edit)
            edit->GetSel(run.selStart, run.selEnd);
        EndDialog(endWith);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == kThrowMessage)
            AfxThrowUserException();
        return iDialog::PreTranslateMessage(pMsg);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CodeDialog, iDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

CRect WindowRectOf(CWnd& window)
{
    CRect rect;
    window.GetWindowRect(&rect);
    return rect;
}

CRect MappedSize(CWnd& dialog, const CRect& rect)
{
    CRect mapped(0, 0, rect.Width(), rect.Height());
    ::MapDialogRect(dialog.m_hWnd, &mapped);
    return mapped;
}

TEST(DialogPlacement, PixelRectangleAtOriginIsSizedAndCentred)
{
    IdleCountingOwner owner;
    CodeDialog dialog(&owner, CRect(0, 0, 400, 240), kStyle, true);
    ASSERT_NE(nullptr, dialog.m_hWnd);
    const CRect placed = WindowRectOf(dialog);
    EXPECT_EQ(400, placed.Width());
    EXPECT_EQ(240, placed.Height());
    const CRect area = WindowRectOf(owner);
    EXPECT_NEAR(area.CenterPoint().x, placed.CenterPoint().x, 1);
    EXPECT_NEAR(area.CenterPoint().y, placed.CenterPoint().y, 1);
}

TEST(DialogPlacement, PixelRectangleElsewhereIsPlacedNotCentred)
{
    IdleCountingOwner owner;
    CodeDialog dialog(&owner, CRect(10, 20, 410, 260), kStyle, true);
    EXPECT_EQ(CRect(10, 20, 410, 260), WindowRectOf(dialog));
}

TEST(DialogPlacement, MaximizedStyleLeavesPlacementAlone)
{
    IdleCountingOwner owner;
    const CRect rect(0, 0, 100, 50);
    CodeDialog dialog(&owner, rect, kStyle | WS_MAXIMIZE, true);
    // The template carries no WS_MAXIMIZE, and the pixel rectangle was not applied.
    const DWORD templateStyle = *reinterpret_cast<const DWORD*>(dialog.Template().GetTemplate());
    EXPECT_EQ(0u, templateStyle & WS_MAXIMIZE);
    EXPECT_FALSE(dialog.IsZoomed());
    CRect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(MappedSize(dialog, rect).Size(), client.Size());
}

TEST(DialogPlacement, DialogUnitModePlacesNothingAndMapsItsControls)
{
    IdleCountingOwner owner;
    const CRect rect(0, 0, 200, 100);
    CodeDialog dialog(&owner, rect, kStyle, false);
    CRect client;
    dialog.GetClientRect(&client);
    EXPECT_EQ(MappedSize(dialog, rect).Size(), client.Size());
    // The edit's rectangle 10,10,200,34 was in dialog units too.
    CRect expected(10, 10, 200, 34);
    ::MapDialogRect(dialog.m_hWnd, &expected);
    CRect where;
    dialog.edit->GetWindowRect(&where);
    dialog.ScreenToClient(&where);
    EXPECT_EQ(expected, where);
}

TEST(DialogPlacement, PixelModeControlsAreNotMapped)
{
    IdleCountingOwner owner;
    CodeDialog dialog(&owner, CRect(0, 0, 400, 240), kStyle, true);
    CRect where;
    dialog.edit->GetWindowRect(&where);
    dialog.ScreenToClient(&where);
    EXPECT_EQ(CRect(10, 10, 200, 34), where);
}

TEST(DialogModal, RunEndedFromATimer)
{
    IdleCountingOwner owner;
    auto dialog = std::make_unique<CodeDialog>(&owner, CRect(0, 0, 400, 240), kStyle, true);
    EXPECT_FALSE(dialog->IsWindowVisible());
    EXPECT_FALSE(owner.IsWindowEnabled());
    dialog->EndFromTimer(IDOK);
    EXPECT_EQ(IDOK, dialog->DoModal());
    EXPECT_TRUE(dialog->run.visible);
    EXPECT_FALSE(dialog->run.ownerEnabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(owner.m_hWnd, ::GetActiveWindow());
    EXPECT_EQ(nullptr, dialog->m_hWnd);
}

TEST(DialogModal, ResultIsWhatEndDialogWasGiven)
{
    IdleCountingOwner owner;
    CodeDialog dialog(&owner, CRect(0, 0, 400, 240), kStyle, true);
    dialog.EndFromTimer(42);
    EXPECT_EQ(42, dialog.DoModal());
}

TEST(DialogModal, PostedCancelEndsWithCancel)
{
    IdleCountingOwner owner;
    CodeDialog dialog(&owner, CRect(0, 0, 400, 240), kStyle, true);
    dialog.PostMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(DialogModal, FirstEditHasTheFocusWithAllItsTextSelected)
{
    IdleCountingOwner owner;
    CodeDialog dialog(&owner, CRect(0, 0, 400, 240), kStyle, true);
    HWND edit = dialog.edit->m_hWnd;
    dialog.EndFromTimer(IDOK);
    dialog.DoModal();
    EXPECT_EQ(edit, dialog.run.focus);
    EXPECT_EQ(0, dialog.run.selStart);
    EXPECT_EQ(10, dialog.run.selEnd);
}

TEST(DialogModal, FirstButtonOnlyGetsTheFocus)
{
    IdleCountingOwner owner;
    CodeDialog dialog(&owner, CRect(0, 0, 400, 240), kStyle, true, CodeDialog::First::Button);
    HWND button = dialog.button->m_hWnd;
    dialog.EndFromTimer(IDOK);
    dialog.DoModal();
    EXPECT_EQ(button, dialog.run.focus);
}

// An exception out of the loop's pre-translation ends the run with -1, and the owner is
// enabled and active again all the same.
TEST(DialogModal, ExceptionInTheLoopStillGivesTheOwnerBack)
{
    IdleCountingOwner owner;
    CodeDialog dialog(&owner, CRect(0, 0, 400, 240), kStyle, true);
    dialog.PostMessage(kThrowMessage);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
}

TEST(DialogModal, IdleMessagesUnlessTheStyleRefusesThem)
{
    struct Case { const char* why; DWORD style; bool expectIdle; };
    const Case kCases[] = {
        {"plain", kStyle, true},
        {"DS_NOIDLEMSG", kStyle | DS_NOIDLEMSG, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        IdleCountingOwner owner;
        CodeDialog dialog(&owner, CRect(0, 0, 400, 240), c.style, true);
        dialog.EndFromTimer(IDOK);
        dialog.DoModal();
        EXPECT_EQ(c.expectIdle, owner.idleMessages > 0);
    }
}

// Built modal and then dropped without a run: the owner must not stay disabled.
TEST(DialogLifetime, NeverRunDialogGivesItsOwnerBack)
{
    IdleCountingOwner owner;
    HWND window = nullptr;
    {
        CodeDialog dialog(&owner, CRect(0, 0, 400, 240), kStyle, true);
        window = dialog.m_hWnd;
        EXPECT_FALSE(owner.IsWindowEnabled());
    }
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_FALSE(::IsWindow(window));
}

TEST(DialogLifetime, ControlsOutliveTheWindowAndGoWithTheObject)
{
    IdleCountingOwner owner;
    CountedButton::deleted = 0;
    auto dialog = std::make_unique<CodeDialog>(&owner, CRect(0, 0, 400, 240), kStyle, true);
    new CountedButton(dialog.get(), CRect(110, 50, 200, 74), WS_VISIBLE, "More", 101);
    EXPECT_EQ(3u, dialog->GetWindowSet().size());
    dialog->PostMessage(WM_COMMAND, IDCANCEL, 0);
    dialog->DoModal();
    EXPECT_EQ(0, CountedButton::deleted);
    EXPECT_EQ(3u, dialog->GetWindowSet().size());
    dialog.reset();
    EXPECT_EQ(2, CountedButton::deleted);
}

TEST(DialogText, CaptionAndNullCaption)
{
    IdleCountingOwner owner;
    CodeDialog named(&owner, CRect(0, 0, 100, 50), kStyle, true, CodeDialog::First::Nothing, "Send to a Friend");
    EXPECT_STREQ("Send to a Friend", named.GetText());
    CodeDialog unnamed(&owner, CRect(0, 0, 100, 50), kStyle, true, CodeDialog::First::Nothing, nullptr);
    EXPECT_STREQ("", unnamed.GetText());
}

TEST(DialogModeless, OrdinaryWindowOwnerUntouched)
{
    IdleCountingOwner owner;
    auto dialog = std::make_unique<iDialog>(&owner, CRect(0, 0, 100, 50), kStyle | WS_VISIBLE, "Modeless", 0, TRUE);
    ASSERT_NE(nullptr, dialog->m_hWnd);
    EXPECT_TRUE(dialog->IsWindowVisible());
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(owner.m_hWnd, ::GetParent(dialog->m_hWnd));
    auto* button = new iPushButton(dialog.get(), CRect(5, 5, 50, 20), WS_VISIBLE, "Go", 7);
    EXPECT_EQ(1u, dialog->GetWindowSet().count(button));
    const HWND window = dialog->m_hWnd;
    dialog.reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_TRUE(owner.IsWindowEnabled());
}

// A resource dialog records no rectangle of its own.
class ResourceDialog : public iDialog {
public:
    ResourceDialog(CWnd* owner, bool pixels) : iDialog(kResourceDialogId, owner)
    {
        if (pixels)
            SetDialogUnits(0);
    }
    BOOL OnInitDialog() override
    {
        const BOOL result = iDialog::OnInitDialog();
        GetClientRect(&client);
        templateSize = MappedSize(*this, CRect(0, 0, 120, 60));
        PostMessage(WM_COMMAND, IDCANCEL, 0);
        return result;
    }
    CRect client;
    CRect templateSize;
};

// Switched to pixels by hand, a resource dialog keeps its template's size instead of
// shrinking to nothing.
TEST(DialogResource, RunsAndKeepsItsTemplateSizeInEitherMode)
{
    for (bool pixels : {false, true}) {
        SCOPED_TRACE(pixels ? "pixels" : "dialog units");
        IdleCountingOwner owner;
        ResourceDialog dialog(&owner, pixels);
        EXPECT_EQ(IDCANCEL, dialog.DoModal());
        EXPECT_GT(dialog.client.Width(), 0);
        EXPECT_EQ(dialog.templateSize.Size(), dialog.client.Size());
        EXPECT_TRUE(owner.IsWindowEnabled());
    }
}

} // namespace
