// Stands in for the framework's time value: seconds of calendar time, made from a file
// time read as local time and broken down into local time again; only what the shell
// file list and its date text use.
#pragma once

#include <windows.h>

#include <ctime>

class CTime {
public:
    CTime() = default;
    explicit CTime(time_t time) : m_time(time) {}
    // nDST: 1 daylight saving, 0 standard time, -1 let the runtime decide.
    explicit CTime(const FILETIME& fileTime, int nDST = -1);

    time_t GetTime() const { return m_time; }
    // Fills ptm with the local time; null when the value has no local time.
    struct tm* GetLocalTm(struct tm* ptm) const;

private:
    time_t m_time = 0;
};
