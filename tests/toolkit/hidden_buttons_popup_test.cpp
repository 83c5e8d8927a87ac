// The hidden-buttons popup on a real toolbar: which buttons it copies and how it breaks
// them into rows, where it opens for each docking side, its customise item, how a chosen
// command reaches the owner and what passes the owner untouched, its embedded controls,
// the rules that close it, its frame and background in both looks, and what is left
// behind when it cannot be made.
#include "toolbar_test_support.h"

#include "toolkit/bars/QZExpMenuWnd.h"
#include "toolkit/foundation/QZAuxData.h"

#include <algorithm>
#include <map>
#include <vector>

using namespace toolkit_test;

namespace {

// Keeps the messages a window is sent or posted, in order.
class PopupNotifyRecorder : public CWnd {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Message> messages;

    int Count(UINT message) const
    {
        return static_cast<int>(std::count_if(messages.begin(), messages.end(),
                                               [message](const Message& m) { return m.message == message; }));
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER || message == WM_COMMAND)
            messages.push_back({message, wParam, lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Records what the owner window receives after the popup's hook has seen it.
class OwnerMessageLog : public CQZWndHook {
public:
    std::vector<PopupNotifyRecorder::Message> seen;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back({msg, wParam, lParam});
        return CQZWndHook::WindowProc(msg, wParam, lParam);
    }
};

// Refuses toolbar windows made as children of a popup of the toolkit's popup class style.
HHOOK g_refusePopupBarHook = nullptr;
LRESULT CALLBACK RefusePopupBar(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        const bool isToolbar = HIWORD(cs->lpszClass) && lstrcmpiA(cs->lpszClass, TOOLBARCLASSNAMEA) == 0;
        if (isToolbar && cs->hwndParent && CWnd::FromHandlePermanent(cs->hwndParent) &&
            CWnd::FromHandlePermanent(cs->hwndParent)->IsKindOf(RUNTIME_CLASS(CQZExpMenuWnd)))
            return 1;
    }
    return CallNextHookEx(g_refusePopupBarHook, code, wParam, lParam);
}

// Refuses every popup window with a dialog frame: the hidden-buttons popup's.
HHOOK g_refusePopupHook = nullptr;
LRESULT CALLBACK RefusePopup(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if ((cs->style & WS_POPUP) && (cs->style & WS_DLGFRAME))
            return 1;
    }
    return CallNextHookEx(g_refusePopupHook, code, wParam, lParam);
}

// Sets the XP-look flag while it lives.
class PopupLookScope {
public:
    explicit PopupLookScope(int xpLook) : m_previous(qzAfxData.xpLook) { qzAfxData.xpLook = xpLook; }
    ~PopupLookScope() { qzAfxData.xpLook = m_previous; }
    PopupLookScope(const PopupLookScope&) = delete;
    PopupLookScope& operator=(const PopupLookScope&) = delete;

private:
    int m_previous;
};

class HiddenButtonsPopupTest : public ToolbarTest {
protected:
    void SetUp() override
    {
        ToolbarTest::SetUp();
        ASSERT_TRUE(notify.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 1, 1), frame, 4711));
    }
    void TearDown() override
    {
        if (CQZExpMenuWnd::IsOpen(popup))
            popup->DestroyWindow();
        popup = nullptr;
        PumpPending();
        ToolbarTest::TearDown();
    }
    // The test toolbar docked at the top with every button but Open hidden.
    void ShortBar()
    {
        CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS);
        bar.SetOwner(frame);
        bar.HideButtonsToFit(bar.CalcFixedLayout(FALSE, TRUE).cx, 10, TRUE);
        ASSERT_TRUE(bar.HasHiddenButtons());
    }
    void Open(CQZToolBar& source, CRect button = CRect(300, 100, 312, 122))
    {
        popup = CQZExpMenuWnd::Open(&notify, WM_QZ_CHEVRONCLOSED, button, &source);
        ASSERT_NE(nullptr, popup);
        ASSERT_TRUE(CQZExpMenuWnd::IsOpen(popup));
    }
    static std::vector<int> Commands(CQZToolBar& toolBar)
    {
        std::vector<int> commands;
        const int count = static_cast<int>(toolBar.SendMessage(TB_BUTTONCOUNT));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button = {};
            toolBar.SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
            if (!(button.fsStyle & TBSTYLE_SEP))
                commands.push_back(button.idCommand);
        }
        return commands;
    }
    // How many buttons stand in each row of the toolbar, top to bottom.
    static std::vector<int> ButtonsPerRow(CQZToolBar& toolBar)
    {
        std::map<int, int> rows;
        const int count = static_cast<int>(toolBar.SendMessage(TB_BUTTONCOUNT));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button = {};
            toolBar.SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
            if ((button.fsStyle & TBSTYLE_SEP) && button.idCommand == 0)
                continue;
            CRect item;
            toolBar.SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            ++rows[item.top];
        }
        std::vector<int> counts;
        for (const auto& [top, buttons] : rows)
            counts.push_back(buttons);
        return counts;
    }
    CRect PopupRect()
    {
        CRect rect;
        popup->GetWindowRect(&rect);
        return rect;
    }

    PopupNotifyRecorder notify;
    CQZExpMenuWnd* popup = nullptr;
};

} // namespace

