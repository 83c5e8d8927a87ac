// SQLite's side of the database bench: a table with an integer primary key (key a) and an
// index on the text (key b), prepared statements, the engine's batching; durability no
// stronger than the engine's (synchronous=OFF, journal_mode=OFF, the page cache given the
// engine's node-cache bytes) or SQLite's defaults for reference.
#include "bench/database/database_sides.h"

#ifdef SORVANTA_BENCH_SQLITE

#include <sqlite3.h>

#include <cstring>

namespace dbbench {

namespace {

class Db {
  public:
    explicit Db(const std::string& path, const SideOptions& o)
    {
        if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK)
            return;
        if (!o.sqliteDefaults) {
            Exec("PRAGMA synchronous=OFF");
            Exec("PRAGMA journal_mode=OFF");
            long kib = long(o.buffers + o.dataBuffers) * o.sectors * 128 / 1024;
            Exec(("PRAGMA cache_size=-" + std::to_string(kib)).c_str());
        }
    }
    ~Db()
    {
        for (sqlite3_stmt* s : statements_)
            sqlite3_finalize(s);
        sqlite3_close(db_);
    }
    bool Exec(const char* sql)
    {
        return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    sqlite3_stmt* Prepare(const char* sql)
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
        statements_.push_back(statement);
        return statement;
    }
    bool Open() const
    {
        return db_ != nullptr;
    }

