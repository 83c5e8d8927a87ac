// The shell file list on scratch folders: its columns, one row per file with the shell's
// name, icon and type and our size and date texts (past 4 GB, before 1970, after 2038),
// the extension filter, refilling with the focus and the top item kept, opening an item
// by its own path, the refresh message and the folder's menu, and no record or image list
// left behind.
#include "lib/src/Win2/Wnd/iShellListCtrl.h"

#include "shell_test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using shell_test::BrowsePair;
using shell_test::ScratchTree;
using shell_test::ShellSeams;

int RowOf(BrowsePair& pair, const std::string& path)
{
    return pair.list->FindItemByText(-1, shell_test::ShellDisplayName(path).c_str());
}

// The references an image list holds: each control that destroys a list it was only
// lent takes one of its owner's. A list that is not one answers 0.
ULONG ReferencesOf(HIMAGELIST list)
{
    // Not in the import library: asked of the common controls loaded.
    using QueryListInterface = HRESULT(WINAPI*)(HIMAGELIST, REFIID, void**);
    const auto query = reinterpret_cast<QueryListInterface>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("comctl32.dll"), "HIMAGELIST_QueryInterface")));
    IUnknown* counted = nullptr;
    if (!query || FAILED(query(list, IID_IUnknown, reinterpret_cast<void**>(&counted))) || !counted)
        return 0;
    return counted->Release();
}

// Shows extensions or hides them as Explorer's setting does, restoring it afterwards.
class HiddenExtensions {
public:
    HiddenExtensions()
    {
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
        DWORD size = sizeof m_previous;
        m_hadValue = ::RegQueryValueExA(m_key, "HideFileExt", nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(&m_previous), &size) == ERROR_SUCCESS;
        const DWORD hide = 1;
        ::RegSetValueExA(m_key, "HideFileExt", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&hide), sizeof hide);
    }
    ~HiddenExtensions()
    {
        if (m_hadValue)
            ::RegSetValueExA(m_key, "HideFileExt", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_previous),
                             sizeof m_previous);
        else
            ::RegDeleteValueA(m_key, "HideFileExt");
        ::RegCloseKey(m_key);
    }
    HiddenExtensions(const HiddenExtensions&) = delete;
    HiddenExtensions& operator=(const HiddenExtensions&) = delete;

private:
    static constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
    HKEY m_key = nullptr;
    DWORD m_previous = 0;
    bool m_hadValue = false;
};

class ShellListTest : public ::testing::Test {
protected:
    void Show(const std::string& relative) { m_pair.tree->SelectPath(m_scratch.Path(relative).c_str()); }

    shell_test::OleForTest m_ole;
    shell_test::CurrentDirectoryKeeper m_directory;
    ScratchTree m_scratch;
    ShellSeams m_seams;
    BrowsePair m_pair;
};

