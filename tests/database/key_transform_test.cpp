// Keys: segment transforms by mode (exact bytes, and the order of values they must keep),
// the field copy rules of key formation, and keys built through a data file's record
// schema (counted, delimited and variable-part fields, refused segments, serial numbers).
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "database/mgBytes.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgKey.h"
#include "database/mgNode.h"
#include "database/mgRecord.h"
#include "database/mgResource.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

using Bytes = std::vector<uint8_t>;

struct Transformed {
    uint16_t error;
    Bytes bytes;
};

Transformed Transform(int16_t mode, Bytes bytes, const uint8_t* translation = nullptr, const mgSchema& schema = {},
                      int16_t field = 0)
{
    uint16_t error = mgTransformSegment(field, mode, int16_t(bytes.size()), bytes.data(), translation, schema);
    return Transformed{error, bytes};
}

template <typename T> Bytes LittleEndian(T value)
{
    Bytes bytes(sizeof value);
    memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

struct ExactCase {
    const char* why;
    int16_t mode;
    Bytes in;
    uint16_t error;
    Bytes out;
};

TEST(KeyTransform, GivesTheBytesEachModeDefines)
{
    const ExactCase cases[] = {
        {"signed -1 (mode 8)", 8, {0xFF, 0xFF}, 0, {0x7F, 0xFF}},
        {"signed 0 (mode 8)", 8, {0x00, 0x00}, 0, {0x80, 0x00}},
        {"signed 1 (mode 8)", 8, {0x01, 0x00}, 0, {0x80, 0x01}},
        {"unsigned (mode 1) reverses", 1, {0x01, 0x02}, 0, {0x02, 0x01}},
        {"unsigned descending inverts after reversing", 1 | 0x10, {0x01, 0x02}, 0, {0xFD, 0xFE}},
        {"serial segment (mode 3) is unsigned", 3, {0x01, 0x02, 0x03, 0x04}, 0, {0x04, 0x03, 0x02, 0x01}},
        {"float 1.0 (mode 9)", 9, {0x00, 0x00, 0x80, 0x3F}, 0, {0xBF, 0x80, 0x00, 0x00}},
        {"float -1.0 (mode 9) is inverted", 9, {0x00, 0x00, 0x80, 0xBF}, 0, {0x40, 0x7F, 0xFF, 0xFF}},
        {"float -1.0 descending is not inverted", 9 | 0x10, {0x00, 0x00, 0x80, 0xBF}, 0, {0xBF, 0x80, 0x00, 0x00}},
        {"text without case (mode 2); bytes above 0x7F stay", 2, {'a', 'B', '1', 0xE4}, 0, {'A', 'B', '1', 0xE4}},
        {"text without case (mode 5)", 5, {'z', '{'}, 0, {'Z', '{'}},
        {"packed decimal +234 (mode 6)", 6, {0x02, 0x34}, 0, {0xF2, 0x34}},
        {"packed decimal -234 (mode 6)", 6, {0x12, 0x34}, 0, {0x07, 0x65}},
        {"length-prefixed text (mode 11)", 11, {0x02, 0x00, 'A', 'B', 'x', 'y'}, 0, {'A', 'B', 0, 0, 0, 0}},
        {"length-prefixed text longer than its segment", 11, {0x09, 0x00, 'A', 'B', 'C'}, 0, {'A', 'B', 'C', 0, 0}},
        {"length-prefixed text in 2 bytes is refused", 11, {0x00, 0x00}, kMgShortLengthSegment, {0x00, 0x00}},
        {"constant (mode 0x100)", 0x100, {'x', 'y', 'z'}, 0, {'D', 0, 0}},
        {"constant of one byte", 0x100, {'x'}, 0, {'D'}},
        {"bytes as they are (mode 0)", 0, {3, 2, 1}, 0, {3, 2, 1}},
        {"bytes as they are (mode 7)", 7, {3, 2, 1}, 0, {3, 2, 1}},
        {"right-justified and reversed (flag 0x40)", 0x40, {'A', 'B', ' ', ' '}, 0, {'B', 'A', ' ', ' '}},
        {"right-justified counts trailing zero bytes as pad", 0x40, {'A', 'B', 'C', 0}, 0, {'C', 'B', 'A', ' '}},
        {"segment flag 0x80 is refused untouched", 8 | 0x80, {0x01, 0x00}, kMgSegmentRefused, {0x01, 0x00}},
        {"unknown mode", 0x101, {0x01}, kMgBadDefinitionType, {0x01}},
        {"decimal (mode 10) other than 10 bytes is refused", 10, Bytes(12, 0x11), kMgKeyLengthMismatch, Bytes(12, 0x11)},
        {"schema field without a schema", 12, {0x01}, kMgNoSchema, {0x01}},
    };
    Engine engine;
    for (const ExactCase& c : cases) {
        SCOPED_TRACE(c.why);
        Transformed t = Transform(c.mode, c.in);
        EXPECT_EQ(c.error, t.error);
        EXPECT_EQ(c.out, t.bytes);
    }
}

// A mode-10 value: sign byte, signed exponent, digits (the integer's decimal digits, least
// significant in the low nibble of byte 2).
Bytes Decimal(bool negative, int8_t exponent, uint64_t digits)
{
    Bytes bytes(10, 0);
    bytes[0] = negative ? 1 : 0;
    bytes[1] = uint8_t(exponent);
    for (int i = 0; i < 16 && digits; ++i, digits /= 10)
        bytes[size_t(2 + i / 2)] |= uint8_t((digits % 10) << (i % 2 ? 4 : 0));
    return bytes;
}

struct OrderCase {
    const char* why;
    int16_t mode;
    std::vector<Bytes> ascending;
};

void ExpectOrder(const OrderCase& c, int16_t flags, int direction)
{
    std::vector<Bytes> keys;
    for (const Bytes& value : c.ascending) {
        Transformed t = Transform(int16_t(c.mode | flags), value);
        ASSERT_EQ(0, t.error);
        keys.push_back(t.bytes);
    }
    for (size_t i = 1; i < keys.size(); ++i) {
        int compared = memcmp(keys[i - 1].data(), keys[i].data(), keys[i].size());
        EXPECT_EQ(direction, compared < 0 ? 1 : compared > 0 ? -1 : 0) << "values " << i - 1 << " and " << i;
    }
}

TEST(KeyTransform, TransformedBytesSortAsTheValuesDo)
{
    const double denormal = std::numeric_limits<double>::denorm_min();
    const double infinity = std::numeric_limits<double>::infinity();
    const OrderCase cases[] = {
        {"signed 8-bit", 8, {LittleEndian<int8_t>(-128), LittleEndian<int8_t>(-1), LittleEndian<int8_t>(0),
                             LittleEndian<int8_t>(1), LittleEndian<int8_t>(127)}},
        {"signed 16-bit", 8, {LittleEndian<int16_t>(-32768), LittleEndian<int16_t>(-256), LittleEndian<int16_t>(-1),
                              LittleEndian<int16_t>(0), LittleEndian<int16_t>(255), LittleEndian<int16_t>(256),
                              LittleEndian<int16_t>(32767)}},
        {"signed 32-bit", 8, {LittleEndian<int32_t>(INT_MIN), LittleEndian<int32_t>(-65536),
                              LittleEndian<int32_t>(-1), LittleEndian<int32_t>(0), LittleEndian<int32_t>(1),
                              LittleEndian<int32_t>(16777216), LittleEndian<int32_t>(INT_MAX)}},
        {"signed 64-bit", 8, {LittleEndian<int64_t>(LLONG_MIN), LittleEndian<int64_t>(-4294967296LL),
                              LittleEndian<int64_t>(-1), LittleEndian<int64_t>(0),
                              LittleEndian<int64_t>(4294967296LL), LittleEndian<int64_t>(LLONG_MAX)}},
        {"unsigned 16-bit", 1, {LittleEndian<uint16_t>(0), LittleEndian<uint16_t>(1), LittleEndian<uint16_t>(255),
                                LittleEndian<uint16_t>(256), LittleEndian<uint16_t>(65535)}},
        {"unsigned 32-bit", 1, {LittleEndian<uint32_t>(0), LittleEndian<uint32_t>(255),
                                LittleEndian<uint32_t>(65536), LittleEndian<uint32_t>(0x7FFFFFFF),
                                LittleEndian<uint32_t>(0x80000000u), LittleEndian<uint32_t>(0xFFFFFFFFu)}},
        {"float", 9, {LittleEndian<float>(-INFINITY), LittleEndian<float>(-FLT_MAX), LittleEndian<float>(-1.5f),
                      LittleEndian<float>(-1.0f), LittleEndian<float>(-FLT_MIN), LittleEndian<float>(-0.0f),
                      LittleEndian<float>(0.0f), LittleEndian<float>(FLT_MIN), LittleEndian<float>(1.0f),
                      LittleEndian<float>(1.5f), LittleEndian<float>(FLT_MAX), LittleEndian<float>(INFINITY)}},
        // Negative zero keys just below zero: equal values, neighbouring keys.
        {"double", 9, {LittleEndian<double>(-infinity), LittleEndian<double>(-DBL_MAX),
                       LittleEndian<double>(-1e10), LittleEndian<double>(-1.0), LittleEndian<double>(-denormal),
                       LittleEndian<double>(-0.0), LittleEndian<double>(0.0), LittleEndian<double>(denormal),
                       LittleEndian<double>(DBL_MIN), LittleEndian<double>(1.0), LittleEndian<double>(1e10),
                       LittleEndian<double>(DBL_MAX), LittleEndian<double>(infinity)}},
        {"packed decimal, sign in the first nibble", 6, {{0x19, 0x99}, {0x12, 0x34}, {0x10, 0x01}, {0x00, 0x00},
                                                          {0x00, 0x01}, {0x02, 0x34}, {0x09, 0x99}}},
        // Positive decimals by exponent, then digits; zero aside (its normalised exponent is
        // its own exponent less 16).
        {"decimal (mode 10), positive", 10, {Decimal(false, -3, 5), Decimal(false, 0, 1), Decimal(false, 0, 2),
                                             Decimal(false, 0, 19), Decimal(false, 1, 2), Decimal(false, 0, 21),
                                             Decimal(false, 5, 1234567890123456ull)}},
        // The kept order of mode 10: every negative number first, and among them a larger
        // magnitude later (the digits are not complemented).
        {"decimal (mode 10), negatives first, larger magnitudes later among them", 10,
         {Decimal(true, 0, 1), Decimal(true, 0, 5), Decimal(true, 2, 1), Decimal(false, 0, 1)}},
        {"text without case", 2, {Text("Apple"), Text("apply"), Text("BANANA"), Text("cherry")}},
        {"length-prefixed text, trailing bytes ignored", 11,
         {{1, 0, 'a', 'Q', 'Q'}, {2, 0, 'a', 'b', 'Q'}, {1, 0, 'b', 'A', 'A'}}},
    };
    Engine engine;
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.why);
        ExpectOrder(c, 0, 1);
        SCOPED_TRACE("descending (flag 0x10)");
        ExpectOrder(c, 0x10, -1);
    }
}