TEST_F(HiddenButtonsPopupTest, HoldsExactlyTheHiddenButtonsInOrderWithTheirTextsAndStates)
{
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | CBRS_TOOLTIPS);
    bar.SetOwner(frame);
    ASSERT_TRUE(bar.SetButtonText(3, "Print it"));
    bar.HideButtonsToFit(bar.CalcFixedLayout(FALSE, TRUE).cx, 10, TRUE);
    Open(bar);
    CQZToolBar& copies = popup->m_wndHiddenButtons;
    EXPECT_EQ(std::vector<int>({ID_FILE_SAVE, ID_FILE_PRINT, ID_HELP_INDEX}), Commands(copies))
        << "Open stayed on the bar; the two plain separators are not copied";
    EXPECT_EQ(3, copies.SendMessage(TB_BUTTONCOUNT)) << "one row: no break either";
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(copies.SendMessage(TB_ISBUTTONHIDDEN, static_cast<WPARAM>(Commands(copies)[i])));
    EXPECT_EQ(CString("Print it"), copies.GetButtonText(1));
    char first[8] = {};
    copies.SendMessage(TB_GETSTRINGA, MAKEWPARAM(sizeof first, 0), reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ("---", first) << "the pool's first place is given up";
    // The frame's handlers: Save disabled, Print checked; Help Index, which the frame
    // carries out without an update handler, enabled as on the bar.
    EXPECT_FALSE(copies.SendMessage(TB_ISBUTTONENABLED, ID_FILE_SAVE));
    EXPECT_TRUE(copies.SendMessage(TB_ISBUTTONCHECKED, ID_FILE_PRINT));
    EXPECT_TRUE(copies.SendMessage(TB_ISBUTTONENABLED, ID_HELP_INDEX));
    EXPECT_EQ(bar.m_hbmImageWell != nullptr, copies.m_hbmImageWell != nullptr) << "its own copy of the images";
    EXPECT_NE(bar.m_hbmImageWell, copies.m_hbmImageWell);
}

TEST_F(HiddenButtonsPopupTest, RowsAreSixButtonsOr250PixelsWideOrAsWideAsTheWidestHiddenButton)
{
    struct Case {
        const char* why;
        int buttonWidth;
        int controlWidth;  // 0: no control among the hidden buttons
        std::vector<int> rows;
    };
    const Case kCases[] = {
        {"23-pixel buttons: 138 pixels, six to a row", 23, 0, {6, 6}},
        {"50-pixel buttons: at most 250 pixels, five to a row", 50, 0, {5, 5, 2}},
        {"a 200-pixel control widens every row to its width", 23, 200, {1, 8, 3}},
    };
    constexpr UINT kFirstId = 7600;
    constexpr UINT kControlId = 7650;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        CQZToolBar toolBar;
        const CRect borders = toolBar.GetBorders();
        ASSERT_TRUE(toolBar.CreateEx(&dockTop, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC,
                                     borders, AFX_IDW_TOOLBAR));
        std::vector<UINT> ids(13);
        for (UINT i = 0; i < ids.size(); ++i)
            ids[i] = kFirstId + i;
        if (c.controlWidth)
            ids[1] = kControlId;
        toolBar.SetSizes(CSize(c.buttonWidth, 22), CSize(16, 15));
        ASSERT_TRUE(toolBar.SetButtons(ids.data(), static_cast<int>(ids.size())));
        CWnd control;
        if (c.controlWidth) {
            TBBUTTON place = {};
            ASSERT_TRUE(toolBar.GetButton(1, &place));
            place.fsStyle = TBSTYLE_SEP;
            toolBar.SetButton(1, &place);
            toolBar.SaveOriginalButtons();
            ASSERT_TRUE(control.Create("EDIT", nullptr, WS_CHILD, CRect(0, 0, c.controlWidth, 20), &toolBar, kControlId));
            toolBar.AddControl(&control);
        }
        toolBar.HideButtonsToFit(toolBar.CalcFixedLayout(FALSE, TRUE).cx, 10, TRUE);
        Open(toolBar);
        EXPECT_EQ(c.rows, ButtonsPerRow(popup->m_wndHiddenButtons));
        popup->DestroyWindow();
        PumpPending();
        toolBar.DestroyWindow();
    }
}

