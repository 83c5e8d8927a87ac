// Item identifier lists and the display names the shell gives their items.
// A list is a run of elements, each starting with its 16-bit byte count (the count
// included); a count of 0 is the 2-byte terminator.
#include "lib/src/Win2/Wnd/iShell.h"

#include <cstring>

namespace {

constexpr UINT kTerminatorSize = sizeof(USHORT);

USHORT FirstCount(LPCITEMIDLIST list)
{
    return list->mkid.cb;
}

// Copies text of at most available bytes into name; false when it has no terminator
// within them or does not fit into nameSize.
[[nodiscard]] bool CopyBoundedName(const char* text, size_t available, LPSTR name, UINT nameSize)
{
    const size_t length = strnlen(text, available);
    if (length == available || length >= nameSize)
        return false;
    memcpy(name, text, length + 1);
    return true;
}

// The wide name, never longer than nameSize with its terminator.
[[nodiscard]] bool ConvertWideName(LPCWSTR wide, LPSTR name, UINT nameSize)
{
    const int needed = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (needed <= 0 || static_cast<UINT>(needed) > nameSize)
        return false;
    return ::WideCharToMultiByte(CP_ACP, 0, wide, -1, name, needed, nullptr, nullptr) == needed;
}

} // namespace

LPITEMIDLIST iShell::NextItemID(LPCITEMIDLIST list)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(list);
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(bytes + FirstCount(list)));
}

UINT iShell::GetIDListSize(LPCITEMIDLIST list)
{
    if (!list)
        return 0;
    UINT size = kTerminatorSize;
    for (; FirstCount(list) != 0; list = NextItemID(list))
        size += FirstCount(list);
    return size;
}

LPITEMIDLIST iShell::AllocIDList(UINT size)
{
    IMalloc* allocator = nullptr;
    if (FAILED(::SHGetMalloc(&allocator)) || !allocator)
        return nullptr;
    void* bytes = allocator->Alloc(size);
    if (bytes)
        memset(bytes, 0, size);
    allocator->Release();
    return static_cast<LPITEMIDLIST>(bytes);
}

// A missing second list gives null: there is nothing to end the result with.
LPITEMIDLIST iShell::ConcatIDLists(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    if (!second)
        return nullptr;
    const UINT firstSize = first ? GetIDListSize(first) - kTerminatorSize : 0;
    const UINT secondSize = GetIDListSize(second);
    LPITEMIDLIST joined = AllocIDList(firstSize + secondSize);
    if (!joined)
        return nullptr;
    BYTE* bytes = reinterpret_cast<BYTE*>(joined);
    if (firstSize)
        memcpy(bytes, first, firstSize);
    memcpy(bytes + firstSize, second, secondSize);
    return joined;
}

// The terminator is written, not copied: in a longer list the bytes after the first
// element belong to the next one.
LPITEMIDLIST iShell::CopyItemID(IMalloc* allocator, LPCITEMIDLIST list)
{
    const UINT count = FirstCount(list);
    auto* copy = static_cast<BYTE*>(allocator->Alloc(count + kTerminatorSize));
    if (!copy)
        return nullptr;
    memcpy(copy, list, count);
    memset(copy + count, 0, kTerminatorSize);
    return reinterpret_cast<LPITEMIDLIST>(copy);
}

LPITEMIDLIST iShell::CopyFirstItemID(IMalloc* allocator, LPCITEMIDLIST list)
{
    if (!list || FirstCount(list) == 0)
        return nullptr;
    return CopyItemID(allocator, list);
}

LPITEMIDLIST iShell::GetNextItemID(LPCITEMIDLIST list)
{
    if (FirstCount(list) == 0)
        return nullptr;
    return NextItemID(list);
}

int iShell::CountItemIDs(LPCITEMIDLIST list)
{
    int count = 0;
    for (; FirstCount(list) != 0; list = NextItemID(list))
        ++count;
    return count;
}

BOOL iShell::GetName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags, LPSTR name)
{
    return GetName(folder, item, flags, name, MAX_PATH);
}

// A name that does not fit is a failure: a cut name would be a different path.
BOOL iShell::GetName(IShellFolder* folder, LPCITEMIDLIST item, DWORD flags, LPSTR name, UINT nameSize)
{
    STRRET answer = {};
    if (nameSize == 0 || FAILED(folder->GetDisplayNameOf(item, flags, &answer)))
        return FALSE;
    switch (answer.uType) {
    case STRRET_WSTR: {
        const bool converted = answer.pOleStr && ConvertWideName(answer.pOleStr, name, nameSize);
        // The shell hands the wide name over; it is freed whatever the conversion did.
        ::CoTaskMemFree(answer.pOleStr);
        return converted;
    }
    case STRRET_OFFSET: {
        // The text lies inside the item's list and must end before its terminator.
        const UINT listBytes = GetIDListSize(item) - kTerminatorSize;
        if (answer.uOffset >= listBytes)
            return FALSE;
        const char* text = reinterpret_cast<const char*>(item) + answer.uOffset;
        return CopyBoundedName(text, listBytes - answer.uOffset, name, nameSize);
    }
    case STRRET_CSTR:
        return CopyBoundedName(answer.cStr, sizeof answer.cStr, name, nameSize);
    default:
        return FALSE;
    }
}

LPITEMIDLIST iShell::GetAbsoluteIDList(IShellFolder* folder, LPCITEMIDLIST item)
{
    char path[MAX_PATH];
    if (!GetName(folder, item, SHGDN_FORPARSING, path, sizeof path))
        return nullptr;
    WCHAR widePath[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, path, -1, widePath, MAX_PATH) == 0)
        return nullptr;
    IShellFolder* desktop = nullptr;
    if (FAILED(::SHGetDesktopFolder(&desktop)) || !desktop)
        return nullptr;
    LPITEMIDLIST absolute = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, widePath, nullptr, &absolute, nullptr)))
        absolute = nullptr;
    desktop->Release();
    return absolute;
}
