// The toolbar in the control's customise dialog, driven by the notifications the dialog
// sends (as real structures, through the owner's reflection): the buttons and texts it is
// offered and the buffer it gives, what may be removed, the hidden buttons and the chevron
// while it is open, Reset, a change, help; the layout the control saves and restores, and
// the dialog itself opened once and closed.
#include "toolbar_test_support.h"

#include "framework/FrameWnd.h"
#include "toolkit/bars/QZExpButton.h"
#include "toolkit/bars/QZFrameWnd.h"

#include <cstring>
#include <string>
#include <vector>

using namespace toolkit_test;

namespace {

constexpr char kSettingsKey[] = "Software\\SorvantaToolbarTest\\ToolbarTest\\Settings";
constexpr char kBarValue[] = "ToolbarTest-Bar59392";

std::vector<BYTE> StoredLayout()
{
    DWORD size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, kBarValue, RRF_RT_REG_BINARY, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return {};
    std::vector<BYTE> bytes(size);
    RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, kBarValue, RRF_RT_REG_BINARY, nullptr, bytes.data(), &size);
    return bytes;
}

// Closes the first dialog the thread shows, from a timer, with Cancel.
HWND g_closedDialog = nullptr;
void CALLBACK CancelDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window))
                return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    g_closedDialog = dialog;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

class ToolbarCustomizeTest : public ToolbarTest {
protected:
    // The notification the control sends, as the dialog would send it, through the owner.
    LRESULT Notify(UINT code, NMTOOLBARA& notify)
    {
        notify.hdr.hwndFrom = bar.m_hWnd;
        notify.hdr.idFrom = bar.GetDlgCtrlID();
        notify.hdr.code = code;
        return bar.GetOwner()->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    }
    LRESULT Notify(UINT code, int item = 0)
    {
        NMTOOLBARA notify = {};
        notify.iItem = item;
        return Notify(code, notify);
    }
    std::vector<int> Commands()
    {
        std::vector<int> commands;
        for (int i = 0; i < static_cast<int>(bar.SendMessage(TB_BUTTONCOUNT)); ++i)
            commands.push_back(ControlButton(bar, i).idCommand);
        return commands;
    }
};

} // namespace

TEST_F(ToolbarCustomizeTest, ButtonInfoOffersTheSnapshotWithTextsCutToTheDialogsBuffer)
{
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP);
    const std::string forty = "Print the picture on the chosen printer.";
    ASSERT_EQ(40u, forty.size());
    ASSERT_TRUE(bar.SetButtonText(3, forty.c_str()));
    bar.SaveOriginalButtons();
    struct Case {
        const char* why;
        int cchText;
        std::string text;
    };
    const Case kCases[] = {
        {"a buffer of one: only the terminator", 1, ""},
        {"a buffer of five: four characters", 5, "Prin"},
        {"a buffer of 260: all of it", 260, forty},
        {"no buffer at all: nothing written", 0, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        char buffer[300];
        std::memset(buffer, 0xCD, sizeof buffer);
        NMTOOLBARA notify = {};
        notify.iItem = 3;
        notify.pszText = buffer;
        notify.cchText = c.cchText;
        EXPECT_TRUE(Notify(TBN_GETBUTTONINFOA, notify));
        if (c.cchText > 0) {
            EXPECT_EQ(c.text, std::string(buffer));
            EXPECT_EQ(static_cast<int>(c.text.size()), notify.cchText);
        }
        const size_t written = c.cchText > 0 ? c.text.size() + 1 : 0;
        for (size_t i = written; i < sizeof buffer; ++i)
            ASSERT_EQ(static_cast<char>(0xCD), buffer[i]) << "written past the text at " << i;
        EXPECT_EQ(ID_FILE_PRINT, notify.tbButton.idCommand) << "the snapshot's record";
        EXPECT_EQ(static_cast<INT_PTR>(0), notify.tbButton.iString) << "the text's place in the pool";
    }
    // The end of the list, and before its start.
    NMTOOLBARA past = {};
    past.iItem = kToolbarCount;
    EXPECT_FALSE(Notify(TBN_GETBUTTONINFOA, past));
    past.iItem = -1;
    EXPECT_FALSE(Notify(TBN_GETBUTTONINFOA, past));
}

