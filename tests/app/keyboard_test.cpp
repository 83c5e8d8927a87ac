// The workspace under the keyboard, through the frame's part of the message loop: Tab and
// Shift+Tab through the controls in the order they stand on screen, arrow keys and Return
// kept by the control with the focus, an edit reached by Tab ready to be typed over, a
// double click that selects a word, and the focus kept where the user left it.
#include "workspace_test_support.h"

#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace keyboard_test {
namespace {

using workspace_test::WorkspaceTest;

class Keyboard : public WorkspaceTest {
protected:
    // The controls Tab reaches with an image open, in the order they stand on screen.
    std::vector<CWnd*> TabOrder() const
    {
        Workspace& w = *m_workspace;
        return {w.GetWidthEdit(),     w.GetWidthUnit(),     w.GetHeightEdit(),   w.GetHeightUnit(),
                w.GetResolutionEdit(), w.GetResolutionUnit(), w.GetResizeButton(), w.GetResetButton(),
                w.GetProportions(),   w.GetMethodCombo(),   w.GetFolderTree(),   w.GetFileList()};
    }
    static std::string NameOf(HWND window)
    {
        char name[64] = {};
        char text[64] = {};
        GetClassNameA(window, name, sizeof name);
        GetWindowTextA(window, text, sizeof text);
        return std::string(name) + " \"" + text + "\"";
    }
    static DWORD SelectionOf(CWnd* edit)
    {
        return static_cast<DWORD>(edit->SendMessage(EM_GETSEL));
    }
    void OpenFortyByThirty() { OpenImage(MakeImage("photo.bmp", 40, 30)); }
};

TEST_F(Keyboard, TabAndShiftTabGoThroughTheControlsInScreenOrderAndRoundAgain)
{
    OpenFortyByThirty();
    const std::vector<CWnd*> order = TabOrder();
    order.back()->SetFocus();
    // Forwards twice round, so that the step from the last control to the first is seen.
    for (size_t step = 0; step < 2 * order.size(); ++step) {
        PressKey(VK_TAB);
        CWnd* expected = order[step % order.size()];
        ASSERT_EQ(expected->m_hWnd, GetFocus()) << "Tab " << step + 1 << " went to " << NameOf(GetFocus())
                                                << ", not " << NameOf(expected->m_hWnd);
    }
    // Backwards from the last control, once round.
    for (size_t step = 1; step <= order.size(); ++step) {
        PressKey(VK_TAB, true);
        CWnd* expected = order[(2 * order.size() - 1 - step) % order.size()];
        ASSERT_EQ(expected->m_hWnd, GetFocus()) << "Shift+Tab " << step << " went to " << NameOf(GetFocus())
                                                << ", not " << NameOf(expected->m_hWnd);
    }
}

TEST_F(Keyboard, AWindowThatMarksItselfATabStopOnTheViewIsPassedOver)
{
    OpenFortyByThirty();
    // As the banner's browser does: a tab stop made last on the view.
    HWND hosted = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10,
                                  m_workspace->m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hosted);
    m_workspace->GetFileList()->SetFocus();
    PressKey(VK_TAB);
    EXPECT_EQ(m_workspace->GetWidthEdit()->m_hWnd, GetFocus()) << NameOf(GetFocus());
    // Tab from inside it goes back to the workspace's own first control.
    SetFocus(hosted);
    PressKey(VK_TAB);
    EXPECT_EQ(m_workspace->GetWidthEdit()->m_hWnd, GetFocus()) << NameOf(GetFocus());
    DestroyWindow(hosted);
}

TEST_F(Keyboard, WithNothingOpenTabGoesBetweenTheTreeAndTheFilesList)
{
    // The focus starts in the first control the keyboard can use.
    EXPECT_EQ(m_workspace->GetFolderTree()->m_hWnd, GetFocus()) << NameOf(GetFocus());
    PressKey(VK_TAB);
    EXPECT_EQ(m_workspace->GetFileList()->m_hWnd, GetFocus()) << NameOf(GetFocus());
    PressKey(VK_TAB);
    EXPECT_EQ(m_workspace->GetFolderTree()->m_hWnd, GetFocus()) << NameOf(GetFocus());
    PressKey(VK_TAB, true);
    EXPECT_EQ(m_workspace->GetFileList()->m_hWnd, GetFocus()) << NameOf(GetFocus());
}

