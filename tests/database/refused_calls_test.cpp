// Calls the engine must refuse before it makes or opens anything: names longer than it
// keeps, start sizes a node header cannot describe or whose buffers cannot be had, and set
// definitions whose segments no record can fill. Each answers its error at once and
// leaves the folder as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgRecord.h"
#include "binding_test_support.h"
#include "database_test_support.h"

using namespace dbtest;
using bindtest::FilesIn;

namespace {

// Ends the test program, naming the call, when the call has not come back in time: a start
// that asks the system for its buffers one by one takes minutes, and a test run must fail
// at once rather than wait for them.
class TimeLimit {
  public:
    TimeLimit(DWORD milliseconds, std::string what) : milliseconds_(milliseconds), what_(std::move(what))
    {
        done_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &TimeLimit::Run, this, 0, nullptr);
    }
    ~TimeLimit()
    {
        SetEvent(done_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(done_);
    }
    TimeLimit(const TimeLimit&) = delete;
    TimeLimit& operator=(const TimeLimit&) = delete;

  private:
    static DWORD WINAPI Run(void* self)
    {
        auto* limit = static_cast<TimeLimit*>(self);
        if (WaitForSingleObject(limit->done_, limit->milliseconds_) == WAIT_TIMEOUT) {
            fprintf(stderr, "\n%s: still running after %lu ms, the test program is ended\n", limit->what_.c_str(),
                    (unsigned long)limit->milliseconds_);
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        return 0;
    }
    DWORD milliseconds_;
    std::string what_;
    HANDLE done_ = nullptr;
    HANDLE thread_ = nullptr;
};

// A full name of exactly `length` characters in the folder.
std::string NameOfLength(const ScratchFolder& folder, size_t length)
{
    std::string name = folder.File("");
    return name + std::string(length - name.size(), 'n');
}

struct RefusedCall {
    const char* why;
    std::function<int(const ScratchFolder&)> call;
    int answer;
};

const RefusedCall kNameCalls[] = {
    {"a data file of 5,000 characters",
     [](const ScratchFolder& f) { return mgCreateDataFile(3, NameOfLength(f, 5000).c_str(), 64, 0, 0); },
     kMgNameTooLong},
    {"a data file of 256 characters, one past what the engine keeps",
     [](const ScratchFolder& f) { return mgCreateDataFile(3, NameOfLength(f, 256).c_str(), 64, 0, 0); },
     kMgNameTooLong},
    {"an index file of 5,000 characters",
     [](const ScratchFolder& f) { return mgCreateIndexFile(3, NameOfLength(f, 5000).c_str(), 4, 0, 0, 0, 0, 0); },
     kMgNameTooLong},
    {"a host of 5,000 characters",
     [](const ScratchFolder& f) { return mgCreateDataFile(3, NameOfLength(f, 5000).c_str(), 0, 0, 0x0202); },
     kMgNameTooLong},
    {"a set whose file name reaches 256 characters",
     [](const ScratchFolder& f) {
         SetDefinition set = TwoIndexSet(NameOfLength(f, 252), 64, 0);
         return int(mgCreateFileSet(set.Build()));
     },
     kMgEmptyName},
};

} // namespace

TEST(RefusedCalls, NamesLongerThanTheEngineKeepsCreateNothing)
{
    for (const RefusedCall& c : kNameCalls) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        Engine engine;
        EXPECT_EQ(c.answer, c.call(folder));
        EXPECT_EQ(std::vector<std::string>{}, FilesIn(folder.Path()));
    }
    // The longest name that fits is made as it is given.
    ScratchFolder folder;
    Engine engine;
    std::string longest = NameOfLength(folder, 255);
    ASSERT_EQ(0, mgCreateDataFile(3, longest.c_str(), 64, 0, 0));
    EXPECT_STREQ(longest.c_str(), mgCheckFile(3)->name);
    EXPECT_EQ(0, mgCloseFile(3, 0));
}

// A long name whose first characters name a file that exists: cut, the name would open
// that other file.
TEST(RefusedCalls, ALongNameNeverOpensTheFileItsStartNames)
{
    ScratchFolder folder;
    Engine engine;
    std::string stored = NameOfLength(folder, 250) + ".dat";
    SetDefinition set = TwoIndexSet(stored.substr(0, 250), 64, 0);
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    ASSERT_EQ(0, mgCloseFileSet(&set.def));
    ASSERT_EQ(0, mgOpenFile(3, stored.c_str(), 0)) << "the data file is there under its own name";
    ASSERT_EQ(0, mgCloseFile(3, 0));

    std::string longer = stored + std::string(4746, 'n');
    EXPECT_EQ(kMgNameTooLong, mgOpenFile(3, longer.c_str(), 0));
    EXPECT_EQ(kMgNameTooLong, mgOpenFile(3, (stored + "nn").c_str(), 0)) << "256 characters";
    EXPECT_EQ(kMgCannotOpen, mgOpenFile(3, (stored + "n").c_str(), 0)) << "255 characters are kept whole";
    EXPECT_EQ(-1, mgOpenFileSetFromResource(-1, longer.c_str(), 0));
    EXPECT_EQ(kMgNameTooLong, mgCtx()->isam_code);
    EXPECT_EQ(-1, mgOpenFileSetFromResource(-1, (stored + "n").c_str(), 0)) << "a set's name is kept in 254";
    EXPECT_EQ(kMgNameTooLong, mgCtx()->isam_code);
    int data = mgOpenFileSetFromResource(-1, stored.c_str(), 0);
    EXPECT_GE(data, 0) << "254 characters are kept whole";
    EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(data)));
}

