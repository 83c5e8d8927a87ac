// The menu bar worked as a menu: keyboard mode from Alt (or F10), arrows and mnemonics,
// popups opened and switched from the keyboard and by the mouse, Escape backing out, the
// commands that reach the frame, where popups open, and the full-menus timer.
#include "menu_test_support.h"

#include "toolkit/foundation/QZVersion.h"

namespace toolkit_test {
namespace {

// Entries of the test menu in the bar: 0 is the MDI child's icon.
constexpr int kFile = 1;
constexpr int kEdit = 2;
constexpr int kView = 3;
constexpr int kSend = 4;
constexpr int kHelp = 5;

constexpr LPARAM kAlt = 1 << 29;

class MenuBarTrackTest : public MenuFrameTest {
protected:
    void TearDown() override
    {
        BYTE keys[256] = {};
        SetKeyboardState(keys);
        CQZMenuBar::m_bKeyboardCues = false;
        MenuFrameTest::TearDown();
    }
    CQZMenuBar& Bar() { return frame->m_wndMenuBar; }
    BOOL Feed(UINT message, UINT vk, LPARAM flags = 0, HWND window = nullptr)
    {
        MSG msg = {window ? window : frame->m_hWnd, message, vk, flags | 1, 0, {}};
        return Bar().TranslateFrameMessage(&msg);
    }
    void PressAlt()
    {
        Feed(WM_SYSKEYDOWN, VK_MENU, kAlt);
        Feed(WM_SYSKEYUP, VK_MENU, 0);
    }
    void EnterKeyboardMode(int hot)
    {
        PressAlt();
        Bar().SetHotItem(hot);
    }
    // Whether the popup of the bar's current entry (or of the entry given) is open.
    bool Settled(int entry = -1)
    {
        const int current = Bar().m_nCurrentItem;
        if (current < 0 || (entry >= 0 && current != entry) || !NewestMenuWindow())
            return false;
        auto* item = static_cast<CQZSubMenuBarItem*>(Bar().m_arrItems[current]);
        return MenuOfWindow(NewestMenuWindow()) == ::GetSubMenu(Bar().GetMenuHandle(), item->m_nPosition);
    }
    MenuScript::Step SettledOn(int entry)
    {
        return MenuScript::WaitUntil([this, entry] { return Settled(entry); });
    }
    // A step that notes which entry's popup is open, once one is.
    MenuScript::Step Note()
    {
        return MenuScript::WaitUntil([this] {
            if (!Settled())
                return false;
            opened.push_back(Bar().m_nCurrentItem);
            return true;
        });
    }
    // The centre of an entry, in screen coordinates, as menu-mode mouse messages carry it.
    LPARAM ScreenPointOf(int item)
    {
        CRect rect;
        Bar().GetItemRect(&rect, Bar().m_arrItems[item]);
        CPoint centre = rect.CenterPoint();
        Bar().ClientToScreen(&centre);
        return MAKELPARAM(centre.x, centre.y);
    }