TEST(KeyTransform, EqualValuesGiveEqualKeys)
{
    Engine engine;
    EXPECT_EQ(Transform(2, Text("MiXeD")).bytes, Transform(2, Text("mixed")).bytes);
    EXPECT_EQ(Transform(11, {3, 0, 'a', 'b', 'c', 'x'}).bytes, Transform(11, {3, 0, 'a', 'b', 'c', 'y'}).bytes);
    // Decimals are normalised: 1 x 10^2 and 100 x 10^0 are one value.
    EXPECT_EQ(Transform(10, Decimal(false, 2, 1)).bytes, Transform(10, Decimal(false, 0, 100)).bytes);
    Transformed zero = Transform(10, Decimal(false, 3, 0));
    EXPECT_EQ(Bytes({1, uint8_t(3 - 16) ^ 0x80, 0, 0, 0, 0, 0, 0, 0, 0}), zero.bytes);
}

TEST(KeyTransform, TranslatesThroughTheIndexTable)
{
    // A table that folds lower case letters and maps '0' to the end.
    uint8_t table[512] = {};
    for (int b = 0; b < 256; ++b)
        table[2 * b] = uint8_t(b >= 'a' && b <= 'z' ? b - 32 : b == '0' ? 0xF0 : b);
    Engine engine;
    EXPECT_EQ(Text("ABC"), Transform(0x20, Text("aBc"), table).bytes);
    EXPECT_EQ(Bytes({'1', 0xF0}), Transform(0x20, Text("10"), table).bytes);
    // Without a table the flag does nothing.
    EXPECT_EQ(Text("aBc"), Transform(0x20, Text("aBc")).bytes);
    // Translation comes before the inversion of descending order.
    EXPECT_EQ(Bytes({uint8_t(~'A'), uint8_t(~'B')}), Transform(0x30, Text("ab"), table).bytes);
}