TEST_F(HiddenButtonsPopupTest, OpensAwayFromTheSideTheBarIsDockedAt)
{
    CWnd dockBottom;
    CWnd dockRight;
    ASSERT_TRUE(dockBottom.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 360, 700, 400), frame,
                                  AFX_IDW_DOCKBAR_BOTTOM));
    ASSERT_TRUE(dockRight.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(640, 60, 700, 360), frame,
                                 AFX_IDW_DOCKBAR_RIGHT));
    struct Case {
        const char* why;
        CWnd* parent;
        DWORD align;
    };
    const Case kCases[] = {
        {"docked at the top: below, right edges aligned", &dockTop, CBRS_ALIGN_TOP},
        {"docked at the bottom: above, right edges aligned", &dockBottom, CBRS_ALIGN_BOTTOM},
        {"docked at the left: to the right, bottom edges aligned", &dockLeft, CBRS_ALIGN_LEFT},
        {"docked at the right: to the left, bottom edges aligned", &dockRight, CBRS_ALIGN_RIGHT},
        {"floating: below, right edges aligned", frame, CBRS_ALIGN_TOP},
    };
    const CRect b(300, 200, 312, 222);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        CQZToolBar toolBar;
        CreateToolBar(toolBar, c.parent, c.align | CBRS_SIZE_DYNAMIC);
        toolBar.SetOwner(frame);
        toolBar.HideButtonsToFit(100, 10, (c.align & CBRS_ORIENT_HORZ) != 0);
        Open(toolBar, b);
        const CRect r = PopupRect();
        const int w = r.Width();
        const int h = r.Height();
        if (c.parent == &dockBottom)
            EXPECT_EQ(CPoint(b.right - w + 1, b.top - h + 1), r.TopLeft());
        else if (c.parent == &dockRight)
            EXPECT_EQ(CPoint(b.left - w + 1, b.bottom - h + 1), r.TopLeft());
        else if (c.parent == &dockLeft)
            EXPECT_EQ(CPoint(b.right, b.bottom - h + 1), r.TopLeft());
        else
            EXPECT_EQ(CPoint(b.right - w + 1, b.bottom), r.TopLeft());
        EXPECT_EQ(b, popup->m_rectButton);
        popup->DestroyWindow();
        PumpPending();
        toolBar.DestroyWindow();
    }
    dockBottom.DestroyWindow();
    dockRight.DestroyWindow();
}

