// The tab control with views, in a frame with a view of its own: tabs and records in
// step however tabs are added and removed, the selection that follows a removal, the tab
// keys, the owner told before and after a click changes the selection, the frame's
// active view following the tabs (also when the previous view has gone), commands routed
// to the selected view first, condensing, tips, the set-up and the context menu, and
// views that cannot be made.
#include "tab_test_support.h"

#include "control_bar_test_support.h"
#include "toolkit_test_resources.h"
#include "toolkit/foundation/QZMessages.h"

#include <cstring>

using namespace toolkit_test;

namespace {

constexpr UINT kViewCommand = 7601;
constexpr UINT kTabCommand = 7602;

// A view for tabs that counts its initial updates and handles one command.
class TabTestView : public CView {
    DECLARE_DYNCREATE(TabTestView)
public:
    int initialUpdates = 0;
    int commands = 0;
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { ++initialUpdates; }
    afx_msg void OnViewCommand() { ++commands; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TabTestView, CView)
BEGIN_MESSAGE_MAP(TabTestView, CView)
    ON_COMMAND(kViewCommand, OnViewCommand)
END_MESSAGE_MAP()

class OtherTabView : public CView {
    DECLARE_DYNCREATE(OtherTabView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(OtherTabView, CView)

// Records what the tab control does around a selection change, in order.
std::vector<std::string> g_tabLog;

// The tab control under test: handles one command of its own and logs redraw switching.
class LoggingTabCtrl : public CQZTabCtrl {
public:
    int commands = 0;
    afx_msg void OnTabCommand() { ++commands; }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETREDRAW)
            g_tabLog.push_back(wParam ? "redraw on" : "redraw off");
        return CQZTabCtrl::WindowProc(message, wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(LoggingTabCtrl, CQZTabCtrl)
    ON_COMMAND(kTabCommand, OnTabCommand)
END_MESSAGE_MAP()

// The tab control's owner: logs the selection messages with their arguments.
class TabOwner : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_QZ_TABCHANGING || message == WM_QZ_TABCHANGED) {
            g_tabLog.push_back(std::string(message == WM_QZ_TABCHANGING ? "changing " : "changed ") +
                               std::to_string(wParam) + (lParam == reinterpret_cast<LPARAM>(s_tab) ? " tab" : ""));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    static inline CWnd* s_tab = nullptr;
};

// A frame with a view of its own (active) and a tab control in it.
class TabCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_tabLog.clear();
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "tab frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 600, 400)));
        frameView = new TabTestView;
        ASSERT_TRUE(frameView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 200, 600, 350), frame,
                                      AFX_IDW_PANE_FIRST));
        frame->SetActiveView(frameView, FALSE);
        ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE | TCS_TOOLTIPS, CRect(0, 0, 400, 200), frame, kTabId));
        tab.SetOwner(&owner);
        TabOwner::s_tab = &tab;
    }
    void TearDown() override
    {
        tab.DestroyWindow();
        owner.DestroyWindow();
        if (::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        PumpPending();
    }
    // Adds views of TabTestView labelled with the texts.
    void AddViews(std::initializer_list<const char*> labels)
    {
        for (const char* label : labels)
            ASSERT_TRUE(tab.AddTabView(label, RUNTIME_CLASS(TabTestView)));
    }
    std::string TabText(int index)
    {
        char text[64] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        return tab.GetItem(index, &item) ? text : "(none)";
    }
    std::vector<std::string> TabTexts()
    {
        std::vector<std::string> texts;
        for (int i = 0; i < tab.GetItemCount(); ++i)
            texts.push_back(TabText(i));
        return texts;
    }
    std::vector<std::string> RecordTexts()
    {
        std::vector<std::string> texts;
        for (int i = 0; tab.GetTabText(i); ++i)
            texts.push_back(tab.GetTabText(i));
        return texts;
    }
    // Clicks a tab as the user does.
    void Click(int index)
    {
        CRect item;
        ASSERT_TRUE(tab.GetItemRect(index, &item));
        const LPARAM at = MAKELPARAM(item.CenterPoint().x, item.CenterPoint().y);
        tab.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        tab.SendMessage(WM_LBUTTONUP, 0, at);
    }

    CFrameWnd* frame = nullptr;
    TabTestView* frameView = nullptr;
    TabOwner owner;
    LoggingTabCtrl tab;
};

} // namespace