TEST(KeyTransform, SchemaFieldsTakeTheModeOfTheirType)
{
    // Fields: a signed 4-byte number (0x24), an unsigned one (0x2C), a float (0x5C), a
    // length-prefixed text (0x68), a text (0x90), a 2-byte-character text (0xB1).
    uint8_t part[16 + 6 * 4] = {};
    part[3] = ' ';
    mgPut32(part + 8, 6);
    mgPut32(part + 12, 6);
    const uint8_t types[6] = {0x24, 0x2C, 0x5C, 0x68, 0x90, 0xB1};
    for (int i = 0; i < 6; ++i) {
        mgPut16(part + 16 + 4 * i, 4);
        part[16 + 4 * i + 2] = types[i];
    }
    mgSchema schema = mgSchemaOf(part, sizeof part);
    Engine engine;
    EXPECT_EQ(Transform(8, LittleEndian<int32_t>(-7)).bytes, Transform(12, LittleEndian<int32_t>(-7), nullptr, schema, 0).bytes);
    EXPECT_EQ(Transform(1, LittleEndian<uint32_t>(7)).bytes, Transform(12, LittleEndian<uint32_t>(7), nullptr, schema, 1).bytes);
    EXPECT_EQ(Transform(9, LittleEndian<float>(-2.5f)).bytes, Transform(13, LittleEndian<float>(-2.5f), nullptr, schema, 2).bytes);
    EXPECT_EQ(Bytes({'a', 'b', 0, 0}), Transform(12, {2, 0, 'a', 'b'}, nullptr, schema, 3).bytes);
    // A text type without a mode of its own: as it is in modes 12 and 14, without case in 13 and 15.
    EXPECT_EQ(Text("ab"), Transform(12, Text("ab"), nullptr, schema, 4).bytes);
    EXPECT_EQ(Text("AB"), Transform(13, Text("ab"), nullptr, schema, 4).bytes);
    EXPECT_EQ(Text("AB"), Transform(15, Text("ab"), nullptr, schema, 4).bytes);
    EXPECT_EQ(kMgBadDefinitionType, Transform(12, Text("ab"), nullptr, schema, 5).error);
    EXPECT_EQ(kMgFieldBeyondSchema, Transform(12, Text("ab"), nullptr, schema, 6).error);
}

