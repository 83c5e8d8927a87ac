// The banner cache's record.
#include "banner/Cache.h"

#include <cstring>

namespace {

constexpr int kIdOffset = 0;
constexpr int kInsertOffset = 4;
constexpr int kUpdateOffset = 8;
constexpr int kPageOffset = 12;
constexpr unsigned kPageFieldBytes = 2048;

} // namespace

Cache::Cache()
    : Record(kSize, "Cache", "Cache"), m_id(GetData(), kIdOffset, "ID", nullptr),
      m_insert(GetData(), kInsertOffset, "Insert", nullptr), m_update(GetData(), kUpdateOffset, "Update", nullptr),
      m_page(static_cast<char*>(GetData()) + kPageOffset, kPageFieldBytes, "Page", nullptr)
{
    AddKeys();
}

Cache::Cache(void* buffer)
    : Record(buffer, kSize, "Cache", "Cache"), m_id(buffer, kIdOffset, "ID", nullptr),
      m_insert(buffer, kInsertOffset, "Insert", nullptr), m_update(buffer, kUpdateOffset, "Update", nullptr),
      m_page(static_cast<char*>(buffer) + kPageOffset, kPageFieldBytes, "Page", nullptr)
{
    AddKeys();
}

Cache::~Cache()
{
    // The keys' segments point at the fields, which go before the record's own part.
    SetKeyIndex(nullptr);
}

void Cache::AddKeys()
{
    SetRecordFlags(kRecordOption);
    auto* index = new Index(this);
    SetKeyIndex(index);
    iType::Base* const keyFields[] = {&m_id, &m_insert, &m_update};
    for (int number = 0; number < 3; ++number) {
        auto* key = new Key(index, number, keyFields[number]->GetName(), nullptr, 0);
        new Segment(key, keyFields[number]);
    }
}

iType::Base* Cache::Create() const
{
    return new Cache;
}

void Cache::Reset(long id)
{
    memset(Bytes(), 0, kSize);
    m_id = id;
}

bool Cache::GetPage(const char*& text, unsigned& length) const
{
    // Read from the bytes, not through the field, which would clamp a corrupt length
    // and so show a part of some other page as this one.
    const unsigned char* word = Bytes() + kPageOffset;
    const unsigned stored = word[0] | (word[1] << 8);
    if (stored > kLongestPage)
        return false;
    text = reinterpret_cast<const char*>(word + 2);
    length = stored;
    return true;
}

bool Cache::SetPage(const char* text, unsigned length)
{
    if (length > kLongestPage)
        return false;
    unsigned char* word = Bytes() + kPageOffset;
    memset(word, 0, kPageFieldBytes);
    word[0] = static_cast<unsigned char>(length & 0xFF);
    word[1] = static_cast<unsigned char>(length >> 8);
    if (length)
        memcpy(word + 2, text, length);
    return true;
}

long StoredTime(int64_t seconds)
{
    return static_cast<long>(static_cast<uint32_t>(seconds));
}

int64_t StoredTimeSeconds(long stored)
{
    return static_cast<int64_t>(static_cast<uint32_t>(stored));
}
