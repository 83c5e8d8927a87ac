// The framework-dialog file pickers: the file dialog's own copy of its initial folder,
// the file edit that asks for a name on Ctrl + double-click (its styles, the name it
// starts from, the path it takes, cancel, and a plain double-click's word selection),
// and the file button, linked to the edit before it or writing its own caption. The
// system's dialogs are answered from a thread timer.
#include "lib/src/Win2/Wnd/iFileButton.h"
#include "lib/src/Win2/Wnd/iFileDialog.h"
#include "lib/src/Win2/Wnd/iFileEdit.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "file_picker_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using winlib_test::ButtonParent;
using winlib_test::ExpectFileDialog;
using winlib_test::ExpectLinkedButtonFillsTheEdit;
using winlib_test::ExpectUnlinkedButtonWritesItsCaption;
using winlib_test::g_fileDialog;
using winlib_test::kCountedButtonId;
using winlib_test::TempPath;

TEST(FileDialog, KeepsItsOwnCopyOfTheInitialFolder)
{
    iFileDialog dialog(FALSE, "txt", "notes.txt", OFN_HIDEREADONLY, "Text (*.txt)|*.txt||", nullptr);
    {
        std::string folder = "C:\\windows\\temp";
        dialog.SetInitialDir(folder.c_str());
        folder.assign(folder.size(), 'x');
    }
    EXPECT_STREQ("C:\\windows\\temp", dialog.m_ofn.lpstrInitialDir);
    EXPECT_STREQ("notes.txt", dialog.m_ofn.lpstrFile);
    EXPECT_STREQ("txt", dialog.m_ofn.lpstrDefExt);
    EXPECT_TRUE(dialog.m_ofn.Flags & OFN_HIDEREADONLY);

    // The parent-first form passes the same values on.
    iFileDialog other(nullptr, TRUE, nullptr, "a.bmp", 0, nullptr);
    EXPECT_STREQ("a.bmp", other.m_ofn.lpstrFile);
    EXPECT_EQ(nullptr, other.m_ofn.lpstrInitialDir);
}

TEST(FileDialog, AskingAnswersTheChosenPathOrNothing)
{
    std::string chosenPath = TempPath("asked.txt");
    CString chosen = "unchanged";
    ExpectFileDialog(chosenPath, true);
    ASSERT_TRUE(AskForFileName(nullptr, FALSE, "", "start.txt", 0, kAllFilesFilter, nullptr, chosen));
    EXPECT_TRUE(g_fileDialog.sawDialog);
    EXPECT_EQ("start.txt", g_fileDialog.nameBox);
    EXPECT_STREQ(chosenPath.c_str(), chosen);

    ExpectFileDialog("", false);
    EXPECT_FALSE(AskForFileName(nullptr, TRUE, nullptr, "start.txt", 0, kAllFilesFilter, nullptr, chosen));
    EXPECT_TRUE(g_fileDialog.sawDialog);
    EXPECT_STREQ(chosenPath.c_str(), chosen);
}

using FileEditTest = winlib_test::PickerEditTest<iFileEdit>;

TEST_F(FileEditTest, ScrollsSidewaysWithAClientEdgeInsteadOfABorder)
{
    ExpectAClientEdgeInsteadOfABorder();
}

TEST_F(FileEditTest, CtrlDoubleClickAsksForANameFromTheTextAndTakesThePath)
{
    std::string chosenPath = TempPath("picked.jpg");
    m_edit->SetWindowText("photo.png");
    m_edit->SetOptions(FALSE, "jpg", 0, "JPEG (*.jpg)|*.jpg||");
    ExpectFileDialog(chosenPath, true);
    DoubleClick(MK_CONTROL);
    ASSERT_TRUE(g_fileDialog.sawDialog);
    EXPECT_EQ("photo.png", g_fileDialog.nameBox);
    EXPECT_STREQ(chosenPath.c_str(), m_edit->GetText());
}

TEST_F(FileEditTest, CancellingLeavesTheTextAlone)
{
    ExpectCancellingLeavesTheTextAlone();
}

TEST_F(FileEditTest, APlainDoubleClickSelectsAWord)
{
    ExpectAPlainDoubleClickSelectsTheFirstWord();
    EXPECT_STREQ("alpha beta", m_edit->GetText());
}

TEST(FileButton, LinkedItFillsTheEditBeforeItAndHandsItsOptionsOn)
{
    ButtonParent parent;
    auto* edit = new iFileEdit(&parent, CRect(10, 10, 300, 32), WS_VISIBLE, nullptr, 20);
    auto* button =
        new iFileButton(&parent, CRect(310, 10, 390, 32), WS_VISIBLE | IBS_LINKED, "&Browse", kCountedButtonId);
    button->SetOptions(FALSE, "txt", 0, "Text (*.txt)|*.txt||");
    edit->SetWindowText("notes.txt");
    ExpectLinkedButtonFillsTheEdit(parent, *edit, *button, "&Browse", TempPath("linked.txt"), "Text (*.txt)");
}

TEST(FileButton, UnlinkedItStartsFromAndWritesItsOwnCaption)
{
    ButtonParent parent;
    auto* button =
        new iFileButton(&parent, CRect(10, 10, 300, 32), WS_VISIBLE, "start.bmp", kCountedButtonId, 0, nullptr);
    ExpectUnlinkedButtonWritesItsCaption(*button, "start.bmp", TempPath("caption.bmp"), TempPath("other.bmp"));
}

TEST(FileButton, LinkedWithNothingBeforeItWritesNowhere)
{
    ButtonParent parent;
    auto* button =
        new iFileButton(&parent, CRect(10, 10, 90, 32), WS_VISIBLE | IBS_LINKED, "&Browse", kCountedButtonId);
    ExpectFileDialog(TempPath("nowhere.txt"), true);
    button->SendMessage(BM_CLICK);
    ASSERT_TRUE(g_fileDialog.sawDialog);
    EXPECT_EQ("", g_fileDialog.nameBox);
    CString caption;
    button->GetWindowText(caption);
    EXPECT_STREQ("&Browse", caption);
}

} // namespace
