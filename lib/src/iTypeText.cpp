// Text fields and text arrays.
#include "iTypeText.h"

#include "TextRoutines.h"
#include "iRevolveString.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace iType {

namespace {

unsigned Width(int length)
{
    return length > 0 ? static_cast<unsigned>(length) : 0;
}

// Length of text within max characters; unlike StrNLen, max 0 means none.
[[nodiscard]] unsigned LengthWithin(const char* text, unsigned max)
{
    return (text && max) ? StrNLen(text, max) : 0;
}

char* At(void* base, int offset)
{
    return static_cast<char*>(base) + offset;
}

// name formatted with "%s [%3d]" and number, in a ring buffer sized from the name.
[[nodiscard]] const char* CellName(const char* name, int number)
{
    if (!name)
        name = "";
    unsigned room = static_cast<unsigned>(strlen(name)) + 16;
    char* buffer = g_RevolveString->Get(room);
    snprintf(buffer, room, "%s [%3d]", name, number);
    return buffer;
}

} // namespace

String::String() : Base(nullptr, nullptr)
{
    Init(0);
}

String::String(int length) : Base(Width(length), nullptr, nullptr)
{
    Init(length);
}

String::String(Collection* parent, const char* name, const char* description, int length)
    : Base(parent, name, description, Width(length))
{
    Init(length);
}

String::String(Collection* parent, void* data, const char* name, const char* description, int length)
    : Base(parent, data, Width(length), name, description)
{
    Init(length);
}

String::String(Collection* parent, void* data, int length, const char* name, const char* description)
    : Base(parent, data, Width(length), name, description)
{
    Init(length);
}

String::String(Collection* parent, void* base, int offset, const char* name, const char* description, int length)
    : Base(parent, At(base, offset), Width(length), name, description)
{
    Init(length);
}

String::String(Collection* parent, void* base, int offset, int length, const char* name, const char* description)
    : Base(parent, At(base, offset), Width(length), name, description)
{
    Init(length);
}

String::String(void* data, int length, const char* name, const char* description)
    : Base(data, Width(length), name, description)
{
    Init(length);
}

String::String(void* base, int offset, int length, const char* name, const char* description)
    : Base(At(base, offset), Width(length), name, description)
{
    Init(length);
}

String::~String() = default;

void String::Init(int length)
{
    m_width = static_cast<int>(Width(length));
    Clear();
}

unsigned String::ReadableLength() const
{
    return m_data ? std::min(Width(m_width), GetByteSize()) : 0;
}

void String::Clear()
{
    if (!m_data)
        return;
    memset(m_data, 0, GetByteSize());
    unsigned room = std::min(GetByteSize(), m_defaultLength);
    if (m_defaultText)
        memcpy(m_data, m_defaultText.get(), LengthWithin(m_defaultText.get(), room));
}

const char* String::GetText() const
{
    unsigned size = m_data ? GetByteSize() : 0;
    char* buffer = g_RevolveString->Get(size);
    if (size)
        memcpy(buffer, m_data, size);
    return buffer;
}

void String::Assign(const Base& other)
{
    Base::Assign(other);
    if (const auto* text = dynamic_cast<const String*>(&other)) {
        if (text == this)
            return;
        m_width = text->m_width;
        SetDefaultText(text->m_defaultText.get(), text->m_defaultLength);
    }
}

Base* String::Create() const
{
    return NamedAsThis(new String(static_cast<int>(GetByteSize())));
}

int String::IsValid() const
{
    return 1;
}

int String::SetText(const char* text)
{
    if (!m_data)
        return 1;
    unsigned size = GetByteSize();
    unsigned length = LengthWithin(text, size);
    memset(m_data, 0, size);
    if (length)
        memcpy(m_data, text, length);
    return 1;
}

String& String::SetString(const char* text)
{
    Clear();
    if (text)
        static_cast<void>(SetText(text));
    return *this;
}

