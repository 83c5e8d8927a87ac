// The binding's process-wide lock: a critical section, which a thread may enter again.
#include "database/iDBLock.h"

#include <windows.h>

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

} // namespace

ScopedDatabaseLock::ScopedDatabaseLock()
{
    EnterCriticalSection(&DatabaseSection());
}

ScopedDatabaseLock::~ScopedDatabaseLock()
{
    LeaveCriticalSection(&DatabaseSection());
}
