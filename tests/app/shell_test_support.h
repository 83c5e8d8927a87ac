// Stands in for the shell's open call in the app tests: each call is recorded, and no
// browser or other program starts.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace app_test {

struct OpenCall {
    HWND owner;
    std::string verb;
    std::string file;
    bool hasParameters;
    bool hasDirectory;
    INT show;
};
inline std::vector<OpenCall> g_opened;

// Installed with SetShellOpenFunction; answers as a successful open does (above 32).
inline HINSTANCE WINAPI RecordOpen(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                   INT show)
{
    g_opened.push_back({owner, verb ? verb : "", file ? file : "", parameters != nullptr, directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

} // namespace app_test