    std::vector<int> opened;
};

TEST_F(MenuBarTrackTest, AltAloneTogglesKeyboardModeWithTheFirstEntryHot)
{
    EXPECT_TRUE(Feed(WM_SYSKEYDOWN, VK_MENU, kAlt)) << "the frame never sees the Alt key";
    EXPECT_TRUE(CQZMenuBar::m_bKeyboardCues);
    EXPECT_EQ(QZ_MBT_IDLE, Bar().m_nTrackingState) << "nothing until Alt is released";
    EXPECT_TRUE(Feed(WM_SYSKEYUP, VK_MENU));
    EXPECT_EQ(QZ_MBT_KEYBOARD, Bar().m_nTrackingState);
    EXPECT_EQ(kFile, Bar().m_nHotItem);
    PressAlt();
    EXPECT_EQ(QZ_MBT_IDLE, Bar().m_nTrackingState);
    EXPECT_EQ(-1, Bar().m_nHotItem);
}

TEST_F(MenuBarTrackTest, ArrowsMoveTheHotEntryAroundTheBar)
{
    EnterKeyboardMode(kFile);
    struct Step {
        const char* why;
        UINT key;
        int hot;
    };
    const Step steps[] = {{"left of the first: the last", VK_LEFT, kHelp},
                          {"right of the last: the first", VK_RIGHT, kFile},
                          {"right", VK_RIGHT, kEdit},
                          {"left", VK_LEFT, kFile}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.why);
        EXPECT_TRUE(Feed(WM_KEYDOWN, s.key));
        EXPECT_EQ(s.hot, Bar().m_nHotItem);
    }
    EXPECT_EQ(kHelp, Bar().GetNextOrPrevItem(-1, TRUE)) << "from no entry, Left gives the last";
    EXPECT_EQ(kEdit, Bar().GetNextOrPrevItem(-1, FALSE)) << "and Right the second";
}

TEST_F(MenuBarTrackTest, KeyboardOpensAndSwitchesPopups)
{
    struct Case {
        const char* why;
        int keyboardModeHot;  // -1: start idle
        UINT frameKey;
        LPARAM frameFlags;
        std::vector<UINT> keysInPopup;
        std::vector<int> opened;
        int state;
        int hot;
    };
    const Case cases[] = {
        {"Alt+mnemonic opens its entry at once", -1, 'E', kAlt, {}, {kEdit}, QZ_MBT_KEYBOARD, kEdit},
        {"a mnemonic without Alt in keyboard mode", kFile, 'V', 0, {}, {kView}, QZ_MBT_KEYBOARD, kView},
        {"Down opens the hot entry", kView, VK_DOWN, 0, {}, {kView}, QZ_MBT_KEYBOARD, kView},
        {"Enter opens the hot entry", kHelp, VK_RETURN, 0, {}, {kHelp}, QZ_MBT_KEYBOARD, kHelp},
        {"Right in a popup opens the next entry's", -1, 'F', kAlt, {VK_RIGHT}, {kFile, kEdit}, QZ_MBT_KEYBOARD,
         kEdit},
        {"Left on the first entry wraps to the last", -1, 'F', kAlt, {VK_LEFT}, {kFile, kHelp}, QZ_MBT_KEYBOARD,
         kHelp},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        opened.clear();
        if (c.keyboardModeHot >= 0)
            EnterKeyboardMode(c.keyboardModeHot);
        std::vector<MenuScript::Step> steps = {Note()};
        for (UINT key : c.keysInPopup) {
            steps.push_back([key] { PostKey(key); });
            steps.push_back(Note());
        }
        steps.push_back([] { PostKey(VK_ESCAPE); });
        MenuScript script(steps);
        EXPECT_TRUE(Feed(c.keyboardModeHot >= 0 ? WM_KEYDOWN : WM_SYSKEYDOWN, c.frameKey, c.frameFlags));
        EXPECT_FALSE(script.TimedOut());
        EXPECT_EQ(c.opened, opened);
        EXPECT_EQ(c.state, Bar().m_nTrackingState) << "Escape leaves keyboard mode on";
        EXPECT_EQ(c.hot, Bar().m_nHotItem);
        EXPECT_EQ(-1, Bar().m_nCurrentItem);
        Feed(WM_KEYDOWN, VK_ESCAPE);
        EXPECT_EQ(QZ_MBT_IDLE, Bar().m_nTrackingState) << "a second Escape leaves it";
        EXPECT_FALSE(CQZMenuBar::m_bKeyboardCues);
    }
}

TEST_F(MenuBarTrackTest, RightOnAnEntryWithASubMenuOpensTheSubMenu)
{
    int popupsOpen = 0;
    // Open is selected on opening; two steps down (past the separator) reach Recent.
    MenuScript script({Note(), [] { PostKey(VK_DOWN); }, [] { PostKey(VK_DOWN); }, [] { PostKey(VK_RIGHT); }, [&] { popupsOpen = CQZPopupMenu::m_listPopups.GetCount(); },
                       [] { PostKey(VK_ESCAPE); }, [] { PostKey(VK_ESCAPE); }});
    Feed(WM_SYSKEYDOWN, 'F', kAlt);
    EXPECT_EQ(std::vector<int>{kFile}, opened) << "the bar stayed on File";
    EXPECT_EQ(2, popupsOpen) << "File's popup and its sub-menu";
}

TEST_F(MenuBarTrackTest, ChosenCommandsAndTopLevelCommandsReachTheFrame)
{
    {
        MenuScript script({[] { PostKey(VK_DOWN); }, [] { PostKey(VK_RETURN); }});
        Feed(WM_SYSKEYDOWN, 'F', kAlt);
        EXPECT_FALSE(script.TimedOut());
    }
    EXPECT_EQ(QZ_MBT_IDLE, Bar().m_nTrackingState) << "a chosen command ends keyboard mode";
    PumpPending();
    EXPECT_EQ(std::vector<UINT>{ID_FILE_SAVE}, frame->commands) << "one step down from Open";

    frame->commands.clear();
    MenuScript guard({});
    EXPECT_TRUE(Feed(WM_SYSKEYDOWN, 'S', kAlt));
    EXPECT_TRUE(CQZPopupMenu::m_listPopups.IsEmpty()) << "no popup for an entry without one";
    PumpPending();
    EXPECT_EQ(std::vector<UINT>{ID_TEST_SEND_TO_FRIEND}, frame->commands);
}

// The index of the popup's selected item, -1 for none.
int SelectedItem(HMENU popup)
{
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_HILITE)
            return i;
    }
    return -1;
}

