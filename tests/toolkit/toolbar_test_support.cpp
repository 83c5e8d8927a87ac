// The toolbar tests' frame, fixture and message counter.
#include "toolbar_test_support.h"

namespace toolkit_test {

BEGIN_MESSAGE_MAP(ToolbarFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateOpen)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE, OnUpdateSave)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT, OnUpdatePrint)
    ON_COMMAND(ID_FILE_OPEN, OnOpen)
    ON_COMMAND(ID_FILE_SAVE, OnSave)
    ON_COMMAND(ID_FILE_PRINT, OnPrint)
END_MESSAGE_MAP()

void ToolbarFrame::OnUpdateOpen(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void ToolbarFrame::OnUpdateSave(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bSaveEnabled);
}

void ToolbarFrame::OnUpdatePrint(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_nPrintCheck);
}

void ToolbarFrame::OnOpen()
{
    commands.push_back(ID_FILE_OPEN);
}

void ToolbarFrame::OnSave()
{
    commands.push_back(ID_FILE_SAVE);
}

void ToolbarFrame::OnPrint()
{
    commands.push_back(ID_FILE_PRINT);
}

MessageCounter::MessageCounter(HWND window) : m_window(window)
{
    s_messages.clear();
    s_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageCounter::Proc)));
}

MessageCounter::~MessageCounter()
{
    SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_previous));
}

int MessageCounter::Count(UINT message) const
{
    int count = 0;
    for (UINT seen : s_messages)
        count += seen == message ? 1 : 0;
    return count;
}

LRESULT CALLBACK MessageCounter::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    s_messages.push_back(message);
    return CallWindowProcA(s_previous, window, message, wParam, lParam);
}

void ToolbarTest::SetUp()
{
    app.SetRegistryKey(kToolbarCompany);
    frame = new ToolbarFrame;
    // A frame whose window cannot be made has deleted itself.
    if (!frame->Create(nullptr, "Toolbar test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 700, 400))) {
        frame = nullptr;
        FAIL() << "no frame";
    }
    ASSERT_TRUE(dockTop.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 700, 60), frame,
                               AFX_IDW_DOCKBAR_TOP));
    ASSERT_TRUE(dockLeft.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 60, 60, 360), frame,
                                AFX_IDW_DOCKBAR_LEFT));
}

void ToolbarTest::TearDown()
{
    if (bar.m_hWnd)
        bar.DestroyWindow();
    if (frame && frame->m_hWnd)
        frame->DestroyWindow();
    PumpPending();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaToolbarTest");
}

void ToolbarTest::CreateToolBar(CQZToolBar& toolBar, CWnd* parent, DWORD barStyle, DWORD controlStyle)
{
    const CRect borders = toolBar.GetBorders();
    ASSERT_TRUE(toolBar.CreateEx(parent, controlStyle, WS_CHILD | WS_VISIBLE | barStyle, borders, AFX_IDW_TOOLBAR));
    ASSERT_TRUE(toolBar.LoadToolBar(IDR_TEST_TOOLBAR));
    // Placed as a dock bar's layout would: at its fixed size for its side.
    const CSize size = toolBar.CalcFixedLayout(FALSE, (barStyle & CBRS_ORIENT_HORZ) != 0);
    toolBar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

CRect ToolbarTest::Item(CQZToolBar& toolBar, int index)
{
    CRect rect;
    toolBar.SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

TBBUTTON ToolbarTest::ControlButton(CQZToolBar& toolBar, int index)
{
    TBBUTTON button = {};
    toolBar.SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    return button;
}

} // namespace toolkit_test
