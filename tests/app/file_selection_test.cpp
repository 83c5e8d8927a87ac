// The folder tree and the Files list on the real workspace: the start folder, the
// file-type filter, selecting a file as a click does (with the question about the open
// image's changes, and the open image kept when its save fails), opening by double
// click and Return, and refills after saving and after a shell command.
#include "workspace_test_support.h"

#include "app/BackupCopy.h"
#include "app/Option.h"

#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
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

// Folders made inside the scratch folder for one test, removed with their files.
class Subfolders {
public:
    explicit Subfolders(std::string root) : m_root(std::move(root)) {}
    ~Subfolders()
    {
        // The tree made one of them the current directory, which could not be removed.
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        SetCurrentDirectoryA(temp);
        for (auto folder = m_made.rbegin(); folder != m_made.rend(); ++folder) {
            WIN32_FIND_DATAA found;
            HANDLE search = FindFirstFileA((*folder + "\\*.*").c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                do {
                    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                        DeleteFileA((*folder + "\\" + found.cFileName).c_str());
                } while (FindNextFileA(search, &found));
                FindClose(search);
            }
            RemoveDirectoryA(folder->c_str());
        }
    }
    Subfolders(const Subfolders&) = delete;
    Subfolders& operator=(const Subfolders&) = delete;

    std::string Make(const std::string& name)
    {
        const std::string path = m_root + "\\" + name;
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
        m_made.push_back(path);
        return path;
    }

private:
    std::string m_root;
    std::vector<std::string> m_made;
};

class StartFolder : public FileSelection {
protected:
    iShellTreeCtrl* Tree() const { return m_workspace->GetFolderTree(); }
    std::string SelectedFolder() const
    {
        CString folder;
        return Tree()->GetSelectedPath(folder) ? static_cast<LPCSTR>(folder) : "";
    }
    // Whether the selected folder's name starts inside the tree's window, with the tree
    // scrolled sideways no further than that needs.
    bool IsSelectionInView() const
    {
        CRect name;
        CRect client;
        Tree()->GetClientRect(&client);
        if (!Tree()->GetItemRect(Tree()->GetSelectedItem(), &name, TRUE))
            return false;
        const int sideways = ::GetScrollPos(Tree()->m_hWnd, SB_HORZ);
        return name.top >= client.top && name.bottom <= client.bottom && name.left >= client.left &&
               name.left < client.right && (sideways == 0 || name.left + sideways >= client.right);
    }
    void ApplyStartFolder(const std::string& folder)
    {
        g_pOption->m_common.m_defaultOpenIn.SetText(folder.c_str());
        m_workspace->ApplyOptions(true);
    }
    Subfolders m_subfolders{m_folder.Path()};
};

TEST_F(StartFolder, TheTreeShowsTheFolderTheOptionsNameAndTheListItsFiles)
{
    // More folders side by side than the tree has lines: the last and the first each
    // need the tree scrolled to them.
    std::vector<std::string> folders;
    for (int i = 0; i < 40; ++i)
        folders.push_back(m_subfolders.Make("folder" + std::to_string(100 + i)));
    // So deep that its name starts beyond the tree's right edge when scrolled to the left.
    std::string deep = "folder100";
    for (const char* below : {"one", "two", "three", "four", "five", "six", "seven"})
        m_subfolders.Make(deep += std::string("\\") + below);
    MakeImage("folder139\\last.bmp", 4, 4);
    MakeImage("folder100\\first.bmp", 4, 4);
    MakeImage((deep + "\\deep.bmp").c_str(), 4, 4);
    const struct {
        std::string folder;
        const char* file;
    } steps[] = {{folders.back(), "last.bmp"},
                 {folders.front(), "first.bmp"},
                 {m_folder.Path(deep), "deep.bmp"},
                 {folders.back(), "last.bmp"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.folder);
        ApplyStartFolder(step.folder);
        EXPECT_EQ(0, lstrcmpiA(step.folder.c_str(), SelectedFolder().c_str())) << SelectedFolder();
        EXPECT_TRUE(IsSelectionInView());
        EXPECT_EQ(std::vector<std::string>{step.file}, ListedNames());
    }
    EXPECT_TRUE(m_boxes.Boxes().empty()) << m_boxes.Describe();
}

