// Times the shell browsing controls on the folders users click: a folder of 5,000 files
// (half of them .jpg) shown whole and filtered, refilled with the focus kept, a path 10
// folders deep selected from a fresh tree, and a folder of 1,000 subfolders filled. Beside
// each, its floor: the shell calls the control makes per item and bare inserts of as many
// rows with drawing off. Prints the median of several runs. The folders are made in the
// temporary folder and removed afterwards.
#include "bench/bench_timing.h"
#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"
#include "lib/src/Win2/Wnd/iWnd.h"
#include "tests/winlib/scratch_folder.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

IID g_iidShellFolder = IID_IShellFolder;
IID g_iidContextMenu = IID_IContextMenu;

namespace {

// The plain way's floors take a minute and more under Wine: three runs each.
constexpr int kRuns = 3;
constexpr int kFiles = 5000;
constexpr int kFocusedItem = 4000;
constexpr int kChainDepth = 10;
constexpr int kSubfolders = 1000;

// Median of kRuns runs of work, each after prepare (untimed); the first run counts too, as
// the floors are too slow to run one more.
double MedianMs(const std::function<void()>& prepare, const std::function<void()>& work)
{
    return bench::MedianMs(kRuns, bench::FirstRun::Counted, work, prepare);
}

void MakeFile(const std::string& path)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, "bench", 5, &written, nullptr);
    ::CloseHandle(file);
}

struct Folders {
    std::string root, many, deepest, wide;
};

Folders MakeFolders()
{
    Folders folders;
    folders.root = shell_test::LongTempFolder() + "shell bench";
    shell_test::RemoveTree(folders.root);
    ::CreateDirectoryA(folders.root.c_str(), nullptr);
    folders.many = folders.root + "\\many";
    ::CreateDirectoryA(folders.many.c_str(), nullptr);
    char name[64];
    for (int index = 0; index < kFiles; ++index) {
        snprintf(name, sizeof name, "\\photo %04d.%s", index, index % 2 ? "jpg" : "txt");
        MakeFile(folders.many + name);
    }
    folders.deepest = folders.root;
    for (int level = 1; level <= kChainDepth; ++level) {
        folders.deepest += "\\level " + std::to_string(level);
        ::CreateDirectoryA(folders.deepest.c_str(), nullptr);
    }
    folders.wide = folders.root + "\\wide";
    ::CreateDirectoryA(folders.wide.c_str(), nullptr);
    for (int index = 0; index < kSubfolders; ++index) {
        snprintf(name, sizeof name, "\\album %04d", index);
        ::CreateDirectoryA((folders.wide + name).c_str(), nullptr);
    }
    return folders;
}

IShellFolder* BindPath(const std::string& path, LPITEMIDLIST* absolute)
{
    WCHAR wide[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    *absolute = nullptr;
    IShellFolder* desktop = nullptr;
    IShellFolder* folder = nullptr;
    ::SHGetDesktopFolder(&desktop);
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide, nullptr, absolute, nullptr)))
        desktop->BindToObject(*absolute, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder));
    desktop->Release();
    return folder;
}

// The list's floor for a folder: the enumeration with each item's parsing name, then for
// the items the filter keeps one FindFirstFile and the three file-information calls by
// path, the plain way to fill a row. Answers how many items were kept.
int ListShellCalls(const std::string& path, const char* onlyExtension)
{
    LPITEMIDLIST absolute = nullptr;
    IShellFolder* folder = BindPath(path, &absolute);
    IEnumIDList* elements = nullptr;
    int kept = 0;
    folder->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &elements);
    LPITEMIDLIST element = nullptr;
    ULONG fetched = 0;
    while (elements->Next(1, &element, &fetched) == S_OK) {
        STRRET name = {};
        char parsing[MAX_PATH] = {};
        if (SUCCEEDED(folder->GetDisplayNameOf(element, SHGDN_FORPARSING, &name)))
            StrRetToBufA(&name, element, parsing, sizeof parsing);
        const char* dot = strrchr(parsing, '.');
        if (!onlyExtension || (dot && lstrcmpiA(dot + 1, onlyExtension) == 0)) {
            WIN32_FIND_DATAA found;
            HANDLE search = ::FindFirstFileA(parsing, &found);
            if (search != INVALID_HANDLE_VALUE)
                ::FindClose(search);
            SHFILEINFOA info = {};
            ::SHGetFileInfoA(parsing, 0, &info, sizeof info, SHGFI_DISPLAYNAME);
            ::SHGetFileInfoA(parsing, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
            ::SHGetFileInfoA(parsing, 0, &info, sizeof info, SHGFI_TYPENAME);
            ++kept;
        }
        ::CoTaskMemFree(element);
    }
    elements->Release();
    folder->Release();
    ::CoTaskMemFree(absolute);
    return kept;
}

