// Looking up a shell special folder through a run-time-loaded shell function.
#include "ShellFolder.h"

namespace {

using ShellFolderPathFunction = BOOL(WINAPI*)(HWND owner, LPSTR path, int csidl, BOOL create);

// Frees the library it holds when it goes, whichever way the lookup ends.
class AutoFreeLibrary {
public:
    explicit AutoFreeLibrary(HMODULE module) : m_module(module) {}
    ~AutoFreeLibrary()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    AutoFreeLibrary(const AutoFreeLibrary&) = delete;
    AutoFreeLibrary& operator=(const AutoFreeLibrary&) = delete;

    HMODULE get() const { return m_module; }
    explicit operator bool() const { return m_module != nullptr; }

private:
    HMODULE m_module;
};

} // namespace

iString ShellFolderPathOr(HWND owner, int csidl, const char* fallback, const char* library, const char* function)
{
    AutoFreeLibrary shell(LoadLibraryA(library));
    if (!shell)
        return iString(fallback);
    auto getPath = reinterpret_cast<ShellFolderPathFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell.get(), function)));
    char path[MAX_PATH] = {};
    if (!getPath || !getPath(owner, path, csidl, TRUE))
        return iString(fallback);
    return iString(path);
}
