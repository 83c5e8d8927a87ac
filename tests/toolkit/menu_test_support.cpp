// The menu tests' script timer, menu readers and frame.
#include "menu_test_support.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMenuItemInfo.h"

#include <algorithm>

namespace toolkit_test {

MenuScript::MenuScript(std::vector<Step> steps, UINT intervalMs, UINT watchdogMs)
{
    s_steps = std::move(steps);
    s_next = 0;
    s_timedOut = false;
    m_tick = SetTimer(nullptr, 0, intervalMs, &MenuScript::Tick);
    m_watchdog = SetTimer(nullptr, 0, watchdogMs, &MenuScript::Watchdog);
}

MenuScript::~MenuScript()
{
    KillTimer(nullptr, m_tick);
    KillTimer(nullptr, m_watchdog);
    s_steps.clear();
    s_next = 0;
}

void CALLBACK MenuScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_next < s_steps.size()) {
        const HWND menu = NewestMenuWindow();
        if (!menu || !IsWindowVisible(menu))
            return;
        // The step is taken first: it may run a nested menu loop that ticks again.
        const size_t index = s_next++;
        Step step = s_steps[index];
        s_retry = false;
        step();
        if (s_retry)
            s_next = index;
        return;
    }
    if (NewestMenuWindow())
        EndMenu();
}

MenuScript::Step MenuScript::WaitUntil(std::function<bool()> condition)
{
    return [condition] { s_retry = !condition(); };
}

void CALLBACK MenuScript::Watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    s_timedOut = true;
    s_next = s_steps.size();
    EndMenu();
}

void PostKey(UINT vk)
{
    const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    HWND target = GetFocus() ? GetFocus() : GetActiveWindow();
    PostMessageA(target, WM_KEYDOWN, vk, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
}

HWND NewestMenuWindow()
{
    CQZPopupMenu* newest = CQZPopupMenu::GetNewest();
    if (newest && IsWindow(newest->m_hWnd))
        return newest->m_hWnd;
    return FindWindowA("#32768", nullptr);
}

HMENU MenuOfWindow(HWND menuWindow)
{
    return reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
}

bool MenuItemState::operator==(const MenuItemState& other) const
{
    return type == other.type && state == other.state && id == other.id && data == other.data &&
           subMenu == other.subMenu && text == other.text;
}

std::vector<MenuItemState> ReadMenu(HMENU menu)
{
    std::vector<MenuItemState> items;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        QZ_MENUITEMINFO info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA | MIIM_SUBMENU | MIIM_STRING;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        MenuItemState item;
        item.type = info.fType;
        item.state = info.fState;
        item.id = info.wID;
        item.data = info.dwItemData;
        item.subMenu = info.hSubMenu;
        if (info.cch > 0) {
            std::string text(info.cch + 1, '\0');
            QZ_MENUITEMINFO textInfo;
            textInfo.fMask = MIIM_STRING;
            textInfo.dwTypeData = text.data();
            textInfo.cch = info.cch + 1;
            GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &textInfo);
            text.resize(textInfo.cch);
            item.text = text;
        }
        items.push_back(item);
    }
    return items;
}

std::vector<std::string> MenuTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (const MenuItemState& item : ReadMenu(menu)) {
        const CQZItemData* record = CQZItemData::FromItemData(item.data);
        if ((record && (record->m_nType & MFT_SEPARATOR)) || (item.type & MFT_SEPARATOR))
            texts.push_back("-");
        else if (record)
            texts.push_back(static_cast<LPCSTR>(record->m_strText));
        else
            texts.push_back(item.text);
    }
    return texts;
}

void SetDrawingColours()
{
    qzAfxData.colorMenu = kDrawMenu;
    qzAfxData.colorMenuText = kDrawMenuText;
    qzAfxData.colorButtonText = kDrawMenuText;
    qzAfxData.colorSelection = kDrawSelection;
    qzAfxData.colorSelectionText = kDrawSelectionText;
    qzAfxData.colorGrayText = kDrawGray;
    qzAfxData.colorHilite = kDrawHilite;
    qzAfxData.colorShadow = kDrawShadow;
    qzAfxData.colorDarkShadow = kDrawDarkShadow;
    qzAfxData.colorFace = kDrawFace;
    qzAfxData.colorXPBorder = kDrawXPBorder;
    qzAfxData.colorXPBarFace = kDrawXPBarFace;
    qzAfxData.colorXPMenuBack = kDrawXPMenuBack;
    qzAfxData.colorXPHot = kDrawXPHot;
}

void InitPopup(HWND window, HMENU popup, UINT index, BOOL sysMenu)
{
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(index, sysMenu));
}

void EndMenuLoop(HWND window)
{
    SendMessageA(window, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
}

BEGIN_MESSAGE_MAP(MenuFrame, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

int MenuFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_bAutoMenuEnable = FALSE;
    if (!m_wndMenuBar.CreateEx(this, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR) ||
        !m_wndMenuBar.LoadMenuBar(IDR_TEST_MAIN_MENU))
        return -1;
    EnableDocking(CBRS_ALIGN_ANY);
    m_wndMenuBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndMenuBar);
    m_coolMenu.Install(this);
    const UINT toolbars[] = {IDR_TEST_TOOLBAR};
    m_coolMenu.LoadToolbars(toolbars, 1);
    if (!hiddenCommands.empty()) {
        m_wndMenuBar.AddHiddenCommands(hiddenCommands.data(), static_cast<int>(hiddenCommands.size()));
        m_coolMenu.AddHiddenCommands(hiddenCommands.data(), static_cast<int>(hiddenCommands.size()));
    }
    return 0;
}

BOOL MenuFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_wndMenuBar.m_hWnd && m_wndMenuBar.TranslateFrameMessage(pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

BOOL MenuFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nCode == CN_COMMAND && !pHandlerInfo && nID != 0) {
        commands.push_back(nID);
        return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT MenuFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (std::find(watched.begin(), watched.end(), message) != watched.end())
        received.push_back(MSG{m_hWnd, message, wParam, lParam, 0, {}});
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

void MenuFrameTest::SetUp()
{
    CreateFrame();
}

void MenuFrameTest::CreateFrame()
{
    frame = new MenuFrame;
    frame->hiddenCommands = hiddenCommands;
    // A frame whose window cannot be made has deleted itself.
    if (!frame->Create(nullptr, "Menu test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 400))) {
        frame = nullptr;
        FAIL() << "no frame";
    }
    frame->SetForegroundWindow();
    PumpPending();
}

void MenuFrameTest::TearDown()
{
    if (frame)
        frame->DestroyWindow();
    frame = nullptr;
    PumpPending();
}

} // namespace toolkit_test
