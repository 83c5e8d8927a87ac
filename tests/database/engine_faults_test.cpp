// The engine's answers where its files or its surroundings cannot be trusted: messages and
// the status log (a long message, a log that cannot be opened), internal errors through the
// replaceable exit, damaged nodes that once ended the process, a record deleted twice and
// a broken deleted-record chain, looping resource chains and unterminated names, and
// headers with hostile values. Every case answers a code and leaves the process running.
#include <gtest/gtest.h>

#include <cstring>

#include "database/mgBytes.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgKey.h"
#include "database/mgNode.h"
#include "database/mgRecord.h"
#include "database/mgResource.h"
#include "database/mgRuntime.h"
#include "database/mgSpace.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

using Bytes = std::vector<uint8_t>;

// The status log as text with plain line ends (it is written in text mode).
std::string LogText(const ScratchFolder& folder)
{
    std::string log = folder.ReadLog();
    std::string text;
    for (char c : log)
        if (c != '\r')
            text += c;
    return text;
}

// Makes the status log impossible to open: a folder takes its name.
void BlockStatusLog(const ScratchFolder& folder)
{
    ASSERT_TRUE(CreateDirectoryA(folder.File("MGSTATUS.DMS").c_str(), nullptr));
}

TEST(StatusLog, EntriesCarryTheirCodeAsTheLogSays)
{
    ScratchFolder folder;
    Engine engine;
    EXPECT_EQ(0, mgStatusLog("text only", kMgLogTextOnly));
    EXPECT_EQ(5, mgStatusLog("with a code", 5));
    EXPECT_EQ(kMgLogPlain, mgStatusLog("plain entry", kMgLogPlain));
    EXPECT_EQ(1, mgStatusLog("converted", kMgLogTextOnly - 1));
    EXPECT_EQ(kMgLogOpenTest, mgStatusLog("open test only", kMgLogOpenTest));
    std::string log = LogText(folder);
    EXPECT_NE(std::string::npos, log.find("\ttext only\n"));
    EXPECT_NE(std::string::npos, log.find("\twith a code: 5\n"));
    EXPECT_NE(std::string::npos, log.find("\nplain entry\n"));
    EXPECT_NE(std::string::npos, log.find("\tconverted: 1\n"));
    EXPECT_EQ(std::string::npos, log.find("open test only"));
    EXPECT_TRUE(ShownMessages().empty());
}

TEST(StatusLog, ALogThatCannotBeOpenedIsShownOnceAndTheEngineGoesOn)
{
    ScratchFolder folder;
    BlockStatusLog(folder);
    Engine engine;
    EXPECT_EQ(147, mgStatusLog("mark=ffffx pos=80x", 147));
    EXPECT_EQ(5, mgStatusLog("another", 5));
    ASSERT_EQ(1u, ShownMessages().size());
    EXPECT_EQ("\nDunmere status log failure: mark=ffffx pos=80x (147)\n", ShownMessages()[0]);
    // An engine failure that logs still answers its own code while the log is missing.
    SetDefinition set = TwoIndexSet(folder.File("set"), 64, 0);
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    mgFileControl* data = mgCheckFile(set.def.setFileNumber);
    ASSERT_NE(nullptr, data);
    mgSetH32(data, kHdrDeleteHead, mgFirstRecordPosition(data) + 64 * 9);
    Bytes record = MakeRecord(1, "x");
    EXPECT_EQ(kMgDeleteChainBroken, mgAddRecord(uint16_t(set.def.setFileNumber), record.data()));
    mgSetH32(data, kHdrDeleteHead, 0);
    ASSERT_EQ(0, mgAddRecord(uint16_t(set.def.setFileNumber), record.data()));
    EXPECT_EQ(0, mgCloseFileSet(&set.def));
    EXPECT_EQ(1u, ShownMessages().size()) << "the failure is shown once";
}

TEST(StatusLog, ALongDirectoryMessageIsCutAtTheMessageSize)
{
    ScratchFolder folder;
    BlockStatusLog(folder);
    Engine engine;
    std::string directory(240, 'd');
    mgCopyBounded(mgCtx()->localDirectory, directory.c_str(), sizeof mgCtx()->localDirectory);
    EXPECT_EQ(kMgLogOpenTest, mgStatusLog("probe", kMgLogOpenTest));
    ASSERT_EQ(1u, ShownMessages().size());
    const std::string& shown = ShownMessages()[0];
    EXPECT_EQ(255u, shown.size());
    EXPECT_EQ(0u, shown.find("\nDunmere status log failure:  Please verify that the LOCAL_DIRECTORY\n"
                             "or SERVER_DIRECTORY path (dddd"));
    // Shown once: the next failure of either kind stays quiet.
    mgStatusLog("probe", kMgLogOpenTest);
    mgStatusLog("other", 7);
    EXPECT_EQ(1u, ShownMessages().size());
    mgCtx()->localDirectory[0] = 0;
}

