// Opening a document or address with its program, with the browser registered for
// ".htm" as the fallback; registry look-ups; browsing for a folder.
#include "lib/src/Win2/Wnd/iShell.h"

#include "lib/src/Win2/Wnd/iFolderBrowse.h"

#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

ShellExecuteFunction g_shellExecute = &::ShellExecuteA;
ProcessStartFunction g_processStart = &::CreateProcessA;

constexpr char kBrowserClassKey[] = ".htm";
constexpr char kOpenCommandKey[] = "\\shell\\open\\command";
constexpr char kQuotedPlaceholder[] = "\"%1\"";
constexpr char kPlaceholder[] = "%1";
// CreateProcess takes at most this many characters, the terminator included.
constexpr size_t kCommandLineLimit = 32767;
// ShellExecute's answers up to this value are errors.
constexpr INT_PTR kLastShellError = 32;

// The key's default value, whatever its length: 0, or the registry's error (a value that
// is missing or not a string is ERROR_INVALID_DATA or the read's own error).
LONG ReadDefaultValue(HKEY root, LPCSTR subKey, std::string& value)
{
    HKEY key = nullptr;
    LONG result = ::RegOpenKeyExA(root, subKey, 0, KEY_QUERY_VALUE, &key);
    if (result != ERROR_SUCCESS)
        return result;
    std::vector<char> bytes(MAX_PATH);
    DWORD type = 0;
    DWORD size = 0;
    // A value that grows between the two reads is read again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        size = static_cast<DWORD>(bytes.size());
        result = ::RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        if (result != ERROR_MORE_DATA)
            break;
        bytes.resize(size + 1);
    }
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ)
        return ERROR_INVALID_DATA;
    // Registry strings need not be terminated: the text ends at the first zero or the size.
    value.assign(bytes.data(), strnlen(bytes.data(), size));
    return ERROR_SUCCESS;
}

// The handler's command cut where its placeholder begins ("%1" in quotes, else bare,
// else nowhere), then one space and the address in quotes, so that it stays one argument
// and cannot add arguments of its own. False for an address holding a quotation mark
// and for a line longer than CreateProcess takes.
bool BuildHandlerCommandLine(const std::string& handler, LPCSTR address, std::string& line)
{
    if (strchr(address, '"'))
        return false;
    size_t cut = handler.find(kQuotedPlaceholder);
    if (cut == std::string::npos)
        cut = handler.find(kPlaceholder);
    line = handler.substr(0, cut);
    line += " \"";
    line += address;
    line += '"';
    return line.size() < kCommandLineLimit;
}

} // namespace

ShellExecuteFunction SetShellExecuteFunction(ShellExecuteFunction open)
{
    ShellExecuteFunction previous = g_shellExecute;
    g_shellExecute = open ? open : &::ShellExecuteA;
    return previous;
}

ProcessStartFunction SetProcessStartFunction(ProcessStartFunction start)
{
    ProcessStartFunction previous = g_processStart;
    g_processStart = start ? start : &::CreateProcessA;
    return previous;
}

LONG iShell::QueryRegKey(HKEY root, LPCSTR subKey, LPSTR buffer)
{
    return QueryRegKey(root, subKey, buffer, MAX_PATH);
}

// Only a value read whole is copied, and always terminated.
LONG iShell::QueryRegKey(HKEY root, LPCSTR subKey, LPSTR buffer, UINT bufferSize)
{
    std::string value;
    const LONG result = ReadDefaultValue(root, subKey, value);
    if (result != ERROR_SUCCESS)
        return result;
    if (value.size() >= bufferSize)
        return ERROR_MORE_DATA;
    memcpy(buffer, value.c_str(), value.size() + 1);
    return ERROR_SUCCESS;
}

INT_PTR iShell::OpenURL(LPCSTR address, int showCommand)
{
    return OpenURL(address, showCommand, HKEY_CLASSES_ROOT);
}

INT_PTR iShell::OpenURL(LPCSTR address, int showCommand, HKEY classesRoot)
{
    const INT_PTR opened =
        reinterpret_cast<INT_PTR>(g_shellExecute(nullptr, "open", address, nullptr, nullptr, showCommand));
    if (opened > kLastShellError)
        return opened;
    std::string browserClass;
    if (ReadDefaultValue(classesRoot, kBrowserClassKey, browserClass) != ERROR_SUCCESS)
        return opened;
    std::string handler;
    if (ReadDefaultValue(classesRoot, (browserClass + kOpenCommandKey).c_str(), handler) != ERROR_SUCCESS)
        return opened;
    std::string line;
    if (!BuildHandlerCommandLine(handler, address, line))
        return 0;
    std::vector<char> writableLine(line.begin(), line.end());
    writableLine.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started = {};
    if (!g_processStart(nullptr, writableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return 0;
    // The browser runs on its own; its handles are not ours to keep, and a handle's value
    // is no result: on 64-bit Windows it need not even read as above 32.
    ::CloseHandle(started.hThread);
    ::CloseHandle(started.hProcess);
    return kOpenedByFallback;
}

BOOL iShell::BrowseForFolder(HWND owner)
{
    IMalloc* allocator = nullptr;
    if (FAILED(::SHGetMalloc(&allocator)) || !allocator)
        return FALSE;
    LPITEMIDLIST root = nullptr;
    if (!m_browseRoot.IsEmpty()) {
        IShellFolder* desktop = nullptr;
        WCHAR wideRoot[MAX_PATH];
        const bool parsed = ::MultiByteToWideChar(CP_ACP, 0, m_browseRoot, -1, wideRoot, MAX_PATH) != 0 &&
                            SUCCEEDED(::SHGetDesktopFolder(&desktop)) && desktop &&
                            SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wideRoot, nullptr, &root, nullptr));
        if (desktop)
            desktop->Release();
        if (!parsed) {
            allocator->Free(root);
            allocator->Release();
            return FALSE;
        }
    }
    char displayName[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = displayName;
    info.lpszTitle = m_browseTitle.IsEmpty() ? "Open" : static_cast<LPCSTR>(m_browseTitle);
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    info.lpfn = &iShell::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    LPITEMIDLIST chosen = ShowFolderBrowser(&info);
    allocator->Free(root);
    if (!chosen) {
        allocator->Release();
        return FALSE;
    }
    m_imageIndex = info.iImage;
    m_browseResult = displayName;
    char path[MAX_PATH] = {};
    const BOOL hasPath = ::SHGetPathFromIDListA(chosen, path);
    if (hasPath)
        m_browseResult = path;
    allocator->Free(chosen);
    allocator->Release();
    return hasPath;
}

int CALLBACK iShell::BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data)
{
    const auto* shell = reinterpret_cast<const iShell*>(data);
    if (message == BFFM_INITIALIZED && shell && !shell->m_browseSelection.IsEmpty())
        ::SendMessageA(window, BFFM_SETSELECTIONA, TRUE,
                       reinterpret_cast<LPARAM>(static_cast<LPCSTR>(shell->m_browseSelection)));
    return 0;
}
