// The framework's tooltip manager and a control bar's pre-translation: one tooltip per
// thread switching tools as the mouse moves, the default tip text of a command, flyby
// prompts in the owner frame and dialog keys for a bar's controls.
#include "framework/Framework.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <vector>

using test_support::PumpPending;

namespace {

// String 7303 of the test resources: "Opens a picture\nOpen"; 7300 has no newline.
constexpr UINT kPromptAndTip = 7303;
constexpr UINT kPromptOnly = 7300;

// A message as it arrives from the queue: the window, the point in screen coordinates.
MSG TipsMouseMove(HWND window, POINT clientPoint)
{
    MSG msg = {};
    msg.hwnd = window;
    msg.message = WM_MOUSEMOVE;
    msg.lParam = MAKELPARAM(clientPoint.x, clientPoint.y);
    msg.pt = clientPoint;
    ::ClientToScreen(window, &msg.pt);
    return msg;
}

// The thread's tooltip control and its one tool, when it has one.
struct ToolSeen {
    int count = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT flags = 0;
};

ToolSeen CurrentTool()
{
    ToolSeen seen;
    CToolTipCtrl* tip = AfxGetThreadState()->m_pToolTip;
    if (!tip || !tip->m_hWnd)
        return seen;
    seen.count = tip->GetToolCount();
    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    if (seen.count > 0 && tip->SendMessage(TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&info))) {
        seen.hwnd = info.hwnd;
        seen.id = info.uId;
        seen.flags = info.uFlags;
    }
    return seen;
}

// Sends a tooltip's text request to window as a tooltip would; answers the text given back.
std::string AskTipText(CWnd& window, UINT_PTR idFrom, UINT flags, bool wide)
{
    if (wide) {
        NMTTDISPINFOW info = {};
        info.hdr.code = TTN_NEEDTEXTW;
        info.hdr.idFrom = idFrom;
        info.hdr.hwndFrom = window.m_hWnd;
        info.uFlags = flags;
        info.lpszText = info.szText;
        window.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        char narrow[100] = {};
        WideCharToMultiByte(CP_ACP, 0, info.lpszText, -1, narrow, sizeof narrow, nullptr, nullptr);
        return narrow;
    }
    NMTTDISPINFOA info = {};
    info.hdr.code = TTN_NEEDTEXTA;
    info.hdr.idFrom = idFrom;
    info.hdr.hwndFrom = window.m_hWnd;
    info.uFlags = flags;
    info.lpszText = info.szText;
    window.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info.lpszText;
}

// A bar with nothing to update, placed by hand.
class TipsBar : public CControlBar {
public:
    BOOL Create(CWnd* parent, DWORD barStyle, UINT id = 0xE900 - 1)
    {
        m_dwStyle = barStyle;
        return CWnd::Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 200, 30), parent, id);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

// A frame that records the status texts asked of it.
class StatusFrame : public CFrameWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> texts;
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam)
    {
        texts.emplace_back(WM_SETMESSAGESTRING, wParam);
        return CFrameWnd::OnSetMessageString(wParam, lParam);
    }
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam)
    {
        texts.emplace_back(WM_POPMESSAGESTRING, wParam);
        return CFrameWnd::OnPopMessageString(wParam, lParam);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(StatusFrame, CFrameWnd)
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
END_MESSAGE_MAP()

// A frame with a bar at its top that holds two buttons with command ids.
class BarInFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new StatusFrame;
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300)));
        ASSERT_TRUE(bar.Create(frame, CBRS_TOP | CBRS_FLYBY | CBRS_TOOLTIPS));
        ASSERT_TRUE(open.Create("Open", WS_VISIBLE, CRect(10, 5, 60, 25), &bar, kPromptAndTip));
        ASSERT_TRUE(other.Create("Other", WS_VISIBLE, CRect(70, 5, 120, 25), &bar, kPromptOnly));
        PumpPending();
        frame->texts.clear();
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        PumpPending();
    }

    StatusFrame* frame = nullptr;
    TipsBar bar;
    CButton open;
    CButton other;
};

} // namespace

