// Records and keys: fields laid over one buffer, keys of segments in an index that
// the record owns, segment comparison without regard to case, and the operations
// that a segment, key or index does not support.
#include "lib/src/iTypeRecord.h"

#include "lib/src/iTypeScalar.h"
#include "lib/src/iTypeText.h"
#include "lib/src/iTypeTimeT.h"
#include "lib/src/iTypeVarBuf.h"

#include "msgbox_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

// Shaped like the banner's page cache: three numbers and a text buffer at fixed
// places, reached only through the keys' segments.
class CacheRecord : public iType::Record {
public:
    static constexpr unsigned kSize = 2060;

    CacheRecord() : CacheRecord(new unsigned char[kSize]()) {}

    iType::Base* Create() const override { return new CacheRecord; }

    iType::TType<long> id;
    iType::TType<long> inserted;
    iType::TType<long> updated;
    iType::VarBufString page;

private:
    explicit CacheRecord(unsigned char* buffer)
        : Record(buffer, kSize, "Cache", "Cache"), id(buffer, 0, "ID", nullptr),
          inserted(buffer, 4, "Insert", nullptr), updated(buffer, 8, "Update", nullptr),
          page(buffer + 12, 2048, "Page", nullptr)
    {
        SetKind(kOwned);  // the buffer was made for this record
        SetRecordFlags(kRecordOption);
        auto* index = new Index(this);
        SetKeyIndex(index);
        iType::Base* keyFields[] = {&id, &inserted, &updated};
        for (int i = 0; i < 3; ++i) {
            auto* key = new Key(index, i, keyFields[i]->GetName(), nullptr, 0);
            new Segment(key, keyFields[i]);
        }
    }
};

// A segment that counts its destruction.
class CountedSegment : public iType::Record::Segment {
public:
    CountedSegment(iType::Record::Key* key, iType::Base* field, int& deaths) : Segment(key, field), m_deaths(deaths)
    {
    }
    ~CountedSegment() override { ++m_deaths; }

private:
    int& m_deaths;
};

// A record over the caller's buffer with its fields as members.
class PlainRecord : public iType::Record {
public:
    PlainRecord(void* data, unsigned size) : Record(data, size, "Plain", nullptr) {}
    iType::Base* Create() const override { return nullptr; }
};

} // namespace

TEST(iTypeRecord, FieldsLieOverTheRecordBufferAndKeysNameThem)
{
    CacheRecord cache;
    EXPECT_EQ(iMemory::kOwned, cache.GetKind());
    EXPECT_EQ(2060u, cache.GetByteSize());
    EXPECT_EQ(0, cache.GetCount());  // the fields are not members
    EXPECT_EQ(iType::Record::kRecordOption, cache.GetRecordFlags());

    iType::Record::Index* index = cache.GetKeyIndex();
    ASSERT_NE(nullptr, index);
    EXPECT_EQ(&cache, index->GetRecord());
    ASSERT_EQ(3, index->GetCount());
    const char* names[] = {"ID", "Insert", "Update"};
    const long offsets[] = {0, 4, 8};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(names[i]);
        auto* key = dynamic_cast<iType::Record::Key*>(index->GetAt(i));
        ASSERT_NE(nullptr, key);
        EXPECT_EQ(i, key->GetNumber());
        EXPECT_EQ(0u, key->GetKeyFlags());
        EXPECT_EQ(0, key->GetKeyWord());
        EXPECT_STREQ(names[i], key->GetName());
        ASSERT_EQ(1, key->GetCount());
        auto* segment = dynamic_cast<iType::Record::Segment*>(key->GetAt(0));
        ASSERT_NE(nullptr, segment);
        EXPECT_STREQ(names[i], segment->GetName());
        iType::Base* field = segment->GetField();
        EXPECT_EQ(offsets[i], static_cast<char*>(field->GetData()) - static_cast<char*>(cache.GetData()));
        EXPECT_EQ(4u, field->GetByteSize());
    }
    EXPECT_EQ(12, static_cast<char*>(cache.page.GetData()) - static_cast<char*>(cache.GetData()));

    cache.id = 0x01020304L;
    EXPECT_EQ(0x04, static_cast<unsigned char*>(cache.GetData())[0]);
}

