// Folders made for a while under the temporary folder and removed afterwards: the shell
// browsing tests, the shell preview and the shell bench all work in such folders.
// Header only: the preview and the bench are programs of their own.
#pragma once

#include <windows.h>

#include <string>

namespace shell_test {

// The temporary folder by its long name, as the shell shows it, with its closing backslash
// (its short form where the long one cannot be had).
inline std::string LongTempFolder()
{
    char temp[MAX_PATH] = {};
    ::GetTempPathA(sizeof temp, temp);
    char longTemp[MAX_PATH] = {};
    if (!::GetLongPathNameA(temp, longTemp, sizeof longTemp))
        return temp;
    return longTemp;
}

// Removes the folder with everything in it, read-only and hidden files too.
inline void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                ::DeleteFileA(path.c_str());
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(folder.c_str());
}

} // namespace shell_test
