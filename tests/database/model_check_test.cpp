// Model check: a seeded random workload of adds, rewrites, deletes, keyed reads in the five
// modes on the unique and the duplicates index, walks, range counts and keys at percentages
// runs against an in-memory reference; after every batch each index walk and key count must
// equal the reference and the consistency checker must pass. And the node capacity limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "database/mgBytes.h"
#include "database/mgCheck.h"
#include "database/mgFileSet.h"
#include "database/mgInstance.h"
#include "database/mgKey.h"
#include "database/mgNode.h"
#include "database/mgRecord.h"
#include "database_test_support.h"

using namespace dbtest;

namespace {

struct ModelCase {
    const char* why;
    int sectors;
    bool variable;
    int16_t keyType;
    int textLength;
    int operations;
    uint32_t seed;
};

std::ostream& operator<<(std::ostream& out, const ModelCase& c)
{
    return out << c.why;
}

constexpr int kFixedPart = 5;

struct Row {
    std::string text;
    std::vector<uint8_t> bytes;
};

class ModelSet {
  public:
    ModelSet(const ModelCase& c, const std::string& path) : c_(c), rng_(c.seed)
    {
        textLength_ = c.textLength;
        recordLength_ = uint16_t(c.variable ? kFixedPart + textLength_ : 5 + textLength_ + 12);
        set_.name = path;
        set_.segments = {{{1, 4, 8}}, {{5, int16_t(textLength_), 0}}};
        mgIndexDef a{};
        a.keyLength = 4;
        a.keyType = c.keyType;
        mgIndexDef b{};
        b.keyLength = int16_t(textLength_ + 4);
        b.duplicates = 1;
        b.keyType = c.keyType;
        set_.indexes = {a, b};
        set_.def.dataFileNumber = -1;
        set_.def.recordLength = recordLength_;
        set_.def.dataMode = c.variable ? 0x0004 : 0;
        set_.def.dataExtension = 0;
        set_.def.indexExtension = 0;
        set_.def.setFileNumber = -1;
        created_ = mgCreateFileSet(set_.Build());
        data_ = uint16_t(set_.def.setFileNumber);
    }

    int16_t Created() const
    {
        return created_;
    }

    std::vector<uint8_t> Record(int32_t a, const std::string& text, size_t extra)
    {
        size_t length = c_.variable ? kFixedPart + textLength_ + extra : recordLength_;
        std::vector<uint8_t> r(length, 0);
        for (int i = 0; i < 4; ++i)
            r[1 + size_t(i)] = uint8_t(uint32_t(a) >> (8 * i));
        for (int i = 0; i < textLength_; ++i)
            r[5 + size_t(i)] = i < int(text.size()) ? uint8_t(text[size_t(i)]) : ' ';
        for (size_t i = 5 + size_t(textLength_); i < length; ++i)
            r[i] = uint8_t(rng_() & 0x7F);
        return r;
    }

    std::string RandomText()
    {
        static const char* kWords[] = {"alpha", "beta", "gamma", "delta", "eps", "zeta", "eta", "theta"};
        std::string text = kWords[rng_() % 8];
        if (textLength_ > 12 && rng_() % 2)
            text += std::string(size_t(rng_() % 5), 'x');
        return text;
    }

    int32_t RandomA()
    {
        return int32_t(rng_() % 20000) - 10000;
    }

    int16_t Write(std::vector<uint8_t>& r, bool add)
    {
        if (c_.variable)
            return add ? mgAddVariableRecord(data_, r.data(), int32_t(r.size()))
                       : mgRewriteVariableRecord(data_, r.data(), int32_t(r.size()));
        return add ? mgAddRecord(data_, r.data()) : mgRewriteRecord(data_, r.data());
    }

    std::vector<uint8_t> KeyOf(int index, const std::vector<uint8_t>& r, uint8_t pad)
    {
        uint8_t key[kMgMaxKeyLength + 8];
        int16_t length = mgBuildKey(int16_t(data_ + 1 + index), r.data(), key, 0, uint32_t(r.size()));
        EXPECT_GT(length, 0);
        int keyLength = index == 0 ? 4 : textLength_ + 4;
        if (index == 1)
            memset(key + textLength_, pad, 4);
        return std::vector<uint8_t>(key, key + keyLength);
    }

