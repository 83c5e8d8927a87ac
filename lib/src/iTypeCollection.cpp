// Field collections: growth of the member array, lookups, the joined text and the
// operations forwarded to every member.
#include "iTypeCollection.h"

#include "iRevolveString.h"

#include <algorithm>
#include <cstring>

namespace iType {

namespace {

constexpr int kFirstCapacity = 8;

// Hands the pieces of text between separators to the members in order; members
// past the last piece keep their values, pieces past the last member are dropped.
[[nodiscard]] int SetMembersFromPieces(Collection& collection, const char* text)
{
    const char* separator = collection.GetSeparator();
    if (!separator)
        return 0;
    if (!text)
        return 1;
    size_t separatorLength = strlen(separator);
    const char* start = text;
    const char* pos = text;
    const char* end = text + strlen(text);
    for (int i = 0; i < collection.GetCount() && pos < end; ++i) {
        const char* found = separatorLength ? strstr(start, separator) : start;
        if (!found)
            found = end;
        unsigned length = static_cast<unsigned>(found - start);
        char* piece = g_RevolveString->Get(length);
        memcpy(piece, start, length);
        if (Base* member = collection.GetAt(i))
            static_cast<void>(member->SetText(piece));
        start = found == end ? end : found + separatorLength;
        pos = found;
    }
    return 1;
}

} // namespace

Collection::Collection(const char* name, const char* description) : Base(name, description)
{
}

Collection::Collection(Collection* parent, const char* name, const char* description)
    : Base(parent, name, description)
{
}

Collection::Collection(Collection* parent, void* data, unsigned size, const char* name, const char* description)
    : Base(parent, data, size, name, description)
{
}

Collection::Collection(unsigned size, const char* name, const char* description) : Base(size, name, description)
{
}

Collection::Collection(void* data, unsigned size, const char* name, const char* description)
    : Base(data, size, name, description)
{
}

Collection::~Collection() = default;

void Collection::Add(Base* member)
{
    if (!member)
        return;
    if (!m_members) {
        m_count = 0;
        m_capacity = kFirstCapacity;
        m_members.reset(new Base*[kFirstCapacity]());
    }
    if (m_count == m_capacity) {
        int capacity = m_capacity * 2;
        std::unique_ptr<Base*[]> grown(new Base*[capacity]());
        std::copy(m_members.get(), m_members.get() + m_count, grown.get());
        m_members = std::move(grown);
        m_capacity = capacity;
    }
    m_members[m_count] = member;
    member->SetParent(this);
    member->m_index = m_count;
    ++m_count;
}

void Collection::SetSeparator(const char* text)
{
    ReplaceText(m_separator, text);
}

void Collection::DeleteMembers()
{
    for (int i = 0; i < m_count; ++i) {
        delete m_members[i];
        m_members[i] = nullptr;
    }
}

Base* Collection::Find(const char* name)
{
    return const_cast<Base*>(static_cast<const Collection*>(this)->Find(name));
}

const Base* Collection::Find(const char* name) const
{
    if (!name)
        return nullptr;
    for (int i = 0; i < m_count; ++i) {
        const Base* member = m_members[i];
        if (member && member->GetName() && strcmp(member->GetName(), name) == 0)
            return member;
    }
    return nullptr;
}

Base* Collection::GetAt(int position)
{
    return const_cast<Base*>(static_cast<const Collection*>(this)->GetAt(position));
}

const Base* Collection::GetAt(int position) const
{
    if (position < 0 || position >= m_count)
        return nullptr;
    return m_members[position];
}

void Collection::Clear()
{
    for (int i = 0; i < m_count; ++i) {
        if (m_members[i])
            m_members[i]->Clear();
    }
}

void Collection::SetDefault()
{
    for (int i = 0; i < m_count; ++i) {
        if (m_members[i])
            m_members[i]->SetDefault();
    }
}

const char* Collection::GetText() const
{
    iString text;
    bool isFirst = true;
    for (int i = 0; i < m_count; ++i) {
        const Base* member = m_members[i];
        if (!member || !(member->GetFlags() & kFlagInText))
            continue;
        if (m_separator && !isFirst)
            text += m_separator.get();
        if (const char* memberText = member->GetText())
            text += memberText;
        isFirst = false;
    }
    return g_RevolveString->Dup(text);
}

void Collection::Assign(const Base& other)
{
    Base::Assign(other);
    const auto* collection = dynamic_cast<const Collection*>(&other);
    if (!collection || collection == this)
        return;
    // Paired only as far as both have members: the other may be shorter.
    int n = std::min(m_count, collection->m_count);
    for (int i = 0; i < n; ++i) {
        if (m_members[i] && collection->m_members[i])
            m_members[i]->Assign(*collection->m_members[i]);
    }
}

Base* Collection::Create() const
{
    return new Collection(GetName(), GetDescription());
}

int Collection::IsValid() const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_members[i] && !m_members[i]->IsValid())
            return 0;
    }
    return 1;
}

int Collection::SetText(const char*)
{
    return 0;
}

int Collection::CompareTo(const Base& other) const
{
    const auto* collection = dynamic_cast<const Collection*>(&other);
    if (!collection)
        return Compare(other);
    // Paired only as far as both have members; with all pairs equal the longer sorts after.
    int n = std::min(m_count, collection->m_count);
    for (int i = 0; i < n; ++i) {
        const Base* a = m_members[i];
        const Base* b = collection->m_members[i];
        if (!a || !b) {
            if (a != b)
                return a ? 1 : -1;
            continue;
        }
        if (int result = a->CompareTo(*b))
            return result;
    }
    if (m_count == collection->m_count)
        return 0;
    return m_count < collection->m_count ? -1 : 1;
}

int Collection::ForwardWhileNonZero(int (Base::*op)())
{
    for (int i = 0; i < m_count; ++i) {
        if (m_members[i] && !(m_members[i]->*op)())
            return 0;
    }
    return 1;
}

int Collection::SetMinimum()
{
    return ForwardWhileNonZero(&Base::SetMinimum);
}

int Collection::SetMaximum()
{
    return ForwardWhileNonZero(&Base::SetMaximum);
}

int Collection::Reserved1()
{
    return ForwardWhileNonZero(&Base::Reserved1);
}

int Collection::Reserved2()
{
    return ForwardWhileNonZero(&Base::Reserved2);
}

Compound::~Compound() = default;

int Compound::SetText(const char* text)
{
    return SetMembersFromPieces(*this, text);
}

Combined::~Combined() = default;

int Combined::SetText(const char* text)
{
    return SetMembersFromPieces(*this, text);
}

} // namespace iType
