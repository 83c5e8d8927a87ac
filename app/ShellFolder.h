// The path of a shell special folder (the user's pictures folder for the settings'
// first-run folders), through SHGetSpecialFolderPathA looked up at run time, so the
// program still starts on a shell without it.
#pragma once

#include "lib/src/iString.h"

#include <windows.h>

// The folder csidl, created when missing, or fallback when the library, the function
// or the call fails. The library is released on every path. library and function
// name what is loaded; tests give other names to make each step fail.
[[nodiscard]] iString ShellFolderPathOr(HWND owner, int csidl, const char* fallback,
                                        const char* library = "Shell32.dll",
                                        const char* function = "SHGetSpecialFolderPathA");