TEST(KeyFields, CopyRulesFillExactlyTheSegment)
{
    uint8_t out[16];
    // Delimited: "AB" then the delimiter, in 5 bytes padded with blanks.
    const uint8_t delimited[] = {'A', 'B', '|', 'C'};
    memset(out, 0xEE, sizeof out);
    mgCopyDelimitedField(out, delimited, sizeof delimited, 5, '|', ' ');
    EXPECT_EQ(Text("AB   "), Bytes(out, out + 5));
    EXPECT_EQ(0xEE, out[5]);
    // No delimiter within the segment: the segment's length is copied.
    mgCopyDelimitedField(out, delimited, sizeof delimited, 2, '|', ' ');
    EXPECT_EQ(Text("AB"), Bytes(out, out + 2));
    // Fewer bytes left in the record than the segment: what is there, then padding.
    mgCopyDelimitedField(out, delimited, 1, 3, '|', '.');
    EXPECT_EQ(Text("A.."), Bytes(out, out + 3));

    // Counted: a count of 7 in a segment of 4 gives 4 bytes; a count of 2 pads 2.
    const uint8_t counted[] = {'1', '2', '3', '4', '5', '6', '7'};
    mgCopyCountedField(out, counted, 7, 7, 4, ' ');
    EXPECT_EQ(Text("1234"), Bytes(out, out + 4));
    mgCopyCountedField(out, counted, 2, 7, 4, ' ');
    EXPECT_EQ(Text("12  "), Bytes(out, out + 4));
    // A count beyond the record stops at the record's end.
    mgCopyCountedField(out, counted, 200, 3, 5, '_');
    EXPECT_EQ(Text("123__"), Bytes(out, out + 5));

    // Two-byte characters: each stored most significant byte first, then the pad pattern.
    const uint8_t wide[] = {'A', 0, 'B', 0, 0, 0, 'x', 'x'};
    mgCopyWideField(out, wide, false, 0, sizeof wide, 8, ' ');
    EXPECT_EQ(Bytes({0, 'A', 0, 'B', 0, 0, ' ', 0}), Bytes(out, out + 8));
    // Counted with an odd count: a 0 byte completes the last character.
    mgCopyWideField(out, wide, true, 3, sizeof wide, 6, ' ');
    EXPECT_EQ(Bytes({0, 'A', 'B', 0, ' ', 0}), Bytes(out, out + 6));

    // Field sizes by type; a field that does not fit in what is left is 0.
    const uint8_t variable[] = {'a', 'b', '|', 'c'};
    EXPECT_EQ(3u, mgFieldSize(0x92, 0, variable, sizeof variable, '|'));
    EXPECT_EQ(0u, mgFieldSize(0x92, 0, variable, 2, '|'));
    const uint8_t prefixed[] = {5, 'a', 'b', 'c'};
    EXPECT_EQ(0u, mgFieldSize(0x9A, 0, prefixed, sizeof prefixed, 0));
    EXPECT_EQ(4u, mgFieldSize(0x9A, 0, Bytes({3, 'a', 'b', 'c'}).data(), 4, 0));
    EXPECT_EQ(5u, mgFieldSize(0xA2, 0, Bytes({3, 0, 'a', 'b', 'c'}).data(), 5, 0));
    EXPECT_EQ(6u, mgFieldSize(0xB9, 0, wide, sizeof wide, 0));
    EXPECT_EQ(12u, mgFieldSize(0x24, 12, variable, 20, 0));
    EXPECT_EQ(0u, mgFieldSize(0x24, 12, variable, 11, 0));
}

