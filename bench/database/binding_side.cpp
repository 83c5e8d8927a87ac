// The binding's line of the database bench: the banner's cache record added and found by
// its number through mGroveFile, beside the same adds and finds through the engine's own
// calls on a set the binding made alike. Each way gets a set of its own, so neither reads
// the other's nodes from the cache.
#include "bench/database/database_sides.h"

#include <algorithm>
#include <cstring>

#include "banner/Cache.h"
#include "database/iDBDefinition.h"
#include "database/mGroveFile.h"
#include "database/mGrovePlus.h"
#include "database/mgFile.h"
#include "database/mgFileSet.h"
#include "database/mgKey.h"
#include "database/mgRecord.h"

namespace dbbench {

namespace {

constexpr uint32_t kBindingRecords = 100000;

// Page n: its number, times and a page text of a few hundred bytes.
void Fill(Cache& page, long n)
{
    page.Reset(n);
    page.m_insert = long(1700000000 + n);
    page.m_update = long(1700000000 + 2 * n);
    std::string text = "<html><body>banner page " + std::to_string(n) + std::string(size_t(200 + n % 300), '.') +
                       "</body></html>";
    (void)page.SetPage(text.data(), unsigned(text.size()));
}

bool MakeSet(mGrovePlus& engine, const std::string& path)
{
    Cache record;
    iDBDefinition definition;
    definition.Build(&record);
    bool made = engine.CreateFileSet(&definition, path.c_str(), 0) == 0;
    definition.Free();
    return made;
}

struct Figures {
    double addRate;
    double findRate;
};

Figures ThroughBinding(mGrovePlus& engine, const std::string& path, const std::vector<long>& order)
{
    Figures f{0, 0};
    mGroveFile file(&engine, "", path.c_str(), 0, Cache::kSize);
    if (!file.IsOpen())
        return f;
    Cache page;
    Stopwatch adds;
    for (long n : order) {
        Fill(page, n);
        if (file.Add(page.Bytes(), 0) != 0)
            return f;
    }
    f.addRate = order.size() / adds.Seconds();
    Stopwatch finds;
    for (long n : order) {
        page.Reset(n);
        if (file.FindEqual(page.Bytes(), Cache::kKeyId) != 0)
            return f;
    }
    f.findRate = order.size() / finds.Seconds();
    file.Close();
    return f;
}

Figures ThroughEngine(const std::string& path, const std::vector<long>& order)
{
    Figures f{0, 0};
    // Opened as the binding opens it (shared, permanent handles), so that the two columns
    // differ only by the binding.
    constexpr uint16_t kMode = kMgModeShared | kMgModePermanent;
    int host = mgFindFreeFileNumbers(2);
    if (host < 0 || mgOpenFile(host, path.c_str(), kMgModeHost | kMode) != 0)
        return f;
    int data = mgOpenFileSetFromResource(-1, (path + "!data.dat").c_str(), kMode);
    if (data < 0)
        return f;
    // The engine's record: a leading zero byte, then the 2060 bytes of the page.
    std::vector<uint8_t> record(Cache::kSize + 1, 0);
    Cache page(record.data() + 1);
    uint8_t key[8];
    Stopwatch adds;
    for (long n : order) {
        Fill(page, n);
        if (mgAddRecord(uint16_t(data), record.data()) != 0)
            return f;
    }
    f.addRate = order.size() / adds.Seconds();
    std::vector<uint8_t> found(Cache::kSize + 1);
    Stopwatch finds;
    for (long n : order) {
        page.Reset(n);
        if (mgBuildKey(int16_t(data + 1), record.data(), key, 0, uint32_t(record.size())) != 4 ||
            mgGetEqualRecord(uint16_t(data + 1), key, found.data()) != 0)
            return f;
    }
    f.findRate = order.size() / finds.Seconds();
    mgCloseFileSetByNumber(uint16_t(data));
    mgCloseFile(host, 0);
    return f;
}

} // namespace

int RunBindingSide(const SideOptions&)
{
    Stopwatch total;
    std::string folder = FreshFolder("binding");
    std::vector<long> order(kBindingRecords);
    for (uint32_t i = 0; i < kBindingRecords; ++i)
        order[i] = long(i);
    std::mt19937 rng(3);
    std::shuffle(order.begin(), order.end(), rng);
    // The program's engine: 16 buffers, 16 files, 32 sectors.
    mGrovePlus engine(16, 16, 32);
    std::string direct = folder + "\\direct.dat";
    std::string bound = folder + "\\bound.dat";
    if (!MakeSet(engine, direct) || !MakeSet(engine, bound))
        return 4;
    Figures engineFigures = ThroughEngine(direct, order);
    Figures bindingFigures = ThroughBinding(engine, bound, order);
    if (engineFigures.addRate == 0 || bindingFigures.addRate == 0)
        return 5;
    Report("direct_add_rate", engineFigures.addRate);
    Report("direct_find_rate", engineFigures.findRate);
    Report("binding_add_rate", bindingFigures.addRate);
    Report("binding_find_rate", bindingFigures.findRate);
    Report("elapsed_s", total.Seconds());
    return 0;
}

} // namespace dbbench
