// Image menus: a popup's items become image items while its menu loop runs and get back
// exactly what they had; foreign owner-drawn items are left alone; images by command;
// mnemonics of image items; item sizes; system menus stay plain.
#include "menu_test_support.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMenuItemInfo.h"

namespace toolkit_test {
namespace {

class CoolMenuTest : public MenuFrameTest {
protected:
    void SetUp() override
    {
        MenuFrameTest::SetUp();
        ASSERT_TRUE(mainMenu.LoadMenu(IDR_TEST_MAIN_MENU));
    }
    void TearDown() override
    {
        qzAfxData.xpLook = 0;
        MenuFrameTest::TearDown();
    }

    HWND Owner() const { return frame->m_hWnd; }
    CQZCoolMenu& Cool() { return frame->m_coolMenu; }
    HMENU Popup(int index) { return ::GetSubMenu(mainMenu.m_hMenu, index); }
    CQZItemData* RecordAt(HMENU menu, int index)
    {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_DATA;
        GetMenuItemInfoA(menu, static_cast<UINT>(index), TRUE, &info);
        return CQZItemData::FromItemData(info.dwItemData);
    }

    CMenu mainMenu;
};

TEST_F(CoolMenuTest, ItemsBecomeImageItemsAndGetBackExactlyWhatTheyHadWhenTheLoopEnds)
{
    HMENU file = Popup(0);
    HMENU view = Popup(2);
    // An owner-drawn item of other code whose item data is a plain number.
    ::AppendMenuA(view, MF_OWNERDRAW, ID_TEST_FIRST, reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(0x1234)));
    const std::vector<MenuItemState> fileBefore = ReadMenu(file);
    const std::vector<MenuItemState> viewBefore = ReadMenu(view);
    ASSERT_EQ(300u, viewBefore[1].text.size());

    InitPopup(Owner(), file, 0);
    InitPopup(Owner(), view, 2);
    for (HMENU menu : {file, view}) {
        const std::vector<MenuItemState> before = menu == file ? fileBefore : viewBefore;
        const std::vector<MenuItemState> during = ReadMenu(menu);
        ASSERT_EQ(before.size(), during.size());
        for (size_t i = 0; i < during.size(); ++i) {
            SCOPED_TRACE(before[i].text);
            EXPECT_TRUE(during[i].type & MFT_OWNERDRAW);
            if (before[i].data == 0x1234) {
                EXPECT_EQ(before[i], during[i]) << "a foreign item is left alone";
                continue;
            }
            const CQZItemData* record = CQZItemData::FromItemData(during[i].data);
            ASSERT_TRUE(record);
            EXPECT_EQ(before[i].text, std::string(record->m_strText)) << "the whole text";
            EXPECT_EQ(menu, record->m_hMenu);
            EXPECT_EQ(static_cast<int>(i), record->m_nPosition);
            EXPECT_EQ(before[i].id, record->m_nCommand);
        }
    }
    EXPECT_EQ(2, Cool().m_listConvertedMenus.GetCount());

