// The settings store: its key, and loading and saving through the archives.
#include "iTypeStore.h"

#include "iFile.h"
#include "iRegistry.h"
#include "iTypeArchive.h"

iTypeStore::iTypeStore(const char* software, const char* company, const char* application, const char* subkey)
    : iTypeStore(HKEY_CURRENT_USER, software, company, application, subkey)
{
}

iTypeStore::iTypeStore(HKEY hive, const char* software, const char* company, const char* application,
                       const char* subkey)
    : Collection(nullptr, nullptr), m_hive(hive), m_software(software ? software : ""),
      m_company(company ? company : ""), m_application(application ? application : ""),
      m_subkey(subkey ? subkey : "")
{
}

iTypeStore::~iTypeStore() = default;

iRegistry iTypeStore::OpenKey(REGSAM access) const
{
    return iRegistry(m_hive, m_software, m_company, m_application, access, m_subkey);
}

int iTypeStore::LoadFromRegistry()
{
    iRegistry key = OpenKey(KEY_READ);
    iRegistryTypeArchive archive(this, &key, 1);
    archive.LoadAll();
    return 1;
}

int iTypeStore::SaveToRegistry()
{
    iRegistry key = OpenKey(KEY_WRITE);
    iRegistryTypeArchive archive(this, &key, 1);
    archive.SaveAll();
    return 1;
}

int iTypeStore::LoadFromFile(const char* path)
{
    iFile file(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (!file.IsOpen()) {
        Clear();
        return 0;
    }
    iFileTypeArchive archive(this, &file);
    archive.LoadAll();
    return 1;
}

int iTypeStore::SaveToFile(const char* path)
{
    if (!path)
        return 0;
    iString aside = iString(path) + ".new";
    bool isWritten = false;
    {
        iFile file(aside, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL);
        if (!file.IsOpen())
            return 0;
        iFileTypeArchive archive(this, &file);
        archive.SaveAll();
        isWritten = !archive.HasWriteFailed() && file.Flush();
    }
    if (isWritten && MoveFileExA(aside, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 1;
    DeleteFileA(aside);
    return 0;
}
