// Record definition building: typed records become the binding's definition (offsets,
// lengths, a kind per segment by the field's exact class) and then the engine's file
// definition (the leading byte of fixed-length records, modes, key lengths and types).
#include <gtest/gtest.h>

#include <functional>

#include "binding_test_support.h"

using namespace bindtest;

namespace {

struct SegmentExpect {
    int offset;
    int length;
    int kind;
    int engineOffset;
    int engineMode;
};

struct KeyExpect {
    unsigned flags;
    int keyLength;
    int keyType;
    int duplicates;
    int keyOptions;
    std::vector<SegmentExpect> segments;
};

struct DefinitionCase {
    const char* why;
    std::function<iType::Record*()> make;
    int recordLength;
    unsigned flags;
    int engineRecordLength;
    int dataMode;
    std::vector<KeyExpect> keys;
};

// A 20-byte record with a long at offset 8 as its key.
iType::Record* TwentyBytesLongAtEight()
{
    auto* record = new TestRecord(20);
    auto& number = record->Keep(new iType::TType<long>(record->Bytes(), 8, "number", nullptr));
    record->AddKey(0, {{&number, 0}});
    return record;
}

// Text key over 16 bytes at 4 with the given segment flags; record option as given.
iType::Record* TextKey(unsigned segmentFlags, unsigned recordFlags)
{
    auto* record = new TestRecord(40, recordFlags);
    auto& number = record->Keep(new iType::TType<long>(record->Bytes(), 0, "number", nullptr));
    auto& name = record->Keep(new iType::String(record->Bytes(), 4, 16, "name", nullptr));
    record->AddKey(0, {{&number, 0}});
    record->AddKey(0, {{&name, segmentFlags}});
    return record;
}

// A fixed part of 20 bytes (long key at 0) and a buffer of 80 bytes as the last member.
template <class Buffer> iType::Record* EndingIn()
{
    auto* record = new TestRecord(100);
    auto& number = record->Keep(new iType::TType<long>(record, record->Bytes(), 0, "number", nullptr));
    record->Keep(new Buffer(record, record->Bytes() + 20, 80u, "buffer", nullptr));
    record->AddKey(0, {{&number, 0}});
    return record;
}

// The same buffer, but another member after it: the record is fixed-length.
iType::Record* BufferNotLast()
{
    auto* record = new TestRecord(100);
    record->Keep(new iType::VarBuf(record, record->Bytes() + 20, 76u, "buffer", nullptr));
    auto& tail = record->Keep(new iType::TType<long>(record, record->Bytes(), 96, "tail", nullptr));
    record->AddKey(0, {{&tail, 0}});
    return record;
}

// Two keys over one unsigned field: with duplicates, and null key.
iType::Record* KeyFlags(unsigned keyFlags)
{
    auto* record = new TestRecord(12);
    auto& number = record->Keep(new iType::TType<unsigned long>(record->Bytes(), 4, "number", nullptr));
    record->AddKey(keyFlags, {{&number, 0}});
    return record;
}

// One key of two segments (a long, then a text without case) and one over a short.
iType::Record* TwoSegments()
{
    auto* record = new TestRecord(32);
    auto& number = record->Keep(new iType::TType<long>(record->Bytes(), 0, "number", nullptr));
    auto& name = record->Keep(new iType::String(record->Bytes(), 4, 10, "name", nullptr));
    auto& small = record->Keep(new iType::TType<short>(record->Bytes(), 20, "small", nullptr));
    record->AddKey(iType::Record::Key::kDuplicates, {{&number, 0}, {&name, iType::Record::Segment::kNoCase}});
    record->AddKey(0, {{&small, 0}});
    return record;
}

iType::Record* NoIndex()
{
    auto* record = new TestRecord(64);
    record->SetKeyIndex(nullptr);
    return record;
}

const std::vector<DefinitionCase>& DefinitionCases()
{
    static const std::vector<DefinitionCase> cases = {
        {"the banner's cache record: fields laid over the buffer, not members",
         [] { return new BannerCache; }, 2060, 0x30, 2061, 3,
         {{0, 4, 0, 0, 0, {{0, 4, 2, 1, 8}}}, {0, 4, 0, 0, 0, {{4, 4, 2, 5, 8}}}, {0, 4, 0, 0, 0, {{8, 4, 2, 9, 8}}}}},
        {"20 bytes with a long key at 8", TwentyBytesLongAtEight, 20, 0, 21, 3, {{0, 4, 0, 0, 0, {{8, 4, 2, 9, 8}}}}},
        {"text without case and the record option: key type 12", [] { return TextKey(0x4, 1); }, 40, 0x30, 41, 3,
         {{0, 4, 0, 0, 0, {{0, 4, 2, 1, 8}}}, {0, 16, 12, 0, 0, {{4, 16, 7, 5, 2}}}}},
        {"text without case, no record option: key type 0", [] { return TextKey(0x4, 0); }, 40, 0, 41, 3,
         {{0, 4, 0, 0, 0, {{0, 4, 2, 1, 8}}}, {0, 16, 0, 0, 0, {{4, 16, 7, 5, 2}}}}},
        {"plain text with the record option", [] { return TextKey(0, 1); }, 40, 0x30, 41, 3,
         {{0, 4, 0, 0, 0, {{0, 4, 2, 1, 8}}}, {0, 16, 12, 0, 0, {{4, 16, 6, 5, 0}}}}},
        {"text compared from its end wins over no-case, and is no text key", [] { return TextKey(0x100004, 1); },
         40, 0x30, 41, 3, {{0, 4, 0, 0, 0, {{0, 4, 2, 1, 8}}}, {0, 16, 0, 0, 0, {{4, 16, 0x100000, 5, 0x40}}}}},
        {"ending in VarBuf: variable length, no leading byte", EndingIn<iType::VarBuf>, 20, 1, 20, 7,
         {{0, 4, 0, 0, 0, {{0, 4, 2, 0, 8}}}}},
        {"ending in VarBuf32", EndingIn<iType::VarBuf32>, 20, 1, 20, 7, {{0, 4, 0, 0, 0, {{0, 4, 2, 0, 8}}}}},
        {"ending in VarBufString (derived from VarBuf)", EndingIn<iType::VarBufString>, 20, 1, 20, 7,
         {{0, 4, 0, 0, 0, {{0, 4, 2, 0, 8}}}}},
        {"a variable buffer that is not the last member", BufferNotLast, 100, 0, 101, 3,
         {{0, 4, 0, 0, 0, {{96, 4, 2, 97, 8}}}}},
        {"duplicates: the key carries the 4-byte position", [] { return KeyFlags(1); }, 12, 0, 13, 3,
         {{1, 8, 0, 1, 0, {{4, 4, 1, 5, 1}}}}},
        {"null key", [] { return KeyFlags(8); }, 12, 0, 13, 3, {{8, 4, 0, 0, 1, {{4, 4, 1, 5, 1}}}}},
        {"key flags other than duplicates and null are dropped", [] { return KeyFlags(0x6); }, 12, 0, 13, 3,
         {{0, 4, 0, 0, 0, {{4, 4, 1, 5, 1}}}}},
        {"two segments in one key, then a key of its own", TwoSegments, 32, 0, 33, 3,
         {{1, 18, 0, 1, 0, {{0, 4, 2, 1, 8}, {4, 10, 7, 5, 2}}}, {0, 2, 0, 0, 0, {{20, 2, 2, 21, 8}}}}},
        {"no index: no keys", NoIndex, 64, 0, 65, 3, {}},
    };
    return cases;
}

} // namespace

