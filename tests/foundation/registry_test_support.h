// Registry look-ups the foundation tests check stored keys with, made straight through
// the system rather than through the code under test.
#pragma once

#include <windows.h>

#include <string>

namespace foundation_test {

// Whether HKEY_CURRENT_USER\<path> exists.
inline bool KeyExists(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace foundation_test