// The dialog names an entry it is given no text for "Separator": every command button
// gets a name, from where the bar's tooltips and the frame's menus take theirs.
TEST_F(ToolbarCustomizeTest, CommandWithoutATextOfItsOwnIsNamedAsItsTipOrItsMenuNamesIt)
{
    HMENU menu = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_MAIN_MENU));
    ASSERT_NE(nullptr, menu);
    ::SetMenu(frame->m_hWnd, menu);
    const CRect borders = bar.GetBorders();
    ASSERT_TRUE(bar.CreateEx(&dockTop, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, borders, AFX_IDW_TOOLBAR));
    constexpr UINT kUnnamed = 7790;  // no string, in no menu
    const UINT ids[] = {ID_QZ_CUSTOMIZE_TOOLBAR, IDS_TEST_EMPTY_TIP, IDS_TEST_PROMPT_ONLY, 0, 0xE12B, 0xE141,
                        kUnnamed};
    ASSERT_TRUE(bar.SetButtons(ids, 7));
    bar.SaveOriginalButtons();
    struct Case {
        const char* why;
        int item;
        std::string text;
    };
    const Case kCases[] = {
        {"the tip after the newline", 0, "Customize toolbar"},
        {"an empty tip: the prompt", 1, "Shown when the tip is empty"},
        {"no newline and in no menu: the prompt it is", 2, "A prompt without a tip"},
        {"a separator: no text", 3, ""},
        {"no string: the menu's label without its shortcut", 4, "Undo"},
        {"no string: the menu's label without its mnemonic", 5, "Exit"},
        {"nothing names it: a blank, not \"Separator\"", 6, " "},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        char buffer[64] = {};
        NMTOOLBARA notify = {};
        notify.iItem = c.item;
        notify.pszText = buffer;
        notify.cchText = sizeof buffer;
        EXPECT_TRUE(Notify(TBN_GETBUTTONINFOA, notify));
        EXPECT_EQ(c.text, std::string(buffer));
        EXPECT_EQ(static_cast<int>(ids[c.item]), notify.tbButton.idCommand);
    }
    ::SetMenu(frame->m_hWnd, nullptr);
    DestroyMenu(menu);
}

// A toolkit frame has no window menu: its menu bar's menu names the commands.
TEST_F(ToolbarCustomizeTest, ToolkitFramesMenuBarNamesTheCommands)
{
    auto* toolkitFrame = new CQZFrameWnd;
    ASSERT_TRUE(toolkitFrame->Create(nullptr, "Toolkit frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 500, 300)));
    ASSERT_TRUE(toolkitFrame->GetMenuBar()->CreateEx(toolkitFrame, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0),
                                                     AFX_IDW_MENUBAR));
    ASSERT_TRUE(toolkitFrame->GetMenuBar()->LoadMenuBar(IDR_TEST_MAIN_MENU));
    CQZToolBar toolbar;
    ASSERT_TRUE(toolbar.CreateEx(toolkitFrame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                                 toolbar.GetBorders(), AFX_IDW_TOOLBAR));
    const UINT ids[] = {0xE123};  // "Cu&t\tCtrl+X" in the Edit menu
    ASSERT_TRUE(toolbar.SetButtons(ids, 1));
    toolbar.SaveOriginalButtons();
    char buffer[64] = {};
    NMTOOLBARA notify = {};
    notify.hdr = {toolbar.m_hWnd, static_cast<UINT_PTR>(toolbar.GetDlgCtrlID()), static_cast<UINT>(TBN_GETBUTTONINFOA)};
    notify.pszText = buffer;
    notify.cchText = sizeof buffer;
    EXPECT_TRUE(toolbar.GetOwner()->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify)));
    EXPECT_EQ("Cut", std::string(buffer));
    toolbar.DestroyWindow();
    toolkitFrame->DestroyWindow();
}

