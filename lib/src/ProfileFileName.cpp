// Profile file names: the rules by mode, apart from reading the program's path so
// that they can be checked against any program name.
#include "ProfileFileName.h"

#include "TextRoutines.h"

#include <windows.h>

#include <cstring>

namespace {

// path with its last ".EXE" (in any case) and what follows replaced by ext.
bool ReplaceExeExtension(const char* path, const char* ext, iString& out)
{
    const char* exe = StrNIRStr(path, ".EXE", StrNLen(path, 0), 0);
    if (!exe)
        return false;
    out = iString(path, static_cast<int>(exe - path));
    out += ext;
    return true;
}

void AppendExtensionUnlessPresent(iString& file, const char* ext)
{
    if (!StrIStr(file, ext))
        file += ext;
}

bool FollowRule(const char* programPath, int mode, const char* name, const char* ext, iString& out)
{
    const bool hasName = name && *name;
    const char* lastSlash = programPath ? strrchr(programPath, '\\') : nullptr;
    switch (mode) {
    case kProfileProtected:
        if (hasName)
            break;
        return lastSlash && ReplaceExeExtension(lastSlash + 1, ext, out);
    case kProfilePrivate:
        if (!hasName)
            return programPath && ReplaceExeExtension(programPath, ext, out);
        if (!lastSlash)
            return false;
        // Built as a string, so a long name makes a long path, never an overrun.
        out = iString(programPath, static_cast<int>(lastSlash + 1 - programPath));
        out += name;
        AppendExtensionUnlessPresent(out, ext);
        return true;
    case kProfileNamed:
        if (!hasName)
            return false;
        break;
    default:
        return false;
    }
    out = name;
    AppendExtensionUnlessPresent(out, ext);
    return true;
}

} // namespace

void MakeProfileFileNameFor(const char* programPath, int mode, iString& file, const char* name, const char* ext)
{
    if (mode == kProfilePublic)
        return;
    iString made;
    file = FollowRule(programPath, mode, name, ext ? ext : ".INI", made) ? made : iString(kFallbackProfileFile);
}

void MakeProfileFileName(int mode, iString& file, const char* name, const char* ext)
{
    char path[MAX_PATH + 1];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A path cut to the buffer is not the program's path.
    MakeProfileFileNameFor(length > 0 && length < sizeof path ? path : nullptr, mode, file, name, ext);
}
