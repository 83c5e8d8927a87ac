// Frames built through a single-document template: command routing, menu and idle
// updates, accelerators, layout with a status bar, status texts, titles, closing.
#include "framework/Framework.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using test_support::PumpPending;

namespace {

constexpr UINT kViewOnly = 1001;
constexpr UINT kShared = 1002;
constexpr UINT kDocOnly = 1003;
constexpr UINT kFrameOnly = 1004;
constexpr UINT kAppOnly = 1005;
constexpr UINT kNoHandler = 1006;
constexpr UINT kDisabled = 1007;
constexpr UINT kAccelerated = 1008;
constexpr UINT kChecked = 1009;
// Handled by everyone but the view, and by the frame and the application only.
constexpr UINT kDocFrameApp = 1010;
constexpr UINT kFrameApp = 1011;
constexpr UINT kTestBarId = AFX_IDW_TOOLBAR + 5;

std::vector<std::string> g_log;
bool g_docGone = false;
bool g_viewGone = false;
bool g_frameGone = false;

class TestDoc : public CDocument {
    DECLARE_DYNCREATE(TestDoc)
public:
    ~TestDoc() override { g_docGone = true; }
    afx_msg void OnShared() { g_log.push_back("doc shared"); }
    afx_msg void OnDocOnly() { g_log.push_back("doc"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestDoc, CDocument)
BEGIN_MESSAGE_MAP(TestDoc, CDocument)
    ON_COMMAND(kShared, OnShared)
    ON_COMMAND(kDocOnly, OnDocOnly)
    ON_COMMAND(kDocFrameApp, OnShared)
END_MESSAGE_MAP()

class TestView : public CView {
    DECLARE_DYNCREATE(TestView)
public:
    int initialUpdates = 0;
    ~TestView() override { g_viewGone = true; }
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override { ++initialUpdates; }
    afx_msg void OnShared() { g_log.push_back("view shared"); }
    afx_msg void OnViewOnly() { g_log.push_back("view"); }
    afx_msg void OnDisabled() { g_log.push_back("disabled ran"); }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestView, CView)
BEGIN_MESSAGE_MAP(TestView, CView)
    ON_COMMAND(kShared, OnShared)
    ON_COMMAND(kViewOnly, OnViewOnly)
    ON_COMMAND(kDisabled, OnDisabled)
    ON_UPDATE_COMMAND_UI(kDisabled, OnUpdateDisabled)
    ON_UPDATE_COMMAND_UI(kChecked, OnUpdateChecked)
END_MESSAGE_MAP()

// A bar with a fixed height that records its idle updates.
class TestBar : public CControlBar {
public:
    int updates = 0;
    BOOL lastDisableIfNoHandler = FALSE;
    CFrameWnd* lastTarget = nullptr;
    BOOL Create(CWnd* parent)
    {
        m_dwStyle = CBRS_TOP;
        return CWnd::Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 0, 0), parent, kTestBarId);
    }
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
        size.cy = 24;
        return size;
    }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override
    {
        ++updates;
        lastTarget = pTarget;
        lastDisableIfNoHandler = bDisableIfNoHndler;
    }
};

class TestFrame : public CFrameWnd {
    DECLARE_DYNCREATE(TestFrame)
public:
    CStatusBar m_wndStatusBar;
    ~TestFrame() override { g_frameGone = true; }
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        if (CFrameWnd::OnCreate(cs) == -1)
            return -1;
        return m_wndStatusBar.Create(this) ? 0 : -1;
    }
    afx_msg void OnShared() { g_log.push_back("frame shared"); }
    afx_msg void OnFrameOnly() { g_log.push_back("frame"); }
    afx_msg void OnAccelerated() { g_log.push_back("accelerated"); }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(TestFrame, CFrameWnd)
BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_COMMAND(kShared, OnShared)
    ON_COMMAND(kFrameOnly, OnFrameOnly)
    ON_COMMAND(kDocFrameApp, OnShared)
    ON_COMMAND(kFrameApp, OnShared)
    ON_COMMAND(kAccelerated, OnAccelerated)
