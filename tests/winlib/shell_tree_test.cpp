// The shell folder tree on scratch trees in the prefix: the Desktop's level filled once,
// buttons and on-demand children, folders only, hidden folders by the flags, selecting a
// typed path (with the list and the current directory following) also through a folder
// shown under another name, the suppress flag, the right click, and the folder bound on a
// selection released whether or not a list shows it. Display texts are compared with the
// shell's own answers.
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"

#include "shell_test_support.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

using shell_test::BrowsePair;
using shell_test::ScratchTree;
using shell_test::ShellSeams;

// The Desktop's folders as the shell enumerates them with flags.
int DesktopFolderCount(DWORD flags)
{
    IShellFolder* desktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&desktop)))
        return -1;
    IEnumIDList* elements = nullptr;
    int count = 0;
    if (SUCCEEDED(desktop->EnumObjects(nullptr, flags, &elements)) && elements) {
        LPITEMIDLIST element = nullptr;
        ULONG fetched = 0;
        while (elements->Next(1, &element, &fetched) == S_OK) {
            LPCITEMIDLIST asked = element;
            SFGAOF attributes = SFGAO_FOLDER;
            if (SUCCEEDED(desktop->GetAttributesOf(1, &asked, &attributes)) && (attributes & SFGAO_FOLDER))
                ++count;
            ::CoTaskMemFree(element);
        }
        elements->Release();
    }
    desktop->Release();
    return count;
}

int ChildCount(iShellTreeCtrl& tree, HTREEITEM parent)
{
    int count = 0;
    for (HTREEITEM child = tree.GetChildItem(parent); child; child = tree.GetNextSiblingItem(child))
        ++count;
    return count;
}

std::vector<std::string> ChildTexts(iShellTreeCtrl& tree, HTREEITEM parent)
{
    std::vector<std::string> texts;
    for (HTREEITEM child = tree.GetChildItem(parent); child; child = tree.GetNextSiblingItem(child))
        texts.push_back(std::string(tree.GetItemText(child)));
    return shell_test::Sorted(texts);
}

bool ShellSaysHasSubfolders(const std::string& path)
{
    LPITEMIDLIST absolute = nullptr;
    LPCITEMIDLIST relative = nullptr;
    IShellFolder* parent = shell_test::ParentFolderOf(path, &absolute, &relative);
    SFGAOF attributes = SFGAO_HASSUBFOLDER;
    const bool has = parent && SUCCEEDED(parent->GetAttributesOf(1, &relative, &attributes)) &&
                     (attributes & SFGAO_HASSUBFOLDER);
    if (parent)
        parent->Release();
    ::CoTaskMemFree(absolute);
    return has;
}

std::string CurrentDirectory()
{
    char directory[MAX_PATH] = {};
    ::GetCurrentDirectoryA(sizeof directory, directory);
    return directory;
}

class ShellTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_scratch.Folder("Holiday 2004");
        m_scratch.Folder("Holiday 2004\\Day.one");
        m_scratch.Folder("Holiday 2004\\Day.one\\raw");
        m_scratch.File("Holiday 2004\\Day.one\\beach.jpg", 1200);
        m_scratch.File("Holiday 2004\\Day.one\\notes", 5);
        m_scratch.Folder("Holiday 2004\\empty");
        m_scratch.File("Holiday 2004\\cover.jpg", 10);
        m_scratch.Folder("Holiday 2004\\secret");
        m_scratch.Hide("Holiday 2004\\secret");
        m_scratch.Folder("Holiday 2004\\secret\\inside");
        m_scratch.File("top.txt", 1);
    }

    // The tree item of a scratch folder after selecting it.
    HTREEITEM SelectScratch(const std::string& relative)
    {
        m_pair.tree->SelectPath(m_scratch.Path(relative).c_str());
        return m_pair.tree->GetSelectedItem();
    }

    shell_test::OleForTest m_ole;
    shell_test::CurrentDirectoryKeeper m_directory;
    ScratchTree m_scratch;
    ShellSeams m_seams;
    BrowsePair m_pair;
};

