// Backup copies of originals.
#include "BackupCopy.h"

#include "lib/src/iFileName.h"

namespace {

BackupClockFunction g_backupClock = nullptr;

} // namespace

BackupClockFunction SetBackupClock(BackupClockFunction clock)
{
    BackupClockFunction previous = g_backupClock;
    g_backupClock = clock;
    return previous;
}

iString BackupFileName(const char* path, const SYSTEMTIME& time)
{
    iFileName name(path);
    const iString extension = name.GetExtension();
    name.RemoveExtension();
    CString stamp;
    stamp.Format("%04d%02d%02d_%02d%02d%02d%3d", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                 time.wSecond, time.wMilliseconds);
    return name + "_" + stamp + "." + extension;
}

bool MakeBackupCopy(const char* path)
{
    SYSTEMTIME now;
    (g_backupClock ? g_backupClock : &GetLocalTime)(&now);
    return CopyFileA(path, BackupFileName(path, now), TRUE) != FALSE;
}