    // Makes the row with key a current (keyed read on index 0).
    bool MakeCurrent(int32_t a)
    {
        std::vector<uint8_t> probe = Record(a, "", 0);
        std::vector<uint8_t> key = KeyOf(0, probe, 0);
        std::vector<uint8_t> buffer(recordLength_ + 1024);
        return mgGetEqualRecord(uint16_t(data_ + 1), key.data(), buffer.data()) == 0;
    }

    void Step()
    {
        int op = int(rng_() % 100);
        if (op < 45 || model_.empty()) {
            int32_t a = RandomA();
            std::string text = RandomText();
            std::vector<uint8_t> r = Record(a, text, rng_() % 180);
            int16_t answer = Write(r, true);
            if (model_.count(a)) {
                ASSERT_EQ(kMgDuplicateKey, answer) << "add of an existing key " << a;
            } else {
                ASSERT_EQ(0, answer) << "add " << a;
                model_[a] = Row{text, r};
            }
        } else if (op < 65) {
            auto it = PickRow();
            int32_t a = it->first;
            ASSERT_TRUE(MakeCurrent(a));
            int32_t newA = rng_() % 3 == 0 ? RandomA() : a;
            std::string text = RandomText();
            std::vector<uint8_t> r = Record(newA, text, rng_() % 250);
            int16_t answer = Write(r, false);
            if (newA != a && model_.count(newA)) {
                ASSERT_EQ(kMgDuplicateKey, answer) << "rewrite onto an existing key";
            } else {
                ASSERT_EQ(0, answer) << "rewrite " << a << " to " << newA;
                model_.erase(a);
                model_[newA] = Row{text, r};
            }
        } else if (op < 80) {
            auto it = PickRow();
            ASSERT_TRUE(MakeCurrent(it->first));
            int16_t answer = c_.variable ? mgDeleteVariableRecord(data_) : mgDeleteRecord(data_);
            ASSERT_EQ(0, answer) << "delete " << it->first;
            model_.erase(it);
        } else if (op < 87) {
            CheckKeyedRead();
        } else if (op < 94) {
            CheckTextRead();
        } else if (op < 98) {
            CheckRange();
        } else {
            CheckPercents();
        }
    }

    std::map<int32_t, Row>::iterator PickRow()
    {
        auto it = model_.begin();
        std::advance(it, long(rng_() % model_.size()));
        return it;
    }

    void CheckKeyedRead()
    {
        static const char kModes[] = {'E', 'G', 'H', 'M', 'N'};
        char mode = kModes[rng_() % 5];
        int32_t target = RandomA();
        if (!model_.empty() && rng_() % 2)
            target = PickRow()->first;
        std::vector<uint8_t> key = KeyOf(0, Record(target, "", 0), 0);
        std::vector<uint8_t> buffer(recordLength_ + 1024);
        uint16_t index = uint16_t(data_ + 1);
        int16_t answer = mode == 'E'   ? mgGetEqualRecord(index, key.data(), buffer.data())
                         : mode == 'G' ? mgGetGreaterOrEqualRecord(index, key.data(), buffer.data())
                         : mode == 'H' ? mgGetGreaterRecord(index, key.data(), buffer.data())
                         : mode == 'M' ? mgGetLessOrEqualRecord(index, key.data(), buffer.data())
                                       : mgGetLessRecord(index, key.data(), buffer.data());
        auto expected = model_.end();
        if (mode == 'E')
            expected = model_.find(target);
        else if (mode == 'G')
            expected = model_.lower_bound(target);
        else if (mode == 'H')
            expected = model_.upper_bound(target);
        else {
            auto bound = mode == 'M' ? model_.upper_bound(target) : model_.lower_bound(target);
            expected = bound == model_.begin() ? model_.end() : std::prev(bound);
        }
        if (expected == model_.end()) {
            ASSERT_EQ(kMgNoRecord, answer) << mode << " " << target;
            return;
        }
        ASSERT_EQ(0, answer) << mode << " " << target;
        int32_t got = int32_t(buffer[1] | (buffer[2] << 8) | (buffer[3] << 16) | (uint32_t(buffer[4]) << 24));
        ASSERT_EQ(expected->first, got) << mode << " " << target;
        // The next step in key order continues from the record read.
        auto after = std::next(expected);
        answer = mgNextRecord(index, buffer.data());
        if (after == model_.end()) {
            ASSERT_EQ(kMgNoRecord, answer);
        } else {
            ASSERT_EQ(0, answer);
            got = int32_t(buffer[1] | (buffer[2] << 8) | (buffer[3] << 16) | (uint32_t(buffer[4]) << 24));
            ASSERT_EQ(after->first, got);
        }
    }