TEST(iTypeRecord, DeletingTheRecordDeletesIndexKeysAndSegmentsButNotFields)
{
    int deaths = 0;
    unsigned char buffer[8] = {};
    iType::TType<long> first(buffer, "first", nullptr);
    iType::TType<long> second(buffer, 4, "second", nullptr);
    {
        PlainRecord record(buffer, sizeof buffer);
        auto* index = new iType::Record::Index(&record);
        record.SetKeyIndex(index);
        auto* key = new iType::Record::Key(index, 0, "both", nullptr, iType::Record::Key::kDuplicates);
        auto* a = new CountedSegment(key, &first, deaths);
        auto* b = new CountedSegment(key, &second, deaths);
        EXPECT_EQ(2, key->GetCount());
        EXPECT_EQ(b, key->GetAt(1));
        EXPECT_EQ(a, (*key)["first"]);
        EXPECT_EQ(iType::Record::Key::kDuplicates, key->GetKeyFlags());
        new iType::Record::Key(index, 1, "empty", nullptr, 0);
        EXPECT_EQ(2, index->GetCount());
    }
    EXPECT_EQ(2, deaths);
    first = 7L;  // the fields are still whole
    second = 8L;
    EXPECT_EQ(7, first.Value());
    EXPECT_EQ(8, second.Value());
}

TEST(iTypeRecord, TextListsTheMembersJoinedByACommaAndABlank)
{
    unsigned char buffer[12] = {};
    PlainRecord record(buffer, sizeof buffer);
    iType::TType<long> a(&record, buffer, "a", nullptr);
    iType::String b(&record, buffer, 4, 8, "b", nullptr);
    a = 5L;
    b.SetText("bee");
    EXPECT_STREQ("5, bee", record.GetText());
    EXPECT_EQ(2, record.GetCount());
}

TEST(iTypeRecordSegment, ForwardsToItsField)
{
    iType::TType<long> field(nullptr, "count", "Count");
    field.SetNullValue(3);
    field.SetDefaultValue(9);
    iType::Record::Index index(nullptr);
    auto* key = new iType::Record::Key(&index, 0, "k", nullptr, 0);
    auto* segment = new iType::Record::Segment(key, &field, 1, 0x10000);
    EXPECT_STREQ("count", segment->GetName());
    EXPECT_STREQ("Count", segment->GetDescription());
    EXPECT_EQ(1u, segment->GetFlags());
    EXPECT_EQ(0x10000u, segment->GetSegmentFlags());

    field = 42L;
    EXPECT_STREQ("Segment", segment->GetText());
    EXPECT_EQ(1, segment->SetText("17"));
    EXPECT_EQ(17, field.Value());
    segment->SetDefault();  // the field is cleared, not set to its default
    EXPECT_EQ(3, field.Value());
    EXPECT_EQ(1, segment->SetMaximum());
    EXPECT_EQ(2147483647, field.Value());
    EXPECT_EQ(1, segment->IsValid());

    iType::Record::Segment loose(nullptr, nullptr);
    EXPECT_EQ(0, loose.SetText("1"));
    EXPECT_EQ(0, loose.SetMinimum());
    EXPECT_EQ(nullptr, loose.GetName());
}

TEST(iTypeRecordSegment, NoCaseFlagComparesTextsWithoutRegardToCase)
{
    iType::String alpha(nullptr, "a", nullptr, 8);
    iType::String upper(nullptr, "b", nullptr, 8);
    alpha.SetText("Alpha");
    upper.SetText("ALPHA");
    iType::Record::Index index(nullptr);
    auto* key = new iType::Record::Key(&index, 0, "k", nullptr, 0);
    iType::Record::Segment* plain[] = {new iType::Record::Segment(key, &alpha),
                                       new iType::Record::Segment(key, &upper)};
    iType::Record::Segment* noCase[] = {new iType::Record::Segment(key, &alpha, 3, iType::Record::Segment::kNoCase),
                                        new iType::Record::Segment(key, &upper, 3, iType::Record::Segment::kNoCase)};
    EXPECT_EQ(0, noCase[0]->CompareTo(*noCase[1]));
    EXPECT_NE(0, plain[0]->CompareTo(*plain[1]));
    upper.SetText("ALPHB");
    EXPECT_LT(noCase[0]->CompareTo(*noCase[1]), 0);

    iType::TType<long> one(1L);
    iType::TType<long> two(2L);
    auto* number = new iType::Record::Segment(key, &one, 3, iType::Record::Segment::kNoCase);
    auto* other = new iType::Record::Segment(key, &two);
    EXPECT_EQ(-1, number->CompareTo(*other));  // the flag matters only on text fields
}