TEST(InternalError, IsShownLoggedAndEndsThroughTheReplaceableExit)
{
    ScratchFolder folder;
    Engine engine;
    mgSetError(46);
    try {
        mgInternalError(7495);
        FAIL() << "an internal error returned";
    } catch (const EngineExit& exit) {
        EXPECT_EQ(7495u, exit.code);
    }
    ASSERT_EQ(1u, ShownMessages().size());
    EXPECT_EQ("\nUnexpected internal m-grove(R) error #7495 (uerr_cod=46)\n", ShownMessages()[0]);
    EXPECT_NE(std::string::npos, LogText(folder).find("\tUnexpected internal m-grove(R) error #7495 (uerr_cod=46)\n"));
}

// A set of one unique 16-byte text index with leading and trailing compression, on
// 512-byte nodes.
struct CompressedSet {
    SetDefinition set;
    uint16_t data = 0;
    int16_t created = -1;
    explicit CompressedSet(const std::string& name)
    {
        set.name = name;
        set.segments = {{{5, 16, 0}}};
        mgIndexDef index{};
        index.keyLength = 16;
        index.keyType = 12;
        set.indexes = {index};
        set.def.dataFileNumber = -1;
        set.def.recordLength = 64;
        set.def.setFileNumber = -1;
        created = mgCreateFileSet(set.Build());
        data = uint16_t(set.def.setFileNumber);
    }
};

// Makes a compressed set of two records keyed "a" and `secondKey` and reads its index
// file into `index`, whose root, at `root`, is its only leaf and holds both keys.
void MakeTwoKeyPackedIndex(const std::string& name, const char* secondKey, Bytes& index, uint32_t& root)
{
    {
        Engine engine(16, 16, 4);
        CompressedSet packed(name);
        ASSERT_EQ(0, packed.created);
        Bytes first = MakeRecord(1, "a");
        Bytes second = MakeRecord(2, secondKey);
        ASSERT_EQ(0, mgAddRecord(packed.data, first.data()));
        ASSERT_EQ(0, mgAddRecord(packed.data, second.data()));
        ASSERT_EQ(0, mgCloseFileSet(&packed.set.def));
    }
    index = ReadWholeFile(name + ".idx");
    root = mgGet32(index.data() + kHdrRootNode);
    ASSERT_LT(root + 512, index.size() + 1);
    ASSERT_EQ(1, index[root + 17]) << "the root is the only leaf";
    ASSERT_EQ(2, mgGet16(index.data() + root + 8));
}

// Entry counts no sound index holds, but that pass the check of a node read: a leading
// count that overlaps the previous entry's trailing pad run. Deleting the entry before it
// once ended the process (internal error 238); now it is a corrupt index.
TEST(DamagedIndex, CompressionCountsThatOverlapAreACorruptIndex)
{
    ScratchFolder folder;
    std::string name = folder.File("packed");
    Bytes index;
    uint32_t root = 0;
    ASSERT_NO_FATAL_FAILURE(MakeTwoKeyPackedIndex(name, "a         zzzzzz", index, root));
    uint8_t* leaf = index.data() + root;
    // As written: "a" (lead 0, trail 15), then the second key (lead 1, trail 0, 15 bytes).
    ASSERT_EQ(28, mgGet16(leaf + 10));
    ASSERT_EQ(Bytes({0, 15, 'a'}), Bytes(leaf + 18 + 4, leaf + 18 + 7));
    ASSERT_EQ(Bytes({1, 0}), Bytes(leaf + 25 + 4, leaf + 25 + 6));
    // Rewritten: the second entry takes 10 bytes of the first key (9 of them its pad run).
    leaf[25 + 4] = 10;
    memcpy(leaf + 25 + 6, "zzzzzz", 6);
    mgPut16(leaf + 10, 7 + 12);
    WriteWholeFile(name + ".idx", index);

    Engine engine(16, 16, 4);
    int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0);
    ASSERT_GE(data, 0) << mgCtx()->isam_code;
    // The damaged entry still reads as the key it stands for.
    Bytes found(64);
    ASSERT_EQ(0, mgLastRecord(uint16_t(data + 1), found.data()));
    EXPECT_EQ(2u, mgGet32(found.data() + 1));
    ASSERT_EQ(0, mgFirstRecord(uint16_t(data + 1), found.data()));
    EXPECT_EQ(1u, mgGet32(found.data() + 1));
    int16_t answer = 0;
    ASSERT_NO_THROW(answer = mgDeleteRecord(uint16_t(data)));
    EXPECT_EQ(kMgCorruptIndex, answer);
    EXPECT_NE(std::string::npos, LogText(folder).find("(238)"));
    // The record is still there and the instance works on.
    EXPECT_EQ(0, mgFirstRecord(uint16_t(data + 1), found.data()));
    EXPECT_EQ(1u, mgGet32(found.data() + 1));
    mgCloseFileSetByNumber(uint16_t(data));
}

