// The shortcut sheet over a manager of the test frame: the key-capture edit, assigning a
// used combination (asked first), removing a shortcut two commands share, the two pages
// keeping category and command in step, display names, Reset All then Cancel through the
// real sheet, the placement kept under "CQZAccelPropertySheet", and the sheet's resizing.
// The sheet runs modally; its steps are played from a timer inside its loop.
#include "toolkit/shortcuts/QZAccelSheet.h"

#include "accel_test_support.h"
#include "framework/dialog_test_support.h"
#include "framework/window_test_support.h"
#include "toolkit/res/ToolkitResources.h"
#include "toolkit/shortcuts/QZAccelManager.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

using toolkit_test::Accel;
using toolkit_test::kOpen;
using toolkit_test::kSave;
using toolkit_test::kCtrl;
using toolkit_test::AccelFrameTest;
using toolkit_test::CommandForKey;

namespace {

// A shortcut sheet that plays a script of steps once its loop runs.
class ScriptedAccelSheet : public CQZAccelPropertySheet, public test_support::TimerScript<ScriptedAccelSheet> {
public:
    ScriptedAccelSheet(CQZAccelManager* manager, CWnd* parent) : CQZAccelPropertySheet(manager, parent, FALSE) {}

    BOOL OnInitDialog() override
    {
        const BOOL result = CQZAccelPropertySheet::OnInitDialog();
        StartScript(*this);
        return result;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { PlayScript(*this, nIDEvent); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScriptedAccelSheet, CQZAccelPropertySheet)
    ON_WM_TIMER()
END_MESSAGE_MAP()

using SheetStep = std::function<void(ScriptedAccelSheet&)>;

// The steps the next sheet the manager opens will play.
std::vector<SheetStep> g_sheetSteps;

INT_PTR RunScriptedSheet(CQZAccelManager* manager, CWnd* parent)
{
    ScriptedAccelSheet sheet(manager, parent);
    for (const SheetStep& step : g_sheetSteps)
        sheet.steps.push_back(step);
    return sheet.DoModal();
}

class ScriptedSheetScope {
public:
    explicit ScriptedSheetScope(std::vector<SheetStep> steps)
    {
        g_sheetSteps = std::move(steps);
        m_previous = QZSetShortcutDialogFunction(&RunScriptedSheet);
    }
    ~ScriptedSheetScope()
    {
        QZSetShortcutDialogFunction(m_previous);
        g_sheetSteps.clear();
    }

private:
    QZShortcutDialogFunction m_previous;
};

// Chooses the entry of a page's box whose text is given, as a user does.
void ChooseCategory(CPropertyPage& page, CComboBox& box, LPCSTR text)
{
    box.SetCurSel(box.FindStringExact(-1, text));
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_ACCEL_CATEGORY, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box.m_hWnd));
}

void ChooseCommand(CQZAccelPropertyPage2& page, LPCSTR name)
{
    page.m_lbCommands.SetCurSel(page.m_lbCommands.FindStringExact(-1, name));
    page.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_QZ_ACCEL_COMMANDS, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(page.m_lbCommands.m_hWnd));
}

void Press(CWnd& page, UINT id)
{
    page.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(page.m_hWnd, id)));
}

// A key as the message pump hands it to the edit first.
void Key(CQZAccelKeyEdit& edit, UINT message, WPARAM key, bool altHeld = false)
{
    MSG msg = {edit.m_hWnd, message, key, static_cast<LPARAM>(1 | (altHeld ? 1 << 29 : 0))};
    EXPECT_TRUE(edit.PreTranslateMessage(&msg)) << "every key is captured";
}

std::string Text(CWnd& window)
{
    CString text;
    window.GetWindowText(text);
    return static_cast<LPCSTR>(text);
}

std::vector<std::string> BoxTexts(CListBox& box)
{
    std::vector<std::string> texts;
    for (int i = 0; i < box.GetCount(); ++i) {
        CString text;
        box.GetText(i, text);
        texts.push_back(static_cast<LPCSTR>(text));
    }
    return texts;
}

std::string SelectedRowText(CQZListCtrl& list)
{
    const int row = list.GetNextItem(-1, LVNI_SELECTED);
    return row < 0 ? std::string() : static_cast<LPCSTR>(list.GetItemText(row, 0));
}

} // namespace

