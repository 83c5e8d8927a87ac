// The file-name pickers over the system's open and save dialogs, answered from a thread
// timer: the button's filter list as pairs are added, linked to the edit before it or
// writing its own caption; the edit's styles, the name and type the dialog starts on,
// the path it takes, cancel and the plain double-click; and the file test for files,
// folders and missing paths.
#include "lib/src/Win2/Wnd/iFileEdit.h"
#include "lib/src/Win2/Wnd/iFileNamePickers.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "file_picker_test_support.h"
#include "winlib_test_support.h"

#include <vector>

#include <gtest/gtest.h>

#include <string>

namespace {

using winlib_test::ButtonParent;
using winlib_test::ExpectFileDialog;
using winlib_test::ExpectLinkedButtonFillsTheEdit;
using winlib_test::ExpectUnlinkedButtonWritesItsCaption;
using winlib_test::g_fileDialog;
using winlib_test::kCountedButtonId;
using winlib_test::TempFolder;

TEST(FileExists, IsTrueForAFileOnly)
{
    std::string file = TempFolder() + "sorvanta_file_exists.txt";
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    CloseHandle(handle);
    struct Case {
        const char* why;
        std::string path;
        BOOL exists;
    };
    const Case kCases[] = {
        {"an existing file", file, TRUE},
        {"an existing folder", TempFolder(), FALSE},
        {"a missing path", TempFolder() + "no_such_file_here.txt", FALSE},
        {"an empty path", "", FALSE},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.exists, FileExists(c.path.c_str()));
    }
    EXPECT_FALSE(FileExists(nullptr));
    DeleteFileA(file.c_str());
}

using FileNameEditTest = winlib_test::PickerEditTest<iFileNameEdit>;

TEST_F(FileNameEditTest, ScrollsSidewaysWithAClientEdgeInsteadOfABorder)
{
    ExpectAClientEdgeInsteadOfABorder();
}

TEST_F(FileNameEditTest, CtrlDoubleClickStartsOnTheTextsTypeAndTakesThePath)
{
    const char kFilter[] = "JPEG\0*.jpg\0PNG\0*.png\0";
    std::string chosen = TempFolder() + "chosen.png";
    m_edit->SetWindowText("photo.png");
    m_edit->SetOptions(FALSE, "png", 0, kFilter);
    m_edit->SetInitialDir(TempFolder().c_str());
    ExpectFileDialog(chosen, true);
    DoubleClick(MK_CONTROL);
    ASSERT_TRUE(g_fileDialog.sawDialog);
    EXPECT_EQ("photo.png", g_fileDialog.nameBox);
    EXPECT_EQ("PNG", g_fileDialog.fileType);
    EXPECT_STREQ(chosen.c_str(), m_edit->GetText());
}

TEST_F(FileNameEditTest, WithoutAFilterEveryFileIsOffered)
{
    m_edit->SetOptions(FALSE, nullptr, 0, nullptr);
    ExpectFileDialog("", false);
    DoubleClick(MK_CONTROL);
    ASSERT_TRUE(g_fileDialog.sawDialog);
    EXPECT_EQ("All Files (*.*)", g_fileDialog.fileType);
}

TEST_F(FileNameEditTest, CancellingLeavesTheTextAlone)
{
    ExpectCancellingLeavesTheTextAlone();
}

TEST_F(FileNameEditTest, APlainDoubleClickSelectsAWord)
{
    ExpectAPlainDoubleClickSelectsTheFirstWord();
}

// The types a button offers, read from the dialog it opens.
std::vector<std::string> TypesOffered(iFileNameButton& button)
{
    ExpectFileDialog("", false);
    button.SendMessage(BM_CLICK);
    EXPECT_TRUE(g_fileDialog.sawDialog);
    return g_fileDialog.fileTypes;
}

TEST(FileNameButton, AddedPairsKeepTheListEnded)
{
    ButtonParent parent;
    auto* button = new iFileNameButton(&parent, CRect(10, 10, 300, 32), WS_VISIBLE, "photo.txt", kCountedButtonId);
    using Types = std::vector<std::string>;
    EXPECT_EQ(Types{"All Files (*.*)"}, TypesOffered(*button));

    button->AddFilter("Text (*.txt)|*.txt|");
    EXPECT_EQ((Types{"All Files (*.*)", "Text (*.txt)"}), TypesOffered(*button));
    EXPECT_EQ("Text (*.txt)", g_fileDialog.fileType) << "the name's type is preselected";

    button->SetOptions(TRUE, nullptr, 0, "A|*.a|");
    button->AddFilter(CString("B|*.b|"));
    EXPECT_EQ((Types{"A", "B"}), TypesOffered(*button));

    // A list the caller did not end, or an empty one, still reaches the dialog ended.
    button->SetOptions(TRUE, nullptr, 0, "A|*.a");
    EXPECT_EQ(Types{"A"}, TypesOffered(*button));
    button->SetOptions(TRUE, nullptr, 0, "");
    EXPECT_EQ(Types{}, TypesOffered(*button));
}

TEST(FileNameButton, LinkedItFillsTheEditBeforeIt)
{
    ButtonParent parent;
    auto* edit = new iFileEdit(&parent, CRect(10, 10, 300, 32), WS_VISIBLE, nullptr, 20);
    auto* button =
        new iFileNameButton(&parent, CRect(310, 10, 390, 32), WS_VISIBLE | IBS_LINKED, "...", kCountedButtonId);
    button->SetOptions(FALSE, "png", 0, "PNG (*.png)|*.png||");
    edit->SetWindowText("photo.png");
    ExpectLinkedButtonFillsTheEdit(parent, *edit, *button, "...", TempFolder() + "linked.png", "PNG (*.png)");
}

TEST(FileNameButton, UnlinkedItWritesItsOwnCaptionAndCancelChangesNothing)
{
    ButtonParent parent;
    auto* button = new iFileNameButton(&parent, CRect(10, 10, 300, 32), WS_VISIBLE, "start.bmp", kCountedButtonId);
    ExpectUnlinkedButtonWritesItsCaption(*button, "start.bmp", TempFolder() + "caption.bmp",
                                         TempFolder() + "other.bmp");
}

} // namespace
