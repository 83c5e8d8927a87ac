// The menu bar: creation over a frame, which loses its menu to it; loading menus into items
// with their mnemonics; the geometry the bar's parts share; and its hooks on the frame,
// which hand it the frame's menu messages.
#include "menu_test_support.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZWndHook.h"

namespace toolkit_test {
namespace {

// The bar's items as texts: "sys", an entry's text with its menu position, or a button.
std::vector<std::string> ItemTexts(CQZMenuBar& bar)
{
    std::vector<std::string> texts;
    for (int i = 0; i < bar.m_arrItems.GetSize(); ++i) {
        CQZMenuBarItem* item = bar.m_arrItems[i];
        if (auto* entry = dynamic_cast<CQZSubMenuBarItem*>(item))
            texts.push_back(std::string(entry->m_strText) + "@" + std::to_string(entry->m_nPosition));
        else if (auto* button = dynamic_cast<CQZControlMenuBarItem*>(item))
            texts.push_back("button" + std::to_string(button->m_nFrameControl));
        else
            texts.push_back("sys");
    }
    return texts;
}

bool HasHook(HWND window, CRuntimeClass* kind)
{
    for (CQZWndHook* hook = CQZWindowMap::GetHookMap().Lookup(window); hook; hook = hook->m_pNext) {
        if (hook->IsKindOf(kind))
            return true;
    }
    return false;
}

class MenuBarTest : public MenuFrameTest {
protected:
    CQZMenuBar& Bar() { return frame->m_wndMenuBar; }
};

TEST_F(MenuBarTest, BarTakesTheFramesMenuAndHooksTheFrame)
{
    EXPECT_EQ(nullptr, GetMenu(frame->m_hWnd));
    EXPECT_TRUE(HasHook(frame->m_hWnd, RUNTIME_CLASS(CQZMBarWndHook)));
    EXPECT_EQ(nullptr, Bar().m_pMDIHook) << "no MDI client in a single-document frame";
    CString text;
    Bar().GetWindowText(text);
    EXPECT_EQ("Menu Bar", std::string(text));
    EXPECT_EQ("MenuTest-Bar59398", std::string(Bar().m_strValueName));
    EXPECT_EQ("Software\\SorvantaMenuTest\\MenuTest\\Settings", std::string(Bar().m_strKeyName));
    EXPECT_EQ(std::string("ToolbarWindow32"), test_support::ClassOf(Bar().m_hWnd));
}

// A bar whose window cannot be made.
class RefusedMenuBar : public CQZMenuBar {
public:
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};

TEST_F(MenuBarTest, FailedCreationLeavesTheFrameItsMenuAndHooksNothing)
{
    CFrameWnd* other = new CFrameWnd;
    ASSERT_TRUE(other->Create(nullptr, "other", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    HMENU menu = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_MAIN_MENU));
    ::SetMenu(other->m_hWnd, menu);
    {
        RefusedMenuBar bar;
        EXPECT_FALSE(bar.CreateEx(other, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
        EXPECT_EQ(menu, GetMenu(other->m_hWnd));
        EXPECT_EQ(nullptr, CQZWindowMap::GetHookMap().Lookup(other->m_hWnd));
    }
    other->DestroyWindow();
}

TEST_F(MenuBarTest, TopLevelEntriesWithTextBecomeItemsBetweenTheMdiItems)
{
    EXPECT_EQ((std::vector<std::string>{"sys", "&File@0", "&Edit@1", "&View@2", "&Send this Program to a Friend@3",
                                        "&Help@4", "button1", "button3", "button0"}),
              ItemTexts(Bar()));

    // A top-level separator gets no item; the entries after it keep their own positions.
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "&First");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const std::string longText(70, 'x');
    AppendMenuA(menu, MF_STRING, 9, longText.c_str());
    Bar().BuildMenuItems(menu, nullptr);
    EXPECT_EQ((std::vector<std::string>{"sys", "&First@0", std::string(63, 'x') + "@2", "button1", "button3",
                                        "button0"}),
              ItemTexts(Bar()))
        << "a text past 63 characters is cut";
    Bar().BuildMenuItems(Bar().m_hDefaultMenu, nullptr);
    DestroyMenu(menu);
}

TEST(MenuBarMnemonic, FirstSingleAmpersandNamesTheMnemonicInItsOwnCase)
{
    struct Case {
        const char* text;
        char mnemonic;
    };
    const Case cases[] = {
        {"&File", 'F'},
        {"&&Save &As", 'A'},
        {"&lower", 'l'},
        {"End&", 0},
        {"A && B", 0},
        {"None", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.mnemonic, CQZMenuBar::FindMnemonic(c.text));
    }
}

TEST_F(MenuBarTest, EntriesAreAsWideAsTheirTextWithoutMarkersAndAMenuLineHigh)
{
    auto* file = static_cast<CQZSubMenuBarItem*>(Bar().m_arrItems[1]);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, qzAfxData.fontNormal.m_hObject);
    SIZE size = {};
    GetTextExtentPoint32A(dc, "File", 4, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(CSize(size.cx + 14, qzAfxData.menuHeight), file->GetSize());
}

TEST_F(MenuBarTest, LoadingReplacesTheMenuOrKeepsItWhenThereIsNone)
{
    HMENU shown = Bar().GetMenuHandle();
    const std::vector<std::string> items = ItemTexts(Bar());
    EXPECT_FALSE(Bar().LoadMenuBar(9999)) << "no such menu";
    EXPECT_EQ(shown, Bar().GetMenuHandle());
    AfxSetResourceHandle(GetModuleHandleA("kernel32.dll"));
    EXPECT_FALSE(Bar().LoadMenuBar(IDR_TEST_MDI_MENU)) << "a resource module without the menu";
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(items, ItemTexts(Bar()));

    EXPECT_FALSE(Bar().LoadMenuBar(IDR_TEST_MDI_MENU)) << "it replaced a menu";
    EXPECT_EQ(IDR_TEST_MDI_MENU, static_cast<int>(Bar().m_nMenuID));
    EXPECT_EQ((std::vector<std::string>{"sys", "&File@0", "&Window@1", "button1", "button3", "button0"}),
              ItemTexts(Bar()));
    EXPECT_FALSE(IsMenu(shown)) << "the menu the bar loaded before is its own and goes";
}

TEST_F(MenuBarTest, VisibleItemsAreTheEntriesUntilAChildIsMaximized)
{
    int all[16];
    int entries[16];
    int buttons[16];
    const int allCount = static_cast<int>(Bar().GetVisibleItems(all, all + 16, QZ_MBI_ALL) - all);
    const int entryCount = static_cast<int>(Bar().GetVisibleItems(entries, entries + 16, QZ_MBI_MENUITEMS) - entries);
    EXPECT_EQ(0, static_cast<int>(Bar().GetVisibleItems(buttons, buttons + 16, QZ_MBI_CONTROLBUTTONS) - buttons));
    ASSERT_EQ(5, entryCount);
    EXPECT_EQ(std::vector<int>(entries, entries + entryCount), std::vector<int>(all, all + allCount));
    EXPECT_EQ(1, entries[0]);
    EXPECT_EQ(2, static_cast<int>(Bar().GetVisibleItems(all, all + 2, QZ_MBI_ALL) - all)) << "never past the end";
}

TEST_F(MenuBarTest, PointOnAnItemsRightOrBottomEdgeDoesNotHitIt)
{
    CRect file;
    Bar().GetItemRect(&file, Bar().m_arrItems[1]);
    int entries[16];
    int* end = Bar().GetVisibleItems(entries, entries + 16, QZ_MBI_MENUITEMS);
    EXPECT_EQ(1, Bar().HitTestItem(file.TopLeft(), entries, end));
    EXPECT_EQ(1, Bar().HitTestItem(CPoint(file.right - 1, file.bottom - 1), entries, end));
    EXPECT_EQ(2, Bar().HitTestItem(CPoint(file.right, file.top), entries, end)) << "the next item starts there";
    EXPECT_EQ(-1, Bar().HitTestItem(CPoint(file.left, file.bottom), entries, end));
    EXPECT_EQ(-1, Bar().HitTestItem(CPoint(-1, 2), entries, end)) << "off the client area";
}

TEST_F(MenuBarTest, FrameHookHandsTheBarTheFramesMenuMessages)
{
    frame->watched = {WM_INITMENUPOPUP, WM_MDISETMENU, WM_MDIREFRESHMENU, WM_COMMAND};
    HMENU edit = ::GetSubMenu(Bar().GetMenuHandle(), 1);

    // The popup the bar opened reaches the frame with the bar's item as its position.
    Bar().m_nCurrentItem = 2;
    SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), MAKELPARAM(0, 0));
    Bar().m_nCurrentItem = -1;
    ASSERT_EQ(1u, frame->received.size());
    EXPECT_EQ(2, LOWORD(frame->received[0].lParam));