TEST(RecordDefinition, BuildsTheDefinitionAndTheEngineDefinition)
{
    CapturedBoxes boxes;
    for (const DefinitionCase& c : DefinitionCases()) {
        SCOPED_TRACE(c.why);
        std::unique_ptr<iType::Record> record(c.make());
        iDBDefinition definition;
        definition.Build(record.get());
        EXPECT_EQ(c.recordLength, definition.recordLength);
        EXPECT_EQ(c.flags, definition.flags);
        ASSERT_EQ(int(c.keys.size()), definition.keyCount);
        int segmentTotal = 0;
        for (size_t k = 0; k < c.keys.size(); ++k) {
            SCOPED_TRACE("key " + std::to_string(k));
            const iDBKeyDef& key = definition.keys[k];
            EXPECT_EQ(c.keys[k].flags, key.flags);
            ASSERT_EQ(int(c.keys[k].segments.size()), key.segmentCount);
            // Key after key in one array.
            EXPECT_EQ(definition.segments + segmentTotal, key.segments);
            for (size_t s = 0; s < c.keys[k].segments.size(); ++s) {
                EXPECT_EQ(c.keys[k].segments[s].offset, key.segments[s].offset);
                EXPECT_EQ(c.keys[k].segments[s].length, key.segments[s].length);
                EXPECT_EQ(c.keys[k].segments[s].kind, key.segments[s].kind);
            }
            segmentTotal += key.segmentCount;
        }
        EXPECT_EQ(segmentTotal, definition.segmentCount);

        mgFileDef* def = BuildEngineFileDef(&definition, "C:\\x\\Cache.dat");
        ASSERT_NE(nullptr, def);
        EXPECT_STREQ("C:\\x\\Cache.dat", def->name);
        EXPECT_EQ(-1, def->dataFileNumber);
        EXPECT_EQ(-1, def->setFileNumber);
        EXPECT_EQ(c.engineRecordLength, def->recordLength);
        EXPECT_EQ(16384, def->dataExtension);
        EXPECT_EQ(16384, def->indexExtension);
        EXPECT_EQ(c.dataMode, def->dataMode);
        EXPECT_EQ(3, def->indexMode);
        EXPECT_EQ(nullptr, def->text1);
        EXPECT_EQ(nullptr, def->text2);
        ASSERT_EQ(int(c.keys.size()), def->indexCount);
        for (size_t k = 0; k < c.keys.size(); ++k) {
            SCOPED_TRACE("engine index " + std::to_string(k));
            const mgIndexDef& index = def->indexes[k];
            EXPECT_EQ(c.keys[k].keyLength, index.keyLength);
            EXPECT_EQ(c.keys[k].keyType, index.keyType);
            EXPECT_EQ(c.keys[k].duplicates, index.duplicates);
            EXPECT_EQ(c.keys[k].keyOptions, index.keyOptions);
            EXPECT_EQ(0, index.emptyChar);
            EXPECT_EQ(nullptr, index.memberName);
            EXPECT_EQ(nullptr, index.translation);
            ASSERT_EQ(int(c.keys[k].segments.size()), index.segmentCount);
            for (size_t s = 0; s < c.keys[k].segments.size(); ++s) {
                EXPECT_EQ(c.keys[k].segments[s].engineOffset, index.segments[s].offset);
                EXPECT_EQ(c.keys[k].segments[s].length, index.segments[s].length);
                EXPECT_EQ(c.keys[k].segments[s].engineMode, index.segments[s].mode);
            }
        }
        FreeEngineFileDef(def);
    }
    EXPECT_TRUE(boxes.Texts().empty());
}

