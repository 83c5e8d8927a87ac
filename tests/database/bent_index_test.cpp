// A multi-level index damaged in place: leaf links bent back to the same or an earlier
// leaf (both directions) or past a leaf, leaf entries whose record positions are not
// records, entry counts beyond what a leaf holds. Every walk, look-up and count over the
// damaged index must answer the corrupt-index error within a bound, or the right records:
// never a walk that repeats or skips records, nor a record lost while the calls answer 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "cache_set_support.h"
#include "database/mgBytes.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgKey.h"
#include "database/mgNode.h"
#include "database/mgRecord.h"
#include "database/mgSpace.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

using Bytes = std::vector<uint8_t>;

struct BentLeaf {
    uint32_t position;
    int count;
};

// What a damage needs to know of the index as it was written.
struct BentTree {
    std::vector<BentLeaf> leaves;
    int levels = 0;
    uint16_t leafLimit = 0;
    int entrySize = 0;    // pointer and key of index A
    uint32_t dataEnd = 0; // the data's logical end
};

// The leaves of an index from left to right, read through the node cache.
BentTree ReadBentTree(int indexFile, int dataFile)
{
    BentTree tree;
    mgFileControl* f = mgCheckFile(indexFile);
    mgNode* node = f ? mggetnod(0, mgRootNode(f), f) : nullptr;
    for (tree.levels = 1; node && !mgIsLeaf(node); ++tree.levels)
        node = mggetnod(0, mgEntryPointer(node, 1), f);
    while (node) {
        tree.leaves.push_back({node->position, mgNumrec(node)});
        uint32_t next = mgSucesr(node);
        node = next ? mggetnod(0, next, f) : nullptr;
    }
    tree.leafLimit = mgH16(f, kHdrLeafLimit);
    tree.entrySize = 4 + mgKeyLength(f);
    tree.dataEnd = mgH32(mgSpaceFile(mgCheckFile(dataFile)), kHdrLogicalEnd);
    return tree;
}

using LeafBend = std::function<void(Bytes& file, const BentTree& tree)>;

struct LeafDamage {
    const char* why;
    LeafBend bend;
};

uint32_t MiddleLeaf(const BentTree& tree)
{
    return tree.leaves[tree.leaves.size() / 2].position;
}

// Entry 2 of the middle leaf: its record pointer.
uint8_t* SecondPointer(Bytes& file, const BentTree& tree)
{
    return file.data() + MiddleLeaf(tree) + kMgNodeHeader + tree.entrySize;
}

const LeafDamage kDamages[] = {
    {"a right link to its own leaf", [](Bytes& file, const BentTree& t) { mgPut32(file.data() + MiddleLeaf(t), MiddleLeaf(t)); }},
    {"a right link back to the second leaf",
     [](Bytes& file, const BentTree& t) { mgPut32(file.data() + MiddleLeaf(t), t.leaves[1].position); }},
    {"a right link past the next leaf",
     [](Bytes& file, const BentTree& t) {
         mgPut32(file.data() + MiddleLeaf(t), t.leaves[t.leaves.size() / 2 + 2].position);
     }},
    {"a left link to its own leaf", [](Bytes& file, const BentTree& t) { mgPut32(file.data() + MiddleLeaf(t) + 4, MiddleLeaf(t)); }},
    {"a left link forward to a later leaf",
     [](Bytes& file, const BentTree& t) {
         mgPut32(file.data() + MiddleLeaf(t) + 4, t.leaves[t.leaves.size() / 2 + 3].position);
     }},
    {"a record position past the data's end",
     [](Bytes& file, const BentTree& t) { mgPut32(SecondPointer(file, t), t.dataEnd + 4096); }},
    {"a record position off a record's start",
     [](Bytes& file, const BentTree& t) {
         uint8_t* pointer = SecondPointer(file, t);
         mgPut32(pointer, mgGet32(pointer) + 3);
     }},
    {"a record position of 0", [](Bytes& file, const BentTree& t) { mgPut32(SecondPointer(file, t), 0); }},
    {"an entry count beyond what a leaf holds",
     [](Bytes& file, const BentTree& t) { mgPut16(file.data() + MiddleLeaf(t) + 8, 0xFFFF); }},
    {"an entry count beyond the entries written, bytes used to match",
     [](Bytes& file, const BentTree& t) {
         int count = t.leafLimit / t.entrySize;
         mgPut16(file.data() + MiddleLeaf(t) + 8, uint32_t(count));
         mgPut16(file.data() + MiddleLeaf(t) + 10, uint32_t(count * t.entrySize));
     }},
};

