// Personalised menus: hidden commands stay out of their popups (without doubled or stray
// separators) behind a chevron item until used; the chevron fills the open popup in
// place; the recent list in the settings store; the expansion timer.
#include "menu_test_support.h"

#include "toolkit/foundation/QZMenuItemInfo.h"
#include "toolkit/foundation/QZRegistryManager.h"

namespace toolkit_test {
namespace {

constexpr UINT kHiddenFirst = 101;
constexpr UINT kHiddenSecond = 102;

class PersonalMenuTest : public MenuFrameTest {
protected:
    void SetUp() override
    {
        hiddenCommands = {kHiddenFirst, kHiddenSecond, 103, 104, 105, 106};
        CreateFrame();
        CQZCoolMenu::m_bShowFullMenus = false;
        CQZCoolMenu::m_bMenuBarLoopEnded = false;
    }
    void TearDown() override
    {
        CQZCoolMenu::m_bOldOS = false;
        CQZCoolMenu::m_bMenuBarLoopEnded = false;
        CQZCoolMenu::m_bChevronSelected = false;
        MenuFrameTest::TearDown();
    }
    CQZCoolMenu& Cool() { return frame->m_coolMenu; }
    HWND Owner() const { return frame->m_hWnd; }

    // A popup from a list of items: 0 for a separator, else the command, whose text is its number.
    void Build(CMenu& menu, const std::vector<UINT>& ids)
    {
        ASSERT_TRUE(menu.CreatePopupMenu());
        for (UINT id : ids) {
            if (id == 0)
                menu.AppendMenu(MF_SEPARATOR);
            else
                menu.AppendMenu(MF_STRING, id, std::to_string(id).c_str());
        }
    }
    std::vector<int> RecentList()
    {
        CQZRegistryManager store(HKEY_CURRENT_USER);
        std::vector<int> items;
        for (int i = 1; i <= 5; ++i)
            items.push_back(store.GetProfileInt("Recent Item List", ("Item" + std::to_string(i)).c_str(), 0));
        return items;
    }
};

TEST_F(PersonalMenuTest, HiddenCommandsLeaveThePopupBehindAChevronAndComeBackWhenTheLoopEnds)
{
    struct Case {
        const char* why;
        std::vector<UINT> items;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"hidden at the start: the separator after it goes too", {101, 0, 1, 2}, {"1", "2", ">> chevron"}},
        {"hidden at the end: no separator above the chevron", {1, 2, 0, 101}, {"1", "2", ">> chevron"}},
        {"second and fourth hidden, a separator between: one separator",
         {1, 101, 0, 102, 2},
         {"1", "-", "2", ">> chevron"}},
        {"hidden between two separators: they become one", {1, 0, 101, 0, 2}, {"1", "-", "2", ">> chevron"}},
        {"nothing hidden: no chevron", {1, 0, 2}, {"1", "-", "2"}},
        {"everything hidden: the chevron alone", {101, 102}, {">> chevron"}},
    };
    CQZMenu active;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CMenu menu;
        Build(menu, c.items);
        const std::vector<MenuItemState> before = ReadMenu(menu.m_hMenu);
        InitPopup(Owner(), menu.m_hMenu);
        EXPECT_EQ(c.shown, MenuTexts(menu.m_hMenu));
        EndMenuLoop(Owner());
        EXPECT_EQ(before, ReadMenu(menu.m_hMenu)) << "every item back at its place";
        EXPECT_TRUE(Cool().m_listItemData.IsEmpty());
    }
}

TEST_F(PersonalMenuTest, PopupsStayFullWithoutAToolkitMenuAndAfterFullMenusWereAsked)
{
    CMenu menu;
    Build(menu, {1, 101, 2});
    InitPopup(Owner(), menu.m_hMenu);
    EXPECT_EQ((std::vector<std::string>{"1", "101", "2"}), MenuTexts(menu.m_hMenu)) << "no CQZMenu alive";
    EndMenuLoop(Owner());

    CQZMenu active;
    CQZCoolMenu::m_bShowFullMenus = true;
    InitPopup(Owner(), menu.m_hMenu);
    EXPECT_EQ((std::vector<std::string>{"1", "101", "2"}), MenuTexts(menu.m_hMenu)) << "full menus on";
    EndMenuLoop(Owner());
    EXPECT_FALSE(CQZCoolMenu::m_bShowFullMenus) << "the end of the loop switches full menus off";
}

TEST_F(PersonalMenuTest, ChevronCommandFillsTheOpenPopupInPlace)
{
    CQZMenu active;
    CMenu menu;
    Build(menu, {1, 101, 0, 102, 2});
    InitPopup(Owner(), menu.m_hMenu);
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "#32768", nullptr, WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_EQ(menu.m_hMenu, CQZPopupMenu::GetNewest()->m_hMenu) << "the window took the pending menu";
    SendMessageA(Owner(), WM_COMMAND, ID_QZ_FULL_MENUS, 0);
    EXPECT_TRUE(CQZCoolMenu::m_bShowFullMenus);
    EXPECT_EQ((std::vector<std::string>{"1", "101", "-", "102", "2"}), MenuTexts(menu.m_hMenu));
    EXPECT_TRUE(IsWindowVisible(window)) << "shown again at its new size";
    DestroyWindow(window);
    EndMenuLoop(Owner());
}

