// The shell calls behind the folder tree and the file list: item identifier lists
// (build, copy, measure), display names, icons and type names, the size and date texts
// of the file list, shell context menus, opening a document or address, browsing for a
// folder, and path parts. Each control holds one; nothing else makes one.
// Every identifier list an operation returns comes from the shell's task allocator and
// belongs to the caller, who frees it with IMalloc::Free.
#pragma once

#include "framework/Framework.h"

#include <shlobj.h>

// The shell interface ids the controls pass to the shell. The application base fills
// them during static initialisation; a program that links the library without the
// application (its test program, the benches) defines them itself.
extern IID g_iidShellFolder;
extern IID g_iidContextMenu;

// Sent with wParam 1 and lParam 0 to a context menu's owner after a shell command from
// the menu ran: what the owner shows may have changed. A registered message, so that a
// dialog owner does not read it as one of its own.
extern const UINT g_shellRefreshMessage;

// The calls that would start a host program or wait for a person, replaceable so that
// tests answer for them. Each setter takes null for the system's own function and
// returns the one it replaces.
using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                                LPCSTR directory, INT showCommand);
using ProcessStartFunction = BOOL(WINAPI*)(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES process,
                                           LPSECURITY_ATTRIBUTES thread, BOOL inherit, DWORD flags, LPVOID environment,
                                           LPCSTR directory, LPSTARTUPINFOA startup, LPPROCESS_INFORMATION info);
using MenuTrackFunction = BOOL(WINAPI*)(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                                        const RECT* rect);
ShellExecuteFunction SetShellExecuteFunction(ShellExecuteFunction open);
ProcessStartFunction SetProcessStartFunction(ProcessStartFunction start);
MenuTrackFunction SetMenuTrackFunction(MenuTrackFunction track);

// The shell's task allocator for one operation, released with it.
class ScopedShellAllocator {
public:
    ScopedShellAllocator()
    {
        if (FAILED(::SHGetMalloc(&m_allocator)))
            m_allocator = nullptr;
    }
    ~ScopedShellAllocator()
    {
        if (m_allocator)
            m_allocator->Release();
    }
    ScopedShellAllocator(const ScopedShellAllocator&) = delete;
    ScopedShellAllocator& operator=(const ScopedShellAllocator&) = delete;
    explicit operator bool() const { return m_allocator != nullptr; }
    IMalloc* get() const { return m_allocator; }

private:
    IMalloc* m_allocator = nullptr;
};

// Frees an item record of the folder tree or the file list, which hold the same three
// things: the folder's reference, then the two lists and the record from the allocator.
// Null does nothing.
template <class ItemRecord>
void FreeShellItemRecord(IMalloc* allocator, ItemRecord* record)
{
    if (!record)
        return;
    if (record->parentFolder)
        record->parentFolder->Release();
    allocator->Free(record->relativeList);
    allocator->Free(record->absoluteList);
    allocator->Free(record);
}

class iShell {
public:
    // What a successful open answers when the fallback started the browser itself.
    static constexpr INT_PTR kOpenedByFallback = 33;

    // Splits path (null: empty) into the part members.
    explicit iShell(LPCSTR path = nullptr);
    virtual ~iShell();

    // Splits path into drive (_MAX_DRIVE characters), directory (_MAX_DIR), title
    // (_MAX_FNAME) and extension with its dot (_MAX_EXT). A part that does not fit
    // leaves all four empty.
    virtual void SplitPath(CString path, LPSTR drive, LPSTR directory, LPSTR title, LPSTR extension);
    // The default value of root\subKey into buffer (MAX_PATH characters): 0, or the
    // registry's error when the key or its value cannot be read or the value does not
    // fit; buffer is left alone then.
    virtual LONG QueryRegKey(HKEY root, LPCSTR subKey, LPSTR buffer);
    // Opens an address or document with its program; above 32 on success, otherwise the
    // shell's error value, or 0 when the browser fallback could not start.
    virtual INT_PTR OpenURL(LPCSTR address, int showCommand);
    // A size in bytes, given as decimal text, as "0KB", "1KB" or "<n>KB" (n = bytes / 1000).
    virtual CString FileSizeText(LPCSTR sizeText);
    // The local date in the user's short format, a space and the time without seconds;
    // empty for null or a time without a local time.
    virtual CString FileDateText(const CTime* time);

