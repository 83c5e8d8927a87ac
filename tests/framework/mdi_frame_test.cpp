// MDI frames: the client window is the frame's pane, children are made through it and
// numbered for the window popup, the active child is the active frame and maximizes and
// restores, window-list commands reach DefFrameProc, and the frame kinds tell themselves
// apart. The OLE document is a kind no document ever is.
#include "window_test_support.h"

namespace {

using test_support::PumpPending;

class MdiFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        menu = CreateMenu();
        HMENU file = CreatePopupMenu();
        AppendMenuA(file, MF_STRING, ID_FILE_NEW, "&New");
        windowMenu = CreatePopupMenu();
        AppendMenuA(windowMenu, MF_STRING, ID_WINDOW_CASCADE, "&Cascade");
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(windowMenu), "&Window");
        frame = new CMDIFrameWnd;
        ASSERT_TRUE(frame->CreateEx(0, nullptr, "MDI", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400, nullptr,
                                    menu));
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        PumpPending();
    }
    CMDIChildWnd* NewChild(const char* title, DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW)
    {
        auto* child = new CMDIChildWnd;
        if (!child->Create(nullptr, title, style, CFrameWnd::rectDefault, frame))
            return nullptr;
        return child;
    }

    CMDIFrameWnd* frame = nullptr;
    HMENU menu = nullptr;
    HMENU windowMenu = nullptr;
};

TEST_F(MdiFrameTest, ClientIsTheFramesPaneAndListsChildrenInTheWindowPopup)
{
    ASSERT_TRUE(frame->m_hWndMDIClient);
    EXPECT_EQ(test_support::ClassOf(frame->m_hWndMDIClient), "MDIClient");
    EXPECT_EQ(AFX_IDW_PANE_FIRST, GetDlgCtrlID(frame->m_hWndMDIClient));
    CRect client;
    CRect pane;
    frame->GetClientRect(&client);
    GetWindowRect(frame->m_hWndMDIClient, &pane);
    frame->ScreenToClient(&pane);
    EXPECT_EQ(client, pane) << "the layout gives the client the whole room without bars";

    CMDIChildWnd* first = NewChild("First");
    CMDIChildWnd* second = NewChild("Second");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(static_cast<int>(AFX_IDM_FIRST_MDICHILD), GetDlgCtrlID(first->m_hWnd));
    EXPECT_EQ(static_cast<int>(AFX_IDM_FIRST_MDICHILD) + 1, GetDlgCtrlID(second->m_hWnd));
    EXPECT_EQ(frame, first->GetMDIFrame());
    EXPECT_EQ(windowMenu, frame->GetWindowMenuPopup(menu));
    EXPECT_EQ(static_cast<UINT>(AFX_IDM_FIRST_MDICHILD + 1), GetMenuItemID(windowMenu, GetMenuItemCount(windowMenu) - 1))
        << "the client keeps its list in the window popup";
}

TEST_F(MdiFrameTest, ActiveChildIsTheActiveFrameAndMaximizesAndRestores)
{
    EXPECT_EQ(frame, frame->GetActiveFrame()) << "no child: the frame itself";
    CMDIChildWnd* first = NewChild("First");
    CMDIChildWnd* second = NewChild("Second");
    BOOL maximized = TRUE;
    EXPECT_EQ(second, frame->MDIGetActive(&maximized));
    EXPECT_FALSE(maximized);
    EXPECT_EQ(second, frame->GetActiveFrame());

    frame->MDIMaximize(second);
    EXPECT_EQ(second, frame->MDIGetActive(&maximized));
    EXPECT_TRUE(maximized);
    EXPECT_TRUE(second->IsZoomed());
    frame->MDIRestore(second);
    frame->MDIGetActive(&maximized);
    EXPECT_FALSE(maximized);

    // A window-list command goes on to the system's frame procedure, which activates that child.
    frame->SendMessage(WM_COMMAND, AFX_IDM_FIRST_MDICHILD);
    EXPECT_EQ(first, frame->MDIGetActive());
}

TEST_F(MdiFrameTest, MenusReachTheClientThroughItsOwnMessage)
{
    HMENU other = CreateMenu();
    HMENU otherWindow = CreatePopupMenu();
    AppendMenuA(other, MF_POPUP, reinterpret_cast<UINT_PTR>(otherWindow), "&Window");
    CMenu* previous = frame->MDISetMenu(CMenu::FromHandle(other), CMenu::FromHandle(otherWindow));
    EXPECT_EQ(menu, previous->GetSafeHmenu());
    EXPECT_EQ(other, GetMenu(frame->m_hWnd));
    frame->MDISetMenu(CMenu::FromHandle(menu), CMenu::FromHandle(windowMenu));
    DestroyMenu(other);
}

TEST_F(MdiFrameTest, ChildSystemCommandsWorkThroughTheChildsDefaultProcessing)
{
    CMDIChildWnd* child = NewChild("Child");
    ASSERT_TRUE(child);
    child->SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
    BOOL maximized = FALSE;
    frame->MDIGetActive(&maximized);
    EXPECT_TRUE(maximized);
    child->SendMessage(WM_SYSCOMMAND, SC_CLOSE);
    PumpPending();
    EXPECT_EQ(nullptr, frame->MDIGetActive());
}

TEST(MdiFrameKinds, OnlyAnMdiFrameIsOne)
{
    CMDIFrameWnd mdi;
    CFrameWnd sdi;
    CMiniFrameWnd mini;
    CMDIChildWnd child;
    EXPECT_TRUE(mdi.IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)));
    EXPECT_TRUE(mdi.IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_FALSE(sdi.IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)));
    EXPECT_FALSE(mini.IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)));
    EXPECT_FALSE(child.IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)));
}

TEST(OleDocumentKind, NoDocumentOfTheProgramIsAnOleDocument)
{
    CDocument document;
    document.m_bAutoDelete = FALSE;
    EXPECT_FALSE(document.IsKindOf(RUNTIME_CLASS(COleDocument)));
    EXPECT_TRUE(RUNTIME_CLASS(COleDocument)->IsDerivedFrom(RUNTIME_CLASS(CDocument)));
}

} // namespace
