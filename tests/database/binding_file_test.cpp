// The file binding's operations over a fixed-length and a variable-length set: the keyed
// searches at, between, before and after stored keys (with duplicates), walks in key and
// physical order, reads at a position, the current key, percentages, counts, delete,
// recreate and clone.
#include <gtest/gtest.h>

#include <set>

#include "binding_test_support.h"

using namespace bindtest;

namespace {

// A record of a 32-byte fixed part: id (long, unique key 0) at 0, group (short, key 1 with
// duplicates) at 4, name (text of 16 bytes, unique key 2 without case) at 8; a variable
// record adds a VarBuf of 102 bytes after it.
class OpsRecord {
public:
    explicit OpsRecord(bool variable)
        : m_record(variable ? 32 + 102 : 32, iType::Record::kRecordOption), m_variable(variable)
    {
        unsigned char* bytes = m_record.Bytes();
        id = &m_record.Keep(new iType::TType<long>(&m_record, bytes, 0, "id", nullptr));
        group = &m_record.Keep(new iType::TType<short>(&m_record, bytes, 4, "group", nullptr));
        name = &m_record.Keep(new iType::String(&m_record, bytes, 8, 16, "name", nullptr));
        if (variable)
            payload = &m_record.Keep(new iType::VarBuf(&m_record, bytes + 32, 102u, "payload", nullptr));
        m_record.AddKey(0, {{id, 0}});
        m_record.AddKey(iType::Record::Key::kDuplicates, {{group, 0}});
        m_record.AddKey(0, {{name, iType::Record::Segment::kNoCase}});
    }
    unsigned Size() const { return m_record.GetByteSize(); }
    iType::Record* Record() { return &m_record; }
    void* Bytes() { return m_record.Bytes(); }
    void Set(long idValue, short groupValue, const char* nameText, const std::string& payloadBytes = "")
    {
        memset(m_record.Bytes(), 0, Size());
        *id = idValue;
        *group = groupValue;
        name->SetText(nameText);
        if (payload) {
            payload->SetLength(unsigned(payloadBytes.size()));
            memcpy(payload->GetPayload(), payloadBytes.data(), payloadBytes.size());
        }
    }
    long Id() const { return id->Value(); }
    // Empty for a fixed-length record.
    std::string Payload() const
    {
        return payload ? std::string(reinterpret_cast<char*>(payload->GetPayload()), payload->GetLength()) : "";
    }

    iType::TType<long>* id = nullptr;
    iType::TType<short>* group = nullptr;
    iType::String* name = nullptr;
    iType::VarBuf* payload = nullptr;

private:
    TestRecord m_record;
    bool m_variable;
};

struct Stored {
    long id;
    short group;
    const char* name;
};
const Stored kStored[] = {{10, 1, "alpha"}, {20, 2, "bravo"}, {30, 2, "charlie"}, {40, 3, "delta"}, {50, 3, "echo"}};

std::string PayloadOf(long id)
{
    return std::string(size_t(id), char('a' + id % 26));
}

class FileOperations : public testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        OpsRecord shape(Variable());
        iDBDefinition definition;
        definition.Build(shape.Record());
        ASSERT_EQ(0, folder.Engine().CreateFileSet(&definition, Path().c_str(), 0));
        file.reset(new mGroveFile(&folder.Engine(), "", Path().c_str(), 0, record.Size()));
        ASSERT_EQ(1, file->IsOpen());
        for (const Stored& s : kStored) {
            record.Set(s.id, s.group, s.name, PayloadOf(s.id));
            ASSERT_EQ(0, file->Add(record.Bytes(), 0)) << s.id;
        }
    }
    bool Variable() const { return GetParam(); }
    // What Payload answers for a stored record of this id.
    std::string PayloadFor(long id) const { return Variable() ? PayloadOf(id) : ""; }
    std::string Path() const { return folder.File("ops.dat"); }
    // Sets the probe record's fields for a search.
    void Probe(long id, short group, const char* name) { record.Set(id, group, name); }

    BindingFolder folder;
    OpsRecord record{GetParam()};
    std::unique_ptr<mGroveFile> file;
};

enum Mode { kEqual, kGreater, kGreaterOrEqual, kLess, kLessOrEqual };

struct FindCase {
    const char* why;
    Mode mode;
    int key;
    long id;
    short group;
    const char* name;
    long found;  // 0: nothing found
};