// A variable-length set whose data file carries a record schema (definition part 1); its
// indexes are given by the test. Fixed part: u8 at 0, i32 at 4 (aligned), a counted text of
// 8 at 8; variable part: a delimited text, a counted text, a 2-byte field of type 0x94, a
// 2-byte-character text.
class SchemaSet {
  public:
    static constexpr uint16_t kFixedPart = 16;

    SchemaSet(const ScratchFolder& folder, std::vector<std::vector<mgSegmentDef>> segments,
              std::vector<int16_t> keyLengths, bool withSchema = true)
    {
        set_.name = folder.File("schema");
        set_.segments = std::move(segments);
        for (int16_t length : keyLengths) {
            mgIndexDef index{};
            index.duplicates = 1;
            index.keyLength = int16_t(length + 4);
            set_.indexes.push_back(index);
        }
        set_.def.dataFileNumber = -1;
        set_.def.recordLength = kFixedPart;
        set_.def.dataMode = kMgModeVariable;
        set_.def.setFileNumber = -1;
        created_ = mgCreateFileSet(set_.Build());
        if (created_ != 0)
            return;
        if (withSchema) {
            uint8_t part[16 + 7 * 4] = {};
            part[1] = 4;   // align fields on their natural boundary
            part[2] = '|'; // delimiter
            part[3] = ' '; // pad
            mgPut32(part + 8, 7);
            mgPut32(part + 12, 7);
            const uint16_t sizes[7] = {1, 4, 8, 0, 0, 2, 4};
            const uint8_t types[7] = {0x11, 0x24, 0x98, 0x92, 0x9A, 0x94, 0xB1};
            for (int i = 0; i < 7; ++i) {
                mgPut16(part + 16 + 4 * i, sizes[i]);
                part[16 + 4 * i + 2] = types[i];
            }
            mgDefinitionPart schema{part, sizeof part, 0, 1, 1};
            created_ = int16_t(mgPutDefinitionPart(set_.def.setFileNumber, &schema, 0));
        }
        if (created_ == 0)
            created_ = int16_t(mgCloseFileSet(&set_.def));
        if (created_ == 0) {
            int opened = mgOpenFileSetFromResource(-1, folder.File("schema.dat").c_str(), 0);
            created_ = opened < 0 ? int16_t(mgCtx()->isam_code) : 0;
            data_ = int16_t(opened);
        }
    }
    ~SchemaSet()
    {
        if (data_ >= 0)
            mgCloseFileSetByNumber(uint16_t(data_));
    }
    int16_t Created() const
    {
        return created_;
    }
    int16_t Index(int i) const
    {
        return int16_t(data_ + 1 + i);
    }