TEST(iTypeRecord, UnsupportedCreateSaysSoAndAnswersNull)
{
    foundation_test::CapturedBoxes boxes;
    iType::TType<long> field(nullptr, "f", nullptr);
    PlainRecord record(nullptr, 0);
    auto* index = new iType::Record::Index(&record);
    record.SetKeyIndex(index);
    auto* key = new iType::Record::Key(index, 0, "k", nullptr, 0);
    auto* segment = new iType::Record::Segment(key, &field);

    EXPECT_EQ(nullptr, key->Clone());
    EXPECT_EQ(nullptr, segment->Create());
    EXPECT_EQ(nullptr, index->Create());
    const std::vector<foundation_test::ShownBox>& shown = boxes.Boxes();
    ASSERT_EQ(3u, shown.size());
    EXPECT_EQ("iType::Record::Key::Create", shown[0].caption);
    EXPECT_EQ("iType::Record::Segment::Create", shown[1].caption);
    EXPECT_EQ("iType::Record::Index::Create", shown[2].caption);
    for (const foundation_test::ShownBox& box : shown)
        EXPECT_EQ("Should not be called!", box.text);
}

TEST(iTypeRecord, CloneBuildsTheConcreteRecordOverItsOwnBuffer)
{
    CacheRecord cache;
    cache.id = 5L;
    std::unique_ptr<iType::Base> clone(cache.Clone());
    auto* copy = dynamic_cast<CacheRecord*>(clone.get());
    ASSERT_NE(nullptr, copy);
    EXPECT_NE(cache.GetData(), copy->GetData());
    EXPECT_EQ(0, copy->id.Value());
    EXPECT_EQ(3, copy->GetKeyIndex()->GetCount());
}

TEST(iTypeRecord, SizedFormOwnsItsBuffer)
{
    class SizedRecord : public iType::Record {
    public:
        SizedRecord() : Record(16u, "Sized", nullptr) {}
        iType::Base* Create() const override { return new SizedRecord; }
    };
    SizedRecord record;
    EXPECT_EQ(iMemory::kOwned, record.GetKind());
    EXPECT_NE(nullptr, record.GetData());
    EXPECT_EQ(16u, record.GetByteSize());
    EXPECT_STREQ(", ", record.GetSeparator());
    EXPECT_EQ(nullptr, record.GetKeyIndex());
}

TEST(iTypeRecord, TimeStampsKeepToTheirFourBytes)
{
    // ID, Insert and Update side by side, as in the banner's page cache.
    unsigned char buffer[12];
    memset(buffer, 0x5A, sizeof buffer);
    PlainRecord record(buffer, sizeof buffer);
    iType::TType<long> id(buffer, 0, "ID", nullptr);
    iType::Time_T inserted(buffer, 4, "Insert", nullptr);
    iType::Time_T updated(buffer, 8, "Update", nullptr);
    EXPECT_EQ(4u, inserted.GetByteSize());
    id = 77L;
    updated = 123456L;

    SYSTEMTIME inRange = {};
    inRange.wYear = 2020;
    inRange.wMonth = 6;
    inRange.wDay = 15;
    inRange.wHour = 12;
    inserted.SetFromSystemTime(inRange);
    std::tm parts = {};
    parts.tm_year = 2020 - 1900;
    parts.tm_mon = 5;
    parts.tm_mday = 15;
    parts.tm_hour = 12;
    parts.tm_isdst = -1;
    EXPECT_EQ(static_cast<long>(mktime(&parts)), inserted.Value());

    // Past 2038 the moment does not fit the four bytes: the null value, not a wrapped time.
    SYSTEMTIME beyond = inRange;
    beyond.wYear = 2100;
    inserted.SetFromSystemTime(beyond);
    EXPECT_EQ(inserted.GetNullValue(), inserted.Value());
    EXPECT_EQ(77, id.Value());
    EXPECT_EQ(123456, updated.Value());
}