const FindCase kFindCases[] = {
    {"equal at a key", kEqual, 0, 30, 0, "", 30},
    {"equal between keys", kEqual, 0, 35, 0, "", 0},
    {"greater at a key", kGreater, 0, 30, 0, "", 40},
    {"greater between keys", kGreater, 0, 35, 0, "", 40},
    {"greater before all", kGreater, 0, 5, 0, "", 10},
    {"greater at the last", kGreater, 0, 50, 0, "", 0},
    {"greater or equal at a key", kGreaterOrEqual, 0, 30, 0, "", 30},
    {"greater or equal between", kGreaterOrEqual, 0, 35, 0, "", 40},
    {"greater or equal after all", kGreaterOrEqual, 0, 55, 0, "", 0},
    {"less at a key", kLess, 0, 30, 0, "", 20},
    {"less between", kLess, 0, 35, 0, "", 30},
    {"less at the first", kLess, 0, 10, 0, "", 0},
    {"less after all", kLess, 0, 60, 0, "", 50},
    {"less or equal at a key", kLessOrEqual, 0, 30, 0, "", 30},
    {"less or equal between", kLessOrEqual, 0, 35, 0, "", 30},
    {"less or equal before all", kLessOrEqual, 0, 5, 0, "", 0},
    {"duplicates: equal finds the first of equal values", kEqual, 1, 0, 2, "", 20},
    {"duplicates: equal to no stored value", kEqual, 1, 0, 4, "", 0},
    {"duplicates: greater passes every equal value", kGreater, 1, 0, 2, "", 40},
    {"duplicates: greater than the last value", kGreater, 1, 0, 3, "", 0},
    {"duplicates: greater or equal finds the first of equal", kGreaterOrEqual, 1, 0, 2, "", 20},
    {"duplicates: less finds the last of the smaller value", kLess, 1, 0, 3, "", 30},
    {"duplicates: less than the first value", kLess, 1, 0, 1, "", 0},
    {"duplicates: less or equal finds the last of equal", kLessOrEqual, 1, 0, 2, "", 30},
    {"duplicates: less or equal after all", kLessOrEqual, 1, 0, 9, "", 50},
    {"text without case: equal", kEqual, 2, 0, 0, "CHARLIE", 30},
    {"text without case: greater or equal between", kGreaterOrEqual, 2, 0, 0, "Ca", 30},
    {"text without case: less", kLess, 2, 0, 0, "Charlie", 20},
};

int Find(mGroveFile& file, Mode mode, void* record, int key)
{
    switch (mode) {
    case kEqual:
        return file.FindEqual(record, key);
    case kGreater:
        return file.FindGreater(record, key);
    case kGreaterOrEqual:
        return file.FindGreaterOrEqual(record, key);
    case kLess:
        return file.FindLess(record, key);
    case kLessOrEqual:
        return file.FindLessOrEqual(record, key);
    }
    return -1;
}

} // namespace

TEST_P(FileOperations, FindsInEveryModeAtBetweenBeforeAndAfterStoredKeys)
{
    for (const FindCase& c : kFindCases) {
        SCOPED_TRACE(c.why);
        // A current record to come back to after a failed search: id 40.
        Probe(40, 0, "");
        ASSERT_EQ(0, file->FindEqual(record.Bytes(), 0));
        Probe(c.id, c.group, c.name);
        int answer = Find(*file, c.mode, record.Bytes(), c.key);
        EXPECT_EQ(c.key, file->GetKey());
        if (c.found) {
            EXPECT_EQ(0, answer);
            EXPECT_EQ(c.found, record.Id());
            EXPECT_EQ(PayloadFor(c.found), record.Payload()) << "payload";
        } else {
            EXPECT_EQ(kMgNoRecord, answer);
            // The caller's record is left as it was, and so is the current record (40,
            // followed by 50 in every key's order).
            EXPECT_EQ(c.id, record.Id());
            ASSERT_EQ(0, file->Next(record.Bytes()));
            EXPECT_EQ(50, record.Id());
        }
    }
}

