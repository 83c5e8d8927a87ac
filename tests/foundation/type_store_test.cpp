// Settings stores end to end: a store of two sections saved to the real registry
// (one key per section, one value per field, checked with plain registry calls)
// and to the binary file form, loaded into a fresh store, and first runs where
// nothing is stored leave every field at its null value.
#include "lib/src/iTypeStore.h"

#include "lib/src/iFile.h"
#include "lib/src/iRegistry.h"
#include "lib/src/iTypeArchive.h"
#include "lib/src/iTypeBitSet.h"
#include "lib/src/iTypeCombo.h"
#include "lib/src/iTypeScalar.h"
#include "lib/src/iTypeText.h"
#include "lib/src/iTypeVarBuf.h"

#include "registry_test_support.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

using foundation_test::KeyExists;

constexpr const char* kCompany = "SorvantaTests";

// The test's own key below HKEY_CURRENT_USER\Software\SorvantaTests, one per process.
std::string ApplicationKey()
{
    return "TypeStore-" + std::to_string(GetCurrentProcessId());
}

std::string StorePath(const char* section = nullptr)
{
    std::string path = std::string("Software\\") + kCompany + "\\" + ApplicationKey() + "\\Demo";
    if (section)
        path += std::string("\\") + section;
    return path;
}

// Two sections of the kinds a settings store holds: Bool, long, combo, text,
// DWORD, text buffer, binary buffer and bit set.
class DemoStore : public iTypeStore {
public:
    DemoStore()
        : iTypeStore("Software", kCompany, ApplicationKey().c_str(), "Demo"), general(this, "General", nullptr),
          extra(this, "Extra", nullptr), enabled(&general, "Enabled", nullptr), count(&general, "Count", nullptr),
          size(&general, "Size", nullptr), folder(&general, "Folder", nullptr, 16), colour(&general, "Colour", nullptr),
          unnamed(&general, nullptr, nullptr), note(&extra, noteBytes, "Note", nullptr, 12u),
          blob(&extra, "Blob", nullptr, 8u), types(&extra, typeBits, sizeof typeBits, "Types", nullptr)
    {
        size.AddItem(0, "Complete");
        size.AddItem(4, "Quarter");
        types.SetDefaultBit(2);
        types.SetDefaultBit(41);
        enabled.SetNullValue(1);
        folder.SetDefaultText("C:\\");
        colour.SetNullValue(0xFFFFFF);
        Clear();
    }

    // Buffers that lie in the store, as in a record.
    unsigned char noteBytes[12] = {};
    unsigned char typeBits[16] = {};
    iType::Collection general;
    iType::Collection extra;
    iType::Bool enabled;
    iType::TType<long> count;
    iType::TCombo<long> size;
    iType::String folder;
    iType::TType<unsigned long> colour;
    iType::Bool unnamed;
    iType::VarBufString note;
    iType::VarBuf blob;
    iType::BitSet types;

    void Fill()
    {
        enabled = 0;
        count = -7L;
        size = 4L;
        folder.SetText("D:\\Pictures");
        colour = 0x00FF00UL;
        note.SetText("hello");
        auto* bytes = static_cast<unsigned char*>(blob.GetData());
        bytes[0] = 3;
        memcpy(bytes + 2, "xyz", 3);
        types.ClearAll();
        types.SetBit(5);
        types.SetBit(100);
    }

    void ExpectFilled() const
    {
        EXPECT_EQ(0, enabled.Value());
        EXPECT_EQ(-7, count.Value());
        EXPECT_STREQ("Quarter", size.GetText());
        EXPECT_STREQ("D:\\Pictures", folder.GetText());
        EXPECT_EQ(0x00FF00UL, colour.Value());
        EXPECT_STREQ("hello", note.GetText());
        EXPECT_EQ(0, memcmp(blob.GetData(), "\x03\0xyz\0\0\0", 8));
        EXPECT_EQ(2, types.CountBits());
        EXPECT_EQ(1, types.TestBit(5));
        EXPECT_EQ(1, types.TestBit(100));
    }