TEST(AccelKeyEdit, CapturesCombinationsAsTheyAreTyped)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "keys", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CQZAccelKeyEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 150, 25), &owner, 1));
    struct Step {
        const char* why;
        UINT message;
        WPARAM key;
        bool altHeld;
        const char* text;
    };
    const Step kSteps[] = {
        {"Ctrl held", WM_KEYDOWN, VK_CONTROL, false, "Ctrl+"},
        {"then Shift", WM_KEYDOWN, VK_SHIFT, false, "Ctrl+Shift+"},
        {"then F5", WM_KEYDOWN, VK_F5, false, "Ctrl+Shift+F5"},
        {"F5 released", WM_KEYUP, VK_F5, false, "Ctrl+Shift+F5"},
        {"Shift released", WM_KEYUP, VK_SHIFT, false, "Ctrl+Shift+F5"},
        {"Ctrl released", WM_KEYUP, VK_CONTROL, false, "Ctrl+Shift+F5"},
        {"a new press of Alt starts a new one", WM_SYSKEYDOWN, VK_MENU, true, "Alt+"},
        {"X with Alt", WM_SYSKEYDOWN, 'X', true, "Alt+X"},
        {"Y with Alt still held", WM_SYSKEYDOWN, 'Y', true, "Alt+X"},
        {"Alt released", WM_KEYUP, VK_MENU, false, "Alt+X"},
        {"Y alone", WM_KEYDOWN, 'Y', false, "Y"},
        {"Tab is a key too", WM_KEYDOWN, VK_TAB, false, "TAB"},
        {"Enter", WM_KEYDOWN, VK_RETURN, false, "RETURN"},
        {"Escape", WM_KEYDOWN, VK_ESCAPE, false, "ESCAPE"},
        {"a key outside the table", WM_KEYDOWN, VK_OEM_1, false, ""},
    };
    for (const Step& s : kSteps) {
        SCOPED_TRACE(s.why);
        Key(edit, s.message, s.key, s.altHeld);
        EXPECT_EQ(s.text, Text(edit));
    }
    WORD key = 0;
    BOOL ctrl = TRUE, alt = TRUE, shift = TRUE;
    ASSERT_TRUE(edit.GetKey(key, ctrl, alt, shift));
    EXPECT_EQ(VK_OEM_1, key);
    EXPECT_FALSE(ctrl || alt || shift);

    edit.Reset();
    EXPECT_FALSE(edit.GetKey(key, ctrl, alt, shift));
    EXPECT_EQ("", Text(edit));
    Key(edit, WM_KEYDOWN, VK_CONTROL);
    EXPECT_FALSE(edit.GetKey(key, ctrl, alt, shift)) << "modifiers alone are no combination";
    MSG other = {edit.m_hWnd, WM_CHAR, 'a', 0};
    EXPECT_FALSE(edit.PreTranslateMessage(&other)) << "other messages pass";
    owner.DestroyWindow();
}

TEST(AccelDisplayName, StripsOnlyTheLeadingCategory)
{
    struct Case {
        const char* why;
        const char* name;
        const char* category;
        const char* shown;
    };
    const Case kCases[] = {
        {"no category keeps every backslash", "File\\Recent\\1 First.jpg", "", "File\\Recent\\1 First.jpg"},
        {"the category goes", "File\\Recent\\1 First.jpg", "File", "Recent\\1 First.jpg"},
        {"only at the start", "Edit\\Special\\Edit\\Paste", "Edit", "Special\\Edit\\Paste"},
        {"a longer name that begins alike", "Editor\\Paste", "Edit", "Editor\\Paste"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_STREQ(c.shown, QZAccelDisplayName(c.name, c.category));
    }
    EXPECT_STREQ("Opens the first file", QZAccelDescription(ID_TEST_RECENT_FIRST)) << "up to the line feed";
}

class AccelSheetTest : public AccelFrameTest {
protected:
    // The manager stores what it must when it goes: before the test's key is removed.
    void TearDown() override
    {
        managerObject.reset();
        AccelFrameTest::TearDown();
    }
    void Build()
    {
        manager.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "Shortcuts of the test", "Test");
    }
    // Runs the sheet with the steps; what the manager answered.
    BOOL Run(std::vector<SheetStep> steps)
    {
        ScriptedSheetScope scope(std::move(steps));
        return manager.RunShortcutDialog(frame);
    }

    std::unique_ptr<CQZAccelManager> managerObject = std::make_unique<CQZAccelManager>();
    CQZAccelManager& manager = *managerObject;
};

