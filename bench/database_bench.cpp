// The ISAM engine beside SQLite in one run, on one machine, in one scratch folder: a million
// inserts of fixed and of variable records into a set of two indexes, random lookups by each
// key, range scans and a full walk, random rewrites that change a key, random deletes,
// reopen and count; rates are medians of three runs, each run a process of its own. Then
// the binding's line: the banner's cache record through mGroveFile beside the engine's own
// calls. Not run by the tests.
//   database_bench [records] [--buffers N] [--data-buffers N] [--sectors N] [--runs N]
//                  [--only engine|sqlite|binding] [--no-defaults]
//   (--no-defaults leaves out SQLite with its defaults, slow on large runs)
// SQLite is built by tools/setup; without it the SQLite columns say so.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_timing.h"
#include "bench/database/database_sides.h"

namespace {

using Results = std::map<std::string, double>;

// Runs one side in a child process (this program with "--side ...") and collects its
// result lines; an empty map when the side failed.
Results RunChild(const std::string& arguments, int* exitCode)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string command = std::string("\"") + program + "\" " + arguments;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &inherit, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION child{};
    Results results;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        *exitCode = -1;
        return results;
    }
    CloseHandle(writeEnd);
    std::string output;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(readEnd, chunk, sizeof chunk, &got, nullptr) && got > 0)
        output.append(chunk, got);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(child.hProcess, &code);
    *exitCode = int(code);
    CloseHandle(child.hProcess);
    CloseHandle(child.hThread);
    CloseHandle(readEnd);
    size_t at = 0;
    while ((at = output.find("RESULT ", at)) != std::string::npos) {
        char name[64];
        double value = 0;
        if (sscanf(output.c_str() + at, "RESULT %63s %lf", name, &value) == 2)
            results[name] = value;
        at += 7;
    }
    return code == 0 ? results : Results{};
}

struct Column {
    const char* title;
    std::string arguments;
    Results medians;
    std::string failure;
};

std::string SideArguments(const char* side, bool variable, const dbbench::SideOptions& o, bool defaults)
{
    return std::string("--side ") + side + " " + (variable ? "variable" : "fixed") + " " + std::to_string(o.records) +
           " " + std::to_string(o.buffers) + " " + std::to_string(o.sectors) + " " + std::to_string(o.perOperation) +
           " " + (defaults ? "defaults" : "off") + " " + std::to_string(o.dataBuffers);
}

void Measure(Column& column, int runs)
{
    std::map<std::string, std::vector<double>> all;
    for (int run = 0; run < runs; ++run) {
        int code = 0;
        Results results = RunChild(column.arguments, &code);
        if (results.empty()) {
            column.failure = code == 2 ? "not built (run tools/setup)" : "failed (" + std::to_string(code) + ")";
            return;
        }
        for (const auto& r : results)
            all[r.first].push_back(r.second);
        fprintf(stderr, "  %s: run %d of %d, %.1f s\n", column.title, run + 1, runs, results["elapsed_s"]);
    }
    for (const auto& values : all)
        column.medians[values.first] = bench::Median(values.second);
}

void PrintTable(const std::vector<Column>& columns)
{
    struct Row {
        const char* label;
        const char* key;
        const char* format;
    };
    const Row rows[] = {
        {"inserts/s, 1,000 per transaction", "insert_rate", "%14.0f"},
        {"inserts/s, one per transaction", "insert_per_op_rate", "%14.0f"},
        {"lookups/s by key a (10% absent)", "lookup_a_rate", "%14.0f"},
        {"lookups/s by key b (10% absent)", "lookup_b_rate", "%14.0f"},
        {"scans/s of 1,000 records by key a", "scan_rate", "%14.1f"},
        {"full walk by key a, records/s", "walk_rate", "%14.0f"},
        {"rewrites/s changing key a", "rewrite_rate", "%14.0f"},
        {"deletes/s", "delete_rate", "%14.0f"},
        {"reopen and count, ms", "reopen_count_ms", "%14.1f"},
        {"file MB after the load", "load_mb", "%14.1f"},
        {"file MB after the deletes", "deleted_mb", "%14.1f"},
        {"peak memory MB", "peak_mb", "%14.1f"},
        {"elapsed s (one run)", "elapsed_s", "%14.1f"},
    };
    printf("%-36s", "case (medians)");
    for (const Column& c : columns)
        printf("%16s", c.title);
    printf("\n");
    for (const Row& row : rows) {
        printf("%-36s", row.label);
        for (const Column& c : columns) {
            auto it = c.medians.find(row.key);
            if (it == c.medians.end()) {
                printf("%16s", "-");
                continue;
            }
            char cell[32];
            snprintf(cell, sizeof cell, row.format, it->second);
            printf("  %s", cell);
        }
        printf("\n");
    }
    for (const Column& c : columns)
        if (!c.failure.empty())
            printf("%s: %s\n", c.title, c.failure.c_str());
}