    struct Case {
        const char* why;
        WPARAM wParam;
        bool fullMenus;
    };
    const Case cases[] = {{"Display full menus", ID_QZ_FULL_MENUS, true},
                          {"its id with a notification code is no command", MAKEWPARAM(ID_QZ_FULL_MENUS, 1), false},
                          {"any other command", ID_FILE_OPEN, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZMenuBar::m_bFullMenus = !c.fullMenus;
        SendMessageA(frame->m_hWnd, WM_COMMAND, c.wParam, 0);
        EXPECT_EQ(c.fullMenus, CQZMenuBar::m_bFullMenus);
    }

    frame->received.clear();
    HMENU other = LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_TEST_MDI_MENU));
    ::SetMenu(frame->m_hWnd, other);
    EXPECT_EQ(0, SendMessageA(frame->m_hWnd, WM_MDISETMENU, reinterpret_cast<WPARAM>(other), 0));
    EXPECT_EQ(0, SendMessageA(frame->m_hWnd, WM_MDIREFRESHMENU, 0, 0));
    EXPECT_EQ(other, Bar().GetMenuHandle()) << "the bar shows the new menu";
    EXPECT_EQ(nullptr, GetMenu(frame->m_hWnd)) << "the frame keeps none";
    for (const MSG& msg : frame->received)
        EXPECT_NE(msg.message, static_cast<UINT>(WM_MDISETMENU)) << "it never reaches the frame";
    Bar().BuildMenuItems(Bar().m_hDefaultMenu, nullptr);
    DestroyMenu(other);
}