TEST_P(FileOperations, WalksInKeyOrderBothWays)
{
    struct Case {
        int key;
        std::vector<long> order;
    };
    // Key 1 has duplicates: equal groups in the order the records were added.
    const Case cases[] = {{0, {10, 20, 30, 40, 50}}, {1, {10, 20, 30, 40, 50}}, {2, {10, 20, 30, 40, 50}}};
    for (const Case& c : cases) {
        SCOPED_TRACE("key " + std::to_string(c.key));
        std::vector<long> forward;
        for (int answer = file->First(record.Bytes(), c.key); answer == 0; answer = file->Next(record.Bytes()))
            forward.push_back(record.Id());
        EXPECT_EQ(c.order, forward);
        // Past the end: nothing, and the last record stays current.
        EXPECT_EQ(kMgNoRecord, file->Next(record.Bytes()));
        ASSERT_EQ(0, file->Previous(record.Bytes()));
        EXPECT_EQ(c.order[3], record.Id());
        std::vector<long> backward;
        for (int answer = file->Last(record.Bytes(), c.key); answer == 0; answer = file->Previous(record.Bytes()))
            backward.push_back(record.Id());
        EXPECT_EQ(std::vector<long>(c.order.rbegin(), c.order.rend()), backward);
    }
}

TEST_P(FileOperations, WalksInPhysicalOrder)
{
    std::set<long> seen;
    for (int answer = file->FirstPhysical(record.Bytes()); answer == 0; answer = file->NextPhysical(record.Bytes())) {
        EXPECT_TRUE(seen.insert(record.Id()).second) << record.Id();
        EXPECT_EQ(PayloadFor(record.Id()), record.Payload());
    }
    EXPECT_EQ((std::set<long>{10, 20, 30, 40, 50}), seen);
    // A set's data member is a superfile member: the engine walks it forwards only.
    EXPECT_EQ(kMgWrongFileKind, file->LastPhysical(record.Bytes()));
    ASSERT_EQ(0, file->FirstPhysical(record.Bytes()));
    EXPECT_EQ(kMgWrongFileKind, file->PreviousPhysical(record.Bytes()));
}

TEST_P(FileOperations, ReadsAtAPositionWithAndWithoutAKey)
{
    std::unique_ptr<iDBFile> fresh(file->Clone());
    EXPECT_EQ(0, fresh->GetPosition()) << "no current record yet";
    Probe(30, 0, "");
    ASSERT_EQ(0, file->FindEqual(record.Bytes(), 0));
    long position = 0;
    ASSERT_EQ(0, file->GetPosition(&position));
    EXPECT_NE(0, position);
    EXPECT_EQ(position, file->GetPosition());
    EXPECT_EQ(-1, file->GetPosition(nullptr));

    ASSERT_EQ(0, file->First(record.Bytes(), 0));
    ASSERT_EQ(0, file->ReadAt(position, record.Bytes()));
    EXPECT_EQ(30, record.Id());
    EXPECT_EQ(PayloadFor(30), record.Payload());
    // The record read is current: the walk goes on after it.
    ASSERT_EQ(0, file->Next(record.Bytes()));
    EXPECT_EQ(40, record.Id());

    ASSERT_EQ(0, file->First(record.Bytes(), 0));
    ASSERT_EQ(0, file->ReadAt(position, record.Bytes(), 2));
    EXPECT_EQ(30, record.Id());
    EXPECT_EQ(0, file->GetKey()) << "the key given to ReadAt does not become current";

    // No record at that position: an error, the caller's record untouched.
    Probe(77, 0, "");
    EXPECT_NE(0, file->ReadAt(position + 1, record.Bytes()));
    EXPECT_EQ(77, record.Id());
}

TEST_P(FileOperations, SetKeyRepositionsUnlessToldNot)
{
    Probe(30, 0, "");
    ASSERT_EQ(0, file->FindEqual(record.Bytes(), 0));
    EXPECT_EQ(0, file->SetKey(1, 0));
    EXPECT_EQ(1, file->GetKey());
    ASSERT_EQ(0, file->Next(record.Bytes()));
    EXPECT_EQ(40, record.Id()) << "after 30 in group order";
    EXPECT_EQ(1, file->SetKey(1, 0)) << "the same key: nothing changes";
    EXPECT_EQ(1, file->SetKey(2, 1));
    EXPECT_EQ(2, file->GetKey());

    // Without a current record the file goes to the new key's first record.
    std::unique_ptr<iDBFile> fresh(file->Clone());
    ASSERT_EQ(1, fresh->IsOpen());
    EXPECT_EQ(0, fresh->SetKey(2, 0));
    ASSERT_EQ(0, fresh->Next(record.Bytes()));
    EXPECT_EQ(20, record.Id());
}