TEST_F(ShellTreeTest, TheDesktopIsTheOnlyTopItemWithItsFoldersOnceAfterEveryRefill)
{
    iShellTreeCtrl& tree = *m_pair.tree;
    EXPECT_STREQ("iShellTreeCtrl", tree.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(tree.IsKindOf(RUNTIME_CLASS(iTreeCtrl)));
    EXPECT_EQ(0xFFFFu, tree.GetRuntimeClass()->m_wSchema);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        HTREEITEM desktop = tree.GetRootItem();
        ASSERT_NE(nullptr, desktop);
        EXPECT_EQ(nullptr, tree.GetNextSiblingItem(desktop));
        EXPECT_TRUE(tree.GetItemState(desktop, TVIS_EXPANDED) & TVIS_EXPANDED);
        EXPECT_EQ(DesktopFolderCount(tree.GetEnumFlags()), ChildCount(tree, desktop));
        const iShellTreeItem* record = tree.GetRecord(desktop);
        ASSERT_NE(nullptr, record);
        EXPECT_EQ(nullptr, record->absoluteList);
        EXPECT_EQ(0, record->relativeList->mkid.cb);
        tree.Refill(false);
    }
    EXPECT_FALSE(tree.IsSuppressed());
}

TEST_F(ShellTreeTest, FoldersOnlyWithButtonsAsTheShellAnswersAndChildrenFilledOnce)
{
    iShellTreeCtrl& tree = *m_pair.tree;
    HTREEITEM holiday = SelectScratch("Holiday 2004");
    ASSERT_EQ(m_scratch.Path("Holiday 2004"), m_pair.SelectedPath());
    ASSERT_TRUE(tree.Expand(holiday, TVE_EXPAND));

    // Folders only, the hidden one included with the workspace's flags; files never.
    const std::vector<std::string> expected = shell_test::Sorted(
        {shell_test::ShellDisplayName(m_scratch.Path("Holiday 2004\\Day.one")),
         shell_test::ShellDisplayName(m_scratch.Path("Holiday 2004\\empty")),
         shell_test::ShellDisplayName(m_scratch.Path("Holiday 2004\\secret"))});
    EXPECT_EQ(expected, ChildTexts(tree, holiday));

    // A button where the shell says there are subfolders; one that shows none loses it.
    HTREEITEM dayOne = m_pair.ChildWithPath(holiday, m_scratch.Path("Holiday 2004\\Day.one"));
    HTREEITEM empty = m_pair.ChildWithPath(holiday, m_scratch.Path("Holiday 2004\\empty"));
    ASSERT_TRUE(dayOne && empty);
    EXPECT_TRUE(tree.ItemHasChildren(dayOne));
    // The shell's small icons, closed and open.
    TVITEMA icons = {};
    icons.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    icons.hItem = dayOne;
    ASSERT_TRUE(tree.GetItem(&icons));
    LPITEMIDLIST dayOneList = shell_test::ParsePath(m_scratch.Path("Holiday 2004\\Day.one"));
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(dayOneList), 0, &info, sizeof info,
                     SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON);
    EXPECT_EQ(info.iIcon, icons.iImage);
    ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(dayOneList), 0, &info, sizeof info,
                     SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON | SHGFI_OPENICON);
    EXPECT_EQ(info.iIcon, icons.iSelectedImage);
    ::CoTaskMemFree(dayOneList);
    EXPECT_EQ(ShellSaysHasSubfolders(m_scratch.Path("Holiday 2004\\empty")), tree.ItemHasChildren(empty) != FALSE);
    tree.Expand(empty, TVE_EXPAND);
    EXPECT_FALSE(tree.ItemHasChildren(empty));
    EXPECT_EQ(nullptr, tree.GetChildItem(empty));

    // Expanding, collapsing and expanding again enumerates once: a folder made in
    // between does not appear, and nothing appears twice.
    tree.Expand(dayOne, TVE_EXPAND);
    EXPECT_EQ(1, ChildCount(tree, dayOne));
    m_scratch.Folder("Holiday 2004\\Day.one\\later");
    tree.Expand(dayOne, TVE_COLLAPSE);
    tree.Expand(dayOne, TVE_EXPAND);
    EXPECT_EQ(1, ChildCount(tree, dayOne));
    EXPECT_NE(nullptr, m_pair.ChildWithPath(dayOne, m_scratch.Path("Holiday 2004\\Day.one\\raw")));
}

TEST_F(ShellTreeTest, HiddenFoldersAppearOnlyWithTheFlagThatIncludesThem)
{
    const std::string secret = m_scratch.Path("Holiday 2004\\secret");
    for (DWORD flags : {static_cast<DWORD>(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS), BrowsePair::kTreeFlags}) {
        SCOPED_TRACE(flags);
        m_pair.tree->SetEnumFlags(flags, true);
        HTREEITEM holiday = SelectScratch("Holiday 2004");
        m_pair.tree->Expand(holiday, TVE_EXPAND);
        EXPECT_EQ((flags & SHCONTF_INCLUDEHIDDEN) != 0, m_pair.ChildWithPath(holiday, secret) != nullptr);
    }
}