namespace {

struct FieldCase {
    const char* why;
    std::function<iType::Base*(unsigned char* buffer)> make;
    unsigned segmentFlags;
    int kind;
    int mode;
    bool unknown;
};

template <class Field> std::function<iType::Base*(unsigned char*)> Over()
{
    return [](unsigned char* buffer) { return new Field(buffer, 0, "field", nullptr); };
}

const std::vector<FieldCase>& FieldCases()
{
    static const std::vector<FieldCase> cases = {
        {"int", Over<iType::TType<int>>(), 0, 2, 8, false},
        {"long", Over<iType::TType<long>>(), 0, 2, 8, false},
        {"short", Over<iType::TType<short>>(), 0, 2, 8, false},
        {"char", Over<iType::TType<char>>(), 0, 2, 8, false},
        {"unsigned long", Over<iType::TType<unsigned long>>(), 0, 1, 1, false},
        {"unsigned int", Over<iType::TType<unsigned int>>(), 0, 1, 1, false},
        {"unsigned short", Over<iType::TType<unsigned short>>(), 0, 1, 1, false},
        {"unsigned char", Over<iType::TType<unsigned char>>(), 0, 1, 1, false},
        {"float", Over<iType::TType<float>>(), 0, 4, 9, false},
        {"the double instance itself", Over<iType::TType<double>>(), 0, 4, 9, false},
        {"Double", Over<iType::Double>(), 0, 5, 9, false},
        {"Date", Over<iType::Date>(), 0, 2, 8, false},
        {"Time", Over<iType::Time>(), 0, 2, 8, false},
        {"Time_T", Over<iType::Time_T>(), 0, 2, 8, false},
        {"DeltaTime", Over<iType::DeltaTime>(), 0, 2, 8, false},
        {"DeltaTimeBCD", Over<iType::DeltaTimeBCD>(), 0, 2, 8, false},
        {"TCheck over unsigned long", Over<iType::TCheck<unsigned long>>(), 0, 1, 1, false},
        {"TCombo over long", Over<iType::TCombo<long>>(), 0, 2, 8, false},
        {"TCombo over int", Over<iType::TCombo<int>>(), 0, 2, 8, false},
        {"TCombo over unsigned long", Over<iType::TCombo<unsigned long>>(), 0, 1, 1, false},
        {"TCombo over unsigned int", Over<iType::TCombo<unsigned int>>(), 0, 1, 1, false},
        {"Code", Over<iType::Code>(), 0, 2, 8, false},
        {"Bool", Over<iType::Bool>(), 0, 2, 8, false},
        {"String", [](unsigned char* b) { return new iType::String(b, 0, 8, "field", nullptr); }, 0, 6, 0, false},
        {"serial flag on a 4-byte field", Over<iType::TType<unsigned long>>(), 0x10000, 3, 3, false},
        {"serial flag on a 2-byte field", Over<iType::TType<short>>(), 0x10000, 3, 3, false},
        {"serial flag on an 8-byte field is ignored", Over<iType::Double>(), 0x10000, 5, 9, false},
        {"a subclass not listed (Radio of unsigned long)", Over<iType::Radio>(), 0, 1, 1, true},
        {"a subclass not listed (BitSet of Set)",
         [](unsigned char* b) { return new iType::BitSet(b, 4u, "field", nullptr); }, 0, 1, 1, true},
    };
    return cases;
}

} // namespace