    void ExpectNull() const
    {
        EXPECT_EQ(1, enabled.Value());
        EXPECT_EQ(0, count.Value());
        EXPECT_EQ(0, size.Value());
        EXPECT_STREQ("C:\\", folder.GetText());
        EXPECT_EQ(0xFFFFFFUL, colour.Value());
        EXPECT_STREQ("", note.GetText());
        EXPECT_EQ(0, memcmp(blob.GetData(), "\0\0\0\0\0\0\0\0", 8));
        EXPECT_EQ(2, types.CountBits());  // the default bits
        EXPECT_EQ(1, types.TestBit(2));
        EXPECT_EQ(1, types.TestBit(41));
    }
};

struct StoredValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::vector<unsigned char> bytes;
};

StoredValue ReadValue(const char* section, const char* name)
{
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, StorePath(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        value.bytes.resize(size);
        value.exists = RegQueryValueExA(key, name, nullptr, &value.type, value.bytes.data(), &size) ==
                       ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return value;
}

void WriteValue(const char* section, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, StorePath(section).c_str(), 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

std::vector<unsigned char> RawBytes(const void* data, size_t size)
{
    auto* p = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(p, p + size);
}

// Leaves nothing behind under HKEY_CURRENT_USER.
class TypeStoreRegistry : public ::testing::Test {
protected:
    void SetUp() override { RemoveKeys(); }
    void TearDown() override { RemoveKeys(); }

    static void RemoveKeys()
    {
        std::string company = std::string("Software\\") + kCompany;
        RegDeleteTreeA(HKEY_CURRENT_USER, (company + "\\" + ApplicationKey()).c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, company.c_str());  // only when no other run still uses it
    }
};

} // namespace

TEST_F(TypeStoreRegistry, SaveWritesOneKeyPerSectionAndOneValuePerField)
{
    DemoStore store;
    store.Fill();
    ASSERT_EQ(1, store.SaveToRegistry());

    struct Case {
        const char* section;
        const char* name;
        DWORD type;
        std::vector<unsigned char> bytes;
    };
    const long count = -7;
    const long size = 4;
    const DWORD colour = 0x00FF00;
    std::vector<unsigned char> types(16, 0);
    types[0] = 0x20;   // bit 5
    types[12] = 0x10;  // bit 100
    const Case cases[] = {
        {"General", "Enabled", REG_BINARY, {0, 0, 0, 0}},
        {"General", "Count", REG_BINARY, RawBytes(&count, 4)},
        {"General", "Size", REG_BINARY, RawBytes(&size, 4)},
        {"General", "Folder", REG_SZ, RawBytes("D:\\Pictures", 12)},
        {"General", "Colour", REG_DWORD, RawBytes(&colour, 4)},
        {"Extra", "Note", REG_SZ, RawBytes("hello", 6)},
        {"Extra", "Blob", REG_BINARY, RawBytes("\x03\0xyz\0\0\0", 8)},
        {"Extra", "Types", REG_BINARY, types},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StoredValue value = ReadValue(c.section, c.name);
        ASSERT_TRUE(value.exists);
        EXPECT_EQ(c.type, value.type);
        EXPECT_EQ(c.bytes, value.bytes);
    }

    // Nothing else: the unnamed field writes no value, the store key holds only the sections.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, StorePath("General").c_str(), 0, KEY_READ, &key));
    DWORD values = 0;
    DWORD subkeys = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(5u, values);
    EXPECT_EQ(0u, subkeys);
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, StorePath().c_str(), 0, KEY_READ, &key));
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    EXPECT_EQ(0u, values);
    EXPECT_EQ(2u, subkeys);
}

TEST_F(TypeStoreRegistry, FreshStoreLoadsWhatWasSaved)
{
    DemoStore saved;
    saved.Fill();
    saved.unnamed = 5;
    saved.SaveToRegistry();

    DemoStore loaded;
    loaded.unnamed = 9;
    ASSERT_EQ(1, loaded.LoadFromRegistry());
    loaded.ExpectFilled();
    EXPECT_EQ(0, loaded.extra.CompareTo(saved.extra));
    EXPECT_EQ(9, loaded.unnamed.Value());  // no name: not stored, not cleared
}