TEST_F(TabCtrlTest, TabsAndRecordsStayInTheOrderOfAdding)
{
    AddViews({"One", "Two", "Three"});
    EXPECT_EQ((std::vector<std::string>{"One", "Two", "Three"}), TabTexts());
    EXPECT_EQ(TabTexts(), RecordTexts());
    EXPECT_EQ(2, tab.GetCurSel());
    CWnd* third = tab.GetTabWindow(2);
    ASSERT_NE(nullptr, third);
    EXPECT_TRUE(third->IsWindowVisible());
    EXPECT_FALSE(tab.GetTabWindow(0)->IsWindowVisible());
    EXPECT_EQ(&tab, third->GetParent());

    CWnd zero;
    ASSERT_TRUE(zero.CreateEx(0, nullptr, "zero", WS_CHILD, 0, 0, 10, 10, frame->m_hWnd, nullptr));
    ASSERT_TRUE(tab.AddTabWindow("Zero", &zero, 0));
    EXPECT_EQ((std::vector<std::string>{"Zero", "One", "Two", "Three"}), TabTexts());
    EXPECT_EQ(TabTexts(), RecordTexts());
    EXPECT_EQ(0, tab.GetCurSel());
    EXPECT_EQ(&zero, tab.GetSelectedWindow());
    EXPECT_EQ(&tab, zero.GetParent()) << "the tab control adopts the window";
    EXPECT_TRUE(zero.IsWindowVisible());
    EXPECT_FALSE(third->IsWindowVisible());
    tab.ClearTabs();
}

TEST_F(TabCtrlTest, AnIndexOutsideTheTabsAddsAtTheEndForTabAndRecord)
{
    AddViews({"One", "Two"});
    struct Case {
        const char* why;
        int index;
    };
    const Case cases[] = {{"past the end", 7}, {"below -1", -5}, {"the count itself", 4}};
    std::vector<std::string> expected = {"One", "Two"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CWnd* wnd = new CWnd;
        ASSERT_TRUE(wnd->CreateEx(0, nullptr, c.why, WS_CHILD, 0, 0, 10, 10, frame->m_hWnd, nullptr));
        ASSERT_TRUE(tab.InsertTab(c.why, wnd, c.index));
        expected.push_back(c.why);
        EXPECT_EQ(expected, TabTexts());
        EXPECT_EQ(expected, RecordTexts());
        const int last = tab.GetItemCount() - 1;
        EXPECT_EQ(wnd, tab.GetTabWindow(last)) << "the last tab shows its own window";
        EXPECT_EQ(last, tab.GetCurSel());
        tab.RemoveTab(last, TRUE);
        delete wnd;
        expected.pop_back();
    }
}

TEST_F(TabCtrlTest, RemovingATabSelectsTheOneBeforeItOrTheNewFirst)
{
    struct Case {
        int removed;
        int selectedAfter;
        const char* selectedText;
    };
    const Case cases[] = {{0, 0, "Two"}, {1, 0, "One"}, {2, 1, "Two"}};
    for (const Case& c : cases) {
        SCOPED_TRACE("removed " + std::to_string(c.removed));
        AddViews({"One", "Two", "Three"});
        tab.SelectTab(c.removed);
        CWnd* removed = tab.GetTabWindow(c.removed);
        const HWND removedWindow = removed->m_hWnd;
        ASSERT_TRUE(tab.RemoveTab(c.removed, TRUE));
        EXPECT_FALSE(::IsWindow(removedWindow));
        EXPECT_EQ(2, tab.GetItemCount());
        EXPECT_EQ(c.selectedAfter, tab.GetCurSel());
        EXPECT_EQ(c.selectedText, TabText(c.selectedAfter));
        EXPECT_EQ(TabTexts(), RecordTexts());
        EXPECT_TRUE(tab.GetSelectedWindow()->IsWindowVisible());
        tab.ClearTabs();
        EXPECT_EQ(0, tab.GetItemCount());
    }
    EXPECT_FALSE(tab.RemoveTab(0, TRUE)) << "no record, nothing to remove";
}