TEST_F(HiddenButtonsPopupTest, CustomiseItemStandsAloneWithoutALineAndIsPostedToTheOpener)
{
    bar.m_bCustomizable = TRUE;
    CreateToolBar(bar, &dockTop, CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC);
    bar.SetOwner(frame);
    Open(bar);
    CQZToolBar& customize = popup->m_wndCustomize;
    ASSERT_NE(nullptr, customize.m_hWnd);
    EXPECT_EQ(0, popup->m_wndHiddenButtons.SendMessage(TB_BUTTONCOUNT));
    EXPECT_EQ(std::vector<int>({ID_QZ_CUSTOMIZE_TOOLBAR}), Commands(customize));
    EXPECT_EQ(CString("Customize..."), customize.GetButtonText(0));
    EXPECT_EQ(0u, customize.GetBarStyle() & CBRS_BORDER_TOP) << "nothing above it to part from";
    CRect item;
    customize.SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));

    // Chosen: the opener is told to customise, and the popup is gone.
    customize.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.CenterPoint().x, item.CenterPoint().y));
    customize.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(item.CenterPoint().x, item.CenterPoint().y));
    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup));
    PumpPending();
    ASSERT_EQ(1, notify.Count(WM_COMMAND));
    const auto command = *std::find_if(notify.messages.begin(), notify.messages.end(),
                                       [](const auto& m) { return m.message == WM_COMMAND; });
    EXPECT_EQ(static_cast<WPARAM>(ID_QZ_CUSTOMIZE_TOOLBAR), command.wParam);
    EXPECT_EQ(0, command.lParam);
    EXPECT_TRUE(frame->commands.empty()) << "not a command of the owner";

    // With hidden buttons the item is parted from them by a line.
    bar.HideButtonsToFit(bar.CalcFixedLayout(FALSE, TRUE).cx, 10, TRUE);
    Open(bar);
    EXPECT_EQ(static_cast<DWORD>(CBRS_BORDER_TOP), popup->m_wndCustomize.GetBarStyle() & CBRS_BORDER_TOP);
    CRect hidden;
    CRect customise;
    popup->m_wndHiddenButtons.GetWindowRect(&hidden);
    popup->m_wndCustomize.GetWindowRect(&customise);
    EXPECT_EQ(hidden.bottom + 1, customise.top) << "two pixels below the buttons, in client terms";
}

TEST_F(HiddenButtonsPopupTest, CopiedButtonClosesThePopupThenItsCommandReachesTheOwner)
{
    ShortBar();
    Open(bar);
    CQZToolBar& copies = popup->m_wndHiddenButtons;
    const int print = static_cast<int>(copies.SendMessage(TB_COMMANDTOINDEX, ID_FILE_PRINT));
    CRect item;
    copies.SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(print), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.CenterPoint().x, item.CenterPoint().y);
    copies.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    copies.SendMessage(WM_LBUTTONUP, 0, at);

    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup)) << "closed before the command runs";
    EXPECT_TRUE(frame->commands.empty());
    MSG posted = {};
    ASSERT_TRUE(PeekMessageA(&posted, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE));
    EXPECT_EQ(static_cast<WPARAM>(ID_FILE_PRINT), posted.wParam) << "notification code 0";
    EXPECT_EQ(0, posted.lParam) << "as from a menu";
    PumpPending();
    EXPECT_EQ(std::vector<UINT>({ID_FILE_PRINT}), frame->commands);
    EXPECT_EQ(1, notify.Count(WM_QZ_CHEVRONCLOSED)) << "the opener heard of it";
}

TEST_F(HiddenButtonsPopupTest, NotificationFromAnotherControlPassesUnchangedAndThePopupStaysOpen)
{
    ShortBar();
    // An edit elsewhere in the frame whose id is that of a command.
    CWnd edit;
    ASSERT_TRUE(edit.Create("EDIT", nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 200, 100, 220), frame, ID_FILE_OPEN));
    OwnerMessageLog log;
    log.HookWindow(frame);
    Open(bar);
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_OPEN, EN_CHANGE), reinterpret_cast<LPARAM>(edit.m_hWnd));
    EXPECT_TRUE(CQZExpMenuWnd::IsOpen(popup));
    ASSERT_FALSE(log.seen.empty());
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), log.seen.back().message);
    EXPECT_EQ(MAKEWPARAM(ID_FILE_OPEN, EN_CHANGE), log.seen.back().wParam) << "with its code";
    EXPECT_EQ(reinterpret_cast<LPARAM>(edit.m_hWnd), log.seen.back().lParam);
    PumpPending();
    EXPECT_TRUE(frame->commands.empty()) << "no Open command came of it";
    EXPECT_TRUE(CQZExpMenuWnd::IsOpen(popup));

    // A menu or accelerator command, on the other hand, is one the user chose.
    frame->SendMessage(WM_COMMAND, ID_FILE_OPEN, 0);
    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup));
    PumpPending();
    EXPECT_EQ(std::vector<UINT>({ID_FILE_OPEN}), frame->commands);
    log.HookWindow(static_cast<HWND>(nullptr));
    edit.DestroyWindow();
}

