// The walk over a field tree, and the registry and file archives.
#include "iTypeArchive.h"

#include "iFile.h"
#include "iRegistry.h"
#include "iTypeScalar.h"
#include "iTypeText.h"
#include "iTypeVarBuf.h"

#include <cstdint>
#include <cstring>
#include <memory>

iTypeArchive::iTypeArchive(iType::Collection* root) : m_root(root)
{
}

iTypeArchive::~iTypeArchive() = default;

int iTypeArchive::Walk(iType::Collection* collection, int load)
{
    if (!collection)
        return 1;
    for (int i = 0; i < collection->GetCount(); ++i) {
        iType::Base* member = collection->GetAt(i);
        if (!member || !member->GetName())
            continue;
        if (auto* nested = dynamic_cast<iType::Collection*>(member)) {
            std::unique_ptr<iTypeArchive> sub(CreateSub(member->GetName()));
            if (sub)
                sub->Walk(nested, load);
        } else if (!load) {
            static_cast<void>(Save(member));
        } else if (!Load(member)) {
            member->Clear();
        }
    }
    return 1;
}

int iTypeArchive::LoadAll()
{
    return Walk(m_root, 1);
}

int iTypeArchive::SaveAll()
{
    return Walk(m_root, 0);
}

iRegistryTypeArchive::iRegistryTypeArchive(iType::Collection* root, iRegistry* key, int typed)
    : iTypeArchive(root), m_key(key), m_typed(typed)
{
}

iRegistryTypeArchive::iRegistryTypeArchive(const iRegistryTypeArchive& parent, const char* name)
    : iTypeArchive(parent.m_root), m_ownsKey(1), m_typed(parent.m_typed)
{
    // Access 0: the parent's rights, so a key opened for reading creates no subkey.
    if (parent.m_key)
        m_key = new iRegistry(*parent.m_key, name, 0);
}

iRegistryTypeArchive::~iRegistryTypeArchive()
{
    if (m_ownsKey)
        delete m_key;
}

iTypeArchive* iRegistryTypeArchive::CreateSub(const char* name)
{
    return m_key ? new iRegistryTypeArchive(*this, name) : nullptr;
}

namespace {

using Dword = iType::TType<unsigned long>;

// The most characters a text field holds.
[[nodiscard]] unsigned TextFieldWidth(const iType::String& field)
{
    return field.GetWidth() > 0 ? static_cast<unsigned>(field.GetWidth()) : 0;
}

// The text a text field stores: up to its first zero, at most its width.
[[nodiscard]] iString StoredText(const iType::String& field)
{
    const char* text = field.GetText();
    return iString(text, static_cast<int>(strnlen(text, TextFieldWidth(field))));
}

} // namespace

int iRegistryTypeArchive::Save(iType::Base* field)
{
    if (!m_key || !field)
        return 0;
    const char* name = field->GetName();
    if (m_typed) {
        if (auto* dword = dynamic_cast<Dword*>(field))
            return m_key->SetDWord(name, dword->Value()) == 0 ? 1 : 0;
        if (auto* text = dynamic_cast<iType::String*>(field))
            return m_key->SetString(name, StoredText(*text)) == 0 ? 1 : 0;
        if (auto* buffer = dynamic_cast<iType::VarBufString*>(field))
            return m_key->SetString(name, iString(buffer->GetText())) == 0 ? 1 : 0;
    }
    return m_key->SetBinary(name, field->GetData(), field->GetByteSize()) == 0 ? 1 : 0;
}

int iRegistryTypeArchive::Load(iType::Base* field)
{
    if (!m_key || !field)
        return 0;
    const char* name = field->GetName();
    if (m_typed) {
        if (auto* dword = dynamic_cast<Dword*>(field)) {
            DWORD value = 0;
            if (m_key->QueryDWord(name, &value) != 0)
                return 0;
            dword->Value() = value;
            return 1;
        }
        if (auto* text = dynamic_cast<iType::String*>(field)) {
            iString stored;
            if (m_key->QueryString(name, stored) != 0)
                return 0;
            text->SetTextN(stored, TextFieldWidth(*text));
            return 1;
        }
        if (auto* buffer = dynamic_cast<iType::VarBufString*>(field)) {
            iString stored;
            if (m_key->QueryString(name, stored) != 0)
                return 0;
            return buffer->SetText(stored);
        }
    }
    DWORD size = field->GetByteSize();
    if (m_key->QueryBinary(name, field->GetData(), &size) != 0)
        return 0;
    // Only a value of exactly the field's size is its value.
    return size == field->GetByteSize() ? 1 : 0;
}