// Leading and trailing counts that together pass the stored key's 16 bytes: no sound node
// holds them, and decoding such an entry would copy a negative length. The entry is made
// one byte shorter than its own head, and a third entry starts at its trailing count, so
// that the entries still fill exactly the bytes the node says it uses: only the counts tell
// the damage. Every read of the leaf answers 527; the log names the node; the instance
// works on.
TEST(DamagedIndex, CompressionCountsLongerThanTheKeyAreACorruptIndex)
{
    struct Case {
        const char* why;
        uint8_t lead;
        uint8_t trail;
    };
    const Case cases[] = {
        {"a trailing run one byte too long", 1, 16},
        {"a leading count past the key", 17, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        std::string name = folder.File("packed");
        Bytes index;
        uint32_t root = 0;
        ASSERT_NO_FATAL_FAILURE(MakeTwoKeyPackedIndex(name, "abcdefghijklmnop", index, root));
        uint8_t* leaf = index.data() + root;
        // As written: "a" (pointer, lead 0, trail 15, 1 byte), then the second key
        // (pointer, lead 1, trail 0, 15 bytes).
        ASSERT_EQ(7 + 21, mgGet16(leaf + 10));
        ASSERT_EQ(Bytes({1, 0}), Bytes(leaf + 25 + 4, leaf + 25 + 6));
        ASSERT_EQ(16 + 1, c.lead + c.trail) << "a body of -1 byte";
        // Second entry: pointer, lead, trail and -1 byte of body, 5 bytes. The third starts
        // at the second's trailing count: pointer, lead 1, trail 15 and no body, 6 bytes.
        uint8_t* second = leaf + 18 + 7;
        second[4] = c.lead;
        second[5] = c.trail;
        uint8_t* third = second + 5;
        memset(third + 1, 0, 3);
        third[4] = 1;
        third[5] = 15;
        mgPut16(leaf + 8, 3);
        mgPut16(leaf + 10, 7 + 5 + 6);
        WriteWholeFile(name + ".idx", index);

        Engine engine(16, 16, 4);
        int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0);
        ASSERT_GE(data, 0) << mgCtx()->isam_code;
        uint16_t key = uint16_t(data + 1);
        Bytes found(64);
        Bytes probe = MakeRecord(0, "abcdefghijklmnop");
        uint8_t target[kMgMaxKeyLength + 8];
        ASSERT_EQ(16, mgBuildKey(int16_t(key), probe.data(), target, 0, uint32_t(probe.size())));
        ASSERT_NO_THROW(EXPECT_EQ(kMgCorruptIndex, mgFirstRecord(key, found.data())));
        ASSERT_NO_THROW(EXPECT_EQ(kMgCorruptIndex, mgLastRecord(key, found.data())));
        ASSERT_NO_THROW(EXPECT_EQ(kMgCorruptIndex, mgGetEqualRecord(key, target, found.data())));
        Bytes more = MakeRecord(3, "b");
        ASSERT_NO_THROW(EXPECT_EQ(kMgCorruptIndex, mgAddRecord(uint16_t(data), more.data())));
        EXPECT_NE(std::string::npos, LogText(folder).find("Invalid node counts or entries"));
        mgCloseFileSetByNumber(uint16_t(data));
        SetDefinition other = TwoIndexSet(folder.File("other"), 64, 0);
        ASSERT_EQ(0, mgCreateFileSet(other.Build()));
        Bytes record = MakeRecord(42, "other");
        EXPECT_EQ(0, mgAddRecord(uint16_t(other.def.setFileNumber), record.data()));
        EXPECT_EQ(0, mgCloseFileSet(&other.def));
    }
}