TEST_F(HiddenButtonsPopupTest, EmbeddedControlWorksInThePopupAndGoesBackHiddenToTheToolbar)
{
    const CRect borders = bar.GetBorders();
    ASSERT_TRUE(bar.CreateEx(&dockTop, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC, borders,
                             AFX_IDW_TOOLBAR));
    bar.SetOwner(frame);
    constexpr UINT kEditId = 4244;
    const UINT ids[] = {ID_FILE_OPEN, ID_FILE_SAVE, 0, kEditId};
    ASSERT_TRUE(bar.SetButtons(ids, 4));
    TBBUTTON place = {};
    ASSERT_TRUE(bar.GetButton(3, &place));
    place.fsStyle = TBSTYLE_SEP;
    bar.SetButton(3, &place);
    bar.SaveOriginalButtons();
    CWnd edit;
    ASSERT_TRUE(edit.Create("EDIT", nullptr, WS_CHILD, CRect(0, 0, 60, 20), &bar, kEditId));
    bar.AddControl(&edit);
    bar.HideButtonsToFit(bar.CalcFixedLayout(FALSE, TRUE).cx, 10, TRUE);
    ASSERT_FALSE(edit.IsWindowVisible());

    Open(bar);
    CQZToolBar& copies = popup->m_wndHiddenButtons;
    EXPECT_EQ(copies.m_hWnd, ::GetParent(edit.m_hWnd));
    EXPECT_TRUE(edit.IsWindowVisible());
    EXPECT_EQ(2, copies.SendMessage(TB_BUTTONCOUNT)) << "Save and the edit's place, not the separator";
    // Typing into it notifies the owner through the popup's bar, and the popup stays.
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(kEditId, EN_CHANGE), reinterpret_cast<LPARAM>(edit.m_hWnd));
    copies.SendMessage(WM_COMMAND, MAKEWPARAM(kEditId, EN_CHANGE), reinterpret_cast<LPARAM>(edit.m_hWnd));
    EXPECT_TRUE(CQZExpMenuWnd::IsOpen(popup));

    popup->DestroyWindow();
    EXPECT_EQ(bar.m_hWnd, ::GetParent(edit.m_hWnd)) << "back on the toolbar";
    EXPECT_FALSE(edit.IsWindowVisible());
    PumpPending();
    edit.DestroyWindow();
}

TEST_F(HiddenButtonsPopupTest, ClosesWhenDeactivatedWhenAnotherApplicationComesOrAColourPopupCloses)
{
    ShortBar();
    struct Case {
        const char* why;
        UINT message;
        WPARAM wParam;
        bool toOwner;
    };
    const Case kCases[] = {
        {"deactivated", WM_ACTIVATE, WA_INACTIVE, false},
        {"another application activated", WM_ACTIVATEAPP, FALSE, false},
        {"a colour popup of the owner closed", WM_QZ_COLORCLOSEUP, 0, true},
        {"closed", WM_CLOSE, 0, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        Open(bar);
        HWND target = c.toOwner ? frame->m_hWnd : popup->m_hWnd;
        ::SendMessageA(target, c.message, c.wParam, 0);
        PumpPending();
        EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup));
    }
    // Activation to the popup itself, or the application's, keeps it.
    Open(bar);
    popup->SendMessage(WM_ACTIVATE, WA_ACTIVE);
    popup->SendMessage(WM_ACTIVATEAPP, TRUE);
    popup->SendMessage(WM_KILLFOCUS);
    PumpPending();
    EXPECT_TRUE(CQZExpMenuWnd::IsOpen(popup));
}

TEST_F(HiddenButtonsPopupTest, OwnerKeepsItsActiveCaptionWhileThePopupIsOpen)
{
    ShortBar();
    OwnerMessageLog log;
    log.HookWindow(frame);
    Open(bar);
    // What the frame's own handling is given for an activation change it is sent.
    auto activationSeen = [this, &log] {
        log.seen.clear();
        frame->SendMessage(WM_NCACTIVATE, FALSE);
        for (const auto& m : log.seen) {
            if (m.message == WM_NCACTIVATE)
                return static_cast<int>(m.wParam);
        }
        return -1;
    };
    EXPECT_EQ(TRUE, activationSeen());
    popup->DestroyWindow();
    EXPECT_EQ(FALSE, activationSeen()) << "the hook went with the popup";
    log.HookWindow(static_cast<HWND>(nullptr));
}