    // 1, pad, -5, "abc" counted in 8, "bob|", counted "xy", 2 bytes, 'W' in 2-byte text.
    static Bytes Record()
    {
        Bytes r = {0x01, 0, 0, 0, 0xFB, 0xFF, 0xFF, 0xFF, 3, 'a', 'b', 'c', 'z', 'z', 'z', 'z'};
        for (uint8_t b : Bytes{'b', 'o', 'b', '|', 2, 'x', 'y', 'Q', 'Q', 'W', 0, 0, 0})
            r.push_back(b);
        return r;
    }

  private:
    SetDefinition set_;
    int16_t created_ = -1;
    int16_t data_ = -1;
};

struct BuiltKey {
    int16_t length;
    uint16_t isamCode;
    Bytes key;
};

BuiltKey Build(int16_t index, const Bytes& record)
{
    uint8_t key[64];
    memset(key, 0xEE, sizeof key);
    int16_t length = mgBuildKey(index, record.data(), key, 0x00012345, uint32_t(record.size()));
    return BuiltKey{length, mgCtx()->isam_code, Bytes(key, key + (length > 0 ? length : 0))};
}

TEST(KeyFormation, TakesFieldsThroughTheRecordSchema)
{
    ScratchFolder folder;
    Engine engine;
    SchemaSet set(folder,
                  {
                      {{1, 4, 14}},        // the i32 field, transformed by its type (signed)
                      {{2, 6, 12}},        // the counted text of the fixed part, padded
                      {{0, 5, 5}},         // the first variable field, delimited, without case
                      {{1, 4, 4}},         // the second variable field, copied as delimited text
                      {{0, 1, 12}, {4, 6, 0}, {0, 2, 0}}, // a 1-byte field, then plain offsets
                  },
                  {4, 6, 5, 4, 9});
    ASSERT_EQ(0, set.Created()) << mgCtx()->isam_code;
    Bytes record = SchemaSet::Record();
    struct Case {
        const char* why;
        int index;
        Bytes key;
    };
    const Case cases[] = {
        {"signed field by its type", 0, {0x7F, 0xFF, 0xFF, 0xFB}},
        {"counted text padded with the schema's pad", 1, {'a', 'b', 'c', ' ', ' ', ' '}},
        {"first variable field up to the delimiter, upper case", 2, {'B', 'O', 'B', ' ', ' '}},
        {"second variable field as delimited text", 3, {2, 'x', 'y', 'Q'}},
        {"schema byte, then offsets 4..9 and 0..1", 4, {0x01, 0xFB, 0xFF, 0xFF, 0xFF, 3, 'a', 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        BuiltKey built = Build(set.Index(c.index), record);
        ASSERT_EQ(int16_t(c.key.size()), built.length) << "isam_code " << built.isamCode;
        EXPECT_EQ(c.key, built.key);
        // The duplicates suffix: the position, most significant byte first.
        uint8_t key[64];
        ASSERT_GT(mgBuildKey(set.Index(c.index), record.data(), key, 0x00012345, uint32_t(record.size())), 0);
        EXPECT_EQ(Bytes({0x00, 0x01, 0x23, 0x45}), Bytes(key + c.key.size(), key + c.key.size() + 4));
    }
}

TEST(KeyFormation, RefusesSegmentsItCannotBuild)
{
    ScratchFolder folder;
    Engine engine;
    SchemaSet set(folder,
                  {
                      {{5, 2, 12}},  // type 0x94: a text type without a copy rule
                      {{6, 4, 12}},  // a 2-byte-character field cannot be a segment
                      {{7, 4, 12}},  // beyond the schema's fields
                      {{2, 4, 0}},   // a plain segment past the record's end
                      {{4, 4, 5}},   // a variable field past the record's end
                  },
                  {2, 4, 4, 4, 4});
    ASSERT_EQ(0, set.Created()) << mgCtx()->isam_code;
    Bytes record = SchemaSet::Record();
    EXPECT_EQ(kMgOutsideRecord, Build(set.Index(0), record).isamCode);
    EXPECT_EQ(kMgSegmentRefused, Build(set.Index(1), record).isamCode);
    EXPECT_EQ(kMgFieldBeyondSchema, Build(set.Index(2), record).isamCode);
    EXPECT_EQ(kMgOutsideRecord, Build(set.Index(3), Bytes(record.begin(), record.begin() + 5)).isamCode);
    EXPECT_EQ(kMgOutsideRecord, Build(set.Index(4), record).isamCode);
    // A record length of 0.
    EXPECT_EQ(0, mgBuildKey(set.Index(0), record.data(), Bytes(8).data(), 0, 0));
    EXPECT_EQ(kMgOutsideRecord, mgCtx()->isam_code);
}

TEST(KeyFormation, SchemaSegmentsNeedASchema)
{
    ScratchFolder folder;
    Engine engine;
    SchemaSet set(folder, {{{1, 4, 14}}}, {4}, false);
    ASSERT_EQ(0, set.Created()) << mgCtx()->isam_code;
    EXPECT_EQ(kMgNoSchema, Build(set.Index(0), SchemaSet::Record()).isamCode);
}

TEST(KeyFormation, NullKeysAndShortLists)
{
    ScratchFolder folder;
    Engine engine;
    SetDefinition set = TwoIndexSet(folder.File("nulls"), 64, 0);
    // Index B leaves out records whose text is all blanks; a negative offset ends A's key
    // after its first segment.
    set.indexes[1].keyOptions = 1;
    set.indexes[1].emptyChar = ' ';
    set.segments[0] = {{1, 4, 8}, {-1, 16, 0}};
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    uint16_t data = uint16_t(set.def.setFileNumber);
    Bytes blank = MakeRecord(1, "");
    uint8_t key[64];
    EXPECT_EQ(0, mgBuildKey(int16_t(data + 2), blank.data(), key, 0, 64));
    EXPECT_EQ(0, mgCtx()->isam_code) << "no key is not an error";
    EXPECT_EQ(4, mgBuildKey(int16_t(data + 1), blank.data(), key, 0, 64));
    // A record without a key in index B is added and found by A, and B never holds it.
    ASSERT_EQ(0, mgAddRecord(data, blank.data()));
    Bytes named = MakeRecord(2, "named");
    ASSERT_EQ(0, mgAddRecord(data, named.data()));
    EXPECT_EQ(2u, mgKeyCount(data + 1));
    EXPECT_EQ(1u, mgKeyCount(data + 2));
    EXPECT_EQ(0, mgCloseFileSet(&set.def));
}

TEST(KeyFormation, SerialSegmentNumbersEveryAddedRecord)
{
    ScratchFolder folder;
    Engine engine;
    SetDefinition set = TwoIndexSet(folder.File("serial"), 64, 0);
    set.segments[0] = {{1, 4, 3}};
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    uint16_t data = uint16_t(set.def.setFileNumber);
    for (int i = 0; i < 3; ++i) {
        Bytes record = MakeRecord(0, "rec" + std::to_string(i));
        ASSERT_EQ(0, mgAddRecord(data, record.data()));
        // The caller's record carries the number it was given.
        EXPECT_EQ(uint32_t(i + 1), mgGet32(record.data() + 1));
    }
    ASSERT_EQ(0, mgCloseFileSet(&set.def));
    // Numbering goes on after a reopen, from the number kept in the header.
    int opened = mgOpenFileSetFromResource(-1, folder.File("serial.dat").c_str(), 0);
    ASSERT_GE(opened, 0);
    Bytes record = MakeRecord(0, "after");
    ASSERT_EQ(0, mgAddRecord(uint16_t(opened), record.data()));
    EXPECT_EQ(4u, mgGet32(record.data() + 1));
    Bytes found(64);
    ASSERT_EQ(0, FindByKey(opened + 1, MakeRecord(2, ""), found));
    EXPECT_EQ('r', found[5]);
    EXPECT_EQ('1', found[8]);
    EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(opened)));
}

