// Scratch trees, recorders and the shell's own answers for the shell browsing tests.
#include "shell_test_support.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <fstream>

namespace shell_test {

namespace {

ShellSeams* g_seams = nullptr;

HINSTANCE WINAPI RecordOpen(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT)
{
    g_seams->seen.opened.push_back(file ? file : "");
    return reinterpret_cast<HINSTANCE>(g_seams->openAnswer);
}

// Hands out two fresh event handles as the process's, so a test can see them closed.
BOOL WINAPI RecordStart(LPCSTR, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                        LPCSTR, LPSTARTUPINFOA startup, LPPROCESS_INFORMATION info)
{
    EXPECT_EQ(sizeof(STARTUPINFOA), startup->cb);
    g_seams->seen.started.push_back(commandLine ? commandLine : "");
    if (!g_seams->startSucceeds)
        return FALSE;
    info->hProcess = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    info->hThread = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // A small value: cut to an int it would read as failure.
    info->dwProcessId = 4;
    info->dwThreadId = 8;
    g_seams->seen.startedProcess = info->hProcess;
    g_seams->seen.startedThread = info->hThread;
    return TRUE;
}

BOOL WINAPI RecordTrack(HMENU menu, UINT flags, int, int, int, HWND, const RECT*)
{
    ++g_seams->seen.menusTracked;
    EXPECT_TRUE(flags & TPM_RETURNCMD);
    EXPECT_GT(::GetMenuItemCount(menu), 0);
    return static_cast<BOOL>(g_seams->menuAnswer);
}

int RecordBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    g_seams->seen.boxTexts.push_back(text ? text : "");
    g_seams->seen.boxCaptions.push_back(caption ? caption : "");
    g_seams->seen.boxStyles.push_back(style);
    g_seams->seen.boxOwners.push_back(owner);
    return IDOK;
}

// Counts blocks through the allocator's spy interface; the frees it counts are those of
// blocks it saw made.
class CountingSpy : public IMallocSpy {
public:
    std::atomic<long> outstanding{0};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IMallocSpy)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T request) override { return request; }
    void* STDMETHODCALLTYPE PostAlloc(void* actual) override
    {
        if (actual)
            ++outstanding;
        return actual;
    }
    void* STDMETHODCALLTYPE PreFree(void* request, BOOL spied) override
    {
        if (request && spied)
            --outstanding;
        return request;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** newRequest, BOOL) override
    {
        *newRequest = request;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { return actual; }
    void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { return request; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T actual, BOOL) override { return actual; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { return request; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

CountingSpy g_spy;

} // namespace

ScratchTree::ScratchTree()
{
    static int serial = 0;
    m_root = LongTempFolder() + "shell scratch " + std::to_string(::GetCurrentProcessId()) + "." +
             std::to_string(++serial);
    RemoveTree(m_root);
    EXPECT_TRUE(::CreateDirectoryA(m_root.c_str(), nullptr)) << m_root;
}

ScratchTree::~ScratchTree()
{
    RemoveTree(m_root);
}

std::string ScratchTree::Path(const std::string& relative) const
{
    return relative.empty() ? m_root : m_root + "\\" + relative;
}

void ScratchTree::Folder(const std::string& relative) const
{
    EXPECT_TRUE(::CreateDirectoryA(Path(relative).c_str(), nullptr)) << relative;
}

void ScratchTree::File(const std::string& relative, size_t bytes) const
{
    std::ofstream out(Path(relative), std::ios::binary);
    out << std::string(bytes, 'x');
    EXPECT_TRUE(out.good()) << relative;
}

void ScratchTree::SparseFile(const std::string& relative, unsigned long long bytes) const
{
    HANDLE file = ::CreateFileA(Path(relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << relative;
    DWORD returned = 0;
    ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(bytes);
    EXPECT_TRUE(::SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    EXPECT_TRUE(::SetEndOfFile(file));
    ::CloseHandle(file);
}

void ScratchTree::Hide(const std::string& relative) const
{
    const std::string path = Path(relative);
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    EXPECT_TRUE(::SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_HIDDEN) << "the file system keeps no hidden flag";
}

void ScratchTree::SetWriteTime(const std::string& relative, const FILETIME& time) const
{
    const std::string path = Path(relative);
    HANDLE file = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << relative;
    EXPECT_TRUE(::SetFileTime(file, nullptr, nullptr, &time));
    ::CloseHandle(file);
}

CurrentDirectoryKeeper::CurrentDirectoryKeeper()
{
    ::GetCurrentDirectoryA(sizeof m_directory, m_directory);
}

CurrentDirectoryKeeper::~CurrentDirectoryKeeper()
{
    ::SetCurrentDirectoryA(m_directory);
}

ShellSeams::ShellSeams()
{
    g_seams = this;
    m_previousOpen = SetShellExecuteFunction(&RecordOpen);
    m_previousStart = SetProcessStartFunction(&RecordStart);
    m_previousTrack = SetMenuTrackFunction(&RecordTrack);
    m_previousBox = AfxSetMessageBoxFunction(&RecordBox);
}

ShellSeams::~ShellSeams()
{
    SetShellExecuteFunction(m_previousOpen);
    SetProcessStartFunction(m_previousStart);
    SetMenuTrackFunction(m_previousTrack);
    AfxSetMessageBoxFunction(m_previousBox);
    g_seams = nullptr;
}

AllocationCount::AllocationCount()
{
    g_spy.outstanding = 0;
    m_registered = SUCCEEDED(::CoRegisterMallocSpy(&g_spy));
}

AllocationCount::~AllocationCount()
{
    if (m_registered)
        ::CoRevokeMallocSpy();
}

long AllocationCount::Outstanding() const
{
    return g_spy.outstanding;
}

LPITEMIDLIST ParsePath(const std::string& path)
{
    WCHAR wide[MAX_PATH];
    if (!::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH))
        return nullptr;
    LPITEMIDLIST list = nullptr;
    if (FAILED(::SHParseDisplayName(wide, nullptr, &list, 0, nullptr)))
        return nullptr;
    return list;
}

std::string PathOfList(LPCITEMIDLIST list)
{
    char path[MAX_PATH] = {};
    return list && ::SHGetPathFromIDListA(list, path) ? path : "";
}

std::string ShellDisplayName(const std::string& path)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    return info.szDisplayName;
}

std::string ShellTypeName(const std::string& path)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_TYPENAME);
    return info.szTypeName;
}

int ShellSmallIconIndex(const std::string& path)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return info.iIcon;
}