    std::string Padded(const std::string& text) const
    {
        std::string padded = text;
        padded.resize(size_t(textLength_), ' ');
        return padded;
    }

    std::string TextOf(const std::vector<uint8_t>& record) const
    {
        return std::string(reinterpret_cast<const char*>(record.data() + 5), size_t(textLength_));
    }

    // Keyed reads on the duplicates index: targets in stored form, the position suffix
    // 0 or all ones choosing the first or the last of equal texts.
    void CheckTextRead()
    {
        std::multiset<std::string> texts;
        for (const auto& row : model_)
            texts.insert(Padded(row.second.text));
        static const char kModes[] = {'E', 'G', 'H', 'M', 'N'};
        char mode = kModes[rng_() % 5];
        std::string target = Padded(RandomText());
        uint16_t index = uint16_t(data_ + 2);
        std::vector<uint8_t> buffer(recordLength_ + 1024);
        if (mode == 'E') {
            if (model_.empty())
                return;
            // Exactly one record: its text and its position.
            auto row = PickRow();
            ASSERT_TRUE(MakeCurrent(row->first));
            uint32_t position = mgCurrentPosition(data_);
            std::vector<uint8_t> key = KeyOf(1, row->second.bytes, 0);
            mgPut32BE(key.data() + textLength_, position);
            ASSERT_EQ(0, mgGetEqualRecord(index, key.data(), buffer.data()));
            ASSERT_EQ(position, mgCurrentPosition(data_));
            mgPut32BE(key.data() + textLength_, position + 1);
            ASSERT_EQ(kMgNoRecord, mgGetEqualRecord(index, key.data(), buffer.data()));
            return;
        }
        bool last = mode == 'H' || mode == 'M';
        std::vector<uint8_t> key = KeyOf(1, Record(0, target, 0), last ? 0xFF : 0x00);
        int16_t answer = mode == 'G'   ? mgGetGreaterOrEqualRecord(index, key.data(), buffer.data())
                         : mode == 'H' ? mgGetGreaterRecord(index, key.data(), buffer.data())
                         : mode == 'M' ? mgGetLessOrEqualRecord(index, key.data(), buffer.data())
                                       : mgGetLessRecord(index, key.data(), buffer.data());
        auto expected = texts.end();
        if (mode == 'G')
            expected = texts.lower_bound(target);
        else if (mode == 'H')
            expected = texts.upper_bound(target);
        else {
            auto bound = mode == 'M' ? texts.upper_bound(target) : texts.lower_bound(target);
            expected = bound == texts.begin() ? texts.end() : std::prev(bound);
        }
        if (expected == texts.end()) {
            ASSERT_EQ(kMgNoRecord, answer) << mode << " '" << target << "'";
            return;
        }
        ASSERT_EQ(0, answer) << mode << " '" << target << "'";
        std::string found = TextOf(buffer);
        ASSERT_EQ(*expected, found) << mode << " '" << target << "'";
        // The first of equal texts going up, the last going down.
        bool up = mode == 'G' || mode == 'H';
        answer = up ? mgPreviousRecord(index, buffer.data()) : mgNextRecord(index, buffer.data());
        if (answer == 0) {
            std::string neighbour = TextOf(buffer);
            ASSERT_TRUE(up ? neighbour < found : neighbour > found) << mode << " '" << target << "'";
        } else {
            ASSERT_EQ(kMgNoRecord, answer);
        }
    }