// A split climbs to the parent it passed on the way down and reads it again under its lock;
// in a shared file another program may have changed it meanwhile. Here a sound leaf (a copy
// of the first one) takes the parent's place on disk after each read of one splitting add
// in turn: every answer is a code, never an exit, and at least one is the corrupt index of
// a leaf met where a parent was expected.
TEST(DamagedIndex, AParentTurnedIntoALeafUnderASplitIsACorruptIndex)
{
    ScratchFolder folder;
    std::string name = folder.File("split");
    const std::vector<std::string> files = {name + ".dat", name + ".idx"};
    {
        Engine engine(16, 16, 4);
        SetDefinition set = TwoIndexSet(name, 64, 0);
        ASSERT_EQ(0, mgCreateFileSet(set.Build()));
        for (uint32_t id = 1; id <= 100; ++id) {
            Bytes record = MakeRecord(id, "s");
            ASSERT_EQ(0, mgAddRecord(uint16_t(set.def.setFileNumber), record.data()));
        }
        ASSERT_EQ(0, mgCloseFileSet(&set.def));
    }
    auto rootEntries = [&] {
        Bytes index = ReadWholeFile(files[1]);
        uint32_t root = mgGet32(index.data() + kHdrRootNode);
        return index[root + 17] == 0 ? int(mgGet16(index.data() + root + 8)) : -1;
    };
    ASSERT_GT(rootEntries(), 0) << "the root is a parent";
    // One add at a time until one splits a leaf (the parent gains an entry); the files
    // before that add are kept, and how many reads the add makes.
    std::vector<Bytes> before;
    uint32_t splitting = 0;
    long reads = 0;
    for (uint32_t id = 101; id <= 400 && !splitting; ++id) {
        before = {ReadWholeFile(files[0]), ReadWholeFile(files[1])};
        int entries = rootEntries();
        Engine engine(16, 16, 4);
        int data = mgOpenFileSetFromResource(-1, files[0].c_str(), kMgModeShared);
        ASSERT_GE(data, 0) << mgCtx()->isam_code;
        {
            FaultyIo io;
            io.Plan(FaultPlan{});
            Bytes record = MakeRecord(id, "s");
            ASSERT_EQ(0, mgAddRecord(uint16_t(data), record.data()));
            reads = io.Reads();
        }
        ASSERT_EQ(0, mgCloseFileSetByNumber(uint16_t(data)));
        if (rootEntries() > entries)
            splitting = id;
    }
    ASSERT_NE(0u, splitting) << "no add split a leaf";
    int corrupt = 0;
    size_t logged = LogText(folder).size();
    for (long n = 1; n <= reads; ++n) {
        SCOPED_TRACE("the parent turns into a leaf after read " + std::to_string(n) + " of " + std::to_string(reads));
        for (size_t i = 0; i < files.size(); ++i)
            WriteWholeFile(files[i], before[i]);
        Engine engine(16, 16, 4);
        int data = mgOpenFileSetFromResource(-1, files[0].c_str(), kMgModeShared);
        ASSERT_GE(data, 0) << mgCtx()->isam_code;
        int16_t answer = -1;
        {
            FaultyIo io;
            FaultPlan plan;
            plan.afterReadAt = n;
            plan.afterRead = [&] {
                HANDLE file = CreateFileA(files[1].c_str(), GENERIC_READ | GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
                ASSERT_NE(INVALID_HANDLE_VALUE, file);
                const uint8_t* header = before[1].data();
                const uint8_t* leaf = header + mgGet32(header + kHdrFirstLeaf);
                DWORD done = 0;
                OVERLAPPED at{};
                at.Offset = mgGet32(header + kHdrRootNode);
                EXPECT_TRUE(WriteFile(file, leaf, mgGet16(header + kHdrNodeSizeCode), &done, &at));
                CloseHandle(file);
            };
            io.Plan(plan);
            Bytes record = MakeRecord(splitting, "s");
            ASSERT_NO_THROW(answer = mgAddRecord(uint16_t(data), record.data()));
        }
        EXPECT_TRUE(answer == 0 || answer == kMgCorruptIndex) << answer;
        std::string log = LogText(folder);
        if (answer == kMgCorruptIndex && log.find("(9495)", logged) != std::string::npos)
            ++corrupt;
        logged = log.size();
        ASSERT_NO_THROW(mgCloseFileSetByNumber(uint16_t(data)));
    }
    EXPECT_GT(corrupt, 0) << "no add met the leaf where it climbed to the parent";
}

// A parent whose child pointer is 0: every walk down the tree answers 527, never an exit.
TEST(DamagedIndex, AChildPointerOfZeroIsACorruptIndex)
{
    ScratchFolder folder;
    std::string name = folder.File("tree");
    {
        Engine engine(16, 16, 4);
        SetDefinition set = TwoIndexSet(name, 64, 0);
        ASSERT_EQ(0, mgCreateFileSet(set.Build()));
        for (uint32_t i = 0; i < 300; ++i) {
            Bytes record = MakeRecord(i, "t" + std::to_string(i % 7));
            ASSERT_EQ(0, mgAddRecord(uint16_t(set.def.setFileNumber), record.data()));
        }
        ASSERT_EQ(0, mgCloseFileSet(&set.def));
    }
    Bytes index = ReadWholeFile(name + ".idx");
    uint32_t root = mgGet32(index.data() + kHdrRootNode);
    ASSERT_GT(root, 0u);
    ASSERT_EQ(0, index[root + 17]) << "the root is a parent";
    mgPut32(index.data() + root + 18, 0);
    WriteWholeFile(name + ".idx", index);

    Engine engine(16, 16, 4);
    int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0);
    ASSERT_GE(data, 0);
    uint16_t first = uint16_t(data + 1);
    uint8_t low[4] = {0x80, 0, 0, 0};
    uint8_t high[4] = {0x80, 0, 0, 200};
    uint8_t key[8];
    Bytes found(64);
    ASSERT_NO_THROW(EXPECT_EQ(0, RNGENT(first, low, high)));
    EXPECT_EQ(kMgCorruptIndex, mgCtx()->uerr_cod);
    ASSERT_NO_THROW(EXPECT_EQ(0u, mgKeyAtPercent(first, key, 1)));
    EXPECT_EQ(kMgCorruptIndex, mgCtx()->uerr_cod);
    ASSERT_NO_THROW(EXPECT_EQ(kMgCorruptIndex, FindByKey(first, MakeRecord(3, ""), found)));
    ASSERT_NO_THROW(EXPECT_EQ(kMgCorruptIndex, mgFirstRecord(first, found.data())));
    // The smallest key goes down through the broken entry.
    Bytes more = MakeRecord(0xFFFFFFF0u, "more");
    ASSERT_NO_THROW(EXPECT_EQ(kMgCorruptIndex, mgAddRecord(uint16_t(data), more.data())));
    std::string log = LogText(folder);
    EXPECT_NE(std::string::npos, log.find("No leaf node found"));
    EXPECT_NE(std::string::npos, log.find("mgKeyAtPercent (250)"));
    // The other index of the file is unharmed.
    EXPECT_EQ(0, mgFirstRecord(uint16_t(data + 2), found.data()));
    mgCloseFileSetByNumber(uint16_t(data));
}