void String::SetTextN(const char* text, unsigned n)
{
    if (!m_data)
        return;
    unsigned size = GetByteSize();
    memset(m_data, 0, size);
    memcpy(m_data, text ? text : "", LengthWithin(text, std::min(size, n)));
}

void String::SetDefaultText(const char* text, unsigned n)
{
    if (!text) {
        m_defaultText.reset();
        m_defaultLength = 0;
        return;
    }
    // Never past the text's end, whatever n says.
    unsigned length = n == 0 ? static_cast<unsigned>(strlen(text)) : LengthWithin(text, n);
    if (m_defaultText && m_defaultLength == length && memcmp(m_defaultText.get(), text, length) == 0)
        return;
    unsigned block = (length + 1 + 7) & ~7u;
    std::unique_ptr<char[]> copy(new char[block]());
    memcpy(copy.get(), text, length);
    m_defaultText = std::move(copy);
    m_defaultLength = length;
}

int String::CompareTo(const Base& other) const
{
    const char* a = m_data ? static_cast<const char*>(m_data) : "";
    const char* b = other.GetData() ? static_cast<const char*>(other.GetData()) : "";
    int la = m_data ? static_cast<int>(GetByteSize()) : 0;
    int lb = other.GetData() ? static_cast<int>(other.GetByteSize()) : 0;
    switch (m_compareMode) {
    case kCaseInsensitive: return StrNICmp2(a, la, b, lb);
    case kFromEnd: return StrNRCmp2(a, la, b, lb);
    case kFromEndCaseInsensitive: return StrNRICmp2(a, la, b, lb);
    default: return StrNCmp2(a, la, b, lb);
    }
}

int String::CompareNoCase(const char* text, unsigned n) const
{
    if (!text)
        text = "";
    unsigned length = n == 0 ? static_cast<unsigned>(strlen(text)) : LengthWithin(text, n);
    const char* value = m_data ? static_cast<const char*>(m_data) : "";
    return StrNICmp2(value, static_cast<int>(LengthWithin(value, ReadableLength())), text, static_cast<int>(length));
}

int String::SetMinimum()
{
    if (m_data)
        memset(m_data, 0, GetByteSize());
    return 1;
}

int String::SetMaximum()
{
    if (m_data)
        memset(m_data, 127, GetByteSize());
    return 1;
}

StringArray::StringArray() : Collection(nullptr, nullptr)
{
    m_flags = kFlagInText;
}

StringArray::StringArray(void* data, int count, int width, const char* name, const char* description)
    : Collection(data, Width(count) * Width(width), name, description), m_elementCount(static_cast<int>(Width(count))),
      m_width(static_cast<int>(Width(width)))
{
    Build(data);
}

StringArray::StringArray(void* base, int offset, int count, int width, const char* name, const char* description)
    : StringArray(At(base, offset), count, width, name, description)
{
}

StringArray::StringArray(Collection* parent, void* data, int count, int width, const char* name,
                         const char* description)
    : Collection(parent, data, Width(count) * Width(width), name, description),
      m_elementCount(static_cast<int>(Width(count))), m_width(static_cast<int>(Width(width)))
{
    Build(data);
}

StringArray::StringArray(Collection* parent, void* base, int offset, int count, int width, const char* name,
                         const char* description)
    : StringArray(parent, At(base, offset), count, width, name, description)
{
}

StringArray::~StringArray()
{
    for (int i = 0; i < m_elementCount; ++i)
        delete m_cells[i];
}

void StringArray::Build(void* data)
{
    m_flags = kFlagInText;
    m_cells.reset(new String*[m_elementCount]());
    for (int i = 0; i < m_elementCount; ++i) {
        // The name's ring buffer must outlive the description's formatting: copy it.
        iString name = CellName(GetName(), i);
        const char* description = CellName(GetDescription(), i + 1);
        m_cells[i] = new String(this, At(data, m_width * i), m_width, name, description);
    }
}

Base* StringArray::Create() const
{
    return nullptr;
}

} // namespace iType
