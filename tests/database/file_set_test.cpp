// File sets: create from a definition, store it, open again from the data file alone.
#include <gtest/gtest.h>

#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgRecord.h"
#include "database_test_support.h"

using namespace dbtest;

TEST(FileSet, CreateAddFindReopen)
{
    ScratchFolder folder;
    Engine engine;
    SetDefinition set = TwoIndexSet(folder.File("people"), 64, 0);
    ASSERT_EQ(0, mgCreateFileSet(set.Build()));
    int data = set.def.setFileNumber;
    for (uint32_t i = 0; i < 500; ++i) {
        std::vector<uint8_t> record = MakeRecord(i * 7 % 500, "name" + std::to_string(i % 13));
        ASSERT_EQ(0, mgAddRecord(uint16_t(data), record.data())) << i;
    }
    ASSERT_EQ(0, mgCloseFileSet(&set.def));

    int opened = mgOpenFileSetFromResource(-1, folder.File("people.dat").c_str(), 0);
    ASSERT_GE(opened, 0) << mgGetInstanceContext(kMgDefaultInstance)->isam_code;
    std::vector<uint8_t> record(64);
    ASSERT_EQ(0, FindByKey(opened + 1, MakeRecord(21, ""), record));
    EXPECT_EQ(21u, record[1] | (record[2] << 8));
    int count = 0;
    int16_t answer = mgFirstRecord(uint16_t(opened + 1), record.data());
    uint32_t previous = 0;
    while (answer == 0) {
        uint32_t value = record[1] | (record[2] << 8);
        if (count > 0) {
            EXPECT_GT(value, previous);
        }
        previous = value;
        ++count;
        answer = mgNextRecord(uint16_t(opened + 1), record.data());
    }
    EXPECT_EQ(kMgNoRecord, answer);
    EXPECT_EQ(500, count);
    EXPECT_EQ(0, mgCloseFileSetByNumber(uint16_t(opened)));
}