TEST_F(ToolbarCustomizeTest, OnlyAButtonHiddenBehindTheChevronMayNotBeRemoved)
{
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    bar.HideButtonsToFit(bar.CalcFixedLayout(FALSE, TRUE).cx, 10, TRUE);
    ASSERT_TRUE(bar.SendMessage(TB_ISBUTTONHIDDEN, ID_FILE_PRINT));
    struct Case {
        const char* why;
        int index;
        BOOL removable;
    };
    const Case kCases[] = {
        {"a visible button", 0, TRUE},
        {"a separator", 2, TRUE},
        {"a hidden button", 3, FALSE},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        NMTOOLBARA notify = {};
        notify.iItem = c.index;
        notify.tbButton = ControlButton(bar, c.index);
        EXPECT_EQ(c.removable, Notify(TBN_QUERYDELETE, notify));
    }
    EXPECT_TRUE(Notify(TBN_QUERYINSERT));
    EXPECT_TRUE(Notify(TBN_BEGINDRAG));
    EXPECT_TRUE(Notify(TBN_ENDDRAG));
}

TEST_F(ToolbarCustomizeTest, DialogSeesEveryButtonWithoutTheChevronAndTheLayoutIsSavedAtItsEnd)
{
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    bar.HideButtonsToFit(bar.CalcFixedLayout(FALSE, TRUE).cx, 60, TRUE);
    bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    CWnd* chevron = bar.GetDlgItem(ID_QZ_CUSTOMIZE_TOOLBAR);
    ASSERT_TRUE(chevron->IsWindowVisible());
    frame->m_nIdleFlags = 0;

    EXPECT_EQ(0, Notify(TBN_BEGINADJUST));
    EXPECT_FALSE(bar.HasHiddenButtons());
    for (int i = 0; i < kToolbarCount; ++i)
        EXPECT_FALSE(ControlButton(bar, i).fsState & TBSTATE_HIDDEN) << i;
    EXPECT_FALSE(chevron->IsWindowVisible());
    EXPECT_FALSE(bar.IsChevronAllowed());
    EXPECT_EQ(static_cast<UINT>(CFrameWnd::idleLayout | CFrameWnd::idleNotify),
              frame->m_nIdleFlags & (CFrameWnd::idleLayout | CFrameWnd::idleNotify))
        << "laid out at the next idle time";
    Notify(TBN_BEGINADJUST);
    EXPECT_TRUE(bar.m_bCustomizing) << "a second beginning changes nothing";

    EXPECT_TRUE(StoredLayout().empty());
    EXPECT_EQ(0, Notify(TBN_ENDADJUST));
    EXPECT_FALSE(bar.m_bCustomizing);
    EXPECT_FALSE(StoredLayout().empty()) << "saved although the toolbar is not customisable";

    // A customisable toolbar keeps its chevron while the dialog is open, but no room for it.
    bar.m_bCustomizable = TRUE;
    const int withRoom = bar.CalcFixedLayout(FALSE, TRUE).cx;
    Notify(TBN_BEGINADJUST);
    EXPECT_TRUE(chevron->IsWindowVisible());
    EXPECT_EQ(withRoom - 13, bar.CalcFixedLayout(FALSE, TRUE).cx);
    Notify(TBN_ENDADJUST);
    EXPECT_EQ(withRoom, bar.CalcFixedLayout(FALSE, TRUE).cx);
}