END_MESSAGE_MAP()

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("FrameTest") {}
    afx_msg void OnShared() { g_log.push_back("app shared"); }
    afx_msg void OnAppOnly() { g_log.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(kShared, OnShared)
    ON_COMMAND(kAppOnly, OnAppOnly)
    ON_COMMAND(kDocFrameApp, OnShared)
    ON_COMMAND(kFrameApp, OnShared)
END_MESSAGE_MAP()

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        g_docGone = g_viewGone = g_frameGone = false;
        auto* docTemplate =
            new CSingleDocTemplate(128, RUNTIME_CLASS(TestDoc), RUNTIME_CLASS(TestFrame), RUNTIME_CLASS(TestView));
        docTemplate->m_strDocStrings = "Test Frame\n\n\n\n\nTest.Document\nTest Document";
        app.AddDocTemplate(docTemplate);
        app.OnFileNew();
        frame = dynamic_cast<TestFrame*>(app.m_pMainWnd);
        ASSERT_NE(nullptr, frame);
        view = dynamic_cast<TestView*>(frame->GetActiveView());
        ASSERT_NE(nullptr, view);
        frame->MoveWindow(0, 0, 400, 300);
        PumpPending();
    }

    void TearDown() override
    {
        if (app.m_pMainWnd)
            app.m_pMainWnd->DestroyWindow();
        PumpPending();
    }

    CRect ChildRect(CWnd* child)
    {
        CRect rect;
        child->GetWindowRect(&rect);
        frame->ScreenToClient(&rect);
        return rect;
    }

    void Command(UINT id) { frame->SendMessage(WM_COMMAND, id); }

    TestApp app;
    TestFrame* frame = nullptr;
    TestView* view = nullptr;
};

} // namespace

TEST_F(FrameTest, NewFileBuildsDocumentFrameAndViewThroughTheTemplate)
{
    CDocument* document = frame->GetActiveDocument();
    ASSERT_NE(nullptr, document);
    EXPECT_TRUE(document->IsKindOf(RUNTIME_CLASS(TestDoc)));
    EXPECT_EQ(document, view->GetDocument());
    EXPECT_EQ(frame, view->GetParentFrame());
    EXPECT_EQ(AFX_IDW_PANE_FIRST, view->GetDlgCtrlID());
    EXPECT_EQ(1, view->initialUpdates);
    EXPECT_TRUE(frame->IsWindowVisible());
    CString title;
    frame->GetWindowText(title);
    EXPECT_STREQ("Untitled - Test Frame", title);
}

TEST_F(FrameTest, DocumentTitleFollowsOrPrecedesTheFrameTitle)
{
    CString title;
    frame->GetActiveDocument()->SetTitle("photo.jpg");
    frame->GetWindowText(title);
    EXPECT_STREQ("photo.jpg - Test Frame", title);
    frame->ModifyStyle(FWS_PREFIXTITLE, 0);
    frame->GetActiveDocument()->SetTitle("photo.jpg");
    frame->GetWindowText(title);
    EXPECT_STREQ("Test Frame - photo.jpg", title);
    frame->OnUpdateFrameTitle(FALSE);
    frame->GetWindowText(title);
    EXPECT_STREQ("Test Frame", title);
}

