// Whether a path names an existing file.
#include "lib/src/Win2/Wnd/iFileExists.h"

BOOL FileExists(LPCSTR path)
{
    if (!path)
        return FALSE;
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