// The calls the list makes per item now: the enumeration with both names and the
// attributes, the file's data by path, the icon asked of the folder, and the type name by
// path for every item or once per extension.
void ListCallsNow(const std::string& path, bool typeNamePerExtension)
{
    LPITEMIDLIST absolute = nullptr;
    IShellFolder* folder = BindPath(path, &absolute);
    IEnumIDList* elements = nullptr;
    folder->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &elements);
    LPITEMIDLIST element = nullptr;
    ULONG fetched = 0;
    std::set<std::string> askedExtensions;
    while (elements->Next(1, &element, &fetched) == S_OK) {
        STRRET name = {};
        char parsing[MAX_PATH] = {};
        char shown[MAX_PATH] = {};
        if (SUCCEEDED(folder->GetDisplayNameOf(element, SHGDN_FORPARSING, &name)))
            StrRetToBufA(&name, element, parsing, sizeof parsing);
        LPCITEMIDLIST asked = element;
        SFGAOF attributes = 0xFC000;
        folder->GetAttributesOf(1, &asked, &attributes);
        if (SUCCEEDED(folder->GetDisplayNameOf(element, SHGDN_NORMAL, &name)))
            StrRetToBufA(&name, element, shown, sizeof shown);
        WIN32_FILE_ATTRIBUTE_DATA data;
        ::GetFileAttributesExA(parsing, GetFileExInfoStandard, &data);
        ::SHMapPIDLToSystemImageListIndex(folder, element, nullptr);
        const char* dot = strrchr(parsing, '.');
        if (!typeNamePerExtension || askedExtensions.insert(dot ? dot + 1 : "").second) {
            SHFILEINFOA info = {};
            ::SHGetFileInfoA(parsing, 0, &info, sizeof info, SHGFI_TYPENAME);
        }
        ::CoTaskMemFree(element);
    }
    elements->Release();
    folder->Release();
    ::CoTaskMemFree(absolute);
}

// The tree's floor for a folder: the enumeration with each folder's attributes, display
// name and two icons by its absolute list, the plain way to fill an item; with
// iconFromFolder, the calls it makes now: the closed icon asked of the folder at hand.
int TreeShellCalls(const std::string& path, bool iconFromFolder = false)
{
    LPITEMIDLIST absolute = nullptr;
    IShellFolder* folder = BindPath(path, &absolute);
    IEnumIDList* elements = nullptr;
    int folders = 0;
    folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, &elements);
    LPITEMIDLIST element = nullptr;
    ULONG fetched = 0;
    while (elements->Next(1, &element, &fetched) == S_OK) {
        LPCITEMIDLIST asked = element;
        SFGAOF attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
        folder->GetAttributesOf(1, &asked, &attributes);
        if (attributes & SFGAO_FOLDER) {
            STRRET name = {};
            char text[MAX_PATH];
            if (SUCCEEDED(folder->GetDisplayNameOf(element, SHGDN_NORMAL, &name)))
                StrRetToBufA(&name, element, text, sizeof text);
            if (iconFromFolder) {
                ::SHMapPIDLToSystemImageListIndex(folder, element, nullptr);
                ++folders;
                ::CoTaskMemFree(element);
                continue;
            }
            LPITEMIDLIST full = ILCombine(absolute, element);
            SHFILEINFOA info = {};
            ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(full), 0, &info, sizeof info,
                             SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON);
            ::SHGetFileInfoA(reinterpret_cast<LPCSTR>(full), 0, &info, sizeof info,
                             SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON | SHGFI_OPENICON);
            ILFree(full);
            ++folders;
        }
        ::CoTaskMemFree(element);
    }
    elements->Release();
    folder->Release();
    ::CoTaskMemFree(absolute);
    return folders;
}