TEST(RecordDefinition, ChoosesTheSegmentKindByTheFieldsExactClass)
{
    for (const FieldCase& c : FieldCases()) {
        SCOPED_TRACE(c.why);
        CapturedBoxes boxes;
        TestRecord record(16);
        iType::Base& field = record.Keep(c.make(record.Bytes()));
        record.AddKey(0, {{&field, c.segmentFlags}});
        iDBDefinition definition;
        definition.Build(&record);
        ASSERT_EQ(1, definition.segmentCount);
        EXPECT_EQ(c.kind, definition.segments[0].kind);
        EXPECT_EQ(int(field.GetByteSize()), definition.segments[0].length);
        mgFileDef* def = BuildEngineFileDef(&definition, "x");
        ASSERT_NE(nullptr, def);
        EXPECT_EQ(c.mode, def->indexes[0].segments[0].mode);
        FreeEngineFileDef(def);
        ASSERT_EQ(c.unknown ? 1u : 0u, boxes.Texts().size());
        if (c.unknown) {
            EXPECT_EQ("Error", boxes.Captions()[0]);
            EXPECT_TRUE(boxes.Styles()[0] & MB_ICONHAND);
            EXPECT_EQ(0u, boxes.Texts()[0].find("Could not recognize key segment : iType::"));
            EXPECT_NE(std::string::npos, boxes.Texts()[0].find("  field"));
        }
    }
}

TEST(RecordDefinition, ReportsEachUnknownSegmentOnceAndGoesOn)
{
    CapturedBoxes boxes;
    TestRecord record(16);
    auto& first = record.Keep(new iType::Radio(record.Bytes(), 0, "first", nullptr));
    auto& second = record.Keep(new iType::ColorRef(record.Bytes(), 4, "second", nullptr));
    auto& known = record.Keep(new iType::TType<long>(record.Bytes(), 8, "known", nullptr));
    record.AddKey(0, {{&first, 0}, {&known, 0}});
    record.AddKey(0, {{&second, 0}});
    iDBDefinition definition;
    definition.Build(&record);
    ASSERT_EQ(2u, boxes.Texts().size());
    EXPECT_EQ("Could not recognize key segment : iType::Radio  first", boxes.Texts()[0]);
    EXPECT_EQ("Could not recognize key segment : iType::ColorRef  second", boxes.Texts()[1]);
    ASSERT_EQ(3, definition.segmentCount);
    EXPECT_EQ(1, definition.segments[0].kind);
    EXPECT_EQ(2, definition.segments[1].kind);
    EXPECT_EQ(1, definition.segments[2].kind);
}

TEST(RecordDefinition, RefusesWhatTheEnginesFieldsCannotHold)
{
    struct Case {
        const char* why;
        unsigned recordSize;
        int keyOffset;
        bool built;
    };
    const Case cases[] = {
        {"largest fixed record: 65534 bytes and the leading byte", 65534, 0, true},
        {"one more does not fit the 16-bit record length", 65535, 0, false},
        {"a key field outside the record", 16, 14, false},
        {"a key field ending on the record's last byte", 16, 12, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TestRecord record(c.recordSize);
        auto& number =
            record.Keep(new iType::TType<long>(static_cast<unsigned char*>(record.GetData()), c.keyOffset, "n", nullptr));
        record.AddKey(0, {{&number, 0}});
        iDBDefinition definition;
        definition.Build(&record);
        mgFileDef* def = BuildEngineFileDef(&definition, "x");
        EXPECT_EQ(c.built, def != nullptr);
        FreeEngineFileDef(def);
    }
}

TEST(RecordDefinition, BuildAgainReplacesAndFreeEmpties)
{
    BannerCache cache;
    iDBDefinition definition;
    definition.Build(&cache);
    ASSERT_EQ(3, definition.keyCount);
    TestRecord small(8);
    definition.Build(&small);
    EXPECT_EQ(8, definition.recordLength);
    EXPECT_EQ(0, definition.keyCount);
    EXPECT_EQ(0u, definition.flags);
    definition.Build(&cache);
    definition.Free();
    EXPECT_EQ(0, definition.keyCount);
    EXPECT_EQ(0, definition.segmentCount);
    EXPECT_EQ(nullptr, definition.keys);
    EXPECT_EQ(nullptr, definition.segments);
}
