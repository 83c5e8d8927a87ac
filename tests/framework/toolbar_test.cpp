// The framework toolbar: the toolbar control with the bar's style split off, its place
// in the frame's bar list and layout, and the idle update of its buttons.
#include "framework/Framework.h"
#include "framework/ToolBar.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

constexpr UINT kHandled = 57601;
constexpr UINT kUnhandled = 57603;

// A frame that carries out one command and checks its button.
class CommandFrame : public CFrameWnd {
public:
    afx_msg void OnHandled() {}
    afx_msg void OnUpdateHandled(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandFrame, CFrameWnd)
    ON_COMMAND(kHandled, OnHandled)
    ON_UPDATE_COMMAND_UI(kHandled, OnUpdateHandled)
END_MESSAGE_MAP()

void AddButton(CToolBar& bar, UINT id, BYTE style)
{
    TBBUTTON button = {};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = static_cast<int>(id);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    ASSERT_TRUE(bar.SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button)));
}

} // namespace

TEST(CToolBar, IsAToolbarControlWithTheBarStyleSplitOff)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "frame"));
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS));
    char className[32] = {};
    GetClassNameA(bar.m_hWnd, className, sizeof className);
    EXPECT_STREQ(TOOLBARCLASSNAMEA, className);
    EXPECT_EQ(AFX_IDW_TOOLBAR, bar.GetDlgCtrlID());
    EXPECT_EQ(static_cast<DWORD>(CBRS_TOP | CBRS_TOOLTIPS), bar.GetBarStyle());
    // CBRS_ALIGN_TOP shares its bit with a toolbar control style: it must not reach the control.
    EXPECT_FALSE(bar.GetStyle() & CBRS_ALIGN_TOP);
    EXPECT_EQ(&bar, frame->GetControlBar(AFX_IDW_TOOLBAR));
    frame->DestroyWindow();
}

TEST(CToolBar, FrameGivesItTheTopRowAsDeepAsAButton)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    frame->RecalcLayout();
    CRect placed;
    bar.GetWindowRect(&placed);
    frame->ScreenToClient(&placed);
    CRect client;
    frame->GetClientRect(&client);
    CRect inside(0, 0, 0, 0);
    bar.CalcInsideRect(inside, TRUE);
    const int buttonHeight = HIWORD(bar.SendMessage(TB_GETBUTTONSIZE));
    EXPECT_EQ(0, placed.top);
    EXPECT_EQ(client.Width(), placed.Width());
    EXPECT_EQ(buttonHeight - inside.Height(), placed.Height());
    frame->DestroyWindow();
}

TEST(CToolBar, IdleUpdateEnablesChecksAndDisablesButtons)
{
    auto* frame = new CommandFrame;
    ASSERT_TRUE(frame->Create(nullptr, "frame"));
    CToolBar bar;
    ASSERT_TRUE(bar.Create(frame));
    AddButton(bar, kHandled, BTNS_BUTTON);
    AddButton(bar, 0, BTNS_SEP);
    AddButton(bar, kUnhandled, BTNS_BUTTON);
    bar.SendMessage(TB_ENABLEBUTTON, kHandled, FALSE);

    bar.OnUpdateCmdUI(frame, TRUE);

    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, kHandled));
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONCHECKED, kHandled));
    EXPECT_FALSE(bar.SendMessage(TB_ISBUTTONENABLED, kUnhandled)) << "no handler: disabled";

    bar.SendMessage(TB_ENABLEBUTTON, kUnhandled, TRUE);
    bar.OnUpdateCmdUI(frame, FALSE);
    EXPECT_TRUE(bar.SendMessage(TB_ISBUTTONENABLED, kUnhandled)) << "left alone without bDisableIfNoHndler";
    frame->DestroyWindow();
}
