#pragma once

// What the benchmarks time with: a piece of work in milliseconds, the median of several runs, and the word
// a goal's line ends with.
#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <functional>

namespace BenchTiming {
inline double millisecondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

inline double medianOf(QList<double> times)
{
    std::sort(times.begin(), times.end());
    const qsizetype middle = times.size() / 2;
    return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
}

// `run` returns one run's time; the median of `runs` of them.
inline double medianOf(int runs, const std::function<double()>& run)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i)
        times << run();
    return medianOf(times);
}

inline const char* verdict(bool met)
{
    return met ? "met" : "MISSED";
}
} // namespace BenchTiming
