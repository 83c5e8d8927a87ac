// The one process-wide lock of the database binding. The engine keeps one current instance
// for the whole process and no lock of its own, and the banner's worker and its history
// window use one engine from two threads: so every binding call, constructors and
// destructors included, holds this lock for its whole length, and switching the instance
// and the operation on it are one step. It is recursive: a call may make other calls.
#pragma once

// Holds the lock from construction to destruction.
class ScopedDatabaseLock {
public:
    ScopedDatabaseLock();
    ~ScopedDatabaseLock();
    ScopedDatabaseLock(const ScopedDatabaseLock&) = delete;
    ScopedDatabaseLock& operator=(const ScopedDatabaseLock&) = delete;
};

// Called on a thread each time it has let the lock go entirely: tests run another thread's
// calls there, between two of this thread's. Null (the default) calls nothing.
using DatabaseLockReleasedHook = void (*)();
// Answers the hook it replaces.
DatabaseLockReleasedHook SetDatabaseLockReleasedHook(DatabaseLockReleasedHook hook);