TEST_F(BarInFrameTest, ToolTipFollowsTheControlUnderTheMouse)
{
    MSG overOpen = TipsMouseMove(open.m_hWnd, {5, 5});
    bar.PreTranslateMessage(&overOpen);
    ToolSeen seen = CurrentTool();
    ASSERT_EQ(1, seen.count);
    EXPECT_EQ(bar.m_hWnd, seen.hwnd);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(open.m_hWnd), seen.id);
    EXPECT_TRUE(seen.flags & TTF_IDISHWND);
    // The tooltip is owned by the bar's top-level window, not the bar.
    EXPECT_EQ(frame->m_hWnd, ::GetWindow(AfxGetThreadState()->m_pToolTip->m_hWnd, GW_OWNER));

    MSG overOther = TipsMouseMove(other.m_hWnd, {5, 5});
    bar.PreTranslateMessage(&overOther);
    seen = CurrentTool();
    ASSERT_EQ(1, seen.count);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(other.m_hWnd), seen.id);

    MSG overNothing = TipsMouseMove(bar.m_hWnd, {180, 10});
    bar.PreTranslateMessage(&overNothing);
    EXPECT_EQ(0, CurrentTool().count);
}

TEST_F(BarInFrameTest, WindowsWithoutTipsLeaveTheToolAlone)
{
    MSG overOpen = TipsMouseMove(open.m_hWnd, {5, 5});
    bar.PreTranslateMessage(&overOpen);
    ASSERT_EQ(1, CurrentTool().count);
    // A plain window pre-translates nothing until its tips are enabled.
    CWnd plain;
    ASSERT_TRUE(plain.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 100, 200, 150), frame, 77));
    CButton button;
    ASSERT_TRUE(button.Create("B", WS_VISIBLE, CRect(0, 0, 50, 20), &plain, kPromptOnly));
    MSG overButton = TipsMouseMove(button.m_hWnd, {5, 5});
    plain.PreTranslateMessage(&overButton);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(open.m_hWnd), CurrentTool().id);
    plain.EnableToolTips(TRUE);
    plain.PreTranslateMessage(&overButton);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(button.m_hWnd), CurrentTool().id);
    // Turning tips off takes the window's tool away.
    plain.EnableToolTips(FALSE);
    EXPECT_EQ(0, CurrentTool().count);
}

TEST(ToolTipText, DefaultAnswerIsTheTipPartOfTheCommandString)
{
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "tips", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
    CButton withTip;
    CButton promptOnly;
    ASSERT_TRUE(withTip.Create("a", WS_VISIBLE, CRect(0, 0, 20, 20), &window, kPromptAndTip));
    ASSERT_TRUE(promptOnly.Create("b", WS_VISIBLE, CRect(30, 0, 50, 20), &window, kPromptOnly));
    struct Case {
        const char* why;
        UINT_PTR idFrom;
        UINT flags;
        const char* text;
    };
    const Case cases[] = {
        {"a command id names its string", kPromptAndTip, 0, "Open"},
        {"a window tool names its control", reinterpret_cast<UINT_PTR>(withTip.m_hWnd), TTF_IDISHWND, "Open"},
        {"a string without a newline has no tip", kPromptOnly, 0, ""},
        {"no such string", 7399, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.text, AskTipText(window, c.idFrom, c.flags, false));
        EXPECT_EQ(c.text, AskTipText(window, c.idFrom, c.flags, true));
    }
    window.DestroyWindow();
}

namespace {

// An owner that answers tip requests for one command and leaves the others empty.
class TipOwner : public CWnd {
public:
    int asked = 0;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        if (info->hdr.code != TTN_NEEDTEXTA)
            return CWnd::OnNotify(wParam, lParam, pResult);
        ++asked;
        if (info->hdr.idFrom == kPromptOnly)
            lstrcpyA(info->szText, "From the owner");
        *pResult = 0;
        return TRUE;
    }
};

} // namespace

TEST(ToolTipText, BarAsksItsOwnerFirstAndFallsBackToTheCommandString)
{
    TipOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr));
    TipsBar bar;
    ASSERT_TRUE(bar.Create(&owner, CBRS_TOP | CBRS_TOOLTIPS));
    EXPECT_EQ("From the owner", AskTipText(bar, kPromptOnly, 0, false));
    EXPECT_EQ("Open", AskTipText(bar, kPromptAndTip, 0, false));
    EXPECT_EQ(2, owner.asked);
    owner.DestroyWindow();
}