TEST_F(ShellListTest, FourColumnsNameSizeTypeModified)
{
    struct Column {
        const char* heading;
        int format;
        int widthPx;
    };
    const Column columns[] = {
        {"Name", LVCFMT_LEFT, 150}, {"Size", LVCFMT_RIGHT, 80}, {"Type", LVCFMT_LEFT, 80}, {"Modified", LVCFMT_LEFT, 80}};
    EXPECT_STREQ("iShellListCtrl", m_pair.list->GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(m_pair.list->IsKindOf(RUNTIME_CLASS(iListCtrl)));
    EXPECT_EQ(0xFFFFu, m_pair.list->GetRuntimeClass()->m_wSchema);
    ASSERT_EQ(4, m_pair.list->GetHeaderCtrl()->GetItemCount());
    for (int index = 0; index < 4; ++index) {
        SCOPED_TRACE(index);
        char heading[32] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = heading;
        column.cchTextMax = sizeof heading;
        ASSERT_TRUE(m_pair.list->SendMessage(LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(columns[index].heading, heading);
        EXPECT_EQ(columns[index].format, column.fmt & LVCFMT_JUSTIFYMASK);
        EXPECT_EQ(columns[index].widthPx, column.cx);
        EXPECT_EQ(index, column.iSubItem);
    }
}

TEST_F(ShellListTest, EachFileShowsTheShellsNameIconAndTypeWithOurSizeAndDate)
{
    struct Case {
        const char* name;
        unsigned long long bytes;
        const char* size;  // the Size column
    };
    const Case cases[] = {
        {"empty.txt", 0, ""},
        {"one.txt", 1, "1KB"},
        {"nine nine nine.txt", 999, "1KB"},
        {"thousand.bmp", 1000, "1KB"},
        {"almost two.gif", 1999, "1KB"},
        {"two.jpg", 2000, "2KB"},
        {"mid.size.tif", 123456, "123KB"},
        {"large.jpg", 1500000, "1500KB"},
        {"three gb.bin", 3000000000ull, "3000000KB"},
        {"five gb.bin", 5000000000ull, "5000000KB"},
    };
    m_scratch.Folder("files");
    for (const Case& c : cases) {
        if (c.bytes > 10000000)
            m_scratch.SparseFile(std::string("files\\") + c.name, c.bytes);
        else
            m_scratch.File(std::string("files\\") + c.name, static_cast<size_t>(c.bytes));
    }
    const WORD years[] = {1969, 1980, 2040, 2100};
    for (WORD year : years)
        m_scratch.File("files\\dated " + std::to_string(year) + ".txt", 3);
    for (WORD year : years)
        m_scratch.SetWriteTime("files\\dated " + std::to_string(year) + ".txt",
                               shell_test::FileTimeOf(year, 12, 24, 18, 30));
    Show("files");
    ASSERT_EQ(static_cast<int>(std::size(cases) + std::size(years)), m_pair.list->GetItemCount());

    HIMAGELIST smallIcons = reinterpret_cast<HIMAGELIST>(m_pair.list->SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    ASSERT_NE(nullptr, smallIcons);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = m_scratch.Path(std::string("files\\") + c.name);
        const int row = RowOf(m_pair, path);
        ASSERT_GE(row, 0);
        EXPECT_STREQ(c.size, m_pair.list->GetItemText(row, iShellListCtrl::kSizeColumn));
        EXPECT_EQ(shell_test::ShellTypeName(path), std::string(m_pair.list->GetItemText(row, iShellListCtrl::kTypeColumn)));
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        ASSERT_TRUE(m_pair.list->GetItem(&item));
        EXPECT_EQ(shell_test::ShellSmallIconIndex(path), item.iImage);
        // The record's own list leads to the file.
        EXPECT_EQ(path, shell_test::PathOfList(m_pair.list->GetRecord(row)->absoluteList));
    }
    for (WORD year : years) {
        SCOPED_TRACE(year);
        const std::string path = m_scratch.Path("files\\dated " + std::to_string(year) + ".txt");
        const int row = RowOf(m_pair, path);
        ASSERT_GE(row, 0);
        const std::string expected = shell_test::LocaleDateTime(shell_test::FileTimeOf(year, 12, 24, 18, 30));
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(expected, std::string(m_pair.list->GetItemText(row, iShellListCtrl::kModifiedColumn)));
    }
}

TEST_F(ShellListTest, ExtensionFilterComparesTheFilesExtensionInLowerCase)
{
    m_scratch.Folder("mixed");
    for (const char* name : {"photo.jpg", "SHOUT.JPG", "noext", "scan.tif", "dotted.name.jpg"})
        m_scratch.File(std::string("mixed\\") + name, 4);
    m_scratch.Folder("mixed\\a.jpg");
    m_scratch.File("mixed\\a.jpg\\inside", 4);
    auto names = [&](std::initializer_list<const char*> files, const char* folder = "mixed") {
        std::vector<std::string> texts;
        for (const char* file : files)
            texts.push_back(shell_test::ShellDisplayName(m_scratch.Path(std::string(folder) + "\\" + file)));
        return shell_test::Sorted(texts);
    };
    struct Case {
        const char* why;
        std::vector<const char*> patterns;
        const char* folder;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"no filter shows every file", {}, "mixed",
         names({"photo.jpg", "SHOUT.JPG", "noext", "scan.tif", "dotted.name.jpg"})},
        {"jpg takes either case of the file's extension", {"*.jpg"}, "mixed",
         names({"photo.jpg", "SHOUT.JPG", "dotted.name.jpg"})},
        {"a filter in capitals matches nothing", {"*.JPG"}, "mixed", {}},
        {"two patterns", {"*.jpg", "*.tif"}, "mixed", names({"photo.jpg", "SHOUT.JPG", "dotted.name.jpg", "scan.tif"})},
        {"a bare extension", {"tif"}, "mixed", names({"scan.tif"})},
        {"a file inside a folder named like a jpg has no extension", {"*.jpg"}, "mixed\\a.jpg", {}},
        {"the same file without a filter", {}, "mixed\\a.jpg", names({"inside"}, "mixed\\a.jpg")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_pair.list->ClearExtensions();
        for (const char* pattern : c.patterns)
            m_pair.list->AddExtension(pattern);
        Show(c.folder);
        EXPECT_EQ(c.shown, shell_test::Sorted(m_pair.ListNames()));
    }

    // A filter change waits for the next refresh.
    Show("mixed");
    const std::vector<std::string> before = m_pair.ListNames();
    m_pair.list->ClearExtensions();
    m_pair.list->AddExtension("*.tif");
    EXPECT_EQ(before, m_pair.ListNames());
    m_pair.list->Refresh();
    EXPECT_EQ(names({"scan.tif"}), m_pair.ListNames());
}

TEST_F(ShellListTest, RefillKeepsTheTopItemAndTheFocusAndReportsNoSelection)
{
    m_scratch.Folder("many");
    char name[32];
    for (int index = 0; index < 300; ++index) {
        snprintf(name, sizeof name, "many\\file %03d.txt", index);
        m_scratch.File(name, 1);
    }
    Show("many");
    iShellListCtrl& list = *m_pair.list;
    ASSERT_EQ(300, list.GetItemCount());
    ASSERT_TRUE(list.SetItemFocus(150, TRUE));
    CRect row;
    ASSERT_TRUE(list.GetItemRect(0, &row, LVIR_BOUNDS));
    list.Scroll(CSize(0, row.Height() * (120 - list.GetTopIndex())));
    ASSERT_EQ(120, list.GetTopIndex());
    const std::string topName(list.GetItemText(120, 0));
    const std::string focusedName(list.GetItemText(150, 0));
    // The count sees a selection change when there is one.
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    ASSERT_EQ(1, m_pair.selectionChanges);
    list.SetItemState(3, 0, LVIS_SELECTED);
    m_pair.selectionChanges = 0;

    // A save adds a file that the shell lists before all the others.
    m_scratch.File("many\\file  000 first.txt", 1);
    list.RefreshKeepSelection();
    ASSERT_EQ(301, list.GetItemCount());
    EXPECT_EQ(topName, std::string(list.GetItemText(list.GetTopIndex(), 0)));
    ASSERT_GE(list.GetFocusedItem(), 0);
    EXPECT_EQ(focusedName, std::string(list.GetItemText(list.GetFocusedItem(), 0)));
    EXPECT_EQ(0, m_pair.selectionChanges);
}

TEST_F(ShellListTest, OfTwoNamesDifferingInCaseTheFirstGetsTheFocus)
{
    HiddenExtensions hidden;
    m_scratch.Folder("pair");
    m_scratch.File("pair\\holiday.jpg", 1);
    m_scratch.File("pair\\HOLIDAY.tif", 1);
    const std::string first = shell_test::ShellDisplayName(m_scratch.Path("pair\\holiday.jpg"));
    const std::string second = shell_test::ShellDisplayName(m_scratch.Path("pair\\HOLIDAY.tif"));
    ASSERT_EQ(0, lstrcmpiA(first.c_str(), second.c_str())) << "the shell shows extensions here";
    Show("pair");
    iShellListCtrl& list = *m_pair.list;
    ASSERT_EQ(2, list.GetItemCount());
    list.SetItemFocus(1, TRUE);
    list.RefreshKeepSelection();
    EXPECT_EQ(0, list.GetFocusedItem());
}

// A double click as the control reports it, with the cursor over the row.
void DoubleClickRow(BrowsePair& pair, int row)
{
    CRect bounds;
    ASSERT_TRUE(pair.list->GetItemRect(row, &bounds, LVIR_LABEL));
    CPoint point = bounds.CenterPoint();
    pair.list->ClientToScreen(&point);
    ::SetCursorPos(point.x, point.y);
    NMITEMACTIVATE click = {};
    click.hdr = {pair.list->m_hWnd, BrowsePair::kListId, static_cast<UINT>(NM_DBLCLK)};
    click.iItem = row;
    pair.container.SendMessage(WM_NOTIFY, BrowsePair::kListId, reinterpret_cast<LPARAM>(&click));
}

TEST_F(ShellListTest, DoubleClickOpensTheFileByItsOwnPathWhateverItShows)
{
    HiddenExtensions hidden;
    m_scratch.Folder("open");
    m_scratch.File("open\\beach.jpg", 1);
    Show("open");
    ASSERT_EQ(1, m_pair.list->GetItemCount());
    const std::string path = m_scratch.Path("open\\beach.jpg");
    ASSERT_EQ(std::string::npos, std::string(m_pair.list->GetItemText(0, 0)).find(".jpg"))
        << "the shell shows the extension here";
    DoubleClickRow(m_pair, 0);
    EXPECT_EQ(std::vector<std::string>{path}, m_seams.seen.opened);

    // A click off the rows opens nothing.
    CPoint below(20, 190);
    m_pair.list->ClientToScreen(&below);
    ::SetCursorPos(below.x, below.y);
    NMITEMACTIVATE click = {};
    click.hdr = {m_pair.list->m_hWnd, BrowsePair::kListId, static_cast<UINT>(NM_DBLCLK)};
    click.iItem = -1;
    m_pair.container.SendMessage(WM_NOTIFY, BrowsePair::kListId, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(1u, m_seams.seen.opened.size());
}

TEST_F(ShellListTest, DoubleClickOnAFolderSelectsItInTheTree)
{
    m_scratch.Folder("outer");
    m_scratch.Folder("outer\\inner");
    m_scratch.File("outer\\inner\\deep.txt", 1);
    m_pair.list->m_enumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    Show("outer");
    const int row = RowOf(m_pair, m_scratch.Path("outer\\inner"));
    ASSERT_GE(row, 0);
    DoubleClickRow(m_pair, row);
    EXPECT_EQ(m_scratch.Path("outer\\inner"), m_pair.SelectedPath());
    EXPECT_TRUE(m_seams.seen.opened.empty());
    EXPECT_EQ(1, m_pair.list->GetItemCount());
}

TEST_F(ShellListTest, TheRefreshMessageAndTheFoldersMenuBringNewFilesIn)
{
    m_scratch.Folder("live");
    m_scratch.File("live\\b.txt", 1);
    Show("live");
    ASSERT_EQ(1, m_pair.list->GetItemCount());

    m_scratch.File("live\\c.txt", 1);
    m_pair.list->SendMessage(g_shellRefreshMessage, 0, 0);  // only wParam 1 asks for a refresh
    EXPECT_EQ(1, m_pair.list->GetItemCount());
    m_pair.list->SendMessage(g_shellRefreshMessage, 1, 0);
    EXPECT_EQ(2, m_pair.list->GetItemCount());
    // The old message number means nothing to the list.
    m_scratch.File("live\\d.txt", 1);
    m_pair.list->SendMessage(WM_USER + 1, 1, 0);
    EXPECT_EQ(2, m_pair.list->GetItemCount());

    // A command from the folder's menu: the list follows at once, keeping its focus.
    LPITEMIDLIST absolute = nullptr;
    LPCITEMIDLIST relative = nullptr;
    IShellFolder* parent = shell_test::ParentFolderOf(m_scratch.Path("live"), &absolute, &relative);
    ASSERT_NE(nullptr, parent);
    m_seams.menuAnswer = shell_test::CommandOfVerb(parent, relative, "copy");
    parent->Release();
    ::CoTaskMemFree(absolute);
    ASSERT_NE(0u, m_seams.menuAnswer);
    m_pair.list->SetItemFocus(1, TRUE);
    const std::string focused(m_pair.list->GetItemText(1, 0));
    CRect bounds;
    ASSERT_TRUE(m_pair.list->GetItemRect(1, &bounds, LVIR_LABEL));
    CPoint point = bounds.CenterPoint();
    m_pair.list->ClientToScreen(&point);
    ::SetCursorPos(point.x, point.y);
    NMITEMACTIVATE click = {};
    click.hdr = {m_pair.list->m_hWnd, BrowsePair::kListId, static_cast<UINT>(NM_RCLICK)};
    m_pair.container.SendMessage(WM_NOTIFY, BrowsePair::kListId, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(1, m_seams.seen.menusTracked);
    EXPECT_EQ(3, m_pair.list->GetItemCount());
    EXPECT_EQ(focused, std::string(m_pair.list->GetItemText(m_pair.list->GetFocusedItem(), 0)));
}

TEST_F(ShellListTest, FillsAndDeletionsLeaveNoBlockAndTheShellKeepsItsImageLists)
{
    m_scratch.Folder("cycle");
    char name[32];
    for (int index = 0; index < 40; ++index) {
        snprintf(name, sizeof name, "cycle\\item %02d.%s", index, index % 2 ? "jpg" : "txt");
        m_scratch.File(name, 1);
    }
    Show("cycle");
    HIMAGELIST smallIcons = reinterpret_cast<HIMAGELIST>(m_pair.list->SendMessage(LVM_GETIMAGELIST, LVSIL_SMALL));
    HIMAGELIST largeIcons = reinterpret_cast<HIMAGELIST>(m_pair.list->SendMessage(LVM_GETIMAGELIST, LVSIL_NORMAL));
    ASSERT_TRUE(smallIcons && largeIcons);
    {
        shell_test::AllocationCount count;
        ASSERT_TRUE(count.IsCounting());
        for (int round = 0; round < 5; ++round) {
            m_pair.list->ClearExtensions();
            if (round % 2)
                m_pair.list->AddExtension("*.jpg");
            m_pair.list->Refresh();
            ASSERT_EQ(round % 2 ? 20 : 40, m_pair.list->GetItemCount());
            // The rare request for an item's text and image is answered without a block left.
            char text[MAX_PATH] = {};
            NMLVDISPINFOA request = {};
            request.hdr = {m_pair.list->m_hWnd, BrowsePair::kListId, static_cast<UINT>(LVN_GETDISPINFOA)};
            request.item.mask = LVIF_TEXT | LVIF_IMAGE;
            request.item.iItem = 3;
            request.item.lParam = static_cast<LPARAM>(m_pair.list->GetItemData(3));
            request.item.pszText = text;
            request.item.cchTextMax = sizeof text;
            m_pair.container.SendMessage(WM_NOTIFY, BrowsePair::kListId, reinterpret_cast<LPARAM>(&request));
            EXPECT_STREQ(m_pair.list->GetItemText(3, 0), text);
        }
        m_pair.list->DeleteAllItems();
        EXPECT_EQ(0, count.Outstanding());
    }
    // The shell holds more than one reference here, so a list that destroyed them would
    // leave them working: their references tell.
    const ULONG smallReferences = ReferencesOf(smallIcons);
    const ULONG largeReferences = ReferencesOf(largeIcons);
    ASSERT_GT(smallReferences, 0u);
    ASSERT_GT(largeReferences, 0u);
    delete m_pair.list;
    m_pair.list = nullptr;
    m_pair.tree->SetListCtrl(nullptr);
    EXPECT_EQ(smallReferences, ReferencesOf(smallIcons));
    EXPECT_EQ(largeReferences, ReferencesOf(largeIcons));
    EXPECT_GT(ImageList_GetImageCount(smallIcons), 0);
    EXPECT_GT(ImageList_GetImageCount(largeIcons), 0);
}

TEST_F(ShellListTest, ItemsOutsideTheFileSystemAreLeftOutAndNothingOfThemKept)
{
    // My Computer holds the drives, which have paths, and items that have none.
    iShellTreeCtrl& tree = *m_pair.tree;
    LPITEMIDLIST drives = nullptr;
    ASSERT_HRESULT_SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives));
    iShellTreeItem* computer = nullptr;
    for (HTREEITEM child = tree.GetChildItem(tree.GetRootItem()); child && !computer;
         child = tree.GetNextSiblingItem(child)) {
        iShellTreeItem* record = tree.GetRecord(child);
        if (record && record->parentFolder->CompareIDs(0, record->relativeList, drives) == S_OK)
            computer = record;
    }
    ::CoTaskMemFree(drives);
    ASSERT_NE(nullptr, computer);
    IShellFolder* folder = nullptr;
    ASSERT_HRESULT_SUCCEEDED(computer->parentFolder->BindToObject(computer->relativeList, nullptr, IID_IShellFolder,
                                                                 reinterpret_cast<void**>(&folder)));
    m_pair.list->m_enumFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
    int enumerated = 0;
    IEnumIDList* elements = nullptr;
    ASSERT_HRESULT_SUCCEEDED(folder->EnumObjects(nullptr, m_pair.list->m_enumFlags, &elements));
    LPITEMIDLIST element = nullptr;
    ULONG fetched = 0;
    for (; elements->Next(1, &element, &fetched) == S_OK; ++enumerated)
        ::CoTaskMemFree(element);
    elements->Release();
    {
        shell_test::AllocationCount count;
        ASSERT_TRUE(count.IsCounting());
        EXPECT_TRUE(m_pair.list->ShowFolder(computer, folder));
        EXPECT_GE(RowOf(m_pair, "C:\\"), 0);
        EXPECT_LT(m_pair.list->GetItemCount(), enumerated);  // some had no path
        for (int row = 0; row < m_pair.list->GetItemCount(); ++row) {
            SCOPED_TRACE(row);
            EXPECT_FALSE(shell_test::PathOfList(m_pair.list->GetRecord(row)->absoluteList).empty());
        }
        m_pair.list->DeleteAllItems();
        EXPECT_EQ(0, count.Outstanding());
    }
    folder->Release();
}

} // namespace