// Finds the only place where `pattern` occurs in the bytes.
size_t FindOnce(const Bytes& bytes, const Bytes& pattern)
{
    size_t found = bytes.size();
    for (size_t i = 0; i + pattern.size() <= bytes.size(); ++i)
        if (memcmp(bytes.data() + i, pattern.data(), pattern.size()) == 0) {
            EXPECT_EQ(bytes.size(), found) << "the pattern occurs twice";
            found = i;
        }
    return found;
}

// Mode 10 is defined for 10-byte values (its work area holds one): a longer segment is
// refused when the set is made and when a stored definition holds one, never copied.
TEST(KeyFormation, DecimalSegmentsOfAnotherLengthAreRefused)
{
    ScratchFolder folder;
    Engine engine;
    SetDefinition longer = TwoIndexSet(folder.File("longer"), 64, 0);
    longer.segments[0] = {{1, 12, 10}};
    longer.indexes[0].keyLength = 12;
    EXPECT_EQ(kMgKeyLengthMismatch, mgCreateFileSet(longer.Build()));
    EXPECT_EQ(0u, ReadWholeFile(folder.File("longer.dat")).size()) << "nothing is left of the refused set";

    SetDefinition decimal = TwoIndexSet(folder.File("decimal"), 64, 0);
    decimal.segments[0] = {{1, 10, 10}};
    decimal.indexes[0].keyLength = 10;
    ASSERT_EQ(0, mgCreateFileSet(decimal.Build()));
    uint16_t data = uint16_t(decimal.def.setFileNumber);
    Bytes record = MakeRecord(0, "d");
    Bytes value = Decimal(false, 2, 15);
    memcpy(record.data() + 1, value.data(), value.size());
    ASSERT_EQ(0, mgAddRecord(data, record.data()));
    ASSERT_EQ(0, mgCloseFileSet(&decimal.def));

    // The stored definition's segment (offset 1, length 10, mode 10) made 12 bytes long.
    Bytes bytes = ReadWholeFile(folder.File("decimal.dat"));
    size_t at = FindOnce(bytes, {1, 0, 10, 0, 10, 0});
    ASSERT_LT(at, bytes.size());
    bytes[at + 2] = 12;
    WriteWholeFile(folder.File("decimal.dat"), bytes);
    EXPECT_LT(mgOpenFileSetFromResource(-1, folder.File("decimal.dat").c_str(), 0), 0);
    EXPECT_EQ(kMgKeyLengthMismatch, mgCtx()->isam_code);
}

} // namespace