TEST_F(AccelSheetTest, AssigningAUsedCombinationAsksAndOnlyYesTakesIt)
{
    Build();
    test_support::MessageBoxRecorder no(IDNO);
    std::string question;
    const BOOL ok = Run({
        [](ScriptedAccelSheet& sheet) { sheet.SetActivePage(1); },
        [&](ScriptedAccelSheet& sheet) {
            CQZAccelPropertyPage2& page = sheet.m_page2;
            ChooseCategory(page, page.m_cbCategory, "File");
            ChooseCommand(page, "Save");
            EXPECT_EQ((std::vector<std::string>{"Ctrl+S"}), BoxTexts(page.m_lbAssignments));
            Key(page.m_edKey, WM_KEYDOWN, VK_CONTROL);
            Key(page.m_edKey, WM_KEYDOWN, 'O');
            Press(page, IDC_QZ_ACCEL_ASSIGN);
            question = test_support::MessageBoxRecorder::text();
            UINT owner = 0;
            // Found although the new record has FNOINVERT and the old one not.
            EXPECT_TRUE(manager.FindShortcut(kCtrl | FNOINVERT, 'O', owner));
            EXPECT_EQ(kOpen, owner) << "No keeps the shortcut where it was";
        },
        [&](ScriptedAccelSheet& sheet) {
            test_support::MessageBoxRecorder yes(IDYES);
            CQZAccelPropertyPage2& page = sheet.m_page2;
            Press(page, IDC_QZ_ACCEL_ASSIGN);
            UINT owner = 0;
            EXPECT_TRUE(manager.FindShortcut(kCtrl, 'O', owner));
            EXPECT_EQ(kSave, owner);
            EXPECT_EQ((std::vector<std::string>{"Ctrl+O", "Ctrl+S"}), BoxTexts(page.m_lbAssignments));
            EXPECT_EQ("Ctrl+O", Text(page.m_edKey)) << "the edit keeps its text";
            sheet.EndDialog(IDOK);
        },
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(1, test_support::MessageBoxRecorder::count());
    EXPECT_NE(std::string::npos, question.find("assigned to the command: File\\Open..."));
    EXPECT_NE(std::string::npos, question.find("re-assign"));
    EXPECT_EQ(kSave, CommandForKey(frame->m_hAccelTable, FCONTROL, 'O'));
    EXPECT_EQ(kOpen, CommandForKey(frame->m_hAccelTable, FCONTROL | FALT, 'O')) << "Open keeps its other shortcut";
}

TEST_F(AccelSheetTest, RemoveTakesTheSelectedCommandsShortcutNotTheOtherOne)
{
    StoreSet("Test", {Accel(kCtrl, 'K', kOpen), Accel(kCtrl, 'K', kSave)});
    Build();
    Run({
        [](ScriptedAccelSheet& sheet) { sheet.SetActivePage(1); },
        [&](ScriptedAccelSheet& sheet) {
            CQZAccelPropertyPage2& page = sheet.m_page2;
            ChooseCategory(page, page.m_cbCategory, "File");
            ChooseCommand(page, "Save");
            ASSERT_EQ((std::vector<std::string>{"Ctrl+K"}), BoxTexts(page.m_lbAssignments));
            page.m_lbAssignments.SetCurSel(0);
            Press(page, IDC_QZ_ACCEL_REMOVE);
            EXPECT_TRUE(BoxTexts(page.m_lbAssignments).empty());
            sheet.EndDialog(IDOK);
        },
    });
    ASSERT_EQ(1, manager.GetCount());
    EXPECT_EQ(kOpen, manager.GetTable()[0].cmd);
    EXPECT_EQ(kOpen, CommandForKey(frame->m_hAccelTable, FCONTROL, 'K'));
}

TEST_F(AccelSheetTest, ThePagesKeepCategoryAndCommandInStep)
{
    Build();
    Run({
        [](ScriptedAccelSheet& sheet) {
            CQZAccelPropertyPage1& page = sheet.m_page1;
            EXPECT_EQ("Shortcuts of the test", Text(*page.GetDlgItem(IDC_QZ_ACCEL_HEADING)));
            ChooseCategory(page, page.m_cbCategory, "Edit");
            EXPECT_EQ(4, page.m_lcCommands.GetItemCount());
            for (int row = 0; row < 4; ++row) {
                if (page.m_lcCommands.GetItemText(row, 0) == CString("Copy"))
                    page.m_lcCommands.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
            }
            sheet.SetActivePage(1);
        },
        [](ScriptedAccelSheet& sheet) {
            CQZAccelPropertyPage2& page = sheet.m_page2;
            CString category;
            page.m_cbCategory.GetLBText(page.m_cbCategory.GetCurSel(), category);
            EXPECT_STREQ("Edit", category);
            CString command;
            page.m_lbCommands.GetText(page.m_lbCommands.GetCurSel(), command);
            EXPECT_STREQ("Copy", command);
            ChooseCommand(page, "Paste");
            sheet.SetActivePage(0);
        },
        [](ScriptedAccelSheet& sheet) {
            EXPECT_EQ("Paste", SelectedRowText(sheet.m_page1.m_lcCommands));
            sheet.EndDialog(IDCANCEL);
        },
    });
}

TEST_F(AccelSheetTest, AllCommandsShowsFullNamesAndACategoryOnlyLosesItsPrefix)
{
    Build();
    Run({
        [](ScriptedAccelSheet& sheet) {
            CQZAccelPropertyPage1& page = sheet.m_page1;
            CString first;
            page.m_cbCategory.GetLBText(0, first);
            EXPECT_STREQ("[All Commands]", first);
            EXPECT_EQ(0, page.m_cbCategory.GetCurSel());
            CQZListCtrl& list = page.m_lcCommands;
            ASSERT_GE(list.GetItemCount(), 4);
            EXPECT_STREQ("File\\Open...", list.GetItemText(0, 0));
            EXPECT_STREQ("Ctrl+O, Ctrl+Alt+O", list.GetItemText(0, 1));
            EXPECT_STREQ("File\\Recent\\1 First.jpg", list.GetItemText(2, 0));
            EXPECT_STREQ("Shift+Ctrl+F5", list.GetItemText(2, 1));
            EXPECT_STREQ("Opens the first file", list.GetItemText(2, 2));
            ChooseCategory(page, page.m_cbCategory, "File");
            EXPECT_STREQ("Recent\\1 First.jpg", list.GetItemText(2, 0));
            EXPECT_EQ("Open...", SelectedRowText(list)) << "the first row is selected";
            sheet.EndDialog(IDCANCEL);
        },
    });
}

TEST_F(AccelSheetTest, ResetAllThenCancelKeepsTheStoredSetAndTheInstalledTable)
{
    StoreSet("Test", {Accel(kCtrl, 'K', kSave)});
    {
        CQZAccelManager local;
        local.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, "", "Test");
        ScriptedSheetScope scope({
            [](ScriptedAccelSheet& sheet) { sheet.SetActivePage(1); },
            [&](ScriptedAccelSheet& sheet) {
                Press(sheet.m_page2, IDC_QZ_ACCEL_RESET_ALL);
                EXPECT_EQ(kOpen, CommandForKey(frame->m_hAccelTable, FCONTROL, 'O')) << "installed at once";
                sheet.PostMessage(WM_COMMAND, IDCANCEL);
            },
        });
        EXPECT_FALSE(local.RunShortcutDialog(frame));
        EXPECT_EQ(kSave, CommandForKey(frame->m_hAccelTable, FCONTROL, 'K'));
        EXPECT_EQ(0u, CommandForKey(frame->m_hAccelTable, FCONTROL, 'O'));
    }
    std::vector<BYTE> bytes;
    ASSERT_TRUE(StoredBytes("Test", bytes)) << "the user's shortcuts survive a Cancel";
    EXPECT_EQ(6u, bytes.size());
}

TEST_F(AccelSheetTest, ThePlacementIsKeptAndTheSheetIsResizable)
{
    Build();
    CRect moved;
    Run({
        [&](ScriptedAccelSheet& sheet) {
            EXPECT_TRUE(sheet.GetStyle() & WS_THICKFRAME);
            HWND grip = ::GetDlgItem(sheet.m_hWnd, QZ_IDC_SIZEICON);
            ASSERT_TRUE(grip);
            EXPECT_TRUE(::IsWindowVisible(grip));
            CRect list;
            sheet.m_page1.m_lcCommands.GetWindowRect(&list);
            CRect rect;
            sheet.GetWindowRect(&rect);
            rect.right += 60;
            rect.bottom += 40;
            rect.OffsetRect(30, 20);
            sheet.MoveWindow(&rect);
            CRect grown;
            sheet.m_page1.m_lcCommands.GetWindowRect(&grown);
            EXPECT_EQ(list.Width() + 60, grown.Width()) << "the list stretches with the sheet";
            EXPECT_EQ(list.Height() + 40, grown.Height());
            CRect client;
            sheet.GetClientRect(&client);
            CRect gripRect;
            ::GetWindowRect(grip, &gripRect);
            sheet.ScreenToClient(&gripRect);
            EXPECT_EQ(client.BottomRight(), gripRect.BottomRight()) << "the grip stays in the corner";
            sheet.GetWindowRect(&moved);
            sheet.EndDialog(IDOK);
        },
    });
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER,
                                          "Software\\SorvantaAccelTest\\AccelTest\\CQZAccelPropertySheet",
                                          "WindowPlacement", RRF_RT_REG_BINARY, nullptr, nullptr, &size));
    EXPECT_EQ(44u, size);
    CRect restored;
    Run({
        [&](ScriptedAccelSheet& sheet) {
            sheet.GetWindowRect(&restored);
            sheet.EndDialog(IDCANCEL);
        },
    });
    EXPECT_EQ(moved, restored);
}