TEST_F(TabCtrlTest, RemovingWithoutDestroyingHidesTheWindowAndFindsByWindowAndClass)
{
    AddViews({"One"});
    ASSERT_TRUE(tab.AddTabView("Other", RUNTIME_CLASS(OtherTabView)));
    CWnd* other = tab.FindTabWindow(RUNTIME_CLASS(OtherTabView));
    ASSERT_NE(nullptr, other);
    EXPECT_STREQ("Other", tab.GetTabTextOf(RUNTIME_CLASS(OtherTabView)));
    EXPECT_TRUE(tab.HasTabWindow(other));
    tab.SelectTabClass(RUNTIME_CLASS(TabTestView));
    EXPECT_EQ(0, tab.GetCurSel());
    tab.SelectTabWindow(other);
    EXPECT_EQ(1, tab.GetCurSel());

    ASSERT_TRUE(tab.RemoveTabClass(RUNTIME_CLASS(OtherTabView), FALSE));
    EXPECT_TRUE(::IsWindow(other->m_hWnd));
    EXPECT_FALSE(other->IsWindowVisible());
    EXPECT_FALSE(tab.HasTabWindow(other));
    EXPECT_FALSE(tab.RemoveTabWindow(other, TRUE)) << "no longer a tab";
    EXPECT_EQ(nullptr, tab.GetTabTextOf(RUNTIME_CLASS(OtherTabView)));
    EXPECT_EQ(nullptr, tab.GetTabText(-1));
    other->DestroyWindow();
}

TEST_F(TabCtrlTest, CtrlTabCtrlShiftTabAndF6SwitchTabsAndWrap)
{
    AddViews({"One", "Two", "Three"});
    struct Case {
        const char* why;
        int from;
        UINT key;
        bool ctrl;
        bool shift;
        int to;  // -1: the key is not the tab control's
    };
    const Case cases[] = {
        {"Ctrl+Tab on the last goes to the first", 2, VK_TAB, true, false, 0},
        {"Ctrl+Tab goes to the next", 0, VK_TAB, true, false, 1},
        {"Ctrl+Shift+Tab on the first goes to the last", 0, VK_TAB, true, true, 2},
        {"F6 alone goes to the next", 1, VK_F6, false, false, 2},
        {"Shift+F6 goes back", 1, VK_F6, false, true, 0},
        {"Ctrl+F6 goes to the next as well", 2, VK_F6, true, false, 0},
        {"Tab alone is left to the dialog keys", 1, VK_TAB, false, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        tab.SelectTab(c.from);
        BYTE keys[256] = {};
        keys[VK_CONTROL] = c.ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = c.shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg = {tab.m_hWnd, WM_KEYDOWN, c.key, 0};
        const BOOL taken = tab.PreTranslateMessage(&msg);
        EXPECT_EQ(c.to != -1, taken != FALSE);
        EXPECT_EQ(c.to == -1 ? c.from : c.to, tab.GetCurSel());
        if (c.to != -1) {
            EXPECT_EQ(tab.m_hWnd, ::GetFocus());
        }
    }
    BYTE none[256] = {};
    SetKeyboardState(none);
}

TEST_F(TabCtrlTest, AClickTellsTheOwnerBeforeAndAfterWithoutRedrawingBetween)
{
    AddViews({"One", "Two"});
    PumpPending();  // the set-up takes the frame
    g_tabLog.clear();
    Click(0);
    EXPECT_EQ((std::vector<std::string>{"redraw off", "changing 1000 tab", "changed 1000 tab", "redraw on"}),
              g_tabLog);
    EXPECT_EQ(0, tab.GetCurSel());
    CView* first = static_cast<CView*>(tab.GetTabWindow(0));
    EXPECT_TRUE(first->IsWindowVisible());
    EXPECT_FALSE(tab.GetTabWindow(1)->IsWindowVisible());
    EXPECT_EQ(first, frame->GetActiveView()) << "a view's tab makes it the frame's active view";
    EXPECT_EQ(frameView, tab.GetPrevFrameView());

    // A tab whose window is no view gives the frame its own view back.
    CWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, nullptr, "plain", WS_CHILD, 0, 0, 10, 10, frame->m_hWnd, nullptr));
    ASSERT_TRUE(tab.AddTabWindow("Plain", &plain));
    tab.SelectTab(0);
    Click(2);
    EXPECT_EQ(frameView, frame->GetActiveView());
    EXPECT_EQ(nullptr, tab.GetPrevFrameView()) << "given back and forgotten";
    tab.ClearTabs();
}

