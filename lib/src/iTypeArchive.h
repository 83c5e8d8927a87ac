// Saving and loading a tree of typed fields: iTypeArchive walks the tree depth-first
// in member order and hands each named field to the archive. The registry archive
// keeps one key per collection and one value per field; the file archive writes one
// record per field in walk order:
//
//   bytes | content
//   4     | length n of the field's name (unsigned, little-endian)
//   n     | the name's characters, no terminating zero
//   4     | length m of the value: the field's byte size when saved
//   m     | the value's bytes, raw
//
// A value that cannot be loaded leaves its field at its null value.
#pragma once

#include "iTypeCollection.h"

class iFile;
class iRegistry;

// The walk and the abstract archive; the root is not owned.
class iTypeArchive {
public:
    explicit iTypeArchive(iType::Collection* root);
    iTypeArchive(const iTypeArchive&) = delete;
    iTypeArchive& operator=(const iTypeArchive&) = delete;

    // A new heap archive for the nested collection name; null when there is none.
    virtual iTypeArchive* CreateSub(const char* name) = 0;
    // 1 when the field's value was read; 0 when it was missing or did not fit.
    [[nodiscard]] virtual int Load(iType::Base* field) = 0;
    // 1 when the field's value was written.
    virtual int Save(iType::Base* field) = 0;
    virtual ~iTypeArchive();

    // Loads (load non-zero) or saves every named field below collection; a field
    // that does not load is cleared. Always 1.
    int Walk(iType::Collection* collection, int load);
    int LoadAll();
    int SaveAll();

protected:
    iType::Collection* m_root;
};

// One registry key per collection, one value per field. Typed: unsigned long
// scalars are REG_DWORD, text fields REG_SZ, everything else REG_BINARY of the
// value's byte size; untyped: everything REG_BINARY.
class iRegistryTypeArchive : public iTypeArchive {
public:
    // key stays the caller's.
    iRegistryTypeArchive(iType::Collection* root, iRegistry* key, int typed);
    // The subkey name below the parent's key, with the parent's access rights;
    // created only when those rights allow creating subkeys.
    iRegistryTypeArchive(const iRegistryTypeArchive& parent, const char* name);
    ~iRegistryTypeArchive() override;

    iTypeArchive* CreateSub(const char* name) override;
    [[nodiscard]] int Load(iType::Base* field) override;
    int Save(iType::Base* field) override;

private:
    int m_ownsKey = 0;
    iRegistry* m_key = nullptr;
    int m_typed = 1;
};

// One record per field in an open file, not owned. Nested collections leave no
// record of their own: their fields' records follow in place.
class iFileTypeArchive : public iTypeArchive {
public:
    iFileTypeArchive(iType::Collection* root, iFile* file);
    iFileTypeArchive(const iFileTypeArchive& parent, const char* name);
    ~iFileTypeArchive() override;

    iTypeArchive* CreateSub(const char* name) override;
    // Reads the field's record at the current position. Records of fields the
    // root no longer has are skipped, so one stale record does not block the rest;
    // a record of another existing field is left for that field.
    [[nodiscard]] int Load(iType::Base* field) override;
    // Appends the field's record; 0 when the file did not take it whole.
    int Save(iType::Base* field) override;

    // True once a record could not be written whole (shared with sub-archives).
    bool HasWriteFailed() const { return *m_writeFailed; }

private:
    iFile* m_file;
    bool m_ownFailure = false;
    bool* m_writeFailed;
};