    // The path operations below take null for the path member.
    virtual CString GetDrive(LPCSTR path = nullptr);
    virtual BOOL Exists(LPCSTR path = nullptr);
    virtual int GetIconIndex(LPCSTR path, UINT flags);
    virtual CString GetDisplayName(LPCSTR path = nullptr);
    virtual CString GetTypeName(LPCSTR path = nullptr);
    virtual CString GetExtension(LPCSTR path = nullptr);
    virtual CString GetFileTitle(LPCSTR path = nullptr);
    virtual CString GetFolder(LPCSTR path = nullptr);
    virtual CString GetFileName(LPCSTR path = nullptr);
    // Attaches the shell's small and large system image lists. They stay the shell's:
    // the objects must detach them, never destroy them.
    virtual void GetSystemImageLists(CImageList* smallList, CImageList* largeList);
    // Lets the user choose a file-system folder; TRUE with its path in the browse result.
    virtual BOOL BrowseForFolder(HWND owner);

    // Item identifier lists.
    virtual LPITEMIDLIST NextItemID(LPCITEMIDLIST list);
    // Bytes with the terminator; 0 for null.
    virtual UINT GetIDListSize(LPCITEMIDLIST list);
    // Zero-filled bytes from the task allocator, or null.
    virtual LPITEMIDLIST AllocIDList(UINT size);
    // first (may be null) followed by second; null when second is null or allocation fails.
    virtual LPITEMIDLIST ConcatIDLists(LPCITEMIDLIST first, LPCITEMIDLIST second);
    // A terminated copy of the list's first element (of the terminator for an empty list).
    virtual LPITEMIDLIST CopyItemID(IMalloc* allocator, LPCITEMIDLIST list);
    // The item's display name by SHGDN flags into name (MAX_PATH characters); FALSE when
    // the shell fails or the name does not fit.
    virtual BOOL GetName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags, LPSTR name);
    virtual LPITEMIDLIST GetAbsoluteIDList(IShellFolder* folder, LPCITEMIDLIST item);
    // Shows the item's shell menu at point (screen) and runs the command chosen; the owner
    // gets g_shellRefreshMessage after a command ran. FALSE when no menu could be built.
    virtual BOOL DoContextMenu(HWND owner, IShellFolder* folder, LPCITEMIDLIST item, POINT point);
    // SHGetFileInfo on a path, or on an absolute list with SHGFI_PIDL in flags.
    virtual int GetFileInfoIcon(LPCVOID pathOrList, UINT flags);
    // The tree item's normal and open small icons.
    virtual void SetItemIcons(LPCITEMIDLIST absoluteList, TVITEMA* item);
    // A one-element list of the first element, or null for an empty list.
    virtual LPITEMIDLIST CopyFirstItemID(IMalloc* allocator, LPCITEMIDLIST list);
    // The rest after the first element, or null at the end.
    virtual LPITEMIDLIST GetNextItemID(LPCITEMIDLIST list);
    virtual int CountItemIDs(LPCITEMIDLIST list);
    // The shell menu of a path's item; TRUE only when a command was chosen and ran.
    virtual BOOL DoContextMenuForPath(HWND owner, LPCSTR path, int x, int y);

    // Bounded forms of the operations above.
    BOOL GetName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags, LPSTR name, UINT nameSize);
    LONG QueryRegKey(HKEY root, LPCSTR subKey, LPSTR buffer, UINT bufferSize);
    // OpenURL with the ".htm" handler looked up under classesRoot.
    INT_PTR OpenURL(LPCSTR address, int showCommand, HKEY classesRoot);
    // FileDateText from a file time, which covers every date a file can carry.
    CString FileTimeText(const FILETIME* fileTime);

    int m_imageIndex;  // of the folder last chosen with BrowseForFolder
    CString m_browseResult;
    CString m_browseRoot;       // empty: the Desktop
    CString m_browseSelection;  // empty: none
    CString m_browseTitle;      // empty: "Open"

protected:
    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);
    // Splits path into the part members when it is given.
    void SplitIfGiven(LPCSTR path);

    CString m_path;
    char m_drive[_MAX_DRIVE];
    char m_directory[_MAX_DIR];
    char m_title[_MAX_FNAME];
    char m_extension[_MAX_EXT];
};