TEST_F(HiddenButtonsPopupTest, RequestsToDestroyWhileClosingAnswerTrueAndDoNothing)
{
    ShortBar();
    Open(bar);
    // Asks again at every message the popup gets while it goes.
    class AskAgain : public CQZWndHook {
    public:
        CQZExpMenuWnd* popup = nullptr;
        int destroys = 0;
        std::vector<BOOL> answers;
        LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
        {
            if (msg == WM_DESTROY) {
                ++destroys;
                answers.push_back(popup->DestroyWindow());
            }
            return CQZWndHook::WindowProc(msg, wParam, lParam);
        }
    } again;
    again.popup = popup;
    again.HookWindow(popup->m_hWnd);
    EXPECT_TRUE(popup->DestroyWindow());
    EXPECT_EQ(1, again.destroys);
    EXPECT_EQ(std::vector<BOOL>({TRUE}), again.answers);
    EXPECT_FALSE(CQZExpMenuWnd::IsOpen(popup));
    PumpPending();
    EXPECT_EQ(1, notify.Count(WM_QZ_CHEVRONCLOSED)) << "told once";
}

TEST_F(HiddenButtonsPopupTest, PopupThatCannotBeMadeLeavesNothingBehind)
{
    ShortBar();
    struct Case {
        const char* why;
        HHOOK* hook;
        HOOKPROC proc;
    };
    const Case kCases[] = {
        {"its window refused", &g_refusePopupHook, &RefusePopup},
        {"its bar of buttons refused", &g_refusePopupBarHook, &RefusePopupBar},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const int before = LiveBlocksOfSize(sizeof(CQZExpMenuWnd));
        ASSERT_GE(before, 0);
        *c.hook = SetWindowsHookExA(WH_CBT, c.proc, nullptr, GetCurrentThreadId());
        CQZExpMenuWnd* refused = CQZExpMenuWnd::Open(&notify, WM_QZ_CHEVRONCLOSED, CRect(0, 0, 12, 22), &bar);
        UnhookWindowsHookEx(*c.hook);
        EXPECT_EQ(nullptr, refused);
        PumpPending();
        EXPECT_EQ(before, LiveBlocksOfSize(sizeof(CQZExpMenuWnd))) << "the object went";
        EXPECT_EQ(0, notify.Count(WM_QZ_CHEVRONCLOSED)) << "nothing opened, nothing to report";
    }
    // The count sees a popup that is left open.
    const int before = LiveBlocksOfSize(sizeof(CQZExpMenuWnd));
    Open(bar);
    EXPECT_EQ(before + 1, LiveBlocksOfSize(sizeof(CQZExpMenuWnd)));
}

TEST_F(HiddenButtonsPopupTest, FrameAndBackgroundInBothLooks)
{
    ShortBar();
    for (int xp = 0; xp <= 1; ++xp) {
        SCOPED_TRACE(xp ? "XP look" : "classic look");
        PopupLookScope look(xp);
        Open(bar);
        CRect window;
        CRect client;
        popup->GetWindowRect(&window);
        popup->GetClientRect(&client);
        popup->ClientToScreen(&client);
        // The classic frame is the system's dialog frame, as the system measures it.
        CRect frameOf(0, 0, 0, 0);
        if (xp)
            frameOf.InflateRect(1, 1);
        else
            AdjustWindowRectEx(&frameOf, static_cast<DWORD>(popup->GetStyle()), FALSE,
                               static_cast<DWORD>(popup->GetExStyle()));
        EXPECT_EQ(CRect(window.left - frameOf.left, window.top - frameOf.top, window.right - frameOf.right,
                        window.bottom - frameOf.bottom),
                  client);
        EXPECT_EQ(xp ? 0u : static_cast<DWORD>(WS_DLGFRAME), popup->GetStyle() & WS_DLGFRAME);
        CRect bars;
        popup->m_wndHiddenButtons.GetWindowRect(&bars);
        EXPECT_EQ(client.TopLeft() + CPoint(1, 1), bars.TopLeft());
        EXPECT_EQ(client.Width(), bars.Width());

        PaperCanvas canvas(client.Width(), client.Height());
        popup->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.get()));
        const COLORREF back = xp ? qzAfxData.colorXPMenuBack : qzAfxData.colorMenu;
        EXPECT_EQ(back, QZGetPopupBackColor());
        EXPECT_EQ(client.Width() * client.Height(), canvas.Count(CRect(0, 0, client.Width(), client.Height()), back));
        EXPECT_EQ(back, popup->m_wndHiddenButtons.GetBackColor());
        popup->DestroyWindow();
        PumpPending();
    }
}
