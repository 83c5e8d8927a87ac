// The benches' clock and medians, so that every bench measures and reports alike: the
// performance counter in milliseconds, and the median of repeated runs of a case.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

// Whether the first of a case's runs is left out of its median: the first run of many cases
// loads libraries and fonts or fills caches, and would stand apart from the rest.
enum class FirstRun { Counted, LeftOut };

inline double NowMs()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The milliseconds one run of work takes.
inline double TimeMs(const std::function<void()>& work)
{
    const double start = NowMs();
    work();
    return NowMs() - start;
}

// The middle value (the upper of the two middles for an even count); 0 for no values.
inline double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of `runs` runs of a case that times itself (it returns its milliseconds).
inline double MedianOfRuns(int runs, FirstRun first, const std::function<double()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double ms = run();
        if (i > 0 || first == FirstRun::Counted)
            times.push_back(ms);
    }
    return Median(times);
}

// The median milliseconds of `runs` runs of work; prepare, if given, runs untimed before each.
inline double MedianMs(int runs, FirstRun first, const std::function<void()>& work,
                       const std::function<void()>& prepare = nullptr)
{
    return MedianOfRuns(runs, first, [&] {
        if (prepare)
            prepare();
        return TimeMs(work);
    });
}

} // namespace bench
