// The directory of a module, the temporary directory and temporary file names.
// Each result that does not fit its MAX_PATH buffer is a failure (an empty text or
// 0), never a silently cut path.
#pragma once

#include "iString.h"

#include <windows.h>

// Writes the module's directory (no trailing "\") into buffer: its length, or the
// whole name's length when it has no "\"; 0 and an empty buffer when the name
// cannot be read or does not fit size bytes.
DWORD GetModuleDirectoryBuffer(HMODULE module, char* buffer, DWORD size);
// The same for a module (null: the program's own file).
iString GetModuleDirectory(HMODULE module = nullptr);
// Writes the platform's temporary file name in directory into buffer (unique 0 creates
// the empty file): the name's unique number; 0 and an empty buffer when the platform
// refuses, or when size is below MAX_PATH, the room the platform may fill.
UINT GetTempFileNameBuffer(const char* directory, const char* prefix, UINT unique, char* buffer, DWORD size);
// The same into a returned string.
iString GetTempFileNameText(const char* directory, const char* prefix, UINT unique);
// Writes the temporary directory, with its trailing "\", into buffer: its length; 0 and
// an empty buffer when it cannot be read or does not fit size bytes.
DWORD GetTempPathBuffer(char* buffer, DWORD size);
// The same into a returned string.
iString GetTempPathText();