TEST_F(TypeStoreRegistry, FirstRunLeavesEveryFieldAtItsNullValue)
{
    DemoStore store;
    store.Fill();
    ASSERT_EQ(1, store.LoadFromRegistry());
    store.ExpectNull();
    // Loading creates the store's key but opens no section key.
    EXPECT_TRUE(KeyExists(StorePath()));
    EXPECT_FALSE(KeyExists(StorePath("General")));
    EXPECT_FALSE(KeyExists(StorePath("Extra")));
}

TEST_F(TypeStoreRegistry, ValuesOfAnotherTypeOrSizeLoadAsNull)
{
    DemoStore saved;
    saved.Fill();
    saved.enabled = 0;
    saved.SaveToRegistry();

    struct Case {
        const char* why;
        const char* section;
        const char* name;
        DWORD type;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {"boolean cut to two bytes", "General", "Enabled", REG_BINARY, {0, 0}},
        {"boolean as a DWORD", "General", "Enabled", REG_DWORD, {0, 0, 0, 0}},
        {"binary longer than the field", "Extra", "Blob", REG_BINARY, std::vector<unsigned char>(9, 1)},
        {"bit set shorter than its buffer", "Extra", "Types", REG_BINARY, std::vector<unsigned char>(15, 0xFF)},
        {"combo as a DWORD", "General", "Size", REG_DWORD, {4, 0, 0, 0}},
        {"DWORD field given binary", "General", "Colour", REG_BINARY, {0, 0, 0, 0}},
        {"text field given binary", "General", "Folder", REG_BINARY, {'a', 0}},
        {"text buffer given a DWORD", "Extra", "Note", REG_DWORD, {1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        saved.SaveToRegistry();
        WriteValue(c.section, c.name, c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
        DemoStore loaded;
        loaded.Fill();
        loaded.LoadFromRegistry();
        DemoStore null;
        const iType::Collection& section = std::string(c.section) == "General" ? loaded.general : loaded.extra;
        const iType::Collection& nullSection = std::string(c.section) == "General" ? null.general : null.extra;
        EXPECT_EQ(0, section.Find(c.name)->CompareTo(*nullSection.Find(c.name)));
    }
}

TEST_F(TypeStoreRegistry, LongTextIsCutToTheWidth)
{
    DemoStore saved;
    saved.SaveToRegistry();
    std::string longText(300, 'q');
    WriteValue("General", "Folder", REG_SZ, longText.c_str(), static_cast<DWORD>(longText.size() + 1));
    WriteValue("Extra", "Note", REG_SZ, longText.c_str(), static_cast<DWORD>(longText.size() + 1));
    DemoStore loaded;
    loaded.LoadFromRegistry();
    EXPECT_EQ(std::string(16, 'q'), loaded.folder.GetText());
    EXPECT_EQ(std::string(10, 'q'), loaded.note.GetText());
    EXPECT_EQ(10u, loaded.note.GetLength());
}

TEST_F(TypeStoreRegistry, UntypedArchiveStoresEveryValueAsBinary)
{
    DemoStore store;
    store.Fill();
    {
        iRegistry key(HKEY_CURRENT_USER, "Software", kCompany, ApplicationKey().c_str(), KEY_WRITE, "Demo");
        iRegistryTypeArchive archive(&store, &key, 0);
        EXPECT_EQ(1, archive.SaveAll());
    }
    StoredValue folder = ReadValue("General", "Folder");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), folder.type);
    EXPECT_EQ(16u, folder.bytes.size());
    StoredValue colour = ReadValue("General", "Colour");
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), colour.type);

    DemoStore loaded;
    iRegistry key(HKEY_CURRENT_USER, "Software", kCompany, ApplicationKey().c_str(), KEY_READ, "Demo");
    iRegistryTypeArchive archive(&loaded, &key, 0);
    archive.LoadAll();
    loaded.ExpectFilled();
}

namespace {

// A file of the test's own in the temporary folder, removed afterwards.
class TypeStoreFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char directory[MAX_PATH];
        GetTempPathA(MAX_PATH, directory);
        m_path = std::string(directory) + "type_store_" + std::to_string(GetCurrentProcessId()) + ".bin";
        DeleteFileA(m_path.c_str());
    }
    void TearDown() override
    {
        DeleteFileA(m_path.c_str());
        DeleteFileA((m_path + ".new").c_str());
        DeleteFileA((m_path + ".link").c_str());
    }

    std::vector<unsigned char> FileBytes() const { return FileBytes(m_path); }

    static std::vector<unsigned char> FileBytes(const std::string& path)
    {
        std::vector<unsigned char> bytes;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return bytes;
        bytes.resize(GetFileSize(file, nullptr));
        DWORD read = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        CloseHandle(file);
        return bytes;
    }

    void WriteFileBytes(const std::vector<unsigned char>& bytes) const
    {
        HANDLE file = CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }

    std::string m_path;
};