// What a page's heading shows: whether its whole text fits on one line in the heading
// font, and whether it stays inside the page.
struct HeadingFit {
    bool wholeText = false;
    bool tallEnough = false;
    bool insidePage = false;
    bool oneLine = false;
};

HeadingFit FitOf(CWnd& page, CFont& font)
{
    HeadingFit fit;
    CWnd* heading = page.GetDlgItem(IDC_QZ_ACCEL_HEADING);
    if (!heading)
        return fit;
    CString text;
    heading->GetWindowText(text);
    CClientDC dc(heading);
    CFont* previous = dc.SelectObject(&font);
    const CSize extent = dc.GetTextExtent(text);
    TEXTMETRICA metrics = {};
    dc.GetTextMetrics(&metrics);
    dc.SelectObject(previous);
    CRect client;
    heading->GetClientRect(&client);
    CRect rect;
    heading->GetWindowRect(&rect);
    page.ScreenToClient(&rect);
    CRect pageClient;
    page.GetClientRect(&pageClient);
    fit.wholeText = extent.cx <= client.Width();
    fit.tallEnough = metrics.tmHeight <= client.Height();
    fit.insidePage = rect.right <= pageClient.right;
    fit.oneLine = (heading->GetStyle() & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
    return fit;
}

// The heading in its large font is never cut: the sheet opens wide enough for it on both
// pages, within the screen; a title wider than the screen ends in "..." on one line.
TEST_F(AccelSheetTest, TheHeadingShowsItsWholeTitleOnBothPages)
{
    struct Case {
        const char* why;
        std::string title;
        bool whole;
    };
    const Case cases[] = {
        {"a short title", "Shortcuts", true},
        {"a title wider than the heading's place in the template", "Keyboard shortcuts of the test frame", true},
        {"a title wider than the screen", std::string(300, 'W'), false},
    };
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZAccelManager local;
        local.BuildCommandList(frame, IDR_TEST_MAIN_MENU, IDR_TEST_ACCEL, c.title.c_str(), "Heading");
        HeadingFit first;
        HeadingFit second;
        int sheetWidth = 0;
        ScriptedSheetScope scope({
            [&](ScriptedAccelSheet& sheet) {
                first = FitOf(sheet.m_page1, sheet.m_fontHeading);
                CRect rect;
                sheet.GetWindowRect(&rect);
                sheetWidth = rect.Width();
                sheet.SetActivePage(1);
            },
            [&](ScriptedAccelSheet& sheet) {
                second = FitOf(sheet.m_page2, sheet.m_fontHeading);
                sheet.EndDialog(IDCANCEL);
            },
        });
        local.RunShortcutDialog(frame);
        EXPECT_EQ(c.whole, first.wholeText);
        EXPECT_EQ(c.whole, second.wholeText);
        for (const HeadingFit& fit : {first, second}) {
            EXPECT_TRUE(fit.tallEnough);
            EXPECT_TRUE(fit.insidePage);
            EXPECT_TRUE(fit.oneLine);
        }
        EXPECT_LE(sheetWidth, screenWidth);
    }
}

TEST_F(AccelSheetTest, TheManagerOpensTheShortcutSheetUnlessToldOtherwise)
{
    Build();
    // A timer of the thread ends whatever modal sheet runs by then.
    static bool s_sawSheet = false;
    s_sawSheet = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND sheet = FindWindowA(nullptr, "Manage Keyboard Shortcuts");
        if (sheet) {
            s_sawSheet = true;
            PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        }
    });
    EXPECT_FALSE(manager.RunShortcutDialog(frame));
    KillTimer(nullptr, timer);
    EXPECT_TRUE(s_sawSheet);
}