TEST_F(MenuBarTest, DisabledFrameDrawsTheBarInactiveUnlessItStaysActive)
{
    struct Case {
        const char* why;
        BOOL enabled;
        UINT flags;
        BOOL activation;
        BOOL active;
    };
    const Case cases[] = {
        {"activated", TRUE, 0, TRUE, TRUE},
        {"deactivated", TRUE, 0, FALSE, FALSE},
        {"a modal dialog disabled the frame", FALSE, 0, TRUE, FALSE},
        {"the frame stays active", FALSE, WF_STAYACTIVE, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        frame->EnableWindow(c.enabled);
        frame->m_nFlags = (frame->m_nFlags & ~WF_STAYACTIVE) | c.flags;
        SendMessageA(frame->m_hWnd, WM_NCACTIVATE, c.activation, 0);
        EXPECT_EQ(c.active, Bar().m_bFrameActive);
    }
    frame->m_nFlags &= ~WF_STAYACTIVE;
    frame->EnableWindow(TRUE);
}

TEST_F(MenuBarTest, ColourChangeGivesTheBarTheCaptionFontAndAGoneBarSeesNothing)
{
    SendMessageA(frame->m_hWnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(qzAfxData.fontCaption.m_hObject, reinterpret_cast<HGDIOBJ>(Bar().SendMessage(WM_GETFONT)));
    Bar().DestroyWindow();
    CQZMenuBar::m_bFullMenus = false;
    SendMessageA(frame->m_hWnd, WM_COMMAND, ID_QZ_FULL_MENUS, 0);
    EXPECT_FALSE(CQZMenuBar::m_bFullMenus) << "every message passes untouched once the bar's window is gone";
}

TEST_F(MenuBarTest, SettingsChangeMeasuresTheEntriesAgainAndFloatingResetsTracking)
{
    Bar().SetHotItem(2);
    auto* file = static_cast<CQZSubMenuBarItem*>(Bar().m_arrItems[1]);
    const CSize measured = file->m_size;
    // A size no measuring gives: the entries built again replace it.
    file->m_size = CSize(1, 1);
    Bar().SendMessage(WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(measured, static_cast<CQZSubMenuBarItem*>(Bar().m_arrItems[1])->m_size) << "the entries were measured again";
    EXPECT_EQ(-1, Bar().m_nHotItem) << "item indexes held before are reset";
    EXPECT_EQ(9, Bar().m_arrItems.GetSize());

    Bar().SetHotItem(3);
    const DWORD style = Bar().GetBarStyle();
    Bar().SetBarStyle(style | CBRS_ALIGN_LEFT);
    EXPECT_EQ(3, Bar().m_nHotItem) << "docking elsewhere keeps the tracking";
    Bar().SetBarStyle(style | CBRS_FLOATING);
    EXPECT_EQ(-1, Bar().m_nHotItem) << "floating or docking again resets it";
    Bar().SetBarStyle(style);
}

TEST_F(MenuBarTest, WithoutOleDocumentsNoMessageGoesToAServer)
{
    EXPECT_FALSE(Bar().MapServerMenus());
    EXPECT_TRUE(Bar().m_mapServerItems.IsEmpty());
    BOOL send = FALSE;
    EXPECT_EQ(nullptr, Bar().FilterFrameMenuMessage(&send, WM_INITMENUPOPUP, 0, 0));
    Bar().m_mapServerItems.SetAt(1, 1);
    EXPECT_EQ(nullptr, Bar().FilterFrameMenuMessage(&send, WM_COMMAND, ID_FILE_OPEN, 0))
        << "no document is active in place";
    Bar().m_mapServerItems.RemoveAll();
}

} // namespace
} // namespace toolkit_test