struct MissingCase {
    const char* why;
    const char* missing;       // below the scratch folder, or a whole path when it has a drive
    bool showsScratchFolder;   // else the user's documents
};

const MissingCase kMissingCases[] = {
    {"a folder that was removed: its parent", "gone", true},
    {"two levels gone: the nearest that is left", "gone\\deeper", true},
    {"a drive that is not there: the user's documents", "Q:\\Photos\\2004", false},
};

TEST_F(StartFolder, AMissingFolderIsSaidSoAndTheNearestThatExistsIsShown)
{
    MakeImage("left.bmp", 4, 4);
    char documents[MAX_PATH] = {};
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)));
    for (const MissingCase& c : kMissingCases) {
        SCOPED_TRACE(c.why);
        m_boxes.Clear();
        const std::string missing = c.missing[1] == ':' ? c.missing : m_folder.Path(c.missing);
        const std::string instead = c.showsScratchFolder ? m_folder.Path() : documents;
        ApplyStartFolder(missing);
        ASSERT_EQ(1u, m_boxes.Boxes().size()) << m_boxes.Describe();
        const auto& box = m_boxes.Boxes()[0];
        EXPECT_EQ("Folder not found", box.caption);
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), box.style & MB_ICONMASK);
        EXPECT_EQ("The folder " + missing + ", set as \"Default open in\" under Extra > Options, was not found.\n"
                  "The program shows the folder " + instead + " instead.",
                  box.text);
        EXPECT_EQ(0, lstrcmpiA(instead.c_str(), SelectedFolder().c_str())) << SelectedFolder();
        if (c.showsScratchFolder) {
            EXPECT_EQ(std::vector<std::string>{"left.bmp"}, ListedNames());
        }
    }
}

// A start folder too short to name one leaves the tree as it was filled; the Files list
// must still follow the folders the user picks in it.
class ShortStartFolder : public StartFolder {
protected:
    void SetUp() override
    {
        m_startFolder = "C:";
        StartFolder::SetUp();
    }
    // Selects the folder's item as a click does, opening the folders above it on the way.
    void ClickFolder(const std::string& folder)
    {
        HTREEITEM item = FindFolder(Tree()->GetRootItem(), folder);
        ASSERT_NE(nullptr, item) << folder;
        Tree()->SelectItem(item);
    }

private:
    HTREEITEM FindFolder(HTREEITEM parent, const std::string& folder)
    {
        Tree()->Expand(parent, TVE_EXPAND);
        for (HTREEITEM child = Tree()->GetChildItem(parent); child; child = Tree()->GetNextSiblingItem(child)) {
            CString path;
            if (!Tree()->GetItemPath(child, path)) {
                // My Computer and its kind hold the drives: looked into below the Desktop only.
                if (parent == Tree()->GetRootItem())
                    if (HTREEITEM found = FindFolder(child, folder))
                        return found;
                continue;
            }
            std::string above = static_cast<LPCSTR>(path);
            if (lstrcmpiA(above.c_str(), folder.c_str()) == 0)
                return child;
            if (above.back() != '\\')
                above += '\\';
            if (above.size() < folder.size() && lstrcmpiA(above.c_str(), folder.substr(0, above.size()).c_str()) == 0)
                return FindFolder(child, folder);
        }
        return nullptr;
    }
};

TEST_F(ShortStartFolder, TheListFollowsTheFoldersPickedInTheTree)
{
    const std::string one = m_subfolders.Make("one");
    const std::string two = m_subfolders.Make("two");
    MakeImage("one\\a.bmp", 4, 4);
    MakeImage("two\\b.bmp", 4, 4);
    MakeImage("two\\c.bmp", 4, 4);
    for (int round = 0; round < 2; ++round) {
        ClickFolder(one);
        EXPECT_EQ(std::vector<std::string>{"a.bmp"}, ListedNames());
        ClickFolder(two);
        EXPECT_EQ((std::vector<std::string>{"b.bmp", "c.bmp"}), ListedNames());
    }
    EXPECT_TRUE(m_boxes.Boxes().empty()) << m_boxes.Describe();
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
        EXPECT_EQ("", Text(m_workspace->GetNameValue())) << "no details beside the empty preview";

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
