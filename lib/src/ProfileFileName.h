// Where a profile (INI) file lives, by profile mode:
//   1 Public     the platform's own profile (WIN.INI): no file name
//   2 Protected  a bare file name, which the platform finds in the Windows directory
//   3 Private    a full path in the program's own directory
//   4            the name given, unchanged
// A mode whose rule cannot be followed gives kFallbackProfileFile.
#pragma once

#include "iString.h"

constexpr int kProfilePublic = 1;
constexpr int kProfileProtected = 2;
constexpr int kProfilePrivate = 3;
constexpr int kProfileNamed = 4;

constexpr char kFallbackProfileFile[] = "ORVEL.INI";

// ext null means ".INI". Without a name, modes 2 and 3 take the program's file
// name with its last ".EXE" replaced by ext; with a name, mode 3 puts the program's
// directory in front of it, and modes 2 to 4 append ext unless the result already
// contains it (in any case). Mode 1 leaves file as it was.
void MakeProfileFileName(int mode, iString& file, const char* name, const char* ext);

// The same rules for the program at programPath (null when its path is unknown).
void MakeProfileFileNameFor(const char* programPath, int mode, iString& file, const char* name, const char* ext);