// A popup opened from the keyboard has its first enabled item selected, as the system's
// own menu bar gives it, so Return runs that item at once; Up selects the last one.
TEST_F(MenuBarTrackTest, PopupOpenedFromTheKeyboardSelectsItsFirstEnabledItem)
{
    HMENU editPopup = GetSubMenu(Bar().GetMenuHandle(), 1);
    HMENU helpPopup = GetSubMenu(Bar().GetMenuHandle(), 4);
    constexpr int kUndo = 0;
    constexpr int kCut = 2;  // after the separator
    constexpr int kPaste = 4;
    constexpr int kNone = -1;
    struct Case {
        const char* why;
        std::vector<UINT> disabled;  // Edit items disabled before opening
        std::function<void()> open;
        std::vector<UINT> keysInPopup;
        HMENU popup;  // whose selection is read once the popup is open
        int selected;
        UINT command;  // what Return then runs; 0: Escape instead
    };
    const Case cases[] = {
        {"Alt+E, then Return runs the first item", {}, [this] { Feed(WM_SYSKEYDOWN, 'E', kAlt); }, {}, editPopup,
         kUndo, 0xE12B},
        {"a disabled first item is passed over, and so is the separator", {0xE12B},
         [this] { Feed(WM_SYSKEYDOWN, 'E', kAlt); }, {}, editPopup, kCut, 0xE123},
        {"Alt alone, Right, then Down", {}, [this] {
             PressAlt();
             Feed(WM_KEYDOWN, VK_RIGHT);
             Feed(WM_KEYDOWN, VK_DOWN);
         },
         {}, editPopup, kUndo, 0},
        {"F10, Right, then Enter", {}, [this] {
             Feed(WM_SYSKEYDOWN, VK_F10);
             Feed(WM_SYSKEYUP, VK_F10);
             Feed(WM_KEYDOWN, VK_RIGHT);
             Feed(WM_KEYDOWN, VK_RETURN);
         },
         {}, editPopup, kUndo, 0},
        {"a mnemonic in keyboard mode", {}, [this] {
             PressAlt();
             Feed(WM_KEYDOWN, 'E');
         },
         {}, editPopup, kUndo, 0},
        {"Up selects the last enabled item", {0xE125}, [this] {
             EnterKeyboardMode(kEdit);
             Feed(WM_KEYDOWN, VK_UP);
         },
         {}, editPopup, kPaste - 1, 0xE122},
        {"Left from File's popup selects in Help's", {}, [this] { Feed(WM_SYSKEYDOWN, 'F', kAlt); }, {VK_LEFT},
         helpPopup, 0, 0xE142},
        {"a click opens the popup with nothing selected", {}, [this] {
             CRect rect;
             Bar().GetItemRect(&rect, Bar().m_arrItems[kEdit]);
             Bar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
         },
         {}, editPopup, kNone, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        for (UINT id : {0xE12Bu, 0xE123u, 0xE122u, 0xE125u})
            EnableMenuItem(editPopup, id, MF_BYCOMMAND | MF_ENABLED);
        for (UINT id : c.disabled)
            EnableMenuItem(editPopup, id, MF_BYCOMMAND | MF_GRAYED);
        frame->commands.clear();
        int selected = -2;
        std::vector<MenuScript::Step> steps;
        for (UINT key : c.keysInPopup) {
            steps.push_back(MenuScript::WaitUntil([this] { return Settled(); }));
            steps.push_back([key] { PostKey(key); });
        }
        HMENU popup = c.popup;
        // The selection is made by keys posted into the menu loop: wait for it to settle.
        steps.push_back(MenuScript::WaitUntil([this, popup] {
            return Settled() && MenuOfWindow(NewestMenuWindow()) == popup;
        }));
        steps.push_back([&selected, popup] { selected = SelectedItem(popup); });
        const UINT finish = c.command ? VK_RETURN : VK_ESCAPE;
        steps.push_back([finish] { PostKey(finish); });
        {
            MenuScript script(steps);
            c.open();
            EXPECT_FALSE(script.TimedOut());
        }
        EXPECT_EQ(c.selected, selected);
        PumpPending();
        if (c.command)
            EXPECT_EQ(std::vector<UINT>{c.command}, frame->commands);
        else
            EXPECT_TRUE(frame->commands.empty());
        Feed(WM_KEYDOWN, VK_ESCAPE);
        Feed(WM_KEYDOWN, VK_ESCAPE);
    }
}

// Return typed right behind Alt+E, already queued when the popup opens, runs the item the
// popup selects on opening, not nothing.
HHOOK g_typeAheadHook = nullptr;
LRESULT CALLBACK TypeReturnAtPopup(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP)
        PostKey(VK_RETURN);
    return CallNextHookEx(g_typeAheadHook, code, wParam, lParam);
}