namespace {

// Longest record name the loader reads: a longer one marks a corrupt file.
constexpr uint32_t kLongestName = 65536;

[[nodiscard]] bool ReadExact(iFile& file, void* buffer, DWORD n)
{
    DWORD done = 0;
    return n == 0 || (file.Read(buffer, n, &done) && done == n);
}

[[nodiscard]] bool WriteExact(iFile& file, const void* buffer, DWORD n)
{
    DWORD done = 0;
    return n == 0 || (file.Write(buffer, n, &done) && done == n);
}

DWORD Position(iFile& file)
{
    return file.Seek(0, FILE_CURRENT, nullptr);
}

void MoveTo(iFile& file, DWORD position)
{
    LONG high = 0;
    file.Seek(static_cast<LONG>(position), FILE_BEGIN, &high);
}

// True when some field (not collection) below collection is called name.
[[nodiscard]] bool HasFieldNamed(const iType::Collection& collection, const iString& name)
{
    for (int i = 0; i < collection.GetCount(); ++i) {
        const iType::Base* member = collection.GetAt(i);
        if (!member || !member->GetName())
            continue;
        if (const auto* nested = dynamic_cast<const iType::Collection*>(member)) {
            if (HasFieldNamed(*nested, name))
                return true;
        } else if (name == member->GetName()) {
            return true;
        }
    }
    return false;
}

// The head of the record at the file's position: its name and value length.
struct RecordHead {
    iString name;
    uint32_t valueLength = 0;
};

// Reads a record head, checked against what is left of the file; false for a
// truncated or corrupt record.
[[nodiscard]] bool ReadHead(iFile& file, DWORD fileSize, RecordHead& head)
{
    uint32_t nameLength = 0;
    if (!ReadExact(file, &nameLength, sizeof nameLength))
        return false;
    if (nameLength > kLongestName || nameLength > fileSize - Position(file))
        return false;
    std::unique_ptr<char[]> name(new char[nameLength + 1]());
    if (!ReadExact(file, name.get(), nameLength))
        return false;
    head.name = iString(name.get(), static_cast<int>(nameLength));
    if (!ReadExact(file, &head.valueLength, sizeof head.valueLength))
        return false;
    return head.valueLength <= fileSize - Position(file);
}

} // namespace

iFileTypeArchive::iFileTypeArchive(iType::Collection* root, iFile* file)
    : iTypeArchive(root), m_file(file), m_writeFailed(&m_ownFailure)
{
}

iFileTypeArchive::iFileTypeArchive(const iFileTypeArchive& parent, const char*)
    : iTypeArchive(parent.m_root), m_file(parent.m_file), m_writeFailed(parent.m_writeFailed)
{
}

iFileTypeArchive::~iFileTypeArchive() = default;

iTypeArchive* iFileTypeArchive::CreateSub(const char* name)
{
    return new iFileTypeArchive(*this, name);
}

int iFileTypeArchive::Save(iType::Base* field)
{
    if (!m_file || !field || !field->GetName())
        return 0;
    uint32_t nameLength = static_cast<uint32_t>(strlen(field->GetName()));
    uint32_t valueLength = field->GetData() ? field->GetByteSize() : 0;
    bool isWhole = WriteExact(*m_file, &nameLength, sizeof nameLength) &&
                   WriteExact(*m_file, field->GetName(), nameLength) &&
                   WriteExact(*m_file, &valueLength, sizeof valueLength) &&
                   WriteExact(*m_file, field->GetData(), valueLength);
    if (!isWhole)
        *m_writeFailed = true;
    return isWhole ? 1 : 0;
}

int iFileTypeArchive::Load(iType::Base* field)
{
    if (!m_file || !field || !field->GetName())
        return 0;
    DWORD fileSize = m_file->GetSize(nullptr);
    if (fileSize == INVALID_FILE_SIZE)
        return 0;
    for (;;) {
        DWORD start = Position(*m_file);
        if (start == INVALID_SET_FILE_POINTER)
            return 0;
        RecordHead head;
        if (!ReadHead(*m_file, fileSize, head)) {
            MoveTo(*m_file, start);
            return 0;
        }
        if (head.name == field->GetName()) {
            // The field's own record: taken when its value fits, passed over when not.
            if (head.valueLength > field->GetByteSize() || !field->GetData()) {
                MoveTo(*m_file, Position(*m_file) + head.valueLength);
                return 0;
            }
            if (!ReadExact(*m_file, field->GetData(), head.valueLength)) {
                MoveTo(*m_file, start);
                return 0;
            }
            return 1;
        }
        // Another field's record stays for that field; one that no field owns any
        // more is skipped, so that it does not block the records after it.
        if (!m_root || HasFieldNamed(*m_root, head.name)) {
            MoveTo(*m_file, start);
            return 0;
        }
        MoveTo(*m_file, Position(*m_file) + head.valueLength);
    }
}