    EndMenuLoop(Owner());
    EXPECT_EQ(fileBefore, ReadMenu(file));
    EXPECT_EQ(viewBefore, ReadMenu(view));
    EXPECT_TRUE(Cool().m_listItemData.IsEmpty()) << "no record is left";
    EXPECT_TRUE(Cool().m_listConvertedMenus.IsEmpty());
}

// The item record of this build: 64-bit items are read with the real structure's size, a
// 44-byte record is refused and no popup would convert.
TEST_F(CoolMenuTest, ConvertedPopupKnowsItsEntriesSubMenu)
{
    HMENU file = Popup(0);
    InitPopup(Owner(), file, 0);
    const CQZItemData* recent = RecordAt(file, 3);
    ASSERT_TRUE(recent);
    EXPECT_EQ("&Recent", std::string(recent->m_strText));
    EXPECT_EQ(::GetSubMenu(file, 3), recent->m_hSubMenu);
    EXPECT_NE(nullptr, recent->m_hSubMenu);
    EndMenuLoop(Owner());
}

TEST_F(CoolMenuTest, ItemsShowTheImagesOfTheirCommandsFromTheToolbar)
{
    HMENU file = Popup(0);
    InitPopup(Owner(), file, 0);
    struct Case {
        int index;
        int image;
        const char* why;
    };
    const Case cases[] = {{0, 0, "Open: the toolbar's first button"},
                          {1, 1, "Save: the second"},
                          {5, 2, "Print: after a separator"},
                          {6, -1, "Exit: no button"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const CQZItemData* record = RecordAt(file, c.index);
        ASSERT_TRUE(record);
        EXPECT_EQ(c.image, record->m_nImage);
    }
    EXPECT_EQ(3, Cool().GetCommandImage(ID_HELP_INDEX));
    EXPECT_EQ(CSize(16, 16), Cool().m_sizeImage);
    EndMenuLoop(Owner());
}

TEST_F(CoolMenuTest, FirstImageGivenForACommandStays)
{
    const int images = Cool().m_ilImages.GetImageCount();
    // Open already has the toolbar's image; the strip's second image is skipped; Cut is new.
    const UINT commands[] = {ID_FILE_OPEN, 0, ID_EDIT_CUT};
    EXPECT_TRUE(Cool().AddImagesFromResource(IDB_TEST_STRIP, commands, 3));
    EXPECT_EQ(0, Cool().GetCommandImage(ID_FILE_OPEN));
    EXPECT_EQ(images, Cool().GetCommandImage(ID_EDIT_CUT));
    EXPECT_EQ(images + 1, Cool().m_ilImages.GetImageCount());
    EXPECT_FALSE(Cool().AddImages(nullptr, commands, 3));
}

TEST(CoolMenuImages, LoadingToolbarsStopsAtTheFirstThatFails)
{
    CQZCoolMenu cool;
    const UINT missingFirst[] = {9999, IDR_TEST_TOOLBAR};
    EXPECT_FALSE(cool.LoadToolbars(missingFirst, 2));
    EXPECT_EQ(-1, cool.GetCommandImage(ID_FILE_OPEN)) << "the toolbar after the failure is not loaded";
    const UINT good[] = {IDR_TEST_TOOLBAR};
    EXPECT_TRUE(cool.LoadToolbars(good, 1));
    EXPECT_EQ(0, cool.GetCommandImage(ID_FILE_OPEN));
    cool.RemoveAllImages();
    EXPECT_EQ(-1, cool.GetCommandImage(ID_FILE_OPEN));
    EXPECT_EQ(CSize(0, 0), cool.m_sizeImage);
}

TEST_F(CoolMenuTest, MnemonicsOfImageItemsSelectOrExecute)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 1, "&Open");
    menu.AppendMenu(MF_STRING, 2, "&other");
    menu.AppendMenu(MF_STRING, 3, "&Save\tCtrl+S");
    menu.AppendMenu(MF_STRING, 4, "Plain");
    InitPopup(Owner(), menu.m_hMenu);
    struct Case {
        const char* why;
        char typed;
        int highlighted;
        LRESULT result;
    };
    const Case cases[] = {
        {"shared letter, none highlighted: the first, selected", 'o', -1, MAKELRESULT(0, MNC_SELECT)},
        {"typed again with the first highlighted: the second", 'O', 0, MAKELRESULT(1, MNC_SELECT)},
        {"after the last one: back to the first", 'o', 1, MAKELRESULT(0, MNC_SELECT)},
        {"unique letter: executed", 's', -1, MAKELRESULT(2, MNC_EXECUTE)},
        {"no item's letter: passed on", 'x', -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        for (int i = 0; i < 4; ++i) {
            QZ_MENUITEMINFO state;
            state.fMask = MIIM_STATE;
            state.fState = i == c.highlighted ? MFS_HILITE : 0;
            SetMenuItemInfoA(menu.m_hMenu, static_cast<UINT>(i), TRUE, &state);
        }
        EXPECT_EQ(c.result, SendMessageA(Owner(), WM_MENUCHAR, MAKEWPARAM(c.typed, MF_POPUP),
                                         reinterpret_cast<LPARAM>(menu.m_hMenu)));
    }
    EndMenuLoop(Owner());
}

TEST_F(CoolMenuTest, ItemsAreMeasuredWithTheirAcceleratorsAndNeverSmallerThanAMenuLine)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 1, "A long label for measuring\tCtrl+Shift+M");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 2, "&B");
    menu.AppendMenu(MF_STRING, 3, "A long label for measuring\tCtrl+Shift+M");
    SetMenuDefaultItem(menu.m_hMenu, 3, FALSE);
    InitPopup(Owner(), menu.m_hMenu);

    auto measure = [&](int index) {
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        mis.itemID = GetMenuItemID(menu.m_hMenu, index);
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_DATA;
        GetMenuItemInfoA(menu.m_hMenu, static_cast<UINT>(index), TRUE, &info);
        mis.itemData = info.dwItemData;
        EXPECT_EQ(1, SendMessageA(Owner(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
        return CSize(static_cast<int>(mis.itemWidth), static_cast<int>(mis.itemHeight));
    };
    auto textWidth = [](CFont& font, LPCSTR text) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font.m_hObject);
        SIZE size = {};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return static_cast<int>(size.cx);
    };
    const int menuHeight = GetSystemMetrics(SM_CYMENU);
    const int imageWidth = Cool().m_sizeImage.cx;
    const int imageHeight = Cool().m_sizeImage.cy;
    const int normal = textWidth(qzAfxData.fontNormal, "A long label for measuringXXXCtrl+Shift+M");
    const int bold = textWidth(qzAfxData.fontBold, "A long label for measuringXXXCtrl+Shift+M");

    EXPECT_EQ(CSize(std::max(100, normal + 2 * imageWidth + 2), std::max(imageHeight + 4, menuHeight)), measure(0));
    EXPECT_EQ(CSize(0, menuHeight / 2), measure(1));
    EXPECT_EQ(CSize(100, std::max(imageHeight + 4, menuHeight)), measure(2)) << "never narrower than 100";
    EXPECT_EQ(std::max(100, bold + 2 * imageWidth + 2), measure(3).cx) << "the default item in bold";

    qzAfxData.xpLook = 1;
    const int frameHeight = CQZCoolMenu::m_sizeFrame.cy;
    EXPECT_EQ(CSize(std::max(100, normal + imageWidth + 28), std::max(imageHeight + 6, menuHeight) + 2), measure(0))
        << "the first item carries the top border";
    EXPECT_EQ(std::max(imageHeight + 6, menuHeight) + 2 - 2 * frameHeight, measure(3).cy)
        << "the last item carries the bottom border, in the room of the missing frame";
    EndMenuLoop(Owner());

    MEASUREITEMSTRUCT foreign = {};
    foreign.CtlType = ODT_MENU;
    foreign.itemData = 0x1234;
    foreign.itemWidth = 7;
    SendMessageA(Owner(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&foreign));
    EXPECT_EQ(7u, foreign.itemWidth) << "not an image item: left to its owner";
}

