// Golden files: tests/database/data holds files made by this engine (the program's cache
// host with its data member and three index members, a variable-length set, a set with
// resources). The test makes them again and compares them byte for byte, close times and
// definition times aside; checks their headers, nodes, pieces and resources against images
// worked out by hand from the format; and reads them back. A change that drifts the format
// fails here before it reaches a user's "Cache.dat".
// Regenerate only for a deliberate change of the format (then check the images by hand):
//   ISAM_GOLDEN_OUT='Z:\<repository>\tests\database\data' wine database_tests.exe --gtest_filter=GoldenFiles.*
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>

#include "cache_set_support.h"
#include "database/mgBytes.h"
#include "database/mgCheck.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgRecord.h"
#include "database/mgResource.h"
#include "database_test_support.h"
#include "golden_files.h"

using namespace dbtest;

namespace {

using Bytes = std::vector<uint8_t>;

// The files are made with names relative to the scratch folder (the current directory),
// so that the set names stored inside them do not depend on where the test runs.
void MakeCacheHost()
{
    Engine engine(16, 16, 32);
    ASSERT_EQ(0, CreateCacheSet("Cache.dat"));
    CacheSet cache;
    ASSERT_EQ(0, cache.Open("Cache.dat", 3));
    for (uint32_t id = 1; id <= 3; ++id) {
        Bytes record = CacheRecord(id, 1000 + id, 4 - id);
        ASSERT_EQ(0, mgAddRecord(uint16_t(cache.data), record.data()));
    }
    ASSERT_EQ(0, cache.Close());
}

void MakeVariableSet()
{
    Engine engine(16, 16, 4);
    SetDefinition set = TwoIndexSet("variable", 9, kMgModeVariable);
    set.indexes.resize(1);
    set.segments.resize(1);
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    for (uint32_t id = 1; id <= 3; ++id) {
        Bytes record = GoldenVariableRecord(id);
        ASSERT_EQ(0, mgAddVariableRecord(uint16_t(set.def.setFileNumber), record.data(), int32_t(record.size())));
    }
    ASSERT_EQ(0, mgCloseFileSet(&set.def));
}

void MakeResourceSet()
{
    Engine engine(16, 16, 4);
    SetDefinition set = TwoIndexSet("resources", 32, 0);
    set.indexes.resize(1);
    set.segments.resize(1);
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    Bytes record = MakeRecord(1, "", 32, 'r');
    ASSERT_EQ(0, mgAddRecord(uint16_t(set.def.setFileNumber), record.data()));
    uint8_t resource[8 + 16] = {};
    mgPut32(resource, 20);
    mgPut32(resource + 4, 1);
    memcpy(resource + 8, "first", 6);
    ASSERT_EQ(0, mgAddResource(set.def.setFileNumber, resource, sizeof resource));
    ASSERT_EQ(0, mgCloseFileSet(&set.def));
}

void MakeAll()
{
    ASSERT_NO_FATAL_FAILURE(MakeCacheHost());
    ASSERT_NO_FATAL_FAILURE(MakeVariableSet());
    ASSERT_NO_FATAL_FAILURE(MakeResourceSet());
}

// Zeroes what depends on the clock: the close time of every header (a header is known by
// its stored position and format version) and the change time of every definition resource.
Bytes WithoutTimes(Bytes bytes)
{
    for (size_t at = 0; at + kMgHeaderSize <= bytes.size(); ++at)
        if (mgGet32(bytes.data() + at + kHdrHeaderPosition) == at &&
            mgGet16(bytes.data() + at + kHdrFormatVersion) == kMgFormatVersion)
            mgPut32(bytes.data() + at + kHdrCloseTime, 0);
    static const char kMark[] = "DM!DEF";
    for (size_t at = 0; at + 16 <= bytes.size(); ++at)
        if (memcmp(bytes.data() + at, kMark, sizeof kMark) == 0)
            mgPut32(bytes.data() + at + 12, 0);
    return bytes;
}

TEST(GoldenFiles, TheEngineMakesThemByteForByte)
{
    ScratchFolder folder;
    ASSERT_NO_FATAL_FAILURE(MakeAll());
    if (const char* out = getenv("ISAM_GOLDEN_OUT")) {
        for (const char* name : kGoldenFiles)
            WriteWholeFile(std::string(out) + "\\" + name, ReadWholeFile(folder.File(name)));
        GTEST_SKIP() << "golden files written to " << out;
    }
    for (const char* name : kGoldenFiles) {
        SCOPED_TRACE(name);
        Bytes golden = ReadWholeFile(GoldenPath(name));
        ASSERT_FALSE(golden.empty()) << "no golden file at " << GoldenPath(name);
        Bytes made = ReadWholeFile(folder.File(name));
        ASSERT_EQ(golden.size(), made.size());
        Bytes a = WithoutTimes(golden);
        Bytes b = WithoutTimes(made);
        size_t differs = 0;
        while (differs < a.size() && a[differs] == b[differs])
            ++differs;
        EXPECT_EQ(a.size(), differs) << "first difference at byte " << differs;
    }
}

struct Field {
    uint32_t offset;
    int width;
    uint32_t value;
    const char* what;
};

// The fields every header of this engine holds, whatever the file.
std::vector<Field> CommonFields(uint32_t headerPosition)
{
    return {{kHdrFormatVersion, 2, 129, "format version"},
            {kHdrUpdateFlag, 1, 0, "closed cleanly"},
            {kHdrAttributeBytes, 1, 2, "instance attribute 1"},
            {kHdrAttributeBytes + 1, 1, 8, "instance attribute 2"},
            {kHdrAttributeBytes + 2, 1, 4, "pointer size as on 32 bits"},
            {kHdrHeaderPosition, 4, headerPosition, "where the header lies"},
            {kHdrRecoveryMark, 4, 0, "no recovery mark"},
            {0x20, 4, 0, "reserved"},
            {0x24, 4, 0, "reserved"},
            {0x58, 4, 0, "reserved"}};
}

// The header at `position`: the fields every header holds, then the file's own `fields`.
void ExpectHeader(const Bytes& bytes, uint32_t position, const std::vector<Field>& fields)
{
    ASSERT_LE(position + kMgHeaderSize, bytes.size());
    std::vector<Field> all = CommonFields(position);
    all.insert(all.end(), fields.begin(), fields.end());
    for (const Field& f : all) {
        const uint8_t* p = bytes.data() + position + f.offset;
        uint32_t value = f.width == 1 ? p[0] : f.width == 2 ? mgGet16(p) : mgGet32(p);
        EXPECT_EQ(f.value, value) << f.what << " at +0x" << std::hex << f.offset;
    }
}

// The cache host as the program makes it: 4096-byte nodes (32 sectors), extension 32768,
// member-name width 255. Every member chunk fills one node: an 18-byte record header, the
// 255-byte name area and the member's 128-byte header. Node 0 is the host header, node 1
// the host's resource anchor, then the directory (member 1), the data member (2), its
// anchor and definition, the three index members (3 to 5) each followed by its anchor.
TEST(GoldenFiles, CacheHostHoldsTheImagesOfTheFormat)
{
    Bytes host = ReadWholeFile(GoldenPath("Cache.dat"));
    ASSERT_EQ(3u * 32768u, host.size()) << "three extensions of 32768 bytes";
    ExpectHeader(host, 0,
                 {{kHdrPhysicalEnd, 4, 3 * 32768 - 1, "physical end: the file less one"},
                  {kHdrDeleteHead, 4, 0, "no deleted-record chain"},
                  {kHdrLogicalEnd, 4, 0x1081F + 2079 - 1, "logical end: the end of the last record's piece"},
                  {kHdrResourceAnchor, 4, 4096, "the host's anchor in node 1"},
                  {kHdrMemberCounter, 4, 5, "directory, data member and three index members"},
                  {kHdrEntryCount, 4, 0, "no free piece in the free-space index"},
                  {kHdrRootNode, 4, 0, "empty free-space index"},
                  {kHdrNodeSizeCode, 2, 4096, "32 sectors of 128 bytes"},
                  {kHdrRecordLength, 2, 0, "a host has no record length"},
                  {kHdrExtensionSize, 2, 32768, "a host grows by at least 32768"},
                  {kHdrFileMode, 2, 0x0207, "opened shared as a host: 0x203 with the variable bit"},
                  {kHdrCreateMode, 2, 0x0204, "0x202 and the host's 0x0006, masked with 0x86F4"},
                  {kHdrLeafLimit, 2, (4096 - 18) / 12 * 12 - 12, "free-space index leaf limit"},
                  {kHdrNodeLimit, 2, 4096 - 18, "node limit"},
                  {kHdrDuplicates, 1, 1, "space keys allow duplicates"},
                  {kHdrKindByte, 1, 2, "variable-length kind byte"},
                  {kHdrFileKind, 2, 2, "variable-length file"},
                  {kHdrKeyLength, 2, 12, "free-space key: member id, length, position"},
                  {kHdrDirectoryPosition, 4, 0x2000 + 18 + 255, "the directory's header in node 2"},
                  {kHdrSuperfileKind, 2, 1, "superfile host"},
                  {kHdrLeafSlots, 2, 4096 / 4, "leaf slots: node size / 4"},
                  {kHdrNameLimit, 2, 255, "member-name width of nodes of 1024 bytes or more"},
                  {kHdrAttributeFlags, 2, 0, "no attribute"},
                  {kHdrFormatCode, 4, 559, "data and host format code"}});

    // The directory: an index of member names, compressed leading and trailing.
    ExpectHeader(host, 0x2111,
                 {{kHdrPhysicalEnd, 4, 0xFFFFFFFF, "members have no extent"},
                  {kHdrLogicalEnd, 4, 0xFFFFFFFF, "members have no extent"},
                  {kHdrEntryCount, 4, 4, "four members besides itself"},
                  {kHdrRootNode, 4, 0x4000 + 18, "its one leaf, after its piece header"},
                  {kHdrFirstLeaf, 4, 0x4000 + 18, "the first leaf is the root"},
                  {kHdrNodeSizeCode, 2, 4096 - 18, "member nodes leave room for the piece header"},
                  {kHdrExtensionSize, 2, 0, "members do not extend"},
                  // E = 255 + 2 count bytes; U = 4078 - 18; n = U / (E + 4) = 15.
                  {kHdrLeafLimit, 2, 261 * 15 - 257, "leaf limit: (E + 4) n - E"},
                  {kHdrNodeLimit, 2, 4078 - 18, "node limit"},
                  {kHdrKeyFlags, 1, 12, "leading and trailing compression"},
                  {kHdrDuplicates, 1, 0, "unique names"},
                  {kHdrPadByte, 1, ' ', "pad byte"},
                  {kHdrFileKind, 2, 1, "index"},
                  {kHdrKeyLength, 2, 255, "names padded to the width"},
                  {kHdrMemberId, 4, 1, "the directory is member 1"},
                  {kHdrSuperfileKind, 2, 6, "member directory"},
                  {kHdrLeafSlots, 2, 4078 / 4, "leaf slots"},
                  {kHdrFormatCode, 4, 552, "index format code"}});

    // The data member: fixed records of 2061 bytes (the leading zero and 2060 of the page).
    ExpectHeader(host, 0x3111,
                 {{kHdrPhysicalEnd, 4, 0xFFFFFFFF, "members have no extent"},
                  {kHdrResourceAnchor, 4, 0x5000, "its anchor in node 5"},
                  {kHdrMemberCounter, 4, 0x1081F, "its most recent record piece"},
                  {kHdrSerialNumber, 4, 3, "three records given numbers"},
                  {kHdrEntryCount, 4, 3, "three active records"},
                  {kHdrRecordLength, 2, 2061, "record length"},
                  {kHdrFileMode, 2, 0x0003, "opened shared"},
                  {kHdrFileKind, 2, 0, "fixed-length data"},
                  {kHdrMemberId, 4, 2, "member 2"},
                  {kHdrSuperfileKind, 2, 2, "superfile member"},
                  {kHdrFormatCode, 4, 559, "data format code"}});
    std::string name(reinterpret_cast<const char*>(host.data()) + 0x3000 + 18, 255);
    EXPECT_EQ("data.dat" + std::string(247, ' '), name) << "the member's name area";

    // Index member "!000": unique 4-byte keys (signed, mode 8).
    ExpectHeader(host, 0x6111,
                 {{kHdrResourceAnchor, 4, 0x7000, "its anchor in node 7"},
                  {kHdrEntryCount, 4, 3, "three keys"},
                  {kHdrRootNode, 4, 0xD000 + 18, "one leaf, in node 13"},
                  {kHdrFirstLeaf, 4, 0xD000 + 18, "the first leaf is the root"},
                  // E = 4; U = 4060; n = U / (E + 4) = 507.
                  {kHdrLeafLimit, 2, 8 * 507 - 4, "leaf limit: (E + 4) n - E"},
                  {kHdrNodeLimit, 2, 4060, "node limit"},
                  {kHdrFileKind, 2, 1, "index"},
                  {kHdrKeyLength, 2, 4, "key length"},
                  {kHdrMemberId, 4, 3, "member 3"},
                  {kHdrSuperfileKind, 2, 2, "superfile member"}});

    // Its leaf: the piece header, the 18-byte node header, three entries of pointer and
    // key, and the high key at the leaf limit.
    const uint8_t* piece = host.data() + 0xD000;
    EXPECT_EQ(Bytes({0xFA, 0xFA, 0x00, 0x10, 0, 0, 0xEE, 0x0F, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0}), Bytes(piece, piece + 18))
        << "piece in use, 4096 allocated, 4078 of data, member 3";
    const uint8_t* node = piece + 18;
    EXPECT_EQ(Bytes({0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 24, 0, 0, 0, 0, 0, 0, 1}), Bytes(node, node + 18))
        << "no neighbours, three entries, 24 bytes, member 0, leaf";
    // Keys 1, 2, 3 (mode 8: reversed, top bit flipped); records in the order of their pieces.
    EXPECT_EQ(Bytes({0x1F, 0xB8, 0, 0, 0x80, 0, 0, 1, 0, 0, 1, 0, 0x80, 0, 0, 2, 0x1F, 0x08, 1, 0, 0x80, 0, 0, 3}),
              Bytes(node + 18, node + 18 + 24));
    EXPECT_EQ(Bytes(4, 0xFF), Bytes(node + 18 + 4052, node + 18 + 4056)) << "high key of the rightmost leaf";

    // The record of page 1: its 18-byte piece header, then the record.
    const uint8_t* record = host.data() + 0xB81F;
    EXPECT_EQ(Bytes({0xFA, 0xFA, 0x1F, 0x08, 0, 0, 0x0D, 0x08, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0}),
              Bytes(record, record + 18))
        << "piece in use, 2079 allocated, 2061 of data, member 2, last of the member's chain";
    EXPECT_EQ(CacheRecord(1, 1001, 3), Bytes(record + 18, record + 18 + 2061));

    // The host's anchor: 31 bytes, linked to itself.
    EXPECT_EQ(Bytes({0xFE, 0xFE, 31, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0, 0x10, 0, 0}),
              Bytes(host.data() + 0x1000, host.data() + 0x1000 + 22));
    EXPECT_EQ(Bytes(9, 0), Bytes(host.data() + 0x1000 + 22, host.data() + 0x1000 + 31));
}

// A variable-length set on 512-byte nodes: the data file's first node is its header, its
// anchor and definition follow; records are pieces with 10-byte headers.
TEST(GoldenFiles, VariableSetHoldsTheImagesOfTheFormat)
{
    Bytes data = ReadWholeFile(GoldenPath("variable.dat"));
    ExpectHeader(data, 0,
                 {{kHdrPhysicalEnd, 4, uint32_t(data.size() - 1), "physical end: no extension size"},
                  {kHdrLogicalEnd, 4, uint32_t(data.size() - 1), "logical end"},
                  {kHdrResourceAnchor, 4, 512, "anchor after the header node"},
                  {kHdrSerialNumber, 4, 3, "three records given numbers"},
                  {kHdrEntryCount, 4, 0, "no free piece"},
                  {kHdrNodeSizeCode, 2, 512, "4 sectors"},
                  {kHdrRecordLength, 2, 9, "the fixed part"},
                  {kHdrLeafLimit, 2, (512 - 18) / 12 * 12 - 12, "free-space leaf limit"},
                  {kHdrNodeLimit, 2, 512 - 18, "node limit"},
                  {kHdrKindByte, 1, 2, "variable-length kind byte"},
                  {kHdrFileKind, 2, 2, "variable-length file"},
                  {kHdrKeyLength, 2, 12, "free-space key"},
                  {kHdrSuperfileKind, 2, 0, "plain file"},
                  {kHdrLeafSlots, 2, 128, "leaf slots"},
                  {kHdrNameLimit, 2, 255, "outside superfiles"},
                  {kHdrFormatCode, 4, 559, "data format code"}});
    // The three records: 10-byte piece headers (mark, allocated, data length), then the record.
    uint32_t at = 0xA1F;
    for (uint32_t id = 1; id <= 3; ++id) {
        SCOPED_TRACE("record " + std::to_string(id));
        Bytes record = GoldenVariableRecord(id);
        ASSERT_LE(at + 10 + record.size(), data.size());
        EXPECT_EQ(0xFAFA, mgGet16(data.data() + at));
        EXPECT_EQ(record.size() + 10, mgGet32(data.data() + at + 2));
        EXPECT_EQ(record.size(), mgGet32(data.data() + at + 6));
        EXPECT_EQ(record, Bytes(data.data() + at + 10, data.data() + at + 10 + record.size()));
        at += uint32_t(record.size() + 10);
    }
    EXPECT_EQ(data.size(), at) << "the last piece ends the file";

    Bytes index = ReadWholeFile(GoldenPath("variable.idx"));
    ExpectHeader(index, 0,
                 {{kHdrPhysicalEnd, 4, 3 * 512 - 1, "header node, anchor node, one leaf"},
                  {kHdrResourceAnchor, 4, 512, "anchor in node 1"},
                  {kHdrEntryCount, 4, 3, "three keys"},
                  {kHdrRootNode, 4, 1024, "the leaf in node 2"},
                  {kHdrFirstLeaf, 4, 1024, "the first leaf is the root"},
                  {kHdrNodeSizeCode, 2, 512, "node size"},
                  {kHdrLeafLimit, 2, 8 * 61 - 4, "leaf limit: (E + 4) n - E, n = 494 / 8"},
                  {kHdrNodeLimit, 2, 494, "node limit"},
                  {kHdrPadByte, 1, ' ', "pad byte"},
                  {kHdrFileKind, 2, 1, "index"},
                  {kHdrKeyLength, 2, 4, "key length"},
                  {kHdrFormatCode, 4, 552, "index format code"}});
    const uint8_t* node = index.data() + 1024;
    EXPECT_EQ(Bytes({0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 24, 0, 0, 0, 0, 0, 0, 1}), Bytes(node, node + 18));
    EXPECT_EQ(Bytes({0x1F, 0x0A, 0, 0, 0x80, 0, 0, 1, 0x3D, 0x0A, 0, 0, 0x80, 0, 0, 2, 0xB5, 0x0A, 0, 0, 0x80, 0, 0, 3}),
              Bytes(node + 18, node + 18 + 24))
        << "record positions are the pieces' positions";
}

// A fixed-length set of 32-byte records with resources: the anchor takes the first record
// slot after the header, the definition ("DM!DEF") 64 slots, the record one, the added
// resource two; resources cover whole records.
TEST(GoldenFiles, ResourceSetHoldsTheImagesOfTheFormat)
{
    Bytes data = ReadWholeFile(GoldenPath("resources.dat"));
    ExpectHeader(data, 0,
                 {{kHdrPhysicalEnd, 4, 2303, "header, anchor, definition, record, resource"},
                  {kHdrResourceAnchor, 4, 128, "the first record slot"},
                  {kHdrEntryCount, 4, 1, "one active record"},
                  {kHdrRecordLength, 2, 32, "record length"},
                  {kHdrFileKind, 2, 0, "fixed-length data"},
                  {kHdrNodeSizeCode, 2, 0, "no nodes"},
                  {kHdrDuplicates, 1, 1, "data files say 1"},
                  {kHdrFormatCode, 4, 559, "data format code"}});
    struct Resource {
        const char* what;
        uint32_t position;
        uint32_t allocated;
        uint32_t dataLength;
        uint32_t next;
        uint32_t previous;
        uint32_t type;
        uint32_t number;
    };
    const Resource chain[] = {
        {"anchor", 128, 32, 9, 160, 2240, 0, 0},
        {"definition", 160, 2048, kMgDefinitionMinimum, 2240, 128, 0, 1},
        {"added resource", 2240, 64, 24, 128, 160, 20, 1},
    };
    for (const Resource& r : chain) {
        SCOPED_TRACE(r.what);
        const uint8_t* p = data.data() + r.position;
        EXPECT_EQ(0xFEFE, mgGet16(p));
        EXPECT_EQ(r.allocated, mgGet32(p + 2));
        EXPECT_EQ(r.dataLength, mgGet32(p + 6));
        EXPECT_EQ(0u, mgGet32(p + 10)) << "member id of a plain file";
        EXPECT_EQ(r.next, mgGet32(p + 14));
        EXPECT_EQ(r.previous, mgGet32(p + 18));
        EXPECT_EQ(r.type, mgGet32(p + 22));
        EXPECT_EQ(r.number, mgGet32(p + 26));
    }
    EXPECT_STREQ("first", reinterpret_cast<const char*>(data.data() + 2240 + 30));
    // The definition (type 0, number 1 of a data file): "DM!DEF", its total length, and
    // part 0, the stored set definition, right after the 280-byte part directory: a 36-byte
    // file image, one 32-byte index image, one 6-byte segment, the name "resources" and its
    // NUL, two texts of 64 bytes and two extension texts of 8: 228 bytes used of 232.
    const uint8_t* definition = data.data() + 160 + 22;
    EXPECT_EQ(0, memcmp(definition + 8, "DM!DEF\0\0", 8));
    EXPECT_EQ(uint32_t(kMgDefinitionDirectory + 232), mgGet32(definition + 16)) << "total length";
    EXPECT_EQ(uint32_t(kMgDefinitionDirectory), mgGet32(definition + 24)) << "part 0 at 280";
    EXPECT_EQ(232u, mgGet16(definition + 28)) << "part 0 allocated";
    EXPECT_EQ(36u + 32 + 6 + 10 + 2 * 64 + 2 * 8, mgGet16(definition + 30)) << "part 0 used";
    EXPECT_EQ(Bytes(8 * 31, 0), Bytes(definition + 32, definition + 24 + 8 * 32)) << "no other part";
    const uint8_t* stored = definition + mgGet32(definition + 24);
    EXPECT_EQ(32u, mgGet16(stored + 6)) << "file image: record length";
    EXPECT_EQ(1u, mgGet16(stored + 12)) << "file image: index count";
    EXPECT_EQ(4u, mgGet16(stored + 36 + 0)) << "index image: key length";
    EXPECT_EQ(1u, mgGet16(stored + 36 + 10)) << "index image: segment count";
    EXPECT_EQ(Bytes({1, 0, 4, 0, 8, 0}), Bytes(stored + 68, stored + 74)) << "segment: offset 1, length 4, mode 8";
    EXPECT_STREQ("resources", reinterpret_cast<const char*>(stored + 74));
    // The record after the definition.
    EXPECT_EQ(MakeRecord(1, "", 32, 'r'), Bytes(data.data() + 2208, data.data() + 2240));
}

// The golden files open, read and check with this engine.
TEST(GoldenFiles, OpenAndReadBack)
{
    ScratchFolder folder;
    for (const char* name : kGoldenFiles)
        WriteWholeFile(folder.File(name), ReadWholeFile(GoldenPath(name)));
    {
        Engine engine(16, 16, 32);
        CacheSet cache;
        ASSERT_EQ(0, cache.Open("Cache.dat", 3));
        for (uint32_t id = 1; id <= 3; ++id) {
            Bytes found(2061);
            ASSERT_EQ(0, FindByKey(cache.data + 3, CacheRecord(0, 0, 4 - id), found));
            EXPECT_EQ(CacheRecord(id, 1000 + id, 4 - id), found);
        }
        mgCheckReport report;
        EXPECT_EQ(0, mgCheckFileSet(uint16_t(cache.data), &report)) << report.first;
        EXPECT_EQ(0, mgCheckHost(cache.host, &report)) << report.first;
        EXPECT_EQ(0, cache.Close());
    }
    Engine engine(16, 16, 4);
    int variable = mgOpenFileSetFromResource(-1, "variable.dat", 0);
    ASSERT_GE(variable, 0);
    Bytes found(400);
    for (uint32_t id = 1; id <= 3; ++id) {
        ASSERT_EQ(0, id == 1 ? mgFirstRecord(uint16_t(variable + 1), found.data())
                             : mgNextRecord(uint16_t(variable + 1), found.data()));
        Bytes expected = GoldenVariableRecord(id);
        ASSERT_EQ(expected.size(), mgVariableRecordLength(uint16_t(variable)));
        ASSERT_EQ(0, mgReadVariableRecord(uint16_t(variable), found.data(), int32_t(found.size())));
        EXPECT_EQ(expected, Bytes(found.begin(), found.begin() + long(expected.size())));
    }
    mgCheckReport report;
    EXPECT_EQ(0, mgCheckFileSet(uint16_t(variable), &report)) << report.first;
    EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(variable)));
    int resources = mgOpenFileSetFromResource(-1, "resources.dat", 0);
    ASSERT_GE(resources, 0);
    uint32_t count = 0;
    EXPECT_EQ(0, mgWalkResourceChain(resources, &count));
    EXPECT_EQ(2u, count);
    EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(resources)));
}

} // namespace
