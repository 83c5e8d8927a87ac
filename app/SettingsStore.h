// The base of the program's settings stores. It loads and saves through the typed
// registry archive with the value types the program's settings keep: 32-bit numbers
// and flags as REG_DWORD, texts as REG_SZ, combos and bit sets as REG_BINARY of their
// exact size. The registry is user-editable, so a value read back is also checked
// against its field's range: one outside it counts as missing, and the field takes
// its value for a first run, as for a value of the wrong type or size.
#pragma once

#include "lib/src/iTypeStore.h"

class SettingsStore : public iTypeStore {
public:
    SettingsStore(const char* software, const char* company, const char* application, const char* subkey);
    SettingsStore(HKEY hive, const char* software, const char* company, const char* application, const char* subkey);
    ~SettingsStore() override;

    // These replace the base's operations of the same names: the stores are always
    // used through their own types (the application's global pointers), and the
    // base's archive would store the flags as binary values. Each answers 1.
    int LoadFromRegistry();
    int SaveToRegistry();

    // False for a value read from the registry that the program cannot use.
    virtual bool IsUsableValue(const iType::Base& field) const;
};