void BareListInserts(CWnd& parent, int rows)
{
    CListCtrl list;
    list.Create(WS_VISIBLE | LVS_REPORT, CRect(0, 0, 400, 300), &parent, 900);
    for (int column = 0; column < 4; ++column)
        list.InsertColumn(column, "column", LVCFMT_LEFT, 80, column);
    list.SetRedraw(FALSE);
    for (int row = 0; row < rows; ++row) {
        const int index = list.InsertItem(LVIF_TEXT | LVIF_IMAGE, row, "photo 0000.jpg", 0, 0, 1, 0);
        list.SetItemText(index, 1, "1KB");
        list.SetItemText(index, 2, "JPEG image");
        list.SetItemText(index, 3, "24/12/2004 18:30");
    }
    list.SetRedraw(TRUE);
}

void BareTreeInserts(CWnd& parent, int rows)
{
    CTreeCtrl tree;
    tree.Create(WS_VISIBLE | TVS_HASBUTTONS, CRect(0, 0, 300, 300), &parent, 901);
    tree.SetRedraw(FALSE);
    HTREEITEM root = tree.InsertItem("root");
    HTREEITEM previous = TVI_LAST;
    for (int row = 0; row < rows; ++row)
        previous = tree.InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, "album 0000", 1, 2, 0, 0, 0, root,
                                   previous);
    tree.SetRedraw(TRUE);
}

void Row(const char* name, double controlMs, double floorMs)
{
    printf("%-44s %10.1f %10.1f %8.2f\n", name, controlMs, floorMs, controlMs / floorMs);
    fflush(stdout);
}

void FloorRow(const char* name, double floorMs)
{
    printf("%-44s %10s %10.1f\n", name, "", floorMs);
    fflush(stdout);
}

} // namespace

