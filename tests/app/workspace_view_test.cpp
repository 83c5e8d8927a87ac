// The workspace view as it starts and as its window grows: the state of its inputs, the
// choices its combo boxes start at, its font and background, and the controls that grow
// with the window while the panels stay.
#include "workspace_test_support.h"

#include "framework/paper_canvas.h"
#include "lib/src/Win2/Wnd/iShellListCtrl.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace workspace_view_test {
namespace {

using workspace_test::WorkspaceTest;

class WorkspaceView : public WorkspaceTest {
protected:
    // The control's rectangle in the view's client coordinates.
    CRect RectOf(CWnd* control) const
    {
        CRect rect;
        control->GetWindowRect(&rect);
        m_workspace->ScreenToClient(&rect);
        return rect;
    }
    // The view's child windows in creation order.
    std::vector<HWND> Children() const
    {
        std::vector<HWND> children;
        for (HWND child = GetWindow(m_workspace->m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            children.push_back(child);
        return children;
    }
    CWnd* ChildWithText(const char* text) const
    {
        for (HWND child : Children()) {
            char found[64] = {};
            GetWindowTextA(child, found, sizeof found);
            if (std::string(found) == text)
                return CWnd::FromHandle(child);
        }
        return nullptr;
    }
};

TEST_F(WorkspaceView, StartsWithItsInputsDisabledAndTheirFirstChoices)
{
    // The fourteen inputs from the width label to the method combo box, in creation order.
    const std::vector<HWND> children = Children();
    ASSERT_GE(children.size(), 15u);
    for (size_t i = 1; i <= 14; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(IsWindowEnabled(children[i]));
        EXPECT_EQ(-1, GetDlgCtrlID(children[i]));
    }
    EXPECT_STREQ("Tamrow Progressive", m_workspace->GetMethodCombo()->GetSelectedText());
    EXPECT_STREQ("Percent", m_workspace->GetWidthUnit()->GetSelectedText());
    EXPECT_STREQ("Percent", m_workspace->GetHeightUnit()->GetSelectedText());
    EXPECT_EQ(CB_ERR, m_workspace->GetResolutionUnit()->GetCurSel());
    EXPECT_EQ(BST_CHECKED, m_workspace->GetProportions()->GetCheck());
    EXPECT_FALSE(m_workspace->IsOpen());
    EXPECT_FALSE(m_workspace->IsModified());
    EXPECT_EQ("", std::string(m_workspace->GetDocument()->GetTitle()));
    // The units carry their item data in a list order of their own.
    iComboBox* unit = m_workspace->GetWidthUnit();
    const DWORD_PTR data[] = {0, 2, 1, 3, 4, 5};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(data[i], unit->GetItemData(i)) << i;
}

TEST_F(WorkspaceView, EveryControlWritesInTheViewsSmallFont)
{
    const HFONT font = reinterpret_cast<HFONT>(m_workspace->SendMessage(WM_GETFONT));
    ASSERT_NE(nullptr, font);
    LOGFONTA description = {};
    ASSERT_NE(0, GetObjectA(font, sizeof description, &description));
    EXPECT_EQ(6, description.lfHeight);
    EXPECT_EQ(FW_NORMAL, description.lfWeight);
    EXPECT_STREQ("MS Sans Serif", description.lfFaceName);
    EXPECT_EQ(reinterpret_cast<LRESULT>(font), m_workspace->GetWidthEdit()->SendMessage(WM_GETFONT));
    EXPECT_EQ(reinterpret_cast<LRESULT>(font), m_workspace->GetResultPicture()->SendMessage(WM_GETFONT));
}

TEST_F(WorkspaceView, HasNoSunkenEdgeAndErasesToTheButtonFace)
{
    EXPECT_EQ(0u, static_cast<DWORD>(m_workspace->GetExStyle()) & (WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE));
    test_support::PaperCanvas canvas(20, 20);
    EXPECT_EQ(TRUE, m_workspace->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.get())));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas.At(10, 10));
}

