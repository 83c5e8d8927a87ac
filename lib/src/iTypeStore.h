// A settings store: a collection of typed fields that knows its registry key
// (hive\software\company\application\subkey) and saves and loads itself there,
// one key per nested collection and one value per field, or in a binary file.
// A value missing from the registry leaves its field at its null value, which
// owners use for first-run settings.
#pragma once

#include "iTypeCollection.h"

#include <windows.h>

class iRegistry;

class iTypeStore : public iType::Collection {
public:
    // Hive HKEY_CURRENT_USER; a null part stays empty and drops out of the path.
    iTypeStore(const char* software, const char* company, const char* application, const char* subkey);
    iTypeStore(HKEY hive, const char* software, const char* company, const char* application, const char* subkey);
    ~iTypeStore() override;

    // Opens (creating when missing) the store's key for reading and loads every
    // field; fields whose values cannot be read are cleared. 1.
    int LoadFromRegistry();
    // Opens (creating when missing) the key for writing and saves every field. 1.
    int SaveToRegistry();
    // Loads every field from a file saved by SaveToFile; 0, with every field
    // cleared, when the file cannot be opened.
    [[nodiscard]] int LoadFromFile(const char* path);
    // Writes the store beside path and then replaces path, so that a failed save
    // leaves the old file whole; 0 when the file could not be written or replaced.
    [[nodiscard]] int SaveToFile(const char* path);

protected:
    // The store's key, opened with access (created when missing and access allows it).
    iRegistry OpenKey(REGSAM access) const;

private:
    HKEY m_hive;
    iString m_software;
    iString m_company;
    iString m_application;
    iString m_subkey;
};