// A record of the file form: name length, name, value length, value.
void AppendRecord(std::vector<unsigned char>& file, const std::string& name, const std::vector<unsigned char>& value)
{
    uint32_t nameLength = static_cast<uint32_t>(name.size());
    uint32_t valueLength = static_cast<uint32_t>(value.size());
    file.insert(file.end(), reinterpret_cast<unsigned char*>(&nameLength),
                reinterpret_cast<unsigned char*>(&nameLength) + 4);
    file.insert(file.end(), name.begin(), name.end());
    file.insert(file.end(), reinterpret_cast<unsigned char*>(&valueLength),
                reinterpret_cast<unsigned char*>(&valueLength) + 4);
    file.insert(file.end(), value.begin(), value.end());
}

std::vector<unsigned char> Long(long value)
{
    return RawBytes(&value, 4);
}

// A flat store of three numbers named by the caller.
class NumberStore : public iTypeStore {
public:
    NumberStore(const char* first, const char* second, const char* third = nullptr)
        : iTypeStore(nullptr, nullptr, nullptr, nullptr), a(this, first, nullptr), b(this, second, nullptr),
          c(third ? this : nullptr, third, nullptr)
    {
        a.SetNullValue(-1);
        b.SetNullValue(-2);
        c.SetNullValue(-3);
    }
    iType::TType<long> a;
    iType::TType<long> b;
    iType::TType<long> c;
};

} // namespace

TEST_F(TypeStoreFile, RoundTripWritesOneRecordPerFieldInWalkOrder)
{
    DemoStore saved;
    saved.Fill();
    ASSERT_EQ(1, saved.SaveToFile(m_path.c_str()));

    std::vector<unsigned char> expected;
    AppendRecord(expected, "Enabled", Long(0));
    AppendRecord(expected, "Count", Long(-7));
    AppendRecord(expected, "Size", Long(4));
    std::vector<unsigned char> folder(16, 0);
    memcpy(folder.data(), "D:\\Pictures", 11);
    AppendRecord(expected, "Folder", folder);
    AppendRecord(expected, "Colour", Long(0x00FF00));
    AppendRecord(expected, "Note", RawBytes("\x05\0hello\0\0\0\0\0", 12));
    AppendRecord(expected, "Blob", RawBytes("\x03\0xyz\0\0\0", 8));
    std::vector<unsigned char> types(16, 0);
    types[0] = 0x20;
    types[12] = 0x10;
    AppendRecord(expected, "Types", types);
    EXPECT_EQ(expected, FileBytes());

    DemoStore loaded;
    ASSERT_EQ(1, loaded.LoadFromFile(m_path.c_str()));
    loaded.ExpectFilled();
}

TEST_F(TypeStoreFile, MissingFileClearsEveryField)
{
    DemoStore store;
    store.Fill();
    EXPECT_EQ(0, store.LoadFromFile(m_path.c_str()));
    store.ExpectNull();
}

TEST_F(TypeStoreFile, FieldMissingFromTheFileTakesItsNullValue)
{
    NumberStore saved("A", "B");
    saved.a = 10L;
    saved.b = 20L;
    ASSERT_EQ(1, saved.SaveToFile(m_path.c_str()));

    NumberStore loaded("A", "N", "B");
    ASSERT_EQ(1, loaded.LoadFromFile(m_path.c_str()));
    EXPECT_EQ(10, loaded.a.Value());
    EXPECT_EQ(-2, loaded.b.Value());  // N
    EXPECT_EQ(20, loaded.c.Value());  // B
}