TEST_F(ShellTreeTest, SelectingAPathMakesTreeDirectoryAndListAgree)
{
    struct Case {
        const char* why;
        std::string typed;
        std::string selected;  // the folder that ends selected
        DWORD flags;
    };
    const std::string dayOne = m_scratch.Path("Holiday 2004\\Day.one");
    std::string otherCase = dayOne;
    CharUpperBuffA(&otherCase[0], static_cast<DWORD>(otherCase.size()));
    const Case cases[] = {
        {"an existing folder", dayOne, dayOne, BrowsePair::kTreeFlags},
        {"with a trailing backslash", dayOne + "\\", dayOne, BrowsePair::kTreeFlags},
        {"in other letter case", otherCase, dayOne, BrowsePair::kTreeFlags},
        {"a drive root", "C:\\", "C:\\", BrowsePair::kTreeFlags},
        {"a hidden component while hidden folders are left out: its parent",
         m_scratch.Path("Holiday 2004\\secret\\inside"), m_scratch.Path("Holiday 2004"),
         SHCONTF_FOLDERS | SHCONTF_NONFOLDERS},
        {"the hidden component with hidden folders shown", m_scratch.Path("Holiday 2004\\secret\\inside"),
         m_scratch.Path("Holiday 2004\\secret\\inside"), BrowsePair::kTreeFlags},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        m_pair.tree->SetEnumFlags(c.flags, true);
        ASSERT_TRUE(m_pair.tree->IsSuppressed());
        m_pair.tree->SelectPath(c.typed.c_str());
        EXPECT_FALSE(m_pair.tree->IsSuppressed());
        EXPECT_EQ(c.selected, m_pair.SelectedPath());
        EXPECT_EQ(0, lstrcmpiA(c.selected.c_str(), CurrentDirectory().c_str())) << CurrentDirectory();
        EXPECT_EQ(BrowsePair::FilesOf(c.selected), shell_test::Sorted(m_pair.ListNames()));
        EXPECT_TRUE(m_seams.seen.boxTexts.empty());
    }
}

TEST_F(ShellTreeTest, AMissingFolderIsReportedAndNothingMoves)
{
    const std::string start = m_scratch.Path("Holiday 2004");
    SelectScratch("Holiday 2004");
    const std::vector<std::string> shown = m_pair.ListNames();
    for (const std::string& missing : {m_scratch.Path("Holiday 2004\\gone"), m_scratch.Path("nowhere\\at all\\")}) {
        SCOPED_TRACE(missing);
        m_pair.tree->SetEnumFlags(BrowsePair::kTreeFlags, false);
        m_seams.seen = shell_test::Recorded();
        m_pair.tree->SelectPath(missing.c_str());
        ASSERT_EQ(1u, m_seams.seen.boxTexts.size());
        EXPECT_EQ(missing, m_seams.seen.boxTexts[0]);
        EXPECT_EQ("Folder not found", m_seams.seen.boxCaptions[0]);
        EXPECT_TRUE(m_seams.seen.boxStyles[0] & MB_ICONERROR);
        EXPECT_EQ(m_pair.tree->m_hWnd, m_seams.seen.boxOwners[0]);
        EXPECT_EQ(start, m_pair.SelectedPath());
        EXPECT_EQ(shown, m_pair.ListNames());
    }
    // The suppress flag is cleared all the same.
    m_pair.tree->SetEnumFlags(BrowsePair::kTreeFlags, true);
    m_pair.tree->SelectPath(m_scratch.Path("gone").c_str());
    EXPECT_FALSE(m_pair.tree->IsSuppressed());
}