namespace {

// A view whose memory is poisoned when it is freed, and kept: reading the freed object
// finds the handle of a living window and a vtable that leads nowhere.
class PoisonedView : public CView {
    DECLARE_DYNCREATE(PoisonedView)
public:
    PoisonedView() { s_hwndOffset = reinterpret_cast<char*>(&m_hWnd) - reinterpret_cast<char*>(this); }
    void OnDraw(CDC*) override {}
    static void operator delete(void* block, size_t size)
    {
        std::memset(block, 0xDD, size);
        *reinterpret_cast<HWND*>(static_cast<char*>(block) + s_hwndOffset) = s_livingWindow;
        s_kept.push_back(block);
    }
    static inline std::ptrdiff_t s_hwndOffset = 0;
    static inline HWND s_livingWindow = nullptr;
    static inline std::vector<void*> s_kept;
};
IMPLEMENT_DYNCREATE(PoisonedView, CView)

} // namespace

TEST_F(TabCtrlTest, APreviousViewDestroyedMeanwhileIsNeverTouched)
{
    auto* previous = new PoisonedView;
    ASSERT_TRUE(previous->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 350, 600, 380), frame, 5));
    frame->SetActiveView(previous, FALSE);
    AddViews({"One", "Two"});
    PumpPending();
    Click(0);
    ASSERT_EQ(tab.GetTabWindow(0), frame->GetActiveView());
    PoisonedView::s_livingWindow = frameView->m_hWnd;
    previous->DestroyWindow();  // frees itself, poisoned

    ASSERT_TRUE(tab.RemoveTab(0, TRUE));
    EXPECT_EQ(nullptr, frame->GetActiveView()) << "the previous view has gone: no active view";
    EXPECT_EQ(nullptr, tab.GetPrevFrameView());
    tab.ClearTabs();
}