TEST_F(MenuBarTrackTest, KeysTypedAheadActOnTheSelectionMadeOnOpening)
{
    g_typeAheadHook = SetWindowsHookExA(WH_CALLWNDPROC, &TypeReturnAtPopup, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, g_typeAheadHook);
    {
        MenuScript guard({});
        Feed(WM_SYSKEYDOWN, 'E', kAlt);
    }
    UnhookWindowsHookEx(g_typeAheadHook);
    g_typeAheadHook = nullptr;
    PumpPending();
    EXPECT_EQ(std::vector<UINT>{0xE12B}, frame->commands) << "Undo, the Edit popup's first item";
}

TEST_F(MenuBarTrackTest, FunctionKeysPassExceptAPlainF10WhichWorksLikeAlt)
{
    EXPECT_FALSE(Feed(WM_KEYDOWN, VK_F1));
    EXPECT_FALSE(Feed(WM_SYSKEYDOWN, VK_F4, kAlt)) << "Alt+F4 closes the frame";
    EXPECT_TRUE(Feed(WM_SYSKEYDOWN, VK_F10));
    EXPECT_EQ(QZ_MBT_IDLE, Bar().m_nTrackingState);
    EXPECT_TRUE(Feed(WM_SYSKEYUP, VK_F10));
    EXPECT_EQ(QZ_MBT_KEYBOARD, Bar().m_nTrackingState);
    EXPECT_TRUE(Feed(WM_SYSKEYUP, VK_F10));
    EXPECT_EQ(QZ_MBT_IDLE, Bar().m_nTrackingState);

    BYTE keys[256] = {};
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    EXPECT_FALSE(Feed(WM_SYSKEYDOWN, VK_F10)) << "Shift+F10 is the context menu's";
    EXPECT_FALSE(Feed(WM_SYSKEYUP, VK_F10));
    EXPECT_EQ(QZ_MBT_IDLE, Bar().m_nTrackingState);
}

