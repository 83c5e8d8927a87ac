// Module directories and temporary paths, each read into a MAX_PATH buffer.
#include "FilePaths.h"

#include <cstring>

DWORD GetModuleDirectoryBuffer(HMODULE module, char* buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    DWORD length = GetModuleFileNameA(module, buffer, size);
    // A name that filled the buffer may have been cut: a cut path is no path.
    if (length == 0 || length >= size) {
        buffer[0] = '\0';
        return 0;
    }
    char* lastSlash = strrchr(buffer, '\\');
    if (!lastSlash)
        return length;
    *lastSlash = '\0';
    return static_cast<DWORD>(lastSlash - buffer);
}

iString GetModuleDirectory(HMODULE module)
{
    char buffer[MAX_PATH + 1];
    GetModuleDirectoryBuffer(module, buffer, sizeof buffer);
    return iString(buffer);
}

UINT GetTempFileNameBuffer(const char* directory, const char* prefix, UINT unique, char* buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    // The platform writes up to MAX_PATH bytes whatever room there is, so less is refused.
    UINT number = size >= MAX_PATH ? GetTempFileNameA(directory, prefix, unique, buffer) : 0;
    if (number == 0)
        buffer[0] = '\0';
    return number;
}

iString GetTempFileNameText(const char* directory, const char* prefix, UINT unique)
{
    char buffer[MAX_PATH + 1];
    GetTempFileNameBuffer(directory, prefix, unique, buffer, sizeof buffer);
    return iString(buffer);
}

DWORD GetTempPathBuffer(char* buffer, DWORD size)
{
    if (!buffer || size == 0)
        return 0;
    DWORD length = GetTempPathA(size, buffer);
    // A path too long for the buffer is not written at all: what the buffer holds is no path.
    if (length == 0 || length >= size) {
        buffer[0] = '\0';
        return 0;
    }
    return length;
}

iString GetTempPathText()
{
    char buffer[MAX_PATH + 1];
    GetTempPathBuffer(buffer, sizeof buffer);
    return iString(buffer);
}
