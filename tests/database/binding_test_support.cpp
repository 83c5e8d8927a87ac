// Shared fixtures of the record binding's tests.
#include "binding_test_support.h"

#include <algorithm>

#include "database/iDBLock.h"
#include "database/mgFile.h"
#include "database/mgInstance.h"

namespace bindtest {

namespace {

struct BoxLog {
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    std::vector<UINT> styles;
};

BoxLog& Boxes()
{
    static BoxLog log;
    return log;
}

int KeepBox(HWND, const char* text, const char* caption, UINT style)
{
    Boxes().texts.push_back(text ? text : "");
    Boxes().captions.push_back(caption ? caption : "");
    Boxes().styles.push_back(style);
    return IDOK;
}

} // namespace

BannerCache::BannerCache()
    : Record(kSize, "Cache", "Cache"), id(GetData(), 0, "ID", nullptr), inserted(GetData(), 4, "Insert", nullptr),
      updated(GetData(), 8, "Update", nullptr),
      page(static_cast<char*>(GetData()) + 12, 2048, "Page", nullptr)
{
    SetRecordFlags(kRecordOption);
    auto* index = new Index(this);
    SetKeyIndex(index);
    iType::Base* keyFields[] = {&id, &inserted, &updated};
    for (int i = 0; i < 3; ++i) {
        auto* key = new Key(index, i, keyFields[i]->GetName(), nullptr, 0);
        new Segment(key, keyFields[i]);
    }
}

void BannerCache::Fill(long idValue, long insertedValue, long updatedValue, const std::string& pageText)
{
    memset(Bytes(), 0, kSize);
    id = idValue;
    inserted = insertedValue;
    updated = updatedValue;
    page.SetText(pageText.c_str());
}

std::string CacheBytes::Page() const
{
    unsigned length = bytes[12] | (bytes[13] << 8);
    if (length > 2046)
        length = 2046;
    return std::string(reinterpret_cast<const char*>(bytes + 14), length);
}

CacheBytes MakeCache(long id, long inserted, long updated, const std::string& page)
{
    BannerCache record;
    record.Fill(id, inserted, updated, page);
    CacheBytes out;
    memcpy(out.bytes, record.Bytes(), BannerCache::kSize);
    return out;
}

bool HasPage(iDBFile& file, long id)
{
    CacheBytes probe = MakeCache(id, 0, 0);
    return file.FindEqual(probe.bytes, 0) == 0 && probe.Id() == id;
}

TestRecord::TestRecord(unsigned size, unsigned recordFlags) : Record(size, "Test", nullptr)
{
    SetRecordFlags(recordFlags);
    SetKeyIndex(new Index(this));
}

TestRecord::~TestRecord()
{
    // The index's segments point at the fields: it goes first.
    SetKeyIndex(nullptr);
}

void TestRecord::AddKey(unsigned keyFlags, const std::vector<std::pair<iType::Base*, unsigned>>& segments)
{
    Index* index = GetKeyIndex();
    auto* key = new Key(index, index->GetCount(), "key", nullptr, keyFlags);
    for (const auto& segment : segments)
        new Segment(key, segment.first, 0, segment.second);
}

CapturedBoxes::CapturedBoxes() : m_previous(SetMsgBoxShowFunction(KeepBox))
{
    Boxes() = BoxLog();
}

CapturedBoxes::~CapturedBoxes()
{
    SetMsgBoxShowFunction(m_previous);
}

const std::vector<std::string>& CapturedBoxes::Texts() const
{
    return Boxes().texts;
}

const std::vector<std::string>& CapturedBoxes::Captions() const
{
    return Boxes().captions;
}

const std::vector<UINT>& CapturedBoxes::Styles() const
{
    return Boxes().styles;
}

BindingFolder::BindingFolder() : m_engine(new mGrovePlus(16, 16, 32))
{
    ScopedDatabaseLock lock;
    m_engine->MakeCurrent();
    mgSetLockWait(3, 1);
}

BindingFolder::~BindingFolder()
{
    m_engine.reset();
}

int BindingFolder::CreateCacheSet(const std::string& name)
{
    BannerCache record;
    iDBDefinition definition;
    definition.Build(&record);
    return m_engine->CreateFileSet(&definition, File(name).c_str(), 0);
}

std::unique_ptr<mGroveFile> BindingFolder::OpenCache(const std::string& name, unsigned recordLength)
{
    return std::unique_ptr<mGroveFile>(new mGroveFile(m_engine.get(), "", File(name).c_str(), 0, recordLength));
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

bool MemberExists(const std::string& host, const std::string& member)
{
    ScopedDatabaseLock lock;
    int hostNumber = mgFindFreeFileNumbers(2);
    if (mgOpenFile(hostNumber, host.c_str(), kMgModeHost | kMgModePermanent | kMgModeShared) != 0)
        return false;
    int number = mgFindFreeFileNumbers(1);
    bool exists = mgOpenFile(number, (host + member).c_str(), kMgModeShared | kMgModePermanent) == 0;
    if (exists)
        mgCloseFile(number, 0);
    mgCloseFile(hostNumber, 0);
    return exists;
}

} // namespace bindtest
