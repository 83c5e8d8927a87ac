// The database bench's shared workload and measuring helpers.
#include "bench/database/database_workload.h"

#include <psapi.h>

#include <algorithm>

namespace dbbench {

Workload::Workload(uint32_t count, bool variableRecords) : records(count), variable(variableRecords)
{
    order.resize(records);
    for (uint32_t i = 0; i < records; ++i)
        order[i] = i;
    std::mt19937 rng(1);
    std::shuffle(order.begin(), order.end(), rng);
}

std::string Workload::KeyB(uint32_t number) const
{
    char text[kTextLength + 1];
    snprintf(text, sizeof text, "name%012u", (number * 2654435761u) % TextGroups());
    return std::string(text, kTextLength);
}

uint32_t Workload::PayloadLength(uint32_t number) const
{
    return variable ? 20 + (number * 2246822519u >> 7) % 381 : kFixedPayload;
}

Plan::Plan(const Workload& workload, uint32_t lookups, uint32_t changes)
{
    std::mt19937 rng(2);
    uint32_t n = workload.records;
    for (uint32_t i = 0; i < lookups; ++i) {
        bool absent = i % 10 == 9;
        lookupsA.push_back(absent ? int32_t(n + rng() % n) : int32_t(rng() % n));
        lookupsB.push_back(absent ? workload.TextGroups() + rng() % 1000 : rng() % workload.TextGroups());
    }
    for (int i = 0; i < kScans; ++i)
        scanStarts.push_back(int32_t(rng() % n));
    std::vector<int32_t> live(n);
    for (uint32_t i = 0; i < n; ++i)
        live[i] = int32_t(i);
    auto take = [&]() {
        size_t at = rng() % live.size();
        int32_t key = live[at];
        live[at] = live.back();
        live.pop_back();
        return key;
    };
    for (uint32_t i = 0; i < changes; ++i) {
        int32_t from = take();
        int32_t to = int32_t(2 * n + i);
        rewrites.emplace_back(from, to);
        live.push_back(to);
    }
    for (uint32_t i = 0; i < changes; ++i)
        deletes.push_back(take());
}

uint64_t FileBytes(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

double PeakMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return double(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

std::string FreshFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "sorvanta-dbbench";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\" + name;
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    return folder;
}

void Report(const char* name, double value)
{
    printf("RESULT %s %.6f\n", name, value);
    fflush(stdout);
}

} // namespace dbbench
