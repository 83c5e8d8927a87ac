// The folder tree and the Files list on the real workspace: the start folder, the
// file-type filter, selecting a file as a click does (with the question about the open
// image's changes, and the open image kept when its save fails), opening by double
// click and Return, and refills after saving and after a shell command.
#include "workspace_test_support.h"

#include "app/BackupCopy.h"
#include "app/Option.h"

#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The file's own namespace keeps its names apart from the files compiled with it.
namespace file_selection_test {
namespace {

using workspace_test::WorkspaceTest;

std::vector<char> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FileSelection : public WorkspaceTest {
protected:
    iShellListCtrl* List() const { return m_workspace->GetFileList(); }
    std::string ItemPath(int item) const
    {
        const iShellListItem* record = List()->GetRecord(item);
        char path[MAX_PATH] = {};
        if (!record || !SHGetPathFromIDListA(record->absoluteList, path))
            return "";
        return path;
    }
    int ItemOf(const std::string& path) const
    {
        for (int item = 0; item < List()->GetItemCount(); ++item)
            if (lstrcmpiA(ItemPath(item).c_str(), path.c_str()) == 0)
                return item;
        return -1;
    }
    // The files the list shows, by name, sorted.
    std::vector<std::string> ListedNames() const
    {
        std::vector<std::string> names;
        for (int item = 0; item < List()->GetItemCount(); ++item) {
            const std::string path = ItemPath(item);
            names.push_back(path.substr(path.rfind('\\') + 1));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    int SelectedItem() const { return List()->GetNextItem(-1, LVNI_SELECTED); }
    // Selects the file's item as a click does; the list shows the folder's files anew first.
    void SelectInList(const std::string& path)
    {
        List()->Refresh();
        const int item = ItemOf(path);
        ASSERT_GE(item, 0) << path;
        List()->SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // Sends the list's notification to the view as the list does.
    void Notify(UINT code)
    {
        NMITEMACTIVATE activate = {};
        activate.hdr.hwndFrom = List()->m_hWnd;
        activate.hdr.idFrom = static_cast<UINT_PTR>(List()->GetDlgCtrlID());
        activate.hdr.code = code;
        activate.iItem = SelectedItem();
        m_workspace->SendMessage(WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
    }
    // Opens first.bmp, resizes it (modified), and leaves second.bmp beside it.
    void OpenModifiedWithSecondFile()
    {
        m_first = MakeImage("first.bmp", 40, 30);
        m_second = MakeImage("second.bmp", 20, 10);
        SelectInList(m_first);
        ASSERT_TRUE(m_workspace->OpenSelectedFile());
        Type(m_workspace->GetWidthEdit(), "200");
        Click(m_workspace->GetResizeButton());
        ASSERT_TRUE(m_workspace->IsModified());
        m_firstBytes = FileBytes(m_first);
    }

    std::string m_first;
    std::string m_second;
    std::vector<char> m_firstBytes;
};

TEST_F(FileSelection, TheTreeStartsInTheDefaultFolderAndTheListShowsItsFiles)
{
    CString folder;
    ASSERT_TRUE(m_workspace->GetFolderTree()->GetSelectedPath(folder));
    EXPECT_EQ(0, folder.CompareNoCase(m_folder.Path().c_str())) << static_cast<LPCSTR>(folder);
    MakeImage("a.bmp", 4, 4);
    MakeImage("b.pcx", 4, 4, imaging::kFormatPcx);
    List()->Refresh();
    EXPECT_EQ((std::vector<std::string>{"a.bmp", "b.pcx"}), ListedNames());
}

TEST_F(FileSelection, AClickOnAFileShowsItsDetailsAndPreviewButDoesNotOpenIt)
{
    const std::string path = MakeImage("photo.bmp", 64, 48);
    SelectInList(path);
    EXPECT_EQ("photo.bmp", Text(m_workspace->GetNameValue()));
    EXPECT_EQ("64 x 48 x 24b", Text(m_workspace->GetDimensionsValue()));
    EXPECT_EQ(64u, m_workspace->GetPreview()->GetBitmap().GetWidth());
    EXPECT_FALSE(m_workspace->IsOpen());

    Notify(NM_DBLCLK);
    EXPECT_TRUE(m_workspace->IsOpen());
    m_workspace->CloseFile();
    Notify(NM_RETURN);
    EXPECT_TRUE(m_workspace->IsOpen());
}

TEST_F(FileSelection, DisplayGraphicsOnlyListsTheChosenTypesOrEverythingWhenNoneIs)
{
    for (const char* name : {"a.jpg", "b.jpeg", "c.jtf", "d.bmp", "notes.txt"}) {
        std::ofstream out(m_folder.Path(name));
        out << "x";
    }
    g_pOption->m_common.m_displayGraphicsOnly.Value() = 1;
    iType::BitSet& types = g_pOption->m_fileType.m_fileType;
    types.ClearAll();
    types.SetBit(2);
    m_workspace->ApplyFileTypeFilter(true);
    EXPECT_EQ((std::vector<std::string>{"a.jpg", "b.jpeg", "c.jtf"}), ListedNames());

    types.ClearAll();
    m_workspace->ApplyFileTypeFilter(true);
    EXPECT_EQ(5u, ListedNames().size());

    g_pOption->m_common.m_displayGraphicsOnly.Value() = 0;
    types.SetBit(2);
    m_workspace->ApplyFileTypeFilter(true);
    EXPECT_EQ(5u, ListedNames().size());
}

TEST_F(FileSelection, AShortStartFolderLeavesTheTreeWhereItIs)
{
    g_pOption->m_common.m_defaultOpenIn.SetText("C:");
    m_workspace->ApplyOptions(true);
    CString folder;
    ASSERT_TRUE(m_workspace->GetFolderTree()->GetSelectedPath(folder));
    EXPECT_EQ(0, folder.CompareNoCase(m_folder.Path().c_str()));
}

TEST_F(FileSelection, NoAtTheQuestionDropsTheChangesAndShowsTheNewFile)
{
    OpenModifiedWithSecondFile();
    m_boxes.Queue({IDNO});
    SelectInList(m_second);
    ASSERT_EQ(1u, m_boxes.Boxes().size());
    EXPECT_EQ("Changes have been made.\nSave the changes?", m_boxes.Boxes()[0].text);
    EXPECT_EQ("Tamrow Sorvanta [Standard]", m_boxes.Boxes()[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), m_boxes.Boxes()[0].style & MB_TYPEMASK);
    EXPECT_FALSE(m_workspace->IsOpen());
    EXPECT_FALSE(m_workspace->IsModified());
    EXPECT_EQ(m_firstBytes, FileBytes(m_first));
    EXPECT_EQ("second.bmp", Text(m_workspace->GetNameValue()));
}

TEST_F(FileSelection, YesSavesOverTheOriginalThenShowsTheNewFile)
{
    OpenModifiedWithSecondFile();
    m_boxes.Queue({IDYES});
    SelectInList(m_second);
    EXPECT_FALSE(m_workspace->IsOpen());
    imaging::FileInfo info{};
    ASSERT_EQ(imaging::kSuccess, L_FileInfo(m_first.c_str(), &info, 0, nullptr));
    EXPECT_EQ(80, info.width);
    EXPECT_EQ("second.bmp", Text(m_workspace->GetNameValue()));
    EXPECT_EQ(ItemOf(m_second), SelectedItem());
}

struct KeptCase {
    const char* why;
    std::vector<int> answers;  // the question, then any further box
    bool confirmOverwrite;
    bool isReadOnly;
};

const KeptCase kKeptCases[] = {
    {"Yes, and the save fails on a read-only original", {IDYES, IDOK}, false, true},
    {"Yes, then No to overwriting the original", {IDYES, IDNO}, true, false},
};

TEST_F(FileSelection, AFailedOrDeclinedSaveKeepsTheOpenImageAndItsSelection)
{
    for (const KeptCase& c : kKeptCases) {
        SCOPED_TRACE(c.why);
        m_workspace->CloseFile();
        m_boxes.Clear();
        g_pOption->m_common.m_confirmOverwrite.Value() = 0;
        OpenModifiedWithSecondFile();
        g_pOption->m_common.m_confirmOverwrite.Value() = c.confirmOverwrite ? 1 : 0;
        if (c.isReadOnly)
            SetFileAttributesA(m_first.c_str(), FILE_ATTRIBUTE_READONLY);
        m_boxes.Queue(c.answers);
        SelectInList(m_second);
        EXPECT_EQ(2u, m_boxes.Boxes().size()) << m_boxes.Describe();
        EXPECT_TRUE(m_workspace->IsOpen());
        EXPECT_TRUE(m_workspace->IsModified());
        EXPECT_EQ(80u, m_workspace->GetResultPicture()->GetBitmap().GetWidth());
        EXPECT_EQ(m_firstBytes, FileBytes(m_first));
        // Details, preview and the list's selection still name the open file.
        EXPECT_EQ("first.bmp", Text(m_workspace->GetNameValue()));
        EXPECT_EQ(m_first, std::string(m_workspace->GetFileInfo().GetPath()));
        EXPECT_EQ(40u, m_workspace->GetPreview()->GetBitmap().GetWidth());
        EXPECT_EQ(ItemOf(m_first), SelectedItem());
        SetFileAttributesA(m_first.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(FileSelection, AFileTheLibraryCannotReadEmptiesBothPicturesAndSaysWhy)
{
    for (const test_images::UnreadableFile& file : test_images::kUnreadableFiles) {
        SCOPED_TRACE(file.name);
        const std::string path = m_folder.Path(file.name);
        ASSERT_TRUE(test_images::MakeUnreadable(path, file.kind));
        // Another file shown and open first: its pictures must not stay, looking like this file's.
        const std::string before = MakeImage("before.bmp", 40, 30);
        SelectInList(before);
        ASSERT_TRUE(m_workspace->OpenSelectedFile());
        ASSERT_TRUE(m_workspace->GetPreview()->GetBitmap().IsLoaded());
        m_boxes.Clear();

        SelectInList(path);
        ASSERT_EQ(1u, m_boxes.Boxes().size()) << m_boxes.Describe();
        const workspace_test::BoxAnswers::Box box = m_boxes.Boxes()[0];
        EXPECT_EQ("Error", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_OK), box.style & MB_TYPEMASK);
        EXPECT_EQ("Error loading file " + path + "\n" + file.reason + "\nPlease choose another file.", box.text);
        EXPECT_FALSE(m_workspace->GetPreview()->GetBitmap().IsLoaded());
        EXPECT_FALSE(m_workspace->GetResultPicture()->GetBitmap().IsLoaded());
        EXPECT_FALSE(m_workspace->IsOpen());

        // Open tells the user again instead of doing nothing.
        m_boxes.Clear();
        EXPECT_FALSE(m_workspace->OpenSelectedFile());
        EXPECT_EQ((std::vector<std::string>{box.text}), m_boxes.Texts());
        EXPECT_FALSE(m_workspace->IsOpen());
        DeleteFileA(path.c_str());
    }
}

TEST_F(FileSelection, SavingAndShellCommandsRefillTheList)
{
    g_pOption->m_common.m_alwaysBackupCopy.Value() = 1;
    OpenModifiedWithSecondFile();
    ASSERT_EQ(2, List()->GetItemCount());
    ASSERT_TRUE(m_workspace->SaveFile());
    // The backup copy now shows beside the two.
    EXPECT_EQ(3, List()->GetItemCount());

    MakeImage("third.bmp", 4, 4);
    m_workspace->SendMessage(g_shellRefreshMessage, 1, 0);
    EXPECT_EQ(4, List()->GetItemCount());
}

} // namespace
} // namespace file_selection_test
