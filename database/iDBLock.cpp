// The binding's process-wide lock: a critical section, which a thread may enter again.
#include "database/iDBLock.h"

#include <windows.h>

#include <atomic>

namespace {

// Made on first use and kept for the life of the process, so that file objects and
// engines destroyed during the program's exit still find it.
CRITICAL_SECTION& DatabaseSection()
{
    static CRITICAL_SECTION* section = [] {
        auto* made = new CRITICAL_SECTION;
        InitializeCriticalSection(made);
        return made;
    }();
    return *section;
}

std::atomic<DatabaseLockReleasedHook> g_releasedHook{nullptr};

// How many times this thread holds the lock now.
thread_local int t_depth = 0;

} // namespace

ScopedDatabaseLock::ScopedDatabaseLock()
{
    EnterCriticalSection(&DatabaseSection());
    ++t_depth;
}

ScopedDatabaseLock::~ScopedDatabaseLock()
{
    --t_depth;
    LeaveCriticalSection(&DatabaseSection());
    if (t_depth == 0) {
        if (DatabaseLockReleasedHook hook = g_releasedHook.load())
            hook();
    }
}

DatabaseLockReleasedHook SetDatabaseLockReleasedHook(DatabaseLockReleasedHook hook)
{
    return g_releasedHook.exchange(hook);
}