int main()
{
    ::OleInitialize(nullptr);
    const Folders folders = MakeFolders();
    iWnd container(nullptr, CRect(0, 0, 800, 600), WS_OVERLAPPEDWINDOW, "shell bench", 0, 0, nullptr);
    auto* tree = new iShellTreeCtrl(&container, CRect(0, 0, 260, 580),
                                    WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, nullptr, 1,
                                    WS_EX_CLIENTEDGE, nullptr);
    auto* list = new iShellListCtrl(&container, CRect(270, 0, 790, 580), WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL,
                                    nullptr, 2, WS_EX_CLIENTEDGE, nullptr);
    tree->SetListCtrl(list);
    tree->SetEnumFlags(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, true);
    list->SetTreeCtrl(tree);
    list->m_enumFlags = SHCONTF_NONFOLDERS;
    tree->SelectPath(folders.many.c_str());

    printf("case (median of %d runs)%*s %10s %10s %8s\n", kRuns, 20, "", "control ms", "floor ms", "ratio");
    iShellTreeItem* record = tree->GetRecord(tree->GetSelectedItem());
    LPITEMIDLIST manyList = nullptr;
    IShellFolder* many = BindPath(folders.many, &manyList);
    const auto noPrepare = [] {};

    const double listFloor = MedianMs(noPrepare, [&] { ListShellCalls(folders.many, nullptr); }) +
                             MedianMs(noPrepare, [&] { BareListInserts(container, kFiles); });
    list->ClearExtensions();
    Row("ShowFolder, 5,000 files, no filter",
        MedianMs(noPrepare, [&] { list->ShowFolder(record, many); }), listFloor);
    const double insertsMs = MedianMs(noPrepare, [&] { BareListInserts(container, kFiles); });
    FloorRow("  floor: calls made now, type name per item",
             MedianMs(noPrepare, [&] { ListCallsNow(folders.many, false); }) + insertsMs);
    FloorRow("  floor: calls made now, type name per extension",
             MedianMs(noPrepare, [&] { ListCallsNow(folders.many, true); }) + insertsMs);
    const int jpgs = ListShellCalls(folders.many, "jpg");
    const double jpgFloor = MedianMs(noPrepare, [&] { ListShellCalls(folders.many, "jpg"); }) +
                            MedianMs(noPrepare, [&] { BareListInserts(container, jpgs); });
    list->AddExtension("*.jpg");
    Row("ShowFolder, 5,000 files, {jpg}", MedianMs(noPrepare, [&] { list->ShowFolder(record, many); }), jpgFloor);
    list->ClearExtensions();
    list->ShowFolder(record, many);
    Row("RefreshKeepSelection, focus on item 4,000",
        MedianMs([&] { list->SetItemFocus(kFocusedItem, TRUE); }, [&] { list->RefreshKeepSelection(); }), listFloor);

    // The walk's floor: every level's folders enumerated as the tree does, from the drive
    // down, with bare inserts of as many items.
    std::vector<std::string> levels;
    for (std::string path = folders.deepest; path.size() > 3; path = path.substr(0, path.rfind('\\')))
        levels.push_back(path.substr(0, path.rfind('\\')));
    int walkItems = 0;
    for (const std::string& level : levels)
        walkItems += TreeShellCalls(level.size() == 2 ? level + "\\" : level);
    const double walkFloor = MedianMs(noPrepare, [&] {
                                 for (const std::string& level : levels)
                                     TreeShellCalls(level.size() == 2 ? level + "\\" : level);
                             }) +
                             MedianMs(noPrepare, [&] { BareTreeInserts(container, walkItems); });
    iShellTreeCtrl* fresh = nullptr;
    Row("SelectPath, 10 folders deep, fresh tree",
        MedianMs(
            [&] {
                delete fresh;
                fresh = new iShellTreeCtrl(&container, CRect(0, 0, 260, 580), WS_VISIBLE | TVS_HASBUTTONS, nullptr, 3,
                                           0, nullptr);
                fresh->SetEnumFlags(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN, true);
            },
            [&] { fresh->SelectPath(folders.deepest.c_str()); }),
        walkFloor);
    delete fresh;

    tree->SelectPath(folders.wide.c_str());
    HTREEITEM wideItem = tree->GetSelectedItem();
    iShellTreeItem* wideRecord = tree->GetRecord(wideItem);
    LPITEMIDLIST wideList = nullptr;
    IShellFolder* wide = BindPath(folders.wide, &wideList);
    const double fillFloor = MedianMs(noPrepare, [&] { TreeShellCalls(folders.wide); }) +
                             MedianMs(noPrepare, [&] { BareTreeInserts(container, kSubfolders); });
    const double fillFloorNow = MedianMs(noPrepare, [&] { TreeShellCalls(folders.wide, true); }) +
                                MedianMs(noPrepare, [&] { BareTreeInserts(container, kSubfolders); });
    Row("FillChildren, 1,000 subfolders",
        MedianMs(
            [&] {
                while (HTREEITEM child = tree->GetChildItem(wideItem))
                    tree->DeleteItem(child);
            },
            [&] { tree->FillChildren(wide, wideRecord->absoluteList, wideItem); }),
        fillFloor);
    FloorRow("  floor: calls made now", fillFloorNow);

    wide->Release();
    many->Release();
    ::CoTaskMemFree(wideList);
    ::CoTaskMemFree(manyList);
    delete list;
    delete tree;
    ::SetCurrentDirectoryA(folders.root.substr(0, 3).c_str());
    shell_test::RemoveTree(folders.root);
    ::OleUninitialize();
    return 0;
}