// Under Wine clicks in a menu window never reach it, so the click the popup hook catches is
// sent to the hooked window directly.
TEST_F(PersonalMenuTest, ClickOnTheSelectedChevronFillsInPlaceAndGoesNoFurther)
{
    struct Case {
        const char* why;
        bool oldSystem;
        bool filled;
    };
    const Case cases[] = {{"Windows 2000 and later", false, true},
                          {"Windows 95 and NT 4.0 choose the chevron as a command instead", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZMenu active;
        CMenu menu;
        Build(menu, {1, 101, 2});
        InitPopup(Owner(), menu.m_hMenu);
        HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, "#32768", nullptr, WS_POPUP, 0, 0, 100, 100, nullptr,
                                      nullptr, nullptr, nullptr);
        CQZPopupMenu* hook = CQZPopupMenu::GetNewest();
        hook->m_pOwner = &Cool();
        CQZCoolMenu::m_bChevronSelected = true;
        CQZCoolMenu::m_bOldOS = c.oldSystem;
        frame->commands.clear();
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        const std::vector<std::string> filled = {"1", "101", "2"};
        const std::vector<std::string> shortened = {"1", "2", ">> chevron"};
        EXPECT_EQ(c.filled ? filled : shortened, MenuTexts(menu.m_hMenu));
        EXPECT_EQ(c.filled ? std::vector<UINT>{ID_QZ_FULL_MENUS} : std::vector<UINT>{}, frame->commands);
        MSG msg;
        EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_NOREMOVE)) << "no command posted";
        CQZCoolMenu::m_bOldOS = false;
        DestroyWindow(window);
        EndMenuLoop(Owner());
    }
}

TEST_F(PersonalMenuTest, RecentListKeepsTheLastFiveUsedAndAllowsOnlyHiddenOrRecentCommands)
{
    for (UINT command = 101; command <= 106; ++command)
        SendMessageA(Owner(), WM_COMMAND, command, 0);
    EXPECT_EQ((std::vector<int>{106, 105, 104, 103, 102}), RecentList());
    SendMessageA(Owner(), WM_COMMAND, 103, 0);
    EXPECT_EQ((std::vector<int>{103, 106, 105, 104, 102}), RecentList());
    SendMessageA(Owner(), WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_EQ((std::vector<int>{103, 106, 105, 104, 102}), RecentList()) << "neither hidden nor recent";
    SendMessageA(Owner(), WM_COMMAND, MAKEWPARAM(101, 1), 0);
    EXPECT_EQ((std::vector<int>{103, 106, 105, 104, 102}), RecentList()) << "an accelerator's command";
    EXPECT_FALSE(Cool().AddRecentCommand(ID_FILE_OPEN));

    EXPECT_FALSE(Cool().IsCommandHidden(103)) << "recent: shown";
    EXPECT_TRUE(Cool().IsCommandHidden(101)) << "dropped off the list: hidden again";
    CQZMenu active;
    CMenu menu;
    Build(menu, {101, 103});
    InitPopup(Owner(), menu.m_hMenu);
    EXPECT_EQ((std::vector<std::string>{"103", ">> chevron"}), MenuTexts(menu.m_hMenu));
    EndMenuLoop(Owner());
}

TEST_F(PersonalMenuTest, RecentListOutlivesTheFrame)
{
    SendMessageA(Owner(), WM_COMMAND, kHiddenFirst, 0);
    frame->DestroyWindow();
    CreateFrame();
    EXPECT_TRUE(Cool().IsRecentCommand(kHiddenFirst));
    EXPECT_FALSE(Cool().IsCommandHidden(kHiddenFirst));
}

// Deleting Item1, Item2, ... up to the first gap would leave Item4, still a recent command.
TEST_F(PersonalMenuTest, ResetForgetsEveryRecentCommandAlsoAfterAGap)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    store.WriteProfileInt("Recent Item List", "Item1", 101);
    store.WriteProfileInt("Recent Item List", "Item2", 102);
    store.WriteProfileInt("Recent Item List", "Item4", 104);
    ASSERT_TRUE(Cool().IsRecentCommand(104));
    Cool().ResetRecentCommands();
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0}), RecentList());
    EXPECT_FALSE(Cool().IsRecentCommand(104));
    EXPECT_TRUE(Cool().IsCommandHidden(104));
}

TEST_F(PersonalMenuTest, UnreadableStoreGivesNoRecentCommands)
{
    CQZRegistryManager store(HKEY_CURRENT_USER);
    store.WriteProfileString("Recent Item List", "Item1", "101");
    EXPECT_FALSE(Cool().IsRecentCommand(101));
    EXPECT_TRUE(Cool().IsCommandHidden(101));
}

TEST_F(PersonalMenuTest, RestingOnTheChevronExpandsWhileTheMenuBarTracks)
{
    PaperCanvas canvas(120, 20);
    struct Case {
        const char* why;
        bool loopEnded;
        bool oldSystem;
        bool expands;
    };
    const Case cases[] = {
        {"the menu bar tracks", false, false, true},
        {"a context menu after the menu bar's tracking", true, false, false},
        {"Windows 95 and NT 4.0 set no timer", false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZCoolMenu::m_bMenuBarLoopEnded = c.loopEnded;
        CQZCoolMenu::m_bOldOS = c.oldSystem;
        Cool().m_bTimerRunning = false;
        frame->commands.clear();
        Cool().DrawChevron(&canvas.m_dc, CRect(0, 0, 120, 20), TRUE);
        EXPECT_EQ(c.expands, Cool().m_bTimerRunning);
        // The timer's message, handled as it would arrive.
        SendMessageA(Owner(), WM_TIMER, Cool().m_nExpandTimerID, 0);
        EXPECT_EQ(c.loopEnded ? std::vector<UINT>{} : std::vector<UINT>{ID_QZ_FULL_MENUS}, frame->commands);
        Cool().DrawChevron(&canvas.m_dc, CRect(0, 0, 120, 20), FALSE);
        EXPECT_FALSE(Cool().m_bTimerRunning) << "leaving the chevron stops the timer";
    }
}

} // namespace
} // namespace toolkit_test