    // The key at a percentage is an estimate: a key the index holds, never going back as
    // the percentage grows, the first key at 0 and the last at 100.
    void CheckPercents()
    {
        if (model_.empty())
            return;
        int32_t previous = INT32_MIN;
        for (int16_t percent = 0; percent <= 100; percent = int16_t(percent + 5)) {
            uint8_t key[8];
            uint32_t position = mgKeyAtPercent(data_ + 1, key, percent);
            ASSERT_NE(0u, position) << percent << "%, uerr_cod " << mgCtx()->uerr_cod;
            int32_t a = int32_t((uint32_t(key[0] ^ 0x80) << 24) | (uint32_t(key[1]) << 16) | (uint32_t(key[2]) << 8) |
                                key[3]);
            ASSERT_EQ(1u, model_.count(a)) << percent << "% gives a key the index does not hold";
            ASSERT_GE(a, previous) << percent << "%";
            if (percent == 0) {
                ASSERT_EQ(model_.begin()->first, a);
            }
            if (percent == 100) {
                ASSERT_EQ(model_.rbegin()->first, a);
            }
            previous = a;
        }
    }

    void CheckRange()
    {
        int32_t low = RandomA();
        int32_t high = low + int32_t(rng_() % 5000);
        std::vector<uint8_t> lowKey = KeyOf(0, Record(low, "", 0), 0);
        std::vector<uint8_t> highKey = KeyOf(0, Record(high, "", 0), 0);
        int32_t counted = RNGENT(data_ + 1, lowKey.data(), highKey.data());
        auto from = model_.lower_bound(low);
        auto to = model_.upper_bound(high);
        int32_t expected = int32_t(std::distance(from, to));
        ASSERT_EQ(expected, counted) << "range " << low << ".." << high;
    }

    // Every index walk equals the reference; the checker passes.
    void Verify()
    {
        std::vector<uint8_t> buffer(recordLength_ + 1024);
        std::vector<int32_t> walked;
        int16_t answer = mgFirstRecord(uint16_t(data_ + 1), buffer.data());
        while (answer == 0) {
            walked.push_back(int32_t(buffer[1] | (buffer[2] << 8) | (buffer[3] << 16) | (uint32_t(buffer[4]) << 24)));
            answer = mgNextRecord(uint16_t(data_ + 1), buffer.data());
        }
        ASSERT_EQ(kMgNoRecord, answer);
        std::vector<int32_t> expected;
        for (const auto& row : model_)
            expected.push_back(row.first);
        ASSERT_EQ(expected, walked);

        std::vector<std::string> texts;
        answer = mgLastRecord(uint16_t(data_ + 2), buffer.data());
        while (answer == 0) {
            texts.emplace_back(reinterpret_cast<char*>(buffer.data() + 5), size_t(textLength_));
            answer = mgPreviousRecord(uint16_t(data_ + 2), buffer.data());
        }
        ASSERT_EQ(kMgNoRecord, answer);
        std::vector<std::string> expectedTexts;
        for (const auto& row : model_) {
            std::string padded = row.second.text;
            padded.resize(size_t(textLength_), ' ');
            expectedTexts.push_back(padded);
        }
        std::sort(expectedTexts.rbegin(), expectedTexts.rend());
        ASSERT_EQ(expectedTexts, texts);

        if (c_.variable) {
            // Whole records read back as written.
            for (const auto& row : model_) {
                ASSERT_TRUE(MakeCurrent(row.first));
                std::vector<uint8_t> whole(row.second.bytes.size() + 16);
                ASSERT_EQ(0, mgReadVariableRecord(data_, whole.data(), int32_t(whole.size())));
                ASSERT_EQ(row.second.bytes.size(), mgVariableRecordLength(data_));
                whole.resize(row.second.bytes.size());
                ASSERT_EQ(row.second.bytes, whole);
            }
        }
        EXPECT_EQ(model_.size(), mgKeyCount(data_ + 1));
        EXPECT_EQ(model_.size(), mgKeyCount(data_ + 2));
        mgCheckReport report;
        ASSERT_EQ(0, mgCheckFileSet(data_, &report)) << report.first;
        EXPECT_EQ(model_.size(), report.records);
    }

    void Close()
    {
        ASSERT_EQ(0, mgCloseFileSet(&set_.def));
    }

    void Reopen(const std::string& dataName)
    {
        int opened = mgOpenFileSetFromResource(-1, dataName.c_str(), 0);
        ASSERT_GE(opened, 0) << mgCtx()->isam_code;
        data_ = uint16_t(opened);
        set_.def.setFileNumber = int16_t(opened);
    }

