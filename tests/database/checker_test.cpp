// The consistency checker finds damage: each row damages one thing of a sound set on disk
// (a thing the open does not look at), the set still opens, and the checker must name the
// problem. A checker that always passed would fail every row.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "cache_set_support.h"
#include "database/mgBytes.h"
#include "database/mgCheck.h"
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

// What the damage needs to know of the sound set.
struct Layout {
    uint32_t firstLeaf;    // index A's first leaf in ".idx"
    uint32_t root;         // index A's root
    uint32_t deleted;      // a deleted record's position (the chain's head) in ".dat"
    uint32_t live;         // a live record's position in ".dat"
};

struct Files {
    Bytes data;
    Bytes index;
};

struct Case {
    const char* why;
    std::function<void(Files&, const Layout&)> damage;
    const char* problem; // part of the report's first problem
};

TEST(ConsistencyChecker, NamesTheDamageOfAPlainSet)
{
    const Case cases[] = {
        {"two keys of a leaf swapped",
         [](Files& f, const Layout& l) {
             uint8_t* entries = f.index.data() + l.firstLeaf + 18;
             uint8_t first[8];
             memcpy(first, entries, 8);
             memcpy(entries, entries + 8, 8);
             memcpy(entries + 8, first, 8);
         },
         // The node read refuses a node whose keys fall: it never reaches the checker's walk.
         "cannot be read (527)"},
        {"a leaf's right link to the wrong node",
         [](Files& f, const Layout& l) { mgPut32(f.index.data() + l.firstLeaf, l.firstLeaf); }, "links"},
        {"a leaf's left link where there is none",
         [](Files& f, const Layout& l) { mgPut32(f.index.data() + l.firstLeaf + 4, l.root); }, "links"},
        {"the index's key count one too high",
         [](Files& f, const Layout&) {
             mgPut32(f.index.data() + kHdrEntryCount, mgGet32(f.index.data() + kHdrEntryCount) + 1);
         },
         "in the header"},
        {"a key pointing at a deleted record",
         [](Files& f, const Layout& l) { mgPut32(f.index.data() + l.firstLeaf + 18, l.deleted); },
         "no record in use there"},
        {"a parent's bound below its child's keys",
         [](Files& f, const Layout& l) { mgPut32(f.index.data() + l.root + 18 + 4, 0); }, "bound"},
        {"a record whose key is not the one its index holds",
         [](Files& f, const Layout& l) { f.data[l.live + 2] ^= 0x40; }, "not the record's key"},
        {"the data file's record count one too high",
         [](Files& f, const Layout&) {
             mgPut32(f.data.data() + kHdrEntryCount, mgGet32(f.data.data() + kHdrEntryCount) + 1);
         },
         "active records"},
        {"a deleted record that links to itself",
         [](Files& f, const Layout& l) { mgPut32(f.data.data() + l.deleted + 1, l.deleted); }, "loops"},
        {"a chain that reaches a live record",
         [](Files& f, const Layout& l) { mgPut32(f.data.data() + l.deleted + 1, l.live); },
         "not a deleted record"},
        {"a deleted record taken off the chain",
         [](Files& f, const Layout& l) {
             mgPut32(f.data.data() + kHdrDeleteHead, mgGet32(f.data.data() + l.deleted + 1));
         },
         "on the chain"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        std::string name = folder.File("sound");
        Layout layout{};
        {
            Engine engine(16, 16, 4);
            SetDefinition set = TwoIndexSet(name, 64, 0);
            ASSERT_EQ(0, mgCreateFileSet(set.Build()));
            uint16_t data = uint16_t(set.def.setFileNumber);
            for (uint32_t id = 1; id <= 300; ++id) {
                Bytes record = MakeRecord(id, "k" + std::to_string(id % 9));
                ASSERT_EQ(0, mgAddRecord(data, record.data()));
            }
            Bytes found(64);
            for (uint32_t id : {40u, 41u, 250u}) {
                ASSERT_EQ(0, FindByKey(data + 1, MakeRecord(id, ""), found));
                if (id == 250) {
                    layout.live = mgCurrentPosition(data);
                } else {
                    layout.deleted = mgCurrentPosition(data);
                    ASSERT_EQ(0, mgDeleteRecord(data));
                }
            }
            mgCheckReport report;
            ASSERT_EQ(0, mgCheckFileSet(data, &report)) << report.first;
            ASSERT_EQ(0, mgCloseFileSet(&set.def));
        }
        Files files{ReadWholeFile(name + ".dat"), ReadWholeFile(name + ".idx")};
        layout.firstLeaf = mgGet32(files.index.data() + kHdrFirstLeaf);
        layout.root = mgGet32(files.index.data() + kHdrRootNode);
        ASSERT_NE(layout.firstLeaf, layout.root) << "a tree of two levels";
        c.damage(files, layout);
        WriteWholeFile(name + ".dat", files.data);
        WriteWholeFile(name + ".idx", files.index);

        Engine engine(16, 16, 4);
        int data = mgOpenFileSetFromResource(-1, (name + ".dat").c_str(), 0);
        ASSERT_GE(data, 0) << "the damage must pass the open; isam_code " << mgCtx()->isam_code;
        mgCheckReport report;
        ASSERT_NO_THROW(EXPECT_EQ(kMgFileDamaged, mgCheckFileSet(uint16_t(data), &report)));
        EXPECT_GT(report.problems, 0);
        EXPECT_NE(nullptr, strstr(report.first, c.problem)) << report.first;
        mgCloseFileSetByNumber(uint16_t(data));
    }
}

// Finds the only place where `pattern` occurs in the bytes.
size_t Find(const Bytes& bytes, const std::string& pattern)
{
    size_t found = bytes.size();
    for (size_t i = 0; i + pattern.size() <= bytes.size(); ++i)
        if (memcmp(bytes.data() + i, pattern.data(), pattern.size()) == 0) {
            EXPECT_EQ(bytes.size(), found) << pattern << " occurs twice";
            found = i;
        }
    return found;
}

TEST(ConsistencyChecker, NamesTheDamageOfAHost)
{
    struct HostCase {
        const char* why;
        std::function<void(Bytes&)> damage;
        const char* problem;
    };
    const HostCase cases[] = {
        {"a freed piece marked in use again",
         [](Bytes& b) {
             // The resource's first piece, freed when the resource grew: its data is still there.
             size_t at = Find(b, std::string(32, 'q'));
             ASSERT_LT(at, b.size());
             mgPut16(b.data() + at - 8 - kMgResourceHeader, 0xFAFA);
         },
         "names no free piece"},
        {"the host's resource chain leaving the file",
         [](Bytes& b) {
             uint32_t anchor = mgGet32(b.data() + kHdrResourceAnchor);
             ASSERT_NE(0u, anchor);
             mgPut32(b.data() + anchor + 14, 0x7FFF0000);
         },
         "resource chain broken"},
    };
    for (const HostCase& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        std::string path = folder.File("host");
        {
            Engine engine(16, 16, 4);
            ASSERT_EQ(0, CreateCacheSet(path));
            CacheSet cache;
            ASSERT_EQ(0, cache.Open(path, 2));
            for (uint32_t id = 1; id <= 20; ++id) {
                Bytes record = CacheRecord(id, id, id);
                ASSERT_EQ(0, mgAddRecord(uint16_t(cache.data), record.data()));
            }
            Bytes resource(8 + 32, 'q');
            mgPut32(resource.data(), 30);
            mgPut32(resource.data() + 4, 1);
            ASSERT_EQ(0, mgAddResource(cache.host, resource.data(), uint32_t(resource.size())));
            resource.assign(8 + 300, 'r');
            mgPut32(resource.data(), 30);
            mgPut32(resource.data() + 4, 1);
            ASSERT_EQ(0, mgUpdateResource(cache.host, resource.data(), uint32_t(resource.size())));
            mgCheckReport report;
            ASSERT_EQ(0, mgCheckHost(cache.host, &report)) << report.first;
            ASSERT_EQ(0, cache.Close());
        }
        Bytes bytes = ReadWholeFile(path);
        c.damage(bytes);
        WriteWholeFile(path, bytes);
        Engine engine(16, 16, 4);
        CacheSet cache;
        ASSERT_EQ(0, cache.Open(path, 2)) << "the damage must pass the open";
        mgCheckReport report;
        ASSERT_NO_THROW(EXPECT_EQ(kMgFileDamaged, mgCheckHost(cache.host, &report)));
        EXPECT_NE(nullptr, strstr(report.first, c.problem)) << report.first;
        cache.Close();
    }
}

} // namespace