TEST_F(ToolbarCustomizeTest, ResetAsksFirstAndOnYesBringsBackTheSnapshotWithFreshStates)
{
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP);
    bar.SetOwner(frame);
    // Save was hidden when the snapshot was taken: a reset leaves it out.
    TBBUTTON save = {};
    ASSERT_TRUE(bar.GetButton(1, &save));
    save.fsState |= TBSTATE_HIDDEN;
    bar.SetButton(1, &save);
    bar.SaveOriginalButtons();
    bar.SendMessage(TB_DELETEBUTTON, 0);
    bar.SendMessage(TB_MOVEBUTTON, 0, 2);
    const std::vector<int> changed = Commands();
    {
        FrameworkBoxRecorder boxes(IDNO);
        EXPECT_TRUE(Notify(TBN_RESET));
        ASSERT_EQ(1u, boxes.boxes().size());
        EXPECT_EQ("This will restore the toolbar to it's original state, do you wish to continue?",
                  boxes.boxes()[0].text);
        EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION), boxes.boxes()[0].style);
        EXPECT_EQ(std::string(AfxGetAppName()), boxes.boxes()[0].caption);
        EXPECT_EQ(changed, Commands()) << "No changes nothing";
    }
    FrameworkBoxRecorder boxes(IDYES);
    EXPECT_TRUE(Notify(TBN_RESET));
    EXPECT_EQ(std::vector<int>({ID_FILE_OPEN, 0, ID_FILE_PRINT, 0, ID_HELP_INDEX}), Commands());
    // The frame's handlers decide the states; Help Index, which the frame carries out
    // without an update handler, is enabled as it was.
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, ID_FILE_OPEN));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONCHECKED, ID_FILE_PRINT));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, ID_HELP_INDEX));
}

TEST_F(ToolbarCustomizeTest, ChangePlacesTheControlsAgainAndRefreshesStatesAndHelpIsNotThere)
{
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP);
    bar.SetOwner(frame);
    bar.SendMessage(TB_SETSTATE, ID_FILE_SAVE, TBSTATE_ENABLED);
    EXPECT_EQ(0, Notify(TBN_TOOLBARCHANGE));
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, ID_FILE_SAVE)) << "the frame's handler disables Save";

    FrameworkBoxRecorder boxes(IDOK);
    Notify(TBN_CUSTHELP);
    ASSERT_EQ(1u, boxes.boxes().size());
    EXPECT_EQ("Help not implemented!", boxes.boxes()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), boxes.boxes()[0].style);
}

TEST_F(ToolbarCustomizeTest, CustomisableToolbarRestoresItsLayoutWhenDockingIsEnabledAndSavesItWhenItGoes)
{
    // A customisable toolbar of the frame itself, as a frame makes its toolbars.
    bar.m_bCustomizable = TRUE;
    CreateToolBar(bar, frame, CBRS_ALIGN_TOP);
    EXPECT_TRUE(bar.GetStyle() & CCS_ADJUSTABLE);
    bar.SendMessage(TB_MOVEBUTTON, 5, 0);
    bar.SendMessage(TB_DELETEBUTTON, 3);
    const std::vector<int> customised = Commands();
    ASSERT_EQ(std::vector<int>({ID_HELP_INDEX, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_PRINT, 0}), customised);
    bar.SaveState();
    const std::vector<BYTE> saved = StoredLayout();
    ASSERT_FALSE(saved.empty());

    // Moved again: the stored value follows the buttons.
    bar.SendMessage(TB_MOVEBUTTON, 0, 3);
    bar.SaveState();
    EXPECT_NE(saved, StoredLayout());
    RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kBarValue, REG_BINARY, saved.data(),
                    static_cast<DWORD>(saved.size()));

    // Wine's control rebuilds the buttons from the stored value and asks the toolbar
    // (through the dialog's notifications) for every button's record.
    bar.EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_EQ(customised, Commands());
    EXPECT_FALSE(bar.m_bCustomizing) << "the control's own begin and end of an adjustment";
    EXPECT_EQ(1, ControlButton(bar, 2).iBitmap) << "Save with its image, as the toolbar described it";

    // Going away saves again.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kBarValue);
    bar.DestroyWindow();
    EXPECT_EQ(saved, StoredLayout());
}