TEST_F(ShellTreeTest, AfterARefillSelectionsWaitForTheFirstSelectedPath)
{
    iShellTreeCtrl& tree = *m_pair.tree;
    SelectScratch("Holiday 2004\\Day.one");
    const std::vector<std::string> dayOneFiles = m_pair.ListNames();
    const std::string directory = CurrentDirectory();
    ASSERT_FALSE(dayOneFiles.empty());

    tree.SetEnumFlags(BrowsePair::kTreeFlags, true);
    // Clicking a folder: the first folder under the Desktop that has a file-system path.
    HTREEITEM clicked = nullptr;
    CString path;
    for (HTREEITEM child = tree.GetChildItem(tree.GetRootItem()); child && !clicked;
         child = tree.GetNextSiblingItem(child)) {
        if (tree.GetItemPath(child, path))
            clicked = child;
    }
    ASSERT_NE(nullptr, clicked);
    tree.SelectItem(clicked);
    EXPECT_EQ(dayOneFiles, m_pair.ListNames());
    EXPECT_EQ(directory, CurrentDirectory());

    SelectScratch("Holiday 2004");
    EXPECT_EQ(BrowsePair::FilesOf(m_scratch.Path("Holiday 2004")), shell_test::Sorted(m_pair.ListNames()));
    tree.SelectItem(clicked);
    EXPECT_EQ(BrowsePair::FilesOf(std::string(path)), shell_test::Sorted(m_pair.ListNames()));
    // A special folder's path may end in a backslash; the current directory never does.
    std::string clickedPath(path);
    if (clickedPath.size() > 3 && clickedPath.back() == '\\')
        clickedPath.pop_back();
    EXPECT_EQ(0, lstrcmpiA(clickedPath.c_str(), CurrentDirectory().c_str())) << clickedPath;
}

// The tree's right click, as the control reports it, with the cursor at a point.
void RightClickAt(BrowsePair& pair, CPoint client)
{
    pair.tree->ClientToScreen(&client);
    ::SetCursorPos(client.x, client.y);
    NMHDR click = {pair.tree->m_hWnd, BrowsePair::kTreeId, static_cast<UINT>(NM_RCLICK)};
    pair.container.SendMessage(WM_NOTIFY, BrowsePair::kTreeId, reinterpret_cast<LPARAM>(&click));
}

TEST_F(ShellTreeTest, RightClickSelectsAndOnTheLabelShowsTheShellMenu)
{
    iShellTreeCtrl& tree = *m_pair.tree;
    HTREEITEM holiday = SelectScratch("Holiday 2004");
    tree.Expand(holiday, TVE_EXPAND);
    HTREEITEM dayOne = m_pair.ChildWithPath(holiday, m_scratch.Path("Holiday 2004\\Day.one"));
    HTREEITEM empty = m_pair.ChildWithPath(holiday, m_scratch.Path("Holiday 2004\\empty"));
    ASSERT_TRUE(dayOne && empty);
    tree.EnsureVisible(empty);

    CRect label;
    ASSERT_TRUE(tree.GetItemRect(dayOne, &label, TRUE));
    RightClickAt(m_pair, label.CenterPoint());
    EXPECT_EQ(dayOne, tree.GetSelectedItem());
    EXPECT_EQ(1, m_seams.seen.menusTracked);
    EXPECT_EQ(BrowsePair::FilesOf(m_scratch.Path("Holiday 2004\\Day.one")), shell_test::Sorted(m_pair.ListNames()));

    // On the icon, left of the label: selected, no menu.
    ASSERT_TRUE(tree.GetItemRect(empty, &label, TRUE));
    RightClickAt(m_pair, CPoint(label.left - 8, label.CenterPoint().y));
    EXPECT_EQ(empty, tree.GetSelectedItem());
    EXPECT_EQ(1, m_seams.seen.menusTracked);

    // Empty space below the items: the selection goes, the list keeps what it shows.
    const std::vector<std::string> shown = m_pair.ListNames();
    CRect client;
    tree.GetClientRect(&client);
    tree.EnsureVisible(tree.GetRootItem());
    HTREEITEM last = tree.GetRootItem();
    for (HTREEITEM next = last; next; next = tree.GetNextVisibleItem(next))
        last = next;
    CRect lastRect;
    ASSERT_TRUE(tree.GetItemRect(last, &lastRect, FALSE));
    if (lastRect.bottom + 4 < client.bottom) {
        RightClickAt(m_pair, CPoint(client.CenterPoint().x, client.bottom - 2));
        EXPECT_EQ(nullptr, tree.GetSelectedItem());
        EXPECT_EQ(shown, m_pair.ListNames());
    }
    EXPECT_EQ(1, m_seams.seen.menusTracked);
}