// The 527 answers met since the count was last cleared: a damage no call noticed would
// leave every check above empty.
int g_corruptAnswers = 0;

uint32_t BentId(const Bytes& record)
{
    return mgGet32(record.data() + 1);
}

// Walks the whole index in one direction: the records in strictly rising (falling) key
// order, each once, then 101; or a 527 on the way. Nothing else, and within as many
// steps as there are records.
void ExpectWalkIsWholeOrCorrupt(uint16_t index, size_t recordLength, uint32_t records, bool forward, bool damaged)
{
    SCOPED_TRACE(forward ? "walk forward" : "walk backward");
    Bytes record(recordLength);
    int16_t answer = forward ? mgFirstRecord(index, record.data()) : mgLastRecord(index, record.data());
    uint32_t seen = 0;
    int64_t previous = forward ? -1 : int64_t(records) + 1;
    while (answer == 0 && seen <= records) {
        int64_t id = BentId(record);
        ASSERT_TRUE(forward ? id > previous : id < previous) << "record " << id << " after " << previous;
        previous = id;
        ++seen;
        answer = forward ? mgNextRecord(index, record.data()) : mgPreviousRecord(index, record.data());
    }
    if (answer == kMgNoRecord) {
        EXPECT_EQ(records, seen) << "a walk that ends as a sound one must have met every record";
    } else {
        EXPECT_TRUE(damaged) << "a sound index answered " << answer;
        EXPECT_EQ(kMgCorruptIndex, answer) << "after " << seen << " records";
        ++g_corruptAnswers;
    }
}

// Every record found by its key, or a 527; a range count and the percentages are the
// truth or a 527.
void ExpectLookupsAndCountsRightOrCorrupt(uint16_t index, size_t recordLength, uint32_t records, bool damaged)
{
    Bytes found(recordLength);
    for (uint32_t id = 1; id <= records; ++id) {
        int16_t answer = FindByKey(index, MakeRecord(id, ""), found);
        if (answer == 0) {
            ASSERT_EQ(id, BentId(found));
        } else {
            ASSERT_TRUE(damaged) << "a sound index answered " << answer;
            ASSERT_EQ(kMgCorruptIndex, answer) << "record " << id;
            ++g_corruptAnswers;
        }
    }
    uint8_t low[8];
    uint8_t high[8];
    ASSERT_EQ(4, mgBuildKey(int16_t(index), MakeRecord(1, "").data(), low, 0, 64));
    ASSERT_EQ(4, mgBuildKey(int16_t(index), MakeRecord(records, "").data(), high, 0, 64));
    int32_t counted = RNGENT(index, low, high);
    if (counted != int32_t(records)) {
        EXPECT_TRUE(damaged);
        EXPECT_EQ(0, counted);
        EXPECT_EQ(kMgCorruptIndex, mgCtx()->uerr_cod);
    }
    for (int16_t percent : {0, 37, 50, 99, 100}) {
        uint8_t key[8];
        uint32_t position = mgKeyAtPercent(index, key, percent);
        if (position == 0) {
            EXPECT_TRUE(damaged);
            EXPECT_EQ(kMgCorruptIndex, mgCtx()->uerr_cod) << percent << "%";
        }
    }
}

// On a damaged index each call may answer 527 instead, and one at least does; on a sound
// one none may.
void ExpectEveryCallRightOrCorrupt(uint16_t index, size_t recordLength, uint32_t records, bool damaged = true)
{
    DWORD start = GetTickCount();
    g_corruptAnswers = 0;
    ExpectWalkIsWholeOrCorrupt(index, recordLength, records, true, damaged);
    ExpectWalkIsWholeOrCorrupt(index, recordLength, records, false, damaged);
    ExpectLookupsAndCountsRightOrCorrupt(index, recordLength, records, damaged);
    EXPECT_LT(GetTickCount() - start, 10000u) << "every call ends within its bound";
    if (damaged) {
        EXPECT_GT(g_corruptAnswers, 0) << "the walks pass the damage: one of them must meet it";
    }
}

// Ids 1..n in an order of their own, so that leaves split where a program's would.
std::vector<uint32_t> BentIds(uint32_t n)
{
    std::vector<uint32_t> ids(n);
    for (uint32_t i = 0; i < n; ++i)
        ids[i] = i + 1;
    std::shuffle(ids.begin(), ids.end(), std::mt19937(30));
    return ids;
}

