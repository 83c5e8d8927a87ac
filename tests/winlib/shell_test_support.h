// What the shell browsing tests share: scratch folder trees in the prefix's C: drive,
// recorders for the calls that would start host programs or wait for a person, a count
// of the task allocator's blocks, and the shell's own answers to compare with.
#pragma once

#include "lib/src/Win2/Wnd/iShell.h"
#include "lib/src/Win2/Wnd/iShellListCtrl.h"
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace shell_test {

// A folder tree of its own under the temporary folder, removed with everything in it.
// Relative paths use backslashes.
class ScratchTree {
public:
    ScratchTree();
    ~ScratchTree();
    ScratchTree(const ScratchTree&) = delete;
    ScratchTree& operator=(const ScratchTree&) = delete;

    // The root's full long path, without a closing backslash.
    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& relative) const;

    void Folder(const std::string& relative) const;
    void File(const std::string& relative, size_t bytes = 0) const;
    // A file of the size that takes no disk space.
    void SparseFile(const std::string& relative, unsigned long long bytes) const;
    void Hide(const std::string& relative) const;
    void SetWriteTime(const std::string& relative, const FILETIME& time) const;

private:
    std::string m_root;
};

// The process's current directory, restored on destruction (selecting a folder changes it).
class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper();
    ~CurrentDirectoryKeeper();
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

private:
    char m_directory[MAX_PATH] = {};
};

// OLE for the thread while it lives: context menus and their verbs need it.
class OleForTest {
public:
    OleForTest() : m_ok(SUCCEEDED(::OleInitialize(nullptr))) {}
    ~OleForTest()
    {
        if (m_ok)
            ::OleUninitialize();
    }
    OleForTest(const OleForTest&) = delete;
    OleForTest& operator=(const OleForTest&) = delete;

private:
    bool m_ok;
};

// What the replaced calls saw; reset by ShellSeams.
struct Recorded {
    std::vector<std::string> opened;   // files given to the shell open
    std::vector<std::string> started;  // command lines given to the process start
    HANDLE startedProcess = nullptr;   // the handles the process start handed out
    HANDLE startedThread = nullptr;
    int menusTracked = 0;
    std::vector<std::string> boxTexts;
    std::vector<std::string> boxCaptions;
    std::vector<UINT> boxStyles;
    std::vector<HWND> boxOwners;
};

// Installs recorders for the shell open, the process start, the menu tracking and the
// framework's message boxes for its lifetime. The answers are set on the object.
class ShellSeams {
public:
    ShellSeams();
    ~ShellSeams();
    ShellSeams(const ShellSeams&) = delete;
    ShellSeams& operator=(const ShellSeams&) = delete;

    INT_PTR openAnswer = 42;    // the shell open's value (above 32: success)
    bool startSucceeds = true;  // the process start's answer
    UINT menuAnswer = 0;        // the command the menu answers (0: dismissed)
    Recorded seen;

private:
    ShellExecuteFunction m_previousOpen;
    ProcessStartFunction m_previousStart;
    MenuTrackFunction m_previousTrack;
    AFX_MESSAGEBOX_FUNCTION m_previousBox;
};

// Counts the task allocator's blocks made and freed while it lives.
class AllocationCount {
public:
    AllocationCount();
    ~AllocationCount();
    AllocationCount(const AllocationCount&) = delete;
    AllocationCount& operator=(const AllocationCount&) = delete;

    bool IsCounting() const { return m_registered; }
    // Blocks made while counting and not freed yet.
    long Outstanding() const;

private:
    bool m_registered = false;
};

// A folder of the shell that answers E_NOTIMPL to every call and lives on the stack (its
// counts do nothing): a test overrides the calls its folder answers.
class StubShellFolder : public IShellFolder {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*, ULONG*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override
    {
        return E_NOTIMPL;
    }
};

// The shell's identifier list of a path from the Desktop, freed by the caller with
// CoTaskMemFree; null when the shell does not know the path.
LPITEMIDLIST ParsePath(const std::string& path);
// The path SHGetPathFromIDList gives for a list, or "".
std::string PathOfList(LPCITEMIDLIST list);
// The shell's answers for a path, to compare the controls with.
std::string ShellDisplayName(const std::string& path);
std::string ShellTypeName(const std::string& path);
int ShellSmallIconIndex(const std::string& path);
// The locale's short date, a space and the time without seconds, for a UTC file time.
std::string LocaleDateTime(const FILETIME& utc);
FILETIME FileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute);
// The command id the folder's context menu for item gives verb, as DoContextMenu
// numbers them (from 1); 0 when the menu has no such verb.
UINT CommandOfVerb(IShellFolder* folder, LPCITEMIDLIST item, const char* verb);
// The folder that holds path's last element and that element's relative list (a
// pointer into *absolute, which the caller frees); null when the shell fails.
IShellFolder* ParentFolderOf(const std::string& path, LPITEMIDLIST* absolute, LPCITEMIDLIST* relative);

// The workspace's arrangement: a container holding a folder tree and a file list linked
// both ways, the tree showing hidden folders, the list files only. The container counts
// the refresh messages it gets; the list counts the selection changes it reports.
class BrowseContainer : public iWnd {
public:
    BrowseContainer();
    std::vector<WPARAM> refreshes;

protected:
    LRESULT OnShellRefresh(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class BrowsePair : public CObject {
public:
    static constexpr DWORD kTreeFlags = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;
    static constexpr UINT kTreeId = 501;
    static constexpr UINT kListId = 502;

    BrowsePair();
    ~BrowsePair() override;

    // The column-0 texts in order.
    std::vector<std::string> ListNames() const;
    // The shell's display names of the files the list would show for folder, sorted.
    static std::vector<std::string> FilesOf(const std::string& folder, bool withHidden = false);
    std::string SelectedPath() const;
    // The child of parent whose path is path (letter case aside), or null.
    HTREEITEM ChildWithPath(HTREEITEM parent, const std::string& path) const;
    // Selection changes (LVN_ITEMCHANGED with LVIS_SELECTED changing) the list reported.
    int selectionChanges = 0;

    BrowseContainer container;
    iShellTreeCtrl* tree = nullptr;
    iShellListCtrl* list = nullptr;

private:
    void OnItemChanged(CWnd* sender, NMHDR* header, LRESULT* result);
};

// Sorted copy.
std::vector<std::string> Sorted(std::vector<std::string> texts);

} // namespace shell_test