TEST_F(MenuBarTrackTest, LetterOfNoEntryBeepsInKeyboardModeAndPassesWithAlt)
{
    EXPECT_FALSE(Feed(WM_SYSKEYDOWN, 'Z', kAlt)) << "Alt+Z is the frame's";
    EnterKeyboardMode(kFile);
    EXPECT_TRUE(Feed(WM_KEYDOWN, 'Z')) << "swallowed";
    EXPECT_EQ(QZ_MBT_KEYBOARD, Bar().m_nTrackingState);
    EXPECT_FALSE(Feed(WM_KEYDOWN, VK_OEM_1)) << "neither a letter nor a digit";
    EXPECT_FALSE(Feed(WM_KEYDOWN, VK_TAB));
}

TEST_F(MenuBarTrackTest, ClickOutsideTheBarLeavesKeyboardMode)
{
    EnterKeyboardMode(kEdit);
    EXPECT_FALSE(Feed(WM_LBUTTONDOWN, MK_LBUTTON, 0, frame->m_hWnd));
    EXPECT_EQ(QZ_MBT_IDLE, Bar().m_nTrackingState);
    EXPECT_FALSE(CQZMenuBar::m_bKeyboardCues);
    EnterKeyboardMode(kEdit);
    Feed(WM_LBUTTONDOWN, MK_LBUTTON, 0, Bar().m_hWnd);
    EXPECT_EQ(QZ_MBT_KEYBOARD, Bar().m_nTrackingState) << "a click on the bar itself is the bar's";
}

TEST_F(MenuBarTrackTest, MovingTheMouseToAnotherEntrySwitchesPopups)
{
    const LPARAM edit = ScreenPointOf(kEdit);
    const LPARAM file = ScreenPointOf(kFile);
    HWND owner = frame->m_hWnd;
    MenuScript script({Note(), [=] { PostMessageA(owner, WM_MOUSEMOVE, 0, file); }, Note(),
                       [=] { PostMessageA(owner, WM_MOUSEMOVE, 0, edit); }, Note(), [] { PostKey(VK_ESCAPE); }});
    Feed(WM_SYSKEYDOWN, 'F', kAlt);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ((std::vector<int>{kFile, kFile, kEdit}), opened) << "resting on the open entry keeps its popup";
}

TEST_F(MenuBarTrackTest, ClickOpensAnEntryButNotTheOneWhosePopupJustClosed)
{
    CRect rect;
    Bar().GetItemRect(&rect, Bar().m_arrItems[kView]);
    const LPARAM at = MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y);
    {
        MenuScript script({Note(), [] { PostKey(VK_ESCAPE); }});
        Bar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    }
    EXPECT_EQ(std::vector<int>{kView}, opened);
    {
        MenuScript script({Note(), [] { PostKey(VK_ESCAPE); }});
        Bar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        EXPECT_EQ(std::vector<int>{kView}, opened) << "the click that closed it does not open it again";
    }
    Bar().OnUpdateCmdUI(frame, FALSE);
    {
        MenuScript script({Note(), [] { PostKey(VK_ESCAPE); }});
        Bar().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    }
    EXPECT_EQ((std::vector<int>{kView, kView}), opened) << "after the idle update it opens again";
}