TEST_F(ShellTreeTest, ACommandFromTheTreesMenuTellsItsParentToRefresh)
{
    iShellTreeCtrl& tree = *m_pair.tree;
    HTREEITEM holiday = SelectScratch("Holiday 2004");
    tree.Expand(holiday, TVE_EXPAND);
    HTREEITEM dayOne = m_pair.ChildWithPath(holiday, m_scratch.Path("Holiday 2004\\Day.one"));
    ASSERT_NE(nullptr, dayOne);
    const iShellTreeItem* record = tree.GetRecord(dayOne);
    m_seams.menuAnswer = shell_test::CommandOfVerb(record->parentFolder, record->relativeList, "copy");
    ASSERT_NE(0u, m_seams.menuAnswer);
    CRect label;
    ASSERT_TRUE(tree.GetItemRect(dayOne, &label, TRUE));
    RightClickAt(m_pair, label.CenterPoint());
    EXPECT_EQ(std::vector<WPARAM>{1}, m_pair.container.refreshes);
}

TEST_F(ShellTreeTest, FoldersAreFoundByTheirNamesOnDiskWhateverTheTreeShows)
{
    iShellTreeCtrl& tree = *m_pair.tree;
    HTREEITEM holiday = SelectScratch("Holiday 2004");
    ASSERT_EQ(m_scratch.Path("Holiday 2004"), m_pair.SelectedPath());
    tree.Expand(holiday, TVE_EXPAND);
    HTREEITEM dayOne = m_pair.ChildWithPath(holiday, m_scratch.Path("Holiday 2004\\Day.one"));
    ASSERT_NE(nullptr, dayOne);
    // A folder the shell shows under a name of its own, as it shows localised folders.
    ASSERT_TRUE(tree.SetItemText(dayOne, "Erster Tag"));

    const std::string raw = m_scratch.Path("Holiday 2004\\Day.one\\raw");
    tree.SelectPath(raw.c_str());
    EXPECT_EQ(raw, m_pair.SelectedPath()) << "the walk went on through the renamed folder";
    EXPECT_EQ("Erster Tag", std::string(tree.GetItemText(dayOne)));
    EXPECT_TRUE(m_seams.seen.boxTexts.empty());
}

// Passes every call to the folder it wraps and counts the folders it binds to that are
// still referenced (each a wrapper itself).
class CountingFolder final : public IShellFolder {
public:
    CountingFolder(IShellFolder* inner, int* alive) : m_inner(inner), m_alive(alive)
    {
        if (m_alive)
            ++*m_alive;
    }
    int bindings = 0;
    int boundAlive = 0;

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellFolder)) {
            *object = static_cast<IShellFolder*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_references; }
    STDMETHODIMP_(ULONG) Release() override
    {
        const ULONG left = --m_references;
        if (left == 0) {
            if (m_alive)
                --*m_alive;
            m_inner->Release();
            delete this;
        }
        return left;
    }
    STDMETHODIMP ParseDisplayName(HWND window, LPBC context, LPOLESTR name, ULONG* eaten, LPITEMIDLIST* list,
                                  ULONG* attributes) override
    {
        return m_inner->ParseDisplayName(window, context, name, eaten, list, attributes);
    }
    STDMETHODIMP EnumObjects(HWND window, SHCONTF flags, IEnumIDList** elements) override
    {
        return m_inner->EnumObjects(window, flags, elements);
    }
    STDMETHODIMP BindToObject(LPCITEMIDLIST list, LPBC context, REFIID riid, void** object) override
    {
        IShellFolder* bound = nullptr;
        const HRESULT result = m_inner->BindToObject(list, context, IID_IShellFolder, reinterpret_cast<void**>(&bound));
        if (FAILED(result) || !IsEqualIID(riid, IID_IShellFolder)) {
            if (bound)
                bound->Release();
            *object = nullptr;
            return FAILED(result) ? result : E_NOINTERFACE;
        }
        ++bindings;
        *object = static_cast<IShellFolder*>(new CountingFolder(bound, &boundAlive));
        return S_OK;
    }
    STDMETHODIMP BindToStorage(LPCITEMIDLIST list, LPBC context, REFIID riid, void** object) override
    {
        return m_inner->BindToStorage(list, context, riid, object);
    }
    STDMETHODIMP CompareIDs(LPARAM how, LPCITEMIDLIST first, LPCITEMIDLIST second) override
    {
        return m_inner->CompareIDs(how, first, second);
    }
    STDMETHODIMP CreateViewObject(HWND owner, REFIID riid, void** object) override
    {
        return m_inner->CreateViewObject(owner, riid, object);
    }
    STDMETHODIMP GetAttributesOf(UINT count, LPCITEMIDLIST* lists, SFGAOF* attributes) override
    {
        return m_inner->GetAttributesOf(count, lists, attributes);
    }
    STDMETHODIMP GetUIObjectOf(HWND owner, UINT count, LPCITEMIDLIST* lists, REFIID riid, UINT* reserved,
                               void** object) override
    {
        return m_inner->GetUIObjectOf(owner, count, lists, riid, reserved, object);
    }
    STDMETHODIMP GetDisplayNameOf(LPCITEMIDLIST list, SHGDNF flags, STRRET* name) override
    {
        return m_inner->GetDisplayNameOf(list, flags, name);
    }
    STDMETHODIMP SetNameOf(HWND window, LPCITEMIDLIST list, LPCOLESTR name, SHGDNF flags,
                           LPITEMIDLIST* newList) override
    {
        return m_inner->SetNameOf(window, list, name, flags, newList);
    }

