// The data buffers keep blocks of files no other handle can change: a record read again
// costs no read of the disk, a rewrite goes into its block and reaches the disk when the
// file is flushed or closed or the buffer is reused, a write-back cut short leaves the
// disk's bytes to be read and the file refused at the next open, closing forgets the
// file's blocks, and a shared file is read from the disk every time.
#include <gtest/gtest.h>

#include "database/mgContext.h"
#include "database/mgErrors.h"
#include "database/mgFileSet.h"
#include "database/mgKey.h"
#include "database/mgRecord.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kRecords = 300; // 64-byte records over five 4096-byte blocks
constexpr uint16_t kExclusive = 0;
constexpr uint16_t kShared = 3;

Bytes Original(uint32_t id)
{
    return MakeRecord(id, "kept" + std::to_string(id % 7), 64, uint8_t(id));
}

void MakeSet(const std::string& name)
{
    SetDefinition set = TwoIndexSet(name, 64, 0);
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    for (uint32_t id = 1; id <= kRecords; ++id)
        ASSERT_EQ(0, mgAddRecord(uint16_t(set.def.setFileNumber), Original(id).data()));
    ASSERT_EQ(0, mgCloseFileSet(&set.def));
}

// The record with key A id made current; empty when the read failed.
Bytes Get(int data, uint32_t id)
{
    Bytes found(64, 0xEE);
    if (FindByKey(data + 1, MakeRecord(id, ""), found) != 0)
        return {};
    return found;
}

struct Opened {
    int data;
    explicit Opened(const std::string& name, uint16_t mode)
        : data(mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), mode))
    {
    }
    ~Opened()
    {
        if (data >= 0)
            mgCloseFileSetByNumber(uint16_t(data));
    }
};

TEST(DataBuffers, RecordsReadAgainAreNotReadFromTheDiskAgain)
{
    ScratchFolder folder;
    std::string name = folder.File("again");
    Engine engine;
    MakeSet(name);
    Opened set(name, kExclusive);
    ASSERT_GE(set.data, 0);
    FaultyIo io;
    for (uint32_t id = 1; id <= kRecords; ++id)
        ASSERT_EQ(Original(id), Get(set.data, id)) << id;
    long firstPass = io.Reads();
    EXPECT_GT(firstPass, 0);
    for (uint32_t id = kRecords; id >= 1; --id)
        ASSERT_EQ(Original(id), Get(set.data, id)) << id;
    EXPECT_EQ(firstPass, io.Reads()) << "a kept record was read from the disk again";
}

TEST(DataBuffers, FewBuffersWriteBackWhatTheyReuseAndEveryRecordReadsRight)
{
    ScratchFolder folder;
    std::string name = folder.File("few");
    Engine engine(16, 16, 4, 4); // four buffers of 512 bytes for a file of forty blocks
    MakeSet(name);
    auto changed = [](uint32_t id) { return MakeRecord(id, "kept" + std::to_string(id % 7), 64, uint8_t(0x80 + id)); };
    {
        Opened set(name, kExclusive);
        ASSERT_GE(set.data, 0);
        for (uint32_t id = 1; id <= kRecords; id += 3) {
            ASSERT_EQ(Original(id), Get(set.data, id)) << id;
            ASSERT_EQ(0, mgRewriteRecord(uint16_t(set.data), changed(id).data())) << id;
        }
        for (uint32_t id = 1; id <= kRecords; ++id)
            ASSERT_EQ(id % 3 == 1 ? changed(id) : Original(id), Get(set.data, id)) << id;
    }
    Opened again(name, kExclusive);
    ASSERT_GE(again.data, 0);
    for (uint32_t id = 1; id <= kRecords; ++id)
        ASSERT_EQ(id % 3 == 1 ? changed(id) : Original(id), Get(again.data, id)) << id;
}

TEST(DataBuffers, ARewriteIsReadBackAsWrittenAndReachesTheDiskWhenFlushed)
{
    ScratchFolder folder;
    std::string name = folder.File("rewrite");
    Engine engine;
    MakeSet(name);
    Bytes changed = MakeRecord(7, "kept0", 64, 0x5A);
    {
        Opened set(name, kExclusive);
        ASSERT_GE(set.data, 0);
        ASSERT_EQ(Original(7), Get(set.data, 7));
        ASSERT_EQ(0, mgRewriteRecord(uint16_t(set.data), changed.data()));
        FaultyIo io;
        EXPECT_EQ(changed, Get(set.data, 7));
        EXPECT_EQ(0, io.Reads()) << "the rewritten block was read again";
        EXPECT_EQ(0, io.Writes()) << "the rewrite was written at once";
        EXPECT_EQ(0, mgFlushFile(uint16_t(set.data)));
        EXPECT_GT(io.Writes(), 0) << "the flush wrote nothing";
    }
    Opened again(name, kExclusive);
    EXPECT_EQ(changed, Get(again.data, 7));
}