TEST_F(MenuBarTrackTest, PopupsOpenOnTheSideAwayFromTheBarAndNeverAtANegativePoint)
{
    const DWORD saved = Bar().m_dwStyle;
    const CRect item(100, 50, 140, 70);
    CRect screen;
    GetWindowRect(GetDesktopWindow(), &screen);
    struct Case {
        const char* why;
        DWORD side;
        CRect rect;
        CPoint point;
        CRect exclude;
    };
    const Case cases[] = {
        {"docked at the top: below", CBRS_ALIGN_TOP, item, CPoint(100, 70),
         CRect(screen.left, screen.top, screen.right, 70)},
        {"docked at the bottom: above", CBRS_ALIGN_BOTTOM, item, CPoint(100, 50),
         CRect(screen.left, 50, screen.right, screen.bottom)},
        {"docked at the left: beside, to the right", CBRS_ALIGN_LEFT, item, CPoint(140, 50),
         CRect(screen.left, screen.top, 140, screen.bottom)},
        {"docked at the right: beside, to the left", CBRS_ALIGN_RIGHT, item, CPoint(100, 50),
         CRect(100, screen.top, screen.right, screen.bottom)},
        {"floating: below", CBRS_ALIGN_TOP | CBRS_FLOATING, item, CPoint(100, 70),
         CRect(screen.left, screen.top, screen.right, 70)},
        {"off the screen's corner", CBRS_ALIGN_BOTTOM, CRect(-30, -20, 10, 0), CPoint(0, 0),
         CRect(screen.left, -20, screen.right, screen.bottom)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Bar().m_dwStyle = (saved & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) | c.side;
        TPMPARAMS params = {};
        CPoint point;
        Bar().CalcPopupPoint(&point, c.rect, &params);
        EXPECT_EQ(c.point, point);
        EXPECT_EQ(c.exclude, CRect(params.rcExclude));
        EXPECT_EQ(sizeof(TPMPARAMS), params.cbSize);
    }
    Bar().m_dwStyle = saved;
}

class FullMenusTimerTest : public MenuBarTrackTest {
protected:
    void SetUp() override
    {
        hiddenCommands = {ID_FILE_SAVE};
        CreateFrame();
    }
};

TEST_F(FullMenusTimerTest, RestingOnTheOpenEntrySetsTheFullMenusTimerAndLeavingItKillsIt)
{
    const LPARAM file = ScreenPointOf(kFile);
    // On the bar, right of its last entry.
    CRect help;
    Bar().GetItemRect(&help, Bar().m_arrItems[kHelp]);
    CPoint beside(help.right + 20, help.CenterPoint().y);
    Bar().ClientToScreen(&beside);
    const LPARAM elsewhere = MAKELPARAM(beside.x, beside.y);
    HWND owner = frame->m_hWnd;
    bool runningOver = false;
    bool runningAway = true;
    MenuScript script({[=] { PostMessageA(owner, WM_MOUSEMOVE, 0, file); },
                       [&] { runningOver = Bar().m_bTimerRunning; },
                       [=] { PostMessageA(owner, WM_MOUSEMOVE, 0, elsewhere); },
                       [&] { runningAway = Bar().m_bTimerRunning; }, [] { PostKey(VK_ESCAPE); }});
    Feed(WM_SYSKEYDOWN, 'F', kAlt);
    EXPECT_TRUE(runningOver);
    EXPECT_FALSE(runningAway);
}

TEST_F(MenuBarTrackTest, WithoutHiddenCommandsTheFullMenusTimerIsNeverSet)
{
    const LPARAM file = ScreenPointOf(kFile);
    HWND owner = frame->m_hWnd;
    bool running = true;
    MenuScript script({[=] { PostMessageA(owner, WM_MOUSEMOVE, 0, file); }, [&] { running = Bar().m_bTimerRunning; },
                       [] { PostKey(VK_ESCAPE); }});
    Feed(WM_SYSKEYDOWN, 'F', kAlt);
    EXPECT_FALSE(running);
}

// Windows 95 and NT 4 have no full-menus timer: the system's own menus know no hidden items.
class OldSystemFullMenusTest : public FullMenusTimerTest {
protected:
    static BOOL WindowsNT4(OSVERSIONINFOA* info)
    {
        info->dwPlatformId = VER_PLATFORM_WIN32_NT;
        info->dwMajorVersion = 4;
        info->dwMinorVersion = 0;
        return TRUE;
    }
    static BOOL Windows95(OSVERSIONINFOA* info)
    {
        info->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
        info->dwMajorVersion = 4;
        info->dwMinorVersion = 0;
        return TRUE;
    }
    void TearDown() override
    {
        QZSetVersionReader(previous);
        FullMenusTimerTest::TearDown();
    }
    QZVersionReader previous = QZSetVersionReader(nullptr);
};

TEST_F(OldSystemFullMenusTest, RestingOnTheOpenEntrySetsNoTimerOnWindows95OrNT4)
{
    struct Case {
        const char* why;
        QZVersionReader reader;
    };
    const Case cases[] = {{"Windows NT 4", &WindowsNT4}, {"Windows 95", &Windows95}};
    const LPARAM file = ScreenPointOf(kFile);
    HWND owner = frame->m_hWnd;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        QZSetVersionReader(c.reader);
        bool running = true;
        MenuScript script({SettledOn(kFile), [=] { PostMessageA(owner, WM_MOUSEMOVE, 0, file); },
                           [&] { running = Bar().m_bTimerRunning; }, [] { PostKey(VK_ESCAPE); }});
        Feed(WM_SYSKEYDOWN, 'F', kAlt);
        EXPECT_FALSE(script.TimedOut());
        EXPECT_FALSE(running);
    }
}