TEST_F(Keyboard, ArrowKeysAndReturnStayWithTheControlThatHasTheFocus)
{
    const std::string first = MakeImage("a.bmp", 40, 30);
    MakeImage("b.bmp", 20, 10);
    iShellListCtrl* list = m_workspace->GetFileList();
    list->Refresh();
    ASSERT_EQ(2, list->GetItemCount());
    list->SetFocus();
    list->SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    PumpMessages();
    ASSERT_EQ("a.bmp", Text(m_workspace->GetNameValue()));
    PressKey(VK_DOWN);
    EXPECT_EQ(list->m_hWnd, GetFocus());
    EXPECT_EQ("b.bmp", Text(m_workspace->GetNameValue())) << "Down selects the next file";
    PressKey(VK_UP);
    EXPECT_EQ("a.bmp", Text(m_workspace->GetNameValue()));
    PressKey(VK_RETURN);
    EXPECT_TRUE(m_workspace->IsOpen()) << "Return in the list opens the file";
    EXPECT_EQ(first, std::string(m_workspace->GetFileInfo().GetPath()));

    // In the method list the arrows choose, as a user would from the keyboard.
    iComboBox* method = m_workspace->GetMethodCombo();
    method->SetFocus();
    PressKey(VK_UP);
    PressKey(VK_UP);
    EXPECT_EQ(method->m_hWnd, GetFocus());
    EXPECT_STREQ("Bicubic", method->GetSelectedText());
}

TEST_F(Keyboard, AnEditReachedByTabIsTypedOver)
{
    OpenFortyByThirty();
    // The width and the height in pixels: "40" and "30".
    Choose(m_workspace->GetWidthUnit(), Workspace::kPixels);
    Choose(m_workspace->GetHeightUnit(), Workspace::kPixels);
    iEdit* width = m_workspace->GetWidthEdit();
    iEdit* height = m_workspace->GetHeightEdit();
    // The caret at the end, as a click there leaves it.
    m_workspace->GetFileList()->SetFocus();
    width->SendMessage(EM_SETSEL, 2, 2);
    PressKey(VK_TAB);
    ASSERT_EQ(width->m_hWnd, GetFocus());
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, 2)), SelectionOf(width)) << "the whole text is selected";
    TypeKeys("1024");
    EXPECT_EQ("1024", Text(width));
    EXPECT_EQ(1024, m_workspace->GetNewWidth());

    // Backwards too: Shift+Tab from the height unit reaches the height.
    m_workspace->GetHeightUnit()->SetFocus();
    height->SendMessage(EM_SETSEL, 0, 0);
    PressKey(VK_TAB, true);
    ASSERT_EQ(height->m_hWnd, GetFocus());
    const std::string shown = Text(height);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, shown.size())), SelectionOf(height)) << shown;
    TypeKeys("15");
    EXPECT_EQ("15", Text(height));
    EXPECT_EQ(15, m_workspace->GetNewHeight());
}

TEST_F(Keyboard, AClickPlacesTheCaretAndADoubleClickSelectsAWord)
{
    OpenFortyByThirty();
    iEdit* width = m_workspace->GetWidthEdit();
    Choose(m_workspace->GetWidthUnit(), Workspace::kPixels);
    width->SetWindowText("512");
    // A point inside the text: half way between the first and the last character.
    const LRESULT first = width->SendMessage(EM_POSFROMCHAR, 0);
    const LRESULT last = width->SendMessage(EM_POSFROMCHAR, 2);
    const LPARAM inside = MAKELPARAM((LOWORD(first) + LOWORD(last)) / 2, HIWORD(first) + 2);
    width->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, inside);
    width->SendMessage(WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(width->m_hWnd, GetFocus());
    const DWORD afterClick = SelectionOf(width);
    EXPECT_EQ(LOWORD(afterClick), HIWORD(afterClick)) << "a click selects nothing";
    width->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
    width->SendMessage(WM_LBUTTONUP, 0, inside);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, 3)), SelectionOf(width));
}

TEST_F(Keyboard, TheFocusComesBackToTheControlTheUserLeft)
{
    OpenFortyByThirty();
    iComboBox* method = m_workspace->GetMethodCombo();
    method->SetFocus();
    // Another window of the program takes the activation, then gives it back.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(nullptr, other);
    SetActiveWindow(other);
    PumpMessages();
    ASSERT_NE(method->m_hWnd, GetFocus());
    DestroyWindow(other);
    SetActiveWindow(m_frame->m_hWnd);
    PumpMessages();
    EXPECT_EQ(method->m_hWnd, GetFocus()) << NameOf(GetFocus());

    // A control that went away meanwhile: the first one the keyboard can use.
    m_frame->SetFocus();
    PumpMessages();
    EXPECT_EQ(method->m_hWnd, GetFocus());
    m_workspace->CloseFile();
    m_frame->SetFocus();
    EXPECT_EQ(m_workspace->GetFolderTree()->m_hWnd, GetFocus()) << NameOf(GetFocus());
}

TEST_F(Keyboard, ClosingTheImageFromAnInputLeavesTheFocusInTheFilesList)
{
    OpenFortyByThirty();
    m_workspace->GetResolutionEdit()->SetFocus();
    ASSERT_TRUE(m_workspace->CloseFile());
    EXPECT_EQ(m_workspace->GetFileList()->m_hWnd, GetFocus()) << NameOf(GetFocus());
    // The keyboard still works from there.
    PressKey(VK_TAB);
    EXPECT_EQ(m_workspace->GetFolderTree()->m_hWnd, GetFocus()) << NameOf(GetFocus());
}

} // namespace
} // namespace keyboard_test