struct FixedSet {
    SetDefinition set;
    uint16_t data = 0;
    explicit FixedSet(const std::string& name) : set(TwoIndexSet(name, 64, 0)) {}
    int16_t Create(int records)
    {
        if (int16_t error = mgCreateFileSet(set.Build()))
            return error;
        data = uint16_t(set.def.setFileNumber);
        for (int i = 0; i < records; ++i) {
            Bytes record = MakeRecord(uint32_t(i + 1), "r" + std::to_string(i));
            if (int16_t error = mgAddRecord(data, record.data()))
                return error;
        }
        return 0;
    }
    // Makes record `id` current; its position.
    uint32_t Find(uint32_t id)
    {
        Bytes found(64);
        if (FindByKey(data + 1, MakeRecord(id, ""), found) != 0)
            return 0;
        return mgCurrentPosition(data);
    }
};

// A record deleted before, but no longer heading the chain, freed again: it would be linked
// twice, the chain would loop and one position would be handed out twice.
TEST(DeletedChain, ARecordDeletedTwiceIsRefusedAndTheChainStaysWhole)
{
    ScratchFolder folder;
    Engine engine;
    FixedSet set(folder.File("twice"));
    ASSERT_EQ(0, set.Create(5));
    uint32_t second = set.Find(2);
    ASSERT_NE(0u, second);
    ASSERT_EQ(0, mgDeleteRecord(set.data));
    ASSERT_NE(0u, set.Find(4));
    ASSERT_EQ(0, mgDeleteRecord(set.data));
    mgFileControl* f = mgCheckFile(set.data);
    ASSERT_NE(second, mgH32(f, kHdrDeleteHead)) << "record 2 is on the chain, not at its head";
    uint32_t count = mgH32(f, kHdrEntryCount);
    EXPECT_EQ(kMgAlreadyDeleted, mgFreeRecord(f, second, 1));
    EXPECT_EQ(kMgAlreadyDeleted, mgFreeRecord(f, mgH32(f, kHdrDeleteHead), 1));
    EXPECT_EQ(count, mgH32(f, kHdrEntryCount));
    // Three adds: the two freed positions, then a new one; never one position twice.
    std::vector<uint32_t> positions;
    for (uint32_t id = 10; id < 13; ++id) {
        Bytes record = MakeRecord(id, "new");
        ASSERT_EQ(0, mgAddRecord(set.data, record.data()));
        positions.push_back(mgCurrentPosition(set.data));
    }
    EXPECT_NE(positions[0], positions[1]);
    EXPECT_NE(positions[1], positions[2]);
    EXPECT_NE(positions[0], positions[2]);
    for (uint32_t id : {1u, 3u, 5u, 10u, 11u, 12u})
        EXPECT_NE(0u, set.Find(id)) << id;
    EXPECT_EQ(0, mgCloseFileSet(&set.set.def));
}