TEST(DataBuffers, AfterAWriteBackCutShortTheReadIsWhatTheDiskHoldsAndTheFileIsRefused)
{
    ScratchFolder folder;
    std::string name = folder.File("cut");
    Engine engine;
    MakeSet(name);
    Bytes read;
    uint32_t position = 0;
    {
        Opened set(name, kExclusive);
        ASSERT_GE(set.data, 0);
        ASSERT_EQ(Original(9), Get(set.data, 9));
        position = mgCurrentPosition(uint16_t(set.data));
        ASSERT_EQ(0, mgRewriteRecord(uint16_t(set.data), MakeRecord(9, "kept2", 64, 0x77).data()));
        // The block's write stops 40 bytes into the record.
        FaultyIo io;
        FaultPlan plan;
        plan.cutWriteAt = 1;
        plan.cutPrefix = position % 4096 + 40;
        io.Plan(plan);
        EXPECT_NE(0, mgFlushFile(uint16_t(set.data)));
        io.Plan(FaultPlan{});
        read = Get(set.data, 9);
        EXPECT_NE(0, mgCloseFileSetByNumber(uint16_t(set.data))) << "the failed write-back went unanswered";
        set.data = -1;
    }
    Bytes disk = ReadWholeFile(name + ".dat");
    ASSERT_GE(disk.size(), position + 64);
    Bytes onDisk(disk.begin() + position, disk.begin() + position + 64);
    EXPECT_NE(Original(9), onDisk) << "the cut wrote nothing of the record";
    EXPECT_EQ(onDisk, read) << "the read answered bytes the disk does not hold";
    EXPECT_LT(mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0), 0);
    EXPECT_EQ(kMgNotClosedCleanly, mgCtx()->isam_code);
}

TEST(DataBuffers, AReuseWhoseWriteBackFailsAnswersTheWriteErrorAndTheFileIsRefused)
{
    ScratchFolder folder;
    std::string name = folder.File("reuse");
    Engine engine(16, 16, 4, 4); // four buffers of 512 bytes, eight records to a block
    MakeSet(name);
    {
        Opened set(name, kExclusive);
        ASSERT_GE(set.data, 0);
        // Four changed blocks fill the buffers.
        for (uint32_t id : {1u, 20u, 40u, 60u}) {
            ASSERT_EQ(Original(id), Get(set.data, id)) << id;
            ASSERT_EQ(0, mgRewriteRecord(uint16_t(set.data), MakeRecord(id, "kept" + std::to_string(id % 7), 64, 0x33).data()));
        }
        FaultyIo io;
        FaultPlan plan;
        plan.failWriteAt = 1;
        io.Plan(plan);
        Bytes found(64);
        EXPECT_EQ(kMgShortWrite, FindByKey(set.data + 1, MakeRecord(200, ""), found))
            << "the read that needed room answered another error than the failed write";
        io.Plan(FaultPlan{});
        EXPECT_NE(0, mgCloseFileSetByNumber(uint16_t(set.data)));
        set.data = -1;
    }
    EXPECT_LT(mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0), 0);
    EXPECT_EQ(kMgNotClosedCleanly, mgCtx()->isam_code);
}

TEST(DataBuffers, ClosingForgetsTheBlocksOfTheFile)
{
    ScratchFolder folder;
    std::string name = folder.File("forget");
    Engine engine;
    MakeSet(name);
    uint32_t position = 0;
    {
        Opened set(name, kExclusive);
        ASSERT_GE(set.data, 0);
        ASSERT_EQ(Original(12), Get(set.data, 12));
        position = mgCurrentPosition(uint16_t(set.data));
    }
    // Changed behind the engine's back while the file is closed: the payload's last byte.
    Bytes disk = ReadWholeFile(name + ".dat");
    disk[position + 63] = 0xC3;
    WriteWholeFile(name + ".dat", disk);
    Bytes expected = Original(12);
    expected[63] = 0xC3;
    Opened again(name, kExclusive);
    EXPECT_EQ(expected, Get(again.data, 12));
}

TEST(DataBuffers, SharedFilesAreReadFromTheDiskEveryTime)
{
    ScratchFolder folder;
    std::string name = folder.File("shared");
    Engine engine;
    MakeSet(name);
    Opened set(name, kShared);
    ASSERT_GE(set.data, 0);
    FaultyIo io;
    ASSERT_EQ(Original(5), Get(set.data, 5));
    long once = io.Reads();
    ASSERT_EQ(Original(5), Get(set.data, 5));
    EXPECT_GT(io.Reads(), once);
}

} // namespace