TEST_F(ToolbarCustomizeTest, ToolbarOutsideAFrameLosesTheDialogAndRestoresNothing)
{
    bar.m_bCustomizable = TRUE;
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP);
    ASSERT_TRUE(bar.GetStyle() & CCS_ADJUSTABLE);
    bar.SendMessage(TB_DELETEBUTTON, 0);
    bar.SaveState();
    bar.SendMessage(TB_DELETEBUTTON, 0);
    const std::vector<int> now = Commands();
    bar.EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_EQ(0u, bar.GetStyle() & (CCS_ADJUSTABLE | TBSTYLE_ALTDRAG));
    EXPECT_EQ(now, Commands()) << "nothing restored";
    // Not customisable: nothing is restored either, and going away saves nothing.
    CQZToolBar plain;
    CreateToolBar(plain, frame, CBRS_ALIGN_TOP);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kBarValue);
    plain.EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_EQ(kToolbarCount, plain.SendMessage(TB_BUTTONCOUNT));
    plain.DestroyWindow();
    EXPECT_TRUE(StoredLayout().empty());
}

TEST_F(ToolbarCustomizeTest, ControlsDialogOpensAndItsEndSavesTheLayout)
{
    CreateToolBar(bar, frame, CBRS_ALIGN_TOP);
    bar.SetOwner(frame);
    g_closedDialog = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CancelDialog);
    bar.SendMessage(TB_CUSTOMIZE);
    KillTimer(nullptr, timer);
    EXPECT_NE(nullptr, g_closedDialog) << "the dialog was shown";
    EXPECT_FALSE(bar.m_bCustomizing);
    EXPECT_FALSE(StoredLayout().empty());
    EXPECT_EQ(kToolbarCount, bar.SendMessage(TB_BUTTONCOUNT));
}

// What the owner answered the real dialog for each entry it asked about, seen through a
// subclass over the owner (the toolbar fills the text while the owner reflects it).
namespace {
struct AskedEntry {
    int command;
    std::string text;
};
std::vector<AskedEntry> g_askedEntries;
WNDPROC g_ownerProc = nullptr;
LRESULT CALLBACK RecordButtonInfo(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProcA(g_ownerProc, window, message, wParam, lParam);
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (message == WM_NOTIFY && header->code == TBN_GETBUTTONINFOA && result) {
        const auto* notify = reinterpret_cast<const NMTOOLBARA*>(lParam);
        g_askedEntries.push_back({notify->tbButton.idCommand, notify->pszText ? notify->pszText : ""});
    }
    return result;
}
} // namespace

TEST_F(ToolbarCustomizeTest, RealDialogIsGivenANameForEveryCommandButton)
{
    HMENU menu = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_MAIN_MENU));
    ::SetMenu(frame->m_hWnd, menu);
    CreateToolBar(bar, frame, CBRS_ALIGN_TOP);
    bar.SetOwner(frame);
    g_askedEntries.clear();
    g_ownerProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordButtonInfo)));
    g_closedDialog = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &CancelDialog);
    bar.SendMessage(TB_CUSTOMIZE);
    KillTimer(nullptr, timer);
    SetWindowLongPtrA(frame->m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_ownerProc));
    ::SetMenu(frame->m_hWnd, nullptr);
    DestroyMenu(menu);
    ASSERT_NE(nullptr, g_closedDialog) << "the dialog was shown";
    std::vector<int> named;
    for (const AskedEntry& entry : g_askedEntries) {
        SCOPED_TRACE(entry.command);
        if (entry.command == 0)
            continue;
        EXPECT_FALSE(entry.text.empty());
        named.push_back(entry.command);
    }
    EXPECT_EQ((std::vector<int>{ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_PRINT, ID_HELP_INDEX}), named)
        << "every command button of the bar, in order";
}
