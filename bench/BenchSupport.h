#pragma once

// Minimal timing harness for the benchmarks: run a piece of work several times and keep the
// best time, so a baseline and a candidate measured in the same run compare fairly.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <limits>

namespace portiqa::bench {

// Best wall time of `runs` runs of `work`, in milliseconds.
inline double bestMs(int runs, const std::function<void()>& work) {
    double best = std::numeric_limits<double>::max();
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double, std::milli>(end - start).count());
    }
    return best;
}

inline void printRatio(const char* what, double baselineMs, double candidateMs) {
    std::printf("%-48s baseline %9.3f ms  ours %9.3f ms  ratio %6.2fx\n", what, baselineMs,
                candidateMs, candidateMs > 0 ? baselineMs / candidateMs : 0.0);
}

} // namespace portiqa::bench