TEST_F(TabCtrlTest, ACommandGoesToTheSelectedViewFirstThenToTheTabControl)
{
    AddViews({"One", "Two"});
    auto* selected = static_cast<TabTestView*>(tab.GetSelectedWindow());
    EXPECT_TRUE(tab.OnCmdMsg(kViewCommand, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(1, selected->commands);
    EXPECT_EQ(0, tab.commands);
    EXPECT_TRUE(tab.OnCmdMsg(kTabCommand, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(1, tab.commands) << "the view does not handle it: the tab control's own routing does";
    EXPECT_EQ(0, static_cast<TabTestView*>(tab.GetTabWindow(0))->commands) << "only the selected view is asked";
    tab.ClearTabs();
}

TEST_F(TabCtrlTest, TheSetUpTakesFrameAndOwnerAndGivesEveryViewOneInitialUpdate)
{
    tab.SetInitViews(TRUE);
    AddViews({"Before"});  // while the set-up is pending: the set-up sends the update
    EXPECT_EQ(0, static_cast<TabTestView*>(tab.GetTabWindow(0))->initialUpdates);
    PumpPending();
    EXPECT_EQ(frame, tab.m_pFrame);
    EXPECT_EQ(frame, tab.m_pViewOwner);
    EXPECT_EQ(qzAfxData.fontCaption.m_hObject, reinterpret_cast<HGDIOBJ>(tab.SendMessage(WM_GETFONT)));
    AddViews({"After"});  // made after the set-up: updated at once
    EXPECT_EQ(1, static_cast<TabTestView*>(tab.GetTabWindow(0))->initialUpdates);
    EXPECT_EQ(1, static_cast<TabTestView*>(tab.GetTabWindow(1))->initialUpdates);
    EXPECT_EQ(frame->m_hWnd, tab.GetTabWindow(1)->m_hWndOwner) << "views made for tabs are owned by the parent";
    EXPECT_EQ(static_cast<int>(AFX_IDW_PANE_FIRST + 1), tab.GetTabWindow(1)->GetDlgCtrlID());
    CRect page;
    tab.GetPageRect(page);
    CRect placed;
    tab.GetTabWindow(1)->GetWindowRect(&placed);
    tab.ScreenToClient(&placed);
    EXPECT_EQ(page, placed) << "the selected view lies on the page";

    ASSERT_TRUE(tab.ChangeTabStyle(0, TCS_VERTICAL | TCS_MULTILINE));
    EXPECT_EQ(qzAfxData.fontVert.m_hObject, reinterpret_cast<HGDIOBJ>(tab.SendMessage(WM_GETFONT)));
    ASSERT_TRUE(tab.ChangeTabStyle(0, TCS_RIGHT));
    EXPECT_EQ(qzAfxData.fontVertRev.m_hObject, reinterpret_cast<HGDIOBJ>(tab.SendMessage(WM_GETFONT)));
    tab.ClearTabs();
}

TEST_F(TabCtrlTest, HidingTheControlGivesTheFrameItsPreviousView)
{
    AddViews({"One", "Two"});
    PumpPending();
    Click(0);
    ASSERT_EQ(tab.GetTabWindow(0), frame->GetActiveView());
    tab.ShowWindow(SW_HIDE);
    EXPECT_EQ(frameView, frame->GetActiveView());
    tab.ClearTabs();
}

TEST_F(TabCtrlTest, CondensingShortensTheWidestTextFirstAndOffGivesTheFullTexts)
{
    const char* kLong = "An extremely long tab label indeed";
    tab.MoveWindow(0, 0, 160, 100);
    tab.SetFont(&qzAfxData.fontCaption);
    AddViews({kLong, "Short"});
    tab.SetCondense(TRUE);
    const std::string condensed = TabText(0);
    EXPECT_EQ("Short", TabText(1)) << "the narrower tab keeps its text";
    ASSERT_GT(condensed.size(), 3u);
    EXPECT_EQ("...", condensed.substr(condensed.size() - 3));
    const std::string kept = condensed.substr(0, condensed.size() - 3);
    EXPECT_EQ(0, std::string(kLong).compare(0, kept.size(), kept)) << "the label's start, cut at the end";
    EXPECT_EQ(kLong, std::string(tab.GetTabText(0))) << "the record keeps the full text";

    // The estimate the control's font gives: the texts fit now, one more character would not.
    CClientDC dc(&tab);
    CFont* old = dc.SelectObject(&qzAfxData.fontCaption);
    auto width = [&](const std::string& text) {
        return dc.GetTextExtent(text.c_str(), static_cast<int>(text.size())).cx + 12;
    };
    CRect client;
    tab.GetClientRect(&client);
    EXPECT_LE(width(condensed) + width("Short") + 4, client.Width());
    const std::string oneMore = std::string(kLong).substr(0, kept.size() + 1) + "...";
    EXPECT_GT(width(oneMore) + width("Short") + 4, client.Width());
    dc.SelectObject(old);

    tab.SetCondense(FALSE);
    EXPECT_EQ((std::vector<std::string>{kLong, "Short"}), TabTexts());
    tab.ClearTabs();
}

// A tab of one character takes a pixel more than its text and margin: the tabs fit
// exactly when the control has room for that pixel, and not a pixel narrower.
TEST_F(TabCtrlTest, ASingleCharacterTabIsCountedAPixelWiderThanItsText)
{
    const char* kLong = "A label long enough to shorten";
    tab.SetFont(&qzAfxData.fontCaption);
    AddViews({"W", kLong});
    CClientDC dc(&tab);
    CFont* old = dc.SelectObject(&qzAfxData.fontCaption);
    const int needed = (dc.GetTextExtent("W", 1).cx + 12 + 1) +
                       (dc.GetTextExtent(kLong, lstrlenA(kLong)).cx + 12) + 4;
    dc.SelectObject(old);
    struct Case {
        const char* why;
        int clientWidth;
        bool condensed;
    };
    const Case cases[] = {
        {"room for the single character's extra pixel", needed, false},
        {"a pixel less", needed - 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        tab.SetCondense(FALSE);
        CRect window;
        CRect client;
        tab.GetWindowRect(&window);
        tab.GetClientRect(&client);
        tab.MoveWindow(0, 0, c.clientWidth + window.Width() - client.Width(), 100);
        tab.GetClientRect(&client);
        ASSERT_EQ(c.clientWidth, client.Width());
        tab.SetCondense(TRUE);
        EXPECT_EQ("W", TabText(0)) << "the narrower tab keeps its text";
        EXPECT_EQ(c.condensed, TabText(1) != kLong) << TabText(1);
    }
    tab.ClearTabs();
}

TEST_F(TabCtrlTest, EachTabHasItsTipAndTipsFollowRenumbering)
{
    AddViews({"One", "Two", "Three"});
    CToolTipCtrl* tip = tab.GetTipCtrl();
    ASSERT_NE(nullptr, tip);
    auto tipText = [&](UINT id) {
        CString text;
        tip->GetText(text, &tab, id);
        return std::string(text);
    };
    EXPECT_EQ("Two", tipText(1));
    tab.SetTabTip(1, "The second view");
    tab.SetTabTipOf(RUNTIME_CLASS(TabTestView), "The first view");
    EXPECT_EQ("The second view", tipText(1));
    EXPECT_EQ("The first view", tipText(0));
    ASSERT_TRUE(tab.RemoveTab(0, TRUE));
    EXPECT_EQ("The second view", tipText(0)) << "the second tab is now tool 0";
    EXPECT_EQ("Three", tipText(1));
    EXPECT_TRUE(tab.ActivateTabTips(FALSE));
    tab.ClearTabs();
}

TEST_F(TabCtrlTest, ARightClickShowsTheTabMenuForTheFrame)
{
    PumpPending();
    {
        MenuTrackRecorder tracker;
        tab.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 10));
        EXPECT_EQ(0, MenuTrackRecorder::menu().tracked) << "no menu set";
    }
    tab.SetTabMenu(IDR_TEST_CONTEXT_MENU, 1);
    EXPECT_EQ(static_cast<UINT>(IDR_TEST_CONTEXT_MENU), tab.GetTabMenu());
    MenuTrackRecorder tracker;
    tab.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 10));
    const TrackedMenu& menu = MenuTrackRecorder::menu();
    ASSERT_EQ(1, menu.tracked);
    EXPECT_EQ((std::vector<std::string>{"Second"}), menu.items);
    EXPECT_EQ(frame->m_hWnd, menu.owner);
    CPoint screen(20, 10);
    tab.ClientToScreen(&screen);
    EXPECT_EQ(screen, CPoint(menu.at));
}

namespace {

int g_made = 0;
int g_freed = 0;

// Window classes whose windows cannot be made, counting their objects.
class RefusedTabView : public CView {
    DECLARE_DYNCREATE(RefusedTabView)
public:
    RefusedTabView() { ++g_made; }
    ~RefusedTabView() override { ++g_freed; }
    void OnDraw(CDC*) override {}
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RefusedTabView, CView)
BEGIN_MESSAGE_MAP(RefusedTabView, CView)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class RefusedTabWindow : public CWnd {
    DECLARE_DYNCREATE(RefusedTabWindow)
public:
    RefusedTabWindow() { ++g_made; }
    ~RefusedTabWindow() override { ++g_freed; }
    afx_msg int OnCreate(LPCREATESTRUCT) { return -1; }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(RefusedTabWindow, CWnd)
BEGIN_MESSAGE_MAP(RefusedTabWindow, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

class UnmadeTabWindow : public CWnd {
    DECLARE_DYNCREATE(UnmadeTabWindow)
public:
    UnmadeTabWindow() { ++g_made; }
    ~UnmadeTabWindow() override { ++g_freed; }
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(UnmadeTabWindow, CWnd)

} // namespace

TEST_F(TabCtrlTest, AViewThatCannotBeMadeAddsNothingAndLeaksNothing)
{
    struct Case {
        const char* why;
        CRuntimeClass* viewClass;
    };
    const Case cases[] = {
        {"a view whose window refuses (it frees itself)", RUNTIME_CLASS(RefusedTabView)},
        {"a plain window whose window refuses", RUNTIME_CLASS(RefusedTabWindow)},
        {"a plain window never made", RUNTIME_CLASS(UnmadeTabWindow)},
        {"a class that cannot be made", RUNTIME_CLASS(CView)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        g_made = g_freed = 0;
        EXPECT_FALSE(tab.AddTabView("Never", c.viewClass));
        EXPECT_EQ(0, tab.GetItemCount());
        EXPECT_EQ(nullptr, tab.GetTabText(0));
        EXPECT_EQ(g_made, g_freed) << "every object made is freed, once";
    }
    EXPECT_EQ(nullptr, ::GetWindow(tab.m_hWnd, GW_CHILD)) << "no window left behind";
}