  private:
    sqlite3* db_ = nullptr;
    std::vector<sqlite3_stmt*> statements_;
};

struct Row {
    int32_t a;
    std::string b;
    std::vector<uint8_t> payload;
};

Row MakeRow(const Workload& w, uint32_t number, int32_t a)
{
    Row row{a, w.KeyB(number), std::vector<uint8_t>(w.PayloadLength(number))};
    for (uint32_t i = 0; i < row.payload.size(); ++i)
        row.payload[i] = w.PayloadByte(number, i);
    return row;
}

void BindRow(sqlite3_stmt* s, const Row& row, int first)
{
    sqlite3_bind_int(s, first, row.a);
    sqlite3_bind_text(s, first + 1, row.b.data(), int(row.b.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(s, first + 2, row.payload.data(), int(row.payload.size()), SQLITE_TRANSIENT);
}

bool Step(sqlite3_stmt* s)
{
    int answer = sqlite3_step(s);
    sqlite3_reset(s);
    return answer == SQLITE_DONE || answer == SQLITE_ROW;
}

// Reads a row's columns out, as a caller would.
void TakeRow(sqlite3_stmt* s, std::vector<uint8_t>& into)
{
    const void* blob = sqlite3_column_blob(s, 2);
    int bytes = sqlite3_column_bytes(s, 2);
    into.assign(static_cast<const uint8_t*>(blob), static_cast<const uint8_t*>(blob) + bytes);
    (void)sqlite3_column_int(s, 0);
    (void)sqlite3_column_text(s, 1);
}

class Batch {
  public:
    explicit Batch(Db& db) : begin_(db.Prepare("BEGIN")), commit_(db.Prepare("COMMIT")) {}
    void Step()
    {
        if (ops_ == 0)
            dbbench::Step(begin_);
        if (++ops_ == kTransactionOps)
            End();
    }
    void End()
    {
        if (ops_ > 0)
            dbbench::Step(commit_);
        ops_ = 0;
    }

  private:
    sqlite3_stmt* begin_;
    sqlite3_stmt* commit_;
    int ops_ = 0;
};

const char* kSchema = "CREATE TABLE t(a INTEGER PRIMARY KEY, b TEXT NOT NULL, payload BLOB NOT NULL);"
                      "CREATE INDEX tb ON t(b);";

} // namespace

int RunSqliteSide(const SideOptions& o)
{
    Stopwatch total;
    Workload w(o.records, o.variable);
    Plan plan(w, o.records, o.records / 10);
    std::string folder = FreshFolder(std::string(o.sqliteDefaults ? "sqlite-defaults-" : "sqlite-off-") +
                                     (o.variable ? "variable" : "fixed"));
    std::vector<uint8_t> row;
    {
        Db perOp(folder + "\\perop.db", o);
        if (!perOp.Open() || !perOp.Exec(kSchema))
            return 4;
        sqlite3_stmt* insert = perOp.Prepare("INSERT INTO t VALUES(?,?,?)");
        Stopwatch clock;
        for (uint32_t i = 0; i < o.perOperation; ++i) {
            BindRow(insert, MakeRow(w, w.order[i], w.KeyA(w.order[i])), 1);
            if (!Step(insert))
                return 5;
        }
        Report("insert_per_op_rate", o.perOperation / clock.Seconds());
    }

    std::string path = folder + "\\set.db";
    {
        Db db(path, o);
        if (!db.Open() || !db.Exec(kSchema))
            return 4;
        Batch batch(db);
        sqlite3_stmt* insert = db.Prepare("INSERT INTO t VALUES(?,?,?)");
        Stopwatch load;
        for (uint32_t number : w.order) {
            batch.Step();
            BindRow(insert, MakeRow(w, number, w.KeyA(number)), 1);
            if (!Step(insert))
                return 6;
        }
        batch.End();
        Report("insert_rate", w.records / load.Seconds());
        Report("load_mb", FileBytes(path) / 1048576.0);

        sqlite3_stmt* byA = db.Prepare("SELECT a, b, payload FROM t WHERE a = ?");
        uint32_t found = 0;
        Stopwatch lookupsA;
        // Reads are batched as the writes are: a statement outside a transaction is a read
        // transaction of its own, whose file locks cost more than the lookup under Wine.
        for (int32_t a : plan.lookupsA) {
            batch.Step();
            sqlite3_bind_int(byA, 1, a);
            if (sqlite3_step(byA) == SQLITE_ROW) {
                TakeRow(byA, row);
                ++found;
            }
            sqlite3_reset(byA);
        }
        batch.End();
        Report("lookup_a_rate", plan.lookupsA.size() / lookupsA.Seconds());
        Report("lookup_a_found", found);

        sqlite3_stmt* byB = db.Prepare("SELECT a, b, payload FROM t WHERE b = ? ORDER BY b LIMIT 1");
        found = 0;
        Stopwatch lookupsB;
        for (uint32_t group : plan.lookupsB) {
            batch.Step();
            char text[kTextLength + 1];
            snprintf(text, sizeof text, "name%012u", group);
            sqlite3_bind_text(byB, 1, text, kTextLength, SQLITE_TRANSIENT);
            if (sqlite3_step(byB) == SQLITE_ROW) {
                TakeRow(byB, row);
                ++found;
            }
            sqlite3_reset(byB);
        }
        batch.End();
        Report("lookup_b_rate", plan.lookupsB.size() / lookupsB.Seconds());
        Report("lookup_b_found", found);

        sqlite3_stmt* scan = db.Prepare("SELECT a, b, payload FROM t WHERE a >= ? ORDER BY a LIMIT 1000");
        uint64_t scanned = 0;
        Stopwatch scans;
        for (int32_t start : plan.scanStarts) {
            sqlite3_bind_int(scan, 1, start);
            while (sqlite3_step(scan) == SQLITE_ROW) {
                TakeRow(scan, row);
                ++scanned;
            }
            sqlite3_reset(scan);
        }
        Report("scan_rate", kScans / scans.Seconds());
        Report("scan_records", double(scanned));

        sqlite3_stmt* walk = db.Prepare("SELECT a, b, payload FROM t ORDER BY a");
        uint64_t walked = 0;
        Stopwatch walkClock;
        while (sqlite3_step(walk) == SQLITE_ROW) {
            TakeRow(walk, row);
            ++walked;
        }
        sqlite3_reset(walk);
        Report("walk_rate", walked / walkClock.Seconds());
        Report("walk_records", double(walked));

        sqlite3_stmt* update = db.Prepare("UPDATE t SET a = ?, b = ?, payload = ? WHERE a = ?");
        Stopwatch rewrites;
        for (const auto& change : plan.rewrites) {
            batch.Step();
            BindRow(update, MakeRow(w, uint32_t(change.second), change.second), 1);
            sqlite3_bind_int(update, 4, change.first);
            if (!Step(update))
                return 9;
        }
        batch.End();
        Report("rewrite_rate", plan.rewrites.size() / rewrites.Seconds());

        sqlite3_stmt* erase = db.Prepare("DELETE FROM t WHERE a = ?");
        Stopwatch deletes;
        for (int32_t a : plan.deletes) {
            batch.Step();
            sqlite3_bind_int(erase, 1, a);
            if (!Step(erase))
                return 11;
        }
        batch.End();
        Report("delete_rate", plan.deletes.size() / deletes.Seconds());
    }
    Report("deleted_mb", FileBytes(path) / 1048576.0);

    Stopwatch reopen;
    Db again(path, o);
    sqlite3_stmt* count = again.Prepare("SELECT count(*) FROM t");
    double rows = 0;
    if (sqlite3_step(count) == SQLITE_ROW)
        rows = double(sqlite3_column_int64(count, 0));
    sqlite3_reset(count);
    Report("reopen_count_ms", reopen.Seconds() * 1000.0);
    Report("count", rows);
    Report("peak_mb", PeakMegabytes());
    Report("elapsed_s", total.Seconds());
    return 0;
}

} // namespace dbbench

#else

namespace dbbench {

int RunSqliteSide(const SideOptions&)
{
    return 2;
}

} // namespace dbbench

#endif
