// The engine binding: an iDBEngine over one instance of the ISAM engine, the default
// instance or a named one. Every file set it creates is a superfile: a host at the path
// holding the data member (the path, "!", "data"; the engine adds ".dat") and one member per
// key (the path, "!", three digits; ".idx" added).
// The engine keeps one current instance for the whole process; each file-set and file
// operation first makes this engine's instance current (MakeCurrent) and, when that fails,
// answers its failure and does nothing else.
#pragma once

#include "database/iDB.h"
#include "database/mgContext.h"

// The longest path a set may have: the engine opens a set by its data member's name (the
// path and "!data.dat") of at most 254 characters. A longer path is refused with -1 before
// anything is deleted, created or opened; a cut name would name another file.
constexpr size_t kLongestSetPath = 254 - 9;

// Owns the copy of its instance's name; stops the instance when deleted.
class mGrovePlus : public iDBEngine {
public:
    // The default instance: mgInitIsam (buffers, files, sectors).
    mGrovePlus(int buffers, int files, int sectors);
    // The default instance with a profile word (bit 0 is always added).
    mGrovePlus(int reserved1, int reserved2, int reserved3, int profile, int buffers, int files, int sectors,
               int dataBuffers);
    // A named instance, registered under the name.
    mGrovePlus(const char* name, int buffers, int files, int sectors);
    mGrovePlus(const char* name, int reserved1, int reserved2, int reserved3, int profile, int buffers, int files,
               int sectors, int dataBuffers);
    ~mGrovePlus() override;

    int CreateFileSet(iDBDefinition* definition, const char* path, int keepExisting) override;
    int RecreateFileSet(iDBFile* file, const char* path, int keepExisting, int reserved,
                        int extensionSize) override;
    // Success is 1 here, failure 0 (the engine's code is then in its error word).
    int BeginTransaction(int mode) override;
    int CommitTransaction() override;
    int AbortTransaction() override;

    // Makes this engine's instance the engine's current one: 0, or the switch's failure.
    int MakeCurrent();
    // Creates the set of the definition as a superfile at the path; the definition's names
    // are left as they were given.
    int CreateFiles(mgFileDef* definition, const char* path);

    int IsSuperfileMode() const { return m_superfileMode; }
    // This engine's instance context; null once the instance is gone.
    mgInstanceContext* GetInstanceContext() const { return m_context; }

private:
    void StartNamed(const char* name);
    void Start(int startAnswer);
    // The instance's error word after a failed call, -1 without an instance.
    int IsamCode() const;

    int m_superfileMode = 1;
    char* m_instanceName = nullptr;
    mgInstanceContext* m_context = nullptr;
    int m_profile = 0;
    // This engine registered or started the instance, and so stops and unregisters it.
    bool m_ownsInstance = false;
};