private:
    ~CountingFolder() = default;
    IShellFolder* m_inner;
    int* m_alive;
    ULONG m_references = 1;
};

// The item's parent folder becomes a counting wrapper, which the record then holds.
CountingFolder* CountBindingsOf(iShellTreeCtrl& tree, HTREEITEM item)
{
    iShellTreeItem* record = tree.GetRecord(item);
    if (!record || !record->parentFolder)
        return nullptr;
    auto* counting = new CountingFolder(record->parentFolder, nullptr);
    record->parentFolder = counting;
    return counting;
}

TEST_F(ShellTreeTest, SelectingAFolderReleasesItsBoundFolderWithOrWithoutAListToShowIt)
{
    iShellTreeCtrl& tree = *m_pair.tree;
    {
        SCOPED_TRACE("no list linked");
        HTREEITEM dayOne = SelectScratch("Holiday 2004\\Day.one");
        tree.Expand(dayOne, TVE_EXPAND);
        HTREEITEM raw = m_pair.ChildWithPath(dayOne, m_scratch.Path("Holiday 2004\\Day.one\\raw"));
        ASSERT_NE(nullptr, raw);
        CountingFolder* parent = CountBindingsOf(tree, raw);
        ASSERT_NE(nullptr, parent);
        tree.SetListCtrl(nullptr);
        tree.SelectItem(raw);
        EXPECT_GE(parent->bindings, 1) << "the selection bound the folder";
        EXPECT_EQ(0, parent->boundAlive) << "and let it go";
        tree.SetListCtrl(m_pair.list);
    }
    {
        SCOPED_TRACE("the suppress flag set");
        tree.SetEnumFlags(BrowsePair::kTreeFlags, true);
        ASSERT_TRUE(tree.IsSuppressed());
        HTREEITEM folder = nullptr;
        CString path;
        for (HTREEITEM child = tree.GetChildItem(tree.GetRootItem()); child && !folder;
             child = tree.GetNextSiblingItem(child)) {
            if (tree.GetItemPath(child, path))
                folder = child;
        }
        ASSERT_NE(nullptr, folder);
        CountingFolder* parent = CountBindingsOf(tree, folder);
        ASSERT_NE(nullptr, parent);
        tree.SelectItem(folder);
        EXPECT_GE(parent->bindings, 1);
        EXPECT_EQ(0, parent->boundAlive);
    }
}

TEST_F(ShellTreeTest, RecordsAreFreedWithTheirItemsAndTheWindow)
{
    shell_test::AllocationCount count;
    ASSERT_TRUE(count.IsCounting());
    {
        BrowsePair pair;
        pair.tree->SelectPath(m_scratch.Path("Holiday 2004\\Day.one\\raw").c_str());
        ASSERT_EQ(m_scratch.Path("Holiday 2004\\Day.one\\raw"), pair.SelectedPath());
        pair.tree->Refill(false);
        pair.tree->SelectPath(m_scratch.Path("Holiday 2004").c_str());
    }
    EXPECT_EQ(0, count.Outstanding());
}

TEST_F(ShellTreeTest, TheSystemImageListOutlivesTheTree)
{
    HIMAGELIST system = nullptr;
    {
        BrowsePair pair;
        system = reinterpret_cast<HIMAGELIST>(pair.tree->SendMessage(TVM_GETIMAGELIST, TVSIL_NORMAL));
        ASSERT_NE(nullptr, system);
        HTREEITEM desktop = pair.tree->GetRootItem();
        TVITEMA item = {};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = desktop;
        ASSERT_TRUE(pair.tree->GetItem(&item));
        EXPECT_LT(item.iImage, ImageList_GetImageCount(system));
    }
    EXPECT_GT(ImageList_GetImageCount(system), 0);
}

} // namespace