TEST_F(TypeStoreFile, RecordOfARemovedFieldDoesNotBlockLaterSettings)
{
    std::vector<unsigned char> file;
    AppendRecord(file, "A", Long(10));
    AppendRecord(file, "X", Long(99));
    AppendRecord(file, "Y", std::vector<unsigned char>(40, 7));
    AppendRecord(file, "B", Long(20));
    WriteFileBytes(file);

    NumberStore loaded("A", "B");
    ASSERT_EQ(1, loaded.LoadFromFile(m_path.c_str()));
    EXPECT_EQ(10, loaded.a.Value());
    EXPECT_EQ(20, loaded.b.Value());
}

TEST_F(TypeStoreFile, DamagedRecordsLoadAsNullAndLoseNothingAfterThem)
{
    struct Case {
        const char* why;
        std::vector<unsigned char> file;
        long a;
        long b;
    };
    std::vector<unsigned char> tooLong;
    AppendRecord(tooLong, "A", std::vector<unsigned char>(8, 1));
    AppendRecord(tooLong, "B", Long(20));
    std::vector<unsigned char> shorter;
    AppendRecord(shorter, "A", {5, 0});
    AppendRecord(shorter, "B", Long(20));
    std::vector<unsigned char> truncated;
    AppendRecord(truncated, "A", Long(10));
    AppendRecord(truncated, "B", Long(20));
    truncated.resize(truncated.size() - 2);
    std::vector<unsigned char> hugeName = {0xFF, 0xFF, 0xFF, 0x7F, 'A'};
    std::vector<unsigned char> hugeValue;
    AppendRecord(hugeValue, "A", Long(10));
    hugeValue.insert(hugeValue.end(), {1, 0, 0, 0, 'Z', 0xFF, 0xFF, 0xFF, 0xFF});
    const Case cases[] = {
        {"value longer than its field: passed over", tooLong, -1, 20},
        {"value shorter than its field: the first bytes", shorter, 5, 20},
        {"file cut inside the last value", truncated, 10, -2},
        {"name length past the file's end", hugeName, -1, -2},
        {"stale record whose value runs past the end", hugeValue, 10, -2},
        {"empty file", {}, -1, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        WriteFileBytes(c.file);
        NumberStore loaded("A", "B");
        loaded.a = 0L;  // so that "the first bytes" keeps the upper bytes at 0
        loaded.b = 77L;
        ASSERT_EQ(1, loaded.LoadFromFile(m_path.c_str()));
        EXPECT_EQ(c.a, loaded.a.Value());
        EXPECT_EQ(c.b, loaded.b.Value());
    }
}

// A save that failed half-way through writing the file itself would leave it cut; the old
// file's bytes are therefore never written over, only replaced by a complete new file,
// which a second name for the old file shows.
TEST_F(TypeStoreFile, TheOldFilesBytesAreReplacedNeverRewritten)
{
    NumberStore saved("A", "B");
    saved.a = 1L;
    ASSERT_EQ(1, saved.SaveToFile(m_path.c_str()));
    const std::vector<unsigned char> before = FileBytes();
    const std::string otherName = m_path + ".link";
    ASSERT_TRUE(CreateHardLinkA(otherName.c_str(), m_path.c_str(), nullptr));
    saved.a = 2L;
    ASSERT_EQ(1, saved.SaveToFile(m_path.c_str()));
    EXPECT_EQ(before, FileBytes(otherName));
    EXPECT_NE(before, FileBytes());
    NumberStore loaded("A", "B");
    ASSERT_EQ(1, loaded.LoadFromFile(m_path.c_str()));
    EXPECT_EQ(2, loaded.a.Value());
}

TEST_F(TypeStoreFile, FailedSaveLeavesTheOldFileWhole)
{
    NumberStore saved("A", "B");
    saved.a = 1L;
    ASSERT_EQ(1, saved.SaveToFile(m_path.c_str()));
    std::vector<unsigned char> before = FileBytes();

    // Held open without sharing: the new file cannot replace it.
    HANDLE holder = CreateFileA(m_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    saved.a = 2L;
    EXPECT_EQ(0, saved.SaveToFile(m_path.c_str()));
    CloseHandle(holder);
    EXPECT_EQ(before, FileBytes());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((m_path + ".new").c_str()));

    EXPECT_EQ(0, saved.SaveToFile((m_path + "\\no such folder\\x.bin").c_str()));
}