TEST_F(FullMenusTimerTest, FullMenusTimerShowsTheNextPopupOfTheLoopInFull)
{
    // The timer's message, as the owner frame receives it while the bar tracks.
    std::vector<std::string> secondPopup;
    MenuScript script({[&] { SendMessageA(frame->m_hWnd, WM_TIMER, Bar().m_nTimerID, 0); },
                       [] { PostKey(VK_RIGHT); }, SettledOn(kEdit), [] { PostKey(VK_LEFT); }, SettledOn(kFile),
                       [&] { secondPopup = MenuTexts(MenuOfWindow(NewestMenuWindow())); },
                       [] { PostKey(VK_ESCAPE); }});
    Feed(WM_SYSKEYDOWN, 'F', kAlt);
    EXPECT_FALSE(script.TimedOut());
    ASSERT_FALSE(secondPopup.empty());
    EXPECT_EQ("&Save\tCtrl+S", secondPopup[1]) << "the hidden command shows";
    EXPECT_FALSE(CQZMenuBar::m_bFullMenus) << "until the tracking ends";
}

// The real expansion: the chevron selected, its 750-millisecond timer fills the open popup.
TEST_F(FullMenusTimerTest, RestingOnTheChevronFillsTheOpenPopupAfterItsDelay)
{
    HMENU file = ::GetSubMenu(Bar().GetMenuHandle(), 0);
    auto saveShown = [file] {
        for (const std::string& text : MenuTexts(file)) {
            if (text == "&Save\tCtrl+S")
                return true;
        }
        return false;
    };
    bool hiddenAtFirst = false;
    bool chevronAtFirst = false;
    DWORD selectedAt = 0;
    DWORD filledAt = 0;
    MenuScript script({SettledOn(kFile),
                       [&] {
                           hiddenAtFirst = !saveShown();
                           chevronAtFirst = MenuTexts(file).back() == QZ_CHEVRON_TEXT;
                           PostKey(VK_UP);
                           selectedAt = GetTickCount();
                       },
                       MenuScript::WaitUntil([&] {
                           if (!saveShown())
                               return false;
                           filledAt = GetTickCount();
                           return true;
                       }),
                       [] { PostKey(VK_ESCAPE); }});
    Feed(WM_SYSKEYDOWN, 'F', kAlt);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_TRUE(hiddenAtFirst);
    EXPECT_TRUE(chevronAtFirst);
    EXPECT_GE(filledAt - selectedAt, 700u) << "not before the delay";
}

} // namespace
} // namespace toolkit_test