TEST_F(CoolMenuTest, SystemMenusAndTheSkippedPopupStayPlain)
{
    HMENU edit = Popup(1);
    auto converted = [&] { return RecordAt(edit, 0) != nullptr; };

    InitPopup(Owner(), edit, 0, TRUE);
    EXPECT_FALSE(converted()) << "flagged as the system menu";
    InitPopup(Owner(), GetSystemMenu(Owner(), FALSE), 0, FALSE);
    EXPECT_EQ(nullptr, RecordAt(GetSystemMenu(Owner(), FALSE), 0)) << "the frame's own system menu";

    CQZCoolMenu::SkipNextInitMenuPopup();
    InitPopup(Owner(), edit);
    EXPECT_FALSE(converted()) << "the popup after SkipNextInitMenuPopup";
    InitPopup(Owner(), edit);
    EXPECT_TRUE(converted()) << "the one after that";
    EndMenuLoop(Owner());
}

TEST_F(CoolMenuTest, OpenerSideIsWrittenIntoTheItemsItJoinsAndThenForgotten)
{
    HMENU edit = Popup(1);  // Undo, separator, Cut, Copy, Paste
    struct Case {
        const char* why;
        UINT side;
        std::vector<UINT> sides;
    };
    const Case cases[] = {
        {"below a top bar: the first item", CBRS_ALIGN_TOP, {CBRS_ALIGN_TOP, 0, 0, 0, 0}},
        {"above a bottom bar: the last item", CBRS_ALIGN_BOTTOM, {0, 0, 0, 0, CBRS_ALIGN_BOTTOM}},
        {"beside a left bar: every item", CBRS_ALIGN_LEFT, std::vector<UINT>(5, CBRS_ALIGN_LEFT)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZCoolMenu::m_nPopupSide = c.side;
        InitPopup(Owner(), edit);
        std::vector<UINT> sides;
        for (int i = 0; i < 5; ++i)
            sides.push_back(RecordAt(edit, i) ? RecordAt(edit, i)->m_nSide : 99);
        EXPECT_EQ(c.sides, sides);
        EXPECT_EQ(0u, CQZCoolMenu::m_nPopupSide);
        EndMenuLoop(Owner());
    }
}

} // namespace
} // namespace toolkit_test