TEST_F(FrameTest, CommandsRouteViewThenDocumentThenFrameThenApplication)
{
    struct Case { const char* why; UINT id; const char* handledBy; };
    const Case cases[] = {
        {"everyone handles it: the view is first", kShared, "view shared"},
        {"all but the view: the document comes before the frame", kDocFrameApp, "doc shared"},
        {"frame and application: the frame comes first", kFrameApp, "frame shared"},
        {"only the view", kViewOnly, "view"},
        {"only the document", kDocOnly, "doc"},
        {"only the frame", kFrameOnly, "frame"},
        {"only the application", kAppOnly, "app"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        g_log.clear();
        Command(c.id);
        ASSERT_EQ(1u, g_log.size());
        EXPECT_EQ(c.handledBy, g_log[0]);
    }
}

TEST_F(FrameTest, DisabledCommandIsNotCarriedOut)
{
    Command(kDisabled);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(FrameTest, OpeningMenuUpdatesItsItemsThroughCmdUI)
{
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, kViewOnly, "handled");
    AppendMenuA(popup, MF_STRING, kNoHandler, "no handler");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING, kDisabled, "disabled by its update handler");
    AppendMenuA(popup, MF_STRING, kChecked, "checked by its update handler");
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), MAKELPARAM(0, FALSE));
    EXPECT_EQ(0u, GetMenuState(popup, kViewOnly, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, GetMenuState(popup, kNoHandler, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, GetMenuState(popup, kDisabled, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_NE(0u, GetMenuState(popup, kChecked, MF_BYCOMMAND) & MF_CHECKED);
    DestroyMenu(popup);
}

TEST_F(FrameTest, AcceleratorFromAChildWindowReachesTheFrame)
{
    ACCEL accel = {FVIRTKEY, VK_F5, static_cast<WORD>(kAccelerated)};
    frame->m_hAccelTable = CreateAcceleratorTableA(&accel, 1);
    MSG key = {view->m_hWnd, WM_KEYDOWN, VK_F5, 0x003F0001};
    EXPECT_TRUE(app.PreTranslateMessage(&key));
    ASSERT_EQ(1u, g_log.size());
    EXPECT_EQ("accelerated", g_log[0]);
    MSG other = {view->m_hWnd, WM_KEYDOWN, VK_F6, 0x00400001};
    EXPECT_FALSE(app.PreTranslateMessage(&other));
}

TEST_F(FrameTest, AcceleratorFromAnUnownedPopupReachesTheMainFrame)
{
    ACCEL accel = {FVIRTKEY, VK_F5, static_cast<WORD>(kAccelerated)};
    frame->m_hAccelTable = CreateAcceleratorTableA(&accel, 1);
    HWND popup = CreateWindowExA(0, "STATIC", "popup", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, popup);
    MSG key = {popup, WM_KEYDOWN, VK_F5, 0x003F0001};
    EXPECT_TRUE(app.PreTranslateMessage(&key));
    ASSERT_EQ(1u, g_log.size());
    EXPECT_EQ("accelerated", g_log[0]);
    DestroyWindow(popup);
}

TEST_F(FrameTest, LayoutPutsTheStatusBarAtTheBottomAndTheViewInTheRest)
{
    CRect client;
    frame->GetClientRect(&client);
    CRect status = ChildRect(&frame->m_wndStatusBar);
    CRect pane = ChildRect(view);
    EXPECT_EQ(client.bottom, status.bottom);
    EXPECT_EQ(client.left, status.left);
    EXPECT_EQ(client.right, status.right);
    EXPECT_GT(status.Height(), 0);
    EXPECT_EQ(client.top, pane.top);
    EXPECT_EQ(status.top, pane.bottom);
    EXPECT_EQ(client.Width(), pane.Width());
    // After a resize the same rules hold.
    frame->MoveWindow(0, 0, 500, 420);
    frame->GetClientRect(&client);
    EXPECT_EQ(client.bottom, ChildRect(&frame->m_wndStatusBar).bottom);
    EXPECT_EQ(ChildRect(&frame->m_wndStatusBar).top, ChildRect(view).bottom);
}

TEST_F(FrameTest, BarToggleCommandHidesAndShowsTheBar)
{
    EXPECT_EQ(&frame->m_wndStatusBar, frame->GetControlBar(AFX_IDW_STATUS_BAR));
    Command(AFX_IDW_STATUS_BAR);
    EXPECT_FALSE(frame->m_wndStatusBar.IsWindowVisible());
    CRect client;
    frame->GetClientRect(&client);
    EXPECT_EQ(client.bottom, ChildRect(view).bottom);
    Command(AFX_IDW_STATUS_BAR);
    EXPECT_TRUE(frame->m_wndStatusBar.IsWindowVisible());
    EXPECT_EQ(ChildRect(&frame->m_wndStatusBar).top, ChildRect(view).bottom);
}

TEST_F(FrameTest, DelayedLayoutRunsAtIdleTime)
{
    TestBar bar;
    ASSERT_TRUE(bar.Create(frame));
    frame->DelayRecalcLayout();
    EXPECT_EQ(0, ChildRect(view).top) << "nothing moves before idle time";
    app.OnIdle(0);
    EXPECT_EQ(24, ChildRect(view).top);
    EXPECT_EQ(0u, frame->m_nIdleFlags & CFrameWnd::idleLayout);
}

TEST_F(FrameTest, IdleUpdatesEachControlBarOfTheFrame)
{
    TestBar bar;
    ASSERT_TRUE(bar.Create(frame));
    EXPECT_EQ(&bar, frame->GetControlBar(kTestBarId));
    app.OnIdle(0);
    EXPECT_EQ(1, bar.updates);
    EXPECT_EQ(frame, bar.lastTarget);
    EXPECT_TRUE(bar.lastDisableIfNoHandler);
    bar.DestroyWindow();
    EXPECT_EQ(nullptr, frame->GetControlBar(kTestBarId));
}

TEST_F(FrameTest, StatusTextsGoToTheStatusBar)
{
    frame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>("Working"));
    CString text;
    frame->m_wndStatusBar.GetWindowText(text);
    EXPECT_STREQ("Working", text);
    frame->SetMessageText("Done");
    frame->m_wndStatusBar.GetWindowText(text);
    EXPECT_STREQ("Done", text);
    // A command's string holds its prompt, then its tooltip: only the prompt shows.
    frame->SetMessageText(7303);
    frame->m_wndStatusBar.GetWindowText(text);
    EXPECT_STREQ("Opens a picture", text);
}

TEST_F(FrameTest, DestroyedFrameDeletesItselfItsViewAndItsDocument)
{
    HWND frameWnd = frame->m_hWnd;
    frame->DestroyWindow();
    EXPECT_FALSE(IsWindow(frameWnd));
    EXPECT_TRUE(g_frameGone);
    EXPECT_TRUE(g_viewGone);
    EXPECT_TRUE(g_docGone);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    // The main window's end asks the loop to end.
    EXPECT_TRUE(PumpPending());
}

TEST_F(FrameTest, ClosingTheMainFrameClosesTheDocument)
{
    frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(g_frameGone);
    EXPECT_TRUE(g_docGone);
    EXPECT_TRUE(PumpPending());
}

TEST_F(FrameTest, ModifiedDocumentIsAskedAboutAndKeptUnlessTheUserDiscards)
{
    struct Case { const char* why; int answer; bool closes; };
    const Case cases[] = {
        {"cancel keeps everything open", IDCANCEL, false},
        {"yes cannot save here, so nothing is lost", IDYES, false},
        {"no discards the changes and closes", IDNO, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        test_support::MessageBoxRecorder recorder(c.answer);
        frame->GetActiveDocument()->SetModifiedFlag(TRUE);
        frame->SendMessage(WM_CLOSE);
        EXPECT_EQ(1, recorder.count());
        EXPECT_EQ("Save changes to Untitled?", recorder.text());
        EXPECT_EQ(c.closes, g_frameGone);
        EXPECT_EQ(c.closes, g_docGone);
        if (c.closes)
            break;
    }
    PumpPending();
}

TEST_F(FrameTest, ASessionEndAsksAboutChangesAsClosingDoes)
{
    struct Case { const char* why; int answer; LRESULT endsSession; };
    const Case cases[] = {
        {"cancel keeps the session from ending", IDCANCEL, FALSE},
        {"no lets it end", IDNO, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        test_support::MessageBoxRecorder recorder(c.answer);
        frame->GetActiveDocument()->SetModifiedFlag(TRUE);
        EXPECT_EQ(c.endsSession, frame->SendMessage(WM_QUERYENDSESSION, 0, 0));
        EXPECT_EQ(1, recorder.count());
        // The program itself goes only when the session does end.
        EXPECT_FALSE(g_frameGone);
    }
    frame->GetActiveDocument()->SetModifiedFlag(FALSE);
    test_support::MessageBoxRecorder recorder(IDCANCEL);
    EXPECT_EQ(TRUE, frame->SendMessage(WM_QUERYENDSESSION, 0, 0));
    EXPECT_EQ(0, recorder.count());
}

TEST_F(FrameTest, MenuSelectionTracksTheItemAndClosingTheMenuTheIdleMessage)
{
    // WM_SETMESSAGESTRING answers the id it replaces, which tells what the frame showed.
    auto setText = [&](LPCSTR text) {
        return frame->SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(text));
    };
    HMENU menu = CreatePopupMenu();
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(kViewOnly, MF_STRING), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(static_cast<LRESULT>(kViewOnly), setText("x"));
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, MF_SEPARATOR), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ(0, setText("x"));
    frame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(static_cast<LRESULT>(AFX_IDS_IDLEMESSAGE), setText("x"));
    DestroyMenu(menu);
}
