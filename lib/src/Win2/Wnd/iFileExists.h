// Whether a path names an existing file: alone in its own header and object, so that code
// without windows (the database binding) can ask it without the window library's headers.
#pragma once

#include <windows.h>

// TRUE when the path names an existing file; FALSE for a folder, a missing path or any
// other failure to read its attributes.
BOOL FileExists(LPCSTR path);