TEST_F(WorkspaceView, GrowingTheWindowLengthensTheColumnsAndKeepsThePanels)
{
    CWnd* explorer = ChildWithText("Explorer");
    CWnd* files = ChildWithText("Files");
    CWnd* result = ChildWithText("Result");
    CWnd* dimensions = ChildWithText("New Dimensions");
    CWnd* original = ChildWithText("Original Image");
    ASSERT_TRUE(explorer && files && result && dimensions && original);
    const CRect preview = RectOf(m_workspace->GetPreview());

    m_frame->MoveWindow(0, 0, 900, 800);
    CRect client;
    m_workspace->GetClientRect(&client);
    EXPECT_EQ(CRect(5, 200, 245, client.bottom - 70), RectOf(explorer));
    EXPECT_EQ(CRect(10, 215, 240, client.bottom - 75), RectOf(m_workspace->GetFolderTree()));
    EXPECT_EQ(CRect(250, 320, 473, client.bottom - 70), RectOf(files));
    EXPECT_EQ(CRect(255, 335, 468, client.bottom - 75), RectOf(m_workspace->GetFileList()));
    EXPECT_EQ(CRect(478, 5, client.right - 5, client.bottom - 5), RectOf(result));
    EXPECT_EQ(CRect(483, 20, client.right - 10, client.bottom - 12), RectOf(m_workspace->GetResultPicture()));
    EXPECT_EQ(CRect(5, 5, 245, 195), RectOf(dimensions));
    EXPECT_EQ(CRect(250, 200, 473, 315), RectOf(original));
    EXPECT_EQ(preview, RectOf(m_workspace->GetPreview()));
    // The result picture's view follows its new client area.
    const CRect pictureClient = m_workspace->GetResultPicture()->GetClientRectAsMeasured();
    CRect actual;
    m_workspace->GetResultPicture()->GetClientRect(&actual);
    EXPECT_EQ(actual, pictureClient);
}

// The width the text takes in the control's font.
int TextWidth(HWND control, const std::string& text)
{
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size.cx;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

int ClientWidth(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return client.right;
}

TEST_F(WorkspaceView, EveryTextShowsWholeAtTheDefaultSize)
{
    // What a button, a check box and a group box draw besides their text.
    constexpr int kButtonEdges = 8;
    constexpr int kCheckMark = 13 + 6;
    constexpr int kGroupIndent = 16;
    // A combo box's item leaves a little room on each side of its text.
    constexpr int kItemInset = 4;
    // "Resolution" shows "Pixels/inch" once a file is shown; the list shows its columns.
    MakeImage("any.bmp", 8, 8);
    m_workspace->ShowSelectedFile(m_folder.Path("any.bmp").c_str());
    for (HWND child : Children()) {
        char text[128] = {};
        GetWindowTextA(child, text, sizeof text);
        const std::string className = ClassOf(child);
        SCOPED_TRACE(className + " \"" + text + "\"");
        const int width = ClientWidth(child);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (className == "Static" && *text) {
            EXPECT_LE(TextWidth(child, text), width);
        } else if (className == "Button" && *text) {
            const LONG kind = style & BS_TYPEMASK;
            const int besides = kind == BS_GROUPBOX ? kGroupIndent : kind == BS_AUTOCHECKBOX || kind == BS_CHECKBOX
                                                                         ? kCheckMark
                                                                         : kButtonEdges;
            EXPECT_LE(TextWidth(child, text) + besides, width);
        } else if (className == "ComboBox") {
            COMBOBOXINFO info = {};
            info.cbSize = sizeof info;
            ASSERT_TRUE(GetComboBoxInfo(child, &info));
            const int itemWidth = info.rcItem.right - info.rcItem.left;
            const int count = static_cast<int>(SendMessageA(child, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                char item[64] = {};
                SendMessageA(child, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
                EXPECT_LE(TextWidth(child, item) + kItemInset, itemWidth) << item;
            }
        }
    }
    // The file list: "Name" and "Size" side by side within the list, beside room for its
    // scroll bar; the other columns are reached by scrolling.
    iShellListCtrl* list = m_workspace->GetFileList();
    const int nameWidth = list->GetColumnWidth(iShellListCtrl::kNameColumn);
    const int sizeWidth = list->GetColumnWidth(iShellListCtrl::kSizeColumn);
    EXPECT_LE(nameWidth + sizeWidth, ClientWidth(list->m_hWnd) - GetSystemMetrics(SM_CXVSCROLL));
    HWND header = reinterpret_cast<HWND>(list->SendMessage(LVM_GETHEADER));
    EXPECT_LE(TextWidth(header, "Name") + 12, nameWidth);
    EXPECT_LE(TextWidth(header, "Size") + 12, sizeWidth);
}

TEST_F(WorkspaceView, ThePreviewsFrameFollowsTheResultsView)
{
    OpenImage(MakeImage("large.bmp", 600, 800));
    EXPECT_EQ(m_workspace->GetResultPicture()->GetViewRect(), m_workspace->GetPreview()->GetCopiedView());
    // A drag of the result moves the frame when it ends.
    BitmapCtrl* result = m_workspace->GetResultPicture();
    result->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    result->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 40));
    EXPECT_EQ(CPoint(0, 0), m_workspace->GetPreview()->GetCopiedView().TopLeft());
    result->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(50, 40));
    EXPECT_EQ(CPoint(50, 60), m_workspace->GetPreview()->GetCopiedView().TopLeft());

    m_workspace->CloseFile();
    EXPECT_TRUE(m_workspace->GetPreview()->GetCopiedView().IsRectNull());
}

} // namespace
} // namespace workspace_view_test
