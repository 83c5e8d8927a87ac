// The time-stamped backup copy made before an original is overwritten: the path without
// its extension, "_", the local time as "%04d%02d%02d_%02d%02d%02d%3d" (milliseconds
// padded with blanks), "." and the extension. The copy never overwrites a file.
#pragma once

#include "lib/src/iString.h"

#include <windows.h>

using BackupClockFunction = void(WINAPI*)(LPSYSTEMTIME time);

// Makes the backup copy read the time from clock (null: GetLocalTime); returns the one
// it replaces. Tests fix the time.
BackupClockFunction SetBackupClock(BackupClockFunction clock);

iString BackupFileName(const char* path, const SYSTEMTIME& time);

// Copies the file to its backup name for the current time; false when no copy was made
// (the name exists, no access, no room).
bool MakeBackupCopy(const char* path);