int RunSide(int argc, char** argv)
{
    if (argc < 10)
        return 2;
    dbbench::SideOptions o;
    o.variable = strcmp(argv[3], "variable") == 0;
    o.records = uint32_t(atol(argv[4]));
    o.buffers = atoi(argv[5]);
    o.sectors = atoi(argv[6]);
    o.perOperation = uint32_t(atol(argv[7]));
    o.sqliteDefaults = strcmp(argv[8], "defaults") == 0;
    o.dataBuffers = atoi(argv[9]);
    if (strcmp(argv[2], "engine") == 0)
        return dbbench::RunEngineSide(o);
    if (strcmp(argv[2], "sqlite") == 0)
        return dbbench::RunSqliteSide(o);
    if (strcmp(argv[2], "binding") == 0)
        return dbbench::RunBindingSide(o);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && strcmp(argv[1], "--side") == 0)
        return RunSide(argc, argv);
    dbbench::SideOptions o;
    int runs = 3;
    std::string only;
    bool sqliteDefaults = true;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--buffers" && i + 1 < argc)
            o.buffers = atoi(argv[++i]);
        else if (arg == "--data-buffers" && i + 1 < argc)
            o.dataBuffers = atoi(argv[++i]);
        else if (arg == "--sectors" && i + 1 < argc)
            o.sectors = atoi(argv[++i]);
        else if (arg == "--runs" && i + 1 < argc)
            runs = atoi(argv[++i]);
        else if (arg == "--only" && i + 1 < argc)
            only = argv[++i];
        else if (arg == "--no-defaults")
            sqliteDefaults = false;
        else
            o.records = uint32_t(atol(argv[i]));
    }
    o.perOperation = std::min<uint32_t>(o.records / 10, 100000);
    dbbench::SideOptions slow = o;
    // SQLite's defaults flush the disk at every commit: one per operation is measured on
    // fewer inserts.
    slow.perOperation = std::min<uint32_t>(o.records / 100, 2000);
    printf("database bench: %u records; engine node cache %d and data buffers %d, each of %d bytes "
           "(%.1f MB in all), SQLite page cache set to the same bytes where durability is off; "
           "medians of %d runs\n",
           o.records, o.buffers, o.dataBuffers, o.sectors * 128,
           double(o.buffers + o.dataBuffers) * o.sectors * 128 / 1048576.0, runs);
    if (only.empty() || only == "engine" || only == "sqlite") {
        for (bool variable : {false, true}) {
            std::vector<Column> columns;
            if (only != "sqlite")
                columns.push_back({"engine", SideArguments("engine", variable, o, false), {}, ""});
            if (only != "engine") {
                columns.push_back({"SQLite off/off", SideArguments("sqlite", variable, o, false), {}, ""});
                if (sqliteDefaults)
                    columns.push_back({"SQLite defaults", SideArguments("sqlite", variable, slow, true), {}, ""});
            }
            for (Column& c : columns)
                Measure(c, runs);
            printf("\n%s records (%s):\n", variable ? "variable-length" : "fixed-length",
                   variable ? "21 bytes and a payload of 20 to 400" : "100 bytes");
            PrintTable(columns);
            fflush(stdout);
        }
    }
    if (only.empty() || only == "binding") {
        Column binding{"binding", "--side binding fixed 0 0 0 0 off 0", {}, ""};
        Measure(binding, runs);
        printf("\nthe banner's cache record, 100,000 in random order (program's engine: 16 buffers of 4096 bytes):\n");
        if (!binding.failure.empty()) {
            printf("binding: %s\n", binding.failure.c_str());
            return 1;
        }
        double directAdd = binding.medians["direct_add_rate"];
        double boundAdd = binding.medians["binding_add_rate"];
        double directFind = binding.medians["direct_find_rate"];
        double boundFind = binding.medians["binding_find_rate"];
        printf("%-36s%15s%15s%15s\n", "case (medians)", "engine calls", "mGroveFile", "binding costs");
        printf("%-36s %14.0f %14.0f %13.1f%%\n", "adds/s", directAdd, boundAdd, (directAdd / boundAdd - 1) * 100);
        printf("%-36s %14.0f %14.0f %13.1f%%\n", "finds/s by number", directFind, boundFind,
               (directFind / boundFind - 1) * 100);
    }
    return 0;
}