    const ModelCase& c_;
    std::mt19937 rng_;
    SetDefinition set_;
    int16_t created_ = -1;
    uint16_t data_ = 0;
    int textLength_ = 16;
    uint16_t recordLength_ = 0;
    std::map<int32_t, Row> model_;
};

class ModelCheck : public testing::TestWithParam<ModelCase> {};

TEST_P(ModelCheck, IndexesFollowTheReferenceThroughRandomWork)
{
    const ModelCase& c = GetParam();
    ScratchFolder folder;
    Engine engine(64, 16, c.sectors);
    ModelSet set(c, folder.File("model"));
    ASSERT_EQ(0, set.Created()) << mgCtx()->isam_code;
    int batches = 6;
    for (int batch = 0; batch < batches; ++batch) {
        for (int i = 0; i < c.operations / batches; ++i) {
            ASSERT_NO_FATAL_FAILURE(set.Step()) << "operation " << i << " of batch " << batch;
        }
        ASSERT_NO_FATAL_FAILURE(set.Verify()) << "after batch " << batch;
        if (batch == batches / 2) {
            set.Close();
            ASSERT_NO_FATAL_FAILURE(set.Reopen(folder.File("model.dat")));
            ASSERT_NO_FATAL_FAILURE(set.Verify()) << "after reopening";
        }
    }
    set.Close();
}

const ModelCase kModelCases[] = {
    {"fixed records, plain keys, 4096-byte nodes", 32, false, 0, 16, 3000, 11},
    {"fixed records, compressed keys, 512-byte nodes", 4, false, 12, 16, 3000, 12},
    {"variable records, plain keys, 1024-byte nodes", 8, true, 0, 16, 2400, 13},
    {"variable records, compressed keys, 4096-byte nodes", 32, true, 12, 16, 2400, 14},
    {"fixed records, text key near the node capacity", 4, false, 0, 150, 1500, 15},
    {"compressed text key near the node capacity", 4, false, 12, 140, 1500, 16},
};

INSTANTIATE_TEST_SUITE_P(Configurations, ModelCheck, testing::ValuesIn(kModelCases),
                         [](const testing::TestParamInfo<ModelCase>& info) {
                             return "Case" + std::to_string(info.index);
                         });

} // namespace

namespace {

// A node must hold three entries of the longest key: on 512-byte nodes (494 bytes for
// entries) a unique key of 160 bytes fits and one of 161 does not; compression adds its two
// count bytes to every entry.
TEST(IndexCapacity, KeysTooLongForThreeEntriesPerNodeAreRefused)
{
    struct Case {
        const char* why;
        int16_t keyLength;
        int16_t keyType;
        int16_t duplicates;
        int16_t answer;
    };
    const Case cases[] = {
        {"unique, 160 bytes", 160, 0, 0, 0},
        {"unique, 161 bytes", 161, 0, 0, kMgNodeTooSmall},
        {"compressed, 158 bytes", 158, 12, 0, 0},
        {"compressed, 159 bytes", 159, 12, 0, kMgNodeTooSmall},
        {"duplicates, 160 bytes with the suffix", 160, 0, 1, 0},
        {"duplicates, 161 bytes with the suffix", 161, 0, 1, kMgNodeTooSmall},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        ScratchFolder folder;
        Engine engine(16, 16, 4);
        SetDefinition set;
        set.name = folder.File("wide");
        int16_t segment = int16_t(c.keyLength - (c.duplicates ? 4 : 0));
        set.segments = {{{1, segment, 0}}};
        mgIndexDef index{};
        index.keyLength = c.keyLength;
        index.keyType = c.keyType;
        index.duplicates = c.duplicates;
        set.indexes = {index};
        set.def.dataFileNumber = -1;
        set.def.recordLength = 400;
        set.def.setFileNumber = -1;
        EXPECT_EQ(c.answer, mgCreateFileSet(set.Build()));
        if (c.answer == 0) {
            // Three keys of that length, and many more, go in.
            for (int i = 0; i < 40; ++i) {
                std::vector<uint8_t> record(400, uint8_t('a' + i % 26));
                record[0] = 0;
                record[1] = uint8_t(i);
                ASSERT_EQ(0, mgAddRecord(uint16_t(set.def.setFileNumber), record.data())) << i;
            }
            mgCheckReport report;
            EXPECT_EQ(0, mgCheckFileSet(uint16_t(set.def.setFileNumber), &report)) << report.first;
            EXPECT_EQ(0, mgCloseFileSet(&set.def));
        }
    }
}

} // namespace