// Start sizes: refused at once with the start's errors, and the engine starts normally
// afterwards. 512 sectors make the largest node the 16-bit fields describe.
TEST(RefusedCalls, StartSizesTheEngineCannotHaveAreRefusedAtOnce)
{
    struct Case {
        const char* why;
        int buffers;
        int sectors;
        int dataBuffers;
        int16_t answer;
    };
    const Case cases[] = {
        {"12.8 MB nodes", 16, 100000, 16, int16_t(kMgBadStartCount)},
        {"one sector more than a node header describes", 16, 513, 16, int16_t(kMgBadStartCount)},
        {"a million node buffers", 1000000, 32, 0, int16_t(kMgNoMemoryAtStart)},
        {"a million data buffers", 16, 32, 1000000, int16_t(kMgNoMemoryAtStart)},
        {"the most buffers an int holds", 0x7FFFFFFF, 512, 0x7FFFFFFF, int16_t(kMgNoMemoryAtStart)},
    };
    ScratchFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        DWORD start = GetTickCount();
        {
            TimeLimit limit(10000, std::string("start with ") + c.why);
            EXPECT_EQ(c.answer, mgInitIsamEx(c.buffers, 16, c.sectors, c.dataBuffers, 33, 0, 0, 0));
        }
        EXPECT_EQ(c.answer, mgCtx()->isam_code);
        EXPECT_EQ(0, mgStopIsam());
        EXPECT_LT(GetTickCount() - start, 2000u);
        while (mgCurrentInstanceId())
            mgUnregisterInstance(mgCurrentInstanceId());
    }
    // The largest node works: a set of it takes and finds its records.
    ASSERT_EQ(0, mgInitIsam(16, 16, 512));
    EXPECT_EQ(65536, mgCtx()->nodeSize);
    SetDefinition set = TwoIndexSet(folder.File("large"), 64, 0);
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    uint16_t data = uint16_t(set.def.setFileNumber);
    for (uint32_t id = 1; id <= 3000; ++id) {
        std::vector<uint8_t> record = MakeRecord(id, "r" + std::to_string(id % 9));
        ASSERT_EQ(0, mgAddRecord(data, record.data())) << id;
    }
    std::vector<uint8_t> found(64);
    EXPECT_EQ(0, FindByKey(data + 1, MakeRecord(2999, ""), found));
    EXPECT_EQ(3000u, mgKeyCount(data + 1));
    EXPECT_EQ(0, mgCloseFileSet(&set.def));
    EXPECT_EQ(0, mgStopIsam());
}

// Definitions whose segments no record can fill are refused when the set is created, not
// when the first record is added to a set already made.
TEST(RefusedCalls, SegmentsNoRecordFillsAreRefusedAtCreation)
{
    struct Case {
        const char* why;
        int index;
        mgSegmentDef segment;
        uint16_t dataMode;
        int16_t answer;
    };
    const Case cases[] = {
        {"a segment that runs past the record's end", 0, {61, 4, 8}, 0, int16_t(kMgOutsideRecord)},
        {"a segment that starts past the record's end", 1, {70, 16, 0}, 0, int16_t(kMgOutsideRecord)},
        {"a base mode between 15 and 0x100", 0, {1, 4, 0x0101}, 0, int16_t(kMgBadDefinitionType)},
        {"the highest base mode below the constant", 0, {1, 4, 0x010F}, 0, int16_t(kMgBadDefinitionType)},
        {"the flag that marks a segment that cannot be built", 0, {1, 4, 0x88}, 0, int16_t(kMgSegmentRefused)},
        {"a segment that ends on the record's last byte", 0, {60, 4, 8}, 0, 0},
        {"a segment past the fixed part of variable-length records", 0, {70, 4, 8}, 4, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        Engine engine;
        SetDefinition set = TwoIndexSet(folder.File("set"), 64, c.dataMode);
        set.segments[size_t(c.index)][0] = c.segment;
        EXPECT_EQ(c.answer, mgCreateFileSet(set.Build()));
        EXPECT_EQ(c.answer, mgCtx()->isam_code);
        if (c.answer != 0) {
            EXPECT_EQ(std::vector<std::string>{}, FilesIn(folder.Path()));
        } else {
            EXPECT_EQ(0, mgCloseFileSet(&set.def));
        }
    }
}