TEST_P(FileOperations, CountsRecordsKeysAndRanges)
{
    EXPECT_EQ(5, file->GetRecordCount());
    EXPECT_EQ(5, file->GetKeyEntryCount(-1));
    for (int key = 0; key < 3; ++key)
        EXPECT_EQ(5, file->GetKeyEntryCount(key)) << key;
    EXPECT_EQ(3, file->GetKeyCount());
    EXPECT_EQ(32u, file->GetRecordLength()) << "the caller's view: fixed part, no leading byte";

    OpsRecord to(Variable());
    struct Case {
        const char* why;
        long from;
        long toId;
        long count;
    };
    const Case cases[] = {
        {"20 to 40", 20, 40, 3},
        {"one record", 30, 30, 1},
        {"ends between keys", 15, 45, 3},
        {"everything", 0, 99, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        record.Set(c.from, 0, "");
        to.Set(c.toId, 0, "");
        EXPECT_EQ(c.count, file->CountRange(record.Bytes(), to.Bytes(), 0));
    }
    // Key -1: the current key (groups 2 to 3 here).
    file->SetKey(1, 1);
    record.Set(0, 2, "");
    to.Set(0, 3, "");
    EXPECT_EQ(2, file->CountRange(record.Bytes(), to.Bytes(), -1)) << "group 2 to group 3 with zero suffixes";
}

TEST_P(FileOperations, DeletesTheCurrentRecordAndWalksOnFromItsPlace)
{
    Probe(30, 0, "");
    ASSERT_EQ(0, file->FindEqual(record.Bytes(), 0));
    ASSERT_EQ(0, file->Delete());
    EXPECT_EQ(4, file->GetRecordCount());
    ASSERT_EQ(0, file->Next(record.Bytes()));
    EXPECT_EQ(40, record.Id());
    Probe(30, 0, "");
    EXPECT_EQ(kMgNoRecord, file->FindEqual(record.Bytes(), 0));
    Probe(30, 0, "");
    EXPECT_EQ(kMgNoRecord, file->FindEqual(record.Bytes(), 2)) << "gone from every key";
}

TEST_P(FileOperations, RewritesAndKeepsThePositionWhenAsked)
{
    Probe(20, 0, "");
    ASSERT_EQ(0, file->FindEqual(record.Bytes(), 0));
    record.Set(20, 9, "zulu", PayloadOf(60));
    ASSERT_EQ(0, file->Rewrite(record.Bytes(), 0));
    Probe(0, 0, "ZULU");
    ASSERT_EQ(0, file->FindEqual(record.Bytes(), 2));
    EXPECT_EQ(20, record.Id());
    EXPECT_EQ(9, record.group->Value());
    EXPECT_EQ(PayloadFor(60), record.Payload());

    // Keep position 0: after an add the record current before it is current again.
    file->SetKeepPosition(0);
    Probe(40, 0, "");
    ASSERT_EQ(0, file->FindEqual(record.Bytes(), 0));
    record.Set(45, 3, "foxtrot", PayloadOf(45));
    ASSERT_EQ(0, file->Add(record.Bytes(), 0));
    ASSERT_EQ(0, file->Next(record.Bytes()));
    EXPECT_EQ(45, record.Id()) << "walks on from 40";
    file->SetKeepPosition(1);
    record.Set(46, 3, "golf", PayloadOf(46));
    ASSERT_EQ(0, file->Add(record.Bytes(), 0));
    ASSERT_EQ(0, file->Next(record.Bytes()));
    EXPECT_EQ(50, record.Id()) << "walks on from the added 46";
}

TEST_P(FileOperations, PercentagesLeaveTheCurrentRecordAndSeekInWholePercents)
{
    // 200 records in all: ids 100..294 beside the five.
    for (long id = 100; id < 295; ++id) {
        record.Set(id, short(id % 7), ("n" + std::to_string(id)).c_str(), PayloadOf(id % 90));
        ASSERT_EQ(0, file->Add(record.Bytes(), 0)) << id;
    }
    long percent = -5;
    std::unique_ptr<iDBFile> fresh(file->Clone());
    EXPECT_EQ(-1, fresh->GetPercent(&percent, 0)) << "no current record";
    EXPECT_EQ(0, percent);
    ASSERT_EQ(0, file->GetPercent(&percent, 0));
    EXPECT_EQ(10000, percent) << "the record added last has the greatest id";

    Probe(195, 0, "");
    ASSERT_EQ(0, file->FindEqual(record.Bytes(), 0));
    ASSERT_EQ(0, file->GetPercent(&percent, 0));
    // 195 is the 101st of 200 ids.
    EXPECT_NEAR(5050, percent, 60);
    ASSERT_EQ(0, file->Next(record.Bytes()));
    EXPECT_EQ(196, record.Id()) << "GetPercent left the current record where it was";

    Probe(10, 0, "");
    ASSERT_EQ(0, file->FindEqual(record.Bytes(), 0));
    ASSERT_EQ(0, file->GetPercent(&percent));
    EXPECT_LE(percent, 60);
    ASSERT_EQ(0, file->Next(record.Bytes()));
    EXPECT_EQ(20, record.Id());

    OpsRecord at99(Variable());
    ASSERT_EQ(0, file->SeekPercent(9900, at99.Bytes(), 0));
    ASSERT_EQ(0, file->SeekPercent(9999, record.Bytes(), 0));
    EXPECT_EQ(at99.Id(), record.Id()) << "9999 is 99 percent";
    ASSERT_EQ(0, file->SeekPercent(5000, record.Bytes()));
    EXPECT_NEAR(190, record.Id(), 12);
    ASSERT_EQ(0, file->Next(record.Bytes()));
    ASSERT_EQ(0, file->SeekPercent(0, record.Bytes(), 0));
    EXPECT_EQ(10, record.Id());
    for (long bad : {-1L, 10001L, 1000000L}) {
        Probe(7, 0, "");
        EXPECT_EQ(-1, file->SeekPercent(bad, record.Bytes(), 0)) << bad;
        EXPECT_EQ(7, record.Id());
    }
}

TEST_P(FileOperations, RecreateEmptiesTheSetAndCloneSharesIt)
{
    std::unique_ptr<iDBFile> clone(file->Clone());
    ASSERT_EQ(1, clone->IsOpen());
    EXPECT_STREQ(file->GetName(), clone->GetName());
    EXPECT_EQ(5, clone->GetRecordCount());
    // Each object has its own current record.
    ASSERT_EQ(0, clone->Last(record.Bytes(), 0));
    ASSERT_EQ(0, file->First(record.Bytes(), 0));
    ASSERT_EQ(0, clone->Previous(record.Bytes()));
    EXPECT_EQ(40, record.Id());
    clone.reset();
    ASSERT_EQ(0, file->Next(record.Bytes()));
    EXPECT_EQ(20, record.Id());

    ASSERT_EQ(0, file->Recreate());
    ASSERT_EQ(1, file->IsOpen());
    EXPECT_EQ(0, file->GetRecordCount());
    EXPECT_EQ(3, file->GetKeyCount());
    EXPECT_EQ(kMgNoRecord, file->First(record.Bytes(), 0));
    record.Set(7, 1, "hotel", PayloadOf(7));
    ASSERT_EQ(0, file->Add(record.Bytes(), 0));
    Probe(0, 0, "HOTEL");
    ASSERT_EQ(0, file->FindEqual(record.Bytes(), 2));
    EXPECT_EQ(7, record.Id());
}

INSTANTIATE_TEST_SUITE_P(Sets, FileOperations, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Variable" : "Fixed"; });

TEST(FileBinding, EmptySetCountsZero)
{
    BindingFolder folder;
    OpsRecord shape(false);
    iDBDefinition definition;
    definition.Build(shape.Record());
    ASSERT_EQ(0, folder.Engine().CreateFileSet(&definition, folder.File("empty.dat").c_str(), 0));
    mGroveFile file(&folder.Engine(), "", folder.File("empty.dat").c_str(), 0, shape.Size());
    ASSERT_EQ(1, file.IsOpen());
    EXPECT_EQ(0, file.GetRecordCount());
    EXPECT_EQ(0, file.GetKeyEntryCount(1));
    long percent = 3;
    EXPECT_EQ(-1, file.GetPercent(&percent));
    EXPECT_EQ(0, percent);
    EXPECT_EQ(-1, file.SeekPercent(5000, shape.Bytes()));
    EXPECT_EQ(kMgNoRecord, file.First(shape.Bytes(), 0));
    EXPECT_EQ(0, file.Flush());
}
