// The settings stores' registry archive: the value type of each field kind, and the
// range check of every value read back.
#include "SettingsStore.h"

#include "lib/src/iRegistry.h"
#include "lib/src/iTypeArchive.h"
#include "lib/src/iTypeScalar.h"

#include <cstring>
#include <memory>

namespace {

// One key per collection; a field is a REG_DWORD when it is a 32-bit signed number or
// a flag, else what the foundation's typed archive makes of it.
class SettingsArchive : public iTypeArchive {
public:
    // key stays the caller's.
    SettingsArchive(SettingsStore* store, iRegistry* key)
        : iTypeArchive(store), m_store(*store), m_key(key), m_typed(store, key, 1)
    {
    }
    // The subkey name below the parent's key, opened with the parent's rights.
    SettingsArchive(const SettingsArchive& parent, const char* name)
        : iTypeArchive(parent.m_root), m_store(parent.m_store),
          m_ownedKey(std::make_unique<iRegistry>(*parent.m_key, name, 0)), m_key(m_ownedKey.get()),
          m_typed(parent.m_root, m_key, 1)
    {
    }

    iTypeArchive* CreateSub(const char* name) override { return new SettingsArchive(*this, name); }

    int Load(iType::Base* field) override
    {
        if (!field)
            return 0;
        bool isRead = false;
        if (IsDwordKind(*field)) {
            DWORD stored = 0;
            isRead = m_key->QueryDWord(field->GetName(), &stored) == 0;
            if (isRead)
                std::memcpy(field->GetData(), &stored, sizeof stored);
        } else {
            isRead = m_typed.Load(field) != 0;
        }
        return isRead && m_store.IsUsableValue(*field) ? 1 : 0;
    }

    int Save(iType::Base* field) override
    {
        if (!field)
            return 0;
        if (IsDwordKind(*field)) {
            DWORD value = 0;
            std::memcpy(&value, field->GetData(), sizeof value);
            return m_key->SetDWord(field->GetName(), value) == 0 ? 1 : 0;
        }
        return m_typed.Save(field);
    }

private:
    // A 32-bit signed number or a flag, kept as REG_DWORD.
    [[nodiscard]] static bool IsDwordKind(const iType::Base& field)
    {
        const bool isKind =
            dynamic_cast<const iType::TType<long>*>(&field) || dynamic_cast<const iType::TType<int>*>(&field);
        return isKind && field.GetData() && field.GetByteSize() == sizeof(DWORD);
    }

    const SettingsStore& m_store;
    std::unique_ptr<iRegistry> m_ownedKey;
    iRegistry* m_key;
    // Texts, combos and bit sets as the foundation stores them.
    iRegistryTypeArchive m_typed;
};

} // namespace

SettingsStore::SettingsStore(const char* software, const char* company, const char* application, const char* subkey)
    : SettingsStore(HKEY_CURRENT_USER, software, company, application, subkey)
{
}

SettingsStore::SettingsStore(HKEY hive, const char* software, const char* company, const char* application,
                             const char* subkey)
    : iTypeStore(hive, software, company, application, subkey)
{
}

SettingsStore::~SettingsStore() = default;

int SettingsStore::LoadFromRegistry()
{
    iRegistry key = OpenKey(KEY_READ);
    SettingsArchive archive(this, &key);
    archive.LoadAll();
    return 1;
}

int SettingsStore::SaveToRegistry()
{
    iRegistry key = OpenKey(KEY_WRITE);
    SettingsArchive archive(this, &key);
    archive.SaveAll();
    return 1;
}

bool SettingsStore::IsUsableValue(const iType::Base& field) const
{
    return true;
}