TEST_F(BarInFrameTest, FlybyShowsThePromptOfTheToolUnderTheMouseOnce)
{
    MSG overOpen = TipsMouseMove(open.m_hWnd, {5, 5});
    bar.PreTranslateMessage(&overOpen);
    bar.PreTranslateMessage(&overOpen);
    MSG overOther = TipsMouseMove(other.m_hWnd, {5, 5});
    bar.PreTranslateMessage(&overOther);
    MSG overNothing = TipsMouseMove(bar.m_hWnd, {180, 10});
    bar.PreTranslateMessage(&overNothing);
    bar.PreTranslateMessage(&overNothing);
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_SETMESSAGESTRING, kPromptAndTip},
        {WM_SETMESSAGESTRING, kPromptOnly},
        {WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE},
        // The frame's pop handler shows the idle message through the set handler.
        {WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE},
    };
    EXPECT_EQ(expected, frame->texts);
}

TEST_F(BarInFrameTest, FlybyGoesBackToTheIdleMessageOnceTheMouseHasLeftTheBar)
{
    MSG overOpen = TipsMouseMove(open.m_hWnd, {5, 5});
    bar.PreTranslateMessage(&overOpen);
    ASSERT_EQ(1u, frame->texts.size());
    // Still over the bar: the check keeps the prompt.
    POINT inside = {15, 10};
    ::ClientToScreen(open.m_hWnd, &inside);
    if (!::SetCursorPos(inside.x, inside.y))
        GTEST_SKIP() << "the display cannot place the cursor";
    POINT now;
    ::GetCursorPos(&now);
    if (now.x != inside.x || ::WindowFromPoint(now) != open.m_hWnd)
        GTEST_SKIP() << "the display does not report the cursor's window";
    bar.SendMessage(WM_TIMER, 0xE000);
    EXPECT_EQ(1u, frame->texts.size());
    ::SetCursorPos(inside.x, inside.y + 200);
    bar.SendMessage(WM_TIMER, 0xE000);
    ASSERT_LE(2u, frame->texts.size());
    EXPECT_EQ(std::make_pair(static_cast<UINT>(WM_POPMESSAGESTRING), static_cast<WPARAM>(AFX_IDS_IDLEMESSAGE)),
              frame->texts[1]);
}

TEST(ControlBarStatus, NeedsAFrameAsOwner)
{
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr));
    TipsBar bar;
    ASSERT_TRUE(bar.Create(&owner, CBRS_TOP | CBRS_FLYBY));
    EXPECT_FALSE(bar.SetStatusText(kPromptAndTip));
    owner.DestroyWindow();
}

TEST_F(BarInFrameTest, KeysForTheBarsControlsGoThroughTheDialogManager)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER, CRect(130, 5, 190, 25), &bar, 501));
    edit.SetFocus();
    MSG key = {};
    key.hwnd = edit.m_hWnd;
    key.message = WM_CHAR;
    key.wParam = 'x';
    EXPECT_TRUE(bar.PreTranslateMessage(&key));
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("x", text);
    // Keys for windows outside the bar are not its business.
    key.hwnd = frame->m_hWnd;
    EXPECT_FALSE(bar.PreTranslateMessage(&key));
}

TEST(ControlBarKind, FloatingFollowsTheDockBar)
{
    TipsBar bar;
    CDockBar sideDock(FALSE);
    CDockBar floatingDock(TRUE);
    EXPECT_FALSE(bar.IsDockBar());
    EXPECT_TRUE(sideDock.IsDockBar());
    EXPECT_FALSE(bar.IsFloating());
    bar.m_pDockBar = &sideDock;
    EXPECT_FALSE(bar.IsFloating());
    bar.m_pDockBar = &floatingDock;
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_TRUE(floatingDock.IsFloating());
    EXPECT_FALSE(sideDock.IsFloating());
    bar.m_pDockBar = nullptr;
}
