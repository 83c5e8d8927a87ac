// Corruption corpus: the golden files, damaged one way per case (a header field, a node
// header, an entry, a compression count, a link, a piece mark, a resource link, a part of
// the stored definition; truncated at a table of lengths; seeded random flips), are opened,
// walked, read, written and checked. Every call must answer an error or data that is what
// it claims to be; none may crash, hang or end the process. A watchdog ends the program
// with the case's name when one runs past its time, and a crash names its case too.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <random>

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

constexpr DWORD kCaseTimeoutMs = 20000;

std::string g_currentCase;

LONG WINAPI NameTheCrashedCase(EXCEPTION_POINTERS* info)
{
    fprintf(stderr, "\ncorruption case crashed (exception %08lx): %s\n",
            (unsigned long)info->ExceptionRecord->ExceptionCode, g_currentCase.c_str());
    fflush(stderr);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Ends the program, naming the case, when a case does not finish in its time: a hang
// must fail the run, not stall it.
class Watchdog {
  public:
    Watchdog()
    {
        event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr);
        previous_ = SetUnhandledExceptionFilter(NameTheCrashedCase);
    }
    ~Watchdog()
    {
        stopping_ = true;
        SetEvent(event_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(event_);
        SetUnhandledExceptionFilter(previous_);
    }
    void Started()
    {
        SetEvent(event_);
    }

  private:
    static DWORD WINAPI Run(void* self)
    {
        auto* w = static_cast<Watchdog*>(self);
        while (!w->stopping_) {
            if (WaitForSingleObject(w->event_, kCaseTimeoutMs) == WAIT_TIMEOUT) {
                fprintf(stderr, "\ncorruption case did not end within %lu ms: %s\n", (unsigned long)kCaseTimeoutMs,
                        g_currentCase.c_str());
                fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
        }
        return 0;
    }
    HANDLE event_ = nullptr;
    HANDLE thread_ = nullptr;
    volatile bool stopping_ = false;
    LPTOP_LEVEL_EXCEPTION_FILTER previous_ = nullptr;
};

// One golden set: its files, and the work done on it after the damage.
struct GoldenSet {
    const char* name;
    std::vector<std::string> files;
    std::function<bool()> workout; // true when the set opened
};

// A probe for record `id` of the variable set: its first 20 bytes, so that its keys are
// built within the length of the shortest record.
Bytes VariableProbe(uint32_t id)
{
    Bytes probe = GoldenVariableRecord(id);
    probe.resize(20);
    return probe;
}

// A successful keyed read must deliver the record that holds the key asked for.
void ExpectKeyed(int16_t answer, const Bytes& found, int at, uint32_t key)
{
    if (answer == 0) {
        EXPECT_EQ(key, mgGet32(found.data() + at)) << "a keyed read delivered another record";
    }
}

// Walks an index both ways, at most `limit` steps each.
void Walk(uint16_t index, size_t size, int limit)
{
    Bytes record(size);
    int steps = 0;
    for (int16_t a = mgFirstRecord(index, record.data()); a == 0 && steps < limit; ++steps)
        a = mgNextRecord(index, record.data());
    steps = 0;
    for (int16_t a = mgLastRecord(index, record.data()); a == 0 && steps < limit; ++steps)
        a = mgPreviousRecord(index, record.data());
}

bool CacheWorkout()
{
    Engine engine(16, 16, 32);
    CacheSet cache;
    if (cache.Open("Cache.dat", 2) != 0) {
        cache.Close();
        return false;
    }
    uint16_t data = uint16_t(cache.data);
    for (int i = 1; i <= 3; ++i)
        Walk(uint16_t(data + i), 2061, 20);
    Bytes found(2061);
    for (uint32_t id = 1; id <= 3; ++id)
        ExpectKeyed(FindByKey(data + 1, CacheRecord(id, 0, 0), found), found, 1, id);
    uint8_t key[8];
    uint8_t low[4] = {0x80, 0, 0, 0};
    uint8_t high[4] = {0x80, 0, 0, 9};
    RNGENT(data + 1, low, high);
    mgKeyAtPercent(data + 2, key, 50);
    Bytes added = CacheRecord(50, 50, 50);
    mgAddRecord(data, added.data());
    if (FindByKey(data + 1, CacheRecord(2, 0, 0), found) == 0) {
        Bytes changed = CacheRecord(2, 7, 7);
        mgRewriteRecord(data, changed.data());
    }
    if (FindByKey(data + 1, CacheRecord(3, 0, 0), found) == 0)
        mgDeleteRecord(data);
    mgCheckReport report;
    mgCheckFileSet(data, &report);
    mgCheckHost(cache.host, &report);
    cache.Close();
    return true;
}

bool VariableWorkout()
{
    Engine engine(16, 16, 4);
    int data = mgOpenFileSetFromResource(-1, "variable.dat", 0);
    if (data < 0)
        return false;
    Walk(uint16_t(data + 1), 1024, 20);
    Bytes found(1024);
    for (uint32_t id = 1; id <= 3; ++id) {
        int16_t answer = FindByKey(data + 1, VariableProbe(id), found);
        ExpectKeyed(answer, found, 1, id);
        if (answer == 0 && mgReadVariableRecord(uint16_t(data), found.data(), int32_t(found.size())) == 0)
            ExpectKeyed(0, found, 1, id);
    }
    Bytes added = GoldenVariableRecord(3);
    mgPut32(added.data() + 1, 9);
    mgAddVariableRecord(uint16_t(data), added.data(), int32_t(added.size()));
    if (FindByKey(data + 1, VariableProbe(1), found) == 0) {
        Bytes longer = GoldenVariableRecord(3);
        mgPut32(longer.data() + 1, 1);
        mgRewriteVariableRecord(uint16_t(data), longer.data(), int32_t(longer.size()));
        mgDeleteVariableRecord(uint16_t(data));
    }
    mgCheckReport report;
    mgCheckFileSet(uint16_t(data), &report);
    mgCloseFileSetByNumber(uint16_t(data));
    return true;
}

bool ResourceWorkout()
{
    Engine engine(16, 16, 4);
    int data = mgOpenFileSetFromResource(-1, "resources.dat", 0);
    if (data < 0)
        return false;
    uint32_t count = 0;
    mgWalkResourceChain(data, &count);
    Bytes buffer(256);
    uint32_t length = 0;
    mgGetResource(data, "first", buffer.data(), 256, kMgFindName, &length);
    uint8_t key[8];
    mgPut32(key, 20);
    mgPut32(key + 4, 1);
    if (mgGetResource(data, key, buffer.data(), 256, kMgFindTypeNumber, &length)) {
        EXPECT_EQ(20u, mgGet32(buffer.data())) << "a resource read as another";
    }
    Bytes resource(8 + 100, 'x');
    mgPut32(resource.data(), 20);
    mgPut32(resource.data() + 4, 1);
    mgUpdateResource(data, resource.data(), uint32_t(resource.size()));
    mgPut32(resource.data() + 4, 2);
    mgAddResource(data, resource.data(), uint32_t(resource.size()));
    mgDeleteResource(data, 20, 1);
    Walk(uint16_t(data + 1), 32, 20);
    Bytes record = MakeRecord(5, "", 32, 's');
    mgAddRecord(uint16_t(data), record.data());
    mgCheckReport report;
    mgCheckFileSet(uint16_t(data), &report);
    mgCloseFileSetByNumber(uint16_t(data));
    return true;
}

const GoldenSet kSets[] = {
    {"cache host", {"Cache.dat"}, CacheWorkout},
    {"variable set", {"variable.dat", "variable.idx"}, VariableWorkout},
    {"resource set", {"resources.dat", "resources.idx"}, ResourceWorkout},
};

struct Damage {
    std::string what;
    const GoldenSet* set;
    std::string file;
    std::function<void(Bytes&)> apply;
};

class Corpus {
  public:
    Corpus()
    {
        for (const GoldenSet& set : kSets)
            for (const std::string& file : set.files)
                golden_[file] = ReadWholeFile(GoldenPath(file));
    }
    bool Loaded() const
    {
        for (const auto& file : golden_)
            if (file.second.empty())
                return false;
        return true;
    }
    const Bytes& Golden(const std::string& file)
    {
        return golden_[file];
    }

    // Copies the set's golden files into the folder, damages one, and works the set.
    void Run(const Damage& damage, const ScratchFolder& folder)
    {
        g_currentCase = damage.set->name + std::string(": ") + damage.what;
        SCOPED_TRACE(g_currentCase);
        for (const std::string& file : damage.set->files) {
            Bytes bytes = golden_[file];
            if (file == damage.file)
                damage.apply(bytes);
            WriteWholeFile(folder.File(file), bytes);
        }
        watchdog_.Started();
        bool opened = false;
        ASSERT_NO_THROW(opened = damage.set->workout());
        ++cases_;
        opens_ += opened ? 1 : 0;
    }
    // Both answers happen: damage that is refused and damage the set works around.
    void ExpectBothOutcomes() const
    {
        EXPECT_GT(opens_, 0) << "no damaged set opened and worked";
        EXPECT_LT(opens_, cases_) << "no damage was refused";
    }
    std::string Counts() const
    {
        return std::to_string(cases_) + " damaged sets, " + std::to_string(opens_) + " of them opened and worked";
    }

  private:
    std::map<std::string, Bytes> golden_;
    Watchdog watchdog_;
    int cases_ = 0;
    int opens_ = 0;
};

const GoldenSet* SetOf(const std::string& file)
{
    for (const GoldenSet& set : kSets)
        for (const std::string& f : set.files)
            if (f == file)
                return &set;
    return nullptr;
}

std::string Hex(uint32_t value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%x", value);
    return text;
}

// Two damages of every byte in a range: its low bit and its high bit flipped.
void FlipEachByte(std::vector<Damage>& out, const std::string& file, uint32_t from, uint32_t length,
                  const std::string& what)
{
    for (uint32_t at = from; at < from + length; ++at)
        for (uint8_t bit : {uint8_t(0x01), uint8_t(0x80)})
            out.push_back(Damage{what + " byte " + Hex(at) + " ^" + Hex(bit), SetOf(file), file,
                                 [at, bit](Bytes& b) {
                                     if (at < b.size())
                                         b[at] ^= bit;
                                 }});
}

// Every field of a 128-byte header: its first byte flipped, and the whole field set to ones.
void DamageHeader(std::vector<Damage>& out, const std::string& file, uint32_t at, const std::string& what)
{
    static const std::pair<int, int> kFields[] = {
        {0x00, 4}, {0x04, 4}, {0x08, 4}, {0x0c, 4}, {0x10, 4}, {0x14, 4}, {0x18, 4}, {0x1c, 4}, {0x20, 4},
        {0x24, 4}, {0x28, 2}, {0x2a, 2}, {0x2c, 2}, {0x2e, 2}, {0x30, 2}, {0x32, 2}, {0x34, 2}, {0x36, 2},
        {0x38, 1}, {0x39, 1}, {0x3a, 1}, {0x3b, 1}, {0x3c, 1}, {0x3d, 1}, {0x3e, 1}, {0x3f, 1}, {0x40, 2},
        {0x42, 2}, {0x44, 2}, {0x46, 2}, {0x48, 4}, {0x4c, 4}, {0x50, 4}, {0x54, 4}, {0x58, 4}, {0x5c, 2},
        {0x5e, 2}, {0x60, 2}, {0x62, 2}, {0x64, 4}, {0x68, 4}, {0x6c, 4}, {0x70, 4}, {0x74, 4}};
    for (const auto& field : kFields) {
        uint32_t offset = at + uint32_t(field.first);
        int width = field.second;
        std::string name = what + " header field +" + Hex(uint32_t(field.first));
        out.push_back(Damage{name + " flipped", SetOf(file), file, [offset](Bytes& b) { b[offset] ^= 0x5A; }});
        out.push_back(Damage{name + " all ones", SetOf(file), file,
                             [offset, width](Bytes& b) { memset(b.data() + offset, 0xFF, size_t(width)); }});
        out.push_back(Damage{name + " nought", SetOf(file), file,
                             [offset, width](Bytes& b) { memset(b.data() + offset, 0, size_t(width)); }});
    }
}

std::vector<Damage> TargetedDamages()
{
    std::vector<Damage> d;
    // Headers: the host, its directory, data member and an index member; the plain files.
    DamageHeader(d, "Cache.dat", 0, "host");
    DamageHeader(d, "Cache.dat", 0x2111, "directory");
    DamageHeader(d, "Cache.dat", 0x3111, "data member");
    DamageHeader(d, "Cache.dat", 0x6111, "index member 000");
    DamageHeader(d, "variable.dat", 0, "variable data");
    DamageHeader(d, "variable.idx", 0, "variable index");
    DamageHeader(d, "resources.dat", 0, "resource data");
    // Node headers and entries: the directory's compressed leaf (its counts included), an
    // index member's leaf, the variable index's leaf, and their high keys.
    FlipEachByte(d, "Cache.dat", 0x4000, 18 + 18 + 64, "directory leaf (piece, node header, entries)");
    FlipEachByte(d, "Cache.dat", 0xD000, 18 + 18 + 24, "index leaf (piece, node header, entries)");
    FlipEachByte(d, "Cache.dat", 0xD012 + 18 + 4052, 4, "index leaf high key");
    FlipEachByte(d, "variable.idx", 1024, 18 + 24, "variable index leaf");
    // Piece marks, lengths and chains: the host's anchor and member chunks, the records.
    for (uint32_t piece : {0x1000u, 0x2000u, 0x3000u, 0x5000u, 0x6000u, 0xB81Fu, 0x10000u, 0x1081Fu})
        FlipEachByte(d, "Cache.dat", piece, 18, "host piece");
    for (uint32_t piece : {0x200u, 0x21Fu, 0xA1Fu, 0xA3Du, 0xAB5u})
        FlipEachByte(d, "variable.dat", piece, 10, "variable piece");
    // Resource records and links, the definition's part directory and stored definition.
    for (uint32_t resource : {128u, 160u, 2240u})
        FlipEachByte(d, "resources.dat", resource, 22 + 8, "resource record");
    FlipEachByte(d, "resources.dat", 160 + 22 + 8, 32, "definition mark, length and part 0");
    FlipEachByte(d, "resources.dat", 160 + 22 + 280, 36 + 32 + 6, "stored set definition");
    FlipEachByte(d, "Cache.dat", 0xB03D - 8, 40, "data member's definition");
    // Truncations.
    for (const GoldenSet& set : kSets)
        for (const std::string& file : set.files) {
            Bytes golden = ReadWholeFile(GoldenPath(file));
            uint32_t size = uint32_t(golden.size());
            for (uint32_t length : {0u, 1u, 100u, 127u, 128u, 129u, 511u, 512u, 1024u, 2048u, 4096u, 0x5000u,
                                    0xB81Fu + 100u, size / 2, size - 18, size - 1}) {
                if (length >= size)
                    continue;
                d.push_back(Damage{"truncated to " + std::to_string(length), &set, file,
                                   [length](Bytes& b) { b.resize(length); }});
            }
        }
    return d;
}

TEST(CorruptionCorpus, TargetedDamageIsAnErrorOrRightData)
{
    ScratchFolder folder;
    Corpus corpus;
    ASSERT_TRUE(corpus.Loaded()) << "a golden file is missing";
    std::vector<Damage> damages = TargetedDamages();
    for (const Damage& damage : damages)
        ASSERT_NO_FATAL_FAILURE(corpus.Run(damage, folder));
    printf("      %s\n", corpus.Counts().c_str());
    corpus.ExpectBothOutcomes();
}

TEST(CorruptionCorpus, SeededRandomFlipsAreAnErrorOrRightData)
{
    ScratchFolder folder;
    Corpus corpus;
    ASSERT_TRUE(corpus.Loaded()) << "a golden file is missing";
    std::mt19937 rng(20261211);
    for (int i = 0; i < 400; ++i) {
        std::string file = kGoldenFiles[rng() % 5];
        size_t size = corpus.Golden(file).size();
        std::vector<std::pair<size_t, uint8_t>> flips;
        int count = 1 + int(rng() % 4);
        std::string what = "case " + std::to_string(i) + ":";
        for (int f = 0; f < count; ++f) {
            // Most flips land in the first nodes, where headers and links live.
            size_t at = rng() % 3 ? rng() % (size < 0x7000 ? size : 0x7000) : rng() % size;
            uint8_t bits = uint8_t(1 + rng() % 255);
            flips.emplace_back(at, bits);
            what += " " + Hex(uint32_t(at)) + "^" + Hex(bits);
        }
        Damage damage{what, SetOf(file), file, [flips](Bytes& b) {
                          for (const auto& flip : flips)
                              b[flip.first] ^= flip.second;
                      }};
        ASSERT_NO_FATAL_FAILURE(corpus.Run(damage, folder));
    }
    printf("      %s\n", corpus.Counts().c_str());
    corpus.ExpectBothOutcomes();
}

} // namespace