TEST(DeletedChain, ABrokenChainIsAnErrorNotAReuse)
{
    struct Case {
        const char* why;
        // Damages the chain of a file whose chain holds records 2 (head) and 4.
        std::function<void(Bytes& file, uint32_t head, uint32_t next, uint32_t headerAt)> damage;
    };
    const Case cases[] = {
        {"the head is not marked deleted",
         [](Bytes& b, uint32_t head, uint32_t, uint32_t) { b[head] = 0; }},
        {"a link to itself",
         [](Bytes& b, uint32_t head, uint32_t, uint32_t) { mgPut32(b.data() + head + 1, head); }},
        {"a link outside the file",
         [](Bytes& b, uint32_t head, uint32_t, uint32_t) { mgPut32(b.data() + head + 1, 0x7FFFFF00); }},
        {"a link between records",
         [](Bytes& b, uint32_t head, uint32_t next, uint32_t) { mgPut32(b.data() + head + 1, next + 3); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        std::string name = folder.File("chain");
        uint32_t head = 0;
        uint32_t next = 0;
        {
            Engine engine;
            FixedSet set(name);
            ASSERT_EQ(0, set.Create(6));
            next = set.Find(4);
            ASSERT_EQ(0, mgDeleteRecord(set.data));
            head = set.Find(2);
            ASSERT_EQ(0, mgDeleteRecord(set.data));
            ASSERT_EQ(0, mgCloseFileSet(&set.set.def));
        }
        Bytes file = ReadWholeFile(name + ".dat");
        ASSERT_EQ(head, mgGet32(file.data() + kHdrDeleteHead));
        c.damage(file, head, next, 0);
        WriteWholeFile(name + ".dat", file);
        Engine engine;
        int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0);
        ASSERT_GE(data, 0) << mgCtx()->isam_code;
        Bytes record = MakeRecord(77, "added");
        int16_t answer = 0;
        ASSERT_NO_THROW(answer = mgAddRecord(uint16_t(data), record.data()));
        EXPECT_EQ(kMgDeleteChainBroken, answer);
        EXPECT_NE(std::string::npos, LogText(folder).find("Deleted-record chain broken"));
        // Nothing live was overwritten.
        Bytes found(64);
        int live = 0;
        for (int16_t a = mgFirstRecord(uint16_t(data + 1), found.data()); a == 0;
             a = mgNextRecord(uint16_t(data + 1), found.data()))
            ++live;
        EXPECT_EQ(4, live);
        mgCloseFileSetByNumber(uint16_t(data));
    }
}

// A data file with three resources of type 20 after the anchor and its stored definition
// (type 1); the file's bytes and the positions of the anchor and the resources in chain
// order, the definition first.
struct ResourceFile {
    Bytes bytes;
    uint32_t anchor = 0;
    std::vector<uint32_t> resources;
};

ResourceFile MakeResourceFile(const std::string& name, const std::string& longName = "")
{
    ResourceFile out;
    Engine engine;
    FixedSet set(name);
    EXPECT_EQ(0, set.Create(2));
    for (uint32_t number = 1; number <= 3; ++number) {
        Bytes data(8 + 40, 0);
        mgPut32(data.data(), 20);
        mgPut32(data.data() + 4, number);
        snprintf(reinterpret_cast<char*>(data.data() + 8), 40, "resource %u", number);
        EXPECT_EQ(0, mgAddResource(set.data, data.data(), uint32_t(data.size())));
    }
    if (!longName.empty()) {
        Bytes data(8 + longName.size(), 0);
        mgPut32(data.data(), 21);
        mgPut32(data.data() + 4, 1);
        memcpy(data.data() + 8, longName.data(), longName.size());
        EXPECT_EQ(0, mgAddResource(set.data, data.data(), uint32_t(data.size())));
    }
    EXPECT_EQ(0, mgCloseFileSet(&set.set.def));
    out.bytes = ReadWholeFile(name + ".dat");
    out.anchor = mgGet32(out.bytes.data() + kHdrResourceAnchor);
    uint32_t at = mgGet32(out.bytes.data() + out.anchor + 14);
    for (int guard = 0; at != out.anchor && guard < 16; ++guard) {
        out.resources.push_back(at);
        at = mgGet32(out.bytes.data() + at + 14);
    }
    return out;
}

TEST(ResourceChain, ALoopingOrBrokenChainEndsTheWalkWith407)
{
    struct Case {
        const char* why;
        std::function<void(ResourceFile&)> damage;
    };
    const Case cases[] = {
        {"the last resource links back to the first",
         [](ResourceFile& r) { mgPut32(r.bytes.data() + r.resources[3] + 14, r.resources[1]); }},
        {"a resource links to itself both ways",
         [](ResourceFile& r) {
             mgPut32(r.bytes.data() + r.resources[2] + 14, r.resources[2]);
             mgPut32(r.bytes.data() + r.resources[2] + 18, r.resources[2]);
         }},
        {"a link outside the file", [](ResourceFile& r) { mgPut32(r.bytes.data() + r.resources[2] + 14, 0xFFFF0000); }},
        {"a mark that is not a resource's", [](ResourceFile& r) { mgPut16(r.bytes.data() + r.resources[3], 0xFAFA); }},
        {"the stored definition's link outside the file",
         [](ResourceFile& r) { mgPut32(r.bytes.data() + r.resources[0] + 14, 0xFFFF0000); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        std::string name = folder.File("res");
        ResourceFile file = MakeResourceFile(name);
        ASSERT_EQ(4u, file.resources.size());
        c.damage(file);
        WriteWholeFile(name + ".dat", file.bytes);
        Engine engine;
        int data = -1;
        ASSERT_NO_THROW(data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0));
        if (data < 0) {
            // The chain is walked to find the stored definition: the open itself refuses.
            EXPECT_NE(0, mgCtx()->isam_code);
            continue;
        }
        uint32_t count = 0;
        EXPECT_EQ(kMgNoResourceRecord, mgWalkResourceChain(data, &count));
        uint8_t key[8];
        mgPut32(key, 99);
        mgPut32(key + 4, 1);
        Bytes buffer(64);
        uint32_t length = 0;
        ASSERT_NO_THROW(EXPECT_EQ(0u, mgGetResource(data, key, buffer.data(), 64, kMgFindTypeNumber, &length)));
        EXPECT_EQ(kMgNoResourceRecord, mgCtx()->uerr_cod);
        Bytes added(16, 0);
        mgPut32(added.data(), 99);
        mgPut32(added.data() + 4, 1);
        ASSERT_NO_THROW(EXPECT_EQ(kMgNoResourceRecord, mgAddResource(data, added.data(), 16)));
        mgCloseFileSetByNumber(uint16_t(data));
    }
}

TEST(ResourceChain, NamesAreComparedOverAtMost64Bytes)
{
    ScratchFolder folder;
    std::string name = folder.File("names");
    // A stored name of 70 characters without its terminator, at the end of its resource.
    MakeResourceFile(name, std::string(70, 'n'));
    Engine engine;
    int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0);
    ASSERT_GE(data, 0);
    Bytes buffer(128);
    uint32_t length = 0;
    std::string search(64, 'n');
    EXPECT_EQ(0u, mgGetResource(data, search.c_str(), buffer.data(), 128, kMgFindName, &length));
    EXPECT_EQ(kMgResourceNotFound, mgCtx()->uerr_cod);
    std::string longer(100, 'n');
    EXPECT_EQ(0u, mgGetResource(data, longer.c_str(), buffer.data(), 128, kMgFindName, &length));
    // A name stored with its terminator is found.
    EXPECT_NE(0u, mgGetResource(data, "resource 2", buffer.data(), 128, kMgFindName, &length));
    EXPECT_EQ(2u, mgGet32(buffer.data() + 4));
    mgCloseFileSetByNumber(uint16_t(data));
}

// Header values a sound file never holds: the open refuses the file with 13 (or the code
// the value has of its own), leaves it as it is, and the instance works on.
TEST(HostileHeader, IsRefusedAtOpenAndLeftAsItIs)
{
    struct Case {
        const char* why;
        const char* file; // ".dat" or ".idx"
        std::function<void(Bytes&)> damage;
        uint16_t code;
    };
    const Case cases[] = {
        {"record length 0, a divisor", ".dat", [](Bytes& b) { mgPut16(b.data() + kHdrRecordLength, 0); }, kMgBadHeader},
        {"record length below 5", ".dat", [](Bytes& b) { mgPut16(b.data() + kHdrRecordLength, 4); }, kMgBadHeader},
        {"logical end beyond the file", ".dat",
         [](Bytes& b) {
             mgPut32(b.data() + kHdrLogicalEnd, uint32_t(b.size()) + 4096);
             mgPut32(b.data() + kHdrPhysicalEnd, uint32_t(b.size()) + 4096);
         },
         kMgBadHeader},
        {"logical end above the physical end", ".dat",
         [](Bytes& b) { mgPut32(b.data() + kHdrPhysicalEnd, mgGet32(b.data() + kHdrLogicalEnd) - 1); }, kMgBadHeader},
        {"logical end inside the header", ".dat", [](Bytes& b) { mgPut32(b.data() + kHdrLogicalEnd, 20); },
         kMgBadHeader},
        {"delete head outside the file", ".dat", [](Bytes& b) { mgPut32(b.data() + kHdrDeleteHead, 0x40000000); },
         kMgBadHeader},
        {"delete head between records", ".dat", [](Bytes& b) { mgPut32(b.data() + kHdrDeleteHead, 128 + 64 + 3); },
         kMgBadHeader},
        {"resource anchor outside the file", ".dat",
         [](Bytes& b) { mgPut32(b.data() + kHdrResourceAnchor, 0x30000000); }, kMgBadHeader},
        {"pointer size other than 4", ".dat", [](Bytes& b) { b[kHdrAttributeBytes + 2] = 8; }, kMgBadHeader},
        {"unknown file kind", ".dat", [](Bytes& b) { mgPut16(b.data() + kHdrFileKind, 7); }, kMgBadHeader},
        {"header stored elsewhere", ".dat", [](Bytes& b) { mgPut32(b.data() + kHdrHeaderPosition, 128); },
         kMgBadHeader},
        {"another format version", ".dat", [](Bytes& b) { mgPut16(b.data() + kHdrFormatVersion, 130); }, kMgBadVersion},
        {"refused mark", ".dat", [](Bytes& b) { b[kHdrUpdateFlag] = 'c'; }, kMgFileRefused},
        {"recovery mark", ".dat", [](Bytes& b) { mgPut32(b.data() + kHdrRecoveryMark, 1); }, kMgRecoveryMark},
        {"truncated below its logical end", ".dat", [](Bytes& b) { b.resize(b.size() - 100); }, kMgBadHeader},
        {"shorter than a header", ".dat", [](Bytes& b) { b.resize(100); }, kMgBadHeader},
        {"root node outside the file", ".idx", [](Bytes& b) { mgPut32(b.data() + kHdrRootNode, 0x00F00000); },
         kMgBadHeader},
        {"root node off the node grid", ".idx",
         [](Bytes& b) { mgPut32(b.data() + kHdrRootNode, mgGet32(b.data() + kHdrRootNode) + 7); }, kMgBadHeader},
        {"first leaf outside the file", ".idx", [](Bytes& b) { mgPut32(b.data() + kHdrFirstLeaf, 0x00F00000); },
         kMgBadHeader},
        {"a member's root outside the file", ".idx",
         [](Bytes& b) { mgPut32(b.data() + 128 + kHdrRootNode, 0x00F00000); }, kMgBadHeader},
        {"node size not the one of its limits", ".idx", [](Bytes& b) { mgPut16(b.data() + kHdrNodeSizeCode, 256); },
         kMgBadHeader},
        {"node limits that do not match the key", ".idx", [](Bytes& b) { mgPut16(b.data() + kHdrLeafLimit, 9000); },
         kMgBadHeader},
        {"key length above the limit", ".idx", [](Bytes& b) { mgPut16(b.data() + kHdrKeyLength, 2000); },
         kMgKeyTooLong},
        {"compression bits the engine refuses", ".idx", [](Bytes& b) { b[128 + kHdrKeyFlags] |= 1; }, kMgBadKeyType},
        {"more members than an index file holds", ".idx", [](Bytes& b) { mgPut16(b.data() + kHdrMemberCount, 40); },
         kMgBadMemberCount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        std::string name = folder.File("hostile");
        {
            Engine engine(16, 16, 4);
            FixedSet set(name);
            ASSERT_EQ(0, set.Create(150));
            ASSERT_NE(0u, set.Find(3));
            ASSERT_EQ(0, mgDeleteRecord(set.data));
            ASSERT_EQ(0, mgCloseFileSet(&set.set.def));
        }
        std::string damaged = name + c.file;
        Bytes bytes = ReadWholeFile(damaged);
        c.damage(bytes);
        WriteWholeFile(damaged, bytes);
        Engine engine(16, 16, 4);
        int data = 0;
        ASSERT_NO_THROW(data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0));
        EXPECT_LT(data, 0);
        EXPECT_EQ(c.code, mgCtx()->isam_code);
        EXPECT_EQ(bytes, ReadWholeFile(damaged)) << "a refused file was changed";
        // Nothing stays open: another set is made and used in the same instance.
        FixedSet other(folder.File("other"));
        ASSERT_EQ(0, other.Create(3));
        EXPECT_NE(0u, other.Find(2));
        EXPECT_EQ(0, mgCloseFileSet(&other.set.def));
    }
}

// A file whose kind is none of fixed, index or variable, opened on its own (not as a set,
// where the definition's own checks would refuse it first): refused with 13 and left as it
// is, never opened as a file no call can use.
TEST(HostileHeader, AFileOfUnknownKindIsRefusedWhenOpenedAlone)
{
    ScratchFolder folder;
    std::string name = folder.File("single");
    {
        Engine engine(16, 16, 4);
        SetDefinition set = TwoIndexSet(name, 64, 0);
        set.indexes.resize(1);
        set.segments.resize(1);
        ASSERT_EQ(0, mgCreateFileSet(set.Build()));
        for (uint32_t id = 1; id <= 20; ++id) {
            Bytes record = MakeRecord(id, "single");
            ASSERT_EQ(0, mgAddRecord(uint16_t(set.def.setFileNumber), record.data()));
        }
        ASSERT_EQ(0, mgCloseFileSet(&set.def));
    }
    std::string index = name + ".idx";
    const Bytes sound = ReadWholeFile(index);
    ASSERT_EQ(0, mgGet16(sound.data() + kHdrMemberCount)) << "an index file without members";
    for (uint16_t kind : {3, 7, 0xFFFF}) {
        SCOPED_TRACE("kind " + std::to_string(kind));
        Bytes bytes = sound;
        mgPut16(bytes.data() + kHdrFileKind, kind);
        WriteWholeFile(index, bytes);
        Engine engine(16, 16, 4);
        EXPECT_EQ(kMgBadHeader, mgOpenFile(3, index.c_str(), 0));
        EXPECT_EQ(bytes, ReadWholeFile(index)) << "a refused file was changed";
        WriteWholeFile(index, sound);
        EXPECT_EQ(0, mgOpenFile(3, index.c_str(), 0)) << "the sound file opens on the same number";
        EXPECT_EQ(0, mgCloseFile(3, 0));
    }
}

} // namespace
