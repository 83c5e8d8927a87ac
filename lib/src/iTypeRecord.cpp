// Records, their key index, keys and key segments.
#include "iTypeRecord.h"

#include "MsgBox.h"
#include "iTypeText.h"

#include <cstring>
#include <typeinfo>

namespace iType {

namespace {

Base* NotSupported(const char* caption)
{
    MsgBox(MB_OK, caption, nullptr, "%s", "Should not be called!");
    return nullptr;
}

} // namespace

Record::Record(const char* name, const char* description) : Collection(name, description)
{
    SetSeparator(", ");
}

Record::Record(Collection* parent, const char* name, const char* description)
    : Collection(parent, name, description)
{
    SetSeparator(", ");
}

Record::Record(Collection* parent, void* data, unsigned size, const char* name, const char* description)
    : Collection(parent, data, size, name, description)
{
    SetSeparator(", ");
}

Record::Record(unsigned size, const char* name, const char* description) : Collection(size, name, description)
{
    SetSeparator(", ");
}

Record::Record(void* data, unsigned size, const char* name, const char* description)
    : Collection(data, size, name, description)
{
    SetSeparator(", ");
}

Record::~Record() = default;

void Record::SetKeyIndex(Index* index)
{
    m_keyIndex.reset(index);
}

Record::Index::Index(Record* record) : Collection(nullptr, nullptr), m_record(record)
{
}

Record::Index::~Index()
{
    DeleteMembers();
}

Base* Record::Index::Create() const
{
    return NotSupported("iType::Record::Index::Create");
}

Record::Key::Key(Index* index, int number, const char* name, const char* description, unsigned flags)
    : Collection(index, name, description), m_number(number), m_keyFlags(flags)
{
}

Record::Key::~Key()
{
    DeleteMembers();
}

Base* Record::Key::Create() const
{
    return NotSupported("iType::Record::Key::Create");
}

Record::Segment::Segment(Key* key, Base* field)
    : Base(key, field ? field->GetName() : nullptr, field ? field->GetDescription() : nullptr), m_field(field)
{
}

Record::Segment::Segment(Key* key, Base* field, unsigned flags, unsigned segmentFlags) : Segment(key, field)
{
    m_flags = flags;
    m_segmentFlags = segmentFlags;
}

Record::Segment::~Segment() = default;

void Record::Segment::Clear()
{
    if (m_field)
        m_field->Clear();
}

const char* Record::Segment::GetText() const
{
    return "Segment";
}

Base* Record::Segment::Create() const
{
    return NotSupported("iType::Record::Segment::Create");
}

int Record::Segment::IsValid() const
{
    return 1;
}

int Record::Segment::SetText(const char* text)
{
    return m_field ? m_field->SetText(text) : 0;
}

int Record::Segment::CompareTo(const Base& other) const
{
    const auto* segment = dynamic_cast<const Segment*>(&other);
    const Base* otherField = segment ? segment->m_field : &other;
    if (!m_field || !otherField)
        return 0;
    if ((m_segmentFlags & kNoCase) && typeid(*m_field) == typeid(String)) {
        const char* text = otherField->GetText();
        unsigned length = text ? static_cast<unsigned>(strlen(text)) : 0;
        // Length 0 would mean "the whole text" to CompareNoCase: an empty text is "".
        return static_cast<const String*>(m_field)->CompareNoCase(length ? text : "", length);
    }
    return m_field->CompareTo(*otherField);
}

int Record::Segment::SetMinimum()
{
    return m_field ? m_field->SetMinimum() : 0;
}

int Record::Segment::SetMaximum()
{
    return m_field ? m_field->SetMaximum() : 0;
}

int Record::Segment::Reserved1()
{
    return m_field ? m_field->Reserved1() : 0;
}

int Record::Segment::Reserved2()
{
    return m_field ? m_field->Reserved2() : 0;
}

} // namespace iType
