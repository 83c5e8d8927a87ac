// What the record binding's tests share: typed records shaped as the program's and as the
// tests need them, a scratch folder with a started engine, and captured message boxes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "database/iDBDefinition.h"
#include "database/mGroveFile.h"
#include "database/mGrovePlus.h"
#include "database_test_support.h"
#include "lib/src/MsgBox.h"
#include "lib/src/iType.h"

namespace bindtest {

// Shaped as the banner's page cache: a number, two time stamps and a page text laid over a
// 2060-byte buffer without being members of the record; keys "ID", "Insert", "Update".
class BannerCache : public iType::Record {
public:
    static constexpr unsigned kSize = 2060;

    BannerCache();
    iType::Base* Create() const override { return new BannerCache; }

    unsigned char* Bytes() { return static_cast<unsigned char*>(GetData()); }
    // Clears the buffer, then sets every field.
    void Fill(long id, long inserted, long updated, const std::string& page);

    iType::TType<long> id;
    iType::Time_T inserted;
    iType::Time_T updated;
    iType::VarBufString page;
};

// A plain copy of a cache record's bytes, as a caller's own buffer.
struct CacheBytes {
    unsigned char bytes[BannerCache::kSize] = {};
    long Id() const { return Long(0); }
    long Inserted() const { return Long(4); }
    long Updated() const { return Long(8); }
    std::string Page() const;
    long Long(int offset) const
    {
        long value;
        memcpy(&value, bytes + offset, 4);
        return value;
    }
};
CacheBytes MakeCache(long id, long inserted, long updated, const std::string& page = "");
// Whether the file finds the page by its number (key 0).
bool HasPage(iDBFile& file, long id);

// A record over a zero-filled buffer of its own, with fields and keys the test adds; owns
// the fields (the record itself owns its index, keys and segments).
class TestRecord : public iType::Record {
public:
    explicit TestRecord(unsigned size, unsigned recordFlags = 0);
    ~TestRecord() override;
    iType::Base* Create() const override { return nullptr; }

    unsigned char* Bytes() { return static_cast<unsigned char*>(GetData()); }
    // Takes the field (a field made with the record as parent is also its member).
    template <class Field> Field& Keep(Field* field)
    {
        m_fields.emplace_back(field);
        return *field;
    }
    // A key of one segment per field, each with its segment flags.
    void AddKey(unsigned keyFlags, const std::vector<std::pair<iType::Base*, unsigned>>& segments);

private:
    std::vector<std::unique_ptr<iType::Base>> m_fields;
};

// While it lives, every message box is kept and answered IDOK.
class CapturedBoxes {
public:
    CapturedBoxes();
    ~CapturedBoxes();
    CapturedBoxes(const CapturedBoxes&) = delete;
    CapturedBoxes& operator=(const CapturedBoxes&) = delete;
    const std::vector<std::string>& Texts() const;
    const std::vector<std::string>& Captions() const;
    const std::vector<UINT>& Styles() const;

private:
    MsgBoxShowFunction m_previous;
};

// A scratch folder with the engine started through the binding (16 buffers, 16 files,
// 32 sectors, as the program does) and short lock waits.
class BindingFolder {
public:
    BindingFolder();
    ~BindingFolder();
    BindingFolder(const BindingFolder&) = delete;
    BindingFolder& operator=(const BindingFolder&) = delete;

    std::string File(const std::string& name) const { return m_folder.File(name); }
    const std::string& Path() const { return m_folder.Path(); }
    mGrovePlus& Engine() { return *m_engine; }
    // Deletes the engine early (the file objects over it first, as the program does).
    void DeleteEngine() { m_engine.reset(); }

    // Creates the cache set at the file name; the engine's answer.
    int CreateCacheSet(const std::string& name);
    // Opens a file object as the banner does (flags 0, record length 2060).
    std::unique_ptr<mGroveFile> OpenCache(const std::string& name, unsigned recordLength = BannerCache::kSize);

private:
    CapturedBoxes m_boxes;
    dbtest::ScratchFolder m_folder;
    std::unique_ptr<mGrovePlus> m_engine;
};

// Every file of the folder, by name, sorted.
std::vector<std::string> FilesIn(const std::string& folder);
// The member names in a host's member directory, read through the engine.
bool MemberExists(const std::string& host, const std::string& member);

} // namespace bindtest