constexpr uint32_t kRecords = 3000;

// The test sets' layout with 256-byte nodes: three levels, about a hundred leaves.
class PlainSet {
  public:
    explicit PlainSet(const ScratchFolder& folder) : name_(folder.File("bent"))
    {
        Engine engine(16, 16, 2);
        SetDefinition set = TwoIndexSet(name_, 64, 0);
        EXPECT_EQ(0, mgCreateFileSet(set.Build()));
        uint16_t data = uint16_t(set.def.setFileNumber);
        for (uint32_t id : BentIds(kRecords)) {
            Bytes record = MakeRecord(id, "r" + std::to_string(id % 50));
            EXPECT_EQ(0, mgAddRecord(data, record.data())) << id;
        }
        tree_ = ReadBentTree(data + 1, data);
        EXPECT_EQ(0, mgCloseFileSet(&set.def));
        original_ = ReadWholeFile(name_ + ".idx");
    }
    const BentTree& Shape() const
    {
        return tree_;
    }
    void Bend(const LeafBend& bend) const
    {
        Bytes file = original_;
        bend(file, tree_);
        WriteWholeFile(name_ + ".idx", file);
    }
    int Open() const
    {
        return mgOpenFileSetFromResource(-1, (name_ + ".dat").c_str(), 0);
    }

  private:
    std::string name_;
    BentTree tree_;
    Bytes original_;
};

} // namespace

TEST(BentIndex, EveryWalkLookupAndCountIsRightOrACorruptIndex)
{
    ScratchFolder folder;
    PlainSet set(folder);
    ASSERT_EQ(3, set.Shape().levels);
    ASSERT_GT(set.Shape().leaves.size(), 60u);
    for (const LeafDamage& damage : kDamages) {
        SCOPED_TRACE(damage.why);
        set.Bend(damage.bend);
        Engine engine(16, 16, 2);
        int data = set.Open();
        ASSERT_GE(data, 0) << mgCtx()->isam_code;
        ExpectEveryCallRightOrCorrupt(uint16_t(data + 1), 64, kRecords);
        EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(data)));
    }
}

// The undamaged set answers every call with its records: the checks above find no fault
// where there is none.
TEST(BentIndex, TheSoundSetAnswersEveryCall)
{
    ScratchFolder folder;
    PlainSet set(folder);
    set.Bend([](Bytes&, const BentTree&) {});
    Engine engine(16, 16, 2);
    int data = set.Open();
    ASSERT_GE(data, 0);
    ExpectEveryCallRightOrCorrupt(uint16_t(data + 1), 64, kRecords, false);
    mgCloseFileSetByNumber(uint16_t(data));
}

// The program's cache layout: records inside a superfile host, the indexes its members,
// opened shared as the binding opens it, so that every node is read again on every fetch.
TEST(BentIndex, TheCacheLayoutOpenedSharedIsRightOrACorruptIndex)
{
    ScratchFolder folder;
    std::string path = folder.File("Cache.dat");
    constexpr uint32_t kCacheRecords = 1500;
    BentTree tree;
    {
        Engine engine(16, 16, 8);
        ASSERT_EQ(0, CreateCacheSet(path));
        CacheSet set;
        ASSERT_EQ(0, set.Open(path, 3));
        for (uint32_t id : BentIds(kCacheRecords)) {
            Bytes record = CacheRecord(id, 1000 + id, 5000 - id);
            ASSERT_EQ(0, mgAddRecord(uint16_t(set.data), record.data())) << id;
        }
        tree = ReadBentTree(set.data + 1, set.data);
        ASSERT_EQ(0, set.Close());
    }
    ASSERT_GE(tree.levels, 2);
    ASSERT_GT(tree.leaves.size(), 8u);
    Bytes original = ReadWholeFile(path);
    for (const LeafDamage& damage : kDamages) {
        SCOPED_TRACE(damage.why);
        Bytes file = original;
        damage.bend(file, tree);
        WriteWholeFile(path, file);
        Engine engine(16, 16, 8);
        CacheSet set;
        ASSERT_EQ(0, set.Open(path, 3));
        ExpectEveryCallRightOrCorrupt(uint16_t(set.data + 1), 2061, kCacheRecords);
        EXPECT_EQ(0, set.Close());
    }
}