std::string LocaleDateTime(const FILETIME& utc)
{
    FILETIME local;
    SYSTEMTIME system;
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &system))
        return "";
    char date[128] = {};
    char time[128] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &system, nullptr, date, sizeof date);
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &system, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}

FILETIME FileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute)
{
    SYSTEMTIME system = {};
    system.wYear = year;
    system.wMonth = month;
    system.wDay = day;
    system.wHour = hour;
    system.wMinute = minute;
    FILETIME time = {};
    EXPECT_TRUE(::SystemTimeToFileTime(&system, &time));
    return time;
}

UINT CommandOfVerb(IShellFolder* folder, LPCITEMIDLIST item, const char* verb)
{
    IContextMenu* menu = nullptr;
    if (FAILED(folder->GetUIObjectOf(nullptr, 1, &item, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu))))
        return 0;
    HMENU popup = ::CreatePopupMenu();
    UINT command = 0;
    if (SUCCEEDED(menu->QueryContextMenu(popup, 0, 1, 0x7FFF, CMF_EXPLORE))) {
        const int count = ::GetMenuItemCount(popup);
        for (int position = 0; position < count && !command; ++position) {
            const UINT id = ::GetMenuItemID(popup, position);
            char name[64] = {};
            if (id != 0 && id != static_cast<UINT>(-1) &&
                SUCCEEDED(menu->GetCommandString(id - 1, GCS_VERBA, nullptr, name, sizeof name)) &&
                lstrcmpiA(name, verb) == 0)
                command = id;
        }
    }
    ::DestroyMenu(popup);
    menu->Release();
    return command;
}

IShellFolder* ParentFolderOf(const std::string& path, LPITEMIDLIST* absolute, LPCITEMIDLIST* relative)
{
    *absolute = ParsePath(path);
    if (!*absolute)
        return nullptr;
    IShellFolder* parent = nullptr;
    if (FAILED(::SHBindToParent(*absolute, IID_IShellFolder, reinterpret_cast<void**>(&parent), relative)))
        return nullptr;
    return parent;
}

BEGIN_MESSAGE_MAP(BrowseContainer, iWnd)
    ON_REGISTERED_MESSAGE(g_shellRefreshMessage, OnShellRefresh)
END_MESSAGE_MAP()

BrowseContainer::BrowseContainer()
    : iWnd(nullptr, CRect(0, 0, 720, 420), WS_OVERLAPPEDWINDOW, "shell browsing", 0, 0, nullptr)
{
}

LRESULT BrowseContainer::OnShellRefresh(WPARAM wParam, LPARAM)
{
    refreshes.push_back(wParam);
    return 0;
}

BrowsePair::BrowsePair()
{
    tree = new iShellTreeCtrl(&container, CRect(0, 0, 260, 400),
                              WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, nullptr, kTreeId,
                              WS_EX_CLIENTEDGE, nullptr);
    list = new iShellListCtrl(&container, CRect(270, 0, 710, 200), WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL,
                              nullptr, kListId, WS_EX_CLIENTEDGE, nullptr);
    tree->SetListCtrl(list);
    tree->SetEnumFlags(kTreeFlags, true);
    list->SetTreeCtrl(tree);
    list->SetFullRowSelect(TRUE);
    list->m_enumFlags = SHCONTF_NONFOLDERS;
    list->SetOnItemChanged(this, &BrowsePair::OnItemChanged);
}

BrowsePair::~BrowsePair()
{
    delete list;
    delete tree;
}

void BrowsePair::OnItemChanged(CWnd*, NMHDR* header, LRESULT*)
{
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
        ++selectionChanges;
}

std::vector<std::string> BrowsePair::ListNames() const
{
    std::vector<std::string> names;
    for (int item = 0; item < list->GetItemCount(); ++item)
        names.push_back(std::string(list->GetItemText(item, 0)));
    return names;
}

std::vector<std::string> BrowsePair::FilesOf(const std::string& folder, bool withHidden)
{
    std::vector<std::string> names;
    const std::string base = folder.back() == '\\' ? folder : folder + "\\";
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((base + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && !withHidden)
            continue;
        names.push_back(ShellDisplayName(base + found.cFileName));
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return Sorted(names);
}

std::string BrowsePair::SelectedPath() const
{
    CString path;
    return tree->GetSelectedPath(path) ? std::string(path) : std::string();
}

HTREEITEM BrowsePair::ChildWithPath(HTREEITEM parent, const std::string& path) const
{
    for (HTREEITEM child = tree->GetChildItem(parent); child; child = tree->GetNextSiblingItem(child)) {
        const iShellTreeItem* record = tree->GetRecord(child);
        if (record && lstrcmpiA(PathOfList(record->absoluteList).c_str(), path.c_str()) == 0)
            return child;
    }
    return nullptr;
}

std::vector<std::string> Sorted(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

} // namespace shell_test
